#pragma once

#include <string>
#include <string_view>

// The program's texts are GBK bytes; Win32 controls hold UTF-16. Code page
// 936 is named on every call, so the program looks the same whatever the
// system's own code page is. These two are the only crossing points.
namespace zelvo::win32 {

// Bytes that are not valid GBK show as the system's default character.
std::wstring FromGbk(std::string_view gbk);
// Characters that GBK cannot hold become "?"; set *lossless to learn of it.
std::string ToGbk(std::wstring_view wide, bool* lossless = nullptr);

}  // namespace zelvo::win32
