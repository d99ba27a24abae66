// Placeholder: filled in by its own change.
#include "coulomb_correction.h"
