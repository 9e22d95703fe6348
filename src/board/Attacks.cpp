#include "board/Kyokumen.h"
#include "board/MapCache.h"
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

using board_detail::DirId;
using board_detail::kRays;
using board_detail::MakeStepTable;
using board_detail::SquareList;
using board_detail::SquareTable;

struct Ray {
    DirId D;
    Mask Backers;
};

// A routine's attacks: its rays, and the squares its steps reach from every square.
struct AttackRoutine {
    std::array<Ray, 4> Rays;
    int RayCount;
    const SquareTable* Steps; // nullptr for a routine without steps
};

constexpr Dir kN{0, -1}, kS{0, +1}, kE{+1, 0}, kW{-1, 0};
constexpr Dir kNE{+1, -1}, kNW{-1, -1}, kSE{+1, +1}, kSW{-1, +1};
constexpr std::array<Dir, 8> kEight{{kNE, kN, kNW, kW, kE, kS, kSE, kSW}};

// The step targets by routine; the order of the targets does not matter for counts.
template <bool Com> constexpr std::array<SquareTable, board_detail::kRoutineCount> MakeAttackSteps() {
    constexpr Dir fwd = Com ? kS : kN;
    const auto fill = [](auto steps, int n, bool rankLimit) {
        return MakeStepTable(steps, n, rankLimit, Com);
    };
    std::array<SquareTable, board_detail::kRoutineCount> t{};
    t[std::size_t(Routine::Pawn)] = fill(std::array<Dir, 1>{fwd}, 1, true);
    t[std::size_t(Routine::Knight)] = fill(
        Com ? std::array<Dir, 2>{{{+1, +2}, {-1, +2}}} : std::array<Dir, 2>{{{+1, -2}, {-1, -2}}}, 2, true);
    t[std::size_t(Routine::Silver)] = fill(Com ? std::array<Dir, 5>{{kSE, kS, kSW, kNW, kNE}}
                                               : std::array<Dir, 5>{{kNE, kN, kNW, kSW, kSE}},
                                           5, false);
    t[std::size_t(Routine::Gold)] = fill(Com ? std::array<Dir, 6>{{kSE, kS, kSW, kW, kE, kN}}
                                             : std::array<Dir, 6>{{kNE, kN, kNW, kW, kE, kS}},
                                         6, false);
    t[std::size_t(Routine::King)] = fill(kEight, 8, false);
    t[std::size_t(Routine::Horse)] = fill(std::array<Dir, 4>{{kN, kS, kE, kW}}, 4, false);
    t[std::size_t(Routine::Dragon)] = fill(std::array<Dir, 4>{{kNW, kSW, kNE, kSE}}, 4, false);
    return t;
}

constexpr auto kHumanSteps = MakeAttackSteps<false>();
constexpr auto kComSteps = MakeAttackSteps<true>();

constexpr const SquareTable* HumanSteps(Routine r) {
    return &kHumanSteps[std::size_t(r)];
}
constexpr const SquareTable* ComSteps(Routine r) {
    return &kComSteps[std::size_t(r)];
}

using board_detail::kDirE;
using board_detail::kDirN;
using board_detail::kDirNE;
using board_detail::kDirNW;
using board_detail::kDirS;
using board_detail::kDirSE;
using board_detail::kDirSW;
using board_detail::kDirW;

// Indexed by Routine.
constexpr std::array<AttackRoutine, 10> kHumanAttack{{
    {{}, 0, HumanSteps(Routine::Pawn)},
    {{{{kDirN, kForward}}}, 1, nullptr},
    {{}, 0, HumanSteps(Routine::Knight)},
    {{}, 0, HumanSteps(Routine::Silver)},
    {{}, 0, HumanSteps(Routine::Gold)},
    {{}, 0, HumanSteps(Routine::King)},
    {{{{kDirNW, kDiagonal}, {kDirNE, kDiagonal}, {kDirSE, kDiagonal}, {kDirSW, kDiagonal}}}, 4, nullptr},
    {{{{kDirN, kForward}, {kDirS, kBackward}, {kDirE, kSideways}, {kDirW, kSideways}}}, 4, nullptr},
    {{{{kDirNW, kDiagonal}, {kDirNE, kDiagonal}, {kDirSE, kDiagonal}, {kDirSW, kDiagonal}}},
     4,
     HumanSteps(Routine::Horse)},
    {{{{kDirN, kForward}, {kDirS, kBackward}, {kDirE, kSideways}, {kDirW, kSideways}}},
     4,
     HumanSteps(Routine::Dragon)},
}};

constexpr std::array<AttackRoutine, 10> kComAttack{{
    {{}, 0, ComSteps(Routine::Pawn)},
    {{{{kDirS, kComForward}}}, 1, nullptr},
    {{}, 0, ComSteps(Routine::Knight)},
    {{}, 0, ComSteps(Routine::Silver)},
    {{}, 0, ComSteps(Routine::Gold)},
    {{}, 0, ComSteps(Routine::King)},
    {{{{kDirNW, kComDiagonal}, {kDirNE, kComDiagonal}, {kDirSE, kComDiagonal}, {kDirSW, kComDiagonal}}},
     4,
     nullptr},
    {{{{kDirN, kNone}, {kDirS, kNone}, {kDirE, kNone}, {kDirW, kNone}}}, 4, nullptr},
    {{{{kDirNW, kComDiagonal}, {kDirNE, kComDiagonal}, {kDirSE, kComDiagonal}, {kDirSW, kComDiagonal}}},
     4,
     ComSteps(Routine::Horse)},
    {{{{kDirN, kNone}, {kDirS, kNone}, {kDirE, kNone}, {kDirW, kNone}}}, 4, ComSteps(Routine::Dragon)},
}};

// A piece of the other side stands on b.
template <bool Com> constexpr bool IsEnemy(PieceName b) {
    return Com ? IsHuman(b) : IsCom(b);
}

// One side's attack counting. Every square a piece reaches counts once in its side's map, and every
// enemy piece it reaches has the attacker's value added to its threat sum. A ray stops at the first
// piece; it counts one square further when an own piece of the ray's backer list stands in the way,
// or when the human's ray meets COM's king. The kings also mark their zone; COM's king notes whether
// it has a square to flee to (one the human does not attack and COM does not occupy).
template <bool Com> class AttackCounter {
public:
    explicit AttackCounter(TKyokumen& k)
        : k_(k), map_(Com ? k.Gote.Attacks.data() : k.Sente.Attacks.data()),
          enemies_(Com ? k.Sente.Pieces.List.data() : k.Gote.Pieces.List.data()), board_(k.Board.data()),
          pieceAt_(k.PieceAt.data()) {}

    // Returns the zone squares for a king, nullptr for any other piece.
    [[gnu::always_inline]] const SquareList* Add(TComa& piece) {
        const Routine r = board_detail::RoutineOf(piece.CurrentName());
        const AttackRoutine& a = (Com ? kComAttack : kHumanAttack)[std::size_t(r)];
        const std::size_t from = std::size_t(piece.File * 10 + piece.Rank);
        const int v = piece.Value;
        switch (r) {
        case Routine::Pawn:
        case Routine::Knight:
        case Routine::Silver:
        case Routine::Gold:
            Steps((*a.Steps)[from], v);
            return nullptr;
        case Routine::Lance:
            Slide(a.Rays[0], from, v);
            return nullptr;
        case Routine::Bishop:
        case Routine::Rook:
            for (int i = 0; i < 4; ++i) Slide(a.Rays[std::size_t(i)], from, v);
            return nullptr;
        case Routine::Horse:
        case Routine::Dragon:
            for (int i = 0; i < 4; ++i) Slide(a.Rays[std::size_t(i)], from, v);
            Steps((*a.Steps)[from], v);
            return nullptr;
        case Routine::King:
            return King(piece, (*a.Steps)[from], v);
        }
        return nullptr;
    }

private:
    TKyokumen& k_;
    int* const map_;
    TComa* const enemies_;
    const PieceName* const board_;
    const int* const pieceAt_;

    // The lists are read into locals first: the counts written through int pointers could otherwise
    // be taken to change them.
    void Steps(const SquareList& steps, int v) {
        const int n = steps.Count;
        const std::uint8_t* const squares = steps.Squares.data();
        for (int j = 0; j < n; ++j) {
            const int sq = squares[j];
            ++map_[sq];
            if (IsEnemy<Com>(board_[sq])) enemies_[pieceAt_[sq]].ThreatSum += v;
        }
    }

    void Slide(const Ray& ray, std::size_t from, int v) {
        const SquareList& line = kRays[ray.D][from];
        const int n = line.Count;
        const std::uint8_t* const squares = line.Squares.data();
        for (int j = 0; j < n; ++j) {
            const int sq = squares[j];
            ++map_[sq];
            const PieceName b = board_[sq];
            if (b == PieceName::Empty) continue;
            bool past;
            if (IsEnemy<Com>(b)) {
                enemies_[pieceAt_[sq]].ThreatSum += v;
                // The human's sliders see through COM's king, so it cannot step back along the line.
                past = !Com && b == PieceName::ComOu;
            } else {
                past = (ray.Backers >> unsigned(b)) & 1u;
            }
            if (past && j + 1 < n) ++map_[squares[j + 1]];
            return;
        }
    }

    const SquareList* King(TComa& piece, const SquareList& steps, int v) {
        int* const zone = Com ? k_.Gote.KingZone.data() : k_.Sente.KingZone.data();
        bool flight = false;
        const int n = steps.Count;
        const std::uint8_t* const squares = steps.Squares.data();
        for (int j = 0; j < n; ++j) {
            const int sq = squares[j];
            ++map_[sq];
            const PieceName b = board_[sq];
            if (IsEnemy<Com>(b)) enemies_[pieceAt_[sq]].ThreatSum += v;
            zone[sq] = 1;
            if (Com && k_.Sente.Attacks[std::size_t(sq)] == 0 && !IsCom(b)) flight = true;
        }
        if (Com) piece.NoFlight = !flight;
        return &steps;
    }
};

// Read backwards: which pieces reach a square. A piece steps onto it from a neighbouring square or a
// knight's jump away; a slider reaches it along a line when it is the first piece on that line, or
// when the first piece stands right next to the square and the slider behind it counts one square
// past it.
struct OriginList {
    std::uint8_t Count = 0;
    std::array<std::uint8_t, 12> Squares{};
};

constexpr std::array<OriginList, kMapSize> kStepOrigins = [] {
    std::array<OriginList, kMapSize> t{};
    constexpr std::array<Dir, 12> offsets{{{+1, -1},
                                           {0, -1},
                                           {-1, -1},
                                           {-1, 0},
                                           {+1, 0},
                                           {0, +1},
                                           {+1, +1},
                                           {-1, +1},
                                           {+1, -2},
                                           {-1, -2},
                                           {+1, +2},
                                           {-1, +2}}};
    for (int sq = 0; sq < kMapSize; ++sq) {
        OriginList& l = t[std::size_t(sq)];
        for (const Dir& d : offsets) {
            const int f = sq / 10 + d.dF, k = sq % 10 + d.dR;
            if (OnBoard(f, k)) l.Squares[l.Count++] = std::uint8_t(f * 10 + k);
        }
    }
    return t;
}();

// The opposite of each direction.
constexpr std::array<DirId, board_detail::kDirCount> kOpposite{
    board_detail::kDirS,  board_detail::kDirN,  board_detail::kDirW,  board_detail::kDirE,
    board_detail::kDirSW, board_detail::kDirSE, board_detail::kDirNW, board_detail::kDirNE};

// A routine's ray in one direction, if it has one.
const Ray* RayTowards(const AttackRoutine& a, DirId d) {
    for (int i = 0; i < a.RayCount; ++i)
        if (a.Rays[std::size_t(i)].D == d) return &a.Rays[std::size_t(i)];
    return nullptr;
}

template <bool Com> constexpr bool IsOwn(PieceName b) {
    return Com ? IsCom(b) : IsHuman(b);
}

// How many pieces of the side count `target` in their map, on the board `at` gives.
template <bool Com, class BoardAt> int CountAttackers(int target, const BoardAt& at) {
    const auto& routines = Com ? kComAttack : kHumanAttack;
    int count = 0;
    const OriginList& origins = kStepOrigins[std::size_t(target)];
    for (int i = 0; i < origins.Count; ++i) {
        const int from = origins.Squares[std::size_t(i)];
        const PieceName b = at(from);
        if (!IsOwn<Com>(b)) continue;
        const SquareTable* steps = routines[std::size_t(board_detail::RoutineOf(b))].Steps;
        if (!steps) continue;
        const SquareList& l = (*steps)[std::size_t(from)];
        for (int j = 0; j < l.Count; ++j)
            if (l.Squares[std::size_t(j)] == target) ++count;
    }
    for (int d = 0; d < board_detail::kDirCount; ++d) {
        const SquareList& line = kRays[std::size_t(d)][std::size_t(target)];
        const DirId back = kOpposite[std::size_t(d)];
        int j = 0;
        while (j < line.Count && at(line.Squares[std::size_t(j)]) == PieceName::Empty) ++j;
        if (j == line.Count) continue;
        const PieceName first = at(line.Squares[std::size_t(j)]);
        if (IsOwn<Com>(first) && RayTowards(routines[std::size_t(board_detail::RoutineOf(first))], back))
            ++count;
        if (j != 0) continue;
        // The first piece stands next to the target: a slider behind it may count one square past it.
        const bool throughKing = !Com && first == PieceName::ComOu;
        if (!throughKing && !IsOwn<Com>(first)) continue;
        ++j;
        while (j < line.Count && at(line.Squares[std::size_t(j)]) == PieceName::Empty) ++j;
        if (j == line.Count) continue;
        const PieceName second = at(line.Squares[std::size_t(j)]);
        if (!IsOwn<Com>(second)) continue;
        const Ray* ray = RayTowards(routines[std::size_t(board_detail::RoutineOf(second))], back);
        if (ray && (throughKing || ((ray->Backers >> unsigned(first)) & 1u))) ++count;
    }
    return count;
}

} // namespace

int TKyokumen::AttackCountAfter(const TMove& m, bool com, int square) const {
    const bool moverCom = ComToMove;
    const TComa* mover = CheckMove(m);
    const bool inZone = moverCom ? m.ToRank() > 6 : m.ToRank() < 4;
    const PieceName name = mover->PromotedAt == 0 && inZone ? mover->PromotedName : mover->CurrentName();
    if (square < 0 || square >= kMapSize || !OnBoard(FileOf(square), RankOf(square))) return 0;
    // Every piece on the board stands on its square under its current name, so the board after the
    // move tells all: the from-square empty, the mover on the to-square under its new name.
    auto at = [&](int sq) {
        return sq == m.From ? PieceName::Empty : sq == m.To ? name : Board[std::size_t(sq)];
    };
    return com ? CountAttackers<true>(square, at) : CountAttackers<false>(square, at);
}

namespace {

void ScaleThreatSums(TComa20mai& side, int factor) {
    for (TComa& p : side.List) p.ThreatSum *= factor;
}

// The square whose zone a king marks: its own, or none once it has been taken.
int ZoneSquare(const TComa20mai& side) {
    const TComa& king = side.List[kKingIndex];
    return king.Captured ? -1 : king.Square();
}

} // namespace

void TKyokumen::ClearThreatSums() {
    for (TComa& p : Sente.Pieces.List) p.ThreatSum = 0;
    for (TComa& p : Gote.Pieces.List) p.ThreatSum = 0;
    humanThreatScale_ = 0;
    comThreatScale_ = 0;
}

void TKyokumen::AddPieceAttacks(TComa& piece, bool com) {
    MapsUntracked();
    zoneSquare_ = {-2, -2};
    if (com)
        AttackCounter<true>(*this).Add(piece);
    else
        AttackCounter<false>(*this).Add(piece);
}

void TKyokumen::ComputeHumanMaps() {
    // The human's map is a rebuild's already: only COM's threat sums grow, by what they hold.
    if (tracked_ && comThreatScale_ == 1) {
        ScaleThreatSums(Gote.Pieces, 2);
        comThreatScale_ = 2;
        return;
    }
    Sente.LostMaterial = 0;
    Sente.Attacks.fill(0);
    Sente.KingZone.fill(0);
    AttackCounter<false> counter(*this);
    for (TComa& p : Sente.Pieces.List) {
        if (p.Captured)
            Sente.LostMaterial += p.Value;
        else
            counter.Add(p);
    }
    zoneSquare_[0] = ZoneSquare(Sente.Pieces);
    if (tracked_ && comThreatScale_ < 100)
        ++comThreatScale_;
    else
        MapsUntracked();
}

void TKyokumen::ComputeComMaps() {
    // COM's map is a rebuild's but for what generation added: put the copy back; the human's threat
    // sums grow by what they hold.
    if (tracked_ && humanThreatScale_ == 1) {
        if (generationCounts_) Gote.Attacks = comAttacksBeforeGeneration_;
        generationCounts_ = false;
        ScaleThreatSums(Sente.Pieces, 2);
        humanThreatScale_ = 2;
        return;
    }
    Gote.LostMaterial = 0;
    Gote.KingZoneGuard = 0;
    Gote.KingZonePressure = 0;
    Gote.Attacks.fill(0);
    Gote.KingZone.fill(0);
    // The king's zone is exactly the squares its steps reach.
    const SquareList* zone = nullptr;
    AttackCounter<true> counter(*this);
    for (TComa& p : Gote.Pieces.List) {
        if (p.Captured)
            Gote.LostMaterial += p.Value;
        else if (const SquareList* z = counter.Add(p))
            zone = z;
    }
    const auto& ga = Gote.Attacks;
    const auto& sa = Sente.Attacks;
    // Only squares hold counts, so the whole map can be summed, which the compiler does in vector registers.
    int over = 0;
    for (int sq = 0; sq < kMapSize; ++sq) over += ga[sq] > 1 ? ga[sq] : 0;
    Gote.OverCoverage = over;
    bool outnumbered = false;
    if (zone) {
        for (int j = 0; j < zone->Count; ++j) {
            const int sq = zone->Squares[std::size_t(j)];
            if (ga[sq] > 1) Gote.KingZoneGuard += ga[sq];
            Gote.KingZonePressure += 100 * sa[sq];
            outnumbered |= sa[sq] > ga[sq];
        }
    }
    // The human outnumbering COM next to its king outweighs any amount of cover elsewhere.
    if (outnumbered) Gote.KingZoneGuard = kKingZoneCollapsed;
    zoneSquare_[1] = ZoneSquare(Gote.Pieces);
    generationCounts_ = false;
    if (tracked_ && humanThreatScale_ < 100)
        ++humanThreatScale_;
    else
        MapsUntracked();
}

void TKyokumen::ComputeThreats() {
    // The sums follow from the maps alone; maps and sums that are a rebuild's give them again.
    if (tracked_ && sumsExact_ && !generationCounts_) return;
    if (tracked_) sumsExact_ = !generationCounts_;
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

namespace {

// Whole maps at a time, which the compiler does in vector registers.
void Narrow(const int* __restrict from, std::uint8_t* __restrict to) {
    for (int sq = 0; sq < kMapSize; ++sq) to[sq] = std::uint8_t(from[sq]);
}

void Widen(const std::uint8_t* __restrict from, int* __restrict to) {
    for (int sq = 0; sq < kMapSize; ++sq) to[sq] = from[sq];
}

// Makes `zone` mark the king steps from `square` (none for -1), given that it marks those from `marked`
// (-2: not known). Both sides' kings step alike.
void MarkZone(std::array<int, kMapSize>& zone, int& marked, int square) {
    if (marked == square) return;
    const SquareTable& steps = kHumanSteps[std::size_t(Routine::King)];
    if (marked == -2) {
        zone.fill(0);
    } else if (marked >= 0) {
        const SquareList& z = steps[std::size_t(marked)];
        for (int j = 0; j < z.Count; ++j) zone[z.Squares[std::size_t(j)]] = 0;
    }
    if (square >= 0) {
        const SquareList& z = steps[std::size_t(square)];
        for (int j = 0; j < z.Count; ++j) zone[z.Squares[std::size_t(j)]] = 1;
    }
    marked = square;
}

} // namespace

void TKyokumen::SaveMaps(TMapState& s) const {
    Narrow(Sente.Attacks.data(), s.SenteAttacks.data());
    Narrow(Gote.Attacks.data(), s.GoteAttacks.data());
    for (std::size_t i = 0; i < 20; ++i) {
        s.ThreatSums[i] = Sente.Pieces.List[i].ThreatSum;
        s.ThreatSums[i + 20] = Gote.Pieces.List[i].ThreatSum;
    }
    s.SenteLost = Sente.LostMaterial;
    s.SenteThreatened = Sente.ThreatenedMaterial;
    s.SenteHanging = Sente.HangingMaterial;
    s.GoteLost = Gote.LostMaterial;
    s.GoteThreatened = Gote.ThreatenedMaterial;
    s.GoteHanging = Gote.HangingMaterial;
    s.OverCoverage = Gote.OverCoverage;
    s.KingZonePressure = Gote.KingZonePressure;
    s.KingZoneGuard = Gote.KingZoneGuard;
    s.ComKingNoFlight = Gote.Pieces.List[kKingIndex].NoFlight;
    s.ComKingSafe = Gote.ComKingSafe;
}

void TKyokumen::RestoreMaps(const TMapState& s) {
    Widen(s.SenteAttacks.data(), Sente.Attacks.data());
    Widen(s.GoteAttacks.data(), Gote.Attacks.data());
    // A king's zone is the squares its steps reach; it changes only when the king moves.
    MarkZone(Sente.KingZone, zoneSquare_[0], ZoneSquare(Sente.Pieces));
    MarkZone(Gote.KingZone, zoneSquare_[1], ZoneSquare(Gote.Pieces));
    for (std::size_t i = 0; i < 20; ++i) {
        Sente.Pieces.List[i].ThreatSum = s.ThreatSums[i];
        Gote.Pieces.List[i].ThreatSum = s.ThreatSums[i + 20];
    }
    Sente.LostMaterial = s.SenteLost;
    Sente.ThreatenedMaterial = s.SenteThreatened;
    Sente.HangingMaterial = s.SenteHanging;
    Gote.LostMaterial = s.GoteLost;
    Gote.ThreatenedMaterial = s.GoteThreatened;
    Gote.HangingMaterial = s.GoteHanging;
    Gote.OverCoverage = s.OverCoverage;
    Gote.KingZonePressure = s.KingZonePressure;
    Gote.KingZoneGuard = s.KingZoneGuard;
    Gote.Pieces.List[kKingIndex].NoFlight = s.ComKingNoFlight;
    Gote.ComKingSafe = s.ComKingSafe;
}
