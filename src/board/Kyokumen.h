// The position: board, the forty pieces, move counter and side to move.
#pragma once

#include "board/Coma.h"
#include "board/Move.h"
#include "board/Sides.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The outcome of testing a human drag: no such move, a move that leaves the human king attacked,
// or the legal move as the human's list holds it (the name before any promotion).
struct THumanMoveTest {
    enum Kind { NoMove, KingLeftAttacked, Legal };
    Kind Result = NoMove;
    TMove Move;

    // "" / "王手放置error" / the move text.
    std::string Text() const;
};

inline constexpr std::string_view kKingLeftAttackedText = "王手放置error";

class TKyokumen {
public:
    TKyokumen(); // the even-game start position

    // Board entries by square code; Empty for an empty square and for the codes that are no squares.
    std::array<PieceName, kMapSize> Board{};
    // Index (0..19) of the piece on a square, -1 when empty; the side follows from the board name.
    std::array<int, kMapSize> PieceAt{};
    // Value of the piece on a square, -1 when empty.
    std::array<int, kMapSize> ValueAt{};
    TSente Sente;
    TGote Gote;
    int MoveCount = 0;
    bool ComToMove = false;
    // Moves applied since construction, for benchmarks; not part of the position.
    std::uint64_t AppliedCount = 0;

    void SetupStartPosition();
    void SetupHisyaKaku();    // the human plays without bishop and rook
    void SetupTestPosition(); // the fixed test position

    // Plays a move for the side given by ComToMove. The empty text does nothing. A malformed text, or
    // one whose mover is not on the from-square, throws std::invalid_argument and changes nothing.
    void ApplyMoveText(std::string_view m);
    void ApplyMove(const TMove& m);
    // Takes back the last move of the side given by ComToMove; m is that side's LastMove.
    // Throws std::invalid_argument (and changes nothing) for an empty or malformed text or a mover
    // that is not on the to-square.
    void UndoMoveText(std::string_view m);
    void UndoMove(const TMove& m);
    // Undoes COM's last move, then the human's; leaves the human to move.
    void TakeBackPair();

    // Move generation.
    void GenerateMoves();     // the list of the side given by ComToMove
    void GenerateRookMoves(); // Gote.RookMoves: COM's rook alone, every entry named "com飛"
    void GeneratePieceMoves(const TComa& piece, bool com, TMoveList& out);
    // Tests the human move from -> to (two-digit square texts). The position, MoveCount and both
    // last-move records are as before afterwards.
    THumanMoveTest TestHumanMove(std::string_view from, std::string_view to);
    THumanMoveTest TestHumanMove(int from, int to);

    // Attack maps and sums.
    void ClearThreatSums();
    void ComputeHumanMaps();
    void ComputeComMaps();
    void ComputeThreats();
    void AddPieceAttacks(TComa& piece, bool com);

    // The 100 board-list texts by square code (" " for empty squares).
    std::vector<std::string> BoardList() const;

    // The piece standing on a square (nullptr when empty).
    TComa* PieceOn(int sq);
    const TComa* PieceOn(int sq) const;

private:
    void Recompute();
    TComa* FindMover(bool com, int sq, PieceName name);
};
