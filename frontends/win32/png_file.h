#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A plain PNG writer for the screenshot tool: 24-bit colour, stored (not
// compressed) deflate blocks, so no image library ships with the tool.
namespace zelvo::win32 {

// rgb: height rows of width pixels, 3 bytes each, top row first.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace zelvo::win32
