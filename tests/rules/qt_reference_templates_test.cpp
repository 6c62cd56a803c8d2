// Choosing a courier on real Qt widgets (offscreen platform): the button
// opens the window beside the pointer, a double click fills the main window,
// and the check box decides whether the window closes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCursor>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "qt_test_program.h"
#include "template_windows.h"

namespace zelvo::qt {
namespace {

using ::testing::StartsWith;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kTemplates = WindowId::ReferenceTemplates;

using testing::SpinUntil;

class QtReferenceTemplates : public ::testing::Test, protected testing::TemplateWindowsState {
  protected:
    QtReferenceTemplates() : TemplateWindowsState("") {
        ui.SetEventHandler(
            [this](const UiEvent& event) { testing::RouteTemplateWindows(ui, *this, event); });
        ui.LoadWindow(kMain, false);
    }
    ~QtReferenceTemplates() override {
        ui.SetEventHandler({});
        ui.Shutdown();
        testing::DeleteClosedWindows();
    }

    template <class T = QWidget>
    T* widget(WindowId window, const char* name) {
        return testing::ControlWidget<T>(ui, window, name);
    }

    // Opens the window with the button and waits until its list is filled.
    void openTemplates() {
        auto* button = widget<QPushButton>(kMain, "按钮1");
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(ui.IsWindowOpen(kTemplates));
        ui.Window(kTemplates)->activateWindow();
        ASSERT_TRUE(SpinUntil([&] { return ui.ListCount(kTemplates, "超级列表框1") == 12; }));
        EXPECT_EQ(ui.GetText(kTemplates, ""), "加载列表完毕");
    }

    void doubleClickRow(int row) {
        auto* view = widget<QTreeView>(kTemplates, "超级列表框1");
        ASSERT_NE(view, nullptr);
        QCoreApplication::processEvents();
        const QPoint centre = view->visualRect(view->model()->index(row, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    }

    QtUi ui;
};

TEST_F(QtReferenceTemplates, DoubleClickFillsTheMainWindowAndCloses) {
    const QPoint cursor = QCursor::pos();
    openTemplates();
    EXPECT_EQ(ui.WindowLeft(kTemplates), cursor.x() + 25);
    EXPECT_EQ(ui.WindowTop(kTemplates), cursor.y() - 15);
    EXPECT_EQ(ui.ListGetText(kTemplates, "超级列表框1", 11, 0), "12");
    EXPECT_EQ(ui.ListGetText(kTemplates, "超级列表框1", 11, 1), "AAE全球专递");

    doubleClickRow(0);
    EXPECT_TRUE(SpinUntil([&] { return !ui.IsWindowOpen(kTemplates); }));
    EXPECT_EQ(ui.GetText(kMain, "快递类型"), "中通快递");
    EXPECT_EQ(ui.GetText(kMain, "固数1"), "010034");
    EXPECT_EQ(ui.GetText(kMain, "规则"), "{固数1}+{随机}");
    EXPECT_EQ(ui.GetText(kMain, "生成内容"), "");
    EXPECT_EQ(queryUrlPrefix, "http://www.zto.example/zto.asp?No=");

    QTest::mouseClick(widget<QPushButton>(kMain, "按钮2"), Qt::LeftButton);
    EXPECT_THAT(ui.GetText(kMain, "生成内容"), StartsWith("010034"));
    EXPECT_TRUE(widget(kMain, "生成内容")->isVisibleTo(ui.Window(kMain)));
}

TEST_F(QtReferenceTemplates, UncheckedTheWindowStaysAndShowsTheReference) {
    openTemplates();
    auto* autoClose = widget<QCheckBox>(kTemplates, "选择框1");
    ASSERT_NE(autoClose, nullptr);
    EXPECT_TRUE(autoClose->isChecked());
    QTest::mouseClick(autoClose, Qt::LeftButton);
    ASSERT_FALSE(autoClose->isChecked());

    doubleClickRow(0);
    QCoreApplication::processEvents();
    ASSERT_TRUE(ui.IsWindowOpen(kTemplates));
    EXPECT_THAT(ui.GetText(kTemplates, "编辑框1"), StartsWith("\r\n参考定单\r\n010034965571"));
    auto* description = widget<QPlainTextEdit>(kTemplates, "编辑框1");
    if (description != nullptr) {
        EXPECT_TRUE(description->toPlainText().contains(QStringLiteral("\n010034965571\n")));
    }

    doubleClickRow(1);  // no record for this courier in the built-in list
    QCoreApplication::processEvents();
    ASSERT_TRUE(ui.IsWindowOpen(kTemplates));
    EXPECT_EQ(ui.GetText(kMain, "快递类型"), "");
}

}  // namespace
}  // namespace zelvo::qt
