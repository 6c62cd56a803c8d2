// What is particular to the in-memory port: its test API. The port contract
// runs on it from tests/port/memory_port.cpp.
#include "memory_ui.h"

#include <gtest/gtest.h>

namespace zelvo::testing {
namespace {

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
    EXPECT_TRUE(ui.misses().empty());

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
    EXPECT_FALSE(ui.click(WindowId::Filter, "按钮1"));               // window not open
    EXPECT_FALSE(ui.clickHeader(WindowId::Main, "超级列表框1", 6));  // no such column
    EXPECT_FALSE(ui.activateRow(WindowId::Main, "超级列表框1", 0));  // no such row
    EXPECT_FALSE(ui.selectPage(WindowId::Main, "高级选择夹1", 2));   // no such page
    EXPECT_FALSE(ui.fire({WindowId::Main, {}, EventKind::FirstActivated}));  // not bound
    EXPECT_TRUE(ui.clickHeader(WindowId::Main, "超级列表框1", 5));
    const std::vector<UiEvent> delivered = ui.deliveredEvents();
    ASSERT_EQ(delivered.size(), before + 1);
    EXPECT_EQ(delivered.back().arg, 5);
}

TEST(MemoryUi, DialogsTakeQueuedAnswersThenTheirDefaults) {
    MemoryUi ui;
    ui.queueMessageAnswer(kResultCancel);
    EXPECT_EQ(ui.MessageBox("第一", kIconInformation | kOkCancel), kResultCancel);
    EXPECT_EQ(ui.MessageBox("第二", kIconError, "错误"), kResultOk);
    auto boxes = ui.messages();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "信息：");
    EXPECT_EQ(boxes[1].flags, 16);
    ui.clearMessages();
    EXPECT_TRUE(ui.messages().empty());

    ui.queueFolderAnswer("/tmp/结果");
    EXPECT_EQ(ui.BrowseFolder("选择文件夹", false), "/tmp/结果");
    EXPECT_EQ(ui.BrowseFolder("再选", true), "");
    auto asked = ui.folderRequests();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_FALSE(asked[0].includeFiles);
    EXPECT_TRUE(asked[1].includeFiles);
}

}  // namespace
}  // namespace zelvo::testing
