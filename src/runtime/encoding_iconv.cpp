// ConvertEncoding on iconv, behaving as the Windows code-page functions do by
// default: text crosses as UTF-16; an invalid UTF-8 sequence becomes one
// U+FFFD for each maximal ill-formed part, and each UTF-16 unit the target
// lacks becomes "?". Only an unknown name or a failed call gives empty bytes,
// so one stray byte or copyright sign no longer empties a whole page.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "runtime/encoding.h"
#include "runtime/encoding_gbk.h"
#include "runtime/encoding_names.h"

namespace zelvo {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

  private:
    iconv_t handle_;
};

void AppendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

// UTF-8 to UTF-16; each maximal ill-formed part becomes one U+FFFD.
std::u16string DecodeUtf8(BytesView in) {
    std::u16string out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        const std::uint8_t lead = in[i];
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        int length = 0;
        char32_t c = 0;
        std::uint8_t low = 0x80, high = 0xBF;  // the second byte's range
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, c = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, c = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k < static_cast<std::size_t>(length) && i + k < in.size(); ++k) {
            const std::uint8_t b = in[i + k];
            const bool valid = k == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
            if (!valid) break;
            c = (c << 6) | (b & 0x3F);
        }
        if (k == static_cast<std::size_t>(length)) {
            AppendCodePoint(out, c);
        } else {
            out.push_back(kReplacement);
        }
        i += k;
    }
    return out;
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
Bytes EncodeUtf8(const std::u16string& in) {
    Bytes out;
    out.reserve(in.size() * 3);
    for (std::size_t i = 0; i < in.size(); ++i) {
        char32_t c = in[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
            in[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out.push_back(static_cast<std::uint8_t>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<std::uint8_t>(0xC0 | (c >> 6)));
            out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<std::uint8_t>(0xE0 | (c >> 12)));
            out.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<std::uint8_t>(0xF0 | (c >> 18)));
            out.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<std::uint8_t>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Runs iconv over the whole input; where it stops at a sequence it cannot
// take, the replacement is written and skip bytes of input are passed over.
// False when iconv fails otherwise.
bool ConvertAll(iconv_t converter, const char* in, std::size_t inLeft, std::size_t skip,
                std::string_view replacement, std::string& out) {
    std::size_t written = out.size();
    out.resize(written + inLeft * 2 + 16);
    char* input = const_cast<char*>(in);
    while (true) {
        char* output = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t result = iconv(converter, &input, &inLeft, &output, &outLeft);
        written = out.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else if (errno == EILSEQ || errno == EINVAL) {
            if (out.size() - written < replacement.size()) out.resize(out.size() * 2);
            out.replace(written, replacement.size(), replacement);
            written += replacement.size();
            const std::size_t passed = inLeft < skip ? inLeft : skip;
            input += passed;
            inLeft -= passed;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        } else {
            return false;
        }
    }
    out.resize(written);
    return true;
}

// GBK (code page 936) to UTF-16; a byte that starts no valid character
// becomes U+FFFD.
bool DecodeGbk(BytesView in, std::u16string& out) {
    Converter converter("UTF-16LE", "CP936");
    if (!converter.ok()) return false;
    std::string units;
    static constexpr char kReplacementLe[] = {'\xFD', '\xFF'};
    if (!ConvertAll(converter.get(), reinterpret_cast<const char*>(in.data()), in.size(), 1,
                    std::string_view(kReplacementLe, 2), units)) {
        return false;
    }
    out.resize(units.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<std::uint8_t>(units[2 * i]) |
                                       static_cast<std::uint8_t>(units[2 * i + 1]) << 8);
    }
    return true;
}

// UTF-16 to GBK; each UTF-16 unit without a GBK form becomes "?".
bool EncodeGbk(const std::u16string& in, Bytes& out) {
    Converter converter("CP936", "UTF-16LE");
    if (!converter.ok()) return false;
    std::string units(in.size() * 2, '\0');
    for (std::size_t i = 0; i < in.size(); ++i) {
        units[2 * i] = static_cast<char>(in[i] & 0xFF);
        units[2 * i + 1] = static_cast<char>(in[i] >> 8);
    }
    std::string gbk;
    if (!ConvertAll(converter.get(), units.data(), units.size(), 2, "?", gbk)) return false;
    out.assign(gbk.begin(), gbk.end());
    return true;
}

}  // namespace

Bytes ConvertEncoding(BytesView bytes, std::string_view fromName, std::string_view toName) {
    const std::optional<unsigned> from = CodePageOf(fromName);
    const std::optional<unsigned> to = CodePageOf(toName);
    if (!from || !to || bytes.empty()) return {};

    std::u16string wide;
    if (*from == kCodePageUtf8) {
        wide = DecodeUtf8(bytes);
    } else if (!DecodeGbk(bytes, wide)) {
        return {};
    }
    if (*to == kCodePageUtf8) return EncodeUtf8(wide);
    Bytes output;
    if (!EncodeGbk(wide, output)) return {};
    ReplaceSingleByteHighCharacters(output);
    return output;
}

}  // namespace zelvo
