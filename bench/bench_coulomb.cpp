// Cost of the Coulomb routines: the phase-shift correction as the table builder calls it,
// and the wave functions against the GSL call they replace below the turning point.
#include <twobody/coulomb_correction.h>
#include <twobody/coulomb_wave.h>

#include <benchmark/benchmark.h>
#include <gsl/gsl_sf_coulomb.h>

#include <cmath>
#include <vector>

namespace {

void BM_CoulombCorrect(benchmark::State& state)
{
    const int l = static_cast<int>(state.range(0));
    double q = 100.0;
    for (auto _ : state) {
        double delta = 0.5, ddeltadq = 0.01;
        benchmark::DoNotOptimize(q);
        CoulWave::phaseshift_CoulombCorrect(l, q, 2.4 / q, delta, ddeltadq);
        benchmark::DoNotOptimize(delta);
        benchmark::DoNotOptimize(ddeltadq);
    }
}
BENCHMARK(BM_CoulombCorrect)->Arg(0)->Arg(1)->Arg(8);

// Points (l, x, eta): the first five lie below x = 2 eta, where GSL uses its JWKB branch
// and the library computes the values itself; the sixth lies in the classically forbidden
// region of an attractive pair at l = 20; the last is an ordinary point above the turning
// point, where both routes are GSL's.
struct Point {
    int l;
    double x, eta;
};
constexpr Point kPoints[] = {{0, 1.4, 5.0}, {15, 1.2205, 0.6115}, {1, 1.979, 1.0665},
                             {0, 9.0, 5.0}, {0, 1.5, 100.0},      {20, 4.33, -13.4},
                             {3, 30.0, 2.0}};

void BM_GetFGprime(benchmark::State& state)
{
    const Point p = kPoints[state.range(0)];
    double F, G, Fp, Gp;
    for (auto _ : state) {
        CoulWave::GetFGprime(p.l, p.x, p.eta, &F, &G, &Fp, &Gp);
        benchmark::DoNotOptimize(F);
        benchmark::DoNotOptimize(Gp);
    }
}
BENCHMARK(BM_GetFGprime)->DenseRange(0, 6);

// The GSL call that GetFGprime made before: order l alone.
void BM_GslFGpSingleOrder(benchmark::State& state)
{
    const Point p = kPoints[state.range(0)];
    double fc, fcp, gc, gcp, ef, eg;
    for (auto _ : state) {
        gsl_sf_coulomb_wave_FGp_array(p.l, 0, p.eta, p.x, &fc, &fcp, &gc, &gcp, &ef, &eg);
        benchmark::DoNotOptimize(fc);
        benchmark::DoNotOptimize(gcp);
    }
}
BENCHMARK(BM_GslFGpSingleOrder)->DenseRange(0, 6);

void BM_GetFG(benchmark::State& state)
{
    const Point p = kPoints[state.range(0)];
    double F, G;
    for (auto _ : state) {
        CoulWave::GetFG(p.l, p.x, p.eta, &F, &G);
        benchmark::DoNotOptimize(F);
        benchmark::DoNotOptimize(G);
    }
}
BENCHMARK(BM_GetFG)->DenseRange(0, 6);

// The GSL call that GetFG made before: orders 0 ... l, scaled back.
void BM_GslFGArray(benchmark::State& state)
{
    const Point p = kPoints[state.range(0)];
    for (auto _ : state) {
        std::vector<double> fc(p.l + 1), gc(p.l + 1);
        double ef, eg;
        gsl_sf_coulomb_wave_FG_array(0.0, p.l, p.eta, p.x, fc.data(), gc.data(), &ef, &eg);
        double F = fc[p.l] * std::exp(ef), G = gc[p.l] * std::exp(eg);
        benchmark::DoNotOptimize(F);
        benchmark::DoNotOptimize(G);
    }
}
BENCHMARK(BM_GslFGArray)->DenseRange(0, 6);

} // namespace
