#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "generation/generation_run.h"
#include "generation/template_expansion.h"
#ifdef ZELVO_BENCH_MEMORY_UI
#include "memory_ui.h"
#endif

namespace zelvo {
namespace {

constexpr int kLines = 1'000'000;

GenerationSettings DefaultSettings() {
    return {.fixed1 = "268928453",
            .fixed2 = "999",
            .fixed3 = "999",
            .randomCount = "3",
            .counter = "111111111",
            .startTime = "20100101"};
}

// The expansion alone: a million lines of the default template into one text.
void BM_ExpandDefaultTemplate(benchmark::State& state) {
    GenerationSettings settings = DefaultSettings();
    std::vector<std::string> parts = splitTemplate("{固数1}+{递增}+{时间}+{随机}");
    for (auto _ : state) {
        TemplateExpander expander(settings);
        std::string text = ExpandLines(expander, parts, kLines);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.counters["ns_per_line"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ExpandDefaultTemplate)->Unit(benchmark::kMillisecond);

// The expansion written into a buffer that is already in memory: the same
// work without the page faults of a fresh 35 MB text.
void BM_ExpandIntoReusedBuffer(benchmark::State& state) {
    GenerationSettings settings = DefaultSettings();
    std::vector<PlaceholderKind> kinds;
    for (const std::string& part : splitTemplate("{固数1}+{递增}+{时间}+{随机}")) {
        kinds.push_back(ClassifyPart(part));
    }
    std::string buffer(static_cast<std::size_t>(kLines * MaxLineBytes(kinds, settings)), '\0');
    for (auto _ : state) {
        TemplateExpander expander(settings);
        char* out = buffer.data();
        for (int i = 0; i < kLines; ++i) {
            out = expander.writeLine(kinds, out);
            *out++ = '\r';
            *out++ = '\n';
        }
        benchmark::DoNotOptimize(out);
    }
    state.counters["ns_per_line"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ExpandIntoReusedBuffer)->Unit(benchmark::kMillisecond);

#ifdef ZELVO_BENCH_MEMORY_UI
// The whole "生成" click on the in-memory port: boxes read, limit check, box
// hidden, filled in one call, counter written back.
void BM_GenerateClickInMemory(benchmark::State& state) {
    testing::MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    ui.SetText(WindowId::Main, "生成个数框", std::to_string(kLines));
    std::vector<std::string> templateParts;
    DateTime runningTime;
    for (auto _ : state) {
        ui.SetText(WindowId::Main, "递增", "111111111");
        generateNumbers(ui, templateParts, runningTime);
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_GenerateClickInMemory)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
}  // namespace zelvo
