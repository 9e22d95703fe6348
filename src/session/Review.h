// Learning from one's mistakes: after an analysis, the player's 悪手 and 疑問手 come back one by one as
// questions. Each shows the position before the move and asks for a better one; the move tried is
// valued by the engine against the engine's best from the same position, the two searched together
// (as the analysis judged the move played), so a move that the engine values within kFoundMargin of
// its best counts as found, whichever it is. Two tries a question, then the engine's move is shown.
#pragma once

#include "session/Analysis.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// A move tried counts as found when the engine values it at most this much below its best.
inline constexpr int kFoundMargin = 50;
// Tries a question allows before the engine's move is shown.
inline constexpr int kReviewTries = 2;

struct TReviewQuestion {
    int Move = 0;     // the number of the move that was marked (1 the first move of the game)
    TKyokumen Before; // the position before it, its side to move set
    MoveMark Mark = MoveMark::None;
    int Loss = 0; // what the move played lost against the best
    TMove Played, Best;
    std::string PlayedText, BestText; // "▲２六歩" (in English "▲P-2f")
    std::string BestLine;             // the engine's line from the position, in KIF words
};

// The judged side's marked moves of a complete analysis, in order.
std::vector<TReviewQuestion> ReviewQuestions(const TGameAnalysis& analysis);

class TMistakeReview {
public:
    enum class Stage {
        Off,      // no review
        Asking,   // the question is open: a move may be tried
        Checking, // the engine is valuing the move tried
        Answered, // found, or the tries are spent: the engine's move is shown; Next goes on
        Over,     // every question asked, or stopped: the score stands
    };
    enum class Verdict {
        None,
        Found,   // within kFoundMargin of the best
        Close,   // short of it, but no worse than a 疑問手 would be
        Wrong,   // short of it by more
        Refused, // no legal move there: not a try
        Failed,  // the engine could not value it: not a try
    };

    explicit TMistakeReview(TEngineSeat& seat) : seat_(seat) {}
    ~TMistakeReview();
    TMistakeReview(const TMistakeReview&) = delete;
    TMistakeReview& operator=(const TMistakeReview&) = delete;

    // Begins with the first question of a complete analysis, whose nodes the checks search too.
    // Returns the number of questions; with none the review stays off.
    std::size_t Start(const TGameAnalysis& analysis);
    // A move tried on the position of the open question, from -> to (square codes). A move the rules
    // refuse is answered at once and costs no try; the move sought is found at once; any other move is
    // valued by the engine (Checking, then the answer through Poll or Wait).
    Verdict Try(int from, int to);
    // The next question after an answered one (or the end).
    void Next();
    // Gives the open question up, unanswered, and goes to the next one.
    void Skip();
    // Ends the review now; the questions not reached count as not found.
    void Stop();

    void Poll(); // takes the engine's answer without waiting
    void Wait(); // waits for it (console, tests)

    Stage State() const { return stage_; }
    bool Active() const { return stage_ != Stage::Off && stage_ != Stage::Over; }
    const std::vector<TReviewQuestion>& Questions() const { return questions_; }
    std::size_t Current() const { return current_; }
    const TReviewQuestion& Question() const { return questions_[current_]; }
    int TriesLeft() const { return triesLeft_; }
    // The latest try: its verdict, the move and how much it lost against the best (0 when found at
    // once, or not valued).
    Verdict LastVerdict() const { return verdict_; }
    const TMove& LastTry() const { return tried_; }
    int LastLoss() const { return loss_; }
    int FoundCount() const { return found_; }
    // Whether the open or answered question was found.
    bool Solved() const { return solved_; }
    const std::string& Error() const { return error_; }

    // The panel's words, in the display language: the question's head ("悪手 3/7: 24手目 ▲２六歩"), what
    // to do or what the latest try earned, and the score ("7問中4問正解").
    std::string HeadText() const;
    std::string StateText() const;
    std::string ScoreText() const;

    // Told whenever the stage or the latest verdict changes.
    std::function<void()> Changed;

private:
    TEngineSeat& seat_;
    std::vector<TReviewQuestion> questions_;
    std::uint64_t nodes_ = kAnalysisDefaultNodes;
    std::size_t current_ = 0;
    Stage stage_ = Stage::Off;
    Verdict verdict_ = Verdict::None;
    TMove tried_;
    int loss_ = 0;
    int triesLeft_ = kReviewTries;
    int found_ = 0;
    bool solved_ = false;
    std::string error_;

    void Open(std::size_t question);
    void Checked(const TEngineStatus& s);
    void Judge(int loss);
    void Tell();
};
