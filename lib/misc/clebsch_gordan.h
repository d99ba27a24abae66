// Clebsch-Gordan coefficients <j1 m1; j2 m2 | J M> for coupling two angular momenta.
//
// Angular momenta and projections are doubles in units of hbar, each an integer or a
// half-integer, in the order j1, m1, j2, m2, J, M. Sign convention of Condon and
// Shortley: <1/2 1/2; 1/2 -1/2 | 0 0> = +1/sqrt(2). Both coefficient functions give 0
// when M != m1 + m2, J > j1 + j2, J < |j1 - j2| or |M| > J.
//
// Errors: cgc: GSL's handler for a negative j (abort by default; NaN with the handler off),
// NaN for non-finite or huge arguments; oldcgc and the factorial helpers: NaN, never GSL.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_CLEBSCH_GORDAN_H
#define TWOBODY_CLEBSCH_GORDAN_H

namespace Misc {

// <j1 m1; j2 m2 | J M> = (-1)^(j1 - j2 + M) sqrt(2J + 1) (j1 j2 J; m1 m2 -M), through GSL's
// 3-j symbol (the relation of Edmonds, Angular Momentum in Quantum Mechanics, §3.7). Every
// argument is snapped to the nearest multiple of 1/2 for the symbol and the sign, so small
// representation errors do no harm (the factor sqrt(2J + 1) takes J as given). Any j, m
// with 2j, 2m integral; |m| > j gives 0. A negative j1, j2 or J is a domain error of GSL's
// (default handler: abort; handler off: NaN). A non-finite argument, or one beyond
// 2.6e8 in magnitude, gives NaN; so does an overflow inside the symbol (j above ~450).
// Accuracy: GSL's symbol loses digits as j grows: within 4e-15 absolute for j <= 10, but
// only 3e-9 at j near 40, and values for j of 100 or more are meaningless. Use oldcgc
// there.
double cgc(double j1, double m1, double j2, double m2, double J, double M);

// <j1 m1; j2 m2 | J M> by the explicit Racah sum (Edmonds §3.6; Varshalovich, Moskalev and
// Khersonskii, Quantum Theory of Angular Momentum, §8.2), with exact comparisons (no
// snapping). The selection rules above return 0 first, as does |m1| > j1 or |m2| > j2.
// The double-precision sum is used where it is accurate; where it cancels or its
// factorials leave the double range, the same sum is evaluated exactly in integers and
// rounded once. Within 1e-14 absolute (6e-16 measured) for j1, j2, J <= 40, and exact to
// rounding up to j1 + j2 + J = 4000, in at most some tens of milliseconds. Beyond that, for
// a negative j, a non-finite argument, or j and m of mixed kinds (integer and
// half-integer), the result is NaN.
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
