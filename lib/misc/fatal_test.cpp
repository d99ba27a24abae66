#include <twobody/cchcalc.h>
#include <twobody/fatal.h>
#include <twobody/kinematics.h>

#include "test_support.h"

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Call {
    std::string routine, message;
};
std::vector<Call> g_calls;
std::vector<std::string> g_lines;

void recordAndReturn(const char* routine, const char* message)
{
    g_calls.push_back({routine, message});
}
void recordAndThrow(const char* routine, const char* message)
{
    g_calls.push_back({routine, message});
    throw std::domain_error(message);
}
void recordLine(const char* line) { g_lines.emplace_back(line); }

const char* const kAbsent = "CCHCalc: table lookup while the static tables are absent (no live "
                            "CCHCalc object, or ClearStaticData without InitStaticData)";

// Installs a fatal handler for one scope and puts back whatever was there.
class FatalHandlerScope {
public:
    explicit FatalHandlerScope(Misc::FatalHandler h) : previous_(Misc::setFatalHandler(h))
    {
        g_calls.clear();
    }
    ~FatalHandlerScope() { Misc::setFatalHandler(previous_); }
    FatalHandlerScope(const FatalHandlerScope&) = delete;
    FatalHandlerScope& operator=(const FatalHandlerScope&) = delete;

private:
    Misc::FatalHandler previous_;
};

TEST(FatalHandler, ReturningHandlerSeesEachRoutineAndTheCallGivesNaN)
{
    FatalHandlerScope scope(recordAndReturn);
    double p1[4] = {5, 0, 0, 0}, p2[4] = {3, 1, 0, 0}; // (p1 - p2)^2 = 4 - 1 > 0
    std::string out = test::captureStdout([&] {
        EXPECT_TRUE(std::isnan(Misc::triangle(10, 6, 4.5)));
        EXPECT_TRUE(std::isnan(Misc::GetQinv(p1, p2)));
    });
    EXPECT_EQ(out, ""); // the handler replaces the printing, too
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0].routine, "Misc::triangle");
    EXPECT_EQ(g_calls[0].message, "Disaster with triangle");
    EXPECT_EQ(g_calls[1].routine, "Misc::GetQinv");
    EXPECT_EQ(g_calls[1].message, "DISASTER with GetQinv, wrong sign, = -3");
    // Threshold itself and a space-like pair are no fatal condition.
    EXPECT_NEAR(Misc::triangle(10, 6, 4), 0.0, 1e-12);
    EXPECT_EQ(Misc::GetQinv(p1, p1), 0.0);
    EXPECT_EQ(g_calls.size(), 2u);

    // Every CCHCalc lookup that needs a table, while the tables are released.
    g_calls.clear();
    auto owner = std::make_unique<CCHCalc>();
    CCHCalc& c = *owner;
    test::captureStdout([&] { c.ClearStaticData(); });
    const std::pair<const char*, std::function<double()>> lookups[] = {
        {"CCHCalc::Factorial", [&] { return c.Factorial(3); }},
        {"CCHCalc::DoubleFactorial", [&] { return c.DoubleFactorial(5); }},
        {"CCHCalc::Binomial", [&] { return c.Binomial(2, 3); }},
        {"CCHCalc::Trinomial", [&] { return c.Trinomial(1, 1, 1); }},
        {"CCHCalc::GetOverlap", [&] { return c.GetOverlap(1, 0, 0, 1, 0, 0); }},
        {"CCHCalc::GetOverlap0", [&] { return c.GetOverlap0(1, 0, 0, 1, 0, 0); }},
        {"CCHCalc::GetAFromE", [&] { return c.GetAFromE(1, 0, 0, 1, 0, 0); }},
        {"CCHCalc::GetAFromE", [&] { return c.GetAFromThetaPhi(2, 0, 0, 0.3, 0.2); }},
        {"CCHCalc::overlapinit", [&] { return c.overlapinit(2, 1, 0), 0.0; }}};
    for (const auto& lookup : lookups) {
        g_calls.clear();
        const double v = lookup.second();
        ASSERT_EQ(g_calls.size(), 1u) << lookup.first;
        EXPECT_EQ(g_calls[0].routine, lookup.first);
        EXPECT_EQ(g_calls[0].message, kAbsent);
        if (g_calls[0].routine != "CCHCalc::overlapinit") {
            EXPECT_TRUE(std::isnan(v)) << lookup.first;
        }
    }
    EXPECT_FALSE(CCHCalc::TablesPresent()); // no lookup rebuilt anything
    c.InitStaticData();
    EXPECT_EQ(c.Binomial(2, 3), 10.0);
    test::captureStdout([&] { owner.reset(); });
}

TEST(FatalHandler, ThrowingHandlerReachesTheCallerAndLeavesTheStateAlone)
{
    FatalHandlerScope scope(recordAndThrow);
    double p1[4] = {5, 0, 0, 0}, p2[4] = {3, 1, 0, 0};
    EXPECT_THROW(Misc::triangle(1, 1, 1), std::domain_error);
    EXPECT_THROW(Misc::GetQinv(p1, p2), std::domain_error);

    auto owner = std::make_unique<CCHCalc>();
    CCHCalc& c = *owner;
    test::captureStdout([&] { c.ClearStaticData(); });
    EXPECT_THROW(c.GetOverlap(2, 0, 0, 0, 2, 0), std::domain_error);
    EXPECT_THROW(c.overlapinit(2, 0, 0), std::domain_error);
    EXPECT_FALSE(CCHCalc::TablesPresent());
    EXPECT_EQ(CCHCalc::LiveObjects(), 1);
    // Built again, the cache starts empty and answers as before.
    c.InitStaticData();
    EXPECT_FALSE(CCHCalc::OverlapSlotFilled(2, 0, 0));
    EXPECT_NEAR(c.GetOverlap(2, 0, 0, 0, 2, 0), -8 * 3.141592653589793 / 45, 1e-14);
    test::captureStdout([&] { owner.reset(); });
    EXPECT_EQ(g_calls.size(), 4u);
}

TEST(FatalHandlerDeathTest, DefaultIsBackAfterACustomOne)
{
    // Installing returns the previous handler; nullptr stands for the default.
    EXPECT_EQ(Misc::setFatalHandler(recordAndReturn), nullptr);
    EXPECT_EQ(Misc::setFatalHandler(nullptr), &recordAndReturn);
    EXPECT_EXIT((test::stdoutToStderr(), Misc::triangle(1, 2, 0)), testing::ExitedWithCode(1),
                "^Disaster with triangle\n$");
}

TEST(MessageHandler, ReceivesTheReleaseLinesInsteadOfStandardOutput)
{
    const Misc::MessageHandler previous = Misc::setMessageHandler(recordLine);
    EXPECT_EQ(previous, nullptr);
    g_lines.clear();
    const std::string out = test::captureStdout([] {
        CCHCalc a;
        CCHCalc b(a);
    });
    EXPECT_EQ(Misc::setMessageHandler(previous), &recordLine);
    EXPECT_EQ(out, "");
    const std::vector<std::string> want = {
        "Clearing static data used for charray calc.s. ",
        "Don't do this unless you are finished with charray objects",
        "CCHCalc static data cleared"};
    EXPECT_EQ(g_lines, want);
    // The default writes the same lines, each with its newline.
    EXPECT_EQ(test::captureStdout([] { CCHCalc c; }),
              want[0] + "\n" + want[1] + "\n" + want[2] + "\n");
}

} // namespace
