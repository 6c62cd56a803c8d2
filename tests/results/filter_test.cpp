#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_ui.h"
#include "result_rows.h"
#include "results/filter_window.h"
#include "results/result_files.h"
#include "results/result_list.h"
#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/text.h"
#include "temp_folder.h"

namespace zelvo {
namespace {

using testing::CurrentDirectoryScope;
using testing::MemoryUi;
using testing::TempFolder;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kFilter = WindowId::Filter;

FilterConditions anyPlaceIn(DateTime first, DateTime last) {
    FilterConditions conditions;
    conditions.departFrom = conditions.receiptFrom = first;
    conditions.departTo = conditions.receiptTo = last;
    return conditions;
}

TEST(RowPassesFilter, PlacesAndCalendarDays) {
    const DateTime first = MakeDateTime(2011, 1, 5, 12);
    const DateTime last = MakeDateTime(2011, 1, 10, 8);
    struct Case {
        const char* what;
        FilterCells cells;
        std::string start, end;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"no conditions", {"2011-1-7", "", "2011-1-7", ""}, "", "", true},
        {"start place in the middle", {"2011-1-7", "中国北京市", "2011-1-7", ""}, "北京", "", true},
        {"start place at the start", {"2011-1-7", "北京市", "2011-1-7", ""}, "北京", "", true},
        {"start place at the end", {"2011-1-7", "中国北京", "2011-1-7", ""}, "北京", "", true},
        {"start place only in the receipt place",
         {"2011-1-7", "上海", "2011-1-7", "北京"},
         "北京",
         "",
         false},
        {"end place", {"2011-1-7", "上海", "2011-1-7", "北京朝阳"}, "", "朝阳", true},
        {"end place missing", {"2011-1-7", "朝阳", "2011-1-7", "北京"}, "", "朝阳", false},
        {"Latin letters match in case",
         {"2011-1-7", "Beijing", "2011-1-7", ""},
         "beijing",
         "",
         false},
        {"the field is not trimmed", {"2011-1-7", "北京", "2011-1-7", ""}, " 北京", "", false},
        {"no match from a second byte",
         {"2011-1-7", "\xB1\xB1\xBE\xA9", "2011-1-7", ""},
         "\xB1\xBE",
         "",
         false},
        {"first day, any time", {"2011-1-5 0:00", "", "2011-1-5 0:00", ""}, "", "", true},
        {"23:59 on the last day", {"2011-1-10 23:59", "", "2011-1-10 23:59:59", ""}, "", "", true},
        {"day before the first", {"2011-1-4 23:59", "", "2011-1-7", ""}, "", "", false},
        {"receipt day after the last", {"2011-1-7", "", "2011-1-11", ""}, "", "", false},
        {"empty departure time", {"", "", "2011-1-7", ""}, "", "", false},
        {"unreadable receipt time", {"2011-1-7", "", "已签收", ""}, "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FilterConditions conditions = anyPlaceIn(first, last);
        conditions.startPlace = c.start;
        conditions.endPlace = c.end;
        EXPECT_EQ(rowPassesFilter(c.cells, conditions), c.passes);
    }
}

TEST(RowPassesFilter, NoDateRowsPassOnlyWhenTheRangeStartsAtTheNoDateDay) {
    const FilterCells undated = {"", "", "无", ""};
    EXPECT_FALSE(rowPassesFilter(undated, anyPlaceIn(MakeDateTime(2011, 1, 1), Now())));
    EXPECT_TRUE(rowPassesFilter(undated, anyPlaceIn(kNoDate, Now())));
}

TEST(RowPassesFilter, AStartLaterThanTheEndKeepsNothing) {
    const FilterCells cells = {"2011-1-7", "", "2011-1-7", ""};
    EXPECT_FALSE(
        rowPassesFilter(cells, anyPlaceIn(MakeDateTime(2011, 1, 8), MakeDateTime(2011, 1, 6))));
}

// Records what the pass does at every deletion.
class RecordingUi : public MemoryUi {
  public:
    struct Deletion {
        int row;
        bool listVisible;
        int progress;
    };
    void ListDelete(WindowId window, std::string_view list, int row) override {
        deletions.push_back({row, IsVisible(window, list), ProgressPos(kMain, kResultProgress)});
        MemoryUi::ListDelete(window, list, row);
    }
    std::vector<Deletion> deletions;
};

class FilterWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ui.LoadWindow(kMain, false));
        ui.SetEventHandler([this](const UiEvent& event) {
            if (event.window != kFilter) return;
            if (event.kind == EventKind::Created) initFilterDates(ui);
            if (event.kind == EventKind::Clicked && event.control == "按钮1") filterResults(ui);
        });
    }

    void addRow(const std::vector<std::string>& cells) { testing::AddResultRow(ui, cells); }
    std::vector<std::string> column(int c) { return testing::ResultColumn(ui, c); }
    // Opens the filter window, lets the test fill it, clicks 过滤并保存.
    void runFilter(const std::function<void()>& fill = [] {}) {
        ui.onModal(kFilter, [&](MemoryUi&) {
            fill();
            clicked = ui.click(kFilter, "按钮1");
            buttonEnabledAfter = ui.IsEnabled(kFilter, "按钮1");
        });
        ui.LoadWindow(kFilter, true);
    }
    void setDates(DateTime first, DateTime last) {
        for (std::string_view name : {"发货时间始", "收货时间始"})
            ui.SetDateValue(kFilter, name, first);
        for (std::string_view name : {"发货时间终", "收货时间终"})
            ui.SetDateValue(kFilter, name, last);
    }
    std::string savedText(std::string_view name) {
        return ToText(BytesView(ReadFileBytes(joinPath(CurrentDirectory(), name))));
    }

    TempFolder folder;
    CurrentDirectoryScope inFolder{folder.path()};
    RecordingUi ui;
    bool clicked = false;
    bool buttonEnabledAfter = false;
};

TEST_F(FilterWindow, DefaultWindowKeepsTheLastThirtyDaysBothEndsIncluded) {
    const DateTime today = DatePart(Now());
    const DateTime firstDay = AddToDateTime(today, 5, -30);
    auto at = [](DateTime day, int hour, int minute) {
        return ToText(AddToDateTime(AddToDateTime(day, 6, hour), 7, minute));
    };
    addRow({"1", "A", at(today, 0, 0), "", at(today, 0, 1), ""});
    addRow({"2", "B", at(firstDay, 0, 0), "", at(firstDay, 23, 59), ""});
    addRow({"3", "C", at(AddToDateTime(firstDay, 5, -1), 23, 59), "", at(today, 0, 0), ""});
    addRow({"4", "D", at(today, 0, 0), "", at(AddToDateTime(today, 5, 1), 0, 0), ""});
    addRow({"5", "E", "", "", at(today, 0, 0), ""});
    DateTime startPicker{};
    runFilter([&] { startPicker = ui.DateValue(kFilter, "发货时间始"); });
    ASSERT_TRUE(clicked);
    EXPECT_EQ(DatePart(startPicker), firstDay);
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
}

TEST_F(FilterWindow, PassRunsLastToFirstWithTheListHiddenAndKeepsOrdinals) {
    const DateTime day = MakeDateTime(2011, 1, 5);
    for (int i = 1; i <= 5; ++i) {
        addRow({std::to_string(i), "66800" + std::to_string(i), "2011-1-5 9:00",
                i % 2 == 0 ? "北京" : "上海", "2011-1-6", ""});
    }
    runFilter([&] {
        ui.type(kFilter, "起点", "北京");
        setDates(day, MakeDateTime(2011, 1, 6));
    });
    EXPECT_EQ(column(0), (std::vector<std::string>{"2", "4"}));  // gaps stay
    ASSERT_EQ(ui.deletions.size(), 3u);
    const int expectedRow[] = {4, 2, 0};
    const int expectedProgress[] = {1, 3, 5};
    for (std::size_t d = 0; d < 3; ++d) {
        EXPECT_EQ(ui.deletions[d].row, expectedRow[d]);
        EXPECT_FALSE(ui.deletions[d].listVisible);
        EXPECT_EQ(ui.deletions[d].progress, expectedProgress[d]);
    }
    EXPECT_TRUE(ui.IsVisible(kMain, kResultList));
    EXPECT_EQ(ui.ProgressMax(kMain, kResultProgress), 5);
    EXPECT_EQ(ui.ProgressPos(kMain, kResultProgress), 5);
    EXPECT_TRUE(buttonEnabledAfter);
}

TEST_F(FilterWindow, SavesTheConditionsAndTheNumbersLeftInTheCurrentDirectory) {
    addRow({"1", "668001", "2011-1-5 9:00", "北京", "2011-1-6", "上海"});
    addRow({"2", "668002", "2011-1-5 9:00", "广州", "2011-1-6", "上海"});
    ui.SetText(kMain, kCourierBox, "EMS");
    runFilter([&] {
        ui.type(kFilter, "起点", "北京");
        ui.type(kFilter, "终点", "上海");
        setDates(MakeDateTime(2011, 1, 5, 17, 35), MakeDateTime(2011, 1, 6, 8));
    });
    EXPECT_EQ(savedText("北京－上海.txt"),
              "起点:北京\r\n终点:上海\r\n发货时间:2011年1月5日 - 2011年1月6日\r\n"
              "收货时间:2011年1月5日 - 2011年1月6日\r\n快递类型:EMS\r\n快递单编码:\r\n\r\n"
              "668001\r\n");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "全部保存完毕!");
    EXPECT_EQ(ui.messages()[0].flags, 64);
    EXPECT_EQ(ui.messages()[0].caption, "恭喜你!");
}

TEST_F(FilterWindow, EmptyListGivesAnEmptyPassAndSevenHeaderLines) {
    runFilter();
    EXPECT_EQ(ui.ProgressMax(kMain, kResultProgress), 0);
    const std::string text = savedText("－.txt");
    EXPECT_EQ(SplitText(text, "\r\n").size(), 7u);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    EXPECT_EQ(LeftText(text, 11), "起点:\r\n终点");
}

TEST_F(FilterWindow, PlacesThatNameAnotherFolderAreRefusedBeforeAnyRowGoes) {
    addRow({"1", "668001", "2011-1-5", "北京", "2011-1-5", ""});
    for (const char* start : {"../x", "a\\b", "/tmp/x", "C:"}) {
        SCOPED_TRACE(start);
        ui.clearMessages();
        runFilter([&] { ui.type(kFilter, "起点", start); });
        EXPECT_EQ(ui.ListCount(kMain, kResultList), 1);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].flags, 16);
        EXPECT_TRUE(buttonEnabledAfter);
    }
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.path()).parent_path() /
                                         testing::Utf8Path("x\xEF\xBC\x8D.txt")));
}

TEST_F(FilterWindow, AFileThatCannotBeWrittenIsReportedAndTheButtonComesBack) {
    std::filesystem::create_directory(std::filesystem::path(folder.path()) /
                                      testing::Utf8Path("\xEF\xBC\x8D.txt"));
    runFilter();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].flags, 16);
    EXPECT_NE(ui.messages()[0].text.find("－.txt"), std::string::npos);
    EXPECT_TRUE(buttonEnabledAfter);
}

}  // namespace
}  // namespace zelvo
