#include "qt_ui.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <thread>

#include "forms/form.h"
#include "controls.h"
#include "gbk.h"
#include "tab_control.h"
#include "window_builder.h"

namespace zelvo::qt {

struct QtUi::OpenWindow {
    WindowId id{};
    std::unique_ptr<BuiltWindow> built;
    QEventLoop* modalLoop = nullptr;
    bool closing = false;
};

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
const QDate kDayZero(1899, 12, 30);

// Date-times are linear in days from 1899-12-30 local time, as in the runtime.
QDateTime ToQDateTime(DateTime value) {
    double days = std::clamp(value.days, kMinDateTime.days, kMaxDateTime.days + 1.0 - 1e-9);
    if (std::isnan(days)) days = kMinDateTime.days;
    const double whole = std::floor(days);
    std::int64_t seconds = static_cast<std::int64_t>(whole) * kSecondsPerDay +
                           std::llround((days - whole) * kSecondsPerDay);
    std::int64_t day = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --day;
    }
    return QDateTime(kDayZero.addDays(day), QTime(0, 0).addSecs(static_cast<int>(rest)));
}

DateTime FromQDateTime(const QDateTime& value) {
    const double day = static_cast<double>(kDayZero.daysTo(value.date()));
    const double second = value.time().msecsSinceStartOfDay() / 1000;
    return DateTime{day + second / kSecondsPerDay};
}

// What QPlainTextEdit::setPlainText leaves (the text, no undo history, not
// modified, the cursor at the start), without its second pass that gives
// every line the insertion format again: the boxes hold plain text in one
// format only, and that pass is a tenth of filling a million-line box.
void FillPlainText(QPlainTextEdit* edit, const QString& text) {
    QTextDocument* document = edit->document();
    document->setPlainText(text);
    edit->setTextCursor(QTextCursor(document));
    document->setModified(false);
}

// Message boxes: style bits as the platform has them, results as the program
// numbers them (OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6).
enum BoxResult { kOk = 0, kCancel = 1, kAbort = 2, kRetry = 3, kIgnore = 4, kYes = 5, kNo = 6 };

const char* const kResultProperty = "zelvoResult";

QMessageBox* MakeBox(std::string_view text, int flags, std::string_view caption) {
    auto* box = new QMessageBox();
    box->setWindowTitle(FromGbk(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(FromGbkLines(text));
    switch (flags & 0xF0) {
        case 0x10:
            box->setIcon(QMessageBox::Critical);
            break;
        case 0x20:
            box->setIcon(QMessageBox::Question);
            break;
        case 0x30:
            box->setIcon(QMessageBox::Warning);
            break;
        case 0x40:
            box->setIcon(QMessageBox::Information);
            break;
        default:
            box->setIcon(QMessageBox::NoIcon);
    }
    struct Choice {
        const char16_t* label;
        BoxResult result;
        QMessageBox::ButtonRole role;
    };
    const Choice ok{u"确定", kOk, QMessageBox::AcceptRole};
    const Choice cancel{u"取消", kCancel, QMessageBox::RejectRole};
    const Choice yes{u"是(&Y)", kYes, QMessageBox::YesRole};
    const Choice no{u"否(&N)", kNo, QMessageBox::NoRole};
    const Choice abort{u"中止(&A)", kAbort, QMessageBox::RejectRole};
    const Choice retry{u"重试(&R)", kRetry, QMessageBox::AcceptRole};
    const Choice ignore{u"忽略(&I)", kIgnore, QMessageBox::AcceptRole};
    std::vector<Choice> choices;
    switch (flags & 0xF) {
        case 1:
            choices = {ok, cancel};
            break;
        case 2:
            choices = {abort, retry, ignore};
            break;
        case 3:
            choices = {yes, no, cancel};
            break;
        case 4:
            choices = {yes, no};
            break;
        case 5:
            choices = {retry, cancel};
            break;
        default:
            choices = {ok};
    }
    std::vector<QPushButton*> buttons;
    for (const Choice& choice : choices) {
        QPushButton* button = box->addButton(QString::fromUtf16(choice.label), choice.role);
        button->setProperty(kResultProperty, static_cast<int>(choice.result));
        buttons.push_back(button);
        // The close box and Esc mean Cancel, or OK when that is the only button.
        if (choice.result == kCancel || choices.size() == 1) box->setEscapeButton(button);
    }
    const size_t defaultIndex = static_cast<size_t>((flags >> 8) & 0xF);
    box->setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    return box;
}

int ResultOf(QMessageBox* box) {
    QAbstractButton* button = box->clickedButton();
    if (!button) button = box->escapeButton();
    return button ? button->property(kResultProperty).toInt() : kOk;
}

// What a box that can no longer be shown answers: Cancel where it has one.
int UnansweredResult(int flags) {
    switch (flags & 0xF) {
        case 1:
        case 3:
        case 5:
            return kCancel;
        case 2:
            return kAbort;
        case 4:
            return kNo;
        default:
            return kOk;
    }
}

// Top-level windows are found by these names, controls by their own.
QString WindowObjectName(WindowId window) {
    switch (window) {
        case WindowId::Main:
            return QStringLiteral("MainWindow");
        case WindowId::Filter:
            return QStringLiteral("FilterWindow");
        case WindowId::ReferenceTemplates:
            return QStringLiteral("ReferenceTemplatesWindow");
        case WindowId::RecentNumbers:
            return QStringLiteral("RecentNumbersWindow");
    }
    return {};
}

bool BindsWindowEvent(const WindowDesc& desc, EventKind kind) {
    for (const EventBinding& binding : desc.events) {
        if (binding.kind == kind) return true;
    }
    return false;
}

// The maximum the program set, which the bar's own range differs from when
// it is 0.
constexpr const char* kProgressMaximum = "zelvoMaximum";

int MaximumOf(const QProgressBar* bar) {
    const QVariant maximum = bar->property(kProgressMaximum);
    return maximum.isValid() ? maximum.toInt() : bar->maximum();
}

}  // namespace

QtUi::QtUi() = default;

QtUi::~QtUi() {
    Shutdown();
    for (auto& [id, open] : windows_) delete open->built->widget;
    windows_.clear();
}

void QtUi::SetEventHandler(UiEventHandler handler) { handler_ = std::move(handler); }

bool QtUi::OnGuiThread() const { return QThread::currentThread() == thread(); }

bool QtUi::WaitUntilDone(const std::shared_ptr<Waiter>& waiter) {
    std::unique_lock lock(callMutex_);
    waiting_.insert(waiter.get());
    waiter->cv.wait(lock, [&] { return waiter->done || shutDown_; });
    waiting_.erase(waiter.get());
    return waiter->done;
}

void QtUi::MarkDone(const std::shared_ptr<Waiter>& waiter, int result) {
    std::lock_guard lock(callMutex_);
    waiter->result = result;
    waiter->done = true;
    // Each caller has its own condition: waking all of them for every call
    // would cost a context switch per waiting worker.
    waiter->cv.notify_one();
}

bool QtUi::RunOnGuiThread(const std::function<void()>& work) {
    auto waiter = std::make_shared<Waiter>();
    {
        std::lock_guard lock(callMutex_);
        if (shutDown_) return false;
    }
    // The closure never touches work once the port has shut down: the caller
    // may have returned by then. Shutting down happens on the GUI thread, so
    // it cannot begin while work runs.
    QMetaObject::invokeMethod(
        this,
        [this, waiter, &work] {
            {
                std::lock_guard lock(callMutex_);
                if (shutDown_) return;
            }
            work();
            MarkDone(waiter, 0);
        },
        Qt::QueuedConnection);
    return WaitUntilDone(waiter);
}

template <class R, class F>
R QtUi::Call(R fallback, F&& work) {
    if (OnGuiThread()) return work();
    R result = fallback;
    RunOnGuiThread([&] { result = work(); });
    return result;
}

template <class F>
void QtUi::Call(F&& work) {
    if (OnGuiThread()) {
        work();
    } else {
        RunOnGuiThread(work);
    }
}

void QtUi::Shutdown() {
    {
        std::lock_guard lock(callMutex_);
        if (shutDown_) return;
        shutDown_ = true;
        for (Waiter* waiter : waiting_) waiter->cv.notify_one();
    }
    for (const QPointer<QMessageBox>& box : workerBoxes_) {
        if (box) {
            box->hide();
            box->deleteLater();
        }
    }
    workerBoxes_.clear();
}

QtUi::OpenWindow* QtUi::Find(WindowId window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

BuiltControl* QtUi::Control(WindowId window, std::string_view name) const {
    OpenWindow* open = Find(window);
    return open ? open->built->Find(name) : nullptr;
}

QWidget* QtUi::Window(WindowId window) const {
    OpenWindow* open = Find(window);
    return open ? open->built->widget : nullptr;
}

void QtUi::Dispatch(WindowId window, std::string_view control, EventKind kind, int arg) {
    if (!handler_) return;
    handler_(UiEvent{window, std::string(control), kind, arg});
}

// ---- windows ---------------------------------------------------------------

bool QtUi::LoadWindow(WindowId window, bool modal) {
    if (!OnGuiThread()) return Call(false, [&] { return LoadWindow(window, modal); });

    if (OpenWindow* open = Find(window)) {
        QWidget* widget = open->built->widget;
        if (widget->isMinimized()) {
            widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
        }
        widget->show();
        widget->raise();
        widget->activateWindow();
        return true;
    }

    const WindowDesc& desc = FormOf(window);
    auto open = std::make_unique<OpenWindow>();
    open->id = window;
    open->built = BuildWindow(desc, [this, window](std::string_view control, EventKind kind,
                                                   int arg) { Dispatch(window, control, kind, arg); });
    QPointer<FormWindow> widget = open->built->widget;
    widget->setObjectName(WindowObjectName(window));
    widget->onCloseRequested = [this, window] { DestroyWindow(window); };
    if (BindsWindowEvent(desc, EventKind::FirstActivated)) {
        widget->onFirstActivated = [this, window] {
            if (Find(window)) Dispatch(window, {}, EventKind::FirstActivated, 0);
        };
    }
    // Centred on the screen by the outer size.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    widget->move(area.x() + (area.width() - desc.width) / 2,
                 area.y() + (area.height() - desc.height) / 2);
    if (modal) widget->setWindowModality(Qt::ApplicationModal);
    windows_[window] = std::move(open);

    if (BindsWindowEvent(desc, EventKind::Created)) Dispatch(window, {}, EventKind::Created, 0);
    // The created event may have closed the window again.
    OpenWindow* current = Find(window);
    if (!widget || !current || current->built->widget != widget) return true;

    widget->show();
    widget->raise();
    widget->activateWindow();
    if (modal) {
        QEventLoop loop;
        current->modalLoop = &loop;
        loop.exec();
        // The loop also ends when the whole program does; the window may
        // then still be open.
        if (OpenWindow* still = Find(window); still && still->modalLoop == &loop) {
            still->modalLoop = nullptr;
        }
    }
    return true;
}

void QtUi::DestroyWindow(WindowId window) {
    OpenWindow* open = Find(window);
    if (!open || open->closing) return;
    open->closing = true;
    const bool main = window == WindowId::Main;
    // Worker threads must not wait for a GUI that is going away; the exit
    // clean-up may be waiting for them.
    if (main) Shutdown();
    if (BindsWindowEvent(*open->built->desc, EventKind::AboutToBeDestroyed)) {
        Dispatch(window, {}, EventKind::AboutToBeDestroyed, 0);
    }
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    std::unique_ptr<OpenWindow> gone = std::move(it->second);
    windows_.erase(it);
    FormWindow* widget = gone->built->widget;
    widget->onCloseRequested = nullptr;
    widget->onFirstActivated = nullptr;
    widget->hide();
    widget->deleteLater();
    if (gone->modalLoop) gone->modalLoop->quit();
    if (main) {
        // The other windows' contents are discarded with the program.
        while (!windows_.empty()) DestroyWindow(windows_.begin()->first);
    }
}

void QtUi::CloseWindow(WindowId window) {
    Call([&] { DestroyWindow(window); });
}

bool QtUi::IsWindowOpen(WindowId window) {
    return Call(false, [&] { return Find(window) != nullptr; });
}

int QtUi::WindowLeft(WindowId window) {
    return Call(0, [&] {
        QWidget* widget = Window(window);
        return widget ? widget->pos().x() : 0;
    });
}

int QtUi::WindowTop(WindowId window) {
    return Call(0, [&] {
        QWidget* widget = Window(window);
        return widget ? widget->pos().y() : 0;
    });
}

void QtUi::MoveWindow(WindowId window, int left, int top) {
    Call([&] {
        if (QWidget* widget = Window(window)) widget->move(left, top);
    });
}

// ---- control values ----------------------------------------------------------

std::string QtUi::GetText(WindowId window, std::string_view control) {
    return Call(std::string(), [&]() -> std::string {
        if (control.empty()) {
            QWidget* widget = Window(window);
            return widget ? ToGbk(widget->windowTitle()) : std::string();
        }
        BuiltControl* c = Control(window, control);
        if (!c) return {};
        QWidget* w = c->widget;
        switch (c->desc->kind) {
            case ControlKind::EditBox:
                if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return ToGbkLines(edit->toPlainText());
                return ToGbk(static_cast<QLineEdit*>(w)->text());
            case ControlKind::Label:
                return ToGbk(static_cast<QLabel*>(w)->text());
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
                return ToGbk(static_cast<QAbstractButton*>(w)->text());
            case ControlKind::GroupBox:
                return ToGbk(static_cast<QGroupBox*>(w)->title());
            case ControlKind::WebView:
                return c->address;
            default:
                return {};
        }
    });
}

void QtUi::SetText(WindowId window, std::string_view control, std::string_view text) {
    Call([&] {
        if (control.empty()) {
            if (QWidget* widget = Window(window)) widget->setWindowTitle(FromGbk(text));
            return;
        }
        BuiltControl* c = Control(window, control);
        if (!c) return;
        QWidget* w = c->widget;
        switch (c->desc->kind) {
            case ControlKind::EditBox:
                if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
                    FillPlainText(edit, FromGbkLines(text));
                } else {
                    auto* line = static_cast<QLineEdit*>(w);
                    line->setText(FromGbk(text));
                    line->setCursorPosition(0);
                }
                break;
            case ControlKind::Label:
                static_cast<QLabel*>(w)->setText(FromGbk(text));
                break;
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
                static_cast<QAbstractButton*>(w)->setText(FromGbk(text));
                break;
            case ControlKind::GroupBox:
                static_cast<QGroupBox*>(w)->setTitle(FromGbk(text));
                break;
            case ControlKind::WebView:
                c->address = std::string(text);
                static_cast<QLabel*>(w)->setText(FromGbk(text));
                break;
            default:
                break;
        }
    });
}

void QtUi::AppendText(WindowId window, std::string_view control, std::string_view text) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::EditBox) return;
        if (auto* edit = qobject_cast<QPlainTextEdit*>(c->widget)) {
            edit->moveCursor(QTextCursor::End);
            edit->insertPlainText(FromGbkLines(text));
            edit->ensureCursorVisible();
        } else {
            auto* line = static_cast<QLineEdit*>(c->widget);
            line->end(false);
            line->insert(FromGbk(text));
        }
    });
}

bool QtUi::IsEnabled(WindowId window, std::string_view control) {
    return Call(false, [&] {
        if (control.empty()) {
            QWidget* widget = Window(window);
            if (!widget) return false;
            // A window under a modal one takes no input, as if disabled.
            QWidget* modal = QApplication::activeModalWidget();
            return widget->isEnabled() && (!modal || modal == widget);
        }
        BuiltControl* c = Control(window, control);
        return c && c->widget->isEnabledTo(c->widget->parentWidget());
    });
}

void QtUi::SetEnabled(WindowId window, std::string_view control, bool enabled) {
    Call([&] {
        if (control.empty()) {
            if (QWidget* widget = Window(window)) widget->setEnabled(enabled);
        } else if (BuiltControl* c = Control(window, control)) {
            c->widget->setEnabled(enabled);
        }
    });
}

bool QtUi::IsVisible(WindowId window, std::string_view control) {
    return Call(false, [&] {
        if (control.empty()) {
            QWidget* widget = Window(window);
            return widget && widget->isVisible();
        }
        BuiltControl* c = Control(window, control);
        return c && c->widget->isVisibleTo(c->widget->parentWidget());
    });
}

void QtUi::SetVisible(WindowId window, std::string_view control, bool visible) {
    Call([&] {
        if (control.empty()) {
            if (QWidget* widget = Window(window)) widget->setVisible(visible);
        } else if (BuiltControl* c = Control(window, control)) {
            c->widget->setVisible(visible);
        }
    });
}

bool QtUi::IsChecked(WindowId window, std::string_view control) {
    return Call(false, [&] {
        BuiltControl* c = Control(window, control);
        auto* button = c ? qobject_cast<QAbstractButton*>(c->widget) : nullptr;
        return button && button->isCheckable() && button->isChecked();
    });
}

void QtUi::SetChecked(WindowId window, std::string_view control, bool checked) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        auto* button = c ? qobject_cast<QAbstractButton*>(c->widget) : nullptr;
        if (!button || !button->isCheckable()) return;
        QButtonGroup* group = button->group();
        // An exclusive group refuses to uncheck its checked button.
        if (group && !checked) group->setExclusive(false);
        button->setChecked(checked);
        if (group && !checked) group->setExclusive(true);
    });
}

int QtUi::ProgressMax(WindowId window, std::string_view control) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, control);
        auto* bar = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr;
        return bar ? MaximumOf(bar) : 0;
    });
}

void QtUi::SetProgressMax(WindowId window, std::string_view control, int max) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (auto* bar = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr) {
            const int pos = bar->value();
            const int maximum = std::max(0, max);
            // A range of 0..0 would make the bar a busy animation; an empty
            // run or pass leaves it empty instead, as the platform's bar does.
            bar->setProperty(kProgressMaximum, maximum);
            bar->setRange(0, std::max(1, maximum));
            bar->setValue(std::clamp(pos, 0, maximum));
        }
    });
}

int QtUi::ProgressPos(WindowId window, std::string_view control) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, control);
        auto* bar = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr;
        return bar ? std::max(0, bar->value()) : 0;
    });
}

void QtUi::SetProgressPos(WindowId window, std::string_view control, int pos) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        // Out of range the position stops at the nearer end, as a progress
        // bar does, instead of being ignored.
        if (auto* bar = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr) {
            bar->setValue(std::clamp(pos, bar->minimum(), MaximumOf(bar)));
        }
    });
}

DateTime QtUi::DateValue(WindowId window, std::string_view control) {
    return Call(kNoDate, [&] {
        BuiltControl* c = Control(window, control);
        auto* picker = c ? qobject_cast<DatePicker*>(c->widget) : nullptr;
        return picker ? FromQDateTime(picker->Value()) : kNoDate;
    });
}

void QtUi::SetDateValue(WindowId window, std::string_view control, DateTime value) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (auto* picker = c ? qobject_cast<DatePicker*>(c->widget) : nullptr) {
            picker->SetValue(ToQDateTime(value));
        }
    });
}

int QtUi::CurrentPage(WindowId window, std::string_view control) {
    return Call(-1, [&] {
        BuiltControl* c = Control(window, control);
        auto* tabs = c ? qobject_cast<TabControl*>(c->widget) : nullptr;
        return tabs ? tabs->CurrentPage() : -1;
    });
}

void QtUi::SetCurrentPage(WindowId window, std::string_view control, int page) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (auto* tabs = c ? qobject_cast<TabControl*>(c->widget) : nullptr) {
            tabs->SetCurrentPage(page);
        }
    });
}

// ---- list views --------------------------------------------------------------

int QtUi::ListInsert(WindowId window, std::string_view list, int position,
                     std::string_view title, int image, int stateImage, int indent, int value) {
    return Call(-1, [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->Insert(position, title, image, stateImage, indent, value)
                             : -1;
    });
}

std::string QtUi::ListGetText(WindowId window, std::string_view list, int row, int column) {
    return Call(std::string(), [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->Text(row, column) : std::string();
    });
}

void QtUi::ListSetText(WindowId window, std::string_view list, int row, int column,
                       std::string_view text) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (c && c->model) c->model->SetText(row, column, text);
    });
}

int QtUi::ListGetImage(WindowId window, std::string_view list, int row, int column) {
    return Call(-1, [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->Image(row, column) : -1;
    });
}

void QtUi::ListSetImage(WindowId window, std::string_view list, int row, int column,
                        int image) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (c && c->model) c->model->SetImage(row, column, image);
    });
}

int QtUi::ListGetStateImage(WindowId window, std::string_view list, int row) {
    return Call(-1, [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->StateImage(row) : -1;
    });
}

void QtUi::ListSetStateImage(WindowId window, std::string_view list, int row, int image) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (c && c->model) c->model->SetStateImage(row, image);
    });
}

int QtUi::ListGetData(WindowId window, std::string_view list, int row) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->Value(row) : 0;
    });
}

void QtUi::ListSetData(WindowId window, std::string_view list, int row, int value) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (c && c->model) c->model->SetValue(row, value);
    });
}

int QtUi::ListCount(WindowId window, std::string_view list) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->Count() : 0;
    });
}

int QtUi::ListColumnCount(WindowId window, std::string_view list) {
    return Call(0, [&] {
        BuiltControl* c = Control(window, list);
        return c && c->model ? c->model->columnCount() : 0;
    });
}

void QtUi::ListDelete(WindowId window, std::string_view list, int row) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (!c || !c->model) return;
        QItemSelectionModel* selection = static_cast<ListView*>(c->widget)->selectionModel();
        const bool wasCurrent = selection->isRowSelected(row, {});
        c->model->Remove(row);
        // The view would select the next row; the platform's list leaves none
        // current once the current row is gone.
        if (wasCurrent) {
            selection->clearSelection();
            selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
        }
    });
}

void QtUi::ListClear(WindowId window, std::string_view list) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (c && c->model) c->model->Clear();
    });
}

void QtUi::ListEnsureVisible(WindowId window, std::string_view list, int row) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (!c || !c->model || row < 0 || row >= c->model->Count()) return;
        c->model->Flush();
        static_cast<ListView*>(c->widget)->scrollTo(c->model->index(row, 0),
                                                    QAbstractItemView::EnsureVisible);
    });
}

int QtUi::ListCurrentRow(WindowId window, std::string_view list) {
    return Call(-1, [&] {
        BuiltControl* c = Control(window, list);
        if (!c || !c->model) return -1;
        const QModelIndexList rows =
            static_cast<ListView*>(c->widget)->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    });
}

void QtUi::ListSetCurrentRow(WindowId window, std::string_view list, int row) {
    Call([&] {
        BuiltControl* c = Control(window, list);
        if (!c || !c->model) return;
        c->model->Flush();
        QItemSelectionModel* selection = static_cast<ListView*>(c->widget)->selectionModel();
        if (row < 0 || row >= c->model->Count()) {
            selection->clearSelection();
            selection->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
            return;
        }
        selection->setCurrentIndex(c->model->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
    });
}

// ---- dialogs -------------------------------------------------------------------

int QtUi::MessageBox(std::string_view text, int flags, std::string_view caption) {
    if (std::optional<int> answer = TakeMessageBoxAnswer(text, flags, caption)) return *answer;
    return OnGuiThread() ? ShowMessageBoxHere(text, flags, caption)
                         : ShowMessageBoxForWorker(text, flags, caption);
}

int QtUi::ShowMessageBoxHere(std::string_view text, int flags, std::string_view caption) {
    // Application-modal: the program's windows take no input until it closes.
    std::unique_ptr<QMessageBox> box(MakeBox(text, flags, caption));
    box->exec();
    return ResultOf(box.get());
}

int QtUi::ShowMessageBoxForWorker(std::string_view text, int flags, std::string_view caption) {
    // Only the worker waits, and the GUI thread goes on serving: the box is
    // shown without a loop of its own, yet modal to the program's windows
    // like every other box, so that boxes never pile up.
    auto answer = std::make_shared<Waiter>();
    {
        std::lock_guard lock(callMutex_);
        if (shutDown_) return UnansweredResult(flags);
    }
    QMetaObject::invokeMethod(
        this,
        [this, answer, flags, text = std::string(text), caption = std::string(caption)] {
            {
                std::lock_guard lock(callMutex_);
                if (shutDown_) return;
            }
            QMessageBox* box = MakeBox(text, flags, caption);
            box->setWindowModality(Qt::ApplicationModal);
            connect(box, &QDialog::finished, this, [this, box, answer] {
                MarkDone(answer, ResultOf(box));
                box->deleteLater();
            });
            workerBoxes_.erase(std::remove(workerBoxes_.begin(), workerBoxes_.end(), nullptr),
                               workerBoxes_.end());
            workerBoxes_.emplace_back(box);
            box->show();
            box->raise();
            box->activateWindow();
        },
        Qt::QueuedConnection);
    return WaitUntilDone(answer) ? answer->result : UnansweredResult(flags);
}

std::string QtUi::BrowseFolder(std::string_view title, bool includeFiles) {
    if (std::optional<std::string> answer = TakeBrowseAnswer(title)) return *answer;
    return Call(std::string(), [&] {
        FolderDialog dialog(QApplication::activeWindow(), FromGbk(title), includeFiles);
        if (dialog.exec() != QDialog::Accepted || dialog.Chosen().isEmpty()) return std::string();
        // cleanPath drops a trailing separator except on the root.
        const QString path = QDir::toNativeSeparators(QDir::cleanPath(dialog.Chosen()));
        bool lossless = true;
        std::string gbk = ToGbk(path, &lossless);
        // A path that GBK cannot spell could not be opened again by the program.
        return lossless ? gbk : std::string();
    });
}

int QtUi::CursorX() {
    return Call(0, [] { return QCursor::pos().x(); });
}

int QtUi::CursorY() {
    return Call(0, [] { return QCursor::pos().y(); });
}

void QtUi::Delay(int ms) {
    if (ms <= 0) return;
    if (!OnGuiThread()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtUi::SetTextColour(WindowId window, std::string_view control, int colour) {
    Call([&] {
        BuiltControl* c = Control(window, control);
        if (!c || c->desc->kind != ControlKind::EditBox) return;
        const QColor text(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        QPalette palette = c->widget->palette();
        // A disabled box keeps the style's grey text, as on the platform.
        palette.setColor(QPalette::Active, QPalette::Text, text);
        palette.setColor(QPalette::Inactive, QPalette::Text, text);
        c->widget->setPalette(palette);
    });
}

}  // namespace zelvo::qt

#include "moc_qt_ui.cpp"
