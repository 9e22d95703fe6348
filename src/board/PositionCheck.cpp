#include "board/PositionCheck.h"

#include <array>

namespace {

// The kinds in the order a refusal names them: the king first, then from the pawn up.
constexpr std::array kKinds = {PieceName::Ou,  PieceName::Fu,  PieceName::Kyo,  PieceName::Kei,
                               PieceName::Gin, PieceName::Kin, PieceName::Kaku, PieceName::Hi};

// How far into its side's far end a square lies: 1 on the last rank, 2 on the one before, ...
int RanksFromFarEnd(Side side, int square) {
    return side == Side::Gote ? 10 - RankOf(square) : RankOf(square);
}

} // namespace

PieceName UnpromotedKind(PieceName p) {
    switch (HumanKind(p)) {
    case PieceName::To:
        return PieceName::Fu;
    case PieceName::KyoNari:
        return PieceName::Kyo;
    case PieceName::KeiNari:
        return PieceName::Kei;
    case PieceName::GinNari:
        return PieceName::Gin;
    case PieceName::KakuNari:
        return PieceName::Kaku;
    case PieceName::Ryu:
        return PieceName::Hi;
    default:
        return HumanKind(p);
    }
}

int PiecesOfKind(PieceName p) {
    switch (UnpromotedKind(p)) {
    case PieceName::Fu:
        return 9;
    case PieceName::Kyo:
    case PieceName::Kei:
    case PieceName::Gin:
    case PieceName::Kin:
        return 2;
    case PieceName::Ou:
    case PieceName::Kaku:
    case PieceName::Hi:
        return 1;
    default:
        return 0;
    }
}

namespace {

// A piece that could never move again: a pawn or lance on the last rank; a knight on the last two, or
// on the fourth from the far end, whose jumps would land on the last two, where a knight never moves.
bool Stranded(PieceName p, int square) {
    const int far = RanksFromFarEnd(SideOf(p), square);
    switch (HumanKind(p)) {
    case PieceName::Fu:
    case PieceName::Kyo:
        return far == 1;
    case PieceName::Kei:
        return far <= 2 || far == 4;
    default:
        return false;
    }
}

// An unpromoted piece in the zone where every move that ends promotes it.
bool Unpromoted(PieceName p, int square) {
    return CanPromote(p) && RanksFromFarEnd(SideOf(p), square) <= 3;
}

} // namespace

bool CanStand(PieceName p, int square) {
    return p == PieceName::Empty || (!Stranded(p, square) && !Unpromoted(p, square));
}

TPositionCheck CheckPosition(const TBoard& given, Side toMove) {
    TBoard board{};
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank)
            board[std::size_t(MakeSquare(file, rank))] = given[std::size_t(MakeSquare(file, rank))];

    for (Side side : {Side::Sente, Side::Gote}) {
        std::array<int, kPieceNameCount> counts{};
        for (int sq = 11; sq <= 99; ++sq) {
            const PieceName p = board[std::size_t(sq)];
            if (p != PieceName::Empty && SideOf(p) == side) ++counts[std::size_t(UnpromotedKind(p))];
        }
        for (PieceName kind : kKinds) {
            const int n = counts[std::size_t(kind)];
            if (kind == PieceName::Ou && n != 1) return {PositionFault::KingCount, side, 0, kind, n, 1};
            if (n > PiecesOfKind(kind)) return {PositionFault::TooMany, side, 0, kind, n, PiecesOfKind(kind)};
        }
    }
    for (int sq = 11; sq <= 99; ++sq) {
        const PieceName p = board[std::size_t(sq)];
        if (p == PieceName::Empty) continue;
        if (Stranded(p, sq)) return {PositionFault::Stranded, SideOf(p), sq, p};
        if (Unpromoted(p, sq)) return {PositionFault::Unpromoted, SideOf(p), sq, p};
    }
    // The side that has just moved cannot have left its own king attacked.
    if (InCheck(board, Other(toMove))) return {PositionFault::WaitingInCheck, Other(toMove)};
    // The game would be over before its first move.
    for (Side side : {toMove, Other(toMove)})
        if (PiecesLeft(board, side) == 1) return {PositionFault::BareKing, side};
    TKyokumen k;
    k.SetupFromBoard(board, toMove == Side::Gote);
    if (!HasLegalMove(k, toMove)) return {PositionFault::NoMove, toMove};
    return {};
}
