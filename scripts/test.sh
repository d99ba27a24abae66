#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake make g++ pkg-config libgsl-dev libgtest-dev
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTWOBODY_BUILD_TESTS=ON >/dev/null
cmake --build build/test -j "$(nproc)"
ctest --test-dir build/test --output-on-failure -j "$(nproc)"
