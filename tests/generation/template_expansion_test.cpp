#include "generation/template_expansion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "runtime/convert.h"
#include "runtime/datetime.h"
#include "runtime/random.h"

namespace zelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr const char* kDefaultTemplate = "{固数1}+{递增}+{时间}+{随机}";

GenerationSettings DefaultSettings() {
    return {.fixed1 = "268928453",
            .fixed2 = "999",
            .fixed3 = "999",
            .randomCount = "3",
            .counter = "111111111",
            .startTime = "20100101"};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

bool AllDigits(std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

TEST(TemplateSplit, FollowsTheSplitRules) {
    struct Case {
        const char* text;
        std::vector<std::string> parts;
    } cases[] = {
        {"", {}},
        {"{固数1}+{随机}", {"{固数1}", "{随机}"}},
        {"{固数1}{随机}", {"{固数1}{随机}"}},
        {"{递增}++{时间}", {"{递增}", "", "{时间}"}},
        {"{递增}+", {"{递增}"}},
        {"+{递增}", {"", "{递增}"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitTemplate(c.text), c.parts) << c.text;
}

TEST(TemplateSplit, PartsAreComparedByteForByte) {
    struct Case {
        const char* part;
        PlaceholderKind kind;
    } cases[] = {
        {"{固数1}", PlaceholderKind::Fixed1},
        {"{固数2}", PlaceholderKind::Fixed2},
        {"{固数3}", PlaceholderKind::Fixed3},
        {"{随机}", PlaceholderKind::Random},
        {"{递增}", PlaceholderKind::Increment},
        {"{时间}", PlaceholderKind::Time},
        {"", PlaceholderKind::None},
        {" {随机}", PlaceholderKind::None},
        {"{随机} ", PlaceholderKind::None},
        {"{固数4}", PlaceholderKind::None},
        {"｛随机｝", PlaceholderKind::None},
        {"{固数１}", PlaceholderKind::None},
        {"{固数1}{随机}", PlaceholderKind::None},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyPart(c.part), c.kind) << c.part;
}

TEST(Generation, DefaultSettingsRun) {
    GenerationSettings settings = DefaultSettings();
    TemplateExpander expander(settings);
    std::vector<std::string> lines =
        Lines(ExpandLines(expander, splitTemplate(kDefaultTemplate), 50));

    ASSERT_EQ(lines.size(), 50u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 33u) << line;
        EXPECT_TRUE(AllDigits(line)) << line;
    }
    EXPECT_THAT(lines[0], StartsWith("268928453111111112201001010001"));
    EXPECT_THAT(lines[1], StartsWith("268928453111111113201001010002"));
    EXPECT_THAT(lines[49], StartsWith("268928453111111161201001010050"));
    EXPECT_TRUE(expander.counterUsed());
    EXPECT_EQ(expander.counterText(), "111111161");

    // A second run continues the counter the box now holds, and restarts the time.
    settings.counter = expander.counterText();
    TemplateExpander second(settings);
    EXPECT_THAT(Lines(ExpandLines(second, splitTemplate(kDefaultTemplate), 1))[0],
                StartsWith("268928453111111162201001010001"));
}

TEST(Generation, UnrecognisedAndEmptyTemplates) {
    GenerationSettings settings = DefaultSettings();
    TemplateExpander expander(settings);
    EXPECT_EQ(ExpandLines(expander, splitTemplate("{固数1}{随机}"), 2), "\r\n\r\n");
    EXPECT_EQ(ExpandLines(expander, splitTemplate(""), 3), "\r\n\r\n\r\n");
    EXPECT_EQ(ExpandLines(expander, splitTemplate(kDefaultTemplate), 0), "");
    EXPECT_EQ(ExpandLines(expander, splitTemplate(kDefaultTemplate), -5), "");
    EXPECT_FALSE(expander.counterUsed()) << "no line, no counter value taken";
}

TEST(Generation, FixedPartsAreTakenAsTheyStand) {
    GenerationSettings settings = DefaultSettings();
    settings.fixed1 = " 0１a";
    settings.fixed2 = "";
    settings.fixed3 = "快递";
    TemplateExpander expander(settings);
    EXPECT_EQ(ExpandLines(expander, splitTemplate("{固数3}+{固数2}+{固数1}+{固数3}"), 1),
              "快递 0１a快递\r\n");
}

TEST(Counter, TakesTwoValuesPerLineWithTwoPlaceholders) {
    GenerationSettings settings = DefaultSettings();
    settings.counter = "5";
    TemplateExpander expander(settings);
    EXPECT_EQ(ExpandLines(expander, splitTemplate("{递增}+{递增}"), 2), "67\r\n89\r\n");
    EXPECT_EQ(expander.counterText(), "9");
}

TEST(Counter, ReadsTheBoxAsTheRuntimeDoesAndWrapsAt32Bits) {
    struct Case {
        const char* box;
        std::vector<std::string> next;
    } cases[] = {
        {"99999999999", {"1215752192", "1215752193"}},
        {"2147483647", {"-2147483648", "-2147483647"}},
        {"-2", {"-1", "0", "1"}},
        {"", {"1"}},
        {"abc", {"1"}},
        {"  41xyz", {"42"}},
        {"１２", {"13"}},
    };
    for (const Case& c : cases) {
        GenerationSettings settings = DefaultSettings();
        settings.counter = c.box;
        TemplateExpander expander(settings);
        for (const std::string& expected : c.next) {
            EXPECT_EQ(expander.nextIncrement(), expected) << "box " << c.box;
        }
        EXPECT_EQ(expander.counterText(), c.next.back());
    }
}

TEST(TimeStamp, AdvancesMinuteByMinuteAcrossCalendarEnds) {
    struct Case {
        const char* start;
        int minutes;  // the stamp after this many {时间}
        const char* stamp;
    } cases[] = {
        {"20100101", 1, "201001010001"},
        {"20100101", 60, "201001010100"},
        {"20100101", 61, "201001010101"},
        {"20100101", 1440, "201001020000"},
        {"2010-01-31 23:59", 1, "201002010000"},
        {"2010-04-30 23:59", 1, "201005010000"},
        {"2010-12-31 23:59", 1, "201101010000"},
        {"2011-02-28 23:59", 1, "201103010000"},
        {"2012-02-28 23:59", 1, "201202290000"},
        {"2012-02-29 23:59", 1, "201203010000"},
        {"2000-02-28 23:59", 1, "200002290000"},
        {"2100-02-28 23:59", 1, "210003010000"},
        {"2010-01-01 00:00:30", 1, "201001010001"},
        {"abc", 1, "10001010001"},
        {"20101301", 1, "10001010001"},
        {"", 2, "10001010002"},
        {"9999-12-30 23:59", 1, "999912310000"},
        {"9999-12-30 23:59", 3, "999912310000"},
    };
    for (const Case& c : cases) {
        GenerationSettings settings = DefaultSettings();
        settings.startTime = c.start;
        TemplateExpander expander(settings);
        std::string stamp;
        for (int i = 0; i < c.minutes; ++i) stamp = expander.nextTimeStamp();
        EXPECT_EQ(stamp, c.stamp) << c.start << " + " << c.minutes << " min";
    }
}

TEST(TimeStamp, AgreesWithCalendarArithmeticOverALeapYearEnd) {
    GenerationSettings settings = DefaultSettings();
    settings.startTime = "2012-02-27 22:00";
    TemplateExpander expander(settings);
    DateTime start = TextToDateTime(settings.startTime);
    // Through 29 February, and on to 1 March, minute by minute.
    for (int minute = 1; minute <= 3 * 1440; ++minute) {
        ASSERT_EQ(expander.nextTimeStamp(), formatTimeStamp(AddToDateTime(start, 7, minute)))
            << "minute " << minute;
    }
    EXPECT_EQ(expander.runningTime(), AddToDateTime(start, 7, 3 * 1440));

    settings.startTime = "2010-12-31 22:00";
    TemplateExpander yearEnd(settings);
    start = TextToDateTime(settings.startTime);
    for (int minute = 1; minute <= 300; ++minute) {
        ASSERT_EQ(yearEnd.nextTimeStamp(), formatTimeStamp(AddToDateTime(start, 7, minute)))
            << "minute " << minute;
    }
}

TEST(TimeStamp, FormatPadsOneCharacterFields) {
    EXPECT_EQ(formatTimeStamp(MakeDateTime(2010, 1, 5, 9, 3, 59)), "201001050903");
    EXPECT_EQ(formatTimeStamp(MakeDateTime(2011, 12, 25, 23, 45)), "201112252345");
    EXPECT_EQ(formatTimeStamp(kNoDate), "10001010000");
}

int reseeds = 0;
void FixedSeed() {
    ++reseeds;
    SeedRandom(1234u);
}

TEST(RandomDigits, ReseedsAtEveryExpansion) {
    GenerationSettings settings = DefaultSettings();
    TemplateExpander expander(settings, &FixedSeed);
    reseeds = 0;
    std::string first = expander.randomDigits(12);
    EXPECT_EQ(first.size(), 12u);
    EXPECT_TRUE(AllDigits(first));
    // The same seed at every {随机}: the same digits every time.
    EXPECT_EQ(expander.randomDigits(12), first);
    EXPECT_EQ(expander.randomDigits(0), "");
    EXPECT_EQ(expander.randomDigits(-3), "");
    EXPECT_EQ(reseeds, 4) << "reseeded even for no digits";

    settings.randomCount = "5";
    TemplateExpander run(settings, &FixedSeed);
    std::vector<std::string> lines = Lines(ExpandLines(run, splitTemplate("{随机}+{随机}"), 3));
    EXPECT_THAT(lines, ElementsAre(first.substr(0, 5) + first.substr(0, 5),
                                   first.substr(0, 5) + first.substr(0, 5),
                                   first.substr(0, 5) + first.substr(0, 5)));
}

TEST(RandomDigits, BadDigitCountsGiveNoDigits) {
    for (const char* box : {"", "abc", "-4", "0"}) {
        GenerationSettings settings = DefaultSettings();
        settings.randomCount = box;
        TemplateExpander expander(settings);
        EXPECT_EQ(ExpandLines(expander, splitTemplate("{随机}"), 2), "\r\n\r\n") << box;
    }
}

TEST(RandomDigits, ClockReseedsDifferWithinOneMillisecondAndCoverEveryDigit) {
    GenerationSettings settings = DefaultSettings();
    TemplateExpander expander(settings);
    std::set<std::string> draws;
    std::set<char> digits;
    for (int i = 0; i < 200; ++i) {
        std::string d = expander.randomDigits(16);
        ASSERT_EQ(d.size(), 16u);
        ASSERT_TRUE(AllDigits(d));
        draws.insert(d);
        digits.insert(d.begin(), d.end());
    }
    // 200 draws take far less than 200 ms, so many share a tick.
    EXPECT_EQ(draws.size(), 200u);
    EXPECT_EQ(digits.size(), 10u);
}

TEST(Limits, ADefaultRunOfAMillionFitsAndHugeRunsDoNot) {
    GenerationSettings settings = DefaultSettings();
    auto kinds = [](const char* text) {
        std::vector<PlaceholderKind> k;
        for (const std::string& part : splitTemplate(text)) k.push_back(ClassifyPart(part));
        return k;
    };
    EXPECT_EQ(MaxLineBytes(kinds(kDefaultTemplate), settings), 9 + 11 + 12 + 3 + 2);
    EXPECT_TRUE(FitsGenerationLimits(1'000'000, kinds(kDefaultTemplate), settings));
    EXPECT_TRUE(FitsGenerationLimits(kMaxGeneratedLines, kinds(""), settings));
    EXPECT_FALSE(FitsGenerationLimits(kMaxGeneratedLines + 1, kinds(""), settings));
    EXPECT_FALSE(FitsGenerationLimits(2'147'483'647, kinds(kDefaultTemplate), settings));
    EXPECT_TRUE(FitsGenerationLimits(0, kinds(kDefaultTemplate), settings));
    EXPECT_TRUE(FitsGenerationLimits(-5, kinds(kDefaultTemplate), settings));

    settings.randomCount = "2147483647";
    EXPECT_FALSE(FitsGenerationLimits(1, kinds("{随机}"), settings));
    EXPECT_FALSE(FitsGenerationLimits(1, kinds("{随机}+{随机}+{随机}+{随机}"), settings));
    EXPECT_TRUE(FitsGenerationLimits(1, kinds("{递增}"), settings)) << "unused digit count";
    std::string manyParts;
    for (int i = 0; i < 64; ++i) manyParts += "{固数2}+";
    settings.fixed2 = "";
    EXPECT_TRUE(FitsGenerationLimits(1'000'000, kinds(manyParts.c_str()), settings));
    EXPECT_FALSE(FitsGenerationLimits(1'000'001, kinds(manyParts.c_str()), settings))
        << "parts without bytes still take time";
    EXPECT_TRUE(FitsGenerationLimits(2'000'000, kinds("x+++++++++++++++++++++++"), settings))
        << "unrecognised parts cost nothing";

    settings.randomCount = "100000";
    EXPECT_TRUE(FitsGenerationLimits(1000, kinds("{随机}"), settings));
    EXPECT_FALSE(FitsGenerationLimits(2000, kinds("{随机}"), settings));
}

}  // namespace
}  // namespace zelvo
