#!/usr/bin/env bash
# Installs what is missing, builds the Python package twobody, installs it where Debian's
# /usr/bin/python3 finds it (/usr/local/lib/python3.X/dist-packages) and runs a short example.
#
#   scripts/python.sh                     build for /usr/bin/python3, install system-wide
#   scripts/python.sh --python PATH       build for that interpreter (a virtual environment's
#                                         python, say) and install into its site-packages
#   scripts/python.sh --target DIR        install into DIR instead (then PYTHONPATH=DIR)
set -euo pipefail
here=$(pwd)
cd "$(dirname "$0")/.."

python=/usr/bin/python3
target=""
while [ $# -gt 0 ]; do
  case "$1" in
    --python) python=$2; shift 2 ;;
    --target) target=$2; shift 2 ;;
    *) echo "usage: scripts/python.sh [--python PATH] [--target DIR]" >&2; exit 2 ;;
  esac
done
# Relative paths are the caller's, not the repository's.
case "$python" in /*) ;; */*) python="$here/$python" ;; esac
case "$target" in ""|/*) ;; *) target="$here/$target" ;; esac

bash scripts/deps.sh cmake make g++ pkg-config libgsl-dev libboost-dev python3-dev pybind11-dev \
  python3-pybind11 python3-numpy

flags=(-DCMAKE_BUILD_TYPE=Release -DTWOBODY_BUILD_TESTS=OFF -DTWOBODY_PYTHON=ON
       -DPython_EXECUTABLE="$python")
# Always named, so that an earlier run's choice does not linger in the CMake cache.
if [ -n "$target" ]; then
  dest=$target
elif [ "$python" != /usr/bin/python3 ]; then
  # Another interpreter (a virtual environment): its own site-packages.
  dest=$("$python" -c 'import sysconfig; print(sysconfig.get_path("platlib"))')
else
  # Under /usr/local, on the path of Debian's python3.
  dest=$("$python" -c 'import sys; print("lib/python%d.%d/dist-packages" % sys.version_info[:2])')
fi
flags+=(-DTWOBODY_PYTHON_INSTALL_DIR="$dest")
cmake -S . -B build/python "${flags[@]}" >/dev/null
cmake --build build/python -j "$(nproc)" --target twobody_python

sudo=""
if [ "$(id -u)" -ne 0 ] && [ -z "$target" ] && [ "$python" = /usr/bin/python3 ]; then
  sudo="sudo"
fi
$sudo cmake --install build/python --component python --prefix /usr/local

# The example runs from elsewhere, in a clean environment, as a new shell would.
cd /
run=(env -u PYTHONPATH)
[ -n "$target" ] && run=(env PYTHONPATH="$target")
"${run[@]}" "$python" - <<'PY'
import numpy as np
import twobody
from twobody.coulwave import GetFG

x = np.linspace(1.0, 10.0, 4)
F, G = GetFG(0, x, 0.5)  # l, then x, then eta
print(f"twobody {twobody.__version__} from {twobody.__file__}")
print("x      ", x)
print("F_0(0.5, x)", F)
print("G_0(0.5, x)", G)
PY
