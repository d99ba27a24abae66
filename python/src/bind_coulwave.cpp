// twobody.coulwave: Coulomb wave functions, the complex gamma function and the Coulomb
// correction of a phase shift.
#include "broadcast.h"

#include <twobody/twobody.h>

namespace twobody_py {

namespace {

const char* const kGetFG = R"(GetFG(l, x, eta) -> (F, G)

Regular and irregular Coulomb wave functions F_l(eta, x) and G_l(eta, x).
Note the order: x BEFORE eta (unlike GSL and mpmath).

l    orbital angular momentum, integer >= 0
x    dimensionless radial variable (wave number times distance), x > 0
eta  Sommerfeld parameter, any real (> 0 repulsive)

Returns a tuple of two float64 arrays (NumPy scalars for scalar input); the arguments
broadcast like a ufunc. At eta = 0, F_0 = sin x and G_0 = cos x.
Errors: a negative l gives NaN. Outside x > 0, or where F and G leave the double range
(eta of a few hundred at x of order 1), the result is NaN or infinite; the process is
never aborted.)";

const char* const kGetFGprime = R"(GetFGprime(l, x, eta) -> (F, G, Fprime, Gprime)

F_l(eta, x), G_l(eta, x) and their x-derivatives dF_l/dx, dG_l/dx.
Note the order: x BEFORE eta. Arguments, range and errors as GetFG; four float64 results.)";

const char* const kCWoutgoing = R"(CWoutgoing(l, x, eta) -> complex128

The outgoing Coulomb wave F_l - i G_l (x before eta); for large x it behaves as
-i exp(i theta). No phase factor is applied. Range and errors as GetFG (a negative l
gives nan+nanj).)";

const char* const kCWincoming = R"(CWincoming(l, x, eta) -> complex128

The incoming Coulomb wave F_l + i G_l (x before eta), the complex conjugate of CWoutgoing.
Range and errors as GetFG.)";

const char* const kCgamma = R"(cgamma(z) -> complex128

The complex gamma function Gamma(z), accurate to rounding away from the poles
z = 0, -1, -2, ... At z = 0 the result is NaN; at the negative integers it is huge and
meaningless; past Re z of about 171.6 |Gamma| overflows (infinite or NaN components).)";

const char* const kCorrect =
    R"(phaseshift_CoulombCorrect(l, q, eta, delta, ddeltadq) -> (delta, ddeltadq)

The Coulomb-corrected phase shift and its q-derivative: tan(delta') = C_l(eta) tan(delta)
with C_l = 2 pi eta / (exp(2 pi eta) - 1) * prod_{k=1..l} (k^2 + eta^2), delta' kept in
the quadrant of delta (in (-pi, pi]), and d delta'/dq exact with eta proportional to 1/q.

l         orbital angular momentum, integer
q         relative momentum (any unit; the derivative is per that unit), q != 0
eta       Sommerfeld parameter (> 0 repulsive)
delta     phase shift, radians
ddeltadq  its derivative, radians per unit of q

Returns the corrected (delta, ddeltadq) as float64; the inputs are not modified.
No change when |eta| <= 1e-10, eta is NaN or l < 0. Above eta of about 112.97 the limit
C_l = 0 is used. For l >= 99 C_l overflows and the result is NaN. q = 0 gives an
infinite or NaN derivative.)";

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
