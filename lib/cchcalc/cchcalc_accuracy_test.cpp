// Accuracy of the overlaps and of the tensor components of a direction against the
// high-precision tables of tests/reference (exact rationals for the overlaps, mpmath for the
// components), in the measure of each family.
#include <twobody/cchcalc.h>

#include "test_support.h"

#include <algorithm>
#include <cmath>

namespace {

// Error relative to the natural scale sqrt(O(a;a) O(b;b)), every degree 0..57 (57 only
// directly: the cache ends at 56).
TEST(CCHCalcAccuracy, Overlaps)
{
    CCHCalc c;
    const auto rows = test::readReferenceTable("cchcalc_overlap.tsv");
    ASSERT_GT(rows.size(), 1000u);
    test::ErrorStats direct("CCHCalc::GetOverlap0"), cached("CCHCalc::GetOverlap (cache)");
    for (const auto& r : rows) {
        const int a1 = static_cast<int>(r[0]), a2 = static_cast<int>(r[1]),
                  a3 = static_cast<int>(r[2]), b1 = static_cast<int>(r[3]),
                  b2 = static_cast<int>(r[4]), b3 = static_cast<int>(r[5]);
        const double want = r[6], scale = r[7];
        direct.add(std::abs(c.GetOverlap0(a1, a2, a3, b1, b2, b3) - want) / scale, r, 6);
        if (a1 + a2 + a3 <= CCHCalc::LMAXFACT)
            cached.add(std::abs(c.GetOverlap(a1, a2, a3, b1, b2, b3) - want) / scale, r, 6);
    }
    direct.check(1e-13);
    cached.check(1e-13);
}

// Components of a direction: error relative to max(|A|, the RMS of A over the sphere) for
// the traceless components, relative for the monomials; degrees 0..57.
TEST(CCHCalcAccuracy, ComponentsOfADirection)
{
    CCHCalc c;
    const auto rows = test::readReferenceTable("cchcalc_tensor.tsv");
    ASSERT_GT(rows.size(), 1000u);
    test::ErrorStats fromE("CCHCalc::GetAFromE"), fromAngles("CCHCalc::GetAFromThetaPhi"),
        monomial("CCHCalc::GetMFromE/ThetaPhi");
    for (const auto& r : rows) {
        const int lx = static_cast<int>(r[1]), ly = static_cast<int>(r[2]),
                  lz = static_cast<int>(r[3]);
        const bool angles = r[0] != 0;
        const double A = angles ? c.GetAFromThetaPhi(lx, ly, lz, r[4], r[5])
                                : c.GetAFromE(lx, ly, lz, r[4], r[5], r[6]);
        const double M = angles ? c.GetMFromThetaPhi(lx, ly, lz, r[4], r[5])
                                : c.GetMFromE(lx, ly, lz, r[4], r[5], r[6]);
        (angles ? fromAngles : fromE).add(std::abs(A - r[7]) / r[9], r, 7);
        monomial.add(M == r[8] ? 0.0 : std::abs(M - r[8]) / std::abs(r[8]), r, 7);
    }
    fromE.check(1e-13);
    fromAngles.check(1e-13);
    monomial.check(2e-14);
}

} // namespace
