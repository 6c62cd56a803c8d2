// A whole verification run through the in-memory port against the local
// courier simulator: numbers verified per second, with and without a delay
// per page. With 30 workers and 50 ms per page the ideal is 600 per second.
#include <benchmark/benchmark.h>

#include <string>

#include "courier_simulator.h"
#include "memory_ui.h"
#include "verification/verification_run.h"
#include "verification/work_pool.h"

namespace zelvo {
namespace {

constexpr int kWorkers = 30;

void BM_VerificationRun(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int delayMs = static_cast<int>(state.range(1));

    testing::CourierSimulator simulator;
    simulator.setDelayMs(delayMs);
    testing::MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    ui.SetText(WindowId::Main, "快递类型", "中通快递");
    ui.SetText(WindowId::Main, "效验线程", std::to_string(kWorkers));
    std::string numbers;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(500000000 + i);
        // Every tenth number has a record.
        if (i % 10 == 0) simulator.addRecord("中通快递", number);
        numbers += number;
        numbers += "\r\n";
    }
    const std::string prefix = simulator.queryUrlPrefix("中通快递");

    WorkPool pool;
    VerificationRun run;
    run.setCourierHosts(simulator.hosts());
    for (auto _ : state) {
        ui.SetText(WindowId::Main, "生成内容", numbers);
        run.startVerification(ui, pool, prefix);
        if (!run.waitUntilIdle(600000)) {
            state.SkipWithError("run did not finish");
            break;
        }
    }
    // items_per_second is the number of numbers verified per second.
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * count);
    if (delayMs > 0) {
        const double ideal = kWorkers * 1000.0 / delayMs;
        state.counters["ideal_per_s"] = ideal;
    }
    state.counters["rows"] = ui.ListCount(WindowId::Main, "超级列表框1");
}

BENCHMARK(BM_VerificationRun)
    ->ArgNames({"numbers", "delay_ms"})
    ->Args({2000, 0})
    ->Args({10000, 0})
    ->Args({10000, 50})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace zelvo
