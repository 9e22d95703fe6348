// Why a record cannot be opened: every fault the record reader gives, kept as its parts (the line, the
// text it is about, the values it names) so that the console can answer in English and the window can
// say the same in Japanese.
#pragma once

#include "board/PositionCheck.h"

#include <cstddef>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

enum class KifFault {
    // The file as a whole.
    UnknownForm,  // the file's name
    CannotOpen,   // path, the system's reason
    NotRegular,   // path
    CannotRead,   // path, the system's reason
    TextForm,     //
    PastedCopy,   //
    FileTooLarge, // the limit in bytes
    TextTooLarge, // the size in bytes
    Empty,        //
    NotCp932,     //
    NotUtf8,      //
    // The header and the board diagram.
    UnreadableLine,         // quoted: the line
    PiecesInHand,           // quoted: the pieces
    NotFromTheStart,        // the move number of the diagram
    TenthRow,               //
    UnreadableCell,         // rank, file
    UnreadablePiece,        // rank, file
    RaggedRow,              // rank
    NoDiagram,              //
    HandicapWithoutDiagram, // quoted: the handicap's name
    RowCount,               // rows
    UnplayableDiagram,      // the reason in English (the position check is kept)
    // The moves.
    MoveAfterEnd,          // the line of the end
    MoveNumber,            // the number written, the number expected
    EndingNotInGame,       // the ending's name
    SameSquareFirst,       //
    UnreadableDestination, // quoted: the move from its destination on
    UnreadablePieceName,   // quoted: the move
    Drop,                  //
    NoOrigin,              //
    UnreadableTime,        //
    TextAfterMove,         // quoted: the text
    GameAlreadyOver,       // quoted: the move; the last move's number
    NoPieceOfSide,         // quoted: the move; side, square
    OtherPiece,            // quoted: the move; square, the piece there, the piece written
    CannotMove,            // quoted: the move; piece, from, to
    NoMoveThere,           // quoted: the move; side, piece, to (a move without its origin)
    AmbiguousMove,         // quoted: the move; piece, to
    WrongMover,            // quoted: the move; the side to move
    LeavesKingInCheck,     // quoted: the move
    NotAPromotion,         // quoted: the move
    PromotionNotWritten,   // quoted: the move
    NotMated,              //
    ResignBeforeFirstMove, //
    VariationWithoutMove,  // the move number the variation begins at
    Count
};

// A text quoted in a refusal is cut to this many characters (then "…"): a line of a megabyte would
// otherwise come back whole.
inline constexpr std::size_t kKifQuoteChars = 40;

// A record that cannot be read: the line (counted from 1; 0 for the file as a whole) and what is wrong
// there. what() is the English text, "line 24: \"２二飛成(28)\": 飛 cannot move from 28 to 22".
class TKifError : public std::runtime_error {
public:
    TKifError(int line, KifFault fault, std::string quoted = {}, std::vector<std::string> values = {});
    // A board diagram that is no position to play from.
    TKifError(int line, const TPositionCheck& check);
    int Line() const { return line_; }
    KifFault Fault() const { return fault_; }
    // Already cut to kKifQuoteChars.
    const std::string& Quoted() const { return quoted_; }
    const std::vector<std::string>& Values() const { return values_; }
    // Why the diagram's position cannot be played from (UnplayableDiagram).
    const TPositionCheck& Position() const { return position_; }

private:
    int line_;
    KifFault fault_;
    std::string quoted_;
    std::vector<std::string> values_;
    TPositionCheck position_;
};

// The Japanese text of a refused record, "24行目: ２二飛成(28): 飛は28から22へ動けません", for the
// window's message box; any other exception gives its own text.
std::string KifErrorJapanese(const std::exception& e);
// The same in the display language, for the window's message box: KifErrorJapanese's text unless a
// translator is installed.
std::string KifErrorText(const std::exception& e);
