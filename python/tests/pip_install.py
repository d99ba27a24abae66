#!/usr/bin/python3
"""The package installed the way users install it, offline, from Debian's packages alone.

    pip_install.py SOURCE_DIR VERSION

From a source distribution of SOURCE_DIR, unpacked into a scratch directory: pip builds a
wheel (the one compilation), `pip install DIR` puts the package into a virtual environment
that sees the system's NumPy, and the wheel goes into a second, fresh one. Each
environment must import the package from itself, answer two calls with known values, carry
the metadata (name, VERSION, licence, NumPy requirement), and lose the package again on
`pip uninstall`. Exit status 0 if all of that holds.
"""

import os
import subprocess
import sys
import tarfile
import tempfile
from pathlib import Path

CHECK = """
import importlib.metadata as md, math, sys
import twobody
from twobody import bessel, coulwave
assert twobody.__file__.startswith(sys.prefix), twobody.__file__
# J0(1) to 17 digits; for l = 0 and eta = 0 the Coulomb waves are sin x and cos x.
assert math.isclose(bessel.J0(1.0), 0.76519768655796655, rel_tol=4e-16), bessel.J0(1.0)
F, G = coulwave.GetFG(0, 2.0, 0.0)
assert math.isclose(F, math.sin(2.0), rel_tol=1e-14) and math.isclose(G, math.cos(2.0), rel_tol=1e-14)
meta = md.metadata("twobody")
assert meta["Name"] == "twobody" and meta["Version"] == twobody.__version__ == {version!r}, meta["Version"]
assert meta["License"] == "GPL-3.0-or-later", meta["License"]
assert any(r.startswith("numpy") for r in md.requires("twobody")), md.requires("twobody")
"""

GONE = """
import sys
try:
    import twobody
except ModuleNotFoundError:
    pass
else:  # a system-wide install may still be seen, never the environment's own
    assert not twobody.__file__.startswith(sys.prefix), twobody.__file__
"""


def run(*cmd, cwd=None):
    env = {k: v for k, v in os.environ.items() if not k.startswith(("PYTHON", "PIP_"))}
    env.update(PIP_NO_INDEX="1", PIP_NO_CACHE_DIR="1", PIP_DISABLE_PIP_VERSION_CHECK="1")
    print("+", " ".join(map(str, cmd)), flush=True)
    subprocess.run([str(c) for c in cmd], cwd=cwd, env=env, check=True)


def environment(root, name):
    run(sys.executable, "-m", "venv", "--system-site-packages", root / name)
    return root / name / "bin" / "python"


def check_installed(python, version):
    # From the environment's own directory: `python -c` puts the working directory first
    # on the path, and ctest's may hold a twobody package of the build tree.
    here = python.parent.parent
    run(python, "-c", CHECK.format(version=version), cwd=here)
    run(python, "-m", "pip", "show", "twobody", cwd=here)
    run(python, "-m", "pip", "uninstall", "-y", "twobody", cwd=here)
    run(python, "-c", GONE, cwd=here)


def main():
    source, version = Path(sys.argv[1]).resolve(), sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="twobody-pip-") as tmp:
        tmp = Path(tmp)
        run(sys.executable, "-c",
            f"from setuptools import build_meta; build_meta.build_sdist({str(tmp)!r})",
            cwd=source)
        (sdist,) = tmp.glob("twobody-*.tar.gz")
        with tarfile.open(sdist) as tar:
            tar.extractall(tmp)
        tree = tmp / sdist.name[: -len(".tar.gz")]

        run(sys.executable, "-m", "pip", "wheel", "--no-build-isolation", "--no-deps",
            "-w", tmp / "wheels", tree)
        (wheel,) = (tmp / "wheels").glob("twobody-*.whl")

        # The tree keeps its CMake build from the wheel, so this build is incremental.
        python = environment(tmp, "venv-dir")
        run(python, "-m", "pip", "install", "--no-build-isolation", tree)
        check_installed(python, version)

        python = environment(tmp, "venv-wheel")
        run(python, "-m", "pip", "install", wheel)
        check_installed(python, version)
    print("pip_install: ok")


if __name__ == "__main__":
    main()
