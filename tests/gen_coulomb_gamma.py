#!/usr/bin/python3
"""Reference values of the complex gamma function Gamma(z).

Writes tests/reference/coulomb_gamma.tsv: columns  re(z) im(z) re(Gamma) im(Gamma),
computed with mpmath at 40 significant digits and rounded once to double. The points cover
the right half-plane, the strip near the real axis and the left half-plane away from the
poles, with |Gamma(z)| inside the double range. Deterministic (fixed-seed generator).

    /usr/bin/python3 tests/gen_coulomb_gamma.py > tests/reference/coulomb_gamma.tsv
"""
import random
import sys

import mpmath as mp

mp.mp.dps = 40


def points():
    rng = random.Random(33)
    pts = [(1.0, 0.0), (0.5, 0.0), (0.0, 1.0), (2.0, 0.0), (1.0, 1.0), (0.25, -3.0)]
    # The arguments l + 1 + i eta of the Coulomb normalisation.
    for l in range(0, 21, 4):
        for eta in (-50.0, -5.0, -0.3, 0.01, 0.7, 3.0, 20.0, 100.0):
            pts.append((l + 1.0, eta))
    while len(pts) < 400:
        re = rng.uniform(-10.5, 40.0)
        im = rng.choice([rng.uniform(-1, 1), rng.uniform(-40, 40)])
        if abs(im) < 0.05 and re < 0.5 and abs(re - round(re)) < 0.05:
            continue  # too close to a pole
        pts.append((round(re, 6), round(im, 6)))
    return pts


def main():
    out = sys.stdout
    out.write("# Complex gamma function.\n")
    out.write("# Generator: tests/gen_coulomb_gamma.py (mpmath %s, %d digits).\n"
              % (mp.__version__, mp.mp.dps))
    out.write("# Columns: re(z) im(z) re(Gamma(z)) im(Gamma(z))\n")
    for re, im in points():
        g = mp.gamma(mp.mpc(re, im))
        if not (mp.mpf("1e-300") < abs(g) < mp.mpf("1e300")):
            continue
        out.write("%r %r %r %r\n" % (re, im, float(g.real), float(g.imag)))


if __name__ == "__main__":
    main()
