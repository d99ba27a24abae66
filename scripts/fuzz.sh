#!/usr/bin/env bash
# Fuzzes the input-file reader of phaseshift with libFuzzer for SECONDS (default 60),
# starting from the committed seed corpus. Needs clang; skipped with a message without it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipping the fuzz run (install clang to enable it)"
  exit 0
fi
bash scripts/deps.sh cmake make libgsl-dev libboost-dev
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTWOBODY_BUILD_TESTS=OFF -DTWOBODY_BUILD_FUZZERS=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target fuzz_reader >/dev/null

# New inputs go to a scratch corpus; the committed seeds stay as they are.
work=build/fuzz/corpus
mkdir -p "$work"
build/fuzz/tools/phaseshift/fuzz_reader -max_total_time="$seconds" -timeout=10 \
  -max_len=16384 -print_final_stats=1 "$work" tools/phaseshift/fuzz/corpus 2>build/fuzz/fuzz.log ||
  { tail -n 40 build/fuzz/fuzz.log; exit 1; }
grep -E 'stat::number_of_executed_units|Done' build/fuzz/fuzz.log | sed 's/^/fuzz: /'
