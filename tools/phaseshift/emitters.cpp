#include "emitters.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace PhaseShift {

void writeSourceFragment(std::FILE* out, const Grid& delta, const Grid& ddeltadq)
{
    std::fprintf(out, "   double delqdata=%g;\n", kDeltaQ);
    std::fprintf(out, "   int nqdata=%d;\n", kSteps);
    std::fprintf(out, "   double data_delta[%d][%d]={", kWaves, kPoints);
    for (int w = 0; w < kWaves; ++w) {
        std::fprintf(out, "{0");
        for (int k = 1; k <= kSteps; ++k)
            std::fprintf(out, ",%g", delta[w][k]);
        std::fprintf(out, "}");
        if (w < kWaves - 1)
            std::fprintf(out, ",\n      ");
    }
    std::fprintf(out, "};\n");
    std::fprintf(out, "   double data_ddeltadq[%d][%d]={", kWaves, kPoints);
    for (int w = 0; w < kWaves; ++w) {
        // Every row opens with the S11 derivative at q = 0, which the Coulomb pass zeroes.
        std::fprintf(out, "{%g", ddeltadq[0][0]);
        for (int k = 1; k <= kSteps; ++k)
            std::fprintf(out, ",%g", ddeltadq[w][k]);
        std::fprintf(out, "}");
        if (w < kWaves - 1)
            std::fprintf(out, ",\n      ");
    }
    std::fprintf(out, "};\n");
}

void writePlotTable(std::FILE* out, const Grid& delta, const Grid& ddeltadq)
{
    for (int k = 0; k < kSteps; ++k) {
        std::fprintf(out, "%5.2f ", k * kDeltaQ);
        for (int w = 0; w < kWaves; ++w)
            std::fprintf(out, "%8.5lf %8.5lf ", delta[w][k], ddeltadq[w][k]);
        std::fprintf(out, "\n");
    }
}

namespace {

// An output file in the making: a temporary file beside its final name.
struct PendingFile {
    std::string name;
    std::string temp;
};

bool writeTemp(PendingFile& file, void (*emit)(std::FILE*, const Grid&, const Grid&),
               const Grid& delta, const Grid& ddeltadq, std::string& error)
{
    std::string pattern = file.name + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        error = "cannot create a file beside " + file.name + ": " + std::strerror(errno);
        return false;
    }
    file.temp = pattern;
    // mkstemp makes the file private; give it the permissions fopen(name, "w") would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    std::FILE* out = fdopen(fd, "w");
    if (!out) {
        error = "cannot write " + file.name + ": " + std::strerror(errno);
        close(fd);
        return false;
    }
    emit(out, delta, ddeltadq);
    const bool bad = std::fflush(out) != 0 || std::ferror(out) || fsync(fd) != 0;
    const int err = errno;
    if (std::fclose(out) != 0 || bad) {
        error = "cannot write " + file.name + ": " + std::strerror(bad ? err : errno);
        return false;
    }
    return true;
}

} // namespace

bool writeOutputs(const std::string& directory, const Grid& delta, const Grid& ddeltadq,
                  std::string& error)
{
    const std::string prefix = directory.empty() ? "" : directory + "/";
    PendingFile files[2] = {{prefix + kSourceFile, {}}, {prefix + kTableFile, {}}};
    bool ok = writeTemp(files[0], writeSourceFragment, delta, ddeltadq, error) &&
              writeTemp(files[1], writePlotTable, delta, ddeltadq, error);
    for (PendingFile& f : files) {
        if (ok && std::rename(f.temp.c_str(), f.name.c_str()) != 0) {
            error = "cannot replace " + f.name + ": " + std::strerror(errno);
            ok = false;
        }
        if (!ok && !f.temp.empty())
            std::remove(f.temp.c_str());
    }
    return ok;
}

} // namespace PhaseShift
