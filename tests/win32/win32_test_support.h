#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win32_ui.h"

// What the tests on real Win32 controls share: serving the user-interface
// thread, user input through the window system (SendInput, so that disabled
// and modal windows refuse it as they would a user's), and answering the
// real message boxes as a user would.
namespace zelvo::testing {

// Serves the UI thread's messages until done() holds; false once limitMs
// have passed without it.
bool ServeUntil(const std::function<bool()>& done, int limitMs = 20000);

// Brings the control's window to the front, as a user's first click would,
// unless it is disabled (under a modal window it stays where it is).
void RaiseWindowOf(HWND control);
void ClickAt(POINT screen, bool twice = false);
// A click on the centre of a control, its window raised first.
void ClickControl(HWND control);
// Selects the box's content and types the ASCII text over it.
void TypeInto(HWND box, std::string_view text);
// The close box: the command it sends, which a disabled window never gets.
void CloseByUser(HWND window);
// The dialog windows (message boxes, the file and folder dialogs) of this
// process now shown.
std::vector<HWND> FindDialogs();

// Answers the program's message boxes (on any of its threads) as a user
// would, each with the next queued answer, and runs code on the UI thread
// when a window shows up modal. Works from a thread timer of the UI thread,
// so it also runs inside the modal loops of boxes and windows.
class DialogAnswerer {
  public:
    enum class Answer { Ok, Cancel, CloseBox, Yes, No };
    struct Shown {
        std::string text;  // GBK, as the box shows it
        std::string caption;
    };

    explicit DialogAnswerer(win32::Win32Ui& ui);
    ~DialogAnswerer();

    // whileShown runs on the UI thread while the box is up, before the answer.
    void Queue(Answer answer, std::function<void()> whileShown = {});
    std::vector<Shown> ShownBoxes() const { return shown_; }
    void WhenModal(WindowId window, std::function<void()> inside);

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Poll();

    struct Queued {
        Answer answer;
        std::function<void()> whileShown;
    };
    win32::Win32Ui& ui_;
    UINT_PTR timer_ = 0;
    bool polling_ = false;
    std::deque<Queued> answers_;
    std::vector<HWND> seen_;
    std::vector<HWND> answered_;
    std::vector<Shown> shown_;
    WindowId modal_ = WindowId::Main;
    std::function<void()> inside_;
};

}  // namespace zelvo::testing
