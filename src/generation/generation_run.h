#pragma once

#include <string>
#include <vector>

#include "runtime/datetime.h"
#include "runtime/ui.h"

namespace zelvo {

// The "生成" button: expands the template of 规则 as many times as 生成个数框
// says into 生成内容, one number per line. templateParts and runningTime are
// the program-wide run state that each run overwrites.
void generateNumbers(UiPort& ui, std::vector<std::string>& templateParts, DateTime& runningTime);

}  // namespace zelvo
