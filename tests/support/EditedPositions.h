// Positions set up by hand, at random: each side's king and a random part of its other nineteen pieces,
// promoted now and then, on squares where they may stand, either side to move; drawn again until the
// position passes the checks a position editor makes.
#pragma once

#include "board/PositionCheck.h"
#include "session/Kif.h"

#include <array>
#include <random>
#include <vector>

namespace testing_helpers {

inline TEditedStart RandomEditedStart(std::mt19937& rng) {
    // A side's twenty by unpromoted kind; the promoted name beside each kind that has one.
    constexpr std::array<std::pair<PieceName, PieceName>, 8> kKinds = {{
        {PieceName::Fu, PieceName::To},
        {PieceName::Kyo, PieceName::KyoNari},
        {PieceName::Kei, PieceName::KeiNari},
        {PieceName::Gin, PieceName::GinNari},
        {PieceName::Kin, PieceName::Kin},
        {PieceName::Kaku, PieceName::KakuNari},
        {PieceName::Hi, PieceName::Ryu},
        {PieceName::Ou, PieceName::Ou},
    }};
    const auto below = [&rng](int n) { return int(rng() % std::uint32_t(n)); };
    for (;;) {
        TEditedStart start;
        start.ToMove = below(2) == 0 ? Side::Sente : Side::Gote;
        std::vector<int> free;
        for (int sq = 11; sq <= 99; ++sq)
            if (OnBoard(FileOf(sq), RankOf(sq))) free.push_back(sq);
        const auto place = [&](PieceName p) {
            std::vector<int> fits;
            for (int sq : free)
                if (CanStand(p, sq)) fits.push_back(sq);
            if (fits.empty()) return;
            const int sq = fits[std::size_t(below(int(fits.size())))];
            start.Board[std::size_t(sq)] = p;
            std::erase(free, sq);
        };
        for (Side side : {Side::Sente, Side::Gote}) {
            // From sparse endgames to crowded middle games.
            const int keep = 15 + below(80);
            for (auto [plain, promoted] : kKinds) {
                const int n = PiecesOfKind(plain);
                for (int i = 0; i < n; ++i) {
                    if (plain != PieceName::Ou && below(100) >= keep) continue;
                    PieceName p = below(5) == 0 ? promoted : plain;
                    if (side == Side::Gote) p = OtherSide(p);
                    place(p);
                }
            }
        }
        if (CheckPosition(start.Board, start.ToMove).Sound()) return start;
    }
}

} // namespace testing_helpers
