"""The functions inside the array libraries that wrap NumPy: dask (blocks evaluated on a
thread pool, so the calls overlap with the GIL released) and xarray (named dimensions,
core dimensions moved last). Skipped where those libraries are not installed."""

import numpy as np
import pytest

from twobody import bessel, coulwave, misc


def test_dask_map_blocks():
    da = pytest.importorskip("dask.array")
    rng = np.random.default_rng(3)
    x = rng.uniform(0.1, 50.0, (400, 300))
    n = rng.integers(0, 12, (400, 1))
    dx = da.from_array(x, chunks=(50, 100))
    dn = da.from_array(n, chunks=(50, 1))

    j0 = da.map_blocks(bessel.J0, dx, dtype=float).compute(scheduler="threads")
    np.testing.assert_array_equal(j0, bessel.J0(x))
    # Two blocked arguments broadcast block by block, as the whole arrays do.
    jn = da.map_blocks(bessel.Jn, dn, dx, dtype=float).compute(scheduler="threads")
    np.testing.assert_array_equal(jn, bessel.Jn(n, x))
    # Complex results keep their type through dask.
    h = da.map_blocks(bessel.hn, dn, dx, dtype=complex).compute(scheduler="threads")
    assert h.dtype == np.complex128
    np.testing.assert_array_equal(h, bessel.hn(n, x))


def test_xarray_apply_ufunc():
    xr = pytest.importorskip("xarray")
    x = xr.DataArray(np.linspace(0.5, 20.0, 40), dims="x")
    eta = xr.DataArray([-0.5, 0.0, 1.5], dims="eta")

    # Dimensions are matched by name: the result spans both.
    F, G = xr.apply_ufunc(coulwave.GetFG, 1, x, eta, output_core_dims=[[], []])
    assert F.dims == ("x", "eta")
    F0, G0 = coulwave.GetFG(1, x.values[:, None], eta.values[None, :])
    np.testing.assert_array_equal(F.values, F0)
    np.testing.assert_array_equal(G.values, G0)

    # A four-vector axis named as a core dimension is moved last, where the function
    # expects (E, px, py, pz); the invariant must not depend on where it started.
    rng = np.random.default_rng(5)
    p = rng.normal(0.0, 200.0, (2, 6, 3))
    e = np.sqrt(139.57**2 + (p**2).sum(-1, keepdims=True))
    four = np.concatenate([e, p], axis=-1)  # (pair member, event, mu)
    p4 = xr.DataArray(np.moveaxis(four, -1, 0), dims=("mu", "member", "event"))
    q = xr.apply_ufunc(misc.GetQinv, p4.isel(member=0), p4.isel(member=1),
                       input_core_dims=[["mu"], ["mu"]])
    assert q.dims == ("event",)
    d = four[0] - four[1]
    np.testing.assert_allclose(q.values, np.sqrt((d[:, 1:] ** 2).sum(-1) - d[:, 0] ** 2),
                               rtol=1e-12)

    # xarray over dask: the same answer, blocks computed in parallel.
    pytest.importorskip("dask.array")
    xc = x.chunk({"x": 10})
    j = xr.apply_ufunc(bessel.J0, xc, dask="parallelized", output_dtypes=[float])
    np.testing.assert_array_equal(j.compute(scheduler="threads").values, bessel.J0(x.values))
