#include "runtime/convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace zelvo {
namespace {

TEST(NormalizeFullWidth, MapsFullWidthFormsToAscii) {
    EXPECT_EQ(NormalizeFullWidth("１２３ＡＢｃ－＋．"), "123ABc-+.");
    EXPECT_EQ(NormalizeFullWidth("　"), " ");
    EXPECT_EQ(NormalizeFullWidth("\xA1\xAB"), "~");
    EXPECT_EQ(NormalizeFullWidth("\xA1\xEE\xA1\xEF"), "**");
    EXPECT_EQ(NormalizeFullWidth("快递1"), "快递1");
    // A3 followed by a byte outside A1..FE stays a character of its own.
    EXPECT_EQ(NormalizeFullWidth("\xA3\xA0"), "\xA3\xA0");
    // A lone lead byte at the end is kept as it is.
    EXPECT_EQ(NormalizeFullWidth("1\xA3"), "1\xA3");
    // The pair is taken from character starts only: B0 A3 is one character.
    EXPECT_EQ(NormalizeFullWidth("\xB0\xA3\xB1"), "\xB0\xA3\xB1");
}

TEST(ToInteger, Cases) {
    EXPECT_EQ(ToInteger("１２3"), 123);
    EXPECT_EQ(ToInteger("abc"), 0);
    EXPECT_EQ(ToInteger(""), 0);
    EXPECT_EQ(ToInteger("  \t-42x"), -42);
    EXPECT_EQ(ToInteger("+7"), 7);
    EXPECT_EQ(ToInteger("－８"), -8);
    EXPECT_EQ(ToInteger("　30"), 30);
    EXPECT_EQ(ToInteger("12.9"), 12);
    EXPECT_EQ(ToInteger("- 5"), 0);
    EXPECT_EQ(ToInteger("2147483647"), INT_MAX);
    EXPECT_EQ(ToInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(ToInteger("2147483648"), INT_MIN);  // wraps at 32 bits
    EXPECT_EQ(ToInteger("4294967297"), 1);
    EXPECT_EQ(ToInteger("99999999999999999999999"), -159383553);
}

TEST(ToNumber, Cases) {
    EXPECT_DOUBLE_EQ(ToNumber("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(ToNumber("１．５"), 1.5);
    EXPECT_DOUBLE_EQ(ToNumber(" -2e3abc"), -2000.0);
    EXPECT_DOUBLE_EQ(ToNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ToNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(ToNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(ToNumber(7), 7.0);
    EXPECT_DOUBLE_EQ(ToNumber(INT_MIN), -2147483648.0);
}

TEST(ToNumber, IgnoresTheProcessLocale) {
    // A frontend may switch to a locale whose decimal point is a comma.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no such locale here";
    EXPECT_DOUBLE_EQ(ToNumber("1.25"), 1.25);
    EXPECT_EQ(ToText(1.25), "1.25");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(ToText, Numbers) {
    EXPECT_EQ(ToText(0), "0");
    EXPECT_EQ(ToText(-17), "-17");
    EXPECT_EQ(ToText(INT_MIN), "-2147483648");
    EXPECT_EQ(ToText(std::int64_t{9007199254740993}), "9007199254740993");
    EXPECT_EQ(ToText(1.5), "1.5");
    EXPECT_EQ(ToText(100.0), "100");
    EXPECT_EQ(ToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(ToText(1234567890123.0), "1234567890123");
    EXPECT_EQ(ToText(12345678901234.0), "1.234567890123e+13");
    EXPECT_EQ(ToText(0.0001), "0.0001");
    EXPECT_EQ(ToText(0.00001), "1e-05");
    EXPECT_EQ(ToText(-0.0), "-0");
}

TEST(ToText, NumbersAgreeWithPrintf) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 20000; ++i) {
        double v;
        const std::uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        if (i % 2) v = static_cast<double>(static_cast<std::int64_t>(rng() % 2000000) - 1000000) / 1000.0;
#ifdef _WIN32
        // MinGW's printf drops the sign of a negative NaN; ToText keeps it
        // on every platform.
        if (std::isnan(v)) continue;
#endif
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.13g", v);
        ASSERT_EQ(ToText(v), expected);
    }
}

TEST(ToText, LogicalsAndBytes) {
    EXPECT_EQ(ToText(true), "真");
    EXPECT_EQ(ToText(false), "假");
    const Bytes withNul = {'a', 'b', 0, 'c'};
    EXPECT_EQ(ToText(BytesView(withNul)), "ab");
    const Bytes plain = {'x', 'y'};
    EXPECT_EQ(ToText(BytesView(plain)), "xy");
    EXPECT_EQ(ToText(BytesView()), "");
    EXPECT_EQ(ToBytes("快"), (Bytes{0xBF, 0xEC}));
    EXPECT_EQ(ToBytes(""), Bytes{});
}

TEST(ToText, DateTimeOmitsZeroTrailingParts) {
    EXPECT_EQ(ToText(MakeDateTime(2010, 1, 1)), "2010年1月1日");
    EXPECT_EQ(ToText(MakeDateTime(2010, 1, 1, 8)), "2010年1月1日8时");
    EXPECT_EQ(ToText(MakeDateTime(2010, 1, 1, 8, 5)), "2010年1月1日8时5分");
    EXPECT_EQ(ToText(MakeDateTime(2011, 1, 5, 17, 35)), "2011年1月5日17时35分");
    EXPECT_EQ(ToText(MakeDateTime(2010, 1, 1, 0, 0, 9)), "2010年1月1日0时0分9秒");
    EXPECT_EQ(ToText(MakeDateTime(2010, 1, 1, 0, 7)), "2010年1月1日0时7分");
    EXPECT_EQ(ToText(kNoDate), "100年1月1日");
    // Values outside the range are clamped before formatting.
    EXPECT_EQ(ToText(DateTime{-1e9}), "100年1月1日");
    EXPECT_EQ(ToText(DateTime{1e9}), "9999年12月31日23时59分59秒");
    EXPECT_EQ(ToText(DateTime{std::numeric_limits<double>::quiet_NaN()}), "100年1月1日");
}

struct ParseCase {
    const char* text;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // year 0: no date
};

TEST(TextToDateTime, Grammar) {
    const ParseCase cases[] = {
        {"20100101", 2010, 1, 1, 0, 0, 0},
        {"2010-1-5 9:30", 2010, 1, 5, 9, 30, 0},
        {"2010年1月5日9时30分15秒", 2010, 1, 5, 9, 30, 15},
        {"2010年1月5日", 2010, 1, 5, 0, 0, 0},
        {"2010/12/31/23/59/59", 2010, 12, 31, 23, 59, 59},
        {"2010.02.28", 2010, 2, 28, 0, 0, 0},
        {"2010:2:3", 2010, 2, 3, 0, 0, 0},
        {"201012312359", 2010, 12, 31, 23, 59, 0},
        {"２０１０－０１－０２", 2010, 1, 2, 0, 0, 0},
        {"2010-1-2　3", 2010, 1, 2, 3, 0, 0},
        {"100-1-1", 100, 1, 1, 0, 0, 0},
        {"9999-12-31 23:59:59", 9999, 12, 31, 23, 59, 59},
        {"2012-2-29", 2012, 2, 29, 0, 0, 0},
        {"2000-2-29", 2000, 2, 29, 0, 0, 0},
        {"2010-1-5 9:30秒", 2010, 1, 5, 9, 30, 0},
        // Failures.
        {"", 0},
        {"2010", 0},
        {"2010-13-1", 0},
        {"2010-4-31", 0},
        {"2010-2-29", 0},
        {"1900-2-29", 0},
        {"2010-1-0", 0},
        {"2010-0-1", 0},
        {"99-1-1", 0},
        {"10-1-1", 0},
        {"0100-1-1", 100, 1, 1, 0, 0, 0},
        {"2010-1-1 24", 0},
        {"2010-1-1 1:60", 0},
        {"2010-1-1 1:1:60", 0},
        {"2010-1-1x", 0},
        {"2010-1-1 1:1:1:1", 0},
        {"2010-1-5 9:30秒x", 0},
        {" 2010-1-1", 0},
        {"abc", 0},
        {"2010--1-1", 0},
        {"2010年1月5日 9时", 0},  // only one separator between day and hour
        {"2010-1-1\xC3", 0},      // a lone lead byte after the date
    };
    for (const ParseCase& c : cases) {
        DateTime expected = c.year == 0 ? kNoDate
                                        : MakeDateTime(c.year, c.month, c.day, c.hour, c.minute,
                                                       c.second);
        EXPECT_EQ(TextToDateTime(c.text), expected) << ::testing::PrintToString(std::string(c.text));
    }
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int MonthLength(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Every date of a sample of years in every written form, and the day after
// each month's end, which must fail.
TEST(TextToDateTime, AcceptsEveryValidDateAndRejectsTheDayAfter) {
    const int years[] = {100, 101, 400, 999, 1000, 1600, 1700, 1899, 1900, 1999, 2000, 2010,
                         2012, 2024, 2100, 2400, 9998, 9999};
    for (int y : years) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= MonthLength(y, m) + 1; ++d) {
                const bool valid = d <= MonthLength(y, m);
                const DateTime expected = valid ? MakeDateTime(y, m, d) : kNoDate;
                char buf[64];
                std::snprintf(buf, sizeof buf, "%d-%d-%d", y, m, d);
                ASSERT_EQ(TextToDateTime(buf), expected) << buf;
                std::snprintf(buf, sizeof buf, "%d年%02d月%02d日", y, m, d);
                ASSERT_EQ(TextToDateTime(buf), expected) << buf;
                if (y >= 1000) {
                    std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
                    ASSERT_EQ(TextToDateTime(buf), expected) << buf;
                }
                std::snprintf(buf, sizeof buf, "%d/%d/%d 23:59:59", y, m, d);
                ASSERT_EQ(TextToDateTime(buf),
                          valid ? MakeDateTime(y, m, d, 23, 59, 59) : kNoDate)
                    << buf;
            }
        }
    }
}

TEST(TextToDateTime, RoundTripsThroughToText) {
    const double first = MakeDateTime(100, 1, 1).days;
    const double last = MakeDateTime(9999, 12, 31).days;
    int checked = 0;
    for (double day = first; day <= last; day += 97.0) {
        const int seconds = (checked * 7919) % 86400;
        const DateTime t{day + seconds / 86400.0};
        const std::string text = ToText(t);
        ASSERT_EQ(ToText(TextToDateTime(text)), text);
        ASSERT_NEAR(TextToDateTime(text).days, t.days, 0.5 / 86400) << ::testing::PrintToString(text);
        ++checked;
    }
    EXPECT_GT(checked, 30000);
    EXPECT_EQ(ToText(TextToDateTime(ToText(kMaxDateTime))), "9999年12月31日");
}

}  // namespace
}  // namespace zelvo
