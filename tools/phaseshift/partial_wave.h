// Partial-wave input of the phase-shift table builder: the three kaon-proton waves, the
// reading of their files and the relative momentum of each row.
#ifndef PHASESHIFT_PARTIAL_WAVE_H
#define PHASESHIFT_PARTIAL_WAVE_H

#include "grid.h"

#include <array>
#include <string>

namespace PhaseShift {

constexpr int kRows = 61;               // data rows per input file, numbered 0..60
constexpr double kMaxLabMomentum = 1e9; // MeV/c; the conversion to q stays accurate below
// The largest input file read, in bytes. A table of 61 rows takes a few kilobytes even with
// long comments; anything bigger is not a table (or /dev/zero behind a symlink).
constexpr long kMaxFileBytes = 1L << 20;

struct PartialWave {
    const char* name;
    const char* file;
    int l;        // orbital angular momentum
    int matchRow; // row where the threshold form tan(delta) = a q^(2l+1) is fitted
    int power;    // threshold power 2l + 1
};

// S11, P11, P13, always handled in this order.
extern const std::array<PartialWave, kWaves> kPartialWaves;

// One wave's table: relative momentum q_i (MeV/c, q_0 = 0) and phase shift delta_i (rad),
// with the threshold coefficient a and the matching momentum q_m, and the line of the file
// (from 1) that holds each row, for messages.
struct WaveTable {
    std::array<double, kRows> q{};
    std::array<double, kRows> delta{};
    std::array<long long, kRows> line{};
    double a = 0.0;
    double qm = 0.0;
};

// The relative momentum (MeV/c) of the kaon-proton pair in its centre-of-mass frame for a
// kaon of laboratory momentum plab (MeV/c) on a proton at rest.
double relativeMomentum(double plab);

// Parses the text of one input file: a header line, then 61 rows that begin with the
// laboratory momentum (MeV/c) and the phase shift (degrees); the rest of each row's line and
// any lines after row 60 are ignored. Checks what the resampling relies on: two numbers per
// row, finite values and non-negative non-decreasing momenta up to kMaxLabMomentum in rows
// 1..60, a phase shift whose conversion to radians is finite, a positive momentum at
// the matching row and q_60 >= 350 MeV/c. On failure returns false and sets error to one
// line (without the file name) naming the line and row; table is then unspecified.
bool parseWaveTable(const std::string& text, const PartialWave& wave, WaveTable& table,
                    std::string& error);

// Reads and parses file (see parseWaveTable). A file larger than kMaxFileBytes is refused
// unread beyond that size. On failure error is one line naming the file.
bool readWaveTable(const char* file, const PartialWave& wave, WaveTable& table, std::string& error);

} // namespace PhaseShift

#endif
