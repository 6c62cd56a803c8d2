#include "rules/rule_list_loading.h"

#include "forms/reference_templates_controls.h"

namespace zelvo {

bool IsRuleListLoaded(const std::string& ruleText) {
    return ruleText.size() > BuiltInRuleList().size();
}

void loadRuleList(UiPort& ui, RuleServiceClient& client, std::string& ruleText) {
    if (IsRuleListLoaded(ruleText)) return;
    client.close();
    client.open();
    ui.SetText(WindowId::ReferenceTemplates, templates_window::kDescriptionBox,
               "\r\n\r\n   正在更新列表中请稍候......");
    // Also an empty reply replaces the list: the next opening asks again.
    ruleText = client.fetchRuleList();
}

}  // namespace zelvo
