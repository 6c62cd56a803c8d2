#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ui.h"

// The UI port's contract, written once against UiPort and run on every port.
// A port's test program links zelvo_port_contract (an object library, so its
// tests are always linked in) and gives one fixture and one instantiation
// (tests/app/memory_ui_test.cpp and tests/qt/qt_ui_test.cpp show how):
//
//   std::unique_ptr<PortFixture> MakeMyPort() { return std::make_unique<MyFixture>(); }
//   INSTANTIATE_TEST_SUITE_P(My, PortContract, ::testing::Values(&MakeMyPort));
//   // a port on a real window system, whose controls live on one thread:
//   INSTANTIATE_TEST_SUITE_P(My, WindowSystemPortContract, ::testing::Values(&MakeMyPort));
//
// Each test makes a fresh fixture on its own thread, which is the port's
// user-interface thread, and destroys it at the end. A fixture provides:
// - Port(): the port, no window open.
// - ServeUntil(done, limitMs): the user-interface thread does its work
//   (events, painting, calls from workers) until done() holds; false once
//   limitMs have passed without it. Screen(): the area windows centre on.
// - User input as the window system gives it: a disabled control, or any
//   control of a window under a modal one, gets none. Type replaces an edit
//   box's content by typing ASCII text; CloseByUser is the close box.
// - WhenModal(window, inside): runs inside() on the user-interface thread
//   the next time `window` is up as a modal window.
// - The port's own dialogs, answered as a user would. AnswerMessageBox
//   queues the answer for the next message box (one shown with none queued
//   stays up until one is; whileShown, if given, runs on the user-interface
//   thread while the box is up); MessageBoxesShown() gives every box seen,
//   its flags as the platform numbers its icon and buttons. AnswerFolderBrowser
//   queues a path to enter into the next folder browser ("" cancels it).
//   Drive the real dialogs where possible; a test seam of the port is the
//   fallback.
namespace zelvo::testing {

enum class BoxAnswer { Ok, Cancel, CloseBox, Yes, No };

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
    void TearDown() override { fixture_.reset(); }

    UiPort& ui() { return fixture_->Port(); }
    PortFixture& user() { return *fixture_; }
    bool serveUntil(const std::function<bool()>& done, int limitMs = 20000) {
        return fixture_->ServeUntil(done, limitMs);
    }
    void serve(int ms) {
        fixture_->ServeUntil([] { return false; }, ms);
    }
    // Events of one kind from one control (empty name: the window).
    int count(WindowId window, std::string_view control, EventKind kind);

    std::unique_ptr<PortFixture> fixture_;
    std::vector<UiEvent> events_;  // every event delivered; onEvent_ sees each too
    std::function<void(const UiEvent&)> onEvent_;
};

// What the in-memory port does not model: modal message boxes, and calls
// that wait for the user-interface thread.
class WindowSystemPortContract : public PortContract {};

}  // namespace zelvo::testing
