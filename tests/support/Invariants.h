// What must hold of a position and of a game session after every step, whatever was played or
// refused: shared by the soak and drag tests and the fuzz targets, which report the first broken
// rule as a text (empty when everything holds).
#pragma once

#include "board/Kyokumen.h"
#include "session/GameSession.h"
#include "support/Helpers.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace invariants {

// The board list, the board, PieceAt, ValueAt and the forty pieces agree: every square off the board
// is empty, every occupied square holds the piece whose index and value it names, and every piece
// still in play stands on its own square under its current name. The fuzz targets call this after
// every step, so the texts are made only once something is wrong.
// The board list is made from the board on every call: the fuzz targets check it once per input
// (withList) rather than after every step.
inline std::string PositionFault(const TKyokumen& k, bool withList = true) {
    const std::vector<std::string> list = withList ? k.BoardList() : std::vector<std::string>();
    if (withList && list.size() != std::size_t(kSquareCount))
        return "the board list has " + std::to_string(list.size()) + " entries";
    auto at = [](int sq) { return " on square code " + std::to_string(sq); };
    int occupied = 0;
    for (int sq = 0; sq < kMapSize; ++sq) {
        const PieceName b = k.Board[sq];
        if (withList && sq < kSquareCount && list[sq] != PieceText(b)) {
            PieceName parsed;
            if (!ParsePieceName(list[sq], parsed) || parsed != b)
                return "the board list says \"" + list[sq] + "\"" + at(sq);
        }
        if (b == PieceName::Empty) {
            if (k.PieceAt[sq] != -1) return "PieceAt names a piece" + at(sq) + ", which is empty";
            if (k.ValueAt[sq] != -1) return "ValueAt holds a value" + at(sq) + ", which is empty";
            continue;
        }
        if (!OnBoard(FileOf(sq), RankOf(sq))) return "a piece stands" + at(sq) + ", off the board";
        ++occupied;
        const int index = k.PieceAt[sq];
        if (index < 0 || index >= 20) return "PieceAt holds " + std::to_string(index) + at(sq);
        const TComa& p = (IsCom(b) ? k.Gote.Pieces.List : k.Sente.Pieces.List)[index];
        auto who = [&] { return std::string(PieceText(b)) + at(sq); };
        if (p.Captured) return "the board holds the captured " + who();
        if (p.Square() != sq) return "the " + who() + " believes it stands on " + std::to_string(p.Square());
        if (p.CurrentName() != b)
            return "the board's " + who() + " is a " + std::string(PieceText(p.CurrentName()));
        if (p.IsCom != IsCom(b)) return "the " + who() + " belongs to the other side";
        if (k.ValueAt[sq] != PieceValue(b) || p.Value != k.ValueAt[sq])
            return "the values of the " + who() + " disagree (ValueAt " + std::to_string(k.ValueAt[sq]) +
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
// Move lines before fromMove (counted from 0) are taken as checked already: a caller that checks after
// every action needs only the latest turn's lines, and checks them all once at the end.
inline std::string RecordFault(const TGameSession& s, std::size_t fromMove = 0) {
    constexpr std::size_t kHeaderLines = 16;
    const std::vector<std::string>& lines = s.KifuLines();
    const std::vector<TMove>& shown = s.ShownMoveHistory();
    if (s.MoveHistory().size() != shown.size())
        return std::to_string(s.MoveHistory().size()) + " moves played but " + std::to_string(shown.size()) +
               " shown";
    if (!s.ReplayMode() && std::size_t(s.Position().MoveCount) != shown.size())
        return "the position counts " + std::to_string(s.Position().MoveCount) + " moves, the record " +
               std::to_string(shown.size());
    // COM's own game manager (the second player's, in the game's own frame) counts them too, and one
    // more when COM moved first from a start set up by hand.
    const bool comFirst = s.StartKind() == KifStart::Edited && s.EditedStart().ToMove == Side::Gote;
    if (const TKyokumenKanri* com = s.ComKanri(Side::Gote);
        com && !s.ReplayMode() && std::size_t(com->MoveCount()) != shown.size() + comFirst)
        return "COM's game manager counts " + std::to_string(com->MoveCount()) + " moves, the record " +
               std::to_string(shown.size());
    // The record closes once the game has ended (a resignation adds its own line before the result),
    // and keeps its closing through a replay of the ended game.
    const std::size_t closing = s.Ending().Kind == EndKind::Resign || s.Ending().Kind == EndKind::IllegalMove
                                    ? 2
                                : s.Ending().Over() ? 1
                                                    : 0;
    if (lines.size() != kHeaderLines + shown.size() + closing)
        return "the record has " + std::to_string(lines.size()) + " lines for " +
               std::to_string(shown.size()) + " moves";
    std::string expected;
    for (std::size_t i = fromMove; i < shown.size(); ++i) {
        expected.assign(" ");
        expected += std::to_string(i + 1);
        expected += s.Turns()[i].Mover == Side::Sente ? ": ▲先手: " : ": △後手: ";
        // "com" marks COM's pieces only in the game made for a person against COM.
        const TMove& m = shown[i];
        expected +=
            TGameSession::FormatMove(s.Seats().Classic() ? m : TMove{m.From, m.To, HumanKind(m.Name)});
        if (lines[kHeaderLines + i] != expected)
            return "record line " + std::to_string(i + 1) + " is \"" + lines[kHeaderLines + i] +
                   "\", not \"" + expected + "\"";
    }
    return {};
}

// A session's game as a command may change it, for checking that a refused or read-only command left
// it alone; the formation selection is left out (picking one after the first move changes only it).
struct SessionState {
    testing_helpers::PositionState Position;
    TMove HumanLast, ComLast;
    std::uint64_t Kifu; // a digest of the record (no copy of it on every action)
    std::size_t Moves;
    bool MattaUsed, Replay;
    explicit SessionState(const TGameSession& s)
        : Position(testing_helpers::StateOf(s.BoardPosition())), HumanLast(s.BoardPosition().Sente.LastMove),
          ComLast(s.BoardPosition().Gote.LastMove), Kifu(Digest(s.KifuLines())),
          Moves(s.MoveHistory().size()), MattaUsed(s.MattaUsed()), Replay(s.ReplayMode()) {}
    // A hash of the number of lines, the header and the last two lines: a command changes the record
    // only at its end, or makes a new one (RecordFault checks every move line against the moves).
    static std::uint64_t Digest(const std::vector<std::string>& lines) {
        constexpr std::size_t kHeaderLines = 16;
        std::uint64_t h = 14695981039346656037ull;
        const auto mix = [&h](std::uint64_t v) { h = (h ^ v) * 1099511628211ull; };
        mix(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (i < kHeaderLines || i + 2 >= lines.size()) mix(std::hash<std::string>{}(lines[i]));
        return h;
    }
    // The first difference, named, or the empty text.
    std::string DifferenceTo(const TGameSession& s) const {
        const SessionState now(s);
        std::string d = testing_helpers::StateDifference(now.Position, Position);
        if (!d.empty()) return d;
        if (!(now.HumanLast == HumanLast) || !(now.ComLast == ComLast)) return "a last-move record";
        if (now.Kifu != Kifu) return "the record";
        if (now.Moves != Moves) return "the move history";
        if (now.MattaUsed != MattaUsed) return "the take-back flag";
        if (now.Replay != Replay) return "replay mode";
        return {};
    }
};

} // namespace invariants
