#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config.h"
#include "forms/form.h"
#include "generation/generation_run.h"
#include "local_rule_server.h"
#include "memory_ui.h"
#include "rules/reference_templates_window.h"
#include "rules/rule_list_loading.h"
#include "template_windows.h"

namespace zelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kTemplates = WindowId::ReferenceTemplates;
const char* const kLoading = "\r\n\r\n   正在更新列表中请稍候......";

std::string BuiltInList() { return std::string(config::kBuiltInRuleRecord) + "\r\n"; }

// A loaded list: longer than the built-in record.
const std::string kFullList = BuiltInList() +
                              "圆通快递|800|1|2|0|4|20110101|20|{固数1}+{递增}|参考定单-800123|"
                              "http://y.example/?No=|圆通\r\n";

// The two windows on the in-memory port; the template window's text just
// after its created handler is kept.
class Program : public testing::TemplateWindowsState {
  public:
    explicit Program(std::string address, int replyLimitMs = 60'000)
        : TemplateWindowsState(std::move(address), replyLimitMs) {
        ui.SetEventHandler([this](const UiEvent& event) {
            testing::RouteTemplateWindows(
                ui, *this, event, [this] { descriptionsAfterLoad.push_back(description()); });
        });
        ui.LoadWindow(kMain, false);
    }

    bool openTemplates() { return ui.click(kMain, "按钮1"); }
    bool pick(int row) { return ui.activateRow(kTemplates, "超级列表框1", row); }
    std::string description() { return ui.GetText(kTemplates, "编辑框1"); }

    testing::MemoryUi ui;
    std::vector<std::string> descriptionsAfterLoad;
};

TEST(ReferenceTemplates, OpensBesideTheCursorAndListsTheCouriers) {
    Program p("");
    p.ui.setCursor(300, 200);
    ASSERT_TRUE(p.openTemplates());
    EXPECT_EQ(p.ui.WindowLeft(kTemplates), 325);
    EXPECT_EQ(p.ui.WindowTop(kTemplates), 185);
    EXPECT_EQ(p.ui.GetText(kTemplates, ""), "加载列表完毕");
    EXPECT_THAT(p.descriptionsAfterLoad, ElementsAre(kLoading));
    EXPECT_EQ(p.description(), kLoading);
    const char* names[] = {"中通快递", "圆通快递",     "顺风快递",   "韵达快递",
                           "天天快递", "汇通快递",     "鑫飞鸿快递", "宅急送快递",
                           "德邦物流", "希伊艾斯CCES", "星辰急便",   "AAE全球专递"};
    ASSERT_EQ(p.ui.ListCount(kTemplates, "超级列表框1"), 12);
    for (int row = 0; row < 12; ++row) {
        EXPECT_THAT(p.ui.listRow(kTemplates, "超级列表框1", row),
                    ElementsAre(std::to_string(row + 1), names[row]));
    }
    EXPECT_TRUE(p.ui.IsChecked(kTemplates, "选择框1"));
    EXPECT_THAT(p.ui.misses(), IsEmpty());
}

TEST(ReferenceTemplates, PickingACourierFillsTheMainWindowAndCloses) {
    Program p("");
    p.ui.SetText(kMain, "生成内容", "old\r\n");
    ASSERT_TRUE(p.openTemplates());
    ASSERT_TRUE(p.pick(0));
    EXPECT_FALSE(p.ui.IsWindowOpen(kTemplates));
    EXPECT_EQ(p.ui.GetText(kMain, "快递类型"), "中通快递");
    EXPECT_EQ(p.ui.GetText(kMain, "规则"), "{固数1}+{随机}");
    EXPECT_EQ(p.ui.GetText(kMain, "生成内容"), "");
    EXPECT_EQ(p.queryUrlPrefix, "http://www.zto.example/zto.asp?No=");

    // And "生成" then produces the courier's numbers.
    ASSERT_TRUE(p.ui.click(kMain, "按钮2"));
    std::string text = p.ui.GetText(kMain, "生成内容");
    EXPECT_EQ(text.size(), 50u * 14);
    EXPECT_THAT(text, StartsWith("010034"));
}

TEST(ReferenceTemplates, UncheckedTheWindowStaysForMorePicks) {
    Program p("");
    ASSERT_TRUE(p.openTemplates());
    p.ui.SetChecked(kTemplates, "选择框1", false);
    ASSERT_TRUE(p.pick(0));
    ASSERT_TRUE(p.ui.IsWindowOpen(kTemplates));
    EXPECT_THAT(p.description(), StartsWith("\r\n参考定单\r\n010034965571"));
    ASSERT_TRUE(p.pick(1));  // 圆通快递 has no record in the built-in list
    ASSERT_TRUE(p.ui.IsWindowOpen(kTemplates));
    EXPECT_THAT(p.description(), StartsWith("\r\n"));
    EXPECT_EQ(p.description().find("参考定单"), std::string::npos);
    EXPECT_EQ(p.ui.GetText(kMain, "快递类型"), "");
    EXPECT_EQ(p.queryUrlPrefix, "http://www.zto.example/zto.asp?No=");

    p.ui.SetChecked(kTemplates, "选择框1", true);
    ASSERT_TRUE(p.pick(1));
    EXPECT_FALSE(p.ui.IsWindowOpen(kTemplates)) << "closed whatever the outcome";
}

TEST(ReferenceTemplates, NoCurrentRowPicksNothing) {
    Program p("");
    ASSERT_TRUE(p.openTemplates());
    pickCourier(p.ui, p.ruleText, p.queryUrlPrefix);
    EXPECT_TRUE(p.ui.IsWindowOpen(kTemplates));
    EXPECT_EQ(p.ui.GetText(kMain, "快递类型"), "");
    EXPECT_THAT(p.ui.messages(), IsEmpty());
}

TEST(RuleListLoading, ALoadedListIsAskedForOnce) {
    testing::LocalRuleServer server;
    server.reply(kFullList);
    Program p(server.address());
    ASSERT_TRUE(p.openTemplates());
    EXPECT_EQ(p.ruleText, kFullList);
    EXPECT_TRUE(IsRuleListLoaded(p.ruleText));
    ASSERT_TRUE(p.pick(1));
    EXPECT_EQ(p.ui.GetText(kMain, "固数1"), "800");
    EXPECT_EQ(p.queryUrlPrefix, "http://y.example/?No=");

    server.reply("");
    ASSERT_TRUE(p.openTemplates());
    ASSERT_TRUE(p.openTemplates());  // already open: raised, not created again
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(p.ruleText, kFullList);
    EXPECT_EQ(p.description(), "") << "no progress text without a request";
}

TEST(RuleListLoading, AnEmptyReplyIsReportedAtThePickAndAskedAgain) {
    testing::LocalRuleServer server;
    Program p(server.address());
    ASSERT_TRUE(p.openTemplates());
    EXPECT_EQ(p.ruleText, "");
    EXPECT_EQ(p.description(), kLoading);
    ASSERT_TRUE(p.pick(0));
    ASSERT_EQ(p.ui.messages().size(), 1u);
    EXPECT_EQ(p.ui.messages()[0].text, "规则数据没能加载完毕,请联系客服解决");
    EXPECT_EQ(p.ui.messages()[0].caption, "无规则数据");
    EXPECT_FALSE(p.ui.IsWindowOpen(kTemplates));

    server.reply(kFullList);
    ASSERT_TRUE(p.openTemplates());
    EXPECT_EQ(server.requests(), 2);
    EXPECT_EQ(p.ruleText, kFullList);
}

TEST(RuleListLoading, TheBuiltInRecordAloneIsAskedForAtEveryOpening) {
    testing::LocalRuleServer server;
    server.reply(BuiltInList());
    Program p(server.address());
    for (int opening = 1; opening <= 3; ++opening) {
        ASSERT_TRUE(p.openTemplates());
        EXPECT_EQ(server.requests(), opening);
        EXPECT_EQ(p.ruleText, BuiltInList());
        EXPECT_FALSE(IsRuleListLoaded(p.ruleText));
        ASSERT_TRUE(p.pick(0));
        EXPECT_EQ(p.ui.GetText(kMain, "固数1"), "010034");
        EXPECT_FALSE(p.ui.IsWindowOpen(kTemplates));
    }
}

TEST(RuleListLoading, ASourceThatNeverAnswersLeavesTheListEmpty) {
    testing::LocalRuleServer server;
    server.reply(kFullList);
    server.hold();
    Program p(server.address(), 300);
    ASSERT_TRUE(p.openTemplates());
    EXPECT_EQ(p.ruleText, "");
    EXPECT_EQ(p.ui.GetText(kTemplates, ""), "加载列表完毕") << "the window is usable";
    server.release();
    p.ui.CloseWindow(kTemplates);
    ASSERT_TRUE(p.openTemplates());
    EXPECT_EQ(p.ruleText, kFullList);
}

}  // namespace
}  // namespace zelvo
