"""Cylindrical, spherical and Hankel Bessel functions of a real argument (C++ namespace
Bessel). Orders come first, then x. Beware: I0, I1 and In return K_0, K_1 and K_n, as
in C++; the library has no modified Bessel function of the first kind."""

from ._core import bessel as _m

__all__ = ["J0", "J1", "Jn", "Y0", "Y1", "Yn", "K0", "K1", "Kn", "I0", "I1", "In",
           "j0", "j1", "jn", "y0", "y1", "yn", "h0", "h1", "hn", "hstar0", "hstar1", "hstarn"]
globals().update({_name: getattr(_m, _name) for _name in __all__})
del _m
