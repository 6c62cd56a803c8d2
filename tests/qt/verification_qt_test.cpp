// A verification run on real Qt widgets (offscreen platform) against the
// local courier simulator: the workers' rows, progress and end message reach
// the widgets through the port's cross-thread calls.
#include <gtest/gtest.h>

#include <QPushButton>
#include <algorithm>
#include <string>
#include <vector>

#include "courier_simulator.h"
#include "qt_test_program.h"

namespace zelvo::qt {
namespace {

constexpr WindowId kMain = WindowId::Main;
constexpr const char* kList = "超级列表框1";

using testing::SpinUntil;
using VerificationOnQt = testing::QtProgramTest;

TEST_F(VerificationOnQt, RunFillsTheResultListAndEndsOnce) {
    testing::CourierSimulator simulator;
    simulator.addRecord("中通快递", "555000002");
    simulator.addRecord("中通快递", "555000004");
    ProgramState& state = program_->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui_.SetText(kMain, "快递类型", "中通快递");
    ui_.SetText(kMain, "生成内容", "555000001\r\n555000002\r\n555000003\r\n555000004\r\n555000005");
    ui_.AnswerNextMessageBox(kResultOk);

    auto* verify = Widget<QPushButton>(kMain, "按钮6");
    ASSERT_NE(verify, nullptr);
    verify->click();
    ASSERT_TRUE(SpinUntil([&] { return state.verification.waitUntilIdle(0); }, 60000));

    ASSERT_EQ(ui_.ListCount(kMain, kList), 2);
    std::vector<std::string> numbers;
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(ui_.ListGetText(kMain, kList, row, 0), std::to_string(row + 1));
        numbers.push_back(ui_.ListGetText(kMain, kList, row, 1));
        EXPECT_EQ(ui_.ListGetText(kMain, kList, row, 2), "2010年5月12日");
        EXPECT_EQ(ui_.ListGetText(kMain, kList, row, 3), "深圳");
        EXPECT_EQ(ui_.ListGetText(kMain, kList, row, 4), "2010年5月14日");
        EXPECT_EQ(ui_.ListGetText(kMain, kList, row, 5), "上海");
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::string>{"555000002", "555000004"}));
    EXPECT_EQ(state.verification.blankNumbers().size(), 3 * std::string("555000001\r\n").size());

    const std::vector<ShownMessageBox> shown = ui_.MessageBoxesShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "全部效验完毕,如果还没有找到你想要的单号,请百度或者朋友要个最新的单号进行模拟!");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(ui_.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_TRUE(verify->isEnabled());
    program_.reset();  // before the simulator goes
}

// A failed lookup is offered again on the end message; 是 looks it up
// again in the same run, and the found row joins the others.
TEST_F(VerificationOnQt, YesOnTheEndMessageLooksTheFailedNumbersUpAgain) {
    testing::CourierSimulator simulator;
    simulator.addRecord("中通快递", "555000002");
    simulator.addRecord("中通快递", "555000004");
    simulator.spoilFirstAnswer("555000004", testing::SimulatedFault::Status503);
    ProgramState& state = program_->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui_.SetText(kMain, "快递类型", "中通快递");
    ui_.SetText(kMain, "生成内容", "555000001\r\n555000002\r\n555000004");
    ui_.AnswerNextMessageBox(kResultYes);
    ui_.AnswerNextMessageBox(kResultOk);

    Widget<QPushButton>(kMain, "按钮6")->click();
    ASSERT_TRUE(SpinUntil(
        [&] { return ui_.MessageBoxesShown().size() == 2 && state.verification.waitUntilIdle(0); },
        60000));
    const std::vector<ShownMessageBox> shown = ui_.MessageBoxesShown();
    EXPECT_EQ(shown[0].flags, kIconInformation | kYesNo);
    EXPECT_NE(shown[0].text.find("另有1个单号查询失败"), std::string::npos);
    EXPECT_EQ(shown[1].flags, kIconInformation);
    ASSERT_EQ(ui_.ListCount(kMain, kList), 2);
    EXPECT_EQ(ui_.ListGetText(kMain, kList, 1, 1), "555000004");
    EXPECT_EQ(state.verification.blankNumbers(), "555000001\r\n");
    EXPECT_EQ(simulator.requestCount(), 4);
    program_.reset();  // before the simulator goes
}

}  // namespace
}  // namespace zelvo::qt
