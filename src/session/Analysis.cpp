#include "session/Analysis.h"

#include "engine/EngineNotation.h"
#include "session/Notation.h"
#include "session/Tr.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Enough of the line to show the idea; the graph reads only the value.
constexpr std::size_t kLineMoves = 10;

constexpr std::string_view kCommentHead = "*解析 ";

int MateValue(int plies) {
    return plies > 0 ? kMateValue - plies : -kMateValue - plies;
}

// The side to move's value of one of the engine's lines; none when the line gave no score.
std::optional<int> OwnValue(const TEngineLine& line) {
    if (line.ScoreMate) return MateValue(*line.ScoreMate);
    return line.ScoreCp;
}

// The engine's line that begins with the move, in the order of its lines; null when there is none.
const TEngineLine* LineOf(const TEngineResult& result, const TMove& m) {
    const std::string text = EngineMoveText(m);
    for (const TEngineLine& line : result.Lines)
        if (!line.Pv.empty() && line.Pv.front() == text) return &line;
    return nullptr;
}

bool SameMove(const TMove& a, const TMove& b) {
    return a.From == b.From && a.To == b.To;
}

std::string MoveWords(const TKyokumen& k, bool com, const TMove& m) {
    return (com ? "△" : "▲") + KifMoveName(m, k.Board[std::size_t(m.From)], PromotesOnArrival(m)) + "(" +
           SquareText(m.From) + ")";
}

// The engine's line in KIF words with from-squares, as far as this game's rules follow it.
std::string LineWords(TKyokumen k, bool com, const std::vector<std::string>& line) {
    std::string words;
    for (std::size_t i = 0; i < line.size() && i < kLineMoves; ++i) {
        const std::optional<TMove> m = MoveFromEngine(line[i], k, com);
        if (!m) break;
        if (!words.empty()) words += ' ';
        words += MoveWords(k, com, *m);
        k.ComToMove = com;
        k.ApplyMove(*m);
        com = !com;
    }
    return words;
}

std::vector<TMove> LegalMovesOf(const TKyokumen& position, Side side) {
    TMoveList moves;
    LegalMoves(position, side, moves);
    return {moves.begin(), moves.end()};
}

// The comment lines an analysis writes: its own line, and the mark of a human move with the better one.
bool IsAnalysisComment(std::string_view line) {
    for (std::string_view head :
         {kCommentHead, std::string_view("悪手 最善 "), std::string_view("疑問手 最善 ")})
        if (line.substr(0, head.size()) == head) return true;
    return false;
}

} // namespace

std::array<bool, 2> JudgedSides(const TSeats& seats) {
    if (seats.Humans() == 0) return {true, false};
    return {!seats[Side::Sente].Computer(), !seats[Side::Gote].Computer()};
}

std::string MoveMarkText(MoveMark m) {
    switch (m) {
    case MoveMark::Bad:
        return Tr("Analysis", "悪手");
    case MoveMark::Dubious:
        return Tr("Analysis", "疑問手");
    case MoveMark::None:
        break;
    }
    return "";
}

std::string AnalysisComment(const TPositionEval& e) {
    if (!e.SenteValue) return {};
    const int tenths = int(e.Seconds * 10 + 0.5);
    char time[32];
    std::snprintf(time, sizeof time, "%02d:%02d.%d", tenths / 600, tenths / 10 % 60, tenths % 10);
    std::string text = std::string(kCommentHead) + "候補1 時間 " + time + " 深さ " + std::to_string(e.Depth) +
                       " ノード数 " + std::to_string(e.Nodes) + " 評価値 " + std::to_string(*e.SenteValue);
    if (!e.Line.empty()) text += " 読み筋 " + e.Line;
    return text;
}

void TGameAnalysis::Start(const TKifRecord& record, TAnalysisSettings settings) {
    Cancel();
    record_ = record;
    settings_ = settings;
    error_.clear();
    evals_.clear();
    positions_.clear();
    searched_ = 0;
    valued_ = 0;
    TKyokumen k = KifStartPosition(record);
    firstGote_ = SideToMove(k) == Side::Gote;
    positions_.push_back(k);
    for (std::size_t i = 0; i < record.Played.size(); ++i) {
        k.ComToMove = ComToMove(i);
        k.ApplyMove(record.Played[i]);
        positions_.push_back(k);
    }
    running_ = true;
    AskNext();
}

void TGameAnalysis::SetValue(TPositionEval& e, bool com, int own) const {
    const int sente = com ? -own : own;
    e.SenteValue = sente;
    e.Value = settings_.Viewpoint == Side::Sente ? sente : -sente;
}

void TGameAnalysis::AskNext() {
    while (running_ && evals_.size() < positions_.size()) {
        const std::size_t i = evals_.size();
        const bool com = ComToMove(i);
        const TKyokumen& k = positions_[i];
        const bool last = i + 1 == positions_.size();
        std::vector<TMove> legal = LegalMovesOf(k, com ? Side::Gote : Side::Sente);
        const TGameEnd& end = record_.Ending;
        const bool humanWon = last && end.Won(Side::Sente) && end.Kind != EndKind::Resign;
        const bool comWon = last && end.Won(Side::Gote) && end.Kind != EndKind::Resign;
        if (legal.empty() || humanWon || comWon) {
            // The game is over here, by this game's own rules: the side without a move (or judged lost)
            // has lost.
            TPositionEval e;
            const bool humanWins = humanWon || (!comWon && com);
            SetValue(e, com, (humanWins != com) ? kMateValue : -kMateValue);
            evals_.push_back(std::move(e));
            if (Progress) Progress();
            continue;
        }
        asked_ = std::chrono::steady_clock::now();
        ++searched_;
        seat_.Ask(k, com, std::move(legal), SearchAt(TEngineLevel{20, 0, settings_.Nodes}),
                  [this](const TEngineStatus& s, const TEngineProposal& p) { Answered(s, p); });
        return;
    }
    if (!running_) return;
    running_ = false;
    // Gaps are the engine's to leave; an analysis without a single value is no analysis.
    if (searched_ > 0 && valued_ == 0) error_ = "the engine gave no usable evaluation of any position";
    if (Progress) Progress();
}

void TGameAnalysis::Answered(const TEngineStatus& s, const TEngineProposal& p) {
    if (!s) return Fail(s.Message);
    const std::size_t i = evals_.size();
    const bool com = ComToMove(i);
    TPositionEval e;
    e.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked_).count();
    // The value is the line of the move chosen, which this game allows: a line that begins with a move
    // the game refuses says nothing about this position.
    if (p.Found) {
        e.Best = MoveWords(positions_[i], com, p.Move);
        e.BestMove = p.Move;
        e.Line = e.Best;
        if (const TEngineLine* line = LineOf(seat_.Client().Result(), p.Move)) {
            e.Depth = line->Depth.value_or(0);
            e.Nodes = line->Nodes.value_or(0);
            e.Line = LineWords(positions_[i], com, line->Pv);
            if (const std::optional<int> own = OwnValue(*line)) {
                SetValue(e, com, *own);
                ++valued_;
            }
        }
    }
    const bool judged =
        i < record_.Played.size() && settings_.Judged[std::size_t(com ? Side::Gote : Side::Sente)];
    if (!judged || !p.Found) return Add(std::move(e));
    const TMove& played = record_.Played[i];
    if (SameMove(played, p.Move)) {
        e.Drop = 0;
        return Add(std::move(e));
    }
    // The move played against the best one in one search from this position: both values are the side
    // to move's, at the same depth, so what the side to move gains by moving cancels out.
    judging_ = std::move(e);
    TEngineSearch search = SearchAt(TEngineLevel{20, 0, settings_.Nodes});
    search.OnlyMoves = {EngineMoveText(judging_.BestMove), EngineMoveText(played)};
    search.Lines = 2;
    seat_.Ask(positions_[i], com, {judging_.BestMove, played}, std::move(search),
              [this](const TEngineStatus& s, const TEngineProposal&) { Judged(s); });
}

void TGameAnalysis::Judged(const TEngineStatus& s) {
    if (!s) return Fail(s.Message);
    TPositionEval e = std::move(judging_);
    const TEngineResult& result = seat_.Client().Result();
    const TEngineLine* best = LineOf(result, e.BestMove);
    const TEngineLine* played = LineOf(result, record_.Played[evals_.size()]);
    const std::optional<int> bestValue = best ? OwnValue(*best) : std::nullopt;
    const std::optional<int> playedValue = played ? OwnValue(*played) : std::nullopt;
    if (bestValue && playedValue) e.Drop = *bestValue - *playedValue;
    Add(std::move(e));
}

void TGameAnalysis::Add(TPositionEval e) {
    evals_.push_back(std::move(e));
    if (Progress) Progress();
    AskNext();
}

void TGameAnalysis::Fail(const std::string& error) {
    error_ = error;
    running_ = false;
    if (Progress) Progress();
}

void TGameAnalysis::Poll() {
    if (running_) seat_.Poll();
}

void TGameAnalysis::Wait() {
    while (running_) seat_.Wait();
}

void TGameAnalysis::Cancel() {
    if (!running_) return;
    running_ = false;
    seat_.Cancel();
}

TMoveVerdict TGameAnalysis::Verdict(std::size_t move) const {
    TMoveVerdict v;
    if (move == 0 || move > evals_.size()) return v;
    const TPositionEval& before = evals_[move - 1];
    if (!before.Drop) return v;
    v.Drop = *before.Drop;
    v.Mark = v.Drop >= kBadMoveDrop       ? MoveMark::Bad
             : v.Drop >= kDubiousMoveDrop ? MoveMark::Dubious
                                          : MoveMark::None;
    if (v.Mark == MoveMark::None) return v;
    const bool com = ComToMove(move - 1);
    const TKyokumen& k = positions_[move - 1];
    const TMove& m = before.BestMove;
    v.Better = DisplayLanguage() == TTextLanguage::Japanese
                   ? before.Best
                   : (com ? "△" : "▲") + DisplayMoveName(m, k.Board[std::size_t(m.From)],
                                                         k.Board[std::size_t(m.To)] != PieceName::Empty,
                                                         PromotesOnArrival(m));
    return v;
}

void SplitAnalysis(std::string& comment, std::string& analysis) {
    std::string kept;
    analysis.clear();
    std::string_view rest = comment;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        std::string& to = IsAnalysisComment(line) ? analysis : kept;
        if (!line.empty()) to += (to.empty() ? "" : "\n") + std::string(line);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    comment = std::move(kept);
}

std::vector<std::string> TGameAnalysis::MoveComments() const {
    const TRecordTexts japanese;
    std::vector<std::string> comments;
    for (std::size_t move = 1; move < evals_.size(); ++move) {
        std::string comment = AnalysisComment(evals_[move]);
        const TMoveVerdict v = Verdict(move);
        if (v.Mark != MoveMark::None)
            comment += (comment.empty() ? "" : "\n") + MoveMarkText(v.Mark) + " 最善 " + v.Better;
        comments.push_back(std::move(comment));
    }
    return comments;
}

TKifRecord TGameAnalysis::Commented() const {
    TKifRecord r = record_;
    const std::vector<std::string> analysis = MoveComments();
    r.Comments.resize(std::max(r.Comments.size(), analysis.size()));
    for (std::size_t i = 0; i < analysis.size(); ++i) {
        std::string old;
        SplitAnalysis(r.Comments[i], old);
        if (!analysis[i].empty()) r.Comments[i] += (r.Comments[i].empty() ? "" : "\n") + analysis[i];
    }
    return r;
}
