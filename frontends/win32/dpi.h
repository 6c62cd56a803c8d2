#pragma once

#include "win32_api.h"

// Sizes in the window descriptions are pixels at 96 dots per inch; the
// program is per-monitor DPI aware, so each window scales them by the DPI
// of the monitor it is on.
namespace zelvo::win32 {

// The window's DPI (the system's before Windows 10, or for no window).
UINT DpiOf(HWND window);
inline int Scale(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

}  // namespace zelvo::win32
