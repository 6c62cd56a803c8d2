#include "verification/completion_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zelvo {
namespace {

TEST(CompletionQueue, PacketsComeOutInOrderWithTheirValues) {
    CompletionQueue queue;
    int blockA = 0, blockB = 0;
    ASSERT_TRUE(queue.post(1, 7, &blockA));
    ASSERT_TRUE(queue.post(0xFFFFFFFF, 0, &blockB));
    CompletionPacket packet;
    ASSERT_EQ(queue.wait(packet, 0), QueueWait::Packet);
    EXPECT_EQ(packet.byteCount, 1u);
    EXPECT_EQ(packet.key, 7u);
    EXPECT_EQ(packet.overlapped, &blockA);
    ASSERT_EQ(queue.wait(packet, CompletionQueue::kInfinite), QueueWait::Packet);
    EXPECT_EQ(packet.byteCount, 0xFFFFFFFFu);
    EXPECT_EQ(packet.overlapped, &blockB);
    EXPECT_EQ(queue.wait(packet, 1), QueueWait::TimedOut);
}

TEST(CompletionQueue, ClosedQueueNeverRepeatsAnOldPacketAndDropsQueuedOnes) {
    CompletionQueue queue;
    queue.post(1, 1, nullptr);
    queue.post(1, 2, nullptr);
    CompletionPacket packet;
    ASSERT_EQ(queue.wait(packet, 0), QueueWait::Packet);
    queue.close();
    EXPECT_TRUE(queue.isClosed());
    packet = {};
    EXPECT_EQ(queue.wait(packet, CompletionQueue::kInfinite), QueueWait::Closed);
    EXPECT_EQ(queue.wait(packet, 1000), QueueWait::Closed);
    EXPECT_EQ(packet.key, 0u);  // untouched: neither packet 1 again nor the dropped packet 2
    EXPECT_FALSE(queue.post(1, 3, nullptr));
    EXPECT_EQ(queue.wait(packet, 0), QueueWait::Closed);
}

TEST(CompletionQueue, CloseWakesEveryBlockedWaiterAtOnce) {
    CompletionQueue queue;
    constexpr int kWaiters = 8;
    std::atomic<int> closedSeen{0};
    std::atomic<int> otherSeen{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < kWaiters; ++i) {
        waiters.emplace_back([&] {
            CompletionPacket packet;
            // Waits without limit: only close can end them.
            if (queue.wait(packet, CompletionQueue::kInfinite) == QueueWait::Closed) {
                ++closedSeen;
            } else {
                ++otherSeen;
            }
        });
    }
    queue.close();
    for (auto& thread : waiters) thread.join();
    EXPECT_EQ(closedSeen, kWaiters);
    EXPECT_EQ(otherSeen, 0);
}

TEST(CompletionQueue, EachPacketGoesToExactlyOneWaiter) {
    CompletionQueue queue;
    constexpr int kPackets = 5000;
    std::vector<std::atomic<int>> received(kPackets);
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i) {
        waiters.emplace_back([&] {
            CompletionPacket packet;
            while (queue.wait(packet, CompletionQueue::kInfinite) == QueueWait::Packet) {
                if (packet.byteCount == 0xFFFFFFFF) return;
                ++received[packet.key];
            }
        });
    }
    for (int k = 0; k < kPackets; ++k) queue.post(1, static_cast<std::uintptr_t>(k), nullptr);
    for (int i = 0; i < 4; ++i) queue.post(0xFFFFFFFF, 0, nullptr);
    for (auto& thread : waiters) thread.join();
    for (auto& count : received) ASSERT_EQ(count.load(), 1);
}

}  // namespace
}  // namespace zelvo
