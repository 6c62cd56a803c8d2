#include "runtime/datetime.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>

#include "platform_probe.h"
#include "runtime/convert.h"

namespace zelvo {
namespace {

TEST(MakeDateTime, DayNumbersAndFields) {
    EXPECT_EQ(MakeDateTime(1899, 12, 30).days, 0.0);
    EXPECT_EQ(MakeDateTime(1899, 12, 31).days, 1.0);
    EXPECT_EQ(MakeDateTime(1900, 1, 1).days, 2.0);
    EXPECT_EQ(MakeDateTime(2010, 1, 1).days, 40179.0);
    EXPECT_EQ(MakeDateTime(100, 1, 1), kMinDateTime);
    EXPECT_EQ(MakeDateTime(9999, 12, 31), kMaxDateTime);
    EXPECT_EQ(MakeDateTime(2010, 1, 1, 12).days, 40179.5);
    EXPECT_EQ(MakeDateTime(1899, 12, 29, 6).days, -0.75);  // linear before the epoch too
    EXPECT_EQ(MakeDateTime(99, 12, 31), kNoDate);
    EXPECT_EQ(MakeDateTime(2010, 2, 29), kNoDate);
    EXPECT_EQ(MakeDateTime(2010, 1, 1, 24), kNoDate);
}

TEST(SplitDateTime, FieldsAndClamping) {
    const DateTime t = MakeDateTime(2011, 1, 5, 17, 35, 9);
    EXPECT_EQ(YearOf(t), 2011);
    EXPECT_EQ(MonthOf(t), 1);
    EXPECT_EQ(DayOf(t), 5);
    EXPECT_EQ(HourOf(t), 17);
    EXPECT_EQ(MinuteOf(t), 35);
    EXPECT_EQ(SecondOf(t), 9);
    // The fraction rounds to the nearest second.
    EXPECT_EQ(SecondOf(DateTime{t.days + 0.4 / 86400}), 9);
    EXPECT_EQ(SecondOf(DateTime{t.days + 0.6 / 86400}), 10);
    EXPECT_EQ(DayOf(DateTime{MakeDateTime(2010, 1, 1).days - 0.1 / 86400}), 1);
    EXPECT_EQ(YearOf(DateTime{-1e300}), 100);
    EXPECT_EQ(YearOf(DateTime{1e300}), 9999);
    EXPECT_EQ(MonthOf(DateTime{1e300}), 12);
    EXPECT_EQ(DayOf(DateTime{1e300}), 31);
}

TEST(DatePart, DropsTheTimeOfDay) {
    EXPECT_EQ(DatePart(MakeDateTime(2010, 3, 4, 5, 6, 7)), MakeDateTime(2010, 3, 4));
    EXPECT_EQ(DatePart(MakeDateTime(1800, 3, 4, 23, 59, 59)), MakeDateTime(1800, 3, 4));
    EXPECT_EQ(DatePart(DateTime{-1e9}), kMinDateTime);
}

struct AddCase {
    DateTime from;
    int part, amount;
    DateTime expected;
};

TEST(AddToDateTime, Cases) {
    const DateTime t = MakeDateTime(2010, 5, 6, 7, 8, 9);
    const AddCase cases[] = {
        {MakeDateTime(2010, 1, 31), 3, 1, MakeDateTime(2010, 2, 28)},
        {MakeDateTime(2012, 1, 31), 3, 1, MakeDateTime(2012, 2, 29)},
        {MakeDateTime(2012, 2, 29), 1, 1, MakeDateTime(2013, 2, 28)},
        {MakeDateTime(2012, 2, 29), 1, 4, MakeDateTime(2016, 2, 29)},
        {MakeDateTime(2012, 2, 29), 1, -100, MakeDateTime(1912, 2, 29)},
        {MakeDateTime(2012, 2, 29), 1, 88, MakeDateTime(2100, 2, 28)},
        {MakeDateTime(2010, 3, 31), 3, -1, MakeDateTime(2010, 2, 28)},
        {MakeDateTime(2010, 12, 15), 3, 1, MakeDateTime(2011, 1, 15)},
        {MakeDateTime(2010, 1, 15), 3, -1, MakeDateTime(2009, 12, 15)},
        {MakeDateTime(2010, 1, 15), 3, -13, MakeDateTime(2008, 12, 15)},
        {MakeDateTime(2010, 1, 15), 3, 24, MakeDateTime(2012, 1, 15)},
        {MakeDateTime(2010, 11, 30), 2, 1, MakeDateTime(2011, 2, 28)},
        {MakeDateTime(2010, 8, 31, 13, 14, 15), 2, -2, MakeDateTime(2010, 2, 28, 13, 14, 15)},
        {t, 4, 1, MakeDateTime(2010, 5, 13, 7, 8, 9)},
        {t, 5, -30, MakeDateTime(2010, 4, 6, 7, 8, 9)},
        {t, 6, 20, MakeDateTime(2010, 5, 7, 3, 8, 9)},
        {t, 7, 1, MakeDateTime(2010, 5, 6, 7, 9, 9)},
        {t, 8, -10, MakeDateTime(2010, 5, 6, 7, 7, 59)},
        {t, 0, 1, MakeDateTime(2011, 5, 6, 7, 8, 9)},    // parts below 1 are years
        {t, 99, 1, MakeDateTime(2010, 5, 6, 7, 8, 10)},  // parts above 8 are seconds
        // The year is held within 100..9999 and the day cut to the month.
        {MakeDateTime(9999, 12, 31), 3, 1, MakeDateTime(9999, 1, 31)},
        {MakeDateTime(9999, 5, 31), 1, 1, MakeDateTime(9999, 5, 31)},
        {MakeDateTime(100, 3, 31), 3, -2, MakeDateTime(100, 1, 31)},
        {MakeDateTime(100, 3, 31), 1, INT_MIN, MakeDateTime(100, 3, 31)},
        {MakeDateTime(2010, 3, 31), 1, INT_MAX, MakeDateTime(9999, 3, 31)},
        {MakeDateTime(2010, 3, 31), 2, INT_MAX, MakeDateTime(9999, 12, 31)},
        // Spans stop at the ends of the range.
        {MakeDateTime(100, 1, 2), 5, -5, kMinDateTime},
        {MakeDateTime(9999, 12, 30), 4, 2, MakeDateTime(9999, 12, 31, 23, 59, 59)},
        {t, 8, INT_MAX, MakeDateTime(2078, 5, 24, 10, 22, 16)},
    };
    for (const AddCase& c : cases) {
        EXPECT_EQ(AddToDateTime(c.from, c.part, c.amount), c.expected)
            << ToText(c.from) << " part " << c.part << " amount " << c.amount;
    }
}

int MonthLength(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

TEST(AddToDateTime, MonthEndsOverFourHundredYears) {
    // From every day 28..31 of every month, one month and one year on keep the
    // day where the target month has it and cut it to the month's end
    // otherwise; the time of day stays.
    for (int y = 1600; y < 2000; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 28; d <= MonthLength(y, m); ++d) {
                const DateTime from = MakeDateTime(y, m, d, 13, 0, 1);
                const int nm = m % 12 + 1, ny = m == 12 ? y + 1 : y;
                ASSERT_EQ(AddToDateTime(from, 3, 1),
                          MakeDateTime(ny, nm, std::min(d, MonthLength(ny, nm)), 13, 0, 1))
                    << y << "-" << m << "-" << d;
                ASSERT_EQ(AddToDateTime(from, 1, 1),
                          MakeDateTime(y + 1, m, std::min(d, MonthLength(y + 1, m)), 13, 0, 1))
                    << y << "-" << m << "-" << d;
                const int pm = m == 1 ? 12 : m - 1, py = m == 1 ? y - 1 : y;
                ASSERT_EQ(AddToDateTime(from, 3, -1),
                          MakeDateTime(py, pm, std::min(d, MonthLength(py, pm)), 13, 0, 1))
                    << y << "-" << m << "-" << d;
            }
        }
    }
}

TEST(Now, IsTheLocalTime) {
    const std::time_t before = std::time(nullptr);
    const DateTime now = Now();
    const std::tm local = testing::LocalCalendar(before);
    // Only the date is compared, so a second ticking over does not matter
    // except exactly at midnight.
    if (local.tm_hour == 23 && local.tm_min == 59) GTEST_SKIP();
    EXPECT_EQ(YearOf(now), local.tm_year + 1900);
    EXPECT_EQ(MonthOf(now), local.tm_mon + 1);
    EXPECT_EQ(DayOf(now), local.tm_mday);
}

TEST(TickCount, DoesNotGoBackwards) {
    const std::uint32_t a = TickCount();
    const std::uint32_t b = TickCount();
    EXPECT_LE(static_cast<std::uint32_t>(b - a), 60000u);
}

}  // namespace
}  // namespace zelvo
