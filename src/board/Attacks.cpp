#include "board/Kyokumen.h"
#include "board/PieceRoutines.h"

#include <array>
#include <cstdint>
#include <initializer_list>

using board_detail::Dir;
using board_detail::Routine;

namespace {

using P = PieceName;

// The names that let a ray count one square past an own blocker: the blocker backs the slider up.
constexpr std::array kForwardBackers{P::Fu,      P::Kyo,     P::Gin,     P::Kin, P::Hi,      P::To,
                                     P::KyoNari, P::KeiNari, P::GinNari, P::Ryu, P::KakuNari};
constexpr std::array kBackwardBackers{P::Kin,     P::Hi,      P::To,  P::KyoNari,
                                      P::KeiNari, P::GinNari, P::Ryu, P::KakuNari};
constexpr std::array kSidewaysBackers{P::Kin, P::To, P::KyoNari, P::KeiNari, P::GinNari, P::Ryu, P::KakuNari};
constexpr std::array kDiagonalBackers{P::Gin, P::Kin, P::To, P::KyoNari, P::KeiNari, P::GinNari, P::Ryu};

using Mask = std::uint32_t; // one bit per PieceName code

template <std::size_t N> constexpr Mask MaskOf(const std::array<PieceName, N>& names, bool com) {
    Mask m = 0;
    for (PieceName p : names) m |= Mask(1) << unsigned(com ? OtherSide(p) : p);
    return m;
}

constexpr Mask kForward = MaskOf(kForwardBackers, false);
constexpr Mask kBackward = MaskOf(kBackwardBackers, false);
constexpr Mask kSideways = MaskOf(kSidewaysBackers, false);
constexpr Mask kDiagonal = MaskOf(kDiagonalBackers, false);
constexpr Mask kComForward = MaskOf(kForwardBackers, true);
constexpr Mask kComDiagonal = MaskOf(kDiagonalBackers, true);
// COM's rook and dragon: the human rook's lists hold no COM name, so nothing counts past a COM blocker.
constexpr Mask kNone = 0;

struct Ray {
    Dir D;
    Mask Backers;
};

struct AttackRoutine {
    std::array<Ray, 4> Rays;
    int RayCount;
    std::array<Dir, 8> Steps;
    int StepCount;
    bool RankLimit;
};

constexpr Dir kN{0, -1}, kS{0, +1}, kE{+1, 0}, kW{-1, 0};
constexpr Dir kNE{+1, -1}, kNW{-1, -1}, kSE{+1, +1}, kSW{-1, +1};
constexpr std::array<Dir, 8> kEight{{kNE, kN, kNW, kW, kE, kS, kSE, kSW}};

// Indexed by Routine; the order of the targets does not matter for counts.
constexpr std::array<AttackRoutine, 10> kHumanAttack{{
    {{}, 0, {{kN}}, 1, true},
    {{{{kN, kForward}}}, 1, {}, 0, false},
    {{}, 0, {{{+1, -2}, {-1, -2}}}, 2, true},
    {{}, 0, {{kNE, kN, kNW, kSW, kSE}}, 5, false},
    {{}, 0, {{kNE, kN, kNW, kW, kE, kS}}, 6, false},
    {{}, 0, kEight, 8, false},
    {{{{kNW, kDiagonal}, {kNE, kDiagonal}, {kSE, kDiagonal}, {kSW, kDiagonal}}}, 4, {}, 0, false},
    {{{{kN, kForward}, {kS, kBackward}, {kE, kSideways}, {kW, kSideways}}}, 4, {}, 0, false},
    {{{{kNW, kDiagonal}, {kNE, kDiagonal}, {kSE, kDiagonal}, {kSW, kDiagonal}}},
     4,
     {{kN, kS, kE, kW}},
     4,
     false},
    {{{{kN, kForward}, {kS, kBackward}, {kE, kSideways}, {kW, kSideways}}},
     4,
     {{kNW, kSW, kNE, kSE}},
     4,
     false},
}};

constexpr std::array<AttackRoutine, 10> kComAttack{{
    {{}, 0, {{kS}}, 1, true},
    {{{{kS, kComForward}}}, 1, {}, 0, false},
    {{}, 0, {{{+1, +2}, {-1, +2}}}, 2, true},
    {{}, 0, {{kSE, kS, kSW, kNW, kNE}}, 5, false},
    {{}, 0, {{kSE, kS, kSW, kW, kE, kN}}, 6, false},
    {{}, 0, kEight, 8, false},
    {{{{kNW, kComDiagonal}, {kNE, kComDiagonal}, {kSE, kComDiagonal}, {kSW, kComDiagonal}}}, 4, {}, 0, false},
    {{{{kN, kNone}, {kS, kNone}, {kE, kNone}, {kW, kNone}}}, 4, {}, 0, false},
    {{{{kNW, kComDiagonal}, {kNE, kComDiagonal}, {kSE, kComDiagonal}, {kSW, kComDiagonal}}},
     4,
     {{kN, kS, kE, kW}},
     4,
     false},
    {{{{kN, kNone}, {kS, kNone}, {kE, kNone}, {kW, kNone}}}, 4, {{kNW, kSW, kNE, kSE}}, 4, false},
}};

constexpr bool IsEnemy(PieceName b, bool com) {
    return b != PieceName::Empty && IsCom(b) != com;
}

} // namespace

void TKyokumen::ClearThreatSums() {
    for (TComa& p : Sente.Pieces.List) p.ThreatSum = 0;
    for (TComa& p : Gote.Pieces.List) p.ThreatSum = 0;
}

void TKyokumen::AddPieceAttacks(TComa& piece, bool com) {
    const Routine r = board_detail::RoutineOf(piece.CurrentName());
    const AttackRoutine& a = (com ? kComAttack : kHumanAttack)[std::size_t(r)];
    int* map = com ? Gote.Attacks.data() : Sente.Attacks.data();
    auto& enemies = com ? Sente.Pieces.List : Gote.Pieces.List;
    const int v = piece.Value;
    const int f0 = piece.File, r0 = piece.Rank;

    for (int i = 0; i < a.RayCount; ++i) {
        const Dir d = a.Rays[i].D;
        int f = f0, k = r0;
        for (int n = 0; n < 8; ++n) {
            f += d.dF;
            k += d.dR;
            if (!OnBoard(f, k)) break;
            const int sq = f * 10 + k;
            ++map[sq];
            const PieceName b = Board[sq];
            if (b == PieceName::Empty) continue;
            bool past;
            if (IsCom(b) != com) {
                enemies[PieceAt[sq]].ThreatSum += v;
                // The human's sliders see through COM's king, so it cannot step back along the line.
                past = !com && b == PieceName::ComOu;
            } else {
                past = (a.Rays[i].Backers >> unsigned(b)) & 1u;
            }
            if (past && OnBoard(f + d.dF, k + d.dR)) ++map[(f + d.dF) * 10 + k + d.dR];
            break;
        }
    }

    const bool king = r == Routine::King;
    int* zone = com ? Gote.KingZone.data() : Sente.KingZone.data();
    bool flight = false;
    for (int i = 0; i < a.StepCount; ++i) {
        const int f = f0 + a.Steps[i].dF, k = r0 + a.Steps[i].dR;
        if (!OnBoard(f, k)) continue;
        if (a.RankLimit && (com ? k > 7 : k < 3)) continue;
        const int sq = f * 10 + k;
        ++map[sq];
        const PieceName b = Board[sq];
        if (IsEnemy(b, com)) enemies[PieceAt[sq]].ThreatSum += v;
        if (king) {
            zone[sq] = 1;
            if (com && Sente.Attacks[sq] == 0 && !IsCom(b)) flight = true;
        }
    }
    if (king && com) piece.NoFlight = !flight;
}

void TKyokumen::ComputeHumanMaps() {
    Sente.LostMaterial = 0;
    Sente.Attacks.fill(0);
    Sente.KingZone.fill(0);
    for (TComa& p : Sente.Pieces.List) {
        if (p.Captured)
            Sente.LostMaterial += p.Value;
        else
            AddPieceAttacks(p, false);
    }
}

void TKyokumen::ComputeComMaps() {
    Gote.LostMaterial = 0;
    Gote.OverCoverage = 0;
    Gote.KingZoneGuard = 0;
    Gote.KingZonePressure = 0;
    Gote.Attacks.fill(0);
    Gote.KingZone.fill(0);
    for (TComa& p : Gote.Pieces.List) {
        if (p.Captured)
            Gote.LostMaterial += p.Value;
        else
            AddPieceAttacks(p, true);
    }
    const auto& ga = Gote.Attacks;
    const auto& sa = Sente.Attacks;
    const auto& zone = Gote.KingZone;
    bool outnumbered = false;
    for (int sq = 11; sq < kSquareCount; ++sq) {
        if (ga[sq] > 1) Gote.OverCoverage += ga[sq];
        if (zone[sq] > 0) {
            if (ga[sq] > 1) Gote.KingZoneGuard += ga[sq];
            Gote.KingZonePressure += 100 * sa[sq];
            outnumbered |= sa[sq] > ga[sq];
        }
    }
    // The human outnumbering COM next to its king outweighs any amount of cover elsewhere.
    if (outnumbered) Gote.KingZoneGuard = -500;
}

void TKyokumen::ComputeThreats() {
    Sente.ThreatenedMaterial = 0;
    Sente.HangingMaterial = 0;
    Gote.ThreatenedMaterial = 0;
    Gote.HangingMaterial = 0;
    for (const TComa& p : Sente.Pieces.List) {
        if (p.Captured) continue;
        const int s = p.Square();
        if (IsHuman(Board[s]) && Gote.Attacks[s] > 0)
            Sente.ThreatenedMaterial += Gote.Attacks[s] * ValueAt[s];
        if (Gote.Attacks[s] > 0 && Sente.Attacks[s] == 0) Sente.HangingMaterial += p.Value;
    }
    for (const TComa& p : Gote.Pieces.List) {
        if (p.Captured) continue;
        const int s = p.Square();
        if (IsCom(Board[s]) && Sente.Attacks[s] > 0) Gote.ThreatenedMaterial += Sente.Attacks[s] * ValueAt[s];
        if (Sente.Attacks[s] > 0 && Gote.Attacks[s] == 0) Gote.HangingMaterial += p.Value;
        if (p.Index == kKingIndex) Gote.ComKingSafe = Sente.Attacks[s] == 0;
    }
    if (Gote.Pieces.List[kKingIndex].Captured) Gote.ComKingSafe = false;
}
