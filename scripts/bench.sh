#!/usr/bin/env bash
# Installs what is missing, builds every benchmark in Release mode and runs them all:
# Google Benchmark's table, then the builder's end-to-end cost over the process-start floor.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=Overlap).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake make g++ libgsl-dev libboost-dev libbenchmark-dev
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTWOBODY_BUILD_TESTS=OFF \
  -DTWOBODY_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/bench -j "$(nproc)" >/dev/null

csv=build/bench/results.csv
build/bench/bench/twobody_bench --benchmark_out="$csv" --benchmark_out_format=csv "$@" |
  grep -v -e '^Clearing static data' -e "^Don't do this" -e '^CCHCalc static data cleared'
# The CSV's time columns share one unit per row; both process rows are in microseconds.
awk -F, '/^"BM_ProcessFloor/ { floor = $3 } /^"BM_PhaseshiftProcess/ { run = $3 }
  END { if (floor > 0 && run > 0)
          printf "phaseshift on the sample data: %.0f us, process floor %.0f us, ratio %.1f\n",
                 run, floor, run / floor }' "$csv"
