#!/usr/bin/python3
"""Benchmark of the Python package twobody.

1. Per element, a broadcast call from Python against the same C++ function in a plain C++
   loop over the same points (the program twobody_python_loops, built with the benchmarks).
2. The Coulomb functions against mpmath.coulombf and mpmath.coulombg: time per point and
   the largest difference, relative to sqrt(F^2 + G^2).
3. bessel.jn against scipy.special.spherical_jn on 10^6 points.
4. Ctrl-C: the delay from SIGINT to KeyboardInterrupt in a 10^8-point call, with and without
   the GIL held by the loop.

Run with the package importable, from a build with the benchmarks (TWOBODY_BUILD_BENCHMARKS),
e.g. PYTHONPATH=build/python /usr/bin/python3 bench/bench_python.py --loops \
         build/bench/twobody_python_loops
"""

import argparse
import os
import subprocess
import sys
import time

import numpy as np

import twobody
from twobody import bessel, coulwave, misc, spherharmonics


def best(f, repeat):
    t = float("inf")
    for _ in range(repeat):
        t0 = time.perf_counter()
        f()
        t = min(t, time.perf_counter() - t0)
    return t


def cxx_loop_seconds(program, name, arrays):
    """Seconds of one plain C++ loop of `name` over the arrays (all of one length n)."""
    data = b"".join(np.ascontiguousarray(a).tobytes() for a in arrays)
    out = subprocess.run([program, name, str(len(arrays[0]))], input=data, check=True,
                         capture_output=True).stdout
    return float(out)


def native(a, n):
    """a broadcast to n items, as the loop program reads it: int64, float64 or complex128."""
    a = np.asarray(a)
    dtype = {"b": np.int64, "i": np.int64, "u": np.int64, "f": np.float64}.get(a.dtype.kind,
                                                                             np.complex128)
    shape = (n,) + a.shape[1:] if a.ndim else (n,)
    return np.broadcast_to(a, shape).astype(dtype)


def four_vectors(rng, n, mass):
    p = rng.normal(0, 300, (n, 3))
    return np.column_stack([np.sqrt(mass**2 + (p**2).sum(1)), p])


def per_element(n, repeat, program):
    rng = np.random.default_rng(7)
    x = rng.uniform(0.5, 30, n)
    eta = rng.uniform(-2, 5, n)
    l = rng.integers(0, 6, n)
    lj = rng.integers(0, 20, n)
    xj = rng.uniform(0.1, 100, n)
    theta = rng.uniform(0, np.pi, n)
    phi = rng.uniform(-np.pi, np.pi, n)
    lm = rng.integers(0, 10, n)
    m = rng.integers(-9, 10, n) % (lm + 1)
    j1 = rng.integers(0, 8, n) / 2
    j2 = rng.integers(0, 8, n) / 2
    m1 = np.minimum(j1, rng.integers(0, 8, n) / 2) * rng.choice([-1, 1], n)
    m1 = j1 - np.round(j1 - m1)  # same parity as j1
    m2 = j2 - np.round(j2 - np.clip(-m1, -j2, j2))
    J = np.abs(j1 - j2) + rng.integers(0, 3, n)
    m0 = rng.uniform(1500, 3000, n)
    p1 = four_vectors(rng, n, 139.57)
    p2 = four_vectors(rng, n, 139.57)
    u = p1 / 139.57
    z = x + 1j * eta
    cases = [
        ("coulwave.GetFG", coulwave.GetFG, (l, x, eta)),
        ("coulwave.GetFGprime", coulwave.GetFGprime, (l, x, eta)),
        ("coulwave.CWoutgoing", coulwave.CWoutgoing, (l, x, eta)),
        ("coulwave.cgamma", coulwave.cgamma, (z,)),
        ("bessel.J0", bessel.J0, (xj,)),
        ("bessel.Jn", bessel.Jn, (lj, xj)),
        ("bessel.jn", bessel.jn, (lj, xj)),
        ("bessel.hn", bessel.hn, (lj, xj)),
        ("spherharmonics.legendre", spherharmonics.legendre, (lm, np.cos(theta))),
        ("spherharmonics.Ylm", spherharmonics.Ylm, (lm, m, theta, phi)),
        ("misc.cgc", misc.cgc, (j1, m1, j2, m2, J, m1 + m2)),
        ("misc.oldcgc", misc.oldcgc, (j1, m1, j2, m2, J, m1 + m2)),
        ("misc.triangle", misc.triangle, (m0, 938.28, 493.677)),
        ("misc.GetQinv", misc.GetQinv, (p1, p2)),
        ("misc.lorentz", misc.lorentz, (u, p2)),
        ("misc.ceiphi", misc.ceiphi, (phi,)),
        ("misc.cpow", misc.cpow, (z, 0.5 + 0.25j)),
    ]
    print(f"Per element, {n} points, best of {repeat} (ns per point)")
    print(f"| {'function':<26} | {'Python':>9} | {'C++ loop':>9} | {'ratio':>6} |")
    print(f"|{'-' * 28}|{'-' * 11}|{'-' * 11}|{'-' * 8}|")
    worst = 0.0
    for name, f, args in cases:
        # The C++ loop wants every argument as a full contiguous array of its own dtype.
        full = [native(a, n) for a in args]
        # Alternate the two, so that a change of load on the machine hits both alike.
        py = cxx = float("inf")
        for _ in range(repeat):
            py = min(py, best(lambda: f(*args), 1))
            cxx = min(cxx, cxx_loop_seconds(program, name, full))
        py, cxx = py / n * 1e9, cxx / n * 1e9
        worst = max(worst, py / cxx)
        print(f"| {name:<26} | {py:9.1f} | {cxx:9.1f} | {py / cxx:6.2f} |")
    print(f"largest ratio: {worst:.2f}\n")


def against_mpmath(points):
    import mpmath

    rng = np.random.default_rng(11)
    l = rng.integers(0, 6, points)
    x = rng.uniform(0.5, 30, points)
    eta = rng.uniform(-2, 5, points)
    t0 = time.perf_counter()
    ref = np.array([[float(mpmath.coulombf(int(a), e, b)), float(mpmath.coulombg(int(a), e, b))]
                    for a, b, e in zip(l, x, eta)])
    t_mp = (time.perf_counter() - t0) / points
    n = 10**5
    big = (rng.integers(0, 6, n), rng.uniform(0.5, 30, n), rng.uniform(-2, 5, n))
    t_tb = best(lambda: coulwave.GetFG(*big), 3) / n
    F, G = coulwave.GetFG(l, x, eta)
    scale = np.hypot(ref[:, 0], ref[:, 1])
    err = np.maximum(np.abs(F - ref[:, 0]), np.abs(G - ref[:, 1])) / scale
    # Inside the turning point rho = eta + sqrt(eta^2 + l(l+1)) F is small and G large.
    outside = x > eta + np.sqrt(eta**2 + l * (l + 1))
    print(f"Coulomb F and G, l = 0..5, x in [0.5, 30], eta in [-2, 5]: {points} points")
    print("| method                         | time per point | speed-up |")
    print("|--------------------------------|----------------|----------|")
    print(f"| mpmath.coulombf + coulombg     | {t_mp * 1e6:11.1f} us | {1:8.0f} |")
    print(f"| twobody.coulwave.GetFG (10^5)  | {t_tb * 1e6:11.3f} us | {t_mp / t_tb:8.0f} |")
    print("difference from mpmath, relative to sqrt(F^2 + G^2):")
    for label, sel in [("all points", np.ones_like(outside)), ("beyond the turning point", outside),
                       ("inside the turning point", ~outside)]:
        if sel.any():
            e = err[sel]
            print(f"  {label:<25} {sel.sum():4d} points: largest {e.max():.1e}, median "
                  f"{np.median(e):.1e}, within 1e-12: {(e <= 1e-12).mean():6.1%}")
    print()


def against_scipy(n, repeat):
    from scipy.special import spherical_jn

    rng = np.random.default_rng(13)
    print(f"Spherical Bessel j_l(x), {n} points, best of {repeat}")
    print("| case                         | scipy (ns) | twobody (ns) | twobody / scipy |")
    print("|------------------------------|------------|--------------|-----------------|")
    for label, l, x in [("l = 5, x in [0.1, 100]", 5, rng.uniform(0.1, 100, n)),
                        ("l in 0..20, x in [0.1, 100]", rng.integers(0, 21, n),
                         rng.uniform(0.1, 100, n))]:
        t_sp = best(lambda: spherical_jn(l, x), repeat) / n * 1e9
        t_tb = best(lambda: bessel.jn(l, x), repeat) / n * 1e9
        print(f"| {label:<28} | {t_sp:10.1f} | {t_tb:12.1f} | {t_tb / t_sp:15.2f} |")
    print()


SIGINT_CHILD = """
import sys, time, numpy as np, twobody
from twobody import bessel, coulwave
x = np.broadcast_to(7.5, (10**8,))
calc = twobody.CCHCalc()
calls = {"bessel.J0": lambda: bessel.J0(x), "coulwave.GetFG": lambda: coulwave.GetFG(2, x, 1.0),
         "CCHCalc.GetMFromE": lambda: calc.GetMFromE(3, 2, 1, x, 0.5, 0.25)}
for name in sys.argv[1:]:
    print("start", flush=True)
    try:
        calls[name]()
        print("finished", flush=True)
    except KeyboardInterrupt:
        print(time.monotonic(), flush=True)
"""


def sigint_latency(trials):
    import signal

    names = ["bessel.J0", "coulwave.GetFG", "CCHCalc.GetMFromE"]
    print(f"Ctrl-C in a 10^8-point call: seconds from SIGINT to KeyboardInterrupt, {trials} "
          "trials")
    for name in names:
        delays = []
        proc = subprocess.Popen([sys.executable, "-c", SIGINT_CHILD] + [name] * trials,
                                stdout=subprocess.PIPE, text=True)
        for _ in range(trials):
            assert proc.stdout.readline() == "start\n"
            time.sleep(0.3 + 0.2 * np.random.random())
            sent = time.monotonic()
            proc.send_signal(signal.SIGINT)
            delays.append(float(proc.stdout.readline()) - sent)
        proc.wait()
        print(f"  {name:<20} median {np.median(delays):.3f} s, largest {max(delays):.3f} s")
    print()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--points", type=int, default=10**6)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--mpmath-points", type=int, default=200)
    parser.add_argument("--sigint-trials", type=int, default=10)
    parser.add_argument("--loops", default=os.environ.get(
        "TWOBODY_PYTHON_LOOPS", "build/bench/bench/twobody_python_loops"),
        help="the twobody_python_loops program of a build with the benchmarks")
    args = parser.parse_args()
    print(f"twobody {twobody.__version__}, NumPy {np.__version__}\n")
    if os.access(args.loops, os.X_OK):
        per_element(args.points, args.repeat, args.loops)
    else:
        print(f"no {args.loops}: per-element comparison skipped (see --loops)\n")
    against_mpmath(args.mpmath_points)
    against_scipy(args.points, args.repeat)
    sigint_latency(args.sigint_trials)


if __name__ == "__main__":
    main()
