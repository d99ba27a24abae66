// twobody.misc: pair kinematics, Clebsch-Gordan coefficients and numeric utilities.
#include "broadcast.h"

#include <twobody/twobody.h>

namespace twobody_py {

namespace {

const char* const kTriangle = R"(triangle(m0, m1, m2) -> float64

The squared momentum q^2 (MeV^2) of either body in the rest frame of a system of invariant
mass m0 that splits into bodies of masses m1 and m2 (MeV): lambda(m0^2, m1^2, m2^2) / (4 m0^2).
Arguments broadcast like a ufunc.
Errors: raises ValueError, naming the first offending element, if m1 + m2 > m0 anywhere
(below threshold); nothing is computed then. NaN arguments pass the test (NaN result).)";

const char* const kRapidity = R"(GetRapidity(p) -> float64

The rapidity y = ln((p0 + p3) / (p0 - p3)) / 2 of the four-vector p = (E, px, py, pz), an
array whose last axis has length 4 (MeV; z is the beam axis). Valid for |p3| < p0;
p0 = +-p3 gives an infinity or NaN. Leading axes broadcast like a ufunc.)";

const char* const kDely = R"(GetDely(p1, p2) -> float64

The rapidity difference y(p1) - y(p2) of two four-vectors (last axis 4).)";

const char* const kQinv = R"(GetQinv(p1, p2) -> float64

The invariant relative momentum sqrt(-(p1 - p2)^2) (MeV) of a pair of four-vectors (last
axis 4, metric (+, -, -, -)), meant for pairs whose momentum difference is space-like, as
for equal masses.
Errors: raises ValueError, naming the first offending element, if (p1 - p2)^2 > 0 anywhere
(a time-like difference, e.g. unequal masses at small relative momentum); nothing is
computed then.)";

const char* const kLorentz = R"(lorentz(u, p) -> pout

Boosts the four-vector p by the four-velocity u (u.u = 1): the pure boost taking
(1, 0, 0, 0) into u, so a body at rest, m (1, 0, 0, 0), comes out as m u. Negate the spatial
part of u for the inverse boost. u and p have a last axis of length 4; so has the result.
For u not a four-velocity the result is meaningless.)";

const char* const kOutsidelong = R"(outsidelong(p1, p2) -> (qout, qside, qlong)

The out-side-long components (MeV) of q = (p1 - p2) / 2 of a pair with total momentum
P = p1 + p2 (four-vectors, last axis 4): long along z in the longitudinally comoving frame,
out along the transverse pair momentum and side perpendicular to it, both in the pair rest
frame; side = (q_y P_x - q_x P_y) / P_T. The C++ function leaves its first output (qinv)
unwritten, so only these three come back; use GetQinv for q_inv.
Needs P_T > 0 and a pair velocity below 1, else infinities or NaN.)";

const char* const kCgc = R"(cgc(j1, m1, j2, m2, J, M) -> float64

The Clebsch-Gordan coefficient <j1 m1; j2 m2 | J M> (Condon-Shortley phase), through GSL's
3-j symbol. Angular momenta in units of hbar, integers or half-integers; each is snapped to
the nearest multiple of 1/2. 0 when M != m1 + m2, J > j1 + j2, J < |j1 - j2|, |M| > J or
|m| > j. Arguments broadcast like a ufunc.
Errors: a negative j1, j2 or J gives NaN; GSL loses digits at large j.)";

const char* const kOldcgc = R"(oldcgc(j1, m1, j2, m2, J, M) -> float64

The Clebsch-Gordan coefficient <j1 m1; j2 m2 | J M> by the explicit Racah sum, with exact
comparisons (no snapping); agrees with cgc on valid input. Arguments as cgc.
Errors: never raises; j1 and m1 not both integral or both half-integral give NaN.)";

const char* const kCeiphi = R"(ceiphi(phi) -> complex128

The unit phase factor exp(i phi) = cos(phi) + i sin(phi), phi in radians, no range
reduction. An infinite or NaN phi gives nan+nanj.)";

const char* const kCexp = R"(cexp(z) -> complex128

The complex exponential exp(z) = exp(x) (cos y + i sin y) for z = x + iy. Beyond x of
about 709.78 the result has infinite or NaN components; below about -745 it is 0.)";

const char* const kCpow = R"(cpow(z, w) -> complex128

The principal power z^w = exp(w Log z), Log z = ln|z| + i atan2(Im z, Re z); the cut lies
along the negative real axis and the sign of a zero imaginary part picks its side.
z = 0 gives NaN components; |z| beyond about 1.3e154 overflows.)";

const char* const kIround = R"(iround(x) -> int64

x rounded to the nearest integer, halves toward +inf (floor(x + 0.5)), saturating at the
C int range (+-inf included); NaN gives 0.)";

const char* const kIpow = R"(ipow(x, n) -> float64

x^n for an integer n by repeated squaring; x^0 = 1 for every x (0 and NaN included), a
negative n gives 1 / x^|n|.)";

const char* const kFactorial = R"(cgc_factorial(x) -> float64

x! as the product 1 * 2 * ... * floor(x); 1 for x < 1.)";

const char* const kFractorial = R"(cgc_fractorial(a, b) -> float64

a!/b! for integral a - b, as the product (b+1)...a (a > b) or 1/((a+1)...b) (a < b);
1 when a == b.)";

} // namespace

void bind_misc(py::module_& m)
{
    const char* ns = "misc";
    def(
        m, ns, "triangle",
        [](double m0, double m1, double m2) { return Misc::triangle(m0, m1, m2); },
        {"m0", "m1", "m2"}, kTriangle,
        [](double m0, double m1, double m2) -> const char* {
            return m1 + m2 > m0 ? "m1 + m2 > m0 (below threshold)" : nullptr;
        });
    def(
        m, ns, "GetRapidity", [](Four p) { return Misc::GetRapidity(p.v); }, {"p"}, kRapidity);
    def(
        m, ns, "GetDely", [](Four p1, Four p2) { return Misc::GetDely(p1.v, p2.v); }, {"p1", "p2"},
        kDely);
    def(
        m, ns, "GetQinv", [](Four p1, Four p2) { return Misc::GetQinv(p1.v, p2.v); }, {"p1", "p2"},
        kQinv,
        [](const Four& p1, const Four& p2) -> const char* {
            // The test of the C++ function, term for term, so that both agree at the edge.
            using Misc::ipow;
            const double q2 = ipow(p1.v[1] - p2.v[1], 2) + ipow(p1.v[2] - p2.v[2], 2) +
                              ipow(p1.v[3] - p2.v[3], 2) - ipow(p1.v[0] - p2.v[0], 2);
            return q2 < 0 ? "time-like difference, (p1 - p2)^2 > 0" : nullptr;
        });
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
