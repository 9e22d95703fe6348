// The variant engine playing this game's rules: starts it, hands it the variant file, searches positions
// and asks it for the legal moves. Nothing the window calls waits for the engine: Launch and Go send
// their commands and return, Poll takes what has arrived, Abort and Stop return at once. The console and
// the tests may wait instead (Start, Wait, the position and legal-move requests), each wait bounded by
// the settings. A request that fails stops the engine (its answers could no longer be told from those to
// the next request): Running() is then false, and Launch begins anew.
#pragma once

#include "board/Kyokumen.h"
#include "engine/EngineProcess.h"
#include "engine/EngineProtocol.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// A search that overruns its time by more than this has hung: the engine is stopped. A search that was
// stopped is given as long to send its last answer.
inline constexpr std::chrono::milliseconds kEngineSearchGrace{5000};
// The size of the engine's table of positions searched, in MB: fixed, so that a search of a number of
// nodes finds the same on every machine.
inline constexpr int kEngineHashMb = 16;
// A search of a number of nodes is allowed this many nodes a second at the least, and the grace, before
// it counts as hung; this machine searches twenty times as fast.
inline constexpr std::uint64_t kSlowestNodesPerSecond = 20'000;

struct TEngineSettings {
    std::string Program = "fairy-stockfish";
    // The variant description (assets/mirutoa-variant.ini, installed beside the piece pictures).
    std::string VariantFile;
    // "mirutoa", or "mirutoa-handicap" for games without the human's rook and bishop (only the start
    // position differs).
    std::string Variant = "mirutoa";
    // The longest wait for an answer that needs no search: the hand-shake, a position's legal moves.
    std::chrono::milliseconds Timeout{5000};
    std::chrono::milliseconds Grace = kEngineSearchGrace;
};

// One search: the engine's strength, its time, and how many of its best lines it reports, so that a
// move this game refuses has a next one to fall back on.
struct TEngineSearch {
    int Skill = 20; // the engine's "Skill Level", -20 (weakest) to 20 (full strength)
    std::chrono::milliseconds MoveTime{500};
    int Lines = 3;
    // A search of this many nodes instead of MoveTime. It runs on one thread from an empty table, so the
    // same position gives the same answer on any machine and under any load.
    std::uint64_t Nodes = 0;
    // The only moves the search looks at, in the engine's notation; empty for all of them.
    std::vector<std::string> OnlyMoves;
    // The game before the position searched: the position it began from (in the engine's FEN) and the
    // moves played since (in its notation), which lead to the position searched. With them the engine
    // knows the positions met before: it sees a fourth repetition coming as a draw, and a perpetual
    // check as a loss. Without StartFen the engine is told the position searched alone.
    std::string StartFen;
    std::vector<std::string> Played;
};

// What a search found: the engine's choice and the latest report of each of its lines.
struct TEngineResult {
    std::string BestMove;           // empty for "(none)" (no move for the side to move) and a resignation
    bool Resigns = false;           // "bestmove resign"
    std::vector<TEngineLine> Lines; // [0] the best line, [1] the next, ...; those with a variation only
};

class TEngineClient {
public:
    // Starts the engine and sends it the settings and the variant; returns at once. Poll and Wait read
    // its answers, and a search asked meanwhile goes out once the engine has confirmed the variant.
    TEngineStatus Launch(const TEngineSettings& settings);
    // The same, and waits until the engine has confirmed the variant; its name is known then.
    TEngineStatus Start(const TEngineSettings& settings);
    // Returns at once: the engine is told to quit and reaped in the background.
    void Stop();
    bool Running() const { return process_.Running(); }
    const std::string& EngineName() const { return name_; }

    // These wait for their answer.
    // Switches to another variant of the same file ("mirutoa-handicap").
    TEngineStatus SelectVariant(const std::string& variant);
    // The variant's start position, as the variant file describes it.
    TEngineStatus SetStartPosition();
    TEngineStatus SetPosition(const TKyokumen& k, bool comToMove);
    // The legal moves of the position set last, in the engine's notation and order. Empty when the
    // engine finds the game over (mate, a bare king, no move at all).
    TEngineStatus LegalMoves(std::vector<std::string>& moves);

    // Asks for a search of position k and returns at once; a search still running is aborted first.
    TEngineStatus Go(const TKyokumen& k, bool comToMove, const TEngineSearch& search);
    // Takes the engine's lines that have arrived and returns without waiting, after a few milliseconds
    // at the most however fast the engine writes: done once the search has ended (Result() then holds
    // it). A dead engine, or one past its time and the grace, fails and is stopped. The window calls it
    // from a timer while a search runs and while Stopping() holds.
    TEngineStatus Poll(bool& done);
    // Waits for the running search to end (front-ends that may block: the console, tests).
    TEngineStatus Wait();
    // Drops the running search and returns at once. The engine is told to stop; the answer it still
    // owes that search is read and thrown away before the next search is sent, so it can never be taken
    // for the next one's.
    void Abort();
    bool Searching() const { return searching_; }
    // Whether an aborted search's answer is still to come; an engine that does not give it within the
    // grace is stopped.
    bool Stopping() const { return phase_ == Phase::Stopping; }
    const TEngineResult& Result() const { return result_; }
    // The engine's process id (0 when it is not running), for tests that kill it.
    int Pid() const { return process_.Pid(); }

private:
    enum class Phase {
        Off,       // no engine
        Starting,  // the hand-shake sent, its "readyok" awaited
        Ready,     // nothing asked
        Searching, // a search sent, its "bestmove" awaited
        Stopping,  // an aborted search's "bestmove" awaited
    };

    TEngineStatus Send(const std::string& line);    // may wait (the waiting requests)
    TEngineStatus SendNow(const std::string& line); // never waits
    TEngineStatus Failed(TEngineStatus s);          // stops the engine, returns s
    // Reads lines until one of the kind wanted; collects the info strings on the way.
    TEngineStatus ReadUntil(TEngineLine::Kind kind, std::string& lastLine, std::vector<std::string>& infos);
    TEngineClock::time_point Deadline() const { return TEngineClock::now() + settings_.Timeout; }
    // One line of the engine, taken as the phase reads it.
    TEngineStatus TakeLine(const std::string& text);
    TEngineStatus Started();
    TEngineStatus SendQueued();
    // Reads and takes one line, waiting until the phase's deadline at the most.
    TEngineStatus ReadOn();
    TEngineStatus Overdue();
    // Waits until the engine has started or has ended an aborted search.
    TEngineStatus Settle();

    TEngineSettings settings_;
    TEngineProcess process_;
    std::string name_;
    Phase phase_ = Phase::Off;
    TEngineClock::time_point phaseDeadline_;
    bool readsVariants_ = false, variantTaken_ = false;
    // The search asked while the engine was not ready for it, and its time with the grace.
    std::vector<std::string> queued_;
    std::chrono::milliseconds allowance_{0};
    bool searching_ = false;  // a search asked and not yet answered
    bool searchDone_ = false; // its answer has just come
    TEngineResult result_;
};

// The variant file: $MIRUTOA_VARIANT_FILE when set, else mirutoa-variant.ini in the current folder
// (the window starts in its pictures' folder, where the file is installed), in the installed data
// folder, or in the source tree's assets (a program run from its build folder). Empty when none.
std::string FindVariantFile();
