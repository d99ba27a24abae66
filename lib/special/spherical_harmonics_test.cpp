#include "spherical_harmonics.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_integration.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace {

constexpr double pi = 3.141592653589793;
using cplx = std::complex<double>;

void expectNear(cplx got, cplx want, double tol)
{
    EXPECT_NEAR(got.real(), want.real(), tol);
    EXPECT_NEAR(got.imag(), want.imag(), tol);
}

} // namespace

TEST(Legendre, ThreeTermRecurrence)
{
    // (l + 1) P_(l+1) = (2l + 1) x P_l - l P_(l-1), from P_0 = 1 and P_1 = x
    for (int i = 0; i <= 20; ++i) {
        const double x = -1.0 + 0.1 * i;
        double prev = 1.0, cur = x;
        EXPECT_EQ(SpherHarmonics::legendre(0, x), 1.0);
        for (int l = 1; l <= 30; ++l) {
            EXPECT_NEAR(SpherHarmonics::legendre(l, x), cur, 1e-14) << l << " " << x;
            const double next = ((2 * l + 1) * x * cur - l * prev) / (l + 1);
            prev = cur;
            cur = next;
        }
    }
    EXPECT_NEAR(SpherHarmonics::legendre(2, 0.5), -0.125, 1e-16);
}

TEST(SphericalHarmonics, ValuesAndConjugation)
{
    const struct {
        int l, m;
        double t, p;
        cplx y;
    } cases[] = {
        {0, 0, 1.3, -2.0, {0.28209479177387814, 0}},
        {1, 0, 0.0, 0.7, {0.4886025119029199, 0}},
        {1, 1, pi / 2, 0.0, {-0.3454941494713355, 0}},
        {1, -1, pi / 2, 0.0, {0.3454941494713355, 0}},
        {2, -1, pi / 4, pi / 3, {0.19313710101159484, -0.33452327177864455}},
        {2, 1, pi / 4, pi / 3, {-0.19313710101159484, -0.33452327177864455}},
        // sqrt(15/(32 pi)) sin^2(theta) e^(2 i phi), at sin^2 = 1/2 and 2 phi = pi/2
        {2, 2, pi / 4, pi / 4, {0, std::sqrt(15.0 / (32 * pi)) / 2}},
    };
    for (const auto& c : cases)
        expectNear(SpherHarmonics::Ylm(c.l, c.m, c.t, c.p), c.y, 1e-15);
    // Y_l,-m = (-1)^m conj(Y_lm); exactly so for even m.
    for (int l = 1; l <= 6; ++l)
        for (int m = 1; m <= l; ++m) {
            const cplx y = SpherHarmonics::Ylm(l, m, 0.8, 2.2);
            if (m % 2 == 0)
                EXPECT_EQ(SpherHarmonics::Ylm(l, -m, 0.8, 2.2), std::conj(y));
            else
                expectNear(SpherHarmonics::Ylm(l, -m, 0.8, 2.2), -std::conj(y), 1e-15);
        }
}

TEST(SphericalHarmonics, OrthonormalOverTheSphere)
{
    // Gauss-Legendre in cos(theta) and a uniform rule in phi are exact for l, l' <= 4.
    const int nu = 12, nphi = 16;
    gsl_integration_glfixed_table* table = gsl_integration_glfixed_table_alloc(nu);
    std::vector<double> theta(nu), weight(nu);
    for (int i = 0; i < nu; ++i) {
        double u, w;
        gsl_integration_glfixed_point(-1.0, 1.0, i, &u, &w, table);
        theta[i] = std::acos(u);
        weight[i] = w * 2 * pi / nphi;
    }
    gsl_integration_glfixed_table_free(table);

    std::vector<std::vector<cplx>> y; // y[(l, m)][node]
    for (int l = 0; l <= 4; ++l)
        for (int m = -l; m <= l; ++m) {
            y.emplace_back();
            for (int i = 0; i < nu * nphi; ++i)
                y.back().push_back(
                    SpherHarmonics::Ylm(l, m, theta[i / nphi], 2 * pi * (i % nphi) / nphi));
        }
    for (size_t a = 0; a < y.size(); ++a)
        for (size_t b = 0; b < y.size(); ++b) {
            cplx sum = 0.0;
            for (int i = 0; i < nu * nphi; ++i)
                sum += weight[i / nphi] * std::conj(y[a][i]) * y[b][i];
            expectNear(sum, a == b ? 1.0 : 0.0, 1e-14);
        }
}

TEST(SphericalHarmonics, AdditionTheorem)
{
    // sum_m Y_lm(1) conj(Y_lm(2)) = (2l + 1)/(4 pi) P_l(cos gamma), gamma the angle between
    const double t1 = 0.7, p1 = -1.2, t2 = 2.3, p2 = 0.4;
    const double cosg =
        std::cos(t1) * std::cos(t2) + std::sin(t1) * std::sin(t2) * std::cos(p1 - p2);
    for (int l = 0; l <= 12; ++l) {
        cplx sum = 0.0;
        for (int m = -l; m <= l; ++m)
            sum += SpherHarmonics::Ylm(l, m, t1, p1) * std::conj(SpherHarmonics::Ylm(l, m, t2, p2));
        expectNear(sum, (2 * l + 1) / (4 * pi) * SpherHarmonics::legendre(l, cosg), 1e-13);
    }
}

TEST(SphericalHarmonicsErrors, GslHandlerDecides)
{
    EXPECT_DEATH(SpherHarmonics::Ylm(1, 2, 0.3, 0.0), "domain error"); // default handler aborts
    gsl_error_handler_t* previous = gsl_set_error_handler_off();
    const cplx y = SpherHarmonics::Ylm(1, -2, 0.3, 0.5);
    EXPECT_TRUE(std::isnan(y.real()) && std::isnan(y.imag()));
    EXPECT_TRUE(std::isnan(SpherHarmonics::legendre(2, 1.5)));
    EXPECT_TRUE(std::isnan(SpherHarmonics::legendre(-1, 0.5)));
    gsl_set_error_handler(previous);
}
