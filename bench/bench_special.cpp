// Each wrapper against the GSL call it wraps, on the same cycle of arguments.
#include <twobody/bessel.h>
#include <twobody/spherical_harmonics.h>

#include <benchmark/benchmark.h>
#include <gsl/gsl_sf_bessel.h>
#include <gsl/gsl_sf_legendre.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstdlib>

namespace {

struct BesselArgs {
    int n;
    double x;
};
constexpr std::array<BesselArgs, 8> besselArgs = {
    {{0, 0.5}, {1, 2.0}, {2, 7.5}, {3, 1.2}, {5, 12.0}, {8, 30.0}, {4, 0.8}, {10, 15.0}}};

struct YlmArgs {
    int l, m;
    double theta, phi;
};
constexpr std::array<YlmArgs, 8> ylmArgs = {{{0, 0, 0.3, 1.0},
                                             {1, -1, 1.1, -0.4},
                                             {2, 1, 0.7, 2.0},
                                             {3, -2, 2.5, 0.9},
                                             {4, 3, 1.6, -2.2},
                                             {5, -5, 0.2, 3.0},
                                             {6, 0, 2.9, 0.1},
                                             {8, -4, 1.3, 1.7}}};

void BM_Jn_Wrapper(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const BesselArgs& a = besselArgs[i++ % besselArgs.size()];
        benchmark::DoNotOptimize(Bessel::Jn(a.n, a.x));
    }
}
BENCHMARK(BM_Jn_Wrapper);

void BM_Jn_Gsl(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const BesselArgs& a = besselArgs[i++ % besselArgs.size()];
        benchmark::DoNotOptimize(gsl_sf_bessel_Jn(a.n, a.x));
    }
}
BENCHMARK(BM_Jn_Gsl);

void BM_Ylm_Wrapper(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const YlmArgs& a = ylmArgs[i++ % ylmArgs.size()];
        benchmark::DoNotOptimize(SpherHarmonics::Ylm(a.l, a.m, a.theta, a.phi));
    }
}
BENCHMARK(BM_Ylm_Wrapper);

// The same value written inline: GSL's theta part, the phase, (-1)^m for negative m.
void BM_Ylm_Gsl(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const YlmArgs& a = ylmArgs[i++ % ylmArgs.size()];
        const double p = gsl_sf_legendre_sphPlm(a.l, std::abs(a.m), std::cos(a.theta));
        std::complex<double> y(p * std::cos(a.m * a.phi), p * std::sin(a.m * a.phi));
        if (a.m < 0 && (a.m % 2) != 0)
            y = -y;
        benchmark::DoNotOptimize(y);
    }
}
BENCHMARK(BM_Ylm_Gsl);

// Degree 40 and 100 near the poles and in the middle, where the theta part near a pole is
// formed by the library's own recurrence: against GSL's call alone on the same arguments.
constexpr std::array<YlmArgs, 8> ylmHighArgs = {{{40, 3, 1e-3, 0.5},
                                                 {40, -20, 0.2, 1.0},
                                                 {40, 0, 3.1, -0.3},
                                                 {40, 7, 1.2, 2.0},
                                                 {100, 1, 0.01, 0.5},
                                                 {100, -60, 0.5, 1.0},
                                                 {100, 0, 3.14, -0.3},
                                                 {100, 10, 1.5, 2.0}}};

void BM_Ylm_HighDegree_Wrapper(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const YlmArgs& a = ylmHighArgs[i++ % ylmHighArgs.size()];
        benchmark::DoNotOptimize(SpherHarmonics::Ylm(a.l, a.m, a.theta, a.phi));
    }
}
BENCHMARK(BM_Ylm_HighDegree_Wrapper);

void BM_Ylm_HighDegree_Gsl(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const YlmArgs& a = ylmHighArgs[i++ % ylmHighArgs.size()];
        benchmark::DoNotOptimize(gsl_sf_legendre_sphPlm(a.l, std::abs(a.m), std::cos(a.theta)));
    }
}
BENCHMARK(BM_Ylm_HighDegree_Gsl);

// Spherical j_l on both sides of x = l: the recurrence above, the small-x side below.
constexpr std::array<BesselArgs, 8> sphAboveArgs = {
    {{2, 7.5}, {5, 12.0}, {8, 30.0}, {10, 15.0}, {20, 40.0}, {30, 31.0}, {50, 80.0}, {3, 3.5}}};
constexpr std::array<BesselArgs, 8> sphBelowArgs = {
    {{2, 0.5}, {5, 1.2}, {8, 3.0}, {10, 0.1}, {20, 9.0}, {30, 25.0}, {50, 2.0}, {100, 60.0}}};

template <const std::array<BesselArgs, 8>& Args>
void BM_jn(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const BesselArgs& a = Args[i++ % Args.size()];
        benchmark::DoNotOptimize(Bessel::jn(a.n, a.x));
    }
}
BENCHMARK_TEMPLATE(BM_jn, sphAboveArgs)->Name("BM_jn_XAboveL");
BENCHMARK_TEMPLATE(BM_jn, sphBelowArgs)->Name("BM_jn_XBelowL");

void BM_jl_Gsl(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const BesselArgs& a = sphBelowArgs[i++ % sphBelowArgs.size()];
        benchmark::DoNotOptimize(gsl_sf_bessel_jl(a.n, a.x));
    }
}
BENCHMARK(BM_jl_Gsl)->Name("BM_jl_Gsl_XBelowL");

} // namespace
