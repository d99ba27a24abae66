// Placeholder: filled in by its own change.
#include "clebsch_gordan.h"
