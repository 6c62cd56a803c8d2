#include "generation/recent_numbers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "memory_ui.h"
#include "runtime/text.h"

namespace zelvo {
namespace {

using testing::MemoryUi;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kRecent = WindowId::RecentNumbers;

class RecentNumbersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.SetEventHandler([this](const UiEvent& event) {
            if (event.window != kRecent) return;
            if (event.kind == EventKind::Created) {
                requireCourier(ui);
            } else if (event.kind == EventKind::Clicked && event.control == "按钮1") {
                generateFromRecentNumber(
                    ui, [this] { onVerify(); }, redrawLimit);
            }
        });
        ASSERT_TRUE(ui.LoadWindow(kMain, false));
        ui.SetText(kMain, "快递类型", "申通快递");
        ui.SetText(kMain, "生成内容", "");
    }

    void onVerify() {
        ++verifications;
        boxAtVerification = ui.GetText(kMain, "生成内容");
        boxVisibleAtVerification = ui.IsVisible(kMain, "生成内容");
        // A second press while the run is under way reaches nothing.
        secondPressDelivered = ui.click(kRecent, "按钮1");
    }

    // Opens the window, fills it and presses 按钮1; gives the lines added.
    std::vector<std::string> generate(const std::string& recent, const std::string& digits,
                                      const std::string& count, bool increment = true) {
        const std::string before = ui.GetText(kMain, "生成内容");
        EXPECT_TRUE(ui.LoadWindow(kRecent, false));
        ui.SetText(kRecent, "编辑框1", recent);
        ui.SetText(kRecent, "编辑框2", digits);
        ui.SetChecked(kRecent, "单选框1", increment);
        ui.SetChecked(kRecent, "单选框2", !increment);
        ui.SetText(kMain, "生成个数框", count);
        EXPECT_TRUE(ui.click(kRecent, "按钮1"));
        const std::string after = ui.GetText(kMain, "生成内容");
        EXPECT_EQ(after.compare(0, before.size(), before), 0) << "earlier lines are kept";
        return SplitText(after.substr(before.size()), "\r\n");
    }

    MemoryUi ui;
    int redrawLimit = kRecentRedrawLimit;
    int verifications = 0;
    std::string boxAtVerification;
    bool boxVisibleAtVerification = false;
    bool secondPressDelivered = true;
};

TEST_F(RecentNumbersTest, IncrementCountsOnFromTheNumber) {
    ui.SetText(kMain, "生成内容", "111\r\n");
    const auto lines = generate("368609071200", "3", "3");
    EXPECT_EQ(lines, (std::vector<std::string>{"368609071201", "368609071202", "368609071203"}));
    EXPECT_EQ(ui.GetText(kMain, "生成内容"),
              "111\r\n368609071201\r\n368609071202\r\n368609071203\r\n");
    // The run covers every line, old and new, and sees the box shown again.
    EXPECT_EQ(verifications, 1);
    EXPECT_EQ(boxAtVerification, ui.GetText(kMain, "生成内容"));
    EXPECT_TRUE(boxVisibleAtVerification);
    EXPECT_FALSE(secondPressDelivered);
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(RecentNumbersTest, DigitCountChoosesTheVaryingTail) {
    // Four digits: the first eight stay and 1200 counts on.
    EXPECT_EQ(generate("368609071200", "4", "2"),
              (std::vector<std::string>{"368609071201", "368609071202"}));
    ui.SetText(kMain, "生成内容", "");
    // Two digits count from 00, written with a leading zero.
    EXPECT_EQ(generate("368609071200", "2", "2"),
              (std::vector<std::string>{"368609071201", "368609071202"}));
    ui.SetText(kMain, "生成内容", "");
    // Past the largest tail the numbers grow a digit.
    EXPECT_EQ(generate("123998", "3", "2"), (std::vector<std::string>{"123999", "1231000"}));
}

TEST_F(RecentNumbersTest, DigitCountBeyondTheNumberCountsFromAllOfIt) {
    // The whole twelve-digit number counts on without wrapping at 32 bits,
    // padded to the digit count.
    EXPECT_EQ(generate("368609071200", "14", "1"), (std::vector<std::string>{"00368609071201"}));
}

TEST_F(RecentNumbersTest, TailIsReadAsTextToIntegerReadsIt) {
    // Leading blanks of every kind are skipped and a sign is taken, as in any
    // text-to-integer conversion; the prefix keeps them.
    EXPECT_EQ(generate("\f\v41", "9", "1"), (std::vector<std::string>{"000000042"}));
    ui.SetText(kMain, "生成内容", "");
    EXPECT_EQ(generate("7-5", "2", "1"), (std::vector<std::string>{"7-4"}));
}

TEST_F(RecentNumbersTest, CounterWrapsAtTheLargestLongInteger) {
    EXPECT_EQ(generate("9223372036854775806", "19", "2"),
              (std::vector<std::string>{"9223372036854775807", "-9223372036854775808"}));
}

TEST_F(RecentNumbersTest, NoVaryingDigitsCountsFromZero) {
    // k 0: the prefix is the whole number and the counter starts at 0.
    EXPECT_EQ(generate("12", "0", "2"), (std::vector<std::string>{"121", "122"}));
    ui.SetText(kMain, "生成内容", "");
    // So does any negative digit count, the most negative one included.
    EXPECT_EQ(generate("12", "-2147483648", "1"), (std::vector<std::string>{"121"}));
}

TEST_F(RecentNumbersTest, RandomModeAddsDistinctLinesWithThePrefix) {
    ui.SetText(kMain, "生成内容", "368609071555\r\n");
    const auto lines = generate("368609071200", "3", "30", false);
    ASSERT_EQ(lines.size(), 30u);
    std::set<std::string> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), 30u);
    EXPECT_FALSE(distinct.count("368609071555"));
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 12u);
        EXPECT_EQ(line.substr(0, 9), "368609071");
        EXPECT_EQ(line.find_first_not_of("0123456789"), std::string::npos);
    }
    EXPECT_EQ(verifications, 1);
}

TEST_F(RecentNumbersTest, RandomModeStopsWhenNoNewLineCanBeDrawn) {
    redrawLimit = 3;
    // With k 0 the one candidate is the number itself, already present.
    ui.SetText(kMain, "生成内容", "555\r\n");
    EXPECT_TRUE(generate("555", "0", "5", false).empty());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "无法再生成不重复的定单号，本次只添加了0个");
    EXPECT_EQ(ui.messages()[0].caption, "提示");
    // What was there is still verified, and the window closes.
    EXPECT_EQ(verifications, 1);
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
}

TEST_F(RecentNumbersTest, RandomModeWithOneDigitAddsAtMostTen) {
    redrawLimit = 3;
    const auto lines = generate("70", "1", "15", false);
    const std::set<std::string> distinct(lines.begin(), lines.end());
    EXPECT_EQ(distinct.size(), lines.size());
    EXPECT_LE(lines.size(), 10u);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              "无法再生成不重复的定单号，本次只添加了" + std::to_string(lines.size()) + "个");
}

TEST_F(RecentNumbersTest, EmptyNumberIsRefused) {
    ASSERT_TRUE(ui.LoadWindow(kRecent, false));
    EXPECT_TRUE(ui.click(kRecent, "按钮1"));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "编辑框内容不能为空");
    EXPECT_EQ(ui.messages()[0].caption, "出错");
    EXPECT_EQ(ui.messages()[0].flags, kIconError);
    EXPECT_TRUE(ui.IsEnabled(kRecent, "按钮1"));
    EXPECT_TRUE(ui.IsWindowOpen(kRecent));
    EXPECT_EQ(verifications, 0);
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), "");
}

TEST_F(RecentNumbersTest, OversizedCountOrDigitsAreRefused) {
    ui.LoadWindow(kRecent, false);
    ui.SetText(kRecent, "编辑框1", "368609071200");
    ui.SetText(kMain, "生成个数框", "2000001");
    EXPECT_TRUE(ui.click(kRecent, "按钮1"));
    ui.SetText(kMain, "生成个数框", "10");
    ui.SetText(kRecent, "编辑框2", "200000000");
    EXPECT_TRUE(ui.click(kRecent, "按钮1"));
    ui.SetText(kRecent, "编辑框2", "2147483647");
    EXPECT_TRUE(ui.click(kRecent, "按钮1"));
    ASSERT_EQ(ui.messages().size(), 3u);
    EXPECT_EQ(ui.messages()[0].text, ui.messages()[1].text);
    EXPECT_EQ(ui.messages()[0].text, ui.messages()[2].text);
    EXPECT_NE(ui.messages()[0].text.find("2000000"), std::string::npos);
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), "");
    EXPECT_EQ(verifications, 0);
    EXPECT_TRUE(ui.IsWindowOpen(kRecent));
    EXPECT_TRUE(ui.IsEnabled(kRecent, "按钮1"));
}

TEST_F(RecentNumbersTest, CountOfZeroStillVerifies) {
    EXPECT_TRUE(generate("368609071200", "3", "0").empty());
    EXPECT_EQ(verifications, 1);
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
}

TEST_F(RecentNumbersTest, WindowNeedsACourier) {
    ui.SetText(kMain, "快递类型", "");
    ui.LoadWindow(kRecent, false);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "快递类型不能为空，请先选择快递类型!");
    EXPECT_EQ(ui.messages()[0].caption, "错误");
    EXPECT_EQ(ui.messages()[0].flags, kIconInformation);
    EXPECT_FALSE(ui.IsWindowOpen(kRecent));
}

TEST_F(RecentNumbersTest, WindowStaysOpenWithACourier) {
    ui.LoadWindow(kRecent, false);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.IsWindowOpen(kRecent));
}

}  // namespace
}  // namespace zelvo
