#include "board/Kyokumen.h"
#include "board/PieceRoutines.h"

#include <array>
#include <stdexcept>

using board_detail::Dir;
using board_detail::Routine;

namespace {

using board_detail::DirId;
using board_detail::kRays;
using board_detail::MakeStepTable;
using board_detail::SquareList;
using board_detail::SquareTable;

// One routine's targets in the order they are listed: rays first (each up to eight squares), then steps.
struct GenShape {
    std::array<Dir, 4> Rays;
    int RayCount;
    std::array<Dir, 8> Steps;
    int StepCount;
    bool RankLimit; // pawn and knight never move to the last two ranks
};

constexpr Dir kN{0, -1}, kS{0, +1}, kE{+1, 0}, kW{-1, 0};

// Indexed by Routine. The human moves towards rank 1.
constexpr std::array<GenShape, 10> kHumanShapes{{
    {{}, 0, {{kN}}, 1, true},                                                      // pawn
    {{{kN}}, 1, {}, 0, false},                                                     // lance
    {{}, 0, {{{+1, -2}, {-1, -2}}}, 2, true},                                      // knight
    {{}, 0, {{{+1, -1}, {0, -1}, {-1, -1}, {-1, +1}, {+1, +1}}}, 5, false},        // silver
    {{}, 0, {{{+1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {+1, 0}, {0, +1}}}, 6, false}, // gold
    {{}, 0, {{{+1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {+1, 0}, {0, +1}, {+1, +1}, {-1, +1}}}, 8, false}, // king
    {{{{-1, -1}, {+1, -1}, {+1, +1}, {-1, +1}}}, 4, {}, 0, false},                 // bishop
    {{{kN, kS, kE, kW}}, 4, {}, 0, false},                                         // rook
    {{{{-1, -1}, {+1, -1}, {+1, +1}, {-1, +1}}}, 4, {{kN, kS, kE, kW}}, 4, false}, // horse
    {{{kN, kS, kE, kW}}, 4, {{{-1, -1}, {-1, +1}, {+1, -1}, {+1, +1}}}, 4, false}, // dragon
}};

// COM moves towards rank 9; the order of the steps is COM's own, not a mirror of the human's.
constexpr std::array<GenShape, 10> kComShapes{{
    {{}, 0, {{kS}}, 1, true},                                                      // pawn
    {{{kS}}, 1, {}, 0, false},                                                     // lance
    {{}, 0, {{{+1, +2}, {-1, +2}}}, 2, true},                                      // knight
    {{}, 0, {{{+1, -1}, {-1, -1}, {-1, +1}, {0, +1}, {+1, +1}}}, 5, false},        // silver
    {{}, 0, {{{+1, +1}, {0, +1}, {-1, +1}, {-1, 0}, {+1, 0}, {0, -1}}}, 6, false}, // gold
    {{}, 0, {{{+1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {+1, 0}, {0, +1}, {+1, +1}, {-1, +1}}}, 8, false}, // king
    {{{{-1, -1}, {+1, -1}, {+1, +1}, {-1, +1}}}, 4, {}, 0, false},                 // bishop
    {{{kN, kS, kE, kW}}, 4, {}, 0, false},                                         // rook
    {{{{-1, -1}, {+1, -1}, {+1, +1}, {-1, +1}}}, 4, {{kN, kS, kE, kW}}, 4, false}, // horse
    {{{kN, kS, kE, kW}}, 4, {{{-1, -1}, {-1, +1}, {+1, -1}, {+1, +1}}}, 4, false}, // dragon
}};

constexpr DirId DirOf(Dir d) {
    for (int i = 0; i < board_detail::kDirCount; ++i)
        if (board_detail::kDirs[std::size_t(i)].dF == d.dF && board_detail::kDirs[std::size_t(i)].dR == d.dR)
            return DirId(i);
    return board_detail::kDirCount;
}

// The same shapes with the rays as directions and the steps' targets worked out for every square.
struct GenRoutine {
    std::array<DirId, 4> Rays{};
    int RayCount = 0;
    SquareTable Steps{};
};

constexpr std::array<GenRoutine, 10> MakeGenRoutines(const std::array<GenShape, 10>& shapes, bool com) {
    std::array<GenRoutine, 10> t{};
    for (std::size_t r = 0; r < shapes.size(); ++r) {
        for (int i = 0; i < shapes[r].RayCount; ++i)
            t[r].Rays[std::size_t(i)] = DirOf(shapes[r].Rays[std::size_t(i)]);
        t[r].RayCount = shapes[r].RayCount;
        t[r].Steps = MakeStepTable(shapes[r].Steps, shapes[r].StepCount, shapes[r].RankLimit, com);
    }
    return t;
}

constexpr std::array<GenRoutine, 10> kHumanGen = MakeGenRoutines(kHumanShapes, false);
constexpr std::array<GenRoutine, 10> kComGen = MakeGenRoutines(kComShapes, true);

// The name an entry carries: the gold routine writes the current name (a promoted pawn lists "と"),
// horse and dragon their promoted name, every other routine the unpromoted name.
PieceName EntryName(const TComa& piece, Routine r) {
    switch (r) {
    case Routine::Gold:
        return piece.CurrentName();
    case Routine::Horse:
    case Routine::Dragon:
        return piece.PromotedName;
    default:
        return piece.Name;
    }
}

struct GenContext {
    const std::array<PieceName, kMapSize>& Board;
    bool Com;
    int* ComCount; // Gote.Attacks while COM's lance and dragon count the COM piece that stops them
};

void Generate(const GenContext& cx, const TComa& piece, PieceName name, Routine r, TMoveList& out) {
    const GenRoutine& g = (cx.Com ? kComGen : kHumanGen)[std::size_t(r)];
    const auto from = std::uint8_t(piece.File * 10 + piece.Rank);
    for (int i = 0; i < g.RayCount; ++i) {
        const DirId d = g.Rays[std::size_t(i)];
        // Only COM's lance ray and the dragon's forward ray make the count.
        const bool counts =
            cx.ComCount && (r == Routine::Lance || (r == Routine::Dragon && d == board_detail::kDirS));
        const SquareList& line = kRays[d][from];
        const int n = line.Count;
        for (int j = 0; j < n; ++j) {
            const std::uint8_t sq = line.Squares[std::size_t(j)];
            const PieceName b = cx.Board[sq];
            if (b == PieceName::Empty) {
                out.Add({from, sq, name});
                continue;
            }
            if (IsCom(b) != cx.Com) {
                out.Add({from, sq, name});
            } else if (counts) {
                ++cx.ComCount[sq];
            }
            break;
        }
    }
    const SquareList& steps = g.Steps[from];
    const int n = steps.Count;
    for (int j = 0; j < n; ++j) {
        const std::uint8_t sq = steps.Squares[std::size_t(j)];
        const PieceName b = cx.Board[sq];
        if (b == PieceName::Empty || IsCom(b) != cx.Com) out.Add({from, sq, name});
    }
}

} // namespace

void TKyokumen::GeneratePieceMoves(const TComa& piece, bool com, TMoveList& out) {
    // COM's lance and dragon add to COM's map as they go.
    if (com) BeforeComGeneration();
    const Routine r = board_detail::RoutineOf(piece.CurrentName());
    Generate({Board, com, com ? Gote.Attacks.data() : nullptr}, piece, EntryName(piece, r), r, out);
}

void TKyokumen::GenerateMoves() {
    if (ComToMove) {
        Gote.Moves.Clear();
        auto& list = Gote.Pieces.List;
        for (int i = 0; i < 20; ++i)
            if (i != kKingIndex && !list[i].Captured) GeneratePieceMoves(list[i], true, Gote.Moves);
        // COM's king comes last, so that its list tries every other piece first.
        if (!list[kKingIndex].Captured) GeneratePieceMoves(list[kKingIndex], true, Gote.Moves);
    } else {
        Sente.Moves.Clear();
        for (const TComa& p : Sente.Pieces.List)
            if (!p.Captured) GeneratePieceMoves(p, false, Sente.Moves);
    }
}

void TKyokumen::ListMoves(bool com, TMoveList& out) const {
    out.Clear();
    const auto add = [&](const TComa& piece) {
        const Routine r = board_detail::RoutineOf(piece.CurrentName());
        Generate({Board, com, nullptr}, piece, EntryName(piece, r), r, out);
    };
    const auto& list = com ? Gote.Pieces.List : Sente.Pieces.List;
    for (int i = 0; i < 20; ++i)
        if (!(com && i == kKingIndex) && !list[std::size_t(i)].Captured) add(list[std::size_t(i)]);
    if (com && !list[kKingIndex].Captured) add(list[kKingIndex]);
}

void TKyokumen::GenerateRookMoves() {
    Gote.RookMoves.Clear();
    const TComa& rook = Gote.Pieces.List[kRookIndex];
    if (rook.Captured) return;
    const Routine r = rook.PromotedAt > 0 ? Routine::Dragon : Routine::Rook;
    // Every entry names the unpromoted rook, and this list never touches the maps.
    Generate({Board, true, nullptr}, rook, rook.Name, r, Gote.RookMoves);
}

std::string THumanMoveTest::Text() const {
    switch (Result) {
    case NoMove:
        return {};
    case KingLeftAttacked:
        return std::string(kKingLeftAttackedText);
    case Legal:
        return MoveText(Move);
    }
    return {};
}

THumanMoveTest TKyokumen::TestHumanMove(std::string_view from, std::string_view to) {
    auto square = [](std::string_view t, const char* which) {
        if (t.size() != 2 || t[0] < '0' || t[0] > '9' || t[1] < '0' || t[1] > '9')
            throw std::invalid_argument(std::string("the ") + which + " \"" + std::string(t) +
                                        "\" is not a square code of two digits, such as \"76\"");
        return (t[0] - '0') * 10 + (t[1] - '0');
    };
    return TestHumanMove(square(from, "from-square"), square(to, "to-square"));
}

THumanMoveTest TKyokumen::TestHumanMove(int from, int to) {
    THumanMoveTest result;
    const bool savedSide = ComToMove;
    ComToMove = false;
    GenerateMoves();
    const TMove* found = nullptr;
    for (const TMove& m : Sente.Moves) {
        if (m.From == from && m.To == to) {
            found = &m;
            break;
        }
    }
    if (!found) {
        ComToMove = savedSide;
        return result;
    }
    result.Move = *found;
    result.Result = THumanMoveTest::Legal;
    if (found->Name == PieceName::Ou && Gote.Attacks[to] > 0)
        result.Result = THumanMoveTest::KingLeftAttacked;

    // COM's attacks on the human's king once the move is played, counted without playing it: the
    // position, its maps and the last-move records stay exactly as they are.
    const int king = found->Name == PieceName::Ou ? to : Sente.Pieces.List[kKingIndex].Square();
    if (AttackCountAfter(result.Move, true, king) > 0) result.Result = THumanMoveTest::KingLeftAttacked;
    ComToMove = savedSide;
    return result;
}
