// Placeholder: filled in by its own change.
#include "spherical_harmonics.h"
