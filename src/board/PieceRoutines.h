// Internal to the rules engine: the movement routine of each piece name and the offsets it uses.
#pragma once

#include "board/Coma.h"

#include <array>
#include <cstdint>

namespace board_detail {

enum class Routine : std::uint8_t { Pawn, Lance, Knight, Silver, Gold, King, Bishop, Rook, Horse, Dragon };

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

} // namespace board_detail
