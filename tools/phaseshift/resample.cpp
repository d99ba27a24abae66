#include "resample.h"

#include <cmath>

namespace PhaseShift {

void resampleWave(const WaveTable& table, const PartialWave& wave, GridRow& delta,
                  GridRow& ddeltadq)
{
    const double a = table.a;
    int j = 0; // interval cursor: the interval (q_{j-1}, q_j] holds the last grid point
    for (int k = 0; k <= kSteps; ++k) {
        const double q = k * kDeltaQ;
        double d, dd;
        if (q <= table.qm) {
            if (a == 0.0) {
                d = 0.0; // tan(delta) = 0 q^n; the sign factor a / |a| has no value
                dd = 0.0;
            } else {
                double aqn = a;
                for (int i = 0; i < wave.power; ++i)
                    aqn *= q;
                d = std::atan(std::fabs(aqn)) * a / std::fabs(a);
                // n a q^(n-1) cos^2(delta), multiplied from the left.
                double slope = a * wave.power;
                for (int i = 1; i < wave.power; ++i)
                    slope *= q;
                const double c = std::cos(d);
                dd = slope * (c * c);
            }
        } else {
            if (j > 0)
                --j;
            do
                ++j;
            while (table.q[j] < q && j < kRows - 1);
            const double q0 = table.q[j - 1], q1 = table.q[j];
            const double d0 = table.delta[j - 1], d1 = table.delta[j];
            d = ((q - q0) * d1 + (q1 - q) * d0) / (q1 - q0);
            dd = (d1 - d0) / (q1 - q0);
        }
        delta[k] = d;
        ddeltadq[k] = dd;
    }
}

void sourceRows(const WaveTable& table, const PartialWave& wave, int k, int& first, int& last)
{
    const double q = k * kDeltaQ;
    if (q <= table.qm) {
        first = last = wave.matchRow;
        return;
    }
    int j = 1; // the same interval as resampleWave's search: the first row with q_j >= q
    while (table.q[j] < q && j < kRows - 1)
        ++j;
    first = j - 1;
    last = j;
}

} // namespace PhaseShift
