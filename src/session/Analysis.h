// The analysis of a whole game by the variant engine: its evaluation of every position, the moves that
// lose much against the engine's best, and the record comments in the form other shogi programs read to
// draw their evaluation graph. Every search counts nodes on one thread from an empty table, so the same
// record gives the same evaluations and marks on any machine and under any load. One position is
// searched at a time; the caller polls (the window) or waits (the console, tests), and may cancel at any
// moment.
#pragma once

#include "session/EnginePlay.h"
#include "session/Kif.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A judged move that the side to move values lower than the engine's best move from the same position,
// the two searched together, by at least this much is a 悪手, by at least the second a 疑問手.
inline constexpr int kBadMoveDrop = 300;
inline constexpr int kDubiousMoveDrop = 150;
// A mate in N plies counts kMateValue - N for the side that mates: larger than any material balance.
inline constexpr int kMateValue = 30000;
inline constexpr std::uint64_t kAnalysisDefaultNodes = kJudgeNodes;

// What an analysis searches and judges.
struct TAnalysisSettings {
    std::uint64_t Nodes = kAnalysisDefaultNodes; // for each position, and for each judged move
    // Whose moves are judged, by Side: the player's seats.
    std::array<bool, 2> Judged{true, false};
    // The side whose view the values take (Evals()[i].Value: the graph, the console); the record's
    // comments always take 先手's, as the programs that draw them expect.
    Side Viewpoint = Side::Sente;
};

// The sides whose moves an analysis of a game between these seats judges: the people's, or 先手's when
// only computers play.
std::array<bool, 2> JudgedSides(const TSeats& seats);

// The engine's view of one position.
struct TPositionEval {
    // From the viewpoint's side, centipawns (mates as above); none when the engine gave no line here that
    // this game's rules allow.
    std::optional<int> Value;
    std::optional<int> SenteValue; // the same from 先手's side
    int Depth = 0;
    std::uint64_t Nodes = 0;
    double Seconds = 0;
    std::string Best; // the best move in KIF words with its from-square, "▲２六歩(27)"; empty at an end
    TMove BestMove;   // the same move
    std::string Line; // the best line, its moves separated by blanks
    // How much lower than Best the side to move values the move played from here; none when that move
    // is not judged or the engine did not value both.
    std::optional<int> Drop;
};

enum class MoveMark { None, Dubious, Bad };

struct TMoveVerdict {
    MoveMark Mark = MoveMark::None;
    int Drop = 0;       // how much the move lost against the best one (0 when not judged)
    std::string Better; // the engine's move instead, "▲２六歩(27)" (in English "▲P-2f"); set with a mark
};

// "悪手", "疑問手" (in the display language), or "" for an ordinary move.
std::string MoveMarkText(MoveMark m);

class TGameAnalysis {
public:
    explicit TGameAnalysis(TEngineSeat& seat) : seat_(seat) {}

    // Analyses every position of the record (its start and the position after each move). A running
    // analysis is dropped. Errors end it: see Error().
    void Start(const TKifRecord& record, TAnalysisSettings settings = {});
    void Poll(); // takes what the engine has said without waiting
    void Wait(); // waits until the analysis has ended
    void Cancel();
    bool Running() const { return running_; }
    // Whether every position has been searched (some may still have no value).
    bool Complete() const { return !running_ && error_.empty() && evals_.size() == positions_.size(); }
    std::size_t Positions() const { return positions_.size(); }
    // The evaluations found so far, [0] the start position, [i] the position after move i.
    const std::vector<TPositionEval>& Evals() const { return evals_; }
    // Why the analysis failed: the engine failed, or it valued no position at all.
    const std::string& Error() const { return error_; }
    // Move i (1 .. number of moves); an ordinary verdict for moves not judged or not yet analysed.
    TMoveVerdict Verdict(std::size_t move) const;
    // Each analysed move's comment lines: the analysis line of the position it leaves (none without a
    // value), and for a marked move the mark with the better move ("悪手 最善 ▲２六歩(27)").
    std::vector<std::string> MoveComments() const;
    // The record with those comments; an earlier analysis's comments are replaced, other comments kept.
    TKifRecord Commented() const;
    // The record analysed, and how.
    const TKifRecord& Record() const { return record_; }
    const TAnalysisSettings& Settings() const { return settings_; }

    // Told after each position, and once more when the analysis ends (done or failed).
    std::function<void()> Progress;

private:
    TEngineSeat& seat_;
    TKifRecord record_;
    TAnalysisSettings settings_;
    std::vector<TKyokumen> positions_;
    std::vector<TPositionEval> evals_;
    TPositionEval judging_; // the position whose move played is being searched against its best
    std::chrono::steady_clock::time_point asked_;
    std::string error_;
    bool running_ = false;
    int searched_ = 0, valued_ = 0; // positions the engine was asked about, and those it valued

    bool firstGote_ = false; // the record's start has the second player to move
    bool ComToMove(std::size_t position) const { return (position % 2 == 1) != firstGote_; }
    void AskNext();
    void Answered(const TEngineStatus& s, const TEngineProposal& p);
    void Judged(const TEngineStatus& s);
    void Add(TPositionEval e);
    void Fail(const std::string& error);
    void SetValue(TPositionEval& e, bool com, int own) const;
};

// "*解析 候補1 時間 00:00.2 深さ 12 ノード数 34000 評価値 120 読み筋 ▲２六歩(27) △３四歩(33)": the comment
// line (without the record's own "*") that shogi programs read to draw their graph, the value from
// 先手's side; empty for a position without one.
std::string AnalysisComment(const TPositionEval& e);
// Moves the lines of comment that an analysis wrote into analysis (replacing it); the rest stays.
void SplitAnalysis(std::string& comment, std::string& analysis);
