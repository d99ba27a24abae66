"""Broadcasting, shapes, dtypes and argument conversion, checked against the same
functions called one point at a time."""

import numpy as np
import pytest

import twobody
from twobody import bessel, coulwave, misc, spherharmonics


def pointwise(f, *args):
    """f applied to every point of the broadcast arguments, one scalar call each."""
    args = np.broadcast_arrays(*map(np.asarray, args))
    shape = args[0].shape
    first = f(*[a.flat[0].item() for a in args])
    outs = len(first) if isinstance(first, tuple) else 1
    res = [np.empty(shape, dtype=np.asarray(first if outs == 1 else first[0]).dtype)
           for _ in range(outs)]
    for idx in np.ndindex(*shape):
        r = f(*[a[idx].item() for a in args])
        for k in range(outs):
            res[k][idx] = r if outs == 1 else r[k]
    return res[0] if outs == 1 else tuple(res)


def test_shapes_and_dtypes():
    l = np.arange(4).reshape(4, 1, 1)
    x = np.linspace(0.5, 9, 6).reshape(2, 3)
    eta = np.array([0.0, 1.5, -2.0])
    F, G = coulwave.GetFG(l, x, eta)
    assert F.shape == G.shape == (4, 2, 3) and F.dtype == G.dtype == np.float64
    expected = pointwise(coulwave.GetFG, l, x, eta)
    np.testing.assert_array_equal(F, expected[0])
    np.testing.assert_array_equal(G, expected[1])

    w = coulwave.CWoutgoing(l, x, eta)
    assert w.shape == (4, 2, 3) and w.dtype == np.complex128
    assert len(coulwave.GetFGprime(2, x, 1.0)) == 4

    y = spherharmonics.Ylm(3, np.arange(-3, 4)[:, None], np.linspace(0, 3, 5), 0.7)
    assert y.shape == (7, 5) and y.dtype == np.complex128
    np.testing.assert_array_equal(
        y, pointwise(spherharmonics.Ylm, 3, np.arange(-3, 4)[:, None], np.linspace(0, 3, 5), 0.7))

    assert misc.iround(np.array([0.5, -0.5, 2.5])).dtype == np.int64
    assert bessel.h0(np.ones(3)).dtype == np.complex128

    # Scalars in, NumPy scalars out; 0-d arrays count as scalars; empty arrays stay empty.
    s = bessel.jn(2, 1.5)
    assert isinstance(s, np.float64)
    assert isinstance(coulwave.GetFG(np.int64(1), np.array(2.0), 0.5)[0], np.float64)
    assert isinstance(misc.ceiphi(0.3), np.complex128)
    assert bessel.jn(2, np.empty((0, 3))).shape == (0, 3)
    assert coulwave.GetFG(1, np.empty(0), 1.0)[1].shape == (0,)


def test_strided_and_converted_inputs():
    base = np.linspace(0.1, 30, 200).reshape(20, 10)
    long_rows = np.linspace(0.1, 30, 3 * 2601).reshape(3, 2601)[:, ::2]  # rows of 1301
    views = [base[::-2, 1::3], base.T, np.broadcast_to(base[0], (5, 10)), long_rows]
    for v in views:
        np.testing.assert_array_equal(bessel.jn(3, v), bessel.jn(3, np.ascontiguousarray(v)))
    # int, bool, float32 and list inputs for real arguments; int32 and uint8 for orders
    np.testing.assert_array_equal(bessel.J0([1, 2, 3]), bessel.J0(np.array([1.0, 2.0, 3.0])))
    np.testing.assert_array_equal(bessel.Jn(np.array([1, 2], np.uint8), np.float32(2.5)),
                                  bessel.Jn(np.array([1, 2]), float(np.float32(2.5))))
    np.testing.assert_array_equal(bessel.J0(np.array([True, False])), bessel.J0([1.0, 0.0]))
    # complex arguments accept real input
    assert coulwave.cgamma(2) == coulwave.cgamma(2 + 0j)


def unaligned(a):
    """A copy of a whose data starts one byte past an aligned address."""
    a = np.asarray(a)
    buf = np.zeros(a.nbytes + 1, np.uint8)
    out = buf[1:].view(a.dtype).reshape(a.shape)
    out[...] = a
    assert not out.flags.aligned
    return out


def test_unaligned_and_byte_swapped_inputs():
    x = np.linspace(0.1, 40, 37)
    l = np.arange(37) % 7
    z = x + 1j * x[::-1]
    p = np.column_stack([x + 100, x, -x, 0.5 * x])
    swapped = lambda a: a.astype(a.dtype.newbyteorder(">" if np.little_endian else "<"))
    for form in (unaligned, swapped):
        np.testing.assert_array_equal(bessel.jn(form(l), form(x)), bessel.jn(l, x))
        np.testing.assert_array_equal(coulwave.cgamma(form(z)), coulwave.cgamma(z))
        np.testing.assert_array_equal(misc.GetRapidity(form(p)), misc.GetRapidity(p))
        np.testing.assert_array_equal(bessel.Jn(form(l.astype(np.int32)), 2.5),
                                      bessel.Jn(l, 2.5))


def test_four_vectors():
    rng = np.random.default_rng(5)
    p1 = np.abs(rng.normal(500, 50, (2, 1, 4)))
    p1[..., 0] += 1000
    p2 = np.abs(rng.normal(500, 50, (3, 4)))
    p2[..., 0] += 1000
    assert misc.GetRapidity(p1).shape == (2, 1)
    assert misc.GetDely(p1, p2).shape == (2, 3)
    out = misc.lorentz(np.array([1.0, 0, 0, 0]), p2)
    assert out.shape == (3, 4) and out.dtype == np.float64
    np.testing.assert_allclose(out, p2, rtol=1e-14)  # the rest four-velocity boosts nothing
    assert misc.lorentz([1.0, 0, 0, 0], [2.0, 0, 0, 1]).shape == (4,)
    qs = misc.outsidelong(p1, p2)
    assert len(qs) == 3 and all(q.shape == (2, 3) for q in qs)
    # A strided core axis reads the same components.
    wide = np.zeros((3, 8))
    wide[:, ::2] = p2
    np.testing.assert_array_equal(misc.GetRapidity(wide[:, ::2]), misc.GetRapidity(p2))


def test_cchcalc_members_broadcast():
    calc = twobody.CCHCalc()
    n = np.arange(8)
    np.testing.assert_array_equal(calc.Factorial(n), [calc.Factorial(int(k)) for k in n])
    theta = np.linspace(0, np.pi, 7)
    a = calc.GetAFromThetaPhi(2, 0, n[:3, None], theta, 0.4)
    assert a.shape == (3, 7)
    np.testing.assert_array_equal(a, pointwise(calc.GetAFromThetaPhi, 2, 0, n[:3, None],
                                               theta, 0.4))
    assert calc.iswitch(1, 2) == (2, 1)


def test_bad_arguments():
    # Every conversion error names the function and the argument (the anchored patterns).
    cases = [
        (ValueError, "could not be broadcast", lambda: bessel.jn(np.arange(3), np.ones(4))),
        (ValueError, "last axis of length 4", lambda: misc.GetRapidity(np.ones((2, 3)))),
        (ValueError, "last axis of length 4", lambda: misc.GetRapidity(1.0)),
        (TypeError, "'l' must be an integer", lambda: coulwave.GetFG(1.0, 2.0, 0.5)),
        (TypeError, "'x' must be real", lambda: bessel.jn(1, 2.0 + 1j)),
        (TypeError, "", lambda: bessel.J0("1.0")),
        (ValueError, "does not fit a C int", lambda: bessel.jn(np.array([1, 2**31]), 1.0)),
        (ValueError, "does not fit a C int", lambda: bessel.jn(np.array([2**63], np.uint64), 1.0)),
        (ValueError, "does not fit a C int", lambda: bessel.jn(-2**31 - 1, 1.0)),
        (OverflowError, r"^bessel\.J0\(\): argument 'x': int too large",
         lambda: bessel.J0(10**400)),
        (OverflowError, r"^bessel\.J0\(\): argument 'x': int too large",
         lambda: bessel.J0([1.0, 10**400])),
        (ValueError, r"^bessel\.Jn\(\): argument 'n' .*C int", lambda: bessel.Jn([2**70], 1.0)),
        (TypeError, r"^bessel\.J0\(\): argument 'x'", lambda: bessel.J0([1.0, {}])),
        (ValueError, r"^coulwave\.GetFG\(\): argument 'x'",
         lambda: coulwave.GetFG(0, [[1.0, 2.0], [3.0]], 1.0)),
    ]
    for error, pattern, call in cases:
        with pytest.raises(error, match=pattern):
            call()
    # keyword arguments carry the C++ parameter names
    assert coulwave.GetFG(l=1, x=2.0, eta=0.5) == coulwave.GetFG(1, 2.0, 0.5)
