// A whole verification run through the in-memory port against the local
// courier simulator: numbers verified per second, with and without a delay
// per page. With 30 workers and 50 ms per page the ideal is 600 per second.
// Beside it the same lookups with nothing else, on the pool's 30 workers and
// on 30 plain threads: what fetching and parsing alone allow, and so what the
// run's own work and the pool cost.
#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "courier_simulator.h"
#include "memory_ui.h"
#include "verification/courier_table.h"
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

// The run's lookups alone, on the pool's 30 workers and on a plain loop of
// 30 threads, in one run.
void BM_LookUpsAlone(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int delayMs = static_cast<int>(state.range(1));

    testing::CourierSimulator simulator;
    simulator.setDelayMs(delayMs);
    std::vector<std::string> numbers;
    for (int i = 0; i < count; ++i) {
        numbers.push_back(std::to_string(500000000 + i));
        if (i % 10 == 0) simulator.addRecord("中通快递", numbers.back());
    }
    const std::string prefix = simulator.queryUrlPrefix("中通快递");
    const CourierHosts hosts = simulator.hosts();
    std::atomic<int> found{0};
    auto lookUp = [&](std::size_t index) {
        if (lookUpNumber("中通快递", numbers[index], prefix, hosts).found) ++found;
    };
    using Clock = std::chrono::steady_clock;
    auto perSecond = [count](Clock::time_point begin) {
        return count / std::chrono::duration<double>(Clock::now() - begin).count();
    };

    double pool = 0, loop = 0;
    for (auto _ : state) {
        {
            std::mutex mutex;
            std::condition_variable finished;
            int done = 0;
            WorkPool workPool;
            const auto begin = Clock::now();
            workPool.start(
                [&](std::int32_t, std::uintptr_t, std::int32_t task) {
                    lookUp(static_cast<std::size_t>(task - 1));
                    std::lock_guard lock(mutex);
                    if (++done == count) finished.notify_one();
                },
                kWorkers);
            for (int i = 1; i <= count; ++i) workPool.submit(i);
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return done == count; });
            pool = perSecond(begin);
        }
        std::atomic<std::size_t> next{0};
        const auto begin = Clock::now();
        std::vector<std::thread> threads;
        for (int t = 0; t < kWorkers; ++t) {
            threads.emplace_back([&] {
                for (std::size_t i = next++; i < numbers.size(); i = next++) lookUp(i);
            });
        }
        for (auto& thread : threads) thread.join();
        loop = perSecond(begin);
    }
    state.counters["pool_per_s"] = pool;
    state.counters["thread_loop_per_s"] = loop;
    state.counters["pool_over_loop"] = loop > 0 ? pool / loop : 0;
    state.counters["found_per_pass"] = found.load() / 2;
}

BENCHMARK(BM_LookUpsAlone)
    ->ArgNames({"numbers", "delay_ms"})
    ->Args({10000, 0})
    ->Args({10000, 50})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace zelvo
