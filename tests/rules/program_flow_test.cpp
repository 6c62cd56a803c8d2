// The whole program on the in-memory port: "选择模板", a courier picked in the
// reference-template window, then "生成" with that courier's rule.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/startup.h"
#include "memory_ui.h"
#include "rules/rule_service_client.h"

namespace zelvo {
namespace {

using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kTemplates = WindowId::ReferenceTemplates;

TEST(ProgramFlow, PickACourierThenGenerate) {
    if (!DefaultRuleSourceAddress().empty()) GTEST_SKIP() << "this build asks a real rule source";
    testing::MemoryUi ui;
    ui.setCursor(100, 100);
    auto program = startProgram(ui);
    EXPECT_FALSE(program->state().ruleService.isOpen()) << "built unconnected";

    ASSERT_TRUE(ui.click(kMain, "按钮1"));
    ASSERT_TRUE(ui.IsWindowOpen(kTemplates));
    EXPECT_EQ(ui.GetText(kTemplates, ""), "加载列表完毕");
    EXPECT_EQ(ui.WindowLeft(kTemplates), 125);
    ASSERT_EQ(ui.ListCount(kTemplates, "超级列表框1"), 12);
    ASSERT_TRUE(ui.activateRow(kTemplates, "超级列表框1", 0));
    EXPECT_FALSE(ui.IsWindowOpen(kTemplates));
    EXPECT_EQ(ui.GetText(kMain, "快递类型"), "中通快递");
    EXPECT_EQ(program->state().queryUrlPrefix, "http://www.zto.example/zto.asp?No=");

    ASSERT_TRUE(ui.click(kMain, "按钮2"));
    std::string numbers = ui.GetText(kMain, "生成内容");
    EXPECT_EQ(numbers.size(), 50u * 14);
    EXPECT_THAT(numbers, StartsWith("010034"));
    EXPECT_EQ(program->state().templateParts.size(), 2u);
    EXPECT_THAT(ui.messages(), IsEmpty());

    runExitCleanup(program->state());
    EXPECT_FALSE(program->state().ruleService.isOpen()) << "closed at exit";
}

}  // namespace
}  // namespace zelvo
