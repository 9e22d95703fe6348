// Long lines of play for tests and benchmarks: moves that capture nothing where they can and leave the
// game going on, every one legal, drawn from a fixed generator.
#pragma once

#include "board/Legality.h"
#include "session/Judge.h"
#include "session/Kif.h"

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace quiet_moves {

// Plays m for the side to move on k and tells judge; how the game stands after it.
inline TGameEnd Apply(TKyokumen& k, TJudge& judge, const TMove& m) {
    const Side side = SideToMove(k);
    k.ApplyMove(m);
    k.ComToMove = side == Side::Sente;
    return judge.Moved(k);
}

// Plays n quiet moves on k (judged by judge, both moved on): each side plays the first of its legal
// moves, in an order the seed shuffles, that captures nothing (else one that captures), is not `avoid`
// and leaves the game going on. The moves as played and as the position recorded them are appended to played
// and shown.
inline void Play(TKyokumen& k, TJudge& judge, int n, std::uint32_t& seed, std::vector<TMove>& played,
                 std::vector<TMove>& shown, const TMove* avoid = nullptr) {
    for (int i = 0; i < n; ++i) {
        const Side side = SideToMove(k);
        TMoveList moves;
        LegalMoves(k, side, moves);
        // Quiet moves first, in an order the seed shuffles, then captures (a check may leave no quiet
        // answer), every one tried once.
        std::vector<TMove> quiet, captures;
        for (const TMove& m : moves)
            if (!(avoid && i == 0 && m == *avoid))
                (k.Board[std::size_t(m.To)] == PieceName::Empty ? quiet : captures).push_back(m);
        for (std::vector<TMove>* list : {&quiet, &captures})
            for (std::size_t j = list->size(); j > 1; --j) {
                seed = seed * 1103515245u + 12345u;
                std::swap((*list)[j - 1], (*list)[(seed >> 8) % j]);
            }
        quiet.insert(quiet.end(), captures.begin(), captures.end());
        bool moved = false;
        for (const TMove& m : quiet) {
            TKyokumen after = k;
            TJudge judged = judge;
            if (Apply(after, judged, m).Over()) continue;
            played.push_back(m);
            shown.push_back(side == Side::Gote ? after.Gote.LastMove : after.Sente.LastMove);
            k = after;
            judge = judged;
            moved = true;
            break;
        }
        if (!moved) throw std::logic_error("no quiet move left");
    }
}

} // namespace quiet_moves
