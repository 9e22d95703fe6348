#include "session/Judge.h"

#include <algorithm>

void TJudge::Reset(const TKyokumen& start) {
    keys_.assign(1, PositionKey(start.Board, SideToMove(start)));
    checks_.assign(1, InCheck(start.Board, SideToMove(start)));
}

TGameEnd TJudge::Moved(const TKyokumen& after) {
    keys_.push_back(PositionKey(after.Board, SideToMove(after)));
    checks_.push_back(InCheck(after.Board, SideToMove(after)));
    return Verdict(after);
}

void TJudge::TakeBack() {
    if (keys_.size() <= 1) return;
    keys_.pop_back();
    checks_.pop_back();
}

void TJudge::TakeBackTo(int moves) {
    const std::size_t keep = std::size_t(std::max(moves, 0)) + 1;
    if (keys_.size() <= keep) return;
    keys_.resize(keep);
    checks_.resize(keep);
}

TGameEnd TJudge::Verdict(const TKyokumen& latest) const {
    const Side toMove = SideToMove(latest);
    // A king alone first: a side stripped to it has lost, whatever moves its king still has.
    if (PiecesLeft(latest.Board, toMove) == 1) return {EndKind::BareKing, toMove};
    if (!HasLegalMove(latest, toMove))
        return {InCheck(latest.Board, toMove) ? EndKind::Mate : EndKind::NoMove, toMove};
    return Repetition(toMove);
}

TGameEnd TJudge::Repetition(Side toMove) const {
    const std::size_t last = keys_.size() - 1;
    int seen = 0;
    std::size_t first = last;
    for (std::size_t i = last + 1; i-- > 0;) {
        if (keys_[i] != keys_[last]) continue;
        ++seen;
        first = i;
    }
    if (seen < kRepetitionCount) return {};
    // Between the first time and now, a side that gave check with every one of its moves has forced the
    // repetition and loses it. Position i was reached by a move of the side not to move in it, and the
    // side to move alternates from the latest position back.
    bool everyCheck[2] = {true, true};
    for (std::size_t i = first + 1; i <= last; ++i) {
        const Side atI = (last - i) % 2 == 0 ? toMove : Other(toMove);
        if (!checks_[i]) everyCheck[std::size_t(Other(atI))] = false;
    }
    for (Side s : {Other(toMove), toMove})
        if (everyCheck[std::size_t(s)]) return {EndKind::PerpetualCheck, s};
    return {EndKind::Repetition, Side::Sente};
}
