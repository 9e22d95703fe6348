// The commands around the turns: new games, the formation list, take-back, resigning, the end of a game.
#include "session/GameSession.h"

#include "session/FormationName.h"
#include "session/PositionText.h"
#include "session/Tr.h"

#include <exception>

// ---------------------------------------------------------------------------------------------
// New games and the formation list

void TGameSession::NewGame() {
    if (inTurn_) return;
    BeginNewGame(KifStart::Even);
}

void TGameSession::NewHandicapGame() {
    if (inTurn_) return;
    BeginNewGame(KifStart::Handicap);
}

void TGameSession::NewTestGame() {
    if (inTurn_) return;
    BeginNewGame(KifStart::Test);
}

void TGameSession::NewGameFrom(const TEditedStart& start) {
    if (inTurn_) return;
    if (const TPositionCheck check = CheckPosition(start.Board, start.ToMove); !check.Sound())
        throw TPositionRefusal(check);
    BeginNewGame(StartOfBoard(start), start);
}

void TGameSession::BeginNewGame(KifStart start, const TEditedStart& edited) {
    CancelPending();
    mattaUsed_ = false;
    StartGame(start, edited);
    view_.SeatsChanged(record_.Seats);
    ClearBoard();
    DrawPosition(position_);
    RemoveFrames();
    comTotalTime_ = 0;
    SetMessage(GameGreeting());
    SetStatus("");
    ResetKifu();
    LeaveReplayMode();
}

bool TGameSession::PickFormation(std::string_view name) {
    formation_ = std::string(name);
    const std::optional<Side> listed = nextSeats_.ListedCom();
    if (listed) nextSeats_[*listed].Formation = formation_;
    // A replay's position is no game to be played: its label stays, the pick waits for the next game.
    const std::optional<Side> com = record_.Seats.ListedCom();
    if (replayMode_ || MoveCount() > 0 || !com) return false;
    record_.Seats[*com].Formation = formation_;
    PlayerOf(*com)->PickFormation(formation_);
    record_.Header = RecordHeader(RecordDateText(record_.Began), StartPosition(), record_.Seats);
    NoteFormation();
    SetMessage(GameGreeting());
    return true;
}

// ---------------------------------------------------------------------------------------------
// Take-back

std::string TGameSession::MattaRefusal() const {
    if (pending_) return Tr("GameSession", "COMの応手を待っています。待ったできません。");
    if (Browsing()) return Tr("GameSession", "前の局面を表示中です。待ったできません。");
    // A finished game is refused as one, whether or not a take-back came before its end.
    if (mattaUsed_ && !GameOver()) return Tr("GameSession", "待ったは一度だけです。");
    if (replayMode_) return Tr("GameSession", "棋譜再現中です。待ったできません。");
    if (record_.Seats.Humans() == 0) return Tr("GameSession", "観戦中は待ったできません。");
    if (MattaCount() == 0) return Tr("GameSession", "すでに初期状態です。待ったできません。");
    if (MoveCount() - MattaCount() < LineFloor())
        return Tr("GameSession", "変化の分かれ目より前には待ったできません。");
    if (GameOver()) {
        if (record_.End.Won(Viewer())) return Tr("GameSession", "あなたの勝ちで投了です。待ったできません。");
        return Tr("GameSession", "COMの勝ちで投了です。待ったできません。");
    }
    return {};
}

// How many moves a take-back takes back: the person's latest move and the computer's reply to it (the
// person's alone when the reply never came); between two people, the latest move.
int TGameSession::MattaCount() const {
    const int n = MoveCount();
    if (n == 0) return 0;
    if (record_.Seats.Humans() == 2) return 1;
    if (!turns_.back().Computer) return 1;
    return n >= 2 && !turns_[std::size_t(n - 2)].Computer ? 2 : 0;
}

TMattaReport TGameSession::Matta() {
    TMattaReport report;
    if (inTurn_) return report;
    report.Refusal = MattaRefusal();
    if (!report.Refusal.empty()) {
        view_.ShowMessageBox(report.Refusal);
        return report;
    }
    const int count = MattaCount();
    std::vector<TMove> takenBack; // in the order they were played
    for (int i = MoveCount() - count; i < MoveCount(); ++i) takenBack.push_back(turns_[std::size_t(i)].Shown);
    // COM's generator drew for the moves that go back: a game with COM keeps the take-back for playing on.
    if (record_.Seats.ListedCom()) {
        const TTurn& last = turns_.back();
        NoteTakeBack(count == 2 ? turns_[turns_.size() - 2] : last, count == 2 ? &last : nullptr);
    }
    try {
        TakeBackMoves(count);
    } catch (const std::exception& e) {
        report.Refusal = ErrorBox(Tr("GameSession", "待ったでエラー発生"), false, e);
        view_.ShowMessageBox(report.Refusal);
        return report;
    }
    view_.SetComReason(LatestComReason());
    mattaUsed_ = true;

    std::string label = Tr("GameSession", "待ったをしました") + "\r\n";
    if (MoveCount() == 0) {
        label += Tr("GameSession", "初期状態に戻りました") + "\r\n\r\n";
    } else {
        label += "\r\n" + Tr("GameSession", "戻した指し手:") + "\r\n\r\n";
        for (std::size_t i = 0; i < takenBack.size(); ++i) {
            if (i > 0) label += "\r\n";
            label += "　" + MoveNumberText(MoveCount() + 1 + int(i)) + "\r\n";
            label += MoveWords(takenBack[i]);
        }
    }
    SetMessage(label);
    DrawPosition(position_);
    MarkLatestTurn();
    SetStatus("");
    // The frame goes back to the computer's move that now is the latest (or off the board), so that the
    // next drag shows it where that piece stands, not where a taken-back move had put it.
    if (!turns_.empty() && (turns_.back().Computer || record_.Seats.Humans() == 2))
        view_.MoveFrame(SessionFrame::Waku, turns_.back().Shown.To);
    else
        view_.RemoveFrame(SessionFrame::Waku);
    view_.ShowFrame(SessionFrame::Waku, false);
    report.Done = true;
    KeepRecord();
    return report;
}

// The last count moves go back: the players are told, the position is the game's from its start again.
void TGameSession::TakeBackMoves(int count) {
    const bool replyMissing = count == 1 && record_.Seats.Humans() == 1;
    for (Side side : {Side::Sente, Side::Gote})
        if (IPlayer* p = PlayerOf(side)) p->TookBack(replyMissing);
    for (int i = 0; i < count; ++i) {
        turns_.pop_back();
        judge_.TakeBack();
    }
    position_ = PositionAfter(MoveCount());
    verdict_ = {};
    stalled_ = false;
}

TKyokumen TGameSession::PositionAfter(int n) const {
    TKyokumen k = StartPosition();
    for (int i = 0; i < n; ++i) {
        const TTurn& t = turns_[std::size_t(i)];
        k.ComToMove = t.Mover == Side::Gote;
        k.ApplyMove(t.Played);
    }
    if (n > 0) k.ComToMove = turns_[std::size_t(n - 1)].Mover == Side::Sente;
    return k;
}

// ---------------------------------------------------------------------------------------------
// Resigning and the end of a game

bool TGameSession::CanResign() const {
    return !inTurn_ && !replayMode_ && !Browsing() && !GameOver() && MoveCount() > 0 && HumanToMove();
}

bool TGameSession::Resign() {
    if (!CanResign()) return false;
    const TGameEnd end{EndKind::Resign, SideToMove()};
    std::string label;
    if (PersonAgainstComputer())
        label = Tr("GameSession", "投了しました。COMの勝ちです。") + "\r\n\r\n" + TotalTimeText();
    else
        label = EndBox(end);
    FinishGame(end, label);
    return true;
}

// The end of a game however it ended: the winner on the status line, the record's closing line,
// replay mode, the closing label, and the game kept.
void TGameSession::FinishGame(const TGameEnd& end, const std::string& label) {
    SetStatus(WinnerStatus(end));
    record_.End = end;
    EnterReplayMode();
    SetMessage(label);
    KeepRecord();
}
