// Coulomb wave functions of scattering theory and the complex gamma function.
//
// F_l(eta, x) and G_l(eta, x) are the regular and irregular solutions of
//   u'' + (1 - 2 eta / x - l (l + 1) / x^2) u = 0,
// normalised so that for large x, F ~ sin(theta) and G ~ cos(theta) with
// theta = x - eta ln(2x) - l pi / 2 + sigma_l(eta). At eta = 0 they are the Riccati-Bessel
// functions: F_0 = sin x, G_0 = cos x, F_1 = sin x / x - cos x, G_1 = cos x / x + sin x.
//
// x is the dimensionless radial variable (wave number times distance), passed on as given;
// eta is the Sommerfeld parameter (positive for repulsion). Unlike GSL, every routine here
// takes x BEFORE eta. Values come back unscaled (GSL's scaling exponents are applied).
//
// Served range: 0 <= l <= 10000, |x| <= 1e8, -1000 <= eta <= 1e4, all finite. Outside it (a
// NaN or infinite argument, l < 0 or l > 10000, |x| > 1e8, eta < -1000 or eta > 1e4) every
// routine returns NaN at once without calling GSL, whose Coulomb routines loop forever or give
// up there, and whose values below eta = -1000 near the origin are not to be trusted (nor is
// the continued fraction for F'/F above eta = 1e4). Inside it x must be > 0: at x <= 0 GSL
// signals a domain error.
//
// Accuracy, where F, G, F', G' are normal doubles: relative to each function below the turning
// point x_tp = eta + sqrt(eta^2 + l(l+1)), relative to sqrt(F^2 + G^2) (sqrt(F'^2 + G'^2) for
// the derivatives) at and beyond it.
//   - Repulsive pair (eta > 0) at and below x_tp, outside GSL's power series at the origin
//     (x < 1.2, |eta x| < 10; computed here): within 1e-13.
//   - The rest of l <= 1000, -1000 <= eta <= 1000, 1e-3 <= x <= 1e4: within 1e-12. Computed
//     here for the low orders of a repulsive pair inside that series region where GSL's series
//     loses digits, an attractive pair at x < 3.5 and 1 <= |eta| x < 200, below x_tp at l >= 5
//     outside GSL's series (the phase-integral expansion where it serves; else close below x_tp
//     carried inward from it, deeper from GSL's order 0), and by Steed's method at eta >= 200
//     just beyond x_tp (x <= 1.2 x_tp); elsewhere GSL's values, bit for bit.
//   - x > 1e4 (computed here: the asymptotic expansion of H+, or Steed's method where it does
//     not converge): within max(1e-12, 1e-15 x), the rounding of the phase at large x.
//   - The rest of the served range (l > 1000, 1000 < eta <= 1e4, x < 1e-3; order 0 computed
//     here below x = 1e-3): within 1e-12; G' of order 0 below the turning point at
//     eta < 1e-5, where it is tiny, within 1e-15 of sqrt(F'^2 + G'^2) instead.
//
// Beyond the double range: where the values are computed here, one that leaves the range
// comes back as 0 (F, F'), +inf (G) or -inf (G'). Where they are GSL's, GSL signals the
// overflow to its current error handler; the library installs none, and GSL's default handler
// prints a message and aborts. With the handler switched off by the caller, such results are
// 0 or +-inf; where GSL reports success but leaves NaN below the turning point (l of a hundred
// at x = 0.01 without charge, for instance), the library's own routes give 0 and +-inf instead.
// Every other error status GSL returns gives NaN, never the value GSL left behind.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_COULOMB_WAVE_H
#define TWOBODY_COULOMB_WAVE_H

#include "basics.h"

namespace CoulWave {

// The complex gamma function Gamma(z) = |Gamma| e^(i arg Gamma), from GSL's complex
// log-gamma. At the poles z = 0, -1, -2, ... (NaN, NaN); at z = 0 GSL signals a domain error
// first (the default handler aborts). Past Re z of about 171.6 |Gamma| overflows and the
// result has infinite or NaN components. Through ln Gamma, the error relative to |Gamma|
// grows as (|ln|Gamma|| + |arg Gamma|) times the rounding: within 5e-13 for Re z in
// [-10.5, 40], |Im z| <= 40 away from the poles.
Misc::complex cgamma(Misc::complex z);

// Writes *F = F_l(eta, x) and *G = G_l(eta, x). Note the order: x, then eta. The same values
// as GetFGprime, bit for bit. Pointers must be valid.
void GetFG(int l, double x, double eta, double* F, double* G);

// Writes F_l(eta, x), G_l(eta, x) and their x-derivatives dF_l/dx, dG_l/dx through the four
// pointers. Note the order: x, then eta. Where GSL serves (see the top of this file) it is
// asked for order l alone; below the turning point at l >= 5 outside its series region, where
// its single-order evaluation loses digits, for order 0, carried up to l here by the
// recurrence in l (GSL is not called close below the turning point, nor where the
// phase-integral expansion serves). Range, accuracy and errors: the top of this file.
// Pointers must be valid.
void GetFGprime(int l, double x, double eta, double* F, double* G, double* Fprime, double* Gprime);

// The outgoing Coulomb wave F_l - i G_l = -i (G_l + i F_l), from GetFG (x, then eta);
// for large x it behaves as -i e^(i theta). No Coulomb phase factor or other
// normalisation is applied. Accuracy and errors as GetFG; outside the served range (NaN, NaN).
Misc::complex CWoutgoing(int l, double x, double eta);

// The incoming Coulomb wave F_l + i G_l = i (G_l - i F_l), the complex conjugate of
// CWoutgoing, from GetFG (x, then eta); for large x it behaves as i e^(-i theta).
// Accuracy and errors as GetFG; outside the served range (NaN, NaN).
Misc::complex CWincoming(int l, double x, double eta);

} // namespace CoulWave

#endif
