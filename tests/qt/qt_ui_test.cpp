// The Qt port on real widgets (offscreen platform): the port contract, with
// the real dialogs answered as a user would, and what is particular to Qt
// (the widgets built from the descriptions, the list model, the multi-line
// box, GBK conversion and the test seams).
#include "qt_ui.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <deque>
#include <random>
#include <tuple>

#include "controls.h"
#include "forms/form.h"
#include "gbk.h"
#include "port_contract.h"
#include "qt_test_program.h"
#include "tab_control.h"
#include "window_builder.h"

namespace zelvo::testing {
namespace {

template <class T>
T Take(std::deque<T>& queue) {
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

// A timer on the GUI thread notes every message box and folder browser that
// shows and answers it from the event loop (Qt does not run a timer again
// while its slot runs, so the answer must not nest in it).
class QtPortFixture : public PortFixture {
  public:
    QtPortFixture() {
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start(5);
    }
    ~QtPortFixture() override {
        poll_.stop();
        ui_.reset();
        DeleteClosedWindows();
    }
    UiPort& Port() override { return *ui_; }
    bool ServeUntil(const std::function<bool()>& done, int limitMs) override {
        return SpinUntil(done, limitMs);
    }
    ScreenArea Screen() override {
        const QRect r = QGuiApplication::primaryScreen()->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    // Through the window system, so that modality applies.
    void Click(WindowId window, std::string_view control) override {
        ClickThroughWindowSystem(*ui_, window, control);
    }
    void ClickHeader(WindowId window, std::string_view list, int column) override {
        auto* view = ControlWidget<QTreeView>(*ui_, window, list);
        ASSERT_NE(view, nullptr);
        QHeaderView* header = view->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + 10, header->height() / 2});
    }
    void DoubleClickRow(WindowId window, std::string_view list, int row) override {
        auto* view = ControlWidget<QTreeView>(*ui_, window, list);
        ASSERT_NE(view, nullptr);
        SpinUntil([&] { return view->model()->rowCount() > row; },
                  2000);  // appends come in batches
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);  // press, release, then double
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    void ClickTab(WindowId window, std::string_view tabs, int page) override {
        auto* control = ControlWidget<qt::TabControl>(*ui_, window, tabs);
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(control->Bar(), Qt::LeftButton, {},
                          control->Bar()->tabRect(page).center());
    }
    void Type(WindowId window, std::string_view box, std::string_view text) override {
        QWidget* edit = ControlWidget(*ui_, window, box);
        ASSERT_NE(edit, nullptr);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::fromLatin1(text.data(), static_cast<int>(text.size())));
    }
    void CloseByUser(WindowId window) override {
        if (QWidget* top = ui_->Window(window)) top->close();
    }
    void WhenModal(WindowId window, std::function<void()> inside) override {
        modal_ = window;
        inside_ = std::move(inside);
    }
    void AnswerMessageBox(BoxAnswer answer, std::function<void()> whileShown) override {
        boxAnswers_.push_back({answer, std::move(whileShown)});
    }
    std::vector<ShownBox> MessageBoxesShown() override { return shown_; }
    void AnswerFolderBrowser(std::string path) override { paths_.push_back(std::move(path)); }
    std::vector<std::string> FolderBrowserTitles() override { return titles_; }

  private:
    struct Answer {
        BoxAnswer answer;
        std::function<void()> whileShown;
    };

    // The platform's style bits for the box's icon and buttons.
    static int FlagsOf(QMessageBox* box) {
        std::vector<std::string> buttons;
        for (QAbstractButton* b : box->buttons()) buttons.push_back(qt::ToGbk(b->text()));
        std::sort(buttons.begin(), buttons.end());
        const int icon = box->icon() == QMessageBox::Critical      ? kIconError
                         : box->icon() == QMessageBox::Information ? kIconInformation
                                                                   : 0xF0;
        const std::vector<std::string> ok{"确定"}, okCancel{"取消", "确定"},
            yesNo{"否(&N)", "是(&Y)"};
        return icon | (buttons == ok         ? 0
                       : buttons == okCancel ? kOkCancel
                       : buttons == yesNo    ? kYesNo
                                             : 0xF);
    }

    static void Press(QMessageBox* box, BoxAnswer answer) {
        const std::string wanted = answer == BoxAnswer::Ok    ? "确定"
                                   : answer == BoxAnswer::Yes ? "是(&Y)"
                                   : answer == BoxAnswer::No  ? "否(&N)"
                                                              : "取消";
        for (QAbstractButton* b : box->buttons()) {
            if (answer != BoxAnswer::CloseBox && qt::ToGbk(b->text()) == wanted) return b->click();
        }
        box->close();
    }

    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (inside_ && modal && modal == ui_->Window(modal_)) {
            QMetaObject::invokeMethod(qApp, std::exchange(inside_, nullptr), Qt::QueuedConnection);
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            auto* browser = qobject_cast<qt::FolderDialog*>(w);
            if ((!box && !browser) || !w->isVisible() || w->property("zelvoAnswered").toBool()) {
                continue;
            }
            if (!w->property("zelvoSeen").toBool()) {
                w->setProperty("zelvoSeen", true);
                if (box)
                    shown_.push_back(
                        {qt::ToGbkLines(box->text()), qt::ToGbk(box->windowTitle()), FlagsOf(box)});
                if (browser) titles_.push_back(qt::ToGbk(browser->windowTitle()));
            }
            if (box && !boxAnswers_.empty()) {
                w->setProperty("zelvoAnswered", true);
                QMetaObject::invokeMethod(
                    qApp,
                    [box = QPointer(box), answer = Take(boxAnswers_)] {
                        if (answer.whileShown) answer.whileShown();
                        if (box) Press(box, answer.answer);
                    },
                    Qt::QueuedConnection);
            } else if (browser && !paths_.empty()) {
                w->setProperty("zelvoAnswered", true);
                QMetaObject::invokeMethod(
                    qApp,
                    [browser = QPointer(browser), path = Take(paths_)] {
                        auto* edit =
                            browser ? browser->findChild<QLineEdit*>("fileNameEdit") : nullptr;
                        if (!edit || path.empty()) return browser ? browser->reject() : void();
                        edit->setText(qt::FromGbk(path));
                        browser->accept();
                    },
                    Qt::QueuedConnection);
            }
        }
    }

    std::unique_ptr<qt::QtUi> ui_ = std::make_unique<qt::QtUi>();
    QTimer poll_;
    WindowId modal_ = WindowId::Main;
    std::function<void()> inside_;
    std::deque<Answer> boxAnswers_;
    std::deque<std::string> paths_;
    std::vector<ShownBox> shown_;
    std::vector<std::string> titles_;
};

std::unique_ptr<PortFixture> MakeQtPort() { return std::make_unique<QtPortFixture>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Qt, PortContract, ::testing::Values(&MakeQtPort));
INSTANTIATE_TEST_SUITE_P(Qt, WindowSystemPortContract, ::testing::Values(&MakeQtPort));

}  // namespace zelvo::testing

// ---- what is particular to Qt ------------------------------------------------------------

namespace zelvo::qt {
namespace {

constexpr const char* kResults = "超级列表框1";
constexpr WindowId kMain = WindowId::Main;
using testing::SpinUntil;

class QtUiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_.SetEventHandler([this](const UiEvent& e) { events_.push_back(e); });
    }
    void TearDown() override { testing::DeleteClosedWindows(); }
    template <class T = QWidget>
    T* Widget(WindowId window, const char* name) {
        return testing::ControlWidget<T>(ui_, window, name);
    }

    QtUi ui_;
    std::vector<UiEvent> events_;
};

class EveryWindowTest : public QtUiTest, public ::testing::WithParamInterface<WindowId> {};

TEST_P(EveryWindowTest, BuildsEveryControlAtItsPlaceAsItsWidget) {
    const WindowId id = GetParam();
    const WindowDesc& form = FormOf(id);
    ASSERT_TRUE(ui_.LoadWindow(id, false));
    QWidget* window = ui_.Window(id);
    ASSERT_NE(window, nullptr);
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
    // By kind: edit box (single, multi-line), label, button, check box, radio
    // button, group box, progress bar, date picker, list view, tab control,
    // web view, picture button.
    const char* const classes[] = {"QLineEdit",
                                   "QPlainTextEdit",
                                   "QLabel",
                                   "QPushButton",
                                   "QCheckBox",
                                   "QRadioButton",
                                   "QGroupBox",
                                   "QProgressBar",
                                   "QDateTimeEdit",
                                   "QTreeView",
                                   "zelvo::qt::TabControl",
                                   "QLabel",
                                   "QLabel"};
    for (const ControlDesc& d : form.controls) {
        SCOPED_TRACE(testing::GbkToUtf8ForDisplay(d.name));
        QWidget* w = window->findChild<QWidget*>(FromGbk(d.name));
        ASSERT_NE(w, nullptr);
        const int kind = static_cast<int>(d.kind);
        EXPECT_TRUE(w->inherits(classes[kind + (kind > 0 || d.multiLine)]))
            << w->metaObject()->className();
        EXPECT_EQ(w->geometry(), QRect(d.left, d.top, d.width, d.height));
        EXPECT_EQ(w->isVisibleTo(w->parentWidget()), d.visible);
        // The parent is the described one: the window, a box or a tab page.
        QWidget* parent =
            d.parent.empty() ? window : window->findChild<QWidget*>(FromGbk(d.parent));
        ASSERT_NE(parent, nullptr);
        auto* tabs = qobject_cast<TabControl*>(parent);
        EXPECT_EQ(w->parentWidget(), tabs ? tabs->Page(d.parentPage) : parent);
        if (d.kind == ControlKind::EditBox && !d.multiLine) {
            EXPECT_EQ(static_cast<QLineEdit*>(w)->isReadOnly(), d.readOnly);
        }
        if (auto* view = qobject_cast<QTreeView*>(w)) {
            ASSERT_EQ(view->model()->columnCount(), static_cast<int>(d.columns.size()));
            for (int i = 0; i < static_cast<int>(d.columns.size()); ++i) {
                EXPECT_EQ(ToGbk(view->model()->headerData(i, Qt::Horizontal).toString()),
                          d.columns[i].title);
                EXPECT_EQ(view->header()->sectionSize(i), d.columns[i].width);
            }
            EXPECT_FALSE(view->isSortingEnabled());
            EXPECT_TRUE(view->header()->sectionsClickable());
            EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
            EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
            EXPECT_FALSE(view->rootIsDecorated());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(QtUi, EveryWindowTest,
                         ::testing::Values(kMain, WindowId::Filter, WindowId::ReferenceTemplates,
                                           WindowId::RecentNumbers));

TEST_F(QtUiTest, MainWindowTabsShowOnlyTheCurrentPagesControls) {
    ui_.LoadWindow(kMain, false);
    auto* generated = Widget<QPlainTextEdit>(kMain, "生成内容");
    auto* tabs = Widget<TabControl>(kMain, "高级选择夹1");
    ASSERT_TRUE(generated && tabs);
    EXPECT_EQ(generated->document()->blockCount(), 7);
    EXPECT_EQ(generated->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    ASSERT_EQ(tabs->Bar()->count(), 2);
    EXPECT_EQ(ToGbk(tabs->Bar()->tabText(0)), "  单号生成  ");
    EXPECT_EQ(ToGbk(tabs->Bar()->tabText(1)), "   官方网站  ");
    EXPECT_EQ(tabs->Bar()->font().pixelSize(), 12);
    EXPECT_EQ(ToGbk(tabs->Bar()->font().families().value(0)), "宋体");
    EXPECT_TRUE(generated->isVisible());
    EXPECT_FALSE(Widget(kMain, "超文本浏览框2")->isVisible());
    QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
    EXPECT_TRUE(Widget(kMain, "超文本浏览框2")->isVisible());
    EXPECT_FALSE(generated->isVisible());
    ui_.SetCurrentPage(kMain, "高级选择夹1", 0);
    EXPECT_TRUE(generated->isVisible());
}

TEST_F(QtUiTest, EnterActivatesARowAndAClickChecksARadioButton) {
    const WindowId templates = WindowId::ReferenceTemplates, recent = WindowId::RecentNumbers;
    ui_.LoadWindow(templates, false);
    for (const char* id : {"1", "2", "3"})
        ui_.ListInsert(templates, kResults, -1, id, -1, -1, 0, 0);
    ui_.ListSetCurrentRow(templates, kResults, 2);
    QTest::keyClick(Widget(templates, kResults), Qt::Key_Return);
    ASSERT_EQ(events_.back().kind, EventKind::RowActivated);
    EXPECT_EQ(events_.back().arg, 2);
    ui_.LoadWindow(recent, false);
    QTest::mouseClick(Widget(recent, "单选框2"), Qt::LeftButton);
    EXPECT_TRUE(ui_.IsChecked(recent, "单选框2"));
    EXPECT_FALSE(ui_.IsChecked(recent, "单选框1"));
}

TEST_F(QtUiTest, OpeningAMinimisedWindowRestoresIt) {
    ui_.LoadWindow(WindowId::RecentNumbers, false);
    QWidget* first = ui_.Window(WindowId::RecentNumbers);
    first->showMinimized();
    EXPECT_TRUE(ui_.LoadWindow(WindowId::RecentNumbers, false));
    EXPECT_EQ(ui_.Window(WindowId::RecentNumbers), first);
    EXPECT_FALSE(first->isMinimized());
}

TEST_F(QtUiTest, AppendTextLeavesTheCaretAtTheEndWithoutASelection) {
    ui_.LoadWindow(kMain, false);
    ui_.SetText(kMain, "生成内容", "1\r\n2");
    auto* edit = Widget<QPlainTextEdit>(kMain, "生成内容");
    edit->moveCursor(QTextCursor::Start);
    ui_.AppendText(kMain, "生成内容", "\r\n3");
    EXPECT_FALSE(edit->textCursor().hasSelection());
    EXPECT_TRUE(edit->textCursor().atEnd());
}

// A multi-line box is filled without QPlainTextEdit::setPlainText; it must end
// as that call leaves it, whatever the user did to the box before: the same
// text and character formats, the cursor at the start without a selection,
// no undo or redo, not modified, the first line at the top.
TEST_F(QtUiTest, FillingAMultiLineBoxEndsAsSetPlainTextEndsIt) {
    ui_.LoadWindow(kMain, false);
    auto* box = Widget<QPlainTextEdit>(kMain, "生成内容");
    ASSERT_NE(box, nullptr);
    QPlainTextEdit twin(box->parentWidget());
    twin.setGeometry(box->geometry());
    twin.setFont(box->font());
    twin.setLineWrapMode(box->lineWrapMode());
    twin.setVerticalScrollBarPolicy(box->verticalScrollBarPolicy());
    twin.show();
    std::string many;
    for (int i = 0; i < 500; ++i)
        many += "268928453111111112201001010001" + std::to_string(i) + "\r\n";
    const std::string texts[] = {"", "1", "1\r\n2\r\n", many, "快递\r\n\r\n\r单号"};
    for (const std::string& text : texts) {
        for (QPlainTextEdit* edit : {box, &twin}) {
            // What a user may have left: undo history, a selection, the view scrolled down.
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
        ui_.SetText(kMain, "生成内容", text);
        twin.setPlainText(FromGbkLines(text));
        QCoreApplication::processEvents();
        SCOPED_TRACE(::testing::PrintToString(text.substr(0, 20)));
        auto state = [](QPlainTextEdit* e) {
            QTextDocument* d = e->document();
            return std::tuple(e->toPlainText(), e->blockCount(), e->currentCharFormat(),
                              d->isUndoAvailable(), d->isRedoAvailable(), d->isModified(),
                              e->verticalScrollBar()->value());
        };
        EXPECT_EQ(state(box), state(&twin));
        EXPECT_EQ(box->textCursor().position() + box->textCursor().anchor() +
                      box->verticalScrollBar()->value(),
                  0);
        for (QTextBlock a = box->document()->begin(), b = twin.document()->begin();
             a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
            ASSERT_EQ(a.charFormat(), b.charFormat());
            ASSERT_EQ(a.blockFormat(), b.blockFormat());
            for (auto fa = a.begin(), fb = b.begin(); !fa.atEnd() && !fb.atEnd(); ++fa, ++fb) {
                ASSERT_EQ(fa.fragment().charFormat(), fb.fragment().charFormat());
            }
        }
        // Typing goes on as in a box filled by setPlainText.
        box->insertPlainText("x");
        twin.insertPlainText("x");
        EXPECT_EQ(state(box), state(&twin));
    }
}

TEST_F(QtUiTest, DatePickersPopUpACalendarAndKeepEveryValue) {
    ui_.LoadWindow(WindowId::Filter, false);
    auto* picker = Widget<DatePicker>(WindowId::Filter, "发货时间终");
    EXPECT_TRUE(picker->calendarPopup());
    // Even before the years a native picker takes.
    ui_.SetDateValue(WindowId::Filter, "发货时间终", kNoDate);
    EXPECT_EQ(ui_.DateValue(WindowId::Filter, "发货时间终"), kNoDate);
    ui_.SetDateValue(WindowId::Filter, "发货时间终", DateTime{-1.25});
    EXPECT_EQ(picker->Value(), QDateTime(QDate(1899, 12, 28), QTime(18, 0)));
}

// A run over no number and a filter pass over an empty list set the maximum
// to 0; Qt would turn a 0..0 bar into a busy animation.
TEST_F(QtUiTest, ProgressBarWithMaximumZeroIsEmptyNotBusy) {
    ui_.LoadWindow(kMain, false);
    const auto* bar = Widget<QProgressBar>(kMain, "进度条1");
    ui_.SetProgressPos(kMain, "进度条1", 40);
    ui_.SetProgressMax(kMain, "进度条1", 0);
    EXPECT_LT(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), 0);
    ui_.SetProgressMax(kMain, "进度条1", 3);
    ui_.SetProgressPos(kMain, "进度条1", 3);
    EXPECT_EQ(bar->value(), bar->maximum());
}

// The filter pass: the model tester checks every notification against the
// rows the model reports; the view shows the rows kept, as Chinese text.
TEST_F(QtUiTest, DeletingRowsFromTheLastToTheFirstKeepsTheViewInStep) {
    ui_.LoadWindow(kMain, false);
    QAbstractItemModel* model = Widget<QTreeView>(kMain, kResults)->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (int i = 0; i < 300; ++i) {
        const int row = ui_.ListInsert(kMain, kResults, -1, std::to_string(i), -1, -1, 0, i);
        ui_.ListSetText(kMain, kResults, row, 5, i % 3 ? "北京≤≌≥" : "上海");
    }
    QCoreApplication::processEvents();
    ui_.SetVisible(kMain, kResults, false);
    for (int r = 299; r >= 0; --r) {
        if (ui_.ListGetText(kMain, kResults, r, 5) == "上海") ui_.ListDelete(kMain, kResults, r);
    }
    ui_.SetVisible(kMain, kResults, true);
    QCoreApplication::processEvents();
    ASSERT_EQ(model->rowCount(), 200);
    for (int r = 0, i = 1; r < 200; ++r, i += i % 3 == 1 ? 1 : 2) {
        EXPECT_EQ(model->data(model->index(r, 0)).toString(), QString::number(i));
        EXPECT_EQ(ToGbk(model->data(model->index(r, 5)).toString()), "北京≤≌≥");
    }
    ui_.ListInsert(kMain, kResults, 0, "first", -1, -1, 0, 0);
    ui_.ListInsert(kMain, kResults, -1, "last", -1, -1, 0, 0);
    EXPECT_TRUE(SpinUntil([&] { return model->rowCount() == 202; }));
}

TEST_F(QtUiTest, AppendedRowsReachTheViewInBatchesAndOtherChangesAtOnce) {
    ui_.LoadWindow(kMain, false);
    QAbstractItemModel* model = Widget<QTreeView>(kMain, kResults)->model();
    for (int i = 0; i < 5; ++i)
        ui_.ListInsert(kMain, kResults, -1, std::to_string(i), -1, -1, 0, 0);
    // The port sees every row at once; the view after the event loop ran.
    EXPECT_EQ(ui_.ListCount(kMain, kResults), 5);
    EXPECT_TRUE(SpinUntil([&] { return model->rowCount() == 5; }));
    ui_.ListInsert(kMain, kResults, -1, "5", -1, -1, 0, 0);
    ui_.ListInsert(kMain, kResults, -1, "6", -1, -1, 0, 0);
    // A change in the middle hands the pending rows over first.
    ui_.ListDelete(kMain, kResults, 0);
    EXPECT_EQ(model->rowCount(), 6);
    EXPECT_EQ(model->data(model->index(5, 0)).toString(), "6");
    ui_.ListInsert(kMain, kResults, 2, "x", -1, -1, 0, 0);
    EXPECT_EQ(model->rowCount(), 7);
    EXPECT_EQ(model->data(model->index(2, 0)).toString(), "x");
    ui_.ListInsert(kMain, kResults, -1, "7", -1, -1, 0, 0);
    ui_.ListSetCurrentRow(kMain, kResults, 7);
    EXPECT_EQ(ui_.ListCurrentRow(kMain, kResults), 7);
    ui_.ListClear(kMain, kResults);
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(QtUiTest, SeamsAnswerDialogsWithoutShowingThem) {
    ui_.AnswerNextMessageBox(1);
    ui_.AnswerNextMessageBox(0);
    EXPECT_EQ(ui_.MessageBox("确定要退出吗?", 65, "提示"), 1);
    EXPECT_EQ(ui_.MessageBox("全部保存完毕!", 64, "恭喜你!"), 0);
    const std::vector<ShownMessageBox> shown = ui_.MessageBoxesShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(std::tie(shown[0].text, shown[0].caption, shown[0].flags),
              std::tuple("确定要退出吗?", "提示", 65));
    ui_.AnswerNextBrowse("/tmp/结果");
    EXPECT_EQ(ui_.BrowseFolder("请选择要保存的路径", false), "/tmp/结果");
}

TEST_F(QtUiTest, FolderBrowserDropsTheTrailingSeparatorOfATypedPath) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/saved";
    ASSERT_TRUE(dir.isValid() && QDir().mkpath(folder));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FolderDialog*>(QApplication::activeModalWidget());
        if (auto* path = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr) {
            path->setText(folder + "/");
            dialog->accept();
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
    const std::vector<std::string> gbkPieces = {"\r",       "\n",   "\r\n", "a",
                                                "\xBF\xEC", "\xFF", "\x81"};
    const std::vector<QString> widgetPieces = {"\r",
                                               "\n",
                                               "\r\n",
                                               "a",
                                               QString::fromUtf16(u"快"),
                                               QString::fromUtf16(u"\U0001F600"),
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
