// ConvertEncoding on iconv.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "runtime/encoding.h"

namespace zelvo {

Bytes ConvertEncoding(BytesView bytes, std::string_view fromName, std::string_view toName) {
    // iconv reads an empty name as the locale's encoding; here it names none.
    if (fromName.empty() || toName.empty()) return {};
    if (fromName.find('\0') != std::string_view::npos ||
        toName.find('\0') != std::string_view::npos) {
        return {};
    }
    const iconv_t converter =
        iconv_open(std::string(toName).c_str(), std::string(fromName).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return {};

    Bytes output(bytes.size() + bytes.size() / 2 + 16);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    std::size_t written = 0;
    bool failed = false;
    // The last round (in == nullptr) writes any closing shift sequence.
    for (bool flushing = false;;) {
        char* out = reinterpret_cast<char*>(output.data()) + written;
        std::size_t outLeft = output.size() - written;
        const std::size_t result = flushing ? iconv(converter, nullptr, nullptr, &out, &outLeft)
                                            : iconv(converter, &in, &inLeft, &out, &outLeft);
        written = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            if (flushing) break;
            flushing = true;
            continue;
        }
        if (errno != E2BIG) {
            // An invalid or incomplete sequence, or a character the target lacks.
            failed = true;
            break;
        }
        output.resize(output.size() * 2);
    }
    iconv_close(converter);
    if (failed) return {};
    output.resize(written);
    return output;
}

}  // namespace zelvo
