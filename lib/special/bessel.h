// Placeholder: filled in by its own change.
#ifndef TWOBODY_BESSEL_H
#define TWOBODY_BESSEL_H
#endif
