// The port contract on the in-memory port that behaviour tests use. The
// test's thread is its user-interface thread; serving the windows is waiting.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "memory_ui.h"
#include "port_contract.h"
#include "runtime/datetime.h"

namespace zelvo::testing {
namespace {

class MemoryPortFixture : public PortFixture {
  public:
    MemoryPortFixture() : uiThread_(std::this_thread::get_id()) {
        // Odd sizes, so that centring shows its integer division.
        ui_.setScreenSize(1001, 801);
        ui_.onMessage([this](const MemoryUi::MessageRecord& box) { return Show(box); });
    }

    UiPort& Port() override { return ui_; }

    bool ServeUntil(const std::function<bool()>& done, int limitMs) override {
        const std::uint32_t start = TickCount();
        while (!done()) {
            if (TickCount() - start >= static_cast<std::uint32_t>(limitMs)) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    ScreenArea Screen() override { return {0, 0, 1001, 801}; }

    void Click(WindowId window, std::string_view control) override { ui_.click(window, control); }
    void ClickHeader(WindowId window, std::string_view list, int column) override {
        ui_.clickHeader(window, list, column);
    }
    void DoubleClickRow(WindowId window, std::string_view list, int row) override {
        ui_.activateRow(window, list, row);
    }
    void ClickTab(WindowId window, std::string_view tabs, int page) override {
        ui_.selectPage(window, tabs, page);
    }
    void Type(WindowId window, std::string_view box, std::string_view text) override {
        ui_.type(window, box, text);
    }
    void CloseByUser(WindowId window) override { ui_.CloseWindow(window); }

    void WhenModal(WindowId window, std::function<void()> inside) override {
        ui_.onModal(window, [this, window, inside](MemoryUi&) {
            ui_.onModal(window, nullptr);
            inside();
        });
    }

    void AnswerMessageBox(BoxAnswer answer, std::function<void()> whileShown) override {
        std::lock_guard lock(mutex_);
        answers_.push_back({answer, std::move(whileShown)});
        answered_.notify_all();
    }
    std::vector<ShownBox> MessageBoxesShown() override {
        std::lock_guard lock(mutex_);
        return shown_;
    }
    void AnswerFolderBrowser(std::string path) override { ui_.queueFolderAnswer(std::move(path)); }
    std::vector<std::string> FolderBrowserTitles() override {
        std::vector<std::string> titles;
        for (const MemoryUi::FolderRequest& request : ui_.folderRequests()) {
            titles.push_back(request.title);
        }
        return titles;
    }

  private:
    struct Answer {
        BoxAnswer answer;
        std::function<void()> whileShown;  // runs on the thread that asked
    };

    // A box stays up, blocking its caller, until the test answers it; one
    // asked for on the user-interface thread must have its answer queued.
    int Show(const MemoryUi::MessageRecord& box) {
        std::unique_lock lock(mutex_);
        shown_.push_back({box.text, box.caption, box.flags});
        const bool answered =
            std::this_thread::get_id() == uiThread_
                ? !answers_.empty()
                : answered_.wait_for(lock, std::chrono::seconds(20), [&] { return !answers_.empty(); });
        if (!answered) {
            ADD_FAILURE() << "message box left unanswered";
            return kResultOk;
        }
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        lock.unlock();
        if (answer.whileShown) answer.whileShown();
        switch (answer.answer) {
            case BoxAnswer::Ok:
                return kResultOk;
            case BoxAnswer::Cancel:
                return kResultCancel;
            case BoxAnswer::CloseBox:
                break;
        }
        return (box.flags & 0xF) == kOkCancel ? kResultCancel : kResultOk;
    }

    MemoryUi ui_;
    const std::thread::id uiThread_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::deque<Answer> answers_;
    std::vector<ShownBox> shown_;
};

std::unique_ptr<PortFixture> MakeMemoryPort() { return std::make_unique<MemoryPortFixture>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Memory, PortContract, ::testing::Values(&MakeMemoryPort));

}  // namespace zelvo::testing
