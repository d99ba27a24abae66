#!/usr/bin/env bash
# Installs what is missing, builds phaseshift and runs it on the sample data in data/,
# in a scratch directory (out/ by default, or the directory given as the first argument),
# then plots the phase shifts there when gnuplot is installed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh cmake make g++ libgsl-dev libboost-dev gnuplot-nox
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTWOBODY_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target phaseshift >/dev/null

out=$(realpath -m "${1:-out}")
mkdir -p "$out"
cp data/s11.dat data/p11.dat data/p13.dat "$out"/
bin=$(pwd)/build/release/tools/phaseshift/phaseshift
(cd "$out" && "$bin")
echo "tables written: $out/pk_phaseshiftdat.cc and $out/pk_phaseshifts.dat"
if command -v gnuplot >/dev/null; then
  gnuplot -c scripts/plot.gp "$out"
  echo "plot written: $out/phaseshifts.png"
fi
