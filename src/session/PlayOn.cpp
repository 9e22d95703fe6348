// Looking at earlier positions of a game, and continuing a game from one of them exactly.
#include "session/GameSession.h"

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

} // namespace

// ---------------------------------------------------------------------------------------------
// What the record carries for an exact continuation

void TGameSession::NoteFormation() {
    // Picks with no move between them leave COM exactly as the last one alone does.
    if (!cont_.Events.empty() && !cont_.Events.back().Formation.empty()) cont_.Events.pop_back();
    cont_.Events.push_back(TKifEvent{formation_, {}});
}

void TGameSession::NoteTakeBack(const TTurn& human, const TTurn* com) {
    TKifTakeBack t;
    t.AtCount = static_cast<int>(turns_.size()) - (com ? 2 : 1);
    t.Human = human.Played;
    if (com) {
        t.Com = com->Played;
        t.Seconds = com->Seconds;
    }
    cont_.Events.push_back(TKifEvent{{}, t});
}

// ---------------------------------------------------------------------------------------------
// Earlier positions

int TGameSession::ShownMove() const {
    if (browse_ >= 0) return browse_;
    return replayMode_ ? kanri_->MoveCount() : static_cast<int>(turns_.size());
}

TKyokumen TGameSession::ShownPosition() const {
    if (browse_ < 0) return kanri_->Kyokumen;
    TKyokumen pos = KifStartPosition(StartKind());
    for (int i = 0; i < browse_; ++i) {
        pos.ComToMove = i % 2 == 1;
        pos.ApplyMove(turns_[std::size_t(i)].Played);
    }
    return pos;
}

void TGameSession::ShowMove(int n) {
    if (n < 0 || n > static_cast<int>(turns_.size()))
        throw std::out_of_range("the game has moves 0 to " + std::to_string(turns_.size()));
    if (inTurn_ || pending_) return;
    if (!replayMode_) return ShowLivePosition(n);
    // The replay's board holds the game's own state: it is played up to the move from the start.
    ReplayTo(n);
}

void TGameSession::ShowLivePosition(int n) {
    const int last = static_cast<int>(turns_.size());
    browse_ = n == last ? -1 : n;
    const TKyokumen pos = ShownPosition();
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) view_.SetSquare(file * 10 + rank, pos.Board[file * 10 + rank]);
    view_.ShowFrame(SessionFrame::Waku2, false);
    if (browse_ < 0) {
        MarkLatestTurn();
        view_.SetComReason(LatestComReason());
        const bool comLast = last > 0 && turns_.back().Com;
        if (comLast) view_.MoveFrame(SessionFrame::Waku, turns_.back().Shown.To);
        view_.ShowFrame(SessionFrame::Waku, comLast);
        return;
    }
    if (n > 0) {
        view_.MarkMoves({turns_[std::size_t(n - 1)].Shown});
        view_.MoveFrame(SessionFrame::Waku, turns_[std::size_t(n - 1)].Shown.To);
    } else {
        view_.MarkMoves({});
    }
    view_.ShowFrame(SessionFrame::Waku, n > 0);
    view_.SetComReason(ComReasonOfMove(n));
}

// ---------------------------------------------------------------------------------------------
// Playing on

int TGameSession::PlayOn() {
    return ContinueFrom(KifRecord(), ShownMove(), nullptr);
}

int TGameSession::ContinueKept(const std::filesystem::path& path) {
    const TKifRecord r = ReadRecord(path);
    if (r.Ending != KifEnding::None)
        throw TPlayOnRefusal("the game is over", Tr("PlayOn", "この対局は終わっています。"));
    return ContinueFrom(r, static_cast<int>(r.Shown.size()), &path);
}

int TGameSession::ContinueFrom(const TKifRecord& r, int n, const std::filesystem::path* keptFile) {
    if (inTurn_ || pending_)
        throw TPlayOnRefusal("COM is thinking", Tr("PlayOn", "COMの応手を待っています。指し直せません。"));
    const std::string number = std::to_string(n);
    // Its last position is where a finished game ended, by a resignation too, which no replay sees.
    if (r.Ending != KifEnding::None && n == static_cast<int>(r.Shown.size()))
        throw TPlayOnRefusal("the game is over after move " + number,
                             TrArg(Tr("PlayOn", "%1手目で対局は終わっています。"), {number}));
    if (n % 2 == 1)
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
    if (!c.Known || c.Events.empty() || c.Events.front().Formation.empty())
        throw TPlayOnRefusal("the record does not hold what playing on needs (COM's random state and "
                             "formation): it was not written by this game",
                             Tr("PlayOn", "この棋譜には続きを指すための情報（COMの乱数と陣形）がありません。"
                                          "このゲームで記録した棋譜からだけ指し直せます。"));

    // The game is played again aside; this one is replaced only once that has succeeded.
    TQuietView quiet;
    TSessionHooks hooks;
    hooks.Think = hooks_.Think;
    hooks.Now = hooks_.Now;
    hooks.TickCount = [] { return std::int64_t(0); };
    TGameSession s(quiet, hooks);
    s.ReplayRecorded(r, n);
    if (s.GameOver())
        throw TPlayOnRefusal("the game is over after move " + number,
                             TrArg(Tr("PlayOn", "%1手目で対局は終わっています。"), {number}));
    // A seed changed in the file may bring out every COM move up to here and give other replies later:
    // the whole record played again must leave COM's generator where the file says the game left it.
    if (c.EndSeed && c.Lines.EndSeed > 0) {
        const int end = static_cast<int>(r.Shown.size());
        TGameSession whole(quiet, hooks);
        if (n < end) whole.ReplayRecorded(r, end);
        const std::string seedLine = std::to_string(c.Lines.Seed), endLine = std::to_string(c.Lines.EndSeed);
        if ((n < end ? whole : s).rng_.Seed() != *c.EndSeed)
            throw TPlayOnRefusal(
                "line " + seedLine + ": COM's generator does not end where line " + endLine + " says",
                TrArg(Tr("PlayOn", "%1行目: COMの乱数が%2行目の記録と合いません。"), {seedLine, endLine}));
    }

    CancelPending();
    AdoptGame(s, r, keptFile != nullptr);
    if (keptFile && keeper_) keeper_->Adopt(gameNumber_, *keptFile);
    ShowContinuedGame(n, keptFile != nullptr);
    KeepRecord();
    return n;
}

// Run on the game played aside: its start, then the formation picks, take-backs and moves in the order
// they happened, up to move n.
void TGameSession::ReplayRecorded(const TKifRecord& r, int n) {
    const TKifContinuation& c = r.Continuation;
    rng_.SetSeed(c.Seed);
    formation_ = c.Events.front().Formation;
    if (r.Start == KifStart::Handicap)
        NewHandicapGame();
    else if (r.Start == KifStart::Test)
        NewTestGame();
    else
        NewGame();
    auto playTo = [&](int count) {
        while (static_cast<int>(turns_.size()) < count) PlayRecordedTurn(r);
    };
    for (std::size_t e = 1; e < c.Events.size(); ++e) {
        const TKifEvent& event = c.Events[e];
        if (!event.Formation.empty()) {
            if (!turns_.empty() || !PickFormation(event.Formation))
                throw TPlayOnRefusal("a formation is picked after the first move",
                                     Tr("PlayOn", "陣形の記録が不正です。"));
            continue;
        }
        const TKifTakeBack& t = event.TakeBack;
        if (t.AtCount > n) break;
        playTo(t.AtCount);
        const int number = t.AtCount + 1;
        const TTurnReport report = MoveComa_Screen(t.Human.From, t.Human.To);
        const bool failed = report.Result == TTurnReport::Outcome::ComFailed;
        const bool replied = report.Result == TTurnReport::Outcome::Continues;
        if (t.Com.Empty() ? !failed : !replied || !SameSquares(turns_.back().Played, t.Com))
            Mismatch(number + 1, t.Com, replied ? turns_.back().Played : TMove{});
        if (!Matta().Done)
            throw TPlayOnRefusal(
                "the take-back after move " + std::to_string(number) + " cannot be made again",
                TrArg(Tr("PlayOn", "%1手目のあとの待ったが再現できません。"), {std::to_string(number)}));
    }
    playTo(n);
}

// One human move of the record and COM's reply to it, which must be the record's.
void TGameSession::PlayRecordedTurn(const TKifRecord& r) {
    const std::size_t i = turns_.size();
    const int number = static_cast<int>(i) + 1;
    if (i % 2 == 1 || i >= r.Played.size() || GameOver())
        throw TPlayOnRefusal("move " + std::to_string(number) + " cannot be played again",
                             TrArg(Tr("PlayOn", "%1手目が再現できません。"), {std::to_string(number)}));
    const TTurnReport report = MoveComa_Screen(r.Played[i].From, r.Played[i].To);
    if (turns_.size() <= i || !SameSquares(turns_[i].Played, r.Played[i]))
        throw TPlayOnRefusal("move " + std::to_string(number) + " cannot be played again",
                             TrArg(Tr("PlayOn", "%1手目が再現できません。"), {std::to_string(number)}));
    const bool comMoved = turns_.size() > i + 1;
    if (i + 1 >= r.Played.size()) {
        // The record ends with the human's move: only a game that ended there may do so.
        if (comMoved || report.Result != TTurnReport::Outcome::HumanWins)
            Mismatch(number + 1, {}, report.ComMove);
        return;
    }
    if (!comMoved || !SameSquares(turns_[i + 1].Played, r.Played[i + 1]))
        Mismatch(number + 1, r.Played[i + 1], comMoved ? turns_[i + 1].Played : TMove{});
}

// Takes over the game played aside, with the times and comments the record gives.
void TGameSession::AdoptGame(TGameSession& s, const TKifRecord& r, bool sameGame) {
    kanri_ = std::move(s.kanri_);
    rng_.SetSeed(s.rng_.Seed());
    kanri_->UseRng(rng_);
    turns_ = std::move(s.turns_);
    cont_ = std::move(s.cont_);
    std::size_t comIndex = 0;
    for (std::size_t i = 0; i < turns_.size(); ++i) {
        TTurn& t = turns_[i];
        if (i < r.Comments.size()) t.Comment = r.Comments[i];
        if (t.Com && comIndex < r.Continuation.ComSeconds.size())
            t.Seconds = r.Continuation.ComSeconds[comIndex];
        if (t.Com) ++comIndex;
    }
    // The game played aside met the record's formation picks and take-backs in the record's order.
    for (std::size_t j = 0; j < cont_.Events.size() && j < r.Continuation.Events.size(); ++j)
        cont_.Events[j].TakeBack.Seconds = r.Continuation.Events[j].TakeBack.Seconds;
    comTotalTime_ = 0;
    for (const TTurn& t : turns_) comTotalTime_ += t.Seconds;
    for (const TKifEvent& e : cont_.Events) comTotalTime_ += e.TakeBack.Seconds;

    mattaUsed_ = s.mattaUsed_;
    hisyaKakuMode_ = s.hisyaKakuMode_;
    testStart_ = s.testStart_;
    positionBeforeTurn_ = s.positionBeforeTurn_;
    progressBeforeTurn_ = s.progressBeforeTurn_;
    formation_ = kanri_->FormationName;
    ending_ = KifEnding::None;
    browse_ = -1;
    began_ = sameGame ? r.Began : ParseKifDate(hooks_.Now());
    TKyokumenKanri start;
    start.Kyokumen = KifStartPosition(r.Start);
    header_ = RecordHeader(RecordDateText(began_), start, opponentName_);
    ++gameNumber_;
}

void TGameSession::ShowContinuedGame(int n, bool sameGame) {
    LeaveReplayMode();
    ClearBoard();
    RedrawBoard();
    RemoveFrames();
    const bool comLast = !turns_.empty() && turns_.back().Com;
    if (comLast) view_.MoveFrame(SessionFrame::Waku, turns_.back().Shown.To);
    view_.ShowFrame(SessionFrame::Waku, comLast);
    MarkLatestTurn();
    view_.SetComReason(LatestComReason());
    std::string status;
    if (kanri_->FormationInProgress()) status = FormationStatus(kanri_->FormationName);
    if (kanri_->InCheckFlag) status = CheckStatus();
    SetStatus(status);
    SetMessage((sameGame ? Tr("PlayOn", "前回の対局を続けます。")
                         : TrArg(Tr("PlayOn", "%1手目の局面から指し直します。"), {std::to_string(n)})) +
               "\r\n\r\n" + Tr("PlayOn", "あなたの番です"));
}
