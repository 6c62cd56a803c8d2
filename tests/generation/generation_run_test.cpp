#include "generation/generation_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/form.h"
#include "memory_ui.h"
#include "runtime/datetime.h"

namespace zelvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr WindowId kMain = WindowId::Main;

// Notes whether 生成内容 was visible whenever its content was set.
class RecordingUi : public testing::MemoryUi {
  public:
    void SetText(WindowId window, std::string_view control, std::string_view text) override {
        if (window == kMain && control == "生成内容") {
            visibleAtWrite.push_back(IsVisible(window, control));
        }
        MemoryUi::SetText(window, control, text);
    }
    std::vector<bool> visibleAtWrite;
};

// The main window with "生成" wired to the run, as the program wires it.
class GenerationRun : public ::testing::Test {
  protected:
    GenerationRun() {
        ui.SetEventHandler([this](const UiEvent& event) {
            if (BoundAction(event) == Action::GenerateNumbers) {
                generateNumbers(ui, templateParts, runningTime);
            }
        });
        ui.LoadWindow(kMain, false);
    }

    std::string box(const char* name) { return ui.GetText(kMain, name); }
    void set(const char* name, const char* text) { ui.SetText(kMain, name, text); }
    bool generate() {
        ui.visibleAtWrite.clear();
        return ui.click(kMain, "按钮2");
    }
    std::vector<std::string> lines() {
        std::vector<std::string> result;
        std::string text = box("生成内容");
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            result.push_back(text.substr(start, end - start));
        }
        EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
        return result;
    }

    RecordingUi ui;
    std::vector<std::string> templateParts{"stale"};
    DateTime runningTime;
};

TEST_F(GenerationRun, DefaultSettings) {
    ASSERT_TRUE(generate());
    std::vector<std::string> l = lines();
    ASSERT_EQ(l.size(), 50u);
    EXPECT_THAT(l[0], StartsWith("268928453111111112201001010001"));
    EXPECT_EQ(l[0].size(), 33u);
    EXPECT_THAT(l[1], StartsWith("268928453111111113201001010002"));
    EXPECT_THAT(l[49], StartsWith("268928453111111161201001010050"));
    EXPECT_EQ(box("递增"), "111111161");
    EXPECT_THAT(templateParts, ElementsAre("{固数1}", "{递增}", "{时间}", "{随机}"));
    EXPECT_EQ(runningTime, MakeDateTime(2010, 1, 1, 0, 50));
    // Hidden while it was emptied and filled, shown after.
    EXPECT_THAT(ui.visibleAtWrite, ElementsAre(false, false));
    EXPECT_TRUE(ui.IsVisible(kMain, "生成内容"));
    EXPECT_THAT(ui.messages(), IsEmpty());

    ASSERT_TRUE(generate());
    l = lines();
    ASSERT_EQ(l.size(), 50u);
    EXPECT_THAT(l[0], StartsWith("268928453111111162201001010001"))
        << "counter goes on, time restarts";
    EXPECT_EQ(box("递增"), "111111211");
}

TEST_F(GenerationRun, ACountOfZeroWritesNoLine) {
    set("生成内容", "old");
    set("生成个数框", "0");
    ASSERT_TRUE(generate());
    EXPECT_EQ(box("生成内容"), "");
    EXPECT_EQ(box("递增"), "111111111");
    EXPECT_TRUE(ui.IsVisible(kMain, "生成内容"));
    EXPECT_THAT(ui.messages(), IsEmpty());
}

// Read as they always were: blanks around a number, a "+", full-width digits.
TEST_F(GenerationRun, FullWidthCountAndCounter) {
    set("生成个数框", "１２");
    set("递增", " +１２３ ");
    set("随机框", "０");
    ASSERT_TRUE(generate());
    std::vector<std::string> l = lines();
    ASSERT_EQ(l.size(), 12u);
    EXPECT_EQ(l[0], "268928453124201001010001");
    EXPECT_EQ(box("递增"), "135");
}

// A box that cannot serve the run is named in one message, and nothing
// changes. Only the boxes the template uses count, and 生成个数 always.
TEST_F(GenerationRun, BadFieldsAreNamedAndChangeNothing) {
    const struct {
        const char* box;
        const char* field;
        std::vector<const char*> texts;
    } cases[] = {
        {"随机框", "随机位数", {"", "x", "-3", "3.5", "99999999999"}},
        {"时间框", "递增时间", {"not a date", "", "0999-12-31"}},
        // 2147483600 leaves too little room for the run's 50 values.
        {"递增", "递增数值", {"-5", "abc", "99999999999", "2147483600"}},
        {"生成个数框", "生成个数", {"-5", "abc", "", "12abc", "99999999999"}},
    };
    for (const auto& c : cases) {
        for (const char* text : c.texts) {
            SCOPED_TRACE(std::string(c.box) + " = " + text);
            ui.clearMessages();
            templateParts = {"stale"};
            set("规则", "{固数1}+{递增}+{时间}+{随机}");
            set("随机框", "3");
            set("时间框", "20100101");
            set("递增", "111111111");
            set("生成个数框", "50");
            set("生成内容", "keep me\r\n");
            set(c.box, text);
            ASSERT_TRUE(generate());
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_THAT(ui.messages()[0].text, StartsWith(std::string(c.field) + "填写有误"));
            EXPECT_EQ(ui.messages()[0].flags, kIconInformation);
            EXPECT_EQ(box("生成内容"), "keep me\r\n");
            EXPECT_TRUE(ui.IsVisible(kMain, "生成内容"));
            EXPECT_EQ(box(c.box), text);
            EXPECT_THAT(templateParts, ElementsAre("stale"));
        }
    }
    EXPECT_EQ(ui.messages()[0].text,
              "生成个数填写有误:要填一个不小于0的整数(一次最多2000000个),请改正后再生成。");
    // The counter's bound is the run's: 50 lines of one {递增} each.
    ui.clearMessages();
    set("生成个数框", "50");
    set("递增", "2147483600");
    ASSERT_TRUE(generate());
    EXPECT_EQ(
        ui.messages()[0].text,
        "递增数值填写有误:要填0到2147483597之间的整数(本次生成要用50个递增值),请改正后再生成。");
    // A box the template does not use is not read.
    ui.clearMessages();
    set("规则", "{固数1}");
    set("随机框", "x");
    set("时间框", "x");
    set("递增", "x");
    ASSERT_TRUE(generate());
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_EQ(lines().size(), 50u);
}

TEST_F(GenerationRun, TemplatesAndBadBoxes) {
    struct Case {
        const char* rule;
        const char* time;
        const char* count;
        std::vector<std::string> expected;  // prefixes of the lines
        const char* counterAfter;
    } cases[] = {
        {"", "20100101", "3", {"", "", ""}, "111111111"},
        {"{固数1}{随机}", "20100101", "2", {"", ""}, "111111111"},
        {"{递增}+{递增}",
         "20100101",
         "2",
         {"111111112111111113", "111111114111111115"},
         "111111115"},
        {"{时间}+{时间}", "2010-12-31 23:59", "1", {"201101010000201101010001"}, "111111111"},
        {"{固数2}+{固数3}", "", "1", {"999999"}, "111111111"},
    };
    for (const Case& c : cases) {
        set("递增", "111111111");
        set("规则", c.rule);
        set("时间框", c.time);
        set("生成个数框", c.count);
        ASSERT_TRUE(generate());
        std::vector<std::string> l = lines();
        ASSERT_EQ(l.size(), c.expected.size()) << c.rule;
        for (std::size_t i = 0; i < l.size(); ++i) {
            if (c.expected[i].empty()) {
                EXPECT_EQ(l[i], "") << c.rule;
            } else {
                EXPECT_THAT(l[i], StartsWith(c.expected[i])) << c.rule;
            }
        }
        EXPECT_EQ(box("递增"), c.counterAfter) << c.rule;
    }
}

TEST_F(GenerationRun, RandomPartsFollowTheDigitBox) {
    set("规则", "{随机}");
    set("生成个数框", "20");
    for (const char* digits : {"0", " 0 "}) {
        set("随机框", digits);
        ASSERT_TRUE(generate());
        std::string expected;
        for (int i = 0; i < 20; ++i) expected += "\r\n";
        EXPECT_EQ(box("生成内容"), expected) << digits;
    }
    set("随机框", "7");
    ASSERT_TRUE(generate());
    for (const std::string& line : lines()) {
        EXPECT_EQ(line.size(), 7u);
        EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos) << line;
    }
}

TEST_F(GenerationRun, OversizedRunsAreRefusedBeforeAnythingIsEmptied) {
    struct Case {
        const char* count;
        const char* digits;
    } cases[] = {
        {"2000001", "3"},     {"2147483647", "3"}, {"4294967295", "3"},
        {"99999999999", "3"}, {"1", "2147483647"}, {"5000", "100000"},
    };
    for (const Case& c : cases) {
        ui.clearMessages();
        templateParts = {"stale"};
        set("生成内容", "keep me\r\n");
        set("生成个数框", c.count);
        set("随机框", c.digits);
        ASSERT_TRUE(generate());
        ASSERT_EQ(ui.messages().size(), 1u) << c.count << " / " << c.digits;
        // Beyond 32 bits a count is no number a run can take at all.
        EXPECT_THAT(ui.messages()[0].text, StartsWith(std::string(c.count).size() >= 10 &&
                                                              std::string(c.count) != "2147483647"
                                                          ? "生成个数填写有误"
                                                          : "生成个数太大"));
        EXPECT_EQ(ui.messages()[0].flags, kIconInformation);
        EXPECT_EQ(box("生成内容"), "keep me\r\n");
        EXPECT_TRUE(ui.IsVisible(kMain, "生成内容"));
        EXPECT_EQ(box("递增"), "111111111");
        EXPECT_THAT(templateParts, ElementsAre("stale")) << "nothing of the run started";
    }
}

TEST_F(GenerationRun, LongTemplatesAreBoundedByTheirRecognisedParts) {
    std::string parts;
    for (int i = 0; i < 16000; ++i) parts += "{固数2}+";
    set("规则", parts.c_str());
    set("固数2", "");
    set("生成个数框", "5000");
    ASSERT_TRUE(generate());
    ASSERT_EQ(ui.messages().size(), 1u);

    ui.clearMessages();
    set("规则", std::string(30000, '+').c_str());
    set("生成个数框", "2000000");
    ASSERT_TRUE(generate());
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_EQ(box("生成内容").size(), 4'000'000u);
}

TEST_F(GenerationRun, AMillionDefaultLinesAreNotRefused) {
    set("生成个数框", "1000000");
    ASSERT_TRUE(generate());
    EXPECT_THAT(ui.messages(), IsEmpty());
    std::string text = box("生成内容");
    EXPECT_EQ(text.size(), 1'000'000u * 35);
    EXPECT_EQ(box("递增"), "112111111");
    EXPECT_THAT(text.substr(text.size() - 35), StartsWith("268928453112111111201111261040"));
}

}  // namespace
}  // namespace zelvo
