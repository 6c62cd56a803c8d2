// Fetching pages in parallel: 10,000 GETs of a 5 KB page from nginx on
// 127.0.0.1 through the WorkPool's 30 workers, beside the same addresses
// fetched by a plain loop of 30 threads calling HttpGet in the same run; the
// same with every time-out of the pool lasting whole 16 ms ticks, as on a
// stock Windows, which must not change the ratio; `xargs -P 30 curl` as a
// further yardstick (slow: 10,000 processes); and the CPU a started pool uses
// while it has nothing to do. The Windows build runs under Wine and cannot
// start nginx itself: it fetches from the nginx that bench/pool_fetch_wine.sh
// starts and names in ZELVO_BENCH_NGINX_PORT, and has no xargs yardstick.
#include <benchmark/benchmark.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runtime/http.h"
#include "verification/work_pool.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kFetches = 10'000;
constexpr int kThreads = 30;
constexpr std::size_t kPageSize = 5 * 1024;
// The clock tick of a stock Windows, rounded up.
constexpr std::int64_t kCoarseTickMs = 16;

#ifdef _WIN32
class LocalNginx {
  public:
    LocalNginx() {
        const char* port = std::getenv("ZELVO_BENCH_NGINX_PORT");
        port_ = port != nullptr ? std::atoi(port) : 0;
    }
    bool ready() const { return port_ > 0; }
    std::string url(int number) const {
        return "http://127.0.0.1:" + std::to_string(port_) +
               "/page.html?no=" + std::to_string(number);
    }

  private:
    int port_ = 0;
};
#else
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// nginx serving one static 5 KB page from a temporary folder; one worker
// process, no access log.
class LocalNginx {
  public:
    LocalNginx() {
        char folder[] = "/tmp/zelvo-bench-nginx-XXXXXX";
        if (::mkdtemp(folder) == nullptr) return;
        folder_ = folder;
        fs::create_directories(folder_ / "html");
        fs::create_directories(folder_ / "logs");
        std::ofstream(folder_ / "html" / "page.html") << std::string(kPageSize, 'x');
        port_ = FreePort();
        std::ofstream(folder_ / "nginx.conf")
            << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
            << "error_log " << (folder_ / "logs" / "error.log").string() << ";\n"
            << "pid " << (folder_ / "nginx.pid").string() << ";\n"
            << "events { worker_connections 4096; }\n"
            << "http { access_log off;\n"
            << "  client_body_temp_path " << folder_.string() << "/tmp;\n"
            << "  server { listen 127.0.0.1:" << port_ << " backlog=4096; root "
            << (folder_ / "html").string() << "; }\n}\n";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl("/usr/sbin/nginx", "nginx", "-p", folder_.c_str(), "-e",
                    (folder_ / "logs" / "error.log").c_str(), "-c",
                    (folder_ / "nginx.conf").c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 500 && !Accepts(port_); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~LocalNginx() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (!folder_.empty()) fs::remove_all(folder_);
    }
    bool ready() const { return pid_ > 0 && Accepts(port_); }
    std::string url(int number) const {
        return "http://127.0.0.1:" + std::to_string(port_) +
               "/page.html?no=" + std::to_string(number);
    }
    fs::path folder() const { return folder_; }

  private:
    fs::path folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};
#endif

double Seconds(Clock::duration elapsed) { return std::chrono::duration<double>(elapsed).count(); }

// The pool as a verification run uses it: one task per address.
double PoolRate(const std::vector<std::string>& urls, std::atomic<int>& wrong,
                std::int64_t clockTickMs) {
    std::mutex mutex;
    std::condition_variable finished;
    int done = 0;
    zelvo::WorkPool pool;
    pool.setClockTick(clockTickMs);
    const auto begin = Clock::now();
    pool.start(
        [&](std::int32_t, std::uintptr_t, std::int32_t task) {
            if (zelvo::HttpGet(urls[static_cast<std::size_t>(task - 1)]).size() != kPageSize) {
                ++wrong;
            }
            std::lock_guard lock(mutex);
            if (++done == static_cast<int>(urls.size())) finished.notify_one();
        },
        kThreads);
    for (int i = 1; i <= static_cast<int>(urls.size()); ++i) pool.submit(i);
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return done == static_cast<int>(urls.size()); });
    return static_cast<double>(urls.size()) / Seconds(Clock::now() - begin);
}

// What the pool's dispatcher costs: the same fetches from plain threads.
double ThreadLoopRate(const std::vector<std::string>& urls, std::atomic<int>& wrong) {
    std::atomic<std::size_t> next{0};
    const auto begin = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (std::size_t i = next++; i < urls.size(); i = next++) {
                if (zelvo::HttpGet(urls[i]).size() != kPageSize) ++wrong;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    return static_cast<double>(urls.size()) / Seconds(Clock::now() - begin);
}

#ifndef _WIN32
double XargsCurlRate(const std::vector<std::string>& urls, const fs::path& folder) {
    const fs::path list = folder / "urls.txt";
    {
        std::ofstream out(list);
        for (const auto& url : urls) out << url << '\n';
    }
    const std::string command =
        std::string(ZELVO_XARGS_CURL) + " " + list.string() + " " + std::to_string(kThreads);
    const auto begin = Clock::now();
    if (std::system(command.c_str()) != 0) return 0;
    return static_cast<double>(urls.size()) / Seconds(Clock::now() - begin);
}
#endif

double CpuSeconds();

// The addresses of the pages the local nginx serves; none, with the
// benchmark skipped, when it could not be started.
std::vector<std::string> PageUrls(LocalNginx& nginx, benchmark::State& state) {
    std::vector<std::string> urls;
    if (!nginx.ready()) {
        state.SkipWithError("nginx could not be started on 127.0.0.1");
        return urls;
    }
    for (int i = 1; i <= kFetches; ++i) urls.push_back(nginx.url(i));
    return urls;
}

// Pool and loop in one run; the range is the pool's clock tick in ms. Beside
// the rates, the CPU time of this process per page, which a busy machine
// does not skew.
void BM_FetchTenThousandPages(benchmark::State& state) {
    LocalNginx nginx;
    const std::vector<std::string> urls = PageUrls(nginx, state);
    if (urls.empty()) return;
    std::atomic<int> wrong{0};
    // The machine is shared: pool and loop take turns on slices of the
    // pages (pool first, then loop first), so that a busy spell of the
    // machine weighs on both alike.
    constexpr int kSlices = 10;
    double poolSeconds = 0, loopSeconds = 0, poolCpu = 0, loopCpu = 0;
    for (auto _ : state) {
        for (int k = 0; k < kSlices; ++k) {
            const std::vector<std::string> slice(urls.begin() + k * kFetches / kSlices,
                                                 urls.begin() + (k + 1) * kFetches / kSlices);
            const auto size = static_cast<double>(slice.size());
            auto runPool = [&] {
                const double cpu = CpuSeconds();
                poolSeconds += size / PoolRate(slice, wrong, state.range(0));
                poolCpu += CpuSeconds() - cpu;
            };
            if (k % 2 == 0) runPool();
            const double cpu = CpuSeconds();
            loopSeconds += size / ThreadLoopRate(slice, wrong);
            loopCpu += CpuSeconds() - cpu;
            if (k % 2 == 1) runPool();
        }
    }
    state.counters["pool_cpu_us_per_page"] = 1e6 * poolCpu / kFetches;
    state.counters["loop_cpu_us_per_page"] = 1e6 * loopCpu / kFetches;
    const double pool = kFetches / poolSeconds;
    const double loop = kFetches / loopSeconds;
    state.counters["pool_per_s"] = pool;
    state.counters["thread_loop_per_s"] = loop;
    state.counters["pool_over_loop"] = loop > 0 ? pool / loop : 0;
    state.counters["wrong_bodies"] = wrong.load();
}
BENCHMARK(BM_FetchTenThousandPages)
    ->ArgNames({"clock_tick_ms"})
    ->Args({0})
    ->Args({kCoarseTickMs})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

#ifndef _WIN32
void BM_FetchTenThousandPagesXargsCurl(benchmark::State& state) {
    LocalNginx nginx;
    const std::vector<std::string> urls = PageUrls(nginx, state);
    if (urls.empty()) return;
    std::atomic<int> wrong{0};
    double pool = 0, xargs = 0;
    for (auto _ : state) {
        pool = PoolRate(urls, wrong, 0);
        xargs = XargsCurlRate(urls, nginx.folder());
    }
    state.counters["pool_per_s"] = pool;
    state.counters["xargs_curl_per_s"] = xargs;
    state.counters["pool_over_xargs"] = xargs > 0 ? pool / xargs : 0;
    state.counters["wrong_bodies"] = wrong.load();
}
BENCHMARK(BM_FetchTenThousandPagesXargsCurl)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
#endif

double CpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 1e7;
#else
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#endif
}

// A started pool with nothing to do should not wake at all (its crew's idle
// time is far longer than the three seconds).
void BM_IdleStartedPool(benchmark::State& state) {
    const auto idleFor = std::chrono::seconds(3);
    double percent = 0;
    for (auto _ : state) {
        zelvo::WorkPool pool;
        pool.start([](std::int32_t, std::uintptr_t, std::int32_t) {}, kThreads);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // threads settled
        const double cpuBefore = CpuSeconds();
        const auto begin = Clock::now();
        std::this_thread::sleep_for(idleFor);
        percent = 100.0 * (CpuSeconds() - cpuBefore) / Seconds(Clock::now() - begin);
    }
    state.counters["cpu_percent_of_one_core"] = percent;
}
BENCHMARK(BM_IdleStartedPool)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
