#include "verification/locked_list.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zelvo {
namespace {

std::vector<std::int32_t> Contents(LockedList& list) {
    std::vector<std::int32_t> values;
    std::int32_t value = 0;
    if (!list.rewind()) return values;
    while (list.next(value)) values.push_back(value);
    return values;
}

TEST(LockedList, PushesAtBothEndsAndIndexes) {
    LockedList list;
    list.pushBack(2);
    list.pushBack(3);
    list.pushFront(1);
    EXPECT_EQ(Contents(list), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(list.size(), 3);
    EXPECT_EQ(list.lockedCount(), 3);
    EXPECT_EQ(list.valueAt(0), 1);
    EXPECT_EQ(list.valueAt(2), 3);
}

TEST(LockedList, ValueAtPastTheEndOrNegativeIsZero) {
    LockedList list;
    EXPECT_EQ(list.valueAt(0), 0);
    list.pushBack(7);
    EXPECT_EQ(list.valueAt(1), 0);
    EXPECT_EQ(list.valueAt(100), 0);
    EXPECT_EQ(list.valueAt(-1), 0);
}

TEST(LockedList, RemoveValueTakesTheFirstMatchOnly) {
    LockedList list;
    for (std::int32_t v : {5, 6, 5, 7}) list.pushBack(v);
    EXPECT_TRUE(list.removeValue(5));
    EXPECT_EQ(Contents(list), (std::vector<std::int32_t>{6, 5, 7}));
    EXPECT_TRUE(list.removeValue(7));  // the tail
    EXPECT_EQ(Contents(list), (std::vector<std::int32_t>{6, 5}));
    list.pushBack(8);  // tail stays linked after removing the old tail
    EXPECT_EQ(Contents(list), (std::vector<std::int32_t>{6, 5, 8}));
}

TEST(LockedList, RemoveValueOfAMissingValueChangesNothing) {
    LockedList list;
    EXPECT_FALSE(list.removeValue(1));
    EXPECT_EQ(list.size(), 0);
    list.pushBack(1);
    list.pushBack(2);
    EXPECT_FALSE(list.removeValue(3));
    EXPECT_EQ(list.size(), 2);
    EXPECT_EQ(Contents(list), (std::vector<std::int32_t>{1, 2}));
}

TEST(LockedList, IterationAndEmptyList) {
    LockedList list;
    std::int32_t value = 42;
    EXPECT_FALSE(list.rewind());
    EXPECT_FALSE(list.next(value));
    EXPECT_FALSE(list.peekFirst(value));
    EXPECT_FALSE(list.takeFirst(value));
    EXPECT_EQ(value, 42);
    EXPECT_FALSE(list.isNonEmpty());
    list.pushBack(9);
    EXPECT_TRUE(list.isNonEmpty());
    EXPECT_TRUE(list.peekFirst(value));
    EXPECT_EQ(value, 9);
    EXPECT_EQ(list.size(), 1);  // peek leaves it in place
    list.clear();
    EXPECT_EQ(list.size(), 0);
    EXPECT_FALSE(list.rewind());
}

TEST(LockedList, TakeFirstIsFifoEvenWithRepeatedValues) {
    LockedList list;
    for (std::int32_t v : {4, 1, 4, 2}) list.lockedPushBack(v);
    std::vector<std::int32_t> taken;
    std::int32_t value = 0;
    while (list.takeFirst(value)) taken.push_back(value);
    EXPECT_EQ(taken, (std::vector<std::int32_t>{4, 1, 4, 2}));
    EXPECT_EQ(list.lockedCount(), 0);
}

TEST(LockedList, ConcurrentPushAndTakeLoseNothing) {
    LockedList list;
    constexpr int kPerThread = 2000;
    std::vector<std::thread> pushers;
    for (int t = 0; t < 4; ++t) {
        pushers.emplace_back([&list, t] {
            for (int i = 0; i < kPerThread; ++i) list.lockedPushBack(t * kPerThread + i);
        });
    }
    std::vector<int> seen(4 * kPerThread, 0);
    int taken = 0;
    std::int32_t value = 0;
    while (taken < 4 * kPerThread) {
        if (list.takeFirst(value)) {
            ++seen[static_cast<std::size_t>(value)];
            ++taken;
        }
    }
    for (auto& thread : pushers) thread.join();
    for (int count : seen) ASSERT_EQ(count, 1);
    EXPECT_EQ(list.lockedCount(), 0);
}

}  // namespace
}  // namespace zelvo
