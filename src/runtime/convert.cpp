#include "runtime/convert.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime/c_number.h"

namespace zelvo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C library's white space, as its text-to-number functions skip it.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads up to maxDigits decimal digits at pos; none read gives 0.
int ReadDigits(std::string_view s, std::size_t& pos, int maxDigits) {
    int value = 0;
    for (int k = 0; k < maxDigits && pos < s.size() && IsDigit(s[pos]); ++k, ++pos) {
        value = value * 10 + (s[pos] - '0');
    }
    return value;
}

// Skips one optional separator: one of the ASCII characters in ascii, or the
// double-byte character word.
void SkipSeparator(std::string_view s, std::size_t& pos, std::string_view ascii,
                   std::string_view word) {
    if (pos >= s.size()) return;
    if (ascii.find(s[pos]) != std::string_view::npos) {
        ++pos;
    } else if (s.substr(pos, word.size()) == word) {
        pos += word.size();
    }
}

}  // namespace

std::string NormalizeFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80 || i + 1 >= n) {
            out.push_back(text[i]);
            ++i;
            continue;
        }
        unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            out.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            out.push_back('*');
        } else {
            out.append(text.substr(i, 2));
        }
        i += 2;
    }
    return out;
}

int ToInteger(std::string_view text) {
    const std::string s = NormalizeFullWidth(text);
    std::size_t pos = 0;
    while (pos < s.size() && IsSpace(s[pos])) ++pos;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    // Wraps around at 32 bits like the platform's conversion does.
    std::uint32_t value = 0;
    while (pos < s.size() && IsDigit(s[pos])) value = value * 10u + static_cast<unsigned>(s[pos++] - '0');
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

double ToNumber(std::string_view text) {
    const std::string s = NormalizeFullWidth(text);
    char* end = nullptr;
    double value = StrToDoubleC(s.c_str(), &end);
    return end == s.c_str() ? 0.0 : value;
}

double ToNumber(int value) { return static_cast<double>(value); }

std::string ToText(int value) { return std::to_string(value); }

std::string ToText(std::int64_t value) { return std::to_string(value); }

std::string ToText(double value) {
    // to_chars with a precision formats as printf's "%.13g" in the "C" locale.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    return std::string(buffer, result.ptr);
}

std::string ToText(bool value) { return value ? "真" : "假"; }

std::string ToText(DateTime value) {
    const DateTimeFields f = SplitDateTime(value);
    char buffer[96];
    int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", f.year, f.month, f.day);
    std::string out(buffer, static_cast<std::size_t>(n));
    if (f.second != 0) {
        n = std::snprintf(buffer, sizeof buffer, "%d时%d分%d秒", f.hour, f.minute, f.second);
    } else if (f.minute != 0) {
        n = std::snprintf(buffer, sizeof buffer, "%d时%d分", f.hour, f.minute);
    } else if (f.hour != 0) {
        n = std::snprintf(buffer, sizeof buffer, "%d时", f.hour);
    } else {
        n = 0;
    }
    out.append(buffer, static_cast<std::size_t>(n));
    return out;
}

std::string ToText(BytesView bytes) {
    std::size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Year, month, day, hour, minute and second, each with an optional separator
// after it; nothing may come before the year, and after the second only "秒"
// may follow, ending the text.
DateTime TextToDateTime(std::string_view text) {
    const std::string s = NormalizeFullWidth(text);
    std::size_t pos = 0;
    const std::size_t yearStart = pos;
    const int year = ReadDigits(s, pos, 4);
    if (pos == yearStart) return kNoDate;
    SkipSeparator(s, pos, "-./:", "年");
    const int month = ReadDigits(s, pos, 2);
    SkipSeparator(s, pos, "-./:", "月");
    const int day = ReadDigits(s, pos, 2);
    SkipSeparator(s, pos, " -./:", "日");
    const int hour = ReadDigits(s, pos, 2);
    SkipSeparator(s, pos, "-./:", "时");
    const int minute = ReadDigits(s, pos, 2);
    SkipSeparator(s, pos, "-./:", "分");
    const int second = ReadDigits(s, pos, 2);
    std::string_view rest = std::string_view(s).substr(pos);
    if (!rest.empty() && rest != std::string_view("秒")) return kNoDate;
    // MakeDateTime rejects every part out of range, which is the rule here too.
    return MakeDateTime(year, month, day, hour, minute, second);
}

}  // namespace zelvo
