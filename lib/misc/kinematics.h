// Relativistic two-body and pair kinematics.
//
// Units: MeV for energies, masses and momenta (hbar = c = 1). A four-vector is an array
// of four doubles: p[0] the energy, p[1], p[2], p[3] the x, y, z momentum, z being the
// beam (longitudinal) axis. The metric is (+, -, -, -).
//
// Errors: fatal in triangle below threshold and in GetQinv for a time-like difference: the
// fatal handler of <twobody/fatal.h> is called, whose default prints one line on standard
// output and exits with status 1; elsewhere IEEE arithmetic (inf or NaN). No GSL call.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_KINEMATICS_H
#define TWOBODY_KINEMATICS_H

namespace Misc {

// The squared momentum q^2 (MeV^2) of either body in the rest frame of a system of
// invariant mass m0 that splits into bodies of masses m1 and m2 (MeV): the Kallen function
// lambda(m0^2, m1^2, m2^2) / (4 m0^2) (PDG Review of Particle Physics, "Kinematics",
// two-body decays). m0 = m1 + m2 gives 0 up to rounding. The fourth powers are formed
// directly, so the masses must lie between about 1e-77 and 1e77 MeV: above, the result is
// +inf (m0 beyond about 1.2e77) or NaN (beyond about 1.3e154); below, the fourth powers
// lose precision and then underflow, and the result is inaccurate and then 0.
// If m1 + m2 > m0: fatal, message "Disaster with triangle" (by default printed on standard
// output, then exit status 1); NaN if the handler returns. NaN arguments pass the test.
double triangle(double m0, double m1, double m2);

// The rapidity y = ln((p0 + p3) / (p0 - p3)) / 2 of four-vector p. Valid for |p3| < p0;
// p0 = +-p3 gives an infinity or NaN.
double GetRapidity(double* p);

// The rapidity difference y(p1) - y(p2).
double GetDely(double* p1, double* p2);

// The invariant relative momentum sqrt(-(p1 - p2)^2) of a pair (MeV), with the full
// difference p1 - p2. Meant for pairs whose momentum difference is space-like, which it
// always is for equal masses (2q in the pair rest frame). For unequal masses at small
// relative momentum the difference is time-like: in the pair rest frame, whenever
// |E1 - E2| > 2q*, for K-p below q* = 212.3 MeV/c. Then (p1 - p2)^2 > 0 and the call is
// fatal, message "DISASTER with GetQinv, wrong sign, = <-(p1-p2)^2 as %g>" (by default
// printed on standard output, then exit status 1); NaN if the handler returns.
double GetQinv(double* p1, double* p2);

// Boosts four-vector p by the four-velocity u (u.u = 1) into pout: the pure boost that
// takes the rest four-velocity (1, 0, 0, 0) into u (Jackson, Classical Electrodynamics,
// §11.3, in covariant form), so a body at rest, p = m (1, 0, 0, 0),
// comes out as m u. Pass u with negated spatial components for the inverse boost.
// pout may be the same array as p. For u not a four-velocity the result is meaningless.
void lorentz(double* u, double* p, double* pout);

// The out-side-long components (MeV) of the relative momentum q = (p1 - p2) / 2 of a pair
// with total momentum P = p1 + p2: long along z in the longitudinally comoving frame
// (P_z = 0); out along the transverse pair momentum and side perpendicular to it, both
// taken in the pair rest frame (out after the transverse boost). side is the signed
// projection (q_y P_x - q_x P_y) / P_T, positive when q is turned counter-clockwise from
// P_T about z. The first output is not written. Needs P_T > 0 and a pair velocity below 1;
// otherwise the results are whatever the arithmetic gives (infinities or NaN).
void outsidelong(double* p1, double* p2, double& qinv, double& qout, double& qside, double& qlong);

} // namespace Misc

#endif
