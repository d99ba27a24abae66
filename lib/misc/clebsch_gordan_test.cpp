#include <twobody/clebsch_gordan.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using Coefficient = double (*)(double, double, double, double, double, double);
const Coefficient both[] = {Misc::cgc, Misc::oldcgc};

// max |sum_(m1 + m2 = M) <j1 m1; j2 m2 | J M> <j1 m1; j2 m2 | J' M> - delta_JJ'| over every
// J, J' of one M, for doubled a = 2 j1, b = 2 j2, tM = 2 M.
double orthonormality(Coefficient cg, int a, int b, int tM)
{
    const int cmin = std::max(std::abs(a - b), std::abs(tM));
    const int mlo = std::max(-a, tM - b), mhi = std::min(a, tM + b);
    std::vector<std::vector<double>> rows; // rows[J][m1]
    for (int c = cmin; c <= a + b; c += 2) {
        rows.emplace_back();
        for (int ma = mlo; ma <= mhi; ma += 2)
            rows.back().push_back(
                cg(a / 2.0, ma / 2.0, b / 2.0, (tM - ma) / 2.0, c / 2.0, tM / 2.0));
    }
    double worst = 0.0;
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t k = 0; k <= i; ++k) {
            double sum = 0.0;
            for (size_t m = 0; m < rows[i].size(); ++m)
                sum += rows[i][m] * rows[k][m];
            worst = std::max(worst, std::fabs(sum - (i == k ? 1.0 : 0.0)));
        }
    return worst;
}

TEST(ClebschGordan, Orthonormal)
{
    // Every j1, j2 <= 3 (GSL's symbol and the sum), then j near 30, where the sum cancels
    // by up to 10^20.
    for (Coefficient cg : both) {
        for (int a = 0; a <= 6; ++a)
            for (int b = 0; b <= 6; ++b)
                for (int tM = -(a + b); tM <= a + b; tM += 2)
                    EXPECT_LT(orthonormality(cg, a, b, tM), 4e-15) << a << " " << b << " " << tM;
        for (int tM : {0, 3, -41})
            EXPECT_LT(orthonormality(cg, 62, 54 - (tM & 1), tM), 1e-14) << tM;
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
        {2, 0, 0, 0, 1, 0, 0},       // J < j1 - j2
        {-1, 0, 1, 0, 0, 0, 0},      // a negative j: no |m| <= j
        {1, 0, 1, 0, -1, 0, 0},          {1, 0, -1, 0, 0, 0, 0},
        {40, 0, 40, 0, 41, 0, 0}, // all m = 0, j1 + j2 + J odd: zero by symmetry
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
    EXPECT_EQ(Misc::cgc(40 - e, 1 + e, 39.5, -0.5 - e, 40.5 + e, 0.5),
              Misc::oldcgc(40, 1, 39.5, -0.5, 40.5, 0.5));
    EXPECT_EQ(Misc::cgc(1, 0.5, 0.5, 0.5, 1, 1), 0.0); // mixed kinds: no 3-j symbol
    // Beyond j1 + j2 + J = 4000 neither computes.
    EXPECT_TRUE(std::isnan(Misc::oldcgc(1500, 0, 1500, 0, 1001, 0)));
    EXPECT_TRUE(std::isnan(Misc::cgc(1500, 0, 1500, 0, 1001, 0)));
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
