#include "verification/tracking_parser.h"

#include "runtime/text.h"

namespace zelvo {

std::string cutBetween(std::string_view text, std::string_view start, std::string_view end,
                       int mode) {
    const int startLength = TextLength(start);
    int s = -1;
    int e = -1;
    switch (mode) {
        case 0:
            s = FindText(text, start) + startLength;
            e = FindTextReverse(text, end);
            break;
        case 1:
            s = FindText(text, start) + startLength;
            e = FindText(text, end, s);
            break;
        case 2:
            e = FindTextReverse(text, end);
            s = FindTextReverse(text, start, e) + startLength;
            break;
        case 3:
            s = FindTextReverse(text, start) + startLength;
            e = FindText(text, end, s);
            break;
        default:
            return {};
    }
    // MidText gives the empty text for a start outside the text or a count
    // of zero or less; with a missing end marker (e = -1) the count is never
    // positive, so the cut is empty.
    return MidText(text, s, e - s);
}

std::string cleanText(std::string_view text) { return TrimText(ReplaceText(text, "\r\n")); }

std::string textAfterLast(std::string_view text, std::string_view marker) {
    const int position = FindTextReverse(text, marker);
    if (position < 0) {
        return {};
    }
    const int endPosition = position + TextLength(marker) - 1;
    return RightText(text, TextLength(text) - endPosition);
}

}  // namespace zelvo
