#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/list_row_data.h"
#include "win32_api.h"

// The rows of one report-view list. The list control is virtual
// (LVS_OWNERDATA): it keeps no texts and asks for the cells of the rows it
// paints, which are converted from the program's GBK texts only then, so
// 100,000 inserted rows cost no conversions and no per-row control calls.
//
// Appended and deleted rows reach the control in batches, as do repaints
// after cell changes: a verification run appends one cross-thread call at a time, and
// a sort rewrites every cell. The first batch goes out as soon as the
// message loop runs, later ones at most every kBatchMs, or every
// kCostFactor times what the last batch took the control, if longer: telling
// the control of a new count takes about 13 ms under Wine (its scroll bar
// and header), and batches every 50 ms took a quarter of a run's UI thread,
// which every worker's update waits for. The operations below always see
// every row; only the control may lag.
namespace zelvo::win32 {

class ListRows {
  public:
    ListRows(HWND list, int columns);
    ~ListRows();
    ListRows(const ListRows&) = delete;
    ListRows& operator=(const ListRows&) = delete;

    // position < 0 or beyond the end appends; returns the new row's index.
    int Insert(int position, std::string_view title, int image, int stateImage, int indent,
               int value);
    void Remove(int row);
    void Clear();
    int Count() const { return rows_.Count(); }
    int Columns() const { return rows_.Columns(); }
    // Hands the rows appended and the cells changed so far to the control now.
    void Flush();

    std::string Text(int row, int column) const { return rows_.Text(row, column); }
    void SetText(int row, int column, std::string_view text);
    int Image(int row, int column) const { return rows_.Image(row, column); }
    void SetImage(int row, int column, int image) { rows_.SetImage(row, column, image); }
    int StateImage(int row) const { return rows_.StateImage(row); }
    void SetStateImage(int row, int image) { rows_.SetStateImage(row, image); }
    int Value(int row) const { return rows_.Value(row); }
    void SetValue(int row, int value) { rows_.SetValue(row, value); }

    // The selected row, -1 when none; a row out of range clears the selection.
    int CurrentRow() const { return selected_; }
    void SetCurrentRow(int row);
    // LVN_ITEMCHANGED from the control (a click of the user's, or the code's).
    void NoteStateChange(const NMLISTVIEW& change);
    void EnsureVisible(int row);

    // LVN_GETDISPINFOW from the control.
    void FillDisplayInfo(NMLVDISPINFOW& info) const;

  private:
    void Schedule();
    void Select(int row, bool selected);
    static void CALLBACK OnTimer(HWND list, UINT message, UINT_PTR id, DWORD time);

    static constexpr double kBatchMs = 50;
    static constexpr double kCostFactor = 10;
    HWND list_;
    ListRowData rows_;
    int shown_ = 0;       // rows the control knows of: rows_[0, shown_)
    // The selected row, kept here: asking a virtual list for it walks every
    // row, and a filter pass asks once per deleted row.
    int selected_ = -1;
    bool repaint_ = false;
    bool timerSet_ = false;
    double lastFlushMs_ = 0;  // when the last batch went out (ElapsedMs)
    double flushCostMs_ = 0;  // and how long it took
};

}  // namespace zelvo::win32
