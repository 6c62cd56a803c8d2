#include "rules/reference_templates_window.h"

#include "forms/reference_templates_controls.h"
#include "generation/rule_record.h"
#include "rules/rule_list_loading.h"
#include "runtime/convert.h"

namespace zelvo {
namespace {

constexpr WindowId kTemplates = WindowId::ReferenceTemplates;
using templates_window::kAutoCloseBox;
using templates_window::kCourierList;

}  // namespace

void templatesCreated(UiPort& ui, RuleServiceClient& client, std::string& ruleText) {
    placeNearCursor(ui);
    loadRuleList(ui, client, ruleText);
}

void placeNearCursor(UiPort& ui) {
    ui.MoveWindow(kTemplates, ui.CursorX() + 25, ui.CursorY() - 15);
}

void fillCourierList(UiPort& ui) {
    ui.SetText(kTemplates, "", "正在加载列表...");
    int id = 1;
    for (std::string_view name : kReferenceCouriers) {
        int row = ui.ListInsert(kTemplates, kCourierList);
        ui.ListSetText(kTemplates, kCourierList, row, 0, ToText(id++));
        ui.ListSetText(kTemplates, kCourierList, row, 1, name);
    }
    ui.SetText(kTemplates, "", "加载列表完毕");
}

void pickCourier(UiPort& ui, const std::string& ruleText, std::string& queryUrlPrefix) {
    int row = ui.ListCurrentRow(kTemplates, kCourierList);
    std::string name = row < 0 ? std::string() : ui.ListGetText(kTemplates, kCourierList, row, 1);
    if (name.empty()) return;
    applyRule(ui, ruleText, queryUrlPrefix, name);
    if (ui.IsChecked(kTemplates, kAutoCloseBox)) ui.CloseWindow(kTemplates);
}

}  // namespace zelvo
