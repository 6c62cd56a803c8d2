#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ui.h"

// RuleList: one courier rule per line, lines separated by "\r\n"; a RuleRecord
// is a line of exactly twelve fields separated by "|". Fields are kept as
// texts: nothing is trimmed, checked or converted here.
namespace zelvo {

inline constexpr int kRuleFieldCount = 12;

struct RuleRecord {
    std::string courierName;     // 0 → 快递类型
    std::string fixed1;          // 1 → 固数1
    std::string fixed2;          // 2 → 固数2
    std::string fixed3;          // 3 → 固数3
    std::string unused;          // 4
    std::string randomCount;     // 5 → 随机框
    std::string startTime;       // 6 → 时间框
    std::string count;           // 7 → 生成个数框
    std::string numberTemplate;  // 8 → 规则
    std::string reference;       // 9: items joined by "-", shown in the description box
    std::string queryUrlPrefix;  // 10
    std::string reserved;        // 11
};

// The lines of a RuleList; a trailing "\r\n" adds no line, the empty text has none.
std::vector<std::string> SplitRuleList(std::string_view ruleText);
// The first line containing the name anywhere (at character starts), if any.
std::optional<std::string> FindRuleLine(std::string_view ruleText, std::string_view name);
// The record of a line, or nothing unless the line splits into exactly 12 fields.
std::optional<RuleRecord> ParseRuleRecord(std::string_view line);

// The description box text of a record: a blank first line, then the items of
// the reference text one per line.
std::string DescriptionOf(const RuleRecord& record);

// Finds the courier's record in ruleText and copies it into the main window's
// generation boxes, 快递类型, the reference-template window's description box
// and queryUrlPrefix; empties 生成内容.
void applyRule(UiPort& ui, std::string_view ruleText, std::string& queryUrlPrefix,
               std::string_view courierName);

}  // namespace zelvo
