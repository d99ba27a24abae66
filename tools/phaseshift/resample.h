// Resampling of one partial wave onto the uniform momentum grid.
#ifndef PHASESHIFT_RESAMPLE_H
#define PHASESHIFT_RESAMPLE_H

#include "partial_wave.h"

#include <array>

namespace PhaseShift {

// One wave's values at the grid points q_k = k * 0.5 MeV/c, k = 0..700.
using GridRow = std::array<double, kPoints>;
// [wave][k], wave 0 = S11, 1 = P11, 2 = P13.
using Grid = std::array<GridRow, kWaves>;

// Fills delta (rad) and ddeltadq (rad per MeV/c) for one wave. Up to the matching momentum
// q_m the threshold form tan(delta) = a q^(2l+1) holds (delta = 0 throughout when a = 0);
// above it, linear interpolation in the table, with the interval's slope as derivative.
// The table must have passed parseWaveTable (q_60 >= 350 MeV/c, momenta in order).
void resampleWave(const WaveTable& table, const PartialWave& wave, GridRow& delta,
                  GridRow& ddeltadq);

} // namespace PhaseShift

#endif
