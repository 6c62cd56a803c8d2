// A verification run on real Qt widgets (offscreen platform) against the
// local courier simulator: the workers' rows, progress and end message reach
// the widgets through the port's cross-thread calls.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "courier_simulator.h"
#include "gbk.h"
#include "qt_ui.h"

namespace zelvo::qt {
namespace {

constexpr WindowId kMain = WindowId::Main;
constexpr const char* kList = "超级列表框1";

template <class Done>
bool SpinUntil(Done done, int limitMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

TEST(VerificationOnQt, RunFillsTheResultListAndEndsOnce) {
    testing::CourierSimulator simulator;
    simulator.addRecord("中通快递", "555000002");
    simulator.addRecord("中通快递", "555000004");
    QtUi ui;
    std::unique_ptr<Program> program = startProgram(ui);
    ProgramState& state = program->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui.SetText(kMain, "快递类型", "中通快递");
    ui.SetText(kMain, "生成内容", "555000001\r\n555000002\r\n555000003\r\n555000004\r\n555000005");
    ui.AnswerNextMessageBox(kResultOk);

    QPushButton* verify = ui.Window(kMain)->findChild<QPushButton*>(FromGbk("按钮6"));
    ASSERT_NE(verify, nullptr);
    verify->click();
    ASSERT_TRUE(SpinUntil([&] { return state.verification.waitUntilIdle(0); }));

    ASSERT_EQ(ui.ListCount(kMain, kList), 2);
    std::vector<std::string> numbers;
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(ui.ListGetText(kMain, kList, row, 0), std::to_string(row + 1));
        numbers.push_back(ui.ListGetText(kMain, kList, row, 1));
        EXPECT_EQ(ui.ListGetText(kMain, kList, row, 2), "2010年5月12日");
        EXPECT_EQ(ui.ListGetText(kMain, kList, row, 3), "深圳");
        EXPECT_EQ(ui.ListGetText(kMain, kList, row, 4), "2010年5月14日");
        EXPECT_EQ(ui.ListGetText(kMain, kList, row, 5), "上海");
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::string>{"555000002", "555000004"}));
    EXPECT_EQ(state.verification.blankNumbers().size(), 3 * std::string("555000001\r\n").size());

    const std::vector<ShownMessageBox> shown = ui.MessageBoxesShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "全部效验完毕,如果还没有找到你想要的单号,请百度或者朋友要个最新的单号进行模拟!");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_TRUE(verify->isEnabled());
    program.reset();
}

}  // namespace
}  // namespace zelvo::qt
