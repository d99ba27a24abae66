// The phase-integral (JWKB) expansion to high order below the turning point.
//
// With Langer's lam = l + 1/2 the equation u'' = (l(l+1)/r^2 + 2 eta/r - 1) u reads
// u'' = (P/r^2 - 1/(4 r^2)) u, P = lam^2 + 2 eta r - r^2, whose one positive root is the
// turning point eta + rho, rho = sqrt(eta^2 + lam^2). Inside it, with t = (r - eta)/rho,
// e = eta/rho, P = rho^2 (1 - t^2) and u = 1/(rho^2 (1 - t^2)^3),
//   F = q^(-1/2) e^(-W) / 2,   G = q^(-1/2) e^W,   F'/F = q + o,   G'/G = o - q,
// where the rate q and o = -q'/(2q) are series in u, and W is the finite part of the integral
// of q from x to the turning point (half the integral around a loop about it): the
// phase-integral method with its connection at a simple turning point (N. Froman and
// P. O. Froman, Phase-Integral Method, Springer 1996; DLMF 2.7(iii)). The first order has
// the closed form W0 below, and beyond it every term of q has an algebraic antiderivative,
// so its finite part is minus that at x. The polynomials N_m, M_m, D_m of the terms come from
// scripts/gen_phase_integral_terms.py.
#include "coulomb_methods.h"

#include <cmath>
#include <limits>

namespace CoulWave {
namespace detail {

namespace {

#include "phase_integral_terms.inc"

constexpr int kOrders = 6;            // pairs of terms in phase_integral_terms.inc
constexpr double kNegligible = 1e-15; // a term this small (relative) ends the series
constexpr double kTrusted = 2e-14;    // a last term above this is refused

} // namespace

bool phaseIntegral(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    using LD = long double;
    // W is formed in long double (below); where that is no wider than double the other
    // routes serve.
    if constexpr (std::numeric_limits<LD>::digits < 64)
        return false;
    const LD lam = l + 0.5L;
    const LD rho = std::sqrt(static_cast<LD>(eta) * eta + lam * lam);
    const LD T = (x - static_cast<LD>(eta)) / rho;
    const LD rt = x / rho; // r / rho = e + t
    // At the turning point (t = 1) the terms are infinite; short of it the test on their size
    // below decides.
    if (!(T < 0.99L) || !(rt > 0.0L))
        return false;
    const LD E = eta / rho;
    const LD PL = (1.0L - T) * (1.0L + T);
    const double t = static_cast<double>(T);
    const double e = static_cast<double>(E);
    const double e2 = e * e;
    const double r = static_cast<double>(rho);
    const double ert = static_cast<double>(rt);
    const double P = static_cast<double>(PL);
    const double s = std::sqrt(P);
    const double u = 1.0 / (r * r * P * P * P);
    if (!(u < 0.1))
        return false; // in random samples it never served from u = 1 on, rarely above 0.1
    // The corrections first, to refuse before the costly first order: the series is
    // asymptotic, so it stops before a term grows (near the origin at small l, or toward the
    // turning point), and is refused if the terms have not fallen far enough by then.
    const double q0 = s / ert;
    double q = q0;
    double o = (1.0 + e * t) / (2.0 * r * ert * P);
    double dW = 0.0;
    double um = 1.0;
    double last = 0.0;
    for (int m = 1; m <= kOrders; ++m) {
        um *= u;
        const double w = -r * s * P * phaseW(m, t, e, e2) * um;
        const double qm = s * phaseQ(m, t, e, e2) * um;
        const double om = phaseO(m, t, e, e2) * um / (r * P);
        const double size = std::fabs(w) + (std::fabs(qm) + std::fabs(om)) / q0;
        if (m > 1 && size > last)
            break;
        // The ratio of successive terms of an asymptotic series grows: where even the present
        // ratio would not bring the last term below the bound, refuse now (the terms of the
        // highest orders cost the most).
        if (m > 1) {
            double reach = size;
            for (int k = m; k < kOrders && reach > kTrusted; ++k)
                reach *= size / last;
            if (reach > kTrusted)
                return false;
        }
        dW += w;
        q += qm;
        o += om;
        last = size;
        if (size < kNegligible)
            break;
    }
    if (!(last <= kTrusted) || !(q > 0.0))
        return false;
    // W0 = -sqrt(P) + eta acos(t) + lam ln((lam^2 + eta x + lam sqrt(P)) / (rho x)), zero at
    // the turning point. W reaches thousands while its absolute error is the relative error
    // of F and G, so it is formed in long double (its three terms cancel by a few at most).
    const LD sL = std::sqrt(PL);
    const LD lr = lam / rho;
    const LD W = rho * (-sL + E * std::acos(T) + lr * std::log((1.0L + E * T + lr * sL) / rt)) + dW;
    // e^(-W) = 2^(-k) e^(-w), |w| <= ln 2 / 2: one exp, and the binary exponent carries the
    // values beyond the double range to 0 and infinity.
    constexpr LD kLn2 = 0.693147180559945309417232121458176568L;
    const long k = std::lrint(W / kLn2);
    const double ew = std::exp(static_cast<double>(W - k * kLn2));
    const double f = 0.5 / (std::sqrt(q) * ew);
    const double g = ew / std::sqrt(q);
    const int ek = static_cast<int>(k);
    *F = std::ldexp(f, -ek);
    *Fp = std::ldexp(f * (q + o), -ek);
    *G = std::ldexp(g, ek);
    *Gp = std::ldexp(g * (o - q), ek);
    return true;
}

} // namespace detail
} // namespace CoulWave
