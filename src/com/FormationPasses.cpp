// The later stages of COM's think, from the formation steps to the last scored pass: the chosen
// formation, development, balance and approach.
#include "com/KyokumenKanri.h"
#include "com/Scores.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace {

// Distances of a move's from- and to-square to a goal square, by file and by rank.
struct TDistances {
    int a, c; // from the from-square: file, rank
    int b, d; // from the to-square: file, rank
};

TDistances DistancesTo(const TMove& m, int goalFile, int goalRank) {
    return {std::abs(goalFile - m.FromFile()), std::abs(goalRank - m.FromRank()),
            std::abs(goalFile - m.ToFile()), std::abs(goalRank - m.ToRank())};
}

bool IsOneOf(PieceName p, std::initializer_list<PieceName> names) {
    for (PieceName n : names)
        if (p == n) return true;
    return false;
}

} // namespace

// COM builds the chosen formation one step at a time. A step is a piece and a target
// square; the nearest move of that piece toward the target is played, and the step counts as done as
// soon as some move of that piece would reach the target.
bool TKyokumenKanri::FormationSteps() {
    const TKyokumen& k = Kyokumen;
    for (SenpouId id : kSenpouChainOrder) {
        TSenpou_Base& strategy = Strategy(id);
        if (strategy.Finished) continue;
        st_.B = 0;
        const TSenpouStep step = strategy.PeekStep();
        // A strategy with no real step left offers no move and is given up below like any other.
        const bool hasStep = step.Type == TSenpouStep::Step;
        const int n = step.Piece;
        const int gf = FileOf(step.Target);
        const int gr = RankOf(step.Target);
        const TMoveList& moves = k.Gote.Moves;
        for (int i = 0; hasStep && i < moves.Size(); ++i) {
            const TMove m = moves[i];
            if (!IsCom(k.Board[m.From]) || k.PieceAt[m.From] != n) continue;
            const int df = std::abs(m.ToFile() - gf);
            const int dr = std::abs(m.ToRank() - gr);
            if (df == 0 && dr == 0) strategy.MarkStepDone();
            int s = 200 - 10 * df - 10 * dr;
            // The basic formation may push a pawn into an attacked square; the others never step
            // onto one.
            const bool exempt = id == Kihon && m.Name == PieceName::ComFu;
            if (!exempt && k.Sente.Attacks[m.To] > 0) s = -200;
            if (s > st_.B) Accept(s, m);
        }
        if (!ComMove.Empty()) {
            CountFormationMove(id);
            return true;
        }
        // The step cannot be made: COM gives this formation up.
        strategy.Finished = true;
    }
    return false;
}

void TKyokumenKanri::CountFormationMove(SenpouId id) {
    const int move = Kyokumen.MoveCount + 1;
    std::erase_if(formationMoves_, [move](const auto& entry) { return entry.first >= move; });
    formationMoves_.emplace_back(move, id);
    st_.Formation = id;
    st_.FormationStep = int(std::count_if(formationMoves_.begin(), formationMoves_.end(),
                                          [id](const auto& entry) { return entry.second == id; }));
}

// In the opening, pawns and minor pieces close in on the file of COM's rook, and a pawn on
// that file advances where COM holds the square.
bool TKyokumenKanri::AdvanceAlongRookFile() {
    const TComa& rook = Kyokumen.Gote.Pieces.List[kRookIndex];
    if (rook.Captured || Kyokumen.MoveCount >= 41) return false;
    const int gf = rook.File;
    const int gr = 6;
    st_.B = 0;
    const TKyokumen& k = Kyokumen;
    const TMoveList& moves = k.Gote.Moves;
    for (int i = 0; i < moves.Size(); ++i) {
        const TMove m = moves[i];
        const PieceName mover = m.Name;
        const int tf = m.ToFile();
        const auto [a, c, b, d] = DistancesTo(m, gf, gr);
        int s = 0;
        if (!IsOneOf(mover, {PieceName::ComHi, PieceName::ComRyu, PieceName::ComKyo, PieceName::ComKaku,
                             PieceName::ComOu, PieceName::ComKin})) {
            if (b < a) s += (10 - b) * 100;
            if (d < c) s += (10 - d) * 100;
            if (a < b) s -= 500;
            if (c < d) s = -500;
            if (b > 1) s = -2000;
            if (mover == PieceName::ComFu && b > 1) s = -300;
            if (k.Sente.Attacks[m.To] > 0) s = -250;
            if (mover == PieceName::ComKei && (tf == 1 || tf == 9)) s = -200;
            if (mover == PieceName::ComFu && (tf == 1 || tf == 9)) s = -180;
        }
        ApplyCandidate(m);
        if (mover == PieceName::ComFu && b == 0 && k.Gote.Attacks[m.To] >= k.Sente.Attacks[m.To]) s = 1500;
        if (k.Gote.HangingMaterial > 30) s = -555;
        Exclude(m, s, kExcluded);
        if (KingSafeAfter() && s > st_.B) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// Early in the game COM moves its pieces, and its king, toward the side of the board away
// from where the human's pieces gather.
bool TKyokumenKanri::CastleByZones() {
    Formation.HumanPieces = &Kyokumen.Sente.Pieces;
    Formation.ComPieces = &Kyokumen.Gote.Pieces;
    Formation.Survey();
    if (Kyokumen.MoveCount >= 21) return false;
    const int M = Formation.MajorityColumn;
    const int K = Formation.ComKingZone;
    const auto& Hz = Formation.HumanZoneCount;
    const auto& Cz = Formation.ComZoneCount;
    st_.B = 0;
    const TKyokumen& k = Kyokumen;
    const TMoveList& moves = k.Gote.Moves;
    for (int i = 0; i < moves.Size(); ++i) {
        const TMove m = moves[i];
        const PieceName mover = m.Name;
        const int ff = m.FromFile(), fr = m.FromRank(), tf = m.ToFile(), tr = m.ToRank();
        const int zf = TFormation::ZoneOfSquare(ff, fr);
        const int zt = TFormation::ZoneOfSquare(tf, tr);
        int s = 0;
        if (M == 6 && zt == 8 && ff < tf) s += (tf - 4) * 100;
        if (M == 6 && zt == 7 && fr < tr) s += (tr - 1) * 100;
        if (M == 6 && zf == 8 && zt == 7) s = 200;
        if (M == 5 && zt == 9 && ff < tf) s += (tf - 1) * 100;
        if (M == 5 && zf == 7 && zt == 8) s = 200;
        if (M == 5 && zf == 9 && zt == 8) s = 200;
        if (M == 5 && zt == 7 && tf < ff) s += (9 - tf) * 100;
        if (M == 5 && zt == 8 && fr < tr) s += (tr - 1) * 100;
        if (M == 5 && Cz[8] > 5) s = -200;
        if (M == 4 && zt == 8 && tf < ff) s += (6 - tf) * 100;
        if (M == 4 && zf == 8 && zt == 9) s = 200;
        if (M == 4 && zt == 9 && fr < tr) s += (tr - 1) * 100;
        if (M == 4 && Cz[9] > 7) s = -200;
        if (Hz[9] > 0 && Hz[7] == 0 && K == 7 && tf < ff) s = -200;
        if (Hz[7] > 0 && Hz[9] == 0 && K == 9 && ff < tf) s = -200;
        if (k.Sente.Attacks[m.To] > 0) s -= 1000;
        if (mover == PieceName::ComOu) s -= 300;
        if (M == 6 && K != 7 && mover == PieceName::ComOu && ff < tf) s += tf * 100;
        if (M == 4 && K != 9 && mover == PieceName::ComOu && tf < ff) s += (9 - tf) * 100;
        if (mover == PieceName::ComHi) s -= 300;
        if (mover == PieceName::ComKyo && k.Board[m.To] == PieceName::Empty) s = -300;

        const int hangingBefore = k.Gote.HangingMaterial;
        ApplyCandidate(m);
        if (k.Gote.HangingMaterial > hangingBefore + 10) s = -300;
        if (k.Gote.KingZoneGuard == kKingZoneCollapsed) s = -500;
        Exclude(m, s, kExcluded);
        if (KingSafeAfter() && s > st_.B) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// A short look-ahead for the move that keeps the material balance best; a move that
// still leaves COM behind is not taken.
bool TKyokumenKanri::BalanceStage() {
    SearchDepth = 0;
    MaxDepth = 4;
    st_.B = 0;
    BestRootScore = kLoss;
    st_.r = BalanceSearch(kWin, kLoss);
    if (st_.r < 0) ComMove = TMove{};
    RestoreAfterSearch();
    return !ComMove.Empty();
}

// COM's pieces, pawns first, close in on the human's king and enter its camp.
bool TKyokumenKanri::ApproachHumanKing() {
    const int kh = HumanKingSquare();
    const int hf = FileOf(kh), hr = RankOf(kh);
    static constexpr TMove kRookPawnPush{83, 84, PieceName::ComFu};
    st_.B = 0;
    const TKyokumen& k = Kyokumen;
    const TMoveList& moves = k.Gote.Moves;
    for (int i = 0; i < moves.Size(); ++i) {
        const TMove m = moves[i];
        const PieceName mover = m.Name;
        const int fr = m.FromRank(), tf = m.ToFile(), tr = m.ToRank();
        int s = 0;
        ApplyCandidate(m);
        const auto [a, c, b, d] = DistancesTo(m, hf, hr);
        const auto& Ah = k.Sente.Attacks;
        const auto& Ac = k.Gote.Attacks;
        if (tr > 6 && b < a) s = (9 - b) * 10;
        if (tr > 6 && d < c) s = (9 - d) * 10;
        if (tr < 7 && fr < tr) s = tr * 10;
        if (Ac[m.To] < Ah[m.To]) s = -1000;
        if (fr < 7 && tr > 6) s += 100;
        if (mover == PieceName::ComOu) s = -300;
        // Of two moves to the same square the cheaper piece goes.
        if (!ComMove.Empty() && ComMove.To == m.To && s == st_.B &&
            PieceValue(mover) < PieceValue(ComMove.Name))
            s += 100;
        // No piece but a pawn is placed straight in front of a human pawn.
        if (tr < 9 && k.Board[MakeSquare(tf, tr + 1)] == PieceName::Fu && mover != PieceName::ComFu) s = -300;
        if (k.MoveCount < 50 && mover == PieceName::ComKaku) s = -300;
        if (m == kRookPawnPush && k.Board[82] == PieceName::ComHi) s = 1000;
        if (IsOneOf(mover, {PieceName::ComKin, PieceName::ComHi, PieceName::ComRyu})) s = -1000;
        ExposureBishop(s);
        ExposureRook(s);
        if (b + d == 2) s += 500;
        if (mover == PieceName::ComFu) {
            // A pawn that stands beside the human rook, with the rook's forward square occupied.
            if (tf > 1 && k.Board[MakeSquare(tf - 1, tr)] == PieceName::Hi &&
                k.Board[MakeSquare(tf - 1, tr - 1)] != PieceName::Empty)
                s = 500;
            if (tf < 9 && k.Board[MakeSquare(tf + 1, tr)] == PieceName::Hi &&
                k.Board[MakeSquare(tf + 1, tr - 1)] != PieceName::Empty)
                s = 500;
        }
        Exclude(m, s, kExcluded);
        if (KingSafeAfter() && s > st_.B) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// Safe attacking moves, captures and promotions, with a small random bonus that varies
// COM's play between equal moves.
bool TKyokumenKanri::AttackWithSmallBonus() {
    const int kh = HumanKingSquare();
    const int hf = FileOf(kh), hr = RankOf(kh);
    st_.B = kExcluded;
    const TKyokumen& k = Kyokumen;
    const TMoveList& moves = k.Gote.Moves;
    for (int i = 0; i < moves.Size(); ++i) {
        const TMove m = moves[i];
        const PieceName mover = m.Name;
        const int fr = m.FromRank(), tf = m.ToFile(), tr = m.ToRank();
        const PieceName c0 = k.Board[m.To];
        ApplyCandidate(m);
        const TMove recorded = RecordedCandidate();
        const PieceName X = k.Board[m.To];
        const auto& Ah = k.Sente.Attacks;
        const auto& Ac = k.Gote.Attacks;
        int s = 0;
        if (Ah[m.To] > 0) s = -3000;
        if (mover == PieceName::ComFu) s += 50;
        // Never stand beside COM's own rook.
        if (tf < 9 && k.Board[MakeSquare(tf + 1, tr)] == PieceName::ComHi) s = -3000;
        if (tf > 1 && k.Board[MakeSquare(tf - 1, tr)] == PieceName::ComHi) s = -3000;
        if (Ac[m.To] > 0 && Ah[m.To] >= Ac[m.To]) s = -1000;
        if (Ac[m.To] > Ah[m.To] && c0 != PieceName::Empty) s = 1000 - 5 * PieceValue(X);
        if (X == PieceName::ComFu) {
            const int q = MakeSquare(tf, tr + 1);
            if (Ah[q] > 0 && Ah[q] < Ac[q]) s += 500;
        }
        if (Ah[m.To] > 0 && Ac[m.To] == 0) s = -1000;
        if (recorded.Name != m.Name) s += PieceValue(mover);
        if (mover == PieceName::ComKyo && fr == 1) s -= 1000;
        if (mover == PieceName::ComOu) s -= 1000;
        const auto [a, c, b, d] = DistancesTo(m, hf, hr);
        if (b < a) s += 10;
        if (d < c) s += 15;
        if (a < b) s -= 10;
        if (c < d) s -= 15;
        // Promoted minor pieces press on toward the king.
        if (IsOneOf(mover, {PieceName::ComTo, PieceName::ComKyoNari, PieceName::ComKeiNari,
                            PieceName::ComGinNari})) {
            if (b < a) s += 600;
            if (d < c) s += 600;
        }
        Exclude(m, s, kExcluded);
        s += int(rng_->Below(10));
        if (KingSafeAfter() && AcceptsEarlier(s)) Accept(s, recorded);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// The last scored pass. Moves that guard COM's king and relieve threats are preferred; the
// larger random bonus keeps COM from repeating itself.
bool TKyokumenKanri::KingZoneWithBonus() {
    const int kh = HumanKingSquare();
    const int hf = FileOf(kh), hr = RankOf(kh);
    st_.B = kExcluded;
    const TKyokumen& k = Kyokumen;
    const TMoveList& moves = k.Gote.Moves;
    for (int i = 0; i < moves.Size(); ++i) {
        const TMove m = moves[i];
        ApplyCandidate(m);
        const TMove recorded = RecordedCandidate();
        const auto& Zc = k.Gote.KingZone;
        int s = 0;
        if (Zc[m.From] == 0 && Zc[m.To] == 1) s += 50;
        if (Zc[m.From] == 1 && Zc[m.To] == 0) s -= 50;
        if (Zc[m.From] == 0 && Zc[m.To] == 1) s += 500;
        s = s + k.Sente.ThreatenedMaterial - k.Gote.ThreatenedMaterial;
        if (k.Gote.Attacks[m.To] > 0) s += 50;
        if (recorded.Name != m.Name) s += 50;
        const auto [a, c, b, d] = DistancesTo(m, hf, hr);
        if (b < a) s += 10;
        if (d < c) s += 15;
        s += int(rng_->Below(50));
        // After the bonus, so that a move that loses the king scores exactly kExcluded.
        Exclude(m, s, kExcluded);
        if (KingSafeAfter() && s > st_.B) Accept(s, recorded);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}
