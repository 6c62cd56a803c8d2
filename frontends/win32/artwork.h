#pragma once

#include "win32_api.h"

// The banner of the main window, drawn at run time as the Qt frontend draws
// it, so that no image file ships. The window icon is a resource.
namespace zelvo::win32 {

// A device-dependent bitmap of width × height device pixels; the caller owns it.
HBITMAP CreateBannerBitmap(int width, int height);

// Gives the window the program's icon (resource 1): the small one for its
// caption, the large one for task switching. The icons are shared: the
// system keeps one copy per size however many windows show it, and frees it
// itself.
void ShowProgramIcon(HWND window);

}  // namespace zelvo::win32
