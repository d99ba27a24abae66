#include <twobody/twobody.h>
#include "internal/constants.h"
#include "test_support.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_bessel.h>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

constexpr double pi = twobody_detail::kPi;
using cplx = std::complex<double>;

// J_n(x) = (1/pi) int_0^pi cos(n t - x sin t) dt; the trapezoid rule converges geometrically.
double integralJ(int n, double x)
{
    double sum = 0.5 * (1.0 + std::cos(n * pi));
    for (int k = 1; k < 400; ++k)
        sum += std::cos(n * pi * k / 400 - x * std::sin(pi * k / 400));
    return sum / 400;
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

TEST(BesselCylindrical, IntegralsWronskiansAndIEqualsK)
{
    // J_(n+1) Y_n - J_n Y_(n+1) = 2 / (pi x) and I_n K_(n+1) + I_(n+1) K_n = 1 / x, with
    // GSL's own I_n (the library has none).
    for (double x : {0.5, 3.0, 25.0}) {
        const double w = 2.0 / (pi * x);
        EXPECT_NEAR(Bessel::J0(x), integralJ(0, x), 1e-14) << x;
        EXPECT_NEAR(Bessel::J1(x), integralJ(1, x), 1e-14) << x;
        EXPECT_NEAR(Bessel::J1(x) * Bessel::Y0(x) - Bessel::J0(x) * Bessel::Y1(x), w, 1e-14 * w);
        EXPECT_NEAR((gsl_sf_bessel_I0(x) * Bessel::K1(x) + gsl_sf_bessel_I1(x) * Bessel::K0(x)) * x,
                    1.0, 1e-13);
        for (int n : {-3, 2, 6}) {
            EXPECT_NEAR(Bessel::Jn(n, x), integralJ(n, x), 1e-14) << n << " " << x;
            EXPECT_NEAR(Bessel::Jn(n + 1, x) * Bessel::Yn(n, x) -
                            Bessel::Jn(n, x) * Bessel::Yn(n + 1, x),
                        w, 1e-12 * w)
                << n << " " << x;
            EXPECT_NEAR((gsl_sf_bessel_In(n, x) * Bessel::Kn(n + 1, x) +
                         gsl_sf_bessel_In(n + 1, x) * Bessel::Kn(n, x)) *
                            x,
                        1.0, 1e-12)
                << n << " " << x;
            EXPECT_EQ(Bessel::In(n, x), Bessel::Kn(n, x));
        }
    }
}

TEST(BesselSpherical, ClosedFormsGslCrossProductAndConjugates)
{
    for (double x : {1.0, 3.5, 12.0, 50.0}) {
        const cplx c0 = closedH(0, x), c1 = closedH(1, x);
        EXPECT_LT(std::abs(Bessel::h0(x) - c0), 1e-15 * std::abs(c0)) << x;
        EXPECT_LT(std::abs(Bessel::h1(x) - c1), 1e-15 * std::abs(c1)) << x;
        EXPECT_LT(std::abs(Bessel::hstar0(x) - std::conj(c0)), 1e-15 * std::abs(c0)) << x;
        EXPECT_LT(std::abs(Bessel::hstar1(x) - std::conj(c1)), 1e-15 * std::abs(c1)) << x;
        for (int l = 2; l <= 3; ++l) {
            const cplx c = closedH(l, x);
            EXPECT_NEAR(Bessel::jn(l, x), c.real(), 1e-13 * std::abs(c)) << l << " " << x;
            EXPECT_NEAR(Bessel::yn(l, x), c.imag(), 1e-13 * std::abs(c)) << l << " " << x;
        }
    }
    for (int l = 2; l <= 40; l += 3)
        for (double x : {l + 0.5, 1.7 * l, 4.0 * l + 3.0}) {
            const double j = Bessel::jn(l, x), y = Bessel::yn(l, x), scale = std::hypot(j, y);
            EXPECT_NEAR(j, gsl_sf_bessel_jl(l, x), 1e-13 * scale) << l << " " << x;
            EXPECT_NEAR(y, gsl_sf_bessel_yl(l, x), 1e-13 * scale) << l << " " << x;
            // j_l y_(l-1) - j_(l-1) y_l = 1/x^2
            EXPECT_NEAR((j * Bessel::yn(l - 1, x) - Bessel::jn(l - 1, x) * y) * x * x, 1.0, 1e-12);
            EXPECT_EQ(Bessel::hstarn(l, x), std::conj(Bessel::hn(l, x)));
        }
    // Negative orders give the l = 1 functions.
    EXPECT_EQ(Bessel::jn(-3, 2.0), Bessel::j1(2.0));
    EXPECT_EQ(Bessel::yn(-1, 2.0), Bessel::y1(2.0));
}

// Regression lock: for |x| >= l the upward recurrence from j0, j1 is kept bit for bit.
TEST(BesselSpherical, UpwardRecurrenceKeptAtAndAboveTheTurningPoint)
{
    for (int l = 2; l <= 60; l += 7)
        for (double x : {1.0 * l, 1.3 * l, -(l + 0.5), 5.0 * l + 1.0, 200.0}) {
            if (std::fabs(x) < l)
                continue;
            double previous = Bessel::j0(x), current = Bessel::j1(x);
            for (int i = 2; i <= l; ++i) {
                const double next = (2.0 * i - 1.0) * current / x - previous;
                previous = current;
                current = next;
            }
            EXPECT_TRUE(test::sameBits(Bessel::jn(l, x), current)) << l << " " << x;
        }
}

// Below the turning point (values against mpmath in the accuracy test): parity
// j_l(-x) = (-1)^l j_l(x), j_l(0) = 0 for l >= 1, no overflow of the recurrence.
TEST(BesselSpherical, BelowTheTurningPointParityAndZero)
{
    for (int l : {2, 5, 10, 40, 100})
        for (double x : {1e-3, 0.1, 1.0, 2.0})
            EXPECT_EQ(Bessel::jn(l, -x), (l % 2 ? -1.0 : 1.0) * Bessel::jn(l, x)) << l << " " << x;
    // mpmath, 30 digits; the upward recurrence gave -3.33 here.
    EXPECT_NEAR(Bessel::jn(10, 0.1), 7.2715109967136716e-21, test::kTol2 * 7.3e-21);
    for (int l : {1, 2, 3, 10, 100})
        EXPECT_EQ(Bessel::jn(l, 0.0), 0.0) << l;
    EXPECT_EQ(Bessel::jn(0, 0.0), 1.0);
    // Upward, this one overflowed.
    EXPECT_GT(Bessel::jn(82, 0.094), 0.0);
    EXPECT_LT(Bessel::jn(82, 0.094), 1e-200);
}

// With GSL's aborting handler switched off, domain errors come back as NaN, as the README says.
TEST(GslErrors, DomainErrorsGiveNaNWithTheHandlerOff)
{
    gsl_error_handler_t* const previous = gsl_set_error_handler_off();
    const Misc::complex y = SpherHarmonics::Ylm(1, 2, 0.3, 0.4);
    EXPECT_TRUE(std::isnan(Bessel::Y0(-1.0)));
    EXPECT_TRUE(std::isnan(y.real()) && std::isnan(y.imag()));
    // Overflow: the infinity the value runs to, never what was left on the stack.
    EXPECT_EQ(Bessel::Kn(1000, 1.0), HUGE_VAL);
    EXPECT_EQ(Bessel::In(1000, 1.0), HUGE_VAL);
    EXPECT_EQ(Bessel::Yn(1000, 1.0), -HUGE_VAL);
    EXPECT_EQ(Bessel::Yn(-1001, 1.0), HUGE_VAL);
    EXPECT_EQ(Bessel::yn(300, 1e-3), -HUGE_VAL); // the recurrence stops: no inf - inf
    gsl_set_error_handler(previous);
}

} // namespace
