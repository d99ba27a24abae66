"""twobody.phaseshift.build against the phaseshift program: the same tables, the same
files byte for byte, the same messages."""

import os
import pathlib
import shutil
import subprocess

import numpy as np
import pytest

from twobody import phaseshift

INPUTS = ("s11.dat", "p11.dat", "p13.dat")
OUTPUTS = ("pk_phaseshiftdat.cc", "pk_phaseshifts.dat")


def copy_inputs(data_dir, target):
    target.mkdir()
    for name in INPUTS:
        shutil.copy(data_dir / name, target / name)
    return target


def test_build_matches_program(tmp_path, data_dir, phaseshift_binary):
    ref = copy_inputs(data_dir, tmp_path / "program")
    subprocess.run([str(phaseshift_binary)], cwd=ref, check=True, timeout=60)
    mine = copy_inputs(data_dir, tmp_path / "python")

    q, delta, ddeltadq = phaseshift.build(mine)
    assert not any((mine / name).exists() for name in OUTPUTS)
    assert q.shape == (701,) and delta.shape == ddeltadq.shape == (3, 701)
    assert q.dtype == delta.dtype == np.float64
    np.testing.assert_array_equal(q, np.arange(701) * 0.5)
    assert (delta[:, 0] == 0).all() and (ddeltadq[:, 0] == 0).all()

    # The plotting table holds the same numbers to its five printed decimals.
    table = np.loadtxt(ref / "pk_phaseshifts.dat")
    np.testing.assert_array_equal(table[:, 0], q[:700])
    np.testing.assert_allclose(table[:, 1::2].T, delta[:, :700], rtol=0, atol=5.000001e-6)
    np.testing.assert_allclose(table[:, 2::2].T, ddeltadq[:, :700], rtol=0, atol=5.000001e-6)

    again = phaseshift.build(str(mine), write=True)
    for a, b in zip(again, (q, delta, ddeltadq)):
        np.testing.assert_array_equal(a, b)
    for name in OUTPUTS:
        assert (mine / name).read_bytes() == (ref / name).read_bytes(), name


def program_message(binary, directory):
    r = subprocess.run([str(binary)], cwd=directory, capture_output=True, text=True, timeout=60)
    assert r.returncode == 1
    assert r.stderr.startswith("phaseshift: ") and r.stderr.count("\n") == 1
    return r.stderr[len("phaseshift: "):-1]


@pytest.mark.parametrize("spoil", ["missing", "short", "decreasing", "nan"])
def test_bad_input_same_message(tmp_path, data_dir, phaseshift_binary, monkeypatch, spoil):
    d = copy_inputs(data_dir, tmp_path / "in")
    lines = (d / "p11.dat").read_text().splitlines(keepends=True)
    if spoil == "missing":
        (d / "p11.dat").unlink()
    elif spoil == "short":
        (d / "p11.dat").write_text("".join(lines[:30]))
    elif spoil == "decreasing":
        lines[20], lines[21] = lines[21], lines[20]
        (d / "p11.dat").write_text("".join(lines))
    else:
        lines[10] = "9 nan\n"
        (d / "p11.dat").write_text("".join(lines))
    expected = program_message(phaseshift_binary, d)
    monkeypatch.chdir(d)  # the program names files relative to its working directory
    with pytest.raises(ValueError) as err:
        phaseshift.build("", write=True)
    assert str(err.value) == expected
    assert sorted(os.listdir(d)) == sorted(n for n in INPUTS if (d / n).exists())


def test_path_forms(tmp_path, data_dir):
    # bytes (also a name that is not UTF-8) and os.PathLike name the same directory as str
    # does; a NUL is refused as open() refuses it, never cut off.
    odd = os.fsencode(tmp_path) + b"/caf\xe9/" + b"x" * 250 + b"/" + b"y" * 250
    os.makedirs(os.path.dirname(odd))
    copy_inputs(data_dir, pathlib.Path(os.fsdecode(odd)))
    q, delta, _ = phaseshift.build(odd, write=True)
    np.testing.assert_array_equal(phaseshift.build(pathlib.Path(os.fsdecode(odd)))[1], delta)
    assert sorted(os.listdir(odd)) == sorted(os.fsencode(n) for n in INPUTS + OUTPUTS)
    with pytest.raises(ValueError, match="NUL"):
        phaseshift.build(os.fsdecode(odd) + "\0/elsewhere", write=True)
    os.unlink(odd + b"/p13.dat")
    with pytest.raises(ValueError) as err:
        phaseshift.build(odd)
    assert os.fsdecode(odd) + "/p13.dat" in str(err.value)  # the whole name, not cut short


def test_failed_write_raises_oserror(tmp_path, data_dir):
    d = copy_inputs(data_dir, tmp_path / "in")
    (d / OUTPUTS[1]).mkdir()  # cannot be replaced by a file
    with pytest.raises(OSError):
        phaseshift.build(d, write=True)
