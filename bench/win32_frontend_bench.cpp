// The Win32 frontend on real controls (under Wine in the cross build), with
// the figures the Qt benchmarks give: start-up to a shown main window, the
// whole 生成 click of 10,000 to a million lines, 100,000 six-cell rows from 30 workers,
// the header sorts, a filter pass over 100,000 rows, and (with the courier
// simulator of the tests) the whole verification of 10,000 numbers from the
// click on 验证定单 to the end message. The cross build has
// no Google Benchmark, so this driver times itself: it runs one benchmark
// (named on the command line, or all of them in turn) and prints the median
// of its runs and the process's peak working set, so that each benchmark run
// in a process of its own gives its own peak.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/result_sort.h"
#include "app/startup.h"
#include "generation/generation_run.h"
#include "result_rows.h"
#include "results/filter_window.h"
#include "results/result_list.h"
#include "win32_ui.h"

#ifdef ZELVO_BENCH_COURIERS
#include "simulator_site.h"
#include "process_cpu.h"
#endif

#include <psapi.h>

namespace zelvo {
namespace {

using win32::Win32Ui;
constexpr WindowId kMain = WindowId::Main;

double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// Serves the windows until nothing is left to do: every message handled and
// every window painted.
void ServeUntilIdle() {
    MSG message;
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) win32::DispatchUiMessage(message);
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT) == WAIT_TIMEOUT) return;
    }
}

bool Painted(HWND window) { return window && IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE); }

// From nothing to the main window on the screen, painted, with its created
// event run: the port, the program-wide state, the controls, the first paint.
double StartupToShownMainWindow() {
    const double start = NowMs();
    auto ui = std::make_unique<Win32Ui>();
    std::unique_ptr<Program> program = startProgram(*ui);
    while (!Painted(ui->Window(kMain))) ServeUntilIdle();
    const double elapsed = NowMs() - start;
    program.reset();
    ui->CloseWindow(kMain);
    ui.reset();
    ServeUntilIdle();
    return elapsed;
}

struct Fixture {
    Fixture() {
        ui.LoadWindow(kMain, false);
        ServeUntilIdle();
    }
    Win32Ui ui;
    UiPort& port = ui;
};

// The whole 生成 click, from the handler's start until the filled box is shown.
double GenerateClick(int lines) {
    static Fixture f;
    f.ui.SetText(kMain, "生成个数框", std::to_string(lines));
    f.ui.SetText(kMain, "递增", "111111111");
    std::vector<std::string> templateParts;
    DateTime runningTime;
    const double start = NowMs();
    generateNumbers(f.ui, templateParts, runningTime);
    ServeUntilIdle();  // the box is shown and laid out again
    return NowMs() - start;
}

void FillRows(UiPort& ui, int first, int count) {
    for (int i = first; i < first + count; ++i) {
        const int row = ui.ListInsert(kMain, kResultList, -1, std::to_string(i + 1));
        ui.ListSetText(kMain, kResultList, row, 1, "368609071200");
        ui.ListSetText(kMain, kResultList, row, 2, "2010年1月5日17时35分");
        ui.ListSetText(kMain, kResultList, row, 3, "上海市");
        ui.ListSetText(kMain, kResultList, row, 4, "2010年1月7日9时12分");
        ui.ListSetText(kMain, kResultList, row, 5, "北京市");
    }
}

// Each worker's call waits for the UI thread, which keeps painting the
// growing list meanwhile.
double HundredThousandRowsFromThirtyWorkers() {
    static Fixture f;
    constexpr int kWorkers = 30;
    constexpr int kRows = 100000;
    f.ui.ListClear(kMain, kResultList);
    ServeUntilIdle();
    const double start = NowMs();
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            FillRows(f.port, 0, kRows / kWorkers + (w < kRows % kWorkers ? 1 : 0));
            ++finished;
        });
    }
    MSG message;
    while (finished < kWorkers) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) win32::DispatchUiMessage(message);
    }
    for (std::thread& t : workers) t.join();
    ServeUntilIdle();
    const double elapsed = NowMs() - start;
    if (f.ui.ListCount(kMain, kResultList) != kRows) std::fprintf(stderr, "rows lost\n");
    return elapsed;
}

void FillRandomRows(UiPort& ui, int rows, unsigned seed) {
    ui.ListClear(kMain, kResultList);
    std::mt19937 random(seed);
    for (int r = 0; r < rows; ++r) {
        const auto cells = bench::randomRow(random, r + 1);
        const int row = ui.ListInsert(kMain, kResultList);
        for (int c = 0; c < 6; ++c) ui.ListSetText(kMain, kResultList, row, c, cells[static_cast<size_t>(c)]);
    }
    ServeUntilIdle();
}

double Sort(int column, SortKind kind) {
    static Fixture f;
    static unsigned seed = 1;
    FillRandomRows(f.port, 100000, seed++);
    f.ui.ListSetCurrentRow(kMain, kResultList, 7);
    const double start = NowMs();
    sortResultList(f.ui, column, kind, true);
    ServeUntilIdle();  // the repaint that follows
    return NowMs() - start;
}

double FilterPassKeepingHalf() {
    static Fixture f;
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zelvo-win32-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    f.ui.LoadWindow(WindowId::Filter, false);
    f.ui.SetText(WindowId::Filter, "起点", "北京");
    for (std::string_view picker : {"发货时间始", "收货时间始"}) {
        f.ui.SetDateValue(WindowId::Filter, picker, MakeDateTime(2011, 1, 1));
    }
    FillRandomRows(f.port, 100000, 1);
    f.ui.AnswerNextMessageBox(0);
    const double start = NowMs();
    filterResults(f.ui);
    ServeUntilIdle();
    const double elapsed = NowMs() - start;
    if (f.ui.ListCount(kMain, kResultList) != 50000) std::fprintf(stderr, "kept %d rows\n", f.ui.ListCount(kMain, kResultList));
    f.ui.CloseWindow(WindowId::Filter);
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return elapsed;
}

#ifdef ZELVO_BENCH_COURIERS
// 10,000 numbers, every tenth with a record, 30 workers, a simulator that
// answers at once: from the click on 验证定单 to the end message, with the
// windows served as the program's own loop serves them.
double VerifyTenThousandNumbers() {
    constexpr int kCount = 10000;
    const bench::SimulatorSite simulator(0, kCount);
    const std::string numbers = bench::SimulatedNumberLines(kCount);
    Win32Ui ui;
    std::unique_ptr<Program> program = startProgram(ui);
    ProgramState& state = program->state();
    state.verification.setCourierHosts(simulator.hosts());
    state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui.SetText(kMain, "快递类型", "中通快递");
    ui.SetText(kMain, "效验线程", "30");
    ui.SetText(kMain, "生成内容", numbers);
    ui.AnswerNextMessageBox(0);  // the end message, as if dismissed at once
    ServeUntilIdle();
    const double cpuBefore = bench::ProcessCpuMs();
    const double start = NowMs();
    SendMessageW(ui.ControlWindow(kMain, "按钮6"), BM_CLICK, 0, 0);
    MSG message;
    while (!state.verification.waitUntilIdle(0) || ui.ProgressPos(kMain, "进度条1") != 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) win32::DispatchUiMessage(message);
    }
    const double elapsed = NowMs() - start;
    std::printf("  %d numbers: %.0f numbers/s, %.2f ms CPU per number, %d rows, %s simulator\n",
                kCount, kCount * 1000.0 / elapsed, (bench::ProcessCpuMs() - cpuBefore) / kCount,
                ui.ListCount(kMain, kResultList), simulator.kind());
    program.reset();
    ui.CloseWindow(kMain);
    ServeUntilIdle();
    return elapsed;
}
#endif

struct Benchmark {
    const char* name;
    int runs;
    std::function<double()> run;
};

}  // namespace
}  // namespace zelvo

int main(int argc, char** argv) {
    using namespace zelvo;
    const std::vector<Benchmark> benchmarks = {
        {"StartupToShownMainWindow", 5, StartupToShownMainWindow},
        {"GenerateClick10kLines", 3, [] { return GenerateClick(10000); }},
        {"GenerateClick100kLines", 3, [] { return GenerateClick(100000); }},
        {"GenerateClickMillionLines", 3, [] { return GenerateClick(1000000); }},
        {"HundredThousandRowsFromThirtyWorkers", 2, HundredThousandRowsFromThirtyWorkers},
        {"SortByNumber", 3, [] { return Sort(1, SortKind::Numeric); }},
        {"SortByDepartureTime", 3, [] { return Sort(2, SortKind::DateTime); }},
        {"FilterPassKeepingHalf", 1, FilterPassKeepingHalf},
#ifdef ZELVO_BENCH_COURIERS
        {"VerifyTenThousandNumbers", 1, VerifyTenThousandNumbers},
#endif
    };
    for (const Benchmark& b : benchmarks) {
        if (argc > 1 && std::strcmp(argv[1], b.name) != 0) continue;
        std::vector<double> times;
        for (int i = 0; i < b.runs; ++i) times.push_back(b.run());
        std::sort(times.begin(), times.end());
        std::printf("%-40s %10.1f ms (median of %d)   peak working set %.1f MB\n", b.name,
                    times[times.size() / 2], b.runs, PeakMegabytes());
        std::fflush(stdout);
    }
    return 0;
}
