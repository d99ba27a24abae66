// CCHCalc: cached overlap lookups against direct evaluation, and the cost of filling a slot.
#include <twobody/cchcalc.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A triple of degree L with all three exponents in play, and a partner of the same degree
// and parities.
struct Args {
    int a[3], b[3];
};

Args argsForDegree(int L)
{
    const int a1 = L / 2, a2 = L / 3, a3 = L - a1 - a2;
    return {{a1, a2, a3}, {a1 - 2, a2, a3 + 2}};
}

// One object for the whole run, so that the tables are not rebuilt (and their release
// reported) around every benchmark. Built on first use, after static initialisation.
CCHCalc& calc()
{
    static CCHCalc keeper;
    return keeper;
}

// Releasing the tables prints a warning; keep it out of the benchmark report.
void silentlyRebuildTables(CCHCalc& c)
{
    std::fflush(stdout);
    const int saved = dup(fileno(stdout));
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, fileno(stdout));
    c.ClearStaticData();
    c.InitStaticData();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(null);
    close(saved);
}

void BM_GetOverlapCached(benchmark::State& state)
{
    CCHCalc& c = calc();
    const Args x = argsForDegree(static_cast<int>(state.range(0)));
    c.GetOverlap(x.a[0], x.a[1], x.a[2], x.b[0], x.b[1], x.b[2]); // fills the slot
    for (auto _ : state) {
        int a1 = x.a[0], a2 = x.a[1], a3 = x.a[2], b1 = x.b[0], b2 = x.b[1], b3 = x.b[2];
        benchmark::DoNotOptimize(a1);
        benchmark::DoNotOptimize(b1);
        benchmark::DoNotOptimize(c.GetOverlap(a1, a2, a3, b1, b2, b3));
    }
}
BENCHMARK(BM_GetOverlapCached)->Arg(10)->Arg(20)->Arg(40);

void BM_GetOverlapDirect(benchmark::State& state)
{
    CCHCalc& c = calc();
    const Args x = argsForDegree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int a1 = x.a[0], a2 = x.a[1], a3 = x.a[2], b1 = x.b[0], b2 = x.b[1], b3 = x.b[2];
        benchmark::DoNotOptimize(a1);
        benchmark::DoNotOptimize(b1);
        benchmark::DoNotOptimize(c.GetOverlap0(a1, a2, a3, b1, b2, b3));
    }
}
BENCHMARK(BM_GetOverlapDirect)->Arg(10)->Arg(20)->Arg(40);

// Filling a slot of the largest degree: (56, 0, 0) has the fewest terms per entry,
// (20, 18, 18) the most.
void BM_FillLargestSlot(benchmark::State& state)
{
    CCHCalc& c = calc();
    const int a1 = static_cast<int>(state.range(0)), a2 = static_cast<int>(state.range(1));
    const int a3 = CCHCalc::LMAXFACT - a1 - a2;
    for (auto _ : state) {
        state.PauseTiming();
        silentlyRebuildTables(c);
        state.ResumeTiming();
        c.overlapinit(a1, a2, a3);
    }
}
BENCHMARK(BM_FillLargestSlot)->Args({56, 0})->Args({20, 18})->Unit(benchmark::kMicrosecond);

// Filling one slot of degree 19, the highest whose double sum is accurate: along an axis and
// balanced.
void BM_FillSlotDegree19(benchmark::State& state)
{
    CCHCalc& c = calc();
    const int a1 = static_cast<int>(state.range(0)), a2 = static_cast<int>(state.range(1));
    const int a3 = 19 - a1 - a2;
    for (auto _ : state) {
        state.PauseTiming();
        silentlyRebuildTables(c);
        state.ResumeTiming();
        c.overlapinit(a1, a2, a3);
    }
}
BENCHMARK(BM_FillSlotDegree19)->Args({19, 0})->Args({7, 6})->Unit(benchmark::kMicrosecond);

// Filling every slot of the cache, all 5845 sorted triples of degree <= LMAXFACT.
void BM_FillWholeCache(benchmark::State& state)
{
    CCHCalc& c = calc();
    constexpr int kMax = CCHCalc::LMAXFACT;
    for (auto _ : state) {
        state.PauseTiming();
        silentlyRebuildTables(c);
        state.ResumeTiming();
        for (int a1 = 0; a1 <= kMax; ++a1)
            for (int a2 = 0; a2 <= a1 && a1 + a2 <= kMax; ++a2)
                for (int a3 = 0; a3 <= a2 && a1 + a2 + a3 <= kMax; ++a3)
                    c.overlapinit(a1, a2, a3);
    }
}
BENCHMARK(BM_FillWholeCache)->Unit(benchmark::kMillisecond)->Iterations(2);

// The double-only sum the library used before its high-degree components were made exact,
// kept as the yardstick for their cost: the same terms, summed in double.
struct OldTables {
    double f[CCHCalc::LMAXFACT + 1], df[2 * CCHCalc::LMAXFACT + 2];
    explicit OldTables(const CCHCalc& c)
    {
        for (int n = 0; n <= CCHCalc::LMAXFACT; ++n)
            f[n] = c.Factorial(n);
        for (int n = 0; n <= 2 * CCHCalc::LMAXFACT + 1; ++n)
            df[n] = c.DoubleFactorial(n);
    }
};

double ipow(double x, int n)
{
    double r = 1.0;
    for (; n > 0; n >>= 1, x *= x)
        if (n & 1)
            r *= x;
    return r;
}

double OldGetAFromE(const OldTables& t, int lx, int ly, int lz, double ex, double ey, double ez)
{
    const double* f = t.f;
    const double* df = t.df;
    const int L = lx + ly + lz;
    if (L == 0)
        return 1.0;
    const double P = (f[lx] * f[ly] * f[lz]) / df[2 * L - 1];
    constexpr int kTerms = (CCHCalc::LMAXFACT + 1) / 2 + 1;
    double Y[kTerms], Z[kTerms];
    for (int j = 0; j <= ly / 2; ++j)
        Y[j] = (ipow(-0.5, j) * ipow(ey, ly - 2 * j)) / (f[j] * f[ly - 2 * j]);
    for (int k = 0; k <= lz / 2; ++k)
        Z[k] = (ipow(-0.5, k) * ipow(ez, lz - 2 * k)) / (f[k] * f[lz - 2 * k]);
    double S = 0.0;
    for (int i = 0; i <= lx / 2; ++i) {
        const double X = (ipow(-0.5, i) * ipow(ex, lx - 2 * i)) / (f[i] * f[lx - 2 * i]);
        for (int j = 0; j <= ly / 2; ++j)
            for (int k = 0; k <= lz / 2; ++k) {
                const int n = i + j + k;
                double v = ((P * X) * Y[j]) * Z[k];
                v = v * df[2 * (L - n) - 1];
                S = S + v;
            }
    }
    return S;
}

// Sixteen directions spread over the sphere (a Fibonacci lattice), cycled through so that
// the cost is an average over directions, rare slow ones included. Passed by pointer: the
// benchmark library's DoNotOptimize can clobber a double held in a register.
struct Directions {
    static constexpr int kCount = 16;
    double e[kCount][3], theta[kCount], phi[kCount];
    Directions()
    {
        for (int i = 0; i < kCount; ++i) {
            const double z = 1 - (2 * i + 1.0) / kCount, p = 2.399963229728653 * i;
            theta[i] = std::acos(z);
            phi[i] = std::remainder(p, 2 * 3.141592653589793);
            e[i][0] = std::cos(phi[i]) * std::sin(theta[i]);
            e[i][1] = std::sin(phi[i]) * std::sin(theta[i]);
            e[i][2] = z;
        }
    }
};
const Directions kDirections;

// One traceless component, all three exponents in play: the library against the old
// double sum, from a direction and from angles.
void BM_GetAFromE(benchmark::State& state)
{
    CCHCalc& c = calc();
    const Args x = argsForDegree(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const double* e = kDirections.e[i++ % Directions::kCount];
        benchmark::DoNotOptimize(e);
        benchmark::DoNotOptimize(c.GetAFromE(x.a[0], x.a[1], x.a[2], e[0], e[1], e[2]));
    }
}
BENCHMARK(BM_GetAFromE)->Arg(10)->Arg(20)->Arg(40)->Arg(56);

void BM_GetAFromE_OldDouble(benchmark::State& state)
{
    const OldTables t(calc());
    const Args x = argsForDegree(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const double* e = kDirections.e[i++ % Directions::kCount];
        benchmark::DoNotOptimize(e);
        benchmark::DoNotOptimize(OldGetAFromE(t, x.a[0], x.a[1], x.a[2], e[0], e[1], e[2]));
    }
}
BENCHMARK(BM_GetAFromE_OldDouble)->Arg(10)->Arg(20)->Arg(40)->Arg(56);

void BM_GetAFromThetaPhi(benchmark::State& state)
{
    CCHCalc& c = calc();
    const Args x = argsForDegree(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const int k = i++ % Directions::kCount;
        const double* angles[2] = {&kDirections.theta[k], &kDirections.phi[k]};
        benchmark::DoNotOptimize(angles[0]);
        benchmark::DoNotOptimize(angles[1]);
        benchmark::DoNotOptimize(
            c.GetAFromThetaPhi(x.a[0], x.a[1], x.a[2], *angles[0], *angles[1]));
    }
}
BENCHMARK(BM_GetAFromThetaPhi)->Arg(10)->Arg(20)->Arg(40)->Arg(56);

void BM_GetAFromThetaPhi_OldDouble(benchmark::State& state)
{
    const OldTables t(calc());
    const Args x = argsForDegree(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const int k = i++ % Directions::kCount;
        const double* angles[2] = {&kDirections.theta[k], &kDirections.phi[k]};
        benchmark::DoNotOptimize(angles[0]);
        benchmark::DoNotOptimize(angles[1]);
        const double theta = *angles[0], phi = *angles[1], s = std::sin(theta);
        benchmark::DoNotOptimize(OldGetAFromE(t, x.a[0], x.a[1], x.a[2], std::cos(phi) * s,
                                              std::sin(phi) * s, std::cos(theta)));
    }
}
BENCHMARK(BM_GetAFromThetaPhi_OldDouble)->Arg(10)->Arg(20)->Arg(40)->Arg(56);

} // namespace
