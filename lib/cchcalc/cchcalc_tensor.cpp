// CCHCalc: monomial and traceless Cartesian tensor components of a direction.
#include "cchcalc.h"

#include "basics.h"
#include "internal/constants.h"

#include <cmath>
#include <limits>

namespace {

using twobody_detail::kNaN;

} // namespace

double CCHCalc::GetMFromE(int lx, int ly, int lz, double ex, double ey, double ez) const
{
    return (Misc::ipow(ex, lx) * Misc::ipow(ey, ly)) * Misc::ipow(ez, lz);
}

double CCHCalc::GetMFromThetaPhi(int lx, int ly, int lz, double theta, double phi) const
{
    const double s = std::sin(theta);
    return GetMFromE(lx, ly, lz, std::cos(phi) * s, std::sin(phi) * s, std::cos(theta));
}

double CCHCalc::GetAFromE(int lx, int ly, int lz, double ex, double ey, double ez) const
{
    if ((lx | ly | lz) < 0)
        return kNaN;
    const long long degree = static_cast<long long>(lx) + ly + lz;
    if (degree == 0)
        return 1.0;
    if (degree > LMAXFACT + 1 || lx > LMAXFACT || ly > LMAXFACT || lz > LMAXFACT)
        return kNaN;
    if (!fact || !doublefact)
        TablesAbsent();
    const double* f = fact;
    const double* df = doublefact;
    const int L = static_cast<int>(degree);

    const double P = (f[lx] * f[ly] * f[lz]) / df[2 * L - 1];

    // The y and z factors do not depend on the outer indices: form them once.
    constexpr int kTerms = (LMAXFACT + 1) / 2 + 1;
    double Y[kTerms], Z[kTerms];
    for (int j = 0; j <= ly / 2; ++j)
        Y[j] = (Misc::ipow(-0.5, j) * Misc::ipow(ey, ly - 2 * j)) / (f[j] * f[ly - 2 * j]);
    for (int k = 0; k <= lz / 2; ++k)
        Z[k] = (Misc::ipow(-0.5, k) * Misc::ipow(ez, lz - 2 * k)) / (f[k] * f[lz - 2 * k]);

    double S = 0.0;
    for (int i = 0; i <= lx / 2; ++i) {
        const double X =
            (Misc::ipow(-0.5, i) * Misc::ipow(ex, lx - 2 * i)) / (f[i] * f[lx - 2 * i]);
        for (int j = 0; j <= ly / 2; ++j)
            for (int k = 0; k <= lz / 2; ++k) {
                const int n = i + j + k;
                double t = ((P * X) * Y[j]) * Z[k];
                t = t * df[2 * (L - n) - 1];
                S = S + t;
            }
    }
    return S;
}

double CCHCalc::GetAFromThetaPhi(int lx, int ly, int lz, double theta, double phi) const
{
    const double s = std::sin(theta);
    return GetAFromE(lx, ly, lz, std::cos(phi) * s, std::sin(phi) * s, std::cos(theta));
}
