#pragma once

#include <string_view>

#include "runtime/bytes.h"

namespace zelvo {

// Converts text bytes between named encodings ("UTF-8", "GBK", …); empty
// bytes for an unknown name or input that cannot be converted.
Bytes ConvertEncoding(BytesView bytes, std::string_view fromName, std::string_view toName);

}  // namespace zelvo
