#include "results/result_saving.h"

#include <string>
#include <vector>

#include "forms/filter_window_controls.h"
#include "results/bounded_read.h"
#include "results/filter_window.h"
#include "results/result_files.h"
#include "results/result_list.h"
#include "results/result_messages.h"
#include "runtime/convert.h"
#include "runtime/files.h"

namespace zelvo {

namespace {

constexpr WindowId kMain = WindowId::Main;

bool writeText(std::string_view path, std::string_view text) {
    return WriteFileBytes(path, {AsBytes(text)});
}

}  // namespace

void saveFilteredResults(UiPort& ui, bool tellFolder) {
    const FilterConditions conditions = readFilterConditions(ui);
    const std::string courier = ui.GetText(kMain, kCourierBox);
    const int rows = ui.ListCount(kMain, kResultList);
    std::vector<std::string> numbers;
    numbers.reserve(static_cast<std::size_t>(rows > 0 ? rows : 0));
    for (int r = 0; r < rows; ++r) numbers.push_back(ui.ListGetText(kMain, kResultList, r, 1));
    const std::string text = composeFilterFile(conditions, courier, numbers);

    // The name comes from what the user typed: it may only name a file in
    // the current directory.
    const std::string name = filterFileName(conditions.startPlace, conditions.endPlace);
    if (!isPlainFileName(name)) {
        ui.SetEnabled(WindowId::Filter, filter_window::kFilterButton, true);
        ui.MessageBox(kPlacesNotFileNameText, kIconError);
        return;
    }
    const std::string folder = CurrentDirectory();
    const std::string path = joinPath(folder, name);
    const bool written = writeText(path, text);
    ui.SetEnabled(WindowId::Filter, filter_window::kFilterButton, true);
    if (written) {
        ui.MessageBox(tellFolder ? savedInFolderText(folder) : std::string(kSavedText),
                      kIconInformation, kSavedCaption);
    } else {
        ui.MessageBox(writeFailedText(path), kIconError);
    }
}

void exportResultList(UiPort& ui) {
    const std::string folder = ui.BrowseFolder(kSaveFolderTitle, false);
    if (folder.empty()) return;
    const std::string path = joinPath(folder, ToText(Now()) + ".txt");

    const int columns = ui.ListColumnCount(kMain, kResultList);
    const int rows = ui.ListCount(kMain, kResultList);
    std::string text;
    std::vector<std::string> cells(static_cast<std::size_t>(columns > 0 ? columns : 0));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            cells[static_cast<std::size_t>(c)] = ui.ListGetText(kMain, kResultList, r, c);
        }
        appendResultLine(text, cells);
    }
    if (!writeText(path, text)) ui.MessageBox(writeFailedText(path), kIconError);
}

void importResultList(UiPort& ui) {
    const std::string path = ui.BrowseFolder(kSaveFolderTitle, true);
    if (path.empty()) return;

    // The list is replaced only by what has really been read.
    const BoundedRead read = ReadFileBounded(path, kMaxResultFileBytes);
    if (read.status == ReadStatus::TooLarge) {
        ui.MessageBox(tooLargeText(path), kIconError);
        return;
    }
    if (read.status != ReadStatus::Read) {
        ui.MessageBox(readFailedText(path), kIconError);
        return;
    }

    const int columns = ui.ListColumnCount(kMain, kResultList);
    const ResultTable table = parseResultFile(ToText(BytesView(read.bytes)), columns);
    ui.ListClear(kMain, kResultList);
    for (const auto& fields : table) {
        const int row = ui.ListInsert(kMain, kResultList);
        for (std::size_t c = 0; c < fields.size(); ++c) {
            ui.ListSetText(kMain, kResultList, row, static_cast<int>(c), fields[c]);
        }
    }
}

void saveBlankNumbers(UiPort& ui, std::string_view blankNumbers) {
    const std::string folder = ui.BrowseFolder(kBlankFolderTitle, false);
    if (folder.empty()) return;
    const std::string courier = ui.GetText(kMain, kCourierBox);
    const std::string text = composeBlankNumberFile(courier, blankNumbers);
    // The courier's name comes from the rule source: it may only name a file
    // in the chosen folder.
    const std::string name = courier + ".txt";
    if (!isPlainFileName(name)) {
        ui.MessageBox(kCourierNotFileNameText, kIconError);
        return;
    }
    const std::string path = joinPath(folder, name);
    if (!writeText(path, text)) ui.MessageBox(writeFailedText(path), kIconError);
}

}  // namespace zelvo
