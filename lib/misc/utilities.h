// Complex and numeric utilities, written from the real functions of the C library.
//
// None of the complex routines calls a complex transcendental function of the standard
// library: each one is spelt out from cos, sin, exp, log, sqrt and atan2, so that its
// rounding, its signed zeros and its branch cut are those stated here.
//
// Errors: NaN (an infinite or NaN angle, cpow at z = 0); iround saturates. No GSL call.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_UTILITIES_H
#define TWOBODY_UTILITIES_H

#include "basics.h"

namespace Misc {

// The unit phase factor e^(i phi) = (cos phi, sin phi), phi in radians; no range reduction.
// ceiphi(0) = (1, 0) exactly; ceiphi(pi) = (-1, 1.2246467991473532e-16), not (-1, 0).
// An infinite or NaN phi gives (NaN, NaN).
complex ceiphi(double phi);

// The complex exponential e^z = e^x (cos y, sin y) for z = (x, y): the real exp(x) times
// ceiphi(y). Beyond x of about 709.78 the factor e^x is +inf and the result has infinite
// or NaN components; below about -745 it underflows to (0, 0) (signed as cos y, sin y).
complex cexp(complex z);

// The principal power z^w = e^(w Log z), with Log z = (ln|z|, atan2(Im z, Re z)) and the
// argument in [-pi, pi]. The cut lies along the negative real axis and the sign of a zero
// imaginary part picks its side: cpow((-1, +0), (0.5, 0)) = (6.1e-17, +1) and
// cpow((-1, -0), (0.5, 0)) = (6.1e-17, -1). Every power, integer exponents included, goes
// through log and exp, so cpow((2, 0), (3, 0)) is 8 only to rounding.
// z = 0 gives NaN components for every w. |z| is formed from the plain sum of squares:
// beyond |z| of about 1.3e154 it overflows and the result is not meaningful; below about
// 1.5e-154 it loses precision, and below about 1e-162 it vanishes (NaN, as for z = 0).
complex cpow(complex z, complex w);

// x rounded to the nearest integer, halves toward +inf: floor(x + 0.5), so 2.5 gives 3,
// -2.5 gives -2 and -0.5 gives 0. The sum is rounded before floor, so 0.49999999999999994
// gives 1. A rounded value beyond the range of int saturates at
// INT_MAX or INT_MIN (+inf and -inf included); NaN gives 0.
int iround(double x);

// true when the NUL-terminated strings a and b are equal character for character: equal
// lengths first, then every position. Two empty strings are equal. No ordering, no case
// folding, no locale. Both pointers must point to valid strings (null is not allowed).
bool comparestrings(const char* a, const char* b);

} // namespace Misc

#endif
