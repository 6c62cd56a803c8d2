#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/bytes.h"

// Paths are GBK texts; they are converted to the file system's encoding when a
// file is opened. A path that cannot be converted is a failure.
namespace zelvo {

// The process's current directory as a GBK text, without a trailing separator.
std::string CurrentDirectory();
// The platform's path separator as a text ("/" here, "\\" on Windows).
std::string_view PathSeparator();

// The whole file, or empty bytes if it cannot be read.
Bytes ReadFileBytes(std::string_view path);
// Creates or truncates the file and writes the parts one after the other.
bool WriteFileBytes(std::string_view path, std::initializer_list<BytesView> parts);

}  // namespace zelvo
