// This game's squares, moves and positions in the variant engine's notation.
//
// The engine sees the board from the human's side: files a (the game's file 9) to i (file 1), ranks 1
// (the game's rank 9, the human's back rank) to 9. The human is white (upper-case letters, moves
// first), COM black. A move is from-square and to-square, "c3d4", with "+" when it promotes.
#pragma once

#include "board/Kyokumen.h"
#include "board/Legality.h"
#include "board/Move.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
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

// Why a position text cannot be read, for the words of each front-end.
enum class FenFault : std::uint8_t {
    Empty,         //
    TooLong,       // Count: the characters allowed
    RowCount,      // Count: the rows
    RowWidth,      // Row (1 the top), Count: the squares it fills
    UnknownLetter, // Row, Letter
    Promotion,     // Row, Letter: "+" before a letter that does not promote (or before nothing)
    SideToMove,    // Letter: what stands where "w" or "b" should ("" when nothing does)
    PiecesInHand,  //
    Trailing,      // the text after the position's fields
};

// A position text that cannot be read; what() says why in English.
class TFenError : public std::invalid_argument {
public:
    TFenError(FenFault fault, int row = 0, int count = 0, std::string letter = {});
    FenFault Fault() const { return fault_; }
    int Row() const { return row_; }
    int Count() const { return count_; }
    const std::string& Letter() const { return letter_; }

private:
    FenFault fault_;
    int row_;
    int count_;
    std::string letter_;
};

// A board and the side to move, as a position text gives them.
struct TFenPosition {
    TBoard Board{};
    Side ToMove = Side::Sente;
    bool operator==(const TFenPosition&) const = default;
};

// The longest position text read: a FEN of this game is under 100 characters.
inline constexpr std::size_t kFenMaxChars = 200;

// Reads the engine's FEN as EngineFen writes it ("lnsgkgsnl/1r7/... w - - 0 1"; "w" the first player to
// move, "b" the second), the fields after the side optional, blanks around it ignored, and a
// "position fen " or "fen " before it passed over. A text that begins with "sfen " (or "position sfen ")
// is ordinary shogi's SFEN of the same board, whose side letters are the other way round ("b" the first
// player) and whose pieces in hand must be "-". Throws TFenError. Whether the position is one this game
// can play is CheckPosition's question, not this one's.
TFenPosition ParseEngineFen(std::string_view text);
