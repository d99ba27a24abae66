#include "clebsch_gordan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using Coefficient = double (*)(double, double, double, double, double, double);
const Coefficient both[] = {Misc::cgc, Misc::oldcgc};

} // namespace

TEST(ClebschGordan, ThreeJAndRacahSumAgreeAndAreOrthonormal)
{
    // Doubled values: a = 2 j1, b = 2 j2, c = 2 J, d = 2 J', tM = 2 M, all j1, j2 <= 3.
    for (int a = 0; a <= 6; ++a)
        for (int b = 0; b <= 6; ++b)
            for (int tM = -(a + b); tM <= a + b; tM += 2)
                for (int c = std::max(std::abs(a - b), std::abs(tM)); c <= a + b; c += 2)
                    for (int d = std::max(std::abs(a - b), std::abs(tM)); d <= a + b; d += 2) {
                        double sum[2] = {0.0, 0.0}; // sum_(m1 + m2 = M) <..|J M><..|J' M>
                        for (int ma = std::max(-a, tM - b); ma <= std::min(a, tM + b); ma += 2) {
                            const double v[] = {a / 2.0,         ma / 2.0, b / 2.0,
                                                (tM - ma) / 2.0, c / 2.0,  tM / 2.0};
                            const double cg = Misc::cgc(v[0], v[1], v[2], v[3], v[4], v[5]);
                            const double old = Misc::oldcgc(v[0], v[1], v[2], v[3], v[4], v[5]);
                            if (c == d) {
                                EXPECT_NEAR(cg, old, 1e-13) << a << ma << b << c << tM;
                            }
                            sum[0] += cg * Misc::cgc(v[0], v[1], v[2], v[3], d / 2.0, v[5]);
                            sum[1] += old * Misc::oldcgc(v[0], v[1], v[2], v[3], d / 2.0, v[5]);
                        }
                        EXPECT_NEAR(sum[0], c == d ? 1.0 : 0.0, 1e-13) << a << b << c << d << tM;
                        EXPECT_NEAR(sum[1], c == d ? 1.0 : 0.0, 1e-13) << a << b << c << d << tM;
                    }
}

TEST(ClebschGordan, ClosedForms)
{
    const double r2 = std::sqrt(0.5), r3 = 1.0 / std::sqrt(3.0);
    const struct {
        double j1, m1, j2, m2, J, M, value;
    } cases[] = {
        {0.5, 0.5, 0.5, -0.5, 1, 0, r2},
        {0.5, 0.5, 0.5, -0.5, 0, 0, r2},
        {0.5, -0.5, 0.5, 0.5, 0, 0, -r2},
        {1, 1, 1, -1, 0, 0, r3},
        {1, 0, 1, 0, 0, 0, -r3},
        {1, 0, 1, 0, 1, 0, 0},
        {1, 0, 0.5, 0.5, 1.5, 0.5, std::sqrt(2.0 / 3.0)},
        {1, 0, 0.5, 0.5, 0.5, 0.5, -r3},
    };
    for (Coefficient cg : both) {
        for (const auto& c : cases)
            EXPECT_NEAR(cg(c.j1, c.m1, c.j2, c.m2, c.J, c.M), c.value, 1e-15) << c.j1 << " " << c.J;
        for (int tj = 0; tj <= 12; ++tj) { // up to j = 6, beyond the range above
            const double j = tj / 2.0;
            EXPECT_NEAR(cg(j, j, 2.5, 2.5, j + 2.5, j + 2.5), 1.0, 1e-14) << j; // stretched
            for (int tm = -tj; tm <= tj; tm += 2) {
                // <j m; j -m|0 0> = (-1)^(j-m) / sqrt(2j + 1)
                const double singlet = ((tj - tm) / 2 % 2 ? -1.0 : 1.0) / std::sqrt(tj + 1.0);
                EXPECT_NEAR(cg(j, tm / 2.0, j, -tm / 2.0, 0, 0), singlet, 1e-14) << j << " " << tm;
            }
        }
    }
}

TEST(ClebschGordan, SelectionRuleZeros)
{
    const double zeros[][6] = {
        {1, 1, 1, 0, 1, 0},       // M != m1 + m2
        {1, 0, 1, 0, 3, 0},       // J > j1 + j2
        {1, 1, 1, 1, 1, 2},       // M > J
        {1, -1, 1, -1, 1, -2},    // M < -J
        {0.5, 0.5, 2, 0, 1, 0.5}, // J + j1 < j2
        {2, 0, 0, 0, 1, 0},       // J < j1 - j2: no explicit rule in the sum
    };
    for (Coefficient cg : both)
        for (const auto& z : zeros)
            EXPECT_EQ(cg(z[0], z[1], z[2], z[3], z[4], z[5]), 0.0)
                << z[0] << " " << z[4] << " " << z[5];
}

TEST(ClebschGordan, RoundingAndParity)
{
    // The 3-j route snaps each value onto a multiple of 1/2 (moved toward zero here, where
    // truncation would go wrong); the sum compares exactly.
    const double e = 1e-10;
    EXPECT_EQ(Misc::cgc(1 - e, 1 - e, 0.5 - e, -0.5 + e, 1.5, 0.5 - e),
              Misc::cgc(1, 1, 0.5, -0.5, 1.5, 0.5));
    EXPECT_NEAR(Misc::cgc(1, 1, 0.5, -0.5, 1.5, 0.5), std::sqrt(1.0 / 3.0), 1e-15);
    EXPECT_EQ(Misc::oldcgc(1, 0, 0.5, 0.5 + e, 1.5, 0.5), 0.0);
    // j1 integral but m1 half-integral: (-1)^(k + j1 - m1) is not real.
    EXPECT_TRUE(std::isnan(Misc::oldcgc(1, 0.5, 0.5, 0.5, 1, 1)));
}

TEST(ClebschGordan, FactorialHelpers)
{
    const double fractorials[][3] = {{5, 3, 20},        {3, 5, 0.05},      {4, 4, 1},
                                     {0, -1, 0},        {-1, 1, INFINITY}, {2.5, 0.5, 3.75},
                                     {12, 0, 479001600}};
    for (const auto& f : fractorials)
        EXPECT_EQ(Misc::cgc_fractorial(f[0], f[1]), f[2]) << f[0] << " " << f[1];
    const double factorials[][2] = {
        {0, 1}, {-2, 1}, {5, 120}, {2.5, 2}, {20, 2432902008176640000.0}};
    for (const auto& f : factorials)
        EXPECT_EQ(Misc::cgc_factorial(f[0]), f[1]) << f[0];
    EXPECT_EQ(Misc::cgc_delta(3, 3), 1);
    EXPECT_EQ(Misc::cgc_delta(3, -3), 0);
}
