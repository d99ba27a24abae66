"""The Python functions return exactly what the C++ library returns, point by point.

The points are those of the library's accuracy tables where the table is present, and a
fixed sample otherwise. The C++ side is the library called directly by a small program
(twobody_eval), so a swapped argument, a wrong conversion or a broadcasting slip shows up as
a difference in the last bit."""

import itertools

import numpy as np
import pytest

import twobody
from twobody import coulwave, bessel, misc, spherharmonics
from conftest import cxx_eval

MAX_ROWS = 2000


def table_points(reference_dir, name, ncols, fallback):
    path = reference_dir / name
    if path.exists():
        rows = np.loadtxt(path, comments="#", ndmin=2)[:, :ncols]
        if len(rows) > MAX_ROWS:
            rows = rows[np.linspace(0, len(rows) - 1, MAX_ROWS).astype(int)]
        return rows
    return np.array(list(fallback), dtype=float)


def same(python, cxx):
    """Bit for bit, NaN matching NaN."""
    np.testing.assert_array_equal(python, cxx)


def test_coulomb_functions(eval_binary, reference_dir):
    grid = itertools.product(range(-1, 6), np.geomspace(0.05, 200, 7), [-3, -0.5, 0, 0.4, 2, 10])
    pts = table_points(reference_dir, "coulomb_wave.tsv", 3, grid)
    l, x, eta = pts[:, 0].astype(np.int64), pts[:, 1], pts[:, 2]
    same(np.column_stack(coulwave.GetFG(l, x, eta)), cxx_eval(eval_binary, "GetFG", pts))
    same(np.column_stack(coulwave.GetFGprime(l, x, eta)),
         cxx_eval(eval_binary, "GetFGprime", pts))
    w = coulwave.CWoutgoing(l, x, eta)
    same(np.column_stack([w.real, w.imag]), cxx_eval(eval_binary, "CWoutgoing", pts))
    # The incoming wave is the conjugate of the outgoing one in C++ too.
    same(coulwave.CWincoming(l, x, eta), np.conj(w))


def test_coulomb_correction(eval_binary):
    rng = np.random.default_rng(1)
    n = 500
    pts = np.column_stack([rng.integers(-1, 4, n), rng.uniform(0.5, 350, n),
                           rng.uniform(-5, 5, n), rng.uniform(-3, 3, n), rng.normal(0, 0.01, n)])
    pts[:10, 2] = 0.0  # unchanged there
    got = coulwave.phaseshift_CoulombCorrect(pts[:, 0].astype(int), *pts[:, 1:].T)
    same(np.column_stack(got), cxx_eval(eval_binary, "phaseshift_CoulombCorrect", pts))


def test_spherical_bessel(eval_binary, reference_dir):
    grid = itertools.product(range(-1, 31), np.geomspace(1e-3, 1e3, 25))
    pts = table_points(reference_dir, "bessel_jn.tsv", 2, grid)
    l, x = pts[:, 0].astype(np.int64), pts[:, 1]
    same(bessel.jn(l, x)[:, None], cxx_eval(eval_binary, "jn", pts))
    h = bessel.hn(l, x)
    same(np.column_stack([h.real, h.imag]), cxx_eval(eval_binary, "hn", pts))


def _cgc_sample():
    halves = np.arange(0, 7) / 2
    for j1, j2 in itertools.product(halves, halves):
        for J in np.arange(abs(j1 - j2), j1 + j2 + 1):
            for m1 in np.arange(-j1, j1 + 1):
                for m2 in np.arange(-j2, j2 + 1):
                    yield j1, m1, j2, m2, J, m1 + m2
    yield 1, 0, 1, 0, 3, 0   # J > j1 + j2
    yield 0.5, 0.5, 1, 0, 1.5, 1  # M != m1 + m2


def test_clebsch_gordan(eval_binary, reference_dir):
    pts = table_points(reference_dir, "clebsch_gordan.tsv", 6, _cgc_sample())
    same(misc.cgc(*pts.T)[:, None], cxx_eval(eval_binary, "cgc", pts))
    same(misc.oldcgc(*pts.T)[:, None], cxx_eval(eval_binary, "oldcgc", pts))


def test_spherical_harmonics(eval_binary):
    rng = np.random.default_rng(2)
    n = 400
    l = rng.integers(0, 12, n)
    m = rng.integers(-13, 14, n)  # |m| > l included: NaN on both sides
    pts = np.column_stack([l, m, rng.uniform(-1, 4, n), rng.uniform(-7, 7, n)])
    y = spherharmonics.Ylm(l, m, pts[:, 2], pts[:, 3])
    same(np.column_stack([y.real, y.imag]), cxx_eval(eval_binary, "Ylm", pts))


def test_kinematics(eval_binary):
    rng = np.random.default_rng(3)
    n = 300
    mass = 139.57
    p = rng.normal(0, 300, (2, n, 3))
    e = np.sqrt(mass**2 + (p**2).sum(-1))
    p1, p2 = np.concatenate([e[..., None], p], -1)  # equal masses: space-like difference
    pts = np.column_stack([p1, p2])
    same(misc.GetQinv(p1, p2)[:, None], cxx_eval(eval_binary, "GetQinv", pts))
    same(np.column_stack(misc.outsidelong(p1, p2)), cxx_eval(eval_binary, "outsidelong", pts))
    u = p1 / mass
    same(misc.lorentz(u, p2), cxx_eval(eval_binary, "lorentz", np.column_stack([u, p2])))


def test_cartesian_harmonics(eval_binary):
    rng = np.random.default_rng(4)
    n = 300
    lxyz = rng.integers(0, 7, (n, 3))
    e = rng.normal(size=(n, 3))
    e /= np.linalg.norm(e, axis=1)[:, None]
    calc = twobody.CCHCalc()
    got = calc.GetAFromE(*lxyz.T, *e.T)
    same(got[:, None], cxx_eval(eval_binary, "GetAFromE", np.column_stack([lxyz, e])))
