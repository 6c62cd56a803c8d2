#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GbkLiterals, CompileToGbkBytes) {
    EXPECT_EQ(std::string("≤≌≥"), std::string("\xA1\xDC\xA1\xD5\xA1\xDD"));
    EXPECT_EQ(std::string("－"), std::string("\xA3\xAD"));
    EXPECT_EQ(std::string("快递").size(), 4u);
}

TEST(GbkLiterals, FailuresShowHexAndUnicode) {
    EXPECT_EQ(::testing::PrintToString(std::string("快递")), "\"\xE5\xBF\xAB\xE9\x80\x92\" [BF EC B5 DD]");
}

}  // namespace
