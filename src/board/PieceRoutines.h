// Internal to the rules engine: the movement routine of each piece name, the offsets it uses, and the
// squares each offset reaches from every square, worked out once so that the map rebuild and the
// generators never test the board's edge step by step.
#pragma once

#include "board/Coma.h"
#include "board/Move.h"

#include <array>
#include <cstdint>

namespace board_detail {

enum class Routine : std::uint8_t { Pawn, Lance, Knight, Silver, Gold, King, Bishop, Rook, Horse, Dragon };
inline constexpr int kRoutineCount = 10;

// The routine of a current piece name; the five gold-like names share the gold routine.
inline constexpr std::array<Routine, 15> kRoutineOfHumanKind{
    Routine::King, // Empty: never asked
    Routine::Pawn,   Routine::Gold,   Routine::Lance, Routine::Gold,   Routine::Knight,
    Routine::Gold,   Routine::Silver, Routine::Gold,  Routine::Gold,   Routine::King,
    Routine::Bishop, Routine::Horse,  Routine::Rook,  Routine::Dragon,
};

constexpr Routine RoutineOf(PieceName current) {
    return kRoutineOfHumanKind[std::size_t(HumanKind(current))];
}

struct Dir {
    std::int8_t dF;
    std::int8_t dR;
};

// The squares one offset reaches from a square, nearest first: up to eight along a ray, at most one
// for a step.
struct SquareList {
    std::uint8_t Count = 0;
    std::array<std::uint8_t, 8> Squares{};
};

// Every code 0..kMapSize-1 gets its entry, reading the code as file * 10 + rank like a square; codes
// that are no squares never hold a piece.
using SquareTable = std::array<SquareList, kMapSize>;

constexpr SquareTable MakeRayTable(Dir d) {
    SquareTable t{};
    for (int sq = 0; sq < kMapSize; ++sq) {
        int f = sq / 10, k = sq % 10;
        SquareList& l = t[std::size_t(sq)];
        for (int n = 0; n < 8; ++n) {
            f += d.dF;
            k += d.dR;
            if (!OnBoard(f, k)) break;
            l.Squares[l.Count++] = std::uint8_t(f * 10 + k);
        }
    }
    return t;
}

// The on-board targets of a list of steps, in list order. Pawns and knights (rankLimit) never reach
// the last two ranks of their side: rank 1-2 for the human, 8-9 for COM.
template <std::size_t N>
constexpr SquareTable MakeStepTable(const std::array<Dir, N>& steps, int count, bool rankLimit, bool com) {
    SquareTable t{};
    for (int sq = 0; sq < kMapSize; ++sq) {
        const int f0 = sq / 10, r0 = sq % 10;
        SquareList& l = t[std::size_t(sq)];
        for (int i = 0; i < count; ++i) {
            const int f = f0 + steps[std::size_t(i)].dF, k = r0 + steps[std::size_t(i)].dR;
            if (!OnBoard(f, k)) continue;
            if (rankLimit && (com ? k > 7 : k < 3)) continue;
            l.Squares[l.Count++] = std::uint8_t(f * 10 + k);
        }
    }
    return t;
}

// The eight directions.
enum DirId : std::uint8_t { kDirN, kDirS, kDirE, kDirW, kDirNE, kDirNW, kDirSE, kDirSW, kDirCount };
inline constexpr std::array<Dir, kDirCount> kDirs{
    {{0, -1}, {0, +1}, {+1, 0}, {-1, 0}, {+1, -1}, {-1, -1}, {+1, +1}, {-1, +1}}};

inline constexpr std::array<SquareTable, kDirCount> kRays = [] {
    std::array<SquareTable, kDirCount> t{};
    for (int d = 0; d < kDirCount; ++d) t[std::size_t(d)] = MakeRayTable(kDirs[std::size_t(d)]);
    return t;
}();

} // namespace board_detail
