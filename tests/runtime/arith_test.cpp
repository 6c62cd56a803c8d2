#include "runtime/arith.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/fatal.h"

namespace zelvo {
namespace {

TEST(IntDivide, TruncatesTowardsZero) {
    EXPECT_EQ(IntDivide(7, 2), 3);
    EXPECT_EQ(IntDivide(-7, 2), -3);
    EXPECT_EQ(IntDivide(7, -2), -3);
    EXPECT_EQ(IntDivide(-7, -2), 3);
    EXPECT_EQ(IntDivide(0, 5), 0);
    EXPECT_EQ(IntDivide(INT_MIN, -1), INT_MIN);  // the one overflowing quotient
    EXPECT_EQ(IntDivide(INT_MIN, 1), INT_MIN);
}

TEST(Remainder, TakesTheSignOfTheDividend) {
    EXPECT_DOUBLE_EQ(Remainder(7, 3), 1.0);
    EXPECT_DOUBLE_EQ(Remainder(-7, 3), -1.0);
    EXPECT_DOUBLE_EQ(Remainder(7, -3), 1.0);
    EXPECT_DOUBLE_EQ(Remainder(5.5, 2), 1.5);
}

TEST(Abs, Values) {
    EXPECT_EQ(Abs(-3), 3);
    EXPECT_EQ(Abs(3), 3);
    EXPECT_EQ(Abs(INT_MIN), INT_MIN);
    EXPECT_DOUBLE_EQ(Abs(-2.5), 2.5);
    EXPECT_FALSE(std::signbit(Abs(-0.0)));
}

// The default handler writes the message (as UTF-8) to standard error.
TEST(ZeroDivisorDeathTest, EndsTheProgramWithItsMessage) {
    EXPECT_EXIT(IntDivide(1, 0), ::testing::ExitedWithCode(EXIT_FAILURE),
                "\xE4\xB8\x8D\xE8\x83\xBD\xE6\x95\xB4\xE9\x99\xA4\xE4\xBA\x8E\xE9\x9B\xB6");
    EXPECT_EXIT(Remainder(1.0, 0.0), ::testing::ExitedWithCode(EXIT_FAILURE),
                "\xE4\xB8\x8D\xE8\x83\xBD\xE6\xB1\x82\xE4\xBD\x99\xE6\x95\xB0\xE4\xBA\x8E\xE9\x9B\xB6");
}

void ShowAsHex(std::string_view message) {
    for (unsigned char c : message) std::fprintf(stderr, "%02X", c);
    std::fprintf(stderr, " shown\n");
}

TEST(ZeroDivisorDeathTest, AReplacedHandlerShowsTheGbkMessage) {
    EXPECT_EXIT(
        {
            SetFatalHandler(&ShowAsHex);
            IntDivide(1, 0);
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "B2BBC4DCD5FBB3FDD3DAC1E3 shown");
}

TEST(FatalHandler, SetReturnsThePrevious) {
    FatalHandler original = SetFatalHandler(&ShowAsHex);
    EXPECT_NE(original, nullptr);
    EXPECT_EQ(SetFatalHandler(nullptr), &ShowAsHex);
}

}  // namespace
}  // namespace zelvo
