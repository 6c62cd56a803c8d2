#include "results/filter_window.h"

#include "forms/filter_window_controls.h"
#include "results/result_list.h"
#include "results/result_messages.h"
#include "results/result_saving.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace zelvo {

namespace {

constexpr WindowId kFilter = WindowId::Filter;
using filter_window::kDepartFromPicker;
using filter_window::kDepartToPicker;
using filter_window::kEndPlaceBox;
using filter_window::kFilterButton;
using filter_window::kReceiptFromPicker;
using filter_window::kReceiptToPicker;
using filter_window::kStartPlaceBox;

bool placeMatches(std::string_view place, std::string_view sought) {
    return sought.empty() || FindText(place, sought) != -1;
}

bool dayWithin(std::string_view timeText, DateTime first, DateTime last) {
    const DateTime day = DatePart(TextToDateTime(timeText));
    return !(day < DatePart(first)) && !(day > DatePart(last));
}

}  // namespace

bool rowPassesFilter(const FilterCells& cells, const FilterConditions& conditions) {
    return placeMatches(cells.departPlace, conditions.startPlace) &&
           placeMatches(cells.receiptPlace, conditions.endPlace) &&
           dayWithin(cells.departTime, conditions.departFrom, conditions.departTo) &&
           dayWithin(cells.receiptTime, conditions.receiptFrom, conditions.receiptTo);
}

FilterConditions readFilterConditions(UiPort& ui) {
    FilterConditions conditions;
    conditions.startPlace = ui.GetText(kFilter, kStartPlaceBox);
    conditions.endPlace = ui.GetText(kFilter, kEndPlaceBox);
    conditions.departFrom = ui.DateValue(kFilter, kDepartFromPicker);
    conditions.departTo = ui.DateValue(kFilter, kDepartToPicker);
    conditions.receiptFrom = ui.DateValue(kFilter, kReceiptFromPicker);
    conditions.receiptTo = ui.DateValue(kFilter, kReceiptToPicker);
    return conditions;
}

void initFilterDates(UiPort& ui) {
    for (std::string_view picker : {kDepartFromPicker, kReceiptFromPicker}) {
        ui.SetDateValue(kFilter, picker, AddToDateTime(ui.DateValue(kFilter, picker), 5, -30));
    }
}

void filterResults(UiPort& ui, bool tellFolder) {
    // The file name is made of the place fields; refuse before any row is
    // deleted rather than after, when the rows left could not be saved.
    {
        const FilterConditions conditions = readFilterConditions(ui);
        if (!isPlainFileName(filterFileName(conditions.startPlace, conditions.endPlace))) {
            ui.MessageBox(kPlacesNotFileNameText, kIconError);
            return;
        }
    }

    ui.SetEnabled(kFilter, kFilterButton, false);
    // Hidden for the pass, so that no deletion repaints the list.
    ui.SetVisible(WindowId::Main, kResultList, false);
    const int n = ui.ListCount(WindowId::Main, kResultList);
    ui.SetProgressMax(WindowId::Main, kResultProgress, n);
    for (int i = 1; i <= n; ++i) {
        ui.SetProgressPos(WindowId::Main, kResultProgress, i);
        // Last to first: deleting row r moves no row still to be examined.
        const int r = n - i;
        FilterCells cells;
        cells.departTime = ui.ListGetText(WindowId::Main, kResultList, r, 2);
        cells.departPlace = ui.ListGetText(WindowId::Main, kResultList, r, 3);
        cells.receiptTime = ui.ListGetText(WindowId::Main, kResultList, r, 4);
        cells.receiptPlace = ui.ListGetText(WindowId::Main, kResultList, r, 5);
        // The fields are read for every row, as the user left them.
        if (!rowPassesFilter(cells, readFilterConditions(ui))) {
            ui.ListDelete(WindowId::Main, kResultList, r);
        }
    }
    ui.SetVisible(WindowId::Main, kResultList, true);

    saveFilteredResults(ui, tellFolder);
}

}  // namespace zelvo
