#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zelvo {

// A byte sequence that may hold NUL bytes: page bodies and file contents.
// Texts (GBK byte strings) are std::string; bytes are kept apart from them so
// that conversions between the two are always written out.
using Bytes = std::vector<std::uint8_t>;
using BytesView = std::span<const std::uint8_t>;

inline BytesView AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace zelvo
