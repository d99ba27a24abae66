"""The kaon-proton phase-shift table builder as a function."""

import os

from ._core import phaseshift as _m

__all__ = ["build"]


def build(directory, write=False):
    """build(directory, write=False) -> (q, delta, ddeltadq)

    The ``phaseshift`` program as a function: reads s11.dat, p11.dat and p13.dat from
    ``directory`` (str, bytes or os.PathLike; "" is the current directory) and returns the
    Coulomb-corrected tables on q = 0, 0.5, ..., 350 MeV/c: q (701,), delta and ddeltadq
    (3, 701), rows S11, P11, P13. With ``write=True`` it also writes the program's two
    files into ``directory``, byte for byte.

    Errors: bad input, or a NUL in ``directory``, raises ValueError with the line the
    program prints (without "phaseshift: "), and nothing is written; a failed write raises
    OSError. See phaseshift(1).
    """
    return _m._build(os.fsencode(directory), bool(write))
