// Coupling two spin-1/2 particles with Clebsch-Gordan coefficients, and summing spherical
// harmonics: the addition theorem sum_m |Y_lm|^2 = (2l + 1) / (4 pi) at any direction.
#include <twobody/twobody.h>

#include <cmath>
#include <cstdio>

int main()
{
    // |1 0> = (|up down> + |down up>) / sqrt 2, |0 0> = (|up down> - |down up>) / sqrt 2.
    std::printf("cg_triplet     %.15f\n", Misc::cgc(0.5, 0.5, 0.5, -0.5, 1, 0));
    std::printf("cg_singlet     %.15f\n", Misc::cgc(0.5, -0.5, 0.5, 0.5, 0, 0));
    // The same coefficient by the Racah sum, and one of integer spins: <1 0; 1 0 | 2 0>.
    std::printf("cg_racah       %.15f\n", Misc::oldcgc(0.5, 0.5, 0.5, -0.5, 1, 0));
    std::printf("cg_1010_20     %.15f\n", Misc::cgc(1, 0, 1, 0, 2, 0));

    const int l = 3;
    const double theta = 0.7, phi = 2.1; // rad
    double sum = 0.0;
    for (int m = -l; m <= l; ++m)
        sum += std::norm(SpherHarmonics::Ylm(l, m, theta, phi));
    std::printf("sum_m_Ylm2     %.15f\n", sum);
    return 0;
}
