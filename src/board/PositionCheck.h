// Whether a board set up by hand (the position editor, a record's diagram, the engine's FEN) is a
// position this game could reach and go on from, and if not, the first reason why.
//
// A piece in this game only ever promotes by arriving in its side's last three ranks, and it must
// promote there, so no unpromoted pawn, lance, knight, silver, bishop or rook can stand in that zone; a
// pawn or lance on its last rank and a knight on its last two could not even move again, nor could a
// knight on the fourth rank from the far end, since a knight never jumps into the last two ranks.
// Captured pieces leave the game, so a side never has more of a kind than its twenty pieces hold.
#pragma once

#include "board/Legality.h"

#include <cstdint>

enum class PositionFault : std::uint8_t {
    None,
    KingCount,      // Of: the side; Count: its kings (0, 2, ...)
    TooMany,        // Of, Piece (the kind's unpromoted name), Count, Limit
    Stranded,       // Square, Piece: a piece that could never move again
    Unpromoted,     // Square, Piece: an unpromoted piece in its side's promotion zone
    WaitingInCheck, // Of: the side not to move, whose king stands attacked
    BareKing,       // Of: a side with nothing but its king, which has lost already
    NoMove,         // Of: the side to move, which has no legal move (mated, or no move at all)
};

struct TPositionCheck {
    PositionFault Fault = PositionFault::None;
    Side Of = Side::Sente;
    int Square = 0;
    PieceName Piece = PieceName::Empty;
    int Count = 0;
    int Limit = 0;

    bool Sound() const { return Fault == PositionFault::None; }
    bool operator==(const TPositionCheck&) const = default;
};

// The unpromoted kind of a piece, by the first player's name ("com桂成" -> "桂").
PieceName UnpromotedKind(PieceName p);
// How many pieces of a kind (promoted or not, either side) each side's twenty hold: 歩 9, 香 桂 銀 金 2,
// 王 角 飛 1.
int PiecesOfKind(PieceName p);

// Whether a piece could stand on a square: false for a pawn or lance on its side's last rank, a knight
// on its last two or its fourth from the far end, and any unpromoted piece that promotes in the zone it
// stands in.
bool CanStand(PieceName p, int square);

// The first fault of the position in this order: each side's king, each side's count of each kind, the
// pieces from square 11 to 99 that could not stand where they are, the side not to move in check, a
// side reduced to its king, and the side to move without a legal move. Only the 81 squares are read.
TPositionCheck CheckPosition(const TBoard& board, Side toMove);
