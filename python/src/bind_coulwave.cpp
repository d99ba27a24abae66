// twobody.coulwave: Coulomb wave functions, the complex gamma function and the Coulomb
// correction of a phase shift.
#include "broadcast.h"

#include <twobody/twobody.h>

namespace twobody_py {

namespace {

const char* const kGetFG = R"(GetFG(l, x, eta) -> (F, G)

Regular and irregular Coulomb wave functions F_l(eta, x), G_l(eta, x); x BEFORE eta.
See <twobody/coulomb_wave.h>.)";

const char* const kGetFGprime = R"(GetFGprime(l, x, eta) -> (F, G, Fprime, Gprime)

F_l, G_l and their x-derivatives; x BEFORE eta.
See <twobody/coulomb_wave.h>.)";

const char* const kCWoutgoing = R"(CWoutgoing(l, x, eta) -> complex128

The outgoing Coulomb wave F_l - i G_l; x BEFORE eta.
See <twobody/coulomb_wave.h>.)";

const char* const kCWincoming = R"(CWincoming(l, x, eta) -> complex128

The incoming Coulomb wave F_l + i G_l; x BEFORE eta.
See <twobody/coulomb_wave.h>.)";

const char* const kCgamma = R"(cgamma(z) -> complex128

The complex gamma function Gamma(z).
See <twobody/coulomb_wave.h>.)";

const char* const kCorrect =
    R"(phaseshift_CoulombCorrect(l, q, eta, delta, ddeltadq) -> (delta, ddeltadq)

The Coulomb-corrected phase shift and its q-derivative, returned (the inputs are not
modified, unlike the C++ reference arguments).
See <twobody/coulomb_correction.h>.)";

} // namespace

void bind_coulwave(py::module_& m)
{
    const char* ns = "coulwave";
    def(
        m, ns, "GetFG",
        [](int l, double x, double eta) {
            double F, G;
            CoulWave::GetFG(l, x, eta, &F, &G);
            return std::make_tuple(F, G);
        },
        {"l", "x", "eta"}, kGetFG);
    def(
        m, ns, "GetFGprime",
        [](int l, double x, double eta) {
            double F, G, Fp, Gp;
            CoulWave::GetFGprime(l, x, eta, &F, &G, &Fp, &Gp);
            return std::make_tuple(F, G, Fp, Gp);
        },
        {"l", "x", "eta"}, kGetFGprime);
    def(
        m, ns, "CWoutgoing",
        [](int l, double x, double eta) { return CoulWave::CWoutgoing(l, x, eta); },
        {"l", "x", "eta"}, kCWoutgoing);
    def(
        m, ns, "CWincoming",
        [](int l, double x, double eta) { return CoulWave::CWincoming(l, x, eta); },
        {"l", "x", "eta"}, kCWincoming);
    def(
        m, ns, "cgamma", [](cplx z) { return CoulWave::cgamma(z); }, {"z"}, kCgamma);
    def(
        m, ns, "phaseshift_CoulombCorrect",
        [](int l, double q, double eta, double delta, double ddeltadq) {
            CoulWave::phaseshift_CoulombCorrect(l, q, eta, delta, ddeltadq);
            return std::make_tuple(delta, ddeltadq);
        },
        {"l", "q", "eta", "delta", "ddeltadq"}, kCorrect);
}

} // namespace twobody_py
