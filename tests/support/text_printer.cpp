#include "text_printer.h"

#include <cstdio>
#include <optional>

#include "runtime/gbk_utf8.h"

namespace zelvo::testing {

std::string GbkToUtf8ForDisplay(std::string_view gbk) {
    std::string out;
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const std::optional<std::string> shown =
            i + 1 < gbk.size() ? GbkToUtf8(gbk.substr(i, 2)) : std::nullopt;
        if (shown) {
            out += *shown;
            i += 2;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", lead);
            out += hex;
            ++i;
        }
    }
    return out;
}

void PrintText(std::string_view text, std::ostream* os) {
    *os << '"' << GbkToUtf8ForDisplay(text) << "\" [";
    char hex[4];
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%s%02X", i ? " " : "", static_cast<unsigned char>(text[i]));
        *os << hex;
    }
    *os << ']';
}

}  // namespace zelvo::testing
