#pragma once

#include "win32_api.h"

// A single-line edit control draws its text at the top of its box; this
// keeps the text vertically centred, as the Qt boxes show it, by giving the
// space above and below the text to the frame, painted in the box's colour.
namespace zelvo::win32 {

// A single-line edit box of this class centres its text.
inline constexpr wchar_t kCentredEditClass[] = L"ZelvoCentredEdit";

// Once, before the first box is made.
void RegisterCentredEdit(HINSTANCE instance);
// Lays the text out again for the box's present font and size.
void CentreSingleLineText(HWND edit);

}  // namespace zelvo::win32
