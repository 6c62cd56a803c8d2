#pragma once

#include <optional>
#include <string>
#include <string_view>

// GBK texts meet the Windows API as UTF-16, converted with code page 936
// whatever the system's ANSI code page is. Only the Windows platform files
// include this.
namespace zelvo {

// Nothing when the text is not valid GBK.
std::optional<std::wstring> GbkToWide(std::string_view gbk);
// Nothing when a character has no GBK form.
std::optional<std::string> WideToGbk(std::wstring_view wide);

}  // namespace zelvo
