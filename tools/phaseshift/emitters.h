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
// temporary file beside it, NAME.tmp-XXXXXX (six random characters, mode 0666 less the
// umask), and renamed into place only after both were written completely; while the second
// is renamed, the first file's earlier version is kept as pk_phaseshiftdat.cc.old-XXXXXX and
// put back if that rename fails. So a failure leaves the earlier pair untouched: the
// directory holds either both old files or both new ones. The renames hold an exclusive
// flock on the directory, so concurrent writers into one directory, in other processes or
// other threads, leave the pair of one of them (where the directory can be opened for
// reading and its file system supports flock). Exceeding the file-size limit is reported as
// "File too large": SIGXFSZ is held back in the calling thread meanwhile. Thread-safe; the
// process's umask and signal dispositions are left alone. A directory name with a NUL in it
// is refused. On failure returns false with a one-line reason in error.
bool writeOutputs(const std::string& directory, const Grid& delta, const Grid& ddeltadq,
                  std::string& error);

// Makes SIGINT, SIGTERM and SIGHUP, each where its action is still the default, first remove
// the temporary files of the writes in progress in this process and then end it as the
// default would. Installed once per process and never taken back: a handler installed later
// by anyone else replaces it (only the cleanup is lost), and none is ever dropped. Call it
// early, before other threads install handlers, as phaseshift's main does. Without it, and
// after SIGKILL, the temporary files of an interrupted write remain and may be deleted.
void installSignalCleanup();

} // namespace PhaseShift

#endif
