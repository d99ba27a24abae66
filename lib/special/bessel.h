// Bessel functions of a real argument: cylindrical J, Y and K, spherical j and y, and
// spherical Hankel functions (DLMF chapter 10; spherical ones DLMF 10.47-10.51).
//
// Arguments x are dimensionless. Orders come first, then x. Nothing is checked here:
// outside a function's domain GSL's error handler is called, and GSL's default handler
// prints a message and aborts. After gsl_set_error_handler_off() (from <gsl/gsl_errno.h>)
// the functions return instead: NaN for a domain error, 0 for an underflow, and for an
// overflow the infinity the value runs to (+inf for K, -inf for Y_n with n >= 0 or even,
// +inf for Y_n with n < 0 odd). A result GSL leaves unwritten comes back as NaN.
//
// Accuracy against 40-digit references: J, Y within 1e-13 of the modulus sqrt(J^2 + Y^2),
// K within 1e-13 relative (n <= 50, 1e-2 <= x <= 1e3); jn within 1e-13 relative, yn, hn
// and hstarn within 1e-13 of |h_l| (l <= 100, 1e-3 <= x <= 1e3).
//
// Beware: I0, I1 and In are NOT the modified Bessel functions of the first kind. They
// return the modified Bessel functions of the second kind, exactly as K0, K1 and Kn do.
// The library has no I_n.
//
// Errors: GSL's handler (abort by default; NaN for a domain error, 0 for an underflow, +-inf
// for an overflow with the handler off); never a stale value.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_BESSEL_H
#define TWOBODY_BESSEL_H

#include "basics.h"

namespace Bessel {

// Cylindrical Bessel function of the first kind J_0(x), every real x.
double J0(double x);

// Cylindrical Bessel function of the first kind J_1(x), every real x.
double J1(double x);

// Cylindrical Bessel function of the first kind J_n(x), every int n (J_-n = (-1)^n J_n)
// and real x. Where the value falls below the double range (large n, small x) GSL reports
// an underflow (result 0 with the handler off). n = INT_MIN, whose negation is no int,
// takes one recurrence step from INT_MAX (so also for Yn and Kn).
double Jn(int n, double x);

// Cylindrical Bessel function of the second kind Y_0(x), x > 0; x <= 0 is a domain error.
double Y0(double x);

// Cylindrical Bessel function of the second kind Y_1(x), x > 0; x <= 0 is a domain error,
// x below about 1e-308 an overflow.
double Y1(double x);

// Cylindrical Bessel function of the second kind Y_n(x), every int n (Y_-n = (-1)^n Y_n),
// x > 0; x <= 0 is a domain error. Where |Y_n| exceeds the double range (large n, small
// x) GSL reports an error.
double Yn(int n, double x);

// Modified Bessel function of the second kind K_0(x), x > 0; x <= 0 is a domain error,
// x above about 705 an underflow.
double K0(double x);

// Modified Bessel function of the second kind K_1(x), x > 0; as K0 outside.
double K1(double x);

// Modified Bessel function of the second kind K_n(x), every int n (K_-n = K_n), x > 0;
// x <= 0 is a domain error, an out-of-range value (large x, or large n at small x) an
// underflow or overflow.
double Kn(int n, double x);

// K_0(x), NOT I_0(x): the same value as K0(x), with the same range.
double I0(double x);

// K_1(x), NOT I_1(x): the same value as K1(x), with the same range.
double I1(double x);

// K_n(x), NOT I_n(x): the same value as Kn(n, x), with the same range.
double In(int n, double x);

// Spherical Bessel function of the first kind j_0(x) = sin(x)/x, every real x (j_0(0) = 1).
double j0(double x);

// Spherical Bessel function of the first kind j_1(x) = sin(x)/x^2 - cos(x)/x, every real x
// (j_1(0) = 0); 0 < |x| below about 7e-308 is an underflow.
double j1(double x);

// Spherical Bessel function of the first kind j_l(x), l >= 0, every real x.
// For |x| >= l, the upward recurrence j_l = ((2l - 1) j_(l-1)) / x - j_(l-2) from j0 and j1
// (DLMF 10.51.1), which is stable there. For |x| < l, where it is not, Miller's downward
// recurrence from a continued fraction, normalised by j0 or j1. Within 1e-13 relative
// for l <= 100 wherever j_l is a normal double; values below that come out as 0 or
// subnormal. jn(l, 0) = 0 for l >= 1. l < 0 gives j1(x); NaN x gives NaN.
// The cost grows linearly with l. Orders above 10^6 are not computed: they give 0 where
// j_l lies far below the double range (|x| well below l) and NaN elsewhere.
double jn(int l, double x);

// Spherical Bessel function of the second kind y_0(x) = -cos(x)/x, x > 0; x <= 0 is a
// domain error, x below about 1e-308 an overflow.
double y0(double x);

// Spherical Bessel function of the second kind y_1(x) = -cos(x)/x^2 - sin(x)/x, x > 0;
// x <= 0 is a domain error, x below about 1e-154 an overflow.
double y1(double x);

// Spherical Bessel function of the second kind y_l(x), l >= 0, x > 0, by the same upward
// recurrence from y0 and y1 (stable for y at every l). Once the value overflows (large l,
// small x) the recurrence stops and the result is -inf. l < 0 gives y1(x); x <= 0 is a
// domain error of y0. Orders above 10^6 give -inf where y_l overflows within the first
// 10^6 steps, and NaN elsewhere.
double yn(int l, double x);

// Spherical Hankel function of the first kind h_0(x) = j_0(x) + i y_0(x), x > 0
// (the range of y0).
Misc::complex h0(double x);

// Spherical Hankel function of the first kind h_1(x) = j_1(x) + i y_1(x), x > 0
// (the range of y1).
Misc::complex h1(double x);

// Spherical Hankel function of the first kind h_l(x) = (jn(l, x), yn(l, x)), with the
// ranges and accuracy of jn and yn.
Misc::complex hn(int l, double x);

// The complex conjugate of h_0 for real x: j_0(x) - i y_0(x), x > 0.
Misc::complex hstar0(double x);

// The complex conjugate of h_1 for real x: j_1(x) - i y_1(x), x > 0.
Misc::complex hstar1(double x);

// The complex conjugate of h_l for real x: (jn(l, x), -yn(l, x)), as hn.
Misc::complex hstarn(int l, double x);

} // namespace Bessel

#endif
