#include "app/version.h"
#include "config/config.h"
#include "forms/form.h"

// The main window: banner, the tab control with the generation fields and
// the result list on its first page, the publisher's site on its second.
namespace zelvo {

namespace {

// The descriptions stay laid out like the tables they come from.
// clang-format off

constexpr std::string_view kTabs = "高级选择夹1";
constexpr std::string_view kFields = "分组框1";

const FontDesc kTabFont{"宋体", -12, 400, 134};

// The seven sample numbers, joined by CR LF with no break after the last.
constexpr std::string_view kSampleNumbers =
    "368609071200\r\n"
    "368609071245\r\n"
    "368609071214\r\n"
    "368609071261\r\n"
    "368609071295\r\n"
    "368609071286\r\n"
    "368609071256";

ControlDesc Label(std::string_view name, std::string_view parent, int page, int left, int top,
                  int width, int height, std::string_view text) {
    return {.name = name, .kind = ControlKind::Label, .parent = parent, .parentPage = page,
            .left = left, .top = top, .width = width, .height = height, .canFocus = false,
            .text = text};
}

ControlDesc Edit(std::string_view name, std::string_view parent, int page, int left, int top,
                 int width, int height, std::string_view text) {
    return {.name = name, .kind = ControlKind::EditBox, .parent = parent, .parentPage = page,
            .left = left, .top = top, .width = width, .height = height, .text = text};
}

ControlDesc Button(std::string_view name, std::string_view parent, int page, int left, int top,
                   int width, int height, std::string_view text, Action action) {
    return {.name = name, .kind = ControlKind::Button, .parent = parent, .parentPage = page,
            .left = left, .top = top, .width = width, .height = height, .text = text,
            .events = {{EventKind::Clicked, action}}};
}

WindowDesc Build() {
    WindowDesc w{
        .id = WindowId::Main,
        // Replaced by the created event with the title and contact line.
        .caption = ZELVO_PRODUCT_TITLE,
        .width = 913,
        .height = 539,
        .minimizeBox = true,
        .maximizeBox = false,
        .hasIcon = true,
        .controls = {},
        .events = {{EventKind::Created, Action::MainCreated},
                   {EventKind::AboutToBeDestroyed, Action::EndProgram}},
    };
    auto& c = w.controls;

    // Top level: the banner, the tab control and the advertising line.
    c.push_back({.name = "分组框2", .kind = ControlKind::GroupBox, .left = 9, .top = -4,
                 .width = 887, .height = 66, .canFocus = false});
    c.push_back({.name = "图形按钮1", .kind = ControlKind::PictureButton, .parent = "分组框2",
                 .left = 8, .top = 7, .width = 192, .height = 55});
    c.push_back({.name = "超文本浏览框1", .kind = ControlKind::WebView, .parent = "分组框2",
                 .left = 218, .top = 8, .width = 664, .height = 55});
    c.push_back({.name = kTabs, .kind = ControlKind::TabControl, .left = 9, .top = 66,
                 .width = 884, .height = 424,
                 .pages = {"  单号生成  ", "   官方网站  "},
                 .font = &kTabFont,
                 .events = {{EventKind::PageChanged, Action::ShowWebsite}}});
    c.push_back(Label("标签12", {}, -1, 512, 491, 358, 13, config::kAdvertisingLine));

    // Page 1: the generation fields' box, the verification settings and the
    // result list.
    c.push_back({.name = kFields, .kind = ControlKind::GroupBox, .parent = kTabs,
                 .parentPage = 0, .left = 3, .top = 32, .width = 293, .height = 389,
                 .canFocus = false});
    c.push_back(Label("标签7", kTabs, 0, 11, 199, 56, 16, "快递类型:"));
    c.push_back(Button("按钮1", kTabs, 0, 223, 196, 59, 21, "选择模板",
                       Action::OpenReferenceTemplates));
    c.push_back(Label("标签10", kTabs, 0, 311, 38, 56, 24, "效验线程:"));
    c.push_back(Edit("效验线程", kTabs, 0, 375, 38, 40, 24, "30"));
    c.push_back(Button("按钮3", kTabs, 0, 510, 35, 66, 27, "清空", Action::ClearResultList));
    c.push_back(Button("按钮8", kTabs, 0, 576, 35, 66, 27, "全部保存", Action::ExportResultList));
    c.push_back(Button("按钮9", kTabs, 0, 642, 34, 66, 27, "全部读取", Action::ImportResultList));
    c.push_back(Button("按钮4", kTabs, 0, 708, 35, 85, 27, "过滤并保存", Action::OpenFilter));
    c.push_back(
        Button("按钮5", kTabs, 0, 793, 35, 85, 27, "保存空白定单", Action::SaveBlankNumbers));
    c.push_back({.name = "超级列表框1", .kind = ControlKind::ListView, .parent = kTabs,
                 .parentPage = 0, .left = 297, .top = 66, .width = 583, .height = 308,
                 .columns = {{"序号", 50},
                             {"定单号码", 100},
                             {"出发时间", 100},
                             {"出发地点", 100},
                             {"收货时间", 100},
                             {"收货地点", 100}},
                 .events = {{EventKind::HeaderClicked, Action::SortResultList}}});
    c.push_back({.name = "进度条1", .kind = ControlKind::ProgressBar, .parent = kTabs,
                 .parentPage = 0, .left = 298, .top = 398, .width = 581, .height = 23,
                 .canFocus = false});

    // Contents of 分组框1: the generation fields.
    c.push_back(Label("标签1", kFields, -1, 24, 17, 40, 16, "固数1："));
    c.push_back(Edit("固数1", kFields, -1, 72, 12, 35, 24, "268928453"));
    c.push_back(Label("标签5", kFields, -1, 113, 17, 13, 16, "2："));
    c.push_back(Edit("固数2", kFields, -1, 132, 12, 35, 24, "999"));
    c.push_back(Label("标签8", kFields, -1, 170, 17, 13, 16, "3："));
    c.push_back(Edit("固数3", kFields, -1, 191, 12, 32, 24, "999"));
    c.push_back(Label("标签15", kFields, -1, 234, 15, 40, 24, "{固数1}"));
    c.push_back(Label("标签2", kFields, -1, 8, 49, 56, 16, "随机位数："));
    c.push_back(Edit("随机框", kFields, -1, 72, 44, 153, 24, "3"));
    c.push_back(Label("标签9", kFields, -1, 236, 47, 40, 24, "{随机}"));
    c.push_back(Label("标签6", kFields, -1, 8, 82, 56, 16, "递增时间："));
    c.push_back(Edit("时间框", kFields, -1, 72, 76, 152, 24, "20100101"));
    c.push_back(Label("标签13", kFields, -1, 236, 79, 40, 24, "{时间}"));
    c.push_back(Label("标签11", kFields, -1, 8, 110, 56, 16, "递增数值："));
    c.push_back(Edit("递增", kFields, -1, 72, 104, 152, 24, "111111111"));
    c.push_back(Label("标签14", kFields, -1, 236, 107, 40, 24, "{递增}"));
    c.push_back(Label("标签3", kFields, -1, 8, 140, 56, 16, "生成个数："));
    c.push_back(Edit("生成个数框", kFields, -1, 72, 132, 152, 24, "50"));
    ControlDesc courier = Edit("快递类型", kFields, -1, 71, 162, 210, 24, {});
    courier.readOnly = true;
    c.push_back(courier);
    c.push_back(Label("标签4", kFields, -1, 9, 193, 56, 24, "生成规则:"));
    c.push_back(Edit("规则", kFields, -1, 72, 190, 208, 24, "{固数1}+{递增}+{时间}+{随机}"));
    ControlDesc generated = Edit("生成内容", kFields, -1, 12, 222, 268, 112, kSampleNumbers);
    generated.multiLine = true;
    generated.verticalScroll = true;
    c.push_back(generated);
    c.push_back(Button("按钮2", kFields, -1, 9, 335, 85, 26, "生成", Action::GenerateNumbers));
    c.push_back(
        Button("按钮6", kFields, -1, 102, 335, 85, 26, "验证定单", Action::StartVerification));
    c.push_back(Button("按钮10", kFields, -1, 192, 334, 86, 27, "根据定单生成",
                       Action::OpenRecentNumbers));
    c.push_back(
        Button("按钮11", kFields, -1, 9, 363, 86, 25, "停止验证", Action::StopVerification));
    c.push_back(Button("按钮12", kFields, -1, 101, 363, 85, 24, "清空", Action::ClearGenerated));

    // Page 2: the publisher's pages; addresses are set by the handlers.
    c.push_back({.name = "超文本浏览框2", .kind = ControlKind::WebView, .parent = kTabs,
                 .parentPage = 1, .left = 8, .top = 40, .width = 848, .height = 376});
    c.push_back({.name = "超文本浏览框3", .kind = ControlKind::WebView, .parent = kTabs,
                 .parentPage = 1, .left = 535, .top = -2, .width = 112, .height = 40,
                 .visible = false});
    return w;
}

// clang-format on

}  // namespace

const WindowDesc& MainWindowForm() {
    static const WindowDesc form = Build();
    return form;
}

}  // namespace zelvo
