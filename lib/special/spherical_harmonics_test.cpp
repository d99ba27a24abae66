#include <twobody/spherical_harmonics.h>
#include "internal/constants.h"

#include <gsl/gsl_integration.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

constexpr double pi = twobody_detail::kPi;
using cplx = std::complex<double>;

TEST(SphericalHarmonics, ValuesAndNegativeOrders)
{
    const struct {
        int l, m;
        double t, p;
        cplx y;
    } cases[] = {
        // Closed forms: Y_00 = 1/(2 sqrt(pi)), Y_10 = sqrt(3/(4 pi)) cos(theta),
        // Y_11 = -sqrt(3/(8 pi)) sin(theta) e^(i phi), Y_21 = -sqrt(15/(8 pi)) sin cos e^(i phi);
        // each also checked with mpmath.spherharm.
        {0, 0, 1.3, -2.0, {0.28209479177387814, 0}},
        {1, 0, 0.0, 0.7, {0.4886025119029199, 0}},
        {1, 1, pi / 2, 0.0, {-0.3454941494713355, 0}},
        {1, -1, pi / 2, 0.0, {0.3454941494713355, 0}},
        {2, -1, pi / 4, pi / 3, {0.19313710101159484, -0.33452327177864455}},
        {2, 1, pi / 4, pi / 3, {-0.19313710101159484, -0.33452327177864455}},
        // theta < 0: sin(theta) keeps its sign, as at the direction (0.5, pi).
        {1, 1, -0.5, 0.0, {0.16563871869489603, 0}},
    };
    for (const auto& c : cases)
        EXPECT_LT(std::abs(SpherHarmonics::Ylm(c.l, c.m, c.t, c.p) - c.y), 1e-15) << c.l << c.m;
    // Near both poles the factor sin^m(theta) comes from theta, not from 1 - cos^2(theta).
    for (const double t : {1e-9, pi - 1e-7, -2e-8}) {
        const cplx y11 = -std::sqrt(3 / (8 * pi)) * std::sin(t) * std::polar(1.0, 0.3);
        EXPECT_LT(std::abs(SpherHarmonics::Ylm(1, 1, t, 0.3) - y11), 1e-15 * std::abs(y11)) << t;
    }
    // Y_l,-m = (-1)^m conj(Y_lm); exactly so for even m.
    for (int l = 1; l <= 6; ++l)
        for (int m = 1; m <= l; ++m) {
            const cplx d = SpherHarmonics::Ylm(l, -m, 0.8, 2.2) -
                           (m % 2 ? -1.0 : 1.0) * std::conj(SpherHarmonics::Ylm(l, m, 0.8, 2.2));
            EXPECT_LE(std::abs(d), m % 2 ? 1e-15 : 0.0) << l << " " << m;
        }
}

TEST(SphericalHarmonics, OrthonormalOverTheSphere)
{
    // Gauss-Legendre in cos(theta) and a uniform rule in phi are exact for l, l' <= 4;
    // a = l (l + 1) + m runs over every (l, m).
    const int nu = 12, nphi = 16;
    gsl_integration_glfixed_table* table = gsl_integration_glfixed_table_alloc(nu);
    for (int a = 0; a < 25; ++a)
        for (int b = 0; b < 25; ++b) {
            const int la = int(std::sqrt(a)), lb = int(std::sqrt(b));
            cplx sum = 0.0;
            for (int i = 0; i < nu * nphi; ++i) {
                double u, w;
                gsl_integration_glfixed_point(-1.0, 1.0, i / nphi, &u, &w, table);
                const double t = std::acos(u), p = 2 * pi * (i % nphi) / nphi;
                sum += w * 2 * pi / nphi *
                       std::conj(SpherHarmonics::Ylm(la, a - la * (la + 1), t, p)) *
                       SpherHarmonics::Ylm(lb, b - lb * (lb + 1), t, p);
            }
            EXPECT_LT(std::abs(sum - (a == b ? 1.0 : 0.0)), 1e-14) << a << " " << b;
        }
    gsl_integration_glfixed_table_free(table);
}

} // namespace
