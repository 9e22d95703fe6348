// What must hold of a position and of a game session after every step, whatever was played or
// refused: shared by the soak and drag tests and the fuzz targets, which report the first broken
// rule as a text (empty when everything holds).
#pragma once

#include "board/Kyokumen.h"
#include "session/GameSession.h"

#include <string>
#include <vector>

namespace invariants {

// The board list, the board, PieceAt, ValueAt and the forty pieces agree: every square off the board
// is empty, every occupied square holds the piece whose index and value it names, and every piece
// still in play stands on its own square under its current name.
inline std::string PositionFault(const TKyokumen& k) {
    const std::vector<std::string> list = k.BoardList();
    if (list.size() != std::size_t(kSquareCount))
        return "the board list has " + std::to_string(list.size()) + " entries";
    int occupied = 0;
    for (int sq = 0; sq < kMapSize; ++sq) {
        const std::string at = " on square code " + std::to_string(sq);
        const PieceName b = k.Board[sq];
        if (sq < kSquareCount) {
            PieceName parsed;
            if (!ParsePieceName(list[sq], parsed) || parsed != b)
                return "the board list says \"" + list[sq] + "\"" + at;
        }
        if (b == PieceName::Empty) {
            if (k.PieceAt[sq] != -1) return "PieceAt names a piece" + at + ", which is empty";
            if (k.ValueAt[sq] != -1) return "ValueAt holds a value" + at + ", which is empty";
            continue;
        }
        if (!OnBoard(FileOf(sq), RankOf(sq))) return "a piece stands" + at + ", off the board";
        ++occupied;
        const int index = k.PieceAt[sq];
        if (index < 0 || index >= 20) return "PieceAt holds " + std::to_string(index) + at;
        const TComa& p = (IsCom(b) ? k.Gote.Pieces.List : k.Sente.Pieces.List)[index];
        const std::string who = std::string(PieceText(b)) + at;
        if (p.Captured) return "the board holds the captured " + who;
        if (p.Square() != sq) return "the " + who + " believes it stands on " + std::to_string(p.Square());
        if (p.CurrentName() != b)
            return "the board's " + who + " is a " + std::string(PieceText(p.CurrentName()));
        if (p.IsCom != IsCom(b)) return "the " + who + " belongs to the other side";
        if (k.ValueAt[sq] != PieceValue(b) || p.Value != k.ValueAt[sq])
            return "the values of the " + who + " disagree (ValueAt " + std::to_string(k.ValueAt[sq]) +
                   ", piece " + std::to_string(p.Value) + ")";
    }
    int inPlay = 0;
    for (int side = 0; side < 2; ++side)
        for (const TComa& p : (side ? k.Gote.Pieces.List : k.Sente.Pieces.List)) {
            if (p.Captured) continue;
            ++inPlay;
            const int sq = p.Square();
            if (!OnBoard(p.File, p.Rank) || k.Board[sq] != p.CurrentName() || k.PieceAt[sq] != p.Index)
                return std::string(side ? "COM's" : "the human's") + " piece " + std::to_string(p.Index) +
                       " is not on the board at " + std::to_string(sq);
        }
    if (inPlay != occupied)
        return std::to_string(inPlay) + " pieces in play on " + std::to_string(occupied) + " squares";
    return {};
}

// The record of a game from the start: the sixteen lines of its header and diagram, one line per
// move, the resignation's line after a resignation, and one closing line once the game is over; the
// move lines match the moves shown.
inline std::string RecordFault(const TGameSession& s) {
    constexpr std::size_t kHeaderLines = 16;
    const std::vector<std::string>& lines = s.KifuLines();
    const std::vector<TMove>& shown = s.ShownMoveHistory();
    if (s.MoveHistory().size() != shown.size())
        return std::to_string(s.MoveHistory().size()) + " moves played but " + std::to_string(shown.size()) +
               " shown";
    if (!s.ReplayMode() && std::size_t(s.Kanri().MoveCount()) != shown.size())
        return "the position counts " + std::to_string(s.Kanri().MoveCount()) + " moves, the record " +
               std::to_string(shown.size());
    // A resignation adds its own line before the result.
    const std::size_t closing = s.Ending() == KifEnding::HumanResigns ? 2 : s.GameOver() ? 1 : 0;
    if (lines.size() != kHeaderLines + shown.size() + closing)
        return "the record has " + std::to_string(lines.size()) + " lines for " +
               std::to_string(shown.size()) + " moves";
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const std::string expected = " " + std::to_string(i + 1) + (i % 2 == 0 ? ": ▲先手: " : ": △後手: ") +
                                     TGameSession::FormatMove(shown[i]);
        if (lines[kHeaderLines + i] != expected)
            return "record line " + std::to_string(i + 1) + " is \"" + lines[kHeaderLines + i] +
                   "\", not \"" + expected + "\"";
    }
    return {};
}

} // namespace invariants
