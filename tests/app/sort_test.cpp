#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/result_sort.h"
#include "memory_ui.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace zelvo {
namespace {

using testing::MemoryUi;

// The insertion sort exactly as the program's steps describe it: key texts
// stored in a flat array, converted afresh at every comparison, each new key
// inserted at findInsertPosition's place with everything after it moved up.
double literalKey(std::string_view text, SortKind kind) {
    const std::string trimmed = TrimText(text);
    return kind == SortKind::Numeric ? ToNumber(trimmed) : TextToDateTime(trimmed).days;
}

int literalFindInsertPosition(const std::vector<std::string>& keys, const std::string& newKey,
                              SortKind kind) {
    const double k = literalKey(newKey, kind);
    const int n = static_cast<int>(keys.size());
    auto key = [&](int i) { return literalKey(keys[static_cast<std::size_t>(i - 1)], kind); };
    if (n == 0) return 1;
    if (k - key(n) >= -0.0000001) return n + 1;
    if (k - key(1) <= 0.0000001) return 1;
    int low = 1;
    int high = n;
    while (low < high - 1) {
        const int mid = (low + high) / 2;
        if (std::fabs(k - key(mid)) <= 0.0000001) {
            low = mid;
            break;
        }
        if (k - key(mid) < -0.0000001) {
            high = mid;
        } else {
            low = mid;
        }
    }
    return low + 1;
}

std::vector<int> literalOrder(const std::vector<std::string>& cells, SortKind kind) {
    std::vector<std::string> keys;
    std::vector<int> sourceRow;
    for (int r = 0; r < static_cast<int>(cells.size()); ++r) {
        const std::string key = TrimText(cells[static_cast<std::size_t>(r)]);
        const int p = literalFindInsertPosition(keys, key, kind);
        keys.insert(keys.begin() + (p - 1), key);
        sourceRow.insert(sourceRow.begin() + (p - 1), r);
    }
    return sourceRow;
}

// Keys crowded together so that ties, near-ties inside the tolerance (which
// make "equal" non-transitive) and blanks are common.
std::string randomNumberText(std::mt19937& random) {
    static const std::vector<std::string> odd = {"",   "　",  "abc",  " 7 ",  "　12　", "１２",
                                                 "-3", "1e3", "1000", "0x10", "+5",     ".5"};
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> base(0, 30);
    std::uniform_int_distribution<int> nudge(-3, 3);
    switch (pick(random)) {
        case 0:
            return odd[std::uniform_int_distribution<std::size_t>(0, odd.size() - 1)(random)];
        case 1:
        case 2: {
            // Steps of 0.00000006: neighbours are equal, next-but-one are not.
            char text[64];
            std::snprintf(text, sizeof text, "%.8f", base(random) + nudge(random) * 0.00000006);
            return text;
        }
        case 3:
            return "12345678901234567" + std::to_string(base(random) % 10);
        default:
            return std::to_string(base(random));
    }
}

std::string randomTimeText(std::mt19937& random) {
    static const std::vector<std::string> odd = {"",          "　",         "无",
                                                 "2011-13-1", "2011-02-29", " 2011-1-5 "};
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> day(1, 4);
    std::uniform_int_distribution<int> hour(0, 2);
    char text[64];
    switch (pick(random)) {
        case 0:
            return odd[std::uniform_int_distribution<std::size_t>(0, odd.size() - 1)(random)];
        case 1:
            std::snprintf(text, sizeof text, "2011年1月%d日", day(random));
            return text;
        default:
            std::snprintf(text, sizeof text, "2011-1-%d %d:0%d", day(random), hour(random),
                          hour(random));
            return text;
    }
}

TEST(InsertionSortOrder, MatchesTheLiteralStepsOnRandomLists) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const SortKind kind = seed % 2 ? SortKind::Numeric : SortKind::DateTime;
        // Long enough to split the sequence's blocks several times.
        const int n = std::uniform_int_distribution<int>(0, seed % 10 == 0 ? 3000 : 400)(random);
        std::vector<std::string> cells;
        for (int i = 0; i < n; ++i) {
            cells.push_back(kind == SortKind::Numeric ? randomNumberText(random)
                                                      : randomTimeText(random));
        }
        ASSERT_EQ(insertionSortOrder(cells, kind), literalOrder(cells, kind)) << "seed " << seed;
    }
}

TEST(InsertionSortOrder, MatchesTheLiteralStepsOnSortedAndReversedInput) {
    std::vector<std::string> ascending;
    for (int i = 0; i < 2000; ++i) ascending.push_back(std::to_string(i / 3));
    std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
    for (const auto& cells : {ascending, descending}) {
        EXPECT_EQ(insertionSortOrder(cells, SortKind::Numeric),
                  literalOrder(cells, SortKind::Numeric));
    }
}

TEST(FindInsertPosition, MatchesTheLiteralStepsOnRandomArrays) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> keys;
        const int n = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < n; ++i) keys.push_back(randomNumberText(random));
        const std::string key = randomNumberText(random);
        EXPECT_EQ(findInsertPosition(keys, key, SortKind::Numeric),
                  literalFindInsertPosition(keys, key, SortKind::Numeric));
    }
}

TEST(FindInsertPosition, TieOrder) {
    const std::vector<std::string> keys = {"1", "2", "3", "4", "5"};
    struct Case {
        std::string key;
        int position;
    };
    for (const Case& c : std::vector<Case>{
             {"5", 6},  // equal to the last: after it
             {"1", 1},  // equal to the first: before it
             {"3", 4},  // equal to an inner key met by the search: right after it
             {"0.5", 1},
             {"9", 6},
             {"2.5", 3},
             {"4.00000005", 5},  // met as equal to 4 by the search: right after it
         }) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(findInsertPosition(keys, c.key, SortKind::Numeric), c.position);
    }
    EXPECT_EQ(findInsertPosition({}, "1", SortKind::Numeric), 1);
}

// --- The header click on the main window's list ---

constexpr WindowId kMain = WindowId::Main;
constexpr std::string_view kList = "超级列表框1";

class ResultSort : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(ui.LoadWindow(kMain, false)); }

    void addRow(const std::vector<std::string>& cells, int value = 0) {
        const int row = ui.ListInsert(kMain, kList);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            ui.ListSetText(kMain, kList, row, static_cast<int>(c), cells[c]);
        }
        ui.ListSetData(kMain, kList, row, value);
    }
    // Rows numbered 1.. with the given order numbers.
    void addNumbers(const std::vector<std::string>& numbers) {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            addRow({std::to_string(i + 1), numbers[i], "", "", "", ""});
        }
    }
    std::vector<std::string> column(int c) {
        std::vector<std::string> cells;
        for (int r = 0; r < ui.ListCount(kMain, kList); ++r) {
            cells.push_back(ui.ListGetText(kMain, kList, r, c));
        }
        return cells;
    }
    void click(int column) { onResultHeaderClicked(ui, sortAscending, column); }

    MemoryUi ui;
    bool sortAscending = false;
};

TEST_F(ResultSort, NumbersSortByValueAndFlipDirectionEveryClick) {
    addNumbers({"3", "10", "2"});
    click(1);
    EXPECT_TRUE(sortAscending);
    EXPECT_EQ(column(1), (std::vector<std::string>{"2", "3", "10"}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"3", "1", "2"}));  // 序号 moves along
    click(1);
    EXPECT_FALSE(sortAscending);
    EXPECT_EQ(column(1), (std::vector<std::string>{"10", "3", "2"}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"2", "1", "3"}));
}

TEST_F(ResultSort, EqualKeysKeepInsertionOrderAscendingAndReverseDescending) {
    addRow({"A", "5", "", "", "", ""});
    addRow({"B", "5", "", "", "", ""});
    click(1);
    EXPECT_EQ(column(0), (std::vector<std::string>{"A", "B"}));
    click(1);
    EXPECT_EQ(column(0), (std::vector<std::string>{"B", "A"}));
}

TEST_F(ResultSort, NumbersBeyondFifteenDigitsCompareEqual) {
    addRow({"A", "123456789012345678", "", "", "", ""});
    addRow({"B", "123456789012345677", "", "", "", ""});
    click(1);
    EXPECT_EQ(column(0), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ResultSort, EmptyAndUnreadableTimesComeFirstAscendingAndLastDescending) {
    for (int c : {2, 4}) {
        SCOPED_TRACE(c);
        ui.ListClear(kMain, kList);
        std::vector<std::string> cells(6);
        const std::vector<std::pair<std::string, std::string>> rows = {{"1", "2011-1-5 9:30"},
                                                                       {"2", ""},
                                                                       {"3", "2010年12月31日"},
                                                                       {"4", "无记录"},
                                                                       {"5", "　2011-1-5 9:29　"}};
        for (const auto& [number, time] : rows) {
            cells[0] = number;
            cells[static_cast<std::size_t>(c)] = time;
            addRow(cells);
        }
        sortAscending = false;
        click(c);
        // "无记录" equals the first key "" and goes before it.
        EXPECT_EQ(column(0), (std::vector<std::string>{"4", "2", "3", "5", "1"}));
        click(c);
        EXPECT_EQ(column(0), (std::vector<std::string>{"1", "5", "3", "2", "4"}));
    }
}

TEST_F(ResultSort, OtherColumnsOnlyFlipTheDirection) {
    addNumbers({"3", "10", "2"});
    const auto before = column(1);
    for (int c : {0, 3, 5}) {
        click(c);
        click(c);
        EXPECT_FALSE(sortAscending);
        EXPECT_EQ(column(1), before);
    }
    click(3);  // the next sorting click is then descending
    click(1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"10", "3", "2"}));
}

TEST_F(ResultSort, EmptyListOnlyFlipsTheDirection) {
    click(1);
    EXPECT_TRUE(sortAscending);
    EXPECT_EQ(ui.ListCount(kMain, kList), 0);
    EXPECT_EQ(ui.ListCurrentRow(kMain, kList), -1);
}

TEST_F(ResultSort, SelectedRowIsSelectedAgainAndScrolledIntoView) {
    addNumbers({"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"});
    ui.ListSetCurrentRow(kMain, kList, 7);  // 序号 "8", order number "2"
    click(1);
    const int selected = ui.ListCurrentRow(kMain, kList);
    ASSERT_EQ(selected, 2);
    EXPECT_EQ(ui.ListGetText(kMain, kList, selected, 0), "8");
    EXPECT_EQ(ui.ListGetData(kMain, kList, selected), 1);  // marked, as it had no value
    EXPECT_EQ(ui.lastEnsuredVisible(kMain, kList), selected);
}

TEST_F(ResultSort, FirstRowFromTheTopCarryingTheRememberedValueIsSelected) {
    // Earlier sorts left the value 1 on rows "1" and "2"; now row "3" is selected.
    addRow({"1", "30", "", "", "", ""}, 1);
    addRow({"2", "10", "", "", "", ""}, 1);
    addRow({"3", "20", "", "", "", ""}, 0);
    ui.ListSetCurrentRow(kMain, kList, 2);
    click(1);
    EXPECT_EQ(column(0), (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(ui.ListCurrentRow(kMain, kList), 0);
}

TEST_F(ResultSort, ImagesItemValuesAndCheckStatesMoveWithTheirRow) {
    addRow({"1", "2", "", "", "", ""}, 11);
    addRow({"2", "1", "", "", "", ""}, 22);
    for (int c = 0; c < 6; ++c) {
        ui.ListSetImage(kMain, kList, 0, c, 100 + c);
        ui.ListSetImage(kMain, kList, 1, c, 200 + c);
    }
    ui.ListSetStateImage(kMain, kList, 0, 1);
    ui.ListSetStateImage(kMain, kList, 1, 2);
    click(1);
    EXPECT_EQ(ui.listRow(kMain, kList, 0), (std::vector<std::string>{"2", "1", "", "", "", ""}));
    EXPECT_EQ(ui.ListGetData(kMain, kList, 0), 22);
    EXPECT_EQ(ui.ListGetData(kMain, kList, 1), 11);
    EXPECT_EQ(ui.ListGetImage(kMain, kList, 0, 5), 205);
    EXPECT_EQ(ui.ListGetImage(kMain, kList, 1, 0), 100);
    EXPECT_EQ(ui.ListGetStateImage(kMain, kList, 0), 2);
    EXPECT_EQ(ui.ListGetStateImage(kMain, kList, 1), 1);
}

TEST_F(ResultSort, LargeListMatchesTheLiteralOrderInBothDirections) {
    std::mt19937 random(42);
    std::vector<std::string> numbers;
    for (int i = 0; i < 1500; ++i) numbers.push_back(randomNumberText(random));
    addNumbers(numbers);
    const std::vector<int> order = literalOrder(numbers, SortKind::Numeric);
    click(1);
    const auto ascending = column(0);
    for (std::size_t t = 0; t < order.size(); ++t) {
        ASSERT_EQ(ascending[t], std::to_string(order[t] + 1));
    }
    // The second click sorts the list as the first one left it.
    const std::vector<int> again = literalOrder(column(1), SortKind::Numeric);
    click(1);
    const auto descending = column(0);
    for (std::size_t t = 0; t < again.size(); ++t) {
        ASSERT_EQ(descending[again.size() - 1 - t], ascending[static_cast<std::size_t>(again[t])]);
    }
}

}  // namespace
}  // namespace zelvo
