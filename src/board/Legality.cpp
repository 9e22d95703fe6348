#include "board/Legality.h"

namespace {

// The forward rank step of a side.
constexpr int ForwardRank(Side s) {
    return s == Side::Gote ? +1 : -1;
}

// Whether a piece of this kind moves one square along (df, dr), or any number of squares along it, for
// a side whose forward step is fwd.
bool Steps(PieceName kind, int df, int dr, int fwd) {
    const int ahead = dr * fwd; // 1 forward, 0 sideways, -1 back
    switch (kind) {
    case PieceName::Fu:
        return ahead == 1 && df == 0;
    case PieceName::Gin:
        return ahead == 1 || (ahead == -1 && df != 0);
    case PieceName::Kin:
    case PieceName::To:
    case PieceName::KyoNari:
    case PieceName::KeiNari:
    case PieceName::GinNari:
        return ahead >= 0 || df == 0;
    case PieceName::Ou:
        return true;
    case PieceName::KakuNari:
        return df == 0 || dr == 0;
    case PieceName::Ryu:
        return df != 0 && dr != 0;
    default:
        return false;
    }
}

bool Slides(PieceName kind, int df, int dr, int fwd) {
    switch (kind) {
    case PieceName::Kyo:
        return df == 0 && dr == fwd;
    case PieceName::Kaku:
    case PieceName::KakuNari:
        return df != 0 && dr != 0;
    case PieceName::Hi:
    case PieceName::Ryu:
        return df == 0 || dr == 0;
    default:
        return false;
    }
}

constexpr int kDirections[8][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}};

} // namespace

bool Attacked(const TBoard& board, int sq, Side by) {
    const int file = FileOf(sq), rank = RankOf(sq);
    const int fwd = ForwardRank(by);
    for (const auto& d : kDirections) {
        int f = file + d[0], r = rank + d[1];
        for (int n = 1; OnBoard(f, r); ++n, f += d[0], r += d[1]) {
            const PieceName p = board[std::size_t(MakeSquare(f, r))];
            if (p == PieceName::Empty) continue;
            if (SideOf(p) == by) {
                // The piece would move back along d to reach sq.
                const PieceName kind = HumanKind(p);
                if (Slides(kind, -d[0], -d[1], fwd) || (n == 1 && Steps(kind, -d[0], -d[1], fwd)))
                    return true;
            }
            break;
        }
    }
    // A knight jumps two ranks forward and one file aside.
    const PieceName knight = by == Side::Gote ? PieceName::ComKei : PieceName::Kei;
    for (int side : {-1, 1}) {
        const int f = file + side, r = rank - 2 * fwd;
        if (OnBoard(f, r) && board[std::size_t(MakeSquare(f, r))] == knight) return true;
    }
    return false;
}

int KingSquare(const TBoard& board, Side side) {
    const PieceName king = side == Side::Gote ? PieceName::ComOu : PieceName::Ou;
    for (int f = 1; f <= 9; ++f)
        for (int r = 1; r <= 9; ++r)
            if (board[std::size_t(MakeSquare(f, r))] == king) return MakeSquare(f, r);
    return 0;
}

bool InCheck(const TBoard& board, Side side) {
    const int king = KingSquare(board, side);
    return king != 0 && Attacked(board, king, Other(side));
}

namespace {

bool LeavesKingAttacked(TBoard& board, const TMove& m, Side side, int king) {
    const PieceName mover = board[m.From], taken = board[m.To];
    board[m.To] = mover;
    board[m.From] = PieceName::Empty;
    if (HumanKind(mover) == PieceName::Ou) king = m.To;
    const bool attacked = king != 0 && Attacked(board, king, Other(side));
    board[m.From] = mover;
    board[m.To] = taken;
    return attacked;
}

} // namespace

bool LeavesKingAttacked(const TBoard& board, const TMove& m, Side side) {
    TBoard b = board;
    return LeavesKingAttacked(b, m, side, KingSquare(board, side));
}

void LegalMoves(const TKyokumen& k, Side side, TMoveList& out) {
    TMoveList all;
    k.ListMoves(IsGote(side), all);
    out.Clear();
    TBoard board = k.Board;
    const int king = KingSquare(board, side);
    for (const TMove& m : all)
        if (!LeavesKingAttacked(board, m, side, king)) out.Add(m);
}

bool HasLegalMove(const TKyokumen& k, Side side) {
    TMoveList all;
    k.ListMoves(IsGote(side), all);
    TBoard board = k.Board;
    const int king = KingSquare(board, side);
    for (const TMove& m : all)
        if (!LeavesKingAttacked(board, m, side, king)) return true;
    return false;
}

THumanMoveTest TestMove(const TKyokumen& k, Side side, int from, int to) {
    THumanMoveTest result;
    TMoveList all;
    k.ListMoves(IsGote(side), all);
    for (const TMove& m : all) {
        if (m.From != from || m.To != to) continue;
        result.Move = m;
        result.Result =
            LeavesKingAttacked(k.Board, m, side) ? THumanMoveTest::KingLeftAttacked : THumanMoveTest::Legal;
        break;
    }
    return result;
}

int PiecesLeft(const TBoard& board, Side side) {
    int n = 0;
    for (int f = 1; f <= 9; ++f)
        for (int r = 1; r <= 9; ++r) {
            const PieceName p = board[std::size_t(MakeSquare(f, r))];
            n += p != PieceName::Empty && SideOf(p) == side;
        }
    return n;
}

std::uint64_t PositionKey(const TBoard& board, Side toMove) {
    std::uint64_t h = 14695981039346656037ull;
    for (int sq = 11; sq <= 99; ++sq) {
        h ^= std::uint64_t(board[std::size_t(sq)]);
        h *= 1099511628211ull;
    }
    h ^= toMove == Side::Gote ? 0xA5u : 0x5Au;
    h *= 1099511628211ull;
    return h;
}

TMove Rotated(const TMove& m) {
    if (m.Empty()) return m;
    return {std::uint8_t(RotatedSquare(m.From)), std::uint8_t(RotatedSquare(m.To)), OtherSide(m.Name)};
}

TBoard Rotated(const TBoard& board) {
    TBoard out{};
    for (int f = 1; f <= 9; ++f)
        for (int r = 1; r <= 9; ++r) {
            const int sq = MakeSquare(f, r);
            out[std::size_t(RotatedSquare(sq))] = OtherSide(board[std::size_t(sq)]);
        }
    return out;
}
