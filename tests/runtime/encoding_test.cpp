#include "runtime/encoding.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

std::string Text(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

struct ConversionCase {
    std::string input;
    const char* from;
    const char* to;
    std::string expected;
};

TEST(ConvertEncoding, ConvertsOrGivesEmptyBytes) {
    const ConversionCase cases[] = {
        // "签收人" in UTF-8 to its GBK bytes (a literal here would already be GBK).
        {"\xE7\xAD\xBE\xE6\x94\xB6\xE4\xBA\xBA", "UTF-8", "GBK", "\xC7\xA9\xCA\xD5\xC8\xCB"},
        {"\xC7\xA9\xCA\xD5\xC8\xCB", "GBK", "UTF-8", "\xE7\xAD\xBE\xE6\x94\xB6\xE4\xBA\xBA"},
        {"签收人", "GBK", "GBK", "签收人"},
        {"ascii 123 <td>", "UTF-8", "GBK", "ascii 123 <td>"},
        {"", "UTF-8", "GBK", ""},
        // The names are those of the Windows code pages, in any case.
        {"\xC7\xA9", "gbk", "utf-8", "\xE7\xAD\xBE"},
        {"\xE7\xAD\xBE", "UTF8", "CP936", "\xC7\xA9"},
        {"\xE7\xAD\xBE", "UTF-8", "GB2312", "\xC7\xA9"},
        // Unknown or empty names.
        {"abc", "NO-SUCH-CODE", "GBK", ""},
        {"abc", "UTF-8", "NO-SUCH-CODE", ""},
        {"abc", "ISO-8859-1", "GBK", ""},
        {"abc", "", "GBK", ""},
        {"abc", "UTF-8", "", ""},
        // Broken UTF-8 becomes U+FFFD, once for each ill-formed part, which
        // has no GBK form: a cut-off character, a stray byte, an overlong
        // form (two bytes that each start nothing).
        {"ok\xE7\xAD", "UTF-8", "GBK", "ok?"},
        {"ok\xFFok", "UTF-8", "GBK", "ok?ok"},
        {"\xC0\xAF", "UTF-8", "GBK", "??"},
        {"\xE7\xAD\xE7\xAD\xBE", "UTF-8", "UTF-8", "\xEF\xBF\xBD\xE7\xAD\xBE"},
        // A character GBK does not have becomes "?" for each UTF-16 unit, and
        // the rest of the page stays: an emoji (two units) and a footer's
        // copyright sign beside a record.
        {"\xF0\x9F\x98\x80", "UTF-8", "GBK", "??"},
        {"\xE7\xAD\xBE \xC2\xA9 2024", "UTF-8", "GBK", "\xC7\xA9 ? 2024"},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_EQ(Text(ConvertEncoding(AsBytes(c.input), c.from, c.to)), c.expected);
    }
}

TEST(ConvertEncoding, LongPageGrowsItsOutputWhole) {
    // Every character grows from 1 to 2 bytes, far beyond the first guess.
    std::string page;
    std::string expected;
    for (int i = 0; i < 50'000; ++i) {
        page +=
            "\xC7\xA9"
            "a";
        expected +=
            "\xE7\xAD\xBE"
            "a";
    }
    EXPECT_EQ(Text(ConvertEncoding(AsBytes(page), "GBK", "UTF-8")), expected);
}

}  // namespace
}  // namespace zelvo
