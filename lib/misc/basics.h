// Shared building blocks of the library: the complex type and the integer power.
//
// Errors: none of its own; IEEE arithmetic (an overflowing power is inf, 0 to a negative
// power is inf).
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_BASICS_H
#define TWOBODY_BASICS_H

#include <complex>

namespace Misc {

// A complex number of two doubles, real part first, with the ordinary arithmetic.
using complex = std::complex<double>;

// x^n for an integer n, by repeated squaring and multiplying (so the rounding is that
// of the squarings, not of n-1 successive products). x^0 = 1 for every x, 0 and NaN
// included; a negative n gives 1 / x^|n|. Defined for every int n, INT_MIN included.
inline double ipow(double x, int n)
{
    unsigned int m = n < 0 ? 0u - static_cast<unsigned int>(n) : static_cast<unsigned int>(n);
    double result = 1.0;
    while (m != 0) {
        if (m & 1u)
            result *= x;
        m >>= 1;
        if (m != 0)
            x *= x;
    }
    return n < 0 ? 1.0 / result : result;
}

} // namespace Misc

#endif
