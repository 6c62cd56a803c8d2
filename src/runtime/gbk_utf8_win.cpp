// GBK and UTF-8 through UTF-16 with the code-page functions.
#include <windows.h>

#include <climits>

#include "runtime/gbk_utf8.h"
#include "runtime/wide_text_win.h"

namespace zelvo {

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
    const std::optional<std::wstring> wide = GbkToWide(gbk);
    if (!wide) return std::nullopt;
    if (wide->empty()) return std::string();
    const int inLength = static_cast<int>(wide->size());
    const int length =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide->data(), inLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::nullopt;
    std::string utf8(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide->data(), inLength, utf8.data(), length,
                            nullptr, nullptr) != length) {
        return std::nullopt;
    }
    return utf8;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    if (utf8.size() > INT_MAX) return std::nullopt;
    const int inLength = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLength, wide.data(), length) !=
        length) {
        return std::nullopt;
    }
    return WideToGbk(wide);
}

}  // namespace zelvo
