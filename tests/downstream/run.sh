#!/usr/bin/env bash
# How a user builds against twobody, each way a program must print 10.24:
#   install  - installs the build into a scratch prefix, builds app.cpp with
#              find_package(twobody 0.1 EXACT) and with pkg-config;
#   subdir   - builds app.cpp in a project that adds the twobody sources with add_subdirectory
#              and checks that the parent's cache keeps no CMAKE_BUILD_TYPE of twobody's;
#   shared   - builds twobody as a shared library, installs it and runs the installed
#              phaseshift and a pkg-config program without any library path set.
# usage: run.sh MODE SOURCE_DIR BUILD_DIR SCRATCH_DIR CXX [EXTRA_FLAGS]
set -euo pipefail
mode=$1 src=$2 build=$3 scratch=$4 cxx=$5 extra=${6:-}
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$scratch"
mkdir -p "$scratch"
prefix=$scratch/prefix

expect() {
  local got
  got=$("$1")
  [ "$got" = "10.24" ] || { echo "downstream: $1 printed '$got', expected 10.24" >&2; exit 1; }
  echo "downstream: $2 build prints $got"
}

pkgconfig_app() { # $1: extra link flags
  local pcdir
  pcdir=$(find "$prefix" -name twobody.pc -printf '%h\n' | head -n 1)
  # shellcheck disable=SC2046,SC2086
  "$cxx" -std=c++17 $extra "$here/app.cpp" -o "$scratch/app-pc" \
    $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags --libs twobody) $1
  # Only <prefix>/include goes on the path: the generic names inside twobody/ stay hidden.
  if PKG_CONFIG_PATH=$pcdir pkg-config --cflags twobody | grep -q 'include/twobody'; then
    echo "downstream: twobody.pc puts include/twobody on the include path" >&2
    exit 1
  fi
}

cmake_flags=(-DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$extra" -DCMAKE_EXE_LINKER_FLAGS="$extra"
             -DCMAKE_SHARED_LINKER_FLAGS="$extra")

case $mode in
install)
  cmake --install "$build" --prefix "$prefix" >/dev/null
  cmake -S "$here" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" "${cmake_flags[@]}" >/dev/null
  cmake --build "$scratch/cmake" >/dev/null
  expect "$scratch/cmake/app" "find_package"
  pkgconfig_app ""
  expect "$scratch/app-pc" "pkg-config"
  ;;
subdir)
  cmake -S "$here/subproject" -B "$scratch/cmake" -DTWOBODY_SOURCE_DIR="$src" "${cmake_flags[@]}" >/dev/null
  if grep -q '^CMAKE_BUILD_TYPE:STRING=.\+' "$scratch/cmake/CMakeCache.txt"; then
    echo "downstream: twobody set CMAKE_BUILD_TYPE in the parent's cache" >&2
    exit 1
  fi
  cmake --build "$scratch/cmake" -j 2 >/dev/null
  expect "$scratch/cmake/app" "add_subdirectory"
  ;;
shared)
  cmake -S "$src" -B "$scratch/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DTWOBODY_BUILD_TESTS=OFF "${cmake_flags[@]}" >/dev/null
  cmake --build "$scratch/build" -j 2 >/dev/null
  cmake --install "$scratch/build" --prefix "$prefix" >/dev/null
  env -u LD_LIBRARY_PATH "$prefix/bin/phaseshift" --help >/dev/null ||
    { echo "downstream: the installed shared phaseshift does not start" >&2; exit 1; }
  echo "downstream: installed shared phaseshift starts"
  # A pkg-config user of the shared library records its run path, as the README says.
  libdir=$(dirname "$(find "$prefix" -name twobody.pc -printf '%h\n' | head -n 1)")
  pkgconfig_app "-Wl,-rpath,$libdir"
  expect "$scratch/app-pc" "shared pkg-config"
  ;;
*)
  echo "usage: run.sh install|subdir|shared SOURCE_DIR BUILD_DIR SCRATCH_DIR CXX [EXTRA_FLAGS]" >&2
  exit 2
  ;;
esac
