// This game's squares, moves and positions in the variant engine's notation.
//
// The engine sees the board from the human's side: files a (the game's file 9) to i (file 1), ranks 1
// (the game's rank 9, the human's back rank) to 9. The human is white (upper-case letters, moves
// first), COM black. A move is from-square and to-square, "c3d4", with "+" when it promotes.
#pragma once

#include "board/Kyokumen.h"
#include "board/Move.h"

#include <optional>
#include <string>
#include <string_view>

// 77 -> "c3".
std::string EngineSquare(int sq);
// "c3" -> 77; 0 when the text is no square.
int SquareFromEngine(std::string_view text);

// A move as the engine writes it, checked for its form only: two squares and the promotion mark.
struct TEngineMove {
    int From = 0;
    int To = 0;
    bool Promotes = false;
    bool operator==(const TEngineMove&) const = default;
};
// Null for anything but two squares, optionally followed by "+".
std::optional<TEngineMove> ParseEngineMove(std::string_view text);
std::string EngineMoveText(const TEngineMove& m);

// Whether a move of this game promotes: the piece can promote, has not yet, and the move ends in its
// side's last three ranks.
bool PromotesOnArrival(const TMove& m);
// The engine's text of a move of this game.
std::string EngineMoveText(const TMove& m);

// The engine's text as a move of this game on position k, named as the move lists name it (the name
// the piece has before the move). Null when the text is malformed, the from-square holds no piece of
// the side to move, or the promotion mark is not what this game's rule gives.
std::optional<TMove> MoveFromEngine(std::string_view text, const TKyokumen& k, bool comToMove);

// The position in the engine's FEN: board, side to move, no pieces in hand.
std::string EngineFen(const TKyokumen& k, bool comToMove);
