#include "session/Notation.h"

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

std::string KifSquare(int sq) {
    return std::string(kFullWidthDigits[std::size_t(FileOf(sq) % 10)]) +
           std::string(kKanjiNumerals[std::size_t(RankOf(sq) % 10)]);
}

std::string_view KifPieceName(PieceName kind) {
    switch (HumanKind(kind)) {
    case PieceName::Fu:
        return "歩";
    case PieceName::To:
        return "と";
    case PieceName::Kyo:
        return "香";
    case PieceName::KyoNari:
        return "成香";
    case PieceName::Kei:
        return "桂";
    case PieceName::KeiNari:
        return "成桂";
    case PieceName::Gin:
        return "銀";
    case PieceName::GinNari:
        return "成銀";
    case PieceName::Kin:
        return "金";
    case PieceName::Ou:
        return "玉";
    case PieceName::Kaku:
        return "角";
    case PieceName::KakuNari:
        return "馬";
    case PieceName::Hi:
        return "飛";
    case PieceName::Ryu:
        return "龍";
    default:
        return "？";
    }
}

std::string KifMoveName(const TMove& m, PieceName before, bool promotes) {
    return KifSquare(m.To) + std::string(KifPieceName(before)) + (promotes ? "成" : "");
}

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
