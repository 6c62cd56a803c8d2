// The UI port's contract: windows built from their descriptions, events,
// modality, control values, list views, dialogs and calls from worker
// threads, as every implementation must give them.
#include "port_contract.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "forms/form.h"
#include "runtime/datetime.h"
#include "text_printer.h"

namespace zelvo::testing {

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(WindowSystemPortContract);

namespace {

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kFilter = WindowId::Filter;
constexpr WindowId kTemplates = WindowId::ReferenceTemplates;
constexpr WindowId kRecent = WindowId::RecentNumbers;
constexpr const char* kResults = "超级列表框1";
constexpr const char* kTabs = "高级选择夹1";
constexpr const char* kProgress = "进度条1";
constexpr const char* kGenerated = "生成内容";
constexpr const char* kThreads = "效验线程";
constexpr const char* kGenerate = "按钮2";

// Waits without serving the windows.
void BusyWait(std::uint32_t ms) {
    const std::uint32_t start = TickCount();
    while (TickCount() - start < ms) std::this_thread::yield();
}

}  // namespace

void PortContract::SetUp() {
    fixture_ = GetParam()();
    port().SetEventHandler([this](const UiEvent& event) {
        events_.push_back(event);
        if (onEvent_) onEvent_(event);
    });
}

void PortContract::TearDown() { fixture_.reset(); }

int PortContract::count(WindowId window, std::string_view control, EventKind kind) {
    int n = 0;
    for (const UiEvent& e : events_) {
        if (e.window == window && e.control == control && e.kind == kind) ++n;
    }
    return n;
}

// ---- windows built from their descriptions --------------------------------------

TEST_P(PortContract, WindowsShowWhatTheirDescriptionsHold) {
    for (WindowId id : {kFilter, kTemplates, kRecent, kMain}) {
        const WindowDesc& form = FormOf(id);
        SCOPED_TRACE(GbkToUtf8ForDisplay(form.caption));
        const DateTime before{Now().days - 1.0 / 86400};
        ASSERT_TRUE(port().LoadWindow(id, false));
        const DateTime after = Now();
        EXPECT_TRUE(port().IsWindowOpen(id));
        EXPECT_TRUE(port().IsVisible(id, {}));
        EXPECT_TRUE(port().IsEnabled(id, {}));
        EXPECT_EQ(port().GetText(id, {}), form.caption);
        for (const ControlDesc& d : form.controls) {
            SCOPED_TRACE(GbkToUtf8ForDisplay(d.name));
            EXPECT_EQ(port().IsVisible(id, d.name), d.visible);
            EXPECT_EQ(port().IsEnabled(id, d.name), d.enabled);
            switch (d.kind) {
                case ControlKind::CheckBox:
                case ControlKind::RadioButton:
                    EXPECT_EQ(port().IsChecked(id, d.name), d.checked);
                    [[fallthrough]];
                case ControlKind::EditBox:
                case ControlKind::Label:
                case ControlKind::Button:
                case ControlKind::GroupBox:
                case ControlKind::WebView:
                    EXPECT_EQ(port().GetText(id, d.name), d.text);
                    break;
                case ControlKind::ListView:
                    EXPECT_EQ(port().ListColumnCount(id, d.name), static_cast<int>(d.columns.size()));
                    EXPECT_EQ(port().ListCount(id, d.name), 0);
                    EXPECT_EQ(port().ListCurrentRow(id, d.name), -1);
                    break;
                case ControlKind::ProgressBar:
                    EXPECT_EQ(port().ProgressMax(id, d.name), 100);
                    EXPECT_EQ(port().ProgressPos(id, d.name), 0);
                    break;
                case ControlKind::DatePicker: {
                    const DateTime value = port().DateValue(id, d.name);
                    EXPECT_GE(value, before);
                    EXPECT_LE(value, after);
                    break;
                }
                case ControlKind::TabControl:
                    EXPECT_EQ(port().CurrentPage(id, d.name), 0);
                    break;
                case ControlKind::PictureButton:
                    break;
            }
        }
        port().CloseWindow(id);
        EXPECT_FALSE(port().IsWindowOpen(id));
    }
}

TEST_P(PortContract, WindowsOpenCentredOnTheScreenAndMove) {
    const ScreenArea screen = fixture().Screen();
    for (WindowId id : {kFilter, kTemplates, kRecent}) {
        const WindowDesc& form = FormOf(id);
        port().LoadWindow(id, false);
        EXPECT_EQ(port().WindowLeft(id), screen.left + (screen.width - form.width) / 2);
        EXPECT_EQ(port().WindowTop(id), screen.top + (screen.height - form.height) / 2);
    }
    port().MoveWindow(kFilter, 40, 30);
    EXPECT_EQ(port().WindowLeft(kFilter), 40);
    EXPECT_EQ(port().WindowTop(kFilter), 30);
}

TEST_P(PortContract, WindowEventsArriveInOrderAndOnlyWhereBound) {
    ASSERT_TRUE(port().LoadWindow(kTemplates, false));
    // Created has run when the opening returns; first-activated follows.
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_.front().window, kTemplates);
    EXPECT_EQ(events_.front().kind, EventKind::Created);
    EXPECT_TRUE(serveUntil([&] { return count(kTemplates, {}, EventKind::FirstActivated) == 1; }));
    port().CloseWindow(kTemplates);
    EXPECT_FALSE(port().IsWindowOpen(kTemplates));
    // Reopening builds it anew and runs its events again.
    port().LoadWindow(kTemplates, false);
    EXPECT_EQ(count(kTemplates, {}, EventKind::Created), 2);
    EXPECT_TRUE(serveUntil([&] { return count(kTemplates, {}, EventKind::FirstActivated) == 2; }));
    // The filter window binds only its created event.
    events_.clear();
    port().LoadWindow(kFilter, false);
    serve(100);
    port().CloseWindow(kFilter);
    serve(20);
    ASSERT_EQ(events_.size(), 1u);
    EXPECT_EQ(events_[0].window, kFilter);
    EXPECT_EQ(events_[0].kind, EventKind::Created);
}

TEST_P(PortContract, AWindowClosedByItsCreatedEventEndsItsOpening) {
    onEvent_ = [&](const UiEvent& e) {
        if (e.kind == EventKind::Created) port().CloseWindow(e.window);
    };
    EXPECT_TRUE(port().LoadWindow(kTemplates, false));
    EXPECT_FALSE(port().IsWindowOpen(kTemplates));
    // A modal one returns at once.
    EXPECT_TRUE(port().LoadWindow(kFilter, true));
    EXPECT_FALSE(port().IsWindowOpen(kFilter));
    serve(100);
    ASSERT_EQ(events_.size(), 2u) << "no first-activated event";
    EXPECT_EQ(count(kTemplates, {}, EventKind::Created), 1);
    EXPECT_EQ(count(kFilter, {}, EventKind::Created), 1);
}

TEST_P(PortContract, OpeningAnOpenWindowRaisesItInsteadOfACopy) {
    port().LoadWindow(kRecent, false);
    port().SetText(kRecent, "编辑框1", "123456789012");
    EXPECT_TRUE(port().LoadWindow(kRecent, false));
    EXPECT_TRUE(port().IsWindowOpen(kRecent));
    EXPECT_EQ(count(kRecent, {}, EventKind::Created), 1);
    EXPECT_EQ(port().GetText(kRecent, "编辑框1"), "123456789012");
}

TEST_P(PortContract, AReopenedWindowKeepsNothingFromItsLastOpening) {
    port().LoadWindow(kRecent, false);
    port().SetText(kRecent, "编辑框2", "9");
    port().SetChecked(kRecent, "单选框2", true);
    port().CloseWindow(kRecent);
    port().LoadWindow(kRecent, false);
    EXPECT_EQ(port().GetText(kRecent, "编辑框2"), "3");
    EXPECT_TRUE(port().IsChecked(kRecent, "单选框1"));
    EXPECT_FALSE(port().IsChecked(kRecent, "单选框2"));
}

TEST_P(PortContract, TheMainWindowsCloseBoxRunsItsEventWhileTheControlsStillExist) {
    port().LoadWindow(kMain, false);
    std::optional<std::string> threadsDuringEvent;
    onEvent_ = [&](const UiEvent& e) {
        if (e.kind == EventKind::AboutToBeDestroyed) threadsDuringEvent = port().GetText(kMain, kThreads);
    };
    fixture().CloseByUser(kMain);
    EXPECT_TRUE(serveUntil([&] { return !port().IsWindowOpen(kMain); }));
    EXPECT_EQ(count(kMain, {}, EventKind::AboutToBeDestroyed), 1);
    EXPECT_EQ(threadsDuringEvent, "30");
}

// ---- modality ------------------------------------------------------------------------

TEST_P(PortContract, AModalWindowDisablesTheOthersUntilItCloses) {
    port().LoadWindow(kMain, false);
    bool ran = false, filterOpen = false, mainEnabled = true, filterEnabled = false;
    int mainClicks = -1, filterClicks = -1;
    fixture().WhenModal(kFilter, [&] {
        ran = true;
        filterOpen = port().IsWindowOpen(kFilter);
        mainEnabled = port().IsEnabled(kMain, {});
        filterEnabled = port().IsEnabled(kFilter, {});
        fixture().Click(kMain, kGenerate);
        fixture().Click(kFilter, "按钮1");
        serveUntil([&] { return count(kFilter, "按钮1", EventKind::Clicked) == 1; }, 2000);
        mainClicks = count(kMain, kGenerate, EventKind::Clicked);
        filterClicks = count(kFilter, "按钮1", EventKind::Clicked);
        fixture().CloseByUser(kFilter);
    });
    EXPECT_TRUE(port().LoadWindow(kFilter, true));
    // The opening returned only after the window had closed.
    EXPECT_TRUE(ran);
    EXPECT_FALSE(port().IsWindowOpen(kFilter));
    EXPECT_TRUE(filterOpen);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(filterEnabled);
    EXPECT_EQ(mainClicks, 0);
    EXPECT_EQ(filterClicks, 1);
    EXPECT_TRUE(port().IsEnabled(kMain, {}));
    fixture().Click(kMain, kGenerate);
    EXPECT_TRUE(serveUntil([&] { return count(kMain, kGenerate, EventKind::Clicked) == 1; }));
}

TEST_P(PortContract, CodeInsideAModalWindowMayCloseIt) {
    fixture().WhenModal(kFilter, [&] { port().CloseWindow(kFilter); });
    EXPECT_TRUE(port().LoadWindow(kFilter, true));
    EXPECT_FALSE(port().IsWindowOpen(kFilter));
}

// ---- user input ------------------------------------------------------------------------

TEST_P(PortContract, ClicksReachTheHandlerOnlyFromBoundEnabledControls) {
    port().LoadWindow(kMain, false);
    events_.clear();
    fixture().Click(kMain, kGenerate);
    ASSERT_TRUE(serveUntil([&] { return count(kMain, kGenerate, EventKind::Clicked) == 1; }));
    fixture().Click(kMain, "标签1");  // a label binds nothing
    port().SetEnabled(kMain, "按钮6", false);
    EXPECT_FALSE(port().IsEnabled(kMain, "按钮6"));
    fixture().Click(kMain, "按钮6");
    serve(50);
    EXPECT_EQ(events_.size(), 1u);
}

TEST_P(PortContract, HeaderClicksGiveTheColumnAndLeaveTheRowsInPlace) {
    port().LoadWindow(kMain, false);
    for (const char* number : {"3", "1", "2"}) port().ListInsert(kMain, kResults, -1, number);
    fixture().ClickHeader(kMain, kResults, 2);
    ASSERT_TRUE(serveUntil([&] { return count(kMain, kResults, EventKind::HeaderClicked) == 1; }));
    EXPECT_EQ(events_.back().arg, 2);
    fixture().ClickHeader(kMain, kResults, 0);
    ASSERT_TRUE(serveUntil([&] { return count(kMain, kResults, EventKind::HeaderClicked) == 2; }));
    EXPECT_EQ(events_.back().arg, 0);
    EXPECT_EQ(port().ListGetText(kMain, kResults, 0, 0), "3");
    EXPECT_EQ(port().ListGetText(kMain, kResults, 1, 0), "1");
}

TEST_P(PortContract, DoubleClickingARowMakesItCurrentAndActivatesIt) {
    port().LoadWindow(kTemplates, false);
    const char* list = "超级列表框1";
    for (const char* id : {"1", "2", "3"}) {
        const int row = port().ListInsert(kTemplates, list, -1, id);
        port().ListSetText(kTemplates, list, row, 1, "申通");
    }
    fixture().DoubleClickRow(kTemplates, list, 1);
    ASSERT_TRUE(serveUntil([&] { return count(kTemplates, list, EventKind::RowActivated) == 1; }));
    EXPECT_EQ(events_.back().arg, 1);
    EXPECT_EQ(port().ListCurrentRow(kTemplates, list), 1);
}

TEST_P(PortContract, TabPagesChangedByTheUserGiveAnEventAndByCodeNone) {
    port().LoadWindow(kMain, false);
    fixture().ClickTab(kMain, kTabs, 1);
    ASSERT_TRUE(serveUntil([&] { return count(kMain, kTabs, EventKind::PageChanged) == 1; }));
    EXPECT_EQ(events_.back().arg, 1);
    EXPECT_EQ(port().CurrentPage(kMain, kTabs), 1);
    port().SetCurrentPage(kMain, kTabs, 0);
    EXPECT_EQ(port().CurrentPage(kMain, kTabs), 0);
    serve(50);
    EXPECT_EQ(count(kMain, kTabs, EventKind::PageChanged), 1);
}

TEST_P(PortContract, OnlyBoxesThatAreNotReadOnlyCanBeTypedInto) {
    port().LoadWindow(kMain, false);
    fixture().Type(kMain, "快递类型", "abc");
    serve(20);
    EXPECT_EQ(port().GetText(kMain, "快递类型"), "");
    // Applying a rule is the only way in.
    port().SetText(kMain, "快递类型", "申通快递");
    EXPECT_EQ(port().GetText(kMain, "快递类型"), "申通快递");
    fixture().Type(kMain, "生成个数框", "12");
    EXPECT_TRUE(serveUntil([&] { return port().GetText(kMain, "生成个数框") == "12"; }, 2000));
}

// ---- control values -----------------------------------------------------------------

TEST_P(PortContract, TextsComeBackAsTheyWereSet) {
    port().LoadWindow(kMain, false);
    const std::string many = "368609071200\r\n\r\n快递≤≌≥\r\n" + std::string(3000, '7');
    struct Case {
        const char* control;
        std::string text;
    };
    const Case cases[] = {{"", "标题≤≌≥"},        {kGenerated, many},   {kGenerated, ""},
                          {kGenerated, "1\r\n"}, {"规则", "{随机}+{递增}"}, {"标签1", "固数9："},
                          {kGenerate, "再生成"},  {"超文本浏览框2", "http://www.example/"}};
    for (const Case& c : cases) {
        port().SetText(kMain, c.control, c.text);
        EXPECT_EQ(port().GetText(kMain, c.control), c.text) << GbkToUtf8ForDisplay(c.control);
    }
}

TEST_P(PortContract, AppendTextAddsAtTheEnd) {
    port().LoadWindow(kMain, false);
    port().SetText(kMain, kGenerated, "1\r\n2");
    port().AppendText(kMain, kGenerated, "\r\n3\r\n");
    port().AppendText(kMain, kGenerated, "4");
    EXPECT_EQ(port().GetText(kMain, kGenerated), "1\r\n2\r\n3\r\n4");
}

TEST_P(PortContract, EnabledVisibleAndCheckedFollowTheCode) {
    port().LoadWindow(kMain, false);
    port().LoadWindow(kTemplates, false);
    port().SetEnabled(kMain, "按钮6", false);
    port().SetVisible(kMain, kResults, false);
    port().SetChecked(kTemplates, "选择框1", false);
    EXPECT_FALSE(port().IsEnabled(kMain, "按钮6"));
    EXPECT_FALSE(port().IsVisible(kMain, kResults));
    EXPECT_FALSE(port().IsChecked(kTemplates, "选择框1"));
    port().SetEnabled(kMain, "按钮6", true);
    port().SetVisible(kMain, kResults, true);
    port().SetChecked(kTemplates, "选择框1", true);
    EXPECT_TRUE(port().IsEnabled(kMain, "按钮6"));
    EXPECT_TRUE(port().IsVisible(kMain, kResults));
    EXPECT_TRUE(port().IsChecked(kTemplates, "选择框1"));
    port().SetEnabled(kMain, {}, false);
    EXPECT_FALSE(port().IsEnabled(kMain, {}));
    port().SetEnabled(kMain, {}, true);
    EXPECT_TRUE(port().IsEnabled(kMain, {}));
}

TEST_P(PortContract, RadioButtonsOfAWindowFormOneGroup) {
    port().LoadWindow(kRecent, false);
    port().SetChecked(kRecent, "单选框2", true);
    EXPECT_FALSE(port().IsChecked(kRecent, "单选框1"));
    EXPECT_TRUE(port().IsChecked(kRecent, "单选框2"));
    port().SetChecked(kRecent, "单选框1", true);
    EXPECT_FALSE(port().IsChecked(kRecent, "单选框2"));
    // Code may uncheck the checked one; the user cannot.
    port().SetChecked(kRecent, "单选框1", false);
    EXPECT_FALSE(port().IsChecked(kRecent, "单选框1"));
}

TEST_P(PortContract, TheProgressPositionStaysWithinTheRange) {
    port().LoadWindow(kMain, false);
    port().SetProgressMax(kMain, kProgress, 7);
    port().SetProgressPos(kMain, kProgress, 3);
    EXPECT_EQ(port().ProgressPos(kMain, kProgress), 3);
    port().SetProgressPos(kMain, kProgress, 9);
    EXPECT_EQ(port().ProgressPos(kMain, kProgress), 7);
    // A run over no number sets the maximum to 0: the bar stays empty.
    port().SetProgressMax(kMain, kProgress, 0);
    EXPECT_EQ(port().ProgressMax(kMain, kProgress), 0);
    EXPECT_EQ(port().ProgressPos(kMain, kProgress), 0);
    port().SetProgressPos(kMain, kProgress, 1);
    EXPECT_EQ(port().ProgressPos(kMain, kProgress), 0);
    port().SetProgressMax(kMain, kProgress, 3);
    port().SetProgressPos(kMain, kProgress, 3);
    EXPECT_EQ(port().ProgressMax(kMain, kProgress), 3);
    EXPECT_EQ(port().ProgressPos(kMain, kProgress), 3);
}

TEST_P(PortContract, DatePickersKeepTheValueTheyAreGiven) {
    port().LoadWindow(kFilter, false);
    // 2010-01-05 09:30:15; a time before day zero (-1.25 is a day and a
    // quarter before it); the last second of a century.
    for (double days : {40183.0 + (9 * 3600 + 30 * 60 + 15) / 86400.0, -1.25,
                        MakeDateTime(1999, 12, 31, 23, 59, 59).days}) {
        port().SetDateValue(kFilter, "发货时间终", DateTime{days});
        EXPECT_NEAR(port().DateValue(kFilter, "发货时间终").days, days, 0.5 / 86400) << days;
    }
}

// ---- list views ------------------------------------------------------------------------

TEST_P(PortContract, ListRowsKeepTheirCellsImagesAndValues) {
    port().LoadWindow(kMain, false);
    const WindowId m = kMain;
    EXPECT_EQ(port().ListInsert(m, kResults, -1, "b", 4, 2, 0, 77), 0);
    EXPECT_EQ(port().ListInsert(m, kResults, -5, "d"), 1);  // negative appends
    EXPECT_EQ(port().ListInsert(m, kResults, 1, "c"), 1);
    EXPECT_EQ(port().ListInsert(m, kResults, 99, "e"), 3);  // past the end appends
    EXPECT_EQ(port().ListInsert(m, kResults, 0, "a"), 0);   // in front
    EXPECT_EQ(port().ListCount(m, kResults), 5);
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(port().ListGetText(m, kResults, row, 0), std::string(1, static_cast<char>('a' + row)));
    }
    port().ListSetText(m, kResults, 2, 5, "收货地点≤≌≥");
    EXPECT_EQ(port().ListGetText(m, kResults, 2, 5), "收货地点≤≌≥");
    EXPECT_EQ(port().ListGetText(m, kResults, 2, 3), "");
    port().ListSetText(m, kResults, 2, 6, "x");  // no such column: ignored
    EXPECT_EQ(port().ListGetText(m, kResults, 2, 6), "");
    EXPECT_EQ(port().ListGetText(m, kResults, 9, 0), "");
    EXPECT_EQ(port().ListGetImage(m, kResults, 1, 0), 4);
    EXPECT_EQ(port().ListGetImage(m, kResults, 1, 1), -1);
    EXPECT_EQ(port().ListGetStateImage(m, kResults, 1), 2);
    EXPECT_EQ(port().ListGetData(m, kResults, 1), 77);
    EXPECT_EQ(port().ListGetStateImage(m, kResults, 2), -1);
    EXPECT_EQ(port().ListGetData(m, kResults, 2), 0);
    port().ListSetImage(m, kResults, 2, 3, 5);
    port().ListSetStateImage(m, kResults, 2, 1);
    port().ListSetData(m, kResults, 2, -3);
    EXPECT_EQ(port().ListGetImage(m, kResults, 2, 3), 5);
    EXPECT_EQ(port().ListGetStateImage(m, kResults, 2), 1);
    EXPECT_EQ(port().ListGetData(m, kResults, 2), -3);
    // The current row moves with the rows before it and goes with its own.
    port().ListSetCurrentRow(m, kResults, 3);
    EXPECT_EQ(port().ListCurrentRow(m, kResults), 3);
    port().ListDelete(m, kResults, 0);
    EXPECT_EQ(port().ListCurrentRow(m, kResults), 2);
    EXPECT_EQ(port().ListGetText(m, kResults, 2, 0), "d");
    EXPECT_EQ(port().ListGetText(m, kResults, 1, 5), "收货地点≤≌≥");
    port().ListInsert(m, kResults, 0, "z");
    EXPECT_EQ(port().ListCurrentRow(m, kResults), 3);
    port().ListDelete(m, kResults, 3);
    EXPECT_EQ(port().ListCurrentRow(m, kResults), -1);
    port().ListSetCurrentRow(m, kResults, 1);
    port().ListEnsureVisible(m, kResults, 2);
    port().ListClear(m, kResults);
    EXPECT_EQ(port().ListCount(m, kResults), 0);
    EXPECT_EQ(port().ListColumnCount(m, kResults), 6);
    EXPECT_EQ(port().ListCurrentRow(m, kResults), -1);
}

// The filter pass: the list hidden, rows deleted from the last to the first.
TEST_P(PortContract, DeletingRowsFromTheLastToTheFirstKeepsTheRest) {
    port().LoadWindow(kMain, false);
    const WindowId m = kMain;
    for (int i = 0; i < 300; ++i) {
        const int row = port().ListInsert(m, kResults, -1, std::to_string(i), -1, -1, 0, i);
        port().ListSetText(m, kResults, row, 3, i % 3 ? "北京" : "上海");
    }
    serve(20);
    port().SetVisible(m, kResults, false);
    for (int r = 299; r >= 0; --r) {
        if (port().ListGetText(m, kResults, r, 3) == "上海") port().ListDelete(m, kResults, r);
    }
    port().SetVisible(m, kResults, true);
    std::vector<int> kept;
    for (int i = 0; i < 300; ++i) {
        if (i % 3) kept.push_back(i);
    }
    ASSERT_EQ(port().ListCount(m, kResults), static_cast<int>(kept.size()));
    for (size_t r = 0; r < kept.size(); ++r) {
        const int row = static_cast<int>(r);
        ASSERT_EQ(port().ListGetText(m, kResults, row, 0), std::to_string(kept[r]));
        ASSERT_EQ(port().ListGetData(m, kResults, row), kept[r]);
    }
    // Rows inserted and appended after the pass land where they should.
    port().ListInsert(m, kResults, 0, "first");
    port().ListInsert(m, kResults, -1, "last");
    const int n = port().ListCount(m, kResults);
    EXPECT_EQ(n, static_cast<int>(kept.size()) + 2);
    EXPECT_EQ(port().ListGetText(m, kResults, 0, 0), "first");
    EXPECT_EQ(port().ListGetText(m, kResults, 1, 0), "1");
    EXPECT_EQ(port().ListGetText(m, kResults, n - 1, 0), "last");
}

TEST_P(PortContract, AHundredThousandRowsGoIn) {
    port().LoadWindow(kMain, false);
    for (int i = 0; i < 100000; ++i) {
        const int row = port().ListInsert(kMain, kResults, -1, std::to_string(i + 1));
        port().ListSetText(kMain, kResults, row, 1, "368609071200");
    }
    serve(20);
    EXPECT_EQ(port().ListCount(kMain, kResults), 100000);
    EXPECT_EQ(port().ListGetText(kMain, kResults, 99999, 0), "100000");
    EXPECT_EQ(port().ListGetText(kMain, kResults, 99999, 1), "368609071200");
    port().ListEnsureVisible(kMain, kResults, 99999);
    serve(20);
}

// ---- dialogs and the rest ----------------------------------------------------------

TEST_P(PortContract, MessageBoxesShowTheirTextAndGiveTheButtonPressed) {
    port().LoadWindow(kMain, false);
    struct Case {
        const char* text;
        int flags;
        const char* caption;  // nullptr: the default
        BoxAnswer answer;
        int result;
    };
    const Case cases[] = {
        {"确定要退出吗?", kIconInformation | kOkCancel, "提示", BoxAnswer::Ok, kResultOk},
        {"第一行\r\n第二行", kIconInformation | kOkCancel, nullptr, BoxAnswer::Cancel, kResultCancel},
        {"关闭", kIconInformation | kOkCancel, nullptr, BoxAnswer::CloseBox, kResultCancel},
        {"快递类型不能为空，请先选择快递类型!", kIconError, "错误", BoxAnswer::Ok, kResultOk},
        {"全部保存完毕!", kIconInformation, "恭喜你!", BoxAnswer::CloseBox, kResultOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(GbkToUtf8ForDisplay(c.text));
        fixture().AnswerMessageBox(c.answer, {});
        const int result = c.caption ? port().MessageBox(c.text, c.flags, c.caption)
                                     : port().MessageBox(c.text, c.flags);
        EXPECT_EQ(result, c.result);
        const std::vector<ShownBox> shown = fixture().MessageBoxesShown();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back().text, c.text);
        EXPECT_EQ(shown.back().caption, c.caption ? c.caption : "信息：");
        EXPECT_EQ(shown.back().flags, c.flags);
    }
    EXPECT_EQ(fixture().MessageBoxesShown().size(), std::size(cases));
}

TEST_P(PortContract, TheFolderBrowserGivesTheChosenPathOrNothing) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("zelvo-port-contract-" + std::to_string(TickCount()));
    fs::create_directories(folder);
    const fs::path file = folder / "results.txt";
    std::ofstream(file) << "1";
    port().LoadWindow(kMain, false);
    fixture().AnswerFolderBrowser(folder.string());
    EXPECT_EQ(port().BrowseFolder("请选择要保存的路径", false), folder.string());
    fixture().AnswerFolderBrowser(file.string());
    EXPECT_EQ(port().BrowseFolder("选择文件", true), file.string());
    fixture().AnswerFolderBrowser("");
    EXPECT_EQ(port().BrowseFolder("取消", false), "");
    EXPECT_EQ(fixture().FolderBrowserTitles(),
              (std::vector<std::string>{"请选择要保存的路径", "选择文件", "取消"}));
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST_P(PortContract, DelayWaitsWhileTheWindowsStayServed) {
    port().LoadWindow(kMain, false);
    std::atomic<bool> calling{false};
    std::thread worker([&] {
        calling = true;
        port().SetText(kMain, kThreads, "7");
    });
    while (!calling) std::this_thread::yield();
    const std::uint32_t start = TickCount();
    port().Delay(100);
    EXPECT_GE(TickCount() - start, 100u);
    // The worker's call was carried out meanwhile.
    EXPECT_EQ(port().GetText(kMain, kThreads), "7");
    worker.join();
}

// ---- calls from worker threads ----------------------------------------------------------

// Each call has been carried out when it returns, and its result is the
// control's.
TEST_P(PortContract, WorkersMayReadAndChangeEveryKindOfControl) {
    port().LoadWindow(kMain, false);
    port().LoadWindow(kFilter, false);
    port().LoadWindow(kRecent, false);
    struct Seen {
        std::string text, cell;
        int row = -1, count = -1, image = 0, state = 0, data = 0, current = -2;
        int progressMax = -1, progress = -1, page = -1, left = -1;
        bool open = false, enabled = true, visible = true, checked = true;
        DateTime date;
    } seen;
    const DateTime day = MakeDateTime(2011, 1, 5, 17, 35);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        UiPort& ui = port();
        seen.open = ui.IsWindowOpen(kRecent);
        ui.SetText(kMain, kThreads, "12");
        seen.text = ui.GetText(kMain, kThreads);
        ui.ListInsert(kMain, kResults, -1, "0");
        seen.row = ui.ListInsert(kMain, kResults, -1, "1", 3, 1, 0, 42);
        ui.ListSetText(kMain, kResults, seen.row, 1, "368609071200");
        seen.cell = ui.ListGetText(kMain, kResults, seen.row, 1);
        ui.ListSetImage(kMain, kResults, seen.row, 2, 6);
        seen.image = ui.ListGetImage(kMain, kResults, seen.row, 2);
        ui.ListSetStateImage(kMain, kResults, seen.row, 0);
        seen.state = ui.ListGetStateImage(kMain, kResults, seen.row);
        ui.ListSetData(kMain, kResults, seen.row, 43);
        seen.data = ui.ListGetData(kMain, kResults, seen.row);
        ui.ListDelete(kMain, kResults, 0);
        seen.count = ui.ListCount(kMain, kResults);
        ui.ListSetCurrentRow(kMain, kResults, 0);
        ui.ListEnsureVisible(kMain, kResults, 0);
        seen.current = ui.ListCurrentRow(kMain, kResults);
        ui.SetProgressMax(kMain, kProgress, 10);
        ui.SetProgressPos(kMain, kProgress, 4);
        seen.progressMax = ui.ProgressMax(kMain, kProgress);
        seen.progress = ui.ProgressPos(kMain, kProgress);
        ui.SetEnabled(kMain, "按钮6", false);
        seen.enabled = ui.IsEnabled(kMain, "按钮6");
        ui.SetVisible(kMain, "按钮11", false);
        seen.visible = ui.IsVisible(kMain, "按钮11");
        ui.SetChecked(kRecent, "单选框2", true);
        seen.checked = ui.IsChecked(kRecent, "单选框1");
        ui.SetCurrentPage(kMain, kTabs, 1);
        seen.page = ui.CurrentPage(kMain, kTabs);
        ui.SetDateValue(kFilter, "收货时间始", day);
        seen.date = ui.DateValue(kFilter, "收货时间始");
        ui.MoveWindow(kRecent, 12, 34);
        seen.left = ui.WindowLeft(kRecent);
        ui.CloseWindow(kRecent);
        done = true;
    });
    const bool finished = serveUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_TRUE(seen.open);
    EXPECT_EQ(seen.text, "12");
    EXPECT_EQ(seen.row, 1);
    EXPECT_EQ(seen.cell, "368609071200");
    EXPECT_EQ(seen.image, 6);
    EXPECT_EQ(seen.state, 0);
    EXPECT_EQ(seen.data, 43);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.current, 0);
    EXPECT_EQ(seen.progressMax, 10);
    EXPECT_EQ(seen.progress, 4);
    EXPECT_FALSE(seen.enabled);
    EXPECT_FALSE(seen.visible);
    EXPECT_FALSE(seen.checked);
    EXPECT_EQ(seen.page, 1);
    EXPECT_NEAR(seen.date.days, day.days, 0.5 / 86400);
    EXPECT_EQ(seen.left, 12);
    // The user-interface thread sees the same.
    EXPECT_EQ(port().GetText(kMain, kThreads), "12");
    EXPECT_EQ(port().ListGetText(kMain, kResults, 0, 1), "368609071200");
    EXPECT_EQ(port().ProgressPos(kMain, kProgress), 4);
    EXPECT_EQ(port().CurrentPage(kMain, kTabs), 1);
    EXPECT_FALSE(port().IsWindowOpen(kRecent));
}

// Workers fill the list while the user clicks a button whose handler calls
// back into the port. Run under ThreadSanitizer with the in-memory port.
TEST_P(PortContract, WorkersAndTheHandlerShareThePort) {
    port().LoadWindow(kMain, false);
    onEvent_ = [&](const UiEvent& e) {
        if (e.control == "按钮12") port().SetText(kMain, kGenerated, "");
    };
    constexpr int kWorkers = 4, kRounds = 100;
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kWorkers; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                const int row = port().ListInsert(kMain, kResults, -1, "n");
                port().ListSetText(kMain, kResults, row, 1, "x");
                port().SetProgressPos(kMain, kProgress, i);
                port().GetText(kMain, kGenerated);
            }
            ++finished;
        });
    }
    int clicks = 0;
    const std::uint32_t start = TickCount();
    while ((finished < kWorkers || clicks < 20) && TickCount() - start < 60000) {
        fixture().Click(kMain, "按钮12");
        ++clicks;
        serveUntil([&] { return finished == kWorkers; }, 2);
    }
    serveUntil([&] { return finished == kWorkers; });
    for (std::thread& w : workers) w.join();
    ASSERT_EQ(port().ListCount(kMain, kResults), kWorkers * kRounds);
    for (int row = 0; row < kWorkers * kRounds; ++row) {
        ASSERT_EQ(port().ListGetText(kMain, kResults, row, 1), "x") << row;
    }
    EXPECT_TRUE(serveUntil([&] { return count(kMain, "按钮12", EventKind::Clicked) == clicks; }));
    EXPECT_EQ(port().GetText(kMain, kGenerated), "");
}

TEST_P(PortContract, AWorkersMessageBoxBlocksOnlyThatWorker) {
    port().LoadWindow(kMain, false);
    std::atomic<int> result{-1};
    std::thread worker([&] { result = port().MessageBox("验证完毕", 65, "信息："); });
    const bool shown = serveUntil([&] { return !fixture().MessageBoxesShown().empty(); });
    EXPECT_TRUE(shown);
    // The program's windows stay usable meanwhile.
    EXPECT_TRUE(port().IsEnabled(kMain, {}));
    fixture().Click(kMain, kGenerate);
    EXPECT_TRUE(serveUntil([&] { return count(kMain, kGenerate, EventKind::Clicked) == 1; }));
    EXPECT_EQ(result, -1);
    fixture().AnswerMessageBox(BoxAnswer::Cancel, {});
    EXPECT_TRUE(serveUntil([&] { return result != -1; }));
    if (result == -1) port().CloseWindow(kMain);  // releases the worker
    worker.join();
    EXPECT_EQ(result, kResultCancel);
    const std::vector<ShownBox> boxes = fixture().MessageBoxesShown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "验证完毕");
    EXPECT_EQ(boxes[0].caption, "信息：");
    EXPECT_EQ(boxes[0].flags, 65);
}

// ---- what a window system adds ------------------------------------------------------------

TEST_P(WindowSystemPortContract, AMessageBoxOnTheUiThreadBlocksTheProgramsWindows) {
    port().LoadWindow(kMain, false);
    bool mainEnabled = true;
    int clicks = -1;
    fixture().AnswerMessageBox(BoxAnswer::Ok, [&] {
        mainEnabled = port().IsEnabled(kMain, {});
        fixture().Click(kMain, kGenerate);
        serve(20);
        clicks = count(kMain, kGenerate, EventKind::Clicked);
    });
    EXPECT_EQ(port().MessageBox("快递类型不能为空，请先选择快递类型!", kIconError, "错误"), kResultOk);
    EXPECT_FALSE(mainEnabled);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(port().IsEnabled(kMain, {}));
}

TEST_P(WindowSystemPortContract, AWorkersCallWaitsForTheUiThread) {
    port().LoadWindow(kMain, false);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        port().SetText(kMain, kThreads, "5");
        done = true;
    });
    BusyWait(100);
    EXPECT_FALSE(done) << "carried out without the user-interface thread";
    EXPECT_EQ(port().GetText(kMain, kThreads), "30");
    EXPECT_TRUE(serveUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(port().GetText(kMain, kThreads), "5");
}

// The exit clean-up may wait for workers that wait for the user-interface
// thread: closing the main window must release them.
TEST_P(WindowSystemPortContract, ClosingTheMainWindowTakesTheOthersAndReleasesWaitingWorkers) {
    port().LoadWindow(kMain, false);
    port().LoadWindow(kRecent, false);
    std::atomic<int> result{-1};
    std::thread worker([&] { result = port().MessageBox("还在等", 65, "信息："); });
    EXPECT_TRUE(serveUntil([&] { return !fixture().MessageBoxesShown().empty(); }));
    fixture().CloseByUser(kMain);
    EXPECT_TRUE(serveUntil([&] { return result != -1; }));
    if (result == -1) fixture().AnswerMessageBox(BoxAnswer::Ok, {});
    worker.join();
    EXPECT_EQ(result, kResultCancel) << "as if cancelled";
    EXPECT_FALSE(port().IsWindowOpen(kMain));
    EXPECT_FALSE(port().IsWindowOpen(kRecent));
    // Later calls from workers return at once with neutral values.
    std::atomic<int> rows{-1};
    std::thread late([&] { rows = port().ListCount(kMain, kResults); });
    const std::uint32_t start = TickCount();
    while (rows == -1 && TickCount() - start < 5000) std::this_thread::yield();
    EXPECT_EQ(rows, 0);
    serveUntil([&] { return rows != -1; });
    late.join();
}

}  // namespace zelvo::testing
