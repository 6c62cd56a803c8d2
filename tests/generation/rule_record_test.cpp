#include "generation/rule_record.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "config/config.h"

namespace zelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

std::string Record(const std::string& name, const std::string& reference = "参考定单-1-2",
                   const std::string& url = "http://www.example.test/q?No=") {
    return name + "|1|2|3|4|5|20110101|6|{固数1}+{随机}|" + reference + "|" + url + "|x";
}

TEST(RuleList, SplitsAtLineBreaks) {
    EXPECT_THAT(SplitRuleList(""), IsEmpty());
    EXPECT_THAT(SplitRuleList("a\r\nb"), ElementsAre("a", "b"));
    EXPECT_THAT(SplitRuleList("a\r\nb\r\n"), ElementsAre("a", "b"))
        << "trailing break adds no line";
    EXPECT_THAT(SplitRuleList("a\r\n\r\nb"), ElementsAre("a", "", "b"));
    EXPECT_THAT(SplitRuleList("a\nb"), ElementsAre("a\nb")) << "a bare LF is no separator";
}

TEST(RuleRecordParsing, TheBuiltInRecord) {
    std::optional<RuleRecord> r = ParseRuleRecord(config::kBuiltInRuleRecord);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->courierName, "中通快递");
    EXPECT_EQ(r->fixed1, "010034");
    EXPECT_EQ(r->fixed2, "0");
    EXPECT_EQ(r->fixed3, "0");
    EXPECT_EQ(r->randomCount, "6");
    EXPECT_EQ(r->startTime, "20100101");
    EXPECT_EQ(r->count, "50");
    EXPECT_EQ(r->numberTemplate, "{固数1}+{随机}");
    EXPECT_EQ(r->queryUrlPrefix, "http://www.zto.example/zto.asp?No=");
    EXPECT_EQ(r->reserved, "中通");
    EXPECT_EQ(DescriptionOf(*r),
              "\r\n参考定单\r\n010034965571\r\n618102303454\r\n618090324228\r\n200831600838\r\n"
              "改变固数，可以改变出发城市");
}

TEST(RuleRecordParsing, OnlyExactlyTwelveFieldsMakeARecord) {
    struct Case {
        std::string line;
        bool valid;
    } cases[] = {
        {"a|b|c|d|e|f|g|h|i|j|k|l", true},
        {"a|b|c|d|e|f|g|h|i|j|k", false},
        {"a|b|c|d|e|f|g|h|i|j|k|l|m", false},
        {"a|b|c|d|e|f|g|h|i|j|k|", false},  // a trailing "|" adds no empty field
        {"a|b|c|d|e|f|g|h|i|j|k||", true},  // but two make one
        {"|||||||||||", false},             // eleven empty fields
        {"|||||||||||x", true},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseRuleRecord(c.line).has_value(), c.valid) << c.line;
}

TEST(RuleRecordParsing, ABarInsideADoubleByteCharacterIsNoSeparator) {
    // 0x81 0x7C is one GBK character whose second byte is "|".
    std::string name = "\x81\x7C快递";
    std::optional<RuleRecord> r = ParseRuleRecord(Record(name));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->courierName, name);
    EXPECT_EQ(r->fixed1, "1");
}

TEST(RuleLookup, FirstLineContainingTheNameAnywhere) {
    std::string list = Record("圆通快递", "参考定单-中通快递的样例") + "\r\n" + Record("中通快递") +
                       "\r\n" + Record("中通速递");
    // Found in the first record's reference text before the second's name.
    EXPECT_THAT(FindRuleLine(list, "中通快递"), Optional(SplitRuleList(list)[0]));
    EXPECT_THAT(FindRuleLine(list, "中通速"), Optional(SplitRuleList(list)[2]));
    EXPECT_THAT(FindRuleLine(list, "中通"), Optional(SplitRuleList(list)[0]));
    EXPECT_THAT(FindRuleLine(list, "example.test"), Optional(SplitRuleList(list)[0]));
    EXPECT_EQ(FindRuleLine(list, "韵达快递"), std::nullopt);
    EXPECT_EQ(FindRuleLine("", "中通快递"), std::nullopt);
}

TEST(RuleLookup, NeverMatchesFromTheSecondByteOfACharacter) {
    // "\xB5\xDD" is 递; a name starting with its second byte must not match inside it.
    std::string list = Record("\xB5\xDD\xB0\xA1");
    EXPECT_EQ(FindRuleLine(list, "\xDD\xB0"), std::nullopt);
    EXPECT_TRUE(FindRuleLine(list, "\xB5\xDD").has_value());
}

}  // namespace
}  // namespace zelvo
