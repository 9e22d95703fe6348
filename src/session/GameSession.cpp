// The referee's turn: a person's move or a computer's, checked, played, told to the players, judged.
#include "session/GameSession.h"

#include "game/Clock.h"
#include "session/EnginePlay.h"
#include "session/Tr.h"

#include <ctime>
#include <exception>
#include <utility>

namespace {

// An engine seat in a session without an engine (a record opened aside): its turn fails as it does when
// the engine is not installed, instead of reaching for an engine that is not there.
class TNoEnginePlayer : public IPlayer {
public:
    void Think(const TMoveRequest&, ReplyFn reply) override {
        TOpponentReply r;
        r.Error = EngineFailureText(TEngineSeat::MissingText());
        reply(r);
    }
};

bool IsSquare(int sq) {
    return OnBoard(FileOf(sq), RankOf(sq));
}

// The Japanese locale's short date and long time: "2024/03/05 9:07:31".
std::string LocalDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

// Marks the session busy for the length of a turn. The window lets pending input through once just
// before a computer thinks; whatever arrives then must not start a second turn or replace the game
// under the one that is running.
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

const TReportedMove* TTurnReport::First(bool computer) const {
    for (const TReportedMove& m : Moves)
        if (m.Computer == computer) return &m;
    return nullptr;
}

TGameSession::TGameSession(ISessionView& view, TSessionHooks hooks) : view_(view), hooks_(std::move(hooks)) {
    if (!hooks_.TickCount) hooks_.TickCount = TickCountMs;
    if (!hooks_.Now) hooks_.Now = LocalDateTime;
    StartGame(KifStart::Even);
    mattaUsed_ = false;
    ResetKifu();
    LeaveReplayMode();
}

TGameSession::~TGameSession() {
    CancelPending();
}

void TGameSession::Start() {
    view_.SeatsChanged(record_.Seats);
    DrawPosition(position_);
    RemoveFrames();
    comTotalTime_ = 0;
    formation_ = std::string(kFormationList[0]);
    PickFormation(formation_);
}

// ---------------------------------------------------------------------------------------------
// Seats and players

void TGameSession::SetSeats(const TSeats& seats) {
    for (const TSeat& seat : seats.Of)
        if (seat.Kind == SeatKind::Engine && !hooks_.Engine && !hooks_.Opponent)
            throw std::invalid_argument("the engine cannot play here");
    nextSeats_ = seats;
    if (const std::optional<Side> listed = seats.ListedCom()) formation_ = seats[*listed].Formation;
}

std::optional<Side> TGameSession::OpponentSide() const {
    if (record_.Seats[Side::Gote].Computer()) return Side::Gote;
    if (record_.Seats[Side::Sente].Computer()) return Side::Sente;
    return std::nullopt;
}

bool TGameSession::ChangeSeat(Side side, const TSeat& seat) {
    if (!seat.Computer() || !nextSeats_[side].Computer()) return false;
    if (seat.Kind == SeatKind::Engine && !hooks_.Engine && !hooks_.Opponent && !recorded_) return false;
    nextSeats_[side] = seat;
    if (seat.Kind == SeatKind::Com) nextSeats_[side].Formation = formation_;
    // A replayed or finished game keeps the players it was played by.
    if (replayMode_ || GameOver() || !record_.Seats[side].Computer()) return true;
    if (pending_ && SideToMove() == side) CancelPending();
    // Playing the game on must seat the same players at the same moves.
    if (record_.Cont.StartSeats.empty()) record_.Cont.StartSeats = SeatsText(record_.Seats);
    record_.Seats[side] = nextSeats_[side];
    TKifEvent change;
    change.Seats = SeatsText(record_.Seats);
    change.SeatsAt = MoveCount();
    record_.Cont.Events.push_back(change);
    SeatPlayers();
    // A player that takes a seat mid-game has seen the game so far.
    if (IPlayer* p = PlayerOf(side)) {
        TKyokumen k = StartPosition();
        p->NewGame(k, side, record_.Seats[side]);
        for (const TTurn& t : turns_) p->Moved(t.Played, t.Mover);
    }
    record_.Header = RecordHeader(RecordDateText(record_.Began), StartPosition(), record_.Seats);
    return true;
}

void TGameSession::SeatPlayers() {
    for (Side side : {Side::Sente, Side::Gote}) {
        const TSeat& seat = record_.Seats[side];
        auto& owned = owned_[std::size_t(side)];
        IPlayer*& player = players_[std::size_t(side)];
        if (!seat.Computer()) {
            owned.reset();
            player = nullptr;
        } else if (hooks_.Opponent) {
            owned.reset();
            player = hooks_.Opponent;
        } else if (seat.Kind == SeatKind::Com) {
            if (!dynamic_cast<TComPlayer*>(owned.get()))
                owned = std::make_unique<TComPlayer>(rng_, hooks_.Think);
            player = owned.get();
        } else if (recorded_) {
            owned.reset();
            player = recorded_.get();
        } else if (!hooks_.Engine) {
            if (!dynamic_cast<TNoEnginePlayer*>(owned.get())) owned = std::make_unique<TNoEnginePlayer>();
            player = owned.get();
        } else {
            auto* engine = dynamic_cast<TEnginePlayer*>(owned.get());
            if (!engine) owned = std::make_unique<TEnginePlayer>(*hooks_.Engine);
            static_cast<TEnginePlayer&>(*owned).SetLevel(seat.Level);
            player = owned.get();
        }
    }
}

void TGameSession::StartGame(KifStart start, const TEditedStart& edited) {
    stalled_ = false;
    record_.Start = start;
    record_.Edited = start == KifStart::Edited ? edited : TEditedStart{};
    record_.Seats = nextSeats_;
    record_.End = {};
    position_ = StartPosition();
    judge_.Reset(position_);
    turns_.clear();
    shown_ = -1;
    SeatPlayers();
    for (Side side : {Side::Sente, Side::Gote})
        if (IPlayer* p = PlayerOf(side)) p->NewGame(position_, side, record_.Seats[side]);
}

const TKyokumenKanri* TGameSession::ComKanri(Side side) const {
    const auto* com = dynamic_cast<const TComPlayer*>(owned_[std::size_t(side)].get());
    return com ? &com->Kanri() : nullptr;
}

std::vector<TMove> TGameSession::LegalFor(Side side) const {
    TMoveList list;
    ::LegalMoves(position_, side, list);
    return {list.begin(), list.end()};
}

Side TGameSession::Viewer() const {
    return record_.Seats.LoneHuman().value_or(Side::Sente);
}

// ---------------------------------------------------------------------------------------------
// Whose turn

bool TGameSession::HumanToMove() const {
    return !inTurn_ && !pending_ && !replayMode_ && shown_ < 0 && !GameOver() && !IsComputer(SideToMove());
}

bool TGameSession::ComputerToMove() const {
    return !inTurn_ && !pending_ && !stalled_ && !replayMode_ && shown_ < 0 && !GameOver() &&
           IsComputer(SideToMove()) && PlayerOf(SideToMove()) != nullptr;
}

std::vector<TMove> TGameSession::LegalMoves() const {
    if (!HumanToMove()) return {};
    return LegalFor(SideToMove());
}

std::vector<int> TGameSession::LegalDestinations(int from) const {
    std::vector<int> squares;
    if (!IsSquare(from) || position_.Board[std::size_t(from)] == PieceName::Empty ||
        SideOf(position_.Board[std::size_t(from)]) != SideToMove())
        return squares;
    for (const TMove& m : LegalMoves())
        if (m.From == from) squares.push_back(m.To);
    return squares;
}

// ---------------------------------------------------------------------------------------------
// The turn

TTurnReport TGameSession::MoveComa_Screen(int from, int to) {
    TTurnReport report;
    if (!inTurn_ && !pending_ && Browsing() && !GameOver() && !IsComputer(SideToMove()) && from != to) {
        // Only looked at: the drag goes back, and the panel says why.
        SetMessage(TrArg(Tr("GameSession", "%1手目の局面を表示中です。Endで対局に戻ってから指してください。"),
                         {std::to_string(shown_)}));
        return report;
    }
    if (inTurn_ || !HumanToMove() || from == to) return report;
    {
        TTurnGuard guard(inTurn_);
        if (!PlayHumanMove(from, to, report) || Judged(report)) return report;
        report.Result = TTurnReport::Outcome::Continues;
        if (IsComputer(SideToMove()) && !replaying_ && PlayerOf(SideToMove())) {
            AskComputer(report);
        } else {
            // A person moves next: the move was a whole turn (two people at one board).
            mattaUsed_ = false;
        }
    }
    // A turn finished at once is kept if the game goes on; a finished game was kept at its end.
    if (!pending_ && report.Result == TTurnReport::Outcome::Continues) KeepRecord();
    return report;
}

TTurnReport TGameSession::Go() {
    TTurnReport report;
    if (!ComputerToMove()) return report;
    {
        TTurnGuard guard(inTurn_);
        turnLabel_.clear();
        AskComputer(report);
    }
    if (!pending_ && report.Result == TTurnReport::Outcome::Continues) KeepRecord();
    return report;
}

// The person's move: checked, played, recorded and shown. False when the turn ends here.
bool TGameSession::PlayHumanMove(int from, int to, TTurnReport& report) {
    using Outcome = TTurnReport::Outcome;
    const Side side = SideToMove();
    // A code that names no square matches no move.
    THumanMoveTest test;
    if (IsSquare(from) && IsSquare(to)) test = TestMove(position_, side, from, to);
    if (test.Result != THumanMoveTest::Legal) {
        const bool check = test.Result == THumanMoveTest::KingLeftAttacked;
        SetMessage(IllegalMoveText(check));
        report.Result = check ? Outcome::IllegalCheck : Outcome::Illegal;
        return false;
    }
    try {
        PlayMove(test.Move, false, report);
    } catch (const std::exception& e) {
        Box(ErrorBox(Tr("GameSession", "人の駒移動でエラー発生"), true, e), &report);
        report.Result = Outcome::HumanMoveFailed;
        return false;
    }
    const TReportedMove& moved = report.Moves.back();
    turnLabel_ = MoveLabel(moved);
    SetMessage(turnLabel_);
    view_.SetSquare(moved.Shown.From, PieceName::Empty);
    view_.SetSquare(moved.Shown.To, moved.Shown.Name);
    view_.PieceLanded(moved.Shown.To);
    // Without a computer the frame marks every move; with one, the computer's.
    if (!IsComputer(Side::Sente) && !IsComputer(Side::Gote))
        view_.MoveFrame(SessionFrame::Waku, moved.Shown.To);
    MarkLatestTurn();
    return true;
}

// Plays a move on the game's position, records it, tells the players and has the rules judge it.
void TGameSession::PlayMove(const TMove& played, bool computer, TTurnReport& report) {
    const Side mover = SideToMove();
    position_.ApplyMove(played);
    stalled_ = false;
    const TMove shown = mover == Side::Gote ? position_.Gote.LastMove : position_.Sente.LastMove;
    position_.ComToMove = mover == Side::Sente;
    verdict_ = judge_.Moved(position_);
    TTurn turn;
    turn.Mover = mover;
    turn.Computer = computer;
    turn.Played = played;
    turn.Shown = shown;
    if (!computer) {
        turn.Comment = std::move(hint_);
        hint_.clear();
    }
    turns_.push_back(std::move(turn));
    report.Moves.push_back({shown, MoveCount(), mover, computer});
    for (Side side : {Side::Sente, Side::Gote})
        if (IPlayer* p = PlayerOf(side)) p->Moved(played, mover);
}

// Hands the move to the computer whose turn it is. COM answers before this returns; another player may
// answer later, and the turn waits for it.
void TGameSession::AskComputer(TTurnReport& report) {
    const Side side = SideToMove();
    SetStatus(ThinkingText(side));
    view_.ProcessPendingEvents();
    turnStart_ = hooks_.TickCount();
    thinkStart_ = TickCountMsPrecise();
    pending_ = true;
    pendingReport_ = report;
    const std::uint64_t ask = ++askNumber_;
    asking_ = true;
    TTurnReport* caller = &report;
    legal_ = LegalFor(side);
    const TMoveRequest request{position_, side, legal_, Viewer()};
    PlayerOf(side)->Think(request, [this, ask, caller](const TOpponentReply& reply) {
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
    if (sync) return FinishReply(reply, report);
    {
        TTurnGuard guard(inTurn_);
        FinishReply(reply, report);
    }
    if (report.Result == TTurnReport::Outcome::Continues) KeepRecord();
    view_.TurnFinished(report);
}

void TGameSession::CancelPending() {
    if (!pending_) return;
    pending_ = false;
    ++askNumber_;
    if (IPlayer* p = PlayerOf(SideToMove())) p->Cancel();
}

// The computer's half of the turn and the end of the game, once the reply is there.
void TGameSession::FinishReply(const TOpponentReply& reply, TTurnReport& report) {
    using Outcome = TTurnReport::Outcome;
    if (hooks_.ThinkTimed) hooks_.ThinkTimed(TickCountMsPrecise() - thinkStart_);
    const Side side = SideToMove();
    if (!reply.Error.empty()) {
        stalled_ = true;
        Box(ComputerErrorBox(side, reply.Error), &report);
        // An engine that failed leaves the game to go on (待った, or another opponent): nothing thinks.
        if (record_.Seats[side].Kind == SeatKind::Engine) SetStatus("");
        report.Result = Outcome::ComFailed;
        return;
    }
    if (reply.Resigns) {
        const TGameEnd end{EndKind::Resign, side};
        Box(EndBox(end), &report);
        report.Ending = end;
        report.Result = Outcome::GameOver;
        FinishGame(end, turnLabel_ + (turnLabel_.empty() ? "" : "\r\n\r\n") + TotalTimeText());
        return;
    }
    if (!CheckReply(reply, report)) return;
    try {
        PlayMove(reply.Move, true, report);
    } catch (const std::exception& e) {
        Box(ErrorBox(Tr("GameSession", "COMの駒移動でエラー発生"), true, e), &report);
        report.Result = Outcome::ComFailed;
        return;
    }
    TTurn& turn = turns_.back();
    turn.Reason = reply.Reason;
    turn.Comment = reply.Text;
    turn.ShownComment = reply.ShownText;
    ShowComputerMove(report);
    if (Judged(report)) return;
    mattaUsed_ = false;
    report.Result = Outcome::Continues;
}

// A reply's move must be one of the side's legal moves; false (box shown) when it is not.
bool TGameSession::CheckReply(const TOpponentReply& reply, TTurnReport& report) {
    stalled_ = true;
    if (reply.Move.Empty()) {
        Box(Tr("GameSession", "COM思考でエラー発生\r\n\r\nCOMの指し手が得られませんでした。致命的な状況なので"
                              "ゲームを中断します。"),
            &report);
        report.Result = TTurnReport::Outcome::ComFailed;
        return false;
    }
    // A move is named in more than one way (COM names its rook "飛" even after it has promoted): the
    // squares say which move it is.
    for (const TMove& m : legal_)
        if (m.From == reply.Move.From && m.To == reply.Move.To) {
            stalled_ = false;
            return true;
        }
    const Side side = SideToMove();
    if (TestMove(position_, side, reply.Move.From, reply.Move.To).Result ==
        THumanMoveTest::KingLeftAttacked) {
        // COM's think can leave its own king attacked (its formation steps take no safety test): the
        // move is a foul, which loses at once, and it is not played.
        const TGameEnd end{EndKind::IllegalMove, side};
        Box(EndBox(end), &report);
        report.Ending = end;
        report.Result = TTurnReport::Outcome::GameOver;
        FinishGame(end, turnLabel_ + (turnLabel_.empty() ? "" : "\r\n\r\n") + IllegalReplyText(reply.Move) +
                            "\r\n\r\n" + TotalTimeText());
        return false;
    }
    Box(IllegalReplyBox(reply.Move), &report);
    SetStatus("");
    report.Result = TTurnReport::Outcome::ComFailed;
    return false;
}

// The computer's move on the label, the board, the frame, the status line; its thinking time.
void TGameSession::ShowComputerMove(TTurnReport& report) {
    TTurn& turn = turns_.back();
    const TReportedMove& moved = report.Moves.back();
    turnLabel_ += (turnLabel_.empty() ? "" : "\r\n\r\n") + MoveLabel(moved);
    SetMessage(turnLabel_);

    const double s = static_cast<double>(hooks_.TickCount() - turnStart_) / 1000.0;
    turn.Seconds = s;
    turnLabel_ += "\r\n\r\n" + TrArg(Tr("GameSession", "COM思考： %1秒"), {FormatSeconds(s)});
    comTotalTime_ += s;
    turnLabel_ += "\r\n" + TotalTimeText();
    SetMessage(turnLabel_);

    const TMove& shown = moved.Shown;
    view_.SetSquare(shown.From, PieceName::Empty);
    view_.SetSquare(shown.To, shown.Name);
    view_.PieceLanded(shown.To);
    view_.MoveFrame(SessionFrame::Waku, shown.To);
    view_.SetComReason(ReasonOf(turn));
    MarkLatestTurn();

    // Cleared first, then the formation under construction, which a check replaces. A player that
    // gives its reasons in words of its own (the engine) builds none.
    SetStatus("");
    const std::string building = PlayerOf(moved.Mover)->Building();
    if (!building.empty() && turn.Comment.empty()) SetStatus(FormationStatus(building));
    if (judge_.Check()) SetStatus(CheckText(moved.Mover));
}

// The verdict on the position after the latest move: true when it ended the game, which is then
// finished (box, record, replay).
bool TGameSession::Judged(TTurnReport& report) {
    report.Check = judge_.Check();
    if (!verdict_.Over()) {
        // Two people at one board: a check is said on the status line, as COM's is.
        if (!turns_.back().Computer && record_.Seats.Humans() == 2)
            SetStatus(report.Check ? CheckText(turns_.back().Mover) : std::string());
        return false;
    }
    Box(EndBox(verdict_), &report);
    report.Ending = verdict_;
    report.Result = TTurnReport::Outcome::GameOver;
    const bool timed = IsComputer(Side::Sente) || IsComputer(Side::Gote);
    // After a computer's move the label already ends with its total time.
    std::string label = turnLabel_;
    if (timed && !turns_.back().Computer) label += "\r\n\r\n" + TotalTimeText();
    FinishGame(verdict_, label);
    return true;
}
