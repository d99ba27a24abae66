// Clebsch-Gordan coefficients <j1 m1; j2 m2 | J M> for coupling two angular momenta.
//
// Angular momenta and projections are doubles in units of hbar, each an integer or a
// half-integer, in the order j1, m1, j2, m2, J, M. Sign convention of Condon and
// Shortley: <1/2 1/2; 1/2 -1/2 | 0 0> = +1/sqrt(2). Both coefficient functions give 0
// when a selection rule fails: M != m1 + m2, J > j1 + j2, J < |j1 - j2|, |m1| > j1,
// |m2| > j2 or |M| > J (so a negative j gives 0).
//
// Errors: NaN for a non-finite argument and beyond j1 + j2 + J = 4000; oldcgc also for j
// and m of mixed kinds; the factorial helpers NaN only for NaN or huge arguments. Never
// GSL's handler. Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_CLEBSCH_GORDAN_H
#define TWOBODY_CLEBSCH_GORDAN_H

namespace Misc {

// <j1 m1; j2 m2 | J M>. Every argument is first snapped to the nearest multiple of 1/2, so
// small representation errors do no harm; values of mixed kinds (j1 integer, m1
// half-integer) then give 0. Up to j = 7/2 through GSL's 3-j symbol,
// (-1)^(j1 - j2 + M) sqrt(2J + 1) (j1 j2 J; m1 m2 -M) (Edmonds, Angular Momentum in
// Quantum Mechanics, §3.7), within 1e-15 absolute (the factor sqrt(2J + 1) takes J as
// given); above, the value of oldcgc at the snapped arguments, correctly rounded. NaN for
// a coefficient past the selection rules with j1 + j2 + J > 4000, and for an argument
// beyond 2.6e8 in magnitude.
double cgc(double j1, double m1, double j2, double m2, double J, double M);

// <j1 m1; j2 m2 | J M> by the Racah sum (Edmonds §3.6; Varshalovich, Moskalev and
// Khersonskii, Quantum Theory of Angular Momentum, §8.2), with exact comparisons (no
// snapping). Correctly rounded for j1 + j2 + J <= 4000 (the sum is carried with as many
// bits as its cancellation needs); typically microseconds at j ~ 40, some tens at j ~ 200,
// milliseconds near the top of the range. NaN past the selection rules beyond that range, for a
// non-finite argument, for a value that is no multiple of 1/2, and for j and m of mixed kinds.
double oldcgc(double j1, double m1, double j2, double m2, double J, double M);

// a!/b! for a - b integral, as the product (b+1)(b+2)...a when a > b, or 1 over
// (a+1)(a+2)...b when a < b; 1 when a == b. A product whose range passes through 0 is 0
// (a > b) or gives inf (a < b): 1/(-n)! behaves as 0. A product that overflows stops
// there with its signed infinity (0 if a factor 0 is still to come), so every call returns
// at once. A NaN or infinite argument, or one of magnitude 2^53 or more (where a step of 1
// is lost), gives NaN.
double cgc_fractorial(double a, double b);

// x! as the product 1 * 2 * ... * floor(x); 1 for x < 1 (0 and negative x included),
// +inf for x >= 171 (beyond the double range), NaN for NaN.
double cgc_factorial(double x);

// The Kronecker delta: 1 if a == b, else 0.
int cgc_delta(int a, int b);

} // namespace Misc

#endif
