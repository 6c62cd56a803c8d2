// The port contract, proved on the in-memory port that behaviour tests use.
#include "memory_ui.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "runtime/datetime.h"

namespace zelvo::testing {
namespace {

class MemoryUiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.SetEventHandler([this](const UiEvent& e) { events.push_back(e); });
    }
    MemoryUi ui;
    std::vector<UiEvent> events;
};

TEST_F(MemoryUiTest, OpeningBuildsFromTheDescriptionAndFiresCreatedThenFirstActivated) {
    ASSERT_TRUE(ui.LoadWindow(WindowId::ReferenceTemplates, false));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, EventKind::Created);
    EXPECT_EQ(events[1].kind, EventKind::FirstActivated);
    EXPECT_EQ(ui.GetText(WindowId::ReferenceTemplates, ""), "参考模版");
    EXPECT_TRUE(ui.IsChecked(WindowId::ReferenceTemplates, "选择框1"));
    EXPECT_EQ(ui.ListColumnCount(WindowId::ReferenceTemplates, "超级列表框1"), 2);
    EXPECT_EQ(ui.ListCount(WindowId::ReferenceTemplates, "超级列表框1"), 0);
    // Centred on the screen, integer division.
    ui.CloseWindow(WindowId::ReferenceTemplates);
    ui.setScreenSize(1001, 801);
    ui.LoadWindow(WindowId::ReferenceTemplates, false);
    EXPECT_EQ(ui.WindowLeft(WindowId::ReferenceTemplates), (1001 - 447) / 2);
    EXPECT_EQ(ui.WindowTop(WindowId::ReferenceTemplates), (801 - 351) / 2);
}

TEST_F(MemoryUiTest, OpeningAnOpenWindowRaisesItAndBuildsNoCopy) {
    ui.LoadWindow(WindowId::RecentNumbers, false);
    ui.SetText(WindowId::RecentNumbers, "编辑框1", "123");
    events.clear();
    EXPECT_TRUE(ui.LoadWindow(WindowId::RecentNumbers, false));
    EXPECT_EQ(ui.creations(WindowId::RecentNumbers), 1);
    EXPECT_EQ(ui.raises(WindowId::RecentNumbers), 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(ui.GetText(WindowId::RecentNumbers, "编辑框1"), "123");
}

TEST_F(MemoryUiTest, ReopenedWindowKeepsNothingFromItsLastOpening) {
    ui.LoadWindow(WindowId::RecentNumbers, false);
    ui.SetText(WindowId::RecentNumbers, "编辑框2", "9");
    ui.SetChecked(WindowId::RecentNumbers, "单选框2", true);
    ui.CloseWindow(WindowId::RecentNumbers);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::RecentNumbers));
    ui.LoadWindow(WindowId::RecentNumbers, false);
    EXPECT_EQ(ui.creations(WindowId::RecentNumbers), 2);
    EXPECT_EQ(ui.GetText(WindowId::RecentNumbers, "编辑框2"), "3");
    EXPECT_TRUE(ui.IsChecked(WindowId::RecentNumbers, "单选框1"));
    EXPECT_FALSE(ui.IsChecked(WindowId::RecentNumbers, "单选框2"));
}

TEST_F(MemoryUiTest, RadioButtonsFormOneGroup) {
    ui.LoadWindow(WindowId::RecentNumbers, false);
    ui.SetChecked(WindowId::RecentNumbers, "单选框2", true);
    EXPECT_FALSE(ui.IsChecked(WindowId::RecentNumbers, "单选框1"));
    EXPECT_TRUE(ui.IsChecked(WindowId::RecentNumbers, "单选框2"));
}

TEST_F(MemoryUiTest, ModalWindowDisablesTheOthersUntilItCloses) {
    ui.LoadWindow(WindowId::Main, false);
    bool ran = false;
    ui.onModal(WindowId::Filter, [&](MemoryUi& u) {
        ran = true;
        EXPECT_TRUE(u.IsWindowOpen(WindowId::Filter));
        EXPECT_FALSE(u.isWindowEnabled(WindowId::Main));
        EXPECT_FALSE(u.click(WindowId::Main, "按钮12"));
        EXPECT_TRUE(u.isWindowEnabled(WindowId::Filter));
        EXPECT_TRUE(u.click(WindowId::Filter, "按钮1"));
    });
    events.clear();
    EXPECT_TRUE(ui.LoadWindow(WindowId::Filter, true));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::Filter));
    EXPECT_TRUE(ui.isWindowEnabled(WindowId::Main));
    EXPECT_TRUE(ui.click(WindowId::Main, "按钮12"));
    // created (the only window event the filter window binds), the click
    // inside, the click after
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::Created);
    EXPECT_EQ(events[1].control, "按钮1");
    EXPECT_EQ(events[2].control, "按钮12");
}

TEST_F(MemoryUiTest, ModalCallbackMayCloseTheWindowItself) {
    ui.onModal(WindowId::Filter, [](MemoryUi& u) { u.CloseWindow(WindowId::Filter); });
    ui.LoadWindow(WindowId::Filter, true);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::Filter));
    EXPECT_TRUE(ui.misses().empty());
}

TEST_F(MemoryUiTest, ClosingInTheCreatedHandlerSkipsFirstActivated) {
    ui.SetEventHandler([this](const UiEvent& e) {
        events.push_back(e);
        if (e.kind == EventKind::Created) ui.CloseWindow(e.window);
    });
    ui.LoadWindow(WindowId::ReferenceTemplates, false);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::ReferenceTemplates));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Created);
}

TEST_F(MemoryUiTest, OnlyBoundEventsReachTheHandler) {
    ui.LoadWindow(WindowId::Main, false);
    events.clear();
    EXPECT_FALSE(ui.click(WindowId::Main, "标签1"));                 // a label binds nothing
    EXPECT_FALSE(ui.click(WindowId::Main, "没有这个"));              // no such control
    EXPECT_FALSE(ui.click(WindowId::Filter, "按钮1"));               // window not open
    EXPECT_FALSE(ui.clickHeader(WindowId::Main, "超级列表框1", 6));  // no such column
    EXPECT_TRUE(ui.clickHeader(WindowId::Main, "超级列表框1", 5));
    ui.SetEnabled(WindowId::Main, "按钮6", false);
    EXPECT_FALSE(ui.click(WindowId::Main, "按钮6"));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::HeaderClicked);
    EXPECT_EQ(events[0].arg, 5);
}

TEST_F(MemoryUiTest, TypingRespectsReadOnlyBoxes) {
    ui.LoadWindow(WindowId::Main, false);
    EXPECT_FALSE(ui.type(WindowId::Main, "快递类型", "顺丰"));
    EXPECT_EQ(ui.GetText(WindowId::Main, "快递类型"), "");
    ui.SetText(WindowId::Main, "快递类型", "顺丰");  // code may set it
    EXPECT_EQ(ui.GetText(WindowId::Main, "快递类型"), "顺丰");
    EXPECT_TRUE(ui.type(WindowId::Main, "规则", "{随机}"));
    EXPECT_EQ(ui.GetText(WindowId::Main, "规则"), "{随机}");
}

TEST_F(MemoryUiTest, MessageBoxesAreRecordedAndAnsweredInOrder) {
    ui.queueMessageAnswer(kResultCancel);
    EXPECT_EQ(ui.MessageBox("第一", kIconInformation | kOkCancel), kResultCancel);
    EXPECT_EQ(ui.MessageBox("第二", kIconError, "错误"), kResultOk);
    auto boxes = ui.messages();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "第一");
    EXPECT_EQ(boxes[0].flags, 65);
    EXPECT_EQ(boxes[0].caption, "信息：");
    EXPECT_EQ(boxes[1].caption, "错误");
    EXPECT_EQ(boxes[1].flags, 16);
}

TEST_F(MemoryUiTest, FolderBrowserAnswersQueuedPathsThenCancels) {
    ui.queueFolderAnswer("/tmp/结果");
    EXPECT_EQ(ui.BrowseFolder("选择文件夹", false), "/tmp/结果");
    EXPECT_EQ(ui.BrowseFolder("再选", true), "");
    auto asked = ui.folderRequests();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "选择文件夹");
    EXPECT_FALSE(asked[0].includeFiles);
    EXPECT_TRUE(asked[1].includeFiles);
}

TEST_F(MemoryUiTest, ListOperations) {
    ui.LoadWindow(WindowId::Main, false);
    const auto w = WindowId::Main;
    const char* list = "超级列表框1";
    EXPECT_EQ(ui.ListInsert(w, list), 0);
    EXPECT_EQ(ui.ListInsert(w, list, -5, "b", 3, 2, 0, 77), 1);  // negative appends
    EXPECT_EQ(ui.ListInsert(w, list, 99, "c"), 2);               // past the end appends
    EXPECT_EQ(ui.ListInsert(w, list, 0, "a"), 0);                // inserts in front
    EXPECT_EQ(ui.ListCount(w, list), 4);
    EXPECT_EQ(ui.ListGetText(w, list, 0, 0), "a");
    EXPECT_EQ(ui.ListGetText(w, list, 2, 0), "b");
    EXPECT_EQ(ui.ListGetImage(w, list, 2, 0), 3);
    EXPECT_EQ(ui.ListGetImage(w, list, 2, 1), -1);
    EXPECT_EQ(ui.ListGetStateImage(w, list, 2), 2);
    EXPECT_EQ(ui.ListGetData(w, list, 2), 77);
    ui.ListSetText(w, list, 2, 5, "收货");
    EXPECT_EQ(ui.listRow(w, list, 2), (std::vector<std::string>{"b", "", "", "", "", "收货"}));
    ui.ListSetText(w, list, 2, 6, "x");  // no such column: ignored
    EXPECT_EQ(ui.ListGetText(w, list, 2, 6), "");
    EXPECT_EQ(ui.ListGetText(w, list, 9, 0), "");
    ui.ListSetCurrentRow(w, list, 3);
    ui.ListDelete(w, list, 0);
    EXPECT_EQ(ui.ListCurrentRow(w, list), 2);
    EXPECT_EQ(ui.ListGetText(w, list, 2, 0), "c");
    ui.ListEnsureVisible(w, list, 1);
    EXPECT_EQ(ui.lastEnsuredVisible(w, list), 1);
    ui.ListClear(w, list);
    EXPECT_EQ(ui.ListCount(w, list), 0);
    EXPECT_EQ(ui.ListCurrentRow(w, list), -1);
    EXPECT_EQ(ui.ListColumnCount(w, list), 6);
    EXPECT_TRUE(ui.misses().empty());
}

TEST_F(MemoryUiTest, ControlsStartAtTheirDefaults) {
    const DateTime before = Now();
    ui.LoadWindow(WindowId::Filter, false);
    const DateTime after = Now();
    for (const char* picker : {"发货时间始", "发货时间终", "收货时间始", "收货时间终"}) {
        const DateTime value = ui.DateValue(WindowId::Filter, picker);
        EXPECT_GE(value, before) << picker;
        EXPECT_LE(value, after) << picker;
    }
    ui.LoadWindow(WindowId::Main, false);
    EXPECT_EQ(ui.ProgressPos(WindowId::Main, "进度条1"), 0);
    EXPECT_EQ(ui.CurrentPage(WindowId::Main, "高级选择夹1"), 0);
    EXPECT_FALSE(ui.IsVisible(WindowId::Main, "超文本浏览框3"));
    EXPECT_TRUE(ui.IsVisible(WindowId::Main, "超文本浏览框2"));
}

TEST_F(MemoryUiTest, UnknownControlsAreRecordedAsMisses) {
    ui.LoadWindow(WindowId::Main, false);
    EXPECT_EQ(ui.GetText(WindowId::Main, "没有这个"), "");
    ui.SetText(WindowId::Filter, "起点", "x");  // window not open
    EXPECT_EQ(ui.misses().size(), 2u);
}

TEST_F(MemoryUiTest, AppendTextAddsAtTheEnd) {
    ui.LoadWindow(WindowId::Main, false);
    ui.SetText(WindowId::Main, "生成内容", "1\r\n");
    ui.AppendText(WindowId::Main, "生成内容", "2\r\n");
    EXPECT_EQ(ui.GetText(WindowId::Main, "生成内容"), "1\r\n2\r\n");
}

// Workers call the port while the test thread delivers events; the handler
// itself calls back into the port. Run under ThreadSanitizer.
TEST_F(MemoryUiTest, WorkerThreadsMayCallEveryOperation) {
    ui.LoadWindow(WindowId::Main, false);
    std::atomic<int> clicks{0};
    ui.SetEventHandler([&](const UiEvent&) {
        clicks++;
        ui.SetText(WindowId::Main, "生成内容", "");
    });
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                int row = ui.ListInsert(WindowId::Main, "超级列表框1", -1, "n");
                ui.ListSetText(WindowId::Main, "超级列表框1", row, 1, "x");
                ui.SetProgressPos(WindowId::Main, "进度条1", i);
                ui.MessageBox("done", kIconInformation);
            }
        });
    }
    for (int i = 0; i < 200; ++i) ui.click(WindowId::Main, "按钮12");
    for (auto& w : workers) w.join();
    EXPECT_EQ(ui.ListCount(WindowId::Main, "超级列表框1"), 800);
    EXPECT_EQ(clicks.load(), 200);
    EXPECT_EQ(ui.messages().size(), 800u);
}

}  // namespace
}  // namespace zelvo::testing
