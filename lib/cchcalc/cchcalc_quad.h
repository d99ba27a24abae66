// Extended precision for the alternating sums whose cancellation is too deep for the
// compensated sums of cchcalc_dd.h; not installed.
//
// __float128 has a 113-bit significand; GCC and Clang both provide it on x86-64 and do its
// arithmetic in libgcc, which every C++ program links already, so it adds no library for a
// user. Where long double is itself the 113-bit format (AArch64 Linux) it serves instead.
// The sums cancel by up to 10^20 at L = 56; 34 digits leave more than 13.
#ifndef TWOBODY_CCHCALC_QUAD_H
#define TWOBODY_CCHCALC_QUAD_H

#include "cchcalc.h"

#include <cfloat>

namespace cchcalc_detail {

#if defined(__SIZEOF_FLOAT128__)
__extension__ typedef __float128 Quad;
#elif LDBL_MANT_DIG >= 113
typedef long double Quad;
#else
#error "CCHCalc needs a floating-point type with a 113-bit significand"
#endif

// Highest degrees whose sums are formed in double, as they always were: up to them the
// cancellation costs the overlaps less than 10 ulp of their scale, the components of a
// direction less than 10^-14 of theirs (the latter sum, not squared and with the monomial
// factors, cancels sooner). Above, the same sums are compensated (cchcalc_dd.h), and formed
// in Quad, rounded once, only where their cancellation is too deep for that.
constexpr int kDoubleSumMaxDegree = 19;
constexpr int kDoubleComponentMaxDegree = 8;

// Most terms along one axis of a triple sum: i = 0..floor(LMAXFACT / 2).
constexpr int kMaxTerms = CCHCalc::LMAXFACT / 2 + 1;
// Highest degree of a sum: LMAXFACT + 1.
constexpr int kMaxDegree = CCHCalc::LMAXFACT + 1;

// The factors of both sums in Quad, from running products (relative rounding below
// 10^-32), built once on first use. Reciprocals and per-degree factors are tabulated so
// that the sums multiply and never divide.
struct QuadFactorials {
    Quad fact[CCHCalc::LMAXFACT + 1];           // n!
    Quad inverseFact[CCHCalc::LMAXFACT + 1];    // 1 / n!
    Quad doublefact[2 * CCHCalc::LMAXFACT + 3]; // entry n + 1 holds n!!, from (-1)!! = 1
    Quad halfPower[kMaxTerms];                  // (-1/2)^n, exact
    // Overlap sums of degree L: (-1/2)^n (2L-2n-1)!! n!, and 4 / ((2L+1) ((2L-1)!!)^2).
    Quad overlapTerm[kMaxDegree + 1][kMaxTerms];
    Quad overlapPrefactor[kMaxDegree + 1];
    Quad DoubleFactorial(int n) const { return doublefact[n + 1]; }
};
const QuadFactorials& quadFactorials();

// The sum over i_m = lo_m..lo_m + len_m - 1 (m = 0, 1, 2) of
//     c[i_0 + i_1 + i_2] g[0][i_0 - lo_0] g[1][i_1 - lo_1] g[2][i_2 - lo_2],
// the form of both the overlap and the traceless-component sums. Regrouped: the axis with
// most terms is first summed against c for every value of the other two indices' sum, so
// the work is about len_u len_v rather than len_0 len_1 len_2 products.
inline Quad TripleSum(const Quad (&g)[3][kMaxTerms], const int (&lo)[3], const int (&len)[3],
                      const Quad* c)
{
    int w = 0;
    for (int m = 1; m < 3; ++m)
        if (len[m] > len[w])
            w = m;
    const int u = w == 0 ? 1 : 0, v = w == 2 ? 1 : 2;
    // W[k] = sum over i_w of c[lo_u + lo_v + k + i_w] g_w(i_w), k = 0..len_u + len_v - 2.
    Quad W[2 * kMaxTerms];
    const Quad* cw = c + lo[u] + lo[v] + lo[w];
    for (int k = 0; k <= len[u] + len[v] - 2; ++k) {
        Quad sum = 0;
        for (int t = 0; t < len[w]; ++t)
            sum += cw[k + t] * g[w][t];
        W[k] = sum;
    }
    Quad S = 0;
    for (int x = 0; x < len[u]; ++x) {
        Quad inner = 0;
        for (int y = 0; y < len[v]; ++y)
            inner += g[v][y] * W[x + y];
        S += g[u][x] * inner;
    }
    return S;
}

} // namespace cchcalc_detail

#endif
