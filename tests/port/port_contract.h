#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ui.h"

// The UI port's contract, written once against UiPort and run on every
// implementation. A port proves itself by supplying a PortFixture and one
// instantiation in its own test program:
//
//   std::unique_ptr<PortFixture> MakeMyPort() { return std::make_unique<MyFixture>(); }
//   INSTANTIATE_TEST_SUITE_P(My, PortContract, ::testing::Values(&MakeMyPort));
//   // a port on a real window system, with its own user-interface thread:
//   INSTANTIATE_TEST_SUITE_P(My, WindowSystemPortContract, ::testing::Values(&MakeMyPort));
//
// and by linking zelvo_port_contract (an object library, so that its tests
// are always linked in). Each test makes a fresh fixture on the test's thread,
// which is the port's user-interface thread, and destroys it at the end.
//
// What a fixture provides:
// - Port(): the port, with no window open.
// - ServeUntil(done, limitMs): lets the user-interface thread do its work
//   (events, painting, calls from workers) until done() holds; false once
//   limitMs have passed without it.
// - Screen(): the screen area that windows are centred on.
// - User input, given as the window system gives it: a disabled control, or
//   any control of a window under a modal one, gets none. Click (a button, a
//   label …), ClickHeader, DoubleClickRow, ClickTab, Type (replaces an edit
//   box's content with ASCII text, as typing would) and CloseByUser (the
//   window's close box).
// - WhenModal(window, inside): the next time `window` shows as a modal
//   window, runs inside() on the user-interface thread while it is up.
// - Dialogs shown by the port, answered as a user would: AnswerMessageBox
//   queues the answer for the next message box (a box shown with no answer
//   queued stays up until one is queued; whileShown, when given, runs on the
//   user-interface thread while the box is up, before it is answered), and
//   MessageBoxesShown() gives every box seen so far with its text, caption and
//   style flags as the platform numbers them (icon and buttons). Likewise
//   AnswerFolderBrowser queues a path to enter into the next folder browser
//   ("" cancels it), and FolderBrowserTitles() gives the titles of those shown.
//   A fixture may answer through a test seam of its port where the real
//   dialog cannot be driven, but the real dialog is the better proof.
namespace zelvo::testing {

enum class BoxAnswer { Ok, Cancel, CloseBox };

struct ShownBox {
    std::string text;  // GBK, lines joined by CR LF
    std::string caption;
    int flags = 0;
};

struct ScreenArea {
    int left = 0, top = 0, width = 0, height = 0;
};

class PortFixture {
  public:
    virtual ~PortFixture() = default;

    virtual UiPort& Port() = 0;
    virtual bool ServeUntil(const std::function<bool()>& done, int limitMs) = 0;
    virtual ScreenArea Screen() = 0;

    virtual void Click(WindowId window, std::string_view control) = 0;
    virtual void ClickHeader(WindowId window, std::string_view list, int column) = 0;
    virtual void DoubleClickRow(WindowId window, std::string_view list, int row) = 0;
    virtual void ClickTab(WindowId window, std::string_view tabs, int page) = 0;
    virtual void Type(WindowId window, std::string_view box, std::string_view text) = 0;
    virtual void CloseByUser(WindowId window) = 0;

    virtual void WhenModal(WindowId window, std::function<void()> inside) = 0;

    virtual void AnswerMessageBox(BoxAnswer answer, std::function<void()> whileShown) = 0;
    virtual std::vector<ShownBox> MessageBoxesShown() = 0;
    virtual void AnswerFolderBrowser(std::string path) = 0;
    virtual std::vector<std::string> FolderBrowserTitles() = 0;
};

using PortFixtureFactory = std::unique_ptr<PortFixture> (*)();

// Every port.
class PortContract : public ::testing::TestWithParam<PortFixtureFactory> {
  protected:
    void SetUp() override;
    void TearDown() override;

    UiPort& port() { return fixture_->Port(); }
    PortFixture& fixture() { return *fixture_; }
    bool serveUntil(const std::function<bool()>& done, int limitMs = 20000) {
        return fixture_->ServeUntil(done, limitMs);
    }
    // Lets the user-interface thread work for a moment.
    void serve(int ms) {
        fixture_->ServeUntil([] { return false; }, ms);
    }
    // Events of one kind from one control (or the window: empty name).
    int count(WindowId window, std::string_view control, EventKind kind);

    std::unique_ptr<PortFixture> fixture_;
    // Every event that reached the handler; onEvent_ sees each as well.
    std::vector<UiEvent> events_;
    std::function<void(const UiEvent&)> onEvent_;
};

// Ports on a real window system, whose controls live on one user-interface
// thread: what the in-memory port does not model.
class WindowSystemPortContract : public PortContract {};

}  // namespace zelvo::testing
