#pragma once

#include <string>
#include <string_view>

// The extraction primitives of the tracking parsers. Pages are never parsed
// as HTML: every cut is a plain substring search on the page text.
namespace zelvo {

// The text between a start and an end marker. Modes:
//   0  first start marker … last end marker of the whole text
//   1  first start marker … next end marker after it
//   2  last end marker back to the nearest start marker before it
//   3  last start marker … next end marker after it
// A failed search gives -1 and that -1 enters the position arithmetic
// unchanged: a missing start marker makes the cut begin at byte
// TextLength(start) - 1; a missing end marker gives the empty text.
std::string cutBetween(std::string_view text, std::string_view start, std::string_view end,
                       int mode);

// Every CR LF removed, then leading and trailing blanks.
std::string cleanText(std::string_view text);

// The text after the last occurrence of marker; empty when it does not occur.
std::string textAfterLast(std::string_view text, std::string_view marker);

}  // namespace zelvo
