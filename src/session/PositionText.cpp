#include "session/PositionText.h"

#include "session/Notation.h"
#include "session/Tr.h"

namespace {

std::string EnglishSide(Side side) {
    return side == Side::Sente ? "the first player" : "the second player";
}

std::string JapaneseSide(Side side) {
    return side == Side::Sente ? "先手" : "後手";
}

// {s} the side, {p} the piece, {q} the square, {n} the count, {m} the limit.
struct TFaultWords {
    PositionFault Fault;
    const char* English;
    const char* Japanese; // also the source of the display language's words
};

constexpr TFaultWords kWords[] = {
    {PositionFault::None, "", ""},
    {PositionFault::KingCount, "{s} has {n} kings, not one",
     TrNoop("Position", "{s}の玉が{n}枚あります（玉は一枚ずつ置きます）")},
    {PositionFault::TooMany, "{s} has {n} {p}, more than the {m} its twenty pieces hold",
     TrNoop("Position", "{s}の{p}が{n}枚あります（二十枚の駒には{m}枚までです）")},
    {PositionFault::Stranded, "the {p} on {q} could never move again",
     TrNoop("Position", "{q}の{p}はもう動けません")},
    {PositionFault::Unpromoted,
     "the {p} on {q} stands unpromoted in its promotion zone, where every piece promotes as it arrives",
     TrNoop("Position", "{q}の{p}は成っていません（敵陣に入った駒は必ず成ります）")},
    {PositionFault::WaitingInCheck, "the king of {s}, who is not to move, is in check",
     TrNoop("Position", "手番でない{s}の玉に王手がかかっています")},
    {PositionFault::BareKing, "{s} has nothing but its king: the game would be over already",
     TrNoop("Position", "{s}の駒が玉一枚だけです（対局はもう終わっています）")},
    {PositionFault::NoMove, "{s}, to move, has no legal move",
     TrNoop("Position", "手番の{s}に指せる手がありません")},
};

std::string Fill(std::string_view pattern, const std::string& side, const std::string& piece,
                 const std::string& square, const TPositionCheck& c) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}') {
            switch (pattern[i + 1]) {
            case 's':
                out += side;
                break;
            case 'p':
                out += piece;
                break;
            case 'q':
                out += square;
                break;
            case 'n':
                out += std::to_string(c.Count);
                break;
            case 'm':
                out += std::to_string(c.Limit);
                break;
            default:
                out += pattern.substr(i, 3);
            }
            i += 2;
            continue;
        }
        out += pattern[i];
    }
    return out;
}

constexpr TFaultWords kNoKing = {PositionFault::KingCount, "{s} has no king",
                                 TrNoop("Position", "{s}の玉がありません")};

const TFaultWords& WordsOf(const TPositionCheck& c) {
    if (c.Fault == PositionFault::KingCount && c.Count == 0) return kNoKing;
    return kWords[std::size_t(c.Fault) < std::size(kWords) ? std::size_t(c.Fault) : 0];
}

} // namespace

std::string PositionFaultEnglish(const TPositionCheck& c) {
    return Fill(WordsOf(c).English, EnglishSide(c.Of), std::string(KifPieceName(c.Piece)),
                SquareText(c.Square), c);
}

std::string PositionFaultJapanese(const TPositionCheck& c) {
    return Fill(WordsOf(c).Japanese, JapaneseSide(c.Of), std::string(KifPieceName(c.Piece)),
                KifSquare(c.Square), c);
}

std::string PositionFaultText(const TPositionCheck& c) {
    if (DisplayLanguage() == TTextLanguage::Japanese) return PositionFaultJapanese(c);
    const std::string side = c.Of == Side::Sente ? Tr("Position", "先手") : Tr("Position", "後手");
    return Fill(Tr("Position", WordsOf(c).Japanese), side, DisplayPieceName(c.Piece), DisplaySquare(c.Square),
                c);
}

std::string FenErrorText(const TFenError& e) {
    const std::string row = std::to_string(e.Row()), count = std::to_string(e.Count());
    switch (e.Fault()) {
    case FenFault::Empty:
        return Tr("Position", "局面の文字列が空です");
    case FenFault::TooLong:
        return TrArg(Tr("Position", "局面の文字列が%1文字を超えています"), {count});
    case FenFault::RowCount:
        return TrArg(Tr("Position", "盤面が9段でなく%1段です（段は / で区切ります）"), {count});
    case FenFault::RowWidth:
        return TrArg(Tr("Position", "%1段目が9マスでなく%2マスです"), {row, count});
    case FenFault::UnknownLetter:
        return TrArg(Tr("Position", "%1段目の「%2」は駒ではありません（K R B G S N L P、後手は小文字）"),
                     {row, e.Letter()});
    case FenFault::Promotion:
        return TrArg(Tr("Position", "%1段目の「+%2」は成駒ではありません（成るのは P L N S B R だけです）"),
                     {row, e.Letter()});
    case FenFault::SideToMove:
        return e.Letter().empty()
                   ? Tr("Position", "盤面の後に手番（w か b）がありません")
                   : TrArg(Tr("Position", "「%1」は手番ではありません（w か b）"), {e.Letter()});
    case FenFault::PiecesInHand:
        return Tr("Position", "持駒があります: このゲームには駒打ちがなく、持駒はありません");
    case FenFault::Trailing:
        return TrArg(Tr("Position", "局面の後の「%1」が読めません"), {e.Letter()});
    }
    return e.what();
}
