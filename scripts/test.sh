#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# With --sanitize the suite is built and run under AddressSanitizer and
# UndefinedBehaviorSanitizer instead, in build/asan; any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build/test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build/asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DTWOBODY_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ $# -gt 0 ]; then
  echo "usage: scripts/test.sh [--sanitize]" >&2
  exit 2
fi

bash scripts/deps.sh cmake make g++ pkg-config libgsl-dev libboost-dev libgtest-dev
cmake -S . -B "$dir" "${flags[@]}" -DTWOBODY_BUILD_TESTS=ON >/dev/null
cmake --build "$dir" -j "$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
