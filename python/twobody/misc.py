"""Pair kinematics, Clebsch-Gordan coefficients and numeric utilities (C++ namespace Misc).
Units MeV; four-vectors are arrays whose last axis has length 4 (E, px, py, pz)."""

from ._core import misc as _m

__all__ = ["triangle", "GetRapidity", "GetDely", "GetQinv", "lorentz", "outsidelong",
           "cgc", "oldcgc", "cgc_factorial", "cgc_fractorial", "ceiphi", "cexp", "cpow",
           "iround", "ipow"]
globals().update({_name: getattr(_m, _name) for _name in __all__})
del _m
