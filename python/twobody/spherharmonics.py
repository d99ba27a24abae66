"""Legendre polynomials and complex spherical harmonics (C++ namespace SpherHarmonics).
Angles in radians."""

from ._core import spherharmonics as _m

__all__ = ["legendre", "Ylm"]
globals().update({_name: getattr(_m, _name) for _name in __all__})
del _m
