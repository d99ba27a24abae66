// End-to-end runs of the built phaseshift in scratch directories.
#include "coulomb_pass.h"
#include "partial_wave.h"
#include "resample.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

struct Outcome {
    int status;
    std::string out, err;
};

class PhaseShiftRun : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("phaseshift-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* f : {"s11.dat", "p11.dat", "p13.dat"})
            fs::copy_file(fs::path(TWOBODY_DATA_DIR) / f, dir_ / f);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs phaseshift in the scratch directory; prefix is shell set-up (limits, traps).
    Outcome run(const std::string& args = "", const std::string& prefix = "")
    {
        const std::string cmd = "cd '" + dir_.string() + "' && " + prefix +
                                " '" PHASESHIFT_BIN "' " + args + " >stdout.txt 2>stderr.txt";
        const int raw = std::system(cmd.c_str());
        Outcome r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir_ / "stdout.txt"),
                  slurp(dir_ / "stderr.txt")};
        fs::remove(dir_ / "stdout.txt");
        fs::remove(dir_ / "stderr.txt");
        return r;
    }

    std::vector<std::string> lines(const char* file)
    {
        std::istringstream in(slurp(dir_ / file));
        std::vector<std::string> v;
        for (std::string l; std::getline(in, l);)
            v.push_back(l);
        return v;
    }
    void writeLines(const char* file, const std::vector<std::string>& v)
    {
        std::string s;
        for (const std::string& l : v)
            s += l + "\n";
        spit(dir_ / file, s);
    }

    fs::path dir_;
};

TEST_F(PhaseShiftRun, SucceedsSilentlyAndReproducibly)
{
    Outcome r = run();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    const std::string cc = slurp(dir_ / "pk_phaseshiftdat.cc");
    const std::string dat = slurp(dir_ / "pk_phaseshifts.dat");
    EXPECT_EQ(std::count(cc.begin(), cc.end(), '\n'), 8);
    EXPECT_EQ(std::count(dat.begin(), dat.end(), '\n'), 700);
    EXPECT_EQ(fs::status(dir_ / "pk_phaseshifts.dat").permissions() & fs::perms::owner_read,
              fs::perms::owner_read);

    // Rerun: byte-identical, and no temporary file is left behind.
    ASSERT_EQ(run().status, 0);
    EXPECT_EQ(slurp(dir_ / "pk_phaseshiftdat.cc"), cc);
    EXPECT_EQ(slurp(dir_ / "pk_phaseshifts.dat"), dat);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 5);

    // Row 0 is never used, rows 1-4 of the P waves neither; long header and row tails,
    // extra columns and lines after row 60 change nothing.
    std::vector<std::string> p11 = lines("p11.dat");
    p11[0] += std::string(400, '#');
    p11[1] = "nan nan";
    for (int i = 2; i <= 5; ++i)
        p11[i] = std::to_string(i) + " 45.0 " + std::string(250, 'z');
    p11.push_back("1e9 1e9");
    writeLines("p11.dat", p11);
    ASSERT_EQ(run().status, 0);
    EXPECT_EQ(slurp(dir_ / "pk_phaseshiftdat.cc"), cc);
    EXPECT_EQ(slurp(dir_ / "pk_phaseshifts.dat"), dat);
}

TEST_F(PhaseShiftRun, TablesAreTheCoulombCorrectedResampling)
{
    ASSERT_EQ(run().status, 0);
    using namespace PhaseShift;
    Grid old{}, unused{};
    std::string error;
    for (int w = 0; w < kWaves; ++w) {
        WaveTable t;
        ASSERT_TRUE(
            readWaveTable((dir_ / kPartialWaves[w].file).c_str(), kPartialWaves[w], t, error));
        resampleWave(t, kPartialWaves[w], old[w], unused[w]);
    }
    std::istringstream in(slurp(dir_ / "pk_phaseshifts.dat"));
    for (int k = 0; k < kSteps; ++k) {
        double q, v[6];
        in >> q >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5];
        ASSERT_TRUE(in) << k;
        EXPECT_EQ(q, k * kDeltaQ);
        for (int w = 0; w < kWaves; ++w) {
            if (k == 0) {
                EXPECT_EQ(v[2 * w], 0.0);
                EXPECT_EQ(v[2 * w + 1], 0.0);
                continue;
            }
            // tan(delta_new) = C_l(eta) tan(delta_old), C_l the Gamow factor times
            // prod (j^2 + eta^2), checked to the five decimals the table keeps.
            const double eta = sommerfeldEta(q), x = 2 * kPi * eta;
            const double c = x / std::expm1(x) * (kPartialWaves[w].l == 1 ? 1 + eta * eta : 1);
            const double want = std::atan(c * std::tan(old[w][k]));
            ASSERT_NEAR(v[2 * w], want, 5.01e-6) << kPartialWaves[w].name << " q=" << q;
        }
    }
}

TEST_F(PhaseShiftRun, ArgumentsAndHelp)
{
    Outcome r = run("--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Usage: phaseshift"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "pk_phaseshifts.dat"));
    r = run("-x");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unexpected argument '-x'"), std::string::npos);
    EXPECT_NE(r.err.find("phaseshift --help"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "pk_phaseshifts.dat"));
}

TEST_F(PhaseShiftRun, BadInputStopsWithOneLineAndKeepsOutputs)
{
    struct Case {
        const char* file;
        int row;            // data row to replace, -1: truncate to 40 rows, -2: delete file
        const char* text;   // replacement line(s)
        const char* expect; // message after "phaseshift: "
    };
    const Case cases[] = {
        {"p11.dat", -2, "", "cannot open p11.dat: No such file or directory"},
        {"s11.dat", -1, "", "s11.dat: only 40 data rows, 61 needed"},
        {"p13.dat", 10, "abc 5", "p13.dat: line 12 (row 10): expected two numbers"},
        {"p13.dat", 10, "100.0", "p13.dat: line 12 (row 10): expected two numbers"},
        {"s11.dat", 3, "30.6 nan", "s11.dat: line 5 (row 3): value is not finite"},
        {"s11.dat", 4, "inf 1.0", "s11.dat: line 6 (row 4): value is not finite"},
        {"p11.dat", 8, "81.6 1e308",
         "p11.dat: line 10 (row 8): phase shift 1e+308 degrees is "
         "out of range"},
        {"p11.dat", 7, "-71.4 1.0", "p11.dat: line 9 (row 7): negative laboratory momentum"},
        {"p11.dat", 60, "1e20 1.0",
         "p11.dat: line 62 (row 60): laboratory momentum 1e+20 "
         "MeV/c is too large"},
        {"p11.dat", 20, "190.0 2.0",
         "p11.dat: line 22 (row 20): laboratory momentum 190 MeV/c "
         "is below that of the previous row, 193.8 MeV/c"},
        {"p13.dat", 59, "592.0 -20.0\n595.0 -20.0",
         "p13.dat: line 62 (row 60): laboratory momentum 595 MeV/c gives q = 347.91 "
         "MeV/c; the grid needs q >= 350 MeV/c"},
        {"s11.dat", 1, "0.0 -1.0",
         "s11.dat: line 3 (row 1): the threshold fit at this row "
         "needs a positive momentum"},
    };
    spit(dir_ / "pk_phaseshiftdat.cc", "old source\n");
    spit(dir_ / "pk_phaseshifts.dat", "old table\n");
    for (const Case& c : cases) {
        const std::string original = slurp(dir_ / c.file);
        std::vector<std::string> v = lines(c.file);
        if (c.row == -2)
            fs::remove(dir_ / c.file);
        else {
            if (c.row == -1)
                v.resize(41);
            else
                v[c.row + 1] = c.text;
            writeLines(c.file, v);
        }
        Outcome r = run();
        EXPECT_EQ(r.status, 1) << c.expect;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(std::string("phaseshift: ") + c.expect, 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(slurp(dir_ / "pk_phaseshiftdat.cc"), "old source\n");
        EXPECT_EQ(slurp(dir_ / "pk_phaseshifts.dat"), "old table\n");
        spit(dir_ / c.file, original);
    }
    ASSERT_EQ(run().status, 0); // the restored files are fine
}

TEST_F(PhaseShiftRun, FailedWriteKeepsPreviousOutput)
{
    spit(dir_ / "pk_phaseshiftdat.cc", "old source\n");
    spit(dir_ / "pk_phaseshifts.dat", "old table\n");
    // A file-size limit of 8 KiB makes writing the 46 KB source fragment fail.
    Outcome r = run("", "ulimit -f 8 && trap '' XFSZ &&");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("phaseshift: cannot write pk_phaseshiftdat.cc: ", 0), 0u) << r.err;
    EXPECT_EQ(slurp(dir_ / "pk_phaseshiftdat.cc"), "old source\n");
    EXPECT_EQ(slurp(dir_ / "pk_phaseshifts.dat"), "old table\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 5);
}

} // namespace
