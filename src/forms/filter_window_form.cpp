#include "forms/form.h"

// The filter window: place and date conditions for "过滤并保存".
namespace zelvo {

namespace {

// The descriptions stay laid out like the tables they come from.
// clang-format off

ControlDesc Label(std::string_view name, int left, int top, int width, int height,
                  std::string_view text) {
    return {.name = name, .kind = ControlKind::Label, .left = left, .top = top, .width = width,
            .height = height, .canFocus = false, .text = text};
}

ControlDesc Edit(std::string_view name, int left, int top, int width, int height) {
    return {.name = name, .kind = ControlKind::EditBox, .left = left, .top = top, .width = width,
            .height = height};
}

// Starts at the current date and time whenever the window opens.
ControlDesc Date(std::string_view name, int left, int top, int width, int height) {
    return {.name = name, .kind = ControlKind::DatePicker, .left = left, .top = top,
            .width = width, .height = height};
}

WindowDesc Build() {
    return {
        .id = WindowId::Filter,
        .caption = "快递过滤",
        .width = 503,
        .height = 204,
        .controls =
            {
                Label("标签1", 8, 16, 32, 24, "起点:"),
                Edit("起点", 72, 16, 136, 22),
                Label("标签2", 280, 16, 32, 24, "终点:"),
                Edit("终点", 318, 16, 152, 22),
                Label("标签3", 7, 48, 64, 24, "发货时间始:"),
                Date("发货时间始", 72, 48, 136, 24),
                Label("标签4", 248, 48, 64, 24, "发货时间终:"),
                Date("发货时间终", 318, 48, 153, 24),
                Label("标签6", 8, 76, 64, 24, "收货时间始:"),
                Date("收货时间始", 73, 76, 136, 24),
                Label("标签7", 249, 76, 64, 24, "收货时间终:"),
                Date("收货时间终", 319, 76, 153, 24),
                {.name = "按钮1", .kind = ControlKind::Button, .left = 320, .top = 113,
                 .width = 152, .height = 32, .text = "过滤并保存",
                 .events = {{EventKind::Clicked, Action::FilterAndSave}}},
            },
        .events = {{EventKind::Created, Action::FilterCreated}},
    };
}

// clang-format on

}  // namespace

const WindowDesc& FilterWindowForm() {
    static const WindowDesc form = Build();
    return form;
}

}  // namespace zelvo
