"""Shared fixtures: where the build put the C++ programs, the sample data and the
reference tables. ctest passes them in the environment; run by hand, the tests that need
them are skipped."""

import os
import pathlib
import subprocess
import sys

import numpy as np
import pytest

HERE = pathlib.Path(__file__).resolve().parent
REPO = HERE.parent.parent


def _path_from_env(name, default=None):
    value = os.environ.get(name)
    if value:
        return pathlib.Path(value).resolve()
    return default


def _built_program(variable, program):
    path = _path_from_env(variable)
    if path is None or not path.exists():
        pytest.skip(f"{variable} (the {program} program of the build) is not set")
    return path


@pytest.fixture(scope="session")
def eval_binary():
    return _built_program("TWOBODY_EVAL", "twobody_eval")


@pytest.fixture(scope="session")
def phaseshift_binary():
    return _built_program("TWOBODY_PHASESHIFT", "phaseshift")


@pytest.fixture(scope="session")
def data_dir():
    path = _path_from_env("TWOBODY_DATA_DIR", REPO / "data")
    if not (path / "s11.dat").exists():
        pytest.skip("no sample data (TWOBODY_DATA_DIR)")
    return path


@pytest.fixture(scope="session")
def reference_dir():
    return _path_from_env("TWOBODY_REFERENCE_DIR", REPO / "tests" / "reference")


def cxx_eval(binary, name, points):
    """Runs the C++ function `name` on each row of `points`; returns the results, one row
    per point, read back exactly from hex floats."""
    text = "\n".join(" ".join(repr(float(v)) for v in row) for row in points) + "\n"
    out = subprocess.run([str(binary), name], input=text, capture_output=True, text=True,
                         check=True, timeout=300).stdout
    return np.array([[float.fromhex(t) for t in line.split()] for line in out.splitlines()])


def run_python(code, timeout=120):
    """Runs code in a fresh interpreter that imports the package from the same place."""
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join(p for p in sys.path if p)
    return subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                          env=env, timeout=timeout)
