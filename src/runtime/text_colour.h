#pragma once

#include <string_view>

#include "runtime/ui.h"

namespace zelvo {

// Colours in the Windows red-green-blue byte order (red in the low byte).
inline constexpr int kColourBlack = 0;
inline constexpr int kColourRed = 255;

// The text colour of an edit box. The UI port itself has no colour operation;
// a port that can colour text implements this as well, and the callers colour
// the box only where it does.
class TextColourControl {
  public:
    virtual ~TextColourControl() = default;
    virtual void SetTextColour(WindowId window, std::string_view control, int colour) = 0;
};

inline void SetTextColourIfSupported(UiPort& ui, WindowId window, std::string_view control,
                                     int colour) {
    if (auto* colours = dynamic_cast<TextColourControl*>(&ui)) {
        colours->SetTextColour(window, control, colour);
    }
}

}  // namespace zelvo
