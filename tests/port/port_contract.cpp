// The UI port's contract: windows built from their descriptions, events,
// modality, control values, list views, dialogs and calls from worker threads.
#include "port_contract.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>
#include <utility>

#include "forms/form.h"
#include "runtime/datetime.h"

namespace zelvo::testing {

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(WindowSystemPortContract);

namespace {

constexpr WindowId kMain = WindowId::Main, kFilter = WindowId::Filter,
                   kTemplates = WindowId::ReferenceTemplates, kRecent = WindowId::RecentNumbers;
constexpr const char *kList = "超级列表框1", *kTabs = "高级选择夹1", *kProgress = "进度条1",
                     *kGenerated = "生成内容", *kThreads = "效验线程", *kGenerate = "按钮2";
constexpr double kSecond = 1.0 / 86400;

}  // namespace

void PortContract::SetUp() {
    fixture_ = GetParam()();
    ui().SetEventHandler([this](const UiEvent& event) {
        events_.push_back(event);
        if (onEvent_) onEvent_(event);
    });
}

int PortContract::count(WindowId window, std::string_view control, EventKind kind) {
    int n = 0;
    for (const UiEvent& e : events_)
        n += e.window == window && e.control == control && e.kind == kind;
    return n;
}

// ---- windows -------------------------------------------------------------------------

TEST_P(PortContract, WindowsShowWhatTheirDescriptionsHold) {
    for (WindowId id : {kFilter, kTemplates, kRecent, kMain}) {
        const WindowDesc& form = FormOf(id);
        const DateTime before{Now().days - kSecond};
        ASSERT_TRUE(ui().LoadWindow(id, false));
        const DateTime after = Now();
        EXPECT_TRUE(ui().IsWindowOpen(id) && ui().IsVisible(id, {}) && ui().IsEnabled(id, {}));
        EXPECT_EQ(ui().GetText(id, {}), form.caption);
        for (const ControlDesc& d : form.controls) {
            SCOPED_TRACE(GbkToUtf8ForDisplay(d.name));
            EXPECT_EQ(ui().IsVisible(id, d.name), d.visible);
            EXPECT_EQ(ui().IsEnabled(id, d.name), d.enabled);
            const ControlKind k = d.kind;
            if (k <= ControlKind::GroupBox || k == ControlKind::WebView) {  // the kinds with text
                EXPECT_EQ(ui().GetText(id, d.name), d.text);
            }
            if (k == ControlKind::CheckBox || k == ControlKind::RadioButton) {
                EXPECT_EQ(ui().IsChecked(id, d.name), d.checked);
            } else if (k == ControlKind::ListView) {
                EXPECT_EQ(ui().ListColumnCount(id, d.name), static_cast<int>(d.columns.size()));
                EXPECT_EQ(ui().ListCount(id, d.name) + ui().ListCurrentRow(id, d.name), -1);
            } else if (k == ControlKind::ProgressBar) {
                EXPECT_EQ(ui().ProgressMax(id, d.name), 100);
                EXPECT_EQ(ui().ProgressPos(id, d.name), 0);
            } else if (k == ControlKind::DatePicker) {  // starts now
                EXPECT_GE(ui().DateValue(id, d.name), before);
                EXPECT_LE(ui().DateValue(id, d.name), after);
            } else if (k == ControlKind::TabControl) {
                EXPECT_EQ(ui().CurrentPage(id, d.name), 0);
            }
        }
        ui().CloseWindow(id);
        EXPECT_FALSE(ui().IsWindowOpen(id));
    }
}

TEST_P(PortContract, WindowsOpenCentredOnTheScreenAndMove) {
    const ScreenArea screen = user().Screen();
    for (WindowId id : {kFilter, kTemplates, kRecent}) {
        ui().LoadWindow(id, false);
        EXPECT_EQ(ui().WindowLeft(id), screen.left + (screen.width - FormOf(id).width) / 2);
        EXPECT_EQ(ui().WindowTop(id), screen.top + (screen.height - FormOf(id).height) / 2);
    }
    ui().MoveWindow(kFilter, 40, 30);
    EXPECT_EQ(std::pair(ui().WindowLeft(kFilter), ui().WindowTop(kFilter)), std::pair(40, 30));
}

TEST_P(PortContract, WindowEventsArriveInOrderAndOnlyWhereBound) {
    ASSERT_TRUE(ui().LoadWindow(kTemplates, false));
    // Created has run when the opening returns; first-activated follows.
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_.front().kind, EventKind::Created);
    EXPECT_TRUE(serveUntil([&] { return count(kTemplates, {}, EventKind::FirstActivated) == 1; }));
    ui().CloseWindow(kTemplates);
    ui().LoadWindow(kTemplates, false);  // built anew, its events run again
    EXPECT_EQ(count(kTemplates, {}, EventKind::Created), 2);
    EXPECT_TRUE(serveUntil([&] { return count(kTemplates, {}, EventKind::FirstActivated) == 2; }));
    events_.clear();
    ui().LoadWindow(kFilter, false);  // binds only its created event
    serve(100);
    ui().CloseWindow(kFilter);
    serve(20);
    EXPECT_EQ(events_.size(), 1u);
    EXPECT_EQ(count(kFilter, {}, EventKind::Created), 1);
}

TEST_P(PortContract, AWindowClosedByItsCreatedEventEndsItsOpening) {
    onEvent_ = [&](const UiEvent& e) {
        if (e.kind == EventKind::Created) ui().CloseWindow(e.window);
    };
    EXPECT_TRUE(ui().LoadWindow(kTemplates, false));
    EXPECT_TRUE(ui().LoadWindow(kFilter, true));  // a modal one returns at once
    EXPECT_FALSE(ui().IsWindowOpen(kTemplates) || ui().IsWindowOpen(kFilter));
    serve(100);
    EXPECT_EQ(events_.size(), 2u) << "only the two created events";
}

TEST_P(PortContract, OpeningAnOpenWindowRaisesItAndAClosedOneStartsAfresh) {
    ui().LoadWindow(kRecent, false);
    ui().SetText(kRecent, "编辑框2", "9");
    ui().SetChecked(kRecent, "单选框2", true);
    EXPECT_TRUE(ui().LoadWindow(kRecent, false));
    EXPECT_EQ(count(kRecent, {}, EventKind::Created), 1);
    EXPECT_EQ(ui().GetText(kRecent, "编辑框2"), "9");
    ui().CloseWindow(kRecent);
    ui().LoadWindow(kRecent, false);
    EXPECT_EQ(ui().GetText(kRecent, "编辑框2"), "3");
    EXPECT_TRUE(ui().IsChecked(kRecent, "单选框1"));
}

TEST_P(PortContract, TheMainWindowsCloseBoxRunsItsEventWhileTheControlsStillExist) {
    ui().LoadWindow(kMain, false);
    std::optional<std::string> threads;
    onEvent_ = [&](const UiEvent& e) {
        if (e.kind == EventKind::AboutToBeDestroyed) threads = ui().GetText(kMain, kThreads);
    };
    user().CloseByUser(kMain);
    EXPECT_TRUE(serveUntil([&] { return !ui().IsWindowOpen(kMain); }));
    EXPECT_EQ(count(kMain, {}, EventKind::AboutToBeDestroyed), 1);
    EXPECT_EQ(threads, "30");
}

TEST_P(PortContract, AModalWindowDisablesTheOthersUntilItCloses) {
    ui().LoadWindow(kMain, false);
    std::vector<int> inside;  // filter open, main enabled, filter enabled, clicks on each
    user().WhenModal(kFilter, [&] {
        user().Click(kMain, kGenerate);
        user().Click(kFilter, "按钮1");
        serveUntil([&] { return count(kFilter, "按钮1", EventKind::Clicked) == 1; }, 2000);
        inside = {ui().IsWindowOpen(kFilter), ui().IsEnabled(kMain, {}),
                  ui().IsEnabled(kFilter, {}), count(kMain, kGenerate, EventKind::Clicked),
                  count(kFilter, "按钮1", EventKind::Clicked)};
        user().CloseByUser(kFilter);
    });
    EXPECT_TRUE(ui().LoadWindow(kFilter, true));
    EXPECT_FALSE(ui().IsWindowOpen(kFilter)) << "returned only after the window had closed";
    EXPECT_EQ(inside, (std::vector<int>{1, 0, 1, 0, 1}));
    EXPECT_TRUE(ui().IsEnabled(kMain, {}));
    user().Click(kMain, kGenerate);
    EXPECT_TRUE(serveUntil([&] { return count(kMain, kGenerate, EventKind::Clicked) == 1; }));
    // Code inside a modal window may close it.
    user().WhenModal(kFilter, [&] { ui().CloseWindow(kFilter); });
    EXPECT_TRUE(ui().LoadWindow(kFilter, true));
    EXPECT_FALSE(ui().IsWindowOpen(kFilter));
}

// ---- user input --------------------------------------------------------------------

TEST_P(PortContract, OnlyBoundEnabledControlsAndWritableBoxesTakeInput) {
    ui().LoadWindow(kMain, false);
    events_.clear();
    user().Click(kMain, kGenerate);
    ASSERT_TRUE(serveUntil([&] { return count(kMain, kGenerate, EventKind::Clicked) == 1; }));
    user().Click(kMain, "标签1");  // a label binds nothing
    ui().SetEnabled(kMain, "按钮6", false);
    user().Click(kMain, "按钮6");
    user().Type(kMain, "快递类型", "abc");  // read-only
    user().Type(kMain, "生成个数框", "12");
    EXPECT_TRUE(serveUntil([&] { return ui().GetText(kMain, "生成个数框") == "12"; }));
    serve(50);
    EXPECT_EQ(events_.size(), 1u);
    EXPECT_EQ(ui().GetText(kMain, "快递类型"), "");
    ui().SetText(kMain, "快递类型", "申通快递");  // applying a rule is the only way in
    EXPECT_EQ(ui().GetText(kMain, "快递类型"), "申通快递");
}

TEST_P(PortContract, ListAndTabEventsCarryTheirArgumentAndCodeRaisesNone) {
    ui().LoadWindow(kMain, false);
    ui().LoadWindow(kTemplates, false);
    for (const char* number : {"3", "1", "2"}) {
        ui().ListInsert(kMain, kList, -1, number);
        ui().ListInsert(kTemplates, kList, -1, number);
    }
    auto arg = [&](WindowId w, const char* control, EventKind kind, int n) {
        return serveUntil([&] { return count(w, control, kind) == n; }) ? events_.back().arg : -1;
    };
    user().ClickHeader(kMain, kList, 2);
    EXPECT_EQ(arg(kMain, kList, EventKind::HeaderClicked, 1), 2);
    user().ClickHeader(kMain, kList, 0);
    EXPECT_EQ(arg(kMain, kList, EventKind::HeaderClicked, 2), 0);
    EXPECT_EQ(ui().ListGetText(kMain, kList, 0, 0), "3") << "the port does not sort";
    user().DoubleClickRow(kTemplates, kList, 1);
    EXPECT_EQ(arg(kTemplates, kList, EventKind::RowActivated, 1), 1);
    EXPECT_EQ(ui().ListCurrentRow(kTemplates, kList), 1);
    user().ClickTab(kMain, kTabs, 1);
    EXPECT_EQ(arg(kMain, kTabs, EventKind::PageChanged, 1), 1);
    EXPECT_EQ(ui().CurrentPage(kMain, kTabs), 1);
    ui().SetCurrentPage(kMain, kTabs, 0);
    EXPECT_EQ(ui().CurrentPage(kMain, kTabs), 0);
    serve(50);
    EXPECT_EQ(count(kMain, kTabs, EventKind::PageChanged), 1);
}

// ---- control values ----------------------------------------------------------------

TEST_P(PortContract, TextsAndCheckedStatesComeBackAsSet) {
    ui().LoadWindow(kMain, false);
    const std::pair<const char*, std::string> cases[] = {
        {"", "标题≤≌≥"},
        {kGenerated, "368609071200\r\n\r\n快递≤≌≥\r\n" + std::string(3000, '7')},
        {kGenerated, ""},
        {kGenerated, "1\r\n"},
        {"规则", "{随机}+{递增}"},
        {"标签1", "固数9："},
        {kGenerate, "再生成"},
        {"超文本浏览框2", "http://www.example/"}};
    for (const auto& [control, text] : cases) {
        ui().SetText(kMain, control, text);
        EXPECT_EQ(ui().GetText(kMain, control), text) << GbkToUtf8ForDisplay(control);
    }
    ui().SetText(kMain, kGenerated, "1\r\n2");
    ui().AppendText(kMain, kGenerated, "\r\n3\r\n");
    ui().AppendText(kMain, kGenerated, "4");
    EXPECT_EQ(ui().GetText(kMain, kGenerated), "1\r\n2\r\n3\r\n4");
    // The radio buttons of a window form one group; code may uncheck the checked one.
    ui().LoadWindow(kRecent, false);
    auto checked = [&] {
        return std::pair(ui().IsChecked(kRecent, "单选框1"), ui().IsChecked(kRecent, "单选框2"));
    };
    ui().SetChecked(kRecent, "单选框2", true);
    EXPECT_EQ(checked(), std::pair(false, true));
    ui().SetChecked(kRecent, "单选框1", true);
    EXPECT_EQ(checked(), std::pair(true, false));
    ui().SetChecked(kRecent, "单选框1", false);
    EXPECT_EQ(checked(), std::pair(false, false));
}

TEST_P(PortContract, ProgressAndDatesKeepTheirValuesWithinRange) {
    ui().LoadWindow(kMain, false);
    auto set = [&](int max, int pos) {
        if (max >= 0) ui().SetProgressMax(kMain, kProgress, max);
        ui().SetProgressPos(kMain, kProgress, pos);
        return std::pair(ui().ProgressMax(kMain, kProgress), ui().ProgressPos(kMain, kProgress));
    };
    EXPECT_EQ(set(7, 3), std::pair(7, 3));
    EXPECT_EQ(set(-1, 9), std::pair(7, 7));
    EXPECT_EQ(set(0, 1), std::pair(0, 0));  // a run over no number: the bar stays empty
    EXPECT_EQ(set(3, 3), std::pair(3, 3));
    ui().LoadWindow(kFilter, false);
    // 2010-01-05 09:30:15; -1.25 is a day and a quarter before day zero.
    for (double days : {40183.0 + (9 * 3600 + 30 * 60 + 15) * kSecond, -1.25,
                        MakeDateTime(1999, 12, 31, 23, 59, 59).days}) {
        ui().SetDateValue(kFilter, "发货时间终", DateTime{days});
        EXPECT_NEAR(ui().DateValue(kFilter, "发货时间终").days, days, kSecond / 2) << days;
    }
}

// ---- list views --------------------------------------------------------------------

TEST_P(PortContract, ListRowsKeepTheirCellsImagesAndValues) {
    ui().LoadWindow(kMain, false);
    auto text = [&](int row, int column) { return ui().ListGetText(kMain, kList, row, column); };
    EXPECT_EQ(ui().ListInsert(kMain, kList, -1, "b", 4, 2, 0, 77), 0);
    EXPECT_EQ(ui().ListInsert(kMain, kList, -5, "d"), 1);  // negative appends
    EXPECT_EQ(ui().ListInsert(kMain, kList, 1, "c"), 1);
    EXPECT_EQ(ui().ListInsert(kMain, kList, 99, "e"), 3);  // past the end appends
    EXPECT_EQ(ui().ListInsert(kMain, kList, 0, "a"), 0);
    EXPECT_EQ(text(0, 0) + text(1, 0) + text(2, 0) + text(3, 0) + text(4, 0), "abcde");
    ui().ListSetText(kMain, kList, 2, 5, "收货地点≤≌≥");
    ui().ListSetText(kMain, kList, 2, 6, "x");  // no such column: ignored
    EXPECT_EQ(text(2, 5), "收货地点≤≌≥");
    EXPECT_EQ(text(2, 3) + text(2, 6) + text(9, 0), "");
    EXPECT_EQ(ui().ListGetImage(kMain, kList, 1, 0), 4);
    EXPECT_EQ(ui().ListGetImage(kMain, kList, 1, 1), -1);
    EXPECT_EQ(ui().ListGetStateImage(kMain, kList, 1), 2);
    EXPECT_EQ(ui().ListGetData(kMain, kList, 1), 77);
    EXPECT_EQ(ui().ListGetStateImage(kMain, kList, 2), -1);
    EXPECT_EQ(ui().ListGetData(kMain, kList, 2), 0);
    // The current row moves with the rows before it and goes with its own.
    ui().ListSetCurrentRow(kMain, kList, 3);
    ui().ListDelete(kMain, kList, 0);
    EXPECT_EQ(ui().ListCurrentRow(kMain, kList), 2);
    EXPECT_EQ(text(2, 0) + text(1, 5), "d收货地点≤≌≥");
    ui().ListInsert(kMain, kList, 0, "z");
    EXPECT_EQ(ui().ListCurrentRow(kMain, kList), 3);
    ui().ListDelete(kMain, kList, 3);
    EXPECT_EQ(ui().ListCurrentRow(kMain, kList), -1);
    ui().ListSetCurrentRow(kMain, kList, 1);
    ui().ListEnsureVisible(kMain, kList, 2);
    ui().ListClear(kMain, kList);
    EXPECT_EQ(ui().ListCount(kMain, kList), 0);
    EXPECT_EQ(ui().ListColumnCount(kMain, kList), 6);
    EXPECT_EQ(ui().ListCurrentRow(kMain, kList), -1);
}

// The filter pass: the list hidden, rows deleted from the last to the first.
TEST_P(PortContract, DeletingRowsFromTheLastToTheFirstKeepsTheRest) {
    ui().LoadWindow(kMain, false);
    for (int i = 0; i < 300; ++i) {
        const int row = ui().ListInsert(kMain, kList, -1, std::to_string(i), -1, -1, 0, i);
        ui().ListSetText(kMain, kList, row, 3, i % 3 ? "北京" : "上海");
    }
    serve(20);
    ui().SetVisible(kMain, kList, false);
    for (int r = 299; r >= 0; --r) {
        if (ui().ListGetText(kMain, kList, r, 3) == "上海") ui().ListDelete(kMain, kList, r);
    }
    ui().SetVisible(kMain, kList, true);
    ASSERT_EQ(ui().ListCount(kMain, kList), 200);
    for (int r = 0, i = 1; r < 200; ++r, i += i % 3 == 1 ? 1 : 2) {
        ASSERT_EQ(ui().ListGetText(kMain, kList, r, 0), std::to_string(i));
        ASSERT_EQ(ui().ListGetData(kMain, kList, r), i);
    }
    // Rows inserted and appended after the pass land where they should.
    ui().ListInsert(kMain, kList, 0, "first");
    ui().ListInsert(kMain, kList, -1, "last");
    EXPECT_EQ(ui().ListGetText(kMain, kList, 0, 0) + ui().ListGetText(kMain, kList, 1, 0) +
                  ui().ListGetText(kMain, kList, 201, 0),
              "first1last");
}

TEST_P(PortContract, AHundredThousandRowsGoIn) {
    ui().LoadWindow(kMain, false);
    for (int i = 1; i <= 100000; ++i) {
        ui().ListSetText(kMain, kList, ui().ListInsert(kMain, kList, -1, std::to_string(i)), 1,
                         "36");
    }
    serve(20);
    EXPECT_EQ(ui().ListCount(kMain, kList), 100000);
    EXPECT_EQ(ui().ListGetText(kMain, kList, 99999, 0) + ui().ListGetText(kMain, kList, 99999, 1),
              "10000036");
    ui().ListEnsureVisible(kMain, kList, 99999);
    serve(20);
}

// ---- dialogs and Delay -------------------------------------------------------------

TEST_P(PortContract, MessageBoxesShowTheirTextAndGiveTheButtonPressed) {
    ui().LoadWindow(kMain, false);
    const int kOkCancelBox = kIconInformation | kOkCancel;
    const struct {
        const char* text;
        int flags;
        const char* caption;  // nullptr: the default
        BoxAnswer answer;
        int result;
    } cases[] = {{"确定要退出吗?", kOkCancelBox, "提示", BoxAnswer::Ok, kResultOk},
                 {"第一行\r\n第二行", kOkCancelBox, nullptr, BoxAnswer::Cancel, kResultCancel},
                 {"关闭", kOkCancelBox, nullptr, BoxAnswer::CloseBox, kResultCancel},
                 {"快递类型不能为空!", kIconError, "错误", BoxAnswer::Ok, kResultOk},
                 {"全部保存完毕!", kIconInformation, "恭喜你!", BoxAnswer::CloseBox, kResultOk},
                 {"重新查询?", kIconInformation | kYesNo, "提示", BoxAnswer::Yes, kResultYes},
                 {"重新查询?", kIconInformation | kYesNo, "提示", BoxAnswer::No, kResultNo}};
    for (const auto& c : cases) {
        user().AnswerMessageBox(c.answer, {});
        EXPECT_EQ(c.caption ? ui().MessageBox(c.text, c.flags, c.caption)
                            : ui().MessageBox(c.text, c.flags),
                  c.result);
        const std::vector<ShownBox> shown = user().MessageBoxesShown();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(std::tie(shown.back().text, shown.back().caption, shown.back().flags),
                  std::tuple(c.text, c.caption ? c.caption : "信息：", c.flags));
    }
    EXPECT_EQ(user().MessageBoxesShown().size(), 7u);
}

TEST_P(PortContract, TheFolderBrowserGivesTheChosenPathOrNothing) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("zelvo-port-" + std::to_string(TickCount()));
    fs::create_directories(folder);
    const fs::path file = folder / "results.txt";
    std::ofstream(file) << "1";
    ui().LoadWindow(kMain, false);
    user().AnswerFolderBrowser(folder.string());
    EXPECT_EQ(ui().BrowseFolder("请选择要保存的路径", false), folder.string());
    user().AnswerFolderBrowser(file.string());
    EXPECT_EQ(ui().BrowseFolder("选择文件", true), file.string());
    user().AnswerFolderBrowser("");
    EXPECT_EQ(ui().BrowseFolder("取消", false), "");
    EXPECT_EQ(user().FolderBrowserTitles(),
              (std::vector<std::string>{"请选择要保存的路径", "选择文件", "取消"}));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST_P(PortContract, DelayWaitsWhileTheWindowsStayServed) {
    ui().LoadWindow(kMain, false);
    std::atomic<bool> calling{false};
    std::thread worker([&] {
        calling = true;
        ui().SetText(kMain, kThreads, "7");
    });
    while (!calling) std::this_thread::yield();
    const std::uint32_t start = TickCount();
    ui().Delay(100);
    EXPECT_GE(TickCount() - start, 100u);
    EXPECT_EQ(ui().GetText(kMain, kThreads), "7") << "the worker's call was carried out meanwhile";
    worker.join();
}

// ---- calls from worker threads -----------------------------------------------------

// Each call has been carried out when it returns; what it reads is the control's.
TEST_P(PortContract, WorkersMayReadAndChangeEveryKindOfControl) {
    for (WindowId id : {kMain, kFilter, kRecent}) ui().LoadWindow(id, false);
    const DateTime day = MakeDateTime(2011, 1, 5, 17, 35);
    std::vector<int> seen;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        UiPort& w = ui();
        w.SetText(kMain, kThreads, "12");
        w.ListInsert(kMain, kList, -1, "0");
        const int row = w.ListInsert(kMain, kList, -1, "1", 3, 1, 0, 42);
        w.ListSetText(kMain, kList, row, 1, "368609071200");
        w.ListSetImage(kMain, kList, row, 2, 6);
        w.ListSetStateImage(kMain, kList, row, 0);
        w.ListSetData(kMain, kList, row, 43);
        w.SetProgressMax(kMain, kProgress, 10);
        w.SetProgressPos(kMain, kProgress, 4);
        w.SetEnabled(kMain, "按钮6", false);
        w.SetVisible(kMain, "按钮11", false);
        w.SetChecked(kRecent, "单选框2", true);
        w.SetCurrentPage(kMain, kTabs, 1);
        w.SetDateValue(kFilter, "收货时间始", day);
        w.MoveWindow(kRecent, 12, 34);
        seen = {w.IsWindowOpen(kRecent),
                w.GetText(kMain, kThreads) == "12",
                row,
                w.ListGetText(kMain, kList, row, 1) == "368609071200",
                w.ListGetImage(kMain, kList, row, 2),
                w.ListGetStateImage(kMain, kList, row),
                w.ListGetData(kMain, kList, row),
                w.ProgressMax(kMain, kProgress),
                w.ProgressPos(kMain, kProgress),
                w.IsEnabled(kMain, "按钮6"),
                w.IsVisible(kMain, "按钮11"),
                w.IsChecked(kRecent, "单选框1"),
                w.CurrentPage(kMain, kTabs),
                std::abs(w.DateValue(kFilter, "收货时间始").days - day.days) < kSecond,
                w.WindowLeft(kRecent)};
        w.ListDelete(kMain, kList, 0);
        w.ListSetCurrentRow(kMain, kList, 0);
        w.ListEnsureVisible(kMain, kList, 0);
        seen.push_back(w.ListCount(kMain, kList));
        seen.push_back(w.ListCurrentRow(kMain, kList));
        w.CloseWindow(kRecent);
        done = true;
    });
    const bool finished = serveUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 1, 6, 0, 43, 10, 4, 0, 0, 0, 1, 1, 12, 1, 0}));
    // The user-interface thread sees the same.
    EXPECT_EQ(ui().ListGetText(kMain, kList, 0, 1), "368609071200");
    EXPECT_FALSE(ui().IsWindowOpen(kRecent));
}

// Workers fill the list while the user clicks a button whose handler calls
// back into the port. Run under ThreadSanitizer with the in-memory port.
TEST_P(PortContract, WorkersAndTheHandlerShareThePort) {
    ui().LoadWindow(kMain, false);
    onEvent_ = [&](const UiEvent&) { ui().SetText(kMain, kGenerated, ""); };
    constexpr int kRows = 400;
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < kRows / 4; ++i) {
                ui().ListSetText(kMain, kList, ui().ListInsert(kMain, kList, -1, "n"), 1, "x");
                ui().SetProgressPos(kMain, kProgress, i);
                ui().GetText(kMain, kGenerated);
            }
            ++finished;
        });
    }
    int clicks = 0;
    for (const std::uint32_t start = TickCount();
         (finished < 4 || clicks < 20) && TickCount() - start < 60000;) {
        user().Click(kMain, "按钮12");
        ++clicks;
        serveUntil([&] { return finished == 4; }, 2);
    }
    serveUntil([&] { return finished == 4; });
    for (std::thread& w : workers) w.join();
    ASSERT_EQ(ui().ListCount(kMain, kList), kRows);
    for (int row = 0; row < kRows; ++row) ASSERT_EQ(ui().ListGetText(kMain, kList, row, 1), "x");
    EXPECT_TRUE(serveUntil([&] { return count(kMain, "按钮12", EventKind::Clicked) == clicks; }));
    EXPECT_EQ(ui().GetText(kMain, kGenerated), "");
}

TEST_P(PortContract, AWorkersMessageBoxBlocksOnlyThatWorker) {
    ui().LoadWindow(kMain, false);
    std::atomic<int> result{-1};
    std::thread worker([&] { result = ui().MessageBox("验证完毕", 65, "信息："); });
    EXPECT_TRUE(serveUntil([&] { return !user().MessageBoxesShown().empty(); }));
    // Other workers' calls are carried out meanwhile.
    std::atomic<bool> served{false};
    std::thread other([&] {
        ui().SetText(kMain, kThreads, "7");
        served = true;
    });
    EXPECT_TRUE(serveUntil([&] { return served.load(); }));
    other.join();
    EXPECT_EQ(ui().GetText(kMain, kThreads), "7");
    EXPECT_EQ(result, -1);
    user().AnswerMessageBox(BoxAnswer::Cancel, {});
    EXPECT_TRUE(serveUntil([&] { return result != -1; }));
    if (result == -1) ui().CloseWindow(kMain);  // releases the worker
    worker.join();
    EXPECT_EQ(result, kResultCancel);
    ASSERT_EQ(user().MessageBoxesShown().size(), 1u);
    EXPECT_EQ(user().MessageBoxesShown()[0].flags, 65);
}

// ---- what a window system adds -----------------------------------------------------

// A worker's box is modal to the program's windows like any other, so that
// boxes never pile up behind the user's back.
TEST_P(WindowSystemPortContract, AWorkersMessageBoxKeepsTheUserFromTheWindows) {
    ui().LoadWindow(kMain, false);
    std::atomic<int> result{-1};
    std::thread worker([&] { result = ui().MessageBox("全部效验完毕", kIconInformation, "提示"); });
    EXPECT_TRUE(serveUntil(
        [&] { return !user().MessageBoxesShown().empty() && !ui().IsEnabled(kMain, {}); }));
    EXPECT_FALSE(ui().IsEnabled(kMain, {}));
    user().Click(kMain, kGenerate);
    serve(50);
    EXPECT_EQ(count(kMain, kGenerate, EventKind::Clicked), 0);
    user().AnswerMessageBox(BoxAnswer::Ok, {});
    EXPECT_TRUE(serveUntil([&] { return result != -1; }));
    if (result == -1) ui().CloseWindow(kMain);  // releases the worker
    worker.join();
    EXPECT_EQ(result, kResultOk);
    EXPECT_TRUE(serveUntil([&] { return ui().IsEnabled(kMain, {}); }));
}

TEST_P(WindowSystemPortContract, AMessageBoxOnTheUiThreadBlocksTheProgramsWindows) {
    ui().LoadWindow(kMain, false);
    std::pair<bool, int> meanwhile{true, -1};  // main enabled, clicks that reached it
    user().AnswerMessageBox(BoxAnswer::Ok, [&] {
        user().Click(kMain, kGenerate);
        serve(20);
        meanwhile = {ui().IsEnabled(kMain, {}), count(kMain, kGenerate, EventKind::Clicked)};
    });
    EXPECT_EQ(ui().MessageBox("快递类型不能为空!", kIconError, "错误"), kResultOk);
    EXPECT_EQ(meanwhile, std::pair(false, 0));
    EXPECT_TRUE(ui().IsEnabled(kMain, {}));
}

TEST_P(WindowSystemPortContract, AWorkersCallWaitsForTheUiThread) {
    ui().LoadWindow(kMain, false);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        ui().SetText(kMain, kThreads, "5");
        done = true;
    });
    // Busy, not serving the windows.
    for (const std::uint32_t start = TickCount(); TickCount() - start < 100;)
        std::this_thread::yield();
    EXPECT_FALSE(done) << "carried out without the user-interface thread";
    EXPECT_EQ(ui().GetText(kMain, kThreads), "30");
    EXPECT_TRUE(serveUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(ui().GetText(kMain, kThreads), "5");
}

// The exit clean-up may wait for workers that wait for the user-interface
// thread: closing the main window must release them.
TEST_P(WindowSystemPortContract, ClosingTheMainWindowTakesTheOthersAndReleasesWaitingWorkers) {
    ui().LoadWindow(kMain, false);
    ui().LoadWindow(kRecent, false);
    std::atomic<int> result{-1}, rows{-1};
    std::thread worker([&] { result = ui().MessageBox("还在等", 65, "信息："); });
    EXPECT_TRUE(serveUntil([&] { return !user().MessageBoxesShown().empty(); }));
    // The box keeps the user from the close box: the program closes it.
    ui().CloseWindow(kMain);
    EXPECT_TRUE(serveUntil([&] { return result != -1; }));
    if (result == -1) user().AnswerMessageBox(BoxAnswer::Ok, {});
    worker.join();
    EXPECT_EQ(result, kResultCancel) << "as if cancelled";
    EXPECT_FALSE(ui().IsWindowOpen(kMain) || ui().IsWindowOpen(kRecent));
    // Later calls from workers return at once with neutral values.
    std::thread late([&] { rows = ui().ListCount(kMain, kList); });
    for (const std::uint32_t start = TickCount(); rows == -1 && TickCount() - start < 5000;) {
        std::this_thread::yield();
    }
    EXPECT_EQ(rows, 0);
    serveUntil([&] { return rows != -1; });
    late.join();
}

}  // namespace zelvo::testing
