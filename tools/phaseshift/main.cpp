// phaseshift: builds the kaon-proton phase-shift tables from s11.dat, p11.dat and p13.dat in
// the current directory and writes pk_phaseshiftdat.cc and pk_phaseshifts.dat there.
#include "build.h"
#include "emitters.h"

#include <twobody/version.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Keep in step with phaseshift.1, which says the same at more length.
const char* const kUsage =
    "Usage: phaseshift [-h | --help | --version]\n"
    "Reads s11.dat, p11.dat and p13.dat (kaon laboratory momentum in MeV/c and phase shift\n"
    "in degrees, one header line, 61 rows) from the current directory, resamples the phase\n"
    "shifts onto q = 0..350 MeV/c in steps of 0.5 MeV/c, corrects them for the Coulomb\n"
    "interaction and writes pk_phaseshiftdat.cc and pk_phaseshifts.dat there.\n"
    "Prints nothing on success; on bad input prints the reason and writes nothing.\n"
    "\n"
    "Options:\n"
    "  -h, --help   print this text and exit\n"
    "  --version    print the version and exit\n"
    "\n"
    "Both outputs are written first as pk_phaseshiftdat.cc.tmp-XXXXXX and\n"
    "pk_phaseshifts.dat.tmp-XXXXXX, then renamed into place; pk_phaseshiftdat.cc.old-XXXXXX\n"
    "holds the earlier pk_phaseshiftdat.cc meanwhile. After a run killed by SIGKILL, delete\n"
    "the .tmp- files; move an .old- file back to pk_phaseshiftdat.cc, or delete it and run\n"
    "phaseshift again.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  bad input or a failed write\n"
    "  2  bad usage\n"
    "\n"
    "See phaseshift(1) for the input format, the outputs and the messages.\n";

const char* const kVersion = "phaseshift (twobody) " TWOBODY_VERSION_STRING "\n";

int fail(const std::string& message)
{
    std::fprintf(stderr, "phaseshift: %s\n", message.c_str());
    return 1;
}

// Prints text on standard output; a full device or a closed stream is a failed write.
int print(const char* text)
{
    if (std::fputs(text, stdout) == EOF || std::fflush(stdout) != 0)
        return fail(std::string("cannot write to standard output: ") + std::strerror(errno));
    return 0;
}

bool is(const char* arg, const char* option) { return std::strcmp(arg, option) == 0; }

} // namespace

int main(int argc, char** argv)
{
    using namespace PhaseShift;
    if (argc > 1) {
        const bool help = is(argv[1], "--help") || is(argv[1], "-h");
        const bool version = is(argv[1], "--version");
        if (argc == 2 && (help || version))
            return print(help ? kUsage : kVersion);
        std::fprintf(stderr,
                     "phaseshift: unexpected argument '%s'\n"
                     "Try 'phaseshift --help' for more information.\n",
                     help || version ? argv[2] : argv[1]);
        return 2;
    }

    installSignalCleanup();
    Grid delta{}, ddeltadq{};
    std::string error;
    if (!buildTables("", delta, ddeltadq, error))
        return fail(error);
    if (!writeOutputs("", delta, ddeltadq, error))
        return fail(error);
    return 0;
}
