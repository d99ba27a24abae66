#include "kinematics.h"

#include "basics.h"
#include "internal/constants.h"
#include "internal/report.h"

#include <cmath>
#include <cstdio>

namespace Misc {
namespace {
const int g[4] = {1, -1, -1, -1}; // Minkowski metric
} // namespace

double triangle(double m0, double m1, double m2)
{
    if (m1 + m2 > m0) {
        twobody_detail::reportFatal("Misc::triangle", "Disaster with triangle", stdout);
        return twobody_detail::kNaN;
    }
    const double a = m0 * m0;
    const double b = m1 * m1;
    const double c = m2 * m2;
    return (a * a + b * b + c * c + (a * b + a * c + b * c) * (-2)) / (a * 4);
}

double GetRapidity(double* p) { return 0.5 * std::log((p[0] + p[3]) / (p[0] - p[3])); }

double GetDely(double* p1, double* p2) { return GetRapidity(p1) - GetRapidity(p2); }

double GetQinv(double* p1, double* p2)
{
    const double q2 = ipow(p1[1] - p2[1], 2) + ipow(p1[2] - p2[2], 2) + ipow(p1[3] - p2[3], 2) -
                      ipow(p1[0] - p2[0], 2);
    if (q2 < 0) {
        char message[64]; // %g takes at most 13 characters
        std::snprintf(message, sizeof message, "DISASTER with GetQinv, wrong sign, = %g", q2);
        twobody_detail::reportFatal("Misc::GetQinv", message, stdout);
        return twobody_detail::kNaN;
    }
    return std::sqrt(q2);
}

void lorentz(double* u, double* p, double* pout)
{
    const int n[4] = {1, 0, 0, 0};
    double udotn = 0.0, pdotn = 0.0, pdotu = 0.0;
    for (int mu = 0; mu < 4; ++mu) {
        udotn += g[mu] * u[mu] * n[mu];
        pdotn += g[mu] * p[mu] * n[mu];
        pdotu += g[mu] * p[mu] * u[mu];
    }
    for (int mu = 0; mu < 4; ++mu)
        pout[mu] = p[mu] + 2 * pdotn * u[mu] - ((pdotu + pdotn) / (udotn + 1)) * (n[mu] + u[mu]);
}

void outsidelong(double* p1, double* p2, double& /*qinv*/, double& qout, double& qside,
                 double& qlong)
{
    double q[4], P[4];
    for (int mu = 0; mu < 4; ++mu) {
        q[mu] = (p1[mu] - p2[mu]) * 0.5;
        P[mu] = p1[mu] + p2[mu];
    }

    // Longitudinal boost into the frame where P has no z component.
    const double betaL = P[3] / P[0];
    const double gammaL = 1.0 / std::sqrt(1.0 - betaL * betaL);
    P[0] = gammaL * (P[0] - betaL * P[3]);
    P[3] = 0.0;
    const double q3 = q[3];
    q[3] = gammaL * (q[3] - betaL * q[0]);
    q[0] = gammaL * (q[0] - betaL * q3);

    const double pT = std::sqrt(P[1] * P[1] + P[2] * P[2]);
    const double out = (q[1] * P[1] + q[2] * P[2]) / pT;
    const double side = (q[2] * P[1] - q[1] * P[2]) / pT;

    // Transverse boost along P_T into the pair rest frame; only out changes.
    const double betaT = pT / P[0];
    const double gammaT = 1.0 / std::sqrt(1.0 - betaT * betaT);
    qout = gammaT * (out - betaT * q[0]);
    qside = side;
    qlong = q[3];
}

} // namespace Misc
