// Placeholder: filled in by its own change.
#include "cchcalc.h"
