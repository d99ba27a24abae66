#include "clebsch_gordan.h"

#include "internal/constants.h"
#include "internal/gsl_status.h"

#include <gsl/gsl_sf_coupling.h>

#include <boost/multiprecision/cpp_int.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace Misc {

namespace {

using twobody_detail::kNaN;

// Twice every argument must fit GSL's int form with room for the sums the 3-j symbol forms.
constexpr double kMaxCgcJ = (INT_MAX / 4) / 2.0;

bool finiteAll(std::initializer_list<double> v)
{
    return std::all_of(v.begin(), v.end(), [](double a) { return std::isfinite(a); });
}

using Big = boost::multiprecision::cpp_int;

// Double-double arithmetic: a value hi + lo with |lo| <= ulp(hi)/2, about 106 bits. The
// error-free transformations of T. Ogita, S. M. Rump and S. Oishi, SIAM J. Sci. Comput. 26
// (2005) 1955 (TwoSum, TwoProduct through the fused multiply-add).
struct DD {
    double hi, lo;
};

DD twoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

DD fastTwoSum(double a, double b) // |a| >= |b|
{
    const double s = a + b;
    return {s, b - (s - a)};
}

DD twoProd(double a, double b)
{
    const double p = a * b;
    return {p, std::fma(a, b, -p)};
}

DD mul(DD x, double y)
{
    DD p = twoProd(x.hi, y);
    return fastTwoSum(p.hi, p.lo + x.lo * y);
}

DD mul(DD x, DD y)
{
    DD p = twoProd(x.hi, y.hi);
    return fastTwoSum(p.hi, p.lo + (x.hi * y.lo + x.lo * y.hi));
}

DD div(DD x, DD y)
{
    const double q = x.hi / y.hi;
    const DD p = mul(y, q);
    const DD r = twoSum(x.hi, -p.hi);
    return fastTwoSum(q, (r.hi + ((r.lo - p.lo) + x.lo)) / y.hi);
}

DD oneMinus(DD x)
{
    const DD s = twoSum(1.0, -x.hi);
    return fastTwoSum(s.hi, s.lo - x.lo);
}

DD sqrt(DD x)
{
    const double q = std::sqrt(x.hi);
    const DD p = twoProd(q, q);
    return fastTwoSum(q, ((x.hi - p.hi) - p.lo + x.lo) / (2.0 * q));
}

// A budget for the relative error of one double-double operation above, with a wide margin
// over the few units of 2^-106 each of them commits.
constexpr double kOpError = 0x1p-100;

// n! = m 2^e, m a double-double in [1/2, 1), for 0 <= n <= kMaxN, built once by successive
// products; entry n carries a relative error below n kOpError.
constexpr long kMaxN = 4001;
struct ScaledFactorial {
    DD m;
    long e;
};

const std::vector<ScaledFactorial>& factorialTable()
{
    static const std::vector<ScaledFactorial> table = [] {
        std::vector<ScaledFactorial> t(kMaxN + 1);
        t[0] = {{0.5, 0.0}, 1};
        for (long n = 1; n <= kMaxN; ++n) {
            DD m = mul(t[n - 1].m, static_cast<double>(n));
            int shift = 0;
            std::frexp(m.hi, &shift);
            t[n] = {{std::ldexp(m.hi, -shift), std::ldexp(m.lo, -shift)}, t[n - 1].e + shift};
        }
        return t;
    }();
    return table;
}

// The Racah sum for doubled arguments that passed the selection rules, set out as
//   <j1 m1; j2 m2 | J M> = (-1)^(kmin + B) sqrt(L) S,
//   L = (2J+1) s12! B! D! E! F! [(A+kmin)! (f-kmin)!]^2
//       / (N! d1! d2! A! C! [kmin! (F-kmin)! (B-kmin)! (e+kmin)!]^2),
//   S = 1 - r_kmin (1 - r_(kmin+1) (1 - ...)),  r_k = n_k / d_k,
// with A = j1+m1, B = j1-m1, C = j2+m2, D = j2-m2, E = J+M, F = J-M, e = j2-J+m1,
// f = j2+J-m1, s12 = j1+j2-J, d1 = j1-j2+J, d2 = j2-j1+J, N = j1+j2+J+1 (Edmonds,
// Angular Momentum in Quantum Mechanics, eq. 3.6.11, each term divided by the first).
// S is nested (Horner) so that every step multiplies by an exact ratio of integers below
// 2^53: n_k = (A+k+1)(F-k)(B-k), d_k = (k+1)(f-k)(e+k+1), each factor at most 4001.
struct Racah {
    long A, B, C, D, E, F, e, f, s12, d1, d2, N, twoJ, kmin, kmax;

    Racah(long a, long ma, long b, long mb, long c, long mc)
        : A((a + ma) / 2), B((a - ma) / 2), C((b + mb) / 2), D((b - mb) / 2), E((c + mc) / 2),
          F((c - mc) / 2), e((b - c + ma) / 2), f((b + c - ma) / 2), s12((a + b - c) / 2),
          d1((a - b + c) / 2), d2((b - a + c) / 2), N((a + b + c) / 2 + 1), twoJ(c),
          kmin(std::max(0L, -e)), kmax(std::min(B, F))
    {
    }
    double num(long k) const
    {
        return static_cast<double>(A + k + 1) * static_cast<double>(F - k) *
               static_cast<double>(B - k);
    }
    double den(long k) const
    {
        return static_cast<double>(k + 1) * static_cast<double>(f - k) *
               static_cast<double>(e + k + 1);
    }
    bool negative() const { return (kmin + B) % 2 != 0; }
};

// sqrt(L) = m 2^e, m a double-double; relative error below the returned bound.
// The product of n double-doubles, pairwise so that the chain of dependent products is
// short (log2 n instead of n).
DD product(DD* v, int n)
{
    for (int width = 1; width < n; width *= 2)
        for (int i = 0; i + width < n; i += 2 * width)
            v[i] = mul(v[i], v[i + width]);
    return v[0];
}

ScaledFactorial leadingFactor(const Racah& r, double* error)
{
    const auto& t = factorialTable();
    // The factorials of the numerator and the denominator; the squared ones once, their
    // ratio squared after.
    const long top[] = {r.s12, r.B, r.D, r.E, r.F}, bottom[] = {r.N, r.d1, r.d2, r.A, r.C};
    const long squaredTop[] = {r.A + r.kmin, r.f - r.kmin},
               squaredBottom[] = {r.kmin, r.F - r.kmin, r.B - r.kmin, r.e + r.kmin};
    DD num[6], den[5], sqNum[2], sqDen[4];
    long e = 0, weight = 0; // weight: the sum of the table indices, for the error bound
    const auto gather = [&](const long* n, int count, DD* into, int sign) {
        for (int i = 0; i < count; ++i) {
            into[i] = t[n[i]].m;
            e += sign * t[n[i]].e;
            weight += std::abs(sign) * n[i];
        }
    };
    gather(top, 5, num, 1);
    gather(bottom, 5, den, -1);
    gather(squaredTop, 2, sqNum, 2);
    gather(squaredBottom, 4, sqDen, -2);
    num[5] = {static_cast<double>(r.twoJ + 1), 0.0};
    const DD ratio = div(product(sqNum, 2), product(sqDen, 4));
    DD q = div(mul(product(num, 6), mul(ratio, ratio)), product(den, 5));
    if (e % 2 != 0) {
        q = {2.0 * q.hi, 2.0 * q.lo};
        --e;
    }
    *error = (static_cast<double>(weight) + 32.0) * kOpError;
    return {sqrt(q), e / 2};
}

// Rounds m 2^e (m a double-double) to the nearest double when its relative error bound
// err allows only one answer; false when the true value may lie on either side of a
// rounding midpoint, or near the ends of the double range.
bool roundScaled(DD m, long e, double err, double* out)
{
    if (!(m.hi != 0.0) || !std::isfinite(m.hi) || !(err < 0x1p-60))
        return false;
    int shift = 0;
    std::frexp(m.hi, &shift);
    if (e + shift > 1000 || e + shift < -960)
        return false;
    const double hi = std::ldexp(m.hi, static_cast<int>(e));
    const double lo = std::ldexp(m.lo, static_cast<int>(e));
    // hi is the double nearest hi + lo; the gap below |hi| is the narrower one.
    const double gap = std::fabs(hi) - std::nextafter(std::fabs(hi), 0.0);
    if (!(std::fabs(lo) + 2.0 * err * std::fabs(hi) < 0.5 * gap))
        return false;
    *out = hi;
    return true;
}

// The leading factor sqrt(L) with its relative error bound.
struct Lead {
    ScaledFactorial value;
    double error;
};

// What the double-double sum learnt for the fixed-point one: A, and |S| to within a factor
// of 2, or else a bound above |S| (0 and inf where it cannot tell).
struct SumEstimate {
    double magnitude, size, ceiling;
};

// The nested sum S in double-double, with a bound on its absolute error: every step errs by
// a few units of 2^-106 of the magnitude sum a_k = 1 + |r_k| a_(k+1), and each such error
// reaches S multiplied by |t_k / t_kmin|, so the total stays below (steps) kOpError A,
// A = a_kmin (computed alongside in double).
bool racahDoubleDouble(const Racah& r, const Lead& lead, double* out, SumEstimate* estimate)
{
    DD s{1.0, 0.0};
    double a = 1.0;
    for (long k = r.kmax - 1; k >= r.kmin; --k) {
        // n / d in double-double (the remainder n - q d is exact), off the chain of steps.
        const double n = r.num(k), d = r.den(k), q = n / d;
        s = oneMinus(mul(s, DD{q, std::fma(-q, d, n) / d}));
        a = 1.0 + a * q;
    }
    const double steps = static_cast<double>(r.kmax - r.kmin + 2);
    const double sumError = 2.0 * steps * kOpError * a;
    const bool resolved = std::fabs(s.hi) > 2.0 * sumError;
    *estimate = {a, resolved ? std::fabs(s.hi) : 0.0, resolved ? HUGE_VAL : 4.0 * sumError};
    const double err = lead.error + sumError / std::fabs(s.hi);
    DD v = mul(lead.value.m, s);
    if (r.negative())
        v = {-v.hi, -v.lo};
    return roundScaled(v, lead.value.e, err, out);
}

// log2 of the magnitude sum A, rounded up, where the double overflows.
long log2Magnitude(const Racah& r)
{
    double a = 1.0;
    long e = 0;
    for (long k = r.kmax - 1; k >= r.kmin; --k) {
        a = std::ldexp(1.0, static_cast<int>(std::max(-1074L, -e))) + a * (r.num(k) / r.den(k));
        int shift = 0;
        a = std::frexp(a, &shift);
        e += shift;
    }
    return e + 1;
}

// The nested sum S in fixed point, X = S 2^P truncated at each step, so that X errs by less
// than A units (each truncation reaches S multiplied by |t_k / t_kmin|). P starts at 128
// bits beyond A and is raised until X carries 128 bits beyond its error; while S cannot be
// told apart from 0, until the error falls below 1 / prod d_k, the smallest a nonzero |S|
// can be, which decides an exact zero.
bool racahFixedPoint(const Racah& r, const Lead& lead, SumEstimate estimate, double* out)
{
    const long logA = std::isfinite(estimate.magnitude) ? std::ilogb(estimate.magnitude) + 2
                                                        : log2Magnitude(r) + 1;
    double logDen = 0.0;
    for (long k = r.kmin; k < r.kmax; ++k)
        logDen += std::log2(r.den(k));
    const long pZero = logA + static_cast<long>(logDen) + 4;
    // P leaves 128 bits beyond the error relative to |S|. Where the double-double sum could
    // not size S, the guess is |S| = 2^-6 / sqrt(L), a coefficient of 2^-6 (most lie
    // within a few powers of 2 of it; the loop below corrects a wrong guess).
    long logS = -(lead.value.e + std::ilogb(lead.value.m.hi)) - 6;
    if (estimate.size > 0.0)
        logS = std::ilogb(estimate.size);
    else if (std::isfinite(estimate.ceiling))
        logS = std::min(logS, static_cast<long>(std::ilogb(estimate.ceiling)));
    for (long p = std::max(128L, logA - logS + 128);;) {
        const Big one = Big(1) << p;
        Big x = one;
        for (long k = r.kmax - 1; k >= r.kmin; --k) {
            x *= static_cast<unsigned long long>(r.num(k));
            x /= static_cast<unsigned long long>(r.den(k));
            x = -x;
            x += one;
        }
        const bool negativeSum = x < 0;
        if (negativeSum)
            x = -x;
        // |X - |S| 2^P| < 2^(logA - 1).
        const long bits = x == 0 ? 0 : static_cast<long>(msb(x)) + 1;
        if (bits <= logA + 1) { // S not yet told apart from 0
            if (p >= pZero) {
                *out = 0.0;
                return true;
            }
            p = std::min(2 * p, pZero);
            continue;
        }
        if (bits <= logA + 110) { // S is nonzero: enough bits for 128 beyond the error
            p += logA + 128 - bits;
            continue;
        }
        // The top 104 bits of X, exact in two doubles, then m = X 2^-P = S.
        const long drop = bits - 104;
        const Big top = x >> drop;
        const double hi = static_cast<double>(static_cast<unsigned long long>(top >> 52));
        const double lo =
            static_cast<double>(static_cast<unsigned long long>(top & ((1ULL << 52) - 1)));
        DD s = fastTwoSum(std::ldexp(hi, 52), lo);
        int shift = 0;
        std::frexp(s.hi, &shift);
        s = {std::ldexp(s.hi, -shift), std::ldexp(s.lo, -shift)};
        // Error: the A units of X plus the dropped bits, relative to |X|.
        const double err = lead.error + std::ldexp(1.0, static_cast<int>(logA + 1 - bits)) +
                           std::ldexp(1.0, static_cast<int>(drop + 1 - bits)) + 4 * kOpError;
        DD v = mul(lead.value.m, s);
        if (negativeSum != r.negative())
            v = {-v.hi, -v.lo};
        // Where the rounding is still open, more bits of S would not close it.
        return roundScaled(v, lead.value.e + shift + drop - p, err, out);
    }
}

// (lo + 1)(lo + 2)...hi exactly, 0 <= lo <= hi; the small factors are gathered into one
// machine word before each multiplication of the big number.
Big rising(long lo, long hi)
{
    Big f = 1;
    unsigned long long chunk = 1;
    for (long i = lo + 1; i <= hi; ++i) {
        const auto v = static_cast<unsigned long long>(i);
        if (chunk > ULLONG_MAX / v) {
            f *= chunk;
            chunk = 1;
        }
        chunk *= v;
    }
    return f * chunk;
}

// n! exactly, n >= 0.
Big factorial(long n) { return rising(0, n); }

// The Racah sum (Edmonds, Angular Momentum in Quantum Mechanics, eq. 3.6.11), in exact
// integer arithmetic and rounded once. Arguments are doubled: a = 2 j1, ma = 2 m1, and so
// on. Needs the selection rules of oldcgc to have passed.
double racahExact(long a, long ma, long b, long mb, long c, long mc)
{
    // Every factorial argument must be a whole number: j and m of equal kind, and the
    // three j's summing to an integer.
    if ((a - ma) % 2 != 0 || (b - mb) % 2 != 0 || (c - mc) % 2 != 0 || (a + b + c) % 2 != 0)
        return kNaN;
    if (std::labs(ma) > a || std::labs(mb) > b || std::labs(mc) > c || c < std::labs(a - b) ||
        c > a + b)
        return 0.0;
    const long j1pm1 = (a + ma) / 2, j1mm1 = (a - ma) / 2, j2pm2 = (b + mb) / 2,
               j2mm2 = (b - mb) / 2, JpM = (c + mc) / 2, JmM = (c - mc) / 2;
    const long s12 = (a + b - c) / 2, d1 = (a - b + c) / 2, d2 = (b - a + c) / 2,
               sum = (a + b + c) / 2;
    // k runs where every factorial of the sum has a non-negative argument.
    const long e = (b - c + ma) / 2; // j2 - J + m1
    const long kmin = std::max(0L, -e), kmax = std::min(j1mm1, JmM);
    if (kmin > kmax)
        return 0.0;

    // Terms times the common denominator D = kmax! (J-M-kmin)! (j1-m1-kmin)! (j2-J+m1+kmax)!
    // are integers; each follows from the previous by a ratio of small integers.
    const long f = (b + c - ma) / 2; // j2 + J - m1
    Big term = factorial(j1pm1 + kmin) * factorial(f - kmin) * rising(kmin, kmax) *
               rising(e + kmin, e + kmax);
    if ((kmin + j1mm1) % 2 != 0)
        term = -term;
    Big total = term;
    for (long k = kmin; k < kmax; ++k) {
        // Each factor is below 4000 here: both products fit in a machine word.
        term *= static_cast<unsigned long long>(j1pm1 + k + 1) *
                static_cast<unsigned long long>(JmM - k) *
                static_cast<unsigned long long>(j1mm1 - k);
        term /= static_cast<unsigned long long>(f - k) * static_cast<unsigned long long>(k + 1) *
                static_cast<unsigned long long>(e + k + 1);
        term = -term;
        total += term;
    }
    if (total == 0)
        return 0.0;
    const Big d =
        factorial(kmax) * factorial(JmM - kmin) * factorial(j1mm1 - kmin) * factorial(e + kmax);
    const Big num = Big(c + 1) * factorial(s12) * factorial(j1mm1) * factorial(j2mm2) *
                    factorial(JpM) * factorial(JmM) * total * total;
    const Big den = factorial(sum + 1) * factorial(d1) * factorial(d2) * factorial(j1pm1) *
                    factorial(j2pm2) * d * d;
    // sqrt(num / den) = sqrt(num 4^s / den) 2^-s, the quotient carrying about 240 bits so
    // that its integer square root carries 120; rounded once to the nearest multiple of
    // the result's unit in the last place (2^-1074 among the subnormal numbers).
    const long s = (240 - static_cast<long>(msb(num)) + static_cast<long>(msb(den))) / 2;
    Big rest;
    Big q;
    if (s >= 0)
        divide_qr(Big(num << (2 * s)), den, q, rest);
    else
        divide_qr(num, Big(den << (-2 * s)), q, rest);
    const Big root = sqrt(q);
    const bool inexact = rest != 0 || root * root != q;
    const long ulp = std::max(static_cast<long>(msb(root)) - s - 52, -1074L);
    const long drop = ulp + s; // at least 60: the root has some 120 bits
    Big n = root >> drop;
    const Big below = root - (n << drop), half = Big(1) << (drop - 1);
    if (below > half || (below == half && (inexact || (n & 1) != 0)))
        ++n;
    const double v =
        std::ldexp(static_cast<double>(static_cast<unsigned long long>(n)), static_cast<int>(ulp));
    return total < 0 ? -v : v;
}

// The two ways a coefficient vanishes by symmetry alone, which the sum finds only by
// cancelling to zero: <j1 0; j2 0 | J 0> and <j m; j m | J 2m> with j1 + j2 - J odd.
bool symmetryZero(long a, long ma, long b, long mb, long c)
{
    return ((a + b - c) / 2) % 2 != 0 && ((ma == 0 && mb == 0) || (a == b && ma == mb));
}

// <j1 m1; j2 m2 | J M> for doubled arguments that passed the selection rules, with whole
// factorial arguments and j1 + j2 + J <= 4000, correctly rounded: the nested sum in
// double-double where its bound decides the rounding, else in fixed point with as many
// bits as its cancellation needs, else (never met in testing) in exact integers.
double racah(long a, long ma, long b, long mb, long c, long mc)
{
    const Racah r(a, ma, b, mb, c, mc);
    if (r.kmin > r.kmax || symmetryZero(a, ma, b, mb, c))
        return 0.0;
    Lead lead{};
    lead.value = leadingFactor(r, &lead.error);
    double v = 0.0;
    SumEstimate estimate{};
    if (racahDoubleDouble(r, lead, &v, &estimate) || racahFixedPoint(r, lead, estimate, &v))
        return v;
    return racahExact(a, ma, b, mb, c, mc);
}

// Selection rules on doubled arguments: 0 for a coefficient that vanishes (a negative j
// included, as no |m| <= j then); 1 for one to compute; -1 where j and m, or the three
// j's, are of mixed kinds (integer and half-integer).
int selection(long a, long ma, long b, long mb, long c, long mc)
{
    if (ma + mb != mc || std::labs(ma) > a || std::labs(mb) > b || std::labs(mc) > c || c > a + b ||
        c < std::labs(a - b))
        return 0;
    if ((a - ma) % 2 != 0 || (b - mb) % 2 != 0 || (c - mc) % 2 != 0 || (a + b + c) % 2 != 0)
        return -1;
    return 1;
}

// The factorial table ends here, and the long sums near it take milliseconds.
constexpr long kMaxSum = 4000;
// GSL's 3-j symbol is kept up to j = 7/2, where it stays within 8e-16 (measured; 2e-15
// at j = 4, 1.6e-14 at j = 10).
constexpr long kMaxTwoJGsl = 7;

} // namespace

double cgc(double j1, double m1, double j2, double m2, double J, double M)
{
    for (double a : {j1, m1, j2, m2, J, M})
        if (!(std::fabs(a) <= kMaxCgcJ))
            return kNaN;
    // lrint snaps onto the nearest multiple of 1/2.
    const long a = std::lrint(2.0 * j1), b = std::lrint(2.0 * j2), c = std::lrint(2.0 * J),
               ma = std::lrint(2.0 * m1), mb = std::lrint(2.0 * m2), mc = std::lrint(2.0 * M);
    if (selection(a, ma, b, mb, c, mc) != 1)
        return 0.0; // GSL's symbol is 0 for mixed kinds too
    if (std::max({a, b, c}) > kMaxTwoJGsl)
        return (a + b + c) / 2 <= kMaxSum ? racah(a, ma, b, mb, c, mc) : kNaN;
    const long n = std::lrint((M + j1) - j2);
    const double s = (n % 2 == 0) ? 1.0 : -1.0;
    const double f = s * std::sqrt(2.0 * J + 1.0);
    // The symbol is bounded by 1: no overflow to stand for.
    return f * twobody_detail::gslCall(kNaN, gsl_sf_coupling_3j_e, static_cast<int>(a),
                                       static_cast<int>(b), static_cast<int>(c),
                                       static_cast<int>(ma), static_cast<int>(mb),
                                       -static_cast<int>(mc));
}

double oldcgc(double j1, double m1, double j2, double m2, double J, double M)
{
    if (!finiteAll({j1, m1, j2, m2, J, M}))
        return kNaN;
    // The comparisons are exact: no snapping.
    if (j1 + j2 < J || J + j1 < j2 || J + j2 < j1 || m1 + m2 != M || !(M <= J) || !(-J <= M) ||
        std::fabs(m1) > j1 || std::fabs(m2) > j2)
        return 0.0;
    if (!(j1 + j2 + J <= static_cast<double>(kMaxSum)))
        return kNaN;
    const auto twice = [](double v) { return std::lrint(2.0 * v); };
    for (double v : {j1, m1, j2, m2, J, M})
        if (2.0 * v != static_cast<double>(twice(v)))
            return kNaN;
    const long a = twice(j1), ma = twice(m1), b = twice(j2), mb = twice(m2), c = twice(J),
               mc = twice(M);
    return selection(a, ma, b, mb, c, mc) == 1 ? racah(a, ma, b, mb, c, mc) : kNaN;
}

double cgc_fractorial(double a, double b)
{
    // Beyond 2^53 a step of 1 is lost in rounding and the product could never end.
    constexpr double kExact = 9007199254740992.0;
    if (!(std::fabs(a) < kExact && std::fabs(b) < kExact))
        return kNaN;
    if (a == b)
        return 1.0;
    // The product (lo+1)(lo+2)... while the factor is below hi + 1. Once it is 0 it stays
    // 0 (the factors after 0 are positive); once it is infinite it stays so, with one sign
    // flip per negative factor still to come, unless a factor 0 is still to come.
    const double lo = std::min(a, b), hi = std::max(a, b);
    double product = 1.0;
    double i = lo + 1.0;
    for (; hi + 1.0 > i; i += 1.0) {
        product *= i;
        if (product == 0.0)
            break;
        if (std::isinf(product)) {
            const double next = i + 1.0;
            if (!(hi + 1.0 > next))
                break;
            // Factors still to come: next, next + 1, ... below hi + 1.
            const double remaining = std::ceil(hi + 1.0 - next);
            if (next <= 0.0 && std::floor(next) == next && hi >= 0.0) {
                product = std::copysign(0.0, product); // a zero factor follows
                break;
            }
            const double negatives = next < 0.0 ? std::min(remaining, std::ceil(-next)) : 0.0;
            if (std::fmod(negatives, 2.0) != 0.0)
                product = -product;
            break;
        }
    }
    return a > b ? product : 1.0 / product;
}

double cgc_factorial(double x)
{
    if (std::isnan(x))
        return x;
    // 171! is beyond the double range; this also ends the loop for huge or infinite x.
    if (x >= 171.0)
        return HUGE_VAL;
    double product = 1.0;
    for (double i = 1.0; i <= x; i += 1.0)
        product *= i;
    return product;
}

int cgc_delta(int a, int b) { return a == b ? 1 : 0; }

} // namespace Misc
