#include <twobody/cchcalc.h>
#include <twobody/fatal.h>
#include <twobody/kinematics.h>

#include "test_support.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls; // "routine|message" of each fatal call, or each line
void recordAndReturn(const char* routine, const char* message)
{
    g_calls.push_back(std::string(routine) + "|" + message);
}
void recordAndThrow(const char* routine, const char* message)
{
    recordAndReturn(routine, message);
    throw std::domain_error(message);
}
void recordLine(const char* line) { g_calls.emplace_back(line); }

const std::string kAbsent = "|CCHCalc: table lookup while the static tables are absent (no "
                            "live CCHCalc object, or ClearStaticData without InitStaticData)";

TEST(FatalHandler, ReturningOrThrowingHandlerInsteadOfTheExit)
{
    // Installing returns the previous handler, nullptr standing for the default.
    ASSERT_EQ(Misc::setFatalHandler(recordAndReturn), nullptr);
    double p1[4] = {5, 0, 0, 0}, p2[4] = {3, 1, 0, 0}; // (p1 - p2)^2 = 4 - 1 > 0
    auto owner = std::make_unique<CCHCalc>();
    CCHCalc& c = *owner;
    const std::string out = test::captureStdout([&] {
        c.ClearStaticData();
        g_calls.clear();
        EXPECT_TRUE(std::isnan(Misc::triangle(10, 6, 4.5)));
        EXPECT_TRUE(std::isnan(Misc::GetQinv(p1, p2)));
        EXPECT_EQ(Misc::GetQinv(p1, p1), 0.0); // no fatal condition
        EXPECT_TRUE(std::isnan(c.Trinomial(1, 1, 1)));
        EXPECT_TRUE(std::isnan(c.GetOverlap(1, 0, 0, 1, 0, 0)));
        EXPECT_TRUE(std::isnan(c.GetAFromThetaPhi(2, 0, 0, 0.3, 0.2)));
        c.overlapinit(2, 1, 0);
    });
    const std::vector<std::string> want = {"Misc::triangle|Disaster with triangle",
                                           "Misc::GetQinv|DISASTER with GetQinv, wrong sign, = -3",
                                           "CCHCalc::Trinomial" + kAbsent,
                                           "CCHCalc::GetOverlap" + kAbsent,
                                           "CCHCalc::GetAFromE" + kAbsent,
                                           "CCHCalc::overlapinit" + kAbsent};
    EXPECT_EQ(g_calls, want);
    EXPECT_EQ(out.find("Disaster"), std::string::npos); // the handler replaces the line

    // A thrown exception reaches the caller and leaves the tables as they were.
    EXPECT_EQ(Misc::setFatalHandler(recordAndThrow), &recordAndReturn);
    EXPECT_THROW(Misc::triangle(1, 1, 1), std::domain_error);
    EXPECT_THROW(c.GetOverlap(2, 0, 0, 0, 2, 0), std::domain_error);
    EXPECT_FALSE(CCHCalc::TablesPresent());
    EXPECT_EQ(CCHCalc::LiveObjects(), 1);
    c.InitStaticData();
    EXPECT_FALSE(CCHCalc::OverlapSlotFilled(2, 0, 0));
    // Integral of (x^2 - 1/3)(y^2 - 1/3) over the sphere: 4 pi / 15 - 4 pi / 9.
    EXPECT_NEAR(c.GetOverlap(2, 0, 0, 0, 2, 0), -8 * 3.141592653589793 / 45, 1e-14);
    EXPECT_EQ(Misc::setFatalHandler(nullptr), &recordAndThrow);
    test::captureStdout([&] { owner.reset(); });
}

TEST(FatalHandlerDeathTest, DefaultIsBackAfterACustomOne)
{
    Misc::setFatalHandler(recordAndReturn);
    Misc::setFatalHandler(nullptr);
    EXPECT_EXIT((test::stdoutToStderr(), Misc::triangle(1, 2, 0)), testing::ExitedWithCode(1),
                "^Disaster with triangle\n$");
}

TEST(MessageHandler, ReceivesTheReleaseLinesInsteadOfStandardOutput)
{
    ASSERT_EQ(Misc::setMessageHandler(recordLine), nullptr);
    g_calls.clear();
    const std::string out = test::captureStdout([] { std::vector<CCHCalc> two(2); });
    EXPECT_EQ(Misc::setMessageHandler(nullptr), &recordLine);
    EXPECT_EQ(out, "");
    const std::vector<std::string> want = {
        "Clearing static data used for charray calc.s. ",
        "Don't do this unless you are finished with charray objects",
        "CCHCalc static data cleared"};
    EXPECT_EQ(g_calls, want);
}

} // namespace
