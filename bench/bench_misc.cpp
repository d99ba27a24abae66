// Clebsch-Gordan coefficients against the double-only Racah sum they replaced (fast, but
// wrong once the sum cancels: already at j near 30), on the same cycles of arguments.
#include <twobody/clebsch_gordan.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

// The yardstick: the Racah sum formed term by term in doubles, factorial ratios as plain
// products, as the library computed it before the exact routes.
double doubleRatio(double a, double b)
{
    double product = 1.0;
    if (a > b) {
        for (double i = b + 1.0; a + 1.0 > i; i += 1.0)
            product *= i;
        return product;
    }
    for (double i = a + 1.0; b + 1.0 > i; i += 1.0)
        product *= i;
    return 1.0 / product;
}

double doubleFactorial(double x)
{
    double product = 1.0;
    for (double i = 1.0; i <= x; i += 1.0)
        product *= i;
    return product;
}

double doubleSum(double j1, double m1, double j2, double m2, double J, double M)
{
    if (j1 + j2 < J || J + j1 < j2 || m1 + m2 != M || !(M <= J) || !(-J <= M))
        return 0.0;
    const double F1 = (2.0 * J + 1.0) * doubleRatio(j1 + j2 - J, j1 + j2 + J + 1.0);
    const double F2 = doubleRatio(j1 - m1, j1 - j2 + J);
    const double F3 = doubleRatio(j2 - m2, j2 - j1 + J);
    const double F4 = doubleRatio(J + M, j1 + m1);
    const double F5 = doubleRatio(J - M, j2 + m2);
    double sum = 0.0;
    for (double k = 0.0; k <= 2.0 * (j1 + j2) + J; k += 1.0) {
        if (j1 - m1 - k >= 0.0 && J - M - k >= 0.0 && j2 - J + m1 + k >= 0.0) {
            double t = std::pow(-1.0, k + j1 - m1);
            t = t * doubleRatio(j1 + m1 + k, j1 - m1 - k) * doubleRatio(j2 + J - m1 - k, J - M - k);
            sum = sum + t / (doubleFactorial(k) * doubleFactorial(j2 - J + m1 + k));
        }
    }
    return std::sqrt(F1 * F2 * F3 * F4 * F5) * sum;
}

struct CgArgs {
    double j1, m1, j2, m2, J, M;
};
constexpr std::array<CgArgs, 4> cgSmall = {{{0.5, 0.5, 0.5, -0.5, 1, 0},
                                            {1, 0, 1, 0, 0, 0},
                                            {1, 0, 0.5, 0.5, 1.5, 0.5},
                                            {3, -2, 2.5, 1.5, 2.5, -0.5}}};
constexpr std::array<CgArgs, 4> cg10 = {{{10, 0, 10, -1, 10, -1},
                                         {7.5, -0.5, 8.5, 0.5, 8, 0},
                                         {9, 3, 6, -2, 12, 1},
                                         {9.5, -4.5, 7.5, 0.5, 9, -4}}};
constexpr std::array<CgArgs, 4> cgMid = {{{15, 2, 14.5, -3.5, 13.5, -1.5},
                                          {12, 0, 12, 0, 12, 0},
                                          {16.5, 0.5, 13, -6, 10.5, -5.5},
                                          {14, 7, 15, -9, 20, -2}}};
constexpr std::array<CgArgs, 4> cgLarge = {{{32, -21, 39.5, 4.5, 21.5, -16.5},
                                            {40, 0, 40, 0, 40, 0},
                                            {38.5, 10.5, 35, -3, 30.5, 7.5},
                                            {40, 20, 39, -19, 60, 1}}};
// Cancellations of 10^41, 10^73, 10^66 and 10^114 (218 terms): the fixed-point route.
constexpr std::array<CgArgs, 4> cg200 = {{{200, 0, 200, 0, 200, 0},
                                          {150, 3, 180, -20, 120, -17},
                                          {199.5, 10.5, 180, -3, 100.5, 7.5},
                                          {178.5, -46.5, 195, -35, 135.5, -81.5}}};

template <const std::array<CgArgs, 4>& Args,
          double (*F)(double, double, double, double, double, double)>
void BM_cg(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const CgArgs& a = Args[i++ % Args.size()];
        benchmark::DoNotOptimize(F(a.j1, a.m1, a.j2, a.m2, a.J, a.M));
    }
}
BENCHMARK_TEMPLATE(BM_cg, cgSmall, Misc::oldcgc)->Name("BM_oldcgc_SmallJ");
BENCHMARK_TEMPLATE(BM_cg, cgMid, Misc::oldcgc)->Name("BM_oldcgc_J15");
BENCHMARK_TEMPLATE(BM_cg, cgLarge, Misc::oldcgc)->Name("BM_oldcgc_J40");
BENCHMARK_TEMPLATE(BM_cg, cg200, Misc::oldcgc)->Name("BM_oldcgc_J200");
BENCHMARK_TEMPLATE(BM_cg, cgSmall, doubleSum)->Name("BM_DoubleSum_SmallJ");
BENCHMARK_TEMPLATE(BM_cg, cgMid, doubleSum)->Name("BM_DoubleSum_J15");
BENCHMARK_TEMPLATE(BM_cg, cgLarge, doubleSum)->Name("BM_DoubleSum_J40");
BENCHMARK_TEMPLATE(BM_cg, cg200, doubleSum)->Name("BM_DoubleSum_J200");
BENCHMARK_TEMPLATE(BM_cg, cgSmall, Misc::cgc)->Name("BM_cgc_SmallJ");
BENCHMARK_TEMPLATE(BM_cg, cg10, Misc::cgc)->Name("BM_cgc_J10");
BENCHMARK_TEMPLATE(BM_cg, cgLarge, Misc::cgc)->Name("BM_cgc_J40");
BENCHMARK_TEMPLATE(BM_cg, cg200, Misc::cgc)->Name("BM_cgc_J200");

} // namespace
