#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/dialog_answers.h"
#include "runtime/text_colour.h"
#include "runtime/ui.h"
#include "ui_thread_calls.h"
#include "win32_api.h"

// The program's windows on native Win32 controls. Everything is created on
// the thread that constructs the port (the user-interface thread); a call
// from any other thread is carried out there while the caller waits.
namespace zelvo::win32 {

struct BuiltWindow;
struct BuiltControl;

using ShownMessageBox = zelvo::ShownMessageBox;

class Win32Ui : public UiPort, public TextColourControl, public DialogAnswers {
  public:
    Win32Ui();
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    void SetEventHandler(UiEventHandler handler) override;

    bool LoadWindow(WindowId window, bool modal) override;
    void CloseWindow(WindowId window) override;
    bool IsWindowOpen(WindowId window) override;
    int WindowLeft(WindowId window) override;
    int WindowTop(WindowId window) override;
    void MoveWindow(WindowId window, int left, int top) override;

    std::string GetText(WindowId window, std::string_view control) override;
    void SetText(WindowId window, std::string_view control, std::string_view text) override;
    void AppendText(WindowId window, std::string_view control, std::string_view text) override;
    bool IsEnabled(WindowId window, std::string_view control) override;
    void SetEnabled(WindowId window, std::string_view control, bool enabled) override;
    bool IsVisible(WindowId window, std::string_view control) override;
    void SetVisible(WindowId window, std::string_view control, bool visible) override;
    bool IsChecked(WindowId window, std::string_view control) override;
    void SetChecked(WindowId window, std::string_view control, bool checked) override;
    int ProgressMax(WindowId window, std::string_view control) override;
    void SetProgressMax(WindowId window, std::string_view control, int max) override;
    int ProgressPos(WindowId window, std::string_view control) override;
    void SetProgressPos(WindowId window, std::string_view control, int pos) override;
    DateTime DateValue(WindowId window, std::string_view control) override;
    void SetDateValue(WindowId window, std::string_view control, DateTime value) override;
    int CurrentPage(WindowId window, std::string_view control) override;
    void SetCurrentPage(WindowId window, std::string_view control, int page) override;

    int ListInsert(WindowId window, std::string_view list, int position, std::string_view title,
                   int image, int stateImage, int indent, int value) override;
    std::string ListGetText(WindowId window, std::string_view list, int row, int column) override;
    void ListSetText(WindowId window, std::string_view list, int row, int column,
                     std::string_view text) override;
    int ListGetImage(WindowId window, std::string_view list, int row, int column) override;
    void ListSetImage(WindowId window, std::string_view list, int row, int column, int image) override;
    int ListGetStateImage(WindowId window, std::string_view list, int row) override;
    void ListSetStateImage(WindowId window, std::string_view list, int row, int image) override;
    int ListGetData(WindowId window, std::string_view list, int row) override;
    void ListSetData(WindowId window, std::string_view list, int row, int value) override;
    int ListCount(WindowId window, std::string_view list) override;
    int ListColumnCount(WindowId window, std::string_view list) override;
    void ListDelete(WindowId window, std::string_view list, int row) override;
    void ListClear(WindowId window, std::string_view list) override;
    void ListEnsureVisible(WindowId window, std::string_view list, int row) override;
    int ListCurrentRow(WindowId window, std::string_view list) override;
    void ListSetCurrentRow(WindowId window, std::string_view list, int row) override;

    int MessageBox(std::string_view text, int flags, std::string_view caption) override;
    std::string BrowseFolder(std::string_view title, bool includeFiles) override;

    int CursorX() override;
    int CursorY() override;
    void Delay(int ms) override;

    // Edit boxes only; colour in the platform's byte order (red lowest).
    void SetTextColour(WindowId window, std::string_view control, int colour) override;

    // From now on calls from other threads are no longer carried out: each
    // returns at once with a neutral value, and worker message boxes are
    // answered as if closed. Called when the main window goes, so that the
    // exit clean-up can stop worker threads that wait for the UI thread.
    void Shutdown();

    // From now on the windows that close with the main window are left on
    // the screen for the process's end to take away: hiding a window makes
    // Wine wait up to two seconds for a window manager, which a bare X
    // server (Xvfb) does not have, and the program would linger that long
    // after its main window was closed. For the program alone: the windows
    // are never destroyed.
    void LeaveWindowsAtExit() { leaveWindowsAtExit_ = true; }

    // The top-level window of an open window; null when it is closed.
    HWND Window(WindowId window) const;
    // The control's own window; null when the window is closed or has no such control.
    HWND ControlWindow(WindowId window, std::string_view control) const;

  private:
    struct OpenWindow;

    template <class R, class F>
    R Call(R fallback, F&& work);
    template <class F>
    void Call(F&& work);

    OpenWindow* Find(WindowId window) const;
    BuiltControl* Control(WindowId window, std::string_view name) const;
    void Dispatch(WindowId window, std::string_view control, EventKind kind, int arg);
    void DestroyWindowOf(WindowId window);
    int ShowMessageBoxForWorker(std::string_view text, int flags, std::string_view caption);

    UiThreadCalls calls_;
    UiEventHandler handler_;
    std::map<WindowId, std::unique_ptr<OpenWindow>> windows_;

    bool leaveWindowsAtExit_ = false;
    bool ending_ = false;
    std::vector<std::unique_ptr<OpenWindow>> leftAtExit_;

    // Worker threads showing a message box, closed at shutdown.
    std::mutex workerBoxesMutex_;
    std::set<DWORD> workerBoxThreads_;

};

// One message of the user-interface thread, with the keyboard handling of
// the program's windows (Tab between controls, Enter on a list row).
void DispatchUiMessage(MSG& message);

}  // namespace zelvo::win32
