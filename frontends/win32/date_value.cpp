#include "date_value.h"

namespace zelvo::win32 {

SYSTEMTIME ToSystemTime(DateTime value) {
    const DateTimeFields f = SplitDateTime(value);
    SYSTEMTIME t{};
    if (f.year < 1601) {
        t.wYear = 1601;
        t.wMonth = 1;
        t.wDay = 1;
        return t;
    }
    t.wYear = static_cast<WORD>(f.year);
    t.wMonth = static_cast<WORD>(f.month);
    t.wDay = static_cast<WORD>(f.day);
    t.wHour = static_cast<WORD>(f.hour);
    t.wMinute = static_cast<WORD>(f.minute);
    t.wSecond = static_cast<WORD>(f.second);
    return t;
}

DateTime FromSystemTime(const SYSTEMTIME& value) {
    return MakeDateTime(value.wYear, value.wMonth, value.wDay, value.wHour, value.wMinute,
                        value.wSecond);
}

}  // namespace zelvo::win32
