// The variant engine playing this game's rules: starts it, hands it the variant file, sets positions
// and asks it for the legal moves. Each request waits at most the settings' timeout. A request that
// fails stops the engine (its answers could no longer be told from those to the next request):
// Running() is then false, and Start begins anew.
#pragma once

#include "board/Kyokumen.h"
#include "engine/EngineProcess.h"
#include "engine/EngineProtocol.h"

#include <chrono>
#include <string>
#include <vector>

struct TEngineSettings {
    std::string Program = "fairy-stockfish";
    // The variant description (assets/mirutoa-variant.ini, installed beside the piece pictures).
    std::string VariantFile;
    // "mirutoa", or "mirutoa-handicap" for games without the human's rook and bishop (only the start
    // position differs).
    std::string Variant = "mirutoa";
    std::chrono::milliseconds Timeout{5000};
};

// One search: the engine's strength, its time, and how many of its best lines it reports, so that a
// move this game refuses has a next one to fall back on.
struct TEngineSearch {
    int Skill = 20; // the engine's "Skill Level", -20 (weakest) to 20 (full strength)
    std::chrono::milliseconds MoveTime{500};
    int Lines = 3;
};

// What a search found: the engine's choice and the latest report of each of its lines.
struct TEngineResult {
    std::string BestMove;           // empty for "(none)": the side to move has no move
    std::vector<TEngineLine> Lines; // [0] the best line, [1] the next, ...; those with a variation only
};

// A search that overruns its time by more than this has hung: the engine is stopped.
inline constexpr std::chrono::milliseconds kEngineSearchGrace{5000};

class TEngineClient {
public:
    // Starts the engine and sets the variant; afterwards the engine's name is known.
    TEngineStatus Start(const TEngineSettings& settings);
    void Stop() { process_.Stop(); }
    bool Running() const { return process_.Running(); }
    const std::string& EngineName() const { return name_; }

    // Switches to another variant of the same file ("mirutoa-handicap").
    TEngineStatus SelectVariant(const std::string& variant);
    // The variant's start position, as the variant file describes it.
    TEngineStatus SetStartPosition();
    TEngineStatus SetPosition(const TKyokumen& k, bool comToMove);
    // The legal moves of the position set last, in the engine's notation and order. Empty when the
    // engine finds the game over (mate, a bare king, no move at all).
    TEngineStatus LegalMoves(std::vector<std::string>& moves);

    // Starts a search of position k and returns at once; a search still running is aborted first.
    TEngineStatus Go(const TKyokumen& k, bool comToMove, const TEngineSearch& search);
    // Takes the engine's lines that have arrived and returns without waiting: done once the search
    // has ended (Result() then holds it). A dead engine, or one past its time and the grace, fails and
    // is stopped. The window calls it from a timer.
    TEngineStatus Poll(bool& done);
    // Waits for the running search to end (front-ends that may block: the console, tests).
    TEngineStatus Wait();
    // Stops the running search and drops its answer.
    void Abort();
    bool Searching() const { return searching_; }
    const TEngineResult& Result() const { return result_; }
    // The engine's process id (0 when it is not running), for tests that kill it.
    int Pid() const { return process_.Pid(); }

private:
    TEngineStatus Send(const std::string& line);
    TEngineStatus Stopped(TEngineStatus s); // stops the engine, returns s
    // Reads lines until one of the kind wanted; collects the info strings on the way.
    TEngineStatus ReadUntil(TEngineLine::Kind kind, std::string& lastLine);
    TEngineClock::time_point Deadline() const { return TEngineClock::now() + settings_.Timeout; }
    // Takes one line of a running search; done at its "bestmove".
    void TakeSearchLine(const std::string& line, bool& done);
    TEngineStatus SearchFailed(TEngineStatus s);

    TEngineSettings settings_;
    TEngineProcess process_;
    std::string name_;
    std::vector<std::string> infoStrings_;
    bool searching_ = false;
    TEngineClock::time_point searchDeadline_;
    TEngineResult result_;
};

// The variant file: $MIRUTOA_VARIANT_FILE when set, else mirutoa-variant.ini in the current folder
// (the window starts in its pictures' folder, where the file is installed), in the installed data
// folder, or in the source tree's assets (a program run from its build folder). Empty when none.
std::string FindVariantFile();
