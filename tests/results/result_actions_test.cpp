#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/event_router.h"
#include "app/program_state.h"
#include "memory_ui.h"
#include "result_rows.h"
#include "results/result_files.h"
#include "results/result_list.h"
#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/gbk_utf8.h"
#include "temp_folder.h"

// The result operations reached the way the user reaches them: through the
// window descriptions' bindings and the event router.
namespace zelvo {
namespace {

using testing::CurrentDirectoryScope;
using testing::MemoryUi;
using testing::TempFolder;

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kFilter = WindowId::Filter;

class ResultActions : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.SetEventHandler([this](const UiEvent& event) { routeEvent(state, ui, event); });
        ASSERT_TRUE(ui.LoadWindow(kMain, false));
        ui.clearMessages();
    }
    void addRow(const std::vector<std::string>& cells) { testing::AddResultRow(ui, cells); }
    std::vector<std::string> column(int c) { return testing::ResultColumn(ui, c); }

    TempFolder folder;
    CurrentDirectoryScope inFolder{folder.path()};
    ProgramState state;
    MemoryUi ui;
};

TEST_F(ResultActions, HeaderClicksSortAndFlipTheProgramWideDirection) {
    addRow({"1", "3"});
    addRow({"2", "10"});
    addRow({"3", "2"});
    ASSERT_TRUE(ui.clickHeader(kMain, kResultList, 1));
    EXPECT_TRUE(state.sortAscending);
    EXPECT_EQ(column(1), (std::vector<std::string>{"2", "3", "10"}));
    ASSERT_TRUE(ui.clickHeader(kMain, kResultList, 3));
    ASSERT_TRUE(ui.clickHeader(kMain, kResultList, 1));
    EXPECT_TRUE(state.sortAscending);
    EXPECT_EQ(column(1), (std::vector<std::string>{"2", "3", "10"}));
}

TEST_F(ResultActions, FilterWindowMovesItsStartDatesAndSavesItsFile) {
    addRow({"1", "668001", ToText(Now()), "北京", ToText(Now()), "上海"});
    addRow({"2", "668002", ToText(Now()), "广州", ToText(Now()), "上海"});
    DateTime start{};
    ui.onModal(kFilter, [&](MemoryUi&) {
        start = ui.DateValue(kFilter, "收货时间始");
        ui.type(kFilter, "起点", "北京");
        EXPECT_TRUE(ui.click(kFilter, "按钮1"));
    });
    ASSERT_TRUE(ui.click(kMain, "按钮4"));
    EXPECT_EQ(DatePart(start), DatePart(AddToDateTime(Now(), 5, -30)));
    EXPECT_EQ(column(1), (std::vector<std::string>{"668001"}));
    const std::string text =
        ToText(BytesView(ReadFileBytes(joinPath(CurrentDirectory(), "北京－.txt"))));
    EXPECT_EQ(text.substr(text.size() - 10), "\r\n668001\r\n");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].caption, "恭喜你!");
}

TEST_F(ResultActions, ExportImportAndBlankNumbersFromTheirButtons) {
    addRow({"1", "668001", "", "北京", "", ""});
    ui.queueFolderAnswer(folder.path());
    ASSERT_TRUE(ui.click(kMain, "按钮8"));
    ASSERT_EQ(folder.entries().size(), 1u);

    ASSERT_TRUE(ui.click(kMain, "按钮3"));
    EXPECT_EQ(ui.ListCount(kMain, kResultList), 0);

    // The chooser gives GBK paths; the folder lists the file by its UTF-8 name.
    const std::optional<std::string> name = Utf8ToGbk(folder.entries()[0]);
    ASSERT_TRUE(name.has_value());
    ui.queueFolderAnswer(joinPath(folder.path(), *name));
    ASSERT_TRUE(ui.click(kMain, "按钮9"));
    EXPECT_EQ(ui.listRow(kMain, kResultList, 0),
              (std::vector<std::string>{"1", "668001", "", "北京", "", ""}));

    state.blankNumbers = "668009\r\n";
    ui.SetText(kMain, kCourierBox, "EMS");
    ui.queueFolderAnswer(folder.path());
    ASSERT_TRUE(ui.click(kMain, "按钮5"));
    const std::string blank = ToText(BytesView(ReadFileBytes(joinPath(folder.path(), "EMS.txt"))));
    EXPECT_EQ(blank.substr(blank.size() - 8), "668009\r\n");
}

}  // namespace
}  // namespace zelvo
