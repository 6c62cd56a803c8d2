// The in-memory port: the port contract, with the test's thread as its
// user-interface thread and serving the windows as waiting, and its test API.
#include "memory_ui.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <thread>

#include "port_contract.h"
#include "runtime/datetime.h"

namespace zelvo::testing {
namespace {

class MemoryPortFixture : public PortFixture {
  public:
    MemoryPortFixture() {
        ui_.setScreenSize(1001, 801);  // odd, so that centring shows its integer division
        ui_.onMessage([this](const MemoryUi::MessageRecord& box) { return Show(box); });
    }
    UiPort& Port() override { return ui_; }
    bool ServeUntil(const std::function<bool()>& done, int limitMs) override {
        for (const std::uint32_t start = TickCount(); !done();) {
            if (TickCount() - start >= static_cast<std::uint32_t>(limitMs)) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    ScreenArea Screen() override { return {0, 0, 1001, 801}; }
    void Click(WindowId w, std::string_view control) override { ui_.click(w, control); }
    void ClickHeader(WindowId w, std::string_view list, int column) override {
        ui_.clickHeader(w, list, column);
    }
    void DoubleClickRow(WindowId w, std::string_view list, int row) override {
        ui_.activateRow(w, list, row);
    }
    void ClickTab(WindowId w, std::string_view tabs, int page) override {
        ui_.selectPage(w, tabs, page);
    }
    void Type(WindowId w, std::string_view box, std::string_view text) override {
        ui_.type(w, box, text);
    }
    void CloseByUser(WindowId w) override { ui_.CloseWindow(w); }
    void WhenModal(WindowId w, std::function<void()> inside) override {
        ui_.onModal(w, [this, w, inside](MemoryUi&) {
            ui_.onModal(w, nullptr);
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
        for (const MemoryUi::FolderRequest& request : ui_.folderRequests())
            titles.push_back(request.title);
        return titles;
    }

  private:
    // A box blocks its caller until the test answers it; one on the
    // user-interface thread must have its answer queued. whileShown runs on
    // the caller's thread.
    int Show(const MemoryUi::MessageRecord& box) {
        std::unique_lock lock(mutex_);
        shown_.push_back({box.text, box.caption, box.flags});
        auto queued = [&] { return !answers_.empty(); };
        if (std::this_thread::get_id() == uiThread_
                ? !queued()
                : !answered_.wait_for(lock, std::chrono::seconds(20), queued)) {
            ADD_FAILURE() << "message box left unanswered";
            return kResultOk;
        }
        const auto [answer, whileShown] = std::move(answers_.front());
        answers_.pop_front();
        lock.unlock();
        if (whileShown) whileShown();
        const bool closeMeansCancel = (box.flags & 0xF) == kOkCancel;
        if (answer == BoxAnswer::Yes) return kResultYes;
        if (answer == BoxAnswer::No) return kResultNo;
        return answer == BoxAnswer::Cancel || (answer == BoxAnswer::CloseBox && closeMeansCancel)
                   ? kResultCancel
                   : kResultOk;
    }

    MemoryUi ui_;
    const std::thread::id uiThread_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable answered_;
    std::deque<std::pair<BoxAnswer, std::function<void()>>> answers_;
    std::vector<ShownBox> shown_;
};

std::unique_ptr<PortFixture> MakeMemoryPort() { return std::make_unique<MemoryPortFixture>(); }

INSTANTIATE_TEST_SUITE_P(Memory, PortContract, ::testing::Values(&MakeMemoryPort));

// ---- the test API ----------------------------------------------------------------------

TEST(MemoryUi, CountsOpeningsAndRaisesAndRecordsMisses) {
    MemoryUi ui;
    ui.LoadWindow(WindowId::RecentNumbers, false);
    ui.LoadWindow(WindowId::RecentNumbers, false);
    EXPECT_EQ(ui.creations(WindowId::RecentNumbers), 1);
    EXPECT_EQ(ui.raises(WindowId::RecentNumbers), 1);
    ui.onModal(WindowId::Filter, [](MemoryUi& u) {
        EXPECT_FALSE(u.isWindowEnabled(WindowId::RecentNumbers));
        u.CloseWindow(WindowId::Filter);
    });
    ui.LoadWindow(WindowId::Filter, true);
    EXPECT_TRUE(ui.isWindowEnabled(WindowId::RecentNumbers));
    ui.LoadWindow(WindowId::Main, false);
    ui.ListInsert(WindowId::Main, "超级列表框1", -1, "1");
    ui.ListSetText(WindowId::Main, "超级列表框1", 0, 5, "收货");
    EXPECT_EQ(ui.listRow(WindowId::Main, "超级列表框1", 0),
              (std::vector<std::string>{"1", "", "", "", "", "收货"}));
    ui.ListEnsureVisible(WindowId::Main, "超级列表框1", 0);
    EXPECT_EQ(ui.lastEnsuredVisible(WindowId::Main, "超级列表框1"), 0);
    EXPECT_TRUE(ui.misses().empty());
    EXPECT_EQ(ui.GetText(WindowId::Main, "没有这个"), "");
    ui.SetText(WindowId::Filter, "起点", "x");  // window not open
    EXPECT_EQ(ui.misses().size(), 2u);
}

TEST(MemoryUi, InputHelpersRefuseWhatNoUserCouldDo) {
    MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    const size_t before = ui.deliveredEvents().size();
    EXPECT_FALSE(ui.click(WindowId::Main, "没有这个"));
    EXPECT_FALSE(ui.click(WindowId::Filter, "按钮1"));                       // window not open
    EXPECT_FALSE(ui.clickHeader(WindowId::Main, "超级列表框1", 6));          // no such column
    EXPECT_FALSE(ui.activateRow(WindowId::Main, "超级列表框1", 0));          // no such row
    EXPECT_FALSE(ui.selectPage(WindowId::Main, "高级选择夹1", 2));           // no such page
    EXPECT_FALSE(ui.fire({WindowId::Main, {}, EventKind::FirstActivated}));  // not bound
    EXPECT_TRUE(ui.clickHeader(WindowId::Main, "超级列表框1", 5));
    ASSERT_EQ(ui.deliveredEvents().size(), before + 1);
    EXPECT_EQ(ui.deliveredEvents().back().arg, 5);
}

TEST(MemoryUi, DialogsTakeQueuedAnswersThenTheirDefaults) {
    MemoryUi ui;
    ui.queueMessageAnswer(kResultCancel);
    EXPECT_EQ(ui.MessageBox("第一", kIconInformation | kOkCancel), kResultCancel);
    EXPECT_EQ(ui.MessageBox("第二", kIconError, "错误"), kResultOk);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].caption, "信息：");
    EXPECT_EQ(ui.messages()[1].flags, 16);
    ui.clearMessages();
    EXPECT_TRUE(ui.messages().empty());
    ui.queueFolderAnswer("/tmp/结果");
    EXPECT_EQ(ui.BrowseFolder("选择文件夹", false), "/tmp/结果");
    EXPECT_EQ(ui.BrowseFolder("再选", true), "");
    ASSERT_EQ(ui.folderRequests().size(), 2u);
    EXPECT_TRUE(ui.folderRequests()[1].includeFiles);
}

}  // namespace
}  // namespace zelvo::testing
