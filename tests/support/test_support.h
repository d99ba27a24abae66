// Helpers shared by the unit tests: named tolerances, comparisons, standard-output capture
// and the reader of the committed high-precision reference tables.
#ifndef TWOBODY_TEST_SUPPORT_H
#define TWOBODY_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <limits>
#include <sstream>
#include <string>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace test {

// Tolerances in units of the double epsilon, named by their power of eight as in GSL's tests.
constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kTol2 = 256 * kEps;
constexpr double kTol3 = 2048 * kEps;
constexpr double kTol4 = 16384 * kEps;

// |got - want| <= tol * max(1, |want|): relative for large values, absolute near zero.
inline void expectRel(double got, double want, double tol)
{
    EXPECT_LE(std::abs(got - want), tol * std::max(1.0, std::abs(want))) << got << " vs " << want;
}
inline void expectRel(std::complex<double> got, std::complex<double> want, double tol)
{
    EXPECT_LE(std::abs(got - want), tol * std::max(1.0, std::abs(want))) << got << " vs " << want;
}

// Element by element, |got - want| <= abs + rel * |want|.
inline void expectClose(const std::vector<double>& got, const std::vector<double>& want, double abs,
                        double rel)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], abs + rel * std::abs(want[i])) << "entry " << i;
}

// The same double, bit for bit: equal with equal sign, or both NaN.
inline bool sameBits(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

// What f writes on standard output (through stdio or the file descriptor).
inline std::string captureStdout(const std::function<void()>& f)
{
    std::fflush(stdout);
    std::FILE* tmp = std::tmpfile();
    const int saved = dup(fileno(stdout));
    dup2(fileno(tmp), fileno(stdout));
    f();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    std::string text;
    std::rewind(tmp);
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, tmp)) > 0;)
        text.append(buf, n);
    std::fclose(tmp);
    return text;
}

// The library's fatal stops print on standard output; death tests match standard error.
// Call this first inside the death statement to send the child's stdout there.
inline void stdoutToStderr()
{
    std::fflush(stdout);
    dup2(fileno(stderr), fileno(stdout));
}

// Runs f in a child process, which is killed if it has not finished within seconds (whole
// seconds, at least 1). Succeeds when f returned true in time; a hang, a crash, an abort or
// a false result fails with the reason. For arguments that once hung or crashed.
inline testing::AssertionResult finishesWithin(unsigned seconds, const std::function<bool()>& f)
{
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(std::max(1u, seconds));
        _exit(f() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return testing::AssertionSuccess();
    if (WIFSIGNALED(status))
        return testing::AssertionFailure()
               << (WTERMSIG(status) == SIGALRM ? "did not finish within the time limit"
                                               : "killed by signal ")
               << (WTERMSIG(status) == SIGALRM ? "" : std::to_string(WTERMSIG(status)));
    return testing::AssertionFailure()
           << "wrong result (exit status " << WEXITSTATUS(status) << ")";
}

// A reference table of tests/reference/: one case per line, whitespace-separated numbers
// (arguments first, then the high-precision values), '#' starting a comment line. Values
// too small or too large for a double are written as 0 or inf by the generators.
inline std::vector<std::vector<double>> readReferenceTable(const std::string& name)
{
    std::vector<std::vector<double>> rows;
    std::ifstream in(std::string(TWOBODY_REFERENCE_DIR) + "/" + name);
    EXPECT_TRUE(in.good()) << "cannot open reference table " << name;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::vector<double> row;
        for (std::string f; fields >> f;)
            row.push_back(std::strtod(f.c_str(), nullptr));
        rows.push_back(row);
    }
    return rows;
}

// Error statistics of one function family over a reference table. add() takes the error
// of one case in the family's own measure (relative, or relative to a modulus) and the
// case's arguments, kept only while they are the worst case; check() asserts the stated
// bound on the maximum, naming the worst case, and prints one line for the accuracy report.
class ErrorStats {
public:
    explicit ErrorStats(std::string family) : family_(std::move(family)) {}
    void add(double error, std::initializer_list<double> args)
    {
        add(error, args.begin(), args.size());
    }
    // The first nargs columns of a reference-table row are the case's arguments.
    void add(double error, const std::vector<double>& row, size_t nargs)
    {
        add(error, row.data(), std::min(nargs, row.size()));
    }
    void check(double bound)
    {
        ASSERT_FALSE(errors_.empty()) << family_ << ": no cases";
        std::vector<double> e = errors_;
        std::nth_element(e.begin(), e.begin() + e.size() / 2, e.end());
        std::printf("accuracy: %-28s cases %6zu  max %.2e  median %.2e  bound %.2g\n",
                    family_.c_str(), errors_.size(), max_, e[e.size() / 2], bound);
        std::ostringstream worst;
        for (double a : worst_)
            worst << ' ' << a;
        EXPECT_LE(max_, bound) << family_ << ": worst case at" << worst.str();
    }

private:
    void add(double error, const double* args, size_t nargs)
    {
        if (std::isnan(error))
            error = std::numeric_limits<double>::infinity();
        if (error > max_ || errors_.empty()) {
            max_ = error;
            worst_.assign(args, args + nargs);
        }
        errors_.push_back(error);
    }

    std::string family_;
    std::vector<double> worst_; // the arguments of the worst case
    std::vector<double> errors_;
    double max_ = 0.0;
};

} // namespace test

#endif
