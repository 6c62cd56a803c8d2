#include "runtime/random.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "runtime/datetime.h"

namespace zelvo {

namespace {

// The C library's linear congruential generator, one state per thread; an
// unseeded thread starts from 1 as the C library's does.
thread_local std::uint32_t randomState = 1;

int NextRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}

std::atomic<std::uint32_t> seedCounter{0};

}  // namespace

unsigned NextSeed(std::uint32_t tick) {
    std::uint32_t counter = seedCounter.load(std::memory_order_relaxed);
    std::uint32_t next;
    do {
        next = counter + 100u + ((tick + counter) & 0xFFu);
    } while (!seedCounter.compare_exchange_weak(counter, next, std::memory_order_relaxed));
    return tick + counter;
}

void SeedRandom() { SeedRandom(NextSeed(TickCount())); }

void SeedRandom(unsigned value) { randomState = value; }

int RandomInt(int min, int max) {
    if (min < 0) min = 0;
    if (max < 0) max = 0;
    if (min > max) std::swap(min, max);
    if (min == max) return min;
    const std::int64_t span = static_cast<std::int64_t>(max) - min + 1;
    return static_cast<int>(min + std::abs(NextRandom()) % span);
}

}  // namespace zelvo
