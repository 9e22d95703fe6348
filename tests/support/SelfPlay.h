// The scripted opponent of the self-play benchmark and of the transcript test: a uniformly random
// move among the human's legal moves, from a generator of its own, and a hash of what
// was played.
#pragma once

#include "board/Legality.h"
#include "com/KyokumenKanri.h"

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace testing_helpers {

// A value below n, every value equally likely: raw draws below 2^32 mod n are drawn again (the
// standard distributions differ between libraries; the raw generator does not).
inline std::uint32_t UniformBelow(std::mt19937& rng, std::uint32_t n) {
    const std::uint32_t limit = std::uint32_t(-n) % n;
    for (;;) {
        const std::uint32_t x = rng();
        if (x >= limit) return x % n;
    }
}

// FNV-1a over texts, each closed by a line feed.
struct Fnv1a {
    std::uint64_t Hash = 14695981039346656037ull;
    void Add(std::string_view text) {
        for (unsigned char c : text) {
            Hash ^= c;
            Hash *= 1099511628211ull;
        }
        Hash ^= '\n';
        Hash *= 1099511628211ull;
    }
};

// The games of the self-play benchmark and the transcript test: game i starts even when i is even and
// without the human's rook and bishop when it is odd, so that 28 games cover both starts with every
// formation once; the opponent's generator starts at kOpponentSeed, COM's at 0.
inline constexpr std::uint32_t kOpponentSeed = 20240601;
inline bool HandicapGame(int game) {
    return game % 2 == 1;
}
inline const TFormationEntry& GameFormation(int game) {
    return kFormationTable[std::size_t(game / 2 % kSenpouCount)];
}

// The human's legal moves, in list order, as the rules give them (the pieces' true moves).
inline std::vector<TMove> LegalHumanMoves(TKyokumenKanri& g) {
    g.Kyokumen.ComToMove = false;
    TMoveList legal;
    LegalMoves(g.Kyokumen, Side::Sente, legal);
    return {legal.begin(), legal.end()};
}

} // namespace testing_helpers
