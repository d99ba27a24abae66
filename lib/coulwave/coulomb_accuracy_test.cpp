// Accuracy of the Coulomb family against the committed mpmath references (40 digits).
#include <twobody/coulomb_correction.h>
#include <twobody/coulomb_wave.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Misc::complex;

// Error measures: relative to each function below the turning point, where F and G are
// monotonic; relative to the modulus sqrt(F^2 + G^2) (of the derivatives for F', G') at and
// beyond it, where F and G oscillate through zero.
TEST(CoulombAccuracy, WaveFunctionsAgainstMpmath)
{
    const auto rows = test::readReferenceTable("coulomb_wave.tsv");
    ASSERT_GT(rows.size(), 500u);
    // Below 2 eta for a repulsive pair the values are computed by the library itself.
    test::ErrorStats fgLow("GetFG (x < 2 eta)"), fgOther("GetFG (elsewhere)");
    test::ErrorStats fgpLow("GetFGprime (x < 2 eta)"), fgpOther("GetFGprime (elsewhere)");
    test::ErrorStats waves("CWoutgoing/CWincoming");
    for (const auto& r : rows) {
        const int l = static_cast<int>(r[0]);
        const double x = r[1], eta = r[2];
        const double want[4] = {r[3], r[4], r[5], r[6]};
        const double tp = eta + std::sqrt(eta * eta + l * (l + 1.0));
        const bool below = x < tp, low = x < 2 * eta;
        const double mod = std::hypot(want[0], want[1]), modp = std::hypot(want[2], want[3]);
        auto err = [&](double got, int k) {
            const double scale = below ? std::fabs(want[k]) : (k < 2 ? mod : modp);
            return std::fabs(got - want[k]) / scale;
        };
        double F, G, got[4];
        CoulWave::GetFG(l, x, eta, &F, &G);
        CoulWave::GetFGprime(l, x, eta, &got[0], &got[1], &got[2], &got[3]);
        const auto args = {static_cast<double>(l), x, eta};
        (low ? fgLow : fgOther).add(std::max(err(F, 0), err(G, 1)), args);
        double e = 0.0;
        for (int k = 0; k < 4; ++k)
            e = std::max(e, err(got[k], k));
        (low ? fgpLow : fgpOther).add(e, args);
        const complex out = CoulWave::CWoutgoing(l, x, eta), in = CoulWave::CWincoming(l, x, eta);
        waves.add(std::max({err(out.real(), 0), err(-out.imag(), 1), err(in.real(), 0),
                            err(in.imag(), 1)}),
                  args);
    }
    fgLow.check(5e-13);
    fgpLow.check(5e-13);
    fgOther.check(1e-11);
    fgpOther.check(1e-11);
    waves.check(1e-11);
}

TEST(CoulombAccuracy, ComplexGammaAgainstMpmath)
{
    // Error relative to |Gamma|. GSL goes through ln Gamma = ln|Gamma| + i arg Gamma, so the
    // error grows as (|ln|Gamma|| + |arg Gamma|) times the rounding: 2e-13 at z = 1 - 50i.
    test::ErrorStats stats("cgamma");
    for (const auto& r : test::readReferenceTable("coulomb_gamma.tsv")) {
        const complex want(r[2], r[3]);
        const complex got = CoulWave::cgamma(complex(r[0], r[1]));
        stats.add(std::abs(got - want) / std::abs(want), {r[0], r[1]});
    }
    stats.check(5e-13);
}

// The correction against the exact formula at 40 digits. The prescribed C_0 = x / (e^x - 1)
// with x = 2 pi eta takes e^x - 1 as a plain difference: e^x is rounded to 1.1e-16, which is
// a relative error of about 2e-17 / |eta| in C_l. That is the known limit at tiny eta; there
// the measure is the relative error times |eta|.
TEST(CoulombAccuracy, PhaseShiftCorrectionAgainstMpmath)
{
    test::ErrorStats c("Coulomb factor C_l (|eta|>=1e-3)"), tiny("C_l at |eta|<1e-3, err*|eta|");
    test::ErrorStats d("corrected delta (|eta|>=1e-3)"), dd("corrected ddelta/dq");
    for (const auto& r : test::readReferenceTable("coulomb_correction.tsv")) {
        const int l = static_cast<int>(r[0]);
        const double q = r[1], eta = r[2];
        const auto args = {r[0], q, eta, r[3]};
        // delta = 0 and delta' = 1 give back C_l itself as the new derivative.
        double zero = 0.0, cl = 1.0;
        CoulWave::phaseshift_CoulombCorrect(l, q, eta, zero, cl);
        double delta = r[3], ddeltadq = r[4];
        CoulWave::phaseshift_CoulombCorrect(l, q, eta, delta, ddeltadq);
        const double ec = std::fabs(cl - r[5]) / r[5];
        // Angles compared modulo 2 pi: where C_l tan(delta) is below the rounding of pi, the
        // wrap to (-pi, pi] sees pi rather than -pi + C_l tan(delta), the same direction.
        const double ed = std::fabs(std::remainder(delta - r[6], 4 * std::acos(0.0))) /
                          std::max(std::fabs(r[6]), 1e-3);
        const double edd = std::fabs(ddeltadq - r[7]) / std::fabs(r[7]);
        if (std::fabs(eta) < 1e-3) {
            tiny.add(ec * std::fabs(eta), args);
            continue;
        }
        c.add(ec, args);
        d.add(ed, args);
        dd.add(edd, args);
    }
    c.check(1e-13);
    tiny.check(1e-16);
    d.check(1e-13);
    dd.check(1e-12);
}

} // namespace
