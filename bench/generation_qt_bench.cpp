// The whole "生成" click into the Qt box (offscreen platform): 10,000 to a
// million lines of the default template, and the program's peak memory with that box.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "generation/generation_run.h"
#include "qt_ui.h"

namespace zelvo {
namespace {

// Peak resident memory of the process so far, in megabytes.
double PeakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
}

void BM_GenerateClickIntoQtBox(benchmark::State& state) {
    qt::QtUi ui;
    ui.LoadWindow(WindowId::Main, false);
    QCoreApplication::processEvents();
    ui.SetText(WindowId::Main, "生成个数框", std::to_string(state.range(0)));
    std::vector<std::string> templateParts;
    DateTime runningTime;
    for (auto _ : state) {
        ui.SetText(WindowId::Main, "递增", "111111111");
        generateNumbers(ui, templateParts, runningTime);
        QCoreApplication::processEvents();  // the box is shown and laid out again
    }
    state.counters["peak_MB"] = PeakResidentMegabytes();
    ui.Shutdown();
}
BENCHMARK(BM_GenerateClickIntoQtBox)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace zelvo

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
