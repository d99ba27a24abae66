#include "spherical_harmonics.h"

#include "internal/constants.h"
#include "utilities.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_legendre.h>

#include <climits>
#include <cmath>

namespace SpherHarmonics {

namespace {

// GSL's _e form with its error path settled: a result GSL did not write stays NaN, an
// underflow is 0. With GSL's default handler an error aborts inside GSL first.
double settle(int status, const gsl_sf_result& r) { return status == GSL_EUNDRFLW ? 0.0 : r.val; }

// GSL's recurrences take about 10 ns per degree: past this a call would run for seconds
// (l = INT_MAX: most of a minute), and the rounding carried, of order l eps, is large.
constexpr int kMaxDegree = 10000000;

} // namespace

double legendre(int l, double x)
{
    if (l > kMaxDegree)
        return twobody_detail::kNaN;
    gsl_sf_result r{twobody_detail::kNaN, twobody_detail::kNaN};
    return settle(gsl_sf_legendre_Pl_e(l, x, &r), r);
}

Misc::complex Ylm(int l, int m, double theta, double phi)
{
    if (l > kMaxDegree)
        return {twobody_detail::kNaN, twobody_detail::kNaN};
    // |INT_MIN| is no int, and exceeds every l: pass GSL an order it rejects in the same way.
    const int absm = m == INT_MIN ? -1 : (m < 0 ? -m : m);
    // GSL's normalised theta part, Condon-Shortley sign included, is for m >= 0 only.
    gsl_sf_result r{twobody_detail::kNaN, twobody_detail::kNaN};
    const double p = settle(gsl_sf_legendre_sphPlm_e(l, absm, std::cos(theta), &r), r);
    Misc::complex y = p * Misc::ceiphi(static_cast<double>(m) * phi);
    // The signed m above conjugates the phase; this restores (-1)^m.
    if (m < 0)
        y *= (m % 2 != 0) ? -1.0 : 1.0;
    return y;
}

} // namespace SpherHarmonics
