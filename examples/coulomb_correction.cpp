// The Coulomb correction of a measured K+ p S-wave phase shift at q = 20 MeV/c.
//
// The pair's Sommerfeld parameter uses the relativistic reduced mass E_p E_K / W; the
// correction rescales tan(delta) by C_0(eta) = 2 pi eta / (exp(2 pi eta) - 1) and carries
// the derivative along.
#include <twobody/twobody.h>

#include <cmath>
#include <cstdio>

int main()
{
    const double mp = 938.28, mk = 493.677, alpha = 1 / 137.036; // MeV
    const double pi = std::acos(-1.0);
    const double q = 20.0; // MeV/c
    const double ep = std::hypot(q, mp), ek = std::hypot(q, mk);
    const double eta = alpha * (ep * ek / (ep + ek)) / q;

    double delta = -10.0 * pi / 180; // rad, the measured (nuclear + Coulomb) value
    double ddeltadq = -0.004;        // rad per MeV/c
    CoulWave::phaseshift_CoulombCorrect(0, q, eta, delta, ddeltadq);

    std::printf("eta            %.10f\n", eta);
    std::printf("C0             %.10f\n", 2 * pi * eta / std::expm1(2 * pi * eta));
    std::printf("delta_deg      %.10f\n", delta * 180 / pi);
    std::printf("ddeltadq       %.10e\n", ddeltadq);
    return 0;
}
