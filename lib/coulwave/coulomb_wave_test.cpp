#include "coulomb_wave.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

using Misc::complex;
constexpr double pi = 3.141592653589793;

void expectRel(double got, double want, double tol, const char* what)
{
    EXPECT_NEAR(got, want, tol * std::max(1.0, std::abs(want))) << what;
}

void expectRel(complex got, complex want, double tol)
{
    const double scale = std::max(1.0, std::abs(want));
    EXPECT_NEAR(got.real(), want.real(), tol * scale) << got << " vs " << want;
    EXPECT_NEAR(got.imag(), want.imag(), tol * scale) << got << " vs " << want;
}

// A spread of orders, charges (attractive, neutral, repulsive) and radii.
struct Point {
    int l;
    double x;
    double eta;
};
const Point points[] = {
    {0, 1.0, 0.0},  {0, 0.2, 1.0},  {0, 5.0, -2.0},  {1, 3.0, 0.5},  {2, 10.0, 3.0},
    {3, 0.8, -0.7}, {5, 20.0, 1.5}, {0, 40.0, 10.0}, {10, 6.0, 0.1}, {1, 0.05, 4.0},
};

TEST(CoulombFunctions, RiccatiBesselAtZeroCharge)
{
    for (double x : {0.3, 1.0, 2.5, 7.0, 20.0}) {
        const double s = std::sin(x);
        const double c = std::cos(x);
        // u_l (F, G) and their derivatives for l = 0, 1, 2 from the closed forms.
        const double want[3][4] = {
            {s, c, c, -s},
            {s / x - c, c / x + s, c / x - s / (x * x) + s, -s / x - c / (x * x) + c},
            {(3 / (x * x) - 1) * s - 3 * c / x, (3 / (x * x) - 1) * c + 3 * s / x,
             (3 / (x * x) - 1) * c - 6 * s / (x * x * x) + 3 * s / x + 3 * c / (x * x),
             -(3 / (x * x) - 1) * s - 6 * c / (x * x * x) + 3 * c / x - 3 * s / (x * x)},
        };
        for (int l = 0; l <= 2; ++l) {
            double F, G, Fp, Gp;
            CoulWave::GetFGprime(l, x, 0.0, &F, &G, &Fp, &Gp);
            SCOPED_TRACE(testing::Message() << "l = " << l << ", x = " << x);
            expectRel(F, want[l][0], 1e-12, "F");
            expectRel(G, want[l][1], 1e-12, "G");
            expectRel(Fp, want[l][2], 1e-12, "F'");
            expectRel(Gp, want[l][3], 1e-12, "G'");
            CoulWave::GetFG(l, x, 0.0, &F, &G);
            expectRel(F, want[l][0], 1e-12, "GetFG F");
            expectRel(G, want[l][1], 1e-12, "GetFG G");
        }
    }
}

TEST(CoulombFunctions, WronskianEquationAndBothRoutesAgree)
{
    for (const Point& p : points) {
        SCOPED_TRACE(testing::Message() << "l = " << p.l << ", x = " << p.x << ", eta = " << p.eta);
        double F, G, Fp, Gp, F2, G2;
        CoulWave::GetFGprime(p.l, p.x, p.eta, &F, &G, &Fp, &Gp);
        CoulWave::GetFG(p.l, p.x, p.eta, &F2, &G2);
        EXPECT_NEAR(F2, F, 1e-12 * std::abs(F));
        EXPECT_NEAR(G2, G, 1e-12 * std::abs(G));

        // F'G - FG' = 1, whatever the sizes of F and G.
        EXPECT_NEAR(Fp * G - F * Gp, 1.0, 1e-11 * (std::abs(Fp * G) + std::abs(F * Gp)));

        // F' solves the Coulomb equation F'' = (2 eta / x + l (l + 1) / x^2 - 1) F, and
        // is the derivative of F: central differences of step h.
        const double h = 1e-4 * std::min(p.x, 1.0);
        double Fa, Ga, Fpa, Gpa, Fb, Gb, Fpb, Gpb;
        CoulWave::GetFGprime(p.l, p.x + h, p.eta, &Fa, &Ga, &Fpa, &Gpa);
        CoulWave::GetFGprime(p.l, p.x - h, p.eta, &Fb, &Gb, &Fpb, &Gpb);
        const double k = 2 * p.eta / p.x + p.l * (p.l + 1) / (p.x * p.x) - 1;
        EXPECT_NEAR((Fa - Fb) / (2 * h), Fp, 1e-6 * (std::abs(Fp) + std::abs(F) / p.x));
        EXPECT_NEAR((Fpa - Fpb) / (2 * h), k * F, 1e-6 * (std::abs(k * F) + std::abs(Fp) / p.x));
    }
}

TEST(CoulombFunctions, GamowNormalisationNearOrigin)
{
    // F_0 = C_0 x (1 + eta x + O(x^2)), with C_0^2 = 2 pi eta / (e^(2 pi eta) - 1).
    const double x = 1e-6;
    for (double eta : {-2.0, -0.3, 0.5, 1.0, 3.0}) {
        const double c0 = std::sqrt(2 * pi * eta / std::expm1(2 * pi * eta));
        double F, G;
        CoulWave::GetFG(0, x, eta, &F, &G);
        EXPECT_NEAR(F / (c0 * x * (1 + eta * x)), 1.0, 1e-10) << "eta = " << eta;
    }
}

TEST(CoulombWaves, OutgoingAndIncomingAreFMinusAndPlusIG)
{
    expectRel(CoulWave::CWoutgoing(0, 1.0, 0.0), complex(std::sin(1.0), -std::cos(1.0)), 1e-14);
    expectRel(CoulWave::CWincoming(0, 1.0, 0.0), complex(std::sin(1.0), std::cos(1.0)), 1e-14);
    for (const Point& p : points) {
        double F, G;
        CoulWave::GetFG(p.l, p.x, p.eta, &F, &G);
        const complex out = CoulWave::CWoutgoing(p.l, p.x, p.eta);
        const complex in = CoulWave::CWincoming(p.l, p.x, p.eta);
        EXPECT_EQ(out, complex(F, -G));
        EXPECT_EQ(in, std::conj(out));
    }
    // Far out the outgoing wave turns like -i e^(i x) at eta = 0, and F^2 + G^2 tends
    // to 1 as 1 + eta / x + O(1 / x^2).
    const double x = 2000.0;
    expectRel(CoulWave::CWoutgoing(0, x, 0.0), complex(0.0, -1.0) * std::polar(1.0, x), 1e-12);
    EXPECT_NEAR(std::norm(CoulWave::CWincoming(2, x, 1.0)), 1.0 + 1.0 / x, 1e-5);
}

TEST(CoulombFunctions, NegativeOrderGivesNaNWithoutCallingGsl)
{
    // x = -1 would make GSL's default handler abort: reaching it would end the test.
    double F = 0, G = 0, Fp = 0, Gp = 0;
    CoulWave::GetFG(-1, -1.0, 0.0, &F, &G);
    EXPECT_TRUE(std::isnan(F) && std::isnan(G));
    F = G = 0;
    CoulWave::GetFGprime(-3, -1.0, 1.0, &F, &G, &Fp, &Gp);
    EXPECT_TRUE(std::isnan(F) && std::isnan(G) && std::isnan(Fp) && std::isnan(Gp));
    for (const complex w : {CoulWave::CWoutgoing(-1, 1.0, 0.0), CoulWave::CWincoming(-2, 1.0, 0.0)})
        EXPECT_TRUE(std::isnan(w.real()) && std::isnan(w.imag())) << w;
}

TEST(CoulombFunctionsDeathTest, GslDefaultHandlerStaysInPlace)
{
    double F, G, Fp, Gp;
    EXPECT_DEATH(CoulWave::GetFG(0, 0.0, 0.0, &F, &G), "Default GSL error handler invoked");
    EXPECT_DEATH(CoulWave::GetFGprime(1, -2.0, 0.0, &F, &G, &Fp, &Gp),
                 "Default GSL error handler invoked");
    EXPECT_DEATH(CoulWave::cgamma(complex(0.0, 0.0)), "Default GSL error handler invoked");
}

TEST(ComplexGamma, ValuesRecurrenceAndReflection)
{
    expectRel(CoulWave::cgamma(complex(1.0, 0.0)), 1.0, 1e-14);
    expectRel(CoulWave::cgamma(complex(0.5, 0.0)), std::sqrt(pi), 1e-14);
    expectRel(CoulWave::cgamma(complex(6.0, 0.0)), 120.0, 1e-13);
    // |Gamma(i y)|^2 = pi / (y sinh(pi y)), |Gamma(1/2 + i y)|^2 = pi / cosh(pi y).
    for (double y : {0.3, 1.0, 2.5}) {
        const double n0 = std::norm(CoulWave::cgamma(complex(0.0, y)));
        const double nh = std::norm(CoulWave::cgamma(complex(0.5, y)));
        EXPECT_NEAR(n0 * y * std::sinh(pi * y) / pi, 1.0, 1e-13) << "y = " << y;
        EXPECT_NEAR(nh * std::cosh(pi * y) / pi, 1.0, 1e-13) << "y = " << y;
    }
    expectRel(CoulWave::cgamma(complex(0.0, 1.0)), complex(-0.154949828, -0.498015668), 1e-9);

    const complex zs[] = {{0.3, 0.7}, {2.5, -1.5}, {-1.7, 0.4}, {4.0, 3.0}, {0.1, -6.0}};
    for (complex z : zs) {
        const complex g = CoulWave::cgamma(z);
        const double mag = std::abs(g);
        expectRel(CoulWave::cgamma(z + 1.0) / mag, z * g / mag, 1e-12);
        expectRel(CoulWave::cgamma(std::conj(z)) / mag, std::conj(g) / mag, 1e-13);
        // Gamma(z) Gamma(1 - z) sin(pi z) = pi.
        expectRel(g * CoulWave::cgamma(1.0 - z) * std::sin(pi * z) / pi, 1.0, 1e-12);
    }
}

} // namespace
