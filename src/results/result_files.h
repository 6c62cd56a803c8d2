#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/datetime.h"

// The texts of the files that hold results: the ResultFile written by
// "全部保存" and read by "全部读取", the filter result file and the
// blank-number file. GBK, lines ended by "\r\n".
namespace zelvo {

inline constexpr std::string_view kCellSeparator = "≤≌≥";
inline constexpr std::string_view kLineBreak = "\r\n";

// Rows of the result list, each a list of cell texts from column 0 on.
using ResultTable = std::vector<std::vector<std::string>>;

// Every cell followed by the separator, every row by a line break. A cell
// ending in the first byte of a double-byte character is written without it.
std::string composeResultFile(const ResultTable& rows);
void appendResultLine(std::string& text, const std::vector<std::string>& cells);

// One row per line; a line's fields fill the columns from 0 on, fields beyond
// columnCount are dropped and an empty line gives a row without fields. No
// field ends in the first byte of a double-byte character: that byte is dropped.
ResultTable parseResultFile(std::string_view text, int columnCount);

// What the filter window asks for; the dates are the pickers' values.
struct FilterConditions {
    std::string startPlace;
    std::string endPlace;
    DateTime departFrom;
    DateTime departTo;
    DateTime receiptFrom;
    DateTime receiptTo;
};

// The seven header lines, then one order number per line.
std::string composeFilterFile(const FilterConditions& conditions, std::string_view courier,
                              const std::vector<std::string>& numbers);

// The four header lines, then the blank numbers as they stand.
std::string composeBlankNumberFile(std::string_view courier, std::string_view blankNumbers);

// 起点 + "－" + 终点 + ".txt".
std::string filterFileName(std::string_view startPlace, std::string_view endPlace);

// True when name names a file inside a folder and nowhere else: it holds no
// path separator of either platform and no drive or stream colon.
bool isPlainFileName(std::string_view name);

// folder, the platform's separator (unless folder already ends with one), name.
std::string joinPath(std::string_view folder, std::string_view name);

}  // namespace zelvo
