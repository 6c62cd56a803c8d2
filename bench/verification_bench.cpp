// A whole verification run through the in-memory port against the local
// courier simulator: numbers verified per second, with and without a delay
// per page, and the process CPU time each number costs (the simulator's
// share included). With 30 workers and 50 ms per page the ideal is 600 per
// second. Beside it, the same pages fetched by 30 plain threads with HttpGet
// and with HttpGetCancellable, which splits the cost of a run into the fetch
// and what the run adds, and the run's lookups alone on the pool's 30 workers
// and on 30 plain threads: what the pool costs. Runs in both builds (the
// Windows one under Wine), against one shared native simulator when
// bench/with_courier_server.sh runs them (the label says which).
#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "memory_ui.h"
#include "process_cpu.h"
#include "simulator_site.h"
#include "runtime/http.h"
#include "verification/courier_table.h"
#include "verification/verification_run.h"
#include "verification/work_pool.h"

namespace zelvo {
namespace {

constexpr int kWorkers = 30;

void BM_VerificationRun(benchmark::State& state, int count, int delayMs) {
    const bench::SimulatorSite simulator(delayMs, count);
    testing::MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    ui.SetText(WindowId::Main, "快递类型", "中通快递");
    ui.SetText(WindowId::Main, "效验线程", std::to_string(kWorkers));
    const std::string numbers = bench::SimulatedNumberLines(count);
    const std::string prefix = simulator.queryUrlPrefix("中通快递");

    WorkPool pool;
    VerificationRun run;
    run.setCourierHosts(simulator.hosts());
    const double cpuBefore = bench::ProcessCpuMs();
    for (auto _ : state) {
        ui.SetText(WindowId::Main, "生成内容", numbers);
        run.startVerification(ui, pool, prefix);
        if (!run.waitUntilIdle(600000)) {
            state.SkipWithError("run did not finish");
            break;
        }
    }
    const double cpuMs = bench::ProcessCpuMs() - cpuBefore;
    // items_per_second is the number of numbers verified per second.
    const std::int64_t verified = static_cast<std::int64_t>(state.iterations()) * count;
    state.SetItemsProcessed(verified);
    state.counters["cpu_ms_per_number"] = cpuMs / static_cast<double>(verified);
    if (delayMs > 0) {
        const double ideal = kWorkers * 1000.0 / delayMs;
        state.counters["ideal_per_s"] = ideal;
    }
    state.counters["rows"] = ui.ListCount(WindowId::Main, "超级列表框1");
    state.SetLabel(simulator.kind());
}

// Captured arguments rather than Args: the cross build's stand-in for Google
// Benchmark has no argument ranges.
BENCHMARK_CAPTURE(BM_VerificationRun, numbers_2000, 2000, 0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_VerificationRun, numbers_10000, 10000, 0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_VerificationRun, numbers_10000_delay_50ms, 10000, 50)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 30 threads, no pool and no run: each fetches its share of the simulator's
// pages one after the other.
void BM_SimulatorFetches(benchmark::State& state, int count, bool cancellable) {
    const bench::SimulatorSite simulator(0, count);
    const std::string prefix = simulator.queryUrlPrefix("中通快递");
    const std::atomic<bool> never{false};
    const double cpuBefore = bench::ProcessCpuMs();
    for (auto _ : state) {
        std::atomic<int> next{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kWorkers; ++t) {
            threads.emplace_back([&] {
                for (int i = next++; i < count; i = next++) {
                    const std::string address = prefix + bench::SimulatedNumber(i);
                    const Bytes page = cancellable ? HttpGetCancellable(address, never)
                                                   : HttpGet(address);
                    benchmark::DoNotOptimize(page);
                }
            });
        }
        for (std::thread& thread : threads) thread.join();
    }
    const std::int64_t fetched = static_cast<std::int64_t>(state.iterations()) * count;
    state.SetItemsProcessed(fetched);
    state.counters["cpu_ms_per_number"] = (bench::ProcessCpuMs() - cpuBefore) / static_cast<double>(fetched);
}

BENCHMARK_CAPTURE(BM_SimulatorFetches, http_get_2000, 2000, false)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SimulatorFetches, http_get_cancellable_2000, 2000, true)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The run's lookups alone, on the pool's 30 workers and on a plain loop of
// 30 threads, in one run.
void BM_LookUpsAlone(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int delayMs = static_cast<int>(state.range(1));

    const bench::SimulatorSite simulator(delayMs, count);
    std::vector<std::string> numbers;
    for (int i = 0; i < count; ++i) numbers.push_back(bench::SimulatedNumber(i));
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
