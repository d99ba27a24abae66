#include <twobody/clebsch_gordan.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using Coefficient = double (*)(double, double, double, double, double, double);
const Coefficient both[] = {Misc::cgc, Misc::oldcgc};

TEST(ClebschGordan, ThreeJAndRacahSumAgreeAndAreOrthonormal)
{
    // Doubled values a = 2 j1, b = 2 j2, c = 2 J, d = 2 J', tM = 2 M, ma = 2 m1; j1, j2 <= 3.
    for (int a = 0; a <= 6; ++a)
        for (int b = 0; b <= 6; ++b)
            for (int tM = -(a + b); tM <= a + b; tM += 2)
                for (int c = std::max(std::abs(a - b), std::abs(tM)); c <= a + b; c += 2)
                    for (int d = std::max(std::abs(a - b), std::abs(tM)); d <= a + b; d += 2) {
                        double sum[2] = {0.0, 0.0}; // sum_(m1 + m2 = M) <..|J M><..|J' M>
                        for (int ma = std::max(-a, tM - b); ma <= std::min(a, tM + b); ma += 2) {
                            const double v[] = {a / 2.0, ma / 2.0, b / 2.0, (tM - ma) / 2.0};
                            const auto cg = [&](Coefficient f, int twoJ) {
                                return f(v[0], v[1], v[2], v[3], twoJ / 2.0, tM / 2.0);
                            };
                            if (c == d) {
                                EXPECT_NEAR(cg(Misc::cgc, c), cg(Misc::oldcgc, c), 1e-13)
                                    << a << " " << ma << " " << b << " " << c << " " << tM;
                            }
                            for (int k = 0; k < 2; ++k)
                                sum[k] += cg(both[k], c) * cg(both[k], d);
                        }
                        for (double s : sum)
                            EXPECT_NEAR(s, c == d ? 1.0 : 0.0, 1e-13)
                                << a << " " << b << " " << c << " " << d << " " << tM;
                    }
}

TEST(ClebschGordan, ConventionSelectionRulesAndSnapping)
{
    const double r2 = std::sqrt(0.5), r3 = 1.0 / std::sqrt(3.0);
    // Condon-Shortley signs; then the selection-rule zeros.
    const double cases[][7] = {
        {0.5, 0.5, 0.5, -0.5, 0, 0, r2}, {0.5, -0.5, 0.5, 0.5, 0, 0, -r2},
        {1, 0, 1, 0, 0, 0, -r3},         {1, 0, 0.5, 0.5, 0.5, 0.5, -r3},
        {1, 1, 1, 0, 1, 0, 0},       // M != m1 + m2
        {1, 0, 1, 0, 3, 0, 0},       // J > j1 + j2
        {1, 1, 1, 1, 1, 2, 0},       // M > J
        {1, -1, 1, -1, 1, -2, 0},    // M < -J
        {0.5, 0.5, 2, 0, 1, 0.5, 0}, // J + j1 < j2
        {2, 0, 0, 0, 1, 0, 0},       // J < j1 - j2: no explicit rule in the sum
    };
    for (Coefficient cg : both)
        for (const auto& c : cases)
            EXPECT_NEAR(cg(c[0], c[1], c[2], c[3], c[4], c[5]), c[6], 1e-15)
                << c[0] << " " << c[1] << " " << c[2] << " " << c[3] << " " << c[4] << " " << c[5];
    // The 3-j route snaps onto multiples of 1/2 (toward zero here, where truncation would
    // fail); the sum compares exactly, and j1, m1 of mixed parity give NaN.
    const double e = 1e-10;
    EXPECT_EQ(Misc::cgc(1 - e, 1 - e, 0.5 - e, -0.5 + e, 1.5, 0.5 - e),
              Misc::cgc(1, 1, 0.5, -0.5, 1.5, 0.5));
    EXPECT_EQ(Misc::oldcgc(1, 0, 0.5, 0.5 + e, 1.5, 0.5), 0.0);
    EXPECT_TRUE(std::isnan(Misc::oldcgc(1, 0.5, 0.5, 0.5, 1, 1)));
    // A projection beyond its j passes the five rules; it is no coefficient: 0, not NaN.
    EXPECT_EQ(Misc::oldcgc(2, -1, 0.5, 1.5, 2.5, 0.5), 0.0);
    EXPECT_EQ(Misc::oldcgc(0.5, 1.5, 2, -1, 2.5, 0.5), 0.0);
}

TEST(ClebschGordan, FactorialHelpers)
{
    const double inf = HUGE_VAL;
    const struct {
        double a, b, want;
    } ratios[] = {{5, 3, 20}, {3, 5, 0.05}, {4, 4, 1}, {0, -1, 0}, {-1, 0, inf}, {2.5, 0.5, 3.75}};
    for (const auto& r : ratios)
        EXPECT_EQ(Misc::cgc_fractorial(r.a, r.b), r.want) << r.a << " " << r.b;
    const double facts[][2] = {{0, 1}, {-2, 1}, {5, 120}, {2.5, 2}, {171, inf}};
    for (const auto& f : facts)
        EXPECT_EQ(Misc::cgc_factorial(f[0]), f[1]) << f[0];
    EXPECT_EQ(Misc::cgc_delta(3, 3), 1);
    EXPECT_EQ(Misc::cgc_delta(3, -3), 0);
}

} // namespace
