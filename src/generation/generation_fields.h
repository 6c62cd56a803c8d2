#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "generation/template_expansion.h"

// Checks the generation boxes before a run, so that a box that cannot be
// read as what it must be is named to the user instead of being read as 0,
// a wrapped-around number or the year 100.
namespace zelvo {

// The message naming the first box (in the window's order: 随机位数, 递增时间,
// 递增数值, 生成个数) whose text cannot serve this run, or the empty text when
// every box can. Only the boxes the template's parts use are checked, and
// 生成个数 always.
std::string generationFieldFault(const std::string& countText,
                                 const std::vector<PlaceholderKind>& parts,
                                 const GenerationSettings& settings);

}  // namespace zelvo
