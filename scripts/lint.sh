#!/usr/bin/env bash
# Checks that every C++ source follows .clang-format and passes .clang-tidy.
# With --fix the formatting is applied instead of checked. Works in a git checkout (the
# tracked files) and in a plain copy of the tree (every source under lib/, tools/, tests/,
# bench/, examples/ and python/); never reads standard input.
set -euo pipefail
cd "$(dirname "$0")/.."
exec </dev/null

bash scripts/deps.sh git cmake make g++ pkg-config libgsl-dev libgtest-dev libboost-dev \
  clang-format clang-tidy

list() { # list PATTERN...: the C++ files matching, tracked or on disk
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files "$@"
  else
    local p args=()
    for p in "$@"; do args+=(-o -path "./$p"); done
    find . -type f \( -false "${args[@]}" \) -not -path './build/*' | sed 's|^\./||' | sort
  fi
}

mapfile -t sources < <(list '*.cpp' '*.h')
if [ ${#sources[@]} -eq 0 ]; then
  echo "lint: no C++ sources found" >&2
  exit 1
fi
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
clang-format --dry-run -Werror "${sources[@]}"
echo "lint: formatting clean (${#sources[@]} files)"

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWOBODY_BUILD_TESTS=ON >/dev/null
# The generated headers must exist before clang-tidy reads the sources.
cmake --build build/test -j "$(nproc)" --target twobody >/dev/null
mapfile -t units < <(list 'lib/*.cpp' 'tools/*.cpp')
printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build/test --quiet 2>/dev/null ||
  { echo "lint: clang-tidy found problems (run clang-tidy -p build/test FILE)" >&2; exit 1; }
echo "lint: clang-tidy clean (${#units[@]} files)"
