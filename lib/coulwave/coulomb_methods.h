// The numerical methods behind the Coulomb wave functions where the library computes them
// itself; not installed. Arguments as in coulomb_wave.h (x before eta); each writes F_l, G_l,
// F'_l, G'_l through the four pointers.
#ifndef TWOBODY_COULOMB_METHODS_H
#define TWOBODY_COULOMB_METHODS_H

#include <cmath>

namespace CoulWave {
namespace detail {

// Q = L / r^2 + 2 eta / r - 1, L = l(l+1): where positive, the square of the rate at which the
// solutions grow or fall off with r (below the turning point); where negative, minus the square
// of their wave number.
inline double barrierRate2(double L, double eta, double r)
{
    return L / (r * r) + 2.0 * eta / r - 1.0;
}

// Where the terms of F's power series at the origin peak: near
// j = sqrt(2 eta x + (l + 1/2)^2) - (l + 1/2). About the number of terms the series takes.
inline double seriesPeak(int l, double x, double eta)
{
    const double lh = l + 0.5;
    return std::sqrt(2.0 * eta * x + lh * lh) - lh;
}

// Below and at the turning point of a repulsive pair, and at order 0 near the origin: G
// carried inward from the turning point by Taylor steps, F from the Wronskian. Values beyond
// the double range come out as 0 (F, F'), +inf (G) or -inf (G').
void belowTurningPoint(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp);

// Beyond the turning point of an attractive pair at x < 3.5: both solutions carried inward
// from Steed's method at max(x, 2.5).
void allowedInward(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp);

// Below the turning point of order l, from G, G' of order 0 at x: l steps of the recurrence.
void upwardFromOrderZero(int l, double x, double eta, double G0, double G0p, double* F, double* G,
                         double* Fp, double* Gp);

// Below the turning point, for a pair of either sign: the phase-integral expansion to high
// order, within about 2e-14 (the bound on its last term) where it serves. False (nothing
// written) where its terms do not fall below that: close to the turning point, and near the
// origin at small l and eta; also where long double is no wider than double. Values beyond
// the double range come out as 0 (F, F'), +inf (G) or -inf (G').
bool phaseIntegral(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp);

// Below the turning point of a repulsive pair, up to 0.6 x_tp: F from its power series at the
// origin, G from G'/G and the Wronskian, G'/G carried inward from a JWKB start deep below the
// barrier and from the real part of H'/H elsewhere. False (nothing written) where that would
// cost more than belowTurningPoint or lose digits. turningPoint = eta + sqrt(eta^2 + l(l + 1)).
bool originSeries(int l, double x, double eta, double turningPoint, double* F, double* G,
                  double* Fp, double* Gp);

// F, G, F', G' of order 0 near the origin from their expansion in powers of x with logarithms,
// false (nothing written) where its terms cancel to more than rounding: up to 2 |eta| x of
// about 12 for an attractive pair. For a repulsive pair only G and G' (to 2 eta x of about 2):
// there F is the far smaller solution and comes out as noise.
bool orderZeroNearOrigin(double x, double eta, double* F, double* G, double* Fp, double* Gp);

// Steed's method at x, beyond the turning point; about x terms of work.
void steed(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp);

// The asymptotic expansion of H+ at large x; false (nothing written) where it does not
// converge to the rounding level.
bool asymptotic(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp);

// Carries F, F', G, G' from a tiny x0 down to x < x0 by their behaviour at the origin, to
// within x0 |eta| ln(x0 / x) relative: F ~ x^(l+1), G ~ x^(-l) (DLMF 33.5), and at l = 0,
// where G' ~ 2 eta G ln x, by G'' = (2 eta / x - 1) G with G constant.
void towardOrigin(int l, double eta, double x0, double x, double& F, double& Fp, double& G,
                  double& Gp);

} // namespace detail
} // namespace CoulWave

#endif
