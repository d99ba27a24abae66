// Placeholder: filled in by its own change.
#ifndef TWOBODY_CLEBSCH_GORDAN_H
#define TWOBODY_CLEBSCH_GORDAN_H
#endif
