// Continuing a game from one of its positions exactly: the game is played again aside from its start,
// COM on its generator as it was then, and taken over once that has succeeded.
#include "session/GameSession.h"

#include "session/EnginePlay.h"
#include "session/Notation.h"
#include "session/RecordKeeper.h"
#include "session/Tr.h"

#include <stdexcept>
#include <utility>

namespace {

std::string Squares(const TMove& m) {
    return m.Empty() ? std::string("-") : SquareText(m.From) + SquareText(m.To);
}

std::string ShownSquares(const TMove& m) {
    return m.Empty() ? std::string("-") : DisplaySquare(m.From) + DisplaySquare(m.To);
}

bool SameSquares(const TMove& a, const TMove& b) {
    return a.From == b.From && a.To == b.To;
}

[[noreturn]] void Mismatch(int number, const TMove& recorded, const TMove& now) {
    throw TPlayOnRefusal("move " + std::to_string(number) + ": COM now plays " + Squares(now) +
                             " where the record has " + Squares(recorded),
                         TrArg(Tr("PlayOn", "%1手目: COMの指し手が棋譜と違います（棋譜 %2、今のCOM %3）。"
                                            "この棋譜からは指し直せません。"),
                               {std::to_string(number), ShownSquares(recorded), ShownSquares(now)}));
}

[[noreturn]] void CannotReplay(int number) {
    throw TPlayOnRefusal("move " + std::to_string(number) + " cannot be played again",
                         TrArg(Tr("PlayOn", "%1手目が再現できません。"), {std::to_string(number)}));
}

// An engine seat in the game played aside: its moves are the record's, taken as given (the referee
// checks them by the rules).
class TRecordedPlayer : public IPlayer {
public:
    explicit TRecordedPlayer(const TKifRecord& r) : r_(r) {}
    void Think(const TMoveRequest& request, ReplyFn reply) override {
        TOpponentReply answer;
        const std::size_t next = std::size_t(request.Position.MoveCount);
        if (next < r_.Played.size()) answer.Move = r_.Played[next];
        reply(answer);
    }

private:
    const TKifRecord& r_;
};

} // namespace

int TGameSession::PlayOn() {
    return ContinueFrom(LineRecord(), ShownMove(), nullptr);
}

int TGameSession::ContinueKept(const std::filesystem::path& path) {
    const TKifRecord r = ReadRecord(path);
    if (r.Ending.Over()) throw TPlayOnRefusal("the game is over", Tr("PlayOn", "この対局は終わっています。"));
    return ContinueFrom(r, static_cast<int>(r.Shown.size()), &path);
}

bool TGameSession::CanContinue(const TKifRecord& r) const {
    if (r.Ending.Over() || inTurn_) return false;
    try {
        TQuietView quiet;
        TSessionHooks hooks;
        hooks.Think = hooks_.Think;
        hooks.Now = hooks_.Now;
        hooks.TickCount = [] { return std::int64_t(0); };
        TGameSession s(quiet, hooks);
        s.ReplayRecorded(r, static_cast<int>(r.Shown.size()));
        return !s.GameOver();
    } catch (const std::exception&) {
        return false;
    }
}

// Throws the refusal of playing on from move n of r, when it is refused before anything is played.
void TGameSession::CheckPlayOn(const TKifRecord& r, int n, bool kept) const {
    if (inTurn_ || pending_)
        throw TPlayOnRefusal("COM is thinking", Tr("PlayOn", "COMの応手を待っています。指し直せません。"));
    const std::string number = std::to_string(n);
    if (n == static_cast<int>(r.Shown.size()) && r.Ending.Over())
        throw TPlayOnRefusal("the game is over after move " + number,
                             TrArg(Tr("PlayOn", "%1手目で対局は終わっています。"), {number}));
    // A person takes over where the person is to move; a game kept while a computer was to move goes on
    // with the computer's move.
    const Side first = KifMover(r, 0);
    const Side toMove = n % 2 == 0 ? first : Other(first);
    if (!kept && r.Seats.Humans() > 0 && r.Seats[toMove].Computer())
        throw TPlayOnRefusal(
            "after move " + number + " COM is to move; play on from a position with you to move",
            TrArg(Tr("PlayOn", "%1手目の局面はCOMの手番です。あなたの手番の局面から指し直してください。"),
                  {number}));
    const TKifContinuation& c = r.Continuation;
    if (c.FaultLine > 0)
        throw TPlayOnRefusal(
            "line " + std::to_string(c.FaultLine) +
                ": what the record holds for playing on "
                "cannot be read",
            TrArg(Tr("PlayOn", "%1行目: 続きを指すための情報が読めません。"), {std::to_string(c.FaultLine)}));
    // Only COM draws on the generator: a game without it needs nothing but its moves.
    if ((r.Seats.ListedCom() || !c.StartSeats.empty()) &&
        (!c.Known || c.Events.empty() || c.Events.front().Formation.empty()))
        throw TPlayOnRefusal("the record does not hold what playing on needs (COM's random state and "
                             "formation): it was not written by this game",
                             Tr("PlayOn", "この棋譜には続きを指すための情報（COMの乱数と陣形）がありません。"
                                          "このゲームで記録した棋譜からだけ指し直せます。"));
}

// A seed changed in the file may bring out every COM move up to n and give other replies later: the
// whole record played again must leave COM's generator where the file says the game left it. aside is
// the game played to move n.
void TGameSession::CheckEndSeed(const TKifRecord& r, int n, TGameSession& aside) const {
    const TKifContinuation& c = r.Continuation;
    if (!c.EndSeed || c.Lines.EndSeed == 0) return;
    const int end = static_cast<int>(r.Shown.size());
    TQuietView quiet;
    TGameSession whole(quiet, aside.hooks_);
    if (n < end) whole.ReplayRecorded(r, end);
    const std::string seedLine = std::to_string(c.Lines.Seed), endLine = std::to_string(c.Lines.EndSeed);
    if ((n < end ? whole : aside).rng_.Seed() != *c.EndSeed)
        throw TPlayOnRefusal(
            "line " + seedLine + ": COM's generator does not end where line " + endLine + " says",
            TrArg(Tr("PlayOn", "%1行目: COMの乱数が%2行目の記録と合いません。"), {seedLine, endLine}));
}

// The game played again aside up to move n of r, every check made: nothing of this game is touched.
std::unique_ptr<TGameSession::TAside> TGameSession::PlayAside(const TKifRecord& r, int n, bool kept) const {
    CheckPlayOn(r, n, kept);
    TSessionHooks hooks;
    hooks.Think = hooks_.Think;
    hooks.Now = hooks_.Now;
    hooks.TickCount = [] { return std::int64_t(0); };
    auto aside = std::make_unique<TAside>(hooks);
    TGameSession& s = aside->Game;
    s.ReplayRecorded(r, n);
    if (s.GameOver())
        throw TPlayOnRefusal("the game is over after move " + std::to_string(n),
                             TrArg(Tr("PlayOn", "%1手目で対局は終わっています。"), {std::to_string(n)}));
    CheckEndSeed(r, n, s);
    return aside;
}

int TGameSession::ContinueFrom(const TKifRecord& r, int n, const std::filesystem::path* keptFile) {
    // The game is played again aside; this one is replaced only once that has succeeded.
    const std::unique_ptr<TAside> aside = PlayAside(r, n, keptFile != nullptr);
    CancelPending();
    AdoptGame(aside->Game, r, keptFile ? Adoption::Kept : Adoption::NewGame);
    lines_.clear();
    line_ = 0;
    if (keptFile) {
        lines_ = LinesOf(r);
        if (keeper_) keeper_->Adopt(gameNumber_, *keptFile);
    }
    ShowContinuedGame(keptFile ? Tr("PlayOn", "前回の対局を続けます。")
                               : TrArg(Tr("PlayOn", "%1手目の局面から指し直します。"), {std::to_string(n)}));
    KeepRecord();
    return n;
}

// Run on the game played aside: its start, then the formation picks, take-backs, seat changes and moves
// in the order they happened, up to move n.
void TGameSession::ReplayRecorded(const TKifRecord& r, int n) {
    const TKifContinuation& c = r.Continuation;
    replaying_ = true;
    recorded_ = std::make_unique<TRecordedPlayer>(r);
    if (c.Known) rng_.SetSeed(c.Seed);
    const std::optional<TSeats> start = ParseSeatsText(c.StartSeats);
    nextSeats_ = start ? *start : r.Seats;
    if (const std::optional<Side> com = nextSeats_.ListedCom(); com && !c.Events.empty())
        nextSeats_[*com].Formation = c.Events.front().Formation;
    const std::optional<Side> listed = nextSeats_.ListedCom();
    formation_ = listed ? nextSeats_[*listed].Formation : std::string(kFormationList[0]);
    if (r.Start == KifStart::Handicap)
        NewHandicapGame();
    else if (r.Start == KifStart::Test)
        NewTestGame();
    else if (r.Start == KifStart::Edited)
        NewGameFrom(r.Edited);
    else
        NewGame();
    for (std::size_t e = 1; e < c.Events.size(); ++e)
        if (!ReplayEvent(r, c.Events[e], n)) break;
    PlayRecordedTo(r, n);
    replaying_ = false;
}

void TGameSession::PlayRecordedTo(const TKifRecord& r, int count) {
    while (MoveCount() < count) PlayRecordedMove(r, std::size_t(MoveCount()));
}

// One event of the record, made again; false when it lies beyond move n.
bool TGameSession::ReplayEvent(const TKifRecord& r, const TKifEvent& event, int n) {
    if (!event.Formation.empty()) {
        // A game without COM notes the list's pick all the same; it changes nobody.
        if (!record_.Seats.ListedCom()) return true;
        if (MoveCount() > 0 || !PickFormation(event.Formation))
            throw TPlayOnRefusal("a formation is picked after the first move",
                                 Tr("PlayOn", "陣形の記録が不正です。"));
        return true;
    }
    if (!event.Seats.empty()) {
        if (event.SeatsAt > n) return false;
        PlayRecordedTo(r, event.SeatsAt);
        const TSeats seats = *ParseSeatsText(event.Seats);
        for (Side side : {Side::Sente, Side::Gote})
            if (!(seats[side] == record_.Seats[side]) && !ChangeSeat(side, seats[side]))
                throw TPlayOnRefusal("a seat change cannot be made again",
                                     Tr("PlayOn", "対局者の交代が再現できません。"));
        return true;
    }
    const TKifTakeBack& t = event.TakeBack;
    if (t.AtCount > n) return false;
    PlayRecordedTo(r, t.AtCount);
    const int number = t.AtCount + 1;
    if (MoveComa_Screen(t.Human.From, t.Human.To).Result != TTurnReport::Outcome::Continues)
        CannotReplay(number);
    const TTurnReport report = Go();
    const bool failed = report.Result == TTurnReport::Outcome::ComFailed;
    const bool replied = report.Result == TTurnReport::Outcome::Continues;
    if (t.Com.Empty() ? !failed : !replied || !SameSquares(turns_.back().Played, t.Com))
        Mismatch(number + 1, t.Com, replied ? turns_.back().Played : TMove{});
    if (!Matta().Done)
        throw TPlayOnRefusal(
            "the take-back after move " + std::to_string(number) + " cannot be made again",
            TrArg(Tr("PlayOn", "%1手目のあとの待ったが再現できません。"), {std::to_string(number)}));
    return true;
}

// Move i of the record, by whoever played it: a person's checked by the rules, COM's thought again and
// compared, the engine's taken as recorded.
void TGameSession::PlayRecordedMove(const TKifRecord& r, std::size_t i) {
    const int number = static_cast<int>(i) + 1;
    if (i >= r.Played.size() || GameOver()) CannotReplay(number);
    const TMove& recorded = r.Played[i];
    if (!IsComputer(SideToMove())) {
        MoveComa_Screen(recorded.From, recorded.To);
        if (MoveCount() <= int(i) || !SameSquares(turns_[i].Played, recorded)) CannotReplay(number);
        return;
    }
    const bool com = record_.Seats[SideToMove()].Kind == SeatKind::Com;
    Go();
    const bool moved = MoveCount() > int(i);
    if (moved && SameSquares(turns_[i].Played, recorded)) return;
    if (com) Mismatch(number, recorded, moved ? turns_[i].Played : TMove{});
    CannotReplay(number);
}

// Takes over the game played aside, with the times and comments the record gives.
void TGameSession::AdoptGame(TGameSession& s, const TKifRecord& r, Adoption as) {
    rng_.SetSeed(s.rng_.Seed());
    record_.Start = s.record_.Start;
    record_.Edited = s.record_.Edited;
    record_.Seats = s.record_.Seats;
    record_.End = {};
    record_.Cont = std::move(s.record_.Cont);
    turns_ = std::move(s.turns_);
    position_ = std::move(s.position_);
    judge_ = std::move(s.judge_);
    verdict_ = {};
    stalled_ = false;
    nextSeats_ = record_.Seats;
    formation_ = s.formation_;
    SeatPlayers();
    for (Side side : {Side::Sente, Side::Gote}) {
        auto* mine = dynamic_cast<TComPlayer*>(owned_[std::size_t(side)].get());
        auto* theirs = dynamic_cast<TComPlayer*>(s.owned_[std::size_t(side)].get());
        if (mine && theirs) mine->Adopt(*theirs);
        // The engine is told the game from its start, so that it sees the repetitions coming.
        if (auto* engine = dynamic_cast<TEnginePlayer*>(owned_[std::size_t(side)].get())) {
            engine->NewGame(StartPosition(), side, record_.Seats[side]);
            for (const TTurn& t : turns_) engine->Moved(t.Played, t.Mover);
        }
    }
    std::size_t computerIndex = 0;
    for (std::size_t i = 0; i < turns_.size(); ++i) {
        TTurn& t = turns_[i];
        if (i < r.Comments.size()) t.Comment = r.Comments[i];
        if (t.Computer && computerIndex < r.Continuation.ComSeconds.size())
            t.Seconds = r.Continuation.ComSeconds[computerIndex];
        if (t.Computer) ++computerIndex;
    }
    // The game played aside met the record's formation picks and take-backs in the record's order.
    for (std::size_t j = 0; j < record_.Cont.Events.size() && j < r.Continuation.Events.size(); ++j)
        record_.Cont.Events[j].TakeBack.Seconds = r.Continuation.Events[j].TakeBack.Seconds;
    comTotalTime_ = 0;
    for (const TTurn& t : turns_) comTotalTime_ += t.Seconds;
    for (const TKifEvent& e : record_.Cont.Events) comTotalTime_ += e.TakeBack.Seconds;

    mattaUsed_ = s.mattaUsed_;
    shown_ = -1;
    // A new game is dated now and kept apart; a kept game and a variation stay in their record.
    record_.Began = as == Adoption::NewGame ? ParseKifDate(hooks_.Now()) : r.Began;
    record_.Header =
        RecordHeader(RecordDateText(record_.Began), StartPosition(), record_.Seats);
    if (as != Adoption::Variation) ++gameNumber_;
}

void TGameSession::ShowContinuedGame(const std::string& head) {
    LeaveReplayMode();
    view_.SeatsChanged(record_.Seats);
    ClearBoard();
    DrawPosition(position_);
    RemoveFrames();
    const bool framed = !turns_.empty() && (turns_.back().Computer || record_.Seats.Humans() == 2);
    if (framed) view_.MoveFrame(SessionFrame::Waku, turns_.back().Shown.To);
    view_.ShowFrame(SessionFrame::Waku, framed);
    MarkLatestTurn();
    view_.SetComReason(LatestComReason());
    std::string status;
    if (!turns_.empty() && turns_.back().Computer && PlayerOf(turns_.back().Mover)) {
        const std::string building = PlayerOf(turns_.back().Mover)->Building();
        if (!building.empty() && turns_.back().Comment.empty()) status = FormationStatus(building);
    }
    if (judge_.Check() && !turns_.empty()) status = CheckText(turns_.back().Mover);
    SetStatus(status);
    SetMessage(head + "\r\n\r\n" + TurnOwnerText());
}
