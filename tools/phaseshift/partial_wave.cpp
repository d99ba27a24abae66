#include "partial_wave.h"

#include "internal/constants.h"

#include <twobody/basics.h>
#include <twobody/kinematics.h>

#include <cerrno>
#include <cctype>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace PhaseShift {

const std::array<PartialWave, kWaves> kPartialWaves = {{
    {"S11", "s11.dat", 0, 1, 1},
    {"P11", "p11.dat", 1, 5, 3},
    {"P13", "p13.dat", 1, 5, 3},
}};

double relativeMomentum(double plab)
{
    const double ek = std::sqrt(kKaonMass * kKaonMass + plab * plab);
    double sqrts = std::sqrt((ek + kProtonMass) * (ek + kProtonMass) - plab * plab);
    // Rounding can put sqrt(s) a hair below threshold, where triangle would stop the
    // process; the pair is then at rest.
    if (sqrts < kProtonMass + kKaonMass)
        sqrts = kProtonMass + kKaonMass;
    return std::sqrt(std::fmax(Misc::triangle(sqrts, kProtonMass, kKaonMass), 0.0));
}

namespace {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The formatted text in full, however long (a path may be thousands of characters).
std::string format(const char* fmt, ...)
{
    va_list args, again;
    va_start(args, fmt);
    va_copy(again, args);
    // The analyzer of clang 14 misses va_start on this path.
    const int n =
        std::vsnprintf(nullptr, 0, fmt, args); // NOLINT(clang-analyzer-valist.Uninitialized)
    va_end(args);
    std::string text(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(&text[0], text.size() + 1, fmt, again);
    va_end(again);
    return text;
}

// A cursor over the file's text that counts line ends, so errors can name the line.
class Scanner {
public:
    explicit Scanner(const std::string& text) : pos_(text.c_str()), end_(pos_ + text.size()) {}

    // Moves past the current line, its line end included, however long it is.
    void skipLine()
    {
        const void* nl = std::memchr(pos_, '\n', static_cast<size_t>(end_ - pos_));
        pos_ = nl ? static_cast<const char*>(nl) + 1 : end_;
        if (nl)
            ++line_;
    }

    // Skips white space, line ends included, as a scanf conversion does.
    void skipSpace()
    {
        for (; pos_ < end_ && std::isspace(static_cast<unsigned char>(*pos_)); ++pos_)
            if (*pos_ == '\n')
                ++line_;
    }

    bool atEnd() const { return pos_ == end_; }
    long long line() const { return line_; }

    // Converts one floating-point number after optional white space; with sameLine, that
    // space may not hold a line end.
    bool number(double& x, bool sameLine = false)
    {
        const long long startLine = line_;
        skipSpace();
        if (pos_ == end_ || (sameLine && line_ != startLine))
            return false;
        char* stop = nullptr;
        x = std::strtod(pos_, &stop); // stops at the string's terminating NUL at the latest
        if (stop == pos_)
            return false;
        pos_ = stop;
        return true;
    }

private:
    const char* pos_;
    const char* end_;
    long long line_ = 1; // a file of more than 2^31 lines must not wrap it
};

} // namespace

bool parseWaveTable(const std::string& text, const PartialWave& wave, WaveTable& table,
                    std::string& error)
{
    Scanner in(text);
    in.skipLine(); // header

    double previous = 0.0;
    long long line = 0;
    for (int i = 0; i < kRows; ++i) {
        double plab = 0.0, degrees = 0.0;
        in.skipSpace();
        line = in.line();
        table.line[i] = line;
        if (in.atEnd()) {
            error = format("only %d data rows, %d needed", i, kRows);
            return false;
        }
        if (!in.number(plab) || !in.number(degrees, true)) {
            error = format("line %lld (row %d): expected two numbers, laboratory momentum "
                           "(MeV/c) and phase shift (degrees)",
                           line, i);
            return false;
        }
        in.skipLine();

        if (i == 0) {
            table.q[0] = 0.0; // row 0's values are never used
        } else {
            if (!std::isfinite(plab) || !std::isfinite(degrees)) {
                error = format("line %lld (row %d): value is not finite", line, i);
                return false;
            }
            if (plab < 0.0) {
                error = format("line %lld (row %d): negative laboratory momentum %g MeV/c", line, i,
                               plab);
                return false;
            }
            if (i >= 2 && plab < previous) {
                error = format("line %lld (row %d): laboratory momentum %g MeV/c is below that "
                               "of the previous row, %g MeV/c",
                               line, i, plab, previous);
                return false;
            }
            previous = plab;
            // Beyond ~1e9 MeV/c, (E_K + m_p)^2 - p_lab^2 loses the digits that carry sqrt(s).
            if (plab > kMaxLabMomentum) {
                error = format("line %lld (row %d): laboratory momentum %g MeV/c is too large",
                               line, i, plab);
                return false;
            }
            table.q[i] = relativeMomentum(plab);
        }
        table.delta[i] = degrees * twobody_detail::kPi / 180;
        if (i > 0 && !std::isfinite(table.delta[i])) { // degrees * pi overflows
            error = format("line %lld (row %d): phase shift %g degrees is out of range", line, i,
                           degrees);
            return false;
        }

        if (i == wave.matchRow) {
            if (table.q[i] <= 0.0) {
                error = format("line %lld (row %d): the threshold fit at this row needs a "
                               "positive momentum",
                               line, i);
                return false;
            }
            table.a = std::tan(table.delta[i]) / Misc::ipow(table.q[i], wave.power);
            table.qm = table.q[i];
        }
    }

    const double qtop = kSteps * kDeltaQ;
    if (table.q[kRows - 1] < qtop) {
        error = format("line %lld (row %d): laboratory momentum %g MeV/c gives q = %g MeV/c; the "
                       "grid needs q >= %g MeV/c (a laboratory momentum of at least 599.3 MeV/c)",
                       line, kRows - 1, previous, table.q[kRows - 1], qtop);
        return false;
    }
    return true;
}

bool readWaveTable(const char* file, const PartialWave& wave, WaveTable& table, std::string& error)
{
    std::FILE* fp = std::fopen(file, "r");
    if (!fp) {
        error = format("cannot open %s: %s", file, std::strerror(errno));
        return false;
    }
    // Read one byte past the cap, so that a larger file is recognised without reading it all.
    std::string text;
    char buf[4096];
    size_t n;
    while (text.size() <= static_cast<size_t>(kMaxFileBytes) &&
           (n = std::fread(buf, 1, sizeof buf, fp)) > 0)
        text.append(buf, n);
    const bool failed = std::ferror(fp);
    const int err = errno;
    std::fclose(fp);
    if (failed) {
        error = format("cannot read %s: %s", file, std::strerror(err));
        return false;
    }
    if (text.size() > static_cast<size_t>(kMaxFileBytes)) {
        error = format("%s: larger than %ld bytes; a table of %d rows is far smaller", file,
                       kMaxFileBytes, kRows);
        return false;
    }
    if (!parseWaveTable(text, wave, table, error)) {
        error = std::string(file) + ": " + error;
        return false;
    }
    return true;
}

} // namespace PhaseShift
