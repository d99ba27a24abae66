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
// Served range: 0 <= l <= 10000, |x| <= 1e8, |eta| <= 1e10, all finite. (The ceiling on l
// lies far above any partial-wave use and bounds the scratch arrays.) Outside it (a NaN
// or infinite argument, l < 0 or l > 10000, |x| > 1e8, |eta| > 1e10) every routine returns
// NaN at once without calling GSL, whose Coulomb routines would loop forever there
// (x >= 2^30 at l >= 1, eta toward -infinity, NaN). Inside it x must be > 0 and F, G inside
// the range of double. The library installs no GSL error handler: where GSL signals an
// error (x <= 0; F and G far beyond the double range, as for eta of a few hundred at x of
// order 1, where F ~ e^(-pi eta); x above about 9e4, where GSL's continued fraction gives
// up) GSL's current handler is called, and its default prints a message on standard error
// and aborts. With the handler switched off by the caller, such results are infinite or
// meaningless, and so is a tiny x at large l (F_100 at x = 0.01, say), where GSL returns NaN
// without an error.
//
// Accuracy, against 40-digit references for l = 0...50, eta in [-50, 100], x in [1e-3, 1e3]
// where F, G, F', G' are normal doubles: relative to each function below the turning point
// x_tp = eta + sqrt(eta^2 + l(l+1)), relative to sqrt(F^2 + G^2) (sqrt(F'^2 + G'^2) for the
// derivatives) at and beyond it. Below x = 2 eta for a repulsive pair the values are mostly
// computed here, not by GSL (see GetFG): within 2e-13 there. Elsewhere they are GSL's, bit
// for bit, within 1e-11 (1.4e-12 at worst, measured).
//
// Errors: NaN outside the served range above; inside it GSL's handler (abort by default;
// NaN, 0 or +-inf with the handler off).
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_COULOMB_WAVE_H
#define TWOBODY_COULOMB_WAVE_H

#include "basics.h"

namespace CoulWave {

// The complex gamma function Gamma(z) = |Gamma| e^(i arg Gamma), from GSL's complex
// log-gamma. Accurate to rounding away from the poles z = 0, -1, -2, ...; at z = 0 GSL
// signals a domain error (the default handler aborts), at the negative integers it gives
// a huge, meaningless value. Past Re z of about 171.6 |Gamma| overflows and the result has
// infinite or NaN components. Through ln Gamma, the error relative to |Gamma| grows as
// (|ln|Gamma|| + |arg Gamma|) times the rounding: within 5e-13 for Re z in [-10.5, 40],
// |Im z| <= 40 away from the poles (2e-13 at z = 1 - 50i, measured).
Misc::complex cgamma(Misc::complex z);

// Writes *F = F_l(eta, x) and *G = G_l(eta, x). Note the order: x, then eta.
// GSL is asked for all orders 0 ... l and the last is kept (l + 1 values per call), except
// below x = 2 eta for a repulsive pair, outside GSL's small-x series region (and inside it
// at l <= 4 and eta x > 0.5): there GSL's JWKB branch is wrong by up to 5e-2 and its series
// by up to 8e-8, so G, G' of order 0 are evaluated at max(2 eta, 4) by Steed's method and
// carried inward by Taylor series, F follows from F'/F and the Wronskian (for eta <= 5000 and
// values inside the double range); accurate to 2e-13 relative, at up to about twice GSL's
// cost for eta up to 5, more deep below the barrier at large eta (about 8 times at eta = 100,
// x = 1.5). Arguments outside the served range give NaN without calling GSL; x <= 0 and the
// double range: see the top of this file. Pointers must be valid.
void GetFG(int l, double x, double eta, double* F, double* G);

// Writes F_l(eta, x), G_l(eta, x) and their x-derivatives dF_l/dx, dG_l/dx through the four
// pointers. Note the order: x, then eta. GSL is asked for order l alone, except below
// x = 2 eta for a repulsive pair (computed here as in GetFG, within 2e-13, at up to 2.5
// times the cost of GSL's single-order call for eta up to 5, about 9 times at eta = 100,
// x = 1.5), and below the turning point at l >= 5 or where GSL reports a loss of accuracy:
// there its single-order evaluation loses up to all digits, so GSL is asked for orders
// 0 ... l instead, as in GetFG. F and G agree with GetFG to rounding. Arguments outside the
// served range give NaN on all four outputs without calling GSL; x <= 0 and the double
// range: see the top.
void GetFGprime(int l, double x, double eta, double* F, double* G, double* Fprime, double* Gprime);

// The outgoing Coulomb wave F_l - i G_l = -i (G_l + i F_l), from GetFG (x, then eta);
// for large x it behaves as -i e^(i theta). No Coulomb phase factor or other
// normalisation is applied. Accuracy as GetFG; outside the served range (NaN, NaN).
Misc::complex CWoutgoing(int l, double x, double eta);

// The incoming Coulomb wave F_l + i G_l = i (G_l - i F_l), the complex conjugate of
// CWoutgoing, from GetFG (x, then eta); for large x it behaves as i e^(-i theta).
// Accuracy as GetFG; outside the served range (NaN, NaN).
Misc::complex CWincoming(int l, double x, double eta);

} // namespace CoulWave

#endif
