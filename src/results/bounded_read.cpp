#include "results/bounded_read.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/gbk_utf8.h"

namespace zelvo {

namespace {

// The file system takes Unicode paths (UTF-8 here; UTF-16 on Windows, which
// std::filesystem reaches from UTF-8 too); a GBK path that does not convert
// has no file.
bool NativePath(std::string_view path, std::filesystem::path& native) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return false;
    const std::optional<std::string> utf8 = GbkToUtf8(path);
    if (!utf8) return false;
    native = std::filesystem::path(std::u8string(utf8->begin(), utf8->end()));
    return true;
}

}  // namespace

BoundedRead ReadFileBounded(std::string_view path, std::uintmax_t maxBytes) {
    BoundedRead result;
    std::filesystem::path native;
    if (!NativePath(path, native)) return result;

    std::error_code error;
    if (!std::filesystem::is_regular_file(native, error)) return result;
    const std::uintmax_t size = std::filesystem::file_size(native, error);
    if (error) return result;
    if (size > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }

    std::ifstream file(native, std::ios::binary);
    if (!file) return result;
    // Read to the end rather than trusting the size taken above: the file
    // may change in between, and it must still stay within the bound.
    result.bytes.reserve(static_cast<std::size_t>(size));
    std::vector<char> buffer(1 << 16);
    for (;;) {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(file.gcount());
        result.bytes.insert(result.bytes.end(), buffer.begin(), buffer.begin() + got);
        if (result.bytes.size() > maxBytes) {
            result.bytes = Bytes();
            result.status = ReadStatus::TooLarge;
            return result;
        }
        if (!file) break;
    }
    if (file.bad()) {
        result.bytes = Bytes();
        return result;
    }
    result.status = ReadStatus::Read;
    return result;
}

}  // namespace zelvo
