#include "coulomb_pass.h"
#include "emitters.h"
#include "partial_wave.h"
#include "resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace PhaseShift;

// A synthetic table on q_i = 6 i MeV/c with a phase shift quadratic in i, so every interval
// has its own slope and the grid (step 0.5) hits each row at k = 12 i.
WaveTable syntheticTable(const PartialWave& wave, double scale)
{
    WaveTable t;
    for (int i = 0; i < kRows; ++i) {
        t.q[i] = 6.0 * i;
        t.delta[i] = scale * 1e-4 * i * i;
    }
    const int r = wave.matchRow;
    t.qm = t.q[r];
    t.a = std::tan(t.delta[r]) / std::pow(t.q[r], wave.power);
    return t;
}

TEST(Resample, ThresholdFormAndInterpolation)
{
    for (const PartialWave& wave : kPartialWaves) {
        for (double scale : {1.0, -1.0}) {
            const WaveTable t = syntheticTable(wave, scale);
            GridRow d, dd;
            resampleWave(t, wave, d, dd);
            const int kMatch = 12 * wave.matchRow;
            for (int k = 0; k <= kSteps; ++k) {
                const double q = k * kDeltaQ;
                if (k <= kMatch) {
                    // tan(delta) = a q^n and its exact derivative.
                    const double expect = std::atan(t.a * std::pow(q, wave.power));
                    const double slope = wave.power * t.a * std::pow(q, wave.power - 1) /
                                         (1 + std::pow(t.a * std::pow(q, wave.power), 2));
                    ASSERT_NEAR(d[k], expect, 1e-15) << wave.name << " k=" << k;
                    ASSERT_NEAR(dd[k], slope, 1e-15) << wave.name << " k=" << k;
                } else {
                    // Linear in each interval (q_{j-1}, q_j] with its own slope.
                    const int j = (k + 11) / 12;
                    const double s = (t.delta[j] - t.delta[j - 1]) / 6.0;
                    ASSERT_NEAR(d[k], t.delta[j - 1] + s * (q - t.q[j - 1]), 1e-15);
                    ASSERT_NEAR(dd[k], s, 1e-15) << wave.name << " k=" << k;
                }
            }
            // The matching row and every row hit by the grid come back exactly.
            EXPECT_NEAR(d[kMatch], t.delta[wave.matchRow], 1e-16);
            for (int i = wave.matchRow + 1; i * 12 <= kSteps; ++i)
                EXPECT_DOUBLE_EQ(d[12 * i], t.delta[i]);
            EXPECT_EQ(d[0], 0.0);
        }
    }
}

TEST(Resample, NegativeMatchingPhaseMirrorsAndZeroGivesZero)
{
    const PartialWave& p11 = kPartialWaves[1];
    GridRow dp, ddp, dm, ddm;
    resampleWave(syntheticTable(p11, 1.0), p11, dp, ddp);
    resampleWave(syntheticTable(p11, -1.0), p11, dm, ddm);
    for (int k = 0; k <= 60; ++k) {
        EXPECT_EQ(dm[k], -dp[k]);
        EXPECT_EQ(ddm[k], -ddp[k]);
    }
    // A phase shift of exactly 0 at the matching row: a = 0, flat zero threshold region.
    WaveTable t = syntheticTable(p11, 1.0);
    t.delta[5] = 0.0;
    t.a = 0.0;
    resampleWave(t, p11, dp, ddp);
    for (int k = 0; k <= 60; ++k) {
        EXPECT_EQ(dp[k], 0.0);
        EXPECT_EQ(ddp[k], 0.0);
    }
}

std::string sampleText(const std::vector<std::string>& rows, const std::string& header)
{
    std::string s = header + "\n";
    for (const std::string& r : rows)
        s += r + "\n";
    return s;
}

TEST(ReadWave, MomentumConversionAndLineHandling)
{
    std::vector<std::string> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back(std::to_string(10.2 * i) + " " + std::to_string(0.5 * i));
    WaveTable plain, odd;
    std::string error;
    ASSERT_TRUE(parseWaveTable(sampleText(rows, "header"), kPartialWaves[0], plain, error))
        << error;
    // In the laboratory frame the centre-of-mass momentum is m_p p_lab / sqrt(s).
    for (int i = 1; i < kRows; ++i) {
        const double p = 10.2 * i;
        const double s = kKaonMass * kKaonMass + kProtonMass * kProtonMass +
                         2 * kProtonMass * std::hypot(kKaonMass, p);
        EXPECT_NEAR(plain.q[i], kProtonMass * p / std::sqrt(s), 1e-9);
        EXPECT_DOUBLE_EQ(plain.delta[i], 0.5 * i * kPi / 180);
    }
    EXPECT_EQ(plain.q[0], 0.0);
    // Up to the largest accepted momentum the conversion never stops at threshold and
    // keeps q = m_p p / sqrt(s) (at 1e9 MeV/c, sqrt(s) ~ sqrt(2 m_p p) is a tiny difference
    // of two squares of 1e9).
    for (double p : {0.0, 1e-9, 1e-3, 1e4, 1e7, kMaxLabMomentum}) {
        const double s = kKaonMass * kKaonMass + kProtonMass * kProtonMass +
                         2 * kProtonMass * std::hypot(kKaonMass, p);
        EXPECT_NEAR(relativeMomentum(p), kProtonMass * p / std::sqrt(s), 1e-9 * (1 + p)) << p;
    }
    EXPECT_DOUBLE_EQ(plain.a, std::tan(plain.delta[1]) / plain.q[1]);

    // Long header and tails, extra columns, blank lines, trailing lines: same table.
    std::vector<std::string> noisy = rows;
    for (int i = 0; i < kRows; i += 3)
        noisy[i] += " 7 8 9 " + std::string(500, 'x');
    noisy[10] = "\n   \n" + noisy[10];
    noisy.push_back("1 2 after the table");
    ASSERT_TRUE(parseWaveTable(sampleText(noisy, std::string(300, 'h') + " 1 2"), kPartialWaves[0],
                               odd, error))
        << error;
    EXPECT_EQ(odd.q, plain.q);
    EXPECT_EQ(odd.delta, plain.delta);
}

// The Coulomb factor C_l(eta) in closed form.
double coulombFactor(int l, double eta)
{
    const double x = 2 * kPi * eta;
    double c = x / std::expm1(x);
    for (int k = 1; k <= l; ++k)
        c *= k * k + eta * eta;
    return c;
}

TEST(CoulombPass, SommerfeldParameterAndCorrectedGrid)
{
    // eta = alpha mu / q with the relativistic reduced mass mu = E_p E_K / (E_p + E_K).
    for (double q : {0.5, 3.0, 100.0, 350.0}) {
        const double ep = std::hypot(kProtonMass, q), ek = std::hypot(kKaonMass, q);
        EXPECT_NEAR(sommerfeldEta(q), ep * ek / (ep + ek) / q / 137.036, 1e-13);
    }
    EXPECT_NEAR(sommerfeldEta(0.5), 4.7211, 5e-5);
    EXPECT_NEAR(sommerfeldEta(100.0), 0.023964, 5e-7);
    EXPECT_NEAR(sommerfeldEta(350.0), 0.0078647, 5e-8);
    for (int k = 2; k <= kSteps; ++k)
        ASSERT_LT(sommerfeldEta(k * kDeltaQ), sommerfeldEta((k - 1) * kDeltaQ));

    Grid delta, dd;
    for (int w = 0; w < kWaves; ++w)
        for (int k = 0; k <= kSteps; ++k) {
            delta[w][k] = 0.2 + 0.3 * w + 1e-3 * k;
            dd[w][k] = 1e-3;
        }
    const Grid before = delta;
    applyCoulombPass(delta, dd);
    for (int w = 0; w < kWaves; ++w) {
        EXPECT_EQ(delta[w][0], 0.0);
        EXPECT_EQ(dd[w][0], 0.0);
        for (int k = 1; k <= kSteps; ++k) {
            const double c = coulombFactor(kPartialWaves[w].l, sommerfeldEta(k * kDeltaQ));
            ASSERT_NEAR(std::tan(delta[w][k]), c * std::tan(before[w][k]), 1e-12) << w << " " << k;
        }
    }
}

TEST(Emitters, FileShapes)
{
    Grid delta{}, dd{};
    for (int w = 0; w < kWaves; ++w)
        for (int k = 1; k <= kSteps; ++k) {
            delta[w][k] = 0.001 * k * (w + 1);
            dd[w][k] = -1e-5 * k;
        }
    std::FILE* f = std::tmpfile();
    writeSourceFragment(f, delta, dd);
    std::rewind(f);
    std::vector<std::string> lines;
    char buf[65536];
    while (std::fgets(buf, sizeof buf, f))
        lines.emplace_back(buf);
    std::fclose(f);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "   double delqdata=0.5;\n");
    EXPECT_EQ(lines[1], "   int nqdata=700;\n");
    for (int arr = 0; arr < 2; ++arr)
        for (int w = 0; w < kWaves; ++w) {
            const std::string& line = lines[2 + 3 * arr + w];
            const size_t open = line.find('{', w == 0 ? line.find("={") + 2 : 0);
            const size_t close = line.find('}', open);
            ASSERT_NE(open, std::string::npos);
            const std::string row = line.substr(open + 1, close - open - 1);
            EXPECT_EQ(row.substr(0, 2), "0,");
            EXPECT_EQ(std::count(row.begin(), row.end(), ','), kSteps);
            EXPECT_EQ(line.substr(close), w < 2 ? "},\n" : "}};\n");
        }
    EXPECT_EQ(lines[2].substr(0, 29), "   double data_delta[3][701]=");
    EXPECT_EQ(lines[5].substr(0, 32), "   double data_ddeltadq[3][701]=");
    EXPECT_EQ(lines[3].substr(0, 7), "      {");

    f = std::tmpfile();
    writePlotTable(f, delta, dd);
    std::rewind(f);
    lines.clear();
    while (std::fgets(buf, sizeof buf, f))
        lines.emplace_back(buf);
    std::fclose(f);
    ASSERT_EQ(lines.size(), 700u);
    EXPECT_EQ(lines[0], " 0.00  0.00000  0.00000  0.00000  0.00000  0.00000  0.00000 \n");
    EXPECT_EQ(lines[699].substr(0, 24), "349.50  0.69900 -0.00699");
    std::istringstream in(lines[123]);
    double v;
    int count = 0;
    while (in >> v)
        ++count;
    EXPECT_EQ(count, 7);
}

} // namespace
