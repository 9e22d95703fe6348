#include "session/Analysis.h"

#include "engine/EngineNotation.h"
#include "session/Notation.h"
#include "session/Tr.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

namespace {

// Enough of the line to show the idea; the graph reads only the value.
constexpr std::size_t kLineMoves = 10;

constexpr std::string_view kCommentHead = "*解析 ";

int MateValue(int plies) {
    return plies > 0 ? kMateValue - plies : -kMateValue - plies;
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
    const int tenths = int(e.Seconds * 10 + 0.5);
    char time[32];
    std::snprintf(time, sizeof time, "%02d:%02d.%d", tenths / 600, tenths / 10 % 60, tenths % 10);
    std::string text = std::string(kCommentHead) + "候補1 時間 " + time + " 深さ " + std::to_string(e.Depth) +
                       " ノード数 " + std::to_string(e.Nodes) + " 評価値 " + std::to_string(e.Value);
    if (!e.Line.empty()) text += " 読み筋 " + e.Line;
    return text;
}

void TGameAnalysis::Start(const TKifRecord& record, std::chrono::milliseconds perPosition) {
    Cancel();
    record_ = record;
    time_ = perPosition;
    error_.clear();
    evals_.clear();
    positions_.clear();
    TKyokumen k = KifStartPosition(record.Start);
    positions_.push_back(k);
    for (std::size_t i = 0; i < record.Played.size(); ++i) {
        k.ComToMove = ComToMove(i);
        k.ApplyMove(record.Played[i]);
        positions_.push_back(k);
    }
    running_ = true;
    AskNext();
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
            // The game is over here: the side without a move (or judged lost) has lost.
            TPositionEval e;
            e.Value = humanWon || (!comWon && com) ? kMateValue : -kMateValue;
            evals_.push_back(e);
            if (Progress) Progress();
            continue;
        }
        asked_ = std::chrono::steady_clock::now();
        seat_.Ask(k, com, std::move(legal), TEngineLevel{20, int(time_.count())},
                  [this](const TEngineStatus& s, const TEngineProposal& p) { Answered(s, p); });
        return;
    }
    if (running_) {
        running_ = false;
        if (Progress) Progress();
    }
}

void TGameAnalysis::Answered(const TEngineStatus& s, const TEngineProposal& p) {
    if (!s) {
        error_ = s.Message;
        running_ = false;
        if (Progress) Progress();
        return;
    }
    const std::size_t i = evals_.size();
    const bool com = ComToMove(i);
    const TEngineResult& result = seat_.Client().Result();
    TPositionEval e;
    e.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked_).count();
    const TEngineLine* line = nullptr;
    if (p.Found) {
        const std::string text = EngineMoveText(p.Move);
        for (const TEngineLine& l : result.Lines)
            if (!l.Pv.empty() && l.Pv.front() == text) line = &l;
    } else if (!result.Lines.empty()) {
        line = &result.Lines.front();
    }
    int own = 0; // the side to move's value
    if (line != nullptr) {
        own = line->ScoreMate ? MateValue(*line->ScoreMate) : line->ScoreCp.value_or(0);
        e.Depth = line->Depth.value_or(0);
        e.Nodes = line->Nodes.value_or(0);
        e.Line = LineWords(positions_[i], com, line->Pv);
    } else if (result.BestMove.empty()) {
        own = -kMateValue; // the engine finds the side to move without a move
    }
    if (p.Found) {
        e.Best = MoveWords(positions_[i], com, p.Move);
        e.BestMove = p.Move;
        if (e.Line.empty()) e.Line = e.Best;
    }
    e.Value = com ? -own : own;
    evals_.push_back(std::move(e));
    if (Progress) Progress();
    AskNext();
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
    if (move == 0 || move >= evals_.size() || ComToMove(move - 1)) return v;
    const TPositionEval& before = evals_[move - 1];
    v.Drop = before.Value - evals_[move].Value;
    const bool other = !before.Best.empty() &&
                       before.Best != MoveWords(positions_[move - 1], false, record_.Played[move - 1]);
    if (!other) return v;
    v.Mark = v.Drop >= kBadMoveDrop       ? MoveMark::Bad
             : v.Drop >= kDubiousMoveDrop ? MoveMark::Dubious
                                          : MoveMark::None;
    if (v.Mark == MoveMark::None) return v;
    const TKyokumen& k = positions_[move - 1];
    const TMove& m = before.BestMove;
    v.Better =
        DisplayLanguage() == TTextLanguage::Japanese
            ? before.Best
            : "▲" + DisplayMoveName(m, k.Board[std::size_t(m.From)],
                                    k.Board[std::size_t(m.To)] != PieceName::Empty, PromotesOnArrival(m));
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
        if (v.Mark != MoveMark::None) comment += "\n" + MoveMarkText(v.Mark) + " 最善 " + v.Better;
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
        r.Comments[i] += (r.Comments[i].empty() ? "" : "\n") + analysis[i];
    }
    return r;
}
