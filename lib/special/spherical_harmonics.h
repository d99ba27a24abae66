// Legendre polynomials and complex spherical harmonics.
//
// Angles are radians. Nothing is checked here: outside the stated ranges GSL's error
// handler is called, and GSL's default handler prints a message and aborts. After
// gsl_set_error_handler_off() (from <gsl/gsl_errno.h>) both functions return NaN there
// (the real and imaginary parts of Ylm both NaN), and 0 where GSL reports an underflow.
//
// Errors: GSL's handler (abort by default; NaN with the handler off); NaN for l > 10^7.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_SPHERICAL_HARMONICS_H
#define TWOBODY_SPHERICAL_HARMONICS_H

#include "basics.h"

namespace SpherHarmonics {

// The Legendre polynomial P_l(x), P_l(1) = 1 (DLMF §18.3). Needs l >= 0 and
// -1 <= x <= 1; l < 0 or |x| > 1 is a domain error. Within 1e-14 absolute (5e-16
// measured) for l <= 144. l above 10^7 gives NaN at once, calling no GSL function.
double legendre(int l, double x);

// The spherical harmonic Y_lm(theta, phi), orthonormal over the unit sphere, with the
// Condon-Shortley phase: Y_11 = -sqrt(3/(8 pi)) sin(theta) e^(i phi). theta is the polar
// angle (not its cosine), phi the azimuth; both any real, sin(theta) taken with its sign, so
// that the result is Y_lm at the direction (sin theta cos phi, sin theta sin phi, cos theta)
// (Ylm(1, 1, -0.5, 0) = +0.1656). Negative m follows Y_l,-m = (-1)^m conj(Y_lm) (DLMF
// §14.30). Needs l >= 0 and |m| <= l, else a domain error (m = INT_MIN included). The cost
// grows linearly with l (about 0.1 s at l = 10^7); l above 10^7 gives (NaN, NaN) at once,
// calling no GSL function. Accuracy for l <= 100, every theta and phi: within 1e-13 relative
// wherever the value is a normal double, at and near the poles included; near a zero of
// P_l^m(cos theta) away from the poles, within 1e-15 sqrt((2l + 1) / (4 pi)) absolute.
Misc::complex Ylm(int l, int m, double theta, double phi);

} // namespace SpherHarmonics

#endif
