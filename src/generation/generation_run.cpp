#include "generation/generation_run.h"

#include <new>

#include "forms/main_window_controls.h"
#include "generation/generation_fields.h"
#include "generation/template_expansion.h"
#include "runtime/convert.h"

namespace zelvo {
namespace {

constexpr WindowId kMain = WindowId::Main;
using main_window::kCountBox;
using main_window::kCounterBox;
using main_window::kFixed1Box;
using main_window::kFixed2Box;
using main_window::kFixed3Box;
using main_window::kNumbersBox;
using main_window::kRandomBox;
using main_window::kTemplateBox;
using main_window::kTimeBox;

constexpr const char* kTooManyNumbers =
    "生成个数太大：一次最多生成2000000个单号，生成内容最多128MB。"
    "请减少生成个数、随机位数、固数的长度或生成规则中的部分。";
constexpr const char* kOutOfMemory = "内存不足，没能生成单号，请减少生成个数。";

}  // namespace

void generateNumbers(UiPort& ui, std::vector<std::string>& templateParts, DateTime& runningTime) {
    const std::string countText = ui.GetText(kMain, kCountBox);
    const int count = ToInteger(countText);
    std::vector<std::string> parts = splitTemplate(ui.GetText(kMain, kTemplateBox));

    // Nothing in the run changes these boxes, so one read gives what a read at
    // every expansion would.
    GenerationSettings settings{
        .fixed1 = ui.GetText(kMain, kFixed1Box),
        .fixed2 = ui.GetText(kMain, kFixed2Box),
        .fixed3 = ui.GetText(kMain, kFixed3Box),
        .randomCount = ui.GetText(kMain, kRandomBox),
        .counter = ui.GetText(kMain, kCounterBox),
        .startTime = ui.GetText(kMain, kTimeBox),
    };

    std::vector<PlaceholderKind> kinds;
    for (const std::string& part : parts) kinds.push_back(ClassifyPart(part));
    // Refused before anything is emptied, like a run that is too large.
    if (const std::string fault = generationFieldFault(countText, kinds, settings);
        !fault.empty()) {
        ui.MessageBox(fault, kIconInformation);
        return;
    }
    if (!FitsGenerationLimits(count, kinds, settings)) {
        // Refused before anything is emptied: the last batch stays in the box.
        ui.MessageBox(kTooManyNumbers, kIconInformation);
        return;
    }

    ui.SetVisible(kMain, kNumbersBox, false);
    ui.SetText(kMain, kNumbersBox, "");
    templateParts = std::move(parts);

    TemplateExpander expander(settings);
    runningTime = expander.runningTime();
    try {
        std::string lines = ExpandLines(expander, templateParts, count);
        // One call instead of a line-by-line append: the same text, without
        // a box that grows a million times.
        if (!lines.empty()) ui.SetText(kMain, kNumbersBox, lines);
    } catch (const std::bad_alloc&) {
        ui.SetVisible(kMain, kNumbersBox, true);
        ui.MessageBox(kOutOfMemory, kIconError);
        return;
    }
    if (expander.counterUsed()) ui.SetText(kMain, kCounterBox, expander.counterText());
    runningTime = expander.runningTime();
    ui.SetVisible(kMain, kNumbersBox, true);
}

}  // namespace zelvo
