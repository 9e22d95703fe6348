#include "session/GameSession.h"

#include "game/Clock.h"
#include "session/ComReasonText.h"
#include "session/KifFile.h"
#include "session/RecordKeeper.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>
#include <utility>

namespace {

constexpr std::string_view kSeparator = "--------------------------------";
constexpr std::string_view kFatal = "プログラム上のバグです。致命的な状況なのでゲームを中断します。\r\n\r\n";
constexpr std::string_view kErrorIs = "エラー内容は ";

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

std::string ErrorBox(std::string_view head, bool fatal, const std::exception& e) {
    std::string text(head);
    text += "\r\n\r\n";
    if (fatal) text += kFatal;
    text += kErrorIs;
    text += e.what();
    return text;
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
    : view_(view), hooks_(std::move(hooks)), kanri_(NewKanri()) {
    if (!hooks_.TickCount) hooks_.TickCount = TickCountMs;
    if (!hooks_.Now) hooks_.Now = LocalDateTime;
    if (!hooks_.Think) hooks_.Think = [](TKyokumenKanri& k) { k.ComThink(); };
    mattaUsed_ = false;
    ResetKifu();
    LeaveReplayMode();
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
    text += SquareText(m.From);
    text += "→";
    text += SquareText(m.To);
    text += "　";
    text += PieceText(m.Name);
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
    std::string text = "あなたの番です\r\n\r\n\r\n（COMの陣形は";
    text += formation;
    text += "に設定されました）";
    return text;
}

std::string TGameSession::TotalTimeText() const {
    return "COM消費時間： " + std::to_string(static_cast<long long>(comTotalTime_)) + "秒";
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
    moveHistory_.clear();
    shownMoveHistory_.clear();
    comReasons_.clear();
    view_.SetComReason("");
    ending_ = KifEnding::None;
    ++gameNumber_;
    const std::string date = hooks_.Now();
    began_ = ParseKifDate(date);
    kifuLines_ = RecordHeader(date, *kanri_);
    MarkLatestTurn();
}

std::vector<std::string> TGameSession::RecordHeader(const std::string& date, const TKyokumenKanri& k) {
    std::vector<std::string> lines;
    lines.emplace_back(kSeparator);
    lines.emplace_back("　創作将棋 ミルトア");
    lines.push_back("　棋譜作成日:" + date);
    lines.emplace_back(kSeparator);
    lines.emplace_back("　先手：あなた　後手：COM");
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
    const std::size_t n = shownMoveHistory_.size();
    if (n > 0 && n % 2 == 0) moves.push_back(shownMoveHistory_[n - 2]);
    if (n > 0) moves.push_back(shownMoveHistory_[n - 1]);
    view_.MarkMoves(moves);
}

std::string TGameSession::KifuText() const {
    std::string text;
    for (const std::string& line : kifuLines_) {
        text += line;
        text += "\r\n";
    }
    text += kSeparator;
    text += "\r\n";
    return text;
}

std::string TGameSession::ComReasonOfMove(int n) const {
    // The human moves first in every game, so COM's moves have the even numbers.
    const int index = n / 2 - 1;
    if (n % 2 != 0 || index < 0 || index >= int(comReasons_.size())) return {};
    return comReasons_[std::size_t(index)];
}

void TGameSession::CopyKifu() {
    view_.SetClipboardText(KifuText());
}

// ---------------------------------------------------------------------------------------------
// Drag protocol and the turn

void TGameSession::StartDrag(int square) {
    if (inTurn_) return;
    view_.ProcessPendingEvents();
    if (kanri_->SideToMove == 0 && !replayMode_) {
        dragFrom_ = square;
        dragTo_ = 0;
        view_.ShowFrame(SessionFrame::Waku, false);
    }
}

void TGameSession::Drop(int square) {
    if (inTurn_) return;
    if (kanri_->SideToMove == 0 && !replayMode_) dragTo_ = square;
}

TTurnReport TGameSession::EndDrag() {
    if (inTurn_) return {};
    view_.ProcessPendingEvents();
    if (replayMode_ || kanri_->SideToMove == 1) return {};
    TTurnReport report = MoveComa_Screen(dragFrom_, dragTo_);
    view_.ShowFrame(SessionFrame::Waku, true);
    return report;
}

TTurnReport TGameSession::MoveComa_Screen(int from, int to) {
    TTurnReport report;
    if (inTurn_) return report;
    TTurnGuard guard(inTurn_);
    TKyokumenKanri& k = *kanri_;
    using Outcome = TTurnReport::Outcome;

    if (from == to || k.ComMatesFlag || k.HumanMatesFlag) return report;

    // A code that names no square matches no move.
    THumanMoveTest test;
    if (IsSquare(from) && IsSquare(to)) {
        try {
            test = k.CheckHumanMove(SquareText(from), SquareText(to));
        } catch (const std::exception& e) {
            Box(ErrorBox("駒移動チェックでエラー発生", false, e), &report);
            test = THumanMoveTest{};
        }
    }
    if (test.Result == THumanMoveTest::NoMove) {
        SetMessage("あなたの番です。\r\n\r\n駒の動かし方が不正です。");
        report.Result = Outcome::Illegal;
        return report;
    }
    if (test.Result == THumanMoveTest::KingLeftAttacked) {
        SetMessage("あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。");
        report.Result = Outcome::IllegalCheck;
        return report;
    }

    // Kept so that a take-back after a failed COM turn can return to it whatever the think left.
    TKyokumen before = k.Kyokumen;
    try {
        k.ApplyMove(test.Move);
    } catch (const std::exception& e) {
        Box(ErrorBox("人の駒移動でエラー発生", true, e), &report);
        report.Result = Outcome::HumanMoveFailed;
        return report;
    }
    positionBeforeTurn_ = std::move(before);
    for (int id = 0; id < kSenpouCount; ++id) {
        const TSenpou_Base& st = k.Strategy(SenpouId(id));
        progressBeforeTurn_[std::size_t(id)] = {st.StepDone, st.DoneStamp, st.PeekStamp, st.Finished};
    }
    moveHistory_.push_back(test.Move);

    const TMove humanShown = k.LastMoveRecord();
    const int n = k.MoveCount();
    report.HumanMove = humanShown;
    report.HumanCount = n;
    std::string label = std::to_string(n) + "手目 あなたの指し手:" + "\r\n\r\n" + FormatMove(humanShown);
    SetMessage(label);
    kifuLines_.push_back(" " + std::to_string(n) + ": ▲先手: " + FormatMove(humanShown));
    shownMoveHistory_.push_back(humanShown);
    view_.SetSquare(humanShown.From, PieceName::Empty);
    view_.SetSquare(humanShown.To, humanShown.Name);
    MarkLatestTurn();

    SetStatus("COM思考中。。。。");
    view_.ProcessPendingEvents();

    const std::int64_t t0 = hooks_.TickCount();
    k.SwitchSide();
    {
        const double thinkStart = TickCountMsPrecise();
        bool failed = false;
        try {
            hooks_.Think(k);
        } catch (const std::exception& e) {
            Box(ErrorBox("COM思考でエラー発生", true, e), &report);
            failed = true;
        }
        if (hooks_.ThinkTimed) hooks_.ThinkTimed(TickCountMsPrecise() - thinkStart);
        if (failed) {
            report.Result = Outcome::ComFailed;
            return report;
        }
    }

    if (k.HumanMatesFlag || k.ComBareKingFlag) {
        if (k.HumanMatesFlag) {
            Box("王の詰みです。あなたの勝ちです。", &report);
            report.Ending = TTurnReport::End::HumanMates;
        } else {
            Box("王一枚のみになったので終了です。あなたの勝ちです。", &report);
            report.Ending = TTurnReport::End::ComBareKing;
        }
        FinishGame(report.Ending == TTurnReport::End::HumanMates ? KifEnding::HumanMates
                                                                 : KifEnding::ComBareKing,
                   label);
        report.Result = Outcome::HumanWins;
        return report;
    }

    const TMove reply = k.ComMove;
    if (reply.Empty()) {
        Box("COM思考でエラー発生\r\n\r\nCOMの指し手が得られませんでした。致命的な状況なのでゲームを中断します"
            "。",
            &report);
        report.Result = Outcome::ComFailed;
        return report;
    }
    try {
        k.ApplyMove(reply);
    } catch (const std::exception& e) {
        Box(ErrorBox("COMの駒移動でエラー発生", true, e), &report);
        report.Result = Outcome::ComFailed;
        return report;
    }
    moveHistory_.push_back(reply);
    comReasons_.push_back(ComReasonText(k.LastReason()));
    try {
        k.JudgeAfterComMove();
    } catch (const std::exception& e) {
        Box(ErrorBox("COM勝利チェックでエラー発生", false, e), &report);
    }

    const TMove comShown = k.LastMoveRecord();
    const int m = k.MoveCount();
    report.ComMove = comShown;
    report.ComCount = m;
    label += "\r\n\r\n" + std::to_string(m) + "手目 COMの指し手:" + "\r\n\r\n" + FormatMove(comShown);
    SetMessage(label);

    const std::int64_t t1 = hooks_.TickCount();
    const double s = static_cast<double>(t1 - t0) / 1000.0;
    label += "\r\n\r\nCOM思考： " + FormatSeconds(s) + "秒";
    comTotalTime_ += s;
    label += "\r\n" + TotalTimeText();
    SetMessage(label);

    shownMoveHistory_.push_back(comShown);
    kifuLines_.push_back(" " + std::to_string(n + 1) + ": △後手: " + FormatMove(comShown));
    view_.SetSquare(comShown.From, PieceName::Empty);
    view_.SetSquare(comShown.To, comShown.Name);
    view_.MoveFrame(SessionFrame::Waku, comShown.To);
    view_.SetComReason(comReasons_.back());
    MarkLatestTurn();

    // Cleared first, then the formation under construction, which a check replaces.
    SetStatus("");
    // The formation COM builds in this game: a pick made after the first move waits for the next one.
    if (k.FormationInProgress()) SetStatus(k.FormationName + "の駒組み中");
    if (k.InCheckFlag) SetStatus("COMが王手しました！");
    report.Check = k.InCheckFlag;

    if (k.ComMatesFlag || k.HumanBareKingFlag) {
        if (k.ComMatesFlag) {
            Box("詰みです。COMの勝ちです。", &report);
            report.Ending = TTurnReport::End::ComMates;
        } else {
            Box("王一枚のみとなったので終了です。COMの勝ちです。", &report);
            report.Ending = TTurnReport::End::HumanBareKing;
        }
        FinishGame(report.Ending == TTurnReport::End::ComMates ? KifEnding::ComMates
                                                               : KifEnding::HumanBareKing,
                   label);
        report.Result = Outcome::ComWins;
        return report;
    }

    k.SwitchSide();
    mattaUsed_ = false;
    report.Result = Outcome::Continues;
    KeepRecord();
    return report;
}

// ---------------------------------------------------------------------------------------------
// New games and the formation list

void TGameSession::NewGame() {
    if (inTurn_) return;
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
    SetMessage(Greeting(formation_));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Take-back

TMattaReport TGameSession::Matta() {
    TMattaReport report;
    if (inTurn_) return report;
    TKyokumenKanri& k = *kanri_;

    if (mattaUsed_)
        report.Refusal = "待ったは一度だけです。";
    else if (replayMode_)
        report.Refusal = "棋譜再現中です。待ったできません。";
    else if (k.MoveCount() == 0)
        report.Refusal = "すでに初期状態です。待ったできません。";
    else if (k.ComMatesFlag || k.HumanBareKingFlag)
        report.Refusal = "COMの勝ちで投了です。待ったできません。";
    else if (k.HumanMatesFlag || k.ComBareKingFlag)
        report.Refusal = "あなたの勝ちで投了です。待ったできません。";
    if (!report.Refusal.empty()) {
        view_.ShowMessageBox(report.Refusal);
        return report;
    }

    // After a turn that stopped on COM's side the record ends with the human's move: only that move
    // goes back, together with whatever COM's failed think counted as built of its formation, and the
    // human is to move again, so the game can go on.
    const bool comReplyMissing = moveHistory_.size() % 2 == 1;
    TMove takenBack;
    if (comReplyMissing) {
        takenBack = shownMoveHistory_.back();
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
        moveHistory_.pop_back();
        shownMoveHistory_.pop_back();
        kifuLines_.pop_back();
    } else {
        try {
            k.TakeBack();
        } catch (const std::exception& e) {
            report.Refusal = ErrorBox("待ったでエラー発生", false, e);
            view_.ShowMessageBox(report.Refusal);
            return report;
        }
        takenBack = k.LastMoveRecord();
        for (int i = 0; i < 2 && !moveHistory_.empty(); ++i) {
            moveHistory_.pop_back();
            shownMoveHistory_.pop_back();
            kifuLines_.pop_back();
        }
    }
    comReasons_.resize(moveHistory_.size() / 2);
    view_.SetComReason(LatestComReason());
    mattaUsed_ = true;
    k.ComMatesFlag = false;
    k.HumanMatesFlag = false;
    k.InCheckFlag = false;

    std::string label = "待ったをしました\r\n";
    if (k.MoveCount() == 0) {
        label += "初期状態に戻りました\r\n\r\n";
    } else {
        label += "\r\n戻した指し手:\r\n\r\n";
        label += "　" + std::to_string(k.MoveCount() + 1) + "手目\r\n";
        label += FormatMove(takenBack);
    }
    SetMessage(label);
    RedrawBoard();
    MarkLatestTurn();
    SetStatus("");
    // The frame goes back to COM's move that now is the latest (or off the board), so that the next
    // drag shows it where COM's piece stands, not where a taken-back move had put it.
    if (!shownMoveHistory_.empty() && shownMoveHistory_.size() % 2 == 0)
        view_.MoveFrame(SessionFrame::Waku, shownMoveHistory_.back().To);
    else
        view_.RemoveFrame(SessionFrame::Waku);
    view_.ShowFrame(SessionFrame::Waku, false);
    report.Done = true;
    KeepRecord();
    return report;
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
    SetMessage(
        "棋譜再現モード\r\n\r\n\r\n初期状態まで棋譜を戻しました。このあと一手ずつ再生することができます。");
}

void TGameSession::ReplayMove(int k, SessionFrame frame, TMove& shown) {
    TKyokumen& pos = kanri_->Kyokumen;
    pos.ComToMove = k % 2 == 0;
    pos.ApplyMove(moveHistory_[k - 1]);
    shown = shownMoveHistory_[k - 1];
    view_.SetSquare(shown.From, PieceName::Empty);
    view_.SetSquare(shown.To, shown.Name);
    view_.MoveFrame(frame, shown.To);
}

void TGameSession::ReplayOne() {
    if (inTurn_ || !replayMode_) return;
    const int k = kanri_->MoveCount() + 1;
    if (static_cast<int>(moveHistory_.size()) < k) return;
    TMove shown;
    try {
        ReplayMove(k, SessionFrame::Waku, shown);
    } catch (const std::exception& e) {
        view_.ShowMessageBox(ErrorBox("棋譜再現でエラー発生", false, e));
        return;
    }
    view_.ShowFrame(SessionFrame::Waku, true);
    view_.ShowFrame(SessionFrame::Waku2, false);
    view_.SetComReason(ComReasonOfMove(k));
    view_.MarkMoves({shown});
    SetMessage("棋譜再現モード\r\n\r\n\r\n" + std::to_string(k) + "手目" + "\r\n\r\n" + FormatMove(shown));
}

void TGameSession::ReplayTwo() {
    if (inTurn_ || !replayMode_) return;
    int k = kanri_->MoveCount() + 1;
    if (static_cast<int>(moveHistory_.size()) < k) return;
    TMove shown;
    try {
        ReplayMove(k, SessionFrame::Waku, shown);
        view_.ShowFrame(SessionFrame::Waku, true);
        // Of the two moves shown, the one that is COM's.
        view_.SetComReason(ComReasonOfMove(k % 2 == 0 ? k : k + 1));
        view_.MarkMoves({shown});
        std::string label =
            "棋譜再現モード\r\n\r\n" + std::to_string(k) + "手目" + "\r\n\r\n" + FormatMove(shown);
        SetMessage(label);
        ++k;
        if (static_cast<int>(moveHistory_.size()) < k) return;
        const TMove first = shown;
        ReplayMove(k, SessionFrame::Waku2, shown);
        view_.MarkMoves({first, shown});
        label += "\r\n\r\n" + std::to_string(k) + "手目" + "\r\n\r\n" + FormatMove(shown);
        SetMessage(label);
        view_.ShowFrame(SessionFrame::Waku2, true);
    } catch (const std::exception& e) {
        view_.ShowMessageBox(ErrorBox("棋譜再現でエラー発生", false, e));
    }
}

// ---------------------------------------------------------------------------------------------
// Resignation, record files and keeping

bool TGameSession::CanResign() const {
    return !inTurn_ && !replayMode_ && !GameOver() && kanri_->MoveCount() > 0 && kanri_->SideToMove == 0;
}

bool TGameSession::Resign() {
    if (!CanResign()) return false;
    const int n = kanri_->MoveCount() + 1;
    kifuLines_.push_back(" " + std::to_string(n) + ": ▲先手: 　投了");
    FinishGame(KifEnding::HumanResigns, "投了しました。COMの勝ちです。");
    return true;
}

// The end of a game however it ended: the winner on the status line, the record's closing line,
// replay mode, the label with the total thinking time, and the game kept.
void TGameSession::FinishGame(KifEnding ending, const std::string& label) {
    const bool humanWon = HumanWon(ending);
    SetStatus(humanWon ? "あなたの勝ちです。" : "COMの勝ちです。");
    kifuLines_.emplace_back(humanWon ? "まで、先手の勝ち" : "まで、後手の勝ち");
    ending_ = ending;
    EnterReplayMode();
    SetMessage(label + "\r\n\r\n" + TotalTimeText());
    KeepRecord();
}

KifStart TGameSession::StartKind() const {
    if (testStart_) return KifStart::Test;
    return hisyaKakuMode_ ? KifStart::Handicap : KifStart::Even;
}

TKifRecord TGameSession::KifRecord() const {
    TKifRecord r;
    r.Start = StartKind();
    r.Began = began_;
    r.Played = moveHistory_;
    r.Shown = shownMoveHistory_;
    r.Ending = ending_;
    // COM's reasons go beside its moves, so another program shows them with the game.
    for (std::size_t j = 0; j < comReasons_.size() && 2 * j + 1 < r.Shown.size(); ++j) {
        r.Comments.resize(2 * j + 2);
        r.Comments[2 * j + 1] = comReasons_[j];
    }
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

int TGameSession::OpenRecord(const std::filesystem::path& path) {
    return OpenKifText(ReadKifFile(path));
}

int TGameSession::OpenKifText(std::string_view utf8) {
    if (inTurn_) throw std::runtime_error("a turn is running");
    TKifRecord r = ReadKif(utf8);

    // Everything new is built aside; the game is replaced only once nothing can fail any more.
    auto kanri = NewKanri();
    kanri->Kyokumen = KifStartPosition(r.Start);
    kanri->SetFormation(formation_);
    // A record from elsewhere may not say when it began; it is then dated now, as a new game is.
    const std::string date = r.Began.Known() ? RecordDateText(r.Began) : hooks_.Now();
    if (!r.Began.Known()) r.Began = ParseKifDate(date);
    std::vector<std::string> lines = RecordHeader(date, *kanri);
    for (std::size_t i = 0; i < r.Shown.size(); ++i)
        lines.push_back(" " + std::to_string(i + 1) + (i % 2 == 0 ? ": ▲先手: " : ": △後手: ") +
                        FormatMove(r.Shown[i]));
    if (r.Ending == KifEnding::HumanResigns)
        lines.push_back(" " + std::to_string(r.Shown.size() + 1) + ": ▲先手: 　投了");
    if (r.Ending != KifEnding::None)
        lines.emplace_back(HumanWon(r.Ending) ? "まで、先手の勝ち" : "まで、後手の勝ち");

    kanri_ = std::move(kanri);
    kifuLines_ = std::move(lines);
    moveHistory_ = std::move(r.Played);
    shownMoveHistory_ = std::move(r.Shown);
    // The comments on COM's moves are its reasons (a record from elsewhere may have other words there).
    comReasons_.assign(moveHistory_.size() / 2, std::string());
    for (std::size_t j = 0; j < comReasons_.size() && 2 * j + 1 < r.Comments.size(); ++j)
        comReasons_[j] = r.Comments[2 * j + 1];
    ending_ = r.Ending;
    began_ = r.Began;
    ++gameNumber_;
    hisyaKakuMode_ = r.Start == KifStart::Handicap;
    testStart_ = r.Start == KifStart::Test;
    mattaUsed_ = false;
    comTotalTime_ = 0;
    SetStatus("");
    EnterReplayMode();
    ReplayToStart();
    return static_cast<int>(moveHistory_.size());
}

void TGameSession::KeepRecord() {
    if (keeper_) keeper_->Keep(gameNumber_, KifRecord());
}

void TGameSession::ReplayBack() {
    if (inTurn_ || !replayMode_) return;
    const int k = kanri_->MoveCount();
    if (k == 0) return;
    // Moves cannot be taken back one by one in a replay (each side keeps a single last-move record),
    // so the replay starts again and steps up to the move before.
    ReplayToStart();
    while (kanri_->MoveCount() < k - 1) {
        const int before = kanri_->MoveCount();
        ReplayOne();
        if (kanri_->MoveCount() == before) return; // a step failed and said so
    }
}

// ---------------------------------------------------------------------------------------------
// Legal destinations

bool TGameSession::HumanToMove() const {
    return !inTurn_ && !replayMode_ && !GameOver() && kanri_->SideToMove == 0;
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
