#pragma once

#include <cstdint>

namespace zelvo {

// Seeds the calling thread's generator from the tick count and a program-wide
// counter, so two calls within one millisecond still differ.
void SeedRandom();
void SeedRandom(unsigned value);
// The seed SeedRandom() takes at the given tick count; advances the
// program-wide counter by 100 plus the low byte of (tick + counter).
unsigned NextSeed(std::uint32_t tick);
// A value in the closed range [min, max]; negative bounds count as 0,
// reversed bounds are swapped.
int RandomInt(int min, int max);

}  // namespace zelvo
