// Runs every registered benchmark run whose name holds the text given with
// --benchmark_filter= (all without it) and prints one line for each.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "benchmark/benchmark.h"

namespace benchmark {

namespace {

std::vector<internal::Benchmark*>& Registry() {
    static std::vector<internal::Benchmark*> registry;
    return registry;
}

const char* UnitName(TimeUnit unit) {
    switch (unit) {
        case kSecond: return "s";
        case kMillisecond: return "ms";
        case kMicrosecond: return "us";
        default: return "ns";
    }
}

double InUnit(double seconds, TimeUnit unit) {
    switch (unit) {
        case kSecond: return seconds;
        case kMillisecond: return seconds * 1e3;
        case kMicrosecond: return seconds * 1e6;
        default: return seconds * 1e9;
    }
}

}  // namespace

std::int64_t internal::NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

internal::Benchmark::Benchmark(std::string name, std::function<void(State&)> body)
    : name_(std::move(name)), body_(std::move(body)) {
    Registry().push_back(this);
}

struct Runner {
    // Once without arguments, or once for each Args; only the runs whose
    // name holds filter.
    static void RunAll(const internal::Benchmark& benchmark, const char* filter) {
        if (benchmark.args_.empty()) {
            if (std::strstr(benchmark.name_.c_str(), filter) != nullptr) {
                Run(benchmark, {}, benchmark.name_);
            }
            return;
        }
        for (const auto& arguments : benchmark.args_) {
            std::string name = benchmark.name_;
            for (std::size_t k = 0; k < arguments.size(); ++k) {
                name += "/";
                if (k < benchmark.argNames_.size()) name += benchmark.argNames_[k] + ":";
                name += std::to_string(arguments[k]);
            }
            if (std::strstr(name.c_str(), filter) != nullptr) Run(benchmark, arguments, name);
        }
    }

    static void Run(const internal::Benchmark& benchmark, const std::vector<std::int64_t>& range,
                    const std::string& name) {
        std::int64_t iterations = benchmark.iterations_ > 0 ? benchmark.iterations_ : 1;
        for (;;) {
            State state(iterations, range);
            benchmark.body_(state);
            const double seconds = static_cast<double>(state.timedNs_) / 1e9;
            if (state.skipped_) {
                std::printf("%-40s ERROR: %s\n", name.c_str(), state.error_.c_str());
                return;
            }
            if (benchmark.iterations_ == 0 && seconds < 0.5 && iterations < 1'000'000'000) {
                const double grow = seconds > 0 ? 0.7 / seconds : 100;
                iterations = static_cast<std::int64_t>(
                    static_cast<double>(iterations) * (grow > 100 ? 100 : grow < 2 ? 2 : grow));
                continue;
            }
            std::printf("%-40s %12.3f %s %10lld", name.c_str(),
                        InUnit(seconds / static_cast<double>(iterations), benchmark.unit_),
                        UnitName(benchmark.unit_), static_cast<long long>(iterations));
            if (state.items_ > 0) std::printf(" items_per_second=%.4g", state.items_ / seconds);
            if (state.bytes_ > 0) std::printf(" bytes_per_second=%.4g", state.bytes_ / seconds);
            for (const auto& [name, counter] : state.counters) {
                double value = counter.value;
                if (counter.flags & Counter::kIsRate) value /= seconds;
                if (counter.flags & Counter::kInvert) value = value != 0 ? 1 / value : 0;
                std::printf(" %s=%.4g", name.c_str(), value);
            }
            if (!state.label_.empty()) std::printf(" %s", state.label_.c_str());
            std::printf("\n");
            return;
        }
    }
};

}  // namespace benchmark

int main(int argc, char** argv) {
    const char* filter = "";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--benchmark_filter=", 19) == 0) filter = argv[i] + 19;
    }
    std::printf("%-40s %15s %10s\n", "Benchmark", "Time", "Iterations");
    for (const auto* benchmark : benchmark::Registry()) {
        benchmark::Runner::RunAll(*benchmark, filter);
        std::fflush(stdout);
    }
    return 0;
}
