// twobody.bessel and twobody.spherharmonics: Bessel, Legendre and spherical-harmonic
// functions.
#include "broadcast.h"

#include <twobody/twobody.h>

namespace twobody_py {

namespace {

// The common tail of every Bessel docstring.
#define BESSEL_TAIL                                                                                \
    "\n\nx is dimensionless; orders come first, then x. Arguments broadcast like a ufunc.\n"       \
    "Errors: outside the domain the result is NaN, an underflow gives 0 and an overflow a\n"       \
    "value that must not be used (often +-inf); the process is never aborted."

using real_fn = double (*)(double);
using order_fn = double (*)(int, double);
using hankel_fn = cplx (*)(double);
using hankel_order_fn = cplx (*)(int, double);

template <real_fn fn>
void def_real(py::module_& m, const char* name, const char* doc)
{
    def(
        m, "bessel", name, [](double x) { return fn(x); }, {"x"}, doc);
}

template <order_fn fn>
void def_order(py::module_& m, const char* name, const char* arg, const char* doc)
{
    def(
        m, "bessel", name, [](int n, double x) { return fn(n, x); }, {arg, "x"}, doc);
}

template <hankel_fn fn>
void def_hankel(py::module_& m, const char* name, const char* doc)
{
    def(
        m, "bessel", name, [](double x) { return fn(x); }, {"x"}, doc);
}

template <hankel_order_fn fn>
void def_hankel_order(py::module_& m, const char* name, const char* doc)
{
    def(
        m, "bessel", name, [](int l, double x) { return fn(l, x); }, {"l", "x"}, doc);
}

} // namespace

void bind_bessel(py::module_& m)
{
    def_real<Bessel::J0>(
        m, "J0",
        "J0(x) -> float64\n\nCylindrical Bessel function J_0(x), every real x." BESSEL_TAIL);
    def_real<Bessel::J1>(
        m, "J1",
        "J1(x) -> float64\n\nCylindrical Bessel function J_1(x), every real x." BESSEL_TAIL);
    def_order<Bessel::Jn>(
        m, "Jn", "n",
        "Jn(n, x) -> float64\n\nCylindrical Bessel function J_n(x), every integer n "
        "(J_-n = (-1)^n J_n) and real x; 0 where it underflows." BESSEL_TAIL);
    def_real<Bessel::Y0>(m, "Y0",
                         "Y0(x) -> float64\n\nCylindrical Bessel function Y_0(x), x > 0 (NaN for x "
                         "<= 0)." BESSEL_TAIL);
    def_real<Bessel::Y1>(m, "Y1",
                         "Y1(x) -> float64\n\nCylindrical Bessel function Y_1(x), x > 0 (NaN for x "
                         "<= 0)." BESSEL_TAIL);
    def_order<Bessel::Yn>(
        m, "Yn", "n",
        "Yn(n, x) -> float64\n\nCylindrical Bessel function Y_n(x), every integer n "
        "(Y_-n = (-1)^n Y_n), x > 0 (NaN for x <= 0)." BESSEL_TAIL);
    def_real<Bessel::K0>(m, "K0",
                         "K0(x) -> float64\n\nModified Bessel function K_0(x), x > 0 (NaN for x <= "
                         "0; 0 above x of about 705)." BESSEL_TAIL);
    def_real<Bessel::K1>(
        m, "K1",
        "K1(x) -> float64\n\nModified Bessel function K_1(x), x > 0; as K0 outside." BESSEL_TAIL);
    def_order<Bessel::Kn>(m, "Kn", "n",
                          "Kn(n, x) -> float64\n\nModified Bessel function K_n(x), every integer n "
                          "(K_-n = K_n), x > 0 (NaN for x <= 0)." BESSEL_TAIL);
    def_real<Bessel::I0>(
        m, "I0",
        "I0(x) -> float64\n\nK_0(x), NOT I_0(x): the same value and range as K0." BESSEL_TAIL);
    def_real<Bessel::I1>(
        m, "I1",
        "I1(x) -> float64\n\nK_1(x), NOT I_1(x): the same value and range as K1." BESSEL_TAIL);
    def_order<Bessel::In>(
        m, "In", "n",
        "In(n, x) -> float64\n\nK_n(x), NOT I_n(x): the same value and range as Kn." BESSEL_TAIL);
    def_real<Bessel::j0>(m, "j0",
                         "j0(x) -> float64\n\nSpherical Bessel function j_0(x) = sin(x)/x, every "
                         "real x (j0(0) = 1)." BESSEL_TAIL);
    def_real<Bessel::j1>(m, "j1",
                         "j1(x) -> float64\n\nSpherical Bessel function j_1(x), every real x "
                         "(j1(0) = 0)." BESSEL_TAIL);
    def_order<Bessel::jn>(
        m, "jn", "l",
        "jn(l, x) -> float64\n\nSpherical Bessel function j_l(x), l >= 0 and real x. "
        "A negative l gives j1(x), as in C++." BESSEL_TAIL);
    def_real<Bessel::y0>(m, "y0",
                         "y0(x) -> float64\n\nSpherical Bessel function y_0(x) = -cos(x)/x, x > 0 "
                         "(NaN for x <= 0)." BESSEL_TAIL);
    def_real<Bessel::y1>(m, "y1",
                         "y1(x) -> float64\n\nSpherical Bessel function y_1(x), x > 0 (NaN for x "
                         "<= 0)." BESSEL_TAIL);
    def_order<Bessel::yn>(
        m, "yn", "l",
        "yn(l, x) -> float64\n\nSpherical Bessel function y_l(x), l >= 0, x > 0, by upward "
        "recurrence (-inf where it overflows). A negative l gives y1(x)." BESSEL_TAIL);
    def_hankel<Bessel::h0>(m, "h0",
                           "h0(x) -> complex128\n\nSpherical Hankel function h_0(x) = j_0(x) + i "
                           "y_0(x), x > 0." BESSEL_TAIL);
    def_hankel<Bessel::h1>(m, "h1",
                           "h1(x) -> complex128\n\nSpherical Hankel function h_1(x) = j_1(x) + i "
                           "y_1(x), x > 0." BESSEL_TAIL);
    def_hankel_order<Bessel::hn>(m, "hn",
                                 "hn(l, x) -> complex128\n\nSpherical Hankel function h_l(x) = "
                                 "jn(l, x) + i yn(l, x), with their ranges." BESSEL_TAIL);
    def_hankel<Bessel::hstar0>(m, "hstar0",
                               "hstar0(x) -> complex128\n\nj_0(x) - i y_0(x), the conjugate of h0 "
                               "for real x > 0." BESSEL_TAIL);
    def_hankel<Bessel::hstar1>(m, "hstar1",
                               "hstar1(x) -> complex128\n\nj_1(x) - i y_1(x), the conjugate of h1 "
                               "for real x > 0." BESSEL_TAIL);
    def_hankel_order<Bessel::hstarn>(m, "hstarn",
                                     "hstarn(l, x) -> complex128\n\njn(l, x) - i yn(l, x), the "
                                     "conjugate of hn for real x." BESSEL_TAIL);
}

void bind_spherharmonics(py::module_& m)
{
    def(
        m, "spherharmonics", "legendre",
        [](int l, double x) { return SpherHarmonics::legendre(l, x); }, {"l", "x"},
        R"(legendre(l, x) -> float64

The Legendre polynomial P_l(x), P_l(1) = 1; needs l >= 0 and -1 <= x <= 1.
Arguments broadcast like a ufunc.
Errors: l < 0 or |x| > 1 gives NaN; the process is never aborted.)");
    def(
        m, "spherharmonics", "Ylm",
        [](int l, int m, double theta, double phi) {
            return SpherHarmonics::Ylm(l, m, theta, phi);
        },
        {"l", "m", "theta", "phi"},
        R"(Ylm(l, m, theta, phi) -> complex128

The spherical harmonic Y_lm(theta, phi), orthonormal over the unit sphere, with the
Condon-Shortley phase (Y_11 = -sqrt(3/(8 pi)) sin(theta) exp(i phi)). theta is the polar
angle (radians, not its cosine), phi the azimuth (radians). Needs l >= 0 and |m| <= l.
Arguments broadcast like a ufunc.
Errors: outside that range the result is nan+nanj; the process is never aborted.)");
}

} // namespace twobody_py
