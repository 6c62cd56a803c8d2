#include "text_printer.h"

#include <iconv.h>

#include <cstdio>

namespace zelvo::testing {

std::string GbkToUtf8ForDisplay(std::string_view gbk) {
    std::string out;
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(gbk);
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        const std::size_t width = (lead >= 0x80 && i + 1 < gbk.size()) ? 2 : 1;
        char in[2] = {gbk[i], width == 2 ? gbk[i + 1] : '\0'};
        char buf[8];
        char* inp = in;
        char* outp = buf;
        std::size_t inLeft = width, outLeft = sizeof buf;
        if (lead < 0x80) {
            out += static_cast<char>(lead);
        } else if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1)) {
            out.append(buf, outp);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", lead);
            out += hex;
            i += 1;
            continue;
        }
        i += width;
    }
    iconv_close(cd);
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
