// Placeholder: filled in by its own change.
#include "coulomb_wave.h"
