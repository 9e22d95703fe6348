// The lines of play of a record: the main line and its variations. The board shows one line, the
// game's; the others stay as they were left. A variation is started as play on starts a new game, the
// game played again to the position it leaves from, but it stays in the record it branches off.
#include "session/GameSession.h"

#include "session/Tr.h"

#include <algorithm>

namespace {

// What a line that leaves its parent after at moves inherits for playing on: the events that playing
// on to that position makes again (those before the first that lies beyond it), without the parent's
// times and end.
TKifContinuation ContinuationAt(const TKifContinuation& c, int at) {
    TKifContinuation kept = c;
    kept.Events.clear();
    for (std::size_t e = 0; e < c.Events.size(); ++e) {
        const TKifEvent& event = c.Events[e];
        if (e > 0 && event.Formation.empty() &&
            (event.Seats.empty() ? event.TakeBack.AtCount : event.SeatsAt) > at)
            break;
        kept.Events.push_back(event);
    }
    kept.ComSeconds.clear();
    kept.EndSeed.reset();
    kept.Lines = {};
    return kept;
}

} // namespace

std::vector<TGameSession::TLine> TGameSession::LinesOf(const TKifRecord& r) {
    std::vector<TLine> lines;
    if (r.Variations.empty()) return lines;
    lines.resize(r.Variations.size() + 1);
    lines[0].End = r.Ending;
    lines[0].Seats = r.Seats;
    lines[0].Cont = r.Continuation;
    lines[0].Cont.ComSeconds.clear();
    for (std::size_t i = 0; i < r.Variations.size(); ++i) {
        const TKifVariation& v = r.Variations[i];
        TLine& line = lines[i + 1];
        line.Parent = v.Parent + 1;
        line.At = v.At;
        line.Turns = RecordTurns(::SideToMove(KifStartPosition(r)), r.Seats, v.At, v, nullptr);
        line.End = v.Ending;
        line.Seats = r.Seats;
        // A record keeps only the main line's events: a variation has those before it leaves the main
        // line.
        int root = int(i);
        while (r.Variations[std::size_t(root)].Parent >= 0) root = r.Variations[std::size_t(root)].Parent;
        line.Cont = ContinuationAt(r.Continuation, r.Variations[std::size_t(root)].At);
    }
    return lines;
}

void TGameSession::StoreLine(std::vector<TLine>& lines) const {
    if (lines.empty()) lines.resize(1);
    TLine& own = lines[std::size_t(line_)];
    own.Turns.assign(turns_.begin() + std::min<std::ptrdiff_t>(own.At, std::ptrdiff_t(turns_.size())),
                     turns_.end());
    own.End = record_.End;
    own.Seats = record_.Seats;
    own.Cont = record_.Cont;
    own.Cont.ComSeconds.clear();
    if (own.Cont.Known && !own.Cont.ReadFromText() && !own.Cont.EndSeed) own.Cont.EndSeed = rng_.Seed();
    // The moves it shares with the lines it branches off carry the comments and analyses noted since.
    int upTo = own.At;
    for (int p = own.Parent; p >= 0; p = lines[std::size_t(p)].Parent) {
        TLine& line = lines[std::size_t(p)];
        for (int i = line.At; i < upTo && i - line.At < int(line.Turns.size()); ++i)
            line.Turns[std::size_t(i - line.At)] = turns_[std::size_t(i)];
        upTo = line.At;
    }
}

std::vector<TGameSession::TLine> TGameSession::StoredLines() const {
    std::vector<TLine> lines = lines_;
    StoreLine(lines);
    return lines;
}

std::vector<TTurn> TGameSession::PathTurns(const std::vector<TLine>& lines, int k) {
    std::vector<int> chain;
    for (int l = k; l >= 0; l = lines[std::size_t(l)].Parent) chain.push_back(l);
    std::vector<TTurn> path;
    for (auto l = chain.rbegin(); l != chain.rend(); ++l) {
        const TLine& line = lines[std::size_t(*l)];
        path.resize(std::size_t(line.At));
        path.insert(path.end(), line.Turns.begin(), line.Turns.end());
    }
    return path;
}

int TGameSession::LineStart(int k) const {
    if (lines_.empty() || k < 0 || k >= LineCount()) return 1;
    return lines_[std::size_t(k)].At + 1;
}

std::vector<TGameSession::TAlternative> TGameSession::Alternatives(int n) const {
    std::vector<TAlternative> list;
    if (n < 1 || n > MoveCount()) return list;
    const std::vector<TLine> lines = StoredLines();
    int owner = line_;
    while (owner > 0 && n <= lines[std::size_t(owner)].At) owner = lines[std::size_t(owner)].Parent;
    const int node =
        owner > 0 && lines[std::size_t(owner)].At == n - 1 ? lines[std::size_t(owner)].Parent : owner;
    const TLine& at = lines[std::size_t(node)];
    const int own = n - 1 - at.At;
    if (own >= 0 && own < int(at.Turns.size())) list.push_back({node, at.Turns[std::size_t(own)].Shown, {}});
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const TLine& line = lines[i];
        if (line.Parent != node || line.At != n - 1 || (line.Empty() && int(i) != line_)) continue;
        list.push_back({int(i), line.Turns.empty() ? TMove{} : line.Turns.front().Shown,
                        line.Turns.empty() ? line.End : TGameEnd{}});
    }
    return list;
}

std::vector<int> TGameSession::BranchPoints() const {
    std::vector<int> points;
    if (lines_.empty()) return points;
    // The lines the shown one is made of, each with the last position of it that the shown line passes.
    std::vector<int> through(lines_.size(), -1);
    int end = MoveCount();
    for (int l = line_; l >= 0; l = lines_[std::size_t(l)].Parent) {
        through[std::size_t(l)] = end;
        end = lines_[std::size_t(l)].At;
    }
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        const TLine& line = lines_[i];
        if (line.Empty() && int(i) != line_) continue;
        const int last = through[std::size_t(line.Parent)];
        if (last >= 0 && line.At >= lines_[std::size_t(line.Parent)].At && line.At <= last &&
            line.At < MoveCount())
            points.push_back(line.At + 1);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

int TGameSession::LineFloor() const {
    if (lines_.empty()) return 0;
    int floor = lines_[std::size_t(line_)].At;
    for (std::size_t i = 1; i < lines_.size(); ++i)
        if (lines_[i].Parent == line_ && !lines_[i].Empty()) floor = std::max(floor, lines_[i].At + 1);
    return floor;
}

// A variation left before its first move was made is no line of the record.
void TGameSession::DropEmptyLine(int keep) {
    const int last = int(lines_.size()) - 1;
    if (last > 0 && last != keep && lines_.back().Empty()) lines_.pop_back();
}

int TGameSession::Branch() {
    const int n = ShownMove();
    // A game shown at its latest position goes on as it is.
    if (!replayMode_ && shown_ < 0 && !inTurn_ && !pending_) return n;
    const TKifRecord path = LineRecord();
    const std::unique_ptr<TAside> aside = PlayAside(path, n, false);

    std::vector<TLine> lines = StoredLines();
    const int left = line_;
    int target = left;
    if (n < MoveCount()) {
        if (left > 0 && left == int(lines.size()) - 1 && lines.back().Empty()) lines.pop_back();
        int owner = left;
        while (owner > 0 && n + 1 <= lines[std::size_t(owner)].At) owner = lines[std::size_t(owner)].Parent;
        TLine line;
        // An alternative to a variation's first move is another variation of the line it leaves.
        line.Parent =
            owner > 0 && lines[std::size_t(owner)].At == n ? lines[std::size_t(owner)].Parent : owner;
        line.At = n;
        lines.push_back(std::move(line));
        target = int(lines.size()) - 1;
    }
    CancelPending();
    AdoptGame(aside->Game, path, Adoption::Variation);
    lines_ = std::move(lines);
    line_ = target;
    ShowContinuedGame(target == left
                          ? TrArg(Tr("Variations", "%1手目の局面から続きを指します。"), {std::to_string(n)})
                          : TrArg(Tr("Variations", "%1手目から変化を指します。"), {std::to_string(n)}));
    KeepRecord();
    return n;
}

void TGameSession::ShowLine(int k, int n) {
    const TLine& line = lines_[std::size_t(k)];
    turns_ = PathTurns(lines_, k);
    line_ = k;
    record_.End = line.End;
    record_.Seats = line.Seats;
    record_.Cont = line.Cont;
    position_ = StartPosition();
    judge_.Reset(position_);
    comTotalTime_ = 0;
    for (const TTurn& t : turns_) {
        position_.ComToMove = t.Mover == Side::Gote;
        position_.ApplyMove(t.Played);
        position_.ComToMove = t.Mover == Side::Sente;
        judge_.Moved(position_);
        comTotalTime_ += t.Seconds;
    }
    for (const TKifEvent& e : record_.Cont.Events) comTotalTime_ += e.TakeBack.Seconds;
    verdict_ = record_.End;
    stalled_ = false;
    hint_.clear();
    SeatPlayers();
    record_.Header = RecordHeader(RecordDateText(record_.Began), StartPosition(), record_.Seats);
    view_.SeatsChanged(record_.Seats);
    SetStatus("");
    EnterReplayMode();
    ReplayTo(std::clamp(n, 0, MoveCount()));
}

bool TGameSession::EnterLine(int k, int n) {
    if (inTurn_ || pending_ || k < 0 || k >= LineCount()) return false;
    if (k == line_) {
        ShowMove(std::clamp(n, 0, MoveCount()));
        return true;
    }
    CancelPending();
    StoreLine(lines_);
    DropEmptyLine(k);
    ShowLine(k, n);
    return true;
}

TKifRecord TGameSession::KifRecord() const {
    if (lines_.empty()) return LineRecord();
    const std::vector<TLine> lines = StoredLines();
    const TLine& main = lines.front();
    TKifRecord r = RecordOf(main.Turns, main.End, main.Seats, main.Cont);
    // A line's parent was made or read before it, so it is numbered first.
    std::vector<int> number(lines.size(), -1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const TLine& line = lines[i];
        if (line.Empty()) continue;
        TKifVariation v;
        v.Parent = number[std::size_t(line.Parent)];
        v.At = line.At;
        RecordMoves(line.Turns, 0, v, nullptr);
        v.Ending = line.End;
        number[i] = int(r.Variations.size());
        r.Variations.push_back(std::move(v));
    }
    SortKifVariations(r);
    return r;
}
