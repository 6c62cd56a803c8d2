// The local time and the tick count from the Windows kernel.
#include <windows.h>

#include <algorithm>

#include "runtime/datetime.h"

namespace zelvo {

DateTime Now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return MakeDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                        std::min<int>(local.wSecond, 59));
}

std::uint32_t TickCount() { return GetTickCount(); }

}  // namespace zelvo
