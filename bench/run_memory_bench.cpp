// Resident memory of verification runs whose 30 workers all get pages far
// over the body cap, against a local server: the peak (VmHWM), what stays
// after the run, after three later runs of ordinary pages, and once the idle
// workers have ended. Linux only: it reads /proc/self/status.
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "local_servers.h"
#include "memory_ui.h"
#include "verification/verification_run.h"
#include "verification/work_pool.h"

namespace {

using zelvo::WindowId;
using zelvo::testing::RawConnection;

constexpr int kWorkers = 30;
constexpr int kNumbers = 90;  // three pages per worker
constexpr std::size_t kOversized = std::size_t{24} * 1024 * 1024;
constexpr std::size_t kChunk = 64 * 1024;

// A page that keeps the parser busy too: the record marker, and a table that
// runs to the very end, so the page is narrowed to nearly all of itself.
const std::string& Chunk() {
    static const std::string chunk = [] {
        std::string text = "签收人<table><tr><th>跟踪记录</th></tr>";
        const std::string end = "</table>";
        text.resize(kChunk - end.size(), 'x');
        return text + end;
    }();
    return chunk;
}

void Serve(RawConnection& connection, const std::string& head) {
    if (head.find("GET /small") == 0) {
        connection.send("HTTP/1.0 200 OK\r\n\r\n<html>no such number</html>");
        return;
    }
    if (!connection.send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(kOversized) +
                         "\r\n\r\n")) {
        return;
    }
    // Until the client has had enough.
    for (std::size_t sent = 0; sent < kOversized; sent += kChunk) {
        if (!connection.send(Chunk())) return;
    }
}

long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
    }
    return -1;
}

void Report(const char* moment) {
    std::printf("%-44s VmRSS %7.1f MiB   VmHWM %7.1f MiB\n", moment, StatusKb("VmRSS") / 1024.0,
                StatusKb("VmHWM") / 1024.0);
}

bool Run(zelvo::VerificationRun& run, zelvo::testing::MemoryUi& ui, zelvo::WorkPool& pool,
         const std::string& prefix) {
    run.startVerification(ui, pool, prefix);
    return run.waitUntilIdle(600000);
}

}  // namespace

int main() {
    Chunk();
    zelvo::testing::RawServer server(Serve);
    zelvo::testing::MemoryUi ui;
    ui.LoadWindow(WindowId::Main, false);
    ui.SetText(WindowId::Main, "快递类型", "中通快递");
    ui.SetText(WindowId::Main, "效验线程", std::to_string(kWorkers));
    std::string numbers;
    for (int i = 1; i <= kNumbers; ++i) numbers += std::to_string(i) + "\r\n";
    ui.SetText(WindowId::Main, "生成内容", numbers);

    zelvo::WorkPool pool;
    zelvo::VerificationRun run;
    Report("before the run");
    if (!Run(run, ui, pool, server.url("/big?no="))) return 1;
    Report("after a run of oversized pages");
    for (int i = 0; i < 3; ++i) {
        if (!Run(run, ui, pool, server.url("/small?no="))) return 1;
    }
    Report("after three runs of ordinary pages");
    std::this_thread::sleep_for(std::chrono::seconds(7));
    Report("7 s later");
    return 0;
}
