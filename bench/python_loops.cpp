// The yardstick of bench/bench_python.py: one library function in a plain C++ loop over
// contiguous arrays, so that the Python package's broadcast call can be compared with the
// cheapest loop C++ itself can run over the same points.
//
//   twobody_python_loops NAME N < arrays
//
// reads the arguments' arrays from standard input as raw native bytes, one after another,
// N items each (double: float64, int: int64, complex: complex128, four-vector: N x 4 float64),
// runs NAME over them once and prints the loop's seconds.
#include <twobody/twobody.h>

#include <chrono>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using cplx = std::complex<double>;

struct Four {
    double v[4];
};

// The stored item of each argument type (ints come as int64, as NumPy hands them over).
template <class T>
struct Item {
    using stored = T;
    static T get(const stored& s) { return s; }
};
template <>
struct Item<int> {
    using stored = long long;
    static int get(long long s) { return static_cast<int>(s); }
};

template <class T>
std::vector<typename Item<T>::stored> read_array(long n)
{
    std::vector<typename Item<T>::stored> a(static_cast<size_t>(n));
    if (std::fread(a.data(), sizeof a[0], a.size(), stdin) != a.size()) {
        std::fprintf(stderr, "twobody_python_loops: short input\n");
        std::exit(2);
    }
    return a;
}

template <class R, class... A, size_t... I>
double run(R (*f)(A...), long n, std::index_sequence<I...>)
{
    const std::tuple<std::vector<typename Item<A>::stored>...> in{read_array<A>(n)...};
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<R> out(static_cast<size_t>(n));
    for (long i = 0; i < n; ++i)
        out[i] = f(Item<A>::get(std::get<I>(in)[i])...);
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(t1 - t0).count();
}

template <class R, class... A>
std::function<double(long)> loop(R (*f)(A...))
{
    return [f](long n) { return run(f, n, std::index_sequence_for<A...>()); };
}

// The functions bench_python.py times, under their Python names; results written through
// pointers come back as a tuple in Python, here as a small struct.
struct FG {
    double F, G;
};
struct FGp {
    double F, G, Fp, Gp;
};
struct Q3 {
    double out, side, lng;
};

const std::map<std::string, std::function<double(long)>>& loops()
{
    static const std::map<std::string, std::function<double(long)>> table = {
        {"coulwave.GetFG", loop(+[](int l, double x, double eta) {
             FG r;
             CoulWave::GetFG(l, x, eta, &r.F, &r.G);
             return r;
         })},
        {"coulwave.GetFGprime", loop(+[](int l, double x, double eta) {
             FGp r;
             CoulWave::GetFGprime(l, x, eta, &r.F, &r.G, &r.Fp, &r.Gp);
             return r;
         })},
        {"coulwave.CWoutgoing",
         loop(+[](int l, double x, double eta) { return CoulWave::CWoutgoing(l, x, eta); })},
        {"coulwave.cgamma", loop(+[](cplx z) { return CoulWave::cgamma(z); })},
        {"bessel.J0", loop(+[](double x) { return Bessel::J0(x); })},
        {"bessel.Jn", loop(+[](int n, double x) { return Bessel::Jn(n, x); })},
        {"bessel.jn", loop(+[](int l, double x) { return Bessel::jn(l, x); })},
        {"bessel.hn", loop(+[](int l, double x) { return Bessel::hn(l, x); })},
        {"spherharmonics.legendre",
         loop(+[](int l, double x) { return SpherHarmonics::legendre(l, x); })},
        {"spherharmonics.Ylm", loop(+[](int l, int m, double theta, double phi) {
             return SpherHarmonics::Ylm(l, m, theta, phi);
         })},
        {"misc.cgc", loop(+[](double j1, double m1, double j2, double m2, double J, double M) {
             return Misc::cgc(j1, m1, j2, m2, J, M);
         })},
        {"misc.oldcgc", loop(+[](double j1, double m1, double j2, double m2, double J, double M) {
             return Misc::oldcgc(j1, m1, j2, m2, J, M);
         })},
        {"misc.triangle",
         loop(+[](double m0, double m1, double m2) { return Misc::triangle(m0, m1, m2); })},
        {"misc.GetQinv", loop(+[](Four p1, Four p2) { return Misc::GetQinv(p1.v, p2.v); })},
        {"misc.lorentz", loop(+[](Four u, Four p) {
             Four r;
             Misc::lorentz(u.v, p.v, r.v);
             return r;
         })},
        {"misc.ceiphi", loop(+[](double phi) { return Misc::ceiphi(phi); })},
        {"misc.cpow", loop(+[](cplx z, cplx w) { return Misc::cpow(z, w); })},
    };
    return table;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const auto& kv : loops())
            std::printf("%s\n", kv.first.c_str());
        return 0;
    }
    const auto it = argc == 3 ? loops().find(argv[1]) : loops().end();
    if (it == loops().end()) {
        std::fprintf(stderr, "usage: twobody_python_loops NAME N < arrays (--list for names)\n");
        return 2;
    }
    std::printf("%.9g\n", it->second(std::atol(argv[2])));
    return 0;
}
