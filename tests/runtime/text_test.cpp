#include "runtime/text.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zelvo {
namespace {

using Texts = std::vector<std::string>;

// "快" is BF EC, "递" B5 DD, "单" B5 A5, "号" BA C5: "递单" read from the
// second byte of "快" would be EC B5 DD B5, so misaligned matches are easy to
// build from these.
TEST(TextLength, CountsBytes) {
    EXPECT_EQ(TextLength("快递"), 4);
    EXPECT_EQ(TextLength(""), 0);
    EXPECT_EQ(TextLength("a\xB0"), 2);
}

TEST(LeftRightMid, PositionsAndLimits) {
    const std::string t = "abc快递";
    EXPECT_EQ(LeftText(t, 3), "abc");
    EXPECT_EQ(LeftText(t, 0), "");
    EXPECT_EQ(LeftText(t, -5), "");
    EXPECT_EQ(LeftText(t, 99), t);
    EXPECT_EQ(RightText(t, 4), "快递");
    EXPECT_EQ(RightText(t, 0), "");
    EXPECT_EQ(RightText(t, -1), "");
    EXPECT_EQ(RightText(t, 99), t);
    EXPECT_EQ(MidText(t, 4, 2), "快");
    EXPECT_EQ(MidText(t, 1, 3), "abc");
    EXPECT_EQ(MidText(t, 6, 99), "递");
    EXPECT_EQ(MidText(t, 0, 2), "");
    EXPECT_EQ(MidText(t, 8, 1), "");
    EXPECT_EQ(MidText(t, 2, 0), "");
    EXPECT_EQ(MidText(t, 2, -3), "");
    EXPECT_EQ(MidText("", 1, 1), "");
}

struct FindCase {
    const char* text;
    const char* sought;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(FindText, Cases) {
    const FindCase cases[] = {
        {"快递单号", "递单", 1, false, 3},
        {"快递单号", "\xEC\xB5\xDD", 1, false, -1},  // only from inside "快"
        {"abcabc", "abc", 2, false, 4},
        {"abcabc", "abc", 1, false, 1},
        {"abcabc", "abc", -7, false, 1},
        {"abcabc", "abc", 5, false, -1},
        {"abcabc", "abc", 7, false, -1},
        {"abcabc", "", 1, false, 1},
        {"abcabc", "", 6, false, 1},
        {"abcabc", "", 7, false, -1},
        {"", "", 1, false, -1},
        {"", "a", 1, false, -1},
        {"abc", "abcd", 1, false, -1},
        {"xABCx", "abc", 1, false, -1},
        {"xABCx", "abc", 1, true, 2},
        // A trail byte that looks like a letter is not folded or matched.
        {"\x81\x41", "a", 1, true, -1},
        {"\x81\x41", "A", 1, false, -1},
        {"\x81\x41" "A", "a", 1, true, 3},
        {"\x81\x61", "\x81\x41", 1, true, -1},
        // Starting on the second byte of a character skips to the next one.
        {"快递单号", "递", 2, false, 3},
        {"快快", "\xEC\xBF", 2, false, -1},
        // A lead byte at the very end is a character of its own.
        {"ab\xB0", "\xB0", 1, false, 3},
        {"\xB0\xB0\xB0", "\xB0", 2, false, 3},
        {"\xB0\xB0\xB0", "\xB0\xB0", 2, false, -1},
        // A lead byte takes an ASCII byte after it as its trail.
        {"\x81" "abc", "abc", 1, false, -1},
        {"\x81" "abc", "bc", 1, false, 3},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << ::testing::PrintToString(std::string(c.text)) << " / "
            << ::testing::PrintToString(std::string(c.sought)) << " from " << c.start;
    }
}

struct ReverseCase {
    const char* text;
    const char* sought;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
};

TEST(FindTextReverse, Cases) {
    const ReverseCase cases[] = {
        {"abcabc", "abc", std::nullopt, false, 4},
        {"abcabc", "abc", 6, false, 1},
        {"abcabc", "abc", 7, false, 4},
        {"abcabc", "abc", 99, false, 4},
        {"abcabc", "abc", 4, false, 1},
        {"abcabc", "abc", 3, false, -1},
        {"abcabc", "abc", 1, false, -1},
        {"abcabc", "abc", -3, false, -1},
        {"abcABC", "abc", std::nullopt, true, 4},
        {"abcABC", "abc", std::nullopt, false, 1},
        {"快递单号", "递单", std::nullopt, false, 3},
        {"快递单号", "\xEC\xB5\xDD", std::nullopt, false, -1},
        {"快快快", "\xEC\xBF", std::nullopt, false, -1},
        {"\xB0\xB0\xB0", "\xB0", std::nullopt, false, 3},
        {"\x81\x41", "A", std::nullopt, true, -1},
        {"", "a", std::nullopt, false, -1},
        {"abc", "", std::nullopt, false, 1},
        {"abc", "", 1, false, -1},
        {"", "", std::nullopt, false, -1},
    };
    for (const ReverseCase& c : cases) {
        EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << ::testing::PrintToString(std::string(c.text)) << " / "
            << ::testing::PrintToString(std::string(c.sought));
    }
}

TEST(ReplaceText, Cases) {
    EXPECT_EQ(ReplaceText("a-b-c", "-", "\r\n"), "a\r\nb\r\nc");
    EXPECT_EQ(ReplaceText("a-b-c", "-"), "abc");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 3), "a-b+c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 1, 1), "a+b-c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 1, 0), "a-b-c");
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", 6), "a-b-c");
    EXPECT_EQ(ReplaceText("a-b-c", "", "+"), "a-b-c");
    EXPECT_EQ(ReplaceText("", "-", "+"), "");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "a"), "aa");  // non-overlapping
    EXPECT_EQ(ReplaceText("aAaA", "a", "x", 1, kAllOccurrences, false), "xxxx");
    EXPECT_EQ(ReplaceText("aAaA", "a", "x"), "xAxA");
    EXPECT_EQ(ReplaceText("快递单号", "\xEC\xB5", "x"), "快递单号");
    EXPECT_EQ(ReplaceText("快递单号", "递", "到"), "快到单号");
    // A replacement holding the find text is not searched again.
    EXPECT_EQ(ReplaceText("ab", "a", "aa"), "aab");
}

TEST(TrimText, BlanksAreSpacesAndFullWidthBlanks) {
    EXPECT_EQ(TrimText("　 ab c　 "), "ab c");
    EXPECT_EQ(TrimText("　ab\r\n"), "ab\r\n");
    EXPECT_EQ(TrimText("\tab\t"), "\tab\t");
    EXPECT_EQ(TrimText("   "), "");
    EXPECT_EQ(TrimText("　　"), "");
    EXPECT_EQ(TrimText(""), "");
    // After "a", A1 A1 A1 is a blank and a lone lead byte, which is kept...
    EXPECT_EQ(TrimText("a\xA1\xA1\xA1"), "a\xA1\xA1\xA1");
    // ...while B0 A1 A1 A1 is the character B0 A1 followed by a blank.
    EXPECT_EQ(TrimText("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
    EXPECT_EQ(TrimText("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
    EXPECT_EQ(TrimText(" \xB0"), "\xB0");
}

TEST(WithoutLoneLeadByte, DropsOnlyALastLeadByteWithoutItsSecondByte) {
    EXPECT_EQ(WithoutLoneLeadByte("北京\xB1"), "北京");
    EXPECT_EQ(WithoutLoneLeadByte("\xB1"), "");
    EXPECT_EQ(WithoutLoneLeadByte("a\xA1\xA1\xA1"), "a\xA1\xA1");
    // B0 A1 is one character: nothing is missing.
    EXPECT_EQ(WithoutLoneLeadByte("\xB0\xA1"), "\xB0\xA1");
    EXPECT_EQ(WithoutLoneLeadByte("北京"), "北京");
    EXPECT_EQ(WithoutLoneLeadByte("ab"), "ab");
    EXPECT_EQ(WithoutLoneLeadByte(""), "");
}

TEST(SplitText, Cases) {
    EXPECT_EQ(SplitText("a,,b,"), (Texts{"a", "", "b"}));
    EXPECT_EQ(SplitText(",a"), (Texts{"", "a"}));
    EXPECT_EQ(SplitText(","), (Texts{""}));
    EXPECT_EQ(SplitText(""), Texts{});
    EXPECT_EQ(SplitText("abc", ""), Texts{"abc"});
    EXPECT_EQ(SplitText("abc"), Texts{"abc"});
    EXPECT_EQ(SplitText("1\r\n2\r\n3\r\n", "\r\n"), (Texts{"1", "2", "3"}));
    EXPECT_EQ(SplitText("a,b,c", ",", 2), (Texts{"a", "b"}));
    EXPECT_EQ(SplitText("a,b", ",", 5), (Texts{"a", "b"}));
    EXPECT_EQ(SplitText("a,b", ",", 1), (Texts{"a"}));
    EXPECT_EQ(SplitText("a,b", ",", 0), Texts{});
    // "快递" holds EC B5 across its two characters.
    EXPECT_EQ(SplitText("快递", "\xEC\xB5"), Texts{"快递"});
    EXPECT_EQ(SplitText("快|递", "|"), (Texts{"快", "递"}));
}

TEST(CompareText, OrderAndCase) {
    EXPECT_EQ(CompareText("abc", "abc"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("abd", "abc"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_GT(CompareText("abc", ""), 0);
    EXPECT_LT(CompareText("ABC", "abc"), 0);
    EXPECT_EQ(CompareText("ABC", "abc", false), 0);
    // Bytes compare unsigned: a double-byte character sorts after ASCII.
    EXPECT_GT(CompareText("快", "z"), 0);
    // A trail byte that looks like a letter keeps its case.
    EXPECT_NE(CompareText("\x81\x41", "\x81\x61", false), 0);
}

// Reference implementations that walk character by character.
std::vector<std::size_t> CharStarts(const std::string& t) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < t.size();) {
        starts.push_back(i);
        i += static_cast<unsigned char>(t[i]) >= 0x80 && i + 1 < t.size() ? 2 : 1;
    }
    return starts;
}

bool IsStart(const std::string& t, std::size_t i) {
    for (std::size_t s : CharStarts(t)) {
        if (s == i) return true;
    }
    return false;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool MatchAt(const std::string& t, std::size_t i, const std::string& s, bool ignoreCase) {
    if (i + s.size() > t.size()) return false;
    bool trail = false;
    for (std::size_t k = 0; k < s.size(); ++k) {
        char a = t[i + k], b = s[k];
        bool fold = ignoreCase && !trail && static_cast<unsigned char>(a) < 0x80;
        if (fold ? Lower(a) != Lower(b) : a != b) return false;
        trail = !trail && static_cast<unsigned char>(a) >= 0x80;
    }
    return true;
}

int RefFind(const std::string& t, const std::string& s, int start, bool ic) {
    std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= t.size()) return -1;
    if (s.empty()) return 1;
    for (std::size_t i : CharStarts(t)) {
        if (i >= from && MatchAt(t, i, s, ic)) return static_cast<int>(i) + 1;
    }
    return -1;
}

int RefFindReverse(const std::string& t, const std::string& s, std::optional<int> start,
                   bool ic) {
    std::size_t limit = t.size();
    if (start) {
        if (*start <= 1) return -1;
        limit = std::min(limit, static_cast<std::size_t>(*start) - 1);
    }
    if (s.empty()) return limit > 0 ? 1 : -1;
    int last = -1;
    for (std::size_t i : CharStarts(t)) {
        if (i + s.size() <= limit && MatchAt(t, i, s, ic)) last = static_cast<int>(i) + 1;
    }
    return last;
}

Texts RefSplit(const std::string& t, const std::string& sep) {
    Texts out;
    if (t.empty()) return out;
    if (sep.empty()) return {t};
    std::size_t piece = 0;
    for (std::size_t i : CharStarts(t)) {
        if (i >= piece && MatchAt(t, i, sep, false)) {
            out.push_back(t.substr(piece, i - piece));
            piece = i + sep.size();
        }
    }
    if (piece < t.size()) out.push_back(t.substr(piece));
    return out;
}

std::string RefReplace(const std::string& t, const std::string& f, const std::string& r,
                       int start, bool ic) {
    std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (t.empty() || f.empty() || from >= t.size()) return t;
    std::string out = t.substr(0, from);
    std::size_t copied = from;
    for (std::size_t i : CharStarts(t)) {
        if (i >= copied && MatchAt(t, i, f, ic)) {
            out += t.substr(copied, i - copied) + r;
            copied = i + f.size();
        }
    }
    return out + t.substr(copied);
}

// Texts from a small alphabet whose double-byte characters have trail bytes
// that look like ASCII letters or like lead bytes, so misaligned matches are
// common; some end with a lone lead byte.
std::string RandomText(std::mt19937& rng, std::size_t maxChars) {
    static const char* const kChars[] = {"a", "A", "b", ",", "\r\n", "\x81" "a", "\x81\x81",
                                         "\xB0\xA1", "\xA1\xB0", "\xA1\xA1", "\x81" "A", "\xB0\x81"};
    std::uniform_int_distribution<std::size_t> count(0, maxChars);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kChars) - 1);
    std::string t;
    for (std::size_t n = count(rng); n > 0; --n) t += kChars[pick(rng)];
    if (rng() % 8 == 0) t += "\x81";
    return t;
}

// A sought text: a piece of the text cut at any byte, or a fresh random one.
std::string RandomSought(std::mt19937& rng, const std::string& text) {
    if (!text.empty() && rng() % 3 != 0) {
        std::size_t at = rng() % text.size();
        std::size_t len = 1 + rng() % 4;
        return text.substr(at, len);
    }
    return RandomText(rng, 3);
}

TEST(TextProperties, SearchesAgreeWithACharacterWalk) {
    std::mt19937 rng(20240531);
    for (int round = 0; round < 20000; ++round) {
        const std::string t = RandomText(rng, 24);
        const std::string s = RandomSought(rng, t);
        const bool ic = rng() % 4 == 0;
        const int start = static_cast<int>(rng() % (t.size() + 3)) - 1;
        SCOPED_TRACE(::testing::PrintToString(t) + " / " + ::testing::PrintToString(s) +
                     " start " + std::to_string(start) + (ic ? " ignoring case" : ""));

        const int found = FindText(t, s, start, ic);
        ASSERT_EQ(found, RefFind(t, s, start, ic));
        if (found > 0 && !s.empty()) {
            ASSERT_TRUE(IsStart(t, static_cast<std::size_t>(found) - 1));
        }

        const std::optional<int> rstart = rng() % 2 ? std::optional<int>(start) : std::nullopt;
        const int last = FindTextReverse(t, s, rstart, ic);
        ASSERT_EQ(last, RefFindReverse(t, s, rstart, ic));
        if (last > 0 && !s.empty()) {
            ASSERT_TRUE(IsStart(t, static_cast<std::size_t>(last) - 1));
        }

        ASSERT_EQ(SplitText(t, s), RefSplit(t, s));
        ASSERT_EQ(ReplaceText(t, s, "<>", start, kAllOccurrences, !ic),
                  RefReplace(t, s, "<>", start, ic));
    }
}

// Any byte values at all, with any positions and counts: results agree with
// the reference walk, and the sanitizers see no read past the end.
TEST(TextProperties, ArbitraryBytesAndPositions) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> byte(1, 255);
    for (int round = 0; round < 5000; ++round) {
        std::string t(rng() % 12, ' ');
        for (char& c : t) c = static_cast<char>(byte(rng));
        std::string s(rng() % 3, ' ');
        for (char& c : s) c = static_cast<char>(byte(rng));
        const int a = static_cast<int>(rng() % 20) - 5, b = static_cast<int>(rng() % 20) - 5;
        const bool ic = rng() % 2;
        ASSERT_EQ(FindText(t, s, a, ic), RefFind(t, s, a, ic));
        ASSERT_EQ(FindTextReverse(t, s, a, ic), RefFindReverse(t, s, a, ic));
        ASSERT_EQ(SplitText(t, s), RefSplit(t, s));
        ASSERT_EQ(ReplaceText(t, s, "x", a, kAllOccurrences, !ic), RefReplace(t, s, "x", a, ic));
        ASSERT_LE(TextLength(MidText(t, a, b)), std::max(b, 0));
        ASSERT_LE(TextLength(LeftText(t, a)) + TextLength(RightText(t, b)), 2 * TextLength(t));
        ASSERT_LE(TextLength(TrimText(t)), TextLength(t));
        ASSERT_EQ(CompareText(t, s, !ic) == 0, ic ? CompareText(s, t, false) == 0 : t == s);
    }
}

TEST(TextProperties, SplitPiecesRejoinToTheText) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5000; ++round) {
        const std::string t = RandomText(rng, 30);
        const std::string sep = rng() % 2 ? "," : "\r\n";
        const Texts pieces = SplitText(t, sep);
        std::string joined;
        for (const std::string& p : pieces) joined += p + sep;
        // Only the trailing separator may be missing from the rejoined text.
        ASSERT_TRUE(joined == t || joined == t + sep) << ::testing::PrintToString(t);
    }
}

}  // namespace
}  // namespace zelvo
