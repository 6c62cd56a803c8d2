#include "runtime/locks.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zelvo {
namespace {

TEST(CriticalSection, IsReentrantForItsOwner) {
    LockHandle lock = NewCriticalSection();
    EnterCriticalSectionOp(lock);
    EnterCriticalSectionOp(lock);
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = lock->try_lock(); }).join();
    EXPECT_FALSE(otherGotIt);
    LeaveCriticalSectionOp(lock);
    std::thread([&] { otherGotIt = lock->try_lock(); }).join();
    EXPECT_FALSE(otherGotIt);  // still held one level deep
    LeaveCriticalSectionOp(lock);
    std::thread([&] {
        otherGotIt = lock->try_lock();
        if (otherGotIt) lock->unlock();
    }).join();
    EXPECT_TRUE(otherGotIt);
}

TEST(CriticalSection, SerialisesThreads) {
    LockHandle lock = NewCriticalSection();
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                EnterCriticalSectionOp(lock);
                EnterCriticalSectionOp(lock);
                ++counter;
                LeaveCriticalSectionOp(lock);
                LeaveCriticalSectionOp(lock);
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(counter, 40000);
}

TEST(CriticalSection, AnEmptyHandleHoldsNothing) {
    LockHandle none;
    EnterCriticalSectionOp(none);
    LeaveCriticalSectionOp(none);
}

}  // namespace
}  // namespace zelvo
