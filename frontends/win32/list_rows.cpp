#include "list_rows.h"

#include "gbk_text.h"

namespace zelvo::win32 {

namespace {

constexpr wchar_t kRowsProperty[] = L"ZelvoListRows";
constexpr UINT_PTR kFlushTimer = 1;

}  // namespace

ListRows::ListRows(HWND list, int columns) : list_(list), columns_(columns) {
    SetPropW(list_, kRowsProperty, this);
}

ListRows::~ListRows() {
    if (timerSet_) KillTimer(list_, kFlushTimer);
    RemovePropW(list_, kRowsProperty);
}

void CALLBACK ListRows::OnTimer(HWND list, UINT, UINT_PTR, DWORD) {
    if (auto* rows = static_cast<ListRows*>(GetPropW(list, kRowsProperty))) rows->Flush();
}

void ListRows::Schedule() {
    if (timerSet_) return;
    const std::uint64_t since = GetTickCount64() - lastFlush_;
    const DWORD wait = since >= kBatchMs ? USER_TIMER_MINIMUM : static_cast<DWORD>(kBatchMs - since);
    timerSet_ = SetTimer(list_, kFlushTimer, wait, &ListRows::OnTimer) != 0;
    if (!timerSet_) Flush();
}

void ListRows::Flush() {
    if (timerSet_) KillTimer(list_, kFlushTimer);
    timerSet_ = false;
    lastFlush_ = GetTickCount64();
    if (shown_ != Count()) {
        shown_ = Count();
        ListView_SetItemCountEx(list_, shown_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        repaint_ = true;
    }
    if (repaint_) {
        repaint_ = false;
        InvalidateRect(list_, nullptr, FALSE);
    }
}

int ListRows::Insert(int position, std::string_view title, int image, int stateImage, int indent,
                     int value) {
    const int row = (position < 0 || position > Count()) ? Count() : position;
    Row r;
    r.cells.resize(static_cast<size_t>(columns_));
    r.images.assign(static_cast<size_t>(columns_), -1);
    if (columns_ > 0) {
        r.cells[0] = std::string(title);
        r.images[0] = image;
    }
    r.stateImage = stateImage;
    r.indent = indent;
    r.value = value;
    if (row == Count()) {
        rows_.push_back(std::move(r));
        Schedule();
        return row;
    }
    Flush();
    const int selected = CurrentRow();
    rows_.insert(static_cast<size_t>(row), std::move(r));
    shown_ = Count();
    ListView_SetItemCountEx(list_, shown_, LVSICF_NOSCROLL);
    // The control's selection is by index: the selected row moved down.
    if (selected >= row) SetCurrentRow(selected + 1);
    InvalidateRect(list_, nullptr, FALSE);
    return row;
}

void ListRows::Remove(int row) {
    if (!ValidRow(row)) return;
    Flush();
    const int selected = CurrentRow();
    rows_.erase(static_cast<size_t>(row));
    shown_ = Count();
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, shown_, LVSICF_NOSCROLL);
    // The selection follows its row; the deleted row's selection goes with it.
    if (selected > row) SetCurrentRow(selected - 1);
    InvalidateRect(list_, nullptr, FALSE);
}

void ListRows::Clear() {
    if (timerSet_) KillTimer(list_, kFlushTimer);
    timerSet_ = false;
    repaint_ = false;
    rows_.clear();
    shown_ = 0;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list_, 0, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

std::string ListRows::Text(int row, int column) const {
    if (!ValidCell(row, column)) return {};
    return rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
}

void ListRows::SetText(int row, int column, std::string_view text) {
    if (!ValidCell(row, column)) return;
    rows_[static_cast<size_t>(row)].cells[static_cast<size_t>(column)] = std::string(text);
    if (row >= shown_ || repaint_) return;  // the control reads it with its batch
    repaint_ = true;
    Schedule();
}

int ListRows::Image(int row, int column) const {
    return ValidCell(row, column) ? rows_[static_cast<size_t>(row)].images[static_cast<size_t>(column)]
                                  : -1;
}

void ListRows::SetImage(int row, int column, int image) {
    if (ValidCell(row, column)) {
        rows_[static_cast<size_t>(row)].images[static_cast<size_t>(column)] = image;
    }
}

int ListRows::StateImage(int row) const {
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].stateImage : -1;
}

void ListRows::SetStateImage(int row, int image) {
    if (ValidRow(row)) rows_[static_cast<size_t>(row)].stateImage = image;
}

int ListRows::Value(int row) const {
    return ValidRow(row) ? rows_[static_cast<size_t>(row)].value : 0;
}

void ListRows::SetValue(int row, int value) {
    if (ValidRow(row)) rows_[static_cast<size_t>(row)].value = value;
}

int ListRows::CurrentRow() const {
    const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    return row < Count() ? row : -1;
}

void ListRows::SetCurrentRow(int row) {
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (!ValidRow(row)) return;
    Flush();
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list_, row);
}

void ListRows::EnsureVisible(int row) {
    if (!ValidRow(row)) return;
    Flush();
    ListView_EnsureVisible(list_, row, FALSE);
}

void ListRows::FillDisplayInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (!ValidCell(item.iItem, item.iSubItem)) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text =
            FromGbk(rows_[static_cast<size_t>(item.iItem)].cells[static_cast<size_t>(item.iSubItem)]);
        const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        text.copy(item.pszText, n);
        item.pszText[n] = L'\0';
    }
    if (item.mask & LVIF_INDENT) item.iIndent = rows_[static_cast<size_t>(item.iItem)].indent;
}

}  // namespace zelvo::win32
