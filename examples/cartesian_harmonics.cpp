// Traceless Cartesian tensor components of a direction and their overlaps on the sphere.
#include <twobody/twobody.h>

#include <cmath>
#include <cstdio>

int main()
{
    const CCHCalc calc; // builds the shared tables; the last object releases them
    // The traceless part of z (x) z is diag(-1/3, -1/3, 2/3).
    std::printf("A_zz_of_z      %.15f\n", calc.GetAFromE(0, 0, 2, 0, 0, 1));
    std::printf("A_xx_of_z      %.15f\n", calc.GetAFromE(2, 0, 0, 0, 0, 1));
    // A direction given by its angles, and its rank-3 component along x y z.
    const double theta = 1.1, phi = 0.4;
    std::printf("A_xyz          %.15f\n", calc.GetAFromThetaPhi(1, 1, 1, theta, phi));
    // Overlaps: integral of A_a A_b over the unit sphere.
    std::printf("O_000_000      %.15f\n", calc.GetOverlap(0, 0, 0, 0, 0, 0));
    std::printf("O_200_200      %.15f\n", calc.GetOverlap(2, 0, 0, 2, 0, 0));
    std::printf("O_200_020      %.15f\n", calc.GetOverlap(2, 0, 0, 0, 2, 0));
    return 0;
}
