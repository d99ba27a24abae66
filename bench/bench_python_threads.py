#!/usr/bin/python3
"""Thread scaling of the Python package twobody.

The broadcast loops run without the GIL, so k threads, each making one call on its own
array of --points points, should finish k calls in about the time one thread takes for one,
as long as k does not exceed the free cores. For k = 1, 2, ... the script times k such
calls made at once (best of --repeat) and prints the throughput and its ratio to one
thread's. The results of the threads are checked against the single-thread call.

Run with the package importable, on an otherwise idle machine (the load average is
printed, since other processes take cores away from the threads), e.g.
    PYTHONPATH=build/test/python /usr/bin/python3 bench/bench_python_threads.py
On a busy machine with autogroup scheduling, root can give the run its own, favoured group:
    setsid sh -c 'echo -20 > /proc/self/autogroup; exec nice -n -20 python3 bench/...'
"""

import argparse
import os
import threading
import time

import numpy as np

from twobody import bessel, coulwave, misc

# name: (function, arguments built from the uniform sample u in [0, 1))
CASES = {
    "bessel.J0": (bessel.J0, lambda u: (0.1 + 100 * u,)),
    "bessel.jn": (bessel.jn, lambda u: (7, 0.1 + 100 * u)),
    "coulwave.GetFG": (coulwave.GetFG, lambda u: (2, 0.5 + 30 * u, 1.5)),
    "misc.cgc": (misc.cgc, lambda u: (2.5, 0.5, 1.5, -0.5, 2.0 + np.floor(3 * u), 0.0)),
}


def as_tuple(result):
    return result if isinstance(result, tuple) else (result,)


def run_together(f, argsets):
    """Calls f on each argument set in a thread of its own, all released at once; returns
    the wall and process CPU times from the release to the last result, and the results."""
    results = [None] * len(argsets)
    start = threading.Barrier(len(argsets) + 1)

    def work(i):
        start.wait()
        results[i] = f(*argsets[i])

    threads = [threading.Thread(target=work, args=(i,)) for i in range(len(argsets))]
    for t in threads:
        t.start()
    start.wait()
    t0, c0 = time.perf_counter(), time.process_time()
    for t in threads:
        t.join()
    return time.perf_counter() - t0, time.process_time() - c0, results


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--function", choices=sorted(CASES), default="bessel.J0")
    parser.add_argument("--points", type=int, default=10**7, help="points per call")
    parser.add_argument("--threads", type=int, default=len(os.sched_getaffinity(0)),
                        help="largest number of threads (default: the usable cores)")
    parser.add_argument("--repeat", type=int, default=3)
    opts = parser.parse_args()

    f, make = CASES[opts.function]
    rng = np.random.default_rng(1)
    argsets = [make(rng.random(opts.points)) for _ in range(opts.threads)]
    reference = [f(*a) for a in argsets]  # also the warm-up

    print(f"{opts.function}, {opts.points:.0e} points per call, best of {opts.repeat}; "
          f"{len(os.sched_getaffinity(0))} usable cores, load average "
          f"{os.getloadavg()[0]:.2f} before the run")
    # CPU/wall near the number of threads shows the calls running side by side; under the
    # GIL it could not exceed 1, whatever the machine's load.
    print(f"| {'threads':>7} | {'wall (s)':>9} | {'CPU/wall':>8} | {'Mpoints/s':>9} |"
          f" {'vs 1 thread':>11} |")
    print(f"|{'-' * 9}|{'-' * 11}|{'-' * 10}|{'-' * 11}|{'-' * 13}|")
    base = None
    for k in range(1, opts.threads + 1):
        best, busy = float("inf"), 0.0
        for _ in range(opts.repeat):
            wall, cpu, results = run_together(f, argsets[:k])
            if wall < best:
                best, busy = wall, cpu / wall
            for got, want in zip(results, reference):
                if not all(np.array_equal(g, w, equal_nan=True)
                           for g, w in zip(as_tuple(got), as_tuple(want))):
                    raise SystemExit(f"{opts.function}: a thread's result differs")
        rate = k * opts.points / best
        base = base or rate
        print(f"| {k:>7} | {best:>9.3f} | {busy:>8.2f} | {rate / 1e6:>9.2f} |"
              f" {rate / base:>10.2f}x |")


if __name__ == "__main__":
    main()
