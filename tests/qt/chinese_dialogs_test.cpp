// Qt's own texts are Chinese like the rest of the program, whatever the
// locale the tests run in (ctest's is usually C): the folder browser of
// 全部读取 and 全部保存, and an edit box's context menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "controls.h"
#include "qt_test_program.h"

namespace zelvo::qt {
namespace {

// The visible texts of the dialog's buttons, without their "&" marks.
QStringList ButtonTexts(QWidget* dialog) {
    QStringList texts;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->isVisible()) texts << button->text().remove(QLatin1Char('&'));
    }
    return texts;
}

class QtChineseDialogs : public ::testing::Test {
  protected:
    ~QtChineseDialogs() override {
        ui.Shutdown();
        testing::DeleteClosedWindows();
    }
    QtUi ui;
};

TEST_F(QtChineseDialogs, TheFolderBrowserSpeaksChinese) {
    QStringList buttons;
    QStringList labels;
    bool saved = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        buttons = ButtonTexts(dialog);
        for (QLabel* label : dialog->findChildren<QLabel*>()) labels << label->text();
        // Laid out and painted before the picture is taken.
        QTimer::singleShot(300, dialog, [&, dialog] {
            const QString folder = QStringLiteral(ZELVO_SCREENSHOT_DIR);
            QDir().mkpath(folder);
            saved = dialog->grab().save(folder + "/folder-dialog-zh.png", "PNG");
            dialog->reject();
        });
    });
    EXPECT_EQ(ui.BrowseFolder("请选择要保存的路径", false), "");
    EXPECT_TRUE(buttons.contains(QStringLiteral("选择(C)"))) << buttons.join('|').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消"))) << buttons.join('|').toStdString();
    EXPECT_FALSE(buttons.contains(QStringLiteral("Cancel")));
    EXPECT_TRUE(labels.contains(QStringLiteral("查找范围："))) << labels.join('|').toStdString();
    EXPECT_TRUE(saved);
}

TEST_F(QtChineseDialogs, AnEditBoxContextMenuSpeaksChinese) {
    QLineEdit box(QStringLiteral("668001"));
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) texts << action->text().remove(QLatin1Char('&'));
    }
    EXPECT_TRUE(texts.filter(QStringLiteral("复制")).size() == 1) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.filter(QStringLiteral("粘贴")).size() == 1) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.filter(QStringLiteral("Copy")).isEmpty());
}

}  // namespace
}  // namespace zelvo::qt
