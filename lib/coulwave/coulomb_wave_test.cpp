#include <twobody/coulomb_wave.h>
#include "internal/constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

using Misc::complex;
constexpr double pi = twobody_detail::kPi;

void expectRel(complex got, complex want, double tol)
{
    EXPECT_LT(std::abs(got - want), tol * std::max(1.0, std::abs(want))) << got << " vs " << want;
}

TEST(CoulombFunctions, RiccatiBesselAtZeroCharge)
{
    for (double x : {0.3, 1.0, 2.5, 7.0, 20.0}) {
        const double s = std::sin(x), c = std::cos(x), x2 = x * x;
        // (F, G, F', G') of l = 0 and l = 1 from the closed forms.
        const double want[2][4] = {{s, c, c, -s},
                                   {s / x - c, c / x + s, c / x - s / x2 + s, -s / x - c / x2 + c}};
        for (int l = 0; l <= 1; ++l) {
            double got[4];
            CoulWave::GetFGprime(l, x, 0.0, &got[0], &got[1], &got[2], &got[3]);
            for (int k = 0; k < 4; ++k)
                EXPECT_NEAR(got[k], want[l][k], 1e-12 * std::max(1.0, std::abs(want[l][k])))
                    << "l = " << l << ", x = " << x << ", output " << k;
        }
    }
}

TEST(CoulombFunctions, WronskianBothRoutesAndWaves)
{
    // Orders, charges (attractive, neutral, repulsive) and radii.
    const struct {
        int l;
        double x, eta;
    } points[] = {{0, 1.0, 0.0},  {0, 0.2, 1.0},  {0, 5.0, -2.0}, {1, 3.0, 0.5},
                  {2, 10.0, 3.0}, {3, 0.8, -0.7}, {5, 20.0, 1.5}, {0, 40.0, 10.0},
                  {10, 6.0, 0.1}, {1, 0.05, 4.0}, {4, 2.0, 0.0}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << "l = " << p.l << ", x = " << p.x << ", eta = " << p.eta);
        double F, G, Fp, Gp, F2, G2;
        CoulWave::GetFGprime(p.l, p.x, p.eta, &F, &G, &Fp, &Gp);
        CoulWave::GetFG(p.l, p.x, p.eta, &F2, &G2);
        EXPECT_NEAR(F2, F, 1e-12 * std::abs(F));
        EXPECT_NEAR(G2, G, 1e-12 * std::abs(G));
        EXPECT_NEAR(Fp * G - F * Gp, 1.0, 1e-11 * (std::abs(Fp * G) + std::abs(F * Gp)));
        const complex out = CoulWave::CWoutgoing(p.l, p.x, p.eta);
        EXPECT_EQ(out, complex(F2, -G2));
        EXPECT_EQ(CoulWave::CWincoming(p.l, p.x, p.eta), std::conj(out));
    }
    // Near the origin F_0 = C_0 x (1 + eta x), C_0^2 = 2 pi eta / (e^(2 pi eta) - 1).
    for (double eta : {-2.0, -0.3, 0.5, 3.0}) {
        const double x = 1e-6, c0 = std::sqrt(2 * pi * eta / std::expm1(2 * pi * eta));
        double F, G;
        CoulWave::GetFG(0, x, eta, &F, &G);
        EXPECT_NEAR(F / (c0 * x * (1 + eta * x)), 1.0, 1e-10) << "eta = " << eta;
    }
}

TEST(CoulombFunctions, NegativeOrderGivesNaNWithoutCallingGsl)
{
    // x = -1 would reach GSL's aborting default handler if GSL were called.
    double v[4] = {0, 0, 0, 0};
    CoulWave::GetFG(-1, -1.0, 0.0, &v[0], &v[1]);
    EXPECT_TRUE(std::isnan(v[0]) && std::isnan(v[1]));
    CoulWave::GetFGprime(-3, -1.0, 1.0, &v[0], &v[1], &v[2], &v[3]);
    for (double d : v)
        EXPECT_TRUE(std::isnan(d));
    for (const complex w : {CoulWave::CWoutgoing(-1, 1.0, 0.0), CoulWave::CWincoming(-2, 1.0, 0.0)})
        EXPECT_TRUE(std::isnan(w.real()) && std::isnan(w.imag())) << w;
}

TEST(CoulombFunctionsDeathTest, GslDefaultHandlerStaysInPlace)
{
    double F, G;
    EXPECT_DEATH(CoulWave::GetFG(0, 0.0, 0.0, &F, &G), "Default GSL error handler invoked");
}

TEST(ComplexGamma, ValuesRecurrenceAndReflection)
{
    expectRel(CoulWave::cgamma(1.0), 1.0, 1e-14);
    expectRel(CoulWave::cgamma(0.5), std::sqrt(pi), 1e-14);
    expectRel(CoulWave::cgamma(complex(0.0, 1.0)), complex(-0.154949828, -0.498015668), 1e-9);
    for (complex z :
         {complex(0.3, 0.7), complex(2.5, -1.5), complex(-1.7, 0.4), complex(0.1, -6.0)}) {
        const complex g = CoulWave::cgamma(z);
        expectRel(CoulWave::cgamma(z + 1.0) / std::abs(g), z * g / std::abs(g), 1e-12);
        // Gamma(z) Gamma(1 - z) sin(pi z) = pi.
        expectRel(g * CoulWave::cgamma(1.0 - z) * std::sin(pi * z) / pi, 1.0, 1e-12);
    }
}

} // namespace
