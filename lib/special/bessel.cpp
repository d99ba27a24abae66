#include "bessel.h"

#include "internal/constants.h"
#include "internal/gsl_status.h"

#include <gsl/gsl_sf_bessel.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

namespace Bessel {

namespace {

// Every GSL call goes through gslCall: an overflow gives the infinity the function runs to,
// an underflow 0, any other error status NaN.
using twobody_detail::gslCall;

constexpr double kInf = HUGE_VAL;

// Sign of Y_n near 0+: Y_n -> -inf, and Y_-n = (-1)^n Y_n.
double yOverflow(int n) { return (n < 0 && n % 2 != 0) ? kInf : -kInf; }

} // namespace

double J0(double x) { return gslCall(kInf, gsl_sf_bessel_J0_e, x); }
double J1(double x) { return gslCall(kInf, gsl_sf_bessel_J1_e, x); }
// n = INT_MIN: GSL would negate it. C_-n = (-1)^n C_n with n = 2^31 even, one step above
// INT_MAX by the recurrence C_(n+1) = (2n / x) C_n - C_(n-1) (DLMF 10.6.1; for K, with
// a plus sign, DLMF 10.29.1).
constexpr double kTwiceIntMax = 2.0 * INT_MAX;

double Jn(int n, double x)
{
    if (n == INT_MIN)
        return x == 0.0 ? 0.0 : kTwiceIntMax / x * Jn(INT_MAX, x) - Jn(INT_MAX - 1, x);
    return gslCall(kInf, gsl_sf_bessel_Jn_e, n, x);
}

double Y0(double x) { return gslCall(-kInf, gsl_sf_bessel_Y0_e, x); }
double Y1(double x) { return gslCall(-kInf, gsl_sf_bessel_Y1_e, x); }
double Yn(int n, double x)
{
    if (n == INT_MIN) {
        const double top = Yn(INT_MAX, x);
        return std::isinf(top) ? top : kTwiceIntMax / x * top - Yn(INT_MAX - 1, x);
    }
    return gslCall(yOverflow(n), gsl_sf_bessel_Yn_e, n, x);
}

double K0(double x) { return gslCall(kInf, gsl_sf_bessel_K0_e, x); }
double K1(double x) { return gslCall(kInf, gsl_sf_bessel_K1_e, x); }
double Kn(int n, double x)
{
    if (n == INT_MIN)
        return Kn(INT_MAX - 1, x) + kTwiceIntMax / x * Kn(INT_MAX, x);
    return gslCall(kInf, gsl_sf_bessel_Kn_e, n, x);
}

// These names have always returned K; callers depend on it.
double I0(double x) { return K0(x); }
double I1(double x) { return K1(x); }
double In(int n, double x) { return Kn(n, x); }

double j0(double x) { return gslCall(kInf, gsl_sf_bessel_j0_e, x); }
double j1(double x) { return gslCall(kInf, gsl_sf_bessel_j1_e, x); }
double y0(double x) { return gslCall(-kInf, gsl_sf_bessel_y0_e, x); }
double y1(double x) { return gslCall(-kInf, gsl_sf_bessel_y1_e, x); }

namespace {

// Orders above this are not run through a recurrence: its cost grows linearly with l.
constexpr int kMaxOrder = 1000000;

// f_i = ((2i - 1) f_(i-1)) / x - f_(i-2), shared by j and y (DLMF 10.51.1). Multiply,
// divide, subtract in that order; l <= 1 (negative l too) gives f1. Stops early once the
// value has overflowed, so that inf - inf cannot turn it into NaN.
template <double (*F0)(double), double (*F1)(double)>
double upward(int l, double x)
{
    if (l == 0)
        return F0(x);
    double current = F1(x);
    if (l <= 1)
        return current;
    double previous = F0(x);
    for (int i = 2; i <= l; ++i) {
        const double next = (2.0 * i - 1.0) * current / x - previous;
        previous = current;
        current = next;
        if (std::isinf(current))
            return current;
    }
    return current;
}

// An upper bound on ln|j_l(x)| for 0 < |x| < l + 1/2: Kapteyn's inequality
// |J_nu(nu z)| <= (z e^s / (1 + s))^nu, s = sqrt(1 - z^2), with j_l = sqrt(pi / 2x) J_(l+1/2)
// (DLMF 10.14 and 10.47.3).
double logBoundJ(int l, double ax)
{
    const double nu = l + 0.5;
    const double z = ax / nu;
    const double s = std::sqrt((1.0 - z) * (1.0 + z));
    return nu * (std::log(z) + s - std::log1p(s)) + 0.5 * std::log(0.5 * twobody_detail::kPi / ax);
}

// j_l(x) for 2 <= l and 0 < |x| < l, where the upward recurrence is unstable. Miller's
// method: the ratio j_l / j_(l-1) from its continued fraction (DLMF 10.51.1 read downward,
// Lentz's algorithm), the downward recurrence to orders 0 and 1 (stable in this
// direction), and normalisation by whichever of j_0, j_1 is larger. Values below the
// double range come out as 0.
double millerJ(int l, double x)
{
    const double ax = std::fabs(x);
    // Far below the smallest double: the bound exceeds |j_l| by about sqrt(2 pi l) at most,
    // far less than the margin e^50.
    if (logBoundJ(l, ax) < std::log(DBL_MIN) - 50.0)
        return 0.0;

    // j_l / j_(l-1) = 1 / (b_0 - 1 / (b_1 - 1 / (b_2 - ...))), b_k = (2l + 2k + 1) / x.
    constexpr double tiny = 1e-300;
    double h = (2.0 * l + 1.0) / x;
    double c = h, d = 0.0;
    for (int k = 1; k < 100000; ++k) {
        const double b = (2.0 * (l + k) + 1.0) / x;
        d = b - d;
        c = b - 1.0 / c;
        if (d == 0.0)
            d = tiny;
        if (c == 0.0)
            c = tiny;
        d = 1.0 / d;
        const double delta = c * d;
        h *= delta;
        if (std::fabs(delta - 1.0) < DBL_EPSILON)
            break;
    }

    // Downward from (j_l, j_(l-1)) = (1, h) times an unknown factor, rescaled by exact
    // powers of two whenever the values grow large.
    constexpr int step = 600;
    const double big = std::ldexp(1.0, step);
    double upper = 1.0, lower = h;
    int scale = 0; // the true values are the computed ones times 2^(-step * scale) / norm
    for (int k = l - 1; k >= 1; --k) {
        const double next = (2.0 * k + 1.0) / x * lower - upper;
        upper = lower;
        lower = next;
        if (std::fabs(lower) > big) {
            upper = std::ldexp(upper, -step);
            lower = std::ldexp(lower, -step);
            ++scale;
        }
    }
    // Now lower ~ j_0 and upper ~ j_1.
    const double t0 = j0(x), t1 = j1(x);
    const double factor = std::fabs(t0) >= std::fabs(t1) ? t0 / lower : t1 / upper;
    double result = factor;
    for (int i = 0; i < scale && result != 0.0; ++i)
        result = std::ldexp(result, -step);
    return result;
}

} // namespace

double jn(int l, double x)
{
    if (l <= 1 || std::fabs(x) >= l)
        return l <= kMaxOrder ? upward<j0, j1>(l, x) : twobody_detail::kNaN;
    if (x == 0.0)
        return 0.0;
    if (std::isnan(x))
        return x;
    if (l > kMaxOrder)
        return logBoundJ(l, std::fabs(x)) < std::log(DBL_MIN) - 50.0 ? 0.0 : twobody_detail::kNaN;
    return millerJ(l, x);
}

double yn(int l, double x)
{
    // y_l grows with l below x = l and overflows within a few hundred orders for small x;
    // the recurrence stops there. Orders beyond the cap that have not overflowed give NaN.
    if (l > kMaxOrder) {
        const double v = upward<y0, y1>(std::min(l, kMaxOrder), x);
        return std::isinf(v) ? v : twobody_detail::kNaN;
    }
    return upward<y0, y1>(l, x);
}

Misc::complex h0(double x) { return {j0(x), y0(x)}; }
Misc::complex h1(double x) { return {j1(x), y1(x)}; }
Misc::complex hn(int l, double x) { return {jn(l, x), yn(l, x)}; }

Misc::complex hstar0(double x) { return {j0(x), -y0(x)}; }
Misc::complex hstar1(double x) { return {j1(x), -y1(x)}; }
Misc::complex hstarn(int l, double x) { return {jn(l, x), -yn(l, x)}; }

} // namespace Bessel
