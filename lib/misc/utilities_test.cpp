// Placeholder: filled in by its own change.
#include "utilities.h"
