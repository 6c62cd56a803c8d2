#include "generation/generation_run.h"

#include <new>

#include "generation/template_expansion.h"
#include "runtime/convert.h"

namespace zelvo {
namespace {

constexpr WindowId kMain = WindowId::Main;

constexpr const char* kTooManyNumbers =
    "生成个数太大：一次最多生成2000000个单号，生成内容最多128MB。"
    "请减少生成个数、随机位数、固数的长度或生成规则中的部分。";
constexpr const char* kOutOfMemory = "内存不足，没能生成单号，请减少生成个数。";

}  // namespace

void generateNumbers(UiPort& ui, std::vector<std::string>& templateParts, DateTime& runningTime) {
    const int count = ToInteger(ui.GetText(kMain, "生成个数框"));
    std::vector<std::string> parts = splitTemplate(ui.GetText(kMain, "规则"));

    // Nothing in the run changes these boxes, so one read gives what a read at
    // every expansion would.
    GenerationSettings settings{
        .fixed1 = ui.GetText(kMain, "固数1"),
        .fixed2 = ui.GetText(kMain, "固数2"),
        .fixed3 = ui.GetText(kMain, "固数3"),
        .randomCount = ui.GetText(kMain, "随机框"),
        .counter = ui.GetText(kMain, "递增"),
        .startTime = ui.GetText(kMain, "时间框"),
    };

    std::vector<PlaceholderKind> kinds;
    for (const std::string& part : parts) kinds.push_back(ClassifyPart(part));
    if (!FitsGenerationLimits(count, kinds, settings)) {
        // Refused before anything is emptied: the last batch stays in the box.
        ui.MessageBox(kTooManyNumbers, kIconInformation);
        return;
    }

    ui.SetVisible(kMain, "生成内容", false);
    ui.SetText(kMain, "生成内容", "");
    templateParts = std::move(parts);

    TemplateExpander expander(settings);
    runningTime = expander.runningTime();
    try {
        std::string lines = ExpandLines(expander, templateParts, count);
        // One call instead of a line-by-line append: the same text, without
        // a box that grows a million times.
        if (!lines.empty()) ui.SetText(kMain, "生成内容", lines);
    } catch (const std::bad_alloc&) {
        ui.SetVisible(kMain, "生成内容", true);
        ui.MessageBox(kOutOfMemory, kIconError);
        return;
    }
    if (expander.counterUsed()) ui.SetText(kMain, "递增", expander.counterText());
    runningTime = expander.runningTime();
    ui.SetVisible(kMain, "生成内容", true);
}

}  // namespace zelvo
