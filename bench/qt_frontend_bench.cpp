// The Qt frontend (offscreen platform unless QT_QPA_PLATFORM says otherwise):
// start-up to a shown main window, filling the result list with 100,000
// rows from the GUI thread and from 30 worker threads, and (with the courier
// simulator of the tests) the whole verification of 10,000 numbers from the
// click on 验证定单 to the end message.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <QAbstractButton>

#include "app/startup.h"
#include "appearance.h"
#include "gbk.h"
#include "qt_ui.h"

#ifdef ZELVO_BENCH_COURIERS
#include "simulator_site.h"
#include "process_cpu.h"
#endif

namespace zelvo {
namespace {

constexpr const char* kResults = "超级列表框1";

bool Shown(QWidget* window) {
    return window && window->isVisible() && window->windowHandle() &&
           window->windowHandle()->isExposed();
}

// From nothing to the main window on the screen with its created event run:
// the port, the program-wide state, the window's widgets, the first paint.
void BM_StartupToShownMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        qt::QtUi ui;
        std::unique_ptr<Program> program = startProgram(ui);
        while (!Shown(ui.Window(WindowId::Main))) QCoreApplication::processEvents();
        state.PauseTiming();
        program.reset();
        ui.CloseWindow(WindowId::Main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToShownMainWindow)->Unit(benchmark::kMillisecond);

// A verification run's rows: a row and its five more cells each.
void FillRows(qt::QtUi& ui, int first, int count) {
    for (int i = first; i < first + count; ++i) {
        const int row = ui.ListInsert(WindowId::Main, kResults, -1, std::to_string(i + 1), -1,
                                      -1, 0, 0);
        ui.ListSetText(WindowId::Main, kResults, row, 1, "368609071200");
        ui.ListSetText(WindowId::Main, kResults, row, 2, "2010年1月5日17时35分");
        ui.ListSetText(WindowId::Main, kResults, row, 3, "上海市");
        ui.ListSetText(WindowId::Main, kResults, row, 4, "2010年1月7日9时12分");
        ui.ListSetText(WindowId::Main, kResults, row, 5, "北京市");
    }
}

void BM_HundredThousandRowsOnGuiThread(benchmark::State& state) {
    qt::QtUi ui;
    ui.LoadWindow(WindowId::Main, false);
    for (auto _ : state) {
        ui.ListClear(WindowId::Main, kResults);
        FillRows(ui, 0, 100000);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_HundredThousandRowsOnGuiThread)->Unit(benchmark::kMillisecond)->Iterations(3);

// Each worker's call waits for the GUI thread, which keeps painting and
// laying out the growing list meanwhile.
void BM_HundredThousandRowsFromThirtyWorkers(benchmark::State& state) {
    qt::QtUi ui;
    ui.LoadWindow(WindowId::Main, false);
    constexpr int kWorkers = 30;
    constexpr int kRows = 100000;
    for (auto _ : state) {
        ui.ListClear(WindowId::Main, kResults);
        std::atomic<int> finished{0};
        std::vector<std::thread> workers;
        for (int w = 0; w < kWorkers; ++w) {
            workers.emplace_back([&, w] {
                const int share = kRows / kWorkers + (w < kRows % kWorkers ? 1 : 0);
                FillRows(ui, 0, share);
                ++finished;
            });
        }
        while (finished < kWorkers) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        for (std::thread& t : workers) t.join();
        if (ui.ListCount(WindowId::Main, kResults) != kRows) state.SkipWithError("rows lost");
    }
}
BENCHMARK(BM_HundredThousandRowsFromThirtyWorkers)->Unit(benchmark::kMillisecond)->Iterations(2);

#ifdef ZELVO_BENCH_COURIERS
// 10,000 numbers, every tenth with a record, 30 workers, a simulator that
// answers at once.
void BM_VerifyTenThousandNumbers(benchmark::State& state) {
    constexpr int kCount = 10000;
    const bench::SimulatorSite simulator(0, kCount);
    const std::string numbers = bench::SimulatedNumberLines(kCount);
    qt::QtUi ui;
    std::unique_ptr<Program> program = startProgram(ui);
    ProgramState& program_state = program->state();
    program_state.verification.setCourierHosts(simulator.hosts());
    program_state.queryUrlPrefix = simulator.queryUrlPrefix("中通快递");
    ui.SetText(WindowId::Main, "快递类型", "中通快递");
    ui.SetText(WindowId::Main, "效验线程", "30");
    auto* verify = ui.Window(WindowId::Main)->findChild<QAbstractButton*>(qt::FromGbk("按钮6"));
    double cpuMs = 0;
    for (auto _ : state) {
        ui.SetText(WindowId::Main, "生成内容", numbers);
        ui.AnswerNextMessageBox(0);  // the end message, as if dismissed at once
        QCoreApplication::processEvents();
        const double cpuBefore = bench::ProcessCpuMs();
        verify->click();
        while (!program_state.verification.waitUntilIdle(0) ||
               ui.ProgressPos(WindowId::Main, "进度条1") != 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        cpuMs += bench::ProcessCpuMs() - cpuBefore;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kCount);
    state.counters["cpu_ms_per_number"] = cpuMs / (static_cast<double>(state.iterations()) * kCount);
    state.counters["rows"] = ui.ListCount(WindowId::Main, kResults);
    state.SetLabel(simulator.kind());
    program.reset();
    ui.CloseWindow(WindowId::Main);
}
BENCHMARK(BM_VerifyTenThousandNumbers)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
#endif

}  // namespace
}  // namespace zelvo

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    zelvo::qt::ConfigureApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
