#include "utilities.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <limits>

namespace {

using Misc::complex;
constexpr double pi = 3.141592653589793;
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

void expectNear(complex got, complex want, double relTol)
{
    const double scale = std::max(1.0, std::abs(want));
    EXPECT_NEAR(got.real(), want.real(), relTol * scale) << "got " << got << " want " << want;
    EXPECT_NEAR(got.imag(), want.imag(), relTol * scale) << "got " << got << " want " << want;
}

// Bit-for-bit equality that also tells +0 from -0.
void expectSame(complex got, complex want)
{
    EXPECT_EQ(got.real(), want.real()) << got;
    EXPECT_EQ(got.imag(), want.imag()) << got;
    EXPECT_EQ(std::signbit(got.real()), std::signbit(want.real())) << got;
    EXPECT_EQ(std::signbit(got.imag()), std::signbit(want.imag())) << got;
}

TEST(ComplexExponential, ExactValuesAndAdditionTheorem)
{
    expectSame(Misc::ceiphi(0.0), complex(1.0, 0.0));
    expectSame(Misc::ceiphi(pi), complex(-1.0, 1.2246467991473532e-16));
    expectSame(Misc::cexp(complex(1.0, 0.0)), complex(std::exp(1.0), 0.0));
    expectSame(Misc::cexp(complex(0.0, pi)), Misc::ceiphi(pi));

    // Against the standard library's exponential, away from the exact cases.
    for (complex a : {complex(0.3, -1.2), complex(-2.0, 4.0), complex(5.5, 0.25)})
        expectNear(Misc::cexp(a), std::exp(a), 1e-14);

    const complex big = Misc::cexp(complex(710.0, 1.0));
    EXPECT_TRUE(std::isinf(big.real()) && std::isinf(big.imag()));
    EXPECT_TRUE(std::isnan(Misc::ceiphi(inf).real()));
}

TEST(ComplexPower, PrincipalBranchAndSignedZeroCut)
{
    expectSame(Misc::cpow(complex(0.0, 1.0), complex(2.0, 0.0)),
               complex(-1.0, 1.2246467991473532e-16));
    expectSame(Misc::cpow(complex(-1.0, 0.0), complex(0.5, 0.0)),
               complex(6.123233995736766e-17, 1.0));
    expectSame(Misc::cpow(complex(-1.0, -0.0), complex(0.5, 0.0)),
               complex(6.123233995736766e-17, -1.0));
    // i^i = e^(-pi/2), real.
    expectSame(Misc::cpow(complex(0.0, 1.0), complex(0.0, 1.0)), complex(0.20787957635076193, 0.0));
    expectNear(Misc::cpow(complex(2.0, 0.0), complex(3.0, 0.0)), 8.0, 4e-16);

    // Against integer powers by multiplication and the standard library's principal
    // power, on both sides of the cut.
    const complex zs[] = {{1.5, 0.5}, {-2.0, 0.3}, {-2.0, -0.3}, {0.1, -4.0}, {-0.5, 0.0}};
    for (complex z : zs) {
        expectNear(Misc::cpow(z, 3.0), z * z * z, 1e-14);
        expectNear(Misc::cpow(z, -1.0), 1.0 / z, 1e-14);
        for (complex w : {complex(0.5, 0.0), complex(-1.3, 0.7), complex(0.0, -2.0)})
            expectNear(Misc::cpow(z, w), std::pow(z, w), 1e-13);
    }

    // The logarithm of a zero modulus is -inf: no power of zero is a number.
    for (complex w : {complex(2.0, 0.0), complex(0.0, 0.0), complex(-1.0, 0.0), complex(0.5, 0.5),
                      complex(0.0, -1.0)}) {
        const complex r = Misc::cpow(complex(0.0, 0.0), w);
        EXPECT_TRUE(std::isnan(r.real()) && std::isnan(r.imag())) << w << " gives " << r;
    }
}

TEST(Iround, HalvesUpwardAndSaturation)
{
    struct Case {
        double x;
        int want;
    };
    const Case cases[] = {
        {2.5, 3},
        {-2.5, -2},
        {-0.5, 0},
        {-0.51, -1},
        {1.49, 1},
        {0.0, 0},
        {-0.0, 0},
        {7.0, 7},
        {-7.0, -7},
        {1e6 + 0.5, 1000001},
        // The edges of int, and one step past them.
        {2147483646.5, INT_MAX},
        {2147483647.4, INT_MAX},
        {2147483647.5, INT_MAX},
        {-2147483648.0, INT_MIN},
        {-2147483648.5, INT_MIN},
        {-2147483648.6, INT_MIN},
        {-2147483647.5, -2147483647},
        {1e300, INT_MAX},
        {-1e300, INT_MIN},
        {inf, INT_MAX},
        {-inf, INT_MIN},
        {nan, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Misc::iround(c.x), c.want) << "x = " << c.x;
}

TEST(CompareStrings, PlainEquality)
{
    EXPECT_TRUE(Misc::comparestrings("", ""));
    EXPECT_TRUE(Misc::comparestrings("phase", "phase"));
    EXPECT_FALSE(Misc::comparestrings("ab", "abc"));
    EXPECT_FALSE(Misc::comparestrings("abc", "ab"));
    EXPECT_FALSE(Misc::comparestrings("ab", "aB"));
    EXPECT_FALSE(Misc::comparestrings("", "a"));
    // Equality stops at the terminator; writable buffers are accepted.
    char a[] = "s11\0junk";
    char b[] = "s11";
    EXPECT_TRUE(Misc::comparestrings(a, b));
    b[2] = '3';
    EXPECT_FALSE(Misc::comparestrings(a, b));
}

} // namespace
