// The momentum grid of the phase-shift tables and the pair they describe: what the reader,
// the resampler, the Coulomb pass and the emitters share.
#ifndef PHASESHIFT_GRID_H
#define PHASESHIFT_GRID_H

#include <array>

namespace PhaseShift {

constexpr double kProtonMass = 938.28; // MeV
constexpr double kKaonMass = 493.677;  // MeV

constexpr int kWaves = 3;           // S11, P11, P13, in this order
constexpr int kSteps = 700;         // grid steps
constexpr int kPoints = kSteps + 1; // grid points q = 0, 0.5, ..., 350 MeV/c
constexpr double kDeltaQ = 0.5;     // MeV/c; point k lies at q = k * kDeltaQ

// One wave's values at the grid points q_k = k * 0.5 MeV/c, k = 0..700.
using GridRow = std::array<double, kPoints>;
// [wave][k], wave 0 = S11, 1 = P11, 2 = P13.
using Grid = std::array<GridRow, kWaves>;

} // namespace PhaseShift

#endif
