#include "session/GameSession.h"

#include "game/Clock.h"
#include "session/Analysis.h"
#include "session/ComReasonText.h"
#include "session/FormationName.h"
#include "session/KifFile.h"
#include "session/Notation.h"
#include "session/RecordKeeper.h"
#include "session/Tr.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <utility>

namespace {

constexpr std::string_view kSeparator = "--------------------------------";
// The record header's line naming the players; the second player's name follows it.
const std::string kNamesLine = "　先手：あなた　後手：";

bool IsSquare(int sq) {
    return OnBoard(FileOf(sq), RankOf(sq));
}

// The Japanese locale's short date and long time: "2024/03/05 9:07:31".
std::string LocalDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

// head is already in the display language.
std::string ErrorBox(const std::string& head, bool fatal, const std::exception& e) {
    std::string text = head;
    text += "\r\n\r\n";
    if (fatal)
        text += Tr("GameSession", "プログラム上のバグです。致命的な状況なのでゲームを中断します。\r\n\r\n");
    text += TrArg(Tr("GameSession", "エラー内容は %1"), {e.what()});
    return text;
}

// "12手目".
std::string MoveNumberText(int n) {
    return TrArg(Tr("GameSession", "%1手目"), {std::to_string(n)});
}

// Marks the session busy for the length of a turn. The window lets pending input through once just
// before COM thinks; whatever arrives then must not start a second turn or replace the game under
// the one that is running.
class TTurnGuard {
public:
    explicit TTurnGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TTurnGuard() { flag_ = false; }
    TTurnGuard(const TTurnGuard&) = delete;
    TTurnGuard& operator=(const TTurnGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

TGameSession::TGameSession(ISessionView& view, TSessionHooks hooks)
    : view_(view), hooks_(std::move(hooks)), com_(hooks_.Think),
      opponent_(hooks_.Opponent ? hooks_.Opponent : &com_) {
    if (!hooks_.TickCount) hooks_.TickCount = TickCountMs;
    if (!hooks_.Now) hooks_.Now = LocalDateTime;
    kanri_ = NewKanri();
    mattaUsed_ = false;
    ResetKifu();
    LeaveReplayMode();
}

TGameSession::~TGameSession() {
    CancelPending();
}

std::unique_ptr<TKyokumenKanri> TGameSession::NewKanri() {
    return std::make_unique<TKyokumenKanri>(rng_);
}

void TGameSession::Start() {
    DrawStartPosition();
    formation_ = std::string(kFormationList[0]);
    kanri_->SetFormation(formation_);
    SetMessage(Greeting(formation_));
}

// ---------------------------------------------------------------------------------------------
// Texts

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

std::string TGameSession::TotalTimeText() const {
    return TrArg(Tr("GameSession", "COM消費時間： %1秒"),
                 {std::to_string(static_cast<long long>(std::fmin(std::fmax(comTotalTime_, 0.0), 1e15)))});
}

// ---------------------------------------------------------------------------------------------
// Board display

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

void TGameSession::ClearBoard() {
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) view_.SetSquare(file * 10 + rank, PieceName::Empty);
}

void TGameSession::RemoveFrames() {
    view_.RemoveFrame(SessionFrame::Waku);
    view_.RemoveFrame(SessionFrame::Waku2);
}

void TGameSession::DrawStartPosition() {
    // The forty pieces of a fresh position; the other squares are left as they are.
    const TKyokumen start;
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) {
            PieceName p = start.Board[file * 10 + rank];
            if (p != PieceName::Empty) view_.SetSquare(file * 10 + rank, p);
        }
    hisyaKakuMode_ = false;
    RemoveFrames();
    comTotalTime_ = 0;
}

void TGameSession::RedrawBoard() {
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank)
            view_.SetSquare(file * 10 + rank, kanri_->Kyokumen.Board[file * 10 + rank]);
}

void TGameSession::EnterReplayMode() {
    replayMode_ = true;
    view_.SetReplayMode(true);
}

void TGameSession::LeaveReplayMode() {
    replayMode_ = false;
    view_.SetReplayMode(false);
}

bool TGameSession::GameOver() const {
    const TKyokumenKanri& k = *kanri_;
    return k.ComMatesFlag || k.HumanBareKingFlag || k.HumanMatesFlag || k.ComBareKingFlag ||
           ending_ == KifEnding::HumanResigns;
}

// ---------------------------------------------------------------------------------------------
// Record

void TGameSession::ResetKifu() {
    turns_.clear();
    browse_ = -1;
    cont_ = TKifContinuation{};
    cont_.Known = true;
    cont_.Seed = rng_.Seed();
    NoteFormation();
    view_.SetComReason("");
    ending_ = KifEnding::None;
    ++gameNumber_;
    const std::string date = hooks_.Now();
    began_ = ParseKifDate(date);
    opponentName_ = opponent_->Name();
    hint_.clear();
    header_ = RecordHeader(date, *kanri_, opponentName_);
    MarkLatestTurn();
}

void TGameSession::OpponentChanged() {
    // A replayed game keeps the name it was played against.
    if (replayMode_ || GameOver()) return;
    opponentName_ = opponent_->Name();
    for (std::string& line : header_)
        if (line.starts_with(kNamesLine)) line = kNamesLine + opponentName_;
}

std::vector<std::string> TGameSession::RecordHeader(const std::string& date, const TKyokumenKanri& k,
                                                    const std::string& opponent) {
    std::vector<std::string> lines;
    lines.emplace_back(kSeparator);
    lines.emplace_back("　創作将棋 ミルトア");
    lines.push_back("　棋譜作成日:" + date);
    lines.emplace_back(kSeparator);
    lines.push_back(kNamesLine + opponent);
    lines.emplace_back(" ");
    const std::vector<std::string> board = k.BoardList();
    for (int rank = 1; rank <= 9; ++rank) {
        std::string line = "　";
        for (int file = 9; file >= 1; --file) line += DiagramGlyph(board[file * 10 + rank]);
        lines.push_back(std::move(line));
    }
    lines.emplace_back(kSeparator);
    return lines;
}

void TGameSession::MarkLatestTurn() {
    // A turn is the human's move and COM's answer; a game that stopped after the human's move (a win,
    // or a failed think) has the human's move alone as its latest turn.
    std::vector<TMove> moves;
    const std::size_t n = turns_.size();
    if (n > 0 && n % 2 == 0) moves.push_back(turns_[n - 2].Shown);
    if (n > 0) moves.push_back(turns_[n - 1].Shown);
    view_.MarkMoves(moves);
}

std::string TGameSession::TurnLine(std::size_t i) const {
    return " " + std::to_string(i + 1) + (turns_[i].Com ? ": △後手: " : ": ▲先手: ") +
           FormatMove(turns_[i].Shown);
}

std::vector<std::string> TGameSession::KifuLines() const {
    const TRecordTexts japanese;
    std::vector<std::string> lines = header_;
    for (std::size_t i = 0; i < turns_.size(); ++i) lines.push_back(TurnLine(i));
    if (ending_ == KifEnding::HumanResigns)
        lines.push_back(" " + std::to_string(turns_.size() + 1) + ": ▲先手: 　投了");
    if (ending_ != KifEnding::None)
        lines.emplace_back(HumanWon(ending_) ? "まで、先手の勝ち" : "まで、後手の勝ち");
    return lines;
}

std::vector<TMove> TGameSession::MoveHistory() const {
    std::vector<TMove> moves;
    for (const TTurn& t : turns_) moves.push_back(t.Played);
    return moves;
}

std::vector<TMove> TGameSession::ShownMoveHistory() const {
    std::vector<TMove> moves;
    for (const TTurn& t : turns_) moves.push_back(t.Shown);
    return moves;
}

namespace {

// COM's reason in words: the think's own, else what the opponent or the record said beside the move.
std::string ReasonOf(const TTurn& t) {
    if (!t.Reason.Empty()) return ComReasonText(t.Reason);
    return t.ShownComment.empty() ? RecordedComReasonText(t.Comment) : t.ShownComment;
}

// The same as a record keeps it, whatever the window shows.
std::string RecordReasonOf(const TTurn& t) {
    const TRecordTexts japanese;
    return t.Reason.Empty() ? t.Comment : ComReasonText(t.Reason);
}

} // namespace

std::vector<std::string> TGameSession::ComReasons() const {
    std::vector<std::string> reasons;
    for (const TTurn& t : turns_)
        if (t.Com) reasons.push_back(ReasonOf(t));
    return reasons;
}

bool TGameSession::NoteAnalysis(const std::vector<TMove>& played, const std::vector<std::string>& comments) {
    // An analysis of another game, or of moves since taken back, belongs to no move of this one.
    if (played.size() > turns_.size() || comments.size() > played.size()) return false;
    for (std::size_t i = 0; i < played.size(); ++i)
        if (!(turns_[i].Played == played[i])) return false;
    for (std::size_t i = 0; i < comments.size(); ++i) {
        std::string old;
        SplitAnalysis(turns_[i].Comment, old);
        turns_[i].Analysis = comments[i];
    }
    return true;
}

std::string TGameSession::ComReasonOfMove(int n) const {
    if (n < 1 || n > int(turns_.size()) || !turns_[std::size_t(n - 1)].Com) return {};
    return ReasonOf(turns_[std::size_t(n - 1)]);
}

std::string TGameSession::LatestComReason() const {
    for (auto t = turns_.rbegin(); t != turns_.rend(); ++t)
        if (t->Com) return ReasonOf(*t);
    return {};
}

std::string TGameSession::KifuText() const {
    const TRecordTexts japanese;
    std::string text;
    for (const std::string& line : KifuLines()) {
        text += line;
        text += "\r\n";
    }
    text += kSeparator;
    text += "\r\n";
    return text;
}

void TGameSession::CopyKifu() {
    view_.SetClipboardText(KifuText());
}

// ---------------------------------------------------------------------------------------------
// The turn

TTurnReport TGameSession::MoveComa_Screen(int from, int to) {
    TTurnReport report;
    if (inTurn_ || !HumanToMove() || from == to) return report;
    {
        TTurnGuard guard(inTurn_);
        if (!PlayHumanHalf(from, to, report)) return report;
        AskOpponent(report);
    }
    // An opponent that answered at once has finished the turn, and kept the game if it goes on.
    if (!pending_ && report.Result == TTurnReport::Outcome::Continues) KeepRecord();
    return report;
}

// The human's move: checked, played, recorded and shown. False when the turn ends here.
bool TGameSession::PlayHumanHalf(int from, int to, TTurnReport& report) {
    using Outcome = TTurnReport::Outcome;
    TKyokumenKanri& k = *kanri_;
    // A code that names no square matches no move.
    THumanMoveTest test;
    if (IsSquare(from) && IsSquare(to)) {
        try {
            test = k.CheckHumanMove(SquareText(from), SquareText(to));
        } catch (const std::exception& e) {
            Box(ErrorBox(Tr("GameSession", "駒移動チェックでエラー発生"), false, e), &report);
            test = THumanMoveTest{};
        }
    }
    if (test.Result == THumanMoveTest::NoMove) {
        SetMessage(Tr("GameSession", "あなたの番です。\r\n\r\n駒の動かし方が不正です。"));
        report.Result = Outcome::Illegal;
        return false;
    }
    if (test.Result == THumanMoveTest::KingLeftAttacked) {
        SetMessage(Tr("GameSession", "あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。"));
        report.Result = Outcome::IllegalCheck;
        return false;
    }

    // Kept so that a take-back after a failed COM turn can return to it whatever the think left.
    TKyokumen before = k.Kyokumen;
    try {
        k.ApplyMove(test.Move);
    } catch (const std::exception& e) {
        Box(ErrorBox(Tr("GameSession", "人の駒移動でエラー発生"), true, e), &report);
        report.Result = Outcome::HumanMoveFailed;
        return false;
    }
    positionBeforeTurn_ = std::move(before);
    for (int id = 0; id < kSenpouCount; ++id) {
        const TSenpou_Base& st = k.Strategy(SenpouId(id));
        progressBeforeTurn_[std::size_t(id)] = {st.StepDone, st.DoneStamp, st.PeekStamp, st.Finished};
    }

    const TMove shown = k.LastMoveRecord();
    turns_.push_back(TTurn{false, test.Move, shown, {}, std::move(hint_), 0, {}, {}});
    hint_.clear();
    report.HumanMove = shown;
    report.HumanCount = k.MoveCount();
    turnLabel_ = TrArg(Tr("GameSession", "%1手目 あなたの指し手:\r\n\r\n%2"),
                       {std::to_string(report.HumanCount), FormatMove(shown)});
    SetMessage(turnLabel_);
    view_.SetSquare(shown.From, PieceName::Empty);
    view_.SetSquare(shown.To, shown.Name);
    view_.PieceLanded(shown.To);
    MarkLatestTurn();
    return true;
}

// Hands the move to COM. The built-in COM answers before this returns; another opponent may answer
// later, and the turn waits for it.
void TGameSession::AskOpponent(TTurnReport& report) {
    SetStatus(Tr("GameSession", "COM思考中。。。。"));
    view_.ProcessPendingEvents();
    turnStart_ = hooks_.TickCount();
    kanri_->SwitchSide();
    thinkStart_ = TickCountMsPrecise();
    pending_ = true;
    pendingReport_ = report;
    const std::uint64_t ask = ++askNumber_;
    asking_ = true;
    TTurnReport* caller = &report;
    opponent_->Think(*kanri_, [this, ask, caller](const TOpponentReply& reply) {
        // A reply given while the request is being made finishes the caller's report; a later one, the
        // kept one.
        OnReply(ask, reply, asking_ ? caller : nullptr);
    });
    asking_ = false;
    if (pending_) report.Result = TTurnReport::Outcome::Pending;
}

void TGameSession::OnReply(std::uint64_t ask, const TOpponentReply& reply, TTurnReport* sync) {
    if (!pending_ || ask != askNumber_) return; // for a game that is gone
    pending_ = false;
    TTurnReport& report = sync ? *sync : pendingReport_;
    if (sync) {
        FinishTurn(reply, report);
        return;
    }
    {
        TTurnGuard guard(inTurn_);
        FinishTurn(reply, report);
    }
    if (report.Result == TTurnReport::Outcome::Continues) KeepRecord();
    view_.TurnFinished(report);
}

void TGameSession::CancelPending() {
    if (!pending_) return;
    pending_ = false;
    ++askNumber_;
    opponent_->Cancel();
}

// COM's half of the turn and the end of the game, once the reply is there.
void TGameSession::FinishTurn(const TOpponentReply& reply, TTurnReport& report) {
    using Outcome = TTurnReport::Outcome;
    TKyokumenKanri& k = *kanri_;
    if (hooks_.ThinkTimed) hooks_.ThinkTimed(TickCountMsPrecise() - thinkStart_);
    if (!reply.Error.empty()) {
        Box(ErrorBox(Tr("GameSession", "COM思考でエラー発生"), true, std::runtime_error(reply.Error)),
            &report);
        report.Result = Outcome::ComFailed;
        return;
    }
    if (k.HumanMatesFlag || k.ComBareKingFlag) {
        if (k.HumanMatesFlag) {
            Box(Tr("GameSession", "王の詰みです。あなたの勝ちです。"), &report);
            report.Ending = TTurnReport::End::HumanMates;
        } else {
            Box(Tr("GameSession", "王一枚のみになったので終了です。あなたの勝ちです。"), &report);
            report.Ending = TTurnReport::End::ComBareKing;
        }
        FinishGame(k.HumanMatesFlag ? KifEnding::HumanMates : KifEnding::ComBareKing,
                   turnLabel_ + "\r\n\r\n" + TotalTimeText());
        report.Result = Outcome::HumanWins;
        return;
    }
    if (!ApplyComReply(reply, report)) return;
    ShowComMove(report);
    if (k.ComMatesFlag || k.HumanBareKingFlag) {
        if (k.ComMatesFlag) {
            Box(Tr("GameSession", "詰みです。COMの勝ちです。"), &report);
            report.Ending = TTurnReport::End::ComMates;
        } else {
            Box(Tr("GameSession", "王一枚のみとなったので終了です。COMの勝ちです。"), &report);
            report.Ending = TTurnReport::End::HumanBareKing;
        }
        // The label already ends with COM's total time.
        FinishGame(k.ComMatesFlag ? KifEnding::ComMates : KifEnding::HumanBareKing, turnLabel_);
        report.Result = Outcome::ComWins;
        return;
    }
    k.SwitchSide();
    mattaUsed_ = false;
    report.Result = Outcome::Continues;
}

// Plays COM's move and judges the position after it; false when the turn stops on COM's side.
bool TGameSession::ApplyComReply(const TOpponentReply& reply, TTurnReport& report) {
    TKyokumenKanri& k = *kanri_;
    if (reply.Move.Empty()) {
        Box(Tr("GameSession", "COM思考でエラー発生\r\n\r\nCOMの指し手が得られませんでした。致命的な状況なので"
                              "ゲームを中断します。"),
            &report);
        report.Result = TTurnReport::Outcome::ComFailed;
        return false;
    }
    try {
        k.ApplyMove(reply.Move);
    } catch (const std::exception& e) {
        Box(ErrorBox(Tr("GameSession", "COMの駒移動でエラー発生"), true, e), &report);
        report.Result = TTurnReport::Outcome::ComFailed;
        return false;
    }
    turns_.push_back(
        TTurn{true, reply.Move, k.LastMoveRecord(), reply.Reason, reply.Text, 0, {}, reply.ShownText});
    // The end test judges the move the game manager holds as COM's; an opponent other than the
    // built-in COM has not put it there.
    k.ComMove = reply.Move;
    try {
        k.JudgeAfterComMove();
    } catch (const std::exception& e) {
        Box(ErrorBox(Tr("GameSession", "COM勝利チェックでエラー発生"), false, e), &report);
    }
    return true;
}

// COM's move on the label, the board, the frame, the status line; its thinking time.
void TGameSession::ShowComMove(TTurnReport& report) {
    TKyokumenKanri& k = *kanri_;
    TTurn& turn = turns_.back();
    turn.Shown = k.LastMoveRecord();
    const TMove& shown = turn.Shown;
    report.ComMove = shown;
    report.ComCount = k.MoveCount();
    turnLabel_ += "\r\n\r\n" + TrArg(Tr("GameSession", "%1手目 COMの指し手:\r\n\r\n%2"),
                                     {std::to_string(report.ComCount), FormatMove(shown)});
    SetMessage(turnLabel_);

    const double s = static_cast<double>(hooks_.TickCount() - turnStart_) / 1000.0;
    turn.Seconds = s;
    turnLabel_ += "\r\n\r\n" + TrArg(Tr("GameSession", "COM思考： %1秒"), {FormatSeconds(s)});
    comTotalTime_ += s;
    turnLabel_ += "\r\n" + TotalTimeText();
    SetMessage(turnLabel_);

    view_.SetSquare(shown.From, PieceName::Empty);
    view_.SetSquare(shown.To, shown.Name);
    view_.PieceLanded(shown.To);
    view_.MoveFrame(SessionFrame::Waku, shown.To);
    view_.SetComReason(ReasonOf(turn));
    MarkLatestTurn();

    // Cleared first, then the formation under construction, which a check replaces.
    SetStatus("");
    // The formation COM builds in this game: a pick made after the first move waits for the next one.
    // Another opponent in COM's seat (one that gives its reasons in words of its own) builds none.
    if (k.FormationInProgress() && turn.Comment.empty()) SetStatus(FormationStatus(k.FormationName));
    if (k.InCheckFlag) SetStatus(CheckStatus());
    report.Check = k.InCheckFlag;
}

// ---------------------------------------------------------------------------------------------
// New games and the formation list

void TGameSession::NewGame() {
    if (inTurn_) return;
    CancelPending();
    mattaUsed_ = false;
    kanri_ = NewKanri();
    testStart_ = false;
    ClearBoard();
    DrawStartPosition();
    kanri_->SetFormation(formation_);
    SetMessage(Greeting(formation_));
    SetStatus("");
    ResetKifu();
    LeaveReplayMode();
}

void TGameSession::NewHandicapGame() {
    if (inTurn_) return;
    CancelPending();
    mattaUsed_ = false;
    kanri_ = NewKanri();
    kanri_->Kyokumen.SetupHisyaKaku();
    hisyaKakuMode_ = true;
    testStart_ = false;
    ClearBoard();
    // The start position without the human's bishop and rook: exactly what the position now holds.
    RedrawBoard();
    kanri_->SetFormation(formation_);
    SetMessage(Greeting(formation_));
    RemoveFrames();
    SetStatus("");
    ResetKifu();
    LeaveReplayMode();
    comTotalTime_ = 0;
}

void TGameSession::NewTestGame() {
    if (inTurn_) return;
    CancelPending();
    mattaUsed_ = false;
    kanri_ = NewKanri();
    kanri_->Kyokumen.SetupTestPosition();
    testStart_ = true;
    RedrawBoard();
    view_.RemoveFrame(SessionFrame::Waku);
    kanri_->SetFormation(formation_);
    SetMessage(Greeting(formation_));
    SetStatus("");
    ResetKifu();
    LeaveReplayMode();
    comTotalTime_ = 0;
}

bool TGameSession::PickFormation(std::string_view name) {
    formation_ = std::string(name);
    // A replay's position is no game to be played: its label stays, the pick waits for the next game.
    if (replayMode_ || kanri_->MoveCount() > 0) return false;
    kanri_->SetFormation(formation_);
    NoteFormation();
    SetMessage(Greeting(formation_));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Take-back

std::string TGameSession::MattaRefusal() const {
    const TKyokumenKanri& k = *kanri_;
    if (pending_) return Tr("GameSession", "COMの応手を待っています。待ったできません。");
    if (browse_ >= 0) return Tr("GameSession", "前の局面を表示中です。待ったできません。");
    // A finished game is refused as one, whether or not a take-back came before its end.
    if (mattaUsed_ && !GameOver()) return Tr("GameSession", "待ったは一度だけです。");
    if (replayMode_) return Tr("GameSession", "棋譜再現中です。待ったできません。");
    if (k.MoveCount() == 0) return Tr("GameSession", "すでに初期状態です。待ったできません。");
    if (k.ComMatesFlag || k.HumanBareKingFlag)
        return Tr("GameSession", "COMの勝ちで投了です。待ったできません。");
    if (k.HumanMatesFlag || k.ComBareKingFlag)
        return Tr("GameSession", "あなたの勝ちで投了です。待ったできません。");
    return {};
}

TMattaReport TGameSession::Matta() {
    TMattaReport report;
    if (inTurn_) return report;
    TKyokumenKanri& k = *kanri_;

    report.Refusal = MattaRefusal();
    if (!report.Refusal.empty()) {
        view_.ShowMessageBox(report.Refusal);
        return report;
    }

    // After a turn that stopped on COM's side the record ends with the human's move: only that move
    // goes back, together with whatever COM's failed think counted as built of its formation, and the
    // human is to move again, so the game can go on.
    const bool comReplyMissing = turns_.size() % 2 == 1;
    std::vector<TMove> takenBack; // in the order they were played
    if (comReplyMissing) {
        NoteTakeBack(turns_.back(), nullptr);
        takenBack.push_back(turns_.back().Shown);
        TakeBackFailedTurn();
    } else {
        try {
            k.TakeBack();
        } catch (const std::exception& e) {
            report.Refusal = ErrorBox(Tr("GameSession", "待ったでエラー発生"), false, e);
            view_.ShowMessageBox(report.Refusal);
            return report;
        }
        takenBack.push_back(k.LastMoveRecord());
        if (turns_.size() >= 2) {
            NoteTakeBack(turns_[turns_.size() - 2], &turns_.back());
            takenBack.push_back(turns_.back().Shown);
        }
        for (int i = 0; i < 2 && !turns_.empty(); ++i) turns_.pop_back();
    }
    view_.SetComReason(LatestComReason());
    mattaUsed_ = true;
    k.ComMatesFlag = false;
    k.HumanMatesFlag = false;
    k.InCheckFlag = false;

    std::string label = Tr("GameSession", "待ったをしました") + "\r\n";
    if (k.MoveCount() == 0) {
        label += Tr("GameSession", "初期状態に戻りました") + "\r\n\r\n";
    } else {
        label += "\r\n" + Tr("GameSession", "戻した指し手:") + "\r\n\r\n";
        for (std::size_t i = 0; i < takenBack.size(); ++i) {
            if (i > 0) label += "\r\n";
            label += "　" + MoveNumberText(k.MoveCount() + 1 + int(i)) + "\r\n";
            label += FormatMove(takenBack[i]);
        }
    }
    SetMessage(label);
    RedrawBoard();
    MarkLatestTurn();
    SetStatus("");
    // The frame goes back to COM's move that now is the latest (or off the board), so that the next
    // drag shows it where COM's piece stands, not where a taken-back move had put it.
    if (!turns_.empty() && turns_.size() % 2 == 0)
        view_.MoveFrame(SessionFrame::Waku, turns_.back().Shown.To);
    else
        view_.RemoveFrame(SessionFrame::Waku);
    view_.ShowFrame(SessionFrame::Waku, false);
    report.Done = true;
    KeepRecord();
    return report;
}

// After a turn that stopped on COM's side: the human's move goes back, together with whatever COM's
// failed think counted as built of its formation.
void TGameSession::TakeBackFailedTurn() {
    TKyokumenKanri& k = *kanri_;
    k.Kyokumen = positionBeforeTurn_;
    for (int id = 0; id < kSenpouCount; ++id) {
        TSenpou_Base& st = k.Strategy(SenpouId(id));
        const TFormationProgress& p = progressBeforeTurn_[std::size_t(id)];
        st.StepDone = p.StepDone;
        st.DoneStamp = p.DoneStamp;
        st.PeekStamp = p.PeekStamp;
        st.Finished = p.Finished;
    }
    k.Kyokumen.ComToMove = false;
    k.SideToMove = 0;
    k.ComMove = TMove{};
    turns_.pop_back();
}

// ---------------------------------------------------------------------------------------------
// Replay

void TGameSession::ReplayToStart() {
    if (inTurn_ || !replayMode_) return;
    kanri_ = NewKanri();
    // A game begun from the test position is replayed from it; its moves make no sense elsewhere.
    if (testStart_)
        kanri_->Kyokumen.SetupTestPosition();
    else if (hisyaKakuMode_)
        kanri_->Kyokumen.SetupHisyaKaku();
    RedrawBoard();
    view_.ShowFrame(SessionFrame::Waku, false);
    view_.ShowFrame(SessionFrame::Waku2, false);
    view_.SetComReason("");
    view_.MarkMoves({});
    SetMessage(Tr("GameSession",
                  "棋譜再現モード\r\n\r\n\r\n初期状態まで棋譜を戻しました。このあと一手ずつ再生することが"
                  "できます。"));
}

void TGameSession::ReplayMove(int k, SessionFrame frame, TMove& shown) {
    TKyokumen& pos = kanri_->Kyokumen;
    pos.ComToMove = k % 2 == 0;
    pos.ApplyMove(turns_[std::size_t(k - 1)].Played);
    shown = turns_[std::size_t(k - 1)].Shown;
    view_.SetSquare(shown.From, PieceName::Empty);
    view_.SetSquare(shown.To, shown.Name);
    if (!replayingBack_) view_.PieceLanded(shown.To);
    view_.MoveFrame(frame, shown.To);
}

void TGameSession::ReplayOne() {
    if (inTurn_ || !replayMode_) return;
    const int k = kanri_->MoveCount() + 1;
    if (static_cast<int>(turns_.size()) < k) return;
    TMove shown;
    try {
        ReplayMove(k, SessionFrame::Waku, shown);
    } catch (const std::exception& e) {
        view_.ShowMessageBox(ErrorBox(Tr("GameSession", "棋譜再現でエラー発生"), false, e));
        return;
    }
    view_.ShowFrame(SessionFrame::Waku, true);
    view_.ShowFrame(SessionFrame::Waku2, false);
    view_.SetComReason(ComReasonOfMove(k));
    view_.MarkMoves({shown});
    SetMessage(Tr("GameSession", "棋譜再現モード") + "\r\n\r\n\r\n" + MoveNumberText(k) + "\r\n\r\n" +
               FormatMove(shown) + EndingNote(k));
}

std::string TGameSession::EndingText() const {
    const char* how = nullptr;
    switch (ending_) {
    case KifEnding::None:
        return {};
    case KifEnding::HumanMates:
        how = TrNoop("GameSession", "まで%1手　詰みであなたの勝ち");
        break;
    case KifEnding::ComMates:
        how = TrNoop("GameSession", "まで%1手　詰みでCOMの勝ち");
        break;
    case KifEnding::HumanResigns:
        how = TrNoop("GameSession", "まで%1手　投了でCOMの勝ち");
        break;
    case KifEnding::ComBareKing:
        how = TrNoop("GameSession", "まで%1手　王一枚であなたの勝ち");
        break;
    case KifEnding::HumanBareKing:
        how = TrNoop("GameSession", "まで%1手　王一枚でCOMの勝ち");
        break;
    }
    return TrArg(Tr("GameSession", how), {std::to_string(turns_.size())});
}

std::string TGameSession::EndingNote(int k) const {
    if (k != int(turns_.size()) || ending_ == KifEnding::None) return {};
    return "\r\n\r\n" + EndingText();
}

void TGameSession::ReplayTwo() {
    if (inTurn_ || !replayMode_) return;
    int k = kanri_->MoveCount() + 1;
    if (static_cast<int>(turns_.size()) < k) return;
    TMove shown;
    try {
        ReplayMove(k, SessionFrame::Waku, shown);
        view_.ShowFrame(SessionFrame::Waku, true);
        // Of the two moves shown, the one that is COM's.
        view_.SetComReason(ComReasonOfMove(k % 2 == 0 ? k : k + 1));
        view_.MarkMoves({shown});
        std::string label = Tr("GameSession", "棋譜再現モード") + "\r\n\r\n" + MoveNumberText(k) +
                            "\r\n\r\n" + FormatMove(shown);
        SetMessage(label + EndingNote(k));
        ++k;
        if (static_cast<int>(turns_.size()) < k) return;
        const TMove first = shown;
        ReplayMove(k, SessionFrame::Waku2, shown);
        view_.MarkMoves({first, shown});
        label += "\r\n\r\n" + MoveNumberText(k) + "\r\n\r\n" + FormatMove(shown);
        SetMessage(label + EndingNote(k));
        view_.ShowFrame(SessionFrame::Waku2, true);
    } catch (const std::exception& e) {
        view_.ShowMessageBox(ErrorBox(Tr("GameSession", "棋譜再現でエラー発生"), false, e));
    }
}

// ---------------------------------------------------------------------------------------------
// Resignation, record files and keeping

bool TGameSession::CanResign() const {
    return !inTurn_ && !replayMode_ && browse_ < 0 && !GameOver() && kanri_->MoveCount() > 0 &&
           kanri_->SideToMove == 0;
}

bool TGameSession::Resign() {
    if (!CanResign()) return false;
    FinishGame(KifEnding::HumanResigns,
               Tr("GameSession", "投了しました。COMの勝ちです。") + "\r\n\r\n" + TotalTimeText());
    return true;
}

// The end of a game however it ended: the winner on the status line, the record's closing line,
// replay mode, the closing label, and the game kept.
void TGameSession::FinishGame(KifEnding ending, const std::string& label) {
    const bool humanWon = HumanWon(ending);
    SetStatus(humanWon ? Tr("GameSession", "あなたの勝ちです。") : Tr("GameSession", "COMの勝ちです。"));
    ending_ = ending;
    EnterReplayMode();
    SetMessage(label);
    KeepRecord();
}

KifStart TGameSession::StartKind() const {
    if (testStart_) return KifStart::Test;
    return hisyaKakuMode_ ? KifStart::Handicap : KifStart::Even;
}

TKifRecord TGameSession::KifRecord() const {
    const TRecordTexts japanese;
    TKifRecord r;
    r.Start = StartKind();
    r.Began = began_;
    r.Ending = ending_;
    r.Opponent = opponentName_;
    // COM's reasons go beside its moves, so another program shows them with the game; a comment an
    // opened record had beside a move stays with it.
    for (std::size_t i = 0; i < turns_.size(); ++i) {
        const TTurn& t = turns_[i];
        r.Played.push_back(t.Played);
        r.Shown.push_back(t.Shown);
        std::string comment = t.Com ? RecordReasonOf(t) : t.Comment;
        if (!t.Analysis.empty()) comment += (comment.empty() ? "" : "\n") + t.Analysis;
        if (comment.empty()) continue;
        r.Comments.resize(i + 1);
        r.Comments[i] = std::move(comment);
    }
    r.Continuation = cont_;
    for (const TTurn& t : turns_)
        if (t.Com) r.Continuation.ComSeconds.push_back(t.Seconds);
    // A game played here ends on the session's generator; an opened record keeps what it said.
    if (cont_.Known && !cont_.ReadFromText()) r.Continuation.EndSeed = rng_.Seed();
    return r;
}

void TGameSession::SaveRecord(const std::filesystem::path& path) const {
    switch (RecordFormOf(path)) {
    case RecordForm::Kif:
        WriteFileReplacing(path, EncodeCp932(WithCrLf(KifText())));
        break;
    case RecordForm::Kifu:
        WriteFileReplacing(path, WithCrLf(KifText()));
        break;
    case RecordForm::Text:
        WriteFileReplacing(path, KifuText());
        break;
    }
}

TKifRecord TGameSession::ReadRecord(const std::filesystem::path& path) {
    return ReadKif(ReadKifFile(path));
}

int TGameSession::OpenRecord(const std::filesystem::path& path) {
    return OpenKifRecord(ReadRecord(path));
}

int TGameSession::OpenKifText(std::string_view utf8) {
    return OpenKifRecord(ReadKif(utf8));
}

int TGameSession::OpenKifRecord(TKifRecord r) {
    if (inTurn_) throw std::runtime_error("a turn is running");

    // Everything new is built aside; the game is replaced only once nothing can fail any more.
    auto kanri = NewKanri();
    kanri->Kyokumen = KifStartPosition(r.Start);
    kanri->SetFormation(formation_);
    // A record from elsewhere may not say when it began; it is then dated now, as a new game is.
    const std::string date = r.Began.Known() ? RecordDateText(r.Began) : hooks_.Now();
    if (!r.Began.Known()) r.Began = ParseKifDate(date);
    std::vector<std::string> header = RecordHeader(date, *kanri, r.Opponent);
    std::vector<TTurn> turns;
    double comTotal = 0;
    for (std::size_t i = 0; i < r.Shown.size(); ++i) {
        const std::size_t comIndex = i / 2;
        const double seconds = i % 2 == 1 && comIndex < r.Continuation.ComSeconds.size()
                                   ? r.Continuation.ComSeconds[comIndex]
                                   : 0;
        comTotal += seconds;
        turns.push_back(TTurn{i % 2 == 1,
                              r.Played[i],
                              r.Shown[i],
                              {},
                              i < r.Comments.size() ? r.Comments[i] : "",
                              seconds,
                              {},
                              {}});
        SplitAnalysis(turns.back().Comment, turns.back().Analysis);
    }
    for (const TKifEvent& e : r.Continuation.Events) comTotal += e.TakeBack.Seconds;

    CancelPending();
    kanri_ = std::move(kanri);
    header_ = std::move(header);
    opponentName_ = r.Opponent;
    hint_.clear();
    turns_ = std::move(turns);
    cont_ = std::move(r.Continuation);
    cont_.ComSeconds.clear();
    browse_ = -1;
    ending_ = r.Ending;
    began_ = r.Began;
    ++gameNumber_;
    hisyaKakuMode_ = r.Start == KifStart::Handicap;
    testStart_ = r.Start == KifStart::Test;
    mattaUsed_ = false;
    comTotalTime_ = comTotal;
    SetStatus("");
    EnterReplayMode();
    ReplayToStart();
    return static_cast<int>(turns_.size());
}

void TGameSession::KeepRecord() {
    if (keeper_) keeper_->Keep(gameNumber_, KifRecord());
}

void TGameSession::LeaveGame() {
    if (!keeper_ || inTurn_ || replayMode_ || GameOver() || turns_.empty()) return;
    TKifRecord left = KifRecord();
    left.Interrupted = true;
    keeper_->Keep(gameNumber_, left);
}

void TGameSession::ReplayBack() {
    if (inTurn_ || !replayMode_) return;
    const int k = kanri_->MoveCount();
    if (k == 0) return;
    // Moves cannot be taken back one by one in a replay (each side keeps a single last-move record),
    // so the replay starts again and steps up to the move before.
    const TMove undone = turns_[std::size_t(k - 1)].Shown;
    replayingBack_ = true;
    ReplayToStart();
    while (kanri_->MoveCount() < k - 1) {
        const int before = kanri_->MoveCount();
        ReplayOne();
        if (kanri_->MoveCount() == before) break; // a step failed and said so
    }
    replayingBack_ = false;
    // The one piece seen to move is the one that goes back to its square.
    if (kanri_->MoveCount() == k - 1) view_.PieceLanded(undone.From);
}

void TGameSession::Retell() {
    if (inTurn_ || pending_) return;
    if (replayMode_) return ReplayTo(ShownMove());
    if (turns_.empty() && !GameOver() && browse_ < 0) SetMessage(Greeting(formation_));
}

void TGameSession::ReplayTo(int n) {
    if (inTurn_ || !replayMode_ || n < 0 || n > int(turns_.size())) return;
    // A jump shows a position, not a game being played: its moves land without a sound.
    replayingBack_ = true;
    ReplayToStart();
    while (kanri_->MoveCount() < n) {
        const int before = kanri_->MoveCount();
        ReplayOne();
        if (kanri_->MoveCount() == before) break; // a step failed and said so
    }
    replayingBack_ = false;
}

// ---------------------------------------------------------------------------------------------
// Legal destinations

bool TGameSession::HumanToMove() const {
    return !inTurn_ && !replayMode_ && browse_ < 0 && !GameOver() && kanri_->SideToMove == 0;
}

std::vector<TMove> TGameSession::LegalMoves() const {
    std::vector<TMove> legal;
    if (!HumanToMove()) return legal;
    // The human move test makes the human's move list anew: it runs on a copy, so that the game's own
    // list stays as it is.
    TMoveList moves;
    kanri_->Kyokumen.ListMoves(false, moves);
    TKyokumen probe = kanri_->Kyokumen;
    for (const TMove& m : moves)
        if (probe.TestHumanMove(m.From, m.To).Result == THumanMoveTest::Legal) legal.push_back(m);
    return legal;
}

std::vector<int> TGameSession::LegalDestinations(int from) const {
    std::vector<int> squares;
    if (!IsSquare(from) || !IsHuman(kanri_->Kyokumen.Board[from])) return squares;
    for (const TMove& m : LegalMoves())
        if (m.From == from) squares.push_back(m.To);
    return squares;
}
