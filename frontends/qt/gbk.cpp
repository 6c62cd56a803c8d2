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
                auto unitAt = [&](size_t i) {
                    return static_cast<char16_t>(static_cast<unsigned char>(src[i]) |
                                                 (static_cast<unsigned char>(src[i + 1]) << 8));
                };
                const char16_t unit = unitAt(0);
                // A pair goes as one character; a lone high surrogate takes
                // nothing after it along.
                const bool pair = unit >= 0xD800 && unit < 0xDC00 && inLeft >= 4 &&
                                  unitAt(2) >= 0xDC00 && unitAt(2) < 0xE000;
                skip = pair ? 4 : 2;
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

QString FromGbkLines(std::string_view gbk) {
    QString text = FromGbk(gbk);
    // In place, left to right: the text only shrinks, and a CR is dropped
    // exactly where "\r\n" would match, since that pattern cannot overlap itself.
    const qsizetype size = text.size();
    QChar* units = text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (units[i] == u'\r' && i + 1 < size && units[i + 1] == u'\n') continue;
        units[kept++] = units[i];
    }
    text.truncate(kept);
    return text;
}

std::string ToGbkLines(const QString& text) {
    std::string gbk = ToGbk(text);
    // GBK trail bytes are 0x40 and above, so every 0x0A byte is a line end.
    const auto lineEnds = static_cast<size_t>(std::count(gbk.begin(), gbk.end(), '\n'));
    if (lineEnds == 0) return gbk;
    // Widened in place from the end, each byte moved once.
    size_t from = gbk.size();
    size_t to = from + lineEnds;
    gbk.resize(to);
    while (from > 0) {
        const char c = gbk[--from];
        gbk[--to] = c;
        if (c == '\n') gbk[--to] = '\r';
    }
    return gbk;
}

}  // namespace zelvo::qt
