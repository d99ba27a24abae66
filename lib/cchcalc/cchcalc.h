// Placeholder: filled in by its own change.
#ifndef TWOBODY_CCHCALC_H
#define TWOBODY_CCHCALC_H
#endif
