// Steed's method, the continued fractions it rests on, Taylor steps below the barrier and the
// asymptotic expansion at large x.
#include "coulomb_methods.h"
#include "internal/constants.h"
#include "internal/gsl_status.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include <gsl/gsl_sf_gamma.h>

namespace CoulWave {
namespace detail {

namespace {

using twobody_detail::GslOutcome;
using twobody_detail::gslStatusOutcome;
using twobody_detail::kNaN;

// Divides the last two numerators and denominators of a continued fraction's approximants by
// 2^e, to keep them clear of overflow; the approximants A/B are unchanged, and diff, their
// difference times B B_prev, takes 2^-2e.
template <class Real, class Diff>
void scaleDown(Real& A, Real& B, Real& Aprev, Real& Bprev, Diff& diff, int e)
{
    const Real s = std::ldexp(Real(1), -e);
    A *= s;
    B *= s;
    Aprev *= s;
    Bprev *= s;
    diff *= std::ldexp(Diff(1), -2 * e);
}

// One term of the forward recurrence of the approximants' numerators and denominators
// (DLMF 1.12.5): X_j = b_j X_{j-1} + a_j X_{j-2} for X = A and B.
template <class Real>
void advanceApproximants(Real a, Real b, Real& A, Real& B, Real& Aprev, Real& Bprev)
{
    const Real Anew = b * A + a * Aprev;
    const Real Bnew = b * B + a * Bprev;
    Aprev = A;
    Bprev = B;
    A = Anew;
    B = Bnew;
}

// F'_l / F_l at (eta, x) from the continued fraction that follows from the recurrences in
// l (DLMF 33.4.3-4; A. R. Barnett, Comput. Phys. Commun. 21 (1981) 297, "CF1"):
//   f_l = S_{l+1} - R_{l+1}^2 / (S_{l+1} + S_{l+2} - R_{l+2}^2 / (S_{l+2} + S_{l+3} - ...)),
// S_k = k/x + eta/k, R_k^2 = 1 + eta^2/k^2. Summed forward from the three-term recurrence of
// the numerators and denominators (DLMF 1.12.5), which needs no division per term; the
// difference of successive approximants follows exactly from the product of the partial
// numerators (DLMF 1.12.6), without cancellation.
double logDerivativeFDouble(int l, double x, double eta, bool* negative)
{
    using Real = double;
    constexpr Real eps = 1e-16;
    const Real invx = Real(1) / x;
    Real k = l + 1.0;
    Real invk = 1.0 / k;
    Real Sk = k * invx + eta * invk;
    Real Aprev = 1.0; // A_{-1}, B_{-1}
    Real Bprev = 0.0;
    Real A = Sk; // A_0 = b_0, B_0 = 1
    Real B = 1.0;
    Real diff = 1.0; // A_j B_{j-1} - A_{j-1} B_j, up to sign
    auto advance = [&]() {
        const Real etak = eta * invk;
        const Real a = -(1.0 + etak * etak);
        k += 1.0;
        invk = 1.0 / k;
        const Real Sk1 = k * invx + eta * invk;
        advanceApproximants(a, Sk + Sk1, A, B, Aprev, Bprev);
        Sk = Sk1;
        diff *= a;
    };
    // Converges in roughly x + 20 terms; x < 2 eta is bounded where this is called. Two
    // terms per test.
    for (int n = 0; n < 5000000; ++n) {
        advance();
        advance();
        if (std::fabs(diff) <= eps * std::fabs(A * Bprev))
            break;
        if (std::fabs(B) > 0x1p500)
            scaleDown(A, B, Aprev, Bprev, diff, 500);
    }
    // The denominators are the downward recurrence of F from high orders, where F > 0: the
    // sign of the last one is the sign of F_l.
    if (negative != nullptr)
        *negative = B < Real(0);
    return static_cast<double>(A / B);
}

// The same fraction in extended precision, the partial denominator S_m + S_{m+1} multiplied
// by m (m + 1) / x (an equivalence transformation, DLMF 1.12.4, which leaves the value alone)
// so that every later partial numerator and denominator is a polynomial in m:
//   b_m = (2m + 1)(m (m + 1) + eta x),   a_m = -(m^2 - 1)(m^2 + eta^2) x^2.
// Without a division per term, and with few extended values carried from term to term, it
// runs in about two thirds of the time of the form above. The constants eta x, x^2 and eta^2 are
// kept in extended precision: rounded to double, they move the value by up to 5e-11 near the
// turning point at eta = 3000.
double logDerivativeFExtended(int l, double x, double eta, bool* negative)
{
    using Real = long double;
    const Real etax = Real(eta) * x;
    const Real x2 = Real(x) * x;
    const Real eta2 = Real(eta) * eta;
    double m = l + 1.0; // an integer, exact
    Real Aprev = 1.0;   // A_{-1}, B_{-1}
    Real Bprev = 0.0;
    Real A = Real(m) / x + Real(eta) / m; // A_0 = S_{l+1}, B_0 = 1
    Real B = 1.0;
    // The first partial numerator, -R_{l+1}^2 times the factor of the first denominator.
    Real a = -(Real(m) + 1.0) * (Real(m) * m + eta2) * x / m;
    double diff = 1.0; // A_j B_{j-1} - A_{j-1} B_j, up to sign, for the test only
    for (int n = 0; n < 5000000; ++n) {
        for (int twice = 0; twice < 2; ++twice) {
            const Real b = (2.0 * m + 1.0) * (Real(m * (m + 1.0)) + etax);
            advanceApproximants(a, b, A, B, Aprev, Bprev);
            diff *= static_cast<double>(a);
            m += 1.0;
            a = -(Real(m * m) - 1.0) * (Real(m * m) + eta2) * x2;
        }
        if (std::fabs(diff) <= 1e-16 * std::fabs(static_cast<double>(A * Bprev)))
            break;
        if (std::fabs(B) > 0x1p300)
            scaleDown(A, B, Aprev, Bprev, diff, 300);
    }
    // Each denominator is the one above times a positive factor: the sign is F_l's.
    if (negative != nullptr)
        *negative = B < Real(0);
    return static_cast<double>(A / B);
}

// In double up to x and |eta| of 100, in extended precision beyond: near the turning point
// at large eta the rounding of thousands of terms in double reaches 6e-12 (at eta = 1000;
// 1.5e-13 at eta = 100, x = 200). Strictly below the turning point at |eta| <= 3 the double
// sum agrees with the extended one to 4e-15 at any x (30000 random points, l <= 1000; 2e-14 at
// the turning point itself, 1.8e-14 below it at |eta| up to 30).
double logDerivativeF(int l, double x, double eta, bool* negative = nullptr)
{
    if (std::max(x, std::fabs(eta)) <= 100.0 ||
        (std::fabs(eta) <= 3.0 && x < eta + std::sqrt(eta * eta + l * (l + 1.0))))
        return logDerivativeFDouble(l, x, eta, negative);
    return logDerivativeFExtended(l, x, eta, negative);
}

// (p, q) with p + i q = H'/H, H = G_l + i F_l, at (eta, rho) from the continued fraction
// DLMF 33.8.2 (Barnett's "CF2", Comput. Phys. Commun. 21 (1981) 297):
//   H'/H = i (1 - eta/rho) + (i/rho) a_1 / (b_1 + a_2 / (b_2 + ...)),
// a_j = (l + j + i eta)(j - 1 - l + i eta), b_j = 2 (rho - eta + j i), summed forward as
// above. It converges in a few tens of terms at and beyond the turning point for rho of a
// few units; below it the terms needed grow as rho falls, fastest at l = 0. With a cap of
// maxPairs pairs of terms, returns false where it has not converged within the cap, or once
// the progress so far says that the cap will not do.
constexpr int kUncapped = 100000;
bool logDerivativeH(int l, double eta, double rho, double& p, double& q, int maxPairs = kUncapped)
{
    constexpr double eps2 = 1e-32; // squared tolerance
    const double br = 2.0 * (rho - eta);
    double Apr = 1.0, Api = 0.0, Bpr = 0.0, Bpi = 0.0; // A_{j-1}, B_{j-1}
    double Ar = 0.0, Ai = 0.0, Br = 1.0, Bi = 0.0;     // A_0 = 0, B_0 = 1
    double diff2 = 1.0; // |A_j B_{j-1} - A_{j-1} B_j|^2 = prod |a_i|^2
    const double eta2 = eta * eta;
    const double dl = l;
    double dj = 0.0;
    // Capped, the pairs run in blocks of 32 and 16: the log of the squared relative step falls
    // about as a power of the number of pairs n, so its values at the ends of a 16-pair block
    // tell the n at which it reaches the tolerance.
    const bool capped = maxPairs < kUncapped;
    int done = 0;
    int limit = capped ? std::min(32, maxPairs) : maxPairs;
    double before = 0.0;
    bool converged = false;
    for (;;) {
        for (; done < limit; ++done) {
            for (int twice = 0; twice < 2; ++twice) {
                dj += 1.0;
                const double ar = (dj + dl) * (dj - 1.0 - dl) - eta2;
                const double ai = eta * (2.0 * dj - 1.0);
                const double bi = 2.0 * dj;
                // Grouped so that the half from the older approximant waits for nothing.
                const double Anr = (br * Ar - bi * Ai) + (ar * Apr - ai * Api);
                const double Ani = (br * Ai + bi * Ar) + (ar * Api + ai * Apr);
                const double Bnr = (br * Br - bi * Bi) + (ar * Bpr - ai * Bpi);
                const double Bni = (br * Bi + bi * Br) + (ar * Bpi + ai * Bpr);
                Apr = Ar;
                Api = Ai;
                Bpr = Br;
                Bpi = Bi;
                Ar = Anr;
                Ai = Ani;
                Br = Bnr;
                Bi = Bni;
                diff2 *=
                    ((dj + dl) * (dj + dl) + eta2) * ((dj - 1.0 - dl) * (dj - 1.0 - dl) + eta2);
            }
            if (diff2 <= eps2 * (Ar * Ar + Ai * Ai) * (Bpr * Bpr + Bpi * Bpi)) {
                converged = true;
                break;
            }
            if (std::fabs(Br) + std::fabs(Bi) > 0x1p200) {
                Ar *= 0x1p-200;
                Ai *= 0x1p-200;
                Br *= 0x1p-200;
                Bi *= 0x1p-200;
                Apr *= 0x1p-200;
                Api *= 0x1p-200;
                Bpr *= 0x1p-200;
                Bpi *= 0x1p-200;
                diff2 *= 0x1p-800;
            }
        }
        if (converged || done >= maxPairs)
            break;
        const double now = std::log(diff2 / ((Ar * Ar + Ai * Ai) * (Bpr * Bpr + Bpi * Bpi)));
        if (done % 48 == 0) {
            const double power = std::log(now / before) / std::log(done / (done - 16.0));
            if (!(now < before && before < 0.0) ||
                done * std::exp(std::log(std::log(eps2) / now) / power) > maxPairs)
                break;
        }
        before = now;
        limit = std::min(done + (done % 48 == 0 ? 32 : 16), maxPairs);
    }
    // K = A / B.
    const double den = Br * Br + Bi * Bi;
    const double Kr = (Ar * Br + Ai * Bi) / den;
    const double Ki = (Ai * Br - Ar * Bi) / den;
    p = -Ki / rho;
    q = 1.0 - eta / rho + Kr / rho;
    return converged;
}

constexpr int maxTerms = 400;

// Per-order factors of the Taylor recurrences below, tabulated to keep divisions out of them:
// 1 / ((n + 1)(n + 2)), n(n - 1) / ((n + 1)(n + 2)) and 2n / (n + 2) in r; n(n - 2) / ((n + 1)
// (n + 2)) and (2n - 1) / (n + 2) in sqrt(r).
struct RecurrenceFactors {
    double inv[maxTerms];
    double quad[maxTerms];
    double lin[maxTerms];
    double quadSqrt[maxTerms];
    double linSqrt[maxTerms];
    constexpr RecurrenceFactors() : inv(), quad(), lin(), quadSqrt(), linSqrt()
    {
        for (int n = 0; n < maxTerms; ++n) {
            const double dn = n;
            inv[n] = 1.0 / ((dn + 1.0) * (dn + 2.0));
            quad[n] = dn * (dn - 1.0) * inv[n];
            lin[n] = 2.0 * dn / (dn + 2.0);
            quadSqrt[n] = dn * (dn - 2.0) * inv[n];
            linSqrt[n] = (2.0 * dn - 1.0) / (dn + 2.0);
        }
    }
};
constexpr RecurrenceFactors kFactors;

// One Taylor step of N solutions at once, from rho to rho + h (the N recurrences share their
// factors, and their chains of dependent products overlap).
template <int N>
void taylorStep(double L, double eta, double rho, double h, double (&u)[N], double (&up)[N])
{
    constexpr double eps = 1e-16;
    const double c0 = L + rho * (2.0 * eta - rho);
    const double s = h / rho;
    const double s2 = s * s;
    const double A = c0 * s2;
    const double C = (2.0 * eta - 2.0 * rho) * h * s2;
    const double D = h * h * s2;
    // Scaled coefficients b_n = a_n h^n.
    double bm2[N], bm1[N], b0[N], b1[N], sum[N], dsum[N]; // dsum: h u'(rho + h) = sum n b_n
    for (int i = 0; i < N; ++i) {
        bm2[i] = 0.0;
        bm1[i] = 0.0;
        b0[i] = u[i];
        b1[i] = up[i] * h;
        sum[i] = b0[i] + b1[i];
        dsum[i] = b1[i];
    }
    // The factors do not depend on the terms; only one product and one sum wait for the
    // newest term b1, the rest for b0, which is one term older.
    auto advance = [&](int n) {
        const double inv = kFactors.inv[n];
        const double k0 = A * inv - s2 * kFactors.quad[n];
        const double k1 = C * inv;
        const double k2 = D * inv;
        const double k3 = s * kFactors.lin[n];
        for (int i = 0; i < N; ++i) {
            const double b2 = (k0 * b0[i] + k1 * bm1[i] - k2 * bm2[i]) - k3 * b1[i];
            sum[i] += b2;
            dsum[i] += (n + 2.0) * b2;
            bm2[i] = bm1[i];
            bm1[i] = b0[i];
            b0[i] = b1[i];
            b1[i] = b2;
        }
    };
    // Four terms at a time, the tails tested after each group.
    for (int n = 0; n + 3 < maxTerms; n += 4) {
        advance(n);
        advance(n + 1);
        advance(n + 2);
        advance(n + 3);
        bool done = n >= 2;
        for (int i = 0; i < N && done; ++i) {
            const double tail = std::fabs(b1[i]) + std::fabs(b0[i]);
            done = (n + 5.0) * tail <= eps * std::fabs(dsum[i]) && tail <= eps * std::fabs(sum[i]);
        }
        if (done)
            break;
    }
    for (int i = 0; i < N; ++i) {
        u[i] = sum[i];
        up[i] = dsum[i] / h;
    }
}

// The span of the next inward step from `from` toward `to` > 0: at most half of `from` (the
// series about `from` converges out to the origin) and with growth(span), the e-folds or the
// phase it covers, within the allowance; a few rescalings, which converge from both sides
// since the rate changes slowly over one step. Lands on `to` when that is close to one step.
template <class Growth>
double inwardSpan(double from, double to, double allowance, Growth growth)
{
    const double longest = std::min(from - to, 0.5 * from);
    double span = longest;
    for (int i = 0; i < 6; ++i) {
        const double p = growth(span);
        if (p <= allowance && (span == longest || p >= 0.9 * allowance))
            break;
        span = std::min(longest, span * (allowance / p));
    }
    if (from - span < to || from - to < 1.05 * span)
        span = from - to;
    return span;
}

// Carries N solutions (u, u') of the Coulomb equation
//   rho^2 u'' = (L + 2 eta rho - rho^2) u,   L = l (l + 1),
// from rho down to x < rho by Taylor-series steps (the method of the Taylor series for
// linear ODEs with polynomial coefficients, e.g. Barton, Willers and Zahar, Comput. J. 14
// (1971) 243). Expanding about rho0, u = sum a_n t^n with t = rho - rho0, the coefficients obey
//   rho0^2 (n+1)(n+2) a_{n+2} = (c0 - n(n-1)) a_n - 2 rho0 n(n+1) a_{n+1} + c1 a_{n-1} - a_{n-2},
// c0 = L + 2 eta rho0 - rho0^2, c1 = 2 eta - 2 rho0; the series converges for |t| < rho0.
// Below the turning point the irregular solution grows inward, so the integration is stable
// for it; in an allowed stretch neither solution dominates. The solutions are kept scaled by
// 2^binexp to stay clear of overflow. Returns false, early, once the first is far beyond the
// double range.
template <int N>
bool integrateInward(double L, double eta, double rho, double x, double (&u)[N], double (&up)[N],
                     int& binexp)
{
    constexpr double growthPerStep = 64.0; // e-folds allowed per step below the barrier
    constexpr double phasePerStep = 4.0;   // radians allowed per step in an allowed stretch
    // The local growth rate sqrt(L / r^2 + 2 eta / r - 1) rises inward, so a step is sized by
    // its value at the far end: sized at the near end, a step from the turning point would
    // span a growth of hundreds of e-folds, beyond what the series sums. In an allowed
    // stretch the terms of the series oscillate and cancel, so there the phase per step stays
    // small; an attractive pair's wave number peaks inside a step that ends near the turning
    // point, so the midpoint is looked at too.
    auto kappa = [&](double r) {
        const double k2 = barrierRate2(L, eta, r);
        return k2 >= 0.0 ? std::sqrt(k2) : std::sqrt(-k2) * (growthPerStep / phasePerStep);
    };
    while (rho > x) {
        const double span = inwardSpan(rho, x, growthPerStep, [&](double h) {
            return std::max(kappa(rho - h), kappa(rho - 0.5 * h)) * h;
        });
        // The step ends on a double, exactly: rho + h rounded would shift every later step
        // by up to half an ulp of rho, and G by kappa times that, which adds up to 1e-12
        // over a barrier at eta = 1000. (rho - span is within a factor 2 of rho, so the
        // difference below is exact.)
        const double next = rho - span;
        taylorStep(L, eta, rho, next - rho, u, up);
        rho = next;
        if (std::fabs(u[0]) > 0x1p600 || std::fabs(up[0]) > 0x1p600) {
            for (int i = 0; i < N; ++i) {
                u[i] = std::ldexp(u[i], -600);
                up[i] = std::ldexp(up[i], -600);
            }
            binexp += 600;
            // G grows inward all the way; past 2^1100 nothing of it is left in range.
            if (std::ilogb(u[0]) + binexp > 1100)
                return false;
        }
    }
    return true;
}

// Where an attractive pair's values near the origin start: Steed's method at x itself from
// 2.5 on, and at 2.5 below, from where they are carried inward through about
// 2 sqrt(2 |eta| r) radians. Started at 2.5 rather than 3.5, the integration takes a sixth
// fewer steps at large |eta| and the worst error over the attractive band stays at 3e-13
// (started at 2: 4e-13; at 1: 1.1e-12).
double attractiveStart(double x) { return std::max(x, 2.5); }

// e^(-pi eta) = m 2^e, pi eta formed in two parts: the exponent reaches thousands, and pi eta
// rounded to double would move the value by up to 2e-13 (eta = 1000).
void expMinusPiEta(double eta, double& m, int& e)
{
    constexpr double kPiLo = 1.2246467991473532e-16; // pi - kPi
    constexpr double kLn2Hi = 0.6931471805599453;
    constexpr double kLn2Lo = 2.3190468138462996e-17;
    const double hi = twobody_detail::kPi * eta;
    const double lo = std::fma(twobody_detail::kPi, eta, -hi) + kPiLo * eta;
    const double n = std::nearbyint(-hi / kLn2Hi);
    const double r = (std::fma(-n, kLn2Hi, -hi) - n * kLn2Lo) - lo;
    m = std::exp(r);
    e = static_cast<int>(n);
}

// The power series of F at the origin (DLMF 33.6.1-3), summed as sumOut 2^sumexpOut and
// dsumOut 2^sumexpOut below. False where it has not converged in 2600 terms or cancels.
bool regularSeries(int l, double x, double eta, double& sumOut, double& dsumOut, int& sumexpOut)
{
    // With a_j = A_{l+1+j} x^j:
    //   F = C_l x^(l+1) sum_j a_j,   F' = C_l x^l sum_j (l + 1 + j) a_j,
    //   a_0 = 1,   j (2l + 1 + j) a_j = 2 eta x a_{j-1} - x^2 a_{j-2}.
    // Below the barrier of a repulsive pair the terms are positive until well past their peak;
    // the negative ones guard against cancellation (the moduli summing to 4 times the sum costs
    // under a digit).
    const double t = 2.0 * eta * x;
    const double x2 = x * x;
    // Two terms a step, both from the two before them, so that each waits for one product and
    // one difference, and one division serves both:
    //   a_j = u a_{j-1} - v a_{j-2},   a_{j+1} = (u' u - v') a_{j-1} - u' v a_{j-2}.
    double am2 = 0.0;
    double am1 = 1.0;
    double sum = 1.0;
    double jsum = 0.0;   // sum_j j a_j
    double negsum = 0.0; // the negative terms
    int sumexp = 0;
    bool converged = false;
    const double c0 = 2.0 * l + 1.0;
    double u1 = 0.0;
    auto pair = [&](double dj, bool guard) {
        const double d0 = dj * (c0 + dj);
        const double d1 = (dj + 1.0) * (c0 + 1.0 + dj);
        const double inv = 1.0 / (d0 * d1);
        const double inv0 = d1 * inv;
        const double inv1 = d0 * inv;
        const double u0 = t * inv0;
        const double v0 = x2 * inv0;
        u1 = t * inv1;
        const double v1 = x2 * inv1;
        const double a0 = u0 * am1 - v0 * am2;
        const double a1 = (u1 * u0 - v1) * am1 - (u1 * v0) * am2;
        const double s01 = a0 + a1;
        sum += s01;
        jsum += dj * s01 + a1;
        if (guard)
            negsum += std::min(a0, 0.0) + std::min(a1, 0.0);
        am2 = a0;
        am1 = a1;
    };
    // Four terms a step, the tail and the range tested after each.
    auto four = [&](double dj, bool guard) {
        pair(dj, guard);
        pair(dj + 2.0, guard);
        // Past the peak the ratio of terms stays below u1, and the tail below a1 u1 / (1 - u1).
        converged = u1 < 1.0 && std::fabs(am1) * (dj + 4.0) <= 1e-17 * (1.0 - u1) * sum;
        if (sum > 0x1p600) {
            sum *= 0x1p-600;
            jsum *= 0x1p-600;
            negsum *= 0x1p-600;
            am1 *= 0x1p-600;
            am2 *= 0x1p-600;
            sumexp += 600;
        }
    };
    // With D = j (2l + 1 + j) the ratio r of successive terms follows r -> (t - x^2 / r) / D.
    // While D <= eta^2 the map has real fixed points, the larger above t / (2D) >= x / eta;
    // starting above it at j = 1 (r = t / D), r stays above the larger fixed point, which falls
    // as D grows, so the next term is positive. The guard is needed only beyond (and for an
    // attractive pair throughout).
    const double positiveWhile = eta > 0.0 ? eta * eta : 0.0;
    double dj = 1.0;
    for (; (dj + 3.0) * (c0 + dj + 3.0) <= positiveWhile && dj < 2600.0 && !converged; dj += 4.0)
        four(dj, false);
    for (; dj < 2600.0 && !converged; dj += 4.0)
        four(dj, true);
    sumOut = sum;
    dsumOut = (l + 1.0) * sum + jsum;
    sumexpOut = sumexp;
    return converged && -negsum <= 1.5 * sum;
}

// Deep below the barrier of a repulsive pair G'/G needs no H'/H: any solution with a share of
// G, carried inward through 20 e-folds, is G to rounding, the share of F falling as
// e^(-2 e-folds). deepStart gives an r where the e-folds from r to x reach 20, short of
// 0.9 x_tp (else 0). Q = barrierRate2 falls outward, so on pieces [a, b] growing by 2^(1/4)
// the sum of (b - a) sqrt(Q(b)) is a lower bound on the e-folds, within about 5 per cent.
double deepStart(int l, double x, double eta, double turningPoint)
{
    constexpr double kPiece = 1.189207115002721; // 2^(1/4)
    const double L = static_cast<double>(l) * (l + 1.0);
    const double last = 0.9 * turningPoint;
    double efolds = 0.0;
    for (double a = x; a < last;) {
        const double b = std::min(a * kPiece, last);
        const double rate = std::sqrt(barrierRate2(L, eta, b));
        if (efolds + (b - a) * rate >= 20.0)
            return a + (20.0 - efolds) / rate; // the rate on [a, b] is at least this one
        efolds += (b - a) * rate;
        a = b;
    }
    return 0.0;
}

// One Taylor step of a solution v(t) = u(t^2) of the Coulomb equation in t = sqrt(r),
//   t^2 v'' - t v' = 4 (L + 2 eta t^2 - t^4) v,
// from t0 to t0 + h. Expanding about t0, v = sum c_n tau^n, tau = t - t0,
//   t0^2 (n+1)(n+2) c_{n+2} = -t0 (n+1)(2n-1) c_{n+1} + (4 P0 - n(n-2)) c_n + 4 P1 c_{n-1}
//                             + 4 P2 c_{n-2} - 16 t0 c_{n-3} - 4 c_{n-4},
// P0 = L + 2 eta t0^2 - t0^4, P1 = 4 eta t0 - 4 t0^3, P2 = 2 eta - 6 t0^2. The series converges
// for |tau| < t0 as the one in r does for |rho - rho0| < rho0, but a step to t0 / 2 spans
// r0 ... r0 / 4: near the origin, where steps in r are held to half of r by the singularity
// there, it takes half as many.
void taylorStepSqrt(double L, double eta, double t0, double h, double& v, double& vp)
{
    constexpr double eps = 1e-16;
    const double t2 = t0 * t0;
    const double s = h / t0;
    const double s2 = s * s;
    const double A = 4.0 * (L + t2 * (2.0 * eta - t2)) * s2;
    const double B1 = 16.0 * t0 * (eta - t2) * s2 * h;
    const double B2 = 4.0 * (2.0 * eta - 6.0 * t2) * s2 * h * h;
    const double B3 = -16.0 * t0 * s2 * h * h * h;
    const double B4 = -4.0 * s2 * h * h * h * h;
    // Scaled coefficients b_n = c_n h^n; dsum: h v'(t0 + h) = sum n b_n.
    double bm4 = 0.0, bm3 = 0.0, bm2 = 0.0, bm1 = 0.0, b0 = v, b1 = vp * h;
    double sum = b0 + b1;
    double dsum = b1;
    auto advance = [&](int n) {
        const double inv = kFactors.inv[n];
        const double k0 = A * inv - s2 * kFactors.quadSqrt[n];
        const double k1 = s * kFactors.linSqrt[n];
        const double b2 =
            (k0 * b0 + inv * ((B1 * bm1 + B2 * bm2) + (B3 * bm3 + B4 * bm4))) - k1 * b1;
        sum += b2;
        dsum += (n + 2.0) * b2;
        bm4 = bm3;
        bm3 = bm2;
        bm2 = bm1;
        bm1 = b0;
        b0 = b1;
        b1 = b2;
    };
    // Two terms at a time, the tail tested after each pair.
    for (int n = 0; n + 2 < maxTerms; n += 2) {
        advance(n);
        advance(n + 1);
        const double tail = std::fabs(b1) + std::fabs(b0);
        if (n >= 2 && (n + 4.0) * tail <= eps * std::fabs(dsum) && tail <= eps * std::fabs(sum))
            break;
    }
    v = sum;
    vp = dsum / h;
}

// G'/G at x from its value y at start > x, carried inward in t = sqrt(r) by Taylor steps of at
// most half of t and 64 e-folds (the rate in t is 2 t sqrt(Q)).
double ratioInward(double L, double eta, double start, double x, double y)
{
    constexpr double growthPerStep = 64.0;
    const double tx = std::sqrt(x);
    double t = std::sqrt(start);
    double v = 1.0;
    double vp = 2.0 * t * y; // dv/dt = 2 t du/dr
    while (t > tx) {
        const double span = inwardSpan(t, tx, growthPerStep, [&](double h) {
            const double end = t - h;
            return 2.0 * end * std::sqrt(barrierRate2(L, eta, end * end)) * h;
        });
        const double next = t - span;
        taylorStepSqrt(L, eta, t, next - t, v, vp);
        t = next;
        // Only the ratio is wanted: keep v near 1.
        vp /= v;
        v = 1.0;
    }
    return vp / (2.0 * tx);
}

// G'/G at x, carried inward from start as above; the start from the JWKB estimate
// G'/G = -sqrt(Q) - Q'/(4Q).
double deepRatio(int l, double x, double eta, double start)
{
    const double L = static_cast<double>(l) * (l + 1.0);
    const double q = barrierRate2(L, eta, start);
    const double dq = -2.0 * L / (start * start * start) - 2.0 * eta / (start * start);
    return ratioInward(L, eta, start, x, -std::sqrt(q) - dq / (4.0 * q));
}

} // namespace

// F, G, F', G' of order l at and below the turning point x_tp = eta + sqrt(eta^2 + l(l + 1)),
// eta > 0, and of order 0 near the origin.
// Steed's method (Barnett, loc. cit.) at rho0 = max(x_tp, eta + 3.5, 3.5), where both
// continued fractions converge (the one for H'/H slows down as rho - eta falls below a few
// units; for an attractive pair, max(x, 2.5) in place of 3.5, see allowedInward): with f = F'/F and
// p + i q = H'/H, the Wronskian gives F^2 = 1 / ((f - p)^2 / q + q), G = (f - p) F / q, G' = p G -
// q F. G, which grows inward below the turning point, is carried from rho0 to x by Taylor steps;
// F'/F at x from its continued fraction; then the Wronskian F'G - FG' = 1 gives F = 1 / (G F'/F -
// G'), free of cancellation since F'/F > 0 > G'/G there. Values beyond the double range come out as
// 0 (F, F'), +inf (G) or -inf (G').
void belowTurningPoint(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    const double L = static_cast<double>(l) * (l + 1.0);
    const double rho0 =
        std::max({eta + std::sqrt(eta * eta + L), eta + 3.5, eta < 0.0 ? attractiveStart(x) : 3.5});
    double p = 0.0;
    double q = 0.0;
    logDerivativeH(l, eta, rho0, p, q);
    const double f0 = logDerivativeF(l, rho0, eta);
    // The sign of F is left open here and fixed below, where F > 0.
    const double fc = 1.0 / std::sqrt((f0 - p) * (f0 - p) / q + q);
    double gc = (f0 - p) * fc / q;
    double gcp = p * gc - q * fc;
    int binexp = 0;
    double g[1] = {gc};
    double gp[1] = {gcp};
    const bool inRange = integrateInward(L, eta, rho0, x, g, gp, binexp);
    gc = g[0];
    gcp = gp[0];
    if (!inRange) {
        *F = 0.0;
        *Fp = 0.0;
        *G = HUGE_VAL;
        *Gp = -HUGE_VAL;
        return;
    }
    const double f = logDerivativeF(l, x, eta);
    // 1 / (G f - G'), formed so that G f cannot overflow near the origin; F' = f F before the
    // scaling, where F may come out subnormal and F' still normal.
    double fs = (1.0 / gc) / (f - gcp / gc);
    double fps = f * fs;
    if (binexp != 0) {
        gc = std::ldexp(gc, binexp);
        gcp = std::ldexp(gcp, binexp);
        fs = std::ldexp(fs, -binexp);
        fps = std::ldexp(fps, -binexp);
    }
    // Below the turning point F is positive (it grows convexly from 0); G, G' take its sign.
    // (F may have underflowed to a signed zero.)
    if (std::signbit(fs)) {
        fs = -fs;
        fps = -fps;
        gc = -gc;
        gcp = -gcp;
    }
    *G = gc;
    *Gp = gcp;
    *F = fs;
    *Fp = fps;
}

// F, G, F', G' beyond the turning point of an attractive pair, short of x = 3.5. Steed's
// method at max(x, 2.5), the sign of F from the continued fraction for F'/F, and both
// solutions carried inward by Taylor steps: in an allowed region neither of them dominates.
void allowedInward(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    const double L = static_cast<double>(l) * (l + 1.0);
    const double rho0 = attractiveStart(x);
    double p = 0.0;
    double q = 0.0;
    logDerivativeH(l, eta, rho0, p, q);
    bool negative = false;
    const double f0 = logDerivativeF(l, rho0, eta, &negative);
    double fc = 1.0 / std::sqrt((f0 - p) * (f0 - p) / q + q);
    if (negative)
        fc = -fc;
    double gc = (f0 - p) * fc / q;
    double gcp = p * gc - q * fc;
    double u[2] = {gc, fc};
    double up[2] = {gcp, f0 * fc};
    int binexp = 0;
    integrateInward(L, eta, rho0, x, u, up, binexp);
    *G = std::ldexp(u[0], binexp);
    *Gp = std::ldexp(up[0], binexp);
    *F = std::ldexp(u[1], binexp);
    *Fp = std::ldexp(up[1], binexp);
}

// F, G, F', G' of order l below its turning point from G, G' of order 0 at the same x: G rises
// by the recurrences DLMF 33.4.3-4 (stable upward for the irregular solution, which grows
// with l there), F follows from F'/F and the Wronskian as in belowTurningPoint.
void upwardFromOrderZero(int l, double x, double eta, double G0, double G0p, double* F, double* G,
                         double* Fp, double* Gp)
{
    // The first step from G_0, G'_0; then the three-term recurrence
    //   R_k G_k = (S_k + S_{k-1}) G_{k-1} - R_{k-1} G_{k-2}   (DLMF 33.4.1)
    // for g_k = R_1 ... R_k G_k, which needs only the squares R_k^2 = 1 + eta^2 / k^2:
    //   g_k = (S_k + S_{k-1}) g_{k-1} - R_{k-1}^2 g_{k-2},
    // one division per order and no square root; R_1^2 ... R_l^2 is multiplied up on the
    // side (its rounding, a relative l eps / 2 at most, is below the bound), and G_l, G'_l
    // follow from g_{l-1}, g_l at the end.
    // Near the top of the double range the first orders are scaled down, so that the products
    // of the recurrence stay finite.
    int binexp = 0;
    if (std::max(std::fabs(G0), std::fabs(G0p)) > 0x1p500) {
        G0 = std::ldexp(G0, -600);
        G0p = std::ldexp(G0p, -600);
        binexp = 600;
    }
    double gc = G0;
    double gcp = G0p;
    if (l >= 1) {
        const double invx = 1.0 / x;
        const double S1 = invx + eta;
        double R2prev = 1.0 + eta * eta; // R_1^2
        double gprev = G0;               // g_0
        double g = S1 * G0 - G0p;        // g_1 = R_1 G_1
        double Sprev = S1;
        double prodR2 = R2prev; // R_1^2 ... R_k^2, scaled by 2^prodexp
        int prodexp = 0;
        // Two orders a step, both from the two before them, so that each waits for one product
        // and one difference: with g_k = A g_{k-1} - B g_{k-2} and g_{k+1} = A' g_k - B' g_{k-1},
        //   g_{k+1} = (A' A - B') g_{k-1} - A' B g_{k-2}.
        int k = 2;
        for (; k + 1 <= l; k += 2) {
            const double e0 = eta / k;
            const double e1 = eta / (k + 1);
            const double S0 = k * invx + e0;
            const double S1 = (k + 1) * invx + e1;
            const double A0 = S0 + Sprev;
            const double B0 = R2prev;
            const double A1 = S1 + S0;
            const double B1 = 1.0 + e0 * e0;
            const double g0 = A0 * g - B0 * gprev;
            const double g1 = (A1 * A0 - B1) * g - (A1 * B0) * gprev;
            R2prev = 1.0 + e1 * e1;
            prodR2 *= B1 * R2prev;
            gprev = g0;
            g = g1;
            Sprev = S1;
            if (std::fabs(g) > 0x1p600 || std::fabs(gprev) > 0x1p600) {
                g *= 0x1p-600;
                gprev *= 0x1p-600;
                binexp += 600;
            }
            if (prodR2 > 0x1p600) {
                prodR2 *= 0x1p-600;
                prodexp += 600;
            }
        }
        if (k == l) {
            const double e = eta / k;
            const double Sk = k * invx + e;
            const double gnew = (Sk + Sprev) * g - R2prev * gprev;
            R2prev = 1.0 + e * e;
            prodR2 *= R2prev;
            gprev = g;
            g = gnew;
            Sprev = Sk;
        }
        // prodR2 = R_1^2 ... R_l^2 = P^2 2^-prodexp, prodexp even; R2prev = R_l^2, Sprev = S_l.
        const double invP = 1.0 / std::sqrt(prodR2);
        binexp -= prodexp / 2;
        gc = g * invP;
        gcp = (R2prev * gprev - Sprev * g) * invP;
    }
    // G_0 comes with its sign, and the Wronskian gives F its own: an attractive pair's F of low
    // order may be negative here, beyond its turning point.
    const double f = logDerivativeF(l, x, eta);
    const double fs = (1.0 / gc) / (f - gcp / gc);
    *G = std::ldexp(gc, binexp);
    *Gp = std::ldexp(gcp, binexp);
    *F = std::ldexp(fs, -binexp);
    *Fp = std::ldexp(f * fs, -binexp); // scaled last: F may be subnormal, F' not
}

namespace {

// psi(1 + i eta), the digamma function: its asymptotic expansion (DLMF 5.11.2) at
// w = 1 + N + i eta, |w| >= 10, where the terms through w^-14 reach the rounding level, and the
// recurrence psi(z + 1) = psi(z) + 1/z (DLMF 5.5.2) down to N = 0.
std::complex<double> digammaOnePlusI(double eta)
{
    using C = std::complex<double>;
    const int n = std::fabs(eta) < 10.0 ? 9 : 0;
    const C w(1.0 + n, eta);
    const C r = 1.0 / w;
    const C r2 = r * r;
    // -1/12 + r2 (1/120 + r2 (-1/252 + r2 (1/240 + r2 (-1/132 + r2 (691/32760 - r2/12))))).
    C tail = 691.0 / 32760.0 - r2 / 12.0;
    tail = -1.0 / 132.0 + r2 * tail;
    tail = 1.0 / 240.0 + r2 * tail;
    tail = -1.0 / 252.0 + r2 * tail;
    tail = 1.0 / 120.0 + r2 * tail;
    tail = -1.0 / 12.0 + r2 * tail;
    C psi = std::log(w) - 0.5 * r + r2 * tail;
    for (int k = n - 1; k >= 0; --k)
        psi -= 1.0 / C(1.0 + k, eta);
    return psi;
}

} // namespace

bool orderZeroNearOrigin(double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    // DLMF 33.6.5 at l = 0, with a = 1 + i eta: the phase of Gamma(1 + i eta) and eta ln 2x
    // drop out between the prefactor and the powers of -2ix, leaving
    //   H+ = G + i F = e^(ix) (1 + i eta S) / C_0,
    //   S = sum_k c_k L_k,   c_k = (a)_k (-2ix)^(k+1) / ((2)_k k!),
    //   L_k = ln 2x - i pi/2 + psi(a + k) - psi(1 + k) - psi(2 + k),
    // and H+' = e^(ix) (i (1 + i eta S) + i eta S') / C_0 with
    //   x S' = sum_k c_k ((k + 1) L_k + 1).
    // The terms grow as the modified Bessel function I_1(2 sqrt(2 |eta| x)) before they fall,
    // so the sum cancels: the size of the largest ones against the result is the measure.
    constexpr double kEulerGamma = 0.5772156649015329;
    const std::complex<double> psiA = digammaOnePlusI(eta);
    double psiRe = psiA.real(); // psi(a + k)
    double psiIm = psiA.imag();
    double psi12 = 1.0 - 2.0 * kEulerGamma; // psi(1 + k) + psi(2 + k)
    const double l0r = std::log(2.0 * x);
    const double l0i = -0.5 * twobody_detail::kPi;
    double cr = 0.0; // c_k
    double ci = -2.0 * x;
    double Sr = 0.0, Si = 0.0, Dr = 0.0, Di = 0.0; // S, x S'
    double largest = 0.0;
    bool converged = false;
    for (int k = 0; k < 200 && !converged; ++k) {
        const double dk = k;
        const double Lr = l0r + psiRe - psi12;
        const double Li = l0i + psiIm;
        const double tr = cr * Lr - ci * Li;
        const double ti = cr * Li + ci * Lr;
        Sr += tr;
        Si += ti;
        Dr += (dk + 1.0) * tr + cr;
        Di += (dk + 1.0) * ti + ci;
        const double size = std::fabs(tr) + std::fabs(ti);
        largest = std::max(largest, size);
        converged = k > 4 && size < 1e-17 * (std::fabs(Sr) + std::fabs(Si));
        // a + k, 1 / (a + k); c_{k+1} = c_k (a + k)(-2ix) / ((k + 2)(k + 1)).
        const double ar = 1.0 + dk;
        const double inv = 1.0 / (ar * ar + eta * eta);
        psiRe += ar * inv;
        psiIm -= eta * inv;
        psi12 += 1.0 / (dk + 1.0) + 1.0 / (dk + 2.0);
        const double scale = -2.0 * x / ((dk + 2.0) * (dk + 1.0));
        const double mr = cr * ar - ci * eta; // c_k (a + k)
        const double mi = cr * eta + ci * ar;
        cr = -mi * scale; // times -i scale
        ci = mr * scale;
    }
    // U = 1 + i eta S, U' x = i eta x S'.
    const double Ur = 1.0 - eta * Si;
    const double Ui = eta * Sr;
    const double Upr = -eta * Di / x;
    const double Upi = eta * Dr / x;
    // The bound on the cancellation: at 500 an attractive pair's values are right to 7e-14 up
    // to x = 2.5 (beyond, the sum of the derivative cancels further); a repulsive pair's G is
    // the smaller solution here and allows less.
    const double limit = eta < 0.0 ? 500.0 : 30.0;
    if (!converged || largest * std::fabs(eta) > limit * (std::fabs(Ur) + std::fabs(Ui)))
        return false;
    // 1 / C_0 = sqrt((e^(2 pi eta) - 1) / (2 pi eta)): for eta > 0 as
    // sqrt((1 - e^(-2 pi eta)) / (2 pi eta)) e^(pi eta), e^(pi eta) = 2^e / m.
    const double twoPiEta = 2.0 * twobody_detail::kPi * eta;
    double invC0 = std::sqrt(std::expm1(twoPiEta) / twoPiEta);
    int e = 0;
    if (eta > 0.0) {
        double m;
        expMinusPiEta(eta, m, e);
        invC0 = std::sqrt(-std::expm1(-twoPiEta) / twoPiEta) / m;
        e = -e;
    }
    const double c = std::cos(x);
    const double sn = std::sin(x);
    // e^(ix) U and e^(ix) (i U + U').
    const double Hr = c * Ur - sn * Ui;
    const double Hi = c * Ui + sn * Ur;
    const double Kr = c * (Upr - Ui) - sn * (Upi + Ur);
    const double Ki = c * (Upi + Ur) + sn * (Upr - Ui);
    // Beyond the double range the integration from the turning point gives the limits.
    const double g = std::ldexp(Hr * invC0, e);
    const double gp = std::ldexp(Kr * invC0, e);
    if (!(std::isfinite(g) && std::isfinite(gp)))
        return false;
    *G = g;
    *Gp = gp;
    *F = std::ldexp(Hi * invC0, e);
    *Fp = std::ldexp(Ki * invC0, e);
    return true;
}

bool originSeries(int l, double x, double eta, double turningPoint, double* F, double* G,
                  double* Fp, double* Gp)
{
    constexpr int kMaxFractionPairs = 150; // beyond, its rounding passes 1e-13
    // The terms of the power series peak near j = sqrt(2 eta x + (l + 1/2)^2) - (l + 1/2) and
    // are negligible by about 1.3 times that, plus 30; beyond 1500 the integration from the
    // turning point is the cheaper. Approaching the turning point the terms past the peak
    // cancel (the sum of their moduli is 1.5 times the sum at x = x_tp / 2, all of it at x_tp).
    if (l > 300 || x > 0.6 * turningPoint || seriesPeak(l, x, eta) > 1500.0)
        return false;
    const double deep = deepStart(l, x, eta, turningPoint);
    if (deep == 0.0 && l <= 3 && eta < 15.0)
        return false; // the integration from the turning point is the cheaper (see below)
    double sum = 0.0;
    double dsum = 0.0;
    int sumexp = 0;
    if (!regularSeries(l, x, eta, sum, dsum, sumexp))
        return false;
    double p = 0.0; // Re H'/H, or G'/G itself
    if (deep > 0.0) {
        p = deepRatio(l, x, eta, deep);
    } else {
        // The fraction for H'/H needs more than the cap short of about max(1, eta/30,
        // eta^2/3000) at l <= 3, and short of about max(eta^2 / (500 l), eta^2/3000) above
        // unless it needs fewer at any x, about 72 eta^0.9 / l terms (measured from l = 0 to
        // 300, eta = 1 to 1000). Closer to the origin it is summed there, and G'/G carried
        // inward to x by Taylor steps. The solution so started is G (1 + r_start r_x) at x; from
        // eta = 5 on the barrier between the start and the turning point makes that 1 to
        // rounding. (At l <= 3 below eta = 15, and where the start is not well below the
        // turning point, which happens beyond eta = 1800, the integration from the turning
        // point is the cheaper.)
        double start = eta * eta / 3000.0;
        if (l <= 3)
            start = std::max({start, 1.0, eta / 30.0});
        else if (72.0 * std::pow(eta, 0.9) > 280.0 * l)
            start = std::max(start, eta * eta / (500.0 * l));
        else
            start = 0.0;
        if (x < start && (eta < 5.0 || start > 0.3 * turningPoint))
            return false;
        double q = 0.0;
        if (!logDerivativeH(l, eta, std::max(x, start), p, q, kMaxFractionPairs))
            return false;
        if (x < start)
            p = ratioInward(static_cast<double>(l) * (l + 1.0), eta, start, x, p);
    }
    const double f = dsum / (x * sum);
    // The normalization (DLMF 33.2.5-6, and the recurrence in l that follows from them)
    //   C_l = C_0 prod_k sqrt(k^2 + eta^2) / (k (2k + 1)),
    //   C_0 = sqrt(2 pi eta / (1 - e^(-2 pi eta))) e^(-pi eta),
    // as cm 2^ce; the numerators and the denominators (integers) multiplied up apart.
    double cm;
    int ce;
    expMinusPiEta(eta, cm, ce);
    const double twoPiEta = 2.0 * twobody_detail::kPi * eta;
    double num = twoPiEta / -std::expm1(-twoPiEta);
    double den = 1.0;
    int numexp = 0;
    int denexp = 0;
    const double eta2 = eta * eta;
    auto numFactor = [eta2](double k) { return k * k + eta2; };
    auto denFactor = [](double k) { return k * (2.0 * k + 1.0); };
    // Four orders a step (their products below 2^110 at eta <= 1e4, l <= 300), rescaled by exact
    // powers of 2.
    int k = 1;
    for (; k + 3 <= l; k += 4) {
        const double dk = k;
        num *= (numFactor(dk) * numFactor(dk + 1.0)) * (numFactor(dk + 2.0) * numFactor(dk + 3.0));
        den *= (denFactor(dk) * denFactor(dk + 1.0)) * (denFactor(dk + 2.0) * denFactor(dk + 3.0));
        if (num > 0x1p600) {
            num *= 0x1p-600;
            numexp += 600;
        }
        if (den > 0x1p600) {
            den *= 0x1p-600;
            denexp += 600;
        }
    }
    for (; k <= l; ++k) {
        num *= numFactor(k);
        den *= denFactor(k);
    }
    cm *= std::sqrt(num) / den;
    ce += numexp / 2 - denexp;
    // F = fm 2^fe with fm in [1/2, 1): x^(l+1) = xm^(l+1) 2^(xe (l+1)), xm near 1 so that its
    // power stays in range.
    int xe;
    double xm = std::frexp(x, &xe);
    if (xm < 0.7071067811865476) {
        xm *= 2.0;
        --xe;
    }
    int fe;
    const double fm = std::frexp(cm * std::pow(xm, l + 1.0) * sum, &fe);
    fe += ce + xe * (l + 1) + sumexp;
    // Steed's relations with F in place of Im H'/H, which has no digits left below the
    // barrier: with r = F / G and g = G'/G, p = Re H'/H = (g + r^2 f) / (1 + r^2), and the
    // Wronskian F'G - FG' = 1 gives r = F^2 (f - g) = b (1 + r^2), b = F^2 (f - p).
    const double b = std::ldexp(fm * fm, 2 * fe) * (f - p);
    if (!(b < 0.5))
        return false;
    const double r = 2.0 * b / (1.0 + std::sqrt(1.0 - 4.0 * b * b));
    const double g = p * (1.0 + r * r) - r * r * f;
    *F = std::ldexp(fm, fe);
    *Fp = std::ldexp(f * fm, fe);
    *G = std::ldexp(1.0 / (fm * (f - g)), -fe);
    *Gp = g * *G;
    return true;
}

// Steed's method at x itself (Barnett, loc. cit.): F'/F and the sign of F from the continued
// fraction in l, H'/H from DLMF 33.8.2, and the Wronskian. Sound beyond the turning point,
// where the fraction for H'/H converges fast; the one for F'/F takes about x terms.
void steed(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    bool negative = false;
    const double f = logDerivativeF(l, x, eta, &negative);
    double p = 0.0;
    double q = 0.0;
    logDerivativeH(l, eta, x, p, q);
    double fc = 1.0 / std::sqrt((f - p) * (f - p) / q + q);
    if (negative)
        fc = -fc;
    *F = fc;
    *G = (f - p) * fc / q;
    *Fp = f * fc;
    *Gp = p * *G - q * fc;
}

// The asymptotic expansion at large x (DLMF 33.11.1):
//   H+ = G + i F ~ e^(i theta) sum_k (a)_k (b)_k / (k! (2 i x)^k),
// a = 1 + l + i eta, b = -l + i eta, theta = x - eta ln(2x) - l pi/2 + arg Gamma(l + 1 + i eta),
// and H+' = e^(i theta) (i (1 - eta/x) S + S'). e^(i theta) is formed as e^(ix) times the
// rest, so that x, which may be large, is reduced exactly. Returns false where the terms do not
// fall to the rounding level before they start to grow, or grow so large on the way that
// their sum cancels.
bool asymptotic(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    using C = std::complex<double>;
    const C a(1.0 + l, eta);
    const C b(-static_cast<double>(l), eta);
    const C z(0.0, -0.5 / x); // 1 / (2 i x)
    C term = 1.0;
    C sum = 1.0;
    C dsum = 0.0; // x S'
    double largest = 1.0;
    double previous = 1.0;
    bool converged = false;
    for (int k = 1; k <= 400; ++k) {
        term *= (a + (k - 1.0)) * (b + (k - 1.0)) * z / static_cast<double>(k);
        sum += term;
        dsum -= static_cast<double>(k) * term;
        const double size = std::abs(term);
        if (size == 0.0 || (size < 1e-17 * std::abs(sum) && k * size < 1e-17 * std::abs(sum))) {
            converged = true;
            break;
        }
        if (size > previous && size < largest * 1e-3 && k > 2)
            return false; // past the smallest term
        previous = size;
        largest = std::max(largest, size);
    }
    if (!converged || largest > std::max(2e2, 0.2 * x))
        return false;
    gsl_sf_result lnr{kNaN, kNaN};
    gsl_sf_result arg{kNaN, kNaN};
    if (gslStatusOutcome(gsl_sf_lngamma_complex_e(l + 1.0, eta, &lnr, &arg)) != GslOutcome::Ok)
        return false;
    // (-i)^l exactly.
    static constexpr double kRe[4] = {1.0, 0.0, -1.0, 0.0};
    static constexpr double kIm[4] = {0.0, -1.0, 0.0, 1.0};
    const double rest = arg.val - eta * std::log(2.0 * x);
    const C phase =
        C(std::cos(x), std::sin(x)) * C(kRe[l % 4], kIm[l % 4]) * C(std::cos(rest), std::sin(rest));
    const C H = phase * sum;
    const C Hp = phase * (C(0.0, 1.0 - eta / x) * sum + dsum / x);
    *G = H.real();
    *F = H.imag();
    *Gp = Hp.real();
    *Fp = Hp.imag();
    return true;
}

void towardOrigin(int l, double eta, double x0, double x, double& F, double& Fp, double& G,
                  double& Gp)
{
    if (l == 0) {
        Gp -= 2.0 * eta * G * std::log(x0 / x);
        F *= x / x0;
        return;
    }
    const double r = x0 / x;
    G *= std::pow(r, l);
    Gp = -l * G / x;
    // F' ~ x^l on its own: from F (~ x^(l+1)) it would share F's underflow.
    F /= std::pow(r, l + 1);
    Fp /= std::pow(r, l);
}

} // namespace detail
} // namespace CoulWave
