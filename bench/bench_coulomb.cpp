// Cost of the Coulomb routines: the phase-shift correction as the table builder calls it,
// the wave functions against the GSL calls they replace at a few points, and a map of
// GetFGprime's cost against GSL's single-order call over the domain of nuclear physics.
#include <twobody/coulomb_correction.h>
#include <twobody/coulomb_wave.h>

#include <benchmark/benchmark.h>
#include <gsl/gsl_sf_coulomb.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
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

// The cost map over the domain of nuclear physics, l 0...1000, eta in [-1000, 1000], x in
// [1e-3, 1e4]: GetFGprime's time per point against GSL's single-order call at the same point,
// each the fastest of several rounds of repeated calls, the rounds of the two taking turns so
// that both see the machine in the same state. Points where F or G leaves the double range
// are skipped. Reports the median, 90th percentile and largest ratio as counters and prints the
// map by region (below or beyond the turning point, sign of eta, size of l).
double secondsPerCall(int reps, const std::function<void()>& call)
{
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i)
        call();
    const std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
    return dt.count() / reps;
}

// The fastest time per call of a and of b over rounds that alternate between them.
std::pair<double, double> fastestInTurns(int reps, const std::function<void()>& a,
                                         const std::function<void()>& b)
{
    double bestA = 1e30;
    double bestB = 1e30;
    for (int round = 0; round < 5; ++round) {
        bestA = std::min(bestA, secondsPerCall(reps, a));
        bestB = std::min(bestB, secondsPerCall(reps, b));
    }
    return {bestA, bestB};
}

double quantile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * (v.size() - 1))];
}

void BM_GetFGprimeCostMap(benchmark::State& state)
{
    const int orders[] = {0, 1, 3, 10, 30, 100, 300, 1000};
    const double etas[] = {-1000, -100, -10, -1, -0.01, 0.001, 0.1, 1, 10, 100, 300, 1000};
    std::vector<double> all;
    std::map<std::string, std::vector<double>> regions;
    for (auto _ : state) {
        all.clear();
        regions.clear();
        for (int l : orders)
            for (double eta : etas)
                for (double lx = -3.0; lx <= 4.0; lx += 0.5) {
                    const double x = std::pow(10.0, lx);
                    double F, G, Fp, Gp;
                    CoulWave::GetFGprime(l, x, eta, &F, &G, &Fp, &Gp);
                    if (!(std::isnormal(F) && std::isnormal(G)))
                        continue;
                    const auto [mine, gsl] = fastestInTurns(
                        20,
                        [&] {
                            CoulWave::GetFGprime(l, x, eta, &F, &G, &Fp, &Gp);
                            benchmark::DoNotOptimize(F);
                        },
                        [&] {
                            gsl_sf_result f, fp, g, gp;
                            double ef, eg;
                            gsl_sf_coulomb_wave_FG_e(eta, x, l, 0, &f, &fp, &g, &gp, &ef, &eg);
                            benchmark::DoNotOptimize(f);
                        });
                    const double ratio = mine / gsl;
                    all.push_back(ratio);
                    const double tp = eta + std::sqrt(eta * eta + l * (l + 1.0));
                    std::string key = x < tp ? "below x_tp" : "beyond x_tp";
                    key += eta > 0 ? ", eta > 0" : ", eta <= 0";
                    key += l <= 30 ? ", l <= 30" : ", l > 30";
                    regions[key].push_back(ratio);
                }
    }
    state.counters["points"] = static_cast<double>(all.size());
    state.counters["median"] = quantile(all, 0.5);
    state.counters["p90"] = quantile(all, 0.9);
    state.counters["max"] = quantile(all, 1.0);
    std::printf("%-36s %6s %7s %7s %7s\n", "region", "points", "median", "p90", "max");
    for (const auto& r : regions)
        std::printf("%-36s %6zu %7.2f %7.2f %7.2f\n", r.first.c_str(), r.second.size(),
                    quantile(r.second, 0.5), quantile(r.second, 0.9), quantile(r.second, 1.0));
}
BENCHMARK(BM_GetFGprimeCostMap)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
