#include "runtime/detached_thread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zelvo {
namespace {

// The shape of a cancellable fetch: many threads each start short threads
// that hand a result back through shared state and end on their own. With
// winpthreads' detached std::thread this corrupted the heap under Wine.
TEST(DetachedThread, ManyShortThreadsStartedAtOnceEachRunOnceAndEnd) {
    struct Reply {
        std::mutex mutex;
        std::condition_variable done;
        std::string text;
    };
    constexpr int kStarters = 30;
    constexpr int kEach = 40;
    std::vector<std::thread> starters;
    std::vector<int> received(kStarters, 0);
    for (int s = 0; s < kStarters; ++s) {
        starters.emplace_back([s, &received] {
            for (int i = 0; i < kEach; ++i) {
                auto reply = std::make_shared<Reply>();
                ASSERT_TRUE(StartDetachedThread([reply] {
                    std::string page(2000, 'x');
                    std::lock_guard lock(reply->mutex);
                    reply->text = std::move(page);
                    reply->done.notify_all();
                }));
                std::unique_lock lock(reply->mutex);
                reply->done.wait(lock, [&] { return !reply->text.empty(); });
                received[static_cast<std::size_t>(s)] += reply->text.size() == 2000 ? 1 : 0;
            }
        });
    }
    for (std::thread& t : starters) t.join();
    EXPECT_EQ(received, std::vector<int>(kStarters, kEach));
}

}  // namespace
}  // namespace zelvo
