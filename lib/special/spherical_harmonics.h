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
// angle (not its cosine), phi the azimuth; both any real. Negative m follows Y_l,-m =
// (-1)^m conj(Y_lm) (DLMF §14.30). Needs l >= 0 and |m| <= l, else a domain error (m =
// INT_MIN included). The cost grows linearly with l (about 0.1 s at l = 10^7); l above 10^7
// gives (NaN, NaN) at once, calling no GSL function. Accuracy (l <= 40): within 2e-13
// relative (7e-14 measured) for polar angles at least 0.01 from a pole. Nearer a pole,
// cos(theta) is rounded before sin(theta) = sqrt(1 - cos^2) is formed, so the relative
// error of Y_lm, m != 0, grows as |m| 5e-17 / theta^2 (theta measured from the nearer pole;
// 5e-5 at theta = 1e-6); the absolute error stays below 1e-8.
Misc::complex Ylm(int l, int m, double theta, double phi);

} // namespace SpherHarmonics

#endif
