// CCHCalc: overlap coefficients of traceless Cartesian tensor components, and their cache.
#include "cchcalc.h"
#include "cchcalc_quad.h"

#include "basics.h"
#include "internal/constants.h"

#include <limits>

namespace {

constexpr int N = CCHCalc::LMAXFACT + 1;
using twobody_detail::kNaN;
using twobody_detail::kPi;

constexpr int Min(int x, int y) { return x < y ? x : y; }

// Slots are numbered by sorted triple a1 >= a2 >= a3 >= 0 with a1 + a2 + a3 <= LMAXFACT,
// a3 running fastest: the slot of (a1, a2, a3) is base[a1][a2] + a3.
struct SlotNumbering {
    int base[N][N] = {};
    int count = 0;
};

constexpr SlotNumbering MakeSlotNumbering()
{
    SlotNumbering s;
    for (int a1 = 0; a1 < N; ++a1)
        for (int a2 = 0; a2 <= Min(a1, N - 1 - a1); ++a2) {
            s.base[a1][a2] = s.count;
            s.count += Min(a2, N - 1 - a1 - a2) + 1;
        }
    return s;
}

constexpr SlotNumbering kSlots = MakeSlotNumbering();

// Sorts a into non-increasing order, applying every exchange to b as well.
template <class Swap>
void SortTriples(int& a1, int& a2, int& a3, int& b1, int& b2, int& b3, Swap swap)
{
    if (a2 > a1) {
        swap(a1, a2);
        swap(b1, b2);
    }
    if (a3 > a2) {
        swap(a2, a3);
        swap(b2, b3);
        if (a2 > a1) {
            swap(a1, a2);
            swap(b1, b2);
        }
    }
}

// The screening shared by GetOverlap and GetOverlap0, made before any table is read: NaN
// for a negative exponent, 0 when the degrees differ or some a_m - b_m is odd (the sphere
// integral of an odd function). Returns true, with the result in value, when it settles
// the overlap; false, with the common degree, when the sum has to be evaluated.
inline bool Screened(int a1, int a2, int a3, int b1, int b2, int b3, double& value,
                     long long& degree)
{
    value = 0.0;
    if ((a1 | a2 | a3 | b1 | b2 | b3) < 0) {
        value = kNaN;
        return true;
    }
    degree = static_cast<long long>(a1) + a2 + a3;
    if (static_cast<long long>(b1) + b2 + b3 != degree)
        return true;
    return (a1 - b1) % 2 != 0 || (a2 - b2) % 2 != 0 || (a3 - b3) % 2 != 0;
}

// O(a; b) of degree L > kDoubleSumMaxDegree: the triple sum of GetOverlap0 in Quad, rounded
// once. Same terms, (-1/2)^n (2L-2n-1)!! n! / prod_m [i_m! ((b_m-a_m)/2+i_m)! (a_m-2i_m)!].
double OverlapQuad(const int (&a)[3], const int (&b)[3], int L)
{
    using namespace cchcalc_detail;
    const QuadFactorials& q = quadFactorials();
    Quad g[3][kMaxTerms];
    int lo[3], len[3];
    for (int m = 0; m < 3; ++m) {
        lo[m] = a[m] > b[m] ? (a[m] - b[m]) / 2 : 0;
        len[m] = a[m] / 2 - lo[m] + 1;
        const int shift = (b[m] - a[m]) / 2;
        for (int t = 0; t < len[m]; ++t) {
            const int i = lo[m] + t;
            g[m][t] = q.inverseFact[i] * q.inverseFact[shift + i] * q.inverseFact[a[m] - 2 * i];
        }
    }
    const Quad S = TripleSum(g, lo, len, q.overlapTerm[L]);
    Quad P = q.overlapPrefactor[L];
    for (int m = 0; m < 3; ++m)
        P = P * q.fact[a[m]] * q.fact[b[m]];
    return static_cast<double>(S * P * static_cast<Quad>(kPi));
}

} // namespace

CCHCalc::OverlapSlot* CCHCalc::MakeOverlapCache() { return new OverlapSlot[kSlots.count]; }

int CCHCalc::SlotIndex(int a1, int a2, int a3) { return kSlots.base[a1][a2] + a3; }

bool CCHCalc::OverlapSlotFilled(int a1, int a2, int a3)
{
    if (!overlap || a1 < 0 || a2 < 0 || a3 < 0 || static_cast<long long>(a1) + a2 + a3 > LMAXFACT)
        return false;
    int b1 = 0, b2 = 0, b3 = 0;
    SortTriples(a1, a2, a3, b1, b2, b3, [](int& x, int& y) {
        const int t = x;
        x = y;
        y = t;
    });
    return !overlap[SlotIndex(a1, a2, a3)].empty();
}

// O(a; b) = 4 pi / (2L + 1) (a! b!) / ((2L - 1)!!)^2 sum (-1/2)^n (2L - 2n - 1)!! n! /
// prod_m [i_m! ((b_m - a_m)/2 + i_m)! (a_m - 2 i_m)!]: the traceless projection of n^a
// (J. Applequist, J. Phys. A 22 (1989) 4303) integrated term by term against n^b with
// the sphere integral of a monomial (G. B. Folland, Amer. Math. Monthly 108 (2001) 446).
double CCHCalc::GetOverlap0(int a1, int a2, int a3, int b1, int b2, int b3) const
{
    double settled = 0.0;
    long long degree = 0;
    if (Screened(a1, a2, a3, b1, b2, b3, settled, degree))
        return settled;
    if (degree > LMAXFACT + 1 || a1 > LMAXFACT || a2 > LMAXFACT || a3 > LMAXFACT || b1 > LMAXFACT ||
        b2 > LMAXFACT || b3 > LMAXFACT)
        return kNaN;
    if (!fact || !doublefact)
        return TablesAbsent("CCHCalc::GetOverlap0");
    const double* f = fact;
    const double* df = doublefact;
    const int L = static_cast<int>(degree);
    const int a[3] = {a1, a2, a3};
    const int b[3] = {b1, b2, b3};
    // Above this degree the alternating sum cancels beyond double precision.
    if (L > cchcalc_detail::kDoubleSumMaxDegree)
        return OverlapQuad(a, b, L);

    double P = kPi * 4 * f[a1] * f[a2] * f[a3] * f[b1] * f[b2] * f[b3];
    P = P / (2 * L + 1);
    if (L > 0)
        P = P / Misc::ipow(df[2 * L - 1], 2);

    int lo[3], hi[3], shift[3];
    for (int m = 0; m < 3; ++m) {
        lo[m] = a[m] > b[m] ? (a[m] - b[m]) / 2 : 0;
        hi[m] = a[m] / 2;
        shift[m] = (b[m] - a[m]) / 2; // exact: the difference is even
    }

    double S = 0.0;
    for (int i1 = lo[0]; i1 <= hi[0]; ++i1)
        for (int i2 = lo[1]; i2 <= hi[1]; ++i2)
            for (int i3 = lo[2]; i3 <= hi[2]; ++i3) {
                const int n = i1 + i2 + i3;
                const int d = 2 * (L - n) - 1;
                double t = d > 0 ? df[d] * f[n] : 1.0;
                if (n > 0)
                    t = t * Misc::ipow(-0.5, n);
                const int i[3] = {i1, i2, i3};
                for (int m = 0; m < 3; ++m)
                    t = t / (f[i[m]] * f[shift[m] + i[m]] * f[a[m] - 2 * i[m]]);
                S = S + t;
            }
    return S * P;
}

void CCHCalc::overlapinit(int a1, int a2, int a3) const
{
    if (a1 < 0 || a2 < 0 || a3 < 0 || static_cast<long long>(a1) + a2 + a3 > LMAXFACT)
        return;
    if (!overlap) {
        TablesAbsent("CCHCalc::overlapinit");
        return;
    }
    int b1 = 0, b2 = 0, b3 = 0;
    SortTriples(a1, a2, a3, b1, b2, b3, [this](int& x, int& y) { iswitch(x, y); });
    OverlapSlot& slot = overlap[SlotIndex(a1, a2, a3)];
    if (!slot.empty())
        return;

    const int L = a1 + a2 + a3;
    slot.resize(L / 2 + 1);
    for (int r = 0; r <= L / 2; ++r) {
        const int c1 = a1 % 2 + 2 * r;
        std::vector<double>& row = slot[r];
        // (L - c1) / 2 truncates toward zero: a row with L - c1 = -1 still has one entry.
        row.resize((L - c1) / 2 + 1);
        for (int c = 0; c <= (L - c1) / 2; ++c) {
            const int c2 = a2 % 2 + 2 * c;
            const int c3 = L - c1 - c2;
            row[c] = c3 >= 0 ? GetOverlap0(a1, a2, a3, c1, c2, c3) : 0.0;
        }
    }
}

double CCHCalc::GetOverlap(int a1, int a2, int a3, int b1, int b2, int b3) const
{
    double settled = 0.0;
    long long degree = 0;
    if (Screened(a1, a2, a3, b1, b2, b3, settled, degree))
        return settled;
    if (degree > LMAXFACT)
        return GetOverlap0(a1, a2, a3, b1, b2, b3);
    if (!overlap)
        return TablesAbsent("CCHCalc::GetOverlap");
    SortTriples(a1, a2, a3, b1, b2, b3, [this](int& x, int& y) { iswitch(x, y); });
    const OverlapSlot& slot = overlap[SlotIndex(a1, a2, a3)];
    if (slot.empty())
        overlapinit(a1, a2, a3);
    // b1 has the parity of a1 and b2 that of a2: this is the entry computed for this b.
    return slot[b1 / 2][b2 / 2];
}
