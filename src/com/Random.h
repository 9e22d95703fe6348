// COM's pseudo-random source. Whoever plays the games owns one generator and hands it to every game it
// makes; it starts at seed 0 and is never reseeded, so the same games give the same replies, even
// across new games.
#pragma once

#include <cstdint>

class TRandom {
public:
    explicit TRandom(std::uint32_t seed = 0) : seed_(seed) {}

    // A value below n: seed := seed * 134775813 + 1 (mod 2^32), then the upper 32 bits of n * seed.
    std::uint32_t Below(std::uint32_t n) {
        seed_ = seed_ * 134775813u + 1u;
        return std::uint32_t((std::uint64_t(n) * std::uint64_t(seed_)) >> 32);
    }
    std::uint32_t Seed() const { return seed_; }
    void SetSeed(std::uint32_t seed) { seed_ = seed; }

private:
    std::uint32_t seed_;
};
