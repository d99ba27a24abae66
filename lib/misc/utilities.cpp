#include "utilities.h"

#include <cmath>

namespace Misc {

complex ceiphi(double phi)
{
    return complex(std::cos(phi), std::sin(phi));
}

} // namespace Misc
