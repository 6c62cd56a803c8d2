#include "runtime/datetime.h"

#include <algorithm>
#include <cmath>

// Calendar arithmetic is done here on the proleptic Gregorian calendar rather
// than through time_t, whose range and time zone rules would not cover the
// years 100..9999. Values are linear in time: the integer part (rounded down)
// is the day, the rest the time of day, also before 1899-12-30.
namespace zelvo {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kMinDay = -657434;  // 100-01-01
constexpr std::int64_t kMaxDay = 2958465;  // 9999-12-31
constexpr std::int64_t kMinSecond = kMinDay * kSecondsPerDay;
// The last day is valid as a whole, up to 23:59:59.
constexpr std::int64_t kMaxSecond = kMaxDay * kSecondsPerDay + kSecondsPerDay - 1;
// Days from 0000-03-01 (civil algorithm's epoch) to 1899-12-30.
constexpr std::int64_t kEpochShift = 693899;

bool IsLeapYear(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(std::int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Day number of a calendar date, counted from 1899-12-30 (years >= 1).
std::int64_t DayFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = y / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - kEpochShift;
}

void CivilFromDay(std::int64_t day, int& year, int& month, int& dayOfMonth) {
    const std::int64_t z = day + kEpochShift;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    dayOfMonth = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// The date-time as whole seconds since 1899-12-30, clamped into the valid range.
std::int64_t ToSeconds(DateTime t) {
    double d = t.days;
    if (std::isnan(d) || d <= static_cast<double>(kMinDay)) return kMinSecond;
    if (d >= static_cast<double>(kMaxDay + 1)) return kMaxSecond;
    double day = std::floor(d);
    std::int64_t second = std::llround((d - day) * kSecondsPerDay);
    return std::clamp(static_cast<std::int64_t>(day) * kSecondsPerDay + second, kMinSecond,
                      kMaxSecond);
}

DateTime FromSeconds(std::int64_t seconds) {
    seconds = std::clamp(seconds, kMinSecond, kMaxSecond);
    std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
    std::int64_t rest = seconds - day * kSecondsPerDay;
    return DateTime{static_cast<double>(day) + static_cast<double>(rest) / kSecondsPerDay};
}

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        return kNoDate;
    }
    return FromSeconds(DayFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 +
                       minute * 60 + second);
}

DateTimeFields SplitDateTime(DateTime t) {
    std::int64_t seconds = ToSeconds(t);
    std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
    int rest = static_cast<int>(seconds - day * kSecondsPerDay);
    DateTimeFields f;
    CivilFromDay(day, f.year, f.month, f.day);
    f.hour = rest / 3600;
    f.minute = rest / 60 % 60;
    f.second = rest % 60;
    return f;
}

DateTime DatePart(DateTime t) {
    return FromSeconds(FloorDiv(ToSeconds(t), kSecondsPerDay) * kSecondsPerDay);
}

DateTime AddToDateTime(DateTime t, int part, int amount) {
    part = std::clamp(part, 1, 8);
    const std::int64_t seconds = ToSeconds(t);
    if (part <= 3) {
        static constexpr std::int64_t kMonthsPerUnit[] = {12, 3, 1};
        DateTimeFields f = SplitDateTime(t);
        std::int64_t month0 = f.month - 1 + static_cast<std::int64_t>(amount) * kMonthsPerUnit[part - 1];
        std::int64_t year = f.year + FloorDiv(month0, 12);
        int month = static_cast<int>(month0 - FloorDiv(month0, 12) * 12) + 1;
        year = std::clamp<std::int64_t>(year, 100, 9999);
        int day = std::min(f.day, DaysInMonth(year, month));
        std::int64_t timeOfDay = seconds - FloorDiv(seconds, kSecondsPerDay) * kSecondsPerDay;
        return FromSeconds(DayFromCivil(year, month, day) * kSecondsPerDay + timeOfDay);
    }
    static constexpr std::int64_t kSecondsPerUnit[] = {7 * 86400, 86400, 3600, 60, 1};
    return FromSeconds(seconds + static_cast<std::int64_t>(amount) * kSecondsPerUnit[part - 4]);
}

int YearOf(DateTime t) { return SplitDateTime(t).year; }
int MonthOf(DateTime t) { return SplitDateTime(t).month; }
int DayOf(DateTime t) { return SplitDateTime(t).day; }
int HourOf(DateTime t) { return SplitDateTime(t).hour; }
int MinuteOf(DateTime t) { return SplitDateTime(t).minute; }
int SecondOf(DateTime t) { return SplitDateTime(t).second; }

}  // namespace zelvo
