#include <twobody/cchcalc.h>
#include "cchcalc/cchcalc_dd.h"
#include "cchcalc/cchcalc_quad.h"
#include "internal/constants.h"

#include "test_support.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using test::expectClose;
using twobody_detail::kPi;
constexpr int kMax = CCHCalc::LMAXFACT;
const std::string kWarning = "Clearing static data used for charray calc.s. \n"
                             "Don't do this unless you are finished with charray objects\n";
const std::string kReleased = kWarning + "CCHCalc static data cleared\n";
using Triple = std::array<int, 3>;

std::string printed(const std::function<void()>& f) { return test::captureStdout(f); }

int filledSlots()
{
    int count = 0;
    for (int a1 = 0; a1 <= kMax; ++a1)
        for (int a2 = 0; a2 <= std::min(a1, kMax - a1); ++a2)
            for (int a3 = 0; a3 <= std::min(a2, kMax - a1 - a2); ++a3)
                count += CCHCalc::OverlapSlotFilled(a1, a2, a3);
    return count;
}

std::vector<Triple> triples(int L)
{
    std::vector<Triple> t;
    for (int x = L; x >= 0; --x)
        for (int y = L - x; y >= 0; --y)
            t.push_back({x, y, L - x - y});
    return t;
}

TEST(CCHCalcTables, ValuesAndIdentities)
{
    CCHCalc c;
    for (int n = 0; n <= kMax; ++n) {
        // n! against the gamma function, (2n)!! = 2^n n!, (2n+1)!! (2n)!! = (2n+1)!.
        const double g = std::tgamma(2 * n + 2.0);
        EXPECT_NEAR(c.Factorial(n) / std::tgamma(n + 1.0), 1.0, 1e-13) << n;
        EXPECT_EQ(c.DoubleFactorial(2 * n), std::ldexp(c.Factorial(n), n)) << n;
        EXPECT_NEAR(c.DoubleFactorial(2 * n + 1) * c.DoubleFactorial(2 * n), g, 1e-13 * g) << n;
        // Pascal's rule: exact while k C(n, k) stays below 2^53 (n <= 54), a few ulp above.
        const double tol = n <= 54 ? 0.0 : 1e-15;
        for (int a = 1; a < n; ++a) {
            const double sum = c.Binomial(a - 1, n - a) + c.Binomial(a, n - a - 1);
            EXPECT_NEAR(c.Binomial(a, n - a), sum, tol * sum) << n << " " << a;
        }
    }
    expectClose({c.Factorial(0), c.Factorial(1), c.Factorial(20), c.DoubleFactorial(0),
                 c.DoubleFactorial(1), c.DoubleFactorial(7), c.Binomial(0, 0), c.Binomial(2, 3),
                 c.Binomial(3, 2), c.Binomial(0, 56), c.Trinomial(1, 1, 1), c.Trinomial(2, 0, 1),
                 c.Trinomial(0, 1, 2), c.Trinomial(1, 2, 0), c.Trinomial(2, 1, 0)},
                {1, 1, 2432902008176640000.0, 1, 1, 105, 1, 10, 10, 1, 6, 3, 3, 3, 3}, 0, 0);
    // Exact integers rounded to double: 56!, 113!! and 60!/(20!)^3.
    EXPECT_DOUBLE_EQ(c.Factorial(56), 7.109985878048635e74);
    EXPECT_DOUBLE_EQ(c.DoubleFactorial(113), 4.3550043636279895e92);
    EXPECT_NEAR(c.Trinomial(9, 17, 30) * c.Factorial(9) * c.Factorial(17) * c.Factorial(30),
                c.Factorial(56), 1e-14 * c.Factorial(56));
}

TEST(CCHCalcTables, ArgumentsOutsideThePreconditions)
{
    CCHCalc c;
    // Negative exponents, and degrees beyond 57 in the direct sums, give NaN.
    for (double v : {c.Factorial(-1), c.DoubleFactorial(-2), c.Binomial(-1, 3), c.Binomial(3, -1),
                     c.Trinomial(1, -1, 1), c.GetOverlap(-1, 1, 0, 0, 0, 0),
                     c.GetOverlap0(1, 0, 0, 1, 0, -2), c.GetOverlap(20, 20, 18, 20, 20, 18),
                     c.GetOverlap0(57, 0, 0, 57, 0, 0), c.GetAFromE(-1, 1, 0, 1, 0, 0),
                     c.GetAFromE(20, 20, 18, 1, 0, 0), c.GetAFromE(57, 0, 0, 1, 0, 0)})
        EXPECT_TRUE(std::isnan(v));
    // Above the tables the running products go on: exact C(60, 30) and 60!/(20!)^3.
    EXPECT_EQ(c.DoubleFactorial(-1), 1.0);
    EXPECT_EQ(c.Factorial(57), c.Factorial(56) * 57);
    EXPECT_EQ(c.DoubleFactorial(115), c.DoubleFactorial(113) * 115);
    EXPECT_NEAR(c.Factorial(170) / std::tgamma(171.0), 1.0, 1e-13);
    EXPECT_EQ(c.Factorial(171), HUGE_VAL);
    EXPECT_EQ(c.DoubleFactorial(INT_MAX), HUGE_VAL);
    EXPECT_NEAR(c.Binomial(30, 30) / 118264581564861424.0, 1.0, 1e-15);
    EXPECT_EQ(c.Binomial(1, INT_MAX), 2147483648.0);
    EXPECT_NEAR(c.Trinomial(20, 20, 20) / 5.7783121447847583e26, 1.0, 1e-14);
    // Trivial zeros, direct evaluation at L = 57 and invalid triples fill no slot.
    const int filled = filledSlots();
    EXPECT_EQ(c.GetOverlap(INT_MAX, INT_MAX, INT_MAX, 0, 0, 0), 0.0);
    EXPECT_EQ(c.GetOverlap(20, 19, 18, 18, 19, 20), c.GetOverlap0(20, 19, 18, 18, 19, 20));
    c.overlapinit(-1, 0, 0);
    c.overlapinit(30, 20, 7);
    EXPECT_EQ(filledSlots(), filled);
}

TEST(CCHCalcLifecycle, TablesLiveFromFirstConstructionToLastDestruction)
{
    ASSERT_EQ(CCHCalc::LiveObjects(), 0);
    auto a = std::make_unique<CCHCalc>();
    // A second object neither rebuilds nor releases: the slot it filled survives.
    EXPECT_EQ(printed([&] { CCHCalc().GetOverlap(2, 1, 0, 0, 1, 2); }), "");
    EXPECT_TRUE(CCHCalc::OverlapSlotFilled(1, 0, 2));
    EXPECT_EQ(printed([&] { a.reset(); }), kReleased);
    EXPECT_FALSE(CCHCalc::TablesPresent());

    // A fresh build starts with an empty cache; a direct clear leaves the count alone.
    a = std::make_unique<CCHCalc>();
    EXPECT_TRUE(CCHCalc::TablesPresent());
    EXPECT_EQ(filledSlots(), 0);
    EXPECT_EQ(printed([&] { a->ClearStaticData(); }), kWarning);
    EXPECT_EQ(printed([&] { a->ClearStaticData(); }), kWarning);
    EXPECT_EQ(printed([] { CCHCalc d; }), "");
    EXPECT_FALSE(CCHCalc::TablesPresent());
    a->InitStaticData();
    EXPECT_EQ(a->Factorial(5), 120.0);

    // Copies count like originals, assignment changes no count: one release, at the last.
    auto copy = std::make_unique<CCHCalc>(*a);
    std::vector<CCHCalc> more(3, *copy);
    *copy = more[0];
    EXPECT_EQ(CCHCalc::LiveObjects(), 5);
    EXPECT_EQ(printed([&] { a.reset(); }) + printed([&] { more.clear(); }), "");
    EXPECT_TRUE(CCHCalc::TablesPresent());
    EXPECT_EQ(printed([&] { copy.reset(); }), kReleased);
    EXPECT_EQ(CCHCalc::LiveObjects(), 0);
}

TEST(CCHCalcLifecycleDeathTest, LookupWithoutTablesStops)
{
    auto owner = std::make_unique<CCHCalc>();
    CCHCalc& c = *owner;
    printed([&] { c.ClearStaticData(); });
    const std::function<void()> lookups[] = {[&] { c.Trinomial(1, 1, 1); },
                                             [&] { c.GetOverlap(1, 0, 0, 1, 0, 0); },
                                             [&] { c.GetAFromE(1, 0, 0, 1, 0, 0); }};
    for (const auto& f : lookups)
        EXPECT_EXIT(f(), testing::ExitedWithCode(1),
                    "^CCHCalc: table lookup while the static tables are absent .*\n$");
    // Results that need no table still come.
    EXPECT_EQ(c.GetOverlap(1, 0, 0, 0, 1, 0), 0.0);
    EXPECT_EQ(c.GetAFromE(0, 0, 0, 0, 0, 0), 1.0);
    EXPECT_EQ(printed([&] { owner.reset(); }), kReleased);
}

TEST(CCHCalcOverlap, ClosedFormsSymmetriesCacheAndQuadrature)
{
    CCHCalc c;
    auto O = [&](const Triple& a, const Triple& b) {
        return c.GetOverlap(a[0], a[1], a[2], b[0], b[1], b[2]);
    };
    expectClose({O({0, 0, 0}, {0, 0, 0}), O({1, 0, 0}, {1, 0, 0}), O({1, 0, 0}, {0, 1, 0}),
                 O({1, 0, 0}, {2, 0, 0}), O({2, 0, 0}, {2, 0, 0}), O({2, 0, 0}, {0, 2, 0}),
                 O({1, 1, 0}, {1, 1, 0}), O({1, 1, 1}, {1, 1, 1}), O({3, 0, 0}, {3, 0, 0}),
                 O({3, 0, 0}, {1, 2, 0})},
                {4 * kPi, 4 * kPi / 3, 0, 0, 16 * kPi / 45, -8 * kPi / 45, 4 * kPi / 15,
                 4 * kPi / 105, 16 * kPi / 175, -8 * kPi / 175},
                0, 4e-16);
    // Sphere quadrature: 8-point Gauss-Legendre in cos(theta), exact to degree 15, times the
    // trapezoidal rule in phi, exact below degree 16. Nodes and weights: Abramowitz and
    // Stegun, Table 25.4.
    const int nphi = 16;
    const double z[4] = {0.96028985649753629, 0.79666647741362673, 0.52553240991632899,
                         0.18343464249564981};
    const double w[4] = {0.10122853629037626, 0.22238103445337448, 0.31370664587788727,
                         0.36268378337836199};
    for (int L = 0; L <= 9; ++L)
        for (const Triple& a : triples(L))
            for (const Triple& b : triples(L)) {
                const double o = O(a, b);
                EXPECT_EQ(O(a, b), o); // a cache hit returns the identical double
                EXPECT_NEAR(O(b, a), o, 1e-15);
                // Sorted keys hold GetOverlap0's value, also for (1, 1, 0) and (1, 1, 1).
                if (a[0] >= a[1] && a[1] >= a[2]) {
                    EXPECT_EQ(o, c.GetOverlap0(a[0], a[1], a[2], b[0], b[1], b[2]));
                }
                // Permuting both triples' axes alike; distinct exponents hit the same entry.
                const bool distinct = a[0] != a[1] && a[1] != a[2] && a[0] != a[2];
                for (Triple p = {0, 2, 1}; p != Triple{0, 1, 2};
                     std::next_permutation(p.begin(), p.end()))
                    EXPECT_NEAR(O({a[p[0]], a[p[1]], a[p[2]]}, {b[p[0]], b[p[1]], b[p[2]]}), o,
                                distinct ? 0.0 : 1e-15);
                if (L > 6)
                    continue;
                // O(a; b) = integral of A_a(n) n^b over the sphere.
                double sum = 0.0;
                for (int i = 0; i < 8; ++i)
                    for (int j = 0; j < nphi; ++j) {
                        const double ct = i < 4 ? z[i] : -z[i - 4], st = std::sqrt(1 - ct * ct);
                        const double n[3] = {st * std::cos(2 * kPi * j / nphi),
                                             st * std::sin(2 * kPi * j / nphi), ct};
                        sum += w[i % 4] * (2 * kPi / nphi) * std::pow(n[0], b[0]) *
                               std::pow(n[1], b[1]) * std::pow(n[2], b[2]) *
                               c.GetAFromE(a[0], a[1], a[2], n[0], n[1], n[2]);
                    }
                EXPECT_NEAR(o, sum, 1e-13) << a[0] << a[1] << a[2] << " " << b[0] << b[1] << b[2];
            }
}

TEST(CCHCalcTensor, KnownComponentsAndTracelessness)
{
    CCHCalc c;
    auto A = [&](int x, int y, int z, const double* e) {
        return c.GetAFromE(x, y, z, e[0], e[1], e[2]);
    };
    const double e[3] = {0.6, 0.0, 0.8}, ex[3] = {1, 0, 0}, twice[3] = {2, 0, 0};
    // The last: a vector of length 2 is not normalised away.
    expectClose(
        {A(1, 0, 0, e), A(2, 0, 0, e), A(0, 0, 2, e), A(3, 0, 0, e), A(2, 0, 0, ex), A(3, 0, 0, ex),
         A(4, 0, 0, ex), A(2, 0, 0, twice)},
        {0.6, 0.36 - 1.0 / 3, 0.64 - 1.0 / 3, -0.144, 2.0 / 3, 2.0 / 5, 8.0 / 35, 4 - 1.0 / 3},
        1e-15, 0);
    expectClose({A(1, 1, 0, e), A(0, 0, 0, twice), c.GetMFromE(0, 0, 0, 0, 0, 0),
                 c.GetMFromE(0, 1, 0, 0.0, 0.5, 0.0)},
                {0, 1, 1, 0.5}, 0, 0);
    const double c90 = std::cos(kPi / 2); // not exactly 0: passed on unchanged
    EXPECT_EQ(c.GetMFromThetaPhi(2, 1, 3, kPi / 2, 0), c.GetMFromE(2, 1, 3, 1, 0, c90));
    EXPECT_EQ(c.GetAFromThetaPhi(2, 0, 3, kPi / 2, 0), c.GetAFromE(2, 0, 3, 1, 0, c90));

    // Tracelessness up to degree 12 for random unit vectors.
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const double theta = std::acos(u(rng)), phi = kPi * u(rng), s = std::sin(theta);
        const double n[3] = {std::cos(phi) * s, std::sin(phi) * s, std::cos(theta)};
        for (int L = 0; L <= 10; ++L)
            for (const Triple& l : triples(L))
                EXPECT_NEAR(A(l[0] + 2, l[1], l[2], n) + A(l[0], l[1] + 2, l[2], n) +
                                A(l[0], l[1], l[2] + 2, n),
                            0.0, 1e-13)
                    << L;
        EXPECT_EQ(c.GetAFromThetaPhi(3, 2, 1, theta, phi), A(3, 2, 1, n));
    }
}

// Regression lock on the double sums where they are accurate (overlaps up to degree 19,
// components up to degree 8): the bit patterns of every overlap of those degrees, direct and
// cached, and of every component at 62 directions, folded into one FNV-1a hash each. The
// hashes were taken before the high degrees moved to extended precision.
uint64_t doubleSumHash(const CCHCalc& c, bool components)
{
    uint64_t h = 14695981039346656037ULL;
    auto mix = [&](double v) {
        uint64_t u = 0;
        std::memcpy(&u, &v, sizeof u);
        for (int i = 0; i < 8; ++i) {
            h ^= (u >> (8 * i)) & 0xffU;
            h *= 1099511628211ULL;
        }
    };
    if (!components) {
        for (int L = 0; L <= 19; ++L)
            for (int a1 = L; a1 >= 0; --a1)
                for (int a2 = L - a1; a2 >= 0; --a2)
                    for (int b1 = a1 % 2; b1 <= L; b1 += 2)
                        for (int b2 = a2 % 2; b1 + b2 <= L; b2 += 2) {
                            const int a3 = L - a1 - a2, b3 = L - b1 - b2;
                            if ((a3 - b3) % 2 == 0) {
                                mix(c.GetOverlap0(a1, a2, a3, b1, b2, b3));
                                mix(c.GetOverlap(a1, a2, a3, b1, b2, b3));
                            }
                        }
        return h;
    }
    // Directions v / |v| of small integer vectors: IEEE-rounded square root and quotient.
    for (int i = -3; i <= 3; ++i)
        for (int j = -2; j <= 3; ++j)
            for (int k = -1; k <= 2; ++k) {
                const double n = std::sqrt(static_cast<double>(i * i + j * j + k * k));
                if (n == 0)
                    continue;
                for (int L = 0; L <= 8; ++L)
                    for (int x = L; x >= 0; --x)
                        for (int y = L - x; y >= 0; --y)
                            mix(c.GetAFromE(x, y, L - x - y, i / n, j / n, k / n));
            }
    return h;
}

TEST(CCHCalcRegression, DoubleSumsKeptBitForBitWhereAccurate)
{
    CCHCalc c;
    EXPECT_EQ(doubleSumHash(c, false), 0x0b18693eedefad87ULL);
    EXPECT_EQ(doubleSumHash(c, true), 0x6b16015450d83280ULL);
}

// High degrees, where the double sums used to cancel to garbage: tracelessness of the
// components, a positive squared norm, and the cache agreeing with the direct sum bit for bit.
TEST(CCHCalcTensor, HighDegreeIdentities)
{
    CCHCalc c;
    const double e[3] = {0.48, 0.6, 0.64}; // a unit vector: 0.2304 + 0.36 + 0.4096 = 1
    for (const Triple& l :
         {Triple{54, 0, 0}, Triple{0, 30, 24}, Triple{18, 18, 18}, Triple{25, 20, 9}}) {
        // The three terms of the trace, each against its RMS over the sphere.
        double trace = 0.0, scale = 0.0;
        for (int m = 0; m < 3; ++m) {
            Triple t = l;
            t[m] += 2;
            const double norm = c.GetOverlap(t[0], t[1], t[2], t[0], t[1], t[2]);
            EXPECT_GT(norm, 0.0);
            scale += std::sqrt(norm / (4 * kPi));
            trace += c.GetAFromE(t[0], t[1], t[2], e[0], e[1], e[2]);
        }
        EXPECT_LE(std::abs(trace), 1e-13 * scale) << l[0] << " " << l[1] << " " << l[2];
        Triple s = l;
        std::sort(s.rbegin(), s.rend());
        EXPECT_EQ(c.GetOverlap(l[2], l[1], l[0], l[2], l[1], l[0]),
                  c.GetOverlap0(s[0], s[1], s[2], s[0], s[1], s[2]));
    }
}

// The compensated triple sum with products by Dekker's split and by fused multiply-add (a
// given processor uses only one of them) against the same sum in 113-bit arithmetic, on
// random factors whose sum is made to cancel to about 1e-32 of its magnitude: an error-free
// transformation that is not exact shows as an error of order 1e-16 of the magnitude.
TEST(CCHCalcSums, CompensatedSumWithBothProductForms)
{
    using namespace cchcalc_detail;
    std::mt19937_64 rng(2026);
    std::uniform_real_distribution<double> U(-1, 1);
    const auto draw = [&](DD& d, Quad& q) {
        const double hi = std::ldexp(U(rng), static_cast<int>(rng() % 21) - 10);
        d = MakeDD<false>(hi, hi * 0x1p-54 * U(rng));
        q = Quad(d.hi) + d.lo;
    };
    for (int trial = 0; trial < 60; ++trial) {
        const int lo[3] = {0, 0, 0}, len[3] = {1 + trial % 7, 1 + trial % 5, 1 + trial % 3};
        DD g[3][kAxisTerms], c[3 * kAxisTerms];
        Quad gq[3][kMaxTerms], cq[3 * kMaxTerms];
        for (int m = 0; m < 3; ++m)
            for (int t = 0; t < len[m]; ++t)
                draw(g[m][t], gq[m][t]);
        for (int n = 0; n < len[0] + len[1] + len[2]; ++n)
            draw(c[n], cq[n]);
        // c[0] multiplies only g[0][0] g[1][0] g[2][0]: shift it to cancel the sum.
        const Quad c0 = cq[0] - TripleSum(gq, lo, len, cq) / (gq[0][0] * gq[1][0] * gq[2][0]);
        c[0] = MakeDD<false>(static_cast<double>(c0),
                             static_cast<double>(c0 - static_cast<double>(c0)));
        cq[0] = Quad(c[0].hi) + c[0].lo;
        const double want = static_cast<double>(TripleSum(gq, lo, len, cq));
        for (const CompensatedSum& got :
             {TripleSum<false>(g, lo, len, c, 1), TripleSum<true>(g, lo, len, c, 1)})
            EXPECT_LE(std::fabs(got.value - want),
                      0x1p-52 * std::fabs(want) + 0x1p-100 * got.magnitude)
                << trial;
    }
}

} // namespace
