#include "com/Random.h"

namespace {
std::uint32_t gSeed = 0;
}

namespace Random {

std::uint32_t Below(std::uint32_t n) {
    gSeed = gSeed * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(n) * std::uint64_t(gSeed)) >> 32);
}

std::uint32_t Seed() { return gSeed; }

void SetSeed(std::uint32_t seed) { gSeed = seed; }

} // namespace Random
