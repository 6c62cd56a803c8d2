#include "gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace zelvo::qt {

namespace {

// One converter per direction and thread: iconv descriptors carry state and
// opening one costs far more than a short conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between GBK and UTF-16");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in; on an unconvertible character appends replacement and
    // skips the character: one byte of GBK input, or one UTF-16 unit (two
    // for a surrogate pair).
    bool Run(const char* in, size_t inLeft, std::string& out, std::string_view replacement,
             bool utf16Input) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        bool clean = true;
        out.resize(inLeft * 2 + 16);
        size_t used = 0;
        char* src = const_cast<char*>(in);
        while (inLeft > 0) {
            if (out.size() - used < 16) out.resize(out.size() * 2);
            char* dst = out.data() + used;
            size_t outLeft = out.size() - used;
            size_t rc = iconv(cd_, &src, &inLeft, &dst, &outLeft);
            used = out.size() - outLeft;
            if (rc != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL (a truncated character at the end).
            clean = false;
            if (out.size() - used < replacement.size()) out.resize(out.size() * 2);
            out.replace(used, replacement.size(), replacement);
            used += replacement.size();
            size_t skip = 1;
            if (utf16Input) {
                char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(src[0]) |
                                                      (static_cast<unsigned char>(src[1]) << 8));
                skip = (unit >= 0xD800 && unit < 0xDC00) ? 4 : 2;
            }
            skip = std::min(skip, inLeft);
            src += skip;
            inLeft -= skip;
        }
        out.resize(used);
        return clean;
    }

private:
    iconv_t cd_;
};

}  // namespace

QString FromGbk(std::string_view gbk) {
    bool ascii = true;
    for (char c : gbk) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
    thread_local Converter toUtf16("UTF-16LE", "GBK");
    std::string out;
    static const char16_t kReplacement = u'\uFFFD';
    toUtf16.Run(gbk.data(), gbk.size(), out,
                std::string_view(reinterpret_cast<const char*>(&kReplacement), 2), 1);
    return QString(reinterpret_cast<const QChar*>(out.data()),
                   static_cast<qsizetype>(out.size() / 2));
}

std::string ToGbk(const QString& text, bool* lossless) {
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        if (lossless) *lossless = true;
        return text.toLatin1().toStdString();
    }
    thread_local Converter fromUtf16("GBK", "UTF-16LE");
    std::string out;
    bool clean = fromUtf16.Run(reinterpret_cast<const char*>(text.utf16()),
                               static_cast<size_t>(text.size()) * 2, out, "?", true);
    if (lossless) *lossless = clean;
    return out;
}

}  // namespace zelvo::qt
