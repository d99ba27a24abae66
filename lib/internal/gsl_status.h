// One place where the status of every GSL call is turned into the library's documented
// result; not installed.
//
// GSL reports an error twice: to its current error handler (the default one aborts; the
// library installs none) and through the returned status. With the handler off, the value
// GSL writes beside an error status may be anything, so a status that is dropped is a wrong
// value handed on as right. Every GSL call in the library goes through this header:
//
//   gslStatusOutcome(status)   what the status means: Ok, Underflow, Overflow or Failed;
//   gslValue(status, v, ovf)   the value to return for a scalar result v: v if Ok, 0 on an
//                              underflow, ovf (the infinity the function runs to, or NaN)
//                              on an overflow, NaN on any other error (a domain error, no
//                              convergence, a loss of accuracy, a runaway iteration, ...);
//   gslCall(ovf, f, args...)   calls a GSL "_e" function f(args..., &result) with the result
//                              preset to NaN (never stale memory) and returns gslValue.
//
// Routines that get several values and a scaling exponent from one call (the Coulomb
// functions) use gslStatusOutcome directly.
#ifndef TWOBODY_INTERNAL_GSL_STATUS_H
#define TWOBODY_INTERNAL_GSL_STATUS_H

#include "internal/constants.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_sf_result.h>

namespace twobody_detail {

enum class GslOutcome { Ok, Underflow, Overflow, Failed };

constexpr GslOutcome gslStatusOutcome(int status)
{
    switch (status) {
    case GSL_SUCCESS:
        return GslOutcome::Ok;
    case GSL_EUNDRFLW:
        return GslOutcome::Underflow;
    case GSL_EOVRFLW:
        return GslOutcome::Overflow;
    default:
        return GslOutcome::Failed;
    }
}

constexpr double gslValue(int status, double value, double overflow)
{
    switch (gslStatusOutcome(status)) {
    case GslOutcome::Ok:
        return value;
    case GslOutcome::Underflow:
        return 0.0;
    case GslOutcome::Overflow:
        return overflow;
    case GslOutcome::Failed:
        break;
    }
    return kNaN;
}

template <class Function, class... Args>
double gslCall(double overflow, Function f, Args... args)
{
    gsl_sf_result r{kNaN, kNaN};
    const int status = f(args..., &r);
    return gslValue(status, r.val, overflow);
}

} // namespace twobody_detail

#endif
