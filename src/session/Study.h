// Study mode: the engine looks at one position at a time, the one the board shows, and keeps telling
// its three best lines as it searches deeper. The search counts nodes on one thread from an empty
// table and deepens in steps, each step searching the position afresh with more nodes: every line
// shown at a depth is the line the same position always shows at that depth, on any machine and under
// any load. Lines are taken as the engine reports them, without waiting; the window polls, the
// console waits.
#pragma once

#include "session/Analysis.h"
#include "session/EnginePlay.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kStudyLines = 3;
// The nodes of each step: the first answers within a blink, the last keeps looking for about a minute.
inline constexpr std::array<std::uint64_t, 4> kStudySteps = {500'000, 2'000'000, 8'000'000, 32'000'000};

// One of the engine's candidate lines.
struct TStudyLine {
    // From the viewer's side, centipawns, a mate counted as in an analysis (kMateValue less its moves).
    std::optional<int> Value;
    std::string ValueText; // "+230", "-45", "+詰3" ("+M3"); empty when the engine gave no score
    int Depth = 0;
    std::vector<TMove> Moves; // the line as far as this game's rules follow it; [0] the candidate
    std::string Words;        // the same in the move list's words, "▲２六歩△３四歩…"
};

// The engine's lines of a search that has ended or is running, for position k with its side to move,
// values from viewer's side. Lines that begin with a move this game does not allow are left out.
std::vector<TStudyLine> StudyLines(const TEngineResult& result, const TKyokumen& k, Side viewer);

class TStudy {
public:
    explicit TStudy(TEngineSeat& seat) : seat_(seat) {}
    ~TStudy();
    TStudy(const TStudy&) = delete;
    TStudy& operator=(const TStudy&) = delete;

    // Studies position k (its side to move as k says), the values from viewer's side. The search of
    // another position is dropped at once and its lines forgotten; the same position again changes
    // nothing. A position without a legal move has no lines and asks the engine nothing.
    void Start(const TKyokumen& k, Side viewer);
    // No position studied, no search, no lines.
    void Stop();
    // The engine is wanted elsewhere: the search stops, the lines stay. Resume searches the position
    // again from the first step; the lines shown are replaced only by deeper ones.
    void Pause();
    void Resume();
    bool Paused() const { return paused_; }
    // A position is studied (paused or not).
    bool Active() const { return active_; }
    // A search is running, or has yet to start for lack of the engine's time.
    bool Searching() const { return searching_; }

    // Takes the lines the engine has reported so far without waiting (the window's timer).
    void Poll();
    // Waits until every step has ended or the study has stopped (tests).
    void Wait();

    // The lines shown, best first, at most kStudyLines; empty before the first depth is complete.
    const std::vector<TStudyLine>& Lines() const { return lines_; }
    int Depth() const { return lines_.empty() ? 0 : lines_.front().Depth; }
    // The position studied.
    const TKyokumen& Position() const { return position_; }
    // The step running (0 .. kStudySteps.size() - 1).
    std::size_t Step() const { return step_; }
    // Why the study stopped: the engine failed. Empty while it goes on.
    const std::string& Error() const { return error_; }
    // Told whenever the lines, the error or the running state change.
    std::function<void()> Changed;

private:
    TEngineSeat& seat_;
    TKyokumen position_;
    Side viewer_ = Side::Sente;
    std::vector<TMove> legal_;
    std::vector<TStudyLine> lines_;
    std::string error_;
    std::size_t step_ = 0;
    bool active_ = false, paused_ = false, searching_ = false;

    void Ask();
    void Take(bool done);
    void Answered(const TEngineStatus& s);
    void Tell();
};
