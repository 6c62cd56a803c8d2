#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text operations on GBK byte strings. Lengths and positions count bytes,
// positions are 1-based, a failed search gives -1. A byte of 0x80 or more
// starts a double-byte character together with the byte after it (whatever
// that byte is; a lead byte at the very end is a character of one byte);
// searches only consider character starts, so they never match inside a
// character. A start position inside a character searches from the next one.
namespace zelvo {

inline constexpr int kAllOccurrences = -1;

int TextLength(std::string_view text);
std::string LeftText(std::string_view text, int n);
std::string RightText(std::string_view text, int n);
std::string MidText(std::string_view text, int start, int n);

int FindText(std::string_view text, std::string_view sought, int start = 1,
             bool ignoreCase = false);
// With start given, only occurrences lying wholly within bytes 1..start-1 count.
// As with FindText, an empty sought text gives 1 if that region is not empty.
int FindTextReverse(std::string_view text, std::string_view sought,
                    std::optional<int> start = std::nullopt, bool ignoreCase = false);

// count < 0 replaces every occurrence.
std::string ReplaceText(std::string_view text, std::string_view find,
                        std::string_view replacement = {}, int start = 1,
                        int count = kAllOccurrences, bool caseSensitive = true);
std::string TrimText(std::string_view text);
// The text without a last byte that would start a double-byte character but
// has no second byte (what a cut beginning inside a character can leave).
// Such a byte would pair with whatever is written after the text.
std::string_view WithoutLoneLeadByte(std::string_view text);
// maxCount < 0 cuts at every separator; 0 gives no pieces.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator = ",",
                                   int maxCount = kAllOccurrences);
int CompareText(std::string_view a, std::string_view b, bool caseSensitive = true);

}  // namespace zelvo
