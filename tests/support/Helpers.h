// Positions for tests, built from move texts so that a test reads like a game.
#pragma once

#include "board/Kyokumen.h"
#include "com/KyokumenKanri.h"

#include <initializer_list>
#include <ostream>
#include <string_view>

// How test failures name a stage.
inline std::ostream& operator<<(std::ostream& os, ComStage stage) {
    return os << ComStageName(stage);
}

namespace testing_helpers {

inline bool IsComText(std::string_view moveText) {
    return moveText.size() > 4 && moveText.substr(4, 3) == "com";
}

// Applies the moves in order, each for the side its piece name belongs to ("com..." is COM's).
// Afterwards the side to move is the one after the last mover (the human when no move was given).
inline void Play(TKyokumen& k, std::initializer_list<std::string_view> moves) {
    bool lastCom = true;
    for (std::string_view m : moves) {
        lastCom = IsComText(m);
        k.ComToMove = lastCom;
        k.ApplyMoveText(m);
    }
    k.ComToMove = !lastCom;
}

// The same on a game manager: SideToMove and the position's side to move follow the movers.
inline void Play(TKyokumenKanri2& g, std::initializer_list<std::string_view> moves) {
    bool lastCom = true;
    for (std::string_view m : moves) {
        lastCom = IsComText(m);
        g.SideToMove = lastCom ? 1 : 0;
        g.Kyokumen.ComToMove = lastCom;
        g.ApplyMove(m);
    }
    g.SideToMove = lastCom ? 0 : 1;
    g.Kyokumen.ComToMove = !lastCom;
}

} // namespace testing_helpers

// ---- Position state (board helper) -------------------------------------------------------------
// Everything a position holds apart from the scratch move lists, the last-move records and the
// benchmark counter: a search that plays and takes back moves must leave exactly this unchanged.
#include <array>
#include <string>

namespace testing_helpers {

struct PositionState {
    std::array<PieceName, kMapSize> Board{};
    std::array<int, kMapSize> PieceAt{}, ValueAt{};
    std::array<TComa, 20> Human{}, Com{};
    std::array<int, kMapSize> HumanAttacks{}, HumanKingZone{}, ComAttacks{}, ComKingZone{};
    std::array<int, 9> Sums{};
    bool ComKingSafe = true;
    int MoveCount = 0;
    bool ComToMove = false;
};

inline PositionState StateOf(const TKyokumen& k) {
    PositionState s;
    s.Board = k.Board;
    s.PieceAt = k.PieceAt;
    s.ValueAt = k.ValueAt;
    s.Human = k.Sente.Pieces.List;
    s.Com = k.Gote.Pieces.List;
    s.HumanAttacks = k.Sente.Attacks;
    s.HumanKingZone = k.Sente.KingZone;
    s.ComAttacks = k.Gote.Attacks;
    s.ComKingZone = k.Gote.KingZone;
    s.Sums = {k.Sente.LostMaterial, k.Sente.ThreatenedMaterial, k.Sente.HangingMaterial,
              k.Gote.LostMaterial,  k.Gote.ThreatenedMaterial,  k.Gote.HangingMaterial,
              k.Gote.OverCoverage,  k.Gote.KingZonePressure,    k.Gote.KingZoneGuard};
    s.ComKingSafe = k.Gote.ComKingSafe;
    s.MoveCount = k.MoveCount;
    s.ComToMove = k.ComToMove;
    return s;
}

inline bool SamePiece(const TComa& a, const TComa& b) {
    return a.Index == b.Index && a.Name == b.Name && a.PromotedName == b.PromotedName && a.File == b.File &&
           a.Rank == b.Rank && a.CapturedAt == b.CapturedAt && a.Captured == b.Captured &&
           a.CaptureRecord == b.CaptureRecord && a.IsCom == b.IsCom && a.Value == b.Value &&
           a.PromotedAt == b.PromotedAt && a.ThreatSum == b.ThreatSum && a.NoFlight == b.NoFlight;
}

// The first difference between two states, or the empty text when they are equal. The arrays are
// compared whole first: the fuzz targets compare states after every step and nearly always find them
// equal.
inline std::string StateDifference(const PositionState& a, const PositionState& b) {
    const bool mapsEqual = a.Board == b.Board && a.PieceAt == b.PieceAt && a.ValueAt == b.ValueAt &&
                           a.HumanAttacks == b.HumanAttacks && a.HumanKingZone == b.HumanKingZone &&
                           a.ComAttacks == b.ComAttacks && a.ComKingZone == b.ComKingZone;
    if (!mapsEqual)
        for (int sq = 0; sq < kMapSize; ++sq) {
            auto at = [sq] { return " at " + std::to_string(sq); };
            if (a.Board[sq] != b.Board[sq])
                return "Board" + at() + ": " + std::string(PieceText(a.Board[sq])) + " vs " +
                       std::string(PieceText(b.Board[sq]));
            if (a.PieceAt[sq] != b.PieceAt[sq]) return "PieceAt" + at();
            if (a.ValueAt[sq] != b.ValueAt[sq]) return "ValueAt" + at();
            if (a.HumanAttacks[sq] != b.HumanAttacks[sq]) return "Sente.Attacks" + at();
            if (a.HumanKingZone[sq] != b.HumanKingZone[sq]) return "Sente.KingZone" + at();
            if (a.ComAttacks[sq] != b.ComAttacks[sq]) return "Gote.Attacks" + at();
            if (a.ComKingZone[sq] != b.ComKingZone[sq]) return "Gote.KingZone" + at();
        }
    for (int i = 0; i < 20; ++i) {
        if (!SamePiece(a.Human[i], b.Human[i])) return "human piece " + std::to_string(i);
        if (!SamePiece(a.Com[i], b.Com[i])) return "COM piece " + std::to_string(i);
    }
    static constexpr const char* kSumNames[] = {
        "Sente.LostMaterial", "Sente.ThreatenedMaterial", "Sente.HangingMaterial",
        "Gote.LostMaterial",  "Gote.ThreatenedMaterial",  "Gote.HangingMaterial",
        "Gote.OverCoverage",  "Gote.KingZonePressure",    "Gote.KingZoneGuard"};
    for (int i = 0; i < int(a.Sums.size()); ++i)
        if (a.Sums[i] != b.Sums[i])
            return std::string(kSumNames[i]) + ": " + std::to_string(a.Sums[i]) + " vs " +
                   std::to_string(b.Sums[i]);
    if (a.ComKingSafe != b.ComKingSafe) return "Gote.ComKingSafe";
    if (a.MoveCount != b.MoveCount) return "MoveCount";
    if (a.ComToMove != b.ComToMove) return "ComToMove";
    return {};
}

} // namespace testing_helpers

// ---- Turns through the game manager, as the window plays them (added for the COM pass tests) ----
namespace testing_helpers {

struct TTurn {
    THumanMoveTest Human;            // the human's move as tested
    TMove ComMove;                   // COM's choice (the candidate text, or the move as recorded)
    TMove ComRecorded;               // COM's move as the position recorded it
    ComStage Stage = ComStage::None; // the stage that ended COM's think
};

// Plays the human's move from -> to (two-digit square texts) and COM's reply. When the human's move
// is refused nothing is played and Human tells why.
inline TTurn PlayTurn(TKyokumenKanri& g, std::string_view from, std::string_view to) {
    TTurn turn;
    // The check leaves in the game manager the traces it always left; whether the move may be made is the
    // rules' verdict (a move COM's maps refuse as leaving the king attacked may be legal).
    turn.Human = g.CheckHumanMove(from, to);
    if (turn.Human.Result == THumanMoveTest::NoMove) return turn;
    g.ApplyMove(turn.Human.Move);
    g.SwitchSide();
    g.ComThink();
    turn.Stage = g.LastStage();
    turn.ComMove = g.ComMove;
    if (!g.ComMove.Empty()) {
        g.ApplyMove(g.ComMove);
        turn.ComRecorded = g.LastMoveRecord();
        g.JudgeAfterComMove();
    }
    if (!g.ComMatesFlag && !g.HumanMatesFlag && !g.HumanBareKingFlag && !g.ComBareKingFlag) g.SwitchSide();
    return turn;
}

inline bool GameOver(const TKyokumenKanri& g) {
    return g.ComMatesFlag || g.HumanMatesFlag || g.HumanBareKingFlag || g.ComBareKingFlag;
}

} // namespace testing_helpers

// ---- Positions shared by the think tests ---------------------------------------------------------
#include <set>
#include <string>
#include <vector>

namespace testing_helpers {

// Both kings step aside and back: the position is the same afterwards, four moves later.
inline void ShuffleKings(TKyokumenKanri& g, int cycles) {
    for (int i = 0; i < cycles; ++i) Play(g, {"5958王", "5152com王", "5859王", "5251com王"});
}

// The human's rook leaves 28, takes the COM pieces on the given squares one after the other (the
// first square must lie in ranks 1-3, where the rook promotes) and comes back to 28.
inline void TakeComPiecesWithTheRook(TKyokumenKanri& g, const std::vector<int>& squares) {
    std::string from = "28";
    std::string name = "飛";
    for (int sq : squares) {
        const std::string text = from + SquareText(sq) + name;
        Play(g, {text});
        from = SquareText(sq);
        name = "龍王";
    }
    const std::string home = from + "28" + name;
    Play(g, {home});
}

// Every COM piece but the king (51) and the ones on the squares to keep.
inline std::vector<int> ComPiecesBut(std::set<int> keep) {
    static constexpr int kStart[] = {13, 11, 21, 31, 41, 61, 71, 81, 91, 33,
                                     82, 23, 34, 44, 53, 63, 73, 83, 93};
    std::vector<int> squares;
    for (int sq : kStart)
        if (!keep.contains(sq)) squares.push_back(sq);
    return squares;
}

} // namespace testing_helpers
