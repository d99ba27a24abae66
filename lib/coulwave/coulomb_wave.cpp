#include "coulomb_wave.h"
#include "internal/constants.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include <gsl/gsl_sf_coulomb.h>
#include <gsl/gsl_sf_gamma.h>

namespace CoulWave {

namespace {
using twobody_detail::kNaN;
} // namespace

Misc::complex cgamma(Misc::complex z)
{
    gsl_sf_result lnr;
    gsl_sf_result arg;
    gsl_sf_lngamma_complex_e(z.real(), z.imag(), &lnr, &arg);
    const double r = std::exp(lnr.val);
    const double phi = arg.val;
    const Misc::complex i = twobody_detail::kI;
    return r * (std::cos(phi) + i * std::sin(phi));
}

void GetFG(int l, double x, double eta, double* F, double* G)
{
    if (l < 0) {
        *F = kNaN;
        *G = kNaN;
        return;
    }
    // GSL's array routine fills every order from 0 up to l.
    const std::size_t n = static_cast<std::size_t>(l) + 1;
    std::vector<double> fc(n);
    std::vector<double> gc(n);
    double expF = 0.0;
    double expG = 0.0;
    gsl_sf_coulomb_wave_FG_array(0.0, l, eta, x, fc.data(), gc.data(), &expF, &expG);
    *F = fc[n - 1] * std::exp(expF);
    *G = gc[n - 1] * std::exp(expG);
}

void GetFGprime(int l, double x, double eta, double* F, double* G, double* Fprime, double* Gprime)
{
    if (l < 0) {
        *F = kNaN;
        *G = kNaN;
        *Fprime = kNaN;
        *Gprime = kNaN;
        return;
    }
    // A single order: one value in each array. F and F' share one exponent, G and G' the other.
    double fc = 0.0;
    double fcp = 0.0;
    double gc = 0.0;
    double gcp = 0.0;
    double expF = 0.0;
    double expG = 0.0;
    gsl_sf_coulomb_wave_FGp_array(static_cast<double>(l), 0, eta, x, &fc, &fcp, &gc, &gcp, &expF,
                                  &expG);
    *F = fc * std::exp(expF);
    *G = gc * std::exp(expG);
    *Fprime = fcp * std::exp(expF);
    *Gprime = gcp * std::exp(expG);
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
