// The result list's window actions on real Qt widgets (offscreen platform):
// a header click sorts the view itself, and the filter window runs modally
// and writes its file into the current directory.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <string>
#include <vector>

#include "app/event_router.h"
#include "app/program_state.h"
#include "gbk.h"
#include "qt_test_program.h"
#include "result_rows.h"
#include "results/result_files.h"
#include "results/result_list.h"
#include "runtime/convert.h"
#include "runtime/files.h"
#include "temp_folder.h"

namespace zelvo::qt {
namespace {

class QtResults : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.SetEventHandler([this](const UiEvent& event) { routeEvent(state, ui, event); });
        ASSERT_TRUE(ui.LoadWindow(WindowId::Main, false));
    }
    void TearDown() override { testing::DeleteClosedWindows(); }

    template <class T = QWidget>
    T* Widget(WindowId window, std::string_view name) {
        return testing::ControlWidget<T>(ui, window, name);
    }
    void addRow(const std::vector<std::string>& cells) { testing::AddResultRow(ui, cells); }
    // What the view shows in one column, top to bottom.
    std::vector<std::string> shown(int column) {
        QAbstractItemModel* model = Widget<QTreeView>(WindowId::Main, kResultList)->model();
        std::vector<std::string> cells;
        for (int r = 0; r < model->rowCount(); ++r) {
            cells.push_back(ToGbk(model->index(r, column).data().toString()));
        }
        return cells;
    }
    void clickHeader(int column) {
        QHeaderView* header = Widget<QTreeView>(WindowId::Main, kResultList)->header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    testing::TempFolder folder;
    testing::CurrentDirectoryScope inFolder{folder.path()};
    ProgramState state;
    QtUi ui;
};

TEST_F(QtResults, HeaderClickSortsTheView) {
    addRow({"1", "3"});
    addRow({"2", "10"});
    addRow({"3", "2"});
    ui.ListSetCurrentRow(WindowId::Main, kResultList, 1);
    clickHeader(1);
    EXPECT_TRUE(state.sortAscending);
    EXPECT_EQ(shown(1), (std::vector<std::string>{"2", "3", "10"}));
    EXPECT_EQ(shown(0), (std::vector<std::string>{"3", "1", "2"}));
    EXPECT_EQ(ui.ListCurrentRow(WindowId::Main, kResultList), 2);
    clickHeader(1);
    EXPECT_EQ(shown(1), (std::vector<std::string>{"10", "3", "2"}));
}

TEST_F(QtResults, FilterWindowRunsModallyAndWritesItsFile) {
    const std::string now = ToText(Now());
    addRow({"1", "668001", now, "北京", now, "上海"});
    addRow({"2", "668002", now, "广州", now, "上海"});
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* filter = ui.Window(WindowId::Filter);
        wasModal = filter && QApplication::activeModalWidget() == filter;
        if (!filter) return;
        Widget<QLineEdit>(WindowId::Filter, "起点")->setText(FromGbk("北京"));
        ui.AnswerNextMessageBox(0);
        QTest::mouseClick(Widget<QPushButton>(WindowId::Filter, "按钮1"), Qt::LeftButton);
        filter->close();
    });
    Widget<QPushButton>(WindowId::Main, "按钮4")->click();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(ui.IsWindowOpen(WindowId::Filter));
    EXPECT_EQ(shown(1), (std::vector<std::string>{"668001"}));
    const std::string text =
        ToText(BytesView(ReadFileBytes(joinPath(CurrentDirectory(), "北京－.txt"))));
    ASSERT_GE(text.size(), 10u);
    EXPECT_EQ(text.substr(0, 9), "起点:北京");
    EXPECT_EQ(text.substr(text.size() - 10), "\r\n668001\r\n");
    const auto boxes = ui.MessageBoxesShown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "全部保存完毕!");
    EXPECT_EQ(boxes[0].flags, 64);
}

}  // namespace
}  // namespace zelvo::qt
