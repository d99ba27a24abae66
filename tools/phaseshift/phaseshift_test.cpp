#include "coulomb_pass.h"
#include "partial_wave.h"
#include "resample.h"

#include "internal/constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace PhaseShift;

TEST(Resample, ThresholdFormInterpolationAndZeroMatchingPhase)
{
    // Rows at q_i = 6 i MeV/c, so the grid (step 0.5) hits row i at k = 12 i; delta quadratic
    // in i gives every interval its own slope. Signs +1 and -1 of the matching phase shift,
    // and 0: delta_i = 1e-4 i (i - m), zero at the matching row but not around it.
    for (const PartialWave& wave : kPartialWaves)
        for (double sign : {1.0, -1.0, 0.0}) {
            const int m = wave.matchRow, n = wave.power;
            WaveTable t;
            for (int i = 0; i < kRows; ++i) {
                t.q[i] = 6.0 * i;
                t.delta[i] = 1e-4 * i * (sign == 0.0 ? i - m : sign * i);
            }
            t.qm = t.q[m];
            t.a = std::tan(t.delta[m]) / std::pow(t.q[m], n);
            GridRow d, dd;
            resampleWave(t, wave, d, dd);
            for (int k = 0; k <= kSteps; ++k) {
                const double q = k * kDeltaQ;
                double want, slope;
                if (k <= 12 * m) { // tan(delta) = a q^n
                    const double tn = t.a * std::pow(q, n);
                    want = std::atan(tn);
                    slope = n * t.a * std::pow(q, n - 1) / (1 + tn * tn);
                } else { // linear in (q_{j-1}, q_j]
                    const int j = (k + 11) / 12;
                    slope = (t.delta[j] - t.delta[j - 1]) / 6.0;
                    want = t.delta[j - 1] + slope * (q - t.q[j - 1]);
                }
                ASSERT_NEAR(d[k], want, 1e-15) << wave.name << " " << sign << " k=" << k;
                ASSERT_NEAR(dd[k], slope, 1e-15) << wave.name << " " << sign << " k=" << k;
            }
            for (int i = m; 12 * i <= kSteps; ++i) // rows the grid hits, the matching row first
                EXPECT_NEAR(d[12 * i], t.delta[i], 1e-16) << wave.name << " row " << i;
        }
}

TEST(ReadWave, LabToCentreOfMassAndDegrees)
{
    // q = m_p p / sqrt(s), s = m_K^2 + m_p^2 + 2 m_p E_K. Up to the largest accepted momentum
    // the conversion must neither stop at threshold nor lose sqrt(s) to cancellation.
    for (double p : {0.0, 1e-9, 1e-3, 10.2, 612.0, 1e4, 1e7, kMaxLabMomentum}) {
        const double s = kKaonMass * kKaonMass + kProtonMass * kProtonMass +
                         2 * kProtonMass * std::hypot(kKaonMass, p);
        EXPECT_NEAR(relativeMomentum(p), kProtonMass * p / std::sqrt(s), 1e-9 * (1 + p)) << p;
    }
    // A table's rows: laboratory momentum to q, degrees to radians.
    std::string text = "header\n";
    for (int i = 0; i < kRows; ++i)
        text += std::to_string(10.2 * i) + " " + std::to_string(0.5 * i) + "\n";
    WaveTable t;
    std::string error;
    ASSERT_TRUE(parseWaveTable(text, kPartialWaves[0], t, error)) << error;
    for (int i = 1; i < kRows; ++i) {
        EXPECT_NEAR(t.q[i], relativeMomentum(10.2 * i), 1e-9) << i;
        EXPECT_DOUBLE_EQ(t.delta[i], 0.5 * i * twobody_detail::kPi / 180) << i;
    }
}

TEST(CoulombPass, SommerfeldParameter)
{
    // eta = alpha mu / q with the relativistic reduced mass mu = E_p E_K / (E_p + E_K).
    for (double q : {0.5, 3.0, 100.0, 350.0}) {
        const double ep = std::hypot(kProtonMass, q), ek = std::hypot(kKaonMass, q);
        EXPECT_NEAR(sommerfeldEta(q), ep * ek / (ep + ek) / q / 137.036, 1e-13);
    }
    // The same formula in mpmath at 30 digits, rounded.
    EXPECT_NEAR(sommerfeldEta(0.5), 4.7211, 5e-5);
    EXPECT_NEAR(sommerfeldEta(100.0), 0.023964, 5e-7);
    EXPECT_NEAR(sommerfeldEta(350.0), 0.0078647, 5e-8);
}

} // namespace
