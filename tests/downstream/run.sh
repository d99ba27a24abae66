#!/usr/bin/env bash
# Installs a built twobody into a scratch prefix and builds app.cpp against it twice: with
# find_package(twobody) and with pkg-config. Both programs must print 10.24.
# usage: run.sh BUILD_DIR SCRATCH_DIR CXX [EXTRA_FLAGS]
set -euo pipefail
build=$1 scratch=$2 cxx=$3 extra=${4:-}
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

expect() {
  local got
  got=$("$1")
  [ "$got" = "10.24" ] || { echo "downstream: $1 printed '$got', expected 10.24" >&2; exit 1; }
  echo "downstream: $2 build prints $got"
}

cmake -S "$here" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_CXX_FLAGS="$extra" -DCMAKE_EXE_LINKER_FLAGS="$extra" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
expect "$scratch/cmake/app" "find_package"

pcdir=$(find "$prefix" -name twobody.pc -printf '%h\n' | head -n 1)
# shellcheck disable=SC2046,SC2086
"$cxx" -std=c++17 $extra "$here/app.cpp" -o "$scratch/app-pc" \
  $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs twobody)
# A shared libtwobody is found the way a user would point to it.
LD_LIBRARY_PATH=$(dirname "$pcdir")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} expect "$scratch/app-pc" "pkg-config"
