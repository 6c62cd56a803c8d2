#include "runtime/wide_text_win.h"

#include <windows.h>

#include <climits>

namespace zelvo {

namespace {

constexpr UINT kGbk = 936;

}  // namespace

std::optional<std::wstring> GbkToWide(std::string_view gbk) {
    if (gbk.empty()) return std::wstring();
    if (gbk.size() > INT_MAX) return std::nullopt;
    const int inLength = static_cast<int>(gbk.size());
    const int length = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), inLength, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), inLength, wide.data(), length) !=
        length) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> WideToGbk(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    if (wide.size() > INT_MAX) return std::nullopt;
    const int inLength = static_cast<int>(wide.size());
    // No best-fit mapping: a character without a GBK form must not turn into
    // a look-alike that names another file.
    BOOL defaulted = FALSE;
    const int length = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), inLength,
                                           nullptr, 0, nullptr, &defaulted);
    if (length <= 0 || defaulted) return std::nullopt;
    std::string gbk(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), inLength, gbk.data(), length,
                            nullptr, &defaulted) != length ||
        defaulted) {
        return std::nullopt;
    }
    return gbk;
}

}  // namespace zelvo
