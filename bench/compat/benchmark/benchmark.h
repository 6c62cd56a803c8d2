#pragma once

// The part of Google Benchmark's interface that Zelvo's benchmarks use, for
// the Windows cross build, which has no Google Benchmark library. Each
// benchmark runs until it has taken half a second (or its fixed iteration
// count) and prints the real time per iteration, the rates and the counters.
// As in Google Benchmark, only the loop over the state is timed, less the
// time between PauseTiming and ResumeTiming.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace benchmark {

namespace internal {
// A steady clock in nanoseconds: <chrono> does not compile with the GBK
// execution character set of the targets that include this header.
std::int64_t NowNanoseconds();
}  // namespace internal

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond, kSecond };

struct Counter {
    enum Flags { kDefaults = 0, kIsRate = 1, kInvert = 2 };
    Counter(double value = 0, int flags = kDefaults) : value(value), flags(flags) {}
    double value;
    int flags;
};

class State {
  public:
    State(std::int64_t iterations, std::vector<std::int64_t> range)
        : iterations_(iterations), range_(std::move(range)) {}

    // What the loop variable holds; not trivial, so an unused one is no warning.
    struct Value {
        ~Value() {}
    };
    struct Iterator {
        State* state;
        std::int64_t left;
        bool operator!=(const Iterator&) const {
            if (left != 0) return true;
            if (state) state->PauseTiming();  // the loop is over
            return false;
        }
        void operator++() { --left; }
        Value operator*() const { return {}; }
    };
    Iterator begin() {
        ResumeTiming();
        return {this, skipped_ ? 0 : iterations_};
    }
    Iterator end() { return {nullptr, 0}; }

    void PauseTiming() {
        if (running_) timedNs_ += internal::NowNanoseconds() - sinceNs_;
        running_ = false;
    }
    void ResumeTiming() {
        if (!running_) sinceNs_ = internal::NowNanoseconds();
        running_ = true;
    }

    std::int64_t iterations() const { return iterations_; }
    // The argument at index of the run's Args; 0 past its end.
    std::int64_t range(std::size_t index = 0) const {
        return index < range_.size() ? range_[index] : 0;
    }
    void SetItemsProcessed(std::int64_t items) { items_ = items; }
    void SetBytesProcessed(std::int64_t bytes) { bytes_ = bytes; }
    void SetLabel(const std::string& label) { label_ = label; }
    void SkipWithError(const char* message) {
        skipped_ = true;
        error_ = message;
    }

    std::map<std::string, Counter> counters;

  private:
    friend struct Runner;
    std::int64_t iterations_;
    std::vector<std::int64_t> range_;
    std::int64_t items_ = 0;
    std::int64_t bytes_ = 0;
    bool running_ = false;
    std::int64_t sinceNs_ = 0;
    std::int64_t timedNs_ = 0;
    bool skipped_ = false;
    std::string error_;
    std::string label_;
};

template <typename T>
inline void DoNotOptimize(const T& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}
template <typename T>
inline void DoNotOptimize(T& value) {
    asm volatile("" : "+r,m"(value) : : "memory");
}

namespace internal {

class Benchmark {
  public:
    Benchmark(std::string name, std::function<void(State&)> body);
    Benchmark* Unit(TimeUnit unit) {
        unit_ = unit;
        return this;
    }
    Benchmark* Iterations(std::int64_t count) {
        iterations_ = count;
        return this;
    }
    // Names the arguments in the printed name of each run.
    Benchmark* ArgNames(std::vector<std::string> names) {
        argNames_ = std::move(names);
        return this;
    }
    // One more run of the benchmark, with this one argument.
    Benchmark* Arg(std::int64_t argument) { return Args({argument}); }
    // One more run of the benchmark, with these arguments.
    Benchmark* Args(std::vector<std::int64_t> arguments) {
        args_.push_back(std::move(arguments));
        return this;
    }
    // Real time is the only time measured here.
    Benchmark* UseRealTime() { return this; }

    std::string name_;
    std::function<void(State&)> body_;
    TimeUnit unit_ = kNanosecond;
    std::int64_t iterations_ = 0;
    std::vector<std::string> argNames_;
    std::vector<std::vector<std::int64_t>> args_;
};

}  // namespace internal
}  // namespace benchmark

#define ZELVO_BENCHMARK_JOIN2(a, b) a##b
#define ZELVO_BENCHMARK_JOIN(a, b) ZELVO_BENCHMARK_JOIN2(a, b)
#define BENCHMARK(function)                                                           \
    static ::benchmark::internal::Benchmark* ZELVO_BENCHMARK_JOIN(benchmark_, __LINE__) = \
        (new ::benchmark::internal::Benchmark(#function, function))
#define BENCHMARK_CAPTURE(function, label, ...)                                        \
    static ::benchmark::internal::Benchmark* ZELVO_BENCHMARK_JOIN(benchmark_, __LINE__) = \
        (new ::benchmark::internal::Benchmark(                                            \
            #function "/" #label, [](::benchmark::State& state) { function(state, __VA_ARGS__); }))
