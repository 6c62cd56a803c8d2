#include "runtime/text.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

// How bytes form characters, applied by every operation here: a byte of 0x80
// or more is a lead byte and takes the byte after it, whatever that byte is;
// a lead byte at the very end of a text is a character of one byte. So the
// byte after any byte below 0x80 always starts a character, which lets a
// search check a candidate by looking back only as far as the nearest such
// byte instead of walking the text from its beginning.
namespace zelvo {

namespace {

using std::size_t;
constexpr size_t npos = std::string_view::npos;

inline const unsigned char* Bytes(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

inline bool IsLead(unsigned char b) { return b >= 0x80; }

// Bytes taken by the character starting at i (i < size).
inline size_t CharLength(const unsigned char* s, size_t size, size_t i) {
    return IsLead(s[i]) && i + 1 < size ? 2 : 1;
}

// Whether i starts a character, given that bound (<= i) does. Looks back over
// the run of lead-range bytes before i: that run starts at a character start
// (bound, or just after a byte below 0x80) and pairs up from there.
inline bool IsCharStart(const unsigned char* s, size_t bound, size_t i) {
    size_t j = i;
    while (j > bound && IsLead(s[j - 1])) --j;
    return ((i - j) & 1) == 0;
}

inline int ToPosition(size_t index) {
    return index >= static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(index + 1);
}

inline unsigned char FoldAscii(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Compares the m bytes at t (a character start) with s, ignoring the case of
// single-byte letters only: a trail byte that happens to be a letter is part
// of another character and is compared exactly.
bool MatchesIgnoringCase(const unsigned char* t, const unsigned char* s, size_t m) {
    size_t k = 0;
    while (k < m) {
        if (IsLead(t[k])) {
            if (t[k] != s[k]) return false;
            if (k + 1 < m && t[k + 1] != s[k + 1]) return false;
            k += 2;
        } else {
            if (FoldAscii(t[k]) != FoldAscii(s[k])) return false;
            ++k;
        }
    }
    return true;
}

// Finds sought at character starts at or after from, byte-exact. bound is a
// character start <= from and is advanced as the search proceeds, so a run of
// calls over one text examines each byte a bounded number of times.
size_t FindExactFrom(std::string_view text, std::string_view sought, size_t from,
                     size_t& bound) {
    const unsigned char* s = Bytes(text);
    while (from <= text.size()) {
        size_t i = text.find(sought, from);
        if (i == npos) return npos;
        if (IsCharStart(s, bound, i)) {
            bound = i;
            return i;
        }
        // i is a trail byte, so the byte after it starts a character.
        bound = i + 1;
        from = i + 1;
    }
    return npos;
}

// As FindExactFrom, ignoring the case of single-byte letters; from must be a
// character start.
size_t FindFoldedFrom(std::string_view text, std::string_view sought, size_t from) {
    const unsigned char* s = Bytes(text);
    const unsigned char* q = Bytes(sought);
    const size_t n = text.size(), m = sought.size();
    for (size_t i = from; i + m <= n; i += CharLength(s, n, i)) {
        if (MatchesIgnoringCase(s + i, q, m)) return i;
    }
    return npos;
}

// A forward search over one text that keeps its character bookkeeping
// between calls; positions passed in need not be character starts.
class ForwardSearch {
public:
    ForwardSearch(std::string_view text, std::string_view sought, bool ignoreCase)
        : text_(text), sought_(sought), ignoreCase_(ignoreCase) {}

    // The first match starting at a character start at or after from.
    size_t Next(size_t from) {
        if (from > text_.size()) return npos;
        const unsigned char* s = Bytes(text_);
        if (from < bound_) from = bound_;
        if (!IsCharStart(s, bound_, from)) ++from;
        bound_ = from;
        if (!ignoreCase_) return FindExactFrom(text_, sought_, from, bound_);
        size_t i = FindFoldedFrom(text_, sought_, from);
        if (i != npos) bound_ = i;
        return i;
    }

private:
    std::string_view text_, sought_;
    bool ignoreCase_;
    size_t bound_ = 0;
};

// The last match at a character start lying wholly within the first limit
// bytes.
size_t FindLastWithin(std::string_view text, std::string_view sought, size_t limit,
                      bool ignoreCase) {
    const size_t n = text.size(), m = sought.size();
    limit = std::min(limit, n);
    if (m > limit) return npos;
    const unsigned char* s = Bytes(text);
    if (ignoreCase) {
        const unsigned char* q = Bytes(sought);
        size_t last = npos;
        for (size_t i = 0; i + m <= limit; i += CharLength(s, n, i)) {
            if (MatchesIgnoringCase(s + i, q, m)) last = i;
        }
        return last;
    }
    // Bytes runStart..runEnd-1 are all lead-range bytes and runStart starts a
    // character: candidates inside the run are settled by parity alone.
    size_t runStart = npos, runEnd = 0;
    size_t pos = limit - m;
    while (true) {
        size_t i = text.rfind(sought, pos);
        if (i == npos) return npos;
        bool start;
        if (runStart != npos && i >= runStart && i <= runEnd) {
            start = ((i - runStart) & 1) == 0;
        } else {
            size_t j = i;
            while (j > 0 && IsLead(s[j - 1])) --j;
            runStart = j;
            runEnd = i;
            start = ((i - j) & 1) == 0;
        }
        if (start) return i;
        if (i == 0) return npos;
        pos = i - 1;
    }
}

}  // namespace

int TextLength(std::string_view text) {
    return text.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

std::string LeftText(std::string_view text, int n) {
    if (n <= 0) return {};
    return std::string(text.substr(0, static_cast<size_t>(n)));
}

std::string RightText(std::string_view text, int n) {
    if (n <= 0) return {};
    size_t count = std::min(static_cast<size_t>(n), text.size());
    return std::string(text.substr(text.size() - count));
}

std::string MidText(std::string_view text, int start, int n) {
    if (n <= 0 || start < 1 || static_cast<size_t>(start) > text.size()) return {};
    return std::string(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(n)));
}

int FindText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
    size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
    if (from >= text.size()) return -1;
    if (sought.empty()) return 1;
    ForwardSearch search(text, sought, ignoreCase);
    size_t i = search.Next(from);
    return i == npos ? -1 : ToPosition(i);
}

int FindTextReverse(std::string_view text, std::string_view sought, std::optional<int> start,
                    bool ignoreCase) {
    size_t limit = text.size();
    if (start) {
        if (*start <= 1) return -1;
        limit = std::min(limit, static_cast<size_t>(*start) - 1);
    }
    // As for FindText, an empty sought text is found at 1 in a non-empty region.
    if (sought.empty()) return limit > 0 ? 1 : -1;
    size_t i = FindLastWithin(text, sought, limit, ignoreCase);
    return i == npos ? -1 : ToPosition(i);
}

std::string ReplaceText(std::string_view text, std::string_view find,
                        std::string_view replacement, int start, int count, bool caseSensitive) {
    size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
    if (text.empty() || find.empty() || from >= text.size() || count == 0) {
        return std::string(text);
    }
    ForwardSearch search(text, find, !caseSensitive);
    std::string out;
    size_t copied = 0;
    size_t pos = from;
    int done = 0;
    while (count < 0 || done < count) {
        size_t i = search.Next(pos);
        if (i == npos) break;
        if (out.empty()) out.reserve(text.size());
        out.append(text.substr(copied, i - copied));
        out.append(replacement);
        copied = pos = i + find.size();
        ++done;
    }
    if (done == 0) return std::string(text);
    out.append(text.substr(copied));
    return out;
}

std::string TrimText(std::string_view text) {
    const unsigned char* s = Bytes(text);
    const size_t n = text.size();
    auto blankAt = [&](size_t i) -> size_t {
        if (s[i] == ' ') return 1;
        if (s[i] == 0xA1 && i + 1 < n && s[i + 1] == 0xA1) return 2;
        return 0;
    };
    size_t begin = 0;
    while (begin < n) {
        size_t b = blankAt(begin);
        if (b == 0) break;
        begin += b;
    }
    // Trailing blanks can only be told apart walking forward, since 0xA1 0xA1
    // may be the tail of another character followed by a lone 0xA1.
    size_t end = begin;
    for (size_t i = begin; i < n;) {
        size_t len = CharLength(s, n, i);
        if (blankAt(i) == 0) end = i + len;
        i += len;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string_view WithoutLoneLeadByte(std::string_view text) {
    const size_t n = text.size();
    if (n > 0 && IsLead(Bytes(text)[n - 1]) && IsCharStart(Bytes(text), 0, n - 1)) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string> SplitText(std::string_view text, std::string_view separator,
                                   int maxCount) {
    std::vector<std::string> pieces;
    if (text.empty() || maxCount == 0) return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    const size_t limit = maxCount < 0 ? SIZE_MAX : static_cast<size_t>(maxCount);
    ForwardSearch search(text, separator, false);
    size_t pos = 0;
    while (pieces.size() < limit) {
        size_t i = search.Next(pos);
        if (i == npos) break;
        pieces.emplace_back(text.substr(pos, i - pos));
        pos = i + separator.size();
    }
    if (pieces.size() < limit && pos < text.size()) pieces.emplace_back(text.substr(pos));
    return pieces;
}

int CompareText(std::string_view a, std::string_view b, bool caseSensitive) {
    const unsigned char* x = Bytes(a);
    const unsigned char* y = Bytes(b);
    const size_t n = std::min(a.size(), b.size());
    // Both texts have the same characters up to the first difference, so one
    // walk tells which bytes are single-byte letters in both.
    bool trail = false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char p = x[i], q = y[i];
        if (!caseSensitive && !trail) {
            p = FoldAscii(p);
            q = FoldAscii(q);
        }
        if (p != q) return p < q ? -1 : 1;
        trail = !trail && IsLead(x[i]);
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace zelvo
