// Start-up, exit and the main window's own handlers, on the in-memory port.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "config/config.h"
#include "app/event_router.h"
#include "app/main_window_handlers.h"
#include "app/startup.h"
#include "memory_ui.h"
#include "runtime/datetime.h"

namespace zelvo {
namespace {

using testing::MemoryUi;
constexpr WindowId kMain = WindowId::Main;

const char* const kSamples =
    "368609071200\r\n368609071245\r\n368609071214\r\n368609071261\r\n"
    "368609071295\r\n368609071286\r\n368609071256";

class Shell : public ::testing::Test {
  protected:
    void start() {
        StartOptions options;
        options.onExit = [this](int code) { exits.push_back(code); };
        program = startProgram(ui, std::move(options));
    }
    ProgramState& state() { return program->state(); }

    MemoryUi ui;
    std::vector<int> exits;
    std::unique_ptr<Program> program;
};

TEST_F(Shell, TitleIsTheProductFollowedByTheContactLine) {
    const std::string expected =
        std::string("Zelvo快递单号生成器V4.30版 ") + std::string(config::kPublisherAddress) + " " +
        std::string(config::kPublisherCompany) + " " + std::string(config::kPublisherPhone);
    EXPECT_EQ(mainWindowTitle(), expected);
    // The contact line stays under a reserved example domain.
    EXPECT_NE(std::string(config::kPublisherAddress).find(".example/"), std::string::npos);
}

TEST_F(Shell, StartUpBuildsStateBeforeShowingTheMainWindowWithItsDefaults) {
    Program built(ui, {});
    EXPECT_EQ(ui.creations(kMain), 0);  // steps 1-3 open no window
    EXPECT_FALSE(built.state().sortAscending);
    EXPECT_TRUE(built.state().templateParts.empty());
    EXPECT_TRUE(built.state().ruleText.empty());
    EXPECT_FALSE(built.state().stopRequested);
    EXPECT_EQ(built.state().exitCode, -1);

    built.showMainWindow();
    // The created event ran before control came back.
    EXPECT_TRUE(ui.IsWindowOpen(kMain));
    EXPECT_EQ(ui.creations(kMain), 1);
    EXPECT_EQ(ui.GetText(kMain, ""), mainWindowTitle());
    EXPECT_EQ(ui.GetText(kMain, "超文本浏览框1"), config::kBannerAddress);
    EXPECT_EQ(ui.GetText(kMain, "超文本浏览框2"), config::kWebsiteAddress);

    EXPECT_EQ(ui.GetText(kMain, "规则"), "{固数1}+{递增}+{时间}+{随机}");
    EXPECT_EQ(ui.GetText(kMain, "生成个数框"), "50");
    EXPECT_EQ(ui.GetText(kMain, "效验线程"), "30");
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), kSamples);
    EXPECT_EQ(ui.GetText(kMain, "快递类型"), "");
    EXPECT_EQ(ui.ListCount(kMain, "超级列表框1"), 0);
    EXPECT_EQ(ui.ListColumnCount(kMain, "超级列表框1"), 6);
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.misses().empty());
}

TEST_F(Shell, ClosingTheMainWindowEndsWithCodeZeroAfterTheCleanUp) {
    start();
    state().ruleText = "中通快递|...";
    state().blankNumbers = "1\r\n";
    state().runNumbers = {"1", "2"};
    ui.CloseWindow(kMain);
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(state().exitCode, 0);
    EXPECT_TRUE(state().cleanedUp);
    EXPECT_TRUE(state().ruleText.empty());
    EXPECT_TRUE(state().blankNumbers.empty());
    EXPECT_TRUE(state().runNumbers.empty());
}

TEST_F(Shell, ExitCleanUpRunsOnce) {
    start();
    ui.CloseWindow(kMain);
    // Anything set after the clean-up survives every later attempt.
    state().ruleText = "later";
    endProgram(state(), 3);
    runExitCleanup(state());
    EXPECT_EQ(state().ruleText, "later");
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_EQ(state().exitCode, 0);
    program.reset();  // the destructor's hook finds it done
}

// The port outlives the program in a frontend's main(): events that arrive
// after the program is gone must not reach it.
TEST_F(Shell, DestroyedProgramReceivesNoMoreEvents) {
    start();
    program.reset();
    ui.click(kMain, "按钮12");
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), kSamples);
    EXPECT_TRUE(exits.empty());  // not ended through the window: no exit code
}

TEST_F(Shell, ClosingTheMainWindowWithSecondaryWindowsOpen) {
    start();
    ASSERT_TRUE(ui.click(kMain, "按钮1"));
    ASSERT_TRUE(ui.IsWindowOpen(WindowId::ReferenceTemplates));
    // The user closes the main window while the modal filter window is open
    // (as a window manager may): the program ends all the same.
    ui.onModal(WindowId::Filter, [](MemoryUi& u) { u.CloseWindow(kMain); });
    ASSERT_TRUE(ui.click(kMain, "按钮4"));
    EXPECT_EQ(exits, std::vector<int>{0});
    EXPECT_TRUE(state().cleanedUp);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::Filter));
    // A window still open while the process ends reaches no handler.
    ui.SetText(WindowId::ReferenceTemplates, "", "参考模版");
    routeEvent(state(), ui, {kMain, {}, EventKind::Created});
    EXPECT_EQ(ui.GetText(WindowId::ReferenceTemplates, ""), "参考模版");
    EXPECT_EQ(exits, std::vector<int>{0});
}

TEST_F(Shell, ClearUnderTheGenerationFieldsEmptiesOnlyTheOutput) {
    start();
    state().runningTime = MakeDateTime(2010, 1, 1, 0, 5);
    ui.SetText(kMain, "递增", "111111161");
    ASSERT_TRUE(ui.click(kMain, "按钮12"));
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), "");
    EXPECT_EQ(ui.GetText(kMain, "递增"), "111111161");
    EXPECT_EQ(ui.GetText(kMain, "规则"), "{固数1}+{递增}+{时间}+{随机}");
    EXPECT_EQ(state().runningTime, MakeDateTime(2010, 1, 1, 0, 5));
    // Again on the empty box: still empty, no message.
    ASSERT_TRUE(ui.click(kMain, "按钮12"));
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), "");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Shell, ClearAboveTheResultListDeletesRowsOnly) {
    start();
    state().sortAscending = true;
    ui.SetProgressMax(kMain, "进度条1", 7);
    ui.SetProgressPos(kMain, "进度条1", 7);
    for (int i = 0; i < 3; ++i) ui.ListInsert(kMain, "超级列表框1", -1, "1");
    ASSERT_TRUE(ui.click(kMain, "按钮3"));
    EXPECT_EQ(ui.ListCount(kMain, "超级列表框1"), 0);
    EXPECT_EQ(ui.ListColumnCount(kMain, "超级列表框1"), 6);
    EXPECT_TRUE(state().sortAscending);
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 7);
    ASSERT_TRUE(ui.click(kMain, "按钮3"));  // empty list: nothing, no message
    EXPECT_EQ(ui.ListCount(kMain, "超级列表框1"), 0);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Shell, HeaderClickOnAnEmptyListOnlyFlipsTheDirection) {
    start();
    ASSERT_TRUE(ui.clickHeader(kMain, "超级列表框1", 1));
    EXPECT_TRUE(state().sortAscending);
    ASSERT_TRUE(ui.clickHeader(kMain, "超级列表框1", 0));
    EXPECT_FALSE(state().sortAscending);
    EXPECT_EQ(ui.ListCount(kMain, "超级列表框1"), 0);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.misses().empty());
}

TEST_F(Shell, WebsitePagePointsItsViewAtThePublisher) {
    start();
    ui.SetText(kMain, "超文本浏览框2", "");
    ASSERT_TRUE(ui.selectPage(kMain, "高级选择夹1", 1));
    EXPECT_EQ(ui.GetText(kMain, "超文本浏览框2"), config::kWebsiteAddress);
    ui.SetText(kMain, "超文本浏览框2", "");
    ASSERT_TRUE(ui.selectPage(kMain, "高级选择夹1", 0));
    EXPECT_EQ(ui.GetText(kMain, "超文本浏览框2"), "");
}

TEST_F(Shell, SecondaryWindowsOpenOnceEach) {
    start();
    struct Row {
        const char* button;
        WindowId window;
    };
    for (const Row& r :
         {Row{"按钮1", WindowId::ReferenceTemplates}, Row{"按钮10", WindowId::RecentNumbers}}) {
        SCOPED_TRACE(r.button);
        // The recent-number window may close itself (no courier chosen yet):
        // give it one so that it stays.
        ui.SetText(kMain, "快递类型", "中通快递");
        ASSERT_TRUE(ui.click(kMain, r.button));
        ASSERT_TRUE(ui.IsWindowOpen(r.window));
        // Not modal: the main window still takes input.
        EXPECT_TRUE(ui.isWindowEnabled(kMain));
        ASSERT_TRUE(ui.click(kMain, r.button));
        EXPECT_EQ(ui.creations(r.window), 1);
        EXPECT_EQ(ui.raises(r.window), 1);
    }
}

TEST_F(Shell, FilterWindowIsModal) {
    start();
    bool ran = false;
    ui.onModal(WindowId::Filter, [&](MemoryUi& u) {
        ran = true;
        EXPECT_FALSE(u.isWindowEnabled(kMain));
        EXPECT_FALSE(u.click(kMain, "按钮12"));
    });
    ASSERT_TRUE(ui.click(kMain, "按钮4"));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::Filter));
    EXPECT_TRUE(ui.isWindowEnabled(kMain));
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), kSamples);
}

}  // namespace
}  // namespace zelvo
