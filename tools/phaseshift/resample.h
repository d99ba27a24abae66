// Resampling of one partial wave onto the uniform momentum grid.
#ifndef PHASESHIFT_RESAMPLE_H
#define PHASESHIFT_RESAMPLE_H

#include "grid.h"
#include "partial_wave.h"

namespace PhaseShift {

// Fills delta (rad) and ddeltadq (rad per MeV/c) for one wave. Up to the matching momentum
// q_m the threshold form tan(delta) = a q^(2l+1) holds (delta = 0 throughout when a = 0);
// above it, linear interpolation in the table, with the interval's slope as derivative.
// The table must have passed parseWaveTable (q_60 >= 350 MeV/c, momenta in order).
void resampleWave(const WaveTable& table, const PartialWave& wave, GridRow& delta,
                  GridRow& ddeltadq);

// The table rows that grid point k (0..700) is computed from, first <= last: the matching
// row in the threshold region, else the two ends of the interpolation interval.
void sourceRows(const WaveTable& table, const PartialWave& wave, int k, int& first, int& last);

} // namespace PhaseShift

#endif
