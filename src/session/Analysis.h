// The analysis of a whole game by the variant engine: its evaluation of every position from the
// human's side, the human's moves that lose much against the engine's best, and the record comments
// in the form other shogi programs read to draw their evaluation graph. One position is searched at a
// time; the caller polls (the window) or waits (the console, tests), and may cancel at any moment.
#pragma once

#include "session/EnginePlay.h"
#include "session/Kif.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A human move that lowers the human's evaluation by at least this much is a 悪手, by at least the
// second a 疑問手.
inline constexpr int kBadMoveDrop = 300;
inline constexpr int kDubiousMoveDrop = 150;
// A mate in N plies counts kMateValue - N for the side that mates: larger than any material balance.
inline constexpr int kMateValue = 30000;
inline constexpr std::chrono::milliseconds kAnalysisDefaultTime{200};

// The engine's view of one position.
struct TPositionEval {
    int Value = 0; // from the human's side, centipawns (mates as above)
    int Depth = 0;
    std::uint64_t Nodes = 0;
    double Seconds = 0;
    std::string Best; // the best move in KIF words with its from-square, "▲２六歩(27)"; empty at an end
    TMove BestMove;   // the same move
    std::string Line; // the best line, its moves separated by blanks
};

enum class MoveMark { None, Dubious, Bad };

struct TMoveVerdict {
    MoveMark Mark = MoveMark::None;
    int Drop = 0;       // how much the human's evaluation fell with the move
    std::string Better; // the engine's move instead, "▲２六歩(27)" (in English "▲P-2f"); set with a mark
};

// "悪手", "疑問手" (in the display language), or "" for an ordinary move.
std::string MoveMarkText(MoveMark m);

class TGameAnalysis {
public:
    explicit TGameAnalysis(TEngineSeat& seat) : seat_(seat) {}

    // Analyses every position of the record (its start and the position after each move), perPosition
    // of the engine's time each. A running analysis is dropped. Errors end it: see Error().
    void Start(const TKifRecord& record, std::chrono::milliseconds perPosition = kAnalysisDefaultTime);
    void Poll(); // takes what the engine has said without waiting
    void Wait(); // waits until the analysis has ended
    void Cancel();
    bool Running() const { return running_; }
    // Whether every position has its evaluation.
    bool Complete() const { return !running_ && error_.empty() && evals_.size() == positions_.size(); }
    std::size_t Positions() const { return positions_.size(); }
    // The evaluations found so far, [0] the start position, [i] the position after move i.
    const std::vector<TPositionEval>& Evals() const { return evals_; }
    const std::string& Error() const { return error_; }
    // Move i (1 .. number of moves); an ordinary verdict for COM's moves and moves not yet analysed.
    TMoveVerdict Verdict(std::size_t move) const;
    // Each analysed move's comment lines: the analysis line, and for a marked human move the mark with
    // the better move ("悪手 最善 ▲２六歩(27)").
    std::vector<std::string> MoveComments() const;
    // The record with those comments; an earlier analysis's comments are replaced, other comments kept.
    TKifRecord Commented() const;
    // The record analysed.
    const TKifRecord& Record() const { return record_; }

    // Told after each position, and once more when the analysis ends (done or failed).
    std::function<void()> Progress;

private:
    TEngineSeat& seat_;
    TKifRecord record_;
    std::vector<TKyokumen> positions_;
    std::vector<TPositionEval> evals_;
    std::chrono::milliseconds time_{kAnalysisDefaultTime};
    std::chrono::steady_clock::time_point asked_;
    std::string error_;
    bool running_ = false;

    static bool ComToMove(std::size_t position) { return position % 2 == 1; }
    void AskNext();
    void Answered(const TEngineStatus& s, const TEngineProposal& p);
};

// "*解析 候補1 時間 00:00.2 深さ 12 ノード数 34000 評価値 120 読み筋 ▲２六歩(27) △３四歩(33)": the comment
// line (without the record's own "*") that shogi programs read to draw their graph.
std::string AnalysisComment(const TPositionEval& e);
// Moves the lines of comment that an analysis wrote into analysis (replacing it); the rest stays.
void SplitAnalysis(std::string& comment, std::string& analysis);
