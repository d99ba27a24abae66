#include "clebsch_gordan.h"

#include <gsl/gsl_sf_coupling.h>

#include <cmath>

namespace Misc {

double cgc(double j1, double m1, double j2, double m2, double J, double M)
{
    const long n = std::lrint((M + j1) - j2);
    const double s = (n % 2 == 0) ? 1.0 : -1.0;
    const double f = s * std::sqrt(2.0 * J + 1.0);
    // GSL takes twice each value; lrint snaps onto the nearest half-integer.
    const int two_j1 = static_cast<int>(std::lrint(2.0 * j1));
    const int two_j2 = static_cast<int>(std::lrint(2.0 * j2));
    const int two_J = static_cast<int>(std::lrint(2.0 * J));
    const int two_m1 = static_cast<int>(std::lrint(2.0 * m1));
    const int two_m2 = static_cast<int>(std::lrint(2.0 * m2));
    const int minus_two_M = -static_cast<int>(std::lrint(2.0 * M));
    return f * gsl_sf_coupling_3j(two_j1, two_j2, two_J, two_m1, two_m2, minus_two_M);
}

double oldcgc(double j1, double m1, double j2, double m2, double J, double M)
{
    // J >= j1 - j2 is not tested: it fails only through F3, whose product then hits 0.
    if (j1 + j2 < J)
        return 0.0;
    if (J + j1 < j2)
        return 0.0;
    if (m1 + m2 != M)
        return 0.0;
    if (!(M <= J))
        return 0.0;
    if (!(-J <= M))
        return 0.0;

    const double F1 = (2.0 * J + 1.0) * cgc_fractorial(j1 + j2 - J, j1 + j2 + J + 1.0);
    const double F2 = cgc_fractorial(j1 - m1, j1 - j2 + J);
    const double F3 = cgc_fractorial(j2 - m2, j2 - j1 + J);
    const double F4 = cgc_fractorial(J + M, j1 + m1);
    const double F5 = cgc_fractorial(J - M, j2 + m2);

    // Only the k that keep every factorial argument non-negative contribute.
    double sum = 0.0;
    for (double k = 0.0; k <= 2.0 * (j1 + j2) + J; k += 1.0) {
        if (j1 - m1 - k >= 0.0 && J - M - k >= 0.0 && j2 - J + m1 + k >= 0.0) {
            double t = std::pow(-1.0, k + j1 - m1);
            t = t * cgc_fractorial(j1 + m1 + k, j1 - m1 - k) *
                cgc_fractorial(j2 + J - m1 - k, J - M - k);
            const double d = cgc_factorial(k) * cgc_factorial(j2 - J + m1 + k);
            sum = sum + t / d;
        }
    }
    return std::sqrt(F1 * F2 * F3 * F4 * F5) * sum;
}

double cgc_fractorial(double a, double b)
{
    if (a > b) {
        double product = 1.0;
        for (double i = b + 1.0; a + 1.0 > i; i += 1.0)
            product *= i;
        return product;
    }
    if (a < b) {
        double product = 1.0;
        for (double i = a + 1.0; b + 1.0 > i; i += 1.0)
            product *= i;
        return 1.0 / product;
    }
    return 1.0;
}

double cgc_factorial(double x)
{
    double product = 1.0;
    for (double i = 1.0; i <= x; i += 1.0)
        product *= i;
    return product;
}

int cgc_delta(int a, int b) { return a == b ? 1 : 0; }

} // namespace Misc
