#include "runtime/list_row_data.h"

namespace zelvo {

int ListRowData::Insert(int position, std::string_view title, int image, int stateImage,
                        int indent, int value) {
    const int row = Place(position);
    Row r;
    r.cells.resize(static_cast<std::size_t>(columns_));
    r.images.assign(static_cast<std::size_t>(columns_), -1);
    if (columns_ > 0) {
        r.cells[0] = std::string(title);
        r.images[0] = image;
    }
    r.stateImage = stateImage;
    r.indent = indent;
    r.value = value;
    rows_.insert(static_cast<std::size_t>(row), std::move(r));
    return row;
}

bool ListRowData::SetText(int row, int column, std::string_view text) {
    if (!ValidCell(row, column)) return false;
    at(row).cells[static_cast<std::size_t>(column)] = std::string(text);
    return true;
}

}  // namespace zelvo
