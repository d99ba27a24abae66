#!/usr/bin/env bash
# Fuzzes phaseshift's whole road (the bytes of its three input files to the text of its two
# outputs) with libFuzzer for SECONDS (default 60), starting from the committed seed corpus,
# then reports the source coverage that the corpus reaches in the builder and in the library
# code it calls. Needs clang; skipped with a message without it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
# libFuzzer reads a time of 0 as "no limit".
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]   (a positive whole number of seconds, default 60)" >&2
  exit 2
fi

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipping the fuzz run (install clang to enable it)"
  exit 0
fi
bash scripts/deps.sh cmake make libgsl-dev libboost-dev llvm
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTWOBODY_BUILD_TESTS=OFF -DTWOBODY_BUILD_FUZZERS=ON >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target fuzz_phaseshift >/dev/null

# New inputs go to a scratch corpus; the committed seeds stay as they are.
seeds=tools/phaseshift/fuzz/corpus
work=build/fuzz/corpus
mkdir -p "$work"
build/fuzz/tools/phaseshift/fuzz_phaseshift -max_total_time="$seconds" -timeout=10 \
  -max_len=16384 -dict=tools/phaseshift/fuzz/phaseshift.dict -print_final_stats=1 \
  "$work" "$seeds" 2>build/fuzz/fuzz.log ||
  { tail -n 40 build/fuzz/fuzz.log; exit 1; }
grep -E 'stat::number_of_executed_units|stat::new_units_added|Done' build/fuzz/fuzz.log |
  sed 's/^/fuzz: /'

# Coverage: the same target built with source-based coverage replays the corpus once.
cmake -S . -B build/fuzz-cov -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTWOBODY_BUILD_TESTS=OFF -DTWOBODY_BUILD_FUZZERS=ON \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build build/fuzz-cov -j "$(nproc)" --target fuzz_phaseshift >/dev/null
target=build/fuzz-cov/tools/phaseshift/fuzz_phaseshift
rm -f build/fuzz-cov/*.profraw
LLVM_PROFILE_FILE=build/fuzz-cov/replay.profraw "$target" -runs=0 "$work" "$seeds" \
  >/dev/null 2>&1
llvm-profdata merge -o build/fuzz-cov/replay.profdata build/fuzz-cov/replay.profraw
report() { llvm-cov report "$target" -instr-profile=build/fuzz-cov/replay.profdata "$@"; }
echo "fuzz: coverage of the builder and of the Coulomb correction after $seconds s:"
report tools/phaseshift/{partial_wave,resample,coulomb_pass,emitters,build}.cpp \
  lib/coulwave/coulomb_correction.cpp | sed 's/^/fuzz:   /'
echo "fuzz: coverage of Misc::triangle, the one other library function on the road:"
report -show-functions lib/misc/kinematics.cpp | grep -E '^Name|triangle' | sed 's/^/fuzz:   /'
