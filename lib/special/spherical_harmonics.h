// Placeholder: filled in by its own change.
#ifndef TWOBODY_SPHERICAL_HARMONICS_H
#define TWOBODY_SPHERICAL_HARMONICS_H
#endif
