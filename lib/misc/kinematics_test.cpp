#include <twobody/kinematics.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Four-vector of mass m and momentum (px, py, pz); with m = 1 it is a four-velocity.
void onShell(double m, double px, double py, double pz, double* p)
{
    p[0] = std::sqrt(m * m + px * px + py * py + pz * pz);
    p[1] = px;
    p[2] = py;
    p[3] = pz;
}

TEST(Kinematics, TriangleKnownValuesAndEnergySum)
{
    EXPECT_NEAR(Misc::triangle(10, 6, 0), 10.24, 1e-12);
    EXPECT_NEAR(Misc::triangle(1431.957, 938.28, 493.677), 0.0, 1e-6);
    // Two bodies of momentum p have m0 = E1(p) + E2(p): triangle must give back p^2.
    const double masses[][2] = {{938.28, 493.677}, {139.57, 139.57}, {0.511, 0.0}};
    for (const auto& m : masses)
        for (double p : {0.1, 7.0, 350.0, 5000.0})
            EXPECT_NEAR(Misc::triangle(std::hypot(m[0], p) + std::hypot(m[1], p), m[0], m[1]),
                        p * p, 1e-9 * p * p + 1e-9);
}

TEST(Kinematics, LorentzBoostKnownValueAndRoundTrip)
{
    // beta = 0.6 along x gives (gamma (p0 + beta p1), gamma (p1 + beta p0), p2, p3); a general
    // boost and its inverse, both in place, give the vector back.
    double u[4] = {1.25, 0.75, 0, 0}, p[4] = {2, 1, 0, 0}, v[4], vinv[4];
    double r[4] = {3.0, 0.4, 1.1, -2.2};
    const double boosted[4] = {3.25, 2.75, 0, 0}, orig[4] = {3.0, 0.4, 1.1, -2.2};
    onShell(1, 0.3, -1.2, 0.5, v);
    onShell(1, -0.3, 1.2, -0.5, vinv);
    Misc::lorentz(u, p, p);
    Misc::lorentz(v, r, r);
    Misc::lorentz(vinv, r, r);
    for (int mu = 0; mu < 4; ++mu) {
        EXPECT_NEAR(p[mu], boosted[mu], 1e-14);
        EXPECT_NEAR(r[mu], orig[mu], 1e-12);
    }
}

TEST(Kinematics, PairVariablesByInvariance)
{
    // A boost along z of rapidity Y shifts each rapidity by Y and keeps their difference.
    double p[4], q[4], pb[4], qb[4], z[4] = {std::cosh(0.8), 0, 0, std::sinh(0.8)};
    onShell(0.5, 0.3, -0.2, 0.7, p);
    onShell(0.2, -0.1, 0.4, -1.3, q);
    Misc::lorentz(z, p, pb);
    Misc::lorentz(z, q, qb);
    EXPECT_NEAR(Misc::GetRapidity(p), std::atanh(p[3] / p[0]), 1e-14);
    EXPECT_NEAR(Misc::GetRapidity(pb), Misc::GetRapidity(p) + 0.8, 1e-13);
    EXPECT_NEAR(Misc::GetDely(pb, qb), Misc::GetDely(p, q), 1e-13);

    // Equal masses back to back with momentum k in the pair frame, seen from a general
    // frame: Qinv = 2k, and out, side, long recombine to |q| = k in the pair rest frame.
    const double k = 0.075;
    double a[4], b[4], u[4], first = 12345.0, out, side, lng;
    onShell(1, 0.4, -0.3, 1.1, u);
    onShell(0.1396, k * 0.6, 0.0, k * 0.8, a);
    onShell(0.1396, -k * 0.6, 0.0, -k * 0.8, b);
    Misc::lorentz(u, a, a);
    Misc::lorentz(u, b, b);
    EXPECT_NEAR(Misc::GetQinv(a, b), 2 * k, 1e-12);
    Misc::outsidelong(a, b, first, out, side, lng);
    EXPECT_NEAR(std::sqrt(out * out + side * side + lng * lng), k, 1e-12);
    EXPECT_EQ(first, 12345.0); // the first output is left alone
    // Transverse boost of beta 0.4 stretches out = 2 by gamma; long is the z difference.
    double p1[4] = {5, 4, 0, 1}, p2[4] = {5, 0, 0, -1};
    Misc::outsidelong(p1, p2, first, out, side, lng);
    EXPECT_NEAR(out, 2.0 / std::sqrt(1 - 0.16), 1e-12);
    EXPECT_NEAR(side, 0.0, 1e-15);
    EXPECT_NEAR(lng, 1.0, 1e-12);
}

TEST(KinematicsDeathTest, UnphysicalInputStops)
{
    double p1[4] = {5, 0, 0, 0}, p2[4] = {3, 1, 0, 0};
    EXPECT_EXIT((test::stdoutToStderr(), Misc::triangle(10, 6, 4.5)), testing::ExitedWithCode(1),
                "^Disaster with triangle\n$");
    EXPECT_EXIT((test::stdoutToStderr(), Misc::GetQinv(p1, p2)), testing::ExitedWithCode(1),
                "^DISASTER with GetQinv, wrong sign, = -3\n$");
    // K-p back to back in their rest frame: the difference (E_p - E_K, 2q) is time-like below
    // q = 212.3 MeV/c, where sqrt(m_p^2 + q^2) - sqrt(m_K^2 + q^2) = 2q.
    double kaon[4], proton[4];
    onShell(493.677, 0, 0, 215.0, kaon);
    onShell(938.28, 0, 0, -215.0, proton);
    const double dE = proton[0] - kaon[0];
    EXPECT_NEAR(Misc::GetQinv(kaon, proton), std::sqrt(4 * 215.0 * 215.0 - dE * dE), 1e-9);
    onShell(493.677, 0, 0, 210.0, kaon);
    onShell(938.28, 0, 0, -210.0, proton);
    EXPECT_EXIT((test::stdoutToStderr(), Misc::GetQinv(kaon, proton)), testing::ExitedWithCode(1),
                "^DISASTER with GetQinv, wrong sign, = -");
}

} // namespace
