#include "spherical_harmonics.h"

#include "internal/constants.h"
#include "internal/gsl_status.h"
#include "utilities.h"

#include <gsl/gsl_sf_legendre.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace SpherHarmonics {

namespace {

// GSL's recurrences take about 10 ns per degree: past this a call would run for seconds
// (l = INT_MAX: most of a minute), and the rounding carried, of order l eps, is large.
constexpr int kMaxDegree = 10000000;

// GSL's theta part takes cos(theta), rounded by up to 5.5e-17, which moves the direction by
// up to 5.5e-17 / sin(theta) in theta. With u = 1 - |cos theta|, that is a relative error of
// about m 3e-17 / u in the factor sin^m (GSL forms it from 1 - cos^2), of up to l^2 3e-17
// in the polynomial part before its first zeros (u l^2 < 32; below l = 8 this stays under
// 2e-15), and beyond them, near the zeros, an absolute error of about 5e-17 sqrt(l) /
// sin^1.5(theta) of the norm sqrt((2l + 1) / 4 pi). Where any of these comes near the bound
// of the header, 128 u < m + l / 4 or u l^2 < 32, the theta part is formed here instead, from
// theta itself (for the last, l counts up to 100 only: beyond, among many zeros, GSL's
// recurrence and this one err alike).
inline bool NearPole(int l, int m, double x)
{
    const double u = 1 - std::fabs(x);
    return 128 * u < m + 0.25 * std::min(l, 100) || (l >= 8 && u * l * l < 32);
}
// The recurrence below carries P_l^m / sin^m(theta) scaled to 1 at the pole; its scale factor
// stays below 1e210 up to this degree.
constexpr int kPoleRouteMaxDegree = 1000;

// The normalised theta part of Y_lm, 0 <= m <= l, from theta itself, with sin^m(theta)
// carrying the sign of sin(theta). With u = 1 - |cos theta| = 2 sin^2(theta / 2) (or
// 2 cos^2(theta / 2)), accurate however near the pole, r_n = P_n^m(1 - u) / (c_n s^m), c_n the
// value of P_n^m / s^m at the pole, obeys (n + m) r_n = (2n - 1) (1 - u) r_(n-1) -
// (n - 1 - m) r_(n-2) (DLMF 14.10.3), r_m = 1. It runs in difference form, d_n = r_n -
// r_(n-1), so that 1 - u never appears and nothing cancels near the pole (Reinsch's
// modification of the three-term recurrence; W. M. Gentleman, Comput. J. 12 (1969) 160). The
// normalised c_l, sqrt((2l + 1) / (4 pi) (l + m)! / (l - m)!) / (2^m m!), and the factor s^m,
// split into mantissa and exponent, are applied last: nothing underflows before the result.
double ThetaPartNearPole(int l, int m, double theta)
{
    const double x = std::cos(theta);
    const double h = x >= 0 ? std::sin(0.5 * theta) : std::cos(0.5 * theta);
    const double u = 2 * h * h;
    double r = 1.0, d = 0.0;
    for (int n = m + 1; n <= l; ++n) {
        d = ((n - 1 - m) * d - (2 * n - 1) * u * r) / (n + m);
        r += d;
    }
    // (l + m)! / ((l - m)! (2^m m!)^2) as a product over pairs of factors, its square root
    // taken in pieces so that nothing overflows.
    double root = 1.0, piece = 1.0;
    for (int j = 1; j <= m; ++j) {
        const double k = l - m + 2 * j;
        piece *= (k - 1) * k / (4.0 * j * j);
        if (piece > 1e150) {
            root *= std::sqrt(piece);
            piece = 1.0;
        }
    }
    root *= std::sqrt(piece) * std::sqrt((2 * l + 1) / (4 * twobody_detail::kPi));
    // Condon-Shortley (-1)^m, and P_l^m(-x) = (-1)^(l+m) P_l^m(x) on the south side.
    const bool negative = (m % 2 != 0) != (x < 0 && (l + m) % 2 != 0);
    int exponent = 0;
    const double mantissa = std::frexp(std::sin(theta), &exponent);
    const double p = std::ldexp(r * root * std::pow(mantissa, m), exponent * m);
    return negative ? -p : p;
}

// e^(i m phi). The product m phi rounds by up to |m phi| eps / 2, which is the error of the
// phase: small while |phi| <= 2 pi, so there the phase is ceiphi(m phi). Beyond, it is the
// m-th power of e^(i phi), whose cosine and sine are right to rounding for every double, by
// repeated squaring (error about 2 |m| eps).
Misc::complex Phase(int m, double phi)
{
    if (!(std::isfinite(phi) && std::fabs(phi) > 2 * twobody_detail::kPi))
        return Misc::ceiphi(static_cast<double>(m) * phi);
    Misc::complex base(std::cos(phi), std::sin(phi)), result(1.0, 0.0);
    for (unsigned k = m < 0 ? 0u - static_cast<unsigned>(m) : static_cast<unsigned>(m); k != 0;
         k >>= 1) {
        if (k & 1u)
            result *= base;
        base *= base;
    }
    return m < 0 ? std::conj(result) : result;
}

} // namespace

double legendre(int l, double x)
{
    if (l > kMaxDegree)
        return twobody_detail::kNaN;
    // |P_l| <= 1 on [-1, 1]: no overflow to stand for.
    return twobody_detail::gslCall(twobody_detail::kNaN, gsl_sf_legendre_Pl_e, l, x);
}

Misc::complex Ylm(int l, int m, double theta, double phi)
{
    if (l > kMaxDegree)
        return {twobody_detail::kNaN, twobody_detail::kNaN};
    // |INT_MIN| is no int, and exceeds every l: pass GSL an order it rejects in the same way.
    const int absm = m == INT_MIN ? -1 : (m < 0 ? -m : m);
    // GSL's normalised theta part, Condon-Shortley sign included, is for m >= 0 only.
    const double x = std::cos(theta);
    double p;
    if (absm >= 0 && absm <= l && l <= kPoleRouteMaxDegree && NearPole(l, absm, x)) {
        p = ThetaPartNearPole(l, absm, theta);
    } else {
        p = twobody_detail::gslCall(twobody_detail::kNaN, gsl_sf_legendre_sphPlm_e, l, absm, x);
        // GSL takes sin(theta) >= 0; outside [0, pi] the factor sin^m(theta) has the sign of
        // sin(theta)^m. (sin of the double nearest pi is still positive.)
        if (absm % 2 != 0 && !(theta >= 0 && theta <= twobody_detail::kPi) && std::sin(theta) < 0)
            p = -p;
    }
    Misc::complex y = p * Phase(m, phi);
    // The signed m above conjugates the phase; this restores (-1)^m.
    if (m < 0)
        y *= (m % 2 != 0) ? -1.0 : 1.0;
    return y;
}

} // namespace SpherHarmonics
