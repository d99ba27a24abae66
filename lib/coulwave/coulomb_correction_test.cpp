#include "coulomb_correction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

const double pi = 3.141592653589793;

struct Result {
    double delta, ddeltadq;
};

Result correct(int l, double q, double eta, double delta, double ddeltadq)
{
    CoulWave::phaseshift_CoulombCorrect(l, q, eta, delta, ddeltadq);
    return {delta, ddeltadq};
}

// Relative agreement to the 9 significant digits the reference values carry.
void expectDigits(double got, double want)
{
    EXPECT_NEAR(got, want, 6e-9 * std::fabs(want) + 1e-15);
}

TEST(CoulombCorrect, WorkedValues)
{
    struct {
        int l;
        double eta, delta, d, wantDelta, wantD;
    } cases[] = {
        {0, 0.1, 0.0, 0.01, 0.0, 0.00718524966},
        {0, 0.1, 0.5, 0.01, 0.374051895, 0.00926376051},
        {1, 0.1, 0.5, 0.01, 0.377448598, 0.009263514},
        {0, 0.1, 2.5, 0.01, 2.64897583, 0.00724570262},
        {0, 0.1, -2.5, 0.01, -2.64897583, 0.0101363006},
        {0, -0.1, 0.5, 0.01, 0.634340586, 0.0100020842},
    };
    for (const auto& c : cases) {
        const Result r = correct(c.l, 100.0, c.eta, c.delta, c.d);
        expectDigits(r.delta, c.wantDelta);
        expectDigits(r.ddeltadq, c.wantD);
    }
    EXPECT_NEAR(correct(2, 100.0, 0.1, 0.5, 0.01).delta, 1.00931689, 6e-9);
    EXPECT_EQ(correct(0, 100.0, 0.1, pi, 0.01).delta, pi); // not -pi
    EXPECT_NEAR(correct(0, 100.0, 0.1, 3 * pi / 2, 0.01).delta, -pi / 2, 1e-15);
}

TEST(CoulombCorrect, GuardAndNegativeOrderLeaveValuesAlone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double eta : {0.0, -0.0, 1e-10, -1e-10, nan}) {
        const Result r = correct(0, 100.0, eta, 0.5, 0.01);
        EXPECT_EQ(r.delta, 0.5);
        EXPECT_EQ(r.ddeltadq, 0.01);
    }
    const Result r = correct(-1, 100.0, 0.1, 0.5, 0.01);
    EXPECT_EQ(r.delta, 0.5);
    EXPECT_EQ(r.ddeltadq, 0.01);
}

// C_l from the closed form, written independently (expm1, 1 + eta^2/k^2 folded back).
double coulombFactor(int l, double eta)
{
    const double x = 2 * pi * eta;
    double c = x / std::expm1(x);
    for (int k = 1; k <= l; ++k)
        c *= k * k * (1 + eta * eta / (k * k));
    return c;
}

TEST(CoulombCorrect, TangentRescaledWithinTheQuadrant)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> angle(-3 * pi, 3 * pi), eta(-2.0, 5.0);
    for (int i = 0; i < 2000; ++i) {
        const int l = i % 5;
        const double e = eta(gen), d = angle(gen);
        const Result r = correct(l, 50.0, e, d, 0.0);
        // tan(delta_new) = C_l tan(delta) in delta's own quadrant (C_l > 0): the angle of
        // the point (cos delta, C_l sin delta).
        const double want = std::atan2(coulombFactor(l, e) * std::sin(d), std::cos(d));
        EXPECT_NEAR(std::remainder(r.delta - want, 2 * pi), 0.0, 1e-12) << l << " " << e;
        EXPECT_GT(r.delta, -pi);
        EXPECT_LE(r.delta, pi);
    }
}

TEST(CoulombCorrect, DerivativeMatchesFiniteDifference)
{
    // eta = a / q and delta linear in q: the returned derivative is d(delta_new)/dq.
    for (int l : {0, 1, 2, 3})
        for (double a : {12.0, -8.0})
            for (double q : {20.0, 150.0}) {
                const double slope = 0.004, h = 1e-3;
                auto deltaNew = [&](double qq) {
                    return correct(l, qq, a / qq, 0.3 + slope * qq, slope).delta;
                };
                const Result r = correct(l, q, a / q, 0.3 + slope * q, slope);
                const double fd = (deltaNew(q + h) - deltaNew(q - h)) / (2 * h);
                EXPECT_NEAR(r.ddeltadq, fd, 1e-7 * std::fabs(fd) + 1e-11) << l << " " << a;
            }
}

// The correction with its scratch arrays C[0..l] and Cp[0..l], step by step.
Result withArrays(int l, double q, double eta, double delta, double ddeltadq)
{
    std::vector<double> C(l + 1), Cp(l + 1);
    const double x = (pi + pi) * eta;
    C[0] = x / (std::exp(x) - 1.0);
    Cp[0] = (C[0] / q) * (C[0] * std::exp(x) - 1.0);
    for (int k = 0; k < l; ++k) {
        const double f = (k + 1) * (k + 1) + eta * eta;
        C[k + 1] = C[k] * f;
        Cp[k + 1] = Cp[k] * f + ((eta * -2.0) * eta / q) * C[k];
    }
    const double t = std::tan(delta), D = ddeltadq * (t * t + 1.0), T = C[l] * t;
    double dn = std::cos(delta) > 0.0 ? std::atan(T) : std::atan(T) + pi;
    if (dn > pi)
        dn = dn + pi * (-2.0);
    return {dn, (C[l] * D + Cp[l] * t) / (T * T + 1.0)};
}

TEST(CoulombCorrect, BitForBitWithScratchArraysAndFiniteAboveOverflow)
{
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> angle(-4.0, 4.0), eta(-50.0, 112.9), q(0.5, 350.0);
    for (int i = 0; i < 5000; ++i) {
        const int l = i % 9;
        const double e = eta(gen), d = angle(gen), qq = q(gen), dd = 0.01 * angle(gen);
        const Result a = correct(l, qq, e, d, dd), b = withArrays(l, qq, e, d, dd);
        ASSERT_EQ(a.delta, b.delta);
        ASSERT_EQ(a.ddeltadq, b.ddeltadq);
    }
    // exp(2 pi eta) overflows beyond eta ~ 112.97: the limit C_l = C_l' = 0.
    for (double e : {113.0, 1e3, std::numeric_limits<double>::infinity()})
        for (int l : {0, 1, 4}) {
            Result r = correct(l, 100.0, e, 0.5, 0.01);
            EXPECT_EQ(r.delta, 0.0);
            EXPECT_EQ(r.ddeltadq, 0.0);
            r = correct(l, 100.0, e, 2.5, 0.01);
            EXPECT_EQ(r.delta, pi);
            EXPECT_EQ(r.ddeltadq, 0.0);
        }
    EXPECT_NEAR(correct(0, 100.0, 112.9, 0.5, 0.01).ddeltadq, 0.0, 1e-290);
}

} // namespace
