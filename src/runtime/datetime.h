#pragma once

#include <compare>
#include <cstdint>

namespace zelvo {

// Days since 1899-12-30 00:00:00 local time; the fraction is the time of day.
// 100-01-01 00:00:00 is the lower limit and also stands for "no date".
struct DateTime {
    double days = -657434.0;
    auto operator<=>(const DateTime&) const = default;
};

inline constexpr DateTime kMinDateTime{-657434.0};  // 100-01-01 00:00:00
inline constexpr DateTime kMaxDateTime{2958465.0};  // 9999-12-31 00:00:00
inline constexpr DateTime kNoDate = kMinDateTime;

// Builds a date-time from calendar fields; fields out of range give kNoDate.
DateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                      int second = 0);

DateTime Now();
DateTime DatePart(DateTime t);
// part: 1 year, 2 quarter, 3 month, 4 week, 5 day, 6 hour, 7 minute, 8 second.
DateTime AddToDateTime(DateTime t, int part, int amount);

// The calendar fields of a date-time, after clamping it into the valid range
// (100-01-01 00:00:00 to 9999-12-31 23:59:59: the last day counts whole) and
// rounding it to the nearest second. Every operation below clamps the same way.
struct DateTimeFields {
    int year = 100, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
DateTimeFields SplitDateTime(DateTime t);

int YearOf(DateTime t);
int MonthOf(DateTime t);
int DayOf(DateTime t);
int HourOf(DateTime t);
int MinuteOf(DateTime t);
int SecondOf(DateTime t);

// Milliseconds since the system started, wrapping at 32 bits.
std::uint32_t TickCount();

}  // namespace zelvo
