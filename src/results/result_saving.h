#pragma once

#include <string_view>

#include "runtime/ui.h"

// The four file operations on results. Cancelling a folder choice ends an
// operation silently; a file that cannot be written or read is reported in an
// error box.
namespace zelvo {

// After a filter pass: the conditions and the numbers left, into
// 起点－终点.txt in the current directory; re-enables the filter button.
// With tellFolder (the program works in the user's own folder, not beside
// the program file) the success box also names the folder.
void saveFilteredResults(UiPort& ui, bool tellFolder = false);

// "全部保存": every row as a ResultFile named by the present time.
void exportResultList(UiPort& ui);

// "全部读取": replaces the rows by those of a chosen ResultFile once it has
// been read.
void importResultList(UiPort& ui);

// "保存空白定单": the numbers without a record, into <快递类型>.txt.
void saveBlankNumbers(UiPort& ui, std::string_view blankNumbers);

}  // namespace zelvo
