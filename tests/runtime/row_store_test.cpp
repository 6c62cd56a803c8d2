#include "runtime/row_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zelvo {
namespace {

// Long enough that a copy or a move is not a small-string copy, so that a
// slot read after its value was moved away shows up as a wrong value.
std::string value(int n) { return "row " + std::to_string(n) + std::string(24, '.'); }

void expectSame(const RowStore<std::string>& store, const std::vector<std::string>& expected) {
    ASSERT_EQ(store.size(), expected.size());
    ASSERT_EQ(store.empty(), expected.empty());
    for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(store[i], expected[i]) << i;
}

// Every operation at random places, checked against a vector after each.
TEST(RowStore, RandomOperationsMatchAVector) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        RowStore<std::string> store;
        std::vector<std::string> expected;
        int next = 0;
        for (int step = 0; step < 2000; ++step) {
            const std::size_t n = expected.size();
            auto anyIndex = [&](std::size_t bound) {
                return std::uniform_int_distribution<std::size_t>(0, bound)(random);
            };
            switch (std::uniform_int_distribution<int>(0, 9)(random)) {
                case 0:
                case 1:
                case 2: {  // insert anywhere, both ends included
                    const std::size_t at = anyIndex(n);
                    store.insert(at, value(next));
                    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at),
                                    value(next));
                    ++next;
                    break;
                }
                case 3:
                case 4:
                    store.push_back(value(next));
                    expected.push_back(value(next));
                    ++next;
                    break;
                case 5:
                case 6:
                case 7:
                    if (n > 0) {
                        const std::size_t at = anyIndex(n - 1);
                        store.erase(at);
                        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
                    }
                    break;
                case 8:
                    if (n > 0) {  // write through the index
                        const std::size_t at = anyIndex(n - 1);
                        store[at] = value(next);
                        expected[at] = value(next);
                        ++next;
                    }
                    break;
                default:
                    if (std::uniform_int_distribution<int>(0, 30)(random) == 0) {
                        store.clear();
                        expected.clear();
                    }
                    break;
            }
            expectSame(store, expected);
        }
    }
}

// The filter pass: rows deleted from the last to the first, then rows
// appended and inserted again.
TEST(RowStore, DeletingFromLastToFirstKeepsOrder) {
    RowStore<std::string> store;
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i) {
        store.push_back(value(i));
        expected.push_back(value(i));
    }
    std::mt19937 random(7);
    for (int r = 999; r >= 0; --r) {
        if (random() % 2) {
            store.erase(static_cast<std::size_t>(r));
            expected.erase(expected.begin() + r);
        }
    }
    expectSame(store, expected);
    for (int i = 0; i < 50; ++i) {
        store.push_back(value(2000 + i));
        expected.push_back(value(2000 + i));
        store.insert(0, value(3000 + i));
        expected.insert(expected.begin(), value(3000 + i));
    }
    expectSame(store, expected);
}

TEST(RowStore, DeletingEveryRowLeavesItEmptyAndReusable) {
    RowStore<std::string> store;
    EXPECT_TRUE(store.empty());
    for (int i = 0; i < 40; ++i) store.insert(0, value(i));  // grows at the front
    for (int i = 39; i >= 0; --i) store.erase(static_cast<std::size_t>(i % (store.size())));
    EXPECT_TRUE(store.empty());
    store.push_back(value(1));
    store.insert(0, value(0));
    expectSame(store, {value(0), value(1)});
    store.clear();
    EXPECT_EQ(store.size(), 0u);
    store.insert(0, value(5));
    expectSame(store, {value(5)});
}

}  // namespace
}  // namespace zelvo
