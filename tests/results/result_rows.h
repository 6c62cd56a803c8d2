#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "results/result_list.h"
#include "runtime/ui.h"

// The main window's result list as the tests fill and read it, on any port.
namespace zelvo::testing {

// Appends a row whose cells, from the first column on, are `cells`; the
// port's defaults for the rest.
inline void AddResultRow(UiPort& ui, const std::vector<std::string>& cells) {
    const int row = ui.ListInsert(WindowId::Main, kResultList);
    for (std::size_t c = 0; c < cells.size(); ++c) {
        ui.ListSetText(WindowId::Main, kResultList, row, static_cast<int>(c), cells[c]);
    }
}

// One column's cells, first row to last.
inline std::vector<std::string> ResultColumn(UiPort& ui, int column) {
    std::vector<std::string> cells;
    for (int r = 0; r < ui.ListCount(WindowId::Main, kResultList); ++r) {
        cells.push_back(ui.ListGetText(WindowId::Main, kResultList, r, column));
    }
    return cells;
}

}  // namespace zelvo::testing
