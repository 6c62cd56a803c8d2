// Each window's description against the tables it was written from.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "forms/filter_window_controls.h"
#include "forms/form.h"
#include "forms/main_window_controls.h"
#include "forms/reference_templates_controls.h"

namespace zelvo {
namespace {

using K = ControlKind;

struct Expected {
    WindowId window;
    const char* name;
    ControlKind kind;
    const char* parent;  // "" the window
    int page;            // tab page of the parent tab control, -1 otherwise
    int left, top, width, height;
    const char* text;  // caption or default content
};

constexpr const char* kTabs = "高级选择夹1";
constexpr const char* kBox = "分组框1";
constexpr WindowId M = WindowId::Main;
constexpr WindowId F = WindowId::Filter;
constexpr WindowId T = WindowId::ReferenceTemplates;
constexpr WindowId R = WindowId::RecentNumbers;

const char* const kSamples =
    "368609071200\r\n368609071245\r\n368609071214\r\n368609071261\r\n"
    "368609071295\r\n368609071286\r\n368609071256";

// Every control of every window, in creation order within its window. The
// advertising line of 标签12 is ours to word and is not checked here.
const std::vector<Expected> kControls = {
    {M, "分组框2", K::GroupBox, "", -1, 9, -4, 887, 66, ""},
    {M, "图形按钮1", K::PictureButton, "分组框2", -1, 8, 7, 192, 55, ""},
    {M, "超文本浏览框1", K::WebView, "分组框2", -1, 218, 8, 664, 55, ""},
    {M, "高级选择夹1", K::TabControl, "", -1, 9, 66, 884, 424, ""},
    {M, "标签12", K::Label, "", -1, 512, 491, 358, 13, nullptr},
    {M, "分组框1", K::GroupBox, kTabs, 0, 3, 32, 293, 389, ""},
    {M, "标签7", K::Label, kTabs, 0, 11, 199, 56, 16, "快递类型:"},
    {M, "按钮1", K::Button, kTabs, 0, 223, 196, 59, 21, "选择模板"},
    {M, "标签10", K::Label, kTabs, 0, 311, 38, 56, 24, "效验线程:"},
    {M, "效验线程", K::EditBox, kTabs, 0, 375, 38, 40, 24, "30"},
    {M, "按钮3", K::Button, kTabs, 0, 510, 35, 66, 27, "清空"},
    {M, "按钮8", K::Button, kTabs, 0, 576, 35, 66, 27, "全部保存"},
    {M, "按钮9", K::Button, kTabs, 0, 642, 34, 66, 27, "全部读取"},
    {M, "按钮4", K::Button, kTabs, 0, 708, 35, 85, 27, "过滤并保存"},
    {M, "按钮5", K::Button, kTabs, 0, 793, 35, 85, 27, "保存空白定单"},
    {M, "超级列表框1", K::ListView, kTabs, 0, 297, 66, 583, 308, ""},
    {M, "进度条1", K::ProgressBar, kTabs, 0, 298, 398, 581, 23, ""},
    {M, "标签1", K::Label, kBox, -1, 24, 17, 40, 16, "固数1："},
    {M, "固数1", K::EditBox, kBox, -1, 72, 12, 35, 24, "268928453"},
    {M, "标签5", K::Label, kBox, -1, 113, 17, 13, 16, "2："},
    {M, "固数2", K::EditBox, kBox, -1, 132, 12, 35, 24, "999"},
    {M, "标签8", K::Label, kBox, -1, 170, 17, 13, 16, "3："},
    {M, "固数3", K::EditBox, kBox, -1, 191, 12, 32, 24, "999"},
    {M, "标签15", K::Label, kBox, -1, 234, 15, 40, 24, "{固数1}"},
    {M, "标签2", K::Label, kBox, -1, 8, 49, 56, 16, "随机位数："},
    {M, "随机框", K::EditBox, kBox, -1, 72, 44, 153, 24, "3"},
    {M, "标签9", K::Label, kBox, -1, 236, 47, 40, 24, "{随机}"},
    {M, "标签6", K::Label, kBox, -1, 8, 82, 56, 16, "递增时间："},
    {M, "时间框", K::EditBox, kBox, -1, 72, 76, 152, 24, "20100101"},
    {M, "标签13", K::Label, kBox, -1, 236, 79, 40, 24, "{时间}"},
    {M, "标签11", K::Label, kBox, -1, 8, 110, 56, 16, "递增数值："},
    {M, "递增", K::EditBox, kBox, -1, 72, 104, 152, 24, "111111111"},
    {M, "标签14", K::Label, kBox, -1, 236, 107, 40, 24, "{递增}"},
    {M, "标签3", K::Label, kBox, -1, 8, 140, 56, 16, "生成个数："},
    {M, "生成个数框", K::EditBox, kBox, -1, 72, 132, 152, 24, "50"},
    {M, "快递类型", K::EditBox, kBox, -1, 71, 162, 210, 24, ""},
    {M, "标签4", K::Label, kBox, -1, 9, 193, 56, 24, "生成规则:"},
    {M, "规则", K::EditBox, kBox, -1, 72, 190, 208, 24, "{固数1}+{递增}+{时间}+{随机}"},
    {M, "生成内容", K::EditBox, kBox, -1, 12, 222, 268, 112, kSamples},
    {M, "按钮2", K::Button, kBox, -1, 9, 335, 85, 26, "生成"},
    {M, "按钮6", K::Button, kBox, -1, 102, 335, 85, 26, "验证定单"},
    {M, "按钮10", K::Button, kBox, -1, 192, 334, 86, 27, "根据定单生成"},
    {M, "按钮11", K::Button, kBox, -1, 9, 363, 86, 25, "停止验证"},
    {M, "按钮12", K::Button, kBox, -1, 101, 363, 85, 24, "清空"},
    {M, "超文本浏览框2", K::WebView, kTabs, 1, 8, 40, 848, 376, ""},
    {M, "超文本浏览框3", K::WebView, kTabs, 1, 535, -2, 112, 40, ""},

    {F, "标签1", K::Label, "", -1, 8, 16, 32, 24, "起点:"},
    {F, "起点", K::EditBox, "", -1, 72, 16, 136, 22, ""},
    {F, "标签2", K::Label, "", -1, 280, 16, 32, 24, "终点:"},
    {F, "终点", K::EditBox, "", -1, 318, 16, 152, 22, ""},
    {F, "标签3", K::Label, "", -1, 7, 48, 64, 24, "发货时间始:"},
    {F, "发货时间始", K::DatePicker, "", -1, 72, 48, 136, 24, ""},
    {F, "标签4", K::Label, "", -1, 248, 48, 64, 24, "发货时间终:"},
    {F, "发货时间终", K::DatePicker, "", -1, 318, 48, 153, 24, ""},
    {F, "标签6", K::Label, "", -1, 8, 76, 64, 24, "收货时间始:"},
    {F, "收货时间始", K::DatePicker, "", -1, 73, 76, 136, 24, ""},
    {F, "标签7", K::Label, "", -1, 249, 76, 64, 24, "收货时间终:"},
    {F, "收货时间终", K::DatePicker, "", -1, 319, 76, 153, 24, ""},
    {F, "按钮1", K::Button, "", -1, 320, 113, 152, 32, "过滤并保存"},

    {T, "选择框1", K::CheckBox, "", -1, 15, 7, 192, 12, "选择后自动关闭"},
    {T, "超级列表框1", K::ListView, "", -1, 11, 27, 199, 273, ""},
    {T, "分组框1", K::GroupBox, "", -1, 218, 22, 213, 281, "说明"},
    {T, "编辑框1", K::EditBox, "分组框1", -1, 5, 19, 204, 258, ""},

    {R, "标签1", K::Label, "", -1, 2, 17, 115, 16, "你找到的最近定单号:"},
    {R, "编辑框1", K::EditBox, "", -1, 120, 12, 160, 24, ""},
    {R, "标签4", K::Label, "", -1, 288, 8, 88, 24, "必须为完整单号"},
    {R, "编辑框3", K::EditBox, "", -1, 384, 8, 280, 168, ""},
    {R, "标签2", K::Label, "", -1, 23, 41, 89, 24, "递增或随机位数:"},
    {R, "编辑框2", K::EditBox, "", -1, 120, 40, 96, 24, "3"},
    {R, "标签3", K::Label, "", -1, 224, 40, 104, 24, "是指从后数几位"},
    {R, "单选框1", K::RadioButton, "", -1, 112, 77, 80, 24, "递增类型"},
    {R, "单选框2", K::RadioButton, "", -1, 224, 79, 80, 24, "随机类型"},
    {R, "按钮1", K::Button, "", -1, 118, 117, 219, 32, "开始生成前效验"},
};

TEST(Forms, EveryControlMatchesItsTableInCreationOrder) {
    for (WindowId window : {M, F, T, R}) {
        const WindowDesc& form = FormOf(window);
        EXPECT_EQ(form.id, window);
        std::vector<std::string> expectedNames;
        for (const Expected& e : kControls) {
            if (e.window != window) continue;
            expectedNames.push_back(e.name);
            const ControlDesc* c = FindControl(form, e.name);
            ASSERT_NE(c, nullptr) << e.name;
            SCOPED_TRACE(e.name);
            EXPECT_EQ(c->kind, e.kind);
            EXPECT_EQ(c->parent, e.parent);
            EXPECT_EQ(c->parentPage, e.page);
            EXPECT_EQ(std::tie(c->left, c->top, c->width, c->height),
                      std::tie(e.left, e.top, e.width, e.height));
            if (e.text != nullptr) {
                EXPECT_EQ(std::string(c->text), e.text);
            }
            EXPECT_TRUE(c->enabled);
        }
        std::vector<std::string> names;
        for (const ControlDesc& c : form.controls) names.emplace_back(c.name);
        EXPECT_EQ(names, expectedNames);
    }
}

TEST(Forms, WindowCaptionsSizesAndFrames) {
    struct Row {
        WindowId window;
        int width, height;
        bool minimize;
    };
    for (const Row& r : {Row{M, 913, 539, true}, Row{F, 503, 204, false}, Row{T, 447, 351, false},
                         Row{R, 688, 212, true}}) {
        const WindowDesc& form = FormOf(r.window);
        EXPECT_EQ(form.width, r.width);
        EXPECT_EQ(form.height, r.height);
        EXPECT_EQ(form.minimizeBox, r.minimize);
        EXPECT_FALSE(form.maximizeBox);
    }
    EXPECT_TRUE(FormOf(M).hasIcon);
    EXPECT_EQ(std::string(FormOf(F).caption), "快递过滤");
    EXPECT_EQ(std::string(FormOf(T).caption), "参考模版");
    EXPECT_FALSE(FormOf(R).caption.empty());
}

TEST(Forms, SampleNumbersAreSevenLinesWithoutATrailingBreak) {
    const ControlDesc* box = FindControl(FormOf(M), "生成内容");
    ASSERT_NE(box, nullptr);
    const std::string text(box->text);
    EXPECT_EQ(text.size(), 7 * 12 + 6 * 2);
    EXPECT_EQ(text.substr(text.size() - 12), "368609071256");
    EXPECT_TRUE(box->multiLine);
    EXPECT_TRUE(box->verticalScroll);
}

TEST(Forms, StylesThatHandlersAndUsersRelyOn) {
    EXPECT_TRUE(FindControl(FormOf(M), "快递类型")->readOnly);
    EXPECT_FALSE(FindControl(FormOf(M), "规则")->readOnly);
    EXPECT_FALSE(FindControl(FormOf(M), "超文本浏览框3")->visible);
    EXPECT_TRUE(FindControl(FormOf(M), "超文本浏览框2")->visible);

    const ControlDesc* notes = FindControl(FormOf(T), "编辑框1");
    EXPECT_TRUE(notes->multiLine && notes->verticalScroll && notes->readOnly);
    EXPECT_FALSE(notes->border);
    const ControlDesc* free = FindControl(FormOf(R), "编辑框3");
    EXPECT_TRUE(free->multiLine && free->verticalScroll && free->thinBorder);
    EXPECT_FALSE(free->readOnly);

    EXPECT_TRUE(FindControl(FormOf(T), "选择框1")->checked);
    EXPECT_TRUE(FindControl(FormOf(R), "单选框1")->checked);
    EXPECT_FALSE(FindControl(FormOf(R), "单选框2")->checked);

    const ControlDesc* tabs = FindControl(FormOf(M), kTabs);
    ASSERT_EQ(tabs->pages.size(), 2u);
    EXPECT_EQ(std::string(tabs->pages[0]), "  单号生成  ");
    EXPECT_EQ(std::string(tabs->pages[1]), "   官方网站  ");
    ASSERT_NE(tabs->font, nullptr);
    EXPECT_EQ(std::string(tabs->font->family), "宋体");
    EXPECT_EQ(tabs->font->height, -12);
    EXPECT_EQ(tabs->font->weight, 400);
    EXPECT_EQ(tabs->font->charset, 134);
    for (const ControlDesc& c : FormOf(M).controls) {
        if (c.name != kTabs) {
            EXPECT_EQ(c.font, nullptr) << std::string(c.name);
        }
    }
}

TEST(Forms, ListColumns) {
    auto titles = [](const ControlDesc* list) {
        std::vector<std::pair<std::string, int>> out;
        for (const ColumnDesc& c : list->columns) out.emplace_back(c.title, c.width);
        return out;
    };
    using Columns = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(titles(FindControl(FormOf(M), "超级列表框1")), (Columns{{"序号", 50},
                                                                      {"定单号码", 100},
                                                                      {"出发时间", 100},
                                                                      {"出发地点", 100},
                                                                      {"收货时间", 100},
                                                                      {"收货地点", 100}}));
    EXPECT_EQ(titles(FindControl(FormOf(T), "超级列表框1")),
              (Columns{{"id", 30}, {"快递公司", 100}}));
}

// Exactly these events are bound, anywhere; every other event is dropped.
TEST(Forms, EventBindingsAreExactlyTheTables) {
    using Binding = std::tuple<WindowId, std::string, EventKind, Action>;
    const std::set<Binding> expected = {
        {M, "", EventKind::Created, Action::MainCreated},
        {M, "", EventKind::AboutToBeDestroyed, Action::EndProgram},
        {M, "按钮2", EventKind::Clicked, Action::GenerateNumbers},
        {M, "按钮12", EventKind::Clicked, Action::ClearGenerated},
        {M, "按钮1", EventKind::Clicked, Action::OpenReferenceTemplates},
        {M, "按钮10", EventKind::Clicked, Action::OpenRecentNumbers},
        {M, "按钮6", EventKind::Clicked, Action::StartVerification},
        {M, "按钮11", EventKind::Clicked, Action::StopVerification},
        {M, "按钮3", EventKind::Clicked, Action::ClearResultList},
        {M, "按钮4", EventKind::Clicked, Action::OpenFilter},
        {M, "按钮8", EventKind::Clicked, Action::ExportResultList},
        {M, "按钮9", EventKind::Clicked, Action::ImportResultList},
        {M, "按钮5", EventKind::Clicked, Action::SaveBlankNumbers},
        {M, "超级列表框1", EventKind::HeaderClicked, Action::SortResultList},
        {M, "高级选择夹1", EventKind::PageChanged, Action::ShowWebsite},
        {F, "", EventKind::Created, Action::FilterCreated},
        {F, "按钮1", EventKind::Clicked, Action::FilterAndSave},
        {T, "", EventKind::Created, Action::TemplatesCreated},
        {T, "", EventKind::FirstActivated, Action::TemplatesFirstActivated},
        {T, "超级列表框1", EventKind::RowActivated, Action::PickCourier},
        {R, "", EventKind::Created, Action::RecentCreated},
        {R, "按钮1", EventKind::Clicked, Action::GenerateFromRecent},
    };
    std::set<Binding> actual;
    for (WindowId window : {M, F, T, R}) {
        const WindowDesc& form = FormOf(window);
        for (const EventBinding& b : form.events) actual.insert({window, "", b.kind, b.action});
        for (const ControlDesc& c : form.controls) {
            for (const EventBinding& b : c.events) {
                actual.insert({window, std::string(c.name), b.kind, b.action});
            }
        }
    }
    EXPECT_EQ(actual, expected);
}

// What a frontend needs to build the windows: unique names, and every parent
// a group box or the tab control created before its children.
TEST(Forms, ParentsExistBeforeTheirChildren) {
    for (WindowId window : {M, F, T, R}) {
        std::set<std::string> seen;
        for (const ControlDesc& c : FormOf(window).controls) {
            const std::string name(c.name);
            EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
            if (c.parent.empty()) continue;
            EXPECT_TRUE(seen.count(std::string(c.parent))) << name;
            const ControlDesc* parent = FindControl(FormOf(window), c.parent);
            ASSERT_NE(parent, nullptr);
            if (parent->kind == ControlKind::TabControl) {
                EXPECT_GE(c.parentPage, 0) << name;
                EXPECT_LT(c.parentPage, static_cast<int>(parent->pages.size())) << name;
            } else {
                EXPECT_EQ(parent->kind, ControlKind::GroupBox) << name;
                EXPECT_EQ(c.parentPage, -1) << name;
            }
        }
    }
    EXPECT_EQ(FindControl(FormOf(M), "没有这个"), nullptr);
}

// The names the handlers address: a name that is not its window's control
// would make every call on it do nothing, with no error.
TEST(Forms, ControlNamesOfTheHandlersAreControlsOfTheirWindows) {
    struct Named {
        WindowId window;
        std::string_view name;
        ControlKind kind;
    };
    const Named named[] = {
        {M, main_window::kFixed1Box, K::EditBox},
        {M, main_window::kFixed2Box, K::EditBox},
        {M, main_window::kFixed3Box, K::EditBox},
        {M, main_window::kRandomBox, K::EditBox},
        {M, main_window::kTimeBox, K::EditBox},
        {M, main_window::kCounterBox, K::EditBox},
        {M, main_window::kCountBox, K::EditBox},
        {M, main_window::kCourierBox, K::EditBox},
        {M, main_window::kTemplateBox, K::EditBox},
        {M, main_window::kNumbersBox, K::EditBox},
        {M, main_window::kVerifyButton, K::Button},
        {M, main_window::kThreadsBox, K::EditBox},
        {M, main_window::kResultList, K::ListView},
        {M, main_window::kResultProgress, K::ProgressBar},
        {M, main_window::kBannerView, K::WebView},
        {M, main_window::kWebsiteView, K::WebView},
        {T, templates_window::kAutoCloseBox, K::CheckBox},
        {T, templates_window::kCourierList, K::ListView},
        {T, templates_window::kDescriptionBox, K::EditBox},
        {F, filter_window::kStartPlaceBox, K::EditBox},
        {F, filter_window::kEndPlaceBox, K::EditBox},
        {F, filter_window::kDepartFromPicker, K::DatePicker},
        {F, filter_window::kDepartToPicker, K::DatePicker},
        {F, filter_window::kReceiptFromPicker, K::DatePicker},
        {F, filter_window::kReceiptToPicker, K::DatePicker},
        {F, filter_window::kFilterButton, K::Button},
    };
    for (const Named& n : named) {
        const ControlDesc* control = FindControl(FormOf(n.window), n.name);
        ASSERT_NE(control, nullptr) << std::string(n.name);
        EXPECT_EQ(control->kind, n.kind) << std::string(n.name);
    }
}

}  // namespace
}  // namespace zelvo
