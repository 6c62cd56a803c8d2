// The UI port's contract on real Qt widgets (offscreen platform): windows
// built from their descriptions, events, modality, cross-thread calls and
// the dialog seams.
#include "qt_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
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

using ::testing::ElementsAre;

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

TEST_P(EveryWindowTest, BuildsEveryControlAtItsPlaceWithItsCaptionOrDefault) {
    const WindowId id = GetParam();
    const WindowDesc& form = FormOf(id);
    // Not modal here, so that the test keeps control.
    ASSERT_TRUE(ui_.LoadWindow(id, false));
    QWidget* window = ui_.Window(id);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->objectName().isEmpty());
    EXPECT_EQ(ToGbk(window->windowTitle()), form.caption);
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
        EXPECT_EQ(ui_.IsVisible(id, d.name), d.visible);
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
        switch (d.kind) {
            case ControlKind::EditBox:
            case ControlKind::Label:
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
            case ControlKind::GroupBox:
            case ControlKind::WebView:
                EXPECT_EQ(ui_.GetText(id, d.name), d.text);
                break;
            default:
                break;
        }
        if (d.kind == ControlKind::EditBox && !d.multiLine) {
            EXPECT_EQ(static_cast<QLineEdit*>(w)->isReadOnly(), d.readOnly);
        }
        if (d.kind == ControlKind::CheckBox || d.kind == ControlKind::RadioButton) {
            EXPECT_EQ(ui_.IsChecked(id, d.name), d.checked);
        }
        if (d.kind == ControlKind::ListView) {
            auto* view = static_cast<QTreeView*>(w);
            ASSERT_EQ(ui_.ListColumnCount(id, d.name), static_cast<int>(d.columns.size()));
            EXPECT_EQ(ui_.ListCount(id, d.name), 0);
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

TEST_F(QtUiTest, MainWindowShowsTheGenerationDefaultsAndResultColumns) {
    ui_.LoadWindow(WindowId::Main, false);
    EXPECT_EQ(ui_.GetText(WindowId::Main, {}), "Zelvo快递单号生成器V4.30版");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "规则"), "{固数1}+{递增}+{时间}+{随机}");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "生成个数框"), "50");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "效验线程"), "30");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "生成内容"),
              "368609071200\r\n368609071245\r\n368609071214\r\n368609071261\r\n"
              "368609071295\r\n368609071286\r\n368609071256");
    auto* generated = Widget<QPlainTextEdit>(WindowId::Main, "生成内容");
    ASSERT_NE(generated, nullptr);
    EXPECT_EQ(generated->document()->blockCount(), 7);
    EXPECT_EQ(generated->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    auto* view = Widget<QTreeView>(WindowId::Main, kResults);
    ASSERT_NE(view, nullptr);
    std::vector<std::string> titles;
    for (int i = 0; i < view->model()->columnCount(); ++i) {
        titles.push_back(ToGbk(view->model()->headerData(i, Qt::Horizontal).toString()));
    }
    EXPECT_THAT(titles, ElementsAre("序号", "定单号码", "出发时间", "出发地点", "收货时间",
                                    "收货地点"));

    auto* tabs = Widget<TabControl>(WindowId::Main, "高级选择夹1");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->Bar()->count(), 2);
    EXPECT_EQ(ToGbk(tabs->Bar()->tabText(0)), "  单号生成  ");
    EXPECT_EQ(ToGbk(tabs->Bar()->tabText(1)), "   官方网站  ");
    EXPECT_EQ(tabs->Bar()->font().pixelSize(), 12);
    EXPECT_EQ(ToGbk(tabs->Bar()->font().families().value(0)), "宋体");
    EXPECT_EQ(ui_.CurrentPage(WindowId::Main, "高级选择夹1"), 0);
    EXPECT_EQ(ui_.ProgressPos(WindowId::Main, "进度条1"), 0);
    // Only the current page's controls show.
    EXPECT_TRUE(Widget(WindowId::Main, "生成内容")->isVisible());
    EXPECT_FALSE(Widget(WindowId::Main, "超文本浏览框2")->isVisible());
}

TEST_F(QtUiTest, WindowsOpenCentredOnTheScreenByTheirOuterSize) {
    ui_.LoadWindow(WindowId::Filter, false);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(ui_.WindowLeft(WindowId::Filter), screen.x() + (screen.width() - 503) / 2);
    EXPECT_EQ(ui_.WindowTop(WindowId::Filter), screen.y() + (screen.height() - 204) / 2);
    ui_.MoveWindow(WindowId::Filter, 40, 30);
    EXPECT_EQ(ui_.WindowLeft(WindowId::Filter), 40);
    EXPECT_EQ(ui_.WindowTop(WindowId::Filter), 30);
}

TEST_F(QtUiTest, CourierBoxCannotBeTypedInto) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* courier = Widget<QLineEdit>(WindowId::Main, "快递类型");
    ASSERT_NE(courier, nullptr);
    EXPECT_TRUE(courier->isReadOnly());
    QTest::keyClicks(courier, "abc");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "快递类型"), "");
    // Applying a rule is the only way in.
    ui_.SetText(WindowId::Main, "快递类型", "申通快递");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "快递类型"), "申通快递");
}

// ---- events -----------------------------------------------------------------

TEST_F(QtUiTest, WindowEventsComeInTheirOrder) {
    ui_.LoadWindow(WindowId::ReferenceTemplates, false);
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_.front().kind, EventKind::Created);
    EXPECT_EQ(events_.front().window, WindowId::ReferenceTemplates);
    ASSERT_TRUE(SpinUntil(
        [&] { return Count(WindowId::ReferenceTemplates, {}, EventKind::FirstActivated) == 1; }));
    ui_.CloseWindow(WindowId::ReferenceTemplates);
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::ReferenceTemplates));
    // Reopening builds it anew and runs its events again.
    ui_.LoadWindow(WindowId::ReferenceTemplates, false);
    EXPECT_EQ(Count(WindowId::ReferenceTemplates, {}, EventKind::Created), 2);
    ASSERT_TRUE(SpinUntil(
        [&] { return Count(WindowId::ReferenceTemplates, {}, EventKind::FirstActivated) == 2; }));
}

TEST_F(QtUiTest, MainWindowCloseBoxDestroysItAfterItsEvent) {
    ui_.LoadWindow(WindowId::Main, false);
    ui_.LoadWindow(WindowId::RecentNumbers, false);
    bool controlsDuringEvent = false;
    onEvent_ = [&](const UiEvent& e) {
        if (e.kind == EventKind::AboutToBeDestroyed) {
            controlsDuringEvent = ui_.GetText(WindowId::Main, "效验线程") == "30";
        }
    };
    ui_.Window(WindowId::Main)->close();
    EXPECT_EQ(Count(WindowId::Main, {}, EventKind::AboutToBeDestroyed), 1);
    EXPECT_TRUE(controlsDuringEvent);
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::Main));
    // The other windows go with it.
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::RecentNumbers));
}

TEST_F(QtUiTest, ButtonClickReachesTheHandler) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* button = Widget<QPushButton>(WindowId::Main, "按钮2");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ToGbk(button->text()), "生成");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(Count(WindowId::Main, "按钮2", EventKind::Clicked), 1);
    // Unbound controls raise nothing.
    events_.clear();
    QTest::mouseClick(Widget(WindowId::Main, "标签1"), Qt::LeftButton);
    EXPECT_TRUE(events_.empty());
}

TEST_F(QtUiTest, HeaderClickGivesTheColumnToTheHandlerAndQtDoesNotSort) {
    ui_.LoadWindow(WindowId::Main, false);
    for (const char* number : {"3", "1", "2"}) ui_.ListInsert(WindowId::Main, kResults, -1, number, -1, -1, 0, 0);
    auto* view = Widget<QTreeView>(WindowId::Main, kResults);
    ASSERT_NE(view, nullptr);
    QHeaderView* header = view->header();
    const QPoint onColumn2(header->sectionViewportPosition(2) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onColumn2);
    ASSERT_EQ(Count(WindowId::Main, kResults, EventKind::HeaderClicked), 1);
    EXPECT_EQ(events_.back().arg, 2);
    const QPoint onColumn0(header->sectionViewportPosition(0) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onColumn0);
    EXPECT_EQ(events_.back().arg, 0);
    EXPECT_FALSE(view->isSortingEnabled());
    EXPECT_EQ(ui_.ListGetText(WindowId::Main, kResults, 0, 0), "3");
    EXPECT_EQ(ui_.ListGetText(WindowId::Main, kResults, 1, 0), "1");
}

TEST_F(QtUiTest, DoubleClickOrEnterActivatesARow) {
    ui_.LoadWindow(WindowId::ReferenceTemplates, false);
    const char* list = "超级列表框1";
    for (const char* id : {"1", "2", "3"}) {
        const int row = ui_.ListInsert(WindowId::ReferenceTemplates, list, -1, id, -1, -1, 0, 0);
        ui_.ListSetText(WindowId::ReferenceTemplates, list, row, 1, "申通");
    }
    auto* view = Widget<QTreeView>(WindowId::ReferenceTemplates, list);
    ASSERT_NE(view, nullptr);
    QCoreApplication::processEvents();  // lays the rows out
    const QRect second = view->visualRect(view->model()->index(1, 0));
    // A real double click: press, release, then the double click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(Count(WindowId::ReferenceTemplates, list, EventKind::RowActivated), 1);
    EXPECT_EQ(events_.back().arg, 1);
    EXPECT_EQ(ui_.ListCurrentRow(WindowId::ReferenceTemplates, list), 1);
    ui_.ListSetCurrentRow(WindowId::ReferenceTemplates, list, 2);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(Count(WindowId::ReferenceTemplates, list, EventKind::RowActivated), 2);
    EXPECT_EQ(events_.back().arg, 2);
}

TEST_F(QtUiTest, TabChangeByTheUserIsAnEventAndByCodeIsNot) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* tabs = Widget<TabControl>(WindowId::Main, "高级选择夹1");
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
    ASSERT_EQ(Count(WindowId::Main, "高级选择夹1", EventKind::PageChanged), 1);
    EXPECT_EQ(events_.back().arg, 1);
    EXPECT_TRUE(Widget(WindowId::Main, "超文本浏览框2")->isVisible());
    EXPECT_FALSE(Widget(WindowId::Main, "生成内容")->isVisible());
    ui_.SetCurrentPage(WindowId::Main, "高级选择夹1", 0);
    EXPECT_EQ(ui_.CurrentPage(WindowId::Main, "高级选择夹1"), 0);
    EXPECT_EQ(Count(WindowId::Main, "高级选择夹1", EventKind::PageChanged), 1);
    EXPECT_TRUE(Widget(WindowId::Main, "生成内容")->isVisible());
}

// ---- modality and the already-open rule ------------------------------------------

TEST_F(QtUiTest, ModalFilterWindowBlocksTheMainWindowUntilItCloses) {
    ui_.LoadWindow(WindowId::Main, false);
    ASSERT_TRUE(ui_.IsEnabled(WindowId::Main, {}));
    bool mainEnabledMeanwhile = true;
    bool filterEnabledMeanwhile = false;
    bool filterWasModal = false;
    int clicksWhileBlocked = -1;
    QTimer::singleShot(0, [&] {
        QWidget* filter = ui_.Window(WindowId::Filter);
        filterWasModal = filter && QApplication::activeModalWidget() == filter;
        mainEnabledMeanwhile = ui_.IsEnabled(WindowId::Main, {});
        filterEnabledMeanwhile = ui_.IsEnabled(WindowId::Filter, {});
        // A click on the blocked main window, delivered as the window
        // system delivers it, reaches no handler.
        testing::ClickThroughWindowSystem(ui_, WindowId::Main, "按钮2");
        clicksWhileBlocked = Count(WindowId::Main, "按钮2", EventKind::Clicked);
        if (filter) filter->close();  // the close box
    });
    ASSERT_TRUE(ui_.LoadWindow(WindowId::Filter, true));
    // LoadWindow returned only after the window had closed.
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::Filter));
    EXPECT_TRUE(filterWasModal);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(filterEnabledMeanwhile);
    EXPECT_EQ(clicksWhileBlocked, 0);
    EXPECT_TRUE(ui_.IsEnabled(WindowId::Main, {}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    testing::ClickThroughWindowSystem(ui_, WindowId::Main, "按钮2");
    EXPECT_EQ(Count(WindowId::Main, "按钮2", EventKind::Clicked), 1);
}

TEST_F(QtUiTest, ModalWindowClosedByItsOwnCreatedEventReturnsAtOnce) {
    onEvent_ = [&](const UiEvent& e) {
        if (e.window == WindowId::Filter && e.kind == EventKind::Created) {
            ui_.CloseWindow(WindowId::Filter);
        }
    };
    EXPECT_TRUE(ui_.LoadWindow(WindowId::Filter, true));
    EXPECT_FALSE(ui_.IsWindowOpen(WindowId::Filter));
    EXPECT_EQ(Count(WindowId::Filter, {}, EventKind::Created), 1);
}

TEST_F(QtUiTest, OpeningAnOpenWindowRaisesItAndMakesNoSecondCopy) {
    auto copies = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<FormWindow*>(w) && w->isVisible()) ++n;
        }
        return n;
    };
    ui_.LoadWindow(WindowId::RecentNumbers, false);
    QWidget* first = ui_.Window(WindowId::RecentNumbers);
    ui_.SetText(WindowId::RecentNumbers, "编辑框1", "123456789012");
    first->showMinimized();
    EXPECT_TRUE(ui_.LoadWindow(WindowId::RecentNumbers, false));
    EXPECT_EQ(ui_.Window(WindowId::RecentNumbers), first);
    EXPECT_EQ(copies(), 1);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_EQ(Count(WindowId::RecentNumbers, {}, EventKind::Created), 1);
    // Still the same window, contents kept.
    EXPECT_EQ(ui_.GetText(WindowId::RecentNumbers, "编辑框1"), "123456789012");
}

// ---- control values -----------------------------------------------------------------

TEST_F(QtUiTest, RadioButtonsOfAWindowFormOneGroup) {
    ui_.LoadWindow(WindowId::RecentNumbers, false);
    EXPECT_TRUE(ui_.IsChecked(WindowId::RecentNumbers, "单选框1"));
    QTest::mouseClick(Widget(WindowId::RecentNumbers, "单选框2"), Qt::LeftButton);
    EXPECT_TRUE(ui_.IsChecked(WindowId::RecentNumbers, "单选框2"));
    EXPECT_FALSE(ui_.IsChecked(WindowId::RecentNumbers, "单选框1"));
    ui_.SetChecked(WindowId::RecentNumbers, "单选框1", true);
    EXPECT_FALSE(ui_.IsChecked(WindowId::RecentNumbers, "单选框2"));
    // Code may uncheck the checked one; the user cannot.
    ui_.SetChecked(WindowId::RecentNumbers, "单选框1", false);
    EXPECT_FALSE(ui_.IsChecked(WindowId::RecentNumbers, "单选框1"));
}

TEST_F(QtUiTest, AppendTextAddsAtTheEndWithoutClearingOrSelecting) {
    ui_.LoadWindow(WindowId::Main, false);
    ui_.SetText(WindowId::Main, "生成内容", "1\r\n2");
    auto* edit = Widget<QPlainTextEdit>(WindowId::Main, "生成内容");
    edit->moveCursor(QTextCursor::Start);
    ui_.AppendText(WindowId::Main, "生成内容", "\r\n3\r\n");
    ui_.AppendText(WindowId::Main, "生成内容", "4");
    EXPECT_EQ(ui_.GetText(WindowId::Main, "生成内容"), "1\r\n2\r\n3\r\n4");
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

TEST_F(QtUiTest, DatePickersStartNowAndKeepTheTimeOfDay) {
    ui_.LoadWindow(WindowId::Filter, false);
    const QDateTime now = QDateTime::currentDateTime();
    const DateTime value = ui_.DateValue(WindowId::Filter, "发货时间始");
    const double nowDays = QDate(1899, 12, 30).daysTo(now.date()) +
                           now.time().msecsSinceStartOfDay() / 86400000.0;
    EXPECT_NEAR(value.days, nowDays, 60.0 / 86400);
    auto* picker = Widget<QDateTimeEdit>(WindowId::Filter, "发货时间始");
    EXPECT_TRUE(picker->calendarPopup());
    // 2010-01-05 09:30:15, and a time before 1899-12-30: the value is linear,
    // -1.25 is a day and a quarter before it.
    for (double days : {40183.0 + (9 * 3600 + 30 * 60 + 15) / 86400.0, -1.25, kNoDate.days}) {
        ui_.SetDateValue(WindowId::Filter, "发货时间终", DateTime{days});
        EXPECT_NEAR(ui_.DateValue(WindowId::Filter, "发货时间终").days, days, 0.5 / 86400) << days;
    }
    ui_.SetDateValue(WindowId::Filter, "发货时间终", DateTime{-1.25});
    EXPECT_EQ(Widget<DatePicker>(WindowId::Filter, "发货时间终")->Value(),
              QDateTime(QDate(1899, 12, 28), QTime(18, 0)));
}

TEST_F(QtUiTest, ProgressBarClampsItsPositionToTheRange) {
    ui_.LoadWindow(WindowId::Main, false);
    EXPECT_EQ(ui_.ProgressMax(WindowId::Main, "进度条1"), 100);
    ui_.SetProgressMax(WindowId::Main, "进度条1", 7);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 3);
    EXPECT_EQ(ui_.ProgressPos(WindowId::Main, "进度条1"), 3);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 9);
    EXPECT_EQ(ui_.ProgressPos(WindowId::Main, "进度条1"), 7);
}

TEST_F(QtUiTest, ProgressBarWithMaximumZeroIsEmptyNotBusy) {
    // A run over no number and a filter pass over an empty list set the
    // maximum to 0; Qt would turn a 0..0 bar into a busy animation.
    ui_.LoadWindow(WindowId::Main, false);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 40);
    ui_.SetProgressMax(WindowId::Main, "进度条1", 0);
    EXPECT_EQ(ui_.ProgressMax(WindowId::Main, "进度条1"), 0);
    EXPECT_EQ(ui_.ProgressPos(WindowId::Main, "进度条1"), 0);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 1);
    EXPECT_EQ(ui_.ProgressPos(WindowId::Main, "进度条1"), 0);
    const auto* bar = Widget<QProgressBar>(WindowId::Main, "进度条1");
    EXPECT_LT(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), 0);
    ui_.SetProgressMax(WindowId::Main, "进度条1", 3);
    ui_.SetProgressPos(WindowId::Main, "进度条1", 3);
    EXPECT_EQ(ui_.ProgressMax(WindowId::Main, "进度条1"), 3);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(QtUiTest, ListOperationsKeepCellsImagesAndValues) {
    ui_.LoadWindow(WindowId::Main, false);
    const WindowId m = WindowId::Main;
    EXPECT_EQ(ui_.ListInsert(m, kResults, -1, "a", 4, 2, 0, 77), 0);
    EXPECT_EQ(ui_.ListInsert(m, kResults, -1, "c", -1, -1, 0, 0), 1);
    EXPECT_EQ(ui_.ListInsert(m, kResults, 1, "b", -1, -1, 0, 0), 1);
    EXPECT_EQ(ui_.ListInsert(m, kResults, 99, "d", -1, -1, 0, 0), 3);
    ui_.ListSetText(m, kResults, 2, 5, "收货地点≤≌≥");
    EXPECT_EQ(ui_.ListGetText(m, kResults, 2, 0), "c");
    EXPECT_EQ(ui_.ListGetText(m, kResults, 2, 5), "收货地点≤≌≥");
    EXPECT_EQ(ui_.ListGetText(m, kResults, 2, 6), "");
    EXPECT_EQ(ui_.ListGetText(m, kResults, 9, 0), "");
    EXPECT_EQ(ui_.ListGetImage(m, kResults, 0, 0), 4);
    EXPECT_EQ(ui_.ListGetStateImage(m, kResults, 0), 2);
    EXPECT_EQ(ui_.ListGetData(m, kResults, 0), 77);
    ui_.ListSetImage(m, kResults, 1, 3, 5);
    ui_.ListSetStateImage(m, kResults, 1, 1);
    ui_.ListSetData(m, kResults, 1, -3);
    EXPECT_EQ(ui_.ListGetImage(m, kResults, 1, 3), 5);
    EXPECT_EQ(ui_.ListGetStateImage(m, kResults, 1), 1);
    EXPECT_EQ(ui_.ListGetData(m, kResults, 1), -3);
    ui_.ListDelete(m, kResults, 0);
    EXPECT_EQ(ui_.ListCount(m, kResults), 3);
    EXPECT_EQ(ui_.ListGetText(m, kResults, 0, 0), "b");
    // The view shows the cells as Chinese text.
    auto* view = Widget<QTreeView>(m, kResults);
    EXPECT_EQ(ToGbk(view->model()->data(view->model()->index(1, 5)).toString()), "收货地点≤≌≥");
    ui_.ListSetCurrentRow(m, kResults, 1);
    EXPECT_EQ(ui_.ListCurrentRow(m, kResults), 1);
    ui_.ListEnsureVisible(m, kResults, 2);
    ui_.ListClear(m, kResults);
    EXPECT_EQ(ui_.ListCount(m, kResults), 0);
    EXPECT_EQ(ui_.ListColumnCount(m, kResults), 6);
    EXPECT_EQ(ui_.ListCurrentRow(m, kResults), -1);
}

// The filter pass: the list hidden, rows deleted from the last to the first.
// The model tester checks every notification against the rows the model
// reports; the view shows the rows kept, in their order, once shown again.
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
        EXPECT_EQ(ui_.ListGetData(m, kResults, r), std::stoi(kept[static_cast<size_t>(r)]));
    }
    // Rows appended and inserted after the pass land where they should.
    ui_.ListInsert(m, kResults, 0, "first", -1, -1, 0, 0);
    ui_.ListInsert(m, kResults, -1, "last", -1, -1, 0, 0);
    EXPECT_TRUE(SpinUntil([&] { return view->model()->rowCount() == ui_.ListCount(m, kResults); }));
    EXPECT_EQ(ui_.ListGetText(m, kResults, 0, 0), "first");
    EXPECT_EQ(ui_.ListGetText(m, kResults, 1, 0), kept.front());
    EXPECT_EQ(ui_.ListGetText(m, kResults, ui_.ListCount(m, kResults) - 1, 0), "last");
}

TEST_F(QtUiTest, AHundredThousandRowsGoIn) {
    ui_.LoadWindow(WindowId::Main, false);
    const WindowId m = WindowId::Main;
    for (int i = 0; i < 100000; ++i) {
        const int row = ui_.ListInsert(m, kResults, -1, std::to_string(i + 1), -1, -1, 0, 0);
        ui_.ListSetText(m, kResults, row, 1, "368609071200");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(ui_.ListCount(m, kResults), 100000);
    EXPECT_EQ(ui_.ListGetText(m, kResults, 99999, 0), "100000");
    ui_.ListEnsureVisible(m, kResults, 99999);
    QCoreApplication::processEvents();
}

// ---- threads -------------------------------------------------------------------------

TEST_F(QtUiTest, AWorkerThreadsCallsAreCarriedOutOnTheGuiThread) {
    ui_.LoadWindow(WindowId::Main, false);
    auto* view = Widget<QTreeView>(WindowId::Main, kResults);
    std::atomic<int> insertsOffGuiThread{0};
    QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, view, [&] {
        if (QThread::currentThread() != qApp->thread()) ++insertsOffGuiThread;
    });
    std::atomic<bool> done{false};
    std::string seenText;
    int row = -1;
    int count = 0;
    std::thread worker([&] {
        ui_.SetText(WindowId::Main, "效验线程", "12");
        row = ui_.ListInsert(WindowId::Main, kResults, -1, "1", -1, -1, 0, 0);
        ui_.ListSetText(WindowId::Main, kResults, row, 1, "368609071200");
        // Each call has been carried out when it returns.
        seenText = ui_.GetText(WindowId::Main, "效验线程");
        count = ui_.ListCount(WindowId::Main, kResults);
        done = true;
    });
    const bool finished = SpinUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(seenText, "12");
    EXPECT_EQ(insertsOffGuiThread, 0);
    EXPECT_EQ(ToGbk(Widget<QLineEdit>(WindowId::Main, "效验线程")->text()), "12");
    EXPECT_EQ(ui_.ListGetText(WindowId::Main, kResults, 0, 1), "368609071200");
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

TEST_F(QtUiTest, AWorkersMessageBoxBlocksOnlyTheWorker) {
    ui_.LoadWindow(WindowId::Main, false);
    std::atomic<int> result{-1};
    std::thread worker([&] { result = ui_.MessageBox("验证完毕", 65, "信息："); });
    QMessageBox* box = nullptr;
    const bool shown = SpinUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
        }
        return box != nullptr;
    });
    if (!shown) ui_.Shutdown();
    ASSERT_TRUE(shown);
    // The program's windows stay usable meanwhile.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(ui_.IsEnabled(WindowId::Main, {}));
    QTest::mouseClick(Widget(WindowId::Main, "按钮2"), Qt::LeftButton);
    EXPECT_EQ(Count(WindowId::Main, "按钮2", EventKind::Clicked), 1);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(ToGbk(box->windowTitle()), "信息：");
    QAbstractButton* cancel = nullptr;
    for (QAbstractButton* b : box->buttons()) {
        if (ToGbk(b->text()) == "取消") cancel = b;
    }
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    ASSERT_TRUE(SpinUntil([&] { return result != -1; }));
    worker.join();
    EXPECT_EQ(result, 1);
}

TEST_F(QtUiTest, ClosingTheMainWindowReleasesWaitingWorkers) {
    ui_.LoadWindow(WindowId::Main, false);
    std::atomic<int> result{-1};
    std::thread worker([&] { result = ui_.MessageBox("还在等", 65, "信息："); });
    // Wait until the box is up, then end the program without answering it.
    ASSERT_TRUE(SpinUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(w) && w->isVisible()) return true;
        }
        return false;
    }));
    ui_.CloseWindow(WindowId::Main);
    worker.join();
    EXPECT_EQ(result, 1) << "as if cancelled";
    // Later calls from workers return at once with neutral values.
    int count = -1;
    std::thread late([&] { count = ui_.ListCount(WindowId::Main, kResults); });
    late.join();
    EXPECT_EQ(count, 0);
}

// ---- dialogs -------------------------------------------------------------------------

TEST_F(QtUiTest, MessageBoxAnswersThroughTheSeamAreRecorded) {
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
}

struct BoxCase {
    int flags;
    QMessageBox::Icon icon;
    std::vector<std::string> buttons;
    const char* press;  // nullptr: the close box
    int result;
};

class RealMessageBoxTest : public QtUiTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(RealMessageBoxTest, ShowsIconAndButtonsAndGivesTheWrittenResult) {
    const BoxCase& c = GetParam();
    ui_.LoadWindow(WindowId::Main, false);
    QMessageBox::Icon icon{};
    std::vector<std::string> buttons;
    bool mainBlocked = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        mainBlocked = !ui_.IsEnabled(WindowId::Main, {});
        icon = box->icon();
        for (QAbstractButton* b : box->buttons()) buttons.push_back(ToGbk(b->text()));
        if (!c.press) {
            box->close();
            return;
        }
        for (QAbstractButton* b : box->buttons()) {
            if (ToGbk(b->text()) == c.press) b->click();
        }
    });
    EXPECT_EQ(ui_.MessageBox("快递类型不能为空，请先选择快递类型!", c.flags, "错误"), c.result);
    EXPECT_TRUE(mainBlocked);
    EXPECT_EQ(icon, c.icon);
    EXPECT_THAT(buttons, ::testing::UnorderedElementsAreArray(c.buttons));
}

INSTANTIATE_TEST_SUITE_P(
    QtUi, RealMessageBoxTest,
    ::testing::Values(BoxCase{16, QMessageBox::Critical, {"确定"}, "确定", 0},
                      BoxCase{64, QMessageBox::Information, {"确定"}, nullptr, 0},
                      BoxCase{65, QMessageBox::Information, {"确定", "取消"}, "确定", 0},
                      BoxCase{65, QMessageBox::Information, {"确定", "取消"}, "取消", 1},
                      BoxCase{65, QMessageBox::Information, {"确定", "取消"}, nullptr, 1}));

TEST_F(QtUiTest, FolderBrowserAnswersThroughTheSeam) {
    ui_.AnswerNextBrowse("/tmp/结果");
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", false), "/tmp/结果");
}

TEST_F(QtUiTest, FolderBrowserTakesATypedPathWithoutTrailingSeparator) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + "/saved";
    ASSERT_TRUE(QDir().mkpath(folder));
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        title = dialog->windowTitle();
        auto* path = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (path) {
            path->setText(folder + "/");
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", false), ToGbk(folder));
    EXPECT_EQ(ToGbk(title), "请选择要保存的路径");
}

TEST_F(QtUiTest, FolderBrowserWithFilesTakesAFileAndCancelGivesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.path() + "/results.txt";
    QFile(file).open(QIODevice::WriteOnly);
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget())) {
            dialog->selectFile(file);
            dialog->accept();
        }
    });
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", true), ToGbk(file));
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", false), "");
}

TEST_F(QtUiTest, DelayKeepsTheWindowsResponsive) {
    bool fired = false;
    QTimer::singleShot(5, [&] { fired = true; });
    QElapsedTimer timer;
    timer.start();
    ui_.Delay(40);
    EXPECT_GE(timer.elapsed(), 40);
    EXPECT_TRUE(fired);
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
