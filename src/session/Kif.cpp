#include "session/Kif.h"

#include "board/PositionCheck.h"
#include "session/Judge.h"
#include "session/Notation.h"
#include "session/Tr.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The comments that close a game ended in a way KIF has no word for, by the losing side: [0] 先手,
// [1] 後手. A king left alone (the second player's first, as records of this game always wrote it), a
// side with no legal move, a repetition forced by checking with every move.
constexpr std::string_view kBareKingNote[2] = {"先手の駒が玉一枚のみとなったので終了",
                                               "後手の駒が玉一枚のみとなったので終了"};
constexpr std::string_view kNoMoveNote[2] = {"先手に指せる手がないので終了", "後手に指せる手がないので終了"};
constexpr std::string_view kPerpetualCheckNote[2] = {"先手の連続王手の千日手", "後手の連続王手の千日手"};
constexpr std::string_view kSeatsKey = "#ミルトア対局者：";

bool IsEndNote(std::string_view text) {
    for (const auto* notes : {&kBareKingNote, &kNoMoveNote, &kPerpetualCheckNote})
        for (std::string_view note : *notes)
            if (text == note) return true;
    return false;
}

constexpr std::string_view kFrame = "+---------------------------+";

struct TKifName {
    std::string_view Text;
    PieceName Kind; // the human's name of the kind
};

// The names a move line may give, longest first so that 成香 is not read as 成 and 香. The king is 玉
// for both sides here, but records written for a king and a jewel general use 王 as well; 竜 is the
// other common way of writing 龍.
constexpr TKifName kMoveNames[] = {
    {"成香", PieceName::KyoNari}, {"成桂", PieceName::KeiNari}, {"成銀", PieceName::GinNari},
    {"歩", PieceName::Fu},        {"香", PieceName::Kyo},       {"桂", PieceName::Kei},
    {"銀", PieceName::Gin},       {"金", PieceName::Kin},       {"角", PieceName::Kaku},
    {"飛", PieceName::Hi},        {"玉", PieceName::Ou},        {"王", PieceName::Ou},
    {"と", PieceName::To},        {"杏", PieceName::KyoNari},   {"圭", PieceName::KeiNari},
    {"全", PieceName::GinNari},   {"馬", PieceName::KakuNari},  {"龍", PieceName::Ryu},
    {"竜", PieceName::Ryu},
};

// Writing: the one-character diagram glyph of each kind.
std::string_view DiagramGlyph(PieceName kind) {
    switch (HumanKind(kind)) {
    case PieceName::KyoNari:
        return "杏";
    case PieceName::KeiNari:
        return "圭";
    case PieceName::GinNari:
        return "全";
    default:
        return KifPieceName(kind);
    }
}

std::string_view SideName(Side side) {
    return side == Side::Sente ? "先手" : "後手";
}

std::string Number(int n) {
    return std::to_string(n);
}

// A read position in one line.
struct TCursor {
    std::string_view Text;
    std::size_t Pos = 0;

    bool Done() const { return Pos >= Text.size(); }
    std::string_view Rest() const { return Text.substr(std::min(Pos, Text.size())); }
    bool Take(std::string_view t) {
        // Most tries fail at the first byte: no comparison of the rest is made for them.
        if (!t.empty() && (Done() || Text[Pos] != t[0])) return false;
        if (Rest().substr(0, t.size()) != t) return false;
        Pos += t.size();
        return true;
    }
    // Half-width, full-width blanks and tabs; true when there was at least one.
    bool SkipBlanks() {
        const std::size_t start = Pos;
        while (Take(" ") || Take("　") || Take("\t")) {
        }
        return Pos > start;
    }
    // A digit 1-9, half- or full-width (and, for ranks, a kanji numeral); 0 when there is none.
    int Digit(bool kanji) {
        if (!Done() && Text[Pos] >= '1' && Text[Pos] <= '9') return Text[Pos++] - '0';
        for (int d = 1; d <= 9; ++d)
            if (Take(kFullWidthDigits[std::size_t(d)]) || (kanji && Take(kKanjiNumerals[std::size_t(d)])))
                return d;
        return 0;
    }
    // A run of half-width digits (at most six); -1 when there is none.
    int Integer() {
        int n = 0, count = 0;
        while (!Done() && Text[Pos] >= '0' && Text[Pos] <= '9' && count < 6) {
            n = n * 10 + (Text[Pos++] - '0');
            ++count;
        }
        return count == 0 ? -1 : n;
    }
};

std::string Trimmed(std::string_view s) {
    TCursor c{s};
    c.SkipBlanks();
    std::string_view rest = c.Rest();
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
    while (rest.size() >= 3 && rest.substr(rest.size() - 3) == "　") rest.remove_suffix(3);
    return std::string(rest);
}

bool StartsWith(std::string_view s, std::string_view head) {
    return s.substr(0, head.size()) == head;
}

// Splits "key：value" (full-width colon, or the half-width one other programs sometimes write).
bool SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
    std::size_t at = line.find("：");
    std::size_t width = 3;
    const std::size_t ascii = line.find(':');
    if (ascii != std::string_view::npos && (at == std::string_view::npos || ascii < at))
        at = ascii, width = 1;
    if (at == std::string_view::npos || at == 0) return false;
    key = line.substr(0, at);
    value = line.substr(at + width);
    return true;
}

// The line that begins at pos, without its line end; pos moves past the line end. A line ends in LF, in
// CR LF, or in a CR alone (as old Macintosh programs wrote). The CRs right before a LF belong to its
// line end: a comment kept with a stray one would lose it at the next save, as a line written back ends
// in a single CR LF.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t begin = pos;
    const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
    pos = end + 1;
    if (end < text.size() && text[end] == '\r') {
        std::size_t after = end;
        while (after < text.size() && text[after] == '\r') ++after;
        if (after < text.size() && text[after] == '\n') pos = after + 1;
    }
    return text.substr(begin, end - begin);
}

class TKifReader {
public:
    TKifRecord Read(std::string_view text);

private:
    enum class Word { None, Mate, Resign, Interrupted, Repetition, Foul };

    TKifRecord record_;
    // The line being read: -1 the main line, else a variation (its index), its first move At + 1.
    int line_ = -1;
    int lineAt_ = 0;
    TKyokumen position_;
    // The positions along the line being read, from the start (before move 1) to the latest, and the
    // destination of the move into each: where the variations that follow leave from.
    std::vector<TKyokumen> positions_;
    std::vector<int> destinations_;
    TJudge judge_;
    // The seats the header names, and whether the "#" line gave them (it has the last word).
    std::array<std::optional<TSeat>, 2> named_;
    bool seatsLine_ = false;
    // The header and the diagram.
    std::string handicap_;
    int handicapLine_ = 0;
    TBoard diagram_{};
    int rows_ = 0;
    int diagramLine_ = 0;
    bool goteFirst_ = false; // "後手番": the second player moves first
    // The moves.
    bool started_ = false;
    int previousTo_ = 0;
    TGameEnd over_; // the game's own end tests after the last move
    Word word_ = Word::None;
    int wordLine_ = 0;

    void HeaderLine(std::string_view line, int n);
    void BoardRow(std::string_view line, int n);
    void Begin(int n);
    void MoveLine(std::string_view line, int n);
    // KI2: moves without numbers or origins.
    bool ki2_ = false;
    void Ki2Line(std::string_view line, int n);
    void Ki2Move(TCursor& c, Side mark, std::size_t start, int n);
    int Destination(TCursor& c, int n) const;
    void Ki2End(std::string_view line, int n);
    void Comment(std::string_view text);
    void PlayedMove(TCursor& c, std::string_view text, int n);
    void Play(int from, int to, PieceName kind, std::optional<bool> promotes, std::string_view text, int n);
    void Finish(int lastLine);
    void StartVariation(std::string_view line, int n);
    // The current line's lists.
    std::vector<TMove>& Played() {
        return line_ < 0 ? record_.Played : record_.Variations[std::size_t(line_)].Played;
    }
    std::vector<TMove>& Shown() {
        return line_ < 0 ? record_.Shown : record_.Variations[std::size_t(line_)].Shown;
    }
    std::vector<std::string>& Comments() {
        return line_ < 0 ? record_.Comments : record_.Variations[std::size_t(line_)].Comments;
    }
    TGameEnd& Ending() { return line_ < 0 ? record_.Ending : record_.Variations[std::size_t(line_)].Ending; }
};

void TKifReader::HeaderLine(std::string_view line, int n) {
    const std::string trimmed = Trimmed(line);
    if (StartsWith(line, "|")) return BoardRow(line, n);
    if (StartsWith(line, "+")) {
        if (diagramLine_ == 0) diagramLine_ = n;
        return;
    }
    if (trimmed == "先手番" || trimmed == "下手番") return;
    if (trimmed == "後手番" || trimmed == "上手番") {
        goteFirst_ = true;
        return;
    }
    // Programs that write the diagram as a position of its own add the number of moves before it and
    // the last of them ("手数＝0  ▲７六歩  まで"); only a diagram before the first move is a start.
    for (std::string_view head : {"手数＝", "手数="}) {
        TCursor c{trimmed};
        if (!c.Take(head)) continue;
        c.SkipBlanks();
        const int before = c.Integer();
        if (before == 0) return;
        if (before > 0) throw TKifError(n, KifFault::NotFromTheStart, {}, {Number(before)});
        throw TKifError(n, KifFault::UnreadableLine, std::string(line));
    }
    std::string_view key, value;
    if (!SplitKey(line, key, value)) throw TKifError(n, KifFault::UnreadableLine, std::string(line));
    const std::string k = Trimmed(key);
    const std::string v = Trimmed(value);
    // This game's own players are kept, another program's are not: the game is this one's once opened.
    if (k == "先手" || k == "後手") {
        named_[k == "先手" ? 0 : 1] = SeatFromRecordName(v);
        return;
    }
    if (k == "手合割") {
        handicap_ = v;
        handicapLine_ = n;
    } else if (k == "開始日時" || (k == "対局日" && !record_.Began.Known())) {
        record_.Began = ParseKifDate(v);
    } else if (k.size() > 9 && k.substr(k.size() - 9) == "の持駒") {
        if (!v.empty() && v != "なし") throw TKifError(n, KifFault::PiecesInHand, v);
    }
}

void TKifReader::BoardRow(std::string_view line, int n) {
    if (diagramLine_ == 0) diagramLine_ = n;
    if (rows_ == 9) throw TKifError(n, KifFault::TenthRow);
    const int rank = ++rows_;
    TCursor c{line};
    c.Take("|");
    for (int file = 9; file >= 1; --file) {
        bool com;
        if (c.Take("v"))
            com = true;
        else if (c.Take(" "))
            com = false;
        else
            throw TKifError(n, KifFault::UnreadableCell, {}, {Number(rank), Number(file)});
        PieceName p = PieceName::Empty;
        if (!c.Take("・")) {
            for (const TKifName& name : kMoveNames)
                if (name.Text.size() == 3 && c.Take(name.Text)) {
                    p = name.Kind;
                    break;
                }
            if (p == PieceName::Empty)
                throw TKifError(n, KifFault::UnreadablePiece, {}, {Number(rank), Number(file)});
            if (com) p = OtherSide(p);
        } else if (com) {
            throw TKifError(n, KifFault::UnreadableCell, {}, {Number(rank), Number(file)});
        }
        diagram_[std::size_t(file * 10 + rank)] = p;
    }
    if (!c.Take("|")) throw TKifError(n, KifFault::RaggedRow, {}, {Number(rank)});
}

void TKifReader::Begin(int n) {
    if (started_) return;
    started_ = true;
    if (diagramLine_ == 0) {
        if (handicap_.empty() || handicap_ == "平手")
            throw TKifError(handicapLine_ ? handicapLine_ : n, KifFault::NoDiagram);
        throw TKifError(handicapLine_, KifFault::HandicapWithoutDiagram, handicap_);
    }
    if (rows_ != 9) throw TKifError(diagramLine_, KifFault::RowCount, {}, {Number(rows_)});
    constexpr std::array kStarts{KifStart::Even, KifStart::Handicap, KifStart::Test};
    static const auto kStartBoards = [&kStarts] {
        std::array<std::array<PieceName, kMapSize>, kStarts.size()> boards{};
        for (std::size_t i = 0; i < kStarts.size(); ++i) boards[i] = KifStartPosition(kStarts[i]).Board;
        return boards;
    }();
    bool known = false;
    for (std::size_t i = 0; i < kStarts.size() && !known && !goteFirst_; ++i) {
        bool same = true;
        for (int file = 1; file <= 9 && same; ++file)
            for (int rank = 1; rank <= 9 && same; ++rank)
                same =
                    kStartBoards[i][std::size_t(file * 10 + rank)] == diagram_[std::size_t(file * 10 + rank)];
        if (same) {
            record_.Start = kStarts[i];
            known = true;
        }
    }
    if (!known) {
        // Any other position this game could play from is a start set up by hand.
        const Side first = goteFirst_ ? Side::Gote : Side::Sente;
        const TPositionCheck check = CheckPosition(diagram_, first);
        if (!check.Sound()) throw TKifError(diagramLine_, check);
        record_.Start = KifStart::Edited;
        record_.Edited = {diagram_, first};
    }
    position_ = KifStartPosition(record_);
    judge_.Reset(position_);
    positions_.assign(1, position_);
    destinations_.assign(1, 0);
    if (!seatsLine_) {
        // Only names this game writes count; a record that names neither side keeps the classic seats.
        if (named_[0]) record_.Seats.Of[0] = *named_[0];
        if (named_[1]) record_.Seats.Of[1] = *named_[1];
    }
}

// A comment belongs to the move before it; comments before the first move, after the game's last word
// and the bare-king note are the record's own, not a move's.
void TKifReader::Comment(std::string_view text) {
    if (text.empty() || !started_ || Shown().empty() || word_ != Word::None) return;
    if (IsEndNote(text)) return;
    std::vector<std::string>& comments = Comments();
    comments.resize(Shown().size());
    std::string& comment = comments.back();
    if (!comment.empty()) comment += '\n';
    comment += text;
}

void TKifReader::MoveLine(std::string_view line, int n) {
    TCursor c{line};
    c.SkipBlanks();
    const int number = c.Integer();
    if (number < 0 || !c.SkipBlanks()) throw TKifError(n, KifFault::UnreadableLine, std::string(line));
    Begin(n);
    if (word_ != Word::None) throw TKifError(n, KifFault::MoveAfterEnd, {}, {Number(wordLine_)});
    const int expected = lineAt_ + int(Played().size()) + 1;
    if (number != expected) throw TKifError(n, KifFault::MoveNumber, {}, {Number(number), Number(expected)});

    const std::size_t start = c.Pos;
    if (c.Take("投了"))
        word_ = Word::Resign;
    else if (c.Take("詰み"))
        word_ = Word::Mate;
    else if (c.Take("中断"))
        word_ = Word::Interrupted;
    else if (c.Take("千日手"))
        word_ = Word::Repetition;
    else if (c.Take("反則負け"))
        word_ = Word::Foul;
    if (word_ != Word::None)
        wordLine_ = n;
    else
        PlayedMove(c, line.substr(start), n);
    // What may follow: the time taken, "( 0:12/00:01:34)", and the mark of a variation, "+".
    c.SkipBlanks();
    if (c.Take("(")) {
        const std::size_t close = c.Rest().find(')');
        if (close == std::string_view::npos) throw TKifError(n, KifFault::UnreadableTime);
        c.Pos += close + 1;
    }
    c.SkipBlanks();
    c.Take("+");
    c.SkipBlanks();
    if (!c.Done()) throw TKifError(n, KifFault::TextAfterMove, std::string(c.Rest()));
}

// A move's destination: two digits, or 同 for the square the move before went to.
int TKifReader::Destination(TCursor& c, int n) const {
    if (c.Take("同")) {
        if (!c.Take("　")) c.Take(" ");
        if (previousTo_ == 0) throw TKifError(n, KifFault::SameSquareFirst);
        return previousTo_;
    }
    const int file = c.Digit(false);
    const int rank = file ? c.Digit(true) : 0;
    if (rank == 0) throw TKifError(n, KifFault::UnreadableDestination, std::string(c.Rest()));
    return file * 10 + rank;
}

// The piece a move names, Empty for none.
PieceName TakeMoveName(TCursor& c) {
    for (const TKifName& name : kMoveNames)
        if (c.Take(name.Text)) return name.Kind;
    return PieceName::Empty;
}

// What a move says of promotion: 成, 不成 or nothing; 打 (a drop) is refused.
std::optional<bool> TakePromotion(TCursor& c, int n) {
    if (c.Take("不成")) return false;
    if (c.Take("成")) return true;
    if (c.Take("打")) throw TKifError(n, KifFault::Drop);
    return std::nullopt;
}

// The move a line writes from its destination on ("７六歩(77)", "同　銀成(22)"), played.
void TKifReader::PlayedMove(TCursor& c, std::string_view text, int n) {
    const std::size_t start = c.Pos;
    for (std::string_view other :
         {"持将棋", "切れ負け", "反則勝ち", "入玉勝ち", "不詰", "不戦勝", "不戦敗", "宣言勝ち"})
        if (c.Take(other)) throw TKifError(n, KifFault::EndingNotInGame, {}, {std::string(other)});
    const int to = Destination(c, n);
    const PieceName kind = TakeMoveName(c);
    if (kind == PieceName::Empty) throw TKifError(n, KifFault::UnreadablePieceName, std::string(text));
    const std::optional<bool> promotes = TakePromotion(c, n);
    int from = 0;
    if (c.Take("(") && !c.Done() && c.Text[c.Pos] >= '1' && c.Text[c.Pos] <= '9') {
        from = (c.Text[c.Pos++] - '0') * 10;
        if (!c.Done() && c.Text[c.Pos] >= '1' && c.Text[c.Pos] <= '9')
            from += c.Text[c.Pos++] - '0';
        else
            from = 0;
    }
    if (from == 0 || !c.Take(")")) throw TKifError(n, KifFault::NoOrigin);
    Play(from, to, kind, promotes, c.Text.substr(start, c.Pos - start), n);
}

// The marks of a KI2 move's side: ▲ (☗) the first player, △ (☖, ▽) the second.
constexpr std::string_view kKi2Marks[2][3] = {{"▲", "☗", ""}, {"△", "☖", "▽"}};

std::optional<Side> TakeKi2Mark(TCursor& c) {
    for (Side side : {Side::Sente, Side::Gote})
        for (std::string_view mark : kKi2Marks[std::size_t(side)])
            if (!mark.empty() && c.Take(mark)) return side;
    return std::nullopt;
}

bool Ki2Mark(std::string_view text) {
    TCursor c{text};
    return TakeKi2Mark(c).has_value();
}

// How far a move goes towards the mover's far end (negative: back).
int Advance(Side side, int from, int to) {
    return side == Side::Sente ? RankOf(from) - RankOf(to) : RankOf(to) - RankOf(from);
}

// How far to the mover's right a square lies: file 1 is the first player's right, file 9 the second's.
int Rightness(Side side, int square) {
    return side == Side::Sente ? -FileOf(square) : FileOf(square);
}

// A line of KI2 moves, one or more, each after its side's mark: "▲７六歩　△３四歩　▲２二角成　△同　銀".
void TKifReader::Ki2Line(std::string_view line, int n) {
    Begin(n);
    ki2_ = true;
    TCursor c{line};
    for (c.SkipBlanks(); !c.Done(); c.SkipBlanks()) {
        const std::size_t start = c.Pos;
        const std::optional<Side> mark = TakeKi2Mark(c);
        if (!mark) throw TKifError(n, KifFault::TextAfterMove, std::string(c.Rest()));
        if (word_ != Word::None) throw TKifError(n, KifFault::MoveAfterEnd, {}, {Number(wordLine_)});
        Ki2Move(c, *mark, start, n);
    }
}

// One KI2 move after its mark: the destination, the piece, the words that tell two pieces of the kind
// apart (右 左 直, then 上 引 寄; 行 and 入 are other ways of writing 上), the promotion. The piece that
// moved is the one of the side's legal moves to that square that the words leave.
void TKifReader::Ki2Move(TCursor& c, Side mark, std::size_t start, int n) {
    const auto text = [&] { return std::string(c.Text.substr(start, c.Pos - start)); };
    const int to = Destination(c, n);
    const PieceName kind = TakeMoveName(c);
    if (kind == PieceName::Empty)
        throw TKifError(n, KifFault::UnreadablePieceName, text() + std::string(c.Rest()));
    enum class Across { Any, Right, Left, Straight } across = Across::Any;
    if (c.Take("右"))
        across = Across::Right;
    else if (c.Take("左"))
        across = Across::Left;
    else if (c.Take("直"))
        across = Across::Straight;
    enum class Along { Any, Forward, Back, Sideways } along = Along::Any;
    if (c.Take("上") || c.Take("行") || c.Take("入"))
        along = Along::Forward;
    else if (c.Take("引"))
        along = Along::Back;
    else if (c.Take("寄"))
        along = Along::Sideways;
    const std::optional<bool> promotes = TakePromotion(c, n);

    const Side side = SideToMove(position_);
    if (mark != side) throw TKifError(n, KifFault::WrongMover, text(), {std::string(SideName(side))});
    const auto candidates = [&](bool legalOnly) {
        TMoveList moves;
        if (legalOnly)
            LegalMoves(position_, side, moves);
        else
            position_.ListMoves(side == Side::Gote, moves);
        std::vector<int> froms;
        for (const TMove& m : moves)
            if (m.To == to && HumanKind(position_.Board[m.From]) == kind &&
                std::find(froms.begin(), froms.end(), int(m.From)) == froms.end())
                froms.push_back(m.From);
        return froms;
    };
    std::vector<int> froms = candidates(true);
    // A move that would leave the king attacked is played to be refused as such.
    if (froms.empty()) froms = candidates(false);
    std::erase_if(froms, [&](int from) {
        const int advance = Advance(side, from, to);
        switch (along) {
        case Along::Forward:
            return advance <= 0;
        case Along::Back:
            return advance >= 0;
        case Along::Sideways:
            return advance != 0;
        case Along::Any:
            break;
        }
        return across == Across::Straight && (FileOf(from) != FileOf(to) || advance <= 0);
    });
    if ((across == Across::Right || across == Across::Left) && !froms.empty()) {
        const auto [least, most] = std::minmax_element(froms.begin(), froms.end(), [side](int a, int b) {
            return Rightness(side, a) < Rightness(side, b);
        });
        const int edge = Rightness(side, across == Across::Right ? *most : *least);
        std::erase_if(froms, [&](int from) { return Rightness(side, from) != edge; });
    }
    if (froms.empty())
        throw TKifError(n, KifFault::NoMoveThere, text(),
                        {std::string(SideName(side)), std::string(KifPieceName(kind)), SquareText(to)});
    if (froms.size() > 1)
        throw TKifError(n, KifFault::AmbiguousMove, text(),
                        {std::string(KifPieceName(kind)), SquareText(to)});
    Play(froms.front(), to, kind, promotes, text(), n);
}

// The closing line of a KI2 record, which alone says how it ended: "まで64手で後手の勝ち" is a
// resignation where the game has not ended by the rules.
void TKifReader::Ki2End(std::string_view line, int n) {
    if (word_ != Word::None || over_.Over()) return;
    TCursor c{line};
    c.Take("まで");
    c.SkipBlanks();
    c.Integer();
    c.Take("手");
    c.Take("で");
    c.SkipBlanks();
    const std::string how(c.Rest());
    if (how == "中断" || how.empty()) return;
    if (how == "千日手" || how == "詰み") {
        word_ = how == "千日手" ? Word::Repetition : Word::Mate;
        wordLine_ = n;
        return;
    }
    std::optional<Side> loser;
    if (how == "先手の勝ち" || how == "下手の勝ち") loser = Side::Gote;
    if (how == "後手の勝ち" || how == "上手の勝ち") loser = Side::Sente;
    // A side that loses after its own move lost in a way this game does not have (its time, a foul).
    if (!loser || *loser != SideToMove(position_)) throw TKifError(n, KifFault::EndingNotInGame, {}, {how});
    word_ = Word::Resign;
    wordLine_ = n;
}

void TKifReader::Play(int from, int to, PieceName kind, std::optional<bool> promotes, std::string_view text,
                      int n) {
    // The texts of a refusal are made only when a move is refused.
    const auto refuse = [&](KifFault fault, std::vector<std::string> values = {}) {
        return TKifError(n, fault, std::string(text), std::move(values));
    };
    if (over_.Over()) throw refuse(KifFault::GameAlreadyOver, {Number(lineAt_ + int(Played().size()))});
    TKyokumen& k = position_;
    const Side side = SideToMove(k);
    const PieceName on = k.Board[std::size_t(from)];
    if (on == PieceName::Empty || SideOf(on) != side)
        throw refuse(KifFault::NoPieceOfSide, {std::string(SideName(side)), SquareText(from)});
    if (HumanKind(on) != kind)
        throw refuse(KifFault::OtherPiece,
                     {SquareText(from), std::string(KifPieceName(on)), std::string(KifPieceName(kind))});

    // Either side's move is judged by the same rules: the pieces' true moves, the king never left
    // attacked.
    const THumanMoveTest test = TestMove(k, side, from, to);
    if (test.Result == THumanMoveTest::NoMove)
        throw refuse(KifFault::CannotMove,
                     {std::string(KifPieceName(kind)), SquareText(from), SquareText(to)});
    if (test.Result == THumanMoveTest::KingLeftAttacked) throw refuse(KifFault::LeavesKingInCheck);
    const TMove played = test.Move;
    k.ApplyMove(played);
    const TMove shown = side == Side::Gote ? k.Gote.LastMove : k.Sente.LastMove;
    k.ComToMove = side == Side::Sente;
    const bool promoted = HumanKind(shown.Name) != kind;
    if (promotes == true && !promoted) throw refuse(KifFault::NotAPromotion);
    if (promoted && promotes != true) throw refuse(KifFault::PromotionNotWritten);

    Played().push_back(played);
    Shown().push_back(shown);
    previousTo_ = to;
    over_ = judge_.Moved(k);
    positions_.push_back(k);
    destinations_.push_back(to);
}

// "変化：12手": the line read so far is finished, and the moves that follow are a variation whose first
// move is move 12, played instead of move 12 of the line just read (or of the line it branches off,
// where move 12 lies before its own first move). An alternative to a variation's own first move is that
// variation's sibling. The position it leaves from lies on the line just read, so it is taken from the
// positions kept along that line.
void TKifReader::StartVariation(std::string_view line, int n) {
    Begin(n);
    TCursor c{line};
    c.Take("変化");
    if (!c.Take("：")) c.Take(":");
    c.SkipBlanks();
    const int number = c.Integer();
    c.Take("手");
    c.SkipBlanks();
    if (number < 1 || !c.Done()) throw TKifError(n, KifFault::UnreadableLine, std::string(line));
    Finish(n);
    int owner = line_;
    while (owner >= 0 && number <= record_.Variations[std::size_t(owner)].At)
        owner = record_.Variations[std::size_t(owner)].Parent;
    const int length = owner < 0 ? int(record_.Played.size())
                                 : record_.Variations[std::size_t(owner)].At +
                                       int(record_.Variations[std::size_t(owner)].Played.size());
    if (number > length || number > int(positions_.size()) - 1)
        throw TKifError(n, KifFault::VariationWithoutMove, {}, {Number(number)});
    TKifVariation v;
    v.At = number - 1;
    v.Parent = owner >= 0 && record_.Variations[std::size_t(owner)].At == v.At
                   ? record_.Variations[std::size_t(owner)].Parent
                   : owner;
    positions_.resize(std::size_t(number));
    destinations_.resize(std::size_t(number));
    position_ = positions_.back();
    previousTo_ = destinations_.back();
    judge_.TakeBackTo(v.At);
    over_ = {};
    word_ = Word::None;
    wordLine_ = 0;
    record_.Variations.push_back(std::move(v));
    line_ = int(record_.Variations.size()) - 1;
    lineAt_ = number - 1;
}

void TKifReader::Finish(int lastLine) {
    Begin(lastLine);
    const Side toMove = SideToMove(position_);
    if (over_.Over()) {
        // The words a record closes with must be the game's own verdict where it has them.
        if (word_ == Word::Repetition && over_.Kind != EndKind::Repetition &&
            over_.Kind != EndKind::PerpetualCheck)
            throw TKifError(wordLine_, KifFault::EndingNotInGame, {}, {"千日手"});
        Ending() = over_;
    } else if (word_ == Word::Mate) {
        // COM may have taken itself to be mated where the rules still give it a move (its own think
        // judged it, as records of earlier versions kept it): such a mate stands as written.
        if (record_.Seats[toMove].Kind != SeatKind::Com) throw TKifError(wordLine_, KifFault::NotMated);
        Ending() = {EndKind::Mate, toMove};
    } else if (word_ == Word::Resign) {
        if (lineAt_ + int(Played().size()) == 0) throw TKifError(wordLine_, KifFault::ResignBeforeFirstMove);
        Ending() = {EndKind::Resign, toMove};
    } else if (word_ == Word::Foul) {
        // The move the rules refused is not in the record: the side to move lost by it.
        Ending() = {EndKind::IllegalMove, toMove};
    } else if (word_ == Word::Repetition) {
        throw TKifError(wordLine_, KifFault::EndingNotInGame, {}, {"千日手"});
    } else if (word_ == Word::Interrupted && line_ < 0) {
        record_.Interrupted = true;
    }
}

TKifRecord TKifReader::Read(std::string_view text) {
    // A file at the size limit may grow by half when CP932 becomes UTF-8.
    if (text.size() > 2 * kKifMaxBytes)
        throw TKifError(1, KifFault::TextTooLarge, {}, {std::to_string(text.size())});
    if (StartsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
    int n = 0;
    bool anything = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::string_view line = NextLine(text, pos);
        ++n;
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty()) continue;
        anything = true;
        if (StartsWith(line, "*")) {
            Comment(line.substr(1));
            continue;
        }
        if (StartsWith(line, kSeatsKey)) {
            // Seats this game cannot read leave the header's, and play on refuses the record.
            if (const std::optional<TSeats> seats = ParseSeatsText(Trimmed(line.substr(kSeatsKey.size())))) {
                record_.Seats = *seats;
                seatsLine_ = true;
            } else if (record_.Continuation.FaultLine == 0) {
                record_.Continuation.FaultLine = n;
            }
            continue;
        }
        if (ReadContinuationLine(line, n, record_.Continuation)) continue;
        if (StartsWith(line, "#") || StartsWith(line, "&")) continue;
        if (StartsWith(trimmed, "変化")) {
            StartVariation(trimmed, n);
            continue;
        }
        // The diagram's row of file numbers, full-width or (as some programs write it) half-width.
        if (!started_ && (StartsWith(trimmed, "９") || StartsWith(trimmed, "9 8"))) {
            if (diagramLine_ == 0) diagramLine_ = n;
            continue;
        }
        if (trimmed[0] >= '0' && trimmed[0] <= '9') {
            MoveLine(line, n);
            continue;
        }
        if (Ki2Mark(trimmed)) {
            Ki2Line(trimmed, n);
            continue;
        }
        if (StartsWith(line, "手数----")) {
            Begin(n);
            continue;
        }
        if (!started_) {
            HeaderLine(line, n);
            continue;
        }
        std::string_view key, value;
        if (ki2_ && StartsWith(trimmed, "まで")) {
            Ki2End(trimmed, n);
            continue;
        }
        if (StartsWith(trimmed, "まで") || (SplitKey(line, key, value) && Trimmed(key) == "終了日時"))
            continue;
        throw TKifError(n, KifFault::UnreadableLine, std::string(line));
    }
    if (!anything) throw TKifError(1, KifFault::Empty);
    Finish(n);
    return std::move(record_);
}

} // namespace

int KifLineOf(std::string_view text, std::size_t offset) {
    int n = 1;
    std::size_t pos = 0;
    for (NextLine(text, pos); pos <= offset && pos < text.size(); NextLine(text, pos)) ++n;
    return n;
}

TKifDate ParseKifDate(std::string_view text) {
    TCursor c{text};
    TKifDate d;
    d.Year = c.Integer();
    if (!c.Take("/")) return {};
    d.Month = c.Integer();
    if (!c.Take("/")) return {};
    d.Day = c.Integer();
    if (c.Take("(")) {
        const std::size_t close = c.Rest().find(')');
        if (close == std::string_view::npos) return {};
        c.Pos += close + 1;
    }
    if (c.SkipBlanks() && !c.Done()) {
        d.Hour = c.Integer();
        if (!c.Take(":")) return {};
        d.Minute = c.Integer();
        if (c.Take(":")) d.Second = c.Integer();
    }
    c.SkipBlanks();
    const bool good = c.Done() && d.Year >= 1 && d.Year <= 9999 && d.Month >= 1 && d.Month <= 12 &&
                      d.Day >= 1 && d.Day <= 31 && d.Hour >= 0 && d.Hour <= 23 && d.Minute >= 0 &&
                      d.Minute <= 59 && d.Second >= 0 && d.Second <= 59;
    return good ? d : TKifDate{};
}

std::string KifDateText(const TKifDate& d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", d.Year, d.Month, d.Day, d.Hour, d.Minute,
                  d.Second);
    return buf;
}

std::string RecordDateText(const TKifDate& d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", d.Year, d.Month, d.Day, d.Hour, d.Minute,
                  d.Second);
    return buf;
}

TKyokumen KifStartPosition(KifStart start, const TEditedStart& edited) {
    TKyokumen k;
    if (start == KifStart::Handicap) k.SetupHisyaKaku();
    if (start == KifStart::Test) k.SetupTestPosition();
    if (start == KifStart::Edited) k.SetupFromBoard(edited.Board, edited.ToMove == Side::Gote);
    return k;
}

TKyokumen KifStartPosition(const TKifRecord& record) {
    return KifStartPosition(record.Start, record.Edited);
}

Side KifMover(const TKifRecord& record, std::size_t i) {
    const Side first = record.Start == KifStart::Edited ? record.Edited.ToMove : Side::Sente;
    return i % 2 == 0 ? first : Other(first);
}

KifStart StartOfBoard(const TEditedStart& edited) {
    if (edited.ToMove != Side::Sente) return KifStart::Edited;
    for (KifStart start : {KifStart::Even, KifStart::Handicap, KifStart::Test}) {
        const TKyokumen k = KifStartPosition(start);
        bool same = true;
        for (int sq = 11; sq <= 99 && same; ++sq)
            same =
                !OnBoard(FileOf(sq), RankOf(sq)) || k.Board[std::size_t(sq)] == edited.Board[std::size_t(sq)];
        if (same) return start;
    }
    return KifStart::Edited;
}

namespace {

// The board as the move texts need it: each square's piece as the record shows it, and where the
// latest move went (for 同).
struct TTextBoard {
    std::array<PieceName, kSquareCount> Board{};
    int PreviousTo = 0;

    explicit TTextBoard(const TKyokumen& k) {
        for (int sq = 0; sq < kSquareCount; ++sq) Board[std::size_t(sq)] = k.Board[std::size_t(sq)];
    }
    std::string Text(const TMove& m, bool western) const {
        PieceName before = m.From < kSquareCount ? Board[m.From] : PieceName::Empty;
        if (before == PieceName::Empty) before = m.Name;
        const bool promotes = HumanKind(before) != HumanKind(m.Name);
        if (western)
            return WesternMove(before, m.To, m.To < kSquareCount && Board[m.To] != PieceName::Empty,
                               promotes);
        std::string text = m.To == PreviousTo ? std::string("同　") : KifSquare(m.To);
        text += KifPieceName(before);
        if (promotes) text += "成";
        return text;
    }
    void Play(const TMove& m) {
        if (m.From < kSquareCount) Board[m.From] = PieceName::Empty;
        if (m.To < kSquareCount) Board[m.To] = m.Name;
        PreviousTo = m.To;
    }
};

std::vector<std::string> MoveTexts(TTextBoard& board, const std::vector<TMove>& shown, bool western) {
    std::vector<std::string> texts;
    texts.reserve(shown.size());
    for (const TMove& m : shown) {
        texts.push_back(board.Text(m, western));
        board.Play(m);
    }
    return texts;
}

} // namespace

std::vector<std::string> KifMoveTexts(const TKifRecord& record) {
    TTextBoard board(KifStartPosition(record));
    return MoveTexts(board, record.Shown, DisplayLanguage() == TTextLanguage::English);
}

std::vector<TMove> TKifRecord::PathPlayed(int line) const {
    if (line < 0) return Played;
    const TKifVariation& v = Variations[std::size_t(line)];
    std::vector<TMove> path = PathPlayed(v.Parent);
    path.resize(std::size_t(v.At));
    path.insert(path.end(), v.Played.begin(), v.Played.end());
    return path;
}

std::vector<TMove> TKifRecord::PathShown(int line) const {
    if (line < 0) return Shown;
    const TKifVariation& v = Variations[std::size_t(line)];
    std::vector<TMove> path = PathShown(v.Parent);
    path.resize(std::size_t(v.At));
    path.insert(path.end(), v.Shown.begin(), v.Shown.end());
    return path;
}

std::string KifEndText(const TKifRecord& record) {
    const TGameEnd& e = record.Ending;
    const std::string n = Number(static_cast<int>(record.Shown.size()));
    const std::string winner = e.Loser == Side::Gote ? Tr("MoveList", "先手") : Tr("MoveList", "後手");
    switch (e.Kind) {
    case EndKind::None:
        return {};
    case EndKind::Resign:
        return TrArg(Tr("MoveList", "投了　まで%1手で%2の勝ち"), {n, winner});
    case EndKind::Mate:
        return TrArg(Tr("MoveList", "詰み　まで%1手で%2の勝ち"), {n, winner});
    case EndKind::BareKing:
        return TrArg(Tr("MoveList", "王一枚　まで%1手で%2の勝ち"), {n, winner});
    case EndKind::NoMove:
        return TrArg(Tr("MoveList", "指し手なし　まで%1手で%2の勝ち"), {n, winner});
    case EndKind::Repetition:
        return TrArg(Tr("MoveList", "千日手　まで%1手で千日手"), {n});
    case EndKind::PerpetualCheck:
        return TrArg(Tr("MoveList", "連続王手の千日手　まで%1手で%2の勝ち"), {n, winner});
    case EndKind::IllegalMove:
        return TrArg(Tr("MoveList", "反則負け　まで%1手で%2の勝ち"), {n, winner});
    }
    return {};
}

namespace {

// One rank of the board diagram: "|v香v桂 ・ …|一", COM's pieces marked with "v".
std::string DiagramRow(const TKyokumen& k, int rank) {
    std::string row = "|";
    for (int file = 9; file >= 1; --file) {
        const PieceName p = k.Board[std::size_t(file * 10 + rank)];
        if (p == PieceName::Empty) {
            row += " ・";
            continue;
        }
        row += IsCom(p) ? "v" : " ";
        row += DiagramGlyph(p);
    }
    row += "|";
    row += kKanjiNumerals[std::size_t(rank)];
    return row;
}

} // namespace

namespace {

// The text being written, a line at a time.
struct TLineWriter {
    std::string Text;
    void operator()(std::string_view line) {
        Text += line;
        Text += '\n';
    }
};

void WriteHeader(TLineWriter& line, const TKifRecord& record) {
    if (record.Began.Known()) line("開始日時：" + KifDateText(record.Began));
    // Ordinary shogi's handicap names would put the second player first; the diagram says it all.
    line("手合割：その他");
    // The game the program was made for keeps the header and the lines it always had; other seats are
    // named with COM's formation and given a line of their own.
    const bool classic = record.Seats.Classic();
    line("先手：" + SeatRecordName(record.Seats[Side::Sente], !classic));
    line("後手：" + SeatRecordName(record.Seats[Side::Gote], !classic));
    line("後手の持駒：なし");
    line("  ９ ８ ７ ６ ５ ４ ３ ２ １");
    line(kFrame);
    const TKyokumen start = KifStartPosition(record);
    for (int rank = 1; rank <= 9; ++rank) line(DiagramRow(start, rank));
    line(kFrame);
    line("先手の持駒：なし");
    line(SideToMove(start) == Side::Gote ? "後手番" : "先手番");
    line("手数----指手---------消費時間--");
}

// One line of play as the record holds it: the main line, or a variation.
struct TLineOf {
    int At = 0; // the moves before its first
    const std::vector<TMove>* Shown;
    const std::vector<std::string>* Comments;
    const TGameEnd* Ending;
    bool Interrupted = false;
};

TLineOf LineOf(const TKifRecord& r, int line) {
    if (line < 0) return {0, &r.Shown, &r.Comments, &r.Ending, r.Interrupted};
    const TKifVariation& v = r.Variations[std::size_t(line)];
    return {v.At, &v.Shown, &v.Comments, &v.Ending};
}

// The variations that branch off a line, in the order they are written: the latest branch point first,
// alternatives at one move in the record's order.
std::vector<int> BranchesOf(const TKifRecord& r, int line) {
    std::vector<int> branches;
    for (int i = 0; i < int(r.Variations.size()); ++i)
        if (r.Variations[std::size_t(i)].Parent == line) branches.push_back(i);
    std::stable_sort(branches.begin(), branches.end(), [&r](int a, int b) {
        return r.Variations[std::size_t(a)].At > r.Variations[std::size_t(b)].At;
    });
    return branches;
}

void WriteComment(TLineWriter& line, std::string_view comment) {
    // One "*" line for each line of the comment.
    while (!comment.empty()) {
        const std::size_t end = std::min(comment.find('\n'), comment.size());
        if (end > 0) line("*" + std::string(comment.substr(0, end)));
        comment.remove_prefix(std::min(end + 1, comment.size()));
    }
}

// A line's moves, each marked "+" where an alternative to it follows in the record; board is the
// position before its first move.
void WriteMoves(TLineWriter& line, const TLineOf& l, TTextBoard board, const std::vector<bool>& alternative) {
    char number[16];
    const std::vector<std::string> moves = MoveTexts(board, *l.Shown, false);
    for (std::size_t i = 0; i < l.Shown->size(); ++i) {
        const int n = l.At + int(i) + 1;
        std::snprintf(number, sizeof number, "%4d ", n);
        std::string text = number + moves[i] + "(" + SquareText((*l.Shown)[i].From) + ")";
        if (alternative[i]) text += "+";
        line(text);
        if (i < l.Comments->size()) WriteComment(line, (*l.Comments)[i]);
    }
}

// The end's move line and closing line ("まで62手で後手の勝ち"); nothing for a line going on, 中断 for a
// game left on purpose.
void WriteEnding(TLineWriter& line, const TLineOf& l) {
    const TGameEnd& e = *l.Ending;
    const int n = l.At + static_cast<int>(l.Shown->size());
    if (!e.Over()) {
        if (l.Interrupted) {
            char number[16];
            std::snprintf(number, sizeof number, "%4d ", n + 1);
            line(std::string(number) + "中断");
            line("まで" + Number(n) + "手で中断");
        }
        return;
    }
    const std::size_t loser = std::size_t(e.Loser);
    char number[16];
    std::snprintf(number, sizeof number, "%4d ", n + 1);
    switch (e.Kind) {
    case EndKind::Mate:
        line(std::string(number) + "詰み");
        break;
    case EndKind::Resign:
        line(std::string(number) + "投了");
        break;
    case EndKind::IllegalMove:
        line(std::string(number) + "反則負け");
        break;
    case EndKind::BareKing:
        line("*" + std::string(kBareKingNote[loser]));
        break;
    case EndKind::NoMove:
        line("*" + std::string(kNoMoveNote[loser]));
        break;
    case EndKind::Repetition:
        line(std::string(number) + "千日手");
        line("まで" + Number(n) + "手で千日手");
        return;
    case EndKind::PerpetualCheck:
        line(std::string(number) + "千日手");
        line("*" + std::string(kPerpetualCheckNote[loser]));
        break;
    case EndKind::None:
        return;
    }
    line("まで" + Number(n) + "手で" + (e.Loser == Side::Gote ? "先手" : "後手") + "の勝ち");
}

// A line and, after it, its variations, each followed by its own: board is the position before the
// line's first move.
void WriteLineAndBranches(TLineWriter& line, const TKifRecord& r, int index, const TTextBoard& board) {
    const TLineOf l = LineOf(r, index);
    const std::vector<int> branches = BranchesOf(r, index);
    std::vector<bool> alternative(l.Shown->size(), false);
    for (int b : branches) {
        const std::size_t at = std::size_t(r.Variations[std::size_t(b)].At - l.At);
        if (at < alternative.size()) alternative[at] = true;
    }
    // A variation's first move has an alternative when a sibling follows it.
    if (index >= 0 && !alternative.empty()) {
        const TKifVariation& v = r.Variations[std::size_t(index)];
        for (std::size_t i = std::size_t(index) + 1; i < r.Variations.size() && !alternative[0]; ++i)
            alternative[0] = r.Variations[i].Parent == v.Parent && r.Variations[i].At == v.At;
    }
    WriteMoves(line, l, board, alternative);
    WriteEnding(line, l);
    for (int b : branches) {
        const TKifVariation& v = r.Variations[std::size_t(b)];
        TTextBoard before = board;
        for (int i = 0; i < v.At - l.At; ++i) before.Play((*l.Shown)[std::size_t(i)]);
        line("");
        line("変化：" + Number(v.At + 1) + "手");
        WriteLineAndBranches(line, r, b, before);
    }
}

} // namespace

void SortKifVariations(TKifRecord& record) {
    std::vector<int> order;
    order.reserve(record.Variations.size());
    std::vector<int> pending = BranchesOf(record, -1);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const int v = pending.back();
        pending.pop_back();
        order.push_back(v);
        std::vector<int> branches = BranchesOf(record, v);
        pending.insert(pending.end(), branches.rbegin(), branches.rend());
    }
    std::vector<int> number(record.Variations.size(), -1);
    for (std::size_t i = 0; i < order.size(); ++i) number[std::size_t(order[i])] = int(i);
    std::vector<TKifVariation> sorted;
    sorted.reserve(order.size());
    for (int v : order) {
        sorted.push_back(std::move(record.Variations[std::size_t(v)]));
        if (sorted.back().Parent >= 0) sorted.back().Parent = number[std::size_t(sorted.back().Parent)];
    }
    record.Variations = std::move(sorted);
}

std::string WriteKif(const TKifRecord& record) {
    const TRecordTexts japanese;
    TLineWriter line;
    line.Text.reserve(1024 + record.Shown.size() * 24);
    WriteHeader(line, record);
    WriteLineAndBranches(line, record, -1, TTextBoard(KifStartPosition(record)));
    // Last, where a reader that knows nothing of them has read everything it needs.
    if (!record.Seats.Classic()) line(std::string(kSeatsKey) + SeatsText(record.Seats));
    for (const std::string& extra : ContinuationLines(record.Continuation)) line(extra);
    return std::move(line.Text);
}

TKifRecord ReadKif(std::string_view text) {
    return TKifReader().Read(text);
}
