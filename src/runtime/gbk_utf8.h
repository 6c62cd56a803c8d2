#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversion between GBK texts and UTF-8 where the runtime meets the system
// (file names, messages on standard error). A text that does not convert
// completely gives nothing rather than a garbled result.
namespace zelvo {

std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

}  // namespace zelvo
