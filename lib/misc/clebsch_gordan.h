// Clebsch-Gordan coefficients <j1 m1; j2 m2 | J M> for coupling two angular momenta.
//
// Angular momenta and projections are doubles in units of hbar, each an integer or a
// half-integer, in the order j1, m1, j2, m2, J, M. Sign convention of Condon and
// Shortley: <1/2 1/2; 1/2 -1/2 | 0 0> = +1/sqrt(2). Both coefficient functions give 0
// when M != m1 + m2, J > j1 + j2, J < |j1 - j2| or |M| > J.
#ifndef TWOBODY_CLEBSCH_GORDAN_H
#define TWOBODY_CLEBSCH_GORDAN_H

namespace Misc {

// <j1 m1; j2 m2 | J M> = (-1)^(j1 - j2 + M) sqrt(2J + 1) (j1 j2 J; m1 m2 -M), through GSL's
// 3-j symbol. Every argument is snapped to the nearest multiple of 1/2 for the symbol and
// the sign, so small representation errors do no harm (the factor sqrt(2J + 1) takes J
// as given). Any j, m with 2j, 2m integral; |m| > j gives 0. A negative j1, j2 or J is a
// domain error of GSL's (default handler: abort; handler off: NaN).
double cgc(double j1, double m1, double j2, double m2, double J, double M);

// <j1 m1; j2 m2 | J M> by the explicit Racah sum, with exact comparisons (no snapping).
// Agrees with cgc on valid input. Never reports an error; j1 and m1 not both integral
// or both half-integral gives NaN. The factorials are plain double products: once one
// leaves the double range (170! is the last that fits) the result is meaningless, so
// this serves moderate angular momenta only.
double oldcgc(double j1, double m1, double j2, double m2, double J, double M);

// a!/b! for a - b integral, as the product (b+1)(b+2)...a when a > b, or 1 over
// (a+1)(a+2)...b when a < b; 1 when a == b (or either is NaN). A product whose range
// passes through 0 is 0 (a > b) or gives inf (a < b): 1/(-n)! behaves as 0.
double cgc_fractorial(double a, double b);

// x! as the product 1 * 2 * ... * floor(x); 1 for x < 1 (0 and negative x included).
double cgc_factorial(double x);

// The Kronecker delta: 1 if a == b, else 0.
int cgc_delta(int a, int b);

} // namespace Misc

#endif
