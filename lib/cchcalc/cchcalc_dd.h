// Compensated (double-double) evaluation of the alternating sums; not installed.
//
// A value is carried as an unevaluated sum hi + lo of two doubles, and products and sums are
// formed with error-free transformations: TwoProduct by a fused multiply-add (Fma = true,
// only where the processor has one: in software it is slower than the alternative) or by
// Dekker's splitting (T. J. Dekker, Numer. Math. 18 (1971) 224), TwoSum by Knuth's six
// additions. The sums accumulate as Dot2 does (T. Ogita, S. M. Rump, S. Oishi, SIAM J. Sci.
// Comput. 26 (2005) 1955): the error of every addition and product is collected in a second
// double, so the result is as accurate as if summed in twice the working precision, error
// about n eps^2 sum |terms| plus one final rounding. The files using this are compiled
// without floating-point contraction: a multiply fused into a TwoSum breaks it.
#ifndef TWOBODY_CCHCALC_DD_H
#define TWOBODY_CCHCALC_DD_H

#include "cchcalc.h"

#include <cmath>

#if defined(__GNUC__)
#define TWOBODY_DD_INLINE inline __attribute__((always_inline))
#else
#define TWOBODY_DD_INLINE inline
#endif

namespace cchcalc_detail {

// hi + lo, |lo| at most about ulp(hi), and the halves h + t = hi of 26 and 27 bits
// (Veltkamp's split) for Dekker's product, formed once per value rather than per product.
struct DD {
    double hi, lo, h, t;
};

template <bool Fma>
TWOBODY_DD_INLINE DD MakeDD(double hi, double lo)
{
    if (Fma)
        return {hi, lo, 0.0, 0.0};
    const double c = 134217729.0 * hi; // 2^27 + 1
    const double h = c - (c - hi);
    return {hi, lo, h, hi - h};
}

// The rounding error of p = fl(a.hi b.hi), exactly: a.hi b.hi = p + error.
template <bool Fma>
TWOBODY_DD_INLINE double ProductError(const DD& a, const DD& b, double p)
{
    if (Fma)
        return std::fma(a.hi, b.hi, -p);
    return a.t * b.t - (((p - a.h * b.h) - a.t * b.h) - a.h * b.t);
}

// a b as a double-double; drops only a.lo b.lo.
template <bool Fma>
TWOBODY_DD_INLINE DD Mul(const DD& a, const DD& b)
{
    const double p = a.hi * b.hi;
    const double e = ProductError<Fma>(a, b, p) + (a.hi * b.lo + a.lo * b.hi);
    const double s = p + e;
    return MakeDD<Fma>(s, e - (s - p));
}

// A running sum of products in the manner of Dot2: s the rounded sum of the leading parts,
// c the sum of every rounding error and every trailing part.
template <bool Fma>
struct Dot2 {
    double s = 0, c = 0;
    // Adds a b and returns its leading part.
    TWOBODY_DD_INLINE double Add(const DD& a, const DD& b)
    {
        const double p = a.hi * b.hi;
        const double e = ProductError<Fma>(a, b, p) + (a.hi * b.lo + a.lo * b.hi);
        const double t = s + p, v = t - s;
        c += ((s - (t - v)) + (p - v)) + e;
        s = t;
        return p;
    }
    TWOBODY_DD_INLINE DD Result() const
    {
        const double h = s + c;
        return MakeDD<Fma>(h, c - (h - s));
    }
};

// Most terms along one axis of a triple sum: i = 0..floor(LMAXFACT / 2).
constexpr int kAxisTerms = CCHCalc::LMAXFACT / 2 + 1;

// The factors of both sums to double-double accuracy, built once (from 113-bit running
// products) on first use.
struct DDFactorials {
    DD inverseFact[CCHCalc::LMAXFACT + 1];    // 1 / n!
    DD doublefact[2 * CCHCalc::LMAXFACT + 3]; // entry n + 1 holds n!!, from (-1)!! = 1
    // (-1/2)^i / (i! (l - 2i)!), the coefficients of the one-axis factors of a component.
    DD axisCoefficient[CCHCalc::LMAXFACT + 1][kAxisTerms];
    // Overlap sums of degree L: (-1/2)^n (2L-2n-1)!! n!, and 4 / ((2L+1) ((2L-1)!!)^2).
    DD overlapTerm[CCHCalc::LMAXFACT + 2][kAxisTerms];
    DD overlapPrefactor[CCHCalc::LMAXFACT + 2];
    const DD& DoubleFactorial(int n) const { return doublefact[n + 1]; }
};
DDFactorials MakeDDFactorials();
// Built on first use; inline so that later uses cost one test, not a call.
inline const DDFactorials& ddFactorials()
{
    static const DDFactorials tables = MakeDDFactorials();
    return tables;
}

// A compensated sum and the sum of the magnitudes of its terms, which bounds its error:
// about n eps^2 magnitude (n the number of terms) plus the final rounding of value.
struct CompensatedSum {
    double value, magnitude;
};

// The sum over i_m = lo_m..lo_m + len_m - 1 (m = 0, 1, 2) of
//     c[stride (i_0 + i_1 + i_2)] g[0][i_0 - lo_0] g[1][i_1 - lo_1] g[2][i_2 - lo_2],
// the form of both the overlap and the traceless-component sums. Regrouped: the axis with
// most terms is first summed against c for every value of the other two indices' sum, so
// the work is about len_u len_v rather than len_0 len_1 len_2 products.
template <bool Fma>
TWOBODY_DD_INLINE CompensatedSum TripleSum(const DD (&g)[3][kAxisTerms], const int (&lo)[3],
                                           const int (&len)[3], const DD* c, int stride)
{
    int w = 0;
    for (int m = 1; m < 3; ++m)
        if (len[m] > len[w])
            w = m;
    const int u = w == 0 ? 1 : 0, v = w == 2 ? 1 : 2;
    // W[k] = sum over i_w of c[lo_u + lo_v + k + i_w] g_w(i_w), k = 0..len_u + len_v - 2,
    // and M[k] the same sum of magnitudes.
    DD W[2 * kAxisTerms];
    double M[2 * kAxisTerms];
    const DD* cw = c + stride * (lo[u] + lo[v] + lo[w]);
    for (int k = 0; k <= len[u] + len[v] - 2; ++k) {
        Dot2<Fma> sum;
        double magnitude = 0;
        for (int t = 0; t < len[w]; ++t)
            magnitude += std::fabs(sum.Add(cw[stride * (k + t)], g[w][t]));
        W[k] = sum.Result();
        M[k] = magnitude;
    }
    Dot2<Fma> S;
    double magnitude = 0;
    for (int x = 0; x < len[u]; ++x) {
        Dot2<Fma> inner;
        double innerMagnitude = 0;
        for (int y = 0; y < len[v]; ++y) {
            inner.Add(g[v][y], W[x + y]);
            innerMagnitude += std::fabs(g[v][y].hi * M[x + y]);
        }
        S.Add(g[u][x], inner.Result());
        magnitude += std::fabs(g[u][x].hi * innerMagnitude);
    }
    return {S.s + S.c, magnitude};
}

// Sum::Run<true>(args...), with products by fused multiply-add, where the processor has
// one, else Sum::Run<false>(args...). The baseline x86-64 lacks the instruction (most
// processors since 2013 have it): there a copy compiled for it is chosen at run time, which
// runs the sums in about 60% of the time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__FP_FAST_FMA)
bool DetectFma();
inline bool ProcessorHasFma()
{
    static const bool has = DetectFma();
    return has;
}

template <class Sum, class... Args>
__attribute__((target("fma"))) double RunWithFma(const Args&... args)
{
    return Sum::template Run<true>(args...);
}

template <class Sum, class... Args>
double CompensatedRun(const Args&... args)
{
    return ProcessorHasFma() ? RunWithFma<Sum>(args...) : Sum::template Run<false>(args...);
}
#else
template <class Sum, class... Args>
double CompensatedRun(const Args&... args)
{
#if defined(__FP_FAST_FMA)
    return Sum::template Run<true>(args...);
#else
    return Sum::template Run<false>(args...);
#endif
}
#endif

} // namespace cchcalc_detail

#endif
