// The program-wide pseudo-random source. It starts at seed 0 and the program never reseeds it, so
// the same games give the same replies.
#pragma once

#include <cstdint>

namespace Random {
// A value below n: seed := seed * 134775813 + 1 (mod 2^32), then the upper 32 bits of n * seed.
std::uint32_t Below(std::uint32_t n);
std::uint32_t Seed();
void SetSeed(std::uint32_t seed);
} // namespace Random
