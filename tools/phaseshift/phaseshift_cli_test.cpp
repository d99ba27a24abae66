// End-to-end runs of the built phaseshift in scratch directories.
#include "coulomb_pass.h"
#include "partial_wave.h"
#include "resample.h"

#include "internal/constants.h"

#include <gtest/gtest.h>

#include <twobody/version.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
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

// The lines of one section (.SH NAME up to the next .SH) of the manual page.
std::vector<std::string> manSection(const std::string& name)
{
    std::vector<std::string> lines;
    bool in = false;
    for (const std::string& l : split(slurp(PHASESHIFT_MAN))) {
        if (l.rfind(".SH ", 0) == 0)
            in = l == ".SH " + name;
        else if (in)
            lines.push_back(l);
    }
    return lines;
}

// Roff text as printed, with \fI...\fP (a placeholder in the diagnostics) kept as '\x01'.
std::string unroff(std::string s)
{
    s = std::regex_replace(s, std::regex(R"(\\fI[^\\]*\\fP)"), "\x01");
    s = std::regex_replace(s, std::regex(R"(\\f[BPR])"), "");
    s = std::regex_replace(s, std::regex(R"(\\\(aq)"), "'");
    s = std::regex_replace(s, std::regex(R"(\\-)"), "-");
    return s;
}

// The messages the manual page documents, one pattern each: the lines after .TP and .TQ in
// DIAGNOSTICS, placeholders matching any text.
std::vector<std::regex> documentedMessages()
{
    std::vector<std::regex> patterns;
    const std::vector<std::string> lines = manSection("DIAGNOSTICS");
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] != ".TP" && lines[i] != ".TQ")
            continue;
        std::string re;
        for (char c : unroff(lines[i + 1]))
            re += c == '\x01'                                    ? std::string(".*")
                  : std::strchr("^$\\.*+?()[]{}|", c) != nullptr ? std::string("\\") + c
                                                                 : std::string(1, c);
        patterns.emplace_back(re);
    }
    return patterns;
}

bool documented(const std::string& line)
{
    static const std::vector<std::regex> patterns = documentedMessages();
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::regex& re) { return std::regex_match(line, re); });
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
        for (const char* f : {"s11.dat", "p11.dat", "p13.dat"}) {
            fs::remove(dir_ / f); // a case may have left a symbolic link there
            fs::copy_file(fs::path(TWOBODY_DATA_DIR) / f, dir_ / f);
        }
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
    // Padding up to the size limit is still read past.
    ASSERT_EQ(run("truncate -s 1048576 s11.dat && %"), 0) << err_;
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
        // Values that pass the reader but overflow: alternating phase shifts near the double
        // limit (in the correction), huge ones on momenta 1e-7 MeV/c apart around the grid
        // point q = 150 MeV/c (in the slope).
        {"sed -i -e '20c 183.6 5e307' -e '21c 193.8 -5e307' -e '22c 204 5e307' s11.dat && %", 1,
         "s11.dat: rows 19 to 20 (lines 21 to 22): the phase shifts overflow in the Coulomb "
         "correction (not finite at q = 126 to 129.5 MeV/c)\n"},
        {"sed -i -e '24c 234.3900383 1e305' -e '25c 234.3900384 -1e305' p11.dat && %", 1,
         "p11.dat: rows 22 to 23 (lines 24 to 25): the phase shifts overflow in the resampling "
         "(not finite at q = 150 MeV/c)\n"},
        // Endless or oversized input is refused after reading the first MiB.
        {"ln -sf /dev/zero p13.dat && %", 1, "p13.dat: larger than 1048576 bytes"},
        {"truncate -s 1048577 s11.dat && %", 1, "s11.dat: larger than 1048576 bytes"},
        {"rm p11.dat && mkdir p11.dat && { %; s=$?; rmdir p11.dat; touch p11.dat; exit $s; }", 1,
         "cannot read p11.dat: Is a directory"},
        // The second rename fails: the first file must be rolled back.
        {"rm pk_phaseshifts.dat && mkdir pk_phaseshifts.dat && { %; s=$?; rmdir "
         "pk_phaseshifts.dat; echo old >pk_phaseshifts.dat; exit $s; }",
         1, "cannot replace pk_phaseshifts.dat: Is a directory\n"},
        // An 8 KiB file-size limit makes writing the 46 KB source fragment fail, whether the
        // caller ignores SIGXFSZ or not.
        {"ulimit -f 8 && trap '' XFSZ && %", 1, "cannot write pk_phaseshiftdat.cc: "},
        {"ulimit -f 8 && %", 1, "cannot write pk_phaseshiftdat.cc: File too large\n"},
        {"% --help", 0, "Usage: phaseshift [-h | --help | --version]\n"},
        {"% -h", 0, "Usage: phaseshift [-h | --help | --version]\n"},
        {"% --version", 0, "phaseshift (twobody) " TWOBODY_VERSION_STRING "\n"},
        {"% -x", 2, "unexpected argument '-x'\nTry 'phaseshift --help' for more information.\n"},
        {"% --help x", 2, "unexpected argument 'x'\n"},
        {"% --version --help", 2, "unexpected argument '--help'\n"},
        {"% '' ", 2, "unexpected argument ''\n"},
        // A usage text or version that cannot be written is a failure.
        {"{ % --help >/dev/full; }", 1, "cannot write to standard output: No space left"},
        {"{ % --version >/dev/full; }", 1, "cannot write to standard output: No space left"},
        {"{ % -h >&-; }", 1, "cannot write to standard output: Bad file descriptor\n"},
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
        for (const std::string& line : split(err_))
            EXPECT_TRUE(documented(line)) << "not in the manual page: " << line;
        EXPECT_EQ(output("pk_phaseshiftdat.cc") + output("pk_phaseshifts.dat"), "old\nold\n")
            << cmd;
        EXPECT_EQ(entries(), before) << cmd; // nor a temporary file
    }
}

TEST_F(PhaseShiftRun, ManualPageAgreesWithHelp)
{
    ASSERT_EQ(run("% --help"), 0);
    const std::vector<std::string> help = split(out_);
    // Help lines "  -h, --help   text" and "  0  text" under their headings.
    auto block = [&](const std::string& heading) {
        std::vector<std::string> items;
        auto it = std::find(help.begin(), help.end(), heading);
        EXPECT_NE(it, help.end()) << heading;
        for (++it; it != help.end() && it->rfind("  ", 0) == 0; ++it)
            items.push_back(*it);
        return items;
    };
    // The man page's item tags: the line after each .TP of a section.
    auto tags = [](const char* section) {
        std::vector<std::string> lines = manSection(section), items;
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            if (lines[i] == ".TP")
                items.push_back(
                    std::regex_replace(unroff(lines[i + 1]), std::regex(R"(^\.BR? |"|, )"), " "));
        return items;
    };

    std::set<std::string> helpOptions, manOptions;
    for (const std::string& l : block("Options:")) {
        std::istringstream in(std::regex_replace(l.substr(0, l.find("   ")), std::regex(","), ""));
        for (std::string o; in >> o;)
            helpOptions.insert(o);
    }
    for (const std::string& t : tags("OPTIONS")) {
        std::istringstream in(t);
        for (std::string o; in >> o;)
            manOptions.insert(o);
    }
    EXPECT_EQ(helpOptions, (std::set<std::string>{"-h", "--help", "--version"}));
    EXPECT_EQ(manOptions, helpOptions);

    // Exit statuses: the same numbers with the same meaning.
    std::vector<std::string> helpStatus, manStatus;
    for (const std::string& l : block("Exit status:"))
        helpStatus.push_back(std::regex_replace(l, std::regex(" +"), " ").substr(1));
    const std::vector<std::string> lines = manSection("EXIT STATUS");
    for (size_t i = 0; i + 2 < lines.size(); ++i)
        if (lines[i] == ".TP") {
            std::string meaning = lines[i + 2];
            meaning[0] = static_cast<char>(std::tolower(meaning[0]));
            manStatus.push_back(unroff(lines[i + 1]).substr(3) + " " +
                                meaning.substr(0, meaning.size() - 1));
        }
    EXPECT_EQ(helpStatus, (std::vector<std::string>{"0 success", "1 bad input or a failed write",
                                                    "2 bad usage"}));
    EXPECT_EQ(manStatus, helpStatus);

    // The temporary file names, and the version the page belongs to.
    const std::string man = unroff(slurp(PHASESHIFT_MAN));
    for (const char* name : {"pk_phaseshiftdat.cc.tmp-XXXXXX", "pk_phaseshifts.dat.tmp-XXXXXX",
                             "pk_phaseshiftdat.cc.old-XXXXXX"}) {
        EXPECT_NE(man.find(name), std::string::npos) << name;
        EXPECT_NE(out_.find(name), std::string::npos) << name;
    }
    EXPECT_NE(man.find("\"twobody " TWOBODY_VERSION_STRING "\""), std::string::npos);
    EXPECT_NE(man.find("phaseshift (twobody) " TWOBODY_VERSION_STRING), std::string::npos);
}

TEST_F(PhaseShiftRun, SignalDuringTheWriteLeavesAConsistentPair)
{
    ASSERT_EQ(run(), 0);
    const std::string cc = output("pk_phaseshiftdat.cc"), dat = output("pk_phaseshifts.dat");
    const std::regex leftover(
        R"(pk_phaseshiftdat\.cc\.(tmp|old)-\w{6}|pk_phaseshifts\.dat\.tmp-\w{6})");
    char* const argv[] = {const_cast<char*>(PHASESHIFT_BIN), nullptr};
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_); // posix_spawn starts the child where we are
    // A run takes some milliseconds, mostly syncing the outputs; signals sent over a spread of
    // delays land before, during and after the write.
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        int killed = 0;
        for (int delay = 0; delay < 24000; delay += 2000) {
            spit(dir_ / "pk_phaseshiftdat.cc", "old\n");
            spit(dir_ / "pk_phaseshifts.dat", "old\n");
            pid_t pid = 0;
            ASSERT_EQ(posix_spawn(&pid, PHASESHIFT_BIN, nullptr, nullptr, argv, environ), 0);
            usleep(static_cast<useconds_t>(delay));
            kill(pid, sig);
            int status = 0;
            waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFSIGNALED(status) ? WTERMSIG(status) == sig : WEXITSTATUS(status) == 0)
                << sig << " " << status;
            killed += WIFSIGNALED(status);
            // Both old or both new; after SIGKILL the documented temporary files may remain.
            const std::string pair = output("pk_phaseshiftdat.cc") + output("pk_phaseshifts.dat");
            EXPECT_TRUE(pair == "old\nold\n" || pair == cc + dat || sig == SIGKILL)
                << "signal " << sig << " after " << delay << " us";
            for (const auto& e : fs::directory_iterator(dir_)) {
                const std::string name = e.path().filename().string();
                if (name.rfind("pk_", 0) != 0 || name == "pk_phaseshiftdat.cc" ||
                    name == "pk_phaseshifts.dat")
                    continue;
                EXPECT_TRUE(sig == SIGKILL && std::regex_match(name, leftover))
                    << name << " left by signal " << sig << " after " << delay << " us";
                fs::remove(e.path());
            }
        }
        EXPECT_GT(killed, 0) << sig;
    }
    fs::current_path(cwd);
}

// Whether the two outputs come from one run: the S11 phase shifts of the source fragment
// (%g) agree with those of the plotting table (%8.5lf) at every q the table holds.
bool onePair(const std::string& cc, const std::string& dat)
{
    const std::string open = "data_delta[3][701]={{";
    const size_t at = cc.find(open);
    if (at == std::string::npos)
        return false;
    std::istringstream row(cc.substr(at + open.size(), cc.find('}', at) - at - open.size()));
    std::istringstream table(dat);
    int k = 0;
    for (std::string value, line; std::getline(row, value, ','); ++k) {
        double q = 0, d = 0;
        if (!std::getline(table, line))
            return k == 700; // the last grid point is not in the table
        std::istringstream(line) >> q >> d;
        const double v = std::stod(value);
        if (q != 0.5 * k || std::abs(v - d) > 5e-6 + 5e-6 * std::abs(v))
            return false;
    }
    return false;
}

TEST_F(PhaseShiftRun, ConcurrentRunsLeaveOneRunsPair)
{
    // Runs started together on S11 tables scaled differently (each input is swapped in whole
    // by a rename, so every run reads one consistent set): whichever pair is left must hold
    // the two files of one run.
    std::vector<std::string> lines = split(slurp(dir_ / "s11.dat"));
    std::vector<std::string> variants;
    for (double scale : {1.0, 1.02, 1.04, 1.06}) {
        std::string text = lines[0] + "\n";
        for (size_t i = 1; i < lines.size(); ++i) {
            double plab = 0, delta = 0;
            std::istringstream(lines[i]) >> plab >> delta;
            text += std::to_string(plab) + " " + std::to_string(scale * delta) + "\n";
        }
        variants.push_back(text);
    }
    char* const argv[] = {const_cast<char*>(PHASESHIFT_BIN), nullptr};
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_);
    const long before = entries();
    constexpr int kTrials = 15, kRuns = 20;
    int mixed = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        std::vector<pid_t> pids;
        for (int run = 0; run < kRuns; ++run) {
            spit(dir_ / "s11.new", variants[(trial + run) % variants.size()]);
            fs::rename(dir_ / "s11.new", dir_ / "s11.dat");
            pid_t pid = 0;
            ASSERT_EQ(posix_spawn(&pid, PHASESHIFT_BIN, nullptr, nullptr, argv, environ), 0);
            pids.push_back(pid);
        }
        for (pid_t pid : pids) {
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        }
        mixed += !onePair(output("pk_phaseshiftdat.cc"), output("pk_phaseshifts.dat"));
        EXPECT_EQ(entries(), before + 2); // the pair, and no temporary file
    }
    fs::current_path(cwd);
    EXPECT_EQ(mixed, 0) << "trials leaving a mixed pair, of " << kTrials;
}

} // namespace
