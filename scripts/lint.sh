#!/usr/bin/env bash
# Checks that every C++ source follows .clang-format and passes .clang-tidy.
# With --fix the formatting is applied instead of checked.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake make g++ libgsl-dev libboost-dev libgtest-dev clang-format clang-tidy
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
clang-format --dry-run -Werror "${sources[@]}"
echo "lint: formatting clean (${#sources[@]} files)"

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWOBODY_BUILD_TESTS=ON >/dev/null
mapfile -t units < <(git ls-files 'lib/*.cpp' 'tools/*.cpp')
printf '%s\n' "${units[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build/test --quiet 2>/dev/null ||
  { echo "lint: clang-tidy found problems (run clang-tidy -p build/test FILE)" >&2; exit 1; }
echo "lint: clang-tidy clean (${#units[@]} files)"
