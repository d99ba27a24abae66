/* Rigorous reference values of the Coulomb wave functions F_l, G_l and their x-derivatives
 * over the whole served range, from ball arithmetic (Arb's arb_hypgeom_coulomb_jet, which
 * gives F, G and dF/dx, dG/dx together).
 *
 * Three tables, one per first argument; columns  l  x  eta  F  G  Fp  Gp  as in
 * coulomb_wave.tsv:
 *   d     coulomb_arb.tsv: l = 0...1000, eta in [-1000, 1000], x in [1e-3, 1e4], dense in
 *         the hard regions (below the barrier at large eta, large l at small x, eta near 0,
 *         around x = 2 eta and the turning point, an attractive pair near the origin, the
 *         power series at the origin, at its edge x = 1.2 and inside it at low orders, just
 *         beyond the turning point at large eta), its edges and corners;
 *   grid  coulomb_arb_grid.tsv: l = 0, 10, 100 on a grid of x (log) and eta (signed log)
 *         over the same box, for error maps;
 *   wide  coulomb_arb_wide.tsv: the served range beyond that box (x up to 1.1e8, l up to
 *         10000, |eta| up to 1e4 and a few beyond).
 * Each ball is computed at rising precision until all four values are known to 2^-70
 * relative (about 21 digits), or to 2^-70 of the modulus sqrt(F^2 + G^2) (of F', G' for the
 * derivatives) at and beyond the turning point; the midpoint is then rounded once to double.
 * A value outside the normal double range is printed as decimal text (such as 7.17e-400),
 * which strtod reads as 0, a subnormal or inf. Points that cannot be certified at 2^16 bits
 * (2^14 where the values are far outside the double range) are left out with a comment line. Below
 * the turning point the sampling drops most points whose values leave the double range (a JWKB
 * estimate of the exponent decides), keeping a few. Deterministic: the sample points come from a
 * fixed-seed generator.
 *
 *   cc -O2 tests/gen_coulomb_arb.c -o /tmp/gen_coulomb_arb -lflint-arb -lflint -lm &&
 *   for t in d grid wide; do /tmp/gen_coulomb_arb $t > tests/reference/coulomb_arb_$t.tsv; done &&
 *   mv tests/reference/coulomb_arb_d.tsv tests/reference/coulomb_arb.tsv
 *
 * (Debian: libflint-arb-dev.)
 */
#include <arb_hypgeom.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kDigitsBits = 70, kMaxPrec = 1 << 16 };

/* splitmix64: a small fixed-seed generator, so the points never change. */
static uint64_t rng_state = 20261208u;
static double uniform(double a, double b)
{
    uint64_t z = (rng_state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    z ^= z >> 31;
    return a + (b - a) * ((double)(z >> 11) * 0x1.0p-53);
}
static double loguniform(double a, double b) { return exp(uniform(log(a), log(b))); }
static int pick(const int* v, int n) { return v[(int)uniform(0, n) % n]; }
/* Six significant digits, so the printed arguments are short and exactly the ones used. */
static double round6(double v)
{
    char buf[32];
    snprintf(buf, sizeof buf, "%.6g", v);
    return strtod(buf, NULL);
}

static double turning_point(int l, double eta)
{
    return eta + sqrt(eta * eta + (double)l * (l + 1.0));
}

/* JWKB estimate of ln G (ln 1/F is about the same) below the turning point: the integral of
 * sqrt(2 eta / t + l (l + 1) / t^2 - 1) from x to x_tp, by the midpoint rule in ln t. */
static double barrier_exponent(int l, double x, double eta)
{
    const double tp = turning_point(l, eta), L = (double)l * (l + 1.0);
    if (!(x < tp) || tp <= 0)
        return 0;
    const int n = 4000;
    const double a = log(x), b = log(tp), h = (b - a) / n;
    double s = 0;
    for (int i = 0; i < n; ++i) {
        const double t = exp(a + (i + 0.5) * h);
        const double q = 2 * eta / t + L / (t * t) - 1;
        if (q > 0)
            s += sqrt(q) * t;
    }
    return s * h;
}

/* ln(1e300): points whose estimate passes this are mostly outside the double range. */
static const double kRangeExponent = 690;

static int certified(const arb_t v, const arb_t scale)
{
    mag_t r, s;
    int ok;
    mag_init(r);
    mag_init(s);
    mag_mul_2exp_si(r, arb_radref(v), kDigitsBits);
    arb_get_mag_lower(s, scale);
    ok = mag_cmp(r, s) <= 0 && arf_is_finite(arb_midref(v));
    mag_clear(r);
    mag_clear(s);
    return ok;
}

/* The shortest decimal text that reads back as the same double. */
static void print_double(double v)
{
    char buf[40];
    for (int digits = 15; digits <= 17; ++digits) {
        snprintf(buf, sizeof buf, "%.*g", digits, v);
        if (strtod(buf, NULL) == v)
            break;
    }
    printf(" %s", buf);
}

static void print_value(const arb_t v)
{
    const arf_struct* m = arb_midref(v);
    if (arf_is_zero(m)) {
        printf(" 0");
    } else if (arf_cmpabs_2exp_si(m, -1022) >= 0 && arf_cmpabs_2exp_si(m, 1024) < 0) {
        print_double(arf_get_d(m, ARF_RND_NEAR));
    } else {
        char* s = arb_get_str(v, 17, ARB_STR_NO_RADIUS);
        printf(" %s", s);
        flint_free(s);
    }
}

static long rows_written = 0, rows_skipped = 0;

/* Evaluates and prints one row; returns 1 when all four values are normal doubles. */
static int row(int l, double x, double eta)
{
    arb_t L, E, X, mod, modp;
    arb_ptr F = _arb_vec_init(2), G = _arb_vec_init(2);
    int ok = 0, normal = 1;
    long prec;
    const int beyond = x >= turning_point(l, eta);
    /* Far outside the double range the values serve only to show what the library returns
     * there; Arb's cost rises steeply with the precision, so give up sooner. */
    const long max_prec =
        barrier_exponent(l, x, eta) > 2 * kRangeExponent ? kMaxPrec / 4 : kMaxPrec;
    arb_init(L);
    arb_init(E);
    arb_init(X);
    arb_init(mod);
    arb_init(modp);
    arb_set_si(L, l);
    arb_set_d(E, eta);
    arb_set_d(X, x);
    for (prec = 128; prec <= max_prec && !ok; prec *= 2) {
        arb_hypgeom_coulomb_jet(F, G, L, E, X, 2, prec);
        arb_hypot(mod, F + 0, G + 0, prec);
        arb_hypot(modp, F + 1, G + 1, prec);
        ok = 1;
        for (int k = 0; k < 2; ++k) {
            ok = ok && (certified(F + k, F + k) || (beyond && certified(F + k, k ? modp : mod)));
            ok = ok && (certified(G + k, G + k) || (beyond && certified(G + k, k ? modp : mod)));
        }
    }
    if (!ok) {
        printf("# not certified at %ld bits: %d %.17g %.17g\n", prec / 2, l, x, eta);
        ++rows_skipped;
        normal = 0;
    } else {
        printf("%d", l);
        print_double(x);
        print_double(eta);
        print_value(F + 0);
        print_value(G + 0);
        print_value(F + 1);
        print_value(G + 1);
        printf("\n");
        ++rows_written;
        for (int k = 0; k < 2; ++k) {
            normal = normal && arf_cmpabs_2exp_si(arb_midref(F + k), -1022) >= 0 &&
                     arf_cmpabs_2exp_si(arb_midref(F + k), 1024) < 0;
            normal = normal && arf_cmpabs_2exp_si(arb_midref(G + k), -1022) >= 0 &&
                     arf_cmpabs_2exp_si(arb_midref(G + k), 1024) < 0;
        }
    }
    fflush(stdout);
    _arb_vec_clear(F, 2);
    _arb_vec_clear(G, 2);
    arb_clear(L);
    arb_clear(E);
    arb_clear(X);
    arb_clear(mod);
    arb_clear(modp);
    return normal;
}

/* Keeps a point below the barrier only if its values are likely inside the double range;
 * one in `keep_every` of the others is kept too, so the tables show what happens there. */
static int out_of_range_kept = 0;
static int worth(int l, double x, double eta, int keep_every)
{
    if (barrier_exponent(l, x, eta) < kRangeExponent)
        return 1;
    return (++out_of_range_kept % keep_every) == 0;
}

/* eta with sign, |eta| log-uniform in [lo, hi]. */
static double signed_log(double lo, double hi)
{
    const double e = loguniform(lo, hi);
    return uniform(0, 1) < 0.5 ? -e : e;
}

static void table_d(void)
{
    static const int ls[] = {0,  1,  2,   3,   5,   8,   10,  20,  30,
                             50, 70, 100, 150, 200, 300, 500, 700, 1000};
    const int nls = sizeof ls / sizeof ls[0];
    printf("# Region sizes are in the generator. Worked cases first.\n");
    row(0, 878.89, 1000);
    row(70, 0.3, 100);
    row(100, 0.689, 100);
    row(0, 1e-3, 1e-3);
    row(0, 100, 250);
    row(0, 100, 300);
    row(0, 200, 300);
    row(1, 3e-3, 224); /* the recurrence in l near the top of the double range */
    /* Corners and edges of the box. */
    {
        const int le[] = {0, 1, 500, 1000};
        const double xe[] = {1e-3, 1, 1e4}, ee[] = {-1000, -1e-3, 0, 1e-3, 1000};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 5; ++k)
                    row(le[i], xe[j], ee[k]);
    }
    /* Repulsive, below the turning point, eta from 20 to 1000. */
    for (int n = 0; n < 450;) {
        const int l = pick(ls, nls);
        const double eta = round6(loguniform(20, 1000));
        const double x = round6(loguniform(1e-3, turning_point(l, eta)));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* l = 50...1000 at large eta and small x. */
    for (int n = 0; n < 200;) {
        const int l = 50 + (int)uniform(0, 951);
        const double eta = round6(loguniform(10, 1000));
        const double x = round6(loguniform(1e-3, fmin(10, turning_point(l, eta))));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* eta near 0 at small x, both signs. */
    for (int n = 0; n < 150;) {
        static const int lsmall[] = {0, 0, 0, 1, 1, 2, 3, 5, 10, 20, 50};
        const int l = pick(lsmall, sizeof lsmall / sizeof lsmall[0]);
        const double eta = round6(signed_log(1e-6, 0.1));
        const double x = round6(loguniform(1e-3, 1));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    for (int l = 0; l <= 2; ++l)
        for (double x = 1e-3; x < 2; x *= 10) {
            row(l, x, 1e-3);
            row(l, x, -1e-3);
        }
    /* Just below and above x = 2 eta and the turning point. */
    {
        const double es[] = {0.5, 5, 20, 50, 100, 200, 500, 1000};
        const int lt[] = {0, 10, 100, 500, 1000};
        const double fs[] = {1 - 1e-3, 1 - 1e-9, 1, 1 + 1e-9, 1 + 1e-3};
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 5; ++j)
                for (int k = 0; k < 5; ++k) {
                    const double x2 = 2 * es[i] * fs[k], xt = turning_point(lt[j], es[i]) * fs[k];
                    if (x2 <= 1e4 && worth(lt[j], x2, es[i], 4))
                        row(lt[j], x2, es[i]);
                    if (xt <= 1e4)
                        row(lt[j], xt, es[i]);
                }
        /* The turning point of an attractive pair. */
        for (int j = 1; j < 5; ++j)
            for (int k = 0; k < 5; k += 2) {
                row(lt[j], turning_point(lt[j], -50) * fs[k], -50);
                row(lt[j], turning_point(lt[j], -1000) * fs[k], -1000);
            }
    }
    /* Attractive, large l, below the turning point. */
    for (int n = 0; n < 100;) {
        const int l = 20 + (int)uniform(0, 981);
        const double eta = -round6(loguniform(1, 1000));
        const double x = round6(loguniform(1e-3, turning_point(l, eta)));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* The whole box at random. */
    for (int n = 0; n < 500;) {
        const int l = uniform(0, 1) < 0.3 ? (int)uniform(0, 11) : (int)loguniform(1, 1001) - 1;
        const double eta = round6(uniform(0, 1) < 0.1 ? 0.0 : signed_log(1e-3, 1000));
        const double x = round6(loguniform(1e-3, 1e4));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* An attractive pair near the origin, around and beyond its turning point, where the wave
     * oscillates with the local wave number sqrt(2 |eta| / x). */
    for (int n = 0; n < 150; ++n) {
        static const int la[] = {0, 1, 2, 3, 4, 5, 6, 8, 10, 15, 20, 30, 50};
        const int l = pick(la, sizeof la / sizeof la[0]);
        const double eta = -round6(loguniform(1, 1000));
        const double tp = fmax(turning_point(l, eta), 1e-3);
        row(l, round6(fmin(fmax(tp * loguniform(0.5, 30), 1e-3), 1e4)), eta);
    }
    /* Around the edge of the power series at the origin, x up to 1.2 at small |eta|. */
    for (int n = 0; n < 100;) {
        const int l = (int)uniform(0, 11);
        const double eta = round6(signed_log(1e-2, 10));
        const double x = round6(uniform(0.1, 1.5));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* A repulsive pair inside that series region at low orders, eta x from 0.1 to 10, where
     * the series loses most as eta x grows. */
    for (int n = 0; n < 100; ++n) {
        const int l = (int)uniform(0, 7);
        const double x = round6(uniform(0.05, 1.2));
        row(l, x, round6(loguniform(0.1, 10) / x));
    }
    /* Just beyond the turning point of a repulsive pair at large eta, up to 30 per cent above
     * it, where the values oscillate slowly and GSL's lose most. */
    for (int n = 0; n < 120;) {
        static const int lb[] = {0, 1, 2, 3, 5, 10, 20, 50, 100, 300, 1000};
        const int l = pick(lb, sizeof lb / sizeof lb[0]);
        const double eta = round6(loguniform(100, 1000));
        const double x = round6(turning_point(l, eta) * (1 + loguniform(1e-4, 0.3)));
        if (x <= 1e4) {
            row(l, x, eta);
            ++n;
        }
    }
}

static void table_grid(void)
{
    const int ls[] = {0, 10, 100};
    enum { nx = 29, ne = 39 };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < ne; ++j) {
            /* eta = 0, then +-1e-3 ... +-1e3, three per decade on each side. */
            const int m = j - ne / 2;
            const double eta =
                m == 0 ? 0.0 : (m > 0 ? 1 : -1) * round6(pow(10, -3 + (abs(m) - 1) / 3.0));
            for (int k = 0; k < nx; ++k) {
                const double x = round6(pow(10, -3 + k * 0.25));
                if (barrier_exponent(ls[i], x, eta) < 720)
                    row(ls[i], x, eta);
            }
        }
}

static void table_wide(void)
{
    /* Large x at l = 0, where the continued fraction of the old route gave up. */
    const double xs[] = {2e4, 1e5, 1.2e5, 1e6, 1e7, 1e8, 1.1e8};
    for (int i = 0; i < 7; ++i) {
        row(0, xs[i], 0);
        row(0, xs[i], 0.5);
        row(0, xs[i], -0.5);
    }
    /* Corners of the served range. */
    {
        const int le[] = {0, 1000, 10000};
        const double xe[] = {1e-3, 1e4, 1.1e8}, ee[] = {-1e4, 0, 1e4};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int k = 0; k < 3; ++k)
                    if (le[i] > 1000 || xe[j] > 1e4 || fabs(ee[k]) > 1000)
                        row(le[i], xe[j], ee[k]);
    }
    /* x from 2e4 to 1.1e8, l up to 10000, |eta| up to 1e4. */
    for (int n = 0; n < 250;) {
        const int l = uniform(0, 1) < 0.3 ? (int)uniform(0, 11) : (int)loguniform(1, 10001) - 1;
        const double eta = round6(uniform(0, 1) < 0.1 ? 0.0 : signed_log(1e-3, 1e4));
        const double x = round6(loguniform(2e4, 1.1e8));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* l from 1000 to 10000 and |eta| from 1000 to 1e4 at x up to 1e4. */
    for (int n = 0; n < 150;) {
        const int big_l = n % 2 == 0;
        const int l = big_l ? (int)loguniform(1000, 10001) : (int)loguniform(1, 1001) - 1;
        const double eta = round6(big_l ? signed_log(1e-3, 1e4) : signed_log(1000, 1e4));
        const double x = round6(loguniform(1e-3, 1e4));
        if (worth(l, x, eta, 10)) {
            row(l, x, eta);
            ++n;
        }
    }
    /* A few beyond |eta| = 1e4, where x is large enough for the values to be doubles. */
    {
        const double es[] = {1e5, -1e5, 1e7, -1e7, 1e10, -1e10};
        for (int i = 0; i < 6; ++i) {
            const double x = fabs(es[i]) > 1e8 ? 1e8 : 3 * fabs(es[i]);
            row(0, x, es[i]);
            row(100, x, es[i]);
        }
    }
}

int main(int argc, char** argv)
{
    const char* which = argc > 1 ? argv[1] : "";
    printf("# Coulomb wave functions F_l(eta, x), G_l(eta, x) and dF/dx, dG/dx.\n");
    printf("# Generator: tests/gen_coulomb_arb.c %s (Arb %s, arb_hypgeom_coulomb_jet; balls\n"
           "# certified to 2^-%d relative, or of the modulus at and beyond the turning point,\n"
           "# then rounded once to double; values outside the double range as decimal text).\n",
           which, arb_version, kDigitsBits);
    printf("# Columns: l x eta F G Fp Gp\n");
    if (strcmp(which, "d") == 0)
        table_d();
    else if (strcmp(which, "grid") == 0)
        table_grid();
    else if (strcmp(which, "wide") == 0)
        table_wide();
    else {
        fprintf(stderr, "usage: %s d|grid|wide\n", argv[0]);
        return 2;
    }
    printf("# %ld rows, %ld points not certified.\n", rows_written, rows_skipped);
    flint_cleanup();
    return 0;
}
