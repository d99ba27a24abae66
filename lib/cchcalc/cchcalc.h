// Cartesian-harmonics calculator: factorial, double-factorial, binomial and trinomial
// tables, overlap integrals of traceless Cartesian tensor components over the unit sphere,
// and the tensor components of a direction.
//
// A CCHCalc object holds no data. All objects share one set of process-wide tables; the
// objects are a reference count on them: the first live object builds the tables, the
// destruction of the last one releases them (and prints three lines on standard output,
// through the message handler of <twobody/fatal.h>).
// Copies count like originals, so the tables are released exactly once, at the last
// destruction of any mix of copies and originals.
//
// An exponent triple (a1, a2, a3) names the monomial n_x^a1 n_y^a2 n_z^a3 of degree
// L = a1 + a2 + a3, or the component of the order-L tensor with a1 x-, a2 y- and a3
// z-indices.
//
// Tables absent: every call that has to read a table while the tables are absent (after a
// direct ClearStaticData with objects still alive) is fatal: it calls the fatal handler of
// <twobody/fatal.h>, routine "CCHCalc::NAME", whose default prints one line on standard
// error and ends the process with exit status 1. If the handler returns, the call returns
// NaN (overlapinit does nothing); a handler's exception leaves the tables as they were.
// Calls whose result needs no table (degree 0, the zero overlaps of mismatched degree or
// parity, the monomials) work without them.
//
// Not thread-safe: the tables, the count and the lazily filled overlap cache are shared
// and unguarded; use the class from one thread.
//
// The tables are released only by the last destructor (or ClearStaticData), never by the
// library's own static teardown, so a CCHCalc at namespace scope is safe: its destruction
// at exit releases them once, whatever the order of static destruction.
//
// Errors: NaN outside the tables' range; fatal (by default one line on standard error, exit
// status 1) when a table is read while the tables are absent; informational lines (by
// default on standard output) when the tables are released.
// Every family's behaviour outside its domain: docs/errors.md.
#ifndef TWOBODY_CCHCALC_H
#define TWOBODY_CCHCALC_H

#include <vector>

class CCHCalc {
public:
    // Largest n whose factorial the tables hold; every table size follows from it.
    static constexpr int LMAXFACT = 56;

    // Builds the tables if no object is alive, then counts this object.
    CCHCalc();
    // Counts the copy as one more live object (the tables are shared, nothing is copied).
    CCHCalc(const CCHCalc&);
    // Changes nothing: both objects stay counted once.
    CCHCalc& operator=(const CCHCalc&) = default;
    // Uncounts this object; the last one releases the tables and sends the warning of
    // ClearStaticData, then "CCHCalc static data cleared", to the message handler.
    ~CCHCalc();

    // Builds every absent table (factorials, double factorials, binomials, an empty overlap
    // cache); tables that are present, and the filled slots of a present cache, are kept.
    void InitStaticData();
    // Sends a two-line warning to the message handler, releases every table (also the
    // overlap cache) and leaves the tables absent; the object count is unchanged. Safe to
    // repeat.
    void ClearStaticData();

    // Number of live CCHCalc objects (copies included).
    static int LiveObjects();
    // True while the tables are present.
    static bool TablesPresent();
    // True if the tables are present and the overlap-cache slot of the triple (in any
    // order) has been filled; false for a triple outside the cache (a negative exponent
    // or a1 + a2 + a3 > LMAXFACT).
    static bool OverlapSlotFilled(int a1, int a2, int a3);

    // --- Combinatorics. Each call needs the tables present. ---

    // n!. Exact for n <= 22, the table's running product up to n = LMAXFACT; above it the
    // running product is continued on the spot (same rounding a longer table would carry),
    // +Inf from n = 171 on. NaN for n < 0.
    double Factorial(int n) const;
    // n!! = n (n-2) (n-4) ..., with 0!! = 1!! = 1 and (-1)!! = 1. Table up to
    // n = 2 LMAXFACT + 1 = 113; above it the running product is continued on the spot
    // (+Inf once it overflows). NaN for n < -1.
    double DoubleFactorial(int n) const;
    // (a + b)! / (a! b!), the number of ways to split a + b items into groups of sizes a and
    // b (group sizes, not (n, k): Binomial(2, 3) = C(5, 2) = 10). From the table for
    // a + b <= LMAXFACT; above it computed on the spot as C(a + b, min(a, b)) by the same
    // running product (+Inf if the value overflows). NaN if a < 0 or b < 0.
    double Binomial(int a, int b) const;
    // Exchanges the values of x and y.
    void iswitch(int& x, int& y) const;
    // The multinomial coefficient (i + j + k)! / (i! j! k!), in any order of the arguments.
    // From the table for i + j + k <= LMAXFACT, computed on the spot above (as Binomial).
    // NaN if any argument is negative.
    double Trinomial(int i, int j, int k) const;

    // --- Overlap coefficients O(a; b) = Integral over the unit sphere of A_a(n) A_b(n)
    // dOmega, with A the traceless tensor components of GetAFromE; equally the integral of
    // A_a(n) n_x^b1 n_y^b2 n_z^b3. Symmetric in a and b up to rounding, unchanged when the
    // axes of both triples are permuted alike, 4 pi for a = b = (0, 0, 0).
    // Accuracy, for every degree L <= 57, directly and from the cache: within 1e-13 of the
    // scale sqrt(O(a; a) O(b; b)) (measured max 9e-15 against exact rational values). The
    // alternating triple sum is formed in double up to L = 19, where it loses under 10 ulp,
    // and above that in 113-bit arithmetic, rounded once. ---

    // O(a1, a2, a3; b1, b2, b3). 0 when the degrees differ or some a_m - b_m is odd (no
    // table is read, the cache is untouched). For a1 + a2 + a3 <= LMAXFACT the value comes
    // from the cache: the first call for a sorted triple fills its slot for every b at once
    // (same values as GetOverlap0), later calls are a constant-time lookup. Above LMAXFACT
    // the value is GetOverlap0's, uncached. NaN if any exponent is negative.
    double GetOverlap(int a1, int a2, int a3, int b1, int b2, int b3) const;
    // O(a; b) by its closed-form triple sum, touching no cache. 0 when the degrees differ
    // or some a_m - b_m is odd. Valid range: every exponent in 0..LMAXFACT and
    // L = a1 + a2 + a3 <= LMAXFACT + 1 = 57; NaN outside it (a negative exponent, a larger
    // exponent or degree). Cost: about 0.1 us at L = 10, 3 us at L = 20, 7 us at L = 40.
    double GetOverlap0(int a1, int a2, int a3, int b1, int b2, int b3) const;
    // Fills the cache slot of the triple if it is empty: O(a; b) for every b of the same
    // degree and parities. The triple may come in any order (its sorted form is filled).
    // Does nothing for a negative exponent or a1 + a2 + a3 > LMAXFACT.
    void overlapinit(int a1, int a2, int a3) const;

    // --- Tensor components of a direction. Angles in radians: the direction of polar angle
    // theta and azimuth phi is (cos phi sin theta, sin phi sin theta, cos theta). ---

    // The monomial ex^lx ey^ly ez^lz, any exponents (x^0 = 1 also for x = 0, a negative
    // exponent gives the reciprocal power). Reads no table. Relative error about L ulp
    // (measured max 8e-15 up to L = 57, angles included).
    double GetMFromE(int lx, int ly, int lz, double ex, double ey, double ez) const;
    // GetMFromE of the unit vector of the angles.
    double GetMFromThetaPhi(int lx, int ly, int lz, double theta, double phi) const;
    // The (lx, ly, lz) component of the traceless part of e (x) e (x) ... (x) e (L factors)
    // for a unit vector e. The direction is not normalised: trace terms take |e|^2 = 1, so
    // for another length the result is not that vector's traceless component. 1 for
    // L = 0 (no table read). Valid range: each exponent in 0..LMAXFACT and
    // L <= LMAXFACT + 1 = 57; NaN outside it. Accuracy for a unit vector and every L <= 57:
    // within 1e-13 of max(|A|, sqrt(O(l; l) / 4 pi)), the RMS of the component over the
    // sphere (measured max 1e-14; 3e-14 for GetAFromThetaPhi, which adds the rounding of
    // the angles' sines and cosines). The alternating sum is formed in double up to L = 8
    // and in 113-bit arithmetic above, rounded once: about 1 us at L = 10, 13 us at L = 56.
    double GetAFromE(int lx, int ly, int lz, double ex, double ey, double ez) const;
    // GetAFromE of the unit vector of the angles.
    double GetAFromThetaPhi(int lx, int ly, int lz, double theta, double phi) const;

private:
    // A filled overlap slot of a sorted triple a: row r holds b1 = (a1 mod 2) + 2r, entry c
    // of the row b2 = (a2 mod 2) + 2c, b3 = L - b1 - b2. Empty while unfilled.
    using OverlapSlot = std::vector<std::vector<double>>;

    // Hands the absent-tables line to the fatal handler; NaN if the handler returns.
    static double TablesAbsent(const char* routine);
    // The empty overlap cache: one slot per sorted triple of degree <= LMAXFACT.
    static OverlapSlot* MakeOverlapCache();
    // Index of the slot of the sorted triple a1 >= a2 >= a3 >= 0, a1 + a2 + a3 <= LMAXFACT.
    static int SlotIndex(int a1, int a2, int a3);

    // Plain pointers on purpose: static members with destructors would be torn down at exit
    // in an order unrelated to that of a user's namespace-scope CCHCalc, whose destructor
    // then releases them a second time. Only ClearStaticData releases the tables.
    static int INITIALIZED;      // number of live objects
    static double* fact;         // n!, n = 0..LMAXFACT
    static double* doublefact;   // n!!, n = 0..2 LMAXFACT + 1
    static double** binomial;    // row n: C(n, k), k = 0..n
    static OverlapSlot* overlap; // slots by sorted triple
};

#endif
