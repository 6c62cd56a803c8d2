#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "runtime/datetime.h"

// The narrow interface through which the program's handlers reach its
// windows. A frontend (Qt, later Win32) implements it on real widgets; the
// tests implement it in memory. Controls are addressed as window plus control
// name; the empty name addresses the window itself (caption, position, and
// enabled: false while a modal window of the program is open above it).
//
// Any operation may be called from a worker thread: the implementation carries
// it out on the user-interface thread while the caller waits. LoadWindow,
// BrowseFolder, Delay and AppendText are called on the user-interface thread
// only.
namespace zelvo {

enum class WindowId { Main, Filter, ReferenceTemplates, RecentNumbers };

enum class EventKind {
    Created,             // window: all controls exist
    FirstActivated,      // window: first time it became active, after painting
    AboutToBeDestroyed,  // window: closing
    Clicked,             // button
    HeaderClicked,       // list view; arg = 0-based column
    RowActivated,        // list view; arg = 0-based row
    PageChanged,         // tab control; arg = 0-based page
};

struct UiEvent {
    WindowId window;
    std::string control;  // empty for window events
    EventKind kind;
    int arg = 0;
};

using UiEventHandler = std::function<void(const UiEvent&)>;

// Message box flags and results, as the platform numbers them.
inline constexpr int kIconError = 16;
inline constexpr int kIconInformation = 64;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNo = 4;
inline constexpr int kResultOk = 0;
inline constexpr int kResultCancel = 1;
inline constexpr int kResultYes = 5;
inline constexpr int kResultNo = 6;

class UiPort {
public:
    virtual ~UiPort() = default;

    // Every control event that a window description binds is delivered here,
    // on the user-interface thread.
    virtual void SetEventHandler(UiEventHandler handler) = 0;

    // Windows. Modal: every other window is disabled and the call returns
    // after the window has closed. Opening an open window raises it instead.
    virtual bool LoadWindow(WindowId window, bool modal) = 0;
    virtual void CloseWindow(WindowId window) = 0;
    virtual bool IsWindowOpen(WindowId window) = 0;
    virtual int WindowLeft(WindowId window) = 0;
    virtual int WindowTop(WindowId window) = 0;
    virtual void MoveWindow(WindowId window, int left, int top) = 0;

    // Control values. Text covers edit box content, label and button text,
    // window caption (empty name) and web view address.
    virtual std::string GetText(WindowId window, std::string_view control) = 0;
    virtual void SetText(WindowId window, std::string_view control, std::string_view text) = 0;
    virtual void AppendText(WindowId window, std::string_view control, std::string_view text) = 0;
    virtual bool IsEnabled(WindowId window, std::string_view control) = 0;
    virtual void SetEnabled(WindowId window, std::string_view control, bool enabled) = 0;
    virtual bool IsVisible(WindowId window, std::string_view control) = 0;
    virtual void SetVisible(WindowId window, std::string_view control, bool visible) = 0;
    virtual bool IsChecked(WindowId window, std::string_view control) = 0;
    virtual void SetChecked(WindowId window, std::string_view control, bool checked) = 0;
    virtual int ProgressMax(WindowId window, std::string_view control) = 0;
    virtual void SetProgressMax(WindowId window, std::string_view control, int max) = 0;
    virtual int ProgressPos(WindowId window, std::string_view control) = 0;
    virtual void SetProgressPos(WindowId window, std::string_view control, int pos) = 0;
    virtual DateTime DateValue(WindowId window, std::string_view control) = 0;
    virtual void SetDateValue(WindowId window, std::string_view control, DateTime value) = 0;
    virtual int CurrentPage(WindowId window, std::string_view control) = 0;
    virtual void SetCurrentPage(WindowId window, std::string_view control, int page) = 0;

    // List views: rows and columns are 0-based; a negative position appends.
    virtual int ListInsert(WindowId window, std::string_view list, int position = -1,
                           std::string_view title = {}, int image = -1, int stateImage = -1,
                           int indent = 0, int value = 0) = 0;
    virtual std::string ListGetText(WindowId window, std::string_view list, int row,
                                    int column) = 0;
    virtual void ListSetText(WindowId window, std::string_view list, int row, int column,
                             std::string_view text) = 0;
    virtual int ListGetImage(WindowId window, std::string_view list, int row, int column) = 0;
    virtual void ListSetImage(WindowId window, std::string_view list, int row, int column,
                              int image) = 0;
    virtual int ListGetStateImage(WindowId window, std::string_view list, int row) = 0;
    virtual void ListSetStateImage(WindowId window, std::string_view list, int row,
                                   int image) = 0;
    virtual int ListGetData(WindowId window, std::string_view list, int row) = 0;
    virtual void ListSetData(WindowId window, std::string_view list, int row, int value) = 0;
    virtual int ListCount(WindowId window, std::string_view list) = 0;
    virtual int ListColumnCount(WindowId window, std::string_view list) = 0;
    virtual void ListDelete(WindowId window, std::string_view list, int row) = 0;
    virtual void ListClear(WindowId window, std::string_view list) = 0;
    virtual void ListEnsureVisible(WindowId window, std::string_view list, int row) = 0;
    // -1 when no row is current.
    virtual int ListCurrentRow(WindowId window, std::string_view list) = 0;
    virtual void ListSetCurrentRow(WindowId window, std::string_view list, int row) = 0;

    // Dialogs. flags as the platform's message-box style bits (16, 64, 65,
    // 68); the result is the button pressed: OK 0, Cancel 1, Yes 5, No 6. A
    // box is modal to the program's windows, also when a worker asks for it
    // (only that worker waits for the answer).
    virtual int MessageBox(std::string_view text, int flags,
                           std::string_view caption = "信息：") = 0;
    // The chosen path, or the empty text on cancel.
    virtual std::string BrowseFolder(std::string_view title, bool includeFiles) = 0;

    virtual int CursorX() = 0;
    virtual int CursorY() = 0;
    // Waits at least ms milliseconds while the windows stay responsive.
    virtual void Delay(int ms) = 0;
};

}  // namespace zelvo
