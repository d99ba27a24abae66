// Complex and numeric utilities, written from the real functions of the C library.
#ifndef TWOBODY_UTILITIES_H
#define TWOBODY_UTILITIES_H

#include "basics.h"

namespace Misc {

// The unit phase factor e^(i phi) = (cos phi, sin phi), phi in radians; no range reduction.
complex ceiphi(double phi);

} // namespace Misc

#endif
