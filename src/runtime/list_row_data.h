#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/row_store.h"

// The rows of one report-view list as the port describes them: each row's
// cell texts (GBK, as the program keeps them), cell images, state image,
// indent and value. A row or cell out of range reads as the port's empty
// answer and is not written. The real frontends keep their rows here and add
// only what tells their own control of a change.
namespace zelvo {

class ListRowData {
  public:
    explicit ListRowData(int columns) : columns_(columns < 0 ? 0 : columns) {}

    int Count() const { return static_cast<int>(rows_.size()); }
    int Columns() const { return columns_; }
    bool ValidRow(int row) const { return row >= 0 && row < Count(); }
    bool ValidCell(int row, int column) const {
        return ValidRow(row) && column >= 0 && column < columns_;
    }

    // Where Insert puts a row: position < 0 or beyond the end appends.
    int Place(int position) const {
        return position < 0 || position > Count() ? Count() : position;
    }
    // Inserts at Place(position) and returns that index. The title and image
    // are the first column's.
    int Insert(int position, std::string_view title, int image, int stateImage, int indent,
               int value);
    void Remove(int row) {
        if (ValidRow(row)) rows_.erase(static_cast<std::size_t>(row));
    }
    void Clear() { rows_.clear(); }

    // For a cell known to be valid (a control painting it).
    const std::string& Cell(int row, int column) const {
        return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
    }
    int Indent(int row) const { return ValidRow(row) ? at(row).indent : 0; }

    std::string Text(int row, int column) const {
        return ValidCell(row, column) ? Cell(row, column) : std::string();
    }
    // False when there is no such cell.
    bool SetText(int row, int column, std::string_view text);
    int Image(int row, int column) const {
        return ValidCell(row, column) ? at(row).images[static_cast<std::size_t>(column)] : -1;
    }
    void SetImage(int row, int column, int image) {
        if (ValidCell(row, column)) at(row).images[static_cast<std::size_t>(column)] = image;
    }
    int StateImage(int row) const { return ValidRow(row) ? at(row).stateImage : -1; }
    void SetStateImage(int row, int image) {
        if (ValidRow(row)) at(row).stateImage = image;
    }
    int Value(int row) const { return ValidRow(row) ? at(row).value : 0; }
    void SetValue(int row, int value) {
        if (ValidRow(row)) at(row).value = value;
    }

  private:
    struct Row {
        std::vector<std::string> cells;
        std::vector<int> images;
        int stateImage = -1;
        int indent = 0;
        int value = 0;
    };
    Row& at(int row) { return rows_[static_cast<std::size_t>(row)]; }
    const Row& at(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int columns_;
    RowStore<Row> rows_;  // a filter pass deletes rows one by one
};

}  // namespace zelvo
