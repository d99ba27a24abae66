#include "coulomb_correction.h"
#include "internal/constants.h"

#include <cmath>

namespace CoulWave {

void phaseshift_CoulombCorrect(int l, double q, double eta, double& delta, double& ddeltadq)
{
    if (!(std::fabs(eta) > 1e-10) || l < 0)
        return;
    const double pi = twobody_detail::kPi;

    // C_l = exp(-pi eta) |Gamma(l + 1 + i eta)|^2 (DLMF 5.4.3 and 5.5.1; C_0 is the square of
    // DLMF 33.2.6). Gamow factor C_0 and its q-derivative; the running products then carry C_k and
    // C_k' up to k = l (only the last pair is needed, so no arrays are kept).
    const double x = (pi + pi) * eta;
    const double ex = std::exp(x);
    double c = 0.0, cp = 0.0; // strongly repulsive limit, where exp(x) overflows
    if (!std::isinf(ex)) {
        c = x / (ex - 1.0);
        cp = (c / q) * (c * ex - 1.0);
        for (int k = 0; k < l; ++k) {
            const double f =
                static_cast<double>(static_cast<long long>(k + 1) * (k + 1)) + eta * eta;
            cp = cp * f + ((eta * -2.0) * eta / q) * c; // uses C_k from before this step
            c = c * f;
        }
    }

    const double t = std::tan(delta);
    const double d = ddeltadq * (t * t + 1.0);
    const double tnew = c * t;
    double dnew = std::cos(delta) > 0.0 ? std::atan(tnew) : std::atan(tnew) + pi;
    if (dnew > pi)
        dnew = dnew + pi * (-2.0);
    delta = dnew;
    ddeltadq = (c * d + cp * t) / (tnew * tnew + 1.0);
}

} // namespace CoulWave
