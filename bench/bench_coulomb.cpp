// Cost of one Coulomb phase-shift correction, as the table builder and inner loops call it.
#include <twobody/coulomb_correction.h>

#include <benchmark/benchmark.h>

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

} // namespace
