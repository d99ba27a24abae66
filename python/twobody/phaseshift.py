"""The kaon-proton phase-shift table builder as a function."""

import os

from ._core import phaseshift as _m

__all__ = ["build"]


def build(directory, write=False):
    """build(directory, write=False) -> (q, delta, ddeltadq)

    Reads s11.dat, p11.dat and p13.dat from ``directory`` (a str or path; "" is the current
    directory), resamples the S11, P11 and P13 phase shifts onto q = 0, 0.5, ..., 350 MeV/c
    and corrects them for the proton-kaon Coulomb interaction, exactly as the ``phaseshift``
    program does.

    Returns q (MeV/c, shape (701,)), delta (rad, shape (3, 701)) and ddeltadq (rad per
    MeV/c, shape (3, 701)), rows S11, P11, P13; the q = 0 entries are 0.

    With ``write=True`` the two files pk_phaseshiftdat.cc and pk_phaseshifts.dat are also
    written into ``directory``, byte for byte as ``phaseshift`` writes them, replacing both
    only once both are complete.

    Errors: bad input (a missing file, too few rows, a row without two numbers, a
    non-finite value, momenta out of order, a table that ends below the grid) raises
    ValueError carrying the one-line message ``phaseshift`` prints (without its
    "phaseshift: " prefix), and nothing is written. A failed write raises OSError with the
    reason; earlier output files are then left as they were.
    """
    return _m._build(os.fsdecode(os.fspath(directory)), bool(write))
