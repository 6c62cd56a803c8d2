#pragma once

#include <string_view>

#include "runtime/ui.h"

// The main window's result list 超级列表框1: the only store of verified rows.
namespace zelvo {

inline constexpr std::string_view kResultList = "超级列表框1";
inline constexpr std::string_view kResultProgress = "进度条1";
inline constexpr std::string_view kCourierBox = "快递类型";

// "清空" above the list: every row goes, the columns stay.
void clearResultList(UiPort& ui);

}  // namespace zelvo
