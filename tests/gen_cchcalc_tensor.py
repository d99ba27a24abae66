#!/usr/bin/python3
"""Reference traceless Cartesian tensor components A_l(e) and monomials of a direction.

A_l(e) is the harmonic projection H(x^l) of tests/gen_cchcalc_overlap.py (exact rational
coefficients, with r^2 taken as 1, as the library defines it for any e), evaluated at the
given direction in 50-digit mpmath. Rows of kind 0 give the direction as three doubles
(the exact binary values are used); rows of kind 1 give polar angle theta and azimuth phi in
radians, and the reference is taken at the unit vector of the exact angles.
scale = max(|A|, sqrt(O(l;l) / 4 pi)), the RMS of A_l over the sphere.

usage: python3 tests/gen_cchcalc_tensor.py > tests/reference/cchcalc_tensor.tsv
"""
import math
import random

import mpmath

from gen_cchcalc_overlap import LMAX, harmonic, mp, overlap, triples

mpmath.mp.dps = 50


def evaluate(h, e):
    return mpmath.fsum(mp(c) * e[0] ** i * e[1] ** j * e[2] ** k for (i, j, k), c in h.items())


def fmt(x):
    return mpmath.nstr(x, 20, min_fixed=-1, max_fixed=1)


def main():
    rng = random.Random(20261208)
    print("# generator: tests/gen_cchcalc_tensor.py (exact harmonic projection evaluated in"
          " 50-digit mpmath)")
    print("# columns: kind(0: direction, 1: angles) lx ly lz ex|theta ey|phi ez|0 A(l;e)"
          " ex^lx*ey^ly*ez^lz scale")
    for L in range(0, LMAX + 2):
        ts = [t for t in triples(L) if max(t) <= LMAX]
        chosen = {t for t in ts if sorted(t)[1] == 0 or max(t) - min(t) <= 1}
        chosen |= set(rng.sample(ts, min(6, len(ts))))
        for l in sorted(chosen):
            h = harmonic(l)
            rms = mpmath.sqrt(mp(overlap(l, l)))
            dirs = []
            if sorted(l)[1] == 0:
                dirs.append((0, 1.0, 0.0, 0.0))
                dirs.append((0, 0.0, 0.0, 1.0))
            theta, phi = math.acos(rng.uniform(-1, 1)), rng.uniform(-math.pi, math.pi)
            s = math.sin(theta)
            dirs.append((0, math.cos(phi) * s, math.sin(phi) * s, math.cos(theta)))
            theta, phi = math.acos(rng.uniform(-1, 1)), rng.uniform(-math.pi, math.pi)
            dirs.append((1, theta, phi, 0.0))
            for kind, x, y, z in dirs:
                if kind == 0:
                    e = [mpmath.mpf(x), mpmath.mpf(y), mpmath.mpf(z)]
                else:
                    t, p = mpmath.mpf(x), mpmath.mpf(y)
                    e = [mpmath.cos(p) * mpmath.sin(t), mpmath.sin(p) * mpmath.sin(t),
                         mpmath.cos(t)]
                a = evaluate(h, e)
                m = e[0] ** l[0] * e[1] ** l[1] * e[2] ** l[2]
                print(kind, *l, repr(x), repr(y), repr(z), fmt(a), fmt(m),
                      fmt(max(abs(a), rms)), sep="\t")


if __name__ == "__main__":
    main()
