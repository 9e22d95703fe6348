// The game's record: the clipboard's text, the KIF record, saving, opening and keeping.
#include "session/GameSession.h"

#include "session/Analysis.h"
#include "session/KifFile.h"
#include "session/RecordKeeper.h"
#include "session/Tr.h"

namespace {

constexpr std::string_view kSeparator = "--------------------------------";

} // namespace

void TGameSession::ResetKifu() {
    turns_.resize(0);
    lines_.clear();
    line_ = 0;
    shown_ = -1;
    record_.Cont = TKifContinuation{};
    record_.Cont.Known = true;
    record_.Cont.Seed = rng_.Seed();
    NoteFormation();
    view_.SetComReason("");
    record_.End = {};
    ++gameNumber_;
    const std::string date = hooks_.Now();
    record_.Began = ParseKifDate(date);
    hint_.clear();
    record_.Header = RecordHeader(date, StartPosition(), record_.Seats);
    MarkLatestTurn();
}

std::vector<std::string> TGameSession::RecordHeader(const std::string& date, const TKyokumen& start,
                                                    const TSeats& seats) {
    std::vector<std::string> lines;
    lines.emplace_back(kSeparator);
    lines.emplace_back("　創作将棋 ミルトア");
    lines.push_back("　棋譜作成日:" + date);
    lines.emplace_back(kSeparator);
    lines.push_back("　先手：" + SeatRecordName(seats[Side::Sente], false) + "　後手：" +
                    SeatRecordName(seats[Side::Gote], false));
    lines.emplace_back(" ");
    const std::vector<std::string> board = start.BoardList();
    for (int rank = 1; rank <= 9; ++rank) {
        std::string line = "　";
        for (int file = 9; file >= 1; --file) line += DiagramGlyph(board[std::size_t(file * 10 + rank)]);
        lines.push_back(std::move(line));
    }
    lines.emplace_back(kSeparator);
    return lines;
}

std::string TGameSession::TurnLine(std::size_t i) const {
    return " " + std::to_string(i + 1) + (turns_[i].Mover == Side::Gote ? ": △後手: " : ": ▲先手: ") +
           MoveWords(turns_[i].Shown);
}

std::vector<std::string> TGameSession::KifuLines() const {
    const TRecordTexts japanese;
    std::vector<std::string> lines = record_.Header;
    for (std::size_t i = 0; i < turns_.size(); ++i) lines.push_back(TurnLine(i));
    const TGameEnd& end = record_.End;
    if (end.Kind == EndKind::Resign || end.Kind == EndKind::IllegalMove)
        lines.push_back(" " + std::to_string(turns_.size() + 1) +
                        (end.Loser == Side::Gote ? ": △後手: 　" : ": ▲先手: 　") +
                        (end.Kind == EndKind::Resign ? "投了" : "反則負け"));
    if (end.Draw())
        lines.emplace_back("まで、千日手");
    else if (end.Over())
        lines.emplace_back(end.Loser == Side::Gote ? "まで、先手の勝ち" : "まで、後手の勝ち");
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

std::vector<std::string> TGameSession::ComReasons() const {
    std::vector<std::string> reasons;
    for (const TTurn& t : turns_)
        if (t.Computer) reasons.push_back(ReasonOf(t));
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
    if (n < 1 || n > MoveCount() || !turns_[std::size_t(n - 1)].Computer) return {};
    return ReasonOf(turns_[std::size_t(n - 1)]);
}

std::string TGameSession::LatestComReason() const {
    for (auto t = turns_.rbegin(); t != turns_.rend(); ++t)
        if (t->Computer) return ReasonOf(*t);
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

void RecordMoves(const std::vector<TTurn>& turns, std::size_t first, TKifVariation& into,
                 std::vector<double>* seconds) {
    const TRecordTexts japanese;
    for (std::size_t i = first; i < turns.size(); ++i) {
        const TTurn& t = turns[i];
        into.Played.push_back(t.Played);
        into.Shown.push_back(t.Shown);
        if (t.Computer && seconds) seconds->push_back(t.Seconds);
        // COM's reasons go beside its moves, so another program shows them with the game; a comment an
        // opened record had beside a move stays with it.
        std::string comment = t.Computer ? RecordReasonOf(t) : t.Comment;
        if (!t.Analysis.empty()) comment += (comment.empty() ? "" : "\n") + t.Analysis;
        if (comment.empty()) continue;
        into.Comments.resize(i - first + 1);
        into.Comments[i - first] = std::move(comment);
    }
}

TKifRecord TGameSession::RecordOf(const std::vector<TTurn>& turns, const TGameEnd& end, const TSeats& seats,
                                  const TKifContinuation& cont) const {
    TKifRecord r;
    r.Start = record_.Start;
    r.Edited = record_.Edited;
    r.Began = record_.Began;
    r.Ending = end;
    r.Seats = seats;
    r.Continuation = cont;
    TKifVariation moves;
    RecordMoves(turns, 0, moves, &r.Continuation.ComSeconds);
    r.Played = std::move(moves.Played);
    r.Shown = std::move(moves.Shown);
    r.Comments = std::move(moves.Comments);
    return r;
}

TKifRecord TGameSession::LineRecord() const {
    TKifRecord r = RecordOf(turns_, record_.End, record_.Seats, record_.Cont);
    // A game played here ends on the session's generator; an opened record keeps what it said, and a
    // line left for another what the generator was when it was left.
    const TKifContinuation& c = record_.Cont;
    if (c.Known && !c.ReadFromText() && !c.EndSeed) r.Continuation.EndSeed = rng_.Seed();
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

TKifRecord TGameSession::ReadPastedRecord(std::string_view text) {
    CheckPastedText(text);
    return ReadKif(text);
}

int TGameSession::OpenRecord(const std::filesystem::path& path) {
    return OpenKifRecord(ReadRecord(path));
}

int TGameSession::OpenKifText(std::string_view utf8) {
    return OpenKifRecord(ReadKif(utf8));
}

std::vector<TTurn> RecordTurns(Side first, const TSeats& seats, int at, const TKifVariation& line,
                               const std::vector<double>* seconds) {
    std::vector<TTurn> turns;
    std::size_t computerIndex = 0;
    Side mover = at % 2 == 1 ? Other(first) : first;
    for (std::size_t i = 0; i < line.Shown.size(); ++i, mover = Other(mover)) {
        TTurn t;
        t.Mover = mover;
        t.Computer = seats[mover].Computer();
        t.Played = line.Played[i];
        t.Shown = line.Shown[i];
        if (i < line.Comments.size()) t.Comment = line.Comments[i];
        if (t.Computer && seconds && computerIndex < seconds->size()) t.Seconds = (*seconds)[computerIndex];
        if (t.Computer) ++computerIndex;
        SplitAnalysis(t.Comment, t.Analysis);
        turns.push_back(std::move(t));
    }
    return turns;
}

int TGameSession::OpenKifRecord(TKifRecord r) {
    if (inTurn_) throw std::runtime_error("a turn is running");

    // Everything new is built aside; the game is replaced only once nothing can fail any more.
    TKyokumen position = KifStartPosition(r);
    std::vector<TTurn> turns = RecordTurns(::SideToMove(position), r.Seats, 0,
                                           TKifVariation{-1, 0, r.Played, r.Shown, r.Comments, r.Ending},
                                           &r.Continuation.ComSeconds);
    std::vector<TLine> lines = LinesOf(r);
    TJudge judge;
    judge.Reset(position);
    for (const TTurn& t : turns) {
        position.ComToMove = t.Mover == Side::Gote;
        position.ApplyMove(t.Played);
        position.ComToMove = t.Mover == Side::Sente;
        judge.Moved(position);
    }
    // A record from elsewhere may not say when it began; it is then dated now, as a new game is.
    const std::string date = r.Began.Known() ? RecordDateText(r.Began) : hooks_.Now();
    if (!r.Began.Known()) r.Began = ParseKifDate(date);
    std::vector<std::string> header = RecordHeader(date, KifStartPosition(r), r.Seats);
    double comTotal = 0;
    for (const TTurn& t : turns) comTotal += t.Seconds;
    for (const TKifEvent& e : r.Continuation.Events) comTotal += e.TakeBack.Seconds;

    CancelPending();
    record_.Start = r.Start;
    record_.Edited = r.Edited;
    record_.Seats = r.Seats;
    record_.End = r.Ending;
    record_.Began = r.Began;
    record_.Cont = std::move(r.Continuation);
    record_.Cont.ComSeconds.clear();
    record_.Header = std::move(header);
    turns_ = std::move(turns);
    lines_ = std::move(lines);
    line_ = 0;
    position_ = std::move(position);
    judge_ = std::move(judge);
    verdict_ = record_.End;
    stalled_ = false;
    SeatPlayers();
    hint_.clear();
    ++gameNumber_;
    mattaUsed_ = false;
    comTotalTime_ = comTotal;
    view_.SeatsChanged(record_.Seats);
    SetStatus("");
    EnterReplayMode();
    ReplayToStart();
    return MoveCount();
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

// ---------------------------------------------------------------------------------------------
// What the record carries for an exact continuation

void TGameSession::NoteFormation() {
    TKifContinuation& c = record_.Cont;
    // Picks with no move between them leave COM exactly as the last one alone does.
    if (!c.Events.empty() && !c.Events.back().Formation.empty()) c.Events.pop_back();
    TKifEvent e;
    e.Formation = formation_;
    c.Events.push_back(std::move(e));
}

void TGameSession::NoteTakeBack(const TTurn& human, const TTurn* com) {
    TKifTakeBack t;
    t.AtCount = MoveCount() - (com ? 2 : 1);
    t.Human = human.Played;
    if (com) {
        t.Com = com->Played;
        t.Seconds = com->Seconds;
    }
    TKifEvent e;
    e.TakeBack = t;
    record_.Cont.Events.push_back(std::move(e));
}
