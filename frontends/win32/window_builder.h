#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "list_rows.h"
#include "win32_api.h"

// Builds the Win32 controls of one window from its description. The window
// is a top-level window of its own class; a group box's controls are its
// siblings, placed inside it as in a dialog; a tab control's pages are child
// windows over its display area, one shown at a time.
namespace zelvo::win32 {

struct BuiltControl {
    const ControlDesc* desc = nullptr;
    HWND hwnd = nullptr;
    HWND host = nullptr;              // the window or tab page it lives on
    std::unique_ptr<ListRows> rows;   // list views
    std::vector<HWND> pages;          // tab controls
    std::string address;              // web views: the address they show
    int progressMaximum = 100;        // progress bars: the maximum set,
    int progressPosition = 0;         // the position set,
    int progressDrawn = -1;           // and how much of the bar shows it, in pixels
    int textColour = -1;              // edit boxes: -1 the system's colour
    SYSTEMTIME timeOfDay{};           // date pickers: kept beside the picked date
};

// control: empty for window events.
using EventSink = std::function<void(std::string_view control, EventKind kind, int arg)>;

struct BuiltWindow {
    ~BuiltWindow();
    BuiltControl* Find(std::string_view name);
    BuiltControl* FindByHandle(HWND control);
    // Places every control for the window's current DPI, fonts included.
    void Layout();

    const WindowDesc* desc = nullptr;
    HWND hwnd = nullptr;
    UINT dpi = 96;
    std::map<std::string, BuiltControl, std::less<>> controls;  // by GBK name
    std::vector<BuiltControl*> order;                            // creation order
    HFONT font = nullptr;
    std::map<const FontDesc*, HFONT> describedFonts;
    HBITMAP banner = nullptr;
    HBRUSH webBrush = nullptr;
    // Every date picker starts on this one reading of the clock, so that a
    // range of pickers never straddles a second (or midnight).
    SYSTEMTIME openedAt{};
    bool activatedOnce = false;

    EventSink sink;
    std::function<void()> onCloseRequested;
    std::function<void()> onFirstActivated;
};

// The window exists, hidden and centred on the screen, when this returns;
// control events reach sink only where the description binds them.
std::unique_ptr<BuiltWindow> BuildWindow(const WindowDesc& desc, EventSink sink);

// The built window behind a top-level window of the program; null for others.
BuiltWindow* BuiltWindowOf(HWND window);

// Shows a tab control's page, hiding the others.
void ShowPage(BuiltControl& tabs, int page);

}  // namespace zelvo::win32
