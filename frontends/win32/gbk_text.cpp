#include "gbk_text.h"

#include <climits>

#include "win32_api.h"

namespace zelvo::win32 {

namespace {

constexpr UINT kGbk = 936;

}  // namespace

std::wstring FromGbk(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX) return {};
    const int in = static_cast<int>(gbk.size());
    const int length = MultiByteToWideChar(kGbk, 0, gbk.data(), in, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk.data(), in, wide.data(), length);
    return wide;
}

std::string ToGbk(std::wstring_view wide, bool* lossless) {
    if (lossless) *lossless = true;
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int in = static_cast<int>(wide.size());
    // No best-fit mapping: a look-alike could name another file.
    BOOL defaulted = FALSE;
    const int length =
        WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), in, nullptr, 0, "?", &defaulted);
    if (length <= 0) {
        if (lossless) *lossless = false;
        return {};
    }
    std::string gbk(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), in, gbk.data(), length, "?",
                        &defaulted);
    if (lossless && defaulted) *lossless = false;
    return gbk;
}

}  // namespace zelvo::win32
