// The builder's two output files.
#ifndef PHASESHIFT_EMITTERS_H
#define PHASESHIFT_EMITTERS_H

#include "grid.h"

#include <cstdio>
#include <string>

namespace PhaseShift {

constexpr const char* kSourceFile = "pk_phaseshiftdat.cc";
constexpr const char* kTableFile = "pk_phaseshifts.dat";

// Writes the source fragment: eight lines declaring delqdata, nqdata and the [3][701]
// arrays data_delta and data_ddeltadq (each row opening with the q = 0 value 0).
void writeSourceFragment(std::FILE* out, const Grid& delta, const Grid& ddeltadq);

// Writes the plotting table: 700 lines (q = 0 to 349.5 MeV/c) of q and, for S11, P11 and
// P13, the phase shift (rad) and its derivative (rad per MeV/c).
void writePlotTable(std::FILE* out, const Grid& delta, const Grid& ddeltadq);

// Writes both files into directory (the current directory when empty). Each is written to a
// temporary file beside it, NAME.tmp-XXXXXX (six random characters), and renamed into place
// only after both were written completely; while the second is renamed, the first file's
// earlier version is kept as pk_phaseshiftdat.cc.old-XXXXXX and put back if that rename
// fails. So a failure leaves the earlier pair untouched: the directory holds either both old
// files or both new ones. During the call SIGINT, SIGTERM and SIGHUP, where they would end
// the process, first remove the temporary files; SIGXFSZ, unless caught or ignored by the
// caller, is ignored, so that exceeding the file-size limit is reported as "File too large".
// After SIGKILL the temporary files remain and may be deleted. On failure returns false with
// a one-line reason in error.
bool writeOutputs(const std::string& directory, const Grid& delta, const Grid& ddeltadq,
                  std::string& error);

} // namespace PhaseShift

#endif
