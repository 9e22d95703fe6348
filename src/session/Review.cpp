#include "session/Review.h"

#include "board/Legality.h"
#include "engine/EngineNotation.h"
#include "session/Notation.h"
#include "session/Tr.h"

#include <utility>

namespace {

// "▲２六歩" / "▲P-2f": the move as the move list shows it.
std::string ShownMoveText(const TKyokumen& k, const TMove& m) {
    return (k.ComToMove ? "△" : "▲") + DisplayMoveName(m, k.Board[std::size_t(m.From)],
                                                       k.Board[std::size_t(m.To)] != PieceName::Empty,
                                                       PromotesOnArrival(m));
}

bool SameMove(const TMove& a, const TMove& b) {
    return a.From == b.From && a.To == b.To;
}

// The value of the line that begins with m among the result's lines; none when there is none.
std::optional<int> ValueOf(const TEngineResult& result, const TMove& m) {
    const std::string text = EngineMoveText(m);
    for (const TEngineLine& line : result.Lines) {
        if (line.Pv.empty() || line.Pv.front() != text) continue;
        if (line.ScoreMate)
            return *line.ScoreMate > 0 ? kMateValue - *line.ScoreMate : -kMateValue - *line.ScoreMate;
        return line.ScoreCp;
    }
    return std::nullopt;
}

} // namespace

std::vector<TReviewQuestion> ReviewQuestions(const TGameAnalysis& analysis) {
    std::vector<TReviewQuestion> questions;
    const TKifRecord& record = analysis.Record();
    const std::vector<TPositionEval>& evals = analysis.Evals();
    // The analysis plays the record from its start, 先手 first.
    TKyokumen k = KifStartPosition(record);
    for (std::size_t i = 0; i < record.Played.size(); ++i) {
        k.ComToMove = i % 2 == 1;
        const TMoveVerdict v = analysis.Verdict(i + 1);
        if (v.Mark != MoveMark::None && i < evals.size()) {
            TReviewQuestion q;
            q.Move = int(i + 1);
            q.Before = k;
            q.Mark = v.Mark;
            q.Loss = v.Drop;
            q.Played = record.Played[i];
            q.Best = evals[i].BestMove;
            q.PlayedText = ShownMoveText(k, q.Played);
            q.BestText = ShownMoveText(k, q.Best);
            q.BestLine = evals[i].Line;
            questions.push_back(std::move(q));
        }
        k.ApplyMove(record.Played[i]);
    }
    return questions;
}

TMistakeReview::~TMistakeReview() {
    if (stage_ == Stage::Checking) seat_.Cancel();
}

std::size_t TMistakeReview::Start(const TGameAnalysis& analysis) {
    if (stage_ == Stage::Checking) seat_.Cancel();
    questions_ = ReviewQuestions(analysis);
    nodes_ = analysis.Settings().Nodes;
    found_ = 0;
    error_.clear();
    if (questions_.empty()) {
        stage_ = Stage::Off;
        Tell();
        return 0;
    }
    Open(0);
    return questions_.size();
}

void TMistakeReview::Open(std::size_t question) {
    current_ = question;
    triesLeft_ = kReviewTries;
    verdict_ = Verdict::None;
    tried_ = {};
    loss_ = 0;
    solved_ = false;
    stage_ = Stage::Asking;
    Tell();
}

TMistakeReview::Verdict TMistakeReview::Try(int from, int to) {
    if (stage_ != Stage::Asking) return Verdict::None;
    const TReviewQuestion& q = Question();
    const THumanMoveTest test = TestMove(q.Before, SideToMove(q.Before), from, to);
    if (test.Result != THumanMoveTest::Legal) {
        verdict_ = Verdict::Refused;
        Tell();
        return verdict_;
    }
    tried_ = test.Move;
    loss_ = 0;
    if (SameMove(tried_, q.Best)) {
        Judge(0);
        return verdict_;
    }
    // The move tried against the best one in one search, as the analysis judged the move played.
    stage_ = Stage::Checking;
    verdict_ = Verdict::None;
    TEngineSearch search = SearchAt(TEngineLevel{20, 0, nodes_});
    search.OnlyMoves = {EngineMoveText(q.Best), EngineMoveText(tried_)};
    search.Lines = 2;
    Tell();
    seat_.Ask(q.Before, q.Before.ComToMove, {q.Best, tried_}, std::move(search),
              [this](const TEngineStatus& s, const TEngineProposal&) { Checked(s); });
    return stage_ == Stage::Checking ? Verdict::None : verdict_;
}

void TMistakeReview::Checked(const TEngineStatus& s) {
    stage_ = Stage::Asking;
    const TEngineResult& result = seat_.Client().Result();
    const std::optional<int> best = s ? ValueOf(result, Question().Best) : std::nullopt;
    const std::optional<int> tried = s ? ValueOf(result, tried_) : std::nullopt;
    if (!best || !tried) {
        error_ = s ? "the engine gave no value to compare" : s.Message;
        verdict_ = Verdict::Failed;
        return Tell();
    }
    error_.clear();
    Judge(*best - *tried);
}

void TMistakeReview::Judge(int loss) {
    loss_ = loss;
    if (loss <= kFoundMargin) {
        verdict_ = Verdict::Found;
        solved_ = true;
        ++found_;
        stage_ = Stage::Answered;
        return Tell();
    }
    verdict_ = loss < kDubiousMoveDrop ? Verdict::Close : Verdict::Wrong;
    --triesLeft_;
    stage_ = triesLeft_ > 0 ? Stage::Asking : Stage::Answered;
    Tell();
}

void TMistakeReview::Next() {
    if (stage_ != Stage::Answered) return;
    if (current_ + 1 < questions_.size()) return Open(current_ + 1);
    stage_ = Stage::Over;
    Tell();
}

void TMistakeReview::Skip() {
    if (!Active()) return;
    if (stage_ == Stage::Checking) seat_.Cancel();
    stage_ = Stage::Answered;
    Next();
}

void TMistakeReview::Stop() {
    if (!Active()) return;
    if (stage_ == Stage::Checking) seat_.Cancel();
    stage_ = Stage::Over;
    Tell();
}

void TMistakeReview::Poll() {
    if (stage_ == Stage::Checking) seat_.Poll();
}

void TMistakeReview::Wait() {
    if (stage_ == Stage::Checking) seat_.Wait();
}

std::string TMistakeReview::HeadText() const {
    if (!Active()) return ScoreText();
    const TReviewQuestion& q = Question();
    return TrArg(Tr("Review", "%1 %2/%3: %4手目 %5"),
                 {MoveMarkText(q.Mark), std::to_string(current_ + 1), std::to_string(questions_.size()),
                  std::to_string(q.Move), q.PlayedText});
}

std::string TMistakeReview::StateText() const {
    const std::string ask = Tr("Review", "もっと良い手を探してください");
    switch (stage_) {
    case Stage::Off:
        return Tr("Review", "復習する悪手・疑問手はありません");
    case Stage::Over:
        return ScoreText();
    case Stage::Checking:
        return Tr("Review", "調べています…");
    case Stage::Asking:
        switch (verdict_) {
        case Verdict::Close:
            return Tr("Review", "惜しい！") + " " + ask;
        case Verdict::Wrong:
            return Tr("Review", "違います。") + " " + ask;
        case Verdict::Refused:
            return Tr("Review", "その手は指せません。") + " " + ask;
        case Verdict::Failed:
            return TrArg(Tr("Review", "エンジンが判定できませんでした（%1）。"), {error_}) + " " + ask;
        default:
            return ask;
        }
    case Stage::Answered:
        if (solved_) return TrArg(Tr("Review", "正解！ エンジンの手は %1"), {Question().BestText});
        return TrArg(Tr("Review", "エンジンの手は %1　読み筋 %2"),
                     {Question().BestText, Question().BestLine});
    }
    return ask;
}

std::string TMistakeReview::ScoreText() const {
    return TrArg(Tr("Review", "%1問中%2問正解"), {std::to_string(questions_.size()), std::to_string(found_)});
}

void TMistakeReview::Tell() {
    if (Changed) Changed();
}
