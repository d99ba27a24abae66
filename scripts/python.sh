#!/usr/bin/env bash
# Installs what is missing, builds the Python package twobody, installs it and checks it by
# calling it from a clean environment.
#
#   scripts/python.sh --venv DIR          pip install into the virtual environment DIR,
#                                         made first (seeing Debian's NumPy) if missing
#   scripts/python.sh --python PATH       pip install for that interpreter (a virtual
#                                         environment's python, say)
#   scripts/python.sh --target DIR        pip install into DIR (then PYTHONPATH=DIR)
#   scripts/python.sh                     build for /usr/bin/python3 with CMake and install
#                                         system-wide (/usr/local/lib/python3.X/dist-packages),
#                                         where Debian's pip refuses to install
#
# pip builds offline from Debian's packages (python3 -m pip install --no-build-isolation .):
# setup.py drives the project's CMake, and the package gets its metadata, so `pip show` and
# `pip uninstall twobody` work.
set -euo pipefail
here=$(pwd)
cd "$(dirname "$0")/.."

python=/usr/bin/python3
target=""
venv=""
while [ $# -gt 0 ]; do
  case "$1" in
    --python) python=$2; shift 2 ;;
    --target) target=$2; shift 2 ;;
    --venv) venv=$2; shift 2 ;;
    *) echo "usage: scripts/python.sh [--venv DIR | --python PATH | --target DIR]" >&2; exit 2 ;;
  esac
done
# Relative paths are the caller's, not the repository's.
case "$python" in /*) ;; */*) python="$here/$python" ;; esac
case "$target" in ""|/*) ;; *) target="$here/$target" ;; esac
case "$venv" in ""|/*) ;; *) venv="$here/$venv" ;; esac

bash scripts/deps.sh cmake make g++ pkg-config libgsl-dev libboost-dev python3-dev pybind11-dev \
  python3-pybind11 python3-numpy python3-pip python3-venv python3-setuptools python3-wheel

if [ -n "$venv" ]; then
  [ -x "$venv/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$venv"
  python=$venv/bin/python
fi

pip=("$python" -m pip install --no-build-isolation --no-index --disable-pip-version-check)
if [ -n "$target" ]; then
  # NumPy stays where it is: DIR only adds the package.
  "${pip[@]}" --no-deps --upgrade --target "$target" .
elif [ -n "$venv" ] || [ "$python" != /usr/bin/python3 ]; then
  "${pip[@]}" .
else
  cmake -S . -B build/python -DCMAKE_BUILD_TYPE=Release -DTWOBODY_BUILD_TESTS=OFF \
    -DTWOBODY_PYTHON=ON -DPython_EXECUTABLE="$python" \
    -DTWOBODY_PYTHON_INSTALL_DIR="$("$python" -c 'import sys; print("lib/python%d.%d/dist-packages" % sys.version_info[:2])')" \
    >/dev/null
  cmake --build build/python -j "$(nproc)" --target twobody_python
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo cmake --install build/python --component python --prefix /usr/local
fi

# The check runs from elsewhere, in a clean environment, as a new shell would.
cd /
run=(env -u PYTHONPATH)
[ -n "$target" ] && run=(env PYTHONPATH="$target")
"${run[@]}" "$python" - <<'PY'
import math
import numpy as np
import twobody
from twobody import bessel
from twobody.coulwave import GetFG

j0 = bessel.J0(1.0)
assert math.isclose(j0, 0.76519768655796655, rel_tol=4e-16), j0  # J0(1)
x = np.linspace(1.0, 10.0, 4)
F, G = GetFG(0, x, 0.5)  # l, then x, then eta
print(f"twobody {twobody.__version__} from {twobody.__file__}")
print("J0(1)      ", j0)
print("x          ", x)
print("F_0(0.5, x)", F)
print("G_0(0.5, x)", G)
PY
