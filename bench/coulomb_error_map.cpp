// Errors of GetFGprime and of GSL's single-order call gsl_sf_coulomb_wave_FG_e against a
// reference table of Coulomb wave functions (columns l x eta F G Fp Gp), one line per row
// whose four values are normal doubles:  l x eta err_library err_gsl  (inf: a NaN or
// infinite output). The error is the worst of F, G, F', G': relative to each function below
// the turning point, relative to sqrt(F^2 + G^2) (sqrt(F'^2 + G'^2)) at and beyond it, as in
// the accuracy test. GSL's error handler is off, as it is for a Python caller. Input for
// scripts/coulomb_error_maps.py; built only on request (target coulomb_error_map).
#include <twobody/coulomb_wave.h>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_coulomb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace {

double worstError(const double got[4], const double want[4], bool below)
{
    const double mod = std::hypot(want[0], want[1]), modp = std::hypot(want[2], want[3]);
    double worst = 0.0;
    for (int k = 0; k < 4; ++k) {
        if (!std::isfinite(got[k]))
            return std::numeric_limits<double>::infinity();
        const double scale = below ? std::fabs(want[k]) : (k < 2 ? mod : modp);
        worst = std::max(worst, std::fabs(got[k] - want[k]) / scale);
    }
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s REFERENCE_TABLE\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    gsl_set_error_handler_off();
    std::printf("# l x eta err_library err_gsl\n");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int l;
        double x, eta, want[4];
        std::string v[4];
        if (!(fields >> l >> x >> eta >> v[0] >> v[1] >> v[2] >> v[3]))
            continue;
        bool normal = true;
        for (int k = 0; k < 4; ++k) {
            want[k] = std::strtod(v[k].c_str(), nullptr);
            normal = normal && std::isnormal(want[k]);
        }
        if (!normal)
            continue;
        const bool below = x < eta + std::sqrt(eta * eta + l * (l + 1.0));
        double lib[4];
        CoulWave::GetFGprime(l, x, eta, &lib[0], &lib[1], &lib[2], &lib[3]);
        gsl_sf_result F, Fp, G, Gp;
        double expF = 0.0, expG = 0.0;
        gsl_sf_coulomb_wave_FG_e(eta, x, l, 0, &F, &Fp, &G, &Gp, &expF, &expG);
        // Scaled results: F, F' carry e^expF, G, G' carry e^expG.
        const double gsl[4] = {F.val * std::exp(expF), G.val * std::exp(expG),
                               Fp.val * std::exp(expF), Gp.val * std::exp(expG)};
        std::printf("%d %.17g %.17g %.3e %.3e\n", l, x, eta, worstError(lib, want, below),
                    worstError(gsl, want, below));
    }
    return 0;
}
