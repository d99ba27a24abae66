"""Threads and signals: first calls from many threads at once, Ctrl-C in a long call, and
the table builder writing from two threads."""

import os
import signal
import subprocess
import sys
import threading
import time

import pytest

from conftest import run_python


def test_first_calls_from_many_threads():
    # Every function that makes an array, called first from eight threads at once, right
    # after the import and before anything else has imported NumPy. Each trial needs a
    # fresh interpreter: the first use happens once per process.
    code = (
        "import threading, twobody\n"
        "from twobody import bessel, misc\n"
        "calc = twobody.CCHCalc()\n"
        "calls = [lambda: bessel.J0(1.0), lambda: bessel.jn([1, 2], 0.5),\n"
        "         lambda: calc.Factorial(3),\n"
        "         lambda: misc.GetQinv([1.0, 0, 0, 1], [1.0, 0, 0, 0])]\n"
        "ts = [threading.Thread(target=calls[i % 4]) for i in range(8)]\n"
        "for t in ts: t.start()\n"
        "for t in ts: t.join()\n"
        "print('ok')\n")
    for trial in range(20):
        r = run_python(code, timeout=60)
        assert r.returncode == 0 and r.stdout == "ok\n", (trial, r.stderr)


def test_ctrl_c_stops_a_long_call():
    # 10^8 points take tens of seconds; the call must give way to SIGINT within a fraction
    # of a second, whether it runs without the GIL (bessel.J0) or holds it (CCHCalc).
    code = (
        "import time, numpy as np, twobody\n"
        "from twobody import bessel\n"
        "x = np.broadcast_to(7.5, (10**8,))\n"
        "calc = twobody.CCHCalc()\n"
        "for name, call in [('J0', lambda: bessel.J0(x)),\n"
        "                   ('GetMFromE', lambda: calc.GetMFromE(3, 2, 1, x, 0.5, 0.25))]:\n"
        "    print('start', name, flush=True)\n"
        "    try:\n"
        "        call()\n"
        "        print('finished', flush=True)\n"
        "    except KeyboardInterrupt:\n"
        "        print('interrupted', time.monotonic(), flush=True)\n")
    env = dict(os.environ, PYTHONPATH=os.pathsep.join(p for p in sys.path if p))
    proc = subprocess.Popen([sys.executable, "-c", code], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True, env=env)
    try:
        for name in ("J0", "GetMFromE"):
            assert proc.stdout.readline() == f"start {name}\n", proc.stderr.read()
            time.sleep(0.5)
            sent = time.monotonic()
            proc.send_signal(signal.SIGINT)
            words = proc.stdout.readline().split()
            assert words[0] == "interrupted", (name, words)
            # Half a second on an idle machine; the bound leaves room for a loaded one.
            assert float(words[1]) - sent < 3.0, name
        assert proc.wait(timeout=60) == 0
    finally:
        proc.kill()
        proc.wait()


def test_build_writes_from_two_threads(tmp_path, data_dir):
    # Two threads, each writing its own directory over and over: identical pairs, the modes
    # the umask gives, nothing left behind.
    from twobody import phaseshift

    dirs = [tmp_path / "a", tmp_path / "b"]
    for d in dirs:
        d.mkdir()
        for name in ("s11.dat", "p11.dat", "p13.dat"):
            (d / name).write_bytes((data_dir / name).read_bytes())
    errors = []

    def work(d):
        try:
            for _ in range(20):
                phaseshift.build(d, write=True)
        except Exception as e:  # reported below, in the main thread
            errors.append(e)

    threads = [threading.Thread(target=work, args=(d,)) for d in dirs]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert not errors
    umask = os.umask(0)
    os.umask(umask)
    for name in ("pk_phaseshiftdat.cc", "pk_phaseshifts.dat"):
        assert (dirs[0] / name).read_bytes() == (dirs[1] / name).read_bytes()
        assert all((d / name).stat().st_mode & 0o777 == 0o666 & ~umask for d in dirs)
    assert all(len(os.listdir(d)) == 5 for d in dirs)
