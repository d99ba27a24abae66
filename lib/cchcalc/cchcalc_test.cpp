#include "cchcalc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMax = CCHCalc::LMAXFACT;
const std::string kWarning = "Clearing static data used for charray calc.s. \n"
                             "Don't do this unless you are finished with charray objects\n";
const std::string kCleared = "CCHCalc static data cleared\n";

std::string takeStdout()
{
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

int filledSlots()
{
    int count = 0;
    for (int a1 = 0; a1 <= kMax; ++a1)
        for (int a2 = 0; a2 <= std::min(a1, kMax - a1); ++a2)
            for (int a3 = 0; a3 <= std::min(a2, kMax - a1 - a2); ++a3)
                count += CCHCalc::OverlapSlotFilled(a1, a2, a3);
    return count;
}

// The Legendre polynomial P_n(x) by Bonnet's recurrence.
double legendre(int n, double x)
{
    double p0 = 1.0, p1 = x;
    if (n == 0)
        return p0;
    for (int k = 2; k <= n; ++k) {
        const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
        p0 = p1;
        p1 = p2;
    }
    return p1;
}

// Every exponent triple of degree L.
std::vector<std::array<int, 3>> triples(int L)
{
    std::vector<std::array<int, 3>> t;
    for (int x = L; x >= 0; --x)
        for (int y = L - x; y >= 0; --y)
            t.push_back({x, y, L - x - y});
    return t;
}

TEST(CCHCalcTables, CombinatoricsAgainstIndependentForms)
{
    CCHCalc c;
    unsigned long long exact = 1;
    for (int n = 0; n <= kMax; ++n) {
        if (n > 0 && n <= 20)
            exact *= n;
        if (n <= 20) {
            EXPECT_EQ(c.Factorial(n), static_cast<double>(exact)) << n;
        }
        EXPECT_NEAR(c.Factorial(n) / std::tgamma(n + 1.0), 1.0, 1e-13) << n;
        // (2n)!! = 2^n n!: each running product differs by a power of two only.
        EXPECT_EQ(c.DoubleFactorial(2 * n), std::ldexp(c.Factorial(n), n)) << n;
        EXPECT_NEAR(c.DoubleFactorial(2 * n + 1) * std::ldexp(c.Factorial(n), n) /
                        std::tgamma(2 * n + 2.0),
                    1.0, 1e-13)
            << n;
    }
    EXPECT_EQ(c.Factorial(0), 1.0);
    EXPECT_EQ(c.Factorial(1), 1.0);
    EXPECT_DOUBLE_EQ(c.Factorial(56), 7.109985878048635e74);
    EXPECT_EQ(c.DoubleFactorial(0), 1.0);
    EXPECT_EQ(c.DoubleFactorial(1), 1.0);
    EXPECT_EQ(c.DoubleFactorial(7), 105.0);
    EXPECT_DOUBLE_EQ(c.DoubleFactorial(113), 4.3550043636279895e92);

    EXPECT_EQ(c.Binomial(0, 0), 1.0);
    EXPECT_EQ(c.Binomial(2, 3), 10.0);
    EXPECT_EQ(c.Binomial(3, 2), 10.0);
    // Pascal's rule over the whole table: exact while the running products k C(n, k) stay
    // below 2^53 (n <= 54), within a few ulp in the last two rows.
    for (int n = 1; n <= kMax; ++n) {
        const double tol = n <= 54 ? 0.0 : 1e-15;
        EXPECT_EQ(c.Binomial(0, n), 1.0);
        EXPECT_NEAR(c.Binomial(n, 0), 1.0, tol);
        for (int a = 1; a < n; ++a) {
            const double sum = c.Binomial(a - 1, n - a) + c.Binomial(a, n - a - 1);
            EXPECT_NEAR(c.Binomial(a, n - a), sum, tol * sum) << n << " " << a;
        }
    }
    EXPECT_EQ(c.Trinomial(1, 1, 1), 6.0);
    for (const auto& t : {std::array<int, 3>{2, 0, 1}, {0, 1, 2}, {1, 2, 0}, {2, 1, 0}})
        EXPECT_EQ(c.Trinomial(t[0], t[1], t[2]), 3.0);
    EXPECT_EQ(c.Trinomial(30, 10, 16), c.Trinomial(16, 30, 10));
    EXPECT_NEAR(c.Trinomial(9, 17, 30) * c.Factorial(9) * c.Factorial(17) * c.Factorial(30) /
                    c.Factorial(56),
                1.0, 1e-14);
}

TEST(CCHCalcTables, ArgumentsBeyondTheTables)
{
    CCHCalc c;
    EXPECT_TRUE(std::isnan(c.Factorial(-1)));
    EXPECT_TRUE(std::isnan(c.DoubleFactorial(-2)));
    EXPECT_EQ(c.DoubleFactorial(-1), 1.0);
    EXPECT_TRUE(std::isnan(c.Binomial(-1, 3)));
    EXPECT_TRUE(std::isnan(c.Binomial(3, -1)));
    EXPECT_TRUE(std::isnan(c.Trinomial(1, -1, 1)));
    // A longer table would hold the same running products.
    EXPECT_EQ(c.Factorial(57), c.Factorial(56) * 57);
    EXPECT_EQ(c.DoubleFactorial(114), std::ldexp(c.Factorial(57), 57));
    EXPECT_EQ(c.DoubleFactorial(115), c.DoubleFactorial(113) * 115);
    EXPECT_NEAR(c.Factorial(170) / std::tgamma(171.0), 1.0, 1e-13);
    EXPECT_EQ(c.Factorial(171), HUGE_VAL);
    EXPECT_EQ(c.Factorial(INT_MAX), HUGE_VAL);
    EXPECT_EQ(c.DoubleFactorial(INT_MAX), HUGE_VAL);
    EXPECT_NEAR(c.Binomial(30, 30) / 118264581564861424.0, 1.0, 1e-15);
    EXPECT_EQ(c.Binomial(1, INT_MAX), 2147483648.0);
    EXPECT_EQ(c.Binomial(1000, 1000), HUGE_VAL);
    EXPECT_NEAR(c.Trinomial(20, 20, 20) / 5.7783121447847583e26, 1.0, 1e-14);
    EXPECT_EQ(c.Trinomial(0, INT_MAX, 1), 2147483648.0);
}

TEST(CCHCalcLifecycle, LastDestructionReleasesOnceAndPrints)
{
    ASSERT_EQ(CCHCalc::LiveObjects(), 0);
    ASSERT_FALSE(CCHCalc::TablesPresent());
    testing::internal::CaptureStdout();
    auto a = std::make_unique<CCHCalc>();
    {
        CCHCalc b;
        a->GetOverlap(2, 1, 0, 0, 1, 2);
        EXPECT_EQ(CCHCalc::LiveObjects(), 2);
    }
    // The second object neither rebuilt nor released the tables: the cache survived.
    EXPECT_TRUE(CCHCalc::OverlapSlotFilled(1, 0, 2));
    EXPECT_EQ(takeStdout(), "");
    testing::internal::CaptureStdout();
    a.reset();
    EXPECT_EQ(takeStdout(), kWarning + kCleared);
    EXPECT_FALSE(CCHCalc::TablesPresent());

    // A fresh build starts with an empty cache.
    testing::internal::CaptureStdout();
    {
        CCHCalc c;
        EXPECT_TRUE(CCHCalc::TablesPresent());
        EXPECT_EQ(filledSlots(), 0);
        EXPECT_DOUBLE_EQ(c.GetOverlap(1, 0, 0, 1, 0, 0), 4 * kPi / 3);
        EXPECT_EQ(filledSlots(), 1);
    }
    EXPECT_EQ(takeStdout(), kWarning + kCleared);
}

TEST(CCHCalcLifecycle, CopiesCountLikeOriginals)
{
    ASSERT_EQ(CCHCalc::LiveObjects(), 0);
    testing::internal::CaptureStdout();
    std::string out;
    {
        auto original = std::make_unique<CCHCalc>();
        std::vector<CCHCalc> copies(3, *original); // copy construction
        CCHCalc assigned;
        assigned = *original; // changes no count
        copies.push_back(assigned);
        EXPECT_EQ(CCHCalc::LiveObjects(), 6);
        original.reset();
        copies.erase(copies.begin(), copies.begin() + 2);
        // A move is a copy for this class: it must count too.
        CCHCalc moved(std::move(copies.back())); // NOLINT(performance-move-const-arg)
        copies.clear();
        EXPECT_EQ(CCHCalc::LiveObjects(), 2);
        EXPECT_TRUE(CCHCalc::TablesPresent());
        out = takeStdout();
        testing::internal::CaptureStdout();
    }
    EXPECT_EQ(out, "");
    EXPECT_EQ(takeStdout(), kWarning + kCleared);
    EXPECT_EQ(CCHCalc::LiveObjects(), 0);
}

TEST(CCHCalcLifecycle, DirectClearAndInit)
{
    testing::internal::CaptureStdout();
    CCHCalc c;
    c.GetOverlap(3, 1, 0, 1, 3, 0);
    c.InitStaticData(); // present tables and filled slots are kept
    EXPECT_EQ(filledSlots(), 1);
    c.ClearStaticData();
    EXPECT_EQ(takeStdout(), kWarning);
    testing::internal::CaptureStdout();
    c.ClearStaticData();
    EXPECT_EQ(takeStdout(), kWarning);
    {
        CCHCalc d; // the count is not 0: no rebuild
        EXPECT_FALSE(CCHCalc::TablesPresent());
    }
    c.InitStaticData();
    EXPECT_TRUE(CCHCalc::TablesPresent());
    EXPECT_EQ(filledSlots(), 0);
    EXPECT_EQ(c.Factorial(5), 120.0);
}

TEST(CCHCalcLifecycleDeathTest, LookupWithoutTablesStops)
{
    testing::internal::CaptureStdout();
    auto owner = std::make_unique<CCHCalc>();
    CCHCalc& c = *owner;
    c.ClearStaticData();
    takeStdout();
    const char* line = "^CCHCalc: table lookup while the static tables are absent .*\n$";
    EXPECT_EXIT(c.Factorial(3), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.DoubleFactorial(3), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.Binomial(1, 1), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.Trinomial(1, 1, 1), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.GetOverlap(1, 0, 0, 1, 0, 0), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.GetOverlap(30, 20, 7, 30, 20, 7), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.GetOverlap0(1, 0, 0, 1, 0, 0), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.overlapinit(1, 0, 0), testing::ExitedWithCode(1), line);
    EXPECT_EXIT(c.GetAFromE(1, 0, 0, 1, 0, 0), testing::ExitedWithCode(1), line);
    // Results that need no table still come.
    EXPECT_EQ(c.GetOverlap(1, 0, 0, 0, 1, 0), 0.0);
    EXPECT_EQ(c.GetOverlap0(1, 0, 0, 2, 0, 0), 0.0);
    EXPECT_EQ(c.GetAFromE(0, 0, 0, 0, 0, 0), 1.0);
    EXPECT_EQ(c.GetMFromE(2, 0, 0, 3, 0, 0), 9.0);
    testing::internal::CaptureStdout();
    owner.reset();
    EXPECT_EQ(takeStdout(), kWarning + kCleared);
}

TEST(CCHCalcOverlap, ClosedFormsAndRangeOutside)
{
    CCHCalc c;
    struct Case {
        int a[3], b[3];
        double value;
    };
    const Case cases[] = {
        {{0, 0, 0}, {0, 0, 0}, 4 * kPi},
        {{1, 0, 0}, {1, 0, 0}, 4 * kPi / 3},
        {{1, 0, 0}, {0, 1, 0}, 0.0},
        {{1, 0, 0}, {2, 0, 0}, 0.0},
        {{2, 0, 0}, {2, 0, 0}, 16 * kPi / 45},
        {{2, 0, 0}, {0, 2, 0}, -8 * kPi / 45},
        {{0, 2, 0}, {0, 0, 2}, -8 * kPi / 45},
        {{1, 1, 0}, {1, 1, 0}, 4 * kPi / 15},
        {{1, 1, 1}, {1, 1, 1}, 4 * kPi / 105},
        {{3, 0, 0}, {3, 0, 0}, 16 * kPi / 175},
        {{3, 0, 0}, {1, 2, 0}, -8 * kPi / 175},
    };
    for (const Case& k : cases) {
        const double o = c.GetOverlap(k.a[0], k.a[1], k.a[2], k.b[0], k.b[1], k.b[2]);
        EXPECT_NEAR(o, k.value, 4e-16 * std::abs(k.value)) << k.a[0] << k.a[1] << k.a[2];
    }
    const double nan[] = {c.GetOverlap(-1, 1, 0, 0, 0, 0), c.GetOverlap0(1, 0, 0, 1, 0, -2),
                          c.GetOverlap(20, 20, 18, 20, 20, 18), c.GetOverlap0(57, 0, 0, 57, 0, 0)};
    for (double v : nan)
        EXPECT_TRUE(std::isnan(v));
    // Neither zeros, nor direct evaluation at L = 57, nor a triple outside the cache fill
    // a slot.
    const int filled = filledSlots();
    EXPECT_EQ(c.GetOverlap(INT_MAX, INT_MAX, INT_MAX, 0, 0, 0), 0.0);
    EXPECT_EQ(c.GetOverlap(4, 4, 4, 3, 5, 4), 0.0);
    EXPECT_EQ(c.GetOverlap(20, 19, 18, 18, 19, 20), c.GetOverlap0(20, 19, 18, 18, 19, 20));
    c.overlapinit(-1, 0, 0);
    c.overlapinit(30, 20, 7);
    EXPECT_EQ(filledSlots(), filled);
}

TEST(CCHCalcOverlap, SymmetriesAndCacheHits)
{
    CCHCalc c;
    for (int L = 0; L <= 9; ++L)
        for (const auto& a : triples(L))
            for (const auto& b : triples(L)) {
                const double o = c.GetOverlap(a[0], a[1], a[2], b[0], b[1], b[2]);
                EXPECT_NEAR(c.GetOverlap(b[0], b[1], b[2], a[0], a[1], a[2]), o, 1e-15)
                    << a[0] << a[1] << a[2] << " " << b[0] << b[1] << b[2];
                // Permuting the axes of both triples alike gives the same value; when the
                // exponents of a differ it hits the very same cache entry.
                const bool distinct = a[0] != a[1] && a[1] != a[2] && a[0] != a[2];
                std::array<int, 3> p = {0, 1, 2};
                do {
                    const double q =
                        c.GetOverlap(a[p[0]], a[p[1]], a[p[2]], b[p[0]], b[p[1]], b[p[2]]);
                    if (distinct)
                        EXPECT_EQ(q, o);
                    else
                        EXPECT_NEAR(q, o, 1e-15);
                } while (std::next_permutation(p.begin(), p.end()));
                // The cache holds the direct value for its sorted key, e.g. (1, 1, 0) with
                // a last row of negative b3 and (1, 1, 1) with a last entry of one per row.
                if (a[0] >= a[1] && a[1] >= a[2]) {
                    EXPECT_EQ(o, c.GetOverlap0(a[0], a[1], a[2], b[0], b[1], b[2]));
                }
            }
}

TEST(CCHCalcOverlap, EqualsQuadratureOfTensorTimesMonomial)
{
    CCHCalc c;
    // Gauss-Legendre in cos(theta), exact for the degree-12 polynomials met here, times
    // the trapezoidal rule in phi, exact for trigonometric polynomials below degree 16.
    const int nz = 8, nphi = 16;
    std::vector<double> z(nz), w(nz);
    for (int i = 0; i < nz; ++i) {
        double x = std::cos(kPi * (i + 0.75) / (nz + 0.5)), d = 0.0;
        for (int it = 0; it < 50; ++it) {
            d = nz * (x * legendre(nz, x) - legendre(nz - 1, x)) / (x * x - 1);
            x -= legendre(nz, x) / d;
        }
        z[i] = x;
        w[i] = 2 / ((1 - x * x) * d * d);
    }
    for (int L = 0; L <= 6; ++L)
        for (const auto& a : triples(L))
            for (const auto& b : triples(L)) {
                double sum = 0.0;
                for (int i = 0; i < nz; ++i)
                    for (int j = 0; j < nphi; ++j) {
                        const double s = std::sqrt(1 - z[i] * z[i]), phi = 2 * kPi * j / nphi;
                        const double n[3] = {s * std::cos(phi), s * std::sin(phi), z[i]};
                        sum += w[i] * (2 * kPi / nphi) *
                               c.GetAFromE(a[0], a[1], a[2], n[0], n[1], n[2]) *
                               c.GetMFromE(b[0], b[1], b[2], n[0], n[1], n[2]);
                    }
                EXPECT_NEAR(c.GetOverlap(a[0], a[1], a[2], b[0], b[1], b[2]), sum, 1e-13)
                    << a[0] << a[1] << a[2] << " " << b[0] << b[1] << b[2];
            }
}

TEST(CCHCalcOverlap, OrthogonalToLowerDegree)
{
    // A_a is harmonic of degree L, so it integrates to 0 against n^b |n|^2 for |b| = L - 2.
    CCHCalc c;
    for (int L : {2, 5, 10, 16})
        for (const auto& a : triples(L))
            for (const auto& b : triples(L - 2)) {
                double sum = 0.0, scale = 0.0;
                for (int m = 0; m < 3; ++m) {
                    std::array<int, 3> e = b;
                    e[m] += 2;
                    const double o = c.GetOverlap(a[0], a[1], a[2], e[0], e[1], e[2]);
                    sum += o;
                    scale += std::abs(o);
                }
                EXPECT_NEAR(sum, 0.0, 1e-12 * scale) << L;
            }
}

TEST(CCHCalcTensor, ComponentsOfADirection)
{
    CCHCalc c;
    const double e[3] = {0.6, 0.0, 0.8};
    EXPECT_NEAR(c.GetAFromE(1, 0, 0, e[0], e[1], e[2]), 0.6, 1e-15);
    EXPECT_NEAR(c.GetAFromE(2, 0, 0, e[0], e[1], e[2]), 0.36 - 1.0 / 3, 1e-15);
    EXPECT_NEAR(c.GetAFromE(0, 0, 2, e[0], e[1], e[2]), 0.64 - 1.0 / 3, 1e-15);
    EXPECT_NEAR(c.GetAFromE(3, 0, 0, e[0], e[1], e[2]), -0.144, 1e-15);
    EXPECT_EQ(c.GetAFromE(1, 1, 0, e[0], e[1], e[2]), 0.0);
    EXPECT_NEAR(c.GetAFromE(2, 0, 0, 1, 0, 0), 2.0 / 3, 1e-15);
    EXPECT_NEAR(c.GetAFromE(3, 0, 0, 1, 0, 0), 2.0 / 5, 1e-15);
    EXPECT_NEAR(c.GetAFromE(4, 0, 0, 1, 0, 0), 8.0 / 35, 1e-15);
    EXPECT_NEAR(c.GetAFromE(2, 0, 0, 2, 0, 0), 4 - 1.0 / 3, 1e-15); // not normalised
    EXPECT_EQ(c.GetAFromE(0, 0, 0, 0, 0, 0), 1.0);
    EXPECT_EQ(c.GetMFromE(0, 0, 0, 0, 0, 0), 1.0);
    EXPECT_EQ(c.GetMFromE(0, 1, 0, 0.0, 0.5, 0.0), 0.5);
    EXPECT_EQ(c.GetMFromE(-2, 1, 3, 0.5, 3.0, -2.0), -96.0);
    // cos(pi/2) is not exactly 0: the angles pass it on unchanged.
    const double c90 = std::cos(kPi / 2);
    EXPECT_EQ(c.GetMFromThetaPhi(2, 1, 3, kPi / 2, 0), c.GetMFromE(2, 1, 3, 1, 0, c90));
    EXPECT_EQ(c.GetAFromThetaPhi(2, 0, 3, kPi / 2, 0), c.GetAFromE(2, 0, 3, 1, 0, c90));
    for (double v : {c.GetAFromE(-1, 1, 0, 1, 0, 0), c.GetAFromE(20, 20, 18, 1, 0, 0),
                     c.GetAFromE(57, 0, 0, 1, 0, 0)})
        EXPECT_TRUE(std::isnan(v));

    // Tracelessness, and along each axis the Legendre form L!/(2L-1)!! P_L(cos angle).
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const double theta = std::acos(u(rng)), phi = kPi * u(rng), s = std::sin(theta);
        const double n[3] = {std::cos(phi) * s, std::sin(phi) * s, std::cos(theta)};
        for (int L = 0; L <= 10; ++L) {
            for (const auto& l : triples(L)) {
                const double trace = c.GetAFromE(l[0] + 2, l[1], l[2], n[0], n[1], n[2]) +
                                     c.GetAFromE(l[0], l[1] + 2, l[2], n[0], n[1], n[2]) +
                                     c.GetAFromE(l[0], l[1], l[2] + 2, n[0], n[1], n[2]);
                EXPECT_NEAR(trace, 0.0, 1e-13) << L;
            }
            const double norm = c.Factorial(L) / c.DoubleFactorial(2 * L - 1);
            EXPECT_NEAR(c.GetAFromE(L, 0, 0, n[0], n[1], n[2]), norm * legendre(L, n[0]), 1e-14);
            EXPECT_NEAR(c.GetAFromE(0, L, 0, n[0], n[1], n[2]), norm * legendre(L, n[1]), 1e-14);
            EXPECT_NEAR(c.GetAFromE(0, 0, L, n[0], n[1], n[2]), norm * legendre(L, n[2]), 1e-14);
        }
        EXPECT_EQ(c.GetAFromThetaPhi(3, 2, 1, theta, phi), c.GetAFromE(3, 2, 1, n[0], n[1], n[2]));
        EXPECT_EQ(c.GetMFromThetaPhi(3, 2, 1, theta, phi), c.GetMFromE(3, 2, 1, n[0], n[1], n[2]));
    }
}

} // namespace
