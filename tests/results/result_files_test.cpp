#include "results/result_files.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/convert.h"
#include "runtime/files.h"

namespace zelvo {
namespace {

const std::string kSep = "\xA1\xDC\xA1\xD5\xA1\xDD";  // ≤≌≥

TEST(ResultFileText, EveryCellFollowedByTheSeparatorEveryRowByALineBreak) {
    EXPECT_EQ(composeResultFile({}), "");
    const ResultTable rows = {{"1", "668001", "2011-1-5 9:30", "北京", "", ""},
                              {"2", "668002", "", "", "", "上海"}};
    EXPECT_EQ(composeResultFile(rows), "1" + kSep + "668001" + kSep + "2011-1-5 9:30" + kSep +
                                           "\xB1\xB1\xBE\xA9" + kSep + kSep + kSep + "\r\n" + "2" +
                                           kSep + "668002" + kSep + kSep + kSep + kSep +
                                           "\xC9\xCF\xBA\xA3" + kSep + "\r\n");
}

TEST(ResultFileText, ParsesLinesAndFields) {
    struct Case {
        const char* what;
        std::string text;
        ResultTable rows;
    };
    const std::vector<Case> cases = {
        {"empty text", "", {}},
        {"two cells", "a" + kSep + "b" + kSep + "\r\n", {{"a", "b"}}},
        {"no final line break", "a" + kSep + "\r\nb" + kSep, {{"a"}, {"b"}}},
        {"empty lines are empty rows", "\r\n\r\na" + kSep + "\r\n", {{}, {}, {"a"}}},
        {"no separator: whole line in column 0", "just text\r\n", {{"just text"}}},
        {"surplus fields dropped",
         "1" + kSep + "2" + kSep + "3" + kSep + "4" + kSep + "5" + kSep + "6" + kSep + "7" + kSep +
             "8" + kSep + "\r\n",
         {{"1", "2", "3", "4", "5", "6"}}},
        {"empty cells kept", kSep + kSep + "x" + kSep + "\r\n", {{"", "", "x"}}},
        {"lone LF is no line break", "a\nb\r\n", {{"a\nb"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parseResultFile(c.text, 6), c.rows);
    }
}

TEST(ResultFileText, RoundTripKeepsEveryCell) {
    const ResultTable rows = {{"1", "668001", "", "北京", "", ""},
                              {"", "", "", "", "", ""},
                              {"3", "　", " ", "a,b", "≌", "x"}};
    EXPECT_EQ(parseResultFile(composeResultFile(rows), 6), rows);
}

TEST(ResultFileText, ArbitraryBytesParseWithoutFault) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> byte(1, 255);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int i = 0; i < 300; ++i) text.push_back(static_cast<char>(byte(random)));
        text += "\xA1";  // a lead byte with nothing after it
        for (const auto& row : parseResultFile(text, 6)) EXPECT_LE(row.size(), 6u);
    }
}

TEST(FilterFileText, HeaderLinesThenNumbers) {
    FilterConditions conditions;
    conditions.startPlace = "北京";
    conditions.endPlace = "";
    conditions.departFrom = MakeDateTime(2011, 1, 5, 17, 35, 51);
    conditions.departTo = MakeDateTime(2011, 2, 1, 8);
    conditions.receiptFrom = MakeDateTime(2010, 12, 31);
    conditions.receiptTo = MakeDateTime(2011, 10, 10, 23, 59, 59);
    EXPECT_EQ(composeFilterFile(conditions, "EMS", {"668001", "668003"}),
              "起点:北京\r\n"
              "终点:\r\n"
              "发货时间:2011年1月5日 - 2011年2月1日\r\n"
              "收货时间:2010年12月31日 - 2011年10月10日\r\n"
              "快递类型:EMS\r\n"
              "快递单编码:\r\n"
              "\r\n"
              "668001\r\n"
              "668003\r\n");
    // The bytes of one header line, colon and all.
    EXPECT_EQ(composeFilterFile(conditions, "", {}).substr(0, 6), "\xC6\xF0\xB5\xE3:\xB1");
}

TEST(FilterFileText, EmptyListGivesExactlySevenLines) {
    FilterConditions conditions;
    conditions.departFrom = conditions.departTo = MakeDateTime(2011, 1, 5);
    conditions.receiptFrom = conditions.receiptTo = MakeDateTime(2011, 1, 6);
    EXPECT_EQ(composeFilterFile(conditions, "", {}),
              "起点:\r\n终点:\r\n发货时间:2011年1月5日 - 2011年1月5日\r\n"
              "收货时间:2011年1月6日 - 2011年1月6日\r\n快递类型:\r\n快递单编码:\r\n\r\n");
}

TEST(BlankNumberFileText, FullWidthColonsFixedSecondLineNumbersAsTheyStand) {
    const std::string header =
        "快递类型：EMS\r\n"
        "[该单号为空白单号，是更具物流公司单号规律生成，无法在淘宝或者官方网站查询!]\r\n"
        "快递单编码：\r\n"
        "\r\n";
    EXPECT_EQ(composeBlankNumberFile("EMS", ""), header);
    EXPECT_EQ(composeBlankNumberFile("EMS", "1\r\n2\r\n"), header + "1\r\n2\r\n");
    EXPECT_EQ(header.substr(8, 2), "\xA3\xBA");
}

TEST(FilterFileName, PlacesJoinedByTheFullWidthHyphen) {
    EXPECT_EQ(filterFileName("", ""), "\xA3\xAD.txt");
    EXPECT_EQ(filterFileName("北京", "上海"), "北京－上海.txt");
}

TEST(FilterFileName, OnlyPlainNamesAreAccepted) {
    struct Case {
        std::string name;
        bool plain;
    };
    for (const Case& c : std::vector<Case>{
             {"北京－上海.txt", true},
             {"..－.txt", true},
             {"－.txt", true},
             {"a/b－.txt", false},
             {"../x－.txt", false},
             {"－..\\x.txt", false},
             {"/tmp/x－.txt", false},
             {"C:x－.txt", false},
             {"x－.txt:stream", false},
             {"..", false},
             {"", false},
             // 0x5C as the second byte of a GBK character is no separator.
             {"\x81\x5C－.txt", true},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isPlainFileName(c.name), c.plain);
    }
}

TEST(JoinPath, OneSeparatorBetweenFolderAndName) {
    const std::string sep(PathSeparator());
    EXPECT_EQ(joinPath("dir", "a.txt"), "dir" + sep + "a.txt");
    EXPECT_EQ(joinPath("dir" + sep, "a.txt"), "dir" + sep + "a.txt");
    EXPECT_EQ(joinPath(sep, "a.txt"), sep + "a.txt");
}

}  // namespace
}  // namespace zelvo
