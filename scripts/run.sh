#!/usr/bin/env bash
# Installs what is missing, builds phaseshift and runs it on the sample data in data/ in a
# scratch directory, then plots the phase shifts there when gnuplot is installed.
# usage: scripts/run.sh [DIR]   (DIR defaults to out/ in the repository; a relative DIR is
# taken from the directory the command is run in). DIR must be new, or hold no s11.dat,
# p11.dat or p13.dat: the script never overwrites a file of yours.
set -euo pipefail
exec </dev/null
repo=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 1 ]; then
  echo "usage: scripts/run.sh [DIR]" >&2
  exit 2
fi
out=$(realpath -m -- "${1:-$repo/out}")

for f in s11.dat p11.dat p13.dat; do
  if [ -e "$out/$f" ] && ! cmp -s "$repo/data/$f" "$out/$f"; then
    echo "run: $out/$f exists and is not the sample file; refusing to overwrite it" \
         "(choose a new directory, or run phaseshift there yourself)" >&2
    exit 1
  fi
done

cd "$repo"
bash scripts/deps.sh cmake make g++ libgsl-dev libboost-dev gnuplot-nox
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTWOBODY_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target phaseshift >/dev/null

mkdir -p "$out"
cp data/s11.dat data/p11.dat data/p13.dat "$out"/
bin=$repo/build/release/tools/phaseshift/phaseshift
(cd "$out" && "$bin")
echo "tables written: $out/pk_phaseshiftdat.cc and $out/pk_phaseshifts.dat"
if command -v gnuplot >/dev/null; then
  gnuplot -c scripts/plot.gp "$out"
  echo "plot written: $out/phaseshifts.png"
fi
