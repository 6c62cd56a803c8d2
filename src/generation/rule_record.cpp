#include "generation/rule_record.h"

#include "forms/main_window_controls.h"
#include "forms/reference_templates_controls.h"
#include "runtime/text_colour.h"
#include "runtime/text.h"

namespace zelvo {
namespace {

constexpr WindowId kMain = WindowId::Main;
constexpr WindowId kTemplates = WindowId::ReferenceTemplates;
using main_window::kCountBox;
using main_window::kCourierBox;
using main_window::kFixed1Box;
using main_window::kFixed2Box;
using main_window::kFixed3Box;
using main_window::kNumbersBox;
using main_window::kRandomBox;
using main_window::kTemplateBox;
using main_window::kTimeBox;
using templates_window::kDescriptionBox;

constexpr const char* kNoRuleNotice = "\r\n没有找到该快递公司的规则数据。";

}  // namespace

std::vector<std::string> SplitRuleList(std::string_view ruleText) {
    return SplitText(ruleText, "\r\n");
}

std::optional<std::string> FindRuleLine(std::string_view ruleText, std::string_view name) {
    for (std::string& line : SplitRuleList(ruleText)) {
        if (FindText(line, name) != -1) return std::move(line);
    }
    return std::nullopt;
}

std::optional<RuleRecord> ParseRuleRecord(std::string_view line) {
    std::vector<std::string> f = SplitText(line, "|");
    if (f.size() != kRuleFieldCount) return std::nullopt;
    return RuleRecord{std::move(f[0]), std::move(f[1]), std::move(f[2]),  std::move(f[3]),
                      std::move(f[4]), std::move(f[5]), std::move(f[6]),  std::move(f[7]),
                      std::move(f[8]), std::move(f[9]), std::move(f[10]), std::move(f[11])};
}

std::string DescriptionOf(const RuleRecord& record) {
    return ReplaceText("\r\n" + record.reference, "-", "\r\n");
}

void applyRule(UiPort& ui, std::string_view ruleText, std::string& queryUrlPrefix,
               std::string_view courierName) {
    if (SplitRuleList(ruleText).empty()) {
        ui.MessageBox("规则数据没能加载完毕,请联系客服解决", kIconInformation, "无规则数据");
        return;
    }
    std::optional<std::string> line = FindRuleLine(ruleText, courierName);
    if (!line) {
        SetTextColourIfSupported(ui, kTemplates, kDescriptionBox, kColourRed);
        ui.SetText(kTemplates, kDescriptionBox, kNoRuleNotice);
        for (std::string_view box : {kFixed1Box, kFixed2Box, kFixed3Box, kRandomBox, kTimeBox,
                                     kCountBox, kCourierBox, kTemplateBox}) {
            ui.SetText(kMain, box, "");
        }
        return;
    }
    // A malformed line for this courier is ignored; later lines are not tried.
    std::optional<RuleRecord> record = ParseRuleRecord(*line);
    if (!record) return;

    ui.SetText(kMain, kFixed1Box, record->fixed1);
    ui.SetText(kMain, kFixed2Box, record->fixed2);
    ui.SetText(kMain, kFixed3Box, record->fixed3);
    ui.SetText(kMain, kRandomBox, record->randomCount);
    ui.SetText(kMain, kTimeBox, record->startTime);
    ui.SetText(kMain, kCountBox, record->count);
    ui.SetText(kMain, kCourierBox, record->courierName);
    ui.SetText(kMain, kTemplateBox, record->numberTemplate);

    SetTextColourIfSupported(ui, kTemplates, kDescriptionBox, kColourBlack);
    queryUrlPrefix = std::move(record->queryUrlPrefix);
    // The box gets its final text at once: the reference items one per line.
    ui.SetText(kTemplates, kDescriptionBox, DescriptionOf(*record));
    ui.SetText(kMain, kNumbersBox, "");
}

}  // namespace zelvo
