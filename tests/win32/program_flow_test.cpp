// The program's flows through real Win32 controls (under Wine in the cross
// build): start-up and the end through the close box, 生成, a verification
// run against the local courier simulator, the header sort, the modal filter
// window, and 全部保存 then 全部读取. Clicks go through the window system;
// message boxes are the real ones, answered by their buttons.
#include <gtest/gtest.h>

#include "win32_api.h"
#include <dlgs.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "config/config.h"
#include "courier_simulator.h"
#include "gbk_text.h"
#include "platform_probe.h"
#include "win32_test_support.h"

namespace zelvo::testing {
namespace {

constexpr WindowId kMain = WindowId::Main;
constexpr const char* kList = "超级列表框1";

class Win32ProgramFlow : public ::testing::Test {
  protected:
    Win32ProgramFlow() {
        StartOptions options;
        options.onExit = [this](int code) { exitCodes_.push_back(code); };
        program_ = startProgram(ui_, std::move(options));
    }
    ~Win32ProgramFlow() override {
        program_.reset();
        ui_.Shutdown();
    }

    void Click(WindowId window, std::string_view control) {
        HWND c = ui_.ControlWindow(window, control);
        ASSERT_NE(c, nullptr);
        ClickControl(c);
    }
    void ClickHeader(int column) {
        RaiseWindowOf(ui_.ControlWindow(kMain, kList));
        HWND header = ListView_GetHeader(ui_.ControlWindow(kMain, kList));
        RECT r{};
        Header_GetItemRect(header, column, &r);
        POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(header, &centre);
        ClickAt(centre);
    }
    // What the list control itself shows in a cell, as UTF-16.
    std::wstring Shown(int row, int column) {
        wchar_t text[256] = L"";
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(ui_.ControlWindow(kMain, kList), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }
    int AddRow(const std::string& first) { return port_.ListInsert(kMain, kList, -1, first); }
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int r = 0; r < ui_.ListCount(kMain, kList); ++r) {
            std::string row;
            for (int c = 0; c < 6; ++c) row += ui_.ListGetText(kMain, kList, r, c) + "|";
            rows.push_back(row);
        }
        return rows;
    }

    win32::Win32Ui ui_;
    UiPort& port_ = ui_;  // the port's own defaults
    DialogAnswerer dialogs_{ui_};
    std::unique_ptr<Program> program_;
    std::vector<int> exitCodes_;
};

TEST_F(Win32ProgramFlow, TheTitleCarriesTheContactLineAndTheCloseBoxEndsWithCodeZero) {
    HWND main = ui_.Window(kMain);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsWindowVisible(main));
    std::string title = "Zelvo快递单号生成器V4.30版 ";
    title += std::string(config::kPublisherAddress) + " " + std::string(config::kPublisherCompany) +
             " " + std::string(config::kPublisherPhone);
    wchar_t shown[256] = L"";
    GetWindowTextW(main, shown, 256);
    EXPECT_EQ(std::wstring(shown), win32::FromGbk(title));

    // With a secondary window open too.
    ui_.SetText(kMain, "快递类型", "申通快递");
    Click(kMain, "按钮10");
    ASSERT_TRUE(ServeUntil([&] { return ui_.IsWindowOpen(WindowId::RecentNumbers); }));
    CloseByUser(main);
    EXPECT_TRUE(ServeUntil([&] { return !exitCodes_.empty(); }));
    EXPECT_EQ(exitCodes_, std::vector<int>{0});
    EXPECT_FALSE(ui_.IsWindowOpen(kMain));
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::RecentNumbers));
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(Win32ProgramFlow, GenerateFillsTheBoxWithTheCountOfNumbers) {
    Click(kMain, "按钮2");
    ASSERT_TRUE(ServeUntil([&] { return ui_.GetText(kMain, "生成内容").find("\r\n") != std::string::npos &&
                                        ui_.GetText(kMain, "生成内容").substr(0, 9) == "268928453"; }));
    const std::string text = ui_.GetText(kMain, "生成内容");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 50);
    EXPECT_EQ(text.substr(0, 18), "268928453111111112");
    EXPECT_EQ(ui_.GetText(kMain, "递增"), "111111161");
}

TEST_F(Win32ProgramFlow, AVerificationRunFillsTheListAndEndsWithItsMessage) {
    CourierSimulator simulator;
    simulator.addRecord("中通快递", "555000002");
    simulator.addRecord("中通快递", "555000004");
    ProgramState& state = program_->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui_.SetText(kMain, "快递类型", "中通快递");
    ui_.SetText(kMain, "生成内容", "555000001\r\n555000002\r\n555000003\r\n555000004\r\n555000005");
    dialogs_.Queue(DialogAnswerer::Answer::Ok);

    Click(kMain, "按钮6");
    ASSERT_TRUE(ServeUntil([&] { return state.verification.waitUntilIdle(0) && !dialogs_.ShownBoxes().empty(); }, 60000));
    ASSERT_EQ(ui_.ListCount(kMain, kList), 2);
    ASSERT_TRUE(ServeUntil([&] { return ListView_GetItemCount(ui_.ControlWindow(kMain, kList)) == 2; }));
    std::vector<std::string> numbers{ui_.ListGetText(kMain, kList, 0, 1), ui_.ListGetText(kMain, kList, 1, 1)};
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::string>{"555000002", "555000004"}));
    // The control shows the GBK cells as UTF-16.
    EXPECT_EQ(Shown(0, 3), L"深圳");
    EXPECT_EQ(Shown(1, 5), L"上海");

    const std::vector<DialogAnswerer::Shown> shown = dialogs_.ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "全部效验完毕,如果还没有找到你想要的单号,请百度或者朋友要个最新的单号进行模拟!");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_TRUE(ServeUntil([&] { return ui_.IsEnabled(kMain, "按钮6"); }));
    program_.reset();  // before the simulator goes
}

// A failed lookup is offered again on a real 是/否 box; 是 looks it up again
// in the same run, and the found row joins the others.
TEST_F(Win32ProgramFlow, YesOnTheEndMessageLooksTheFailedNumbersUpAgain) {
    CourierSimulator simulator;
    simulator.addRecord("中通快递", "555000002");
    simulator.addRecord("中通快递", "555000004");
    simulator.spoilFirstAnswer("555000004", testing::SimulatedFault::Status503);
    ProgramState& state = program_->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui_.SetText(kMain, "快递类型", "中通快递");
    ui_.SetText(kMain, "生成内容", "555000001\r\n555000002\r\n555000004");
    dialogs_.Queue(DialogAnswerer::Answer::Yes);
    dialogs_.Queue(DialogAnswerer::Answer::Ok);

    Click(kMain, "按钮6");
    ASSERT_TRUE(ServeUntil(
        [&] { return dialogs_.ShownBoxes().size() == 2 && state.verification.waitUntilIdle(0); },
        60000));
    const std::vector<DialogAnswerer::Shown> shown = dialogs_.ShownBoxes();
    EXPECT_NE(shown[0].text.find("另有1个单号查询失败"), std::string::npos);
    ASSERT_EQ(ui_.ListCount(kMain, kList), 2);
    EXPECT_EQ(ui_.ListGetText(kMain, kList, 1, 1), "555000004");
    EXPECT_EQ(state.verification.blankNumbers(), "555000001\r\n");
    EXPECT_EQ(simulator.requestCount(), 4);
    program_.reset();  // before the simulator goes
}

TEST_F(Win32ProgramFlow, ClosingTheMainWindowDuringARunEndsWithCodeZero) {
    CourierSimulator simulator;
    ProgramState& state = program_->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui_.SetText(kMain, "快递类型", "中通快递");
    simulator.hold();
    Click(kMain, "按钮6");
    ASSERT_TRUE(simulator.waitForHeld(1));
    CloseByUser(ui_.Window(kMain));
    EXPECT_TRUE(ServeUntil([&] { return !exitCodes_.empty(); }));
    EXPECT_EQ(exitCodes_, std::vector<int>{0});
    program_.reset();  // the exit clean-up returns with the workers still held
    simulator.release();
}

TEST_F(Win32ProgramFlow, HeaderClicksSortTheRowsFlippingTheDirection) {
    for (const char* number : {"3", "1", "2"}) {
        const int row = AddRow(number);
        ui_.ListSetText(kMain, kList, row, 1, std::string("36860907120") + number);
    }
    ClickHeader(1);  // the first click sorts ascending
    ASSERT_TRUE(ServeUntil([&] { return ui_.ListGetText(kMain, kList, 0, 1) == "368609071201"; }));
    EXPECT_EQ(ui_.ListGetText(kMain, kList, 2, 1), "368609071203");
    // A second click at once would be a double click, which is no header click.
    ServeUntil([] { return false; }, static_cast<int>(GetDoubleClickTime()) + 100);
    ClickHeader(1);
    ASSERT_TRUE(ServeUntil([&] { return ui_.ListGetText(kMain, kList, 0, 1) == "368609071203"; }));
    EXPECT_EQ(ui_.ListGetText(kMain, kList, 2, 1), "368609071201");
    ASSERT_TRUE(ServeUntil([&] { return Shown(0, 1) == L"368609071203"; }));
}

TEST_F(Win32ProgramFlow, AHeaderClickDuringARunSortsAtOnceAndStopStillStopsIt) {
    // Numbers in falling order, each with a record and a slow page: the rows
    // arrive roughly falling while the run goes on for half a minute.
    CourierSimulator simulator;
    simulator.setDelayMs(200);
    std::string numbers;
    for (int i = 4000; i > 0; --i) {
        const std::string number = std::to_string(555000000 + i);
        simulator.addRecord("中通快递", number);
        numbers += number + "\r\n";
    }
    ProgramState& state = program_->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui_.SetText(kMain, "快递类型", "中通快递");
    ui_.SetText(kMain, "生成内容", numbers);
    Click(kMain, "按钮6");
    ASSERT_TRUE(ServeUntil([&] { return ui_.ListCount(kMain, kList) >= 60; }, 60000));

    const int before = ui_.ListCount(kMain, kList);
    ClickHeader(1);
    ASSERT_TRUE(ServeUntil([&] { return state.sortAscending; }, 2000)) << "the sort waited";
    EXPECT_FALSE(state.verification.waitUntilIdle(0));
    for (int r = 1; r < before; ++r) {
        EXPECT_LT(ui_.ListGetText(kMain, kList, r - 1, 1), ui_.ListGetText(kMain, kList, r, 1)) << r;
    }

    Click(kMain, "按钮11");
    ASSERT_TRUE(ServeUntil([&] { return state.verification.waitUntilIdle(0); }, 5000))
        << "the stop was lost";
    EXPECT_TRUE(state.stopRequested);
    EXPECT_TRUE(ui_.IsEnabled(kMain, "按钮6"));
    EXPECT_LT(ui_.ListCount(kMain, kList), 4000);
    ServeUntil([] { return false; }, 300);
    EXPECT_TRUE(dialogs_.ShownBoxes().empty()) << "a stopped run shows no end message";
    program_.reset();  // before the simulator goes
}

TEST_F(Win32ProgramFlow, TheFilterWindowIsModalAndStartsThirtyDaysBack) {
    bool ran = false, mainEnabled = true;
    double startDays = 0, endDays = 0;
    dialogs_.WhenModal(WindowId::Filter, [&] {
        ran = true;
        mainEnabled = ui_.IsEnabled(kMain, {});
        startDays = ui_.DateValue(WindowId::Filter, "发货时间始").days;
        endDays = ui_.DateValue(WindowId::Filter, "发货时间终").days;
        Click(kMain, "按钮2");  // refused: the main window is disabled
        CloseByUser(ui_.Window(WindowId::Filter));
    });
    Click(kMain, "按钮4");
    ASSERT_TRUE(ServeUntil([&] { return ran && !ui_.IsWindowOpen(WindowId::Filter); }));
    EXPECT_FALSE(mainEnabled);
    EXPECT_NEAR(endDays - startDays, 30.0, 1e-6);
    EXPECT_TRUE(ui_.IsEnabled(kMain, {}));
    EXPECT_EQ(ui_.GetText(kMain, "生成内容").substr(0, 12), "368609071200");
}

TEST_F(Win32ProgramFlow, SaveAllThenLoadAllGivesTheSameRows) {
    const std::string folder = NewTempFolder("zelvo-win32-flow-");
    ASSERT_FALSE(folder.empty());
    for (int r = 0; r < 3; ++r) {
        const int row = AddRow(std::to_string(r + 1));
        ui_.ListSetText(kMain, kList, row, 1, "36860907120" + std::to_string(r));
        ui_.ListSetText(kMain, kList, row, 2, "2010年5月12日");
        ui_.ListSetText(kMain, kList, row, 3, "深圳");
        ui_.ListSetText(kMain, kList, row, 5, "上海");
    }
    const std::vector<std::string> before = Rows();
    ui_.AnswerNextBrowse(folder);
    Click(kMain, "按钮8");
    std::vector<std::filesystem::path> files;
    ASSERT_TRUE(ServeUntil([&] {
        files.clear();
        for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
        return files.size() == 1;
    }));
    ui_.ListClear(kMain, kList);
    // 全部读取 through the real file-open dialog: the saved file's path typed
    // into its name box, then its OK button.
    dialogs_.Queue(DialogAnswerer::Answer::Ok, [&] {
        for (HWND box : FindDialogs()) {
            HWND name = GetDlgItem(box, cmb13);
            if (!name) name = GetDlgItem(box, edt1);
            if (name) SetWindowTextW(name, files[0].wstring().c_str());
        }
    });
    Click(kMain, "按钮9");
    ASSERT_TRUE(ServeUntil([&] { return ui_.ListCount(kMain, kList) == 3; }));
    EXPECT_EQ(Rows(), before);
    const std::vector<DialogAnswerer::Shown> shown = dialogs_.ShownBoxes();
    ASSERT_EQ(shown.size(), 1u) << "only the file dialog";
    EXPECT_EQ(shown[0].caption, "请选择要保存的路径");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace zelvo::testing
