// End-to-end runs of the built phaseshift in scratch directories.
#include "coulomb_pass.h"
#include "partial_wave.h"
#include "resample.h"

#include "internal/constants.h"

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
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

std::vector<std::string> split(const std::string& s)
{
    std::istringstream in(s);
    std::vector<std::string> v;
    for (std::string l; std::getline(in, l);)
        v.push_back(l);
    return v;
}

class PhaseShiftRun : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("phaseshift-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        copyInputs();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void copyInputs()
    {
        for (const char* f : {"s11.dat", "p11.dat", "p13.dat"})
            fs::copy_file(fs::path(TWOBODY_DATA_DIR) / f, dir_ / f,
                          fs::copy_options::overwrite_existing);
    }
    // Runs the shell command cmd, % standing for phaseshift, in the scratch directory; returns
    // the exit status and keeps standard output and error in out_ and err_.
    int run(std::string cmd = "%")
    {
        cmd = "cd '" + dir_.string() + "' && " +
              cmd.replace(cmd.find('%'), 1, "'" PHASESHIFT_BIN "'") + " >stdout.txt 2>stderr.txt";
        const int raw = std::system(cmd.c_str());
        out_ = slurp(dir_ / "stdout.txt");
        err_ = slurp(dir_ / "stderr.txt");
        fs::remove(dir_ / "stdout.txt");
        fs::remove(dir_ / "stderr.txt");
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::string output(const char* file) { return slurp(dir_ / file); }
    long entries() { return std::distance(fs::directory_iterator(dir_), fs::directory_iterator()); }

    fs::path dir_;
    std::string out_, err_;
};

TEST_F(PhaseShiftRun, SampleRunSilentReproducibleShapedAndCorrected)
{
    using namespace PhaseShift;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(out_ + err_, "");
    const std::string cc = output("pk_phaseshiftdat.cc"), dat = output("pk_phaseshifts.dat");
    auto unchanged = [&] {
        return output("pk_phaseshiftdat.cc") == cc && output("pk_phaseshifts.dat") == dat;
    };
    ASSERT_EQ(run(), 0);
    EXPECT_TRUE(unchanged()); // byte-identical rerun

    // Two scalars, then per array three rows of 701 values, one row a line.
    const std::vector<std::string> src = split(cc), tab = split(dat);
    ASSERT_EQ(src.size(), 8u);
    EXPECT_EQ(src[0] + src[1], "   double delqdata=0.5;   int nqdata=700;");
    for (int i = 2; i < 8; ++i) {
        const char* head = i == 2   ? "   double data_delta[3][701]={"
                           : i == 5 ? "   double data_ddeltadq[3][701]={"
                                    : "      ";
        EXPECT_EQ(src[i].rfind(std::string(head) + "{0,", 0), 0u) << i;
        EXPECT_EQ(std::count(src[i].begin(), src[i].end(), ','), i % 3 == 1 ? 700 : 701) << i;
        EXPECT_EQ(src[i].substr(src[i].find('}')), i % 3 == 1 ? "}};" : "},") << i;
    }

    // 700 table lines, q = 0 to 349.5. At q = 0 everything is zeroed (the S11 threshold slope
    // is not 0 there); above, tan(delta_new) = C_l(eta) tan(delta) against the uncorrected
    // resampling, to the five decimals the table keeps.
    Grid old{}, unused{};
    std::string error;
    for (int w = 0; w < kWaves; ++w) {
        WaveTable t;
        ASSERT_TRUE(
            readWaveTable((dir_ / kPartialWaves[w].file).c_str(), kPartialWaves[w], t, error));
        resampleWave(t, kPartialWaves[w], old[w], unused[w]);
    }
    ASSERT_EQ(tab.size(), 700u);
    EXPECT_EQ(tab[0], " 0.00  0.00000  0.00000  0.00000  0.00000  0.00000  0.00000 ");
    for (int k = 1; k < kSteps; ++k) {
        std::istringstream in(tab[k]);
        double q, v[6];
        in >> q >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5];
        ASSERT_TRUE(in) << k;
        EXPECT_EQ(q, k * kDeltaQ);
        const double eta = sommerfeldEta(q), x = 2 * twobody_detail::kPi * eta,
                     c0 = x / std::expm1(x);
        for (int w = 0; w < kWaves; ++w) {
            const double c = kPartialWaves[w].l == 1 ? c0 * (1 + eta * eta) : c0;
            ASSERT_NEAR(v[2 * w], std::atan(c * std::tan(old[w][k])), 5.01e-6)
                << kPartialWaves[w].name << " q=" << q;
        }
    }

    // Row 0 is unused; a header and row tails longer than 199 characters, extra columns and
    // lines after row 60 must be read past, not split into rows.
    ASSERT_EQ(run("sed -i -e '1s/$/" + std::string(400, '#') +
                  "/' -e '2c nan nan' -e '3,$s/$/ 7 8 " + std::string(250, 'z') +
                  "/' -e '$a 1e9 1e9' p11.dat && %"),
              0)
        << err_;
    EXPECT_TRUE(unchanged());
    EXPECT_EQ(entries(), 5); // no temporary file left behind
}

TEST_F(PhaseShiftRun, BadInputOrArgumentsLeaveOutputsAlone)
{
    // Shell command (% for phaseshift; line i + 1 of an input file holds row i), exit status,
    // start of the message on standard error (on standard output for status 0).
    const std::tuple<const char*, int, const char*> cases[] = {
        {"mv p11.dat p11.away && %", 1, "cannot open p11.dat: No such file or directory"},
        {"sed -i '42,$d' s11.dat && %", 1, "s11.dat: only 40 data rows, 61 needed"},
        {"sed -i '12c abc 5' p13.dat && %", 1, "p13.dat: line 12 (row 10): expected two numbers"},
        {"sed -i '12c 100.0' p13.dat && %", 1, "p13.dat: line 12 (row 10): expected two numbers"},
        {"sed -i '5c 30.6 nan' s11.dat && %", 1, "s11.dat: line 5 (row 3): value is not finite"},
        {"sed -i '6c inf 1' s11.dat && %", 1, "s11.dat: line 6 (row 4): value is not finite"},
        {"sed -i '10c 81.6 1e308' p11.dat && %", 1,
         "p11.dat: line 10 (row 8): phase shift 1e+308 degrees is out of range"},
        {"sed -i '9c -71 1' p11.dat && %", 1,
         "p11.dat: line 9 (row 7): negative laboratory momentum"},
        {"sed -i '62c 1e20 1' p11.dat && %", 1,
         "p11.dat: line 62 (row 60): laboratory momentum 1e+20 MeV/c is too large"},
        {"sed -i '22c 190 2' p11.dat && %", 1,
         "p11.dat: line 22 (row 20): laboratory momentum 190 MeV/c is below that of the "
         "previous row, 193.8 MeV/c"},
        {"sed -i -e '61c 592 -20' -e '62c 595 -20' p13.dat && %", 1,
         "p13.dat: line 62 (row 60): laboratory momentum 595 MeV/c gives q = 347.91 MeV/c; "
         "the grid needs q >= 350 MeV/c"},
        {"sed -i '3c 0 -1' s11.dat && %", 1,
         "s11.dat: line 3 (row 1): the threshold fit at this row needs a positive momentum"},
        // An 8 KiB file-size limit makes writing the 46 KB source fragment fail.
        {"ulimit -f 8 && trap '' XFSZ && %", 1, "cannot write pk_phaseshiftdat.cc: "},
        {"% --help", 0, "Usage: phaseshift\n"},
        {"% -x", 2, "unexpected argument '-x'\nTry 'phaseshift --help' for more information.\n"},
    };
    spit(dir_ / "pk_phaseshiftdat.cc", "old\n");
    spit(dir_ / "pk_phaseshifts.dat", "old\n");
    for (const auto& [cmd, status, expect] : cases) {
        copyInputs();
        const long before = entries();
        EXPECT_EQ(run(cmd), status) << cmd;
        const std::string& msg = status == 0 ? out_ : err_;
        EXPECT_EQ(status == 0 ? err_ : out_, "") << cmd;
        EXPECT_EQ(msg.rfind((status == 0 ? "" : "phaseshift: ") + std::string(expect), 0), 0u)
            << msg;
        EXPECT_TRUE(status != 1 || std::count(msg.begin(), msg.end(), '\n') == 1) << msg;
        EXPECT_EQ(output("pk_phaseshiftdat.cc") + output("pk_phaseshifts.dat"), "old\nold\n")
            << cmd;
        EXPECT_EQ(entries(), before) << cmd; // nor a temporary file
    }
}

} // namespace
