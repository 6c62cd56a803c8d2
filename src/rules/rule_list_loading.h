#pragma once

#include <string>

#include "rules/rule_service_client.h"
#include "runtime/ui.h"

namespace zelvo {

// Whether ruleText holds a loaded list: longer than the built-in record.
bool IsRuleListLoaded(const std::string& ruleText);

// Asks the rule source for the RuleList unless one has been loaded in this
// run, showing a progress text in the reference-template window meanwhile.
// Blocks for up to the client's reply limit.
void loadRuleList(UiPort& ui, RuleServiceClient& client, std::string& ruleText);

}  // namespace zelvo
