#include "session/Study.h"

#include "board/Legality.h"
#include "engine/EngineNotation.h"

#include <algorithm>
#include <utility>

namespace {

std::vector<TMove> LegalOf(const TKyokumen& k) {
    TMoveList moves;
    LegalMoves(k, SideToMove(k), moves);
    return {moves.begin(), moves.end()};
}

bool SamePosition(const TKyokumen& a, const TKyokumen& b) {
    return a.ComToMove == b.ComToMove && a.Board == b.Board;
}

} // namespace

std::vector<TStudyLine> StudyLines(const TEngineResult& result, const TKyokumen& k, Side viewer) {
    std::vector<TStudyLine> lines;
    const bool com = k.ComToMove;
    const std::vector<TMove> legal = LegalOf(k);
    for (const TEngineLine& reported : result.Lines) {
        if (int(lines.size()) == kStudyLines) break;
        if (reported.Pv.empty()) continue;
        TStudyLine line;
        line.Words = EngineLineWords(k, com, reported.Pv, &line.Moves);
        const bool allowed =
            !line.Moves.empty() && std::any_of(legal.begin(), legal.end(), [&](const TMove& m) {
                return m.From == line.Moves.front().From && m.To == line.Moves.front().To;
            });
        if (!allowed) continue;
        line.Depth = reported.Depth.value_or(0);
        TEngineProposal score;
        score.Com = com;
        score.Cp = reported.ScoreCp;
        score.Mate = reported.ScoreMate;
        line.ValueText = score.Evaluation(viewer);
        std::optional<int> own = reported.ScoreCp;
        if (reported.ScoreMate)
            own = *reported.ScoreMate > 0 ? kMateValue - *reported.ScoreMate
                                          : -kMateValue - *reported.ScoreMate;
        // The engine speaks for the side to move.
        if (own) line.Value = (viewer == SideToMove(k)) ? *own : -*own;
        lines.push_back(std::move(line));
    }
    return lines;
}

TStudy::~TStudy() {
    if (searching_) seat_.Cancel();
}

void TStudy::Start(const TKyokumen& k, Side viewer) {
    if (active_ && viewer == viewer_ && SamePosition(k, position_)) return;
    if (searching_) seat_.Cancel();
    searching_ = false;
    active_ = true;
    position_ = k;
    viewer_ = viewer;
    legal_ = LegalOf(k);
    lines_.clear();
    error_.clear();
    step_ = 0;
    if (!paused_) Ask();
    Tell();
}

void TStudy::Stop() {
    if (searching_) seat_.Cancel();
    searching_ = false;
    active_ = false;
    lines_.clear();
    error_.clear();
    Tell();
}

void TStudy::Pause() {
    if (paused_) return;
    paused_ = true;
    if (searching_) seat_.Cancel();
    searching_ = false;
    Tell();
}

void TStudy::Resume() {
    if (!paused_) return;
    paused_ = false;
    step_ = 0;
    if (active_ && error_.empty()) Ask();
    Tell();
}

void TStudy::Ask() {
    // The game is over here: there is nothing to search.
    if (legal_.empty()) return;
    TEngineSearch search;
    search.Skill = 20;
    search.Lines = kStudyLines;
    search.Nodes = kStudySteps[step_];
    searching_ = true;
    seat_.Ask(position_, position_.ComToMove, legal_, search,
              [this](const TEngineStatus& s, const TEngineProposal&) { Answered(s); });
}

void TStudy::Take(bool done) {
    std::vector<TStudyLine> found = StudyLines(seat_.Client().Result(), position_, viewer_);
    if (found.empty()) return;
    // Lines come one after another; a depth is shown once all its lines have come, or once the best
    // line goes deeper than what is shown (a long depth's lines come one by one), or the search ended
    // half-way into the next.
    const bool whole = std::all_of(found.begin(), found.end(),
                                   [&found](const TStudyLine& l) { return l.Depth == found.front().Depth; });
    if (!whole && !done && found.front().Depth <= Depth()) return;
    // A later step searches again from the beginning: its shallow lines repeat what is shown.
    if (found.front().Depth < Depth()) return;
    const bool same =
        found.size() == lines_.size() &&
        std::equal(found.begin(), found.end(), lines_.begin(), [](const TStudyLine& a, const TStudyLine& b) {
            return a.Depth == b.Depth && a.Value == b.Value && a.Moves == b.Moves;
        });
    if (same) return;
    lines_ = std::move(found);
    Tell();
}

void TStudy::Answered(const TEngineStatus& s) {
    searching_ = false;
    if (!s) {
        error_ = s.Message;
        return Tell();
    }
    Take(true);
    if (step_ + 1 < kStudySteps.size()) {
        ++step_;
        Ask();
    }
    Tell();
}

void TStudy::Poll() {
    if (!searching_) return;
    seat_.Poll();
    // Still this study's search: nothing else has asked the engine meanwhile.
    if (searching_ && seat_.Busy()) Take(false);
}

void TStudy::Wait() {
    while (searching_) {
        const std::size_t step = step_;
        seat_.Wait();
        if (searching_ && step == step_ && !seat_.Busy()) searching_ = false; // dropped by another request
    }
}

void TStudy::Tell() {
    if (Changed) Changed();
}
