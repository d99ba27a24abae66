// twobody.bessel and twobody.spherharmonics: Bessel, Legendre and spherical-harmonic
// functions.
#include "broadcast.h"

#include <twobody/twobody.h>

namespace twobody_py {

namespace {

// Every Bessel docstring ends by naming the contract.
#define BESSEL_SEE "\nSee <twobody/bessel.h>."

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
    def_real<Bessel::J0>(m, "J0",
                         "J0(x) -> float64\n\nCylindrical Bessel function J_0(x)." BESSEL_SEE);
    def_real<Bessel::J1>(m, "J1",
                         "J1(x) -> float64\n\nCylindrical Bessel function J_1(x)." BESSEL_SEE);
    def_order<Bessel::Jn>(m, "Jn", "n",
                          "Jn(n, x) -> float64\n\nCylindrical Bessel function J_n(x)." BESSEL_SEE);
    def_real<Bessel::Y0>(m, "Y0",
                         "Y0(x) -> float64\n\nCylindrical Bessel function Y_0(x)." BESSEL_SEE);
    def_real<Bessel::Y1>(m, "Y1",
                         "Y1(x) -> float64\n\nCylindrical Bessel function Y_1(x)." BESSEL_SEE);
    def_order<Bessel::Yn>(m, "Yn", "n",
                          "Yn(n, x) -> float64\n\nCylindrical Bessel function Y_n(x)." BESSEL_SEE);
    def_real<Bessel::K0>(m, "K0",
                         "K0(x) -> float64\n\nModified Bessel function K_0(x)." BESSEL_SEE);
    def_real<Bessel::K1>(m, "K1",
                         "K1(x) -> float64\n\nModified Bessel function K_1(x)." BESSEL_SEE);
    def_order<Bessel::Kn>(m, "Kn", "n",
                          "Kn(n, x) -> float64\n\nModified Bessel function K_n(x)." BESSEL_SEE);
    def_real<Bessel::I0>(m, "I0", "I0(x) -> float64\n\nK_0(x), NOT I_0(x), as in C++." BESSEL_SEE);
    def_real<Bessel::I1>(m, "I1", "I1(x) -> float64\n\nK_1(x), NOT I_1(x), as in C++." BESSEL_SEE);
    def_order<Bessel::In>(m, "In", "n",
                          "In(n, x) -> float64\n\nK_n(x), NOT I_n(x), as in C++." BESSEL_SEE);
    def_real<Bessel::j0>(m, "j0",
                         "j0(x) -> float64\n\nSpherical Bessel function j_0(x)." BESSEL_SEE);
    def_real<Bessel::j1>(m, "j1",
                         "j1(x) -> float64\n\nSpherical Bessel function j_1(x)." BESSEL_SEE);
    def_order<Bessel::jn>(m, "jn", "l",
                          "jn(l, x) -> float64\n\nSpherical Bessel function j_l(x)." BESSEL_SEE);
    def_real<Bessel::y0>(m, "y0",
                         "y0(x) -> float64\n\nSpherical Bessel function y_0(x)." BESSEL_SEE);
    def_real<Bessel::y1>(m, "y1",
                         "y1(x) -> float64\n\nSpherical Bessel function y_1(x)." BESSEL_SEE);
    def_order<Bessel::yn>(m, "yn", "l",
                          "yn(l, x) -> float64\n\nSpherical Bessel function y_l(x)." BESSEL_SEE);
    def_hankel<Bessel::h0>(
        m, "h0", "h0(x) -> complex128\n\nSpherical Hankel function j_0(x) + i y_0(x)." BESSEL_SEE);
    def_hankel<Bessel::h1>(
        m, "h1", "h1(x) -> complex128\n\nSpherical Hankel function j_1(x) + i y_1(x)." BESSEL_SEE);
    def_hankel_order<Bessel::hn>(
        m, "hn",
        "hn(l, x) -> complex128\n\nSpherical Hankel function j_l(x) + i y_l(x)." BESSEL_SEE);
    def_hankel<Bessel::hstar0>(m, "hstar0",
                               "hstar0(x) -> complex128\n\nj_0(x) - i y_0(x)." BESSEL_SEE);
    def_hankel<Bessel::hstar1>(m, "hstar1",
                               "hstar1(x) -> complex128\n\nj_1(x) - i y_1(x)." BESSEL_SEE);
    def_hankel_order<Bessel::hstarn>(m, "hstarn",
                                     "hstarn(l, x) -> complex128\n\nj_l(x) - i y_l(x)." BESSEL_SEE);
}

void bind_spherharmonics(py::module_& m)
{
    def(
        m, "spherharmonics", "legendre",
        [](int l, double x) { return SpherHarmonics::legendre(l, x); }, {"l", "x"},
        "legendre(l, x) -> float64\n\nThe Legendre polynomial P_l(x).\n"
        "See <twobody/spherical_harmonics.h>.");
    def(
        m, "spherharmonics", "Ylm",
        [](int l, int m, double theta, double phi) {
            return SpherHarmonics::Ylm(l, m, theta, phi);
        },
        {"l", "m", "theta", "phi"},
        "Ylm(l, m, theta, phi) -> complex128\n\nThe spherical harmonic Y_lm(theta, phi), "
        "theta the polar angle (not its cosine).\nSee <twobody/spherical_harmonics.h>.");
}

} // namespace twobody_py
