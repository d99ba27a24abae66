#!/usr/bin/python3
"""Error maps of the Coulomb wave functions: log10 of the worst error of F, G, F', G' over
(x, eta) for l = 0, 10 and 100, this library's GetFGprime next to GSL's single-order call,
against the ball-arithmetic grid tests/reference/coulomb_arb_grid.tsv. Writes
docs/coulomb_error_l0.png, docs/coulomb_error_l10.png and docs/coulomb_error_l100.png.

    cmake -S . -B build -DTWOBODY_BUILD_BENCHMARKS=ON
    cmake --build build --target coulomb_error_map
    /usr/bin/python3 scripts/coulomb_error_maps.py build/bench/coulomb_error_map

The error is relative to each function below the turning point x_tp (dashed line) and
relative to the modulus at and beyond it, as in the accuracy test; the magenta line is the
1e-12 contour. White cells are points whose values leave the double range; the top colour
also stands for NaN or infinite results.
(Debian: python3-matplotlib.)
"""
import math
import os
import subprocess
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE = os.path.join(ROOT, "tests", "reference", "coulomb_arb_grid.tsv")


def signed_log(eta):
    """The eta axis: signed log10 of |eta| / 1e-4, so 0 sits between -1e-3 and 1e-3."""
    return 0.0 if eta == 0 else math.copysign(math.log10(abs(eta) / 1e-4), eta)


def read_errors(program):
    text = subprocess.run([program, TABLE], check=True, capture_output=True, text=True).stdout
    rows = {}
    for line in text.splitlines():
        if line.startswith("#"):
            continue
        l, x, eta, lib, gsl = line.split()
        rows.setdefault(int(l), []).append((float(x), float(eta), float(lib), float(gsl)))
    return rows


def grid(points, column):
    xs = sorted({p[0] for p in points})
    etas = sorted({p[1] for p in points})
    z = np.full((len(etas), len(xs)), np.nan)
    for p in points:
        e = p[column]
        e = 1.0 if not math.isfinite(e) else max(e, 1e-17)
        z[etas.index(p[1]), xs.index(p[0])] = math.log10(min(e, 1.0))
    return xs, etas, np.ma.masked_invalid(z)


def edges(centres):
    c = np.asarray(centres, dtype=float)
    mid = (c[1:] + c[:-1]) / 2
    return np.concatenate([[c[0] - (mid[0] - c[0])], mid, [c[-1] + (c[-1] - mid[-1])]])


def draw(l, points, out):
    fig, axes = plt.subplots(1, 2, figsize=(9.5, 4.0), sharey=True, constrained_layout=True)
    for ax, column, title in ((axes[0], 2, "twobody GetFGprime"), (axes[1], 3, "GSL single order")):
        xs, etas, z = grid(points, column)
        lx = [math.log10(x) for x in xs]
        ly = [signed_log(e) for e in etas]
        mesh = ax.pcolormesh(edges(lx), edges(ly), z, vmin=-16, vmax=0, cmap="viridis",
                             shading="flat")
        # The 1e-12 contour: the bound inside the domain.
        if z.max() > -12 > z.min():
            ax.contour(lx, ly, z.filled(np.nan), levels=[-12], colors="magenta", linewidths=1.2)
        # The turning point x_tp = eta + sqrt(eta^2 + l(l+1)), where it lies inside the box.
        e = np.concatenate([-np.logspace(3, -3, 200), [0.0], np.logspace(-3, 3, 200)])
        tp = e + np.sqrt(e * e + l * (l + 1.0))
        ok = tp > 1e-3 * 0.7
        ax.plot(np.log10(tp[ok]), [signed_log(v) for v in e[ok]], "w--", lw=0.8)
        # The whole grid, x in [1e-3, 1e4] and eta in [-1000, 1000], on every map.
        ax.set_xlim(-3.125, 4.125)
        ax.set_ylim(-7.2, 7.2)
        ax.set_title("%s, l = %d" % (title, l), fontsize=10)
        ax.set_xlabel("log10 x")
    ticks = [-1000, -10, -0.1, -1e-3, 0, 1e-3, 0.1, 10, 1000]
    axes[0].set_yticks([signed_log(t) for t in ticks])
    axes[0].set_yticklabels(["%g" % t for t in ticks])
    axes[0].set_ylabel("eta")
    fig.colorbar(mesh, ax=axes, label="log10 error (top: >= 1 or NaN)")
    fig.savefig(out, dpi=80)
    plt.close(fig)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    rows = read_errors(sys.argv[1])
    for l in (0, 10, 100):
        draw(l, rows[l], os.path.join(ROOT, "docs", "coulomb_error_l%d.png" % l))


if __name__ == "__main__":
    main()
