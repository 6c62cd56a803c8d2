#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/bytes.h"

// Reading a whole file whose size is checked first, so that choosing a huge
// file by mistake is refused instead of exhausting memory, and so that a file
// that cannot be read is told apart from an empty one.
namespace zelvo {

// Far beyond any result list: 100,000 rows of six cells take about 10 MB.
inline constexpr std::uintmax_t kMaxResultFileBytes = 128u * 1024u * 1024u;

enum class ReadStatus { Read, Unreadable, TooLarge };

struct BoundedRead {
    ReadStatus status = ReadStatus::Unreadable;
    Bytes bytes;
};

// path is a GBK text.
BoundedRead ReadFileBounded(std::string_view path, std::uintmax_t maxBytes);

}  // namespace zelvo
