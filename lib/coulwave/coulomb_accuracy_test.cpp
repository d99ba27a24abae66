// Accuracy of the Coulomb family against the committed references: mpmath at 40 digits, and
// ball arithmetic (certified to about 21 digits) over the whole served range.
#include <twobody/coulomb_correction.h>
#include <twobody/coulomb_wave.h>

#include "test_support.h"

#include <gsl/gsl_errno.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Misc::complex;

// Error measures: relative to each function below the turning point, where F and G are
// monotonic; relative to the modulus sqrt(F^2 + G^2) (of the derivatives for F', G') at and
// beyond it, where F and G oscillate through zero.
struct CoulombRow {
    int l;
    double x, eta;
    double want[4]; // F, G, F', G'
    double turningPoint() const { return eta + std::sqrt(eta * eta + l * (l + 1.0)); }
    bool below() const { return x < turningPoint(); }
    bool normal() const
    {
        return std::all_of(want, want + 4, [](double v) { return std::isnormal(v); });
    }
};

CoulombRow coulombRow(const std::vector<double>& r)
{
    return {static_cast<int>(r[0]), r[1], r[2], {r[3], r[4], r[5], r[6]}};
}

// The worst error of the outputs of GetFG, GetFGprime, CWoutgoing and CWincoming, in the
// measure above. A NaN output counts as an infinite error, or, where NaN is an honest answer
// (nanOk), as none; nans counts the NaN outputs.
struct CoulombErrors {
    static constexpr int kOutputs = 10; // F, G from three routines, and GetFGprime's four
    double worst = 0.0;
    int nans = 0;
};

CoulombErrors coulombErrors(const CoulombRow& r, bool nanOk = false)
{
    const double mod = std::hypot(r.want[0], r.want[1]), modp = std::hypot(r.want[2], r.want[3]);
    const bool below = r.below();
    CoulombErrors e;
    auto add = [&](double got, int k) {
        if (std::isnan(got)) {
            ++e.nans;
            got = nanOk ? r.want[k] : std::numeric_limits<double>::infinity();
        }
        const double scale = below ? std::fabs(r.want[k]) : (k < 2 ? mod : modp);
        e.worst = std::max(e.worst, std::fabs(got - r.want[k]) / scale);
    };
    double F, G, got[4];
    CoulWave::GetFG(r.l, r.x, r.eta, &F, &G);
    CoulWave::GetFGprime(r.l, r.x, r.eta, &got[0], &got[1], &got[2], &got[3]);
    const complex out = CoulWave::CWoutgoing(r.l, r.x, r.eta);
    const complex in = CoulWave::CWincoming(r.l, r.x, r.eta);
    const double fg[6] = {F, G, out.real(), -out.imag(), in.real(), in.imag()};
    for (int k = 0; k < 6; ++k)
        add(fg[k], k % 2);
    for (int k = 0; k < 4; ++k)
        add(got[k], k);
    return e;
}

// Rows whose true values leave the double range. There the library must not return a
// finite double in place of such a value: an underflow may come back as 0 or a subnormal (or
// as the smallest normal doubles where they are right), an overflow as inf; NaN is always
// honest. check() fails on any other result, naming the first.
class OutOfRangeRows {
public:
    void add(const CoulombRow& r)
    {
        ++rows_;
        double got[4];
        CoulWave::GetFGprime(r.l, r.x, r.eta, &got[0], &got[1], &got[2], &got[3]);
        const double tiny = std::numeric_limits<double>::min();
        for (int k = 0; k < 4; ++k) {
            const double want = r.want[k], g = got[k];
            const bool honest = std::isnan(g) || (std::isinf(want) && std::isinf(g)) ||
                                (std::fabs(want) < tiny &&
                                 (std::fabs(g) < tiny || std::fabs(g - want) <= 1e-12 * tiny)) ||
                                (std::isnormal(want) && std::isfinite(g));
            if (!honest && wrong_++ == 0) {
                std::ostringstream s;
                s << "output " << k << " is " << g << " where the truth is " << want << ", at l "
                  << r.l << " x " << r.x << " eta " << r.eta;
                first_ = s.str();
            }
        }
    }
    void check() const
    {
        std::printf("accuracy: %zu rows outside the double range, %zu wrong outputs\n", rows_,
                    wrong_);
        EXPECT_EQ(wrong_, 0u) << "first: " << first_;
    }

private:
    size_t rows_ = 0, wrong_ = 0;
    std::string first_;
};

// Switches GSL's error handler off for one test: some reference values lie outside the
// double range, where GSL's default handler would abort the run.
class CoulombArb : public ::testing::Test {
protected:
    void SetUp() override { saved_ = gsl_set_error_handler_off(); }
    void TearDown() override { gsl_set_error_handler(saved_); }

private:
    gsl_error_handler_t* saved_ = nullptr;
};

// Errors over l = 0...1000, eta in [-1000, 1000], x in [1e-3, 1e4], by the regions of the
// stated bounds. A repulsive pair at and below the turning point, outside GSL's power series
// at the origin (x < 1.2, |eta x| < 10, 2 pi eta below 0.9 of the underflow exponent), is
// computed by the library itself: 1e-13. Everywhere else 1e-12.
class DomainStats {
public:
    explicit DomainStats(const std::string& table)
    {
        for (const char* n :
             {"own route, eta>0, x<=x_tp", "other, below x_tp", "other, at and beyond x_tp"})
            stats_.emplace_back(table + ": " + n);
    }
    void add(const CoulombRow& r, const std::vector<double>& row)
    {
        const double pi = std::acos(-1.0),
                     underflow = -std::log(std::numeric_limits<double>::min());
        const bool series =
            r.x < 1.2 && std::fabs(r.eta * r.x) < 10 && 2 * pi * r.eta < 0.9 * underflow;
        const int k = r.eta > 0 && r.x <= r.turningPoint() && !series ? 0 : r.below() ? 1 : 2;
        stats_[k].add(coulombErrors(r).worst, row, 3);
    }
    void check()
    {
        const double bounds[] = {1e-13, 1e-12, 1e-12};
        for (int k = 0; k < 3; ++k)
            stats_[k].check(bounds[k]);
    }

private:
    std::vector<test::ErrorStats> stats_;
};

TEST(CoulombAccuracy, WaveFunctionsAgainstMpmath)
{
    const auto rows = test::readReferenceTable("coulomb_wave.tsv");
    ASSERT_GT(rows.size(), 500u);
    DomainStats stats("mpmath");
    for (const auto& row : rows)
        stats.add(coulombRow(row), row);
    stats.check();
}

// The same over the ball-arithmetic tables, dense where the methods are weak, wherever all
// four true values are normal doubles.
TEST_F(CoulombArb, WaveFunctionsInNuclearDomain)
{
    DomainStats stats("arb");
    OutOfRangeRows outside;
    for (const char* table : {"coulomb_arb.tsv", "coulomb_arb_grid.tsv"}) {
        const auto rows = test::readReferenceTable(table);
        ASSERT_GT(rows.size(), 1000u) << table;
        for (const auto& row : rows) {
            const CoulombRow r = coulombRow(row);
            if (r.normal())
                stats.add(r, row);
            else
                outside.add(r);
        }
    }
    outside.check();
    stats.check();
}

// The rest of the served range (x up to 1.1e8, l up to 10000, |eta| beyond 1000): each
// output within 1e-12, or max(1e-12, 1e-15 x) beyond x = 1e4 (the rounding of the phase), or
// NaN; never finite and wrong. Errors are in units of that bound.
TEST_F(CoulombArb, WaveFunctionsInServedRange)
{
    const auto rows = test::readReferenceTable("coulomb_arb_wide.tsv");
    ASSERT_GT(rows.size(), 300u);
    test::ErrorStats largeX("x > 1e4 (err/bound)"), largeL("l > 1000 (err/bound)"),
        largeEta("|eta| > 1000 (err/bound)");
    size_t nans = 0;
    OutOfRangeRows outside;
    for (const auto& row : rows) {
        const CoulombRow r = coulombRow(row);
        if (!r.normal()) {
            outside.add(r);
            continue;
        }
        // NaN is an honest answer here; a finite value must be right.
        const CoulombErrors e = coulombErrors(r, true);
        nans += e.nans > 0;
        if (e.nans == CoulombErrors::kOutputs)
            continue;
        const double err = e.worst / std::max(1e-12, r.x > 1e4 ? 1e-15 * r.x : 0.0);
        (r.x > 1e4 ? largeX : r.l > 1000 ? largeL : largeEta).add(err, row, 3);
    }
    std::printf("accuracy: %zu of %zu served-range rows with a NaN output\n", nans, rows.size());
    outside.check();
    largeX.check(1.0);
    largeL.check(1.0);
    largeEta.check(1.0);
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
