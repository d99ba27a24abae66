// CCHCalc: the shared tables, their reference-counted lifecycle and the combinatorics.
#include "cchcalc.h"
#include "cchcalc_quad.h"
#include "internal/constants.h"
#include "internal/report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

// Constant-initialised and trivially destructible: nothing here runs at exit.
int CCHCalc::INITIALIZED = 0;
double* CCHCalc::fact = nullptr;
double* CCHCalc::doublefact = nullptr;
double** CCHCalc::binomial = nullptr;
CCHCalc::OverlapSlot* CCHCalc::overlap = nullptr;

namespace {

using twobody_detail::kNaN;

// C(n, k) for 0 <= k <= n by the running product along row n, multiplying before dividing,
// as the table rows are formed. Stops early once the product overflows: the row grows up to
// its middle, so with k <= n/2 the true value has overflowed too.
double BinomialRow(long long n, long long k)
{
    double c = 1.0;
    for (long long j = 1; j <= k && c != HUGE_VAL; ++j)
        c = (c * static_cast<double>(n - j + 1)) / static_cast<double>(j);
    return c;
}

} // namespace

CCHCalc::CCHCalc()
{
    if (INITIALIZED == 0)
        InitStaticData();
    ++INITIALIZED;
}

CCHCalc::CCHCalc(const CCHCalc&) { ++INITIALIZED; }

CCHCalc::~CCHCalc()
{
    if (--INITIALIZED == 0) {
        ClearStaticData();
        twobody_detail::reportMessage("CCHCalc static data cleared");
    }
}

void CCHCalc::InitStaticData()
{
    if (!fact) {
        fact = new double[LMAXFACT + 1];
        fact[1] = 1.0;
        fact[0] = fact[1];
        for (int n = 2; n <= LMAXFACT; ++n)
            fact[n] = fact[n - 1] * n;
    }
    if (!doublefact) {
        doublefact = new double[2 * LMAXFACT + 2];
        doublefact[1] = 1.0;
        doublefact[0] = doublefact[1];
        for (int n = 2; n <= 2 * LMAXFACT + 1; ++n)
            doublefact[n] = doublefact[n - 2] * n;
    }
    if (!binomial) {
        binomial = new double*[LMAXFACT + 1];
        for (int n = 0; n <= LMAXFACT; ++n) {
            binomial[n] = new double[n + 1];
            double* row = binomial[n];
            row[0] = 1.0;
            for (int k = 1; k <= n; ++k)
                row[k] = (row[k - 1] * (n - k + 1)) / k;
        }
    }
    if (!overlap)
        overlap = MakeOverlapCache();
}

void CCHCalc::ClearStaticData()
{
    twobody_detail::reportMessage("Clearing static data used for charray calc.s. ");
    twobody_detail::reportMessage("Don't do this unless you are finished with charray objects");
    delete[] fact;
    fact = nullptr;
    delete[] doublefact;
    doublefact = nullptr;
    if (binomial) {
        for (int n = 0; n <= LMAXFACT; ++n)
            delete[] binomial[n];
        delete[] binomial;
        binomial = nullptr;
    }
    delete[] overlap;
    overlap = nullptr;
}

int CCHCalc::LiveObjects() { return INITIALIZED; }

bool CCHCalc::TablesPresent() { return fact != nullptr; }

double CCHCalc::TablesAbsent(const char* routine)
{
    twobody_detail::reportFatal(routine,
                                "CCHCalc: table lookup while the static tables are absent (no live "
                                "CCHCalc object, or ClearStaticData without InitStaticData)",
                                stderr);
    return kNaN;
}

double CCHCalc::Factorial(int n) const
{
    if (!fact)
        return TablesAbsent("CCHCalc::Factorial");
    if (n < 0)
        return kNaN;
    if (n <= LMAXFACT)
        return fact[n];
    // The running product overflows at 171!; stop there rather than walk up to n.
    double f = fact[LMAXFACT];
    for (int m = LMAXFACT + 1; m <= n && f != HUGE_VAL; ++m)
        f *= m;
    return f;
}

double CCHCalc::DoubleFactorial(int n) const
{
    if (!doublefact)
        return TablesAbsent("CCHCalc::DoubleFactorial");
    if (n < -1)
        return kNaN;
    if (n == -1)
        return 1.0;
    constexpr int top = 2 * LMAXFACT + 1;
    if (n <= top)
        return doublefact[n];
    // Continue from the last table entry of the same parity as n.
    int m = (n - top) % 2 == 0 ? top : top - 1;
    double f = doublefact[m];
    while (m < n && f != HUGE_VAL) {
        m += 2;
        f *= m;
    }
    return f;
}

double CCHCalc::Binomial(int a, int b) const
{
    if (!binomial)
        return TablesAbsent("CCHCalc::Binomial");
    if (a < 0 || b < 0)
        return kNaN;
    const long long n = static_cast<long long>(a) + b;
    if (n <= LMAXFACT)
        return binomial[n][a];
    return BinomialRow(n, a < b ? a : b);
}

void CCHCalc::iswitch(int& x, int& y) const
{
    const int t = x;
    x = y;
    y = t;
}

double CCHCalc::Trinomial(int i, int j, int k) const
{
    if (!binomial)
        return TablesAbsent("CCHCalc::Trinomial");
    if (i < 0 || j < 0 || k < 0)
        return kNaN;
    const long long n = static_cast<long long>(i) + j + k;
    if (i < j)
        iswitch(i, j);
    if (j < k)
        iswitch(j, k);
    if (i < j)
        iswitch(i, j);
    if (n <= LMAXFACT)
        return binomial[n][k] * binomial[i + j][i];
    // i >= j >= k: k and j are the shorter sides of their rows.
    return BinomialRow(n, k) * BinomialRow(static_cast<long long>(i) + j, j);
}

namespace cchcalc_detail {

const QuadFactorials& quadFactorials()
{
    // Trivially destructible: nothing to tear down at exit.
    static const QuadFactorials tables = [] {
        QuadFactorials t{};
        t.fact[0] = 1;
        for (int n = 1; n <= CCHCalc::LMAXFACT; ++n)
            t.fact[n] = t.fact[n - 1] * n;
        t.doublefact[0] = 1; // (-1)!!
        t.doublefact[1] = 1; // 0!!
        for (int n = 1; n <= 2 * CCHCalc::LMAXFACT + 1; ++n)
            t.doublefact[n + 1] = t.doublefact[n - 1] * n;
        for (int n = 0; n <= CCHCalc::LMAXFACT; ++n)
            t.inverseFact[n] = 1 / t.fact[n];
        t.halfPower[0] = 1;
        for (int n = 1; n < kMaxTerms; ++n)
            t.halfPower[n] = t.halfPower[n - 1] / -2;
        for (int L = 0; L <= kMaxDegree; ++L) {
            for (int n = 0; n <= L / 2; ++n)
                t.overlapTerm[L][n] =
                    t.DoubleFactorial(2 * (L - n) - 1) * t.fact[n] * t.halfPower[n];
            const Quad d = t.DoubleFactorial(2 * L - 1);
            t.overlapPrefactor[L] = 4 / ((2 * L + 1) * d * d);
        }
        return t;
    }();
    return tables;
}

} // namespace cchcalc_detail
