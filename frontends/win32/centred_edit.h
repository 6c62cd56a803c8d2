#pragma once

#include "win32_api.h"

// A single-line edit control draws its text at the top of its box; this
// keeps the text vertically centred, as the Qt boxes show it, by giving the
// space above and below the text to the frame, painted in the box's colour.
namespace zelvo::win32 {

void CentreSingleLineText(HWND edit);

}  // namespace zelvo::win32
