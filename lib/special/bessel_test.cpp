// Placeholder: filled in by its own change.
#include "bessel.h"
