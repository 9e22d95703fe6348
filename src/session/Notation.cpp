#include "session/Notation.h"

#include "session/Kif.h"
#include "session/Tr.h"

#include <array>

namespace {

struct TWesternName {
    std::string_view Letter;
    const char* Name; // marked for translation; Tr gives the English
};

// Indexed by the human's piece names (PieceName::Fu .. Ryu).
constexpr std::array<TWesternName, 15> kWesternNames = {{
    {"", ""},
    {"P", TrNoop("Notation", "歩")},
    {"+P", TrNoop("Notation", "と")},
    {"L", TrNoop("Notation", "香")},
    {"+L", TrNoop("Notation", "香成")},
    {"N", TrNoop("Notation", "桂")},
    {"+N", TrNoop("Notation", "桂成")},
    {"S", TrNoop("Notation", "銀")},
    {"+S", TrNoop("Notation", "銀成")},
    {"G", TrNoop("Notation", "金")},
    {"K", TrNoop("Notation", "王")},
    {"B", TrNoop("Notation", "角")},
    {"+B", TrNoop("Notation", "角成")},
    {"R", TrNoop("Notation", "飛")},
    {"+R", TrNoop("Notation", "龍王")},
}};

const TWesternName& WesternName(PieceName p) {
    const auto i = std::size_t(HumanKind(p));
    return kWesternNames[i < kWesternNames.size() ? i : 0];
}

std::string WesternSquare(int sq) {
    std::string s(2, '?');
    const int file = FileOf(sq), rank = RankOf(sq);
    if (file >= 1 && file <= 9) s[0] = char('0' + file);
    if (rank >= 1 && rank <= 9) s[1] = char('a' + rank - 1);
    return s;
}

} // namespace

std::string DisplaySquare(int sq) {
    return DisplayLanguage() == TTextLanguage::English ? WesternSquare(sq) : SquareText(sq);
}

std::string DisplayPieceName(PieceName p) {
    if (DisplayLanguage() == TTextLanguage::Japanese) return std::string(PieceText(p));
    const TWesternName& name = WesternName(p);
    return *name.Name ? Tr("Notation", name.Name) : std::string(PieceText(p));
}

std::string WesternMove(PieceName before, int to, bool capture, bool promotes) {
    std::string text(WesternName(before).Letter);
    text += capture ? 'x' : '-';
    text += WesternSquare(to);
    if (promotes) text += '+';
    return text;
}

std::string DisplayMoveName(const TMove& m, PieceName before, bool capture, bool promotes) {
    if (DisplayLanguage() == TTextLanguage::English) return WesternMove(before, m.To, capture, promotes);
    return KifMoveName(m, before, promotes);
}
