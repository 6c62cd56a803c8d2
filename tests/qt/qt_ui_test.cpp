// What is particular to the Qt port (offscreen platform): the widgets built
// from the descriptions, the model behind the list views, the multi-line box,
// GBK conversion and the test seams. The port contract runs on it from
// tests/port/qt_port.cpp.
#include "qt_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <atomic>
#include <random>
#include <thread>

#include "forms/form.h"
#include "controls.h"
#include "gbk.h"
#include "list_model.h"
#include "qt_test_program.h"
#include "tab_control.h"
#include "text_printer.h"
#include "window_builder.h"

namespace zelvo::qt {
namespace {

constexpr const char* kResults = "超级列表框1";

using testing::SpinUntil;

class QtUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui_.SetEventHandler([this](const UiEvent& event) {
            events_.push_back(event);
            if (onEvent_) onEvent_(event);
        });
    }
    void TearDown() override { testing::DeleteClosedWindows(); }

    template <class T = QWidget>
    T* Widget(WindowId window, const char* name) {
        return testing::ControlWidget<T>(ui_, window, name);
    }

    int Count(WindowId window, std::string_view control, EventKind kind) const {
        int n = 0;
        for (const UiEvent& e : events_) {
            if (e.window == window && e.control == control && e.kind == kind) ++n;
        }
        return n;
    }

    QtUi ui_;
    std::vector<UiEvent> events_;
    std::function<void(const UiEvent&)> onEvent_;
};

// ---- windows built from their descriptions -------------------------------------

const char* ClassFor(ControlKind kind, bool multiLine) {
    switch (kind) {
        case ControlKind::EditBox:
            return multiLine ? "QPlainTextEdit" : "QLineEdit";
        case ControlKind::Label:
        case ControlKind::WebView:
        case ControlKind::PictureButton:
            return "QLabel";
        case ControlKind::Button:
            return "QPushButton";
        case ControlKind::CheckBox:
            return "QCheckBox";
        case ControlKind::RadioButton:
            return "QRadioButton";
        case ControlKind::GroupBox:
            return "QGroupBox";
        case ControlKind::ProgressBar:
            return "QProgressBar";
        case ControlKind::DatePicker:
            return "QDateTimeEdit";
        case ControlKind::ListView:
            return "QTreeView";
        case ControlKind::TabControl:
            return "zelvo::qt::TabControl";
    }
    return "";
}

class EveryWindowTest : public QtUiTest, public ::testing::WithParamInterface<WindowId> {};

TEST_P(EveryWindowTest, BuildsEveryControlAtItsPlaceAsItsWidget) {
    const WindowId id = GetParam();
    const WindowDesc& form = FormOf(id);
    // Not modal here, so that the test keeps control.
    ASSERT_TRUE(ui_.LoadWindow(id, false));
    QWidget* window = ui_.Window(id);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->objectName().isEmpty());
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "fixed border";
    EXPECT_EQ(window->size(), QSize(form.width - kFrameWidth, form.height - kFrameHeight));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(bool(flags & Qt::WindowMinimizeButtonHint), form.minimizeBox);
    EXPECT_EQ(window->windowIcon().isNull(), !form.hasIcon);
    if (form.hasIcon) {
        EXPECT_THAT(window->windowIcon().availableSizes(),
                    ::testing::UnorderedElementsAre(QSize(48, 48), QSize(32, 32), QSize(24, 24),
                                                    QSize(16, 16)));
    }

    for (const ControlDesc& d : form.controls) {
        SCOPED_TRACE(testing::GbkToUtf8ForDisplay(d.name));
        QWidget* w = window->findChild<QWidget*>(FromGbk(d.name));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(ClassFor(d.kind, d.multiLine))) << w->metaObject()->className();
        EXPECT_EQ(w->geometry(), QRect(d.left, d.top, d.width, d.height));
        EXPECT_EQ(w->isVisibleTo(w->parentWidget()), d.visible);
        // The parent is the described one: the window, a box or a tab page.
        if (d.parent.empty()) {
            EXPECT_EQ(w->parentWidget(), window);
        } else {
            QWidget* parent = window->findChild<QWidget*>(FromGbk(d.parent));
            ASSERT_NE(parent, nullptr);
            if (auto* tabs = qobject_cast<TabControl*>(parent)) {
                EXPECT_EQ(w->parentWidget(), tabs->Page(d.parentPage));
            } else {
                EXPECT_EQ(w->parentWidget(), parent);
            }
        }
        if (d.kind == ControlKind::EditBox && !d.multiLine) {
            EXPECT_EQ(static_cast<QLineEdit*>(w)->isReadOnly(), d.readOnly);
        }
        if (d.kind == ControlKind::ListView) {
            auto* view = static_cast<QTreeView*>(w);
            ASSERT_EQ(view->model()->columnCount(), static_cast<int>(d.columns.size()));
            for (size_t i = 0; i < d.columns.size(); ++i) {
                const int column = static_cast<int>(i);
                EXPECT_EQ(ToGbk(view->model()->headerData(column, Qt::Horizontal).toString()),
                          d.columns[i].title);
                EXPECT_EQ(view->header()->sectionSize(column), d.columns[i].width);
            }
            EXPECT_FALSE(view->isSortingEnabled());
            EXPECT_TRUE(view->header()->sectionsClickable());
            EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
            EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
            EXPECT_FALSE(view->rootIsDecorated());
        }
    }
}

std::string WindowName(const ::testing::TestParamInfo<WindowId>& info) {
    static constexpr const char* kNames[] = {"Main", "Filter", "ReferenceTemplates",
                                             "RecentNumbers"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(QtUi, EveryWindowTest,
                         ::testing::Values(WindowId::Main, WindowId::Filter,
                                           WindowId::ReferenceTemplates,
                                           WindowId::RecentNumbers),
                         WindowName);

TEST_F(QtUiTest, MainWindowTabsShowOnlyTheCurrentPagesControls) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* generated = Widget<QPlainTextEdit>(WindowId::Main, "生成内容");
    ASSERT_NE(generated, nullptr);
    EXPECT_EQ(generated->document()->blockCount(), 7);
    EXPECT_EQ(generated->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    auto* tabs = Widget<TabControl>(WindowId::Main, "高级选择夹1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->Bar()->count(), 2);
    EXPECT_EQ(ToGbk(tabs->Bar()->tabText(0)), "  单号生成  ");
    EXPECT_EQ(ToGbk(tabs->Bar()->tabText(1)), "   官方网站  ");
    EXPECT_EQ(tabs->Bar()->font().pixelSize(), 12);
    EXPECT_EQ(ToGbk(tabs->Bar()->font().families().value(0)), "宋体");
    EXPECT_TRUE(generated->isVisible());
    EXPECT_FALSE(Widget(WindowId::Main, "超文本浏览框2")->isVisible());
    QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
    EXPECT_TRUE(Widget(WindowId::Main, "超文本浏览框2")->isVisible());
    EXPECT_FALSE(generated->isVisible());
    ui_.SetCurrentPage(WindowId::Main, "高级选择夹1", 0);
    EXPECT_TRUE(generated->isVisible());
}

TEST_F(QtUiTest, EnterActivatesTheCurrentRow) {
    ui_.LoadWindow(WindowId::ReferenceTemplates, false);
    const char* list = "超级列表框1";
    for (const char* id : {"1", "2", "3"}) ui_.ListInsert(WindowId::ReferenceTemplates, list, -1, id, -1, -1, 0, 0);
    ui_.ListSetCurrentRow(WindowId::ReferenceTemplates, list, 2);
    QTest::keyClick(Widget(WindowId::ReferenceTemplates, list), Qt::Key_Return);
    ASSERT_EQ(Count(WindowId::ReferenceTemplates, list, EventKind::RowActivated), 1);
    EXPECT_EQ(events_.back().arg, 2);
}

TEST_F(QtUiTest, OpeningAMinimisedWindowRestoresIt) {
    auto copies = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<FormWindow*>(w) && w->isVisible()) ++n;
        }
        return n;
    };
    ui_.LoadWindow(WindowId::RecentNumbers, false);
    QWidget* first = ui_.Window(WindowId::RecentNumbers);
    first->showMinimized();
    EXPECT_TRUE(ui_.LoadWindow(WindowId::RecentNumbers, false));
    EXPECT_EQ(ui_.Window(WindowId::RecentNumbers), first);
    EXPECT_EQ(copies(), 1);
    EXPECT_FALSE(first->isMinimized());
}

// ---- control values -----------------------------------------------------------------

TEST_F(QtUiTest, ClickingARadioButtonUnchecksTheOthers) {
    ui_.LoadWindow(WindowId::RecentNumbers, false);
    EXPECT_TRUE(ui_.IsChecked(WindowId::RecentNumbers, "单选框1"));
    QTest::mouseClick(Widget(WindowId::RecentNumbers, "单选框2"), Qt::LeftButton);
    EXPECT_TRUE(ui_.IsChecked(WindowId::RecentNumbers, "单选框2"));
    EXPECT_FALSE(ui_.IsChecked(WindowId::RecentNumbers, "单选框1"));
}

TEST_F(QtUiTest, AppendTextLeavesTheCaretAtTheEndWithoutASelection) {
    ui_.LoadWindow(WindowId::Main, false);
    ui_.SetText(WindowId::Main, "生成内容", "1\r\n2");
    auto* edit = Widget<QPlainTextEdit>(WindowId::Main, "生成内容");
    edit->moveCursor(QTextCursor::Start);
    ui_.AppendText(WindowId::Main, "生成内容", "\r\n3\r\n");
    ui_.AppendText(WindowId::Main, "生成内容", "4");
    EXPECT_FALSE(edit->textCursor().hasSelection());
    EXPECT_TRUE(edit->textCursor().atEnd());
}

// A multi-line box is filled without QPlainTextEdit::setPlainText; it must end
// as that call leaves it, whatever the user did to the box before: the same
// text and character formats, the cursor at the start without a selection,
// no undo or redo, not modified, the first line at the top.
TEST_F(QtUiTest, FillingAMultiLineBoxEndsAsSetPlainTextEndsIt) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* box = Widget<QPlainTextEdit>(WindowId::Main, "生成内容");
    ASSERT_NE(box, nullptr);
    QPlainTextEdit twin(box->parentWidget());
    twin.setGeometry(box->geometry());
    twin.setFont(box->font());
    twin.setLineWrapMode(box->lineWrapMode());
    twin.setVerticalScrollBarPolicy(box->verticalScrollBarPolicy());
    twin.show();
    std::string many;
    for (int i = 0; i < 500; ++i) many += "268928453111111112201001010001" + std::to_string(i) + "\r\n";
    const std::vector<std::string> texts = {"", "1", "1\r\n2\r\n", many, "快递\r\n\r\n\r单号"};
    for (const std::string& text : texts) {
        for (QPlainTextEdit* edit : {box, &twin}) {
            // What a user may have left: typing (undo history), a selection,
            // the view scrolled down.
            edit->setPlainText(QString::fromStdString(many));
            edit->moveCursor(QTextCursor::End);
            edit->insertPlainText("typed\nhere");
            edit->undo();
            edit->insertPlainText("again");
            QTextCursor selection = edit->textCursor();
            selection.setPosition(3);
            selection.setPosition(40, QTextCursor::KeepAnchor);
            edit->setTextCursor(selection);
            edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
        }
        ui_.SetText(WindowId::Main, "生成内容", text);
        twin.setPlainText(FromGbkLines(text));
        QCoreApplication::processEvents();
        const std::string label = ::testing::PrintToString(text.substr(0, 20));
        EXPECT_EQ(box->toPlainText(), twin.toPlainText()) << label;
        EXPECT_EQ(box->blockCount(), twin.blockCount()) << label;
        EXPECT_EQ(box->textCursor().position(), 0) << label;
        EXPECT_EQ(box->textCursor().anchor(), 0) << label;
        EXPECT_EQ(box->currentCharFormat(), twin.currentCharFormat()) << label;
        EXPECT_EQ(box->document()->isUndoAvailable(), twin.document()->isUndoAvailable()) << label;
        EXPECT_EQ(box->document()->isRedoAvailable(), twin.document()->isRedoAvailable()) << label;
        EXPECT_EQ(box->document()->isModified(), twin.document()->isModified()) << label;
        EXPECT_EQ(box->verticalScrollBar()->value(), twin.verticalScrollBar()->value()) << label;
        EXPECT_EQ(box->verticalScrollBar()->value(), 0) << label;
        for (QTextBlock a = box->document()->begin(), b = twin.document()->begin();
             a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
            ASSERT_EQ(a.charFormat(), b.charFormat()) << label;
            ASSERT_EQ(a.blockFormat(), b.blockFormat()) << label;
            for (auto fa = a.begin(), fb = b.begin(); !fa.atEnd() && !fb.atEnd(); ++fa, ++fb) {
                ASSERT_EQ(fa.fragment().charFormat(), fb.fragment().charFormat()) << label;
            }
        }
        // Typing goes on as in a box filled by setPlainText.
        box->insertPlainText("x");
        twin.insertPlainText("x");
        EXPECT_EQ(box->toPlainText(), twin.toPlainText()) << label;
        EXPECT_EQ(box->document()->isUndoAvailable(), twin.document()->isUndoAvailable()) << label;
    }
}

TEST_F(QtUiTest, DatePickersShowTheValueAsQtDateTimes) {
    ui_.LoadWindow(WindowId::Filter, false);
    const QDateTime now = QDateTime::currentDateTime();
    const DateTime value = ui_.DateValue(WindowId::Filter, "发货时间始");
    const double nowDays = QDate(1899, 12, 30).daysTo(now.date()) +
                           now.time().msecsSinceStartOfDay() / 86400000.0;
    EXPECT_NEAR(value.days, nowDays, 60.0 / 86400);
    auto* picker = Widget<QDateTimeEdit>(WindowId::Filter, "发货时间始");
    EXPECT_TRUE(picker->calendarPopup());
    // Before the years a native picker takes, the value is kept all the same.
    ui_.SetDateValue(WindowId::Filter, "发货时间终", kNoDate);
    EXPECT_EQ(ui_.DateValue(WindowId::Filter, "发货时间终"), kNoDate);
    // The value is linear: -1.25 is a day and a quarter before day zero.
    ui_.SetDateValue(WindowId::Filter, "发货时间终", DateTime{-1.25});
    EXPECT_EQ(Widget<DatePicker>(WindowId::Filter, "发货时间终")->Value(),
              QDateTime(QDate(1899, 12, 28), QTime(18, 0)));
}

TEST_F(QtUiTest, ProgressBarWithMaximumZeroIsEmptyNotBusy) {
    // A run over no number and a filter pass over an empty list set the
    // maximum to 0; Qt would turn a 0..0 bar into a busy animation.
    ui_.LoadWindow(WindowId::Main, false);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 40);
    ui_.SetProgressMax(WindowId::Main, "进度条1", 0);
    const auto* bar = Widget<QProgressBar>(WindowId::Main, "进度条1");
    EXPECT_LT(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), 0);
    ui_.SetProgressMax(WindowId::Main, "进度条1", 3);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 3);
    EXPECT_EQ(bar->value(), bar->maximum());
}

// ---- the list model -----------------------------------------------------------------

// The filter pass: the list hidden, rows deleted from the last to the first.
// The model tester checks every notification against the rows the model
// reports; the view shows the rows kept, in their order, once shown again,
// and the cells as Chinese text.
TEST_F(QtUiTest, DeletingRowsFromTheLastToTheFirstKeepsTheViewInStep) {
    ui_.LoadWindow(WindowId::Main, false);
    const WindowId m = WindowId::Main;
    auto* view = Widget<QTreeView>(m, kResults);
    QAbstractItemModelTester tester(view->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<std::string> kept;
    for (int i = 0; i < 300; ++i) {
        const int row = ui_.ListInsert(m, kResults, -1, std::to_string(i), -1, -1, 0, i);
        ui_.ListSetText(m, kResults, row, 3, i % 3 ? "北京" : "上海");
        ui_.ListSetText(m, kResults, row, 5, "收货地点≤≌≥");
    }
    QCoreApplication::processEvents();
    ui_.SetVisible(m, kResults, false);
    for (int r = 299; r >= 0; --r) {
        if (ui_.ListGetText(m, kResults, r, 3) == "上海") ui_.ListDelete(m, kResults, r);
    }
    for (int i = 0; i < 300; ++i) {
        if (i % 3) kept.push_back(std::to_string(i));
    }
    ui_.SetVisible(m, kResults, true);
    QCoreApplication::processEvents();
    ASSERT_EQ(ui_.ListCount(m, kResults), static_cast<int>(kept.size()));
    ASSERT_EQ(view->model()->rowCount(), static_cast<int>(kept.size()));
    for (int r = 0; r < static_cast<int>(kept.size()); ++r) {
        EXPECT_EQ(view->model()->data(view->model()->index(r, 0)).toString().toStdString(),
                  kept[static_cast<size_t>(r)]);
    }
    EXPECT_EQ(ToGbk(view->model()->data(view->model()->index(1, 5)).toString()), "收货地点≤≌≥");
    ui_.ListInsert(m, kResults, 0, "first", -1, -1, 0, 0);
    ui_.ListInsert(m, kResults, -1, "last", -1, -1, 0, 0);
    EXPECT_TRUE(SpinUntil([&] { return view->model()->rowCount() == ui_.ListCount(m, kResults); }));
}

TEST_F(QtUiTest, AWorkerThreadsCallsAreCarriedOutOnTheGuiThread) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* view = Widget<QTreeView>(WindowId::Main, kResults);
    std::atomic<int> insertsOffGuiThread{0};
    QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, view, [&] {
        if (QThread::currentThread() != qApp->thread()) ++insertsOffGuiThread;
    });
    std::atomic<bool> done{false};
    std::thread worker([&] {
        ui_.SetText(WindowId::Main, "效验线程", "12");
        const int row = ui_.ListInsert(WindowId::Main, kResults, -1, "1", -1, -1, 0, 0);
        ui_.ListSetText(WindowId::Main, kResults, row, 1, "368609071200");
        done = true;
    });
    const bool finished = SpinUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(insertsOffGuiThread, 0);
    EXPECT_EQ(ToGbk(Widget<QLineEdit>(WindowId::Main, "效验线程")->text()), "12");
    // The view gets the appended row with its next batch.
    EXPECT_TRUE(SpinUntil([&] { return view->model()->rowCount() == 1; }));
    EXPECT_EQ(ToGbk(view->model()->data(view->model()->index(0, 1)).toString()), "368609071200");
}

TEST_F(QtUiTest, AppendedRowsReachTheViewInBatchesAndOtherChangesAtOnce) {
    ui_.LoadWindow(WindowId::Main, false);
    const WindowId m = WindowId::Main;
    QAbstractItemModel* model = Widget<QTreeView>(m, kResults)->model();
    for (int i = 0; i < 5; ++i) ui_.ListInsert(m, kResults, -1, std::to_string(i), -1, -1, 0, 0);
    // The port sees every row at once; the view after the event loop ran.
    EXPECT_EQ(ui_.ListCount(m, kResults), 5);
    EXPECT_TRUE(SpinUntil([&] { return model->rowCount() == 5; }));
    ui_.ListInsert(m, kResults, -1, "5", -1, -1, 0, 0);
    ui_.ListInsert(m, kResults, -1, "6", -1, -1, 0, 0);
    // A change in the middle hands the pending rows over first.
    ui_.ListDelete(m, kResults, 0);
    EXPECT_EQ(model->rowCount(), 6);
    EXPECT_EQ(model->data(model->index(5, 0)).toString(), "6");
    ui_.ListInsert(m, kResults, 2, "x", -1, -1, 0, 0);
    EXPECT_EQ(model->rowCount(), 7);
    EXPECT_EQ(model->data(model->index(2, 0)).toString(), "x");
    ui_.ListInsert(m, kResults, -1, "7", -1, -1, 0, 0);
    ui_.ListSetCurrentRow(m, kResults, 7);
    EXPECT_EQ(ui_.ListCurrentRow(m, kResults), 7);
    ui_.ListClear(m, kResults);
    EXPECT_EQ(model->rowCount(), 0);
}

// ---- test seams ------------------------------------------------------------------

TEST_F(QtUiTest, SeamsAnswerMessageBoxesAndFolderBrowsersWithoutShowingThem) {
    ui_.AnswerNextMessageBox(1);
    ui_.AnswerNextMessageBox(0);
    EXPECT_EQ(ui_.MessageBox("确定要退出吗?", 65, "提示"), 1);
    EXPECT_EQ(ui_.MessageBox("全部保存完毕!", 64, "恭喜你!"), 0);
    const std::vector<ShownMessageBox> shown = ui_.MessageBoxesShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "确定要退出吗?");
    EXPECT_EQ(shown[0].caption, "提示");
    EXPECT_EQ(shown[0].flags, 65);
    EXPECT_EQ(shown[1].caption, "恭喜你!");
    ui_.AnswerNextBrowse("/tmp/结果");
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", false), "/tmp/结果");
}

// ---- dialogs and GBK ------------------------------------------------------------------

TEST_F(QtUiTest, FolderBrowserDropsTheTrailingSeparatorOfATypedPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + "/saved";
    ASSERT_TRUE(QDir().mkpath(folder));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        auto* path = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (path) {
            path->setText(folder + "/");
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", false), ToGbk(folder));
}

TEST(GbkTest, RoundTripsChineseAndMarksWhatGbkCannotHold) {
    EXPECT_EQ(FromGbk("\xBF\xEC\xB5\xDD"), QString::fromUtf16(u"快递"));
    EXPECT_EQ(ToGbk(QString::fromUtf16(u"≤≌≥")), "\xA1\xDC\xA1\xD5\xA1\xDD");
    bool lossless = true;
    EXPECT_EQ(ToGbk(QString::fromUtf16(u"a\U0001F600b"), &lossless), "a?b");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(FromGbk("a\xFF"), QString::fromUtf16(u"a\uFFFD"));
    // A lone surrogate is one unconvertible character, not two.
    EXPECT_EQ(ToGbk(QString(QChar(0xD800)) + "ab"), "?ab");
    EXPECT_EQ(ToGbk("a" + QString(QChar(0xD800))), "a?");
}

// Multi-line boxes: the one-pass conversions give what replacing the line ends
// on the whole text gives, for texts made of line-end pieces, Chinese,
// bytes that are not GBK and characters that GBK cannot hold.
TEST(GbkTest, LineEndConversionsMatchReplacingOnTheWholeText) {
    const std::vector<std::string> gbkPieces = {"\r", "\n", "\r\n", "a", "\xBF\xEC", "\xFF", "\x81"};
    const std::vector<QString> widgetPieces = {
        "\r", "\n", "\r\n", "a", QString::fromUtf16(u"快"), QString::fromUtf16(u"\U0001F600"),
        QString(QChar(0xD800))};
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
        const int length = static_cast<int>(random() % 12);
        std::string gbk;
        QString widget;
        for (int i = 0; i < length; ++i) {
            gbk += gbkPieces[random() % gbkPieces.size()];
            widget += widgetPieces[random() % widgetPieces.size()];
        }
        QString replaced = FromGbk(gbk);
        replaced.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        ASSERT_EQ(FromGbkLines(gbk), replaced) << ::testing::PrintToString(gbk);
        QString widened = widget;
        widened.replace(QChar('\n'), QStringLiteral("\r\n"));
        ASSERT_EQ(ToGbkLines(widget), ToGbk(widened)) << widget.toStdU16String().size();
    }
    EXPECT_EQ(FromGbkLines("1\r\n2\r\r\n\n\r"), QString("1\n2\r\n\n\r"));
    EXPECT_EQ(ToGbkLines(QString::fromUtf16(u"快\n\r\n")), "\xBF\xEC\r\n\r\r\n");
    EXPECT_EQ(ToGbkLines(QString()), "");
    EXPECT_EQ(FromGbkLines(""), QString());
}

}  // namespace
}  // namespace zelvo::qt
