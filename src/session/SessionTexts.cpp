// The session's words: moves, times, greetings, the labels of a turn, the boxes that end a game. In the
// game the program was made for (a person against a computer) the players are あなた and COM; when two
// people or two computers play, the sides are named instead (▲先手, △後手).
#include "session/GameSession.h"

#include "session/ComReasonText.h"
#include "session/FormationName.h"
#include "session/Notation.h"
#include "session/Tr.h"

#include <cmath>
#include <cstdio>

std::string ErrorBox(const std::string& head, bool fatal, const std::exception& e) {
    std::string text = head;
    text += "\r\n\r\n";
    if (fatal)
        text += Tr("GameSession", "プログラム上のバグです。致命的な状況なのでゲームを中断します。\r\n\r\n");
    text += TrArg(Tr("GameSession", "エラー内容は %1"), {e.what()});
    return text;
}

std::string MoveNumberText(int n) {
    return TrArg(Tr("GameSession", "%1手目"), {std::to_string(n)});
}

std::string ReasonOf(const TTurn& t) {
    if (!t.Reason.Empty()) return ComReasonText(t.Reason);
    return t.ShownComment.empty() ? RecordedComReasonText(t.Comment) : t.ShownComment;
}

std::string RecordReasonOf(const TTurn& t) {
    const TRecordTexts japanese;
    return t.Reason.Empty() ? t.Comment : ComReasonText(t.Reason);
}

// ---------------------------------------------------------------------------------------------
// Texts of any game

std::string TGameSession::FormatMove(const TMove& m) {
    std::string text = "　";
    if (m.Empty()) return text + "→" + "　";
    text += DisplaySquare(m.From);
    text += "→";
    text += DisplaySquare(m.To);
    text += "　";
    text += DisplayPieceName(m.Name);
    return text;
}

std::string TGameSession::DiagramGlyph(std::string_view entry) {
    std::string glyph(entry);
    if (entry.substr(0, 3) == "com") {
        // The rest, at most four characters.
        std::string_view rest = entry.substr(3);
        std::size_t end = 0;
        for (int chars = 0; end < rest.size() && chars < 4; ++chars) {
            ++end;
            while (end < rest.size() && (static_cast<unsigned char>(rest[end]) & 0xC0) == 0x80) ++end;
        }
        glyph = std::string(rest.substr(0, end));
    }
    if (glyph == " ") glyph = "□";
    return glyph;
}

std::string TGameSession::FormatSeconds(double s) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", s);
    std::string text = buf;
    if (text.find_first_of("eE") == std::string::npos) return text;
    // Very small or very large values: the same digits written out without an exponent.
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(s))));
    int decimals = exponent < 0 ? 14 - exponent : 0;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, s);
    text = buf;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

std::string TGameSession::Greeting(std::string_view formation) {
    return TrArg(Tr("GameSession", "あなたの番です\r\n\r\n\r\n（COMの陣形は%1に設定されました）"),
                 {FormationDisplayName(formation)});
}

std::string TGameSession::FormationStatus(std::string_view formation) {
    return TrArg(Tr("GameSession", "%1の駒組み中"), {FormationDisplayName(formation)});
}

std::string TGameSession::CheckStatus() {
    return Tr("GameSession", "COMが王手しました！");
}

// ---------------------------------------------------------------------------------------------
// The words of this game's players

// "▲先手" / "△後手".
std::string SideWords(Side side) {
    return side == Side::Sente ? Tr("GameSession", "▲先手") : Tr("GameSession", "△後手");
}

bool TGameSession::PersonAgainstComputer() const {
    return record_.Seats.LoneHuman().has_value();
}

std::string TGameSession::GameGreeting() const {
    const TSeats& seats = record_.Seats;
    const std::optional<Side> person = seats.LoneHuman();
    const std::optional<Side> com = seats.ListedCom();
    const bool edited = record_.Start == KifStart::Edited;
    if (person && *person == Side::Sente && com && !edited) return Greeting(formation_);
    std::string first;
    if (edited) {
        // Either side may be to move in a position set up by hand.
        first = Tr("GameSession", "編集した局面から対局します。") + "\r\n\r\n" + TurnOwnerText();
    } else if (person) {
        first = *person == Side::Sente ? Tr("GameSession", "あなたの番です")
                                       : Tr("GameSession", "あなたは後手です。相手が先に指します");
    } else if (seats.Humans() == 2) {
        first = Tr("GameSession", "ふたりで対局します。▲先手の番です");
    } else {
        first = TrArg(Tr("GameSession", "観戦します: ▲%1 対 △%2"),
                      {SeatShownName(seats[Side::Sente]), SeatShownName(seats[Side::Gote])});
    }
    if (!com) return first;
    return first + TrArg(Tr("GameSession", "\r\n\r\n\r\n（COMの陣形は%1に設定されました）"),
                         {FormationDisplayName(seats[*com].Formation)});
}

std::string SeatShownName(const TSeat& seat) {
    switch (seat.Kind) {
    case SeatKind::Human:
        return Tr("GameSession", "あなた");
    case SeatKind::Com:
        return "COM" + FormationDisplayName(seat.Formation);
    case SeatKind::Engine:
        return TrArg(Tr("GameSession", "エンジン Lv%1"), {std::to_string(seat.Level)});
    }
    return {};
}

std::string TGameSession::MoveWords(const TMove& m) const {
    // The "com" of a piece's name marks COM's pieces in the game made for a person against COM; in any
    // other game the line's ▲ or △, or who moved, tells whose piece it is.
    if (record_.Seats.Classic()) return FormatMove(m);
    return FormatMove({m.From, m.To, HumanKind(m.Name)});
}

std::string TGameSession::TurnOwnerText() const {
    const Side toMove = SideToMove();
    if (record_.Seats.Humans() == 2) return TrArg(Tr("GameSession", "%1の番です"), {SideWords(toMove)});
    if (record_.Seats.Humans() == 0) return Tr("GameSession", "観戦中です");
    return record_.Seats[toMove].Computer() ? Tr("GameSession", "COMの番です")
                                            : Tr("GameSession", "あなたの番です");
}

std::string TGameSession::IllegalMoveText(bool leavesCheck) const {
    if (record_.Seats.Humans() == 2) {
        const std::string turn = TrArg(Tr("GameSession", "%1の番です。"), {SideWords(SideToMove())});
        return turn + (leavesCheck ? Tr("GameSession", "\r\n\r\n駒の動かし方が不正です。王手の放置です。")
                                   : Tr("GameSession", "\r\n\r\n駒の動かし方が不正です。"));
    }
    return leavesCheck ? Tr("GameSession", "あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。")
                       : Tr("GameSession", "あなたの番です。\r\n\r\n駒の動かし方が不正です。");
}

std::string TGameSession::MoveLabel(const TReportedMove& m) const {
    const std::string count = std::to_string(m.Count);
    if (PersonAgainstComputer())
        return m.Computer
                   ? TrArg(Tr("GameSession", "%1手目 COMの指し手:\r\n\r\n%2"), {count, MoveWords(m.Shown)})
                   : TrArg(Tr("GameSession", "%1手目 あなたの指し手:\r\n\r\n%2"),
                           {count, MoveWords(m.Shown)});
    return TrArg(Tr("GameSession", "%1手目 %2の指し手:\r\n\r\n%3"),
                 {count, SideWords(m.Mover), MoveWords(m.Shown)});
}

std::string TGameSession::ThinkingText(Side side) const {
    if (record_.Seats[side].Kind == SeatKind::Engine) return Tr("GameSession", "エンジン思考中。。。。");
    return Tr("GameSession", "COM思考中。。。。");
}

std::string TGameSession::CheckText(Side mover) const {
    if (PersonAgainstComputer() && record_.Seats[mover].Computer()) return CheckStatus();
    return TrArg(Tr("GameSession", "%1が王手しました！"), {SideWords(mover)});
}

std::string TGameSession::TotalTimeText() const {
    // A total read from a record is a sum of seconds kept there; no sum a game reaches is near the end of
    // the range, but a record can say anything.
    const double total = std::isfinite(comTotalTime_) ? std::min(comTotalTime_, 1e15) : 0.0;
    return TrArg(Tr("GameSession", "COM消費時間： %1秒"), {std::to_string(static_cast<long long>(total))});
}

std::string TGameSession::ComputerErrorBox(Side side, const std::string& error) const {
    // The engine's failure says itself what failed and how the game goes on; COM's is a fault of the
    // program.
    if (record_.Seats[side].Kind == SeatKind::Engine) return error;
    return ErrorBox(Tr("GameSession", "COM思考でエラー発生"), true, std::runtime_error(error));
}

std::string TGameSession::IllegalReplyBox(const TMove& m) const {
    const std::string who = PersonAgainstComputer() ? std::string("COM") : SideWords(SideToMove());
    return TrArg(Tr("GameSession", "%1の指し手は指せない手です（%2）。対局を中断します。"),
                 {who, MoveWords(m)});
}

std::string TGameSession::IllegalReplyText(const TMove& m) const {
    const std::string who = PersonAgainstComputer() ? std::string("COM") : SideWords(SideToMove());
    return TrArg(Tr("GameSession", "%1の反則:%2（自玉に王手がかかったままです）"), {who, MoveWords(m)});
}

namespace {

// The words of one end of a game: when the person wins against a computer, when the person loses, and
// between two people or two computers (%1 the winner's side, %2 the loser's).
struct TEndWords {
    const char* PersonWins;
    const char* PersonLoses;
    const char* Sides;
};

TEndWords EndBoxWords(EndKind kind) {
    switch (kind) {
    case EndKind::Mate:
        return {TrNoop("GameSession", "王の詰みです。あなたの勝ちです。"),
                TrNoop("GameSession", "詰みです。COMの勝ちです。"),
                TrNoop("GameSession", "詰みです。%1の勝ちです。")};
    case EndKind::BareKing:
        return {TrNoop("GameSession", "王一枚のみになったので終了です。あなたの勝ちです。"),
                TrNoop("GameSession", "王一枚のみとなったので終了です。COMの勝ちです。"),
                TrNoop("GameSession", "王一枚のみとなったので終了です。%1の勝ちです。")};
    case EndKind::NoMove:
        return {TrNoop("GameSession", "COMに指せる手がありません。あなたの勝ちです。"),
                TrNoop("GameSession", "指せる手がありません。COMの勝ちです。"),
                TrNoop("GameSession", "%2に指せる手がありません。%1の勝ちです。")};
    case EndKind::Resign:
        return {TrNoop("GameSession", "COMが投了しました。あなたの勝ちです。"),
                TrNoop("GameSession", "投了しました。COMの勝ちです。"),
                TrNoop("GameSession", "%2が投了しました。%1の勝ちです。")};
    case EndKind::PerpetualCheck:
        return {TrNoop("GameSession", "連続王手の千日手です。COMの負けです。"),
                TrNoop("GameSession", "連続王手の千日手です。あなたの負けです。"),
                TrNoop("GameSession", "連続王手の千日手です。%2の負けです。")};
    case EndKind::IllegalMove:
        return {TrNoop("GameSession", "COMの指し手は反則です。あなたの勝ちです。"),
                TrNoop("GameSession", "反則です。COMの勝ちです。"),
                TrNoop("GameSession", "%2の指し手は反則です。%1の勝ちです。")};
    case EndKind::Repetition:
    case EndKind::None:
        break;
    }
    return {TrNoop("GameSession", "千日手です。引き分けです。"),
            TrNoop("GameSession", "千日手です。引き分けです。"),
            TrNoop("GameSession", "千日手です。引き分けです。")};
}

TEndWords EndingTextWords(EndKind kind) {
    switch (kind) {
    case EndKind::Mate:
        return {TrNoop("GameSession", "まで%1手　詰みであなたの勝ち"),
                TrNoop("GameSession", "まで%1手　詰みでCOMの勝ち"),
                TrNoop("GameSession", "まで%1手　詰みで%2の勝ち")};
    case EndKind::BareKing:
        return {TrNoop("GameSession", "まで%1手　王一枚であなたの勝ち"),
                TrNoop("GameSession", "まで%1手　王一枚でCOMの勝ち"),
                TrNoop("GameSession", "まで%1手　王一枚で%2の勝ち")};
    case EndKind::NoMove:
        return {TrNoop("GameSession", "まで%1手　指し手なしであなたの勝ち"),
                TrNoop("GameSession", "まで%1手　指し手なしでCOMの勝ち"),
                TrNoop("GameSession", "まで%1手　指し手なしで%2の勝ち")};
    case EndKind::Resign:
        return {TrNoop("GameSession", "まで%1手　投了であなたの勝ち"),
                TrNoop("GameSession", "まで%1手　投了でCOMの勝ち"),
                TrNoop("GameSession", "まで%1手　投了で%2の勝ち")};
    case EndKind::PerpetualCheck:
        return {TrNoop("GameSession", "まで%1手　連続王手の千日手であなたの勝ち"),
                TrNoop("GameSession", "まで%1手　連続王手の千日手でCOMの勝ち"),
                TrNoop("GameSession", "まで%1手　連続王手の千日手で%2の勝ち")};
    case EndKind::IllegalMove:
        return {TrNoop("GameSession", "まで%1手　反則であなたの勝ち"),
                TrNoop("GameSession", "まで%1手　反則でCOMの勝ち"),
                TrNoop("GameSession", "まで%1手　反則で%2の勝ち")};
    case EndKind::Repetition:
    case EndKind::None:
        break;
    }
    return {TrNoop("GameSession", "まで%1手　千日手で引き分け"),
            TrNoop("GameSession", "まで%1手　千日手で引き分け"),
            TrNoop("GameSession", "まで%1手　千日手で引き分け")};
}

} // namespace

std::string TGameSession::EndWords(const TGameEnd& end, bool boxWords) const {
    const TEndWords words = boxWords ? EndBoxWords(end.Kind) : EndingTextWords(end.Kind);
    const Side winner = Other(end.Loser);
    const char* text = words.Sides;
    if (PersonAgainstComputer() && !end.Draw())
        text = record_.Seats[winner].Computer() ? words.PersonLoses : words.PersonWins;
    if (boxWords) return TrArg(Tr("GameSession", text), {SideWords(winner), SideWords(end.Loser)});
    return TrArg(Tr("GameSession", text), {std::to_string(turns_.size()), SideWords(winner)});
}

std::string TGameSession::EndBox(const TGameEnd& end) const {
    return EndWords(end, true);
}

std::string TGameSession::WinnerStatus(const TGameEnd& end) const {
    if (end.Draw()) return Tr("GameSession", "引き分けです。");
    const Side winner = Other(end.Loser);
    if (PersonAgainstComputer())
        return record_.Seats[winner].Computer() ? Tr("GameSession", "COMの勝ちです。")
                                                : Tr("GameSession", "あなたの勝ちです。");
    return TrArg(Tr("GameSession", "%1の勝ちです。"), {SideWords(winner)});
}

std::string TGameSession::EndingText() const {
    if (!record_.End.Over()) return {};
    return EndWords(record_.End, false);
}

std::string TGameSession::EndingNote(int k) const {
    if (k != int(turns_.size()) || !record_.End.Over()) return {};
    return "\r\n\r\n" + EndingText();
}

void TGameSession::SetMessage(std::string text) {
    message_ = std::move(text);
    view_.SetMessage(message_);
}

void TGameSession::SetStatus(std::string text) {
    status_ = std::move(text);
    view_.SetStatus(status_);
}

void TGameSession::Box(const std::string& text, TTurnReport* report) {
    if (report) report->Boxes.push_back(text);
    view_.ShowMessageBox(text);
}
