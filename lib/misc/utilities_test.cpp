#include <twobody/utilities.h>
#include "internal/constants.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <limits>

namespace {

using Misc::complex;
constexpr double pi = twobody_detail::kPi;

TEST(ComplexUtilities, ExactValuesSignedZeroCutAndStandardLibrary)
{
    const complex i(0.0, 1.0), half(0.5, 0.0);
    // Compared bit for bit, +0 and -0 told apart.
    const complex cases[][2] = {
        {Misc::ceiphi(0.0), {1.0, 0.0}},
        {Misc::ceiphi(pi), {-1.0, 1.2246467991473532e-16}},
        {Misc::cexp(complex(1.0, 0.0)), {std::exp(1.0), 0.0}},
        {Misc::cexp(complex(0.0, pi)), Misc::ceiphi(pi)},
        {Misc::cpow(i, complex(2.0, 0.0)), {-1.0, 1.2246467991473532e-16}},
        {Misc::cpow(complex(-1.0, 0.0), half), {6.123233995736766e-17, 1.0}},
        {Misc::cpow(complex(-1.0, -0.0), half), {6.123233995736766e-17, -1.0}},
        {Misc::cpow(i, i), {0.20787957635076193, 0.0}}, // i^i = e^(-pi/2), real
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::sameBits(c[0].real(), c[1].real()) &&
                    test::sameBits(c[0].imag(), c[1].imag()))
            << c[0] << " vs " << c[1];
    // Log of a zero modulus is -inf: no power of zero is a number.
    for (complex w : {complex(2.0, 0.0), complex(0.0, 0.0), complex(0.5, 0.5)})
        EXPECT_TRUE(std::isnan(Misc::cpow(0.0, w).real()) && std::isnan(Misc::cpow(0.0, w).imag()));
}

TEST(Iround, HalvesUpwardAndSaturation)
{
    // Halves go up; 0.49999999999999994 + 0.5 rounds to 1 before floor; beyond int saturates.
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x;
        int want;
    } cases[] = {{2.5, 3},
                 {-2.5, -2},
                 {-0.5, 0},
                 {-0.51, -1},
                 {1.49, 1},
                 {0.49999999999999994, 1},
                 {2147483646.5, INT_MAX},
                 {2147483647.5, INT_MAX},
                 {-2147483648.5, INT_MIN},
                 {-2147483648.6, INT_MIN},
                 {-inf, INT_MIN},
                 {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Misc::iround(c.x), c.want) << "x = " << c.x;
}

TEST(CompareStrings, PlainEquality)
{
    EXPECT_TRUE(Misc::comparestrings("", ""));
    EXPECT_FALSE(Misc::comparestrings("ab", "abc"));
    EXPECT_FALSE(Misc::comparestrings("abc", "ab"));
    EXPECT_FALSE(Misc::comparestrings("ab", "aB"));
    // Writable buffers are accepted; equality stops at the terminator.
    char a[] = "s11\0junk", b[] = "s11";
    EXPECT_TRUE(Misc::comparestrings(a, b));
    b[2] = '3';
    EXPECT_FALSE(Misc::comparestrings(a, b));
}

} // namespace
