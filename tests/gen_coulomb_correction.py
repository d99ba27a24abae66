#!/usr/bin/python3
"""Reference values of the Coulomb correction of a phase shift and its q-derivative.

Writes tests/reference/coulomb_correction.tsv: columns
    l  q  eta  delta  ddeltadq  C  delta_new  ddeltadq_new
with C = C_l(eta) = 2 pi eta / (exp(2 pi eta) - 1) * prod_{k=1..l} (k^2 + eta^2)
           = exp(-pi eta) |Gamma(l + 1 + i eta)|^2,
tan(delta_new) = C tan(delta) in the quadrant of delta (result in (-pi, pi]), and
ddeltadq_new the exact q-derivative with d eta/dq = -eta/q. The inputs are taken as the
exact doubles written; everything else is computed with mpmath at 40 significant digits and
rounded once. Deterministic (fixed-seed generator).

    /usr/bin/python3 tests/gen_coulomb_correction.py > tests/reference/coulomb_correction.tsv
"""
import random
import sys

import mpmath as mp

mp.mp.dps = 40


def reference(l, q, eta, delta, dd):
    q, eta, delta, dd = mp.mpf(q), mp.mpf(eta), mp.mpf(delta), mp.mpf(dd)
    x = 2 * mp.pi * eta
    C = x / mp.expm1(x)
    dlogC = 1 / eta - 2 * mp.pi * mp.exp(x) / mp.expm1(x)
    for k in range(1, l + 1):
        C *= k * k + eta * eta
        dlogC += 2 * eta / (k * k + eta * eta)
    Cp = C * dlogC * (-eta / q)
    t = mp.tan(delta)
    new = mp.atan(C * t) + (0 if mp.cos(delta) > 0 else mp.pi)
    if new > mp.pi:
        new -= 2 * mp.pi
    dnew = (C * dd * (1 + t * t) + Cp * t) / (1 + (C * t) ** 2)
    return C, new, dnew


def points():
    rng = random.Random(2026)
    pts = []
    etas = [1e-9, -1e-9, 3e-8, 1e-7, 1e-6, -1e-6, 1e-5, 1e-4, -1e-4]
    etas += [1e-3, -1e-3, 0.0078647, 0.023964, 0.1, -0.1, 0.5, 1.0, -1.0, 4.7211, 10.0, -5.0,
             30.0, 60.0]
    for eta in etas:
        for l in (0, 1, 2, 5):
            for delta in (0.5, 2.5, -2.5, -0.3, 1.2):
                pts.append((l, 100.0, eta, delta, 0.01))
    while len(pts) < 500:
        l = rng.choice([0, 0, 1, 1, 2, 3, 8])
        q = rng.uniform(0.5, 350.0)
        eta = rng.choice([rng.uniform(-5, 5), 10 ** rng.uniform(-3, 1.7), -(10 ** rng.uniform(-3, 0.7))])
        delta = rng.uniform(-3.1, 3.1)
        if abs(abs(delta) - 1.5707963) < 0.05:
            continue
        pts.append((l, round(q, 6), round(eta, 9), round(delta, 6), round(rng.uniform(-0.05, 0.05), 6)))
    return pts


def main():
    out = sys.stdout
    out.write("# Coulomb correction of a phase shift: C_l(eta), corrected delta and d delta/dq.\n")
    out.write("# Generator: tests/gen_coulomb_correction.py (mpmath %s, %d digits).\n"
              % (mp.__version__, mp.mp.dps))
    out.write("# Columns: l q eta delta ddeltadq C delta_new ddeltadq_new\n")
    for l, q, eta, delta, dd in points():
        C, new, dnew = reference(l, q, eta, delta, dd)
        out.write("%d %r %r %r %r %r %r %r\n"
                  % (l, q, eta, delta, dd, float(C), float(new), float(dnew)))


if __name__ == "__main__":
    main()
