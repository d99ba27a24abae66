#!/usr/bin/python3
"""Exact Clebsch-Gordan coefficients for tests/reference/clebsch_gordan.tsv.

Each value comes from the symmetric (van der Waerden) form of the 3-j symbol,
    <j1 m1; j2 m2 | J M> = (-1)^(j1 - j2 + M) sqrt(2J + 1) (j1 j2 J; m1 m2 -M),
    (j1 j2 j3; m1 m2 m3) = (-1)^(j1 - j2 - m3) sqrt(T prod_i (ji + mi)! (ji - mi)!)
        sum_k (-1)^k / [k! (j3 - j2 + k + m1)! (j3 - j1 + k - m2)! (j1 + j2 - j3 - k)!
                        (j1 - k - m1)! (j2 - k + m2)!],
    T = (j1 + j2 - j3)! (j1 - j2 + j3)! (-j1 + j2 + j3)! / (j1 + j2 + j3 + 1)!
(Edmonds, Angular Momentum in Quantum Mechanics, eq. 3.7.3), a different sum from the
library's, in exact rationals; the square root is taken in integers to 30 digits and
truncated, so the double a reader parses is the correctly rounded coefficient.

Rows: every coefficient with j1, j2 <= 2; random samples with j up to 10, 40 and 200,
integer and half-integer; large-j cases that cancel hard; zeros the sum reaches only by
cancelling; three tiny stretched coefficients (j = 500 to 600) at the end of the doubles;
two at j = 1000 and 1334, where the terms leave the double range. Deterministic (fixed seed); standard library only. Run from anywhere:
    /usr/bin/python3 tests/gen_clebsch_gordan.py
"""
import math
import os
import random
from fractions import Fraction

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference",
                   "clebsch_gordan.tsv")
DIGITS = 30


def cg_squared(a, ma, b, mb, c, mc):
    """Sign and square of <a/2 ma/2; b/2 mb/2 | c/2 mc/2> (doubled arguments)."""
    if (ma + mb != mc or abs(ma) > a or abs(mb) > b or abs(mc) > c or c > a + b
            or c < abs(a - b) or (a + b + c) % 2 or (a - ma) % 2 or (b - mb) % 2):
        return 0, Fraction(0)
    f = math.factorial
    j1, j2, j3 = Fraction(a, 2), Fraction(b, 2), Fraction(c, 2)
    m1, m2, m3 = Fraction(ma, 2), Fraction(mb, 2), Fraction(-mc, 2)

    def i(x):
        assert x.denominator == 1
        return int(x)

    t = Fraction(f(i(j1 + j2 - j3)) * f(i(j1 - j2 + j3)) * f(i(-j1 + j2 + j3)),
                 f(i(j1 + j2 + j3 + 1)))
    for j, m in ((j1, m1), (j2, m2), (j3, m3)):
        t *= f(i(j + m)) * f(i(j - m))
    s = Fraction(0)
    for k in range(0, i(j1 + j2 - j3) + 1):
        args = [j3 - j2 + k + m1, j3 - j1 + k - m2, j1 + j2 - j3 - k, j1 - k - m1, j2 - k + m2]
        if min(args) < 0:
            continue
        d = f(k)
        for x in args:
            d *= f(i(x))
        s += Fraction((-1) ** k, d)
    if s == 0:
        return 0, Fraction(0)
    sign = (-1) ** i(j1 - j2 - m3) * (-1) ** i(j1 - j2 + Fraction(mc, 2))
    return sign * (1 if s > 0 else -1), (c + 1) * t * s * s


def decimal(sign, sq):
    """sign sqrt(sq) truncated to DIGITS significant digits, in exponent form."""
    if sign == 0:
        return "0"
    # scale 10^(2e) so that the integer root carries DIGITS digits
    e = DIGITS - 1 - (len(str(sq.numerator)) - len(str(sq.denominator))) // 2
    while True:
        n = math.isqrt(sq.numerator * 10 ** (2 * e) // sq.denominator) if e >= 0 else \
            math.isqrt(sq.numerator // (sq.denominator * 10 ** (-2 * e)))
        if len(str(n)) == DIGITS:
            break
        e += DIGITS - len(str(n))
    s = str(n)
    return "%s%s.%se%d" % ("-" if sign < 0 else "", s[0], s[1:], DIGITS - 1 - e)


def random_case(rng, two_jmax):
    while True:
        a = rng.randint(0, two_jmax)
        b = rng.randint(0, two_jmax)
        c = rng.randrange(abs(a - b), a + b + 1, 2)
        if c > two_jmax:
            continue
        ma = rng.randrange(-a, a + 1, 2)
        mb = rng.randrange(-b, b + 1, 2)
        if abs(ma + mb) <= c:
            return a, ma, b, mb, c, ma + mb


def cases():
    rng = random.Random(21)
    out = set()
    for a in range(0, 5):  # every coefficient with j1, j2 <= 2
        for b in range(0, 5):
            for c in range(abs(a - b), a + b + 1, 2):
                for ma in range(-a, a + 1, 2):
                    for mb in range(-b, b + 1, 2):
                        if abs(ma + mb) <= c:
                            out.add((a, ma, b, mb, c, ma + mb))
    for two_jmax, n in ((20, 600), (80, 1200), (400, 1300)):
        goal = len(out) + n
        while len(out) < goal:
            out.add(random_case(rng, two_jmax))
    # hard cancellations and the ends of the range
    for j in (40, 100, 150, 200):
        out.add((2 * j, 0, 2 * j, 0, 2 * j, 0))
    out.update([
        (64, -42, 79, 9, 43, -33),         # <32 -21; 39.5 4.5 | 21.5 -16.5>
        (400, 0, 400, 0, 0, 0),            # J = 0
        (400, 400, 400, -400, 0, 0),
        (400, 400, 400, 400, 800, 800),    # stretched
        (400, -2, 399, 1, 799, -1),
        (399, 399, 400, -400, 1, -1),
        (399, 1, 399, -1, 400, 0),
        (380, 120, 397, -7, 395, 113),
        (400, 0, 400, 0, 2, 0),
        (400, 0, 400, 0, 798, 0),
        (400, 2, 400, 2, 202, 4),          # j1 + j2 - J odd, m1 = m2: zero by symmetry
        (200, 0, 300, 0, 302, 0),          # all m = 0, j1 + j2 + J odd: zero
        (2000, 0, 2000, 0, 2000, 0),       # terms up to 10^525 times the first
        (2666, 0, 2666, 0, 2668, 0),       # j1 + j2 + J = 4000
        (1000, 1000, 1000, -1000, 2000, 0),  # 1/sqrt(C(2J, J)): 7.0e-301,
        (1030, 1030, 1030, -1030, 2060, 0),  # subnormal (6.6e-310),
        (1200, 1200, 1200, -1200, 2400, 0),  # below the doubles: 0
        (4, -2, 3, 1, 3, -1),              # zeros of the sum itself, no symmetry behind them
        (6, -4, 4, 0, 6, -4),
        (24, 8, 24, 18, 42, 26),
    ])
    return sorted(out)


def main():
    rows = []
    for t in cases():
        sign, sq = cg_squared(*t)
        rows.append(" ".join([repr(x / 2) for x in t] + [decimal(sign, sq)]))
    # a projection beyond its j: no coefficient, 0
    for t in ((1, 1, 1, 3, 2, 4), (2, 0, 1, -3, 1, -3), (1, 3, 1, 1, 4, 4)):
        rows.append(" ".join([repr(x / 2) for x in t] + ["0"]))
    with open(OUT, "w") as f:
        f.write("# generated by tests/gen_clebsch_gordan.py: exact rationals (symmetric 3-j sum), "
                "square root truncated to %d digits\n" % DIGITS)
        f.write("# columns: j1 m1 j2 m2 J M value\n")
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
