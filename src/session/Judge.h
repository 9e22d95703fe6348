// The rule book the referee and the record reader judge by: after every move, whether the side to move
// has its king alone, has no legal move (mated when in check), or faces a position for the fourth time.
// It keeps the positions of the game so far, each with whether the move into it gave check.
#pragma once

#include "session/Kif.h"

#include <cstdint>
#include <vector>

// A position met this many times, with the same side to move, ends the game.
inline constexpr int kRepetitionCount = 4;

class TJudge {
public:
    // A game from start, nothing played yet.
    void Reset(const TKyokumen& start);
    // The position after a move (its side to move the one after the mover): recorded, then judged.
    TGameEnd Moved(const TKyokumen& after);
    // The latest position goes back.
    void TakeBack();
    // The positions after the first moves moves are all that stays.
    void TakeBackTo(int moves);
    // The verdict on the latest position as it stands (a game read back, a position shown).
    TGameEnd Verdict(const TKyokumen& latest) const;
    // Whether the side to move in the latest position is in check.
    bool Check() const { return !checks_.empty() && checks_.back(); }
    int Moves() const { return int(keys_.size()) - 1; }

private:
    std::vector<std::uint64_t> keys_;
    std::vector<bool> checks_; // [i]: the side to move in position i is in check

    TGameEnd Repetition(Side toMove) const;
};
