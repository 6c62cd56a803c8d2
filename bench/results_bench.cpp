#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "app/result_sort.h"
#include "memory_ui.h"
#include "platform_probe.h"
#include "results/filter_window.h"
#include "results/result_files.h"
#include "results/result_list.h"
#include "results/result_saving.h"
#include "runtime/convert.h"
#include "result_rows.h"
#include "runtime/files.h"

// The result list at the sizes a long verification run leaves: the column
// sort, the filter pass and the ResultFile export and import, on the
// in-memory port.
namespace zelvo {
namespace {

using testing::MemoryUi;

using bench::randomRow;

void fillList(MemoryUi& ui, int rows, unsigned seed) {
    ui.ListClear(WindowId::Main, kResultList);
    std::mt19937 random(seed);
    for (int r = 0; r < rows; ++r) {
        const auto cells = randomRow(random, r + 1);
        const int row = ui.ListInsert(WindowId::Main, kResultList);
        for (int c = 0; c < 6; ++c) {
            ui.ListSetText(WindowId::Main, kResultList, row, c, cells[static_cast<std::size_t>(c)]);
        }
    }
}

std::vector<std::string> keyTexts(int rows, int column) {
    std::mt19937 random(1);
    std::vector<std::string> keys;
    for (int r = 0; r < rows; ++r)
        keys.push_back(randomRow(random, r + 1)[static_cast<std::size_t>(column)]);
    return keys;
}

void BM_InsertionSortOrderNumbers(benchmark::State& state) {
    const auto keys = keyTexts(static_cast<int>(state.range(0)), 1);
    for (auto _ : state) benchmark::DoNotOptimize(insertionSortOrder(keys, SortKind::Numeric));
}
BENCHMARK(BM_InsertionSortOrderNumbers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_InsertionSortOrderTimes(benchmark::State& state) {
    const auto keys = keyTexts(static_cast<int>(state.range(0)), 2);
    for (auto _ : state) benchmark::DoNotOptimize(insertionSortOrder(keys, SortKind::DateTime));
}
BENCHMARK(BM_InsertionSortOrderTimes)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole header click: reading every row through the port, ordering and
// writing every row back.
void sortList(benchmark::State& state, int column, SortKind kind) {
    MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    unsigned seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        fillList(ui, static_cast<int>(state.range(0)), seed++);
        ui.ListSetCurrentRow(WindowId::Main, kResultList, 7);
        state.ResumeTiming();
        sortResultList(ui, column, kind, true);
    }
}
void BM_SortByNumber(benchmark::State& state) { sortList(state, 1, SortKind::Numeric); }
void BM_SortByDepartureTime(benchmark::State& state) { sortList(state, 2, SortKind::DateTime); }
BENCHMARK(BM_SortByNumber)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByDepartureTime)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

struct Folder {
    Folder() : path(testing::NewTempFolder("zelvo-bench-")) {}
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// A filter pass that keeps every row departing from 北京 (half of them); its
// file goes to a temporary current directory.
void BM_FilterPassKeepingHalf(benchmark::State& state) {
    Folder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    ui.onModal(WindowId::Filter, [&](MemoryUi&) {
        ui.SetText(WindowId::Filter, "起点", "北京");
        for (std::string_view picker : {"发货时间始", "收货时间始"}) {
            ui.SetDateValue(WindowId::Filter, picker, MakeDateTime(2011, 1, 1));
        }
        for (auto _ : state) {
            state.PauseTiming();
            fillList(ui, static_cast<int>(state.range(0)), 1);
            state.ResumeTiming();
            filterResults(ui);
        }
        state.counters["kept"] = ui.ListCount(WindowId::Main, kResultList);
    });
    ui.LoadWindow(WindowId::Filter, true);
    std::filesystem::current_path(previous);
}
BENCHMARK(BM_FilterPassKeepingHalf)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Export(benchmark::State& state) {
    Folder folder;
    MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    fillList(ui, static_cast<int>(state.range(0)), 1);
    for (auto _ : state) {
        ui.queueFolderAnswer(folder.path);
        exportResultList(ui);
    }
}
BENCHMARK(BM_Export)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state) {
    Folder folder;
    std::mt19937 random(1);
    ResultTable rows;
    for (int r = 0; r < state.range(0); ++r) rows.push_back(randomRow(random, r + 1));
    const std::string path = folder.path + "/saved.txt";
    const std::string text = composeResultFile(rows);
    WriteFileBytes(path, {AsBytes(text)});
    MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    for (auto _ : state) {
        ui.queueFolderAnswer(path);
        importResultList(ui);
    }
    state.counters["rows"] = ui.ListCount(WindowId::Main, kResultList);
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_Import)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelvo
