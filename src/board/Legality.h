// The rules' verdicts on a position, for either side alike: which squares a side's pieces attack, which
// of its moves are legal, whether it is in check, and what names a position for repetition. They are
// judged on the pieces' true moves, never on COM's attack maps, whose counts serve COM's scoring (a
// slider there counts one square past a blocker of its own that backs it).
//
// The sides are the board's: Sente the side at the bottom (the plain piece names, moving towards
// rank 1), Gote the side at the top (the "com" names). The game's record frame puts 先手 at the bottom.
#pragma once

#include "board/Kyokumen.h"

#include <array>
#include <cstdint>

using TBoard = std::array<PieceName, kMapSize>;

constexpr bool IsGote(Side s) {
    return s == Side::Gote;
}
constexpr Side Other(Side s) {
    return s == Side::Gote ? Side::Sente : Side::Gote;
}
// The side a piece name belongs to; meaningless for Empty.
constexpr Side SideOf(PieceName p) {
    return IsCom(p) ? Side::Gote : Side::Sente;
}
// The side to move in a position.
inline Side SideToMove(const TKyokumen& k) {
    return k.ComToMove ? Side::Gote : Side::Sente;
}

// Whether a piece of side `by` could move onto square sq of this board (whatever stands there).
bool Attacked(const TBoard& board, int sq, Side by);
// The square of a side's king; 0 when it has none.
int KingSquare(const TBoard& board, Side side);
bool InCheck(const TBoard& board, Side side);

// A move of side's list: whether it leaves the side's own king attacked.
bool LeavesKingAttacked(const TBoard& board, const TMove& m, Side side);

// The legal moves of a side, in the order of its move list: the generated moves that do not leave its
// own king attacked.
void LegalMoves(const TKyokumen& k, Side side, TMoveList& out);
bool HasLegalMove(const TKyokumen& k, Side side);

// What a drag from -> to means for side: no move of its list, a move that leaves its king attacked,
// or the legal move as its list names it.
THumanMoveTest TestMove(const TKyokumen& k, Side side, int from, int to);

// The pieces a side has left on the board, its king included.
int PiecesLeft(const TBoard& board, Side side);

// A number naming the board and the side to move, for telling repeated positions apart.
std::uint64_t PositionKey(const TBoard& board, Side toMove);

// The same square, move and board seen from the other side (a half turn): 77 <-> 33, and each piece
// goes to the other side's name ("歩" <-> "com歩").
constexpr int RotatedSquare(int sq) {
    return (10 - FileOf(sq)) * 10 + (10 - RankOf(sq));
}
TMove Rotated(const TMove& m);
TBoard Rotated(const TBoard& board);
