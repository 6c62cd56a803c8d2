// The whole program on the in-memory port: "选择模板", a courier picked in the
// reference-template window, then "生成" with that courier's rule.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../results/temp_folder.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "generation/rule_record.h"
#include "memory_ui.h"
#include "rules/reference_templates_window.h"
#include "rules/rule_service_client.h"
#include "runtime/convert.h"

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

// zelvo --rules examples/rules-example.txt, the path given relative to the
// directory the program was started in, which start-up then leaves.
TEST(ProgramFlow, EachCourierOfTheExampleRuleFileApplies) {
    const std::string relative =
        std::filesystem::relative(ZELVO_EXAMPLE_RULES, std::filesystem::current_path()).string();
    const CommandLine command = parseCommandLine({"--rules", relative});
    ASSERT_EQ(command.action, CommandLine::Action::Start) << command.standardError;

    const std::vector<std::string> lines =
        SplitRuleList(ToText(BytesView(ReadRuleFile(ZELVO_EXAMPLE_RULES))));
    std::vector<RuleRecord> records;
    for (const std::string& line : lines) {
        if (auto record = ParseRuleRecord(line)) records.push_back(*record);
    }
    ASSERT_EQ(records.size(), lines.size()) << "every line is a record";
    std::vector<std::string> names;
    for (const RuleRecord& record : records) names.push_back(record.courierName);
    ASSERT_EQ(names, (std::vector<std::string>{"中通快递", "圆通快递", "韵达快递"}))
        << "GBK names of listed couriers";

    testing::TempFolder elsewhere;
    testing::CurrentDirectoryScope restore(std::filesystem::current_path().string());
    testing::MemoryUi ui;
    StartOptions options;
    options.programFolder = elsewhere.path();
    options.ruleSource = command.ruleSource;
    auto program = startProgram(ui, std::move(options));

    for (const RuleRecord& record : records) {
        SCOPED_TRACE(record.courierName);
        EXPECT_NE(record.queryUrlPrefix.find(".example/"), std::string::npos) << "reserved host";
        ASSERT_TRUE(ui.click(kMain, "按钮1"));
        const auto listed =
            std::find(kReferenceCouriers.begin(), kReferenceCouriers.end(), record.courierName);
        ASSERT_NE(listed, kReferenceCouriers.end());
        ASSERT_TRUE(ui.activateRow(kTemplates, "超级列表框1",
                                   static_cast<int>(listed - kReferenceCouriers.begin())));
        EXPECT_FALSE(ui.IsWindowOpen(kTemplates));
        EXPECT_EQ(ui.GetText(kMain, "快递类型"), record.courierName);
        EXPECT_EQ(ui.GetText(kMain, "固数1"), record.fixed1);
        EXPECT_EQ(ui.GetText(kMain, "固数2"), record.fixed2);
        EXPECT_EQ(ui.GetText(kMain, "固数3"), record.fixed3);
        EXPECT_EQ(ui.GetText(kMain, "随机框"), record.randomCount);
        EXPECT_EQ(ui.GetText(kMain, "时间框"), record.startTime);
        EXPECT_EQ(ui.GetText(kMain, "生成个数框"), record.count);
        EXPECT_EQ(ui.GetText(kMain, "规则"), record.numberTemplate);
        EXPECT_EQ(program->state().queryUrlPrefix, record.queryUrlPrefix);
    }
    EXPECT_EQ(program->state().ruleText, ToText(BytesView(ReadRuleFile(ZELVO_EXAMPLE_RULES))));
    EXPECT_THAT(ui.messages(), IsEmpty());
}

}  // namespace
}  // namespace zelvo
