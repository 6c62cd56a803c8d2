#include "runtime/encoding_names.h"

#include <array>
#include <utility>

namespace zelvo {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

constexpr std::array<std::pair<std::string_view, unsigned>, 5> kNames{{
    {"UTF-8", kCodePageUtf8},
    {"UTF8", kCodePageUtf8},
    {"GBK", kCodePageGbk},
    {"CP936", kCodePageGbk},
    {"GB2312", kCodePageGbk},
}};

}  // namespace

std::optional<unsigned> CodePageOf(std::string_view name) {
    for (const auto& [known, codePage] : kNames) {
        if (SameIgnoringCase(name, known)) return codePage;
    }
    return std::nullopt;
}

}  // namespace zelvo
