#!/usr/bin/env bash
# Installs what is missing, builds everything (the Python package included) and runs the
# whole test suite, the package's pytest suite among the ctest tests. With --sanitize the
# suite is built and run under AddressSanitizer and UndefinedBehaviorSanitizer instead, in
# build/asan, without the Python package; any report fails the run. With --tsan the tests of
# code that threads share (the table writer, the fatal and message handlers) run under
# ThreadSanitizer, in build/tsan.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build/test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWOBODY_PYTHON=ON -DPython_EXECUTABLE=/usr/bin/python3)
python_deps=(python3-dev pybind11-dev python3-pybind11 python3-numpy python3-pytest
             python3-pip python3-venv python3-setuptools python3-wheel python3-dask python3-xarray)
if [ "${1:-}" = "--sanitize" ]; then
  # An instrumented extension cannot be loaded into an ordinary interpreter.
  dir=build/asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DTWOBODY_SANITIZE=ON -DTWOBODY_PYTHON=OFF)
  python_deps=()
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ "${1:-}" = "--tsan" ]; then
  dir=build/tsan
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWOBODY_TSAN=ON -DTWOBODY_PYTHON=OFF)
  python_deps=()
  export TSAN_OPTIONS=halt_on_error=1
  targets=(--target phaseshift_test fatal_test)
  tests=(-R '^(WriteOutputs|FatalHandler|MessageHandler)[.]')
elif [ $# -gt 0 ]; then
  echo "usage: scripts/test.sh [--sanitize | --tsan]" >&2
  exit 2
fi

bash scripts/deps.sh cmake make g++ pkg-config libgsl-dev libboost-dev libgtest-dev "${python_deps[@]}"
cmake -S . -B "$dir" "${flags[@]}" -DTWOBODY_BUILD_TESTS=ON >/dev/null
if [ ${#python_deps[@]} -gt 0 ]; then
  # The pytest suite must be there: ctest fails on any non-zero pytest status, 5 (no tests
  # collected) included, but a suite that is not registered at all would pass unseen.
  ctest --test-dir "$dir" -N -R '^Python\.pytest$' | grep -q 'Total Tests: 1' ||
    { echo "test: the Python test suite is not registered with ctest" >&2; exit 1; }
fi
cmake --build "$dir" -j "$(nproc)" ${targets[@]+"${targets[@]}"}
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" ${tests[@]+"${tests[@]}"}
