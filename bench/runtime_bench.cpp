#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "runtime/convert.h"
#include "runtime/text.h"

namespace {

// About 1 MiB of ASCII words and Chinese characters in equal parts, with the
// sought texts only at the very end, so each search reads the whole text.
const std::string& MixedText() {
    static const std::string text = [] {
        static const char* const kChinese[] = {"快", "递", "单", "号", "生", "成", "验", "证",
                                               "收", "货", "时", "间", "地", "点", "出", "发"};
        std::mt19937 rng(1);
        std::string t;
        t.reserve(1 << 20);
        while (t.size() < (1u << 20) - 64) {
            if (rng() % 2) {
                t += kChinese[rng() % std::size(kChinese)];
            } else {
                t += static_cast<char>('a' + rng() % 26);
                if (rng() % 8 == 0) t += ' ';
            }
        }
        t += "zelvo快递单号生成器";
        return t;
    }();
    return text;
}

void Sought(benchmark::State& state, const char* sought, bool useFindText) {
    const std::string& text = MixedText();
    for (auto _ : state) {
        if (useFindText) {
            benchmark::DoNotOptimize(zelvo::FindText(text, sought));
        } else {
            benchmark::DoNotOptimize(text.find(sought));
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// "z" starts a candidate every hundred bytes or so; "生" (C9 FA) is sought
// among trail bytes as well as lead bytes.
void BM_FindText_Ascii(benchmark::State& s) { Sought(s, "zelvo", true); }
void BM_StdFind_Ascii(benchmark::State& s) { Sought(s, "zelvo", false); }
void BM_FindText_Chinese(benchmark::State& s) { Sought(s, "生成器", true); }
void BM_StdFind_Chinese(benchmark::State& s) { Sought(s, "生成器", false); }
BENCHMARK(BM_FindText_Ascii);
BENCHMARK(BM_StdFind_Ascii);
BENCHMARK(BM_FindText_Chinese);
BENCHMARK(BM_StdFind_Chinese);

// 1,000,000 lines of waybill numbers, some with a Chinese note.
const std::string& Lines() {
    static const std::string text = [] {
        std::mt19937 rng(2);
        std::string t;
        for (int i = 0; i < 1000000; ++i) {
            t += std::to_string(100000000000ull + rng() % 900000000000ull);
            if (i % 10 == 0) t += "快递";
            t += "\r\n";
        }
        return t;
    }();
    return text;
}

void BM_SplitText_Lines(benchmark::State& state) {
    const std::string& text = Lines();
    for (auto _ : state) {
        std::vector<std::string> lines = zelvo::SplitText(text, "\r\n");
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}

void BM_StdFindLoop_Lines(benchmark::State& state) {
    const std::string& text = Lines();
    for (auto _ : state) {
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (true) {
            std::size_t i = text.find("\r\n", pos);
            if (i == std::string::npos) break;
            lines.emplace_back(text, pos, i - pos);
            pos = i + 2;
        }
        if (pos < text.size()) lines.emplace_back(text, pos);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_SplitText_Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdFindLoop_Lines)->Unit(benchmark::kMillisecond);

void BM_TextToDateTime(benchmark::State& state, const char* text) {
    for (auto _ : state) benchmark::DoNotOptimize(zelvo::TextToDateTime(text));
}
BENCHMARK_CAPTURE(BM_TextToDateTime, dashes, "2010-1-5 9:30");
BENCHMARK_CAPTURE(BM_TextToDateTime, chinese, "2011年1月5日17时35分20秒");
BENCHMARK_CAPTURE(BM_TextToDateTime, invalid, "2010-13-1");

}  // namespace
