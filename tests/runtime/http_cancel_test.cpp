// HttpGetCancellable: a fetch in flight is abandoned soon after its flag is
// set, against servers that would otherwise hold it until a time-out. Only
// the portable parts of the runtime and the local servers are used, so the
// same file runs against every HttpGet.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "local_servers.h"
#include "runtime/http.h"

namespace zelvo {
namespace {

using namespace std::chrono_literals;
using testing::RawConnection;
using testing::RawServer;

// "About a second" plus room for a loaded machine and the sanitizers; far
// below the stall and connect time-outs, which are left at their defaults so
// that only the cancellation can end these fetches this soon.
constexpr auto kAbandonLimit = 3s;
constexpr auto kCancelAfter = 300ms;

void Misbehave(RawConnection& connection, const std::string& head) {
    if (head.rfind("GET /silent", 0) == 0) {
        connection.holdUntilClosed();
        return;
    }
    // A body that keeps moving, a byte at a time: no stall check ends it.
    if (!connection.send("HTTP/1.0 200 OK\r\nContent-Length: 1000000\r\n\r\n")) return;
    while (connection.send("x")) std::this_thread::sleep_for(50ms);
}

TEST(HttpGetCancellable, AbandonsAFetchInFlightWithEmptyBytes) {
    ASSERT_EQ(CurrentHttpLimits().stallSeconds, HttpLimits{}.stallSeconds);
    RawServer server(Misbehave);
    for (const char* path : {"/silent", "/trickle"}) {
        SCOPED_TRACE(path);
        std::atomic<bool> cancelled{false};
        std::atomic<bool> done{false};
        Bytes body{'!'};
        std::thread fetch([&] {
            body = HttpGetCancellable(server.url(path), cancelled);
            done = true;
        });
        std::this_thread::sleep_for(kCancelAfter);
        EXPECT_FALSE(done);
        cancelled = true;
        const auto stoppedAt = std::chrono::steady_clock::now();
        while (!done && std::chrono::steady_clock::now() - stoppedAt < kAbandonLimit) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_TRUE(done) << "the fetch went on after it was cancelled";
        fetch.join();
        // Not the part of the body that had arrived.
        EXPECT_TRUE(body.empty());
    }
}

TEST(HttpGetCancellable, ACancelledFetchNeverConnects) {
    RawServer server(Misbehave);
    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(HttpGetCancellable(server.url("/silent"), cancelled).empty());
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(server.connections(), 0);
}

}  // namespace
}  // namespace zelvo
