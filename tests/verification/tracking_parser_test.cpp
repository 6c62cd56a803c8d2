#include "verification/tracking_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvo {
namespace {

struct CutCase {
    const char* name;
    std::string text;
    std::string start;
    std::string end;
    int mode;
    std::string expected;
};

// Named in the test list by its case name, not by its bytes.
void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class CutBetweenTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutBetweenTest, Cuts) {
    const CutCase& c = GetParam();
    EXPECT_EQ(cutBetween(c.text, c.start, c.end, c.mode), c.expected);
}

// "乚" is 81 5D in GBK: its second byte is the character "]".
const std::string kTrailBracket = "\x81\x5d";

const CutCase kCutCases[] = {
    // The four modes on three bracketed items.
    {"Mode0FirstStartToLastEnd", "[a][b][c]", "[", "]", 0, "a][b][c"},
    {"Mode1FirstStartToNextEnd", "[a][b][c]", "[", "]", 1, "a"},
    {"Mode2LastEndBackToStart", "[a][b][c]", "[", "]", 2, "c"},
    {"Mode3LastStartToNextEnd", "[a][b][c]", "[", "]", 3, "c"},
    // Modes 2 and 3 part when an end marker follows the last start marker twice.
    {"Mode2AcrossInnerEnd", "[a][b]c]", "[", "]", 2, "b]c"},
    {"Mode3StopsAtFirstEnd", "[a][b]c]", "[", "]", 3, "b"},
    // Two rows, each ">201" followed by a date remainder and a space.
    {"RowsMode1", "<td>2010-1-2 </td><td>2011-3-4 </td>", ">201", " ", 1, "0-1-2"},
    {"RowsMode3", "<td>2010-1-2 </td><td>2011-3-4 </td>", ">201", " ", 3, "1-3-4"},
    {"RowsMode0", "<td>2010-1-2 </td><td>2011-3-4 </td>", ">201", " ", 0,
     "0-1-2 </td><td>2011-3-4"},
    {"RowsMode2", "<td>2010-1-2 </td><td>2011-3-4 </td>", ">201", " ", 2, "1-3-4"},
    // A missing end marker gives the empty text in every mode.
    {"NoEndMode0", "[a][b]", "[", "}", 0, ""},
    {"NoEndMode1", "[a][b]", "[", "}", 1, ""},
    {"NoEndMode2", "[a][b]", "[", "}", 2, ""},
    {"NoEndMode3", "[a][b]", "[", "}", 3, ""},
    // A missing start marker: -1 + L, so the cut begins at byte L - 1.
    {"NoStartLengthOneBeginsAtZero", "abc]def", "{", "]", 1, ""},
    {"NoStartLengthTwoBeginsAtOne", "abc]def", "{{", "]", 1, "abc"},
    {"NoStartLengthThreeBeginsAtTwo", "abc]def", "{{{", "]", 1, "bc"},
    {"NoStartMode0", "abc]de]f", "{{", "]", 0, "abc]de"},
    {"NoStartMode2", "abc]de]f", "{{{", "]", 2, "bc]de"},
    {"NoStartMode3", "abc]def", "{{", "]", 3, "abc"},
    // Neither marker: empty.
    {"NoMarkers", "abcdef", "{{", "}}", 1, ""},
    // An end before the start gives a negative count: empty.
    {"EndBeforeStartMode0", "]a[", "[", "]", 0, ""},
    // The start marker at the very end: nothing after it.
    {"StartAtEnd", "abc[", "[", "]", 1, ""},
    {"EmptyText", "", "[", "]", 1, ""},
    {"UnknownMode", "[a]", "[", "]", 7, ""},
    // Double-byte text: markers match at character starts only.
    {"TrailByteIsNoEndMarker", "[" + kTrailBracket + "x]", "[", "]", 1, kTrailBracket + "x"},
    {"OnlyTrailByteEndGivesEmpty", "[" + kTrailBracket + "x", "[", "]", 1, ""},
    {"ChineseMarkers", "跟踪记录深圳到达上海签收", "记录", "签收", 1, "深圳到达上海"},
    {"ChineseMarkersMode3", "快件到达深圳站快件到达上海站", "快件到达", "站", 3, "上海"},
    {"CutsReachTheEnd", "起运地:深圳", "起运地:", "圳", 1, "深"},
};

INSTANTIATE_TEST_SUITE_P(Modes, CutBetweenTest, ::testing::ValuesIn(kCutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CutBetweenTest, YearPrefixRestoresTheDates) {
    const std::string rows = "<td>2010-1-2 </td><td>2011-3-4 </td>";
    EXPECT_EQ("201" + cutBetween(rows, ">201", " ", 1), "2010-1-2");
    EXPECT_EQ("201" + cutBetween(rows, ">201", " ", 3), "2011-3-4");
}

TEST(CleanTextTest, RemovesLineBreaksAndOuterBlanks) {
    EXPECT_EQ(cleanText("\r\n  深圳 \r\n"), "深圳");
    EXPECT_EQ(cleanText("上\r\n海"), "上海");
    EXPECT_EQ(cleanText("\xA1\xA1"
                        "广州\xA1\xA1"),
              "广州");  // full-width blanks
    // A lone CR or LF is not a CR LF pair and is no blank.
    EXPECT_EQ(cleanText("\n深圳\r"), "\n深圳\r");
    EXPECT_EQ(cleanText(""), "");
}

TEST(TextAfterLastTest, GivesTheTextAfterTheLastMarker) {
    EXPECT_EQ(textAfterLast("a>b>c", ">"), "c");
    EXPECT_EQ(textAfterLast("'#FF6600'>广州", ">"), "广州");
    EXPECT_EQ(textAfterLast("a>b>", ">"), "");
    EXPECT_EQ(textAfterLast("abc", ">"), "");
    EXPECT_EQ(textAfterLast("深圳到达广州到达上海", "到达"), "上海");
    EXPECT_EQ(textAfterLast("", ">"), "");
}

}  // namespace
}  // namespace zelvo
