// The builder's whole road in one call: read the three waves, resample them onto the grid
// and apply the Coulomb pass. Used by phaseshift's main and by the Python package.
#ifndef PHASESHIFT_BUILD_H
#define PHASESHIFT_BUILD_H

#include "grid.h"

#include <string>

namespace PhaseShift {

// Reads s11.dat, p11.dat and p13.dat from directory (the current directory when empty),
// resamples each wave onto the grid and corrects the three for the Coulomb interaction.
// Input that passes the reader's checks can still overflow in the resampling or in the
// Coulomb correction (phase shifts near the double limit, or huge ones on nearly equal
// momenta); such a table is refused, naming the file and the rows, so that only finite values
// come back. On bad input returns false with the one-line message phaseshift prints (a file
// inside directory is named by its path); delta and ddeltadq are then unspecified. A
// directory name with a NUL in it is refused, never cut short.
bool buildTables(const std::string& directory, Grid& delta, Grid& ddeltadq, std::string& error);

} // namespace PhaseShift

#endif
