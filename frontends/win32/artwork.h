#pragma once

#include "win32_api.h"

// The banner of the main window, drawn at run time as the Qt frontend draws
// it, so that no image file ships. The window icon is a resource.
namespace zelvo::win32 {

// A device-dependent bitmap of width × height device pixels; the caller owns it.
HBITMAP CreateBannerBitmap(int width, int height);

}  // namespace zelvo::win32
