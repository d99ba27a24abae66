// Placeholder: filled in by its own change.
#ifndef TWOBODY_COULOMB_WAVE_H
#define TWOBODY_COULOMB_WAVE_H
#endif
