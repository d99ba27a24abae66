// Coulomb correction of a partial-wave phase shift and of its momentum derivative.
//
// Errors: unchanged (delta and ddeltadq left as they are) for l < 0 or |eta| <= 1e-10;
// NaN for l >= 99. No GSL call.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_COULOMB_CORRECTION_H
#define TWOBODY_COULOMB_CORRECTION_H

namespace CoulWave {

// Rescales the phase shift delta (rad) of orbital angular momentum l by the Coulomb factor
//   C_l(eta) = 2 pi eta / (exp(2 pi eta) - 1) * prod_{k=1..l} (k^2 + eta^2)
//            = exp(-pi eta) |Gamma(l + 1 + i eta)|^2 = [(2l+1)! / 2^l]^2 C_l^DLMF(eta)^2,
// C_l^DLMF being the normalisation of DLMF 33.2.5 (C_0 as in DLMF 33.2.6),
// tan(delta_new) = C_l tan(delta), keeping delta_new in the quadrant of delta (result in
// (-pi, pi]), and replaces ddeltadq (rad per unit of q) by the exact q-derivative of
// delta_new, taking eta proportional to 1/q (d eta/dq = -eta/q). Both references are read,
// then overwritten. eta is the Sommerfeld parameter (> 0 repulsive, < 0 attractive); q is the
// relative momentum, in the unit of the derivative; it enters only the derivative and must
// not be 0 (the caller's precondition: q = 0 gives an infinite or NaN derivative).
// No change at all when |eta| > 1e-10 is false (eta = 0, tiny, or NaN) or when l < 0.
// For eta above about 112.97, where exp(2 pi eta) overflows, the limit C_l = C_l' = 0 is
// used: delta_new is 0 (or pi in the second and third quadrants) and ddeltadq is finite.
// For l >= 99 (l >= 98 at some eta) C_l overflows, and both results are NaN, even for
// delta = 0.
// Accuracy, against 40-digit references for l <= 8: C_l, delta_new and ddeltadq within
// 1e-13 relative for |eta| >= 1e-3. At smaller |eta| the plain difference exp(2 pi eta) - 1
// costs about 2e-17 / |eta| relative in C_l (1e-8 at eta = 1e-9); the arithmetic is kept.
// Pure and thread-safe; allocates nothing.
void phaseshift_CoulombCorrect(int l, double q, double eta, double& delta, double& ddeltadq);

} // namespace CoulWave

#endif
