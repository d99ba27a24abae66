// Clebsch-Gordan, kinematics and complex-utility families against the tables written by
// tests/gen_clebsch_gordan.py (exact) and tests/gen_misc.py (mpmath 40 digits). One "accuracy:"
// line per family.
#include <twobody/clebsch_gordan.h>
#include <twobody/kinematics.h>
#include <twobody/utilities.h>
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

using cplx = std::complex<double>;

TEST(MiscAccuracy, ClebschGordan)
{
    // Absolute error: the coefficients lie in [-1, 1]. The table holds the correctly rounded
    // values; oldcgc must return exactly those, cgc too except where GSL's symbol serves it
    // (j <= 7/2).
    test::ErrorStats racah("Misc::oldcgc (abs)"), gsl("Misc::cgc (abs, j<=7/2)"),
        large("Misc::cgc (abs, j>7/2)");
    int misrounded = 0;
    for (const auto& r : test::readReferenceTable("clebsch_gordan.tsv")) {
        const double old = Misc::oldcgc(r[0], r[1], r[2], r[3], r[4], r[5]);
        const double cg = Misc::cgc(r[0], r[1], r[2], r[3], r[4], r[5]);
        racah.add(std::fabs(old - r[6]), r, 6);
        const bool byGsl = std::max({r[0], r[2], r[4]}) <= 3.5;
        (byGsl ? gsl : large).add(std::fabs(cg - r[6]), r, 6);
        misrounded += (old != r[6]) + (!byGsl && cg != r[6]);
    }
    racah.check(2e-15);
    gsl.check(1e-15);
    large.check(2e-15);
    EXPECT_EQ(misrounded, 0);
}

TEST(MiscAccuracy, Kinematics)
{
    // q^2 is a difference of large squares: its error is taken relative to m0^2, the scale
    // of the terms, and separately relative to q^2 itself.
    test::ErrorStats tri("Misc::triangle (rel m0^2)"), trirel("Misc::triangle (rel, q>1e-3 m0)");
    for (const auto& r : test::readReferenceTable("kinematics_triangle.tsv")) {
        const double got = Misc::triangle(r[0], r[1], r[2]);
        tri.add(std::fabs(got - r[3]) / (r[0] * r[0]), r, 3);
        if (r[3] > 1e-6 * r[0] * r[0])
            trirel.add(std::fabs(got - r[3]) / r[3], r, 3);
    }
    tri.check(1e-15);
    trirel.check(1e-9);

    test::ErrorStats qinv("Misc::GetQinv (rel)"), rap("Misc::GetRapidity (abs)"),
        osl("Misc::outsidelong (rel |q|)");
    for (auto r : test::readReferenceTable("kinematics_pair.tsv")) {
        double* p1 = r.data();
        double* p2 = r.data() + 4;
        qinv.add(std::fabs(Misc::GetQinv(p1, p2) - r[8]) / r[8], r, 8);
        rap.add(std::fabs(Misc::GetRapidity(p1) - r[9]), r, 8);
        double first = 0.0, out = 0.0, side = 0.0, lng = 0.0;
        Misc::outsidelong(p1, p2, first, out, side, lng);
        const double q = std::sqrt(r[10] * r[10] + r[11] * r[11] + r[12] * r[12]);
        osl.add(
            std::max({std::fabs(out - r[10]), std::fabs(side - r[11]), std::fabs(lng - r[12])}) / q,
            r, 8);
    }
    qinv.check(1e-12);
    rap.check(1e-14);
    osl.check(1e-12);

    test::ErrorStats boost("Misc::lorentz (rel |p'|)");
    for (auto r : test::readReferenceTable("kinematics_lorentz.tsv")) {
        double out[4];
        Misc::lorentz(r.data(), r.data() + 4, out);
        double err = 0.0, norm = 0.0;
        for (int mu = 0; mu < 4; ++mu) {
            err = std::max(err, std::fabs(out[mu] - r[8 + mu]));
            norm = std::max(norm, std::fabs(r[8 + mu]));
        }
        boost.add(err / norm, r, 8);
    }
    boost.check(1e-13);
}

TEST(MiscAccuracy, ComplexUtilities)
{
    test::ErrorStats ph("Misc::ceiphi (abs)"), ex("Misc::cexp (rel)"), pw("Misc::cpow (rel)");
    for (const auto& r : test::readReferenceTable("utilities_ceiphi.tsv"))
        ph.add(std::abs(Misc::ceiphi(r[0]) - cplx(r[1], r[2])), r, 1);
    for (const auto& r : test::readReferenceTable("utilities_cexp.tsv")) {
        const cplx want(r[2], r[3]);
        ex.add(std::abs(Misc::cexp(cplx(r[0], r[1])) - want) / std::abs(want), r, 2);
    }
    for (const auto& r : test::readReferenceTable("utilities_cpow.tsv")) {
        const cplx want(r[4], r[5]);
        pw.add(std::abs(Misc::cpow(cplx(r[0], r[1]), cplx(r[2], r[3])) - want) / std::abs(want), r,
               4);
    }
    ph.check(1e-15);
    ex.check(1e-15);
    pw.check(1e-14);
}

} // namespace
