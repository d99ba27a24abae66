#include "utilities.h"
#include "internal/constants.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace Misc {

complex ceiphi(double phi) { return complex(std::cos(phi), std::sin(phi)); }

complex cexp(complex z)
{
    const double e = std::exp(z.real());
    const complex p = ceiphi(z.imag());
    return e * p;
}

complex cpow(complex z, complex w)
{
    const complex i = twobody_detail::kI;
    const double x = z.real();
    const double y = z.imag();
    // atan2 reads the sign of a zero imaginary part: (-1, -0) lies below the cut.
    const double theta = std::atan2(y, x);
    const double logr = std::log(std::sqrt(x * x + y * y));
    const complex logz = logr + i * theta;
    return cexp(w * logz);
}

int iround(double x)
{
    const double r = std::floor(x + 0.5);
    // Converting a double outside the range of int is undefined, so clamp first.
    // Both bounds are exact doubles: -2^31 and 2^31.
    constexpr double lowest = static_cast<double>(std::numeric_limits<int>::min());
    constexpr double beyond = -lowest;
    if (std::isnan(r))
        return 0;
    if (r < lowest)
        return std::numeric_limits<int>::min();
    if (r >= beyond)
        return std::numeric_limits<int>::max();
    return static_cast<int>(r);
}

bool comparestrings(const char* a, const char* b)
{
    const std::size_t n = std::strlen(a);
    if (n != std::strlen(b))
        return false;
    for (std::size_t k = 0; k < n; ++k) {
        if (a[k] != b[k])
            return false;
    }
    return true;
}

} // namespace Misc
