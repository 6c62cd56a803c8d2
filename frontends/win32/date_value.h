#pragma once

#include "runtime/datetime.h"
#include "win32_api.h"

// Date-times cross to the date-time picker as SYSTEMTIME, whose years start
// at 1601: earlier dates show as 1601-01-01.
namespace zelvo::win32 {

SYSTEMTIME ToSystemTime(DateTime value);
DateTime FromSystemTime(const SYSTEMTIME& value);

}  // namespace zelvo::win32
