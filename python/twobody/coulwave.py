"""Coulomb wave functions, the complex gamma function and the Coulomb correction of a
phase shift (C++ namespace CoulWave). Note the argument order: x BEFORE eta."""

from ._core import coulwave as _m

__all__ = ["GetFG", "GetFGprime", "CWoutgoing", "CWincoming", "cgamma",
           "phaseshift_CoulombCorrect"]
globals().update({_name: getattr(_m, _name) for _name in __all__})
del _m
