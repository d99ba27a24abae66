import numpy as np
import numpy.typing as npt

_Int = npt.ArrayLike
_Real = npt.ArrayLike
_F64 = np.float64 | npt.NDArray[np.float64]
_C128 = np.complex128 | npt.NDArray[np.complex128]

def legendre(l: _Int, x: _Real) -> _F64: ...
def Ylm(l: _Int, m: _Int, theta: _Real, phi: _Real) -> _C128: ...
