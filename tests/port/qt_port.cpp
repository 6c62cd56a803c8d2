// The port contract on real Qt widgets (offscreen platform). Dialogs are the
// real ones: a timer on the GUI thread finds each box or folder browser that
// shows, notes it and answers it as a user would.
#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <deque>
#include <memory>

#include "controls.h"
#include "gbk.h"
#include "port_contract.h"
#include "qt_test_program.h"
#include "qt_ui.h"
#include "tab_control.h"

namespace zelvo::testing {
namespace {

class QtPortFixture : public PortFixture {
  public:
    QtPortFixture() : ui_(std::make_unique<qt::QtUi>()) {
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
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        return {area.x(), area.y(), area.width(), area.height()};
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
                          QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    }
    void DoubleClickRow(WindowId window, std::string_view list, int row) override {
        auto* view = ControlWidget<QTreeView>(*ui_, window, list);
        ASSERT_NE(view, nullptr);
        // Appended rows reach the view with its next batch.
        SpinUntil([&] { return view->model()->rowCount() > row; }, 2000);
        QCoreApplication::processEvents();
        const QPoint centre = view->visualRect(view->model()->index(row, 0)).center();
        // A real double click: press, release, then the double click.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    }
    void ClickTab(WindowId window, std::string_view tabs, int page) override {
        auto* control = ControlWidget<qt::TabControl>(*ui_, window, tabs);
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(control->Bar(), Qt::LeftButton, {}, control->Bar()->tabRect(page).center());
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
    void AnswerFolderBrowser(std::string path) override { browseAnswers_.push_back(std::move(path)); }
    std::vector<std::string> FolderBrowserTitles() override { return titles_; }

  private:
    struct Answer {
        BoxAnswer answer;
        std::function<void()> whileShown;
    };
    template <class T>
    struct Seen {
        QPointer<T> dialog;
        bool answered = false;
    };

    // The style bits that the box's icon and buttons stand for.
    static int FlagsOf(QMessageBox* box) {
        int flags = 0;
        switch (box->icon()) {
            case QMessageBox::Critical:
                flags = kIconError;
                break;
            case QMessageBox::Question:
                flags = 0x20;
                break;
            case QMessageBox::Warning:
                flags = 0x30;
                break;
            case QMessageBox::Information:
                flags = kIconInformation;
                break;
            default:
                break;
        }
        std::vector<std::string> labels;
        for (QAbstractButton* b : box->buttons()) labels.push_back(qt::ToGbk(b->text()));
        if (labels == std::vector<std::string>{"确定", "取消"}) flags |= kOkCancel;
        else if (labels != std::vector<std::string>{"确定"}) flags |= 0xF;  // none the program uses
        return flags;
    }

    static void Press(QMessageBox* box, BoxAnswer answer) {
        if (answer == BoxAnswer::CloseBox) {
            box->close();
            return;
        }
        const std::string wanted = answer == BoxAnswer::Ok ? "确定" : "取消";
        for (QAbstractButton* b : box->buttons()) {
            if (qt::ToGbk(b->text()) == wanted) return b->click();
        }
        ADD_FAILURE() << "the message box has no such button";
        box->close();
    }

    template <class T>
    static Seen<T>* Note(std::vector<Seen<T>>& seen, T* dialog, bool& isNew) {
        std::erase_if(seen, [](const Seen<T>& s) { return s.dialog.isNull(); });
        for (Seen<T>& s : seen) {
            if (s.dialog == dialog) return &s;
        }
        isNew = true;
        seen.push_back({dialog, false});
        return &seen.back();
    }

    // Answers are carried out from the event loop, not inside this timer,
    // which Qt does not run again while its slot runs.
    void Poll() {
        if (inside_ && ui_->Window(modal_) &&
            QApplication::activeModalWidget() == ui_->Window(modal_)) {
            QMetaObject::invokeMethod(qApp, std::exchange(inside_, nullptr), Qt::QueuedConnection);
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            bool isNew = false;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                Seen<QMessageBox>* seen = Note(boxes_, box, isNew);
                if (isNew) shown_.push_back({qt::ToGbkLines(box->text()), qt::ToGbk(box->windowTitle()), FlagsOf(box)});
                if (seen->answered || boxAnswers_.empty()) continue;
                seen->answered = true;
                Answer answer = std::move(boxAnswers_.front());
                boxAnswers_.pop_front();
                QMetaObject::invokeMethod(
                    qApp,
                    [box = QPointer<QMessageBox>(box), answer = std::move(answer)] {
                        if (answer.whileShown) answer.whileShown();
                        if (box) Press(box, answer.answer);
                    },
                    Qt::QueuedConnection);
            } else if (auto* browser = qobject_cast<qt::FolderDialog*>(w)) {
                Seen<qt::FolderDialog>* seen = Note(browsers_, browser, isNew);
                if (isNew) titles_.push_back(qt::ToGbk(browser->windowTitle()));
                if (seen->answered || browseAnswers_.empty()) continue;
                seen->answered = true;
                std::string path = std::move(browseAnswers_.front());
                browseAnswers_.pop_front();
                QMetaObject::invokeMethod(
                    qApp,
                    [browser = QPointer<qt::FolderDialog>(browser), path] {
                        if (!browser) return;
                        auto* edit = browser->findChild<QLineEdit*>("fileNameEdit");
                        if (path.empty() || !edit) return browser->reject();
                        edit->setText(qt::FromGbk(path));
                        browser->accept();
                    },
                    Qt::QueuedConnection);
            }
        }
    }

    std::unique_ptr<qt::QtUi> ui_;
    QTimer poll_;
    WindowId modal_ = WindowId::Main;
    std::function<void()> inside_;
    std::deque<Answer> boxAnswers_;
    std::deque<std::string> browseAnswers_;
    std::vector<Seen<QMessageBox>> boxes_;
    std::vector<Seen<qt::FolderDialog>> browsers_;
    std::vector<ShownBox> shown_;
    std::vector<std::string> titles_;
};

std::unique_ptr<PortFixture> MakeQtPort() { return std::make_unique<QtPortFixture>(); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(Qt, PortContract, ::testing::Values(&MakeQtPort));
INSTANTIATE_TEST_SUITE_P(Qt, WindowSystemPortContract, ::testing::Values(&MakeQtPort));

}  // namespace zelvo::testing
