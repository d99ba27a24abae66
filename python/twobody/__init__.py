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

Each function's contract (range, accuracy, behaviour outside the range) is its C++
header's, which its docstring names. Importing the package switches GSL's error handler off
for the whole process, so that no GSL error can abort the interpreter, and installs the
library's fatal-error handler: the conditions that end a C++ program (``misc.triangle``
below threshold, ``misc.GetQinv`` of a time-like pair, a ``CCHCalc`` lookup while its tables
are released) raise ValueError here, naming the offending element. Long calls give way to
Ctrl-C.
"""

from . import _core
from . import bessel, coulwave, misc, phaseshift, spherharmonics
from ._core import CCHCalc

__version__: str = _core.__version__

__all__ = ["CCHCalc", "bessel", "coulwave", "misc", "phaseshift", "spherharmonics",
           "__version__"]
