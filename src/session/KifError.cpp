#include "session/KifError.h"

#include "session/Notation.h"
#include "session/PositionText.h"
#include "session/Tr.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

// {q} is the quoted text, {0}, {1}, {2} the values. Japanese quotes nothing: a move text stands before
// a colon, as the window's other messages write it.
struct TFaultText {
    KifFault Fault;
    std::string_view English, Japanese;
};

constexpr TFaultText kFaultTexts[] = {
    {KifFault::UnknownForm,
     "a record file ends in .kif or .ki2 (CP932), .kifu or .ki2u (UTF-8), or .txt (the record text), not "
     "\"{0}\"",
     TrNoop("KifError", "「{0}」は棋譜のファイルではありません（.kif、.kifu、KI2 なら .ki2 か .ki2u "
                        "のファイルを開いてください）")},
    {KifFault::CannotOpen, "cannot open {0}: {1}", TrNoop("KifError", "{0} を開けません: {1}")},
    {KifFault::NotRegular, "cannot open {0}: not a regular file (a record is an ordinary file)",
     TrNoop("KifError", "{0} を開けません: 通常のファイルではありません（棋譜は普通のファイルです）")},
    {KifFault::CannotRead, "cannot read {0}: {1}", TrNoop("KifError", "{0} を読めません: {1}")},
    {KifFault::TextForm, "a .txt record is for reading by people; open the .kif or .kifu file",
     TrNoop("KifError", ".txt の棋譜は人が読むためのものです。.kif か .kifu のファイルを開いてください")},
    {KifFault::PastedCopy,
     "this is the record as 棋譜をクリップボードにコピー copies it, for reading by people; paste a KIF or "
     "KI2 "
     "record (棋譜を保存… writes one)",
     TrNoop("KifError", "「棋譜をクリップボードにコピー」の棋譜は人が読むためのものです。KIF か KI2 の棋譜を"
                        "貼り付けてください（「棋譜を保存…」で作れます）")},
    {KifFault::FileTooLarge, "the file is larger than {0} bytes, far more than any record",
     TrNoop("KifError", "ファイルが{0}バイトを超えています。棋譜としては大きすぎます")},
    {KifFault::TextTooLarge, "the text holds {0} bytes, far more than any record",
     TrNoop("KifError", "テキストが{0}バイトあります。棋譜としては大きすぎます")},
    {KifFault::Empty, "the file is empty", TrNoop("KifError", "ファイルが空です")},
    {KifFault::NotCp932, "a byte that is not CP932 text (a .kif file is CP932; UTF-8 goes in .kifu)",
     TrNoop("KifError", "CP932 の文字でないバイトがあります（.kif は CP932 で、UTF-8 の棋譜は .kifu です）")},
    {KifFault::NotUtf8, "a byte that is not UTF-8 text (a .kifu file is UTF-8; CP932 goes in .kif)",
     TrNoop("KifError", "UTF-8 の文字でないバイトがあります（.kifu は UTF-8 で、CP932 の棋譜は .kif です）")},

    {KifFault::UnreadableLine, "unreadable line \"{q}\"", TrNoop("KifError", "{q}: 読めない行です")},
    {KifFault::PiecesInHand, "pieces in hand ({q}): this game has no drops, so no piece is ever in hand",
     TrNoop("KifError", "持駒（{q}）があります: このゲームには駒打ちがなく、持駒はありません")},
    {KifFault::NotFromTheStart,
     "the board diagram is the position after move {0}: this game reads a record from its start only",
     TrNoop("KifError", "盤面図は{0}手目の局面です: このゲームは初期配置からの棋譜だけを読みます")},
    {KifFault::TenthRow, "a tenth row in the board diagram", TrNoop("KifError", "盤面図に10段目があります")},
    {KifFault::UnreadableCell, "unreadable cell in board row {0} at file {1}",
     TrNoop("KifError", "盤面図の{0}段目{1}筋のマスが読めません")},
    {KifFault::UnreadablePiece, "unreadable piece in board row {0} at file {1}",
     TrNoop("KifError", "盤面図の{0}段目{1}筋の駒が読めません")},
    {KifFault::RaggedRow, "board row {0} does not hold nine cells between two |",
     TrNoop("KifError", "盤面図の{0}段目は二つの | の間に9マスありません")},
    {KifFault::NoDiagram,
     "no board diagram, so the game starts from ordinary shogi's even position, which is not this "
     "game's (its bishops start developed)",
     TrNoop("KifError",
            "盤面図がないので本将棋の平手の初期配置になりますが、このゲームの初期配置（角が上がっています）"
            "とは違います")},
    {KifFault::HandicapWithoutDiagram, "手合割：{q} without a board diagram is not a start of this game",
     TrNoop("KifError", "盤面図のない手合割：{q} はこのゲームの初期配置ではありません")},
    {KifFault::RowCount, "the board diagram has {0} rows, not 9",
     TrNoop("KifError", "盤面図が9段でなく{0}段です")},
    {KifFault::UnplayableDiagram, "the board diagram is no position to play from: {0}",
     TrNoop("KifError", "盤面図の局面からは指せません: {0}")},

    {KifFault::MoveAfterEnd, "a move after the end of the game (line {0})",
     TrNoop("KifError", "対局の終わり（{0}行目）の後に指し手があります")},
    {KifFault::MoveNumber, "move number {0} where {1} was expected",
     TrNoop("KifError", "{1}手目のところが{0}手目になっています")},
    {KifFault::EndingNotInGame, "this game has no ending by {0}",
     TrNoop("KifError", "このゲームに{0}での終局はありません")},
    {KifFault::SameSquareFirst, "同 (the same square) with no move before it",
     TrNoop("KifError", "前の指し手がないのに「同」があります")},
    {KifFault::UnreadableDestination, "unreadable destination in \"{q}\"",
     TrNoop("KifError", "{q}: 移動先が読めません")},
    {KifFault::UnreadablePieceName, "unreadable piece name in \"{q}\"",
     TrNoop("KifError", "{q}: 駒の名前が読めません")},
    {KifFault::Drop, "a drop (打): this game has no drops, captured pieces leave the game",
     TrNoop("KifError",
            "駒打ち（打）があります: このゲームには駒打ちがなく、取った駒はゲームから除かれます")},
    {KifFault::NoOrigin, "a move names its origin square in parentheses, such as ７六歩(77)",
     TrNoop("KifError", "指し手には７六歩(77)のように移動元のマスを括弧に入れて書きます")},
    {KifFault::UnreadableTime, "unreadable time after the move",
     TrNoop("KifError", "指し手の後の消費時間が読めません")},
    {KifFault::TextAfterMove, "unreadable text after the move: \"{q}\"",
     TrNoop("KifError", "{q}: 指し手の後の文字が読めません")},
    {KifFault::GameAlreadyOver, "\"{q}\": the game was already over after move {0}",
     TrNoop("KifError", "{q}: 対局は{0}手目で終わっています")},
    {KifFault::NoPieceOfSide, "\"{q}\": no piece of {0} stands on {1}",
     TrNoop("KifError", "{q}: {1}に{0}の駒がありません")},
    {KifFault::OtherPiece, "\"{q}\": the piece on {0} is {1}, not {2}",
     TrNoop("KifError", "{q}: {0}の駒は{2}でなく{1}です")},
    {KifFault::CannotMove, "\"{q}\": {0} cannot move from {1} to {2}",
     TrNoop("KifError", "{q}: {0}は{1}から{2}へ動けません")},
    {KifFault::NoMoveThere, "\"{q}\": no {1} of {0} can move to {2}",
     TrNoop("KifError", "{q}: {2}へ動ける{0}の{1}がありません")},
    {KifFault::AmbiguousMove,
     "\"{q}\": more than one {0} can move to {1}; 右, 左, 直, 上, 引 or 寄 after the piece says which",
     TrNoop("KifError", "{q}: {1}へ動ける{0}が複数あります（駒の後に右・左・直・上・引・寄で区別します）")},
    {KifFault::WrongMover, "\"{q}\": {0} is to move here", TrNoop("KifError", "{q}: ここは{0}の手番です")},
    {KifFault::LeavesKingInCheck, "\"{q}\": it leaves the first player's king in check",
     TrNoop("KifError", "{q}: 先手の玉が王手されたままになります")},
    {KifFault::NotAPromotion, "\"{q}\": 成 is written, but this move does not promote",
     TrNoop("KifError", "{q}: 成と書かれていますが、この手では成りません")},
    {KifFault::PromotionNotWritten,
     "\"{q}\": the piece promotes here (promotion is forced in this game), but 成 is not written",
     TrNoop("KifError", "{q}: ここでは駒が成ります（このゲームでは必ず成ります）が、成と書かれていません")},
    {KifFault::NotMated, "詰み, but the king of the side to move is not mated here",
     TrNoop("KifError", "詰みとありますが、手番の側の玉は詰んでいません")},
    {KifFault::ResignBeforeFirstMove, "投了 before the first move",
     TrNoop("KifError", "最初の指し手より前に投了があります")},
    {KifFault::VariationWithoutMove, "a variation begins at move {0}, but the line before it has no move {0}",
     TrNoop("KifError", "変化が{0}手目から始まっていますが、その前の手順に{0}手目がありません")},
};

constexpr bool TableInOrder() {
    if (std::size(kFaultTexts) != std::size_t(KifFault::Count)) return false;
    for (std::size_t i = 0; i < std::size(kFaultTexts); ++i)
        if (kFaultTexts[i].Fault != KifFault(i)) return false;
    return true;
}
static_assert(TableInOrder(), "one text for every fault, in the order of KifFault");

// At most kKifQuoteChars characters; a character is never cut in two.
std::string Quote(std::string text) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (++chars > kKifQuoteChars) {
            text.resize(i);
            text += "…";
            break;
        }
    }
    return text;
}

std::string Fill(std::string_view pattern, const std::string& quoted,
                 const std::vector<std::string>& values) {
    std::string out;
    out.reserve(pattern.size() + quoted.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}') {
            const char what = pattern[i + 1];
            if (what == 'q') {
                out += quoted;
                i += 2;
                continue;
            }
            if (what >= '0' && what <= '9') {
                const std::size_t k = std::size_t(what - '0');
                if (k < values.size()) out += values[k];
                i += 2;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

std::string English(int line, KifFault fault, const std::string& quoted,
                    const std::vector<std::string>& values) {
    std::string text = line > 0 ? "line " + std::to_string(line) + ": " : std::string();
    return text + Fill(kFaultTexts[std::size_t(fault)].English, quoted, values);
}

} // namespace

TKifError::TKifError(int line, KifFault fault, std::string quoted, std::vector<std::string> values)
    : std::runtime_error(English(line, fault, Quote(quoted), values)), line_(line), fault_(fault),
      quoted_(Quote(std::move(quoted))), values_(std::move(values)) {}

TKifError::TKifError(int line, const TPositionCheck& check)
    : TKifError(line, KifFault::UnplayableDiagram, {}, {PositionFaultEnglish(check)}) {
    position_ = check;
}

std::string KifErrorJapanese(const std::exception& e) {
    const auto* kif = dynamic_cast<const TKifError*>(&e);
    if (!kif) return e.what();
    std::string text = kif->Line() > 0 ? std::to_string(kif->Line()) + "行目: " : std::string();
    std::vector<std::string> values = kif->Values();
    if (kif->Fault() == KifFault::UnplayableDiagram) values = {PositionFaultJapanese(kif->Position())};
    return text + Fill(kFaultTexts[std::size_t(kif->Fault())].Japanese, kif->Quoted(), values);
}

namespace {

// The sides and pieces a refused move is named with, as the record writes them.
constexpr const char* kMoveWords[] = {
    TrNoop("KifError", "先手"), TrNoop("KifError", "後手"), TrNoop("KifError", "歩"),
    TrNoop("KifError", "と"),   TrNoop("KifError", "香"),   TrNoop("KifError", "成香"),
    TrNoop("KifError", "桂"),   TrNoop("KifError", "成桂"), TrNoop("KifError", "銀"),
    TrNoop("KifError", "成銀"), TrNoop("KifError", "金"),   TrNoop("KifError", "玉"),
    TrNoop("KifError", "角"),   TrNoop("KifError", "馬"),   TrNoop("KifError", "飛"),
    TrNoop("KifError", "龍"),
};

// The values of a refused move (sides, pieces, two-digit squares) in the display language; the values
// of the other faults are numbers and texts of the file, shown as they are.
std::vector<std::string> ShownValues(const TKifError& e) {
    std::vector<std::string> values = e.Values();
    const KifFault f = e.Fault();
    if (f == KifFault::UnplayableDiagram) return {PositionFaultText(e.Position())};
    const bool named = f == KifFault::NoPieceOfSide || f == KifFault::OtherPiece ||
                       f == KifFault::CannotMove || f == KifFault::NoMoveThere ||
                       f == KifFault::AmbiguousMove || f == KifFault::WrongMover;
    if (DisplayLanguage() == TTextLanguage::Japanese || !named) return values;
    for (std::string& v : values) {
        if (v.size() == 2 && v[0] >= '1' && v[0] <= '9' && v[1] >= '1' && v[1] <= '9') {
            v = DisplaySquare((v[0] - '0') * 10 + (v[1] - '0'));
            continue;
        }
        for (const char* word : kMoveWords)
            if (v == word) {
                v = Tr("KifError", word);
                break;
            }
    }
    return values;
}

} // namespace

std::string KifErrorText(const std::exception& e) {
    const auto* kif = dynamic_cast<const TKifError*>(&e);
    if (!kif) return e.what();
    std::string text =
        kif->Line() > 0 ? TrArg(Tr("KifError", "%1行目: "), {std::to_string(kif->Line())}) : std::string();
    return text + Fill(Tr("KifError", kFaultTexts[std::size_t(kif->Fault())].Japanese.data()), kif->Quoted(),
                       ShownValues(*kif));
}
