#pragma once

#include <array>
#include <string>
#include <string_view>

#include "rules/rule_service_client.h"
#include "runtime/ui.h"

// Handlers of the reference-template window ("参考模版"), where the user picks
// a courier whose rule is applied to the main window.
namespace zelvo {

// The couriers listed, in order; the id shown is the position from 1.
inline constexpr std::array<std::string_view, 12> kReferenceCouriers = {
    "中通快递",   "圆通快递",   "顺风快递", "韵达快递",     "天天快递", "汇通快递",
    "鑫飞鸿快递", "宅急送快递", "德邦物流", "希伊艾斯CCES", "星辰急便", "AAE全球专递",
};

// Window created: beside the mouse pointer, then the rule list is loaded.
void templatesCreated(UiPort& ui, RuleServiceClient& client, std::string& ruleText);

void placeNearCursor(UiPort& ui);
// Window first activated: the courier rows.
void fillCourierList(UiPort& ui);
// Row activated: applies the current row's courier; closes the window when
// 选择框1 is checked.
void pickCourier(UiPort& ui, const std::string& ruleText, std::string& queryUrlPrefix);

}  // namespace zelvo
