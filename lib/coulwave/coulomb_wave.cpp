#include "coulomb_wave.h"
#include "coulomb_methods.h"
#include "internal/constants.h"
#include "internal/gsl_status.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_machine.h>
#include <gsl/gsl_sf_coulomb.h>
#include <gsl/gsl_sf_gamma.h>

namespace CoulWave {

namespace {

using detail::allowedInward;
using detail::asymptotic;
using detail::belowTurningPoint;
using detail::orderZeroNearOrigin;
using detail::originSeries;
using detail::phaseIntegral;
using detail::steed;
using detail::towardOrigin;
using detail::upwardFromOrderZero;
using twobody_detail::GslOutcome;
using twobody_detail::gslStatusOutcome;
using twobody_detail::kNaN;

// The served range. Beyond it GSL's Coulomb routines loop forever (x >= 2^30 at l >= 1, eta
// toward -infinity, any NaN or infinity) or give up; in between, below eta = -1000 its values
// near the origin lose up to 1e-9, and above eta = 1e4 the continued fraction for F'/F is not
// to be trusted.
constexpr int kMaxOrder = 10000;
constexpr double kMaxX = 1e8;
constexpr double kMinEta = -1000.0;
constexpr double kMaxEta = 1e4;

bool served(int l, double x, double eta)
{
    // Written so that NaN fails every comparison.
    return l >= 0 && l <= kMaxOrder && std::fabs(x) <= kMaxX && eta >= kMinEta && eta <= kMaxEta;
}

// Arguments beyond x = 1e4 never reach GSL: its continued fraction runs away there (status
// GSL_ERUNAWAY from about 9e4 on) and is not verified in between. Up to 1e7 Steed's method
// backs up the asymptotic expansion; beyond, where the expansion does not converge (l^2 +
// eta^2 above about 30 x, which the served range excludes there), the result is NaN. Closer
// to the origin than 1e-24 the values are carried from there (see GetFGprime).
constexpr double kGslMaxX = 1e4;
constexpr double kNearOrigin = 1e-24;
constexpr double kSteedMaxX = 1e7;

// GSL's power series at the origin: used by GSL for x < 1.2, |eta x| < 10 and F inside the
// double range at order 0. For a repulsive pair its values there are right to 6e-13 at
// l >= 5; at lower orders they lose up to 1e-9 as eta x grows (from eta x of 0.7 at l = 0,
// 1.7 at l = 1...4), and G' at l = 0 loses up to 1e-11 at the smallest eta x. For an
// attractive pair see attractiveNearOrigin.
bool gslSeriesRegion(double x, double eta)
{
    return x < 1.2 && 2.0 * twobody_detail::kPi * eta < 0.9 * (-GSL_LOG_DBL_MIN) &&
           std::fabs(eta * x) < 10.0;
}

bool gslSeriesServes(int l, double x, double eta)
{
    if (!gslSeriesRegion(x, eta))
        return false;
    const double etax = eta * x;
    return l >= 5 || eta <= 0.0 || (l >= 1 ? etax <= 1.0 : etax >= 1e-4 && etax <= 0.5);
}

// Order 0 from its expansion at the origin, carried up to l by the recurrence in l; false
// where the expansion declines. F of order 0 is taken from it only for an attractive pair: for
// a repulsive one it is the far smaller solution, and comes from the Wronskian instead.
bool fromExpansionAtOrigin(int l, double x, double eta, double* F, double* G, double* Fp,
                           double* Gp)
{
    double F0, G0, F0p, G0p;
    if (!orderZeroNearOrigin(x, eta, &F0, &G0, &F0p, &G0p))
        return false;
    if (l == 0 && eta < 0.0) {
        *F = F0;
        *G = G0;
        *Fp = F0p;
        *Gp = G0p;
    } else {
        upwardFromOrderZero(l, x, eta, G0, G0p, F, G, Fp, Gp);
    }
    return true;
}

// An attractive pair short of x = 3.5 at 1 <= |eta| x < 200, where GSL's values lose up to
// 3e-7 (its series at order 0, carried up in l by its recurrence; outside that band of eta x
// they are right to 9e-13). Beyond the turning point both solutions are carried inward from
// 2.5 (from x itself beyond); below it G alone, at orders up to 30 at order l itself, above from
// order 0 by the recurrence in l (carried inward at order l, G starts out in an oscillating stretch
// that the large centrifugal term makes short and steep, and loses up to 8e-12).
constexpr double kAttractiveOwnX = 3.5;

void attractiveNearOrigin(int l, double x, double eta, double turningPoint, double* F, double* G,
                          double* Fp, double* Gp)
{
    // Up to 2 |eta| x = 12 and x = 2.5 (beyond, e^(2x) cancels in its sum) the expansion at the
    // origin serves, where its own check passes, at order 0 and from there by the recurrence in
    // l; from x = 2.5 on Steed's method at x is the cheaper.
    if (-eta * x <= 6.0 && x <= 2.5 && fromExpansionAtOrigin(l, x, eta, F, G, Fp, Gp))
        return;
    if (x > turningPoint) {
        allowedInward(l, x, eta, F, G, Fp, Gp);
    } else if (phaseIntegral(l, x, eta, F, G, Fp, Gp)) {
        return;
    } else if (l <= 30) {
        belowTurningPoint(l, x, eta, F, G, Fp, Gp);
    } else {
        double F0, G0, F0p, G0p;
        allowedInward(0, x, eta, &F0, &G0, &F0p, &G0p);
        upwardFromOrderZero(l, x, eta, G0, G0p, F, G, Fp, Gp);
    }
}

// Writes F, G, F', G' where they are computed here rather than by GSL, and says so.
bool computedHere(int l, double x, double eta, double turningPoint, double* F, double* G,
                  double* Fp, double* Gp)
{
    if (!(x > 0.0))
        return false; // GSL's domain error
    // Below x = 1e-3 GSL's G' of order 0 loses up to 1e-7 (at x = 1e-12); there the library's
    // own routes serve at any eta, the oscillation of an attractive pair included.
    const bool originOrderZero = l == 0 && x < 1e-3;
    if (eta < 0.0 && x < kAttractiveOwnX && -eta * x >= 1.0 && -eta * x < 200.0 &&
        !originOrderZero) {
        attractiveNearOrigin(l, x, eta, turningPoint, F, G, Fp, Gp);
        return true;
    }
    if ((eta > 0.0 && x <= turningPoint && !gslSeriesServes(l, x, eta)) || originOrderZero) {
        // Below the barrier: closest to the origin G of order 0 from its expansion there (to
        // 2 eta x = 2 for a repulsive pair), carried up in l; up to 0.6 x_tp F from its power
        // series with G'/G at x, where that is the cheaper; the phase-integral expansion where
        // it serves, before the series unless that is short at a low order; else G carried
        // inward from x_tp.
        const bool below = x < turningPoint;
        const bool seriesFirst = eta > 0.0 && l <= 30 && detail::seriesPeak(l, x, eta) <= 60.0;
        const bool done =
            (l <= 4 && eta != 0.0 && eta * x <= 1.0 &&
             fromExpansionAtOrigin(l, x, eta, F, G, Fp, Gp)) ||
            (below && !seriesFirst && phaseIntegral(l, x, eta, F, G, Fp, Gp)) ||
            (below && eta > 0.0 && originSeries(l, x, eta, turningPoint, F, G, Fp, Gp)) ||
            (below && seriesFirst && phaseIntegral(l, x, eta, F, G, Fp, Gp));
        if (!done)
            belowTurningPoint(l, x, eta, F, G, Fp, Gp);
        return true;
    }
    // Just beyond the turning point at large eta GSL's Steed evaluation, its F'/F summed in
    // double, loses up to 1.7e-12 (eta of several hundred, x within a few per cent of x_tp);
    // ours sums F'/F in extended precision there.
    if (eta >= 200.0 && x > turningPoint && x <= 1.2 * turningPoint && x <= kGslMaxX) {
        steed(l, x, eta, F, G, Fp, Gp);
        return true;
    }
    if (x > kGslMaxX) {
        if (!asymptotic(l, x, eta, F, G, Fp, Gp)) {
            if (x <= kSteedMaxX) {
                steed(l, x, eta, F, G, Fp, Gp);
            } else {
                *F = kNaN;
                *G = kNaN;
                *Fp = kNaN;
                *Gp = kNaN;
            }
        }
        return true;
    }
    return false;
}

// GSL's Coulomb values come scaled, with exponents that carry them beyond the double range
// (status GSL_EOVRFLW or GSL_EUNDRFLW); the products are then +-inf or 0, which is what they
// stand for. Any other error status (no convergence, a runaway iteration, a loss of
// accuracy, a domain error) leaves values that must not be used.
bool scaledValuesUsable(int status) { return gslStatusOutcome(status) != GslOutcome::Failed; }

// GSL's order 0 carried up to l by the recurrence in l; false where GSL's order 0 comes back
// scaled or with an error status.
bool upFromGslOrderZero(int l, double x, double eta, double* F, double* G, double* Fp, double* Gp)
{
    double fc, fcp, gc, gcp, expF, expG;
    const int status =
        gsl_sf_coulomb_wave_FGp_array(0.0, 0, eta, x, &fc, &fcp, &gc, &gcp, &expF, &expG);
    if (gslStatusOutcome(status) != GslOutcome::Ok || expG != 0.0)
        return false;
    upwardFromOrderZero(l, x, eta, gc, gcp, F, G, Fp, Gp);
    return true;
}

} // namespace

Misc::complex cgamma(Misc::complex z)
{
    gsl_sf_result lnr{kNaN, kNaN};
    gsl_sf_result arg{kNaN, kNaN};
    const int status = gsl_sf_lngamma_complex_e(z.real(), z.imag(), &lnr, &arg);
    // At the poles z = 0, -1, -2, ... Gamma is infinite; GSL flags only z = 0 and gives a huge
    // finite value at the others.
    const bool pole = z.imag() == 0.0 && z.real() <= 0.0 && z.real() == std::floor(z.real());
    if (pole || gslStatusOutcome(status) != GslOutcome::Ok)
        return {kNaN, kNaN};
    const double r = std::exp(lnr.val);
    const double phi = arg.val;
    const Misc::complex i = twobody_detail::kI;
    return r * (std::cos(phi) + i * std::sin(phi));
}

void GetFGprime(int l, double x, double eta, double* F, double* G, double* Fprime, double* Gprime)
{
    if (!served(l, x, eta)) {
        *F = kNaN;
        *G = kNaN;
        *Fprime = kNaN;
        *Gprime = kNaN;
        return;
    }
    // Closer to the origin than 1e-24 the values follow from those at 1e-24 by their leading
    // behaviour, to rounding: on the way there 1/x and G' overflow, and GSL's G' of order 0
    // and its signs beyond the double range go wrong.
    if (x > 0.0 && x < kNearOrigin) {
        GetFGprime(l, kNearOrigin, eta, F, G, Fprime, Gprime);
        towardOrigin(l, eta, kNearOrigin, x, *F, *Fprime, *G, *Gprime);
        return;
    }
    const double turningPoint = eta + std::sqrt(eta * eta + static_cast<double>(l) * (l + 1.0));
    if (computedHere(l, x, eta, turningPoint, F, G, Fprime, Gprime))
        return;
    // A single order: one value in each array. F and F' share one exponent, G and G' the other.
    double fc = 0.0;
    double fcp = 0.0;
    double gc = 0.0;
    double gcp = 0.0;
    double expF = 0.0;
    double expG = 0.0;
    // GSL's single-order evaluation loses digits below the turning point from about l = 5
    // on outside its series region (up to all of them at l = 50), often without saying so;
    // recurring upward from order 0 keeps them. (This is reached only at eta <= 0: a repulsive
    // pair below its turning point is computed here.) GSL's order 0 carried up by the
    // recurrence in l here, with F from F'/F and the Wronskian, costs half as much as GSL's
    // array of orders 0 ... l and is as accurate (7.7e-14 at worst against the references,
    // 4.5e-14 for the array); should GSL's order 0 come back scaled or with an error status,
    // the array serves. Elsewhere the single order serves, unless GSL reports a loss of
    // accuracy.
    const bool fromOrderZero = l >= 5 && x < turningPoint && !gslSeriesRegion(x, eta);
    if (fromOrderZero && phaseIntegral(l, x, eta, F, G, Fprime, Gprime))
        return;
    // Close below the turning point (by an e-fold bound (x_tp - x) sqrt(l(l+1)/x^2 + 2 eta/x - 1)
    // of at most 20, or l/5) carrying G inward from Steed's method at x_tp is the cheaper: at
    // l = 1000, x = 1000, eta = -0.01, 1.5 us against 9.6 us for l steps up from order 0. Not
    // where |eta| exceeds x_tp: there the fraction for H'/H at x_tp takes thousands of terms
    // and loses up to 6e-12 (l = 100, x = 5.03, eta = -1000).
    if (fromOrderZero && eta >= -turningPoint) {
        const double rate2 = detail::barrierRate2(static_cast<double>(l) * (l + 1.0), eta, x);
        if ((turningPoint - x) * std::sqrt(std::max(rate2, 0.0)) <= std::max(20.0, 0.2 * l)) {
            belowTurningPoint(l, x, eta, F, G, Fprime, Gprime);
            return;
        }
    }
    if (fromOrderZero && upFromGslOrderZero(l, x, eta, F, G, Fprime, Gprime))
        return;
    int status = GSL_ELOSS;
    if (!fromOrderZero) {
        status = gsl_sf_coulomb_wave_FGp_array(static_cast<double>(l), 0, eta, x, &fc, &fcp, &gc,
                                               &gcp, &expF, &expG);
    }
    if (status == GSL_ELOSS) {
        const std::size_t n = static_cast<std::size_t>(l) + 1;
        std::vector<double> a(4 * n);
        status = gsl_sf_coulomb_wave_FGp_array(0.0, l, eta, x, &a[0], &a[n], &a[2 * n], &a[3 * n],
                                               &expF, &expG);
        fc = a[n - 1];
        fcp = a[2 * n - 1];
        gc = a[3 * n - 1];
        gcp = a[4 * n - 1];
    }
    if (!scaledValuesUsable(status)) {
        *F = kNaN;
        *G = kNaN;
        *Fprime = kNaN;
        *Gprime = kNaN;
        return;
    }
    // In its series region GSL can report success and leave NaN where F underflows and G
    // overflows (l of a hundred at x = 0.01 without charge); the library's own routes below
    // the turning point give 0 and infinity there.
    const bool nanLeft = std::isnan(fc) || std::isnan(fcp) || std::isnan(gc) || std::isnan(gcp);
    if (nanLeft && x < turningPoint) {
        if (eta > 0.0) {
            belowTurningPoint(l, x, eta, F, G, Fprime, Gprime);
            return;
        }
        if (upFromGslOrderZero(l, x, eta, F, G, Fprime, Gprime))
            return;
    }
    *F = fc * std::exp(expF);
    *G = gc * std::exp(expG);
    *Fprime = fcp * std::exp(expF);
    *Gprime = gcp * std::exp(expG);
}

// One route for both: GSL's array of orders 0 ... l, which GetFG once asked for, is no more
// accurate than the single order where that serves (1.6e-12 near the turning point at
// eta = 1000 where the single order is right to 1e-13), and costs l times more.
void GetFG(int l, double x, double eta, double* F, double* G)
{
    double Fp = 0.0;
    double Gp = 0.0;
    GetFGprime(l, x, eta, F, G, &Fp, &Gp);
}

Misc::complex CWoutgoing(int l, double x, double eta)
{
    double F;
    double G;
    GetFG(l, x, eta, &F, &G);
    const Misc::complex i = twobody_detail::kI;
    return F - i * G;
}

Misc::complex CWincoming(int l, double x, double eta)
{
    double F;
    double G;
    GetFG(l, x, eta, &F, &G);
    const Misc::complex i = twobody_detail::kI;
    return F + i * G;
}

} // namespace CoulWave
