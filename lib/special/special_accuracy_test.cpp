// Bessel, Legendre and spherical-harmonic families against the mpmath tables written by
// tests/gen_special.py. Each family prints one "accuracy:" line for the report.
#include <twobody/bessel.h>
#include <twobody/spherical_harmonics.h>
#include "internal/constants.h"
#include "test_support.h"

#include <gsl/gsl_errno.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <complex>

namespace {

using cplx = std::complex<double>;

// Relative error where the reference is a normal double; below that, any value that has
// underflowed (|got| < DBL_MIN) counts as exact; an infinite reference must be matched.
double relError(double got, double want)
{
    if (std::isinf(want))
        return got == want ? 0.0 : HUGE_VAL;
    if (std::fabs(want) < DBL_MIN)
        return std::fabs(got) < DBL_MIN ? 0.0 : HUGE_VAL;
    return std::fabs(got - want) / std::fabs(want);
}

TEST(SpecialAccuracy, SphericalBessel)
{
    const auto tj = test::readReferenceTable("bessel_jn.tsv");
    const auto ty = test::readReferenceTable("bessel_yn.tsv");
    ASSERT_EQ(tj.size(), ty.size());
    test::ErrorStats j("Bessel::jn (rel)"), y("Bessel::yn (rel mod)"),
        h("Bessel::hn,hstarn (rel |h|)");
    for (size_t i = 0; i < tj.size(); ++i) {
        const int l = static_cast<int>(tj[i][0]);
        const double x = tj[i][1];
        ASSERT_EQ(ty[i][1], x);
        j.add(relError(Bessel::jn(l, x), tj[i][2]), {double(l), x});
        // y_l oscillates above x = l: its error is taken relative to the modulus |h_l|.
        const double gy = Bessel::yn(l, x);
        y.add(std::isfinite(ty[i][2]) ? std::fabs(gy - ty[i][2]) / std::hypot(tj[i][2], ty[i][2])
                                      : relError(gy, ty[i][2]),
              {double(l), x});
        if (std::isfinite(ty[i][2])) {
            const cplx want(tj[i][2], ty[i][2]);
            const cplx hn = Bessel::hn(l, x), hs = Bessel::hstarn(l, x);
            h.add(std::max(std::abs(hn - want), std::abs(hs - std::conj(want))) / std::abs(want),
                  {double(l), x});
        }
    }
    j.check(1e-13);
    y.check(1e-13);
    h.check(1e-13);
}

TEST(SpecialAccuracy, CylindricalBessel)
{
    // J and Y oscillate: their error is taken relative to the modulus sqrt(J^2 + Y^2).
    // K underflows beyond x of about 705: with GSL's handler off that must come back as 0.
    gsl_error_handler_t* const previous = gsl_set_error_handler_off();
    test::ErrorStats J("Bessel::J0,J1,Jn (rel mod)"), Y("Bessel::Y0,Y1,Yn (rel mod)"),
        K("Bessel::K0,K1,Kn (rel)"), I("Bessel::I0,I1,In = K (rel)");
    for (const auto& r : test::readReferenceTable("bessel_cyl.tsv")) {
        const int n = static_cast<int>(r[0]);
        const double x = r[1], mod = std::hypot(r[2], r[3]);
        const double gj = n == 0 ? Bessel::J0(x) : n == 1 ? Bessel::J1(x) : Bessel::Jn(n, x);
        const double gy = n == 0 ? Bessel::Y0(x) : n == 1 ? Bessel::Y1(x) : Bessel::Yn(n, x);
        const double gk = n == 0 ? Bessel::K0(x) : n == 1 ? Bessel::K1(x) : Bessel::Kn(n, x);
        const double gi = n == 0 ? Bessel::I0(x) : n == 1 ? Bessel::I1(x) : Bessel::In(n, x);
        J.add(std::isfinite(mod) ? std::fabs(gj - r[2]) / mod : relError(gj, r[2]), {double(n), x});
        Y.add(std::isfinite(mod) ? std::fabs(gy - r[3]) / mod : relError(gy, r[3]), {double(n), x});
        K.add(relError(gk, r[4]), {double(n), x});
        // The I names return K, bit for bit, also where both are 0 after underflow.
        EXPECT_TRUE(test::sameBits(gi, gk)) << n << " " << x;
        I.add(relError(gi, r[4]), {double(n), x});
    }
    gsl_set_error_handler(previous);
    J.check(1e-13);
    Y.check(1e-13);
    K.check(1e-13);
    I.check(1e-13);
}

TEST(SpecialAccuracy, LegendreAndSphericalHarmonics)
{
    test::ErrorStats P("SpherHarmonics::legendre (abs)");
    for (const auto& r : test::readReferenceTable("legendre.tsv"))
        P.add(std::fabs(SpherHarmonics::legendre(static_cast<int>(r[0]), r[1]) - r[2]),
              {r[0], r[1]});
    P.check(1e-14);

    // Relative to the value at the direction wherever that is a normal double; in the
    // oscillating region, (l + 1/2) sin(theta) > |m|, where P_l^m has its zeros, relative to
    // at least 0.01 sqrt((2l + 1) / 4 pi) (an absolute 1e-15 of the norm); underflowed values
    // within DBL_MIN. Grouped by how far the direction is from a pole (d), and theta outside
    // [0, pi] on its own.
    test::ErrorStats far("SpherHarmonics::Ylm (d >= 0.01)"), pole("SpherHarmonics::Ylm (d < 0.01)"),
        outside("SpherHarmonics::Ylm (outside [0,pi])");
    for (const auto& r : test::readReferenceTable("ylm.tsv")) {
        const int l = static_cast<int>(r[0]), m = static_cast<int>(r[1]);
        const double t = r[2];
        const cplx want(r[4], r[5]), got = SpherHarmonics::Ylm(l, m, t, r[3]);
        const double d = std::acos(std::fabs(std::cos(t))); // polar angle from the nearer pole
        double scale = std::abs(want);
        if ((l + 0.5) * std::sin(d) > std::abs(m))
            scale = std::max(scale, 0.01 * std::sqrt((2 * l + 1) / (4 * twobody_detail::kPi)));
        const double err = std::abs(got - want);
        const double e = scale >= DBL_MIN ? err / scale : (err <= DBL_MIN ? 0.0 : HUGE_VAL);
        (t < 0 || t > twobody_detail::kPi ? outside : d < 0.01 ? pole : far).add(e, r, 4);
    }
    far.check(1e-13);
    pole.check(1e-13);
    outside.check(1e-13);
}

} // namespace
