"""twobody: two-particle physics from NumPy.

Coulomb wave functions and the Coulomb phase-shift correction (``twobody.coulwave``),
Bessel functions (``twobody.bessel``), Legendre polynomials and spherical harmonics
(``twobody.spherharmonics``), pair kinematics, Clebsch-Gordan coefficients and complex
utilities (``twobody.misc``), the Cartesian-harmonics calculator (``twobody.CCHCalc``) and
the phase-shift table builder (``twobody.phaseshift.build``).

Every function keeps its C++ name and argument order (x before eta in the Coulomb
functions). Arguments broadcast like a NumPy ufunc, the loop running in C++; results that
C++ writes through pointers or references come back as a tuple; four-vectors are arrays
whose last axis has length 4 (E, px, py, pz); complex results are complex128. Units: MeV
and MeV/c (hbar = c = 1), angles in radians.

Errors: importing the package switches GSL's error handler off for the whole process
(``gsl_set_error_handler_off``), so that no GSL error can abort the interpreter. Domain
errors then give NaN (an underflow 0, an overflow often +-inf), following NumPy. Two
conditions that end a C++ program raise ValueError here instead, naming the offending
element: ``misc.triangle`` below threshold and ``misc.GetQinv`` with a time-like difference.
"""

from . import _core
from . import bessel, coulwave, misc, phaseshift, spherharmonics
from ._core import CCHCalc

__version__: str = _core.__version__

__all__ = ["CCHCalc", "bessel", "coulwave", "misc", "phaseshift", "spherharmonics",
           "__version__"]
