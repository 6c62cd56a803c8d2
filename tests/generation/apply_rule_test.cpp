#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "config/config.h"
#include "generation/rule_record.h"
#include "runtime/text_colour.h"
#include "memory_ui.h"

namespace zelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kTemplates = WindowId::ReferenceTemplates;

// A port that can colour text, as the real frontends do.
class ColourUi : public testing::MemoryUi, public TextColourControl {
  public:
    void SetTextColour(WindowId window, std::string_view control, int colour) override {
        colours.push_back({window, std::string(control), colour});
    }
    struct Colour {
        WindowId window;
        std::string control;
        int colour;
        bool operator==(const Colour&) const = default;
    };
    std::vector<Colour> colours;
};

const std::vector<std::string> kBoxes = {"固数1",      "固数2",    "固数3", "随机框", "时间框",
                                         "生成个数框", "快递类型", "规则",  "递增",   "生成内容"};

std::string BuiltInList() { return std::string(config::kBuiltInRuleRecord) + "\r\n"; }

std::string Record(const std::string& name, const std::string& fixed1,
                   const std::string& reference = "参考定单-1-2") {
    return name + "|" + fixed1 + "|2|3|4|5|20110101|6|{固数1}+{随机}|" + reference +
           "|http://q.example/" + fixed1 + "?No=|x";
}

class ApplyRule : public ::testing::Test {
  protected:
    ApplyRule() {
        ui.LoadWindow(kMain, false);
        ui.LoadWindow(kTemplates, false);
        ui.SetText(kTemplates, "编辑框1", "before");
    }
    std::map<std::string, std::string> boxes() {
        std::map<std::string, std::string> values;
        for (const std::string& name : kBoxes) values[name] = ui.GetText(kMain, name);
        return values;
    }
    std::string description() { return ui.GetText(kTemplates, "编辑框1"); }

    ColourUi ui;
    std::string prefix = "old prefix";
};

TEST_F(ApplyRule, TheBuiltInRecordFillsTheMainWindow) {
    applyRule(ui, BuiltInList(), prefix, "中通快递");
    std::map<std::string, std::string> b = boxes();
    EXPECT_EQ(b["固数1"], "010034");
    EXPECT_EQ(b["固数2"], "0");
    EXPECT_EQ(b["固数3"], "0");
    EXPECT_EQ(b["随机框"], "6");
    EXPECT_EQ(b["时间框"], "20100101");
    EXPECT_EQ(b["生成个数框"], "50");
    EXPECT_EQ(b["快递类型"], "中通快递");
    EXPECT_EQ(b["规则"], "{固数1}+{随机}");
    EXPECT_EQ(b["递增"], "111111111") << "the counter is not a rule field";
    EXPECT_EQ(b["生成内容"], "");
    EXPECT_EQ(prefix, "http://www.zto.example/zto.asp?No=");
    EXPECT_EQ(description(),
              "\r\n参考定单\r\n010034965571\r\n618102303454\r\n618090324228\r\n200831600838\r\n"
              "改变固数，可以改变出发城市");
    EXPECT_THAT(ui.colours, ElementsAre(ColourUi::Colour{kTemplates, "编辑框1", kColourBlack}));
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_THAT(ui.misses(), IsEmpty());
}

TEST_F(ApplyRule, ATrailingLineBreakChangesNothing) {
    applyRule(ui, std::string(config::kBuiltInRuleRecord), prefix, "中通快递");
    std::map<std::string, std::string> without = boxes();
    std::string descriptionWithout = description();
    ui.LoadWindow(kMain, false);
    applyRule(ui, BuiltInList(), prefix, "中通快递");
    EXPECT_EQ(boxes(), without);
    EXPECT_EQ(description(), descriptionWithout);
}

TEST_F(ApplyRule, LinesWithoutTwelveFieldsAreIgnoredSilently) {
    const std::string twelve = Record("中通快递", "777");
    for (const std::string& line : {twelve + "|extra", twelve.substr(0, twelve.rfind('|')),
                                    twelve.substr(0, twelve.rfind('|') + 1)}) {
        std::map<std::string, std::string> before = boxes();
        // A good record later in the list is not tried either.
        applyRule(ui, line + "\r\n" + twelve + "\r\n", prefix, "中通快递");
        EXPECT_EQ(boxes(), before) << line;
        EXPECT_EQ(prefix, "old prefix");
        EXPECT_EQ(description(), "before");
        EXPECT_THAT(ui.colours, IsEmpty());
        EXPECT_THAT(ui.messages(), IsEmpty());
    }
}

TEST_F(ApplyRule, TheFirstLineContainingTheNameIsApplied) {
    std::string list = Record("圆通快递", "111", "参考定单-比中通快递便宜") + "\r\n" +
                       Record("中通快递", "222") + "\r\n" + Record("中通快递一部", "333") + "\r\n" +
                       Record("中通快递二部", "444");
    applyRule(ui, list, prefix, "中通快递");
    EXPECT_EQ(ui.GetText(kMain, "快递类型"), "圆通快递") << "found in the reference text";
    applyRule(ui, list, prefix, "中通快递一");
    EXPECT_EQ(ui.GetText(kMain, "固数1"), "333");
    applyRule(ui, list, prefix, "q.example/444");
    EXPECT_EQ(ui.GetText(kMain, "快递类型"), "中通快递二部") << "found in the address";
    EXPECT_EQ(prefix, "http://q.example/444?No=");
}

TEST_F(ApplyRule, AnUnknownCourierEmptiesTheBoxesAndShowsARedNotice) {
    ui.SetText(kMain, "生成内容", "12345\r\n");
    applyRule(ui, BuiltInList(), prefix, "韵达快递");
    std::map<std::string, std::string> b = boxes();
    for (const char* name :
         {"固数1", "固数2", "固数3", "随机框", "时间框", "生成个数框", "快递类型", "规则"}) {
        EXPECT_EQ(b[name], "") << name;
    }
    EXPECT_EQ(b["递增"], "111111111");
    EXPECT_EQ(b["生成内容"], "12345\r\n");
    EXPECT_EQ(prefix, "old prefix");
    EXPECT_THAT(ui.colours, ElementsAre(ColourUi::Colour{kTemplates, "编辑框1", kColourRed}));
    EXPECT_EQ(description().substr(0, 2), "\r\n");
    EXPECT_GT(description().size(), 2u);
    EXPECT_THAT(ui.messages(), IsEmpty());
}

TEST_F(ApplyRule, AnEmptyListIsReported) {
    std::map<std::string, std::string> before = boxes();
    applyRule(ui, "", prefix, "中通快递");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "规则数据没能加载完毕,请联系客服解决");
    EXPECT_EQ(ui.messages()[0].caption, "无规则数据");
    EXPECT_EQ(ui.messages()[0].flags, kIconInformation);
    EXPECT_EQ(boxes(), before);
    EXPECT_EQ(description(), "before");
}

TEST_F(ApplyRule, APortWithoutColoursStillGetsTheTexts) {
    testing::MemoryUi plain;
    plain.LoadWindow(kMain, false);
    plain.LoadWindow(kTemplates, false);
    applyRule(plain, BuiltInList(), prefix, "中通快递");
    EXPECT_EQ(plain.GetText(kMain, "快递类型"), "中通快递");
    EXPECT_EQ(plain.GetText(kTemplates, "编辑框1").substr(0, 10), "\r\n参考定单");
}

}  // namespace
}  // namespace zelvo
