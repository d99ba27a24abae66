#include "build.h"
#include "coulomb_pass.h"
#include "emitters.h"
#include "partial_wave.h"
#include "resample.h"

#include "internal/constants.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

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
    // eta = alpha mu / q with the relativistic reduced mass mu = E_p E_K / (E_p + E_K),
    // in mpmath at 30 digits, rounded.
    EXPECT_NEAR(sommerfeldEta(0.5), 4.7211, 5e-5);
    EXPECT_NEAR(sommerfeldEta(100.0), 0.023964, 5e-7);
    EXPECT_NEAR(sommerfeldEta(350.0), 0.0078647, 5e-8);
}

extern "C" void ignoreSignal(int) {}

TEST(WriteOutputs, TwoThreadsIntoOneDirectoryAndOddPaths)
{
    // Each thread writes a grid of its own constant, over and over; the pair left behind must
    // be one thread's (the first value of each file tells whose), with the umask's modes, no
    // temporary file, and a signal handler installed meanwhile by another thread still there.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("writeoutputs-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const mode_t oldMask = umask(027);
    auto writer = [&](double value, bool* ok) {
        Grid delta, ddeltadq;
        for (int w = 0; w < kWaves; ++w)
            for (int k = 0; k < kPoints; ++k)
                delta[w][k] = ddeltadq[w][k] = value;
        std::string error;
        for (int i = 0; i < 20; ++i)
            *ok = *ok && writeOutputs(dir.string(), delta, ddeltadq, error);
    };
    bool ok[2] = {true, true};
    std::thread a(writer, 0.25, &ok[0]), b(writer, 0.75, &ok[1]);
    struct sigaction mine = {}, seen = {};
    mine.sa_handler = ignoreSignal;
    sigaction(SIGHUP, &mine, nullptr);
    a.join();
    b.join();
    umask(oldMask);
    EXPECT_TRUE(ok[0] && ok[1]);
    sigaction(SIGHUP, nullptr, &seen);
    EXPECT_EQ(seen.sa_handler, &ignoreSignal);
    signal(SIGHUP, SIG_DFL);

    auto slurp = [&](const char* name) {
        std::ifstream in(dir / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string cc = slurp(kSourceFile), dat = slurp(kTableFile);
    const bool first = dat.find(" 0.25000 ") != std::string::npos;
    EXPECT_NE(cc.find(first ? ",0.25," : ",0.75,"), std::string::npos);
    EXPECT_EQ(cc.find(first ? ",0.75," : ",0.25,"), std::string::npos);
    EXPECT_EQ(dat.find(first ? " 0.75000 " : " 0.25000 "), std::string::npos);
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        ++files;
        EXPECT_EQ(e.status().permissions(), fs::perms(0640)) << e.path();
    }
    EXPECT_EQ(files, 2);

    // A NUL inside a directory name is refused, not cut short at the NUL; a long name comes
    // back whole in the message, with the file name and the reason after it.
    std::string error;
    Grid g{};
    const std::string d(100, 'd'), deep = (dir / d / d / d).string();
    EXPECT_FALSE(buildTables(deep, g, g, error));
    EXPECT_EQ(error, "cannot open " + deep + "/s11.dat: No such file or directory");
    EXPECT_FALSE(writeOutputs(dir.string() + std::string("\0/x", 3), g, g, error));
    EXPECT_NE(error.find("NUL"), std::string::npos) << error;
    EXPECT_FALSE(buildTables(std::string(TWOBODY_DATA_DIR) + std::string("\0/x", 3), g, g, error));
    EXPECT_NE(error.find("NUL"), std::string::npos) << error;
    fs::remove_all(dir);
}

} // namespace
