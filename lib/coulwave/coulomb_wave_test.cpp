#include <twobody/coulomb_wave.h>
#include "internal/constants.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <gsl/gsl_errno.h>

#include <climits>
#include <cmath>
#include <complex>
#include <limits>
#include <tuple>
#include <utility>

namespace {

using Misc::complex;
using test::expectRel;
constexpr double pi = twobody_detail::kPi;

// Closed forms at zero charge, also beyond x = 1e4, where GSL's continued fraction runs away
// and the asymptotic expansion and Steed's method take over (the phase's rounding allows 1e-15 x).
TEST(CoulombFunctions, RiccatiBesselAtZeroCharge)
{
    for (double x : {0.3, 1.0, 2.5, 7.0, 20.0, 2e4, 1.2e5, 3.3e6, 1e8}) {
        const double s = std::sin(x), c = std::cos(x), x2 = x * x;
        // (F, G, F', G') of l = 0 and l = 1 from the closed forms.
        const double want[2][4] = {{s, c, c, -s},
                                   {s / x - c, c / x + s, c / x - s / x2 + s, -s / x - c / x2 + c}};
        for (int l = 0; l <= 1; ++l) {
            double got[6]; // GetFGprime's four, then GetFG's two
            CoulWave::GetFGprime(l, x, 0.0, &got[0], &got[1], &got[2], &got[3]);
            CoulWave::GetFG(l, x, 0.0, &got[4], &got[5]);
            for (int k = 0; k < 6; ++k) {
                const double w = want[l][k % 4];
                EXPECT_NEAR(got[k], w, x > 1e4 ? 1e-15 * x : 1e-12 * std::max(1.0, std::abs(w)))
                    << "l = " << l << ", x = " << x << ", output " << k;
            }
        }
    }
}

// Near the origin, down to x = 1e-300: F_0 = C_0 x (1 + eta x),
// C_0^2 = 2 pi eta / (e^(2 pi eta) - 1), and F'G = 1 + FG' (FG' ~ 2 eta x ln x), which fixes
// G's normalisation. (The Wronskian alone would not do elsewhere: it holds to rounding for any
// pair of solutions fitted to each other, as it did for GSL's JWKB values off by 5e-2.)
TEST(CoulombFunctions, NormalisationNearTheOrigin)
{
    for (double eta : {-2.0, -0.3, 0.5, 3.0})
        for (double x : {1e-6, 1e-30, 1e-300}) {
            const double c0 = std::sqrt(2 * pi * eta / std::expm1(2 * pi * eta));
            double F, G, Fp, Gp;
            CoulWave::GetFGprime(0, x, eta, &F, &G, &Fp, &Gp);
            EXPECT_NEAR(F / (c0 * x * (1 + eta * x)), 1.0, 1e-10) << eta << " " << x;
            EXPECT_NEAR(Fp * G, 1.0, 1e-10 + 1e2 * x) << eta << " " << x;
        }
}

// At eta != 0, beyond x = 1e4 and near the origin (an attractive pair at 1 <= |eta| x < 200,
// across l = 30; low orders of a repulsive pair in GSL's series region): the recurrence in l
// (DLMF 33.4.1), which a wrong phase sigma_l or sign would break.
TEST(CoulombFunctions, RecurrenceAcrossRoutes)
{
    const struct {
        int l;
        double x, eta;
    } points[] = {{1, 1e5, 0.5},     {40, 3e4, -300.0},  {9999, 5e6, 1e4}, {3, 9e7, 1e4},
                  {1, 0.01, -500.0}, {31, 0.02, -300.0}, {2, 1.0, 3.0}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << "l = " << p.l << ", x = " << p.x << ", eta = " << p.eta);
        double u[3][4];
        for (int k = 0; k < 3; ++k)
            CoulWave::GetFGprime(p.l - 1 + k, p.x, p.eta, &u[k][0], &u[k][1], &u[k][2], &u[k][3]);
        const double l = p.l, eta = p.eta, tol = std::max(1e-12, 1e-15 * p.x);
        const double a = l * std::hypot(l + 1, eta), b = (2 * l + 1) * (eta + l * (l + 1) / p.x),
                     c = (l + 1) * std::hypot(l, eta);
        for (int j = 0; j < 2; ++j) {
            const double scale = std::fabs(b * u[1][j]) + std::fabs(c * u[0][j]);
            EXPECT_NEAR(a * u[2][j], b * u[1][j] - c * u[0][j], 3 * tol * scale) << "F/G " << j;
        }
        EXPECT_NEAR(u[1][2] * u[1][1] - u[1][0] * u[1][3], 1.0, tol);
    }
}

// F and G beyond the double range deep below the barrier, F' beside a subnormal F, and GSL
// errors with its handler off.
TEST(CoulombFunctions, OutOfRangeValuesAndGslErrors)
{
    double F, G, Fp, Gp;
    // The last three are in GSL's series region, where GSL reports success and leaves NaN.
    for (const auto& [l, x, eta] :
         {std::tuple{0, 1.0, 300.0},   // F ~ e^(-pi eta) = 1e-409
          std::tuple{0, 5e-4, 1000.0}, // near the origin
          std::tuple{2, 5e-4, 1000.0}, std::tuple{4, 1e-3, 800.0}, std::tuple{30, 1e-8, 50.0},
          std::tuple{100, 0.01, 0.0}, std::tuple{100, 0.01, -0.5}}) {
        CoulWave::GetFGprime(l, x, eta, &F, &G, &Fp, &Gp);
        EXPECT_TRUE(F == 0.0 && Fp == 0.0 && G == HUGE_VAL && Gp == -HUGE_VAL) << l << " " << x;
    }
    // Near the origin F' ~ (l + 1) F / x stays normal where F is subnormal, and keeps its
    // digits (mpmath at 50 digits): once it was formed from the subnormal F and lost 5e-12.
    for (const auto& [x, want] : {std::pair{3.1622776601683795e-23, 7.5624746440595391e-289},
                                  std::pair{3.1622776601683795e-26, 7.5624746440595391e-301}}) {
        CoulWave::GetFGprime(4, x, 150.0, &F, &G, &Fp, &Gp);
        EXPECT_LT(F, std::numeric_limits<double>::min());
        EXPECT_NEAR(Fp, want, 1e-13 * want) << x;
    }
    gsl_error_handler_t* old = gsl_set_error_handler_off();
    CoulWave::GetFG(0, 0.0, 0.0, &F, &G); // GSL's domain error: NaN, not what GSL left
    gsl_set_error_handler(old);
    EXPECT_TRUE(std::isnan(F) && std::isnan(G));
}

TEST(CoulombFunctions, ArgumentsOutsideTheServedRangeGiveNaNPromptly)
{
    // Each of these once looped forever inside GSL or allocated without bound. A negative
    // order at x = -1 would reach GSL's aborting default handler if GSL were called.
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int l;
        double x, eta;
    } cases[] = {{1, 2e9, 0.0},       {1, inf, 0.0},          {0, -inf, 1.0},    {1, nan, 0.0},
                 {0, 1.0, nan},       {1, 1.0, -inf},         {1, 1.0, -1e30},   {0, 1.0, inf},
                 {INT_MAX, 1.0, 0.5}, {100000000, 10.0, 0.0}, {10001, 1.0, 0.0}, {-1, -1.0, 0.0},
                 {-3, -1.0, 1.0}};
    for (const auto& c : cases) {
        EXPECT_TRUE(test::finishesWithin(
            5,
            [&] {
                double v[6];
                CoulWave::GetFG(c.l, c.x, c.eta, &v[0], &v[1]);
                CoulWave::GetFGprime(c.l, c.x, c.eta, &v[2], &v[3], &v[4], &v[5]);
                const complex w[2] = {CoulWave::CWoutgoing(c.l, c.x, c.eta),
                                      CoulWave::CWincoming(c.l, c.x, c.eta)};
                bool allNaN = std::isnan(w[0].real()) && std::isnan(w[0].imag()) &&
                              std::isnan(w[1].real()) && std::isnan(w[1].imag());
                for (double d : v)
                    allNaN = allNaN && std::isnan(d);
                return allNaN;
            }))
            << "l = " << c.l << ", x = " << c.x << ", eta = " << c.eta;
    }
    // The edges of the served range still reach GSL, which returns promptly (with its
    // handler off: at eta = -1e10 its continued fraction gives up and reports it).
    EXPECT_TRUE(test::finishesWithin(5, [] {
        gsl_set_error_handler_off();
        double F, G, Fp, Gp;
        CoulWave::GetFGprime(10000, 1e4, 0.0, &F, &G, &Fp, &Gp);
        const bool fine = std::isfinite(F) && std::isfinite(G);
        CoulWave::GetFG(3, 1e8, 0.0, &F, &G);
        CoulWave::GetFGprime(3, 1.0, -1e10, &F, &G, &Fp, &Gp);
        CoulWave::GetFG(10000, 1e8, 1e10, &F, &G);
        return fine;
    }));
}

TEST(CoulombFunctionsDeathTest, GslDefaultHandlerStaysInPlace)
{
    double F, G;
    EXPECT_DEATH(CoulWave::GetFG(0, 0.0, 0.0, &F, &G), "Default GSL error handler invoked");
    // A negative x below -2 eta reaches GSL's domain error too, not the inward integration.
    EXPECT_DEATH(CoulWave::GetFG(0, -20.0, 1.0, &F, &G), "Default GSL error handler invoked");
}

TEST(ComplexGamma, ValuesRecurrenceAndReflection)
{
    expectRel(CoulWave::cgamma(1.0), 1.0, 1e-14);
    expectRel(CoulWave::cgamma(0.5), std::sqrt(pi), 1e-14);
    for (complex z :
         {complex(0.3, 0.7), complex(2.5, -1.5), complex(-1.7, 0.4), complex(0.1, -6.0)}) {
        const complex g = CoulWave::cgamma(z);
        expectRel(CoulWave::cgamma(z + 1.0) / std::abs(g), z * g / std::abs(g), 1e-12);
        // Gamma(z) Gamma(1 - z) sin(pi z) = pi.
        expectRel(g * CoulWave::cgamma(1.0 - z) * std::sin(pi * z) / pi, 1.0, 1e-12);
    }
    // The poles below 0, where GSL returns a huge finite value without an error.
    for (double n : {-1.0, -2.0, -7.0})
        EXPECT_TRUE(std::isnan(CoulWave::cgamma(n).real())) << n;
}

} // namespace
