#include <twobody/coulomb_correction.h>
#include <twobody/coulomb_wave.h>
#include "internal/constants.h"
#include "test_support.h"

#include <gsl/gsl_sf_coulomb.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr double pi = twobody_detail::kPi;
constexpr double nan = twobody_detail::kNaN;

// Returns (delta_new, ddeltadq_new).
std::pair<double, double> correct(int l, double q, double eta, double delta, double dd)
{
    CoulWave::phaseshift_CoulombCorrect(l, q, eta, delta, dd);
    return {delta, dd};
}

TEST(CoulombCorrect, WorkedValuesGuardAndNegativeOrder)
{
    // l, eta, delta, delta_new, delta'_new at q = 100, delta' = 0.01: the closed form of C_l,
    // atan and a numerical q-derivative in mpmath at 30 digits, rounded to 9 digits.
    const double cases[][5] = {
        {0, 0.1, 0.0, 0.0, 0.00718524966},         {0, 0.1, 0.5, 0.374051895, 0.00926376051},
        {1, 0.1, 0.5, 0.377448598, 0.009263514},   {2, 0.1, 0.5, 1.00931689, 0.0121634969},
        {0, 0.1, 2.5, 2.64897583, 0.00724570262},  {0, 0.1, -2.5, -2.64897583, 0.0101363006},
        {0, -0.1, 0.5, 0.634340586, 0.0100020842},
    };
    for (const auto& c : cases) {
        const auto [d, dd] = correct(static_cast<int>(c[0]), 100.0, c[1], c[2], 0.01);
        EXPECT_NEAR(d, c[3], 6e-9 * std::fabs(c[3]) + 1e-15) << c[0] << " " << c[2];
        EXPECT_NEAR(dd, c[4], 6e-9 * std::fabs(dd)) << c[0] << " " << c[2];
    }
    EXPECT_EQ(correct(0, 100.0, 0.1, pi, 0.01).first, pi); // not -pi
    EXPECT_NEAR(correct(0, 100.0, 0.1, 3 * pi / 2, 0.01).first, -pi / 2, 1e-15);
    // No correction for a vanishing or NaN eta, nor for a negative l.
    for (auto [l, eta] : {std::pair{0, 0.0}, {0, 1e-10}, {0, -1e-10}, {0, nan}, {-1, 0.1}})
        EXPECT_EQ(correct(l, 100.0, eta, 0.5, 0.01), std::pair(0.5, 0.01)) << l << " " << eta;
    EXPECT_NE(correct(0, 100.0, 2e-10, 0.5, 0.01).first, 0.5); // just past the guard
}

TEST(CoulombCorrect, DerivativeMatchesFiniteDifference)
{
    // eta = a / q and delta linear in q: the returned derivative is d(delta_new)/dq.
    const double slope = 0.004, h = 1e-3;
    for (int l : {0, 1, 2, 3})
        for (double a : {12.0, -8.0})
            for (double q : {20.0, 150.0}) {
                auto at = [&](double x) { return correct(l, x, a / x, 0.3 + slope * x, slope); };
                const double fd = (at(q + h).first - at(q - h).first) / (2 * h);
                EXPECT_NEAR(at(q).second, fd, 1e-7 * std::fabs(fd) + 1e-11) << l << " " << a;
            }
}

// A regression lock: it pins the prescribed arithmetic (the scratch arrays C[0..l], Cp[0..l]
// filled step by step), bit for bit. It says nothing about whether the values are right;
// the identity test below and the accuracy test against mpmath do.
TEST(CoulombCorrect, SameBitsAsScratchArraysAndLimitAboveOverflow)
{
    std::mt19937 gen(11);
    auto u = [&] { return std::uniform_real_distribution<double>(0.0, 1.0)(gen); };
    for (int i = 0; i < 5000; ++i) {
        // Reference: the scratch arrays C[0..l], Cp[0..l], built step by step.
        const int l = i % 9;
        const double eta = -50 + 162.9 * u(), d = 8 * u() - 4, q = 0.5 + 350 * u(),
                     dd = 0.08 * u() - 0.04, x = (pi + pi) * eta;
        std::vector<double> C(l + 1), Cp(l + 1);
        C[0] = x / (std::exp(x) - 1.0);
        Cp[0] = (C[0] / q) * (C[0] * std::exp(x) - 1.0);
        for (int k = 0; k < l; ++k) {
            const double f = (k + 1) * (k + 1) + eta * eta;
            C[k + 1] = C[k] * f;
            Cp[k + 1] = Cp[k] * f + ((eta * -2.0) * eta / q) * C[k];
        }
        const double t = std::tan(d), T = C[l] * t;
        double dn = std::cos(d) > 0.0 ? std::atan(T) : std::atan(T) + pi;
        dn = dn > pi ? dn + pi * (-2.0) : dn;
        const double ddn = (C[l] * (dd * (t * t + 1.0)) + Cp[l] * t) / (T * T + 1.0);
        ASSERT_EQ(correct(l, q, eta, d, dd), std::pair(dn, ddn)) << l << " " << eta;
    }
    // exp(2 pi eta) overflows beyond eta ~ 112.97: the limit C_l = C_l' = 0, in the quadrant.
    for (double eta : {113.0, 1e3, std::numeric_limits<double>::infinity()})
        for (int l : {0, 1, 4})
            for (auto [d, want] : {std::pair{0.5, 0.0}, {2.5, pi}})
                EXPECT_EQ(correct(l, 100.0, eta, d, 0.01), std::pair(want, 0.0)) << eta << " " << l;
    EXPECT_NEAR(correct(0, 100.0, 112.9, 0.5, 0.01).second, 0.0, 1e-290); // the limit is continuous
}

TEST(CoulombCorrect, FactorIsGammaIdentityAndNormalisationSquared)
{
    // delta = 0, delta' = 1 hands back C_l as the new derivative. Independently,
    // C_l = e^(-pi eta) |Gamma(l + 1 + i eta)|^2 (DLMF 5.4.3, 5.5.1), and with the
    // normalisation of DLMF 33.2.5, C_l = [(2l+1)! / 2^l]^2 C_l^DLMF(eta)^2.
    for (int l = 0; l <= 10; ++l)
        for (double eta : {-3.0, -0.5, 0.01, 0.3, 2.0, 10.0}) {
            const double cl = correct(l, 50.0, eta, 0.0, 1.0).second;
            const double g = std::abs(CoulWave::cgamma({l + 1.0, eta}));
            test::expectRel(cl / (std::exp(-pi * eta) * g * g), 1.0, test::kTol4);
            gsl_sf_result dlmf;
            gsl_sf_coulomb_CL_e(l, eta, &dlmf);
            double norm = 1.0; // (2l+1)! / 2^l
            for (int k = 1; k <= 2 * l + 1; ++k)
                norm *= k;
            norm = std::ldexp(norm, -l);
            test::expectRel(cl / (norm * norm * dlmf.val * dlmf.val), 1.0, test::kTol4);
        }
}

} // namespace
