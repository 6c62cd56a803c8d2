// Files and folders on the Windows kernel. Every path crosses as UTF-16
// converted from GBK with code page 936, so Chinese names work whatever the
// system's ANSI code page is.
#include <windows.h>

#include <optional>
#include <string>

#include "runtime/files.h"
#include "runtime/wide_text_win.h"

namespace zelvo {

namespace {

std::optional<std::wstring> SystemPath(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
    return GbkToWide(path);
}

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closes now, reporting whether the close worked.
    bool Close() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

  private:
    HANDLE handle_;
};

bool WriteAll(HANDLE file, BytesView part) {
    const std::uint8_t* p = part.data();
    std::size_t left = part.size();
    while (left > 0) {
        const DWORD piece = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, p, piece, &written, nullptr) || written == 0) return false;
        p += written;
        left -= written;
    }
    return true;
}

std::wstring CurrentDirectoryWide() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return L".";
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length);
    }
}

}  // namespace

std::string CurrentDirectory() {
    std::wstring folder = CurrentDirectoryWide();
    if (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    // A folder whose name has no GBK form is still reachable as ".", which
    // keeps paths built on it pointing at the right place.
    return WideToGbk(folder).value_or(".");
}

std::string_view PathSeparator() { return "\\"; }

Bytes ReadFileBytes(std::string_view path) {
    const std::optional<std::wstring> name = SystemPath(path);
    if (!name) return {};
    FileHandle file(CreateFileW(name->c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return {};
    Bytes content;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
        content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    std::uint8_t chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return {};
        if (got == 0) break;
        content.insert(content.end(), chunk, chunk + got);
    }
    return content;
}

bool WriteFileBytes(std::string_view path, std::initializer_list<BytesView> parts) {
    const std::optional<std::wstring> name = SystemPath(path);
    if (!name) return false;
    // Opened without sharing write access: a file another writer holds open
    // cannot be opened here, so it is never truncated under that writer, and
    // no second writer gets in while this one writes. Readers may still read.
    FileHandle file(CreateFileW(name->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    if (!SetEndOfFile(file.get())) return false;
    for (BytesView part : parts) {
        if (!WriteAll(file.get(), part)) return false;
    }
    return file.Close();
}

}  // namespace zelvo
