// CCHCalc: monomial and traceless Cartesian tensor components of a direction.
#include "cchcalc.h"
#include "cchcalc_quad.h"

#include "basics.h"
#include "internal/constants.h"

#include <cmath>
#include <limits>

namespace {

using twobody_detail::kNaN;

// A_l(e) of degree L > kDoubleComponentMaxDegree: the sum of GetAFromE in Quad, rounded once.
// Same terms, lx! ly! lz! / (2L-1)!! (-1/2)^n (2L-2n-1)!! prod_m e_m^(l_m-2i_m) /
// (i_m! (l_m-2i_m)!).
double TracelessQuad(const int (&l)[3], const double (&e)[3], int L)
{
    using namespace cchcalc_detail;
    const QuadFactorials& q = quadFactorials();
    Quad g[3][kMaxTerms];
    const int lo[3] = {0, 0, 0};
    int len[3];
    for (int m = 0; m < 3; ++m) {
        len[m] = l[m] / 2 + 1;
        const Quad em = e[m], e2 = em * em;        // e2 exact: 106 bits suffice
        Quad power = l[m] % 2 != 0 ? em : Quad(1); // e_m^(l_m - 2i), from i = l_m / 2 down
        for (int i = l[m] / 2; i >= 0; --i) {
            g[m][i] = q.halfPower[i] * power * q.inverseFact[i] * q.inverseFact[l[m] - 2 * i];
            power = power * e2;
        }
    }
    // c[n] = (2(L - n) - 1)!!, entry 2(L - n) of the shifted table, read backwards.
    Quad c[kMaxTerms];
    for (int n = 0; n <= L / 2; ++n)
        c[n] = q.DoubleFactorial(2 * (L - n) - 1);
    const Quad S = TripleSum(g, lo, len, c);
    const Quad P = q.fact[l[0]] * q.fact[l[1]] * q.fact[l[2]] / q.DoubleFactorial(2 * L - 1);
    return static_cast<double>(P * S);
}

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

// The traceless (detracer) projection of e^l: the harmonic part of the monomial, n trace
// removals each weighted (-1/2)^n (2L - 2n - 1)!! / (2L - 1)!! (E. W. Hobson, The Theory of
// Spherical and Ellipsoidal Harmonics, 1931, ch. III; J. Applequist, J. Phys. A 22 (1989)
// 4303).
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
        return TablesAbsent("CCHCalc::GetAFromE");
    const double* f = fact;
    const double* df = doublefact;
    const int L = static_cast<int>(degree);
    // Above this degree the alternating sum cancels beyond double precision.
    if (L > cchcalc_detail::kDoubleComponentMaxDegree)
        return TracelessQuad({lx, ly, lz}, {ex, ey, ez}, L);

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
