// Placeholder: filled in by its own change.
#ifndef TWOBODY_COULOMB_CORRECTION_H
#define TWOBODY_COULOMB_CORRECTION_H
#endif
