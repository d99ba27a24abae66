// Arguments that once hung, wrapped or read out of range: each runs in a child process with
// a time limit and must come back promptly with the stated value.
#include <twobody/bessel.h>
#include <twobody/clebsch_gordan.h>
#include <twobody/spherical_harmonics.h>
#include "test_support.h"

#include <gsl/gsl_errno.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

namespace {

const double inf = HUGE_VAL, nan = std::nan("");

bool isNaN(double v) { return std::isnan(v); }
void quiet() { gsl_set_error_handler_off(); }

TEST(HostileArguments, ReturnPromptlyWithTheStatedValue)
{
    const struct {
        const char* what;
        std::function<bool()> ok;
    } cases[] = {
        // j_l underflows long before l = INT_MAX; y_l overflows; no signed overflow in the loop.
        {"jn(INT_MAX, 1)", [] { return Bessel::jn(INT_MAX, 1.0) == 0.0; }},
        {"jn(INT_MAX, -1e5)", [] { return Bessel::jn(INT_MAX, -1e5) == 0.0; }},
        {"jn(INT_MAX, 3e9)", [] { return isNaN(Bessel::jn(INT_MAX, 3e9)); }},
        {"jn(INT_MAX, NaN)", [] { return isNaN(Bessel::jn(INT_MAX, nan)); }},
        {"yn(INT_MAX, 1)", [] { return Bessel::yn(INT_MAX, 1.0) == -inf; }},
        {"yn(INT_MAX, 3e9)", [] { return isNaN(Bessel::yn(INT_MAX, 3e9)); }},
        {"hn(INT_MAX, 1)", [] { return Bessel::hn(INT_MAX, 1.0) == Misc::complex(0.0, -inf); }},
        {"hstarn(INT_MAX, 1)",
         [] { return Bessel::hstarn(INT_MAX, 1.0) == Misc::complex(0.0, inf); }},
        {"jn(10^6, 0.5)", [] { return Bessel::jn(1000000, 0.5) == 0.0; }},
        {"jn(5000, 4999)", [] { return std::isfinite(Bessel::jn(5000, 4999.0)); }},
        // n = INT_MIN: GSL would negate it (and loop for J); one recurrence step instead.
        // Underflow and overflow are GSL errors: the handler is off in these children.
        {"Jn(INT_MIN, 1)", [] { return quiet(), Bessel::Jn(INT_MIN, 1.0) == 0.0; }},
        {"Jn(INT_MIN, 0)", [] { return Bessel::Jn(INT_MIN, 0.0) == 0.0; }},
        {"Yn(INT_MIN, 1)", [] { return quiet(), Bessel::Yn(INT_MIN, 1.0) == -inf; }},
        {"Kn(INT_MIN, 1)", [] { return quiet(), Bessel::Kn(INT_MIN, 1.0) == inf; }},
        {"In(INT_MIN, 1)", [] { return quiet(), Bessel::In(INT_MIN, 1.0) == inf; }},
        // m = INT_MIN is a domain error like any |m| > l (NaN with the handler off).
        {"Ylm(2, INT_MIN)",
         [] {
             quiet();
             const Misc::complex y = SpherHarmonics::Ylm(2, INT_MIN, 0.3, 0.4);
             return isNaN(y.real()) && isNaN(y.imag());
         }},
        // A huge degree returns at once instead of recurring for most of a minute.
        {"Ylm(INT_MAX, 1)", [] { return isNaN(SpherHarmonics::Ylm(INT_MAX, 1, 0.7, 0.3).real()); }},
        {"legendre(INT_MAX, 0.3)", [] { return isNaN(SpherHarmonics::legendre(INT_MAX, 0.3)); }},
        // cgc: nothing wraps through the int conversion.
        {"cgc(NaN, ...)", [] { return isNaN(Misc::cgc(nan, 0.5, 0.5, -0.5, 0, 0)); }},
        {"cgc(inf, ...)", [] { return isNaN(Misc::cgc(0.5, 0.5, inf, -0.5, 0, 0)); }},
        {"cgc(2^31 + 1/2, ...)",
         [] { return isNaN(Misc::cgc(2147483648.5, 0.5, 0.5, -0.5, 0, 0)); }},
        // The factorial helpers and the Racah sum end for every argument.
        {"cgc_factorial(inf)", [] { return Misc::cgc_factorial(inf) == inf; }},
        {"cgc_factorial(2^53)", [] { return Misc::cgc_factorial(9007199254740992.0) == inf; }},
        {"cgc_factorial(NaN)", [] { return isNaN(Misc::cgc_factorial(nan)); }},
        {"cgc_fractorial(inf, 0)", [] { return isNaN(Misc::cgc_fractorial(inf, 0.0)); }},
        {"cgc_fractorial(0, -inf)", [] { return isNaN(Misc::cgc_fractorial(0.0, -inf)); }},
        {"cgc_fractorial(2^53 + 2, 2^53)",
         [] { return isNaN(Misc::cgc_fractorial(9007199254740994.0, 9007199254740992.0)); }},
        {"cgc_fractorial(1e15, 0)", [] { return Misc::cgc_fractorial(1e15, 0.0) == inf; }},
        {"cgc_fractorial(0, 1e15)", [] { return Misc::cgc_fractorial(0.0, 1e15) == 0.0; }},
        {"cgc_fractorial(5, -1e15)", [] { return Misc::cgc_fractorial(5.0, -1e15) == 0.0; }},
        {"oldcgc(inf, ...)", [] { return isNaN(Misc::oldcgc(inf, 0, inf, 0, 1, 0)); }},
        {"oldcgc(1e6, 0; 1e6, 0 | 1e6, 0)",
         [] { return isNaN(Misc::oldcgc(1e6, 0, 1e6, 0, 1e6, 0)); }},
        {"oldcgc(2^53, ...)",
         [] { return isNaN(Misc::oldcgc(9007199254740992.0, 0, 9007199254740992.0, 0, 1, 0)); }},
        // The exact sum at the top of its range, against SymPy: 0.027106045123927645409.
        {"oldcgc(1000, 0; 1000, 0 | 1000, 0)",
         [] {
             return std::fabs(Misc::oldcgc(1000, 0, 1000, 0, 1000, 0) - 0.027106045123927645) <
                    1e-17;
         }},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::finishesWithin(2, c.ok)) << c.what;
}

} // namespace
