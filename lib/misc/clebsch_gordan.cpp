#include "clebsch_gordan.h"

#include "internal/constants.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_coupling.h>

#include <boost/multiprecision/cpp_int.hpp>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

namespace Misc {

namespace {

using twobody_detail::kNaN;

// Twice every argument must fit GSL's int form with room for the sums the 3-j symbol forms.
constexpr double kMaxCgcJ = (INT_MAX / 4) / 2.0;

bool finiteAll(std::initializer_list<double> v)
{
    return std::all_of(v.begin(), v.end(), [](double a) { return std::isfinite(a); });
}

} // namespace

double cgc(double j1, double m1, double j2, double m2, double J, double M)
{
    for (double a : {j1, m1, j2, m2, J, M})
        if (!(std::fabs(a) <= kMaxCgcJ))
            return kNaN;
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
    // A result GSL did not write stays NaN; an overflow inside the symbol is no coefficient.
    gsl_sf_result r{kNaN, kNaN};
    const int status = gsl_sf_coupling_3j_e(two_j1, two_j2, two_J, two_m1, two_m2, minus_two_M, &r);
    return status == GSL_EOVRFLW ? kNaN : f * r.val;
}

namespace {

using Big = boost::multiprecision::cpp_int;

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
    // that its integer square root carries 120: one rounding to double remains.
    const long s = (240 - static_cast<long>(msb(num)) + static_cast<long>(msb(den))) / 2;
    const Big q = s >= 0 ? Big(num << (2 * s)) / den : Big(num / (den << (-2 * s)));
    const double v = std::ldexp(static_cast<double>(sqrt(q)), static_cast<int>(-s));
    return total < 0 ? -v : v;
}

// Above this sum of j1 + j2 + J the exact sum is no longer cheap (some 20 ms here).
constexpr double kMaxOldSum = 4000.0;
// The double sum is kept where its rounding error, about this bound times 1e-16, stays
// below 1e-14 (measured: 6e-16 at most for j <= 40).
constexpr double kMaxAmplification = 160.0;

} // namespace

double oldcgc(double j1, double m1, double j2, double m2, double J, double M)
{
    if (!finiteAll({j1, m1, j2, m2, J, M}))
        return kNaN;
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
    // Projections beyond their angular momentum: the factorials below would give inf * 0.
    if (std::fabs(m1) > j1 || std::fabs(m2) > j2)
        return 0.0;
    if (!(j1 + j2 + J <= kMaxOldSum) || std::min({j1, j2, J}) < 0.0)
        return kNaN;

    const double F1 = (2.0 * J + 1.0) * cgc_fractorial(j1 + j2 - J, j1 + j2 + J + 1.0);
    const double F2 = cgc_fractorial(j1 - m1, j1 - j2 + J);
    const double F3 = cgc_fractorial(j2 - m2, j2 - j1 + J);
    const double F4 = cgc_fractorial(J + M, j1 + m1);
    const double F5 = cgc_fractorial(J - M, j2 + m2);

    // Only the k that keep every factorial argument non-negative contribute. The sum of
    // the magnitudes measures the cancellation.
    double sum = 0.0, magnitude = 0.0;
    for (double k = 0.0; k <= 2.0 * (j1 + j2) + J; k += 1.0) {
        if (j1 - m1 - k >= 0.0 && J - M - k >= 0.0 && j2 - J + m1 + k >= 0.0) {
            double t = std::pow(-1.0, k + j1 - m1);
            t = t * cgc_fractorial(j1 + m1 + k, j1 - m1 - k) *
                cgc_fractorial(j2 + J - m1 - k, J - M - k);
            const double d = cgc_factorial(k) * cgc_factorial(j2 - J + m1 + k);
            sum = sum + t / d;
            magnitude += std::fabs(t / d);
        }
    }
    const double product = F1 * F2 * F3 * F4 * F5;
    const double root = std::sqrt(product);
    const double result = root * sum;
    // The double sum is kept where it is accurate: its rounding error is about
    // root * magnitude * (j1 + j2 + J) ulp; J < j1 - j2 keeps its zero from F3. Elsewhere
    // (cancellation, a factorial or the product beyond the double range, or the NaN that pow
    // gives for j1 and m1 of mixed kinds) the same sum is evaluated exactly, which gives NaN
    // where no factorial argument can be whole.
    const double amplification = root * magnitude * (j1 + j2 + J + 1.0);
    if ((product == 0.0 && J < j1 - j2) ||
        (product >= DBL_MIN && amplification <= kMaxAmplification && j1 + j2 + J < 150.0))
        return result;
    const auto twice = [](double v) { return std::lrint(2.0 * v); };
    for (double v : {j1, m1, j2, m2, J, M})
        if (2.0 * v != static_cast<double>(twice(v)))
            return kNaN;
    return racahExact(twice(j1), twice(m1), twice(j2), twice(m2), twice(J), twice(M));
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
