// Constants shared by the library's sources; not installed.
#ifndef TWOBODY_INTERNAL_CONSTANTS_H
#define TWOBODY_INTERNAL_CONSTANTS_H

#include <complex>
#include <limits>

namespace twobody_detail {

// π as the library has always written it: the double nearest to π.
constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::complex<double> kI{0.0, 1.0};

} // namespace twobody_detail

#endif
