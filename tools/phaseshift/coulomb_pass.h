// The Coulomb pass of the table builder, between resampling and writing.
#ifndef PHASESHIFT_COULOMB_PASS_H
#define PHASESHIFT_COULOMB_PASS_H

#include "grid.h"

namespace PhaseShift {

// The proton-kaon Sommerfeld parameter at relative momentum q > 0 (MeV/c), with the
// relativistic reduced mass E_p E_K / W: eta = alpha (E_p E_K / W) / q, alpha = 1/137.036.
double sommerfeldEta(double q);

// Corrects every grid point q_k = k * 0.5 MeV/c, k = 1..700, of the three waves for the
// Coulomb interaction (l = 0, 1, 1), then sets all q = 0 entries to 0.
void applyCoulombPass(Grid& delta, Grid& ddeltadq);

} // namespace PhaseShift

#endif
