#include "coulomb_pass.h"

#include "partial_wave.h"

#include <twobody/basics.h>
#include <twobody/coulomb_correction.h>

#include <cmath>

namespace PhaseShift {

double sommerfeldEta(double q)
{
    const double ep = std::sqrt(q * q + kProtonMass * kProtonMass);
    const double ek = std::sqrt(q * q + kKaonMass * kKaonMass);
    const double w = ep + ek;
    // W^4 - (m_p^2 - m_K^2)^2 = 4 W^2 E_p E_K.
    return (Misc::ipow(w, 4) - Misc::ipow(kProtonMass * kProtonMass - kKaonMass * kKaonMass, 2)) /
           (((((w * 4) * w) * w) * 137.036) * q);
}

void applyCoulombPass(Grid& delta, Grid& ddeltadq)
{
    for (int k = 1; k <= kSteps; ++k) {
        const double q = k * kDeltaQ;
        const double eta = sommerfeldEta(q);
        for (int w = 0; w < kWaves; ++w)
            CoulWave::phaseshift_CoulombCorrect(kPartialWaves[w].l, q, eta, delta[w][k],
                                                ddeltadq[w][k]);
    }
    for (int w = 0; w < kWaves; ++w) {
        ddeltadq[w][0] = 0.0;
        delta[w][0] = ddeltadq[w][0];
    }
}

} // namespace PhaseShift
