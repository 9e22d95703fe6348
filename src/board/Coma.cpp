#include "board/Coma.h"

#include <array>

namespace {

struct NameEntry {
    std::string_view Text;
    int Value;
};

// Indexed by PieceName. The value depends on the kind only, never on the owner.
constexpr std::array<NameEntry, kPieceNameCount> kNames{{
    {" ", -1},       {"歩", 10},     {"と", 30},       {"香", 20},     {"香成", 30},     {"桂", 25},
    {"桂成", 30},    {"銀", 60},     {"銀成", 30},     {"金", 70},     {"王", 1000},     {"角", 150},
    {"角成", 200},   {"飛", 300},    {"龍王", 400},    {"com歩", 10},  {"comと", 30},    {"com香", 20},
    {"com香成", 30}, {"com桂", 25},  {"com桂成", 30},  {"com銀", 60},  {"com銀成", 30},  {"com金", 70},
    {"com王", 1000}, {"com角", 150}, {"com角成", 200}, {"com飛", 300}, {"com龍王", 400},
}};

} // namespace

int PieceValue(PieceName p) {
    auto i = std::size_t(p);
    return i < kNames.size() ? kNames[i].Value : -1;
}

std::string_view PieceText(PieceName p) {
    auto i = std::size_t(p);
    return i < kNames.size() ? kNames[i].Text : std::string_view(" ");
}

bool ParsePieceName(std::string_view text, PieceName& out) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i].Text == text) {
            out = PieceName(i);
            return true;
        }
    }
    return false;
}

int TComa_Keisan::PieceValue(std::string_view name) {
    PieceName p;
    if (!ParsePieceName(name, p) || p == PieceName::Empty) return -1;
    return ::PieceValue(p);
}
