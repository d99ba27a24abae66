#!/usr/bin/env bash
# Runs an example and compares the number on each named line with a value known
# independently, within a relative tolerance.
# usage: check.sh PROGRAM TOLERANCE LABEL=VALUE...
set -euo pipefail
prog=$1 tol=$2
shift 2
out=$("$prog" </dev/null)
status=0
for pair in "$@"; do
  label=${pair%%=*} want=${pair#*=}
  got=$(awk -v l="$label" '$1 == l { print $2; exit }' <<<"$out")
  if [ -z "$got" ]; then
    echo "check: $prog printed no line '$label'" >&2
    status=1
    continue
  fi
  awk -v g="$got" -v w="$want" -v t="$tol" -v l="$label" 'BEGIN {
    d = g - w; if (d < 0) d = -d; s = w < 0 ? -w : w; if (s < 1) s = 1
    if (d > t * s) { printf "check: %s = %s, expected %s\n", l, g, w > "/dev/stderr"; exit 1 }
    printf "check: %s = %s (expected %s)\n", l, g, w }' || status=1
done
exit $status
