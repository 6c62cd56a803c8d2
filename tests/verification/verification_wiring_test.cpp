// The verification run and the recent-number window as the program's own
// buttons reach them, on the in-memory port against the courier simulator.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "app/startup.h"
#include "courier_simulator.h"
#include "memory_ui.h"

namespace zelvo {
namespace {

using testing::CourierSimulator;
using testing::MemoryUi;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kRecent = WindowId::RecentNumbers;
constexpr int kIdleTimeoutMs = 60000;

class VerificationWiring : public ::testing::Test {
  protected:
    void SetUp() override {
        program = startProgram(ui);
        ProgramState& state = program->state();
        state.verification.setCourierHosts(simulator.hosts());
        state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
        ui.SetText(kMain, "快递类型", "中通快递");
        simulator.addRecord("中通快递", "555000002");
    }

    void TearDown() override {
        simulator.release();
        EXPECT_TRUE(program->state().verification.waitUntilIdle(kIdleTimeoutMs));
    }

    CourierSimulator simulator;
    MemoryUi ui;
    std::unique_ptr<Program> program;
};

TEST_F(VerificationWiring, VerifyButtonRunsOverTheGeneratedNumbers) {
    ui.SetText(kMain, "生成内容", "555000001\r\n555000002\r\n555000003");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(program->state().verification.waitUntilIdle(kIdleTimeoutMs));
    ASSERT_EQ(ui.ListCount(kMain, "超级列表框1"), 1);
    EXPECT_EQ(ui.ListGetText(kMain, "超级列表框1", 0, 1), "555000002");
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    EXPECT_EQ(program->state().verification.blankNumbers().size(),
              std::string("555000001\r\n555000003\r\n").size());
}

TEST_F(VerificationWiring, StopButtonEnablesVerifyAndDropsTheRest) {
    ui.SetText(kMain, "效验线程", "1");
    ui.SetText(kMain, "生成内容", "1\r\n2\r\n3\r\n4");
    simulator.hold();
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(simulator.waitForHeld(1));
    ASSERT_TRUE(ui.click(kMain, "按钮11"));
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    EXPECT_TRUE(program->state().stopRequested);
    simulator.release();
    ASSERT_TRUE(program->state().verification.waitUntilIdle(kIdleTimeoutMs));
    EXPECT_EQ(simulator.requestCount(), 1);
}

TEST_F(VerificationWiring, RecentNumberWindowGeneratesAndVerifies) {
    ui.SetText(kMain, "生成内容", "");
    ui.SetText(kMain, "生成个数框", "3");
    ASSERT_TRUE(ui.click(kMain, "按钮10"));
    ASSERT_TRUE(ui.IsWindowOpen(kRecent));
    ui.SetText(kRecent, "编辑框1", "555000000");
    ASSERT_TRUE(ui.click(kRecent, "按钮1"));
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), "555000001\r\n555000002\r\n555000003\r\n");
    ASSERT_TRUE(program->state().verification.waitUntilIdle(kIdleTimeoutMs));
    ASSERT_EQ(ui.ListCount(kMain, "超级列表框1"), 1);
    EXPECT_EQ(ui.ListGetText(kMain, "超级列表框1", 0, 1), "555000002");
    EXPECT_EQ(simulator.requestCount(), 3);
}

TEST_F(VerificationWiring, HeaderClicksDuringARunNeverMixRows) {
    // Workers write a found row cell by cell; a sort between two of those
    // writes would put one number's cells into another number's row.
    std::string numbers;
    for (int i = 0; i < 120; ++i) {
        const std::string number = "7770" + std::to_string(1000 + i);
        simulator.addRecord("中通快递", number);
        numbers += number + "\r\n";
    }
    ui.SetText(kMain, "生成内容", numbers);
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    for (int click = 0; click < 20000 && !program->state().verification.waitUntilIdle(0); ++click) {
        ASSERT_TRUE(ui.clickHeader(kMain, "超级列表框1", click % 2 == 0 ? 0 : 1));
    }
    ASSERT_TRUE(program->state().verification.waitUntilIdle(kIdleTimeoutMs));
    ASSERT_EQ(ui.ListCount(kMain, "超级列表框1"), 120);
    std::set<std::string> seen;
    for (int row = 0; row < 120; ++row) {
        EXPECT_FALSE(ui.ListGetText(kMain, "超级列表框1", row, 0).empty()) << row;
        EXPECT_FALSE(ui.ListGetText(kMain, "超级列表框1", row, 2).empty()) << row;
        seen.insert(ui.ListGetText(kMain, "超级列表框1", row, 1));
    }
    EXPECT_EQ(seen.size(), 120u);
    EXPECT_EQ(seen.count(""), 0u);
}

TEST_F(VerificationWiring, RecentNumberWindowNeedsACourier) {
    ui.SetText(kMain, "快递类型", "");
    ASSERT_TRUE(ui.click(kMain, "按钮10"));
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].caption, "错误");
    // One whose tracking page the program cannot read is refused as well.
    ui.SetText(kMain, "快递类型", "无名快递");
    ASSERT_TRUE(ui.click(kMain, "按钮10"));
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].caption, "对不起");
}

}  // namespace
}  // namespace zelvo
