// The tactical stages of COM's think, from the capture near a lost king to the attack on the human's
// major pieces: the passes that look after the kings and the material.
//
// Each pass walks COM's move list in list order, plays every move it scores, reads the position and
// takes the move back. "Before" values are read on the position as it stands when the move is tried;
// "after" values while the move is applied.
#include "com/KyokumenKanri.h"
#include "com/Scores.h"

#include <cstdlib>

// After a search found that COM's king is lost, take material as close to the king as
// possible, so that the attacker loses what stands next to it.
bool TKyokumenKanri::CaptureNearKing() {
    if (!(st_.r == kLoss && st_.LosingAfterDanger)) return false;
    st_.B = 0;
    const int kc = ComKingSquare();
    const int kf = FileOf(kc), kr = RankOf(kc);
    const int lostBefore = Kyokumen.Sente.LostMaterial;
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        ApplyCandidate(m);
        int s = Kyokumen.Sente.ThreatenedMaterial + (5 - std::abs(kf - m.ToFile())) * 100 +
                (5 - std::abs(kr - m.ToRank())) * 100;
        if (Kyokumen.Sente.LostMaterial <= lostBefore) s = 0;
        Exclude(m, s, 0);
        if (KingSafeAfter() && s > 400 && s >= st_.B) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// Both escapes from check: a move after which COM's king is no longer attacked; the cheaper the piece that
// ends on the to-square, the better, so an interposition beats a king move.
bool TKyokumenKanri::EscapePass(bool excludeLosing) {
    st_.B = 0;
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        ApplyCandidate(m);
        int s = 0;
        if (Kyokumen.Gote.ThreatenedMaterial <= kMostWithoutKing) s = 2000 - Kyokumen.ValueAt[m.To];
        if (excludeLosing) Exclude(m, s, 0);
        if (KingSafeAfter() && AcceptsLater(s)) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

bool TKyokumenKanri::EscapeFromCheck() {
    if (Kyokumen.Gote.ThreatenedMaterial <= kMostWithoutKing) return false;
    return EscapePass(true);
}

// Every escape loses the king a few plies on; play the best one all the same.
bool TKyokumenKanri::EscapeFromCheckAnyway() {
    if (Kyokumen.Gote.ThreatenedMaterial <= kMostWithoutKing) return false;
    return EscapePass(false);
}

// Still in check and no escape at all: the human has won.
bool TKyokumenKanri::MatedInCheck() {
    if (Kyokumen.Gote.ThreatenedMaterial > kMostWithoutKing && ComMove.Empty()) {
        HumanMatesFlag = true;
        return true;
    }
    return false;
}

// A check after which no reply of the human takes its king out of attack.
bool TKyokumenKanri::MateInOne() {
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        const int kh = HumanKingSquare();
        ApplyCandidate(m);
        if (Kyokumen.Gote.Attacks[kh] > 0) {
            bool escaped = false;
            SwitchSide();
            Kyokumen.GenerateMoves();
            // The replies are counted without playing them: taking a reply back would leave the maps as
            // they are now, and the human's last-move record it would rewrite is read by nobody before
            // the think puts it back.
            const TMoveList& replies = Kyokumen.Sente.Moves;
            for (int j = 0; j < replies.Count && !escaped; ++j) {
                const TMove& reply = replies[j];
                const int king = reply.Name == PieceName::Ou ? reply.To : HumanKingSquare();
                escaped = Kyokumen.AttackCountAfter(reply, true, king) == 0;
            }
            SwitchSide();
            if (!escaped) {
                ComMove = m;
                TakeBackCandidate();
                break;
            }
        }
        TakeBackCandidate();
    }
    RestoreAfterSearch();
    return !ComMove.Empty();
}

// A check from a square the human does not attack that also hits other material.
bool TKyokumenKanri::SafeForkingCheck() {
    st_.B = 0;
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        ApplyCandidate(m);
        int s = 0;
        const int th = Kyokumen.Sente.ThreatenedMaterial;
        const TComa* checker = Kyokumen.PieceOn(m.To);
        if (Kyokumen.Sente.Attacks[m.To] == 0 && th > kKingValue + 30 && checker != nullptr &&
            checker->ThreatSum < kKingValue)
            s = th;
        if (KingSafeAfter() && AcceptsLater(s)) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// Take a bishop or better as long as COM's king stays out of attack.
bool TKyokumenKanri::CaptureMajorPiece() {
    st_.B = 0;
    const int kakuValue = PieceValue(PieceName::ComKaku);
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        int s = 0;
        if (Kyokumen.Board[m.To] != PieceName::Empty && Kyokumen.ValueAt[m.To] >= kakuValue)
            s = Kyokumen.ValueAt[m.To];
        ApplyCandidate(m);
        if (!KingSafeAfter()) s = kExcluded;
        if (AcceptsEarlier(s)) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// The rescues of the rook and the bishop: a rook or bishop that the human attacks is in danger unless it is
// defended and its attackers are worth at least as much as the piece itself.
bool TKyokumenKanri::RescueMajorPiece(int index, int attackerValue, bool& inDanger,
                                      int (TKyokumenKanri::*search)(int, int)) {
    inDanger = false;
    const TComa& piece = Kyokumen.Gote.Pieces.List[index];
    if (!piece.Captured) {
        const int sq = piece.Square();
        inDanger = Kyokumen.Sente.Attacks[sq] > 0;
        if (piece.ThreatSum >= attackerValue && Kyokumen.Gote.Attacks[sq] > 0) inDanger = false;
    }
    if (!inDanger) return false;
    SearchDepth = 0;
    MaxDepth = 4;
    ThreatResult = 0;
    (this->*search)(kLoss, kWin);
    RestoreAfterSearch();
    return !ComMove.Empty();
}

bool TKyokumenKanri::RescueRook() {
    return RescueMajorPiece(kRookIndex, PieceValue(PieceName::Hi), st_.RookInDanger,
                            &TKyokumenKanri::RookRescueSearch);
}

bool TKyokumenKanri::RescueBishop() {
    return RescueMajorPiece(kBishopIndex, PieceValue(PieceName::Kaku), st_.BishopInDanger,
                            &TKyokumenKanri::BishopRescueSearch);
}

// The king's early flights: walk the king from the centre toward the corner the human is not attacking. A
// piece that stands beside the king on the side of the target scores for making way.
bool TKyokumenKanri::KingFlight(int target, bool runs) {
    if (!runs || ComKingSquare() == target) return false;
    st_.B = 0;
    const int gf = FileOf(target), gr = RankOf(target);
    const bool towardHigherFiles = target == 71;
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        int s = 0;
        if (m.Name == PieceName::ComOu) {
            const int a = std::abs(gf - m.FromFile()), c = std::abs(gr - m.FromRank());
            const int b = std::abs(gf - m.ToFile()), d = std::abs(gr - m.ToRank());
            if (b < a) s += (10 - b) * 120;
            if (d < c) s += (10 - d) * 100;
            if (b > a) s -= (10 - b) * 120;
            if (d > c) s -= (10 - d) * 100;
        } else {
            const int from = m.From;
            const auto& board = Kyokumen.Board;
            if (towardHigherFiles) {
                if ((from > 20 && board[Step(from, -1, 0)] == PieceName::ComOu) ||
                    (from > 21 && board[Step(from, -1, -1)] == PieceName::ComOu))
                    s = 30;
            } else {
                if ((from < 90 && board[Step(from, 1, 0)] == PieceName::ComOu) ||
                    (from < 89 && board[Step(from, 1, 1)] == PieceName::ComOu))
                    s = 30;
            }
        }
        const int tcBefore = Kyokumen.Gote.ThreatenedMaterial;
        ApplyCandidate(m);
        const TGote& com = Kyokumen.Gote;
        if (com.ThreatenedMaterial > tcBefore || com.HangingMaterial > 40 || com.ThreatenedMaterial > 60 ||
            com.KingZoneGuard == kKingZoneCollapsed)
            s = -500;
        Exclude(m, s, kExcluded);
        if (KingSafeAfter() && AcceptsEarlier(s)) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// One survey of the zones serves both flight stages.
bool TKyokumenKanri::KingFlightTo71() {
    Formation.HumanPieces = &Kyokumen.Sente.Pieces;
    Formation.ComPieces = &Kyokumen.Gote.Pieces;
    Formation.Survey();
    const auto& hz = Formation.HumanZoneCount;
    const auto& cz = Formation.ComZoneCount;
    const bool inCentre = Formation.ComKingZone == 8;
    const bool runs =
        (inCentre && hz[9] > 0 && hz[7] == 0) || (inCentre && hz[8] > 0 && cz[7] + cz[4] > cz[9] + cz[6]);
    return KingFlight(71, runs);
}

bool TKyokumenKanri::KingFlightTo31() {
    const auto& hz = Formation.HumanZoneCount;
    const auto& cz = Formation.ComZoneCount;
    const bool inCentre = Formation.ComKingZone == 8;
    const bool runs =
        (inCentre && hz[7] > 0 && hz[9] == 0) || (inCentre && hz[8] > 0 && cz[7] + cz[4] < cz[9] + cz[6]);
    return KingFlight(31, runs);
}

// The best capture. Cheap pieces taking dear ones score most; a capture that loses more
// than it wins, or exposes the king, the rook or the bishop, scores nothing.
bool TKyokumenKanri::BestCapture() {
    st_.B = 0;
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        const PieceName taken = Kyokumen.Board[m.To];
        if (taken == PieceName::Empty) continue;
        const int takenValue = PieceValue(taken);
        const int moverValue = PieceValue(m.Name);
        int s = takenValue;
        const int tcBefore = Kyokumen.Gote.ThreatenedMaterial;
        if (moverValue < takenValue) s += 1000;
        const int a = Kyokumen.Sente.Attacks[m.From];
        if (moverValue == takenValue) s += 550;

        ApplyCandidate(m);
        const int tc = Kyokumen.Gote.ThreatenedMaterial;
        const int ah = Kyokumen.Sente.Attacks[m.To];
        if (tc > tcBefore + 10) s = -500;
        if (ah > 0 && Kyokumen.Gote.Attacks[m.To] < ah) s -= 500;
        if (m.Name == PieceName::ComFu && tc == tcBefore) s = 500;
        // A cheaper piece that can take on the same square as the move kept so far takes instead.
        if (!ComMove.Empty() && a > 0 && ComMove.To == m.To && moverValue < PieceValue(ComMove.Name))
            s = s + 1000 - moverValue;
        if (m.Name == PieceName::ComKyo) s = 1000;
        ExposureBishop(s);
        if (m.Name == PieceName::ComKaku && (taken == PieceName::Kaku || taken == PieceName::KakuNari))
            s = 140;
        ExposureRook(s);
        if (Kyokumen.Sente.ThreatenedMaterial > kMostWithoutKing) s += 500;
        if (!KingSafeAfter()) s = kExcluded;
        Exclude(m, s, kExcluded);
        if (AcceptsEarlier(s)) {
            Accept(s, m);
            if (taken == PieceName::Ou) ComMatesFlag = true;
        }
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// The human's king stands attacked before COM moves: the game is COM's.
bool TKyokumenKanri::HumanKingCanBeTaken() {
    st_.B = 0;
    if (Kyokumen.Gote.Attacks[HumanKingSquare()] > 0) {
        ComMove = TMove{};
        ComMatesFlag = true;
        return true;
    }
    return false;
}

// The first check from a square next to the human king that COM holds at least as
// strongly as the human.
bool TKyokumenKanri::ContactCheck() {
    const int kc = ComKingSquare();
    const int kh = HumanKingSquare();
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        if (m.Name == PieceName::ComOu) continue;
        ApplyCandidate(m);
        const auto& ah = Kyokumen.Sente.Attacks;
        const auto& ac = Kyokumen.Gote.Attacks;
        if (ah[kc] == 0 && ac[kh] > 0 && ac[m.To] > 0 && Kyokumen.Sente.KingZone[m.To] > 0 &&
            ac[m.To] >= ah[m.To]) {
            ComMove = RecordedCandidate();
            TakeBackCandidate();
            return true;
        }
        TakeBackCandidate();
    }
    return false;
}

// Move an attacked, undefended piece away, to a safe square or with a capture.
bool TKyokumenKanri::RescueHangingPiece() {
    st_.B = 0;
    const TMove lanceOut1 = ParseMoveText("1112com香");
    const TMove lanceOut9 = ParseMoveText("9192com香");
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        if (!(Kyokumen.Sente.Attacks[m.From] > 0 && Kyokumen.Gote.Attacks[m.From] == 0)) continue;
        int s = 0;
        if (IsHuman(Kyokumen.Board[m.To])) s = PieceValue(Kyokumen.Board[m.To]);
        const int tcBefore = Kyokumen.Gote.ThreatenedMaterial;
        ApplyCandidate(m);
        if (KingSafeAfter()) {
            const int ah = Kyokumen.Sente.Attacks[m.To];
            if (ah == 0) s = 500;
            if (st_.B > 0 && ah > 0) s = -500;
            if (Kyokumen.Gote.ThreatenedMaterial > tcBefore) s = -500;
            if (m == lanceOut1 || m == lanceOut9) s = -500;
            if (m.Name == PieceName::ComHi && m.FromRank() > m.ToRank()) s += (10 - m.ToRank()) * 10;
            if (m.Name == PieceName::ComFu || m.Name == PieceName::ComKyo || m.Name == PieceName::ComKei)
                s = -1000;
            if (ah == 1 && Kyokumen.Gote.Attacks[m.To] > 0) s = 500;
            if (Kyokumen.ValueAt[m.To] < Kyokumen.Gote.HangingMaterial) s = -500;
            if (m.Name == PieceName::ComFu) s = kExcluded;
            Exclude(m, s, kExcluded);
            if (AcceptsLater(s)) Accept(s, m);
        }
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// A defended piece attacked by cheaper pieces steps away.
bool TKyokumenKanri::EscapeCheaperAttackers() {
    st_.B = kExcluded;
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        const TComa* piece = Kyokumen.PieceOn(m.From);
        if (!(Kyokumen.Sente.Attacks[m.From] > 0 && Kyokumen.Gote.Attacks[m.From] > 0 && piece != nullptr &&
              piece->ThreatSum < Kyokumen.ValueAt[m.From]))
            continue;
        int s = 0;
        if (Kyokumen.Board[m.To] != PieceName::Empty) s = Kyokumen.ValueAt[m.To];
        ApplyCandidate(m);
        const auto& ah = Kyokumen.Sente.Attacks;
        const auto& ac = Kyokumen.Gote.Attacks;
        if (ah[m.To] == 0) s = 1000;
        if (Kyokumen.Gote.ThreatenedMaterial < Kyokumen.Sente.ThreatenedMaterial && ac[m.To] >= ah[m.To])
            s = 1500;
        if (Kyokumen.Gote.KingZone[m.From] > 0 && Kyokumen.Gote.KingZone[m.To] == 0) s = kExcluded;
        Exclude(m, s, kExcluded);
        if (KingSafeAfter() && AcceptsLater(s)) Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}

// A rook move after which the rook's next move could take something, as long as the rook
// stands safe in between. The score carries over between the second moves of one first move.
bool TKyokumenKanri::RookTwoStep() {
    st_.B = 0;
    SideToMove = 1;
    Kyokumen.ComToMove = true;
    Kyokumen.GenerateRookMoves();
    const TMoveList firstMoves = Kyokumen.Gote.RookMoves;
    for (int i = 0; i < firstMoves.Count; ++i) {
        const TMove first = firstMoves[i];
        const int tcBefore = Kyokumen.Gote.ThreatenedMaterial;
        ApplyCandidate(first);
        const TMove recorded = RecordedCandidate();
        if (KingSafeAfter() && Kyokumen.Gote.ThreatenedMaterial <= tcBefore) {
            Kyokumen.GenerateRookMoves();
            const TMoveList& second = Kyokumen.Gote.RookMoves;
            int s = 0;
            for (int j = 0; j < second.Count; ++j) {
                const int u = second[j].To;
                if (IsHuman(Kyokumen.Board[u])) s = PieceValue(Kyokumen.Board[u]);
                if (Kyokumen.Sente.Attacks[u] > 0) s = kExcluded;
                if (Kyokumen.Sente.Attacks[first.To] > 0) s = kExcluded;
                if (Kyokumen.Gote.KingZoneGuard == kKingZoneCollapsed) s = kExcluded;
                if (Kyokumen.Gote.HangingMaterial > 30) s = kExcluded;
                if (LosingMoves.Contains(first)) s = kExcluded;
                if (AcceptsEarlier(s)) Accept(s, first);
            }
        }
        Kyokumen.UndoMove(recorded);
    }
    return !ComMove.Empty();
}

// The defences of hanging pawns and pieces: one pass that defends the piece on a square the human attacks and
// COM does not.
void TKyokumenKanri::DefendPiecePass(int square, bool pawnRules) {
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        const int tcBefore = Kyokumen.Gote.ThreatenedMaterial;
        ApplyCandidate(m);
        if (KingSafeAfter() && Kyokumen.Gote.Attacks[square] > 0 && Kyokumen.Sente.Attacks[m.To] == 0) {
            int s = m.Name == PieceName::ComOu ? PieceValue(PieceName::ComFu) : PieceValue(m.Name);
            const int tc = Kyokumen.Gote.ThreatenedMaterial;
            if (tc > tcBefore) s = -500;
            if (tc > 60) s = -500;
            ExposureBishop(s);
            ExposureRook(s);
            if (pawnRules) {
                if (m.ToRank() < m.FromRank()) s -= 10;
            } else {
                if (m.Name == PieceName::ComHi) s = kExcluded;
            }
            Exclude(m, s, kExcluded);
            if (s > st_.B) Accept(s, m);
        }
        TakeBackCandidate();
    }
}

void TKyokumenKanri::DefendHangingOnes(int first, int last, bool pawnRules) {
    for (int index = first; index <= last; ++index) {
        const TComa& piece = Kyokumen.Gote.Pieces.List[index];
        const int p = piece.Square();
        if (piece.Captured || !(Kyokumen.Sente.Attacks[p] > 0 && Kyokumen.Gote.Attacks[p] == 0)) continue;
        DefendPiecePass(p, pawnRules);
    }
}

// Early in the game, cover pawns the human attacks and COM leaves undefended.
bool TKyokumenKanri::DefendHangingPawns() {
    if (Kyokumen.MoveCount >= 51) return false;
    st_.B = 0;
    DefendHangingOnes(11, 19, true);
    return !ComMove.Empty();
}

// The same as for the pawns, for the other pieces; an unpromoted rook is never the defender.
bool TKyokumenKanri::DefendHangingPieces() {
    st_.B = 0;
    DefendHangingOnes(0, kRookIndex, false);
    return !ComMove.Empty();
}

// Attack the human's bishop, rook or king with a move that raises the threat on the human
// by at least a hundred without raising it on COM.
bool TKyokumenKanri::AttackMajorPieces() {
    st_.B = 0;
    const TComa& bishop = Kyokumen.Sente.Pieces.List[kBishopIndex];
    const TComa& rook = Kyokumen.Sente.Pieces.List[kRookIndex];
    const TMoveList& moves = Kyokumen.Gote.Moves;
    for (int i = 0; i < moves.Count; ++i) {
        const TMove m = moves[i];
        const int thBefore = Kyokumen.Sente.ThreatenedMaterial;
        const int tcBefore = Kyokumen.Gote.ThreatenedMaterial;
        ApplyCandidate(m);
        const auto& ah = Kyokumen.Sente.Attacks;
        const auto& ac = Kyokumen.Gote.Attacks;
        int s = 0;
        if (!bishop.Captured && ac[bishop.Square()] > 0) s = 500;
        if (!rook.Captured && ac[rook.Square()] > 0) s = 700;
        if (ac[HumanKingSquare()] > 0) s = 1000;
        if (!KingSafeAfter()) s = kExcluded;
        if (ac[m.To] < ah[m.To]) s = -500;
        Exclude(m, s, kExcluded);
        if (s > 0 && Kyokumen.Gote.ThreatenedMaterial <= tcBefore && Kyokumen.Gote.KingZoneGuard >= 0 &&
            Kyokumen.Sente.ThreatenedMaterial > thBefore + 99 && s > st_.B)
            Accept(s, m);
        TakeBackCandidate();
    }
    return !ComMove.Empty();
}
