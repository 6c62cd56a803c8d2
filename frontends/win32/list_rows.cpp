#include "list_rows.h"

#include <algorithm>

#include "gbk_text.h"

namespace zelvo::win32 {

namespace {

constexpr wchar_t kRowsProperty[] = L"ZelvoListRows";
constexpr UINT_PTR kFlushTimer = 1;

// A clock finer than the tick (15.6 ms on Windows), for a batch's cost.
double ElapsedMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

ListRows::ListRows(HWND list, int columns) : list_(list), rows_(columns) {
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
    const double interval = std::max(kBatchMs, kCostFactor * flushCostMs_);
    const double since = ElapsedMs() - lastFlushMs_;
    const DWORD wait =
        since >= interval ? USER_TIMER_MINIMUM : static_cast<DWORD>(interval - since) + 1;
    timerSet_ = SetTimer(list_, kFlushTimer, wait, &ListRows::OnTimer) != 0;
    if (!timerSet_) Flush();
}

void ListRows::Flush() {
    if (timerSet_) KillTimer(list_, kFlushTimer);
    timerSet_ = false;
    const double begin = ElapsedMs();
    if (shown_ == Count() && !repaint_) return;
    if (shown_ != Count()) {
        shown_ = Count();
        // Rows appended: the control repaints those of them in view itself.
        // Repainting the whole list for them as well, once per batch, made
        // a run through the windows a tenth slower under Wine.
        ListView_SetItemCountEx(list_, shown_, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    }
    if (repaint_) {
        repaint_ = false;
        InvalidateRect(list_, nullptr, FALSE);
    }
    lastFlushMs_ = ElapsedMs();
    flushCostMs_ = lastFlushMs_ - begin;
}

void ListRows::Select(int row, bool selected) {
    const UINT state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    ListView_SetItemState(list_, row, state, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected) ListView_SetSelectionMark(list_, row);
}

void ListRows::NoteStateChange(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE)) return;
    if (change.uNewState & LVIS_SELECTED) {
        selected_ = change.iItem < Count() ? change.iItem : -1;
    } else if ((change.uOldState & LVIS_SELECTED) && (change.iItem == selected_ || change.iItem < 0)) {
        selected_ = -1;
    }
}

int ListRows::Insert(int position, std::string_view title, int image, int stateImage, int indent,
                     int value) {
    const int row = rows_.Place(position);
    if (row == Count()) {
        rows_.Insert(row, title, image, stateImage, indent, value);
        Schedule();
        return row;
    }
    Flush();
    const int selected = selected_;
    rows_.Insert(row, title, image, stateImage, indent, value);
    shown_ = Count();
    ListView_SetItemCountEx(list_, shown_, LVSICF_NOSCROLL);
    // The control's selection is by index: the selected row moved down.
    if (selected >= row) SetCurrentRow(selected + 1);
    InvalidateRect(list_, nullptr, FALSE);
    return row;
}

void ListRows::Remove(int row) {
    if (!rows_.ValidRow(row)) return;
    const int selected = selected_;
    rows_.Remove(row);
    // The selection follows its row; the deleted row's goes with it. The
    // control still holds every row it knew of, so both indices are valid.
    if (selected == row) {
        Select(row, false);
        selected_ = -1;
    } else if (selected > row) {
        Select(selected, false);
        Select(selected - 1, true);
        selected_ = selected - 1;
    }
    // The count and the repaint follow with the next batch.
    repaint_ = true;
    Schedule();
}

void ListRows::Clear() {
    if (timerSet_) KillTimer(list_, kFlushTimer);
    timerSet_ = false;
    repaint_ = false;
    rows_.Clear();
    shown_ = 0;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    selected_ = -1;
    ListView_SetItemCountEx(list_, 0, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void ListRows::SetText(int row, int column, std::string_view text) {
    if (!rows_.SetText(row, column, text)) return;
    if (row >= shown_ || repaint_) return;  // the control reads it with its batch
    repaint_ = true;
    Schedule();
}

void ListRows::SetCurrentRow(int row) {
    if (selected_ >= 0 && selected_ < shown_) Select(selected_, false);
    selected_ = -1;
    if (!rows_.ValidRow(row)) return;
    Flush();
    Select(row, true);
    selected_ = row;
}

void ListRows::EnsureVisible(int row) {
    if (!rows_.ValidRow(row)) return;
    Flush();
    ListView_EnsureVisible(list_, row, FALSE);
}

void ListRows::FillDisplayInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (!rows_.ValidCell(item.iItem, item.iSubItem)) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        const std::wstring text = FromGbk(rows_.Cell(item.iItem, item.iSubItem));
        const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
        text.copy(item.pszText, n);
        item.pszText[n] = L'\0';
    }
    if (item.mask & LVIF_INDENT) item.iIndent = rows_.Indent(item.iItem);
}

}  // namespace zelvo::win32
