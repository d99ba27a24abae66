// Evaluates one library function directly in C++, for the Python agreement tests.
// Usage: twobody_eval NAME < points; each input line holds one point's arguments (orders as
// integers, four-vectors as four numbers), each output line the results as hex floats.
#include <twobody/twobody.h>

#include <gsl/gsl_errno.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

void put(const std::vector<double>& v)
{
    for (size_t i = 0; i < v.size(); ++i)
        std::printf(i ? " %a" : "%a", v[i]);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: twobody_eval NAME < points\n");
        return 2;
    }
    gsl_set_error_handler_off(); // as the Python package does
    const std::string f = argv[1];
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::vector<double> a;
        double v;
        while (in >> v)
            a.push_back(v);
        const int i0 = a.empty() ? 0 : static_cast<int>(a[0]);
        if (f == "GetFG") {
            double F, G;
            CoulWave::GetFG(i0, a[1], a[2], &F, &G);
            put({F, G});
        } else if (f == "GetFGprime") {
            double F, G, Fp, Gp;
            CoulWave::GetFGprime(i0, a[1], a[2], &F, &G, &Fp, &Gp);
            put({F, G, Fp, Gp});
        } else if (f == "CWoutgoing") {
            const auto z = CoulWave::CWoutgoing(i0, a[1], a[2]);
            put({z.real(), z.imag()});
        } else if (f == "phaseshift_CoulombCorrect") {
            double d = a[3], dd = a[4];
            CoulWave::phaseshift_CoulombCorrect(i0, a[1], a[2], d, dd);
            put({d, dd});
        } else if (f == "jn") {
            put({Bessel::jn(i0, a[1])});
        } else if (f == "hn") {
            const auto z = Bessel::hn(i0, a[1]);
            put({z.real(), z.imag()});
        } else if (f == "Ylm") {
            const auto z = SpherHarmonics::Ylm(i0, static_cast<int>(a[1]), a[2], a[3]);
            put({z.real(), z.imag()});
        } else if (f == "cgc") {
            put({Misc::cgc(a[0], a[1], a[2], a[3], a[4], a[5])});
        } else if (f == "oldcgc") {
            put({Misc::oldcgc(a[0], a[1], a[2], a[3], a[4], a[5])});
        } else if (f == "GetQinv") {
            put({Misc::GetQinv(&a[0], &a[4])});
        } else if (f == "lorentz") {
            double out[4];
            Misc::lorentz(&a[0], &a[4], out);
            put({out[0], out[1], out[2], out[3]});
        } else if (f == "outsidelong") {
            double qinv = 0, qout, qside, qlong;
            Misc::outsidelong(&a[0], &a[4], qinv, qout, qside, qlong);
            put({qout, qside, qlong});
        } else if (f == "GetAFromE") {
            // Never destroyed: its release messages would mix with the results.
            static const CCHCalc* calc = new CCHCalc;
            put({calc->GetAFromE(i0, static_cast<int>(a[1]), static_cast<int>(a[2]), a[3], a[4],
                                 a[5])});
        } else {
            std::fprintf(stderr, "twobody_eval: unknown function %s\n", f.c_str());
            return 2;
        }
    }
    std::fflush(stdout);
    return 0;
}
