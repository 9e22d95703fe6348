// COM's look-aheads. None of them is a general game-tree search: each asks one narrow question about
// the position and explores only the moves that matter to it, by applying and undoing real moves on
// the game's own position.
//
// Every node follows the same frame: evaluate, raise the ply, test for the end, generate and copy the
// moves of the side to move, then for each move decide whether to explore it (often by probing it:
// apply, read the position, undo), explore it (apply, hand the turn over, search the reply, hand it
// back, undo) and do the search's own bookkeeping. The ply-1 node closes its window on its own value.
#include "com/KyokumenKanri.h"
#include "com/Scores.h"
#include "game/Clock.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBishopValue = 150; // what a rescued piece's capture must be worth

using Search = int (TKyokumenKanri::*)(int, int);

int ComKingSquare(const TKyokumenKanri& g) {
    return g.Kyokumen.Gote.Pieces.List[kKingIndex].Square();
}

// The human attacks COM's king.
bool ComKingAttacked(const TKyokumenKanri& g) {
    return g.Kyokumen.Sente.Attacks[ComKingSquare(g)] > 0;
}

// |file difference| + |rank difference| below 5.
bool NearComKing(const TKyokumenKanri& g, int square) {
    const int king = ComKingSquare(g);
    const int files = std::abs(FileOf(square) - FileOf(king));
    const int ranks = std::abs(RankOf(square) - RankOf(king));
    return files + ranks < 5;
}

bool IsBishopName(PieceName p) {
    return p == PieceName::ComKaku || p == PieceName::ComKakuNari;
}
bool IsRookName(PieceName p) {
    return p == PieceName::ComHi || p == PieceName::ComRyu;
}

// The record the position keeps of the mover's last move: what takes that move back.
const TMove& MoverLastMove(const TKyokumenKanri& g, const TMove& m) {
    return IsCom(m.Name) ? g.Kyokumen.Gote.LastMove : g.Kyokumen.Sente.LastMove;
}

// Entry of a node: raises the ply; the ply-1 node closes its window on its own value.
int EnterNode(TKyokumenKanri& g, int v, int& A, int& B) {
    const int ply = ++g.SearchDepth;
    if (ply == 1) A = B = v;
    return ply;
}

// The node's own copy of the moves of the side to move: the position's lists are rebuilt by every
// node below. `recompute` also rebuilds the maps after generation; the threat sums are not cleared
// first, so a piece's ThreatSum counts twice until the next move is applied or undone.
void NodeMoves(TKyokumenKanri& g, TMoveList& out, bool recompute) {
    TKyokumen& k = g.Kyokumen;
    k.GenerateMoves();
    if (recompute) {
        k.ComputeHumanMaps();
        k.ComputeComMaps();
        k.ComputeThreats();
    }
    const TMoveList& list = g.SideToMove == 1 ? k.Gote.Moves : k.Sente.Moves;
    std::copy_n(list.Items.begin(), list.Count, out.Items.begin());
    out.Count = list.Count;
}

void Probe(TKyokumenKanri& g, const TMove& m) {
    g.Kyokumen.ApplyMove(m);
}
void Unprobe(TKyokumenKanri& g, const TMove& m) {
    g.Kyokumen.UndoMove(MoverLastMove(g, m));
}

// What a probe of a move reads once the move is played: the human's count on COM's king's square (where
// the king stands after the move), both sides' counts on the to-square (when toSquare; every reader
// needs them only while the king is attacked), and COM's lost material.
struct TProbeReading {
    int KingAttacks = 0;
    int HumanTo = 0;
    int ComTo = 0;
    int ComLost = 0;
    bool Played = false; // the move is still played: EndProbe takes it back or Explore goes on from it
};

// A probe that plays the move leaves it played: a move to be explored is explored from there, which
// gives the position that taking it back and playing it again would give.
//
// Below the root a probe counts without playing: nothing there reads what playing and taking back would
// leave behind (every map as a rebuild makes it, the last-move records). A node reads only the human's
// map, COM's lost material and COM's king's safety between its probes, which its generation and its
// own rebuild leave as a rebuild makes them, and its parent takes its move back, putting every map in
// place, before reading anything. At the root the search's caller reads the maps afterwards, so there
// the last move of the list is always played: it leaves the maps and records as the probes before it
// would have.
bool ProbePlays(int ply, int index, int count) {
    return ply == 1 && index + 1 == count;
}

TProbeReading ReadAfter(TKyokumenKanri& g, const TMove& m, bool play, bool toSquare) {
    TKyokumen& k = g.Kyokumen;
    TProbeReading r;
    if (play) {
        Probe(g, m);
        const int king = ComKingSquare(g);
        r.KingAttacks = k.Sente.Attacks[king];
        r.HumanTo = k.Sente.Attacks[m.To];
        r.ComTo = k.Gote.Attacks[m.To];
        r.ComLost = k.Gote.LostMaterial;
        r.Played = true;
        return r;
    }
    const int king = m.Name == PieceName::ComOu ? m.To : ComKingSquare(g);
    r.KingAttacks = k.AttackCountAfter(m, false, king);
    if (toSquare && r.KingAttacks > 0) {
        r.HumanTo = k.AttackCountAfter(m, false, m.To);
        r.ComTo = k.AttackCountAfter(m, true, m.To);
    }
    const PieceName taken = k.Board[m.To];
    r.ComLost = k.Gote.LostMaterial + (IsCom(taken) ? k.Gote.Pieces.List[k.PieceAt[m.To]].Value : 0);
    return r;
}

// Takes back a probe's move that is not explored.
void EndProbe(TKyokumenKanri& g, const TMove& m, const TProbeReading& r, bool explore) {
    if (r.Played && !explore) Unprobe(g, m);
}

// Explores m: plays it (unless the caller already did), hands the turn over, searches the reply with
// `child`, hands the turn back and takes the move back. m becomes the move as the position recorded
// it (the promoted name when it promoted). Returns the child's result.
int Explore(TKyokumenKanri& g, TMove& m, Search child, int A, int B, bool applied = false) {
    const bool com = IsCom(m.Name);
    if (!applied) g.Kyokumen.ApplyMove(m);
    g.SwitchSide();
    m = MoverLastMove(g, m);
    const int r = (g.*child)(A, B);
    if ((com && g.SideToMove == 0) || (!com && g.SideToMove == 1)) g.SwitchSide();
    --g.SearchDepth;
    g.Kyokumen.UndoMove(m);
    return r;
}

// The ThreatResult conventions of the king-danger and rescue searches, after every move of a node:
// a king lost below the root ends the node as lost, a king safe below ply 2 ends it as safe, and the
// root and ply 2 forget what one line told them before the next. True stops the node's loop.
bool ThreatResultStops(TKyokumenKanri& g, int ply, int& result) {
    if (g.ThreatResult == kLoss && ply > 1) {
        result = kLoss;
        return true;
    }
    if (g.ThreatResult == kLoss) g.ThreatResult = 0;
    if (ply > 2 && g.ThreatResult == kWin) {
        result = kWin;
        return true;
    }
    if (g.ThreatResult == kWin) g.ThreatResult = 0;
    return false;
}

// Terminal tests shared by the king-danger, rescue and threat searches: a king taken ends the line.
bool KingTaken(TKyokumenKanri& g, int& B, int& result) {
    if (g.Kyokumen.Sente.LostMaterial > kMostWithoutKing) {
        B = kWin;
        result = kWin;
        return true;
    }
    if (g.Kyokumen.Gote.LostMaterial > kMostWithoutKing) {
        B = kLoss;
        g.ThreatResult = kLoss;
        result = kLoss;
        return true;
    }
    return false;
}

// The rules for a COM move in the threat and escape searches; the numbers are the order in which the
// rules are read. Some rules set the node result (and B) whenever they apply, even when a later rule
// vetoes the move. Returns whether to explore the move.
bool ExploreGuardedComMove(TKyokumenKanri& g, const TMove& m, bool escape, int ply, int& result, int& B) {
    TKyokumen& k = g.Kyokumen;
    const TSente& human = k.Sente;
    const TGote& com = k.Gote;
    const bool king = m.Name == PieceName::ComOu;
    const int from = m.From;
    const int to = m.To;

    const int guardBefore = com.KingZoneGuard;
    const int pressureBefore = com.KingZonePressure;
    const int humanLostBefore = human.LostMaterial;
    const int hangingBefore = com.HangingMaterial;
    const bool kingAttackedBefore = ComKingAttacked(g);
    bool explore = false;
    bool veto = false;

    // 1. The king's own moves are what escapes are made of.
    if (king) explore = true;
    // 2. The king does not walk from a quiet square into an attacked one.
    if (king && human.Attacks[from] == 0 && human.Attacks[to] > 0) veto = true;
    // 3. A capture of more than a pawn while the king's side is well guarded. The major pieces are
    //    worth less as capturers: they are needed at home.
    const PieceName target = k.Board[to];
    if (target != PieceName::Empty && target != PieceName::Fu && guardBefore > 0) {
        explore = true;
        result = g.EvalComLoss() + k.ValueAt[to];
        if (IsBishopName(m.Name)) result -= 50;
        if (IsRookName(m.Name)) result -= 50;
        B = result;
    }
    // 4. Pawn takes pawn.
    if (target == PieceName::Fu && m.Name == PieceName::ComFu) {
        explore = true;
        result = g.EvalComLoss() + 10;
        B = result;
    }
    // 5. The probe begins; the king's square is now the one after the move.
    Probe(g, m);
    const int kingSquare = ComKingSquare(g);
    const bool kingAttacked = human.Attacks[kingSquare] > 0;
    // 6. At the root of the escape search: moves that ease the pressure on the king's side, or that
    //    strengthen its guard without leaving anything hanging.
    if (escape && ply == 1) {
        if (!kingAttacked && human.Attacks[to] < com.Attacks[to] && com.KingZonePressure < pressureBefore)
            explore = true;
        if (!explore && com.KingZoneGuard > guardBefore && com.HangingMaterial <= hangingBefore &&
            !kingAttacked && human.Attacks[to] <= com.Attacks[to] && to < 99 &&
            k.Board[Forward(Side::Gote, to)] != PieceName::Fu) {
            explore = true;
            result = g.EvalComLoss() + com.KingZoneGuard - com.KingZonePressure;
            B = result;
        }
    }
    // 7. The cover of the king's side collapses.
    if (guardBefore > kKingZoneCollapsed && !king && com.KingZoneGuard == kKingZoneCollapsed) veto = true;
    // 8. A piece next to the king steps out to a square it holds, not in front of a human pawn.
    if (!king && to < 99 && com.KingZone[from] > 0 && human.Attacks[to] <= com.Attacks[to] &&
        k.Board[Forward(Side::Gote, to)] != PieceName::Fu) {
        explore = true;
        veto = false;
        result =
            m.Name == PieceName::ComFu ? g.EvalComLoss() + 10 : g.EvalComLoss() + human.ThreatenedMaterial;
        result -= 500;
    }
    // 9. Threat search: a pawn next to the king meets a human pawn.
    if (!escape && m.Name == PieceName::ComFu && com.KingZone[from] > 0 &&
        human.Attacks[to] <= com.Attacks[to] && k.Board[Forward(Side::Gote, to)] == PieceName::Fu) {
        explore = true;
        veto = false;
        result = g.EvalComLoss() + 300;
        B = result;
    }
    // 10. Escape search: a capture that leaves nothing new hanging.
    if (escape && human.LostMaterial > humanLostBefore && com.HangingMaterial <= hangingBefore)
        explore = true;
    // 11. The king does not step where the square behind it is attacked twice.
    if (king && human.Attacks[Backward(Side::Gote, to)] > 1) veto = true;
    // 12. The king is left attacked.
    if (kingAttacked) veto = true;
    // 13. Escape search: the mover stands attacked and uncovered.
    if (escape && human.Attacks[to] > 0 && com.Attacks[to] == 0) veto = true;
    // 14. The probe ends.
    Unprobe(g, m);
    if (veto) explore = false;
    // 15. Threat search: a pawn move is always worth a look while the king is not attacked.
    if (!escape && m.Name == PieceName::ComFu && !kingAttackedBefore) explore = true;
    // 16. Escape search: the root never tries a move already known to lose the king.
    if (escape && ply == 1 && g.LosingMoves.Contains(m)) explore = false;
    return explore;
}

} // namespace

int TKyokumenKanri::EvalBalance() const {
    const TSente& human = Kyokumen.Sente;
    const TGote& com = Kyokumen.Gote;
    return human.LostMaterial - com.LostMaterial + com.KingZonePressure + human.ThreatenedMaterial / 2 -
           com.ThreatenedMaterial + human.HangingMaterial / 2 - com.HangingMaterial;
}

int TKyokumenKanri::EvalComLoss() const {
    return 2000 - Kyokumen.Gote.LostMaterial - Kyokumen.Gote.ThreatenedMaterial / 2;
}

// Which COM moves let the human take COM's king within a few plies. The answer travels up in
// ThreatResult and ends in LosingMoves; the node results are not used.
int TKyokumenKanri::KingDangerSearch(int A, int B) {
    int v = EvalComLoss();
    const int ply = EnterNode(*this, v, A, B);
    int result = 0;
    if (KingTaken(*this, B, result)) return result;
    if (ply > MaxDepth) {
        if (Kyokumen.Gote.ComKingSafe) {
            ThreatResult = kWin;
            v = kWin;
        }
        return v;
    }
    if (B > v) {
        B = v;
        ThreatResult = v;
    }
    result = v;

    TMoveList moves;
    NodeMoves(*this, moves, true);
    bool lastExplored = false;
    for (int i = 0; i < moves.Size(); ++i) {
        TMove m = moves[i];
        const bool comMove = IsCom(m.Name);
        bool explore = false;
        TProbeReading after;
        if (!comMove) {
            // Only human moves that land near COM's king and attack it (or take it) matter; a move
            // made while the king is already attacked tells nothing new unless it takes the king.
            if (NearComKing(*this, m.To)) {
                const bool attackedBefore = ComKingAttacked(*this);
                after = ReadAfter(*this, m, ply == 1, false);
                explore = after.KingAttacks > 0 || after.ComLost >= kKingValue;
                if (attackedBefore && after.ComLost < kKingValue) explore = false;
                EndProbe(*this, m, after, explore);
            }
        } else {
            // The root's moves are played anyway: the passes after the search play them again.
            after = ReadAfter(*this, m, ply == 1, false);
            explore = after.KingAttacks == 0;
            EndProbe(*this, m, after, explore);
            if (!explore && ply == 1) LosingMoves.Add(m);
        }
        lastExplored = explore;
        if (explore) {
            Explore(*this, m, &TKyokumenKanri::KingDangerSearch, A, B, after.Played);
            if (ply == 1 && comMove && ThreatResult == kLoss) LosingMoves.Add(m);
        }
        if (ThreatResultStops(*this, ply, result)) break;
        if (DeadlineTickMs() > Deadline) break;
    }
    // A COM node without a move that keeps its king safe: the king is lost on this line.
    if (SideToMove == 1 && !lastExplored) ThreatResult = kLoss;
    return result;
}

namespace {

// The rescue of COM's bishop or rook (piece `index`): which COM move saves it best. Explored moves
// are followed by the king-danger search, so a rescue never walks into a lost king.
int RescueSearch(TKyokumenKanri& g, int A, int B, int index) {
    int v = g.EvalComLoss();
    const int ply = EnterNode(g, v, A, B);
    int result = 0;
    if (KingTaken(g, B, result)) return result;
    if (ply > g.MaxDepth) return v;
    result = v;

    const TComa& piece = g.Kyokumen.Gote.Pieces.List[index];
    const auto isRescued = index == kBishopIndex ? IsBishopName : IsRookName;
    TMoveList moves;
    NodeMoves(g, moves, true);
    bool lastExplored = false;
    for (int i = 0; i < moves.Size(); ++i) {
        TMove m = moves[i];
        const bool comMove = IsCom(m.Name);
        bool explore = false;
        if (!comMove) {
            // The human presses the piece from a square it holds, or takes it.
            Probe(g, m);
            explore =
                (g.Kyokumen.Sente.Attacks[m.To] >= g.Kyokumen.Gote.Attacks[m.To] && piece.ThreatSum > 0) ||
                piece.Captured;
            Unprobe(g, m);
        } else if (!isRescued(m.Name)) {
            // Another piece shields the rescued one.
            Probe(g, m);
            explore = piece.ThreatSum == 0;
            Unprobe(g, m);
        } else {
            // The piece itself takes something worth a bishop, or steps out of attack; never at the
            // price of the king.
            explore = g.Kyokumen.ValueAt[m.To] >= kBishopValue;
            Probe(g, m);
            if (piece.ThreatSum == 0) explore = true;
            if (ComKingAttacked(g)) explore = false;
            Unprobe(g, m);
        }
        lastExplored = explore;
        if (explore) {
            const int r = Explore(g, m, &TKyokumenKanri::KingDangerSearch, A, B);
            if (ply == 1 && comMove && r > 0 && r > g.BestRootScore) {
                g.ComMove = m;
                g.BestRootScore = r;
            }
        }
        if (ThreatResultStops(g, ply, result)) break;
    }
    // A human node without a pressing move: the piece is safe on this line.
    if (g.SideToMove == 0 && !lastExplored) g.ThreatResult = kWin;
    return result;
}

} // namespace

int TKyokumenKanri::BishopRescueSearch(int A, int B) {
    return RescueSearch(*this, A, B, kBishopIndex);
}

int TKyokumenKanri::RookRescueSearch(int A, int B) {
    return RescueSearch(*this, A, B, kRookIndex);
}

// Which COM move gives the best material balance a few plies on. The window is narrow: a node whose
// own value leaves it returns at once, and the root stops at the first move that does worse than the
// root position itself.
int TKyokumenKanri::BalanceSearch(int A, int B) {
    const int v = EvalBalance();
    const int ply = EnterNode(*this, v, A, B);
    if (ply > 1 && v < A) return v;
    if (ply > 1 && v > B) return v;
    if (Kyokumen.Sente.LostMaterial > kMostWithoutKing) return kWin;
    if (Kyokumen.Gote.LostMaterial > kMostWithoutKing) return kLoss;
    if (ply > MaxDepth) return v;
    int result = v;

    TMoveList moves;
    NodeMoves(*this, moves, false);
    for (int i = 0; i < moves.Size(); ++i) {
        TMove m = moves[i];
        bool applied = false;
        if (IsCom(m.Name)) {
            // COM never plays a move known to lose its king, nor one that leaves it attacked.
            Kyokumen.ApplyMove(m);
            if (LosingMoves.Contains(m) || Kyokumen.Gote.ThreatenedMaterial > kMostWithoutKing) {
                Unprobe(*this, m);
                continue;
            }
            applied = true;
        }
        const int r = Explore(*this, m, &TKyokumenKanri::BalanceSearch, A, B, applied);
        if (ply == 1 && r >= A && r > BestRootScore) {
            ComMove = m;
            BestRootScore = r;
        }
        if (r < A) {
            result = r;
            break;
        }
        if (r > B) {
            result = r;
            B = r;
        }
    }
    return result;
}

// Whether the human can force the capture of COM's king by attacking moves, the human to move at the
// root.
int TKyokumenKanri::ThreatSearch(int A, int B) {
    const int v = EvalComLoss();
    const int ply = EnterNode(*this, v, A, B);
    int result = 0;
    if (KingTaken(*this, B, result)) return result;
    if (ply > MaxDepth) return v;
    if (B > v) {
        B = v;
        ThreatResult = v;
    }

    TMoveList moves;
    NodeMoves(*this, moves, false);
    result = v;
    bool lastExplored = false;
    for (int i = 0; i < moves.Size(); ++i) {
        TMove m = moves[i];
        const bool comMove = IsCom(m.Name);
        bool explore = false;
        TProbeReading after;
        if (!comMove) {
            // The human attacks the king from a square it holds at least as strongly as COM, or takes
            // the king; at the root, every move of a piece near the king is looked at.
            const bool attackedBefore = ComKingAttacked(*this);
            after = ReadAfter(*this, m, ProbePlays(ply, i, moves.Size()), true);
            explore = (after.KingAttacks > 0 && after.HumanTo >= after.ComTo) || after.ComLost >= kKingValue;
            if (attackedBefore) explore = false;
            if (ply == 1 && NearComKing(*this, m.From)) explore = true;
            EndProbe(*this, m, after, explore);
        } else {
            explore = ExploreGuardedComMove(*this, m, false, ply, result, B);
        }
        lastExplored = explore;
        if (explore) {
            const int r = Explore(*this, m, &TKyokumenKanri::ThreatSearch, A, B, after.Played);
            if (ply == 1 && comMove && r > 0 && r > BestRootScore && ThreatResult > 0) {
                ComMove = m;
                BestRootScore = r;
            }
        }
        if (ThreatResult == kLoss) {
            result = kLoss;
            break;
        }
        if (ThreatResult == kWin) {
            if (ply > 1) result = kWin;
            break;
        }
    }
    if (!lastExplored) {
        if (SideToMove == 1 && ComKingAttacked(*this)) ThreatResult = kLoss;
        if (SideToMove == 0 && Kyokumen.Gote.ComKingSafe) ThreatResult = kWin;
    }
    return result;
}

// COM's king is in danger: which COM move keeps it safe, or failing that holds out longest. A king
// lost later scores higher, so COM prefers the line on which it survives longest.
int TKyokumenKanri::EscapeSearch(int A, int B) {
    const int v = EvalComLoss();
    const int ply = EnterNode(*this, v, A, B);
    if (ply == 1) ThreatResult = 0;
    if (Kyokumen.Sente.LostMaterial > kMostWithoutKing) {
        B = kWin;
        return kWin;
    }
    if (Kyokumen.Gote.LostMaterial > kMostWithoutKing) {
        ThreatResult = kLoss - (ply - 1) * 100;
        A = ThreatResult;
        return ThreatResult;
    }
    // While the king is attacked the ply limit does not stop the search.
    if (Kyokumen.Gote.ComKingSafe && ply > MaxDepth) {
        ThreatResult = kWin;
        return v;
    }

    TMoveList moves;
    NodeMoves(*this, moves, false);
    int result = v;
    bool lastExplored = false;
    for (int i = 0; i < moves.Size(); ++i) {
        TMove m = moves[i];
        const bool comMove = IsCom(m.Name);
        bool explore = false;
        TProbeReading after;
        if (!comMove) {
            // The human takes something worth more than the taker, or attacks the king from a square
            // it holds at least as strongly as COM, or takes the king.
            const bool attackedBefore = ComKingAttacked(*this);
            explore = Kyokumen.ValueAt[m.To] > Kyokumen.ValueAt[m.From];
            after = ReadAfter(*this, m, ProbePlays(ply, i, moves.Size()), true);
            if ((after.KingAttacks > 0 && after.HumanTo >= after.ComTo) || after.ComLost >= kKingValue)
                explore = true;
            if (attackedBefore) explore = false;
            EndProbe(*this, m, after, explore);
        } else {
            explore = ExploreGuardedComMove(*this, m, true, ply, result, B);
        }
        lastExplored = explore;
        if (explore) {
            const int r = Explore(*this, m, &TKyokumenKanri::EscapeSearch, A, B, after.Played);
            if (ply == 1 && comMove && ThreatResult > kLoss && ThreatResult > BestRootScore) {
                ComMove = m;
                BestRootScore = ThreatResult;
            }
            if (r != 0 && r < A) A = r;
            if (r > B) B = r;
        }
        if (ply == 1) ThreatResult = 0;
        if (ThreatResult < 0 && ply > 1) {
            result = A = B = ThreatResult;
            break;
        }
        if (ThreatResult == kWin && ply > 1) {
            result = B;
            if (explore) break;
        }
    }
    if (!lastExplored) {
        // COM has no escape here: the later the king is lost, the better the line.
        if (SideToMove == 1 && ComKingAttacked(*this)) {
            ThreatResult = kLoss + (ply > 3 ? ply * 100 : 0);
            result = ThreatResult;
        }
        // The human has no attacking reply while the king is safe.
        if (SideToMove == 0 && Kyokumen.Gote.ComKingSafe) {
            ThreatResult = kWin;
            result = kWin;
        }
    }
    return result;
}
