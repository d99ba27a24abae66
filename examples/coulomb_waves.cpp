// Coulomb waves of a K+ p pair at a radius of 5 fm and q = 100 MeV/c, for l = 0, 1, 2:
// F_l, G_l, their derivatives, the Wronskian F' G - F G' = 1, and the outgoing wave.
#include <twobody/twobody.h>

#include <cmath>
#include <cstdio>

int main()
{
    const double hbarc = 197.3269804; // MeV fm
    const double q = 100.0, r = 5.0;  // MeV/c, fm
    const double x = q * r / hbarc;   // dimensionless radius k r
    const double eta = 0.5;           // a strongly repulsive pair, for show

    std::printf("x              %.13f\n", x);
    for (int l = 0; l <= 2; ++l) {
        double F, G, Fp, Gp;
        CoulWave::GetFGprime(l, x, eta, &F, &G, &Fp, &Gp); // x before eta
        const Misc::complex out = CoulWave::CWoutgoing(l, x, eta);
        std::printf("l=%d F %.12f G %.12f F' %.12f G' %.12f W %.3e H- (%.6f, %.6f)\n", l, F, G, Fp,
                    Gp, Fp * G - F * Gp - 1, out.real(), out.imag());
    }
    double F0, G0;
    CoulWave::GetFG(0, x, eta, &F0, &G0);
    std::printf("F0             %.12f\n", F0);
    std::printf("G0             %.12f\n", G0);
    return 0;
}
