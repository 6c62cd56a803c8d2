#include "memory_ui.h"

#include <time.h>

#include <algorithm>
#include <utility>

#include "runtime/datetime.h"

namespace zelvo::testing {

namespace {

bool isWindowEvent(EventKind kind) {
    return kind == EventKind::Created || kind == EventKind::FirstActivated ||
           kind == EventKind::AboutToBeDestroyed;
}

}  // namespace

MemoryUi::MemoryUi() = default;
MemoryUi::~MemoryUi() = default;

// --- Helpers; the caller holds mutex_ ---

void MemoryUi::miss(WindowId window, std::string_view control) const {
    misses_.push_back(std::to_string(static_cast<int>(window)) + "/" + std::string(control));
}

MemoryUi::Control* MemoryUi::find(WindowId window, std::string_view control) {
    auto w = windows_.find(window);
    if (w != windows_.end() && w->second.open) {
        auto c = w->second.controls.find(control);
        if (c != w->second.controls.end()) return &c->second;
    }
    miss(window, control);
    return nullptr;
}

const MemoryUi::Control* MemoryUi::find(WindowId window, std::string_view control) const {
    auto w = windows_.find(window);
    if (w != windows_.end() && w->second.open) {
        auto c = w->second.controls.find(control);
        if (c != w->second.controls.end()) return &c->second;
    }
    miss(window, control);
    return nullptr;
}

// The list, when it exists and row is one of its rows (row -1: any).
MemoryUi::Control* MemoryUi::findList(WindowId window, std::string_view list, int row) {
    Control* c = find(window, list);
    if (c == nullptr || c->desc->kind != ControlKind::ListView) return nullptr;
    if (row != -1 && (row < 0 || row >= static_cast<int>(c->rows.size()))) return nullptr;
    return c;
}

void MemoryUi::build(WindowId id) {
    const WindowDesc& form = FormOf(id);
    Window& w = windows_[id];
    w.open = true;
    w.closing = false;
    w.enabled = true;
    w.openSeq = ++openSeq_;
    w.caption = std::string(form.caption);
    w.left = (screenWidth_ - form.width) / 2;
    w.top = (screenHeight_ - form.height) / 2;
    w.creations++;
    w.controls.clear();
    const DateTime now = Now();
    for (const ControlDesc& desc : form.controls) {
        Control c;
        c.desc = &desc;
        c.text = std::string(desc.text);
        c.enabled = desc.enabled;
        c.visible = desc.visible;
        c.checked = desc.checked;
        if (desc.kind == ControlKind::DatePicker) c.date = now;
        w.controls.emplace(std::string(desc.name), std::move(c));
    }
}

bool MemoryUi::inputEnabled(WindowId id) const {
    auto w = windows_.find(id);
    if (w == windows_.end() || !w->second.open || !w->second.enabled) return false;
    // A modal window opened later disables every window opened before it.
    for (const auto& [otherId, other] : windows_) {
        if (otherId != id && other.open && other.modal && other.openSeq > w->second.openSeq) {
            return false;
        }
    }
    return true;
}

bool MemoryUi::bound(const UiEvent& event) const { return BoundAction(event).has_value(); }

bool MemoryUi::acceptsInput(const UiEvent& event) const {
    auto w = windows_.find(event.window);
    if (w == windows_.end() || !w->second.open) return false;
    if (isWindowEvent(event.kind)) return event.control.empty() && bound(event);
    if (!inputEnabled(event.window)) return false;
    auto c = w->second.controls.find(event.control);
    if (c == w->second.controls.end()) return false;
    const Control& control = c->second;
    if (!control.enabled || !control.visible) return false;
    switch (event.kind) {
        case EventKind::HeaderClicked:
            if (event.arg < 0 || event.arg >= static_cast<int>(control.desc->columns.size())) {
                return false;
            }
            break;
        case EventKind::RowActivated:
            if (event.arg < 0 || event.arg >= static_cast<int>(control.rows.size())) return false;
            break;
        case EventKind::PageChanged:
            if (event.arg < 0 || event.arg >= static_cast<int>(control.desc->pages.size())) {
                return false;
            }
            break;
        default:
            break;
    }
    return bound(event);
}

// Never called with mutex_ held: the handler calls back into the port.
bool MemoryUi::deliver(const UiEvent& event) {
    UiEventHandler handler;
    {
        std::lock_guard lock(mutex_);
        delivered_.push_back(event);
        handler = handler_;
    }
    if (handler) handler(event);
    return true;
}

// --- Windows ---

void MemoryUi::SetEventHandler(UiEventHandler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

bool MemoryUi::LoadWindow(WindowId window, bool modal) {
    {
        std::lock_guard lock(mutex_);
        Window& w = windows_[window];
        if (w.open) {
            w.raises++;
            return true;
        }
        build(window);
        w.modal = modal;
    }
    fire({window, {}, EventKind::Created});
    fire({window, {}, EventKind::FirstActivated});
    if (!modal) return true;

    WindowCallback callback;
    {
        std::lock_guard lock(mutex_);
        auto found = modalCallbacks_.find(window);
        if (found != modalCallbacks_.end()) callback = found->second;
    }
    if (callback && IsWindowOpen(window)) callback(*this);
    CloseWindow(window);
    return true;
}

void MemoryUi::CloseWindow(WindowId window) {
    {
        std::lock_guard lock(mutex_);
        Window& w = windows_[window];
        if (!w.open || w.closing) return;
        w.closing = true;
    }
    // The handler still sees the controls while the window is closing.
    fire({window, {}, EventKind::AboutToBeDestroyed});
    std::lock_guard lock(mutex_);
    Window& w = windows_[window];
    w.open = false;
    w.closing = false;
    w.modal = false;
    w.controls.clear();
}

bool MemoryUi::IsWindowOpen(WindowId window) {
    std::lock_guard lock(mutex_);
    auto w = windows_.find(window);
    return w != windows_.end() && w->second.open;
}

int MemoryUi::WindowLeft(WindowId window) {
    std::lock_guard lock(mutex_);
    auto w = windows_.find(window);
    return w != windows_.end() && w->second.open ? w->second.left : 0;
}

int MemoryUi::WindowTop(WindowId window) {
    std::lock_guard lock(mutex_);
    auto w = windows_.find(window);
    return w != windows_.end() && w->second.open ? w->second.top : 0;
}

void MemoryUi::MoveWindow(WindowId window, int left, int top) {
    std::lock_guard lock(mutex_);
    auto w = windows_.find(window);
    if (w == windows_.end() || !w->second.open) return miss(window, {});
    w->second.left = left;
    w->second.top = top;
}

// --- Control values ---

std::string MemoryUi::GetText(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    if (control.empty()) {
        auto w = windows_.find(window);
        if (w != windows_.end() && w->second.open) return w->second.caption;
        miss(window, control);
        return {};
    }
    const Control* c = find(window, control);
    return c != nullptr ? c->text : std::string();
}

void MemoryUi::SetText(WindowId window, std::string_view control, std::string_view text) {
    std::lock_guard lock(mutex_);
    if (control.empty()) {
        auto w = windows_.find(window);
        if (w != windows_.end() && w->second.open) {
            w->second.caption = std::string(text);
        } else {
            miss(window, control);
        }
        return;
    }
    if (Control* c = find(window, control)) c->text = std::string(text);
}

void MemoryUi::AppendText(WindowId window, std::string_view control, std::string_view text) {
    std::lock_guard lock(mutex_);
    if (Control* c = find(window, control)) c->text.append(text);
}

bool MemoryUi::IsEnabled(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    if (control.empty()) return inputEnabled(window);
    const Control* c = find(window, control);
    return c != nullptr && c->enabled;
}

void MemoryUi::SetEnabled(WindowId window, std::string_view control, bool enabled) {
    std::lock_guard lock(mutex_);
    if (control.empty()) {
        auto w = windows_.find(window);
        if (w != windows_.end() && w->second.open) {
            w->second.enabled = enabled;
        } else {
            miss(window, control);
        }
        return;
    }
    if (Control* c = find(window, control)) c->enabled = enabled;
}

bool MemoryUi::IsVisible(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    if (control.empty()) {
        auto w = windows_.find(window);
        return w != windows_.end() && w->second.open;
    }
    const Control* c = find(window, control);
    return c != nullptr && c->visible;
}

void MemoryUi::SetVisible(WindowId window, std::string_view control, bool visible) {
    std::lock_guard lock(mutex_);
    if (Control* c = find(window, control)) c->visible = visible;
}

bool MemoryUi::IsChecked(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, control);
    return c != nullptr && c->checked;
}

void MemoryUi::SetChecked(WindowId window, std::string_view control, bool checked) {
    std::lock_guard lock(mutex_);
    Control* c = find(window, control);
    if (c == nullptr) return;
    // The radio buttons of a window form one group.
    if (checked && c->desc->kind == ControlKind::RadioButton) {
        for (auto& [name, other] : windows_[window].controls) {
            if (other.desc->kind == ControlKind::RadioButton) other.checked = false;
        }
    }
    c->checked = checked;
}

int MemoryUi::ProgressMax(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, control);
    return c != nullptr ? c->progressMax : 0;
}

// As the platform's bar: the position stays within 0..maximum.
void MemoryUi::SetProgressMax(WindowId window, std::string_view control, int max) {
    std::lock_guard lock(mutex_);
    if (Control* c = find(window, control)) {
        c->progressMax = std::max(0, max);
        c->progressPos = std::min(c->progressPos, c->progressMax);
    }
}

int MemoryUi::ProgressPos(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, control);
    return c != nullptr ? c->progressPos : 0;
}

void MemoryUi::SetProgressPos(WindowId window, std::string_view control, int pos) {
    std::lock_guard lock(mutex_);
    if (Control* c = find(window, control)) c->progressPos = std::clamp(pos, 0, c->progressMax);
}

DateTime MemoryUi::DateValue(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, control);
    return c != nullptr ? c->date : kNoDate;
}

void MemoryUi::SetDateValue(WindowId window, std::string_view control, DateTime value) {
    std::lock_guard lock(mutex_);
    if (Control* c = find(window, control)) c->date = value;
}

int MemoryUi::CurrentPage(WindowId window, std::string_view control) {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, control);
    return c != nullptr ? c->page : 0;
}

// Set by code: no page-changed event, as with the native control.
void MemoryUi::SetCurrentPage(WindowId window, std::string_view control, int page) {
    std::lock_guard lock(mutex_);
    Control* c = find(window, control);
    if (c != nullptr && page >= 0 && page < static_cast<int>(c->desc->pages.size())) {
        c->page = page;
    }
}

// --- List views ---

int MemoryUi::ListInsert(WindowId window, std::string_view list, int position,
                         std::string_view title, int image, int stateImage, int /*indent*/,
                         int value) {
    std::lock_guard lock(mutex_);
    Control* c = findList(window, list, -1);
    if (c == nullptr) return -1;
    const int count = static_cast<int>(c->rows.size());
    if (position < 0 || position > count) position = count;
    const size_t columns = c->desc->columns.empty() ? 1 : c->desc->columns.size();
    Row row;
    row.cells.assign(columns, std::string());
    row.images.assign(columns, -1);
    row.cells[0] = std::string(title);
    row.images[0] = image;
    row.stateImage = stateImage;
    row.value = value;
    c->rows.insert(static_cast<size_t>(position), std::move(row));
    if (c->currentRow >= position) c->currentRow++;
    return position;
}

std::string MemoryUi::ListGetText(WindowId window, std::string_view list, int row, int column) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, row < 0 ? -2 : row);
    if (c == nullptr || column < 0 || column >= static_cast<int>(c->rows[row].cells.size())) {
        return {};
    }
    return c->rows[row].cells[column];
}

void MemoryUi::ListSetText(WindowId window, std::string_view list, int row, int column,
                           std::string_view text) {
    std::lock_guard lock(mutex_);
    Control* c = findList(window, list, row < 0 ? -2 : row);
    if (c == nullptr || column < 0 || column >= static_cast<int>(c->rows[row].cells.size())) {
        return;
    }
    c->rows[row].cells[column] = std::string(text);
}

int MemoryUi::ListGetImage(WindowId window, std::string_view list, int row, int column) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, row < 0 ? -2 : row);
    if (c == nullptr || column < 0 || column >= static_cast<int>(c->rows[row].images.size())) {
        return -1;
    }
    return c->rows[row].images[column];
}

void MemoryUi::ListSetImage(WindowId window, std::string_view list, int row, int column,
                            int image) {
    std::lock_guard lock(mutex_);
    Control* c = findList(window, list, row < 0 ? -2 : row);
    if (c == nullptr || column < 0 || column >= static_cast<int>(c->rows[row].images.size())) {
        return;
    }
    c->rows[row].images[column] = image;
}

int MemoryUi::ListGetStateImage(WindowId window, std::string_view list, int row) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, row < 0 ? -2 : row);
    return c != nullptr ? c->rows[row].stateImage : -1;
}

void MemoryUi::ListSetStateImage(WindowId window, std::string_view list, int row, int image) {
    std::lock_guard lock(mutex_);
    if (Control* c = findList(window, list, row < 0 ? -2 : row)) c->rows[row].stateImage = image;
}

int MemoryUi::ListGetData(WindowId window, std::string_view list, int row) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, row < 0 ? -2 : row);
    return c != nullptr ? c->rows[row].value : 0;
}

void MemoryUi::ListSetData(WindowId window, std::string_view list, int row, int value) {
    std::lock_guard lock(mutex_);
    if (Control* c = findList(window, list, row < 0 ? -2 : row)) c->rows[row].value = value;
}

int MemoryUi::ListCount(WindowId window, std::string_view list) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, -1);
    return c != nullptr ? static_cast<int>(c->rows.size()) : 0;
}

int MemoryUi::ListColumnCount(WindowId window, std::string_view list) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, -1);
    return c != nullptr ? static_cast<int>(c->desc->columns.size()) : 0;
}

void MemoryUi::ListDelete(WindowId window, std::string_view list, int row) {
    std::lock_guard lock(mutex_);
    Control* c = findList(window, list, row < 0 ? -2 : row);
    if (c == nullptr) return;
    c->rows.erase(static_cast<size_t>(row));
    if (c->currentRow == row) {
        c->currentRow = -1;
    } else if (c->currentRow > row) {
        c->currentRow--;
    }
}

void MemoryUi::ListClear(WindowId window, std::string_view list) {
    std::lock_guard lock(mutex_);
    Control* c = findList(window, list, -1);
    if (c == nullptr) return;
    c->rows.clear();
    c->currentRow = -1;
}

void MemoryUi::ListEnsureVisible(WindowId window, std::string_view list, int row) {
    std::lock_guard lock(mutex_);
    if (Control* c = findList(window, list, row < 0 ? -2 : row)) c->ensuredVisible = row;
}

int MemoryUi::ListCurrentRow(WindowId window, std::string_view list) {
    std::lock_guard lock(mutex_);
    const Control* c = findList(window, list, -1);
    return c != nullptr ? c->currentRow : -1;
}

void MemoryUi::ListSetCurrentRow(WindowId window, std::string_view list, int row) {
    std::lock_guard lock(mutex_);
    Control* c = findList(window, list, -1);
    if (c == nullptr) return;
    c->currentRow = row >= 0 && row < static_cast<int>(c->rows.size()) ? row : -1;
}

// --- Dialogs and the rest ---

int MemoryUi::MessageBox(std::string_view text, int flags, std::string_view caption) {
    MessageRecord record{std::string(text), flags, std::string(caption)};
    MessageCallback callback;
    // Unanswered, a box gives what its close box would: OK, or No for a
    // Yes/No box.
    int answer = (flags & 0xF) == kYesNo ? kResultNo : kResultOk;
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(record);
        callback = messageCallback_;
        if (!callback && !messageAnswers_.empty()) {
            answer = messageAnswers_.front();
            messageAnswers_.erase(messageAnswers_.begin());
        }
    }
    return callback ? callback(record) : answer;
}

std::string MemoryUi::BrowseFolder(std::string_view title, bool includeFiles) {
    std::lock_guard lock(mutex_);
    folderRequests_.push_back({std::string(title), includeFiles});
    if (folderAnswers_.empty()) return {};
    std::string answer = std::move(folderAnswers_.front());
    folderAnswers_.erase(folderAnswers_.begin());
    return answer;
}

int MemoryUi::CursorX() {
    std::lock_guard lock(mutex_);
    return cursorX_;
}

int MemoryUi::CursorY() {
    std::lock_guard lock(mutex_);
    return cursorY_;
}

void MemoryUi::Delay(int ms) {
    if (ms <= 0) return;
    {
        std::lock_guard lock(mutex_);
        totalDelayMs_ += ms;
    }
    // <chrono> cannot be compiled with the GBK execution character set.
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

// --- Test API ---

bool MemoryUi::fire(const UiEvent& event) {
    {
        std::lock_guard lock(mutex_);
        if (!acceptsInput(event)) return false;
    }
    return deliver(event);
}

bool MemoryUi::click(WindowId window, std::string_view control) {
    return fire({window, std::string(control), EventKind::Clicked});
}

bool MemoryUi::activateRow(WindowId window, std::string_view list, int row) {
    {
        std::lock_guard lock(mutex_);
        UiEvent event{window, std::string(list), EventKind::RowActivated, row};
        if (!acceptsInput(event)) return false;
        findList(window, list, row)->currentRow = row;
    }
    return fire({window, std::string(list), EventKind::RowActivated, row});
}

bool MemoryUi::clickHeader(WindowId window, std::string_view list, int column) {
    return fire({window, std::string(list), EventKind::HeaderClicked, column});
}

bool MemoryUi::selectPage(WindowId window, std::string_view tabs, int page) {
    {
        std::lock_guard lock(mutex_);
        UiEvent event{window, std::string(tabs), EventKind::PageChanged, page};
        if (!acceptsInput(event)) return false;
        find(window, tabs)->page = page;
    }
    return fire({window, std::string(tabs), EventKind::PageChanged, page});
}

bool MemoryUi::type(WindowId window, std::string_view control, std::string_view text) {
    std::lock_guard lock(mutex_);
    if (!inputEnabled(window)) return false;
    Control* c = find(window, control);
    if (c == nullptr || c->desc->kind != ControlKind::EditBox || c->desc->readOnly || !c->enabled ||
        !c->visible) {
        return false;
    }
    c->text = std::string(text);
    return true;
}

std::vector<UiEvent> MemoryUi::deliveredEvents() const {
    std::lock_guard lock(mutex_);
    return delivered_;
}

void MemoryUi::onModal(WindowId window, WindowCallback callback) {
    std::lock_guard lock(mutex_);
    modalCallbacks_[window] = std::move(callback);
}

int MemoryUi::creations(WindowId window) const {
    std::lock_guard lock(mutex_);
    auto w = windows_.find(window);
    return w != windows_.end() ? w->second.creations : 0;
}

int MemoryUi::raises(WindowId window) const {
    std::lock_guard lock(mutex_);
    auto w = windows_.find(window);
    return w != windows_.end() ? w->second.raises : 0;
}

bool MemoryUi::isWindowEnabled(WindowId window) const {
    std::lock_guard lock(mutex_);
    return inputEnabled(window);
}

void MemoryUi::setScreenSize(int width, int height) {
    std::lock_guard lock(mutex_);
    screenWidth_ = width;
    screenHeight_ = height;
}

void MemoryUi::setCursor(int x, int y) {
    std::lock_guard lock(mutex_);
    cursorX_ = x;
    cursorY_ = y;
}

std::vector<MemoryUi::MessageRecord> MemoryUi::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

void MemoryUi::clearMessages() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

void MemoryUi::queueMessageAnswer(int result) {
    std::lock_guard lock(mutex_);
    messageAnswers_.push_back(result);
}

void MemoryUi::onMessage(MessageCallback callback) {
    std::lock_guard lock(mutex_);
    messageCallback_ = std::move(callback);
}

std::vector<MemoryUi::FolderRequest> MemoryUi::folderRequests() const {
    std::lock_guard lock(mutex_);
    return folderRequests_;
}

void MemoryUi::queueFolderAnswer(std::string path) {
    std::lock_guard lock(mutex_);
    folderAnswers_.push_back(std::move(path));
}

std::vector<std::string> MemoryUi::listRow(WindowId window, std::string_view list, int row) const {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, list);
    if (c == nullptr || row < 0 || row >= static_cast<int>(c->rows.size())) return {};
    return c->rows[row].cells;
}

int MemoryUi::lastEnsuredVisible(WindowId window, std::string_view list) const {
    std::lock_guard lock(mutex_);
    const Control* c = find(window, list);
    return c != nullptr ? c->ensuredVisible : -1;
}

int MemoryUi::totalDelayMs() const {
    std::lock_guard lock(mutex_);
    return totalDelayMs_;
}

std::vector<std::string> MemoryUi::misses() const {
    std::lock_guard lock(mutex_);
    return misses_;
}

}  // namespace zelvo::testing
