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
// Valid range: l >= 0, x > 0, any eta, with F and G inside the range of double. The
// library installs no GSL error handler: where GSL signals an error (x <= 0, or F and G
// beyond the double range, as for eta of a few hundred at x of order 1, where
// F ~ e^(-pi eta)) GSL's current handler is called, and its default prints a message on
// standard error and aborts. With the handler switched off by the caller, such results are
// infinite or meaningless, and so is a tiny x at large l (F_100 at x = 0.01, say), where
// GSL returns NaN without an error.
#ifndef TWOBODY_COULOMB_WAVE_H
#define TWOBODY_COULOMB_WAVE_H

#include "basics.h"

namespace CoulWave {

// The complex gamma function Gamma(z) = |Gamma| e^(i arg Gamma), from GSL's complex
// log-gamma. Accurate to rounding away from the poles z = 0, -1, -2, ...; at z = 0 GSL
// signals a domain error (the default handler aborts), at the negative integers it gives
// a huge, meaningless value. Past Re z of about 171.6 |Gamma| overflows and the result has
// infinite or NaN components.
Misc::complex cgamma(Misc::complex z);

// Writes *F = F_l(eta, x) and *G = G_l(eta, x). Note the order: x, then eta.
// GSL is asked for all orders 0 ... l and the last is kept (l + 1 values per call).
// A negative l writes NaN to *F and *G and calls no GSL function.
// Outside x > 0 and the double range, see the top of this file. Pointers must be valid.
void GetFG(int l, double x, double eta, double* F, double* G);

// Writes F_l(eta, x), G_l(eta, x) and their x-derivatives dF_l/dx, dG_l/dx through the four
// pointers. Note the order: x, then eta. GSL is asked for order l alone; F and G agree
// with GetFG to rounding. A negative l writes NaN to all four outputs and calls no GSL
// function. Outside x > 0 and the double range, see the top of this file.
void GetFGprime(int l, double x, double eta, double* F, double* G, double* Fprime, double* Gprime);

// The outgoing Coulomb wave F_l - i G_l = -i (G_l + i F_l), from GetFG (x, then eta);
// for large x it behaves as -i e^(i theta). No Coulomb phase factor or other
// normalisation is applied. A negative l gives (NaN, NaN).
Misc::complex CWoutgoing(int l, double x, double eta);

// The incoming Coulomb wave F_l + i G_l = i (G_l - i F_l), the complex conjugate of
// CWoutgoing, from GetFG (x, then eta); for large x it behaves as i e^(-i theta).
// A negative l gives (NaN, NaN).
Misc::complex CWincoming(int l, double x, double eta);

} // namespace CoulWave

#endif
