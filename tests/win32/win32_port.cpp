// The port contract on native Win32 controls (under Wine in the cross build).
// User input goes through the window system; message boxes are the real
// ones, answered by pressing their buttons. The folder browser is answered
// through the port's seam: the shell's browser does not take a typed path
// the same way on every Windows (and Wine).
#include <memory>

#include "port_contract.h"
#include "win32_test_support.h"
#include "win32_ui.h"

namespace zelvo::testing {
namespace {

class Win32PortFixture : public PortFixture {
  public:
    Win32PortFixture() : ui_(std::make_unique<win32::Win32Ui>()), dialogs_(*ui_) {}
    ~Win32PortFixture() override {
        ui_->Shutdown();
        ui_.reset();
        // Drop what the closed windows left in the queue.
        testing::ServeUntil([] { return false; }, 10);
    }

    UiPort& Port() override { return *ui_; }
    bool ServeUntil(const std::function<bool()>& done, int limitMs) override {
        return testing::ServeUntil(done, limitMs);
    }
    ScreenArea Screen() override {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }

    void Click(WindowId window, std::string_view control) override {
        if (HWND c = ui_->ControlWindow(window, control)) ClickControl(c);
    }
    void ClickHeader(WindowId window, std::string_view list, int column) override {
        HWND view = ui_->ControlWindow(window, list);
        ASSERT_NE(view, nullptr);
        RaiseWindowOf(view);
        HWND header = ListView_GetHeader(view);
        RECT r{};
        Header_GetItemRect(header, column, &r);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(header, &centre);
        ClickAt(centre);
    }
    void DoubleClickRow(WindowId window, std::string_view list, int row) override {
        HWND view = ui_->ControlWindow(window, list);
        ASSERT_NE(view, nullptr);
        // Appended rows reach the control with its next batch.
        testing::ServeUntil([&] { return ListView_GetItemCount(view) > row; }, 2000);
        RaiseWindowOf(view);
        ListView_EnsureVisible(view, row, FALSE);
        RECT r{};
        ListView_GetItemRect(view, row, &r, LVIR_LABEL);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(view, &centre);
        ClickAt(centre, true);
    }
    void ClickTab(WindowId window, std::string_view tabs, int page) override {
        HWND control = ui_->ControlWindow(window, tabs);
        ASSERT_NE(control, nullptr);
        RaiseWindowOf(control);
        RECT r{};
        TabCtrl_GetItemRect(control, page, &r);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(control, &centre);
        ClickAt(centre);
    }
    void Type(WindowId window, std::string_view box, std::string_view text) override {
        if (HWND c = ui_->ControlWindow(window, box)) TypeInto(c, text);
    }
    void CloseByUser(WindowId window) override { testing::CloseByUser(ui_->Window(window)); }
    void WhenModal(WindowId window, std::function<void()> inside) override {
        dialogs_.WhenModal(window, std::move(inside));
    }

    void AnswerMessageBox(BoxAnswer answer, std::function<void()> whileShown) override {
        const auto a = answer == BoxAnswer::Ok       ? DialogAnswerer::Answer::Ok
                       : answer == BoxAnswer::Cancel ? DialogAnswerer::Answer::Cancel
                       : answer == BoxAnswer::Yes    ? DialogAnswerer::Answer::Yes
                       : answer == BoxAnswer::No     ? DialogAnswerer::Answer::No
                                                     : DialogAnswerer::Answer::CloseBox;
        dialogs_.Queue(a, std::move(whileShown));
    }
    // Text and caption as the real boxes showed them; the style bits as the
    // port handed them to MessageBoxW.
    std::vector<ShownBox> MessageBoxesShown() override {
        std::vector<ShownBox> shown;
        const std::vector<win32::ShownMessageBox> asked = ui_->MessageBoxesShown();
        for (const DialogAnswerer::Shown& box : dialogs_.ShownBoxes()) {
            int flags = -1;
            for (const win32::ShownMessageBox& a : asked) {
                if (a.text == box.text && a.caption == box.caption) flags = a.flags;
            }
            shown.push_back({box.text, box.caption, flags});
        }
        return shown;
    }
    void AnswerFolderBrowser(std::string path) override { ui_->AnswerNextBrowse(std::move(path)); }
    std::vector<std::string> FolderBrowserTitles() override { return ui_->FolderBrowserTitles(); }

  private:
    std::unique_ptr<win32::Win32Ui> ui_;
    DialogAnswerer dialogs_;
};

std::unique_ptr<PortFixture> MakeWin32Port() { return std::make_unique<Win32PortFixture>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, PortContract, ::testing::Values(&MakeWin32Port));
INSTANTIATE_TEST_SUITE_P(Win32, WindowSystemPortContract, ::testing::Values(&MakeWin32Port));

}  // namespace zelvo::testing
