#include "bessel.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_bessel.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

namespace {

constexpr double pi = 3.141592653589793;
using cplx = std::complex<double>;

// Bessel's integral J_n(x) = (1/pi) int_0^pi cos(n t - x sin t) dt; for this even periodic
// integrand the trapezoid rule converges geometrically.
double integralJ(int n, double x)
{
    double sum = 0.5 * (1.0 + std::cos(n * pi));
    for (int k = 1; k < 400; ++k)
        sum += std::cos(n * pi * k / 400 - x * std::sin(pi * k / 400));
    return sum / 400;
}

// K_n(x) = int_0^inf exp(-x cosh t) cosh(n t) dt, trapezoid rule as above.
double integralK(int n, double x)
{
    double sum = 0.5 * std::exp(-x);
    for (double t = 0.02; x * std::cosh(t) < 750.0; t += 0.02)
        sum += std::exp(-x * std::cosh(t)) * std::cosh(n * t);
    return 0.02 * sum;
}

// h_l(x) = j_l + i y_l = (-i)^(l+1) e^(ix)/x sum_k i^k (l+k)! / (k! (l-k)! (2x)^k)
cplx closedH(int l, double x)
{
    cplx sum = 0.0, ik = 1.0;
    double coef = 1.0;
    for (int k = 0; k <= l; ++k, ik *= cplx(0, 1)) {
        sum += ik * coef;
        coef *= (l + k + 1.0) * (l - k) / ((k + 1.0) * 2.0 * x);
    }
    return std::pow(cplx(0, -1), l + 1) * std::exp(cplx(0, x)) / x * sum;
}

} // namespace

TEST(BesselCylindrical, IntegralsWronskianAndIEqualsK)
{
    for (double x : {0.5, 1.0, 3.0, 10.0, 25.0}) {
        EXPECT_NEAR(Bessel::J0(x), integralJ(0, x), 1e-14) << x;
        EXPECT_NEAR(Bessel::J1(x), integralJ(1, x), 1e-14) << x;
        for (int n : {-3, 2, 5, 12})
            EXPECT_NEAR(Bessel::Jn(n, x), integralJ(n, x), 1e-14) << n << " " << x;
        // J_(n+1) Y_n - J_n Y_(n+1) = 2 / (pi x)
        const double w = 2.0 / (pi * x);
        EXPECT_NEAR(Bessel::J1(x) * Bessel::Y0(x) - Bessel::J0(x) * Bessel::Y1(x), w, 1e-14 * w);
        for (int n : {-4, 1, 2, 9})
            EXPECT_NEAR(Bessel::Jn(n + 1, x) * Bessel::Yn(n, x) -
                            Bessel::Jn(n, x) * Bessel::Yn(n + 1, x),
                        w, 1e-12 * w)
                << n << " " << x;
        const double k[] = {integralK(0, x), integralK(1, x), integralK(-2, x), integralK(6, x)};
        EXPECT_NEAR(Bessel::K0(x), k[0], 1e-13 * k[0]) << x;
        EXPECT_NEAR(Bessel::K1(x), k[1], 1e-13 * k[1]) << x;
        EXPECT_NEAR(Bessel::Kn(-2, x), k[2], 1e-13 * k[2]) << x;
        EXPECT_NEAR(Bessel::Kn(6, x), k[3], 1e-13 * k[3]) << x;
        EXPECT_EQ(Bessel::I0(x), Bessel::K0(x));
        EXPECT_EQ(Bessel::I1(x), Bessel::K1(x));
        for (int n : {-2, 0, 1, 4})
            EXPECT_EQ(Bessel::In(n, x), Bessel::Kn(n, x));
    }
}

TEST(BesselSpherical, ClosedFormsAndHankelConjugates)
{
    for (double x : {1.0, 3.5, 12.0, 50.0}) {
        const cplx c0 = closedH(0, x), c1 = closedH(1, x);
        EXPECT_NEAR(std::abs(Bessel::h0(x) - c0), 0.0, 1e-15 * std::abs(c0)) << x;
        EXPECT_NEAR(std::abs(Bessel::h1(x) - c1), 0.0, 1e-15 * std::abs(c1)) << x;
        EXPECT_NEAR(std::abs(Bessel::hstar0(x) - std::conj(c0)), 0.0, 1e-15 * std::abs(c0)) << x;
        EXPECT_NEAR(std::abs(Bessel::hstar1(x) - std::conj(c1)), 0.0, 1e-15 * std::abs(c1)) << x;
        for (int l = 0; l <= 8 && l < x; ++l) {
            const cplx c = closedH(l, x);
            EXPECT_NEAR(Bessel::jn(l, x), c.real(), 1e-13 * std::abs(c)) << l << " " << x;
            EXPECT_NEAR(Bessel::yn(l, x), c.imag(), 1e-13 * std::abs(c)) << l << " " << x;
        }
    }
    // Conjugates everywhere, the unstable region and negative orders included.
    for (double x : {0.2, 1.0, 9.0})
        for (int l : {-2, 0, 1, 3, 15})
            EXPECT_EQ(Bessel::hstarn(l, x), std::conj(Bessel::hn(l, x))) << l << " " << x;
    EXPECT_NEAR(Bessel::jn(2, 1.0), 0.062035052011373715, 1e-16);
    EXPECT_NEAR(Bessel::yn(2, 1.0), -3.6050175661599693, 1e-15);
    EXPECT_NEAR(std::abs(Bessel::h0(1.0) - cplx(0.8414709848078965, -0.5403023058681398)), 0,
                1e-16);
    EXPECT_NEAR(std::abs(Bessel::hstar0(1.0) - cplx(0.8414709848078965, 0.5403023058681398)), 0,
                1e-16);
}

TEST(BesselSpherical, AboveTheOrderAgreesWithGslAndTheCrossProduct)
{
    for (int l = 2; l <= 40; l += 3)
        for (double x : {l + 0.5, 1.7 * l, 4.0 * l + 3.0}) {
            const double j = Bessel::jn(l, x), y = Bessel::yn(l, x), scale = std::hypot(j, y);
            EXPECT_NEAR(j, gsl_sf_bessel_jl(l, x), 1e-13 * scale) << l << " " << x;
            EXPECT_NEAR(y, gsl_sf_bessel_yl(l, x), 1e-13 * scale) << l << " " << x;
            // j_l y_(l-1) - j_(l-1) y_l = 1/x^2
            EXPECT_NEAR((j * Bessel::yn(l - 1, x) - Bessel::jn(l - 1, x) * y) * x * x, 1.0, 1e-12);
        }
}

TEST(BesselSpherical, EdgesOfTheRecurrence)
{
    for (double x : {0.3, 2.0, 11.0}) {
        EXPECT_EQ(Bessel::jn(0, x), Bessel::j0(x));
        EXPECT_EQ(Bessel::jn(1, x), Bessel::j1(x));
        EXPECT_EQ(Bessel::jn(-3, x), Bessel::j1(x));
        EXPECT_EQ(Bessel::yn(-1, x), Bessel::y1(x));
    }
    EXPECT_TRUE(std::isnan(Bessel::jn(2, 0.0)));
    // Upward for l > x: rounding error swamps the true 7.27e-21, and nothing takes over.
    EXPECT_NEAR(gsl_sf_bessel_jl(10, 0.1), 7.2715e-21, 1e-24);
    EXPECT_GT(std::fabs(Bessel::jn(10, 0.1)), 1e-10);
}

TEST(BesselErrors, GslHandlerDecides)
{
    EXPECT_DEATH(Bessel::Y0(-1.0), "domain error"); // the default handler aborts
    gsl_error_handler_t* previous = gsl_set_error_handler_off();
    EXPECT_TRUE(std::isnan(Bessel::Y0(-1.0)));
    EXPECT_TRUE(std::isnan(Bessel::I0(0.0)));
    EXPECT_TRUE(std::isnan(Bessel::yn(4, -1.0)));
    EXPECT_EQ(Bessel::K0(800.0), 0.0); // underflow
    EXPECT_EQ(Bessel::Jn(300, 1.0), 0.0);
    EXPECT_EQ(Bessel::y1(1e-160), std::numeric_limits<double>::infinity()); // overflow
    gsl_set_error_handler(previous);
}
