#include "spherical_harmonics.h"

#include "utilities.h"

#include <gsl/gsl_sf_legendre.h>

#include <cmath>
#include <cstdlib>

namespace SpherHarmonics {

double legendre(int l, double x) { return gsl_sf_legendre_Pl(l, x); }

Misc::complex Ylm(int l, int m, double theta, double phi)
{
    const int absm = std::abs(m);
    // GSL's normalised theta part, Condon-Shortley sign included, is for m >= 0 only.
    const double p = gsl_sf_legendre_sphPlm(l, absm, std::cos(theta));
    Misc::complex y = p * Misc::ceiphi(static_cast<double>(m) * phi);
    // The signed m above conjugates the phase; this restores (-1)^m.
    if (m < 0)
        y *= Misc::ipow(-1.0, absm);
    return y;
}

} // namespace SpherHarmonics
