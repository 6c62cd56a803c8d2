// The program's own handlers driven through real widgets: start-up, the
// buttons a user clicks first, the modal filter window, picking a courier in
// the reference-template window, and the end through the main window.
#include <gtest/gtest.h>

#include <QCursor>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "config/config.h"
#include "gbk.h"
#include "qt_test_program.h"
#include "tab_control.h"

namespace zelvo::qt {
namespace {

using testing::SpinUntil;
using ProgramFlowTest = testing::QtProgramTest;

TEST_F(ProgramFlowTest, StartUpShowsTheTitleWithTheContactLineAndTheDefaults) {
    QWidget* main = ui_.Window(WindowId::Main);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    std::string title = "Zelvo快递单号生成器V4.30版 ";
    title += std::string(config::kPublisherAddress) + " " + std::string(config::kPublisherCompany) +
             " " + std::string(config::kPublisherPhone);
    EXPECT_EQ(ToGbk(main->windowTitle()), title);
    EXPECT_EQ(ui_.GetText(WindowId::Main, "超文本浏览框1"), config::kBannerAddress);
    EXPECT_EQ(ui_.GetText(WindowId::Main, "规则"), "{固数1}+{递增}+{时间}+{随机}");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "递增"), "111111111");
}

TEST_F(ProgramFlowTest, TheClearButtonUnderTheFieldsEmptiesTheGeneratedNumbers) {
    Click(WindowId::Main, "按钮12");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "生成内容"), "");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "递增"), "111111111");
    Click(WindowId::Main, "按钮12");  // empty already: no message either
    EXPECT_TRUE(ui_.MessageBoxesShown().empty());
}

TEST_F(ProgramFlowTest, TheWebsiteTabShowsThePublishersPage) {
    auto* tabs = Widget<TabControl>(WindowId::Main, "高级选择夹1");
    ASSERT_NE(tabs, nullptr);
    ui_.SetText(WindowId::Main, "超文本浏览框2", "");
    QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
    EXPECT_EQ(ui_.GetText(WindowId::Main, "超文本浏览框2"), config::kWebsiteAddress);
    EXPECT_TRUE(Widget(WindowId::Main, "超文本浏览框2")->isVisible());
}

TEST_F(ProgramFlowTest, TheFilterWindowIsModalAndStartsThirtyDaysBack) {
    bool mainEnabled = true;
    double startDays = 0;
    double endDays = 0;
    QTimer::singleShot(0, [&] {
        mainEnabled = ui_.IsEnabled(WindowId::Main, {});
        startDays = ui_.DateValue(WindowId::Filter, "发货时间始").days;
        endDays = ui_.DateValue(WindowId::Filter, "发货时间终").days;
        if (QWidget* filter = ui_.Window(WindowId::Filter)) filter->close();
    });
    // The click returns once the modal window has closed again.
    Click(WindowId::Main, "按钮4");
    EXPECT_FALSE(mainEnabled);
    EXPECT_NEAR(endDays - startDays, 30.0, 1e-6);
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::Filter));
    EXPECT_TRUE(ui_.IsEnabled(WindowId::Main, {}));
}

TEST_F(ProgramFlowTest, PickingACourierFillsTheCourierBoxAndClosesTheTemplates) {
    QCursor::setPos(300, 400);
    const QPoint cursor = QCursor::pos();
    Click(WindowId::Main, "按钮1");
    ASSERT_TRUE(ui_.IsWindowOpen(WindowId::ReferenceTemplates));
    // Next to the mouse pointer: 25 pixels right of it, 15 above.
    EXPECT_EQ(ui_.WindowLeft(WindowId::ReferenceTemplates), cursor.x() + 25);
    EXPECT_EQ(ui_.WindowTop(WindowId::ReferenceTemplates), cursor.y() - 15);
    // The list is filled once the window has first been active.
    auto* list = Widget<QTreeView>(WindowId::ReferenceTemplates, "超级列表框1");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(SpinUntil([&] { return list->model()->rowCount() > 0; }));
    // Clicking again raises the same window.
    QWidget* first = ui_.Window(WindowId::ReferenceTemplates);
    Click(WindowId::Main, "按钮1");
    EXPECT_EQ(ui_.Window(WindowId::ReferenceTemplates), first);

    const std::string courier = ui_.ListGetText(WindowId::ReferenceTemplates, "超级列表框1", 0, 1);
    ASSERT_FALSE(courier.empty());
    const QRect row = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(ui_.GetText(WindowId::Main, "快递类型"), courier);
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::ReferenceTemplates));
}

TEST_F(ProgramFlowTest, RecentNumbersWithoutACourierTellsTheUserAndCloses) {
    ui_.AnswerNextMessageBox(0);
    Click(WindowId::Main, "按钮10");
    const std::vector<ShownMessageBox> shown = ui_.MessageBoxesShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "快递类型不能为空，请先选择快递类型!");
    EXPECT_EQ(shown[0].caption, "错误");
    EXPECT_EQ(shown[0].flags, 64);
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::RecentNumbers));
}

TEST_F(ProgramFlowTest, ClosingTheMainWindowEndsTheProgramWithCodeZeroOnce) {
    // With a courier chosen the recent-number window stays open.
    ui_.SetText(WindowId::Main, "快递类型", "申通快递");
    Click(WindowId::Main, "按钮10");
    ASSERT_TRUE(ui_.IsWindowOpen(WindowId::RecentNumbers));
    ui_.Window(WindowId::Main)->close();
    EXPECT_EQ(exitCodes_, std::vector<int>{0});
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::Main));
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::RecentNumbers));
}

}  // namespace
}  // namespace zelvo::qt
