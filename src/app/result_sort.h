#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/ui.h"

// Sorting the main window's result list by a column header click. The order
// is the one an insertion of every row, top to bottom, at the place that
// findInsertPosition gives builds; ties keep that insertion's order.
namespace zelvo {

enum class SortKind { Numeric, DateTime };

// Two keys closer than this compare equal.
inline constexpr double kSortKeyTolerance = 0.0000001;

// The value of a cell as a sort key: the text trimmed of ASCII and full-width
// blanks, read as a number or as a date-time day count.
double sortKeyValue(std::string_view cellText, SortKind kind);

// The 1-based position (1 to n+1) at which key goes into keys, which hold the
// key texts sorted so far in ascending order.
int findInsertPosition(const std::vector<std::string>& keys, std::string_view key, SortKind kind);

// The source rows in ascending order: element i is the list row that the
// insertion loop over keyTexts (list order) puts at 0-based position i.
std::vector<int> insertionSortOrder(const std::vector<std::string>& keyTexts, SortKind kind);

// Reorders the rows of 超级列表框1 by one column, moving every row's cell
// texts, cell images, item value and check state together, and selects the
// previously selected row again.
void sortResultList(UiPort& ui, int column, SortKind kind, bool ascending);

// Header click on 超级列表框1: flips sortAscending, then sorts columns 1
// (numbers), 2 and 4 (date-times); other columns only flip the direction.
void onResultHeaderClicked(UiPort& ui, bool& sortAscending, int column);

}  // namespace zelvo
