#pragma once

#include <string_view>

#include "forms/main_window_controls.h"
#include "runtime/ui.h"

// The main window's result list 超级列表框1: the only store of verified rows.
namespace zelvo {

using main_window::kCourierBox;
using main_window::kResultList;
using main_window::kResultProgress;

// "清空" above the list: every row goes, the columns stay.
void clearResultList(UiPort& ui);

}  // namespace zelvo
