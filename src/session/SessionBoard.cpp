// What the board shows: the game's position, a replay of a finished game, an earlier position looked at
// during a game. One cursor, the number of the move shown, serves the replay and the looking back.
#include "session/GameSession.h"

#include "session/Tr.h"

#include <exception>

void TGameSession::ClearBoard() {
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) view_.SetSquare(file * 10 + rank, PieceName::Empty);
}

void TGameSession::DrawPosition(const TKyokumen& k) {
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank)
            view_.SetSquare(file * 10 + rank, k.Board[std::size_t(file * 10 + rank)]);
}

void TGameSession::RemoveFrames() {
    view_.RemoveFrame(SessionFrame::Waku);
    view_.RemoveFrame(SessionFrame::Waku2);
}

void TGameSession::EnterReplayMode() {
    replayMode_ = true;
    shown_ = MoveCount();
    shownPosition_ = position_;
    view_.SetReplayMode(true);
}

void TGameSession::LeaveReplayMode() {
    replayMode_ = false;
    shown_ = -1;
    view_.SetReplayMode(false);
}

void TGameSession::MarkLatestTurn() {
    // A turn is a person's move and the computer's answer; a turn that stopped after the person's move
    // (a win, or a failed think), a computer's move that answers none, and a move between two people
    // are a turn of one move.
    std::vector<TMove> moves;
    const std::size_t n = turns_.size();
    if (n >= 2 && turns_[n - 1].Computer && !turns_[n - 2].Computer && record_.Seats.Humans() == 1)
        moves.push_back(turns_[n - 2].Shown);
    if (n > 0) moves.push_back(turns_[n - 1].Shown);
    view_.MarkMoves(moves);
}

// ---------------------------------------------------------------------------------------------
// Replay

void TGameSession::ReplayToStart() {
    if (inTurn_ || !replayMode_) return;
    shownPosition_ = StartPosition();
    shown_ = 0;
    DrawPosition(shownPosition_);
    view_.ShowFrame(SessionFrame::Waku, false);
    view_.ShowFrame(SessionFrame::Waku2, false);
    view_.SetComReason("");
    view_.MarkMoves({});
    SetMessage(Tr("GameSession",
                  "棋譜再現モード\r\n\r\n\r\n初期状態まで棋譜を戻しました。このあと一手ずつ再生することが"
                  "できます。"));
}

void TGameSession::ReplayMove(int k, SessionFrame frame, TMove& shown) {
    const TTurn& turn = turns_[std::size_t(k - 1)];
    shownPosition_.ComToMove = turn.Mover == Side::Gote;
    shownPosition_.ApplyMove(turn.Played);
    shown_ = k;
    shown = turn.Shown;
    view_.SetSquare(shown.From, PieceName::Empty);
    view_.SetSquare(shown.To, shown.Name);
    if (!replayingBack_) view_.PieceLanded(shown.To);
    view_.MoveFrame(frame, shown.To);
}

void TGameSession::ReplayOne() {
    if (inTurn_ || !replayMode_) return;
    const int k = shown_ + 1;
    if (MoveCount() < k) return;
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
               MoveWords(shown) + EndingNote(k));
}

void TGameSession::ReplayTwo() {
    if (inTurn_ || !replayMode_) return;
    int k = shown_ + 1;
    if (MoveCount() < k) return;
    TMove shown;
    try {
        ReplayMove(k, SessionFrame::Waku, shown);
        view_.ShowFrame(SessionFrame::Waku, true);
        // Of the two moves shown, the computer's.
        view_.SetComReason(ComReasonOfMove(turns_[std::size_t(k - 1)].Computer ? k : k + 1));
        view_.MarkMoves({shown});
        std::string label = Tr("GameSession", "棋譜再現モード") + "\r\n\r\n" + MoveNumberText(k) +
                            "\r\n\r\n" + MoveWords(shown);
        SetMessage(label + EndingNote(k));
        ++k;
        if (MoveCount() < k) return;
        const TMove first = shown;
        ReplayMove(k, SessionFrame::Waku2, shown);
        view_.MarkMoves({first, shown});
        label += "\r\n\r\n" + MoveNumberText(k) + "\r\n\r\n" + MoveWords(shown);
        SetMessage(label + EndingNote(k));
        view_.ShowFrame(SessionFrame::Waku2, true);
    } catch (const std::exception& e) {
        view_.ShowMessageBox(ErrorBox(Tr("GameSession", "棋譜再現でエラー発生"), false, e));
    }
}

void TGameSession::ReplayBack() {
    if (inTurn_ || !replayMode_) return;
    const int k = shown_;
    if (k <= 0) return;
    const TMove undone = turns_[std::size_t(k - 1)].Shown;
    ReplayTo(k - 1);
    // The one piece seen to move is the one that goes back to its square.
    if (shown_ == k - 1) view_.PieceLanded(undone.From);
}

void TGameSession::ReplayTo(int n) {
    if (inTurn_ || !replayMode_ || n < 0 || n > MoveCount()) return;
    // A jump shows a position, not a game being played: its moves land without a sound.
    replayingBack_ = true;
    ReplayToStart();
    while (shown_ < n) {
        const int before = shown_;
        ReplayOne();
        if (shown_ == before) break; // a step failed and said so
    }
    replayingBack_ = false;
}

void TGameSession::Retell() {
    if (inTurn_ || pending_) return;
    if (replayMode_) return ReplayTo(ShownMove());
    if (turns_.empty() && !GameOver() && shown_ < 0) SetMessage(GameGreeting());
}

// ---------------------------------------------------------------------------------------------
// Earlier positions

int TGameSession::ShownMove() const {
    return shown_ >= 0 ? shown_ : MoveCount();
}

TKyokumen TGameSession::ShownPosition() const {
    if (replayMode_) {
        // The replay plays each move as its mover's; the position shown is the next side's to move.
        TKyokumen k = shownPosition_;
        if (shown_ > 0) k.ComToMove = turns_[std::size_t(shown_ - 1)].Mover == Side::Sente;
        return k;
    }
    return shown_ >= 0 ? PositionAfter(shown_) : position_;
}

TEditedStart TGameSession::ShownSetup() const {
    const int n = ShownMove();
    const Side toMove = n == 0 ? ::SideToMove(StartPosition()) : Other(turns_[std::size_t(n - 1)].Mover);
    return {ShownPosition().Board, toMove};
}

void TGameSession::ShowMove(int n) {
    if (n < 0 || n > MoveCount())
        throw std::out_of_range("the game has moves 0 to " + std::to_string(MoveCount()));
    if (inTurn_ || pending_) return;
    if (!replayMode_) return ShowLivePosition(n);
    // The replay's board is played up to the move from the start.
    ReplayTo(n);
}

void TGameSession::ShowLivePosition(int n) {
    const int last = MoveCount();
    const bool wasBrowsing = shown_ >= 0;
    shown_ = n == last ? -1 : n;
    DrawPosition(ShownPosition());
    view_.ShowFrame(SessionFrame::Waku2, false);
    if (shown_ < 0) {
        MarkLatestTurn();
        view_.SetComReason(LatestComReason());
        const bool framed = last > 0 && (turns_.back().Computer || record_.Seats.Humans() == 2);
        if (framed) view_.MoveFrame(SessionFrame::Waku, turns_.back().Shown.To);
        view_.ShowFrame(SessionFrame::Waku, framed);
        if (wasBrowsing) SetStatus(liveStatus_);
        return;
    }
    if (!wasBrowsing) liveStatus_ = status_;
    if (n > 0) {
        view_.MarkMoves({turns_[std::size_t(n - 1)].Shown});
        view_.MoveFrame(SessionFrame::Waku, turns_[std::size_t(n - 1)].Shown.To);
    } else {
        view_.MarkMoves({});
    }
    view_.ShowFrame(SessionFrame::Waku, n > 0);
    view_.SetComReason(ComReasonOfMove(n));
    // Only looked at: the status line says so, and how to get back.
    SetStatus(TrArg(Tr("GameSession", "%1手目を表示中 — Endで対局に戻る"), {std::to_string(n)}));
}
