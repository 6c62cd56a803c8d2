#include "forms/form.h"

// The reference-template window: the courier list and the chosen rule's
// description.
namespace zelvo {

namespace {

// The descriptions stay laid out like the tables they come from.
// clang-format off

WindowDesc Build() {
    return {
        .id = WindowId::ReferenceTemplates,
        .caption = "参考模版",
        .width = 447,
        .height = 351,
        .controls =
            {
                {.name = "选择框1", .kind = ControlKind::CheckBox, .left = 15, .top = 7,
                 .width = 192, .height = 12, .text = "选择后自动关闭", .checked = true},
                {.name = "超级列表框1", .kind = ControlKind::ListView, .left = 11, .top = 27,
                 .width = 199, .height = 273, .columns = {{"id", 30}, {"快递公司", 100}},
                 .events = {{EventKind::RowActivated, Action::PickCourier}}},
                {.name = "分组框1", .kind = ControlKind::GroupBox, .left = 218, .top = 22,
                 .width = 213, .height = 281, .canFocus = false, .text = "说明"},
                {.name = "编辑框1", .kind = ControlKind::EditBox, .parent = "分组框1", .left = 5,
                 .top = 19, .width = 204, .height = 258, .multiLine = true,
                 .verticalScroll = true, .readOnly = true, .border = false},
            },
        // Created: move next to the mouse pointer and load the rule list;
        // first activated: fill the list.
        .events = {{EventKind::Created, Action::TemplatesCreated},
                   {EventKind::FirstActivated, Action::TemplatesFirstActivated}},
    };
}

// clang-format on

}  // namespace

const WindowDesc& ReferenceTemplatesForm() {
    static const WindowDesc form = Build();
    return form;
}

}  // namespace zelvo
