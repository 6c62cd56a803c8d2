#pragma once

#include <string>

#include "results/result_files.h"
#include "runtime/ui.h"

// The filter window "快递过滤": deletes the result rows whose places or dates
// do not match, then saves the numbers left.
namespace zelvo {

// The four cells of a row that the filter looks at.
struct FilterCells {
    std::string departTime;    // column 2
    std::string departPlace;   // column 3
    std::string receiptTime;   // column 4
    std::string receiptPlace;  // column 5
};

// The tests in their order: departure place, receipt place, departure date,
// receipt date. Places must contain the untrimmed field (empty: any); dates
// count by calendar day with both ends included, an unreadable time as
// 100-01-01.
bool rowPassesFilter(const FilterCells& cells, const FilterConditions& conditions);

// The fields of the open filter window.
FilterConditions readFilterConditions(UiPort& ui);

// Window created: both start pickers go back 30 days.
void initFilterDates(UiPort& ui);

// "过滤并保存" in the filter window: the pass over the rows, last to first,
// then saveFilteredResults (tellFolder: see there).
void filterResults(UiPort& ui, bool tellFolder = false);

}  // namespace zelvo
