// Legendre polynomials and complex spherical harmonics.
//
// Angles are radians. Nothing is checked here: outside the stated ranges GSL's error
// handler is called, and GSL's default handler prints a message and aborts. After
// gsl_set_error_handler_off() (from <gsl/gsl_errno.h>) both functions return NaN there
// (the real and imaginary parts of Ylm both NaN).
#ifndef TWOBODY_SPHERICAL_HARMONICS_H
#define TWOBODY_SPHERICAL_HARMONICS_H

#include "basics.h"

namespace SpherHarmonics {

// The Legendre polynomial P_l(x), P_l(1) = 1. Needs l >= 0 and -1 <= x <= 1; l < 0 or
// |x| > 1 is a domain error.
double legendre(int l, double x);

// The spherical harmonic Y_lm(theta, phi), orthonormal over the unit sphere, with the
// Condon-Shortley phase: Y_11 = -sqrt(3/(8 pi)) sin(theta) e^(i phi). theta is the polar
// angle (not its cosine), phi the azimuth; both any real. Negative m follows
// Y_l,-m = (-1)^m conj(Y_lm). Needs l >= 0 and |m| <= l, else a domain error.
Misc::complex Ylm(int l, int m, double theta, double phi);

} // namespace SpherHarmonics

#endif
