// The engine as a child process: its standard input and output are one end of a socket pair, ours the
// other. Every read and write has a deadline, so a hung or silent engine never blocks the caller, and
// stopping it returns at once: a stopped engine is waited for (and killed when it lingers) by a reaper
// of its own, never by the caller.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

enum class EngineError {
    None,
    NotFound,      // no such program
    StartFailed,   // the program exists but could not be started
    NoAnswer,      // the deadline passed
    Exited,        // the engine closed its output or died
    Protocol,      // the engine said something this client cannot use
    VariantMissing // the engine did not take this game's variant
};

// Success, or what failed with a message a person can act on.
struct TEngineStatus {
    EngineError Error = EngineError::None;
    std::string Message;

    static TEngineStatus Ok() { return {}; }
    static TEngineStatus Fail(EngineError e, std::string message) { return {e, std::move(message)}; }
    explicit operator bool() const { return Error == EngineError::None; }
};

using TEngineClock = std::chrono::steady_clock;

// Where a program of that name would be started from: the name itself when it holds a "/", else the
// first folder of PATH that has it, then Debian's folder of games (which is not on every PATH). Empty
// when there is none.
std::string FindEngineProgram(const std::string& program);

class TEngineProcess {
public:
    TEngineProcess() = default;
    TEngineProcess(const TEngineProcess&) = delete;
    TEngineProcess& operator=(const TEngineProcess&) = delete;
    ~TEngineProcess(); // Stop()

    TEngineStatus Start(const std::string& program, const std::vector<std::string>& args = {});
    bool Running() const { return pid_ > 0; }
    int Pid() const { return pid_ > 0 ? int(pid_) : 0; }

    // One line, "\n" added.
    TEngineStatus WriteLine(std::string_view line, TEngineClock::time_point deadline);
    // The next line without its end ("\n" or "\r\n").
    TEngineStatus ReadLine(std::string& line, TEngineClock::time_point deadline);

    // Asks the engine to quit and closes the channel; returns at once. The reaper waits for the child and
    // kills it once `grace` has passed.
    void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(500));

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string buffer_; // read but not yet returned
    bool eof_ = false;
};

// Waits until every engine stopped so far has been reaped, killing those still alive once `wait` has
// passed; true when none is left. For the end of a program and for tests that look for zombies: the
// reaper does the same in the background, without anyone waiting.
bool ReapStoppedEngines(std::chrono::milliseconds wait);
