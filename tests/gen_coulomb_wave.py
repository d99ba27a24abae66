#!/usr/bin/python3
"""Reference values of the Coulomb wave functions F_l, G_l and their x-derivatives.

Writes tests/reference/coulomb_wave.tsv: one case per line, columns
    l  x  eta  F  G  Fp  Gp
computed with mpmath at 40 significant digits and rounded once to double. The derivatives
come from the recurrences in l (DLMF 33.4.3): u'_l = S_{l+1} u_l - R_{l+1} u_{l+1}, with
S_k = k/x + eta/k and R_k = sqrt(1 + eta^2/k^2). Each row is checked against the Wronskian
F'G - FG' = 1 at the working precision. Rows whose values leave the normal double range are
left out. Deterministic: the sample points come from a fixed-seed generator.

    /usr/bin/python3 tests/gen_coulomb_wave.py > tests/reference/coulomb_wave.tsv
"""
import math
import random
import sys

import mpmath as mp

mp.mp.dps = 40


def turning_point(l, eta):
    return eta + math.sqrt(eta * eta + l * (l + 1))


def in_jwkb(x, eta):
    series = x < 1.2 and 2 * math.pi * eta < 0.9 * 708.39641853226408 and abs(eta * x) < 10
    return (not series) and x < 2 * eta


def points():
    rng = random.Random(20261207)
    pts = []
    # Worked examples of the fault: repulsive pair below x = 2 eta.
    pts += [(15, 1.2205, 0.6115), (1, 1.979, 1.0665), (20, 4.33, -13.4)]
    pts += [(0, x, 5.0) for x in (1.4, 2.0, 3.0, 5.0, 7.0, 9.0)]
    # The mended region: l, eta and x drawn over the band, x below 2 eta.
    n = 0
    while n < 260:
        l = rng.choice([0, 0, 1, 1, 2, 3, 5, 8, 10, 15, 20, 30, 40, 50])
        eta = math.exp(rng.uniform(math.log(0.6), math.log(100.0)))
        x = math.exp(rng.uniform(math.log(1e-3), math.log(2 * eta)))
        if not in_jwkb(x, eta):
            continue
        pts.append((l, round(x, 6), round(eta, 6)))
        n += 1
    # Edges of that region: just inside and outside x = 2 eta, the series box x = 1.2 and
    # |eta x| = 10.
    for l in (0, 3, 12, 50):
        for eta in (0.7, 4.0, 30.0, 95.0):
            for f in (1 - 1e-6, 1 + 1e-6, 0.999, 1.001):
                pts.append((l, 2 * eta * f, eta))
        for eta in (1.0, 5.0, 8.0):
            pts += [(l, 1.2 * (1 - 1e-9), eta), (l, 1.2 * (1 + 1e-9), eta)]
        for eta in (9.0, 20.0, 60.0):
            pts += [(l, 10 / eta * (1 - 1e-9), eta), (l, 10 / eta * (1 + 1e-9), eta)]
    # The turning point and around it, both signs of eta.
    for l in (0, 1, 4, 10, 25, 50):
        for eta in (-50.0, -5.0, -0.5, 0.0, 0.5, 5.0, 50.0, 100.0):
            xt = turning_point(l, eta)
            if xt <= 1e-3 or xt > 1e3:
                continue
            for f in (0.9, 1.0, 1.1):
                pts.append((l, xt * f, eta))
    # Small x, attractive and neutral pairs, large x: random over the whole band.
    n = 0
    while n < 300:
        l = rng.choice([0, 1, 2, 5, 10, 20, 35, 50])
        eta = rng.choice([0.0, -rng.uniform(0, 50), -math.exp(rng.uniform(-5, math.log(50))),
                          rng.uniform(0, 100), math.exp(rng.uniform(-5, math.log(100)))])
        x = math.exp(rng.uniform(math.log(1e-3), math.log(1e3)))
        pts.append((l, round(x, 6), round(eta, 6)))
        n += 1
    for l in (0, 1, 2, 10, 50):
        for x in (1e-3, 1e-2, 0.1):
            for eta in (-50.0, -1.0, 0.0, 1.0, 10.0):
                pts.append((l, x, eta))
    # The forbidden region of an attractive pair at larger l.
    for l in (10, 15, 20, 30, 50):
        for eta in (-3.0, -13.4, -40.0):
            xt = turning_point(l, eta)
            for f in (0.2, 0.5, 0.8):
                pts.append((l, xt * f, eta))
    return pts


def main():
    out = sys.stdout
    out.write("# Coulomb wave functions F_l(eta, x), G_l(eta, x) and dF/dx, dG/dx.\n")
    out.write("# Generator: tests/gen_coulomb_wave.py (mpmath %s, %d digits).\n"
              % (mp.__version__, mp.mp.dps))
    out.write("# Columns: l x eta F G Fp Gp\n")
    lo, hi = mp.mpf("1e-300"), mp.mpf("1e300")
    for l, x, eta in points():
        X, E = mp.mpf(x), mp.mpf(eta)
        F = mp.coulombf(l, E, X)
        G = mp.coulombg(l, E, X)
        F1 = mp.coulombf(l + 1, E, X)
        G1 = mp.coulombg(l + 1, E, X)
        k = l + 1
        S = k / X + E / k
        R = mp.sqrt(1 + E * E / (k * k))
        Fp = S * F - R * F1
        Gp = S * G - R * G1
        w = Fp * G - F * Gp
        if abs(w - 1) > mp.mpf("1e-30"):
            raise SystemExit("Wronskian check failed at l=%d x=%r eta=%r: %s" % (l, x, eta, w))
        vals = [F, G, Fp, Gp]
        if any(not (lo < abs(v) < hi) for v in vals if v != 0):
            continue
        out.write("%d %r %r %s\n" % (l, x, eta, " ".join(repr(float(v)) for v in vals)))
        out.flush()


if __name__ == "__main__":
    main()
