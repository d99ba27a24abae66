// phaseshift: builds the kaon-proton phase-shift tables from s11.dat, p11.dat and p13.dat in
// the current directory and writes pk_phaseshiftdat.cc and pk_phaseshifts.dat there.
#include "build.h"
#include "emitters.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const kUsage =
    "Usage: phaseshift\n"
    "Reads s11.dat, p11.dat and p13.dat (kaon laboratory momentum in MeV/c and phase shift\n"
    "in degrees, one header line, 61 rows) from the current directory, resamples the phase\n"
    "shifts onto q = 0..350 MeV/c in steps of 0.5 MeV/c, corrects them for the Coulomb\n"
    "interaction and writes pk_phaseshiftdat.cc and pk_phaseshifts.dat there.\n"
    "Prints nothing on success; on bad input prints the reason and writes nothing.\n";

int fail(const std::string& message)
{
    std::fprintf(stderr, "phaseshift: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace PhaseShift;
    if (argc > 1) {
        if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        std::fprintf(stderr,
                     "phaseshift: unexpected argument '%s'\n"
                     "Try 'phaseshift --help' for more information.\n",
                     argv[1]);
        return 2;
    }

    Grid delta{}, ddeltadq{};
    std::string error;
    if (!buildTables("", delta, ddeltadq, error))
        return fail(error);
    if (!writeOutputs("", delta, ddeltadq, error))
        return fail(error);
    return 0;
}
