#include "config/config.h"
#include "forms/form.h"

// The recent-number simulation window: numbers around one real waybill.
namespace zelvo {

namespace {

// The descriptions stay laid out like the tables they come from.
// clang-format off

ControlDesc Label(std::string_view name, int left, int top, int width, int height,
                  std::string_view text) {
    return {.name = name, .kind = ControlKind::Label, .left = left, .top = top, .width = width,
            .height = height, .canFocus = false, .text = text};
}

ControlDesc Radio(std::string_view name, int left, int top, int width, int height,
                  std::string_view text, bool checked) {
    return {.name = name, .kind = ControlKind::RadioButton, .left = left, .top = top,
            .width = width, .height = height, .text = text, .checked = checked};
}

WindowDesc Build() {
    return {
        .id = WindowId::RecentNumbers,
        .caption = config::kRecentNumbersCaption,
        .width = 688,
        .height = 212,
        .minimizeBox = true,
        .controls =
            {
                Label("标签1", 2, 17, 115, 16, "你找到的最近定单号:"),
                {.name = "编辑框1", .kind = ControlKind::EditBox, .left = 120, .top = 12,
                 .width = 160, .height = 24},
                Label("标签4", 288, 8, 88, 24, "必须为完整单号"),
                // Free notes: the program neither reads nor writes it.
                {.name = "编辑框3", .kind = ControlKind::EditBox, .left = 384, .top = 8,
                 .width = 280, .height = 168, .multiLine = true, .verticalScroll = true,
                 .thinBorder = true},
                Label("标签2", 23, 41, 89, 24, "递增或随机位数:"),
                {.name = "编辑框2", .kind = ControlKind::EditBox, .left = 120, .top = 40,
                 .width = 96, .height = 24, .text = "3"},
                Label("标签3", 224, 40, 104, 24, "是指从后数几位"),
                Radio("单选框1", 112, 77, 80, 24, "递增类型", true),
                Radio("单选框2", 224, 79, 80, 24, "随机类型", false),
                {.name = "按钮1", .kind = ControlKind::Button, .left = 118, .top = 117,
                 .width = 219, .height = 32, .text = "开始生成前效验",
                 .events = {{EventKind::Clicked, Action::GenerateFromRecent}}},
            },
        .events = {{EventKind::Created, Action::RecentCreated}},
    };
}

// clang-format on

}  // namespace

const WindowDesc& RecentNumbersForm() {
    static const WindowDesc form = Build();
    return form;
}

}  // namespace zelvo
