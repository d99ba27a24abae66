"""Errors fit Python: nothing aborts or exits the interpreter, the fatal conditions of the
C++ library raise ValueError, and the calculator prints nothing unasked."""

import numpy as np
import pytest

import twobody
from twobody import bessel, coulwave, misc, spherharmonics
from conftest import run_python


def test_gsl_domain_errors_give_nan_without_abort():
    # In a fresh interpreter, so that an abort would not take the test run with it.
    r = run_python(
        "import twobody\n"
        "from twobody import bessel, spherharmonics, misc, coulwave\n"
        "print(bessel.Y0(-1.0), bessel.K1(0.0), spherharmonics.legendre(-1, 0.5),\n"
        "      spherharmonics.Ylm(1, 2, 0.3, 0.1), coulwave.cgamma(0j))\n")
    assert r.returncode == 0, r.stderr
    assert r.stdout.split() == ["nan", "nan", "nan", "(nan+nanj)", "(nan+nanj)"]


def test_negative_orders_as_in_cxx():
    assert np.isnan(coulwave.GetFG(-1, 2.0, 0.5)).all()
    assert np.isnan(coulwave.CWoutgoing(-2, 2.0, 0.5))
    assert bessel.jn(-3, 0.7) == bessel.j1(0.7)
    delta, dd = coulwave.phaseshift_CoulombCorrect(-1, 100.0, 0.1, 0.3, 0.01)
    assert (delta, dd) == (0.3, 0.01)
    assert np.isnan(twobody.CCHCalc().GetOverlap(-1, 0, 0, 1, 0, 0))


def test_triangle_below_threshold():
    m0 = np.array([[1500.0, 1600.0], [1431.9, 2000.0]])
    np.testing.assert_array_equal(misc.triangle(m0[0], 938.28, 493.677),
                                  [misc.triangle(1500.0, 938.28, 493.677),
                                   misc.triangle(1600.0, 938.28, 493.677)])
    with pytest.raises(ValueError, match=r"^misc\.triangle\(\): Disaster with triangle at index "
                                         r"\(1, 0\): m0 = 1431.9, m1 = 938.28, m2 = 493.677$"):
        misc.triangle(m0, 938.28, 493.677)
    with pytest.raises(ValueError, match=r"^misc\.triangle\(\): Disaster with triangle: m0 = 1,"):
        misc.triangle(1.0, 0.5, 0.5 + 1e-15)
    m0 = np.full(3000, 1500.0)
    m0[2500] = 1000.0  # in a later run of a long row
    with pytest.raises(ValueError, match=r"at index \(2500,\): m0 = 1000,"):
        misc.triangle(m0, 938.28, 493.677)
    assert misc.triangle(1432.0, 938.28, 493.72) == pytest.approx(0, abs=1e-6)
    assert np.isnan(misc.triangle(np.nan, 1.0, 1.0))  # NaN passes the test, as in C++


def test_qinv_time_like():
    p1 = np.array([[1000.0, 10, 0, 0], [1000.0, 0, 0, 50]])
    p2 = np.array([1000.0, 0, 0, 0])
    assert misc.GetQinv(p1, p2) == pytest.approx([10, 50])
    p1[1, 0] = 1100.0
    with pytest.raises(ValueError, match=r"wrong sign, = -7500 at index \(1,\): "
                                         r"p1 = \[1100, 0, 0, 50\], p2 = \[1000, 0, 0, 0\]$"):
        misc.GetQinv(p1, p2)
    assert misc.GetQinv(p2, p2) == 0.0  # a null difference is accepted


def test_cchcalc_is_silent_unless_asked(capfd):
    r = run_python(
        "import twobody\n"
        "c = twobody.CCHCalc(); d = twobody.CCHCalc()\n"
        "x = c.GetOverlap(2, 0, 0, 2, 0, 0) + c.GetAFromE(1, 1, 0, 0.6, 0.8, 0.0)\n"
        "del c, d\n"
        "e = twobody.CCHCalc(); e.ClearStaticData(); e.InitStaticData()\n")
    assert r.returncode == 0, r.stderr
    assert r.stdout == "" and r.stderr == ""

    calc = twobody.CCHCalc()
    capfd.readouterr()
    calc.ClearStaticData(verbose=True)
    try:
        # Without tables Python answers where C++ answers, and raises where C++ would stop.
        assert not twobody.CCHCalc.TablesPresent()
        with pytest.raises(ValueError, match=r"^CCHCalc\.GetOverlap\(\): CCHCalc: table lookup "
                                             r"while the static tables are absent .* at index "
                                             r"\(1,\): a1 = 2, .* b3 = 0$"):
            calc.GetOverlap([1, 2], 0, 0, [0, 2], 0, 0)  # the first point needs no table
        with pytest.raises(ValueError, match=r"^CCHCalc\.Factorial\(\): .*: n = 3$"):
            calc.Factorial(3)
        with pytest.raises(ValueError, match="tables are absent"):
            calc.overlapinit(1, 1, 0)
        assert calc.GetMFromE(1, 2, 0, 0.5, 2.0, 1.0) == 2.0
        assert calc.GetAFromE(0, 0, 0, 0.6, 0.8, 0.0) == 1.0
        assert calc.GetOverlap(1, 0, 0, 0, 0, 0) == 0.0
    finally:
        calc.InitStaticData()
    out = capfd.readouterr().out
    assert "Clearing static data" in out and out.count("\n") == 2
    assert calc.GetOverlap(0, 0, 0, 0, 0, 0) == pytest.approx(4 * np.pi, rel=1e-15)

