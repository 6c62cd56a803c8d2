#pragma once

#include <optional>
#include <string_view>

// The encoding names ConvertEncoding knows, each by its Windows code page, so
// every platform accepts the same names and refuses the same others.
namespace zelvo {

inline constexpr unsigned kCodePageGbk = 936;
inline constexpr unsigned kCodePageUtf8 = 65001;

// The code page a name stands for (case ignored); nothing for an unknown name.
std::optional<unsigned> CodePageOf(std::string_view name);

}  // namespace zelvo
