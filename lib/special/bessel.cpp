#include "bessel.h"

#include <gsl/gsl_sf_bessel.h>

namespace Bessel {

double J0(double x) { return gsl_sf_bessel_J0(x); }
double J1(double x) { return gsl_sf_bessel_J1(x); }
double Jn(int n, double x) { return gsl_sf_bessel_Jn(n, x); }

double Y0(double x) { return gsl_sf_bessel_Y0(x); }
double Y1(double x) { return gsl_sf_bessel_Y1(x); }
double Yn(int n, double x) { return gsl_sf_bessel_Yn(n, x); }

double K0(double x) { return gsl_sf_bessel_K0(x); }
double K1(double x) { return gsl_sf_bessel_K1(x); }
double Kn(int n, double x) { return gsl_sf_bessel_Kn(n, x); }

// These names have always returned K; callers depend on it.
double I0(double x) { return gsl_sf_bessel_K0(x); }
double I1(double x) { return gsl_sf_bessel_K1(x); }
double In(int n, double x) { return gsl_sf_bessel_Kn(n, x); }

double j0(double x) { return gsl_sf_bessel_j0(x); }
double j1(double x) { return gsl_sf_bessel_j1(x); }
double y0(double x) { return gsl_sf_bessel_y0(x); }
double y1(double x) { return gsl_sf_bessel_y1(x); }

namespace {

// f_i = ((2i - 1) f_(i-1)) / x - f_(i-2), shared by j and y: both satisfy it.
// Multiply, divide, subtract in that order; l <= 1 (negative l too) gives f1.
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
    }
    return current;
}

} // namespace

double jn(int l, double x) { return upward<j0, j1>(l, x); }
double yn(int l, double x) { return upward<y0, y1>(l, x); }

Misc::complex h0(double x) { return {gsl_sf_bessel_j0(x), gsl_sf_bessel_y0(x)}; }
Misc::complex h1(double x) { return {gsl_sf_bessel_j1(x), gsl_sf_bessel_y1(x)}; }
Misc::complex hn(int l, double x) { return {jn(l, x), yn(l, x)}; }

Misc::complex hstar0(double x) { return {gsl_sf_bessel_j0(x), -gsl_sf_bessel_y0(x)}; }
Misc::complex hstar1(double x) { return {gsl_sf_bessel_j1(x), -gsl_sf_bessel_y1(x)}; }
Misc::complex hstarn(int l, double x) { return {jn(l, x), -yn(l, x)}; }

} // namespace Bessel
