#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>  // brings std::chrono; <chrono> itself does not build with GBK literals
#include <thread>

#include "local_servers.h"
#include "runtime/http.h"

namespace zelvo {
namespace {

using Clock = std::chrono::steady_clock;

class HttpCancelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A stall limit far beyond what the cancelled fetch may take.
        HttpLimits limits;
        limits.stallSeconds = 20;
        SetHttpLimits(limits);
    }
    void TearDown() override { SetHttpLimits(HttpLimits{}); }

    // Silent after the request, or a whole page at once.
    testing::RawServer server_{[](testing::RawConnection& connection, const std::string& head) {
        if (head.rfind("GET /silent", 0) == 0) {
            connection.holdUntilClosed();
        } else {
            connection.respond(200, "page");
        }
    }};
};

TEST_F(HttpCancelTest, AFetchInFlightEndsSoonAfterCancellingWithEmptyBytes) {
    std::atomic<bool> cancelled{false};
    std::thread canceller([&cancelled] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancelled = true;
    });
    const Clock::time_point start = Clock::now();
    const Bytes body = HttpGetCancellable(server_.url("/silent"), cancelled);
    const auto waited = Clock::now() - start;
    canceller.join();
    EXPECT_TRUE(body.empty());
    // About a second after the flag, far from the twenty-second stall limit.
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST_F(HttpCancelTest, AnUncancelledFetchGivesThePageAndACancelledOneNothing) {
    std::atomic<bool> cancelled{false};
    const Bytes page = HttpGetCancellable(server_.url("/page"), cancelled);
    EXPECT_EQ(std::string(page.begin(), page.end()), "page");
    const int before = server_.connections();
    cancelled = true;
    EXPECT_TRUE(HttpGetCancellable(server_.url("/page"), cancelled).empty());
    EXPECT_EQ(server_.connections(), before);
}

}  // namespace
}  // namespace zelvo
