#!/usr/bin/python3
"""Reference overlaps O(a; b) of traceless Cartesian tensor components, exactly.

Second method, independent of the library's triple sum: the traceless (harmonic) part of
the monomial x^a of degree L is the harmonic projection
    H(x^a) = sum_k (-1)^k (2L-2k-1)!! / (2^k k! (2L-1)!!) r^(2k) Laplacian^k x^a
(Axler, Bourdon and Ramey, Harmonic Function Theory, ch. 5; Hobson, The Theory of Spherical
and Ellipsoidal Harmonics, ch. 3), formed here by differentiating polynomials with exact
rationals. O(a; b) is the sphere integral of H(x^a) x^b, with
    integral of x^c over the unit sphere = 4 pi prod_m (c_m-1)!! / (|c|+1)!!  (all c_m even).
The rational O/(4 pi) is exact; the table gives O and the scale sqrt(O(a;a) O(b;b)) rounded
from 40-digit mpmath.

usage: python3 tests/gen_cchcalc_overlap.py > tests/reference/cchcalc_overlap.tsv
"""
import random
from fractions import Fraction
from functools import lru_cache

import mpmath

LMAX = 56  # largest degree held by the library's cache; 57 is evaluated directly
mpmath.mp.dps = 40


def dfact(n):
    r = 1
    while n > 1:
        r *= n
        n -= 2
    return r


def laplacian(p):
    out = {}
    for (i, j, k), c in p.items():
        for e, m in (((i - 2, j, k), i * (i - 1)), ((i, j - 2, k), j * (j - 1)),
                     ((i, j, k - 2), k * (k - 1))):
            if m:
                out[e] = out.get(e, 0) + c * m
    return {e: c for e, c in out.items() if c}


@lru_cache(maxsize=None)
def harmonic(a):
    """H(x^a) on the unit sphere (r = 1) as {exponents: Fraction}."""
    L = sum(a)
    p = {tuple(a): Fraction(1)}
    h = {}
    k = 0
    while p:
        coef = Fraction((-1) ** k * dfact(2 * L - 2 * k - 1), dfact(2 * k) * dfact(2 * L - 1))
        # 2^k k! = (2k)!!
        for e, c in p.items():
            h[e] = h.get(e, 0) + coef * c
        p = laplacian(p)
        k += 1
    return h


def sphere(c):
    """Integral of x^c over the unit sphere divided by 4 pi."""
    if any(x % 2 for x in c):
        return Fraction(0)
    return Fraction(dfact(c[0] - 1) * dfact(c[1] - 1) * dfact(c[2] - 1), dfact(sum(c) + 1))


def overlap(a, b):
    """O(a; b) / (4 pi), exactly."""
    return sum((c * sphere((e[0] + b[0], e[1] + b[1], e[2] + b[2]))
                for e, c in harmonic(a).items()), Fraction(0))


def mp(q):
    return mpmath.mpf(q.numerator) / q.denominator


def triples(L):
    return [(x, y, L - x - y) for x in range(L, -1, -1) for y in range(L - x, -1, -1)]


def main():
    rng = random.Random(20261207)
    rows = []
    for L in range(0, LMAX + 2):
        ts = [t for t in triples(L) if max(t) <= LMAX]
        pairs = set()
        # Axis and balanced triples, where the cancellation is worst, then random pairs.
        for a in ts:
            if sorted(a)[1] == 0 or max(a) - min(a) <= 1:
                pairs.add((a, a))
        admissible = [(a, b) for a in ts for b in ts
                      if all((x - y) % 2 == 0 for x, y in zip(a, b))]
        while len(pairs) < min(30, len(admissible)):
            pairs.add(rng.choice(admissible))
        rows += sorted(pairs)
    print("# generator: tests/gen_cchcalc_overlap.py (exact rationals by harmonic projection,"
          " rounded from 40-digit mpmath)")
    print("# columns: a1 a2 a3 b1 b2 b3 O(a;b) scale=sqrt(O(a;a)*O(b;b))")
    four_pi = 4 * mpmath.pi
    for a, b in rows:
        o = four_pi * mp(overlap(a, b))
        scale = four_pi * mpmath.sqrt(mp(overlap(a, a)) * mp(overlap(b, b)))
        print(*a, *b, mpmath.nstr(o, 20, min_fixed=-1, max_fixed=1),
              mpmath.nstr(scale, 20, min_fixed=-1, max_fixed=1), sep="\t")


if __name__ == "__main__":
    main()
