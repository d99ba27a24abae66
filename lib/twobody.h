// twobody: the whole library in one include.
#ifndef TWOBODY_TWOBODY_H
#define TWOBODY_TWOBODY_H

#include "version.h"
#include "basics.h"
#include "fatal.h"
#include "kinematics.h"
#include "utilities.h"
#include "clebsch_gordan.h"
#include "coulomb_correction.h"
#include "coulomb_wave.h"
#include "bessel.h"
#include "spherical_harmonics.h"
#include "cchcalc.h"

#endif
