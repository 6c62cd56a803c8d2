#pragma once

#include "forms/form.h"
#include "win32_api.h"

// One Chinese-capable face for every control: the classic 宋体 (SimSun) of a
// Chinese Windows, else Microsoft YaHei (on every Windows since Vista), else
// a Chinese face that Wine finds on the host.
namespace zelvo::win32 {

// The face every control uses.
const wchar_t* UiFace();
// The system's GUI font at dpi: 9 point (12 pixels at 96 dpi) in UiFace.
HFONT CreateUiFont(UINT dpi);
// A described font; its face when present, else UiFace.
HFONT CreateDescribedFont(const FontDesc& font, UINT dpi);

}  // namespace zelvo::win32
