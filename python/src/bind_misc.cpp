// twobody.misc: pair kinematics, Clebsch-Gordan coefficients and numeric utilities.
#include "broadcast.h"

#include <twobody/twobody.h>

namespace twobody_py {

namespace {

const char* const kTriangle = R"(triangle(m0, m1, m2) -> float64

The squared momentum q^2 (MeV^2) of two bodies of masses m1, m2 in the rest frame of m0.
Below threshold (m1 + m2 > m0) raises ValueError naming the element.
See <twobody/kinematics.h>.)";

const char* const kRapidity = R"(GetRapidity(p) -> float64

The rapidity of the four-vector p (last axis of length 4: E, px, py, pz).
See <twobody/kinematics.h>.)";

const char* const kDely = R"(GetDely(p1, p2) -> float64

The rapidity difference y(p1) - y(p2) of two four-vectors (last axis 4).
See <twobody/kinematics.h>.)";

const char* const kQinv = R"(GetQinv(p1, p2) -> float64

The invariant relative momentum sqrt(-(p1 - p2)^2) of two four-vectors (last axis 4).
A time-like difference raises ValueError naming the element.
See <twobody/kinematics.h>.)";

const char* const kLorentz = R"(lorentz(u, p) -> pout

p boosted by the four-velocity u; u, p and the result have a last axis of length 4.
See <twobody/kinematics.h>.)";

const char* const kOutsidelong = R"(outsidelong(p1, p2) -> (qout, qside, qlong)

The out-side-long components of the pair's relative momentum (four-vectors, last axis 4);
the C++ function's unwritten first output is not returned (use GetQinv).
See <twobody/kinematics.h>.)";

const char* const kCgc = R"(cgc(j1, m1, j2, m2, J, M) -> float64

The Clebsch-Gordan coefficient <j1 m1; j2 m2 | J M>, through GSL's 3-j symbol.
See <twobody/clebsch_gordan.h>.)";

const char* const kOldcgc = R"(oldcgc(j1, m1, j2, m2, J, M) -> float64

The Clebsch-Gordan coefficient <j1 m1; j2 m2 | J M> by the explicit Racah sum.
See <twobody/clebsch_gordan.h>.)";

const char* const kCeiphi = R"(ceiphi(phi) -> complex128

The unit phase factor exp(i phi).
See <twobody/utilities.h>.)";

const char* const kCexp = R"(cexp(z) -> complex128

The complex exponential exp(z).
See <twobody/utilities.h>.)";

const char* const kCpow = R"(cpow(z, w) -> complex128

The principal power z^w.
See <twobody/utilities.h>.)";

const char* const kIround = R"(iround(x) -> int64

x rounded to the nearest integer, halves toward +inf.
See <twobody/utilities.h>.)";

const char* const kIpow = R"(ipow(x, n) -> float64

x^n for an integer n, by repeated squaring.
See <twobody/basics.h>.)";

const char* const kFactorial = R"(cgc_factorial(x) -> float64

x! as the product 1 * 2 * ... * floor(x).
See <twobody/clebsch_gordan.h>.)";

const char* const kFractorial = R"(cgc_fractorial(a, b) -> float64

a!/b! for integral a - b.
See <twobody/clebsch_gordan.h>.)";

} // namespace

void bind_misc(py::module_& m)
{
    const char* ns = "misc";
    def(
        m, ns, "triangle",
        [](double m0, double m1, double m2) { return Misc::triangle(m0, m1, m2); },
        {"m0", "m1", "m2"}, kTriangle);
    def(
        m, ns, "GetRapidity", [](Four p) { return Misc::GetRapidity(p.v); }, {"p"}, kRapidity);
    def(
        m, ns, "GetDely", [](Four p1, Four p2) { return Misc::GetDely(p1.v, p2.v); }, {"p1", "p2"},
        kDely);
    def(
        m, ns, "GetQinv", [](Four p1, Four p2) { return Misc::GetQinv(p1.v, p2.v); }, {"p1", "p2"},
        kQinv);
    def(
        m, ns, "lorentz",
        [](Four u, Four p) {
            Four out;
            Misc::lorentz(u.v, p.v, out.v);
            return out;
        },
        {"u", "p"}, kLorentz);
    def(
        m, ns, "outsidelong",
        [](Four p1, Four p2) {
            double qinv = 0.0, qout, qside, qlong;
            Misc::outsidelong(p1.v, p2.v, qinv, qout, qside, qlong);
            return std::make_tuple(qout, qside, qlong);
        },
        {"p1", "p2"}, kOutsidelong);
    def(
        m, ns, "cgc",
        [](double j1, double m1, double j2, double m2, double J, double M) {
            return Misc::cgc(j1, m1, j2, m2, J, M);
        },
        {"j1", "m1", "j2", "m2", "J", "M"}, kCgc);
    def(
        m, ns, "oldcgc",
        [](double j1, double m1, double j2, double m2, double J, double M) {
            return Misc::oldcgc(j1, m1, j2, m2, J, M);
        },
        {"j1", "m1", "j2", "m2", "J", "M"}, kOldcgc);
    def(
        m, ns, "cgc_factorial", [](double x) { return Misc::cgc_factorial(x); }, {"x"}, kFactorial);
    def(
        m, ns, "cgc_fractorial", [](double a, double b) { return Misc::cgc_fractorial(a, b); },
        {"a", "b"}, kFractorial);
    def(
        m, ns, "ceiphi", [](double phi) { return Misc::ceiphi(phi); }, {"phi"}, kCeiphi);
    def(
        m, ns, "cexp", [](cplx z) { return Misc::cexp(z); }, {"z"}, kCexp);
    def(
        m, ns, "cpow", [](cplx z, cplx w) { return Misc::cpow(z, w); }, {"z", "w"}, kCpow);
    def(
        m, ns, "iround", [](double x) { return static_cast<long long>(Misc::iround(x)); }, {"x"},
        kIround);
    def(
        m, ns, "ipow", [](double x, int n) { return Misc::ipow(x, n); }, {"x", "n"}, kIpow);
}

} // namespace twobody_py
