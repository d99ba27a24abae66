#include "kinematics.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double minkowski(const double* a, const double* b)
{
    return a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3];
}

// Four-vector of a particle of mass m and three-momentum (px, py, pz).
void onShell(double m, double px, double py, double pz, double* p)
{
    p[0] = std::sqrt(m * m + px * px + py * py + pz * pz);
    p[1] = px;
    p[2] = py;
    p[3] = pz;
}

TEST(Triangle, MomentumOfTwoBodyDecay)
{
    EXPECT_NEAR(Misc::triangle(10, 6, 0), 10.24, 1e-12);
    EXPECT_NEAR(Misc::triangle(1431.957, 938.28, 493.677), 0.0, 1e-6);
    // Energy-momentum identity: m0 = E1(p) + E2(p) must give back p^2.
    const double masses[][2] = {{938.28, 493.677}, {139.57, 139.57}, {0.511, 0.0}};
    for (const auto& m : masses)
        for (double p : {0.1, 7.0, 350.0, 5000.0}) {
            const double m0 = std::hypot(m[0], p) + std::hypot(m[1], p);
            EXPECT_NEAR(Misc::triangle(m0, m[0], m[1]), p * p, 1e-9 * p * p + 1e-9);
        }
}

TEST(TriangleDeathTest, BelowThresholdStops)
{
    EXPECT_EXIT((stdoutToStderr(), Misc::triangle(10, 6, 4.5)), testing::ExitedWithCode(1),
                "^Disaster with triangle\n$");
}

TEST(Rapidity, AdditiveUnderLongitudinalBoosts)
{
    double p[4], q[4];
    onShell(1.0, 0.3, -0.2, 0.0, p);
    EXPECT_EQ(Misc::GetRapidity(p), 0.0);
    onShell(0.5, 0.3, -0.2, 0.7, p);
    onShell(0.2, -0.1, 0.4, -1.3, q);
    EXPECT_NEAR(Misc::GetRapidity(p), std::atanh(p[3] / p[0]), 1e-14);
    EXPECT_EQ(Misc::GetDely(p, q), -Misc::GetDely(q, p));
    // A boost along z of rapidity Y shifts every rapidity by Y and keeps their difference.
    const double Y = 0.8;
    double u[4] = {std::cosh(Y), 0.0, 0.0, std::sinh(Y)}, pb[4], qb[4];
    Misc::lorentz(u, p, pb);
    Misc::lorentz(u, q, qb);
    EXPECT_NEAR(Misc::GetRapidity(pb), Misc::GetRapidity(p) + Y, 1e-13);
    EXPECT_NEAR(Misc::GetDely(pb, qb), Misc::GetDely(p, q), 1e-13);
}

TEST(Qinv, RelativeMomentumInPairFrame)
{
    double p[4];
    onShell(0.14, 0.2, 0.1, -0.3, p);
    EXPECT_EQ(Misc::GetQinv(p, p), 0.0);
    // Equal masses back to back with momentum k in the pair frame: Qinv = 2k in any frame.
    const double k = 0.075;
    double a[4], b[4], u[4] = {0, 0.4, -0.3, 1.1};
    u[0] = std::sqrt(1 + u[1] * u[1] + u[2] * u[2] + u[3] * u[3]);
    onShell(0.1396, k * 0.6, 0.0, k * 0.8, a);
    onShell(0.1396, -k * 0.6, 0.0, -k * 0.8, b);
    Misc::lorentz(u, a, a);
    Misc::lorentz(u, b, b);
    EXPECT_NEAR(Misc::GetQinv(a, b), 2 * k, 1e-12);
}

TEST(QinvDeathTest, TimeLikeDifferenceStops)
{
    double p1[4] = {5, 0, 0, 0}, p2[4] = {3, 1, 0, 0};
    EXPECT_EXIT((stdoutToStderr(), Misc::GetQinv(p1, p2)), testing::ExitedWithCode(1),
                "^DISASTER with GetQinv, wrong sign, = -3\n$");
}

TEST(Lorentz, BoostProperties)
{
    double n[4] = {1, 0, 0, 0};
    double p[4] = {2, 1, 0, 0}, out[4];
    double u[4] = {1.25, 0.75, 0, 0};
    Misc::lorentz(u, p, out);
    const double expected[4] = {3.25, 2.75, 0, 0};
    for (int mu = 0; mu < 4; ++mu)
        EXPECT_NEAR(out[mu], expected[mu], 1e-14);
    Misc::lorentz(u, n, out);
    for (int mu = 0; mu < 4; ++mu)
        EXPECT_NEAR(out[mu], u[mu], 1e-14);
    Misc::lorentz(n, p, out);
    for (int mu = 0; mu < 4; ++mu)
        EXPECT_EQ(out[mu], p[mu]);

    // Round trip through a general boost and its inverse, in place; the norm is kept.
    double v[4] = {0, 0.3, -1.2, 0.5};
    v[0] = std::sqrt(1 + v[1] * v[1] + v[2] * v[2] + v[3] * v[3]);
    double vinv[4] = {v[0], -v[1], -v[2], -v[3]};
    double r[4] = {3.0, 0.4, 1.1, -2.2}, orig[4];
    std::copy(r, r + 4, orig);
    Misc::lorentz(v, r, r);
    EXPECT_NEAR(minkowski(r, r), minkowski(orig, orig), 1e-12);
    Misc::lorentz(vinv, r, r);
    for (int mu = 0; mu < 4; ++mu)
        EXPECT_NEAR(r[mu], orig[mu], 1e-12);
}

TEST(OutSideLong, ComponentsAndSymmetries)
{
    const double sentinel = 12345.0;
    double first = sentinel, out, side, lng;
    double p1[4] = {5, 4, 0, 0}, p2[4] = {5, 0, 0, 0};
    Misc::outsidelong(p1, p2, first, out, side, lng);
    EXPECT_EQ(first, sentinel);
    EXPECT_NEAR(out, 2.0 / std::sqrt(1 - 0.16), 1e-12);
    EXPECT_NEAR(side, 0.0, 1e-15);
    EXPECT_NEAR(lng, 0.0, 1e-15);

    double p3[4] = {5, 4, 0, 1}, p4[4] = {5, 0, 0, -1};
    Misc::outsidelong(p3, p4, first, out, side, lng);
    EXPECT_NEAR(out, 2.0 / std::sqrt(1 - 0.16), 1e-12);
    EXPECT_NEAR(lng, 1.0, 1e-12);

    // A general pair: rotating both about z changes nothing, and side is signed: here q is
    // turned clockwise from P_T, so side is negative.
    double a[4], b[4];
    onShell(0.94, 0.5, 0.2, 0.3, a);
    onShell(0.49, 0.1, 0.4, -0.6, b);
    double o0, s0, l0;
    Misc::outsidelong(a, b, first, o0, s0, l0);
    EXPECT_LT(s0, 0.0);
    for (double phi : {0.7, 2.5, -1.9}) {
        const double c = std::cos(phi), s = std::sin(phi);
        double ar[4] = {a[0], c * a[1] - s * a[2], s * a[1] + c * a[2], a[3]};
        double br[4] = {b[0], c * b[1] - s * b[2], s * b[1] + c * b[2], b[3]};
        Misc::outsidelong(ar, br, first, out, side, lng);
        EXPECT_NEAR(out, o0, 1e-12);
        EXPECT_NEAR(side, s0, 1e-12);
        EXPECT_NEAR(lng, l0, 1e-12);
    }
    // Out, side and long of the pair-frame relative momentum rebuild Qinv^2 / 4 for an
    // equal-mass pair (q.P = 0 makes q0 vanish in the pair rest frame).
    double c[4], d[4];
    onShell(0.1396, 0.3, 0.1, 0.2, c);
    onShell(0.1396, 0.1, 0.25, -0.1, d);
    Misc::outsidelong(c, d, first, out, side, lng);
    const double qinv = Misc::GetQinv(c, d);
    EXPECT_NEAR(out * out + side * side + lng * lng, qinv * qinv / 4, 1e-12);
}

} // namespace
