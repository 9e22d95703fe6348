// The console front-end's command handler: one command line in, its answer lines out. mirutoa-cli
// feeds it standard input; the fuzz target feeds it arbitrary lines.
#pragma once

#include "session/GameSession.h"

#include <cstddef>
#include <iosfwd>
#include <string>

inline constexpr std::size_t kConsoleMaxLineBytes = 4096;

// The console shows no pictures and has no clipboard: the session's answers come back through the
// turn and take-back reports and the session's own state.
class TConsoleView : public ISessionView {
public:
    void SetMessage(const std::string&) override {}
    void SetStatus(const std::string&) override {}
    void ShowMessageBox(const std::string&) override {}
    void SetSquare(int, PieceName) override {}
    void MoveFrame(SessionFrame, int) override {}
    void RemoveFrame(SessionFrame) override {}
    void ShowFrame(SessionFrame, bool) override {}
    void SetReplayMode(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string&) override {}
};

class TConsole {
public:
    // A started session, as the window has it after start-up. With timing, every COM think's duration
    // in milliseconds goes to standard error. Without files, save and open are refused (the fuzz target
    // must not write where its input says).
    TConsole(std::ostream& out, bool timing, bool files = true);

    // Runs one command line (without its line end) and writes its answer; a line that was longer than
    // kConsoleMaxLineBytes is answered as too long. An exception from the game is answered with
    // "error TEXT". Returns false for quit.
    bool Command(const std::string& line, bool tooLong);

    const TGameSession& Session() const { return session_; }

private:
    std::ostream& out_;
    bool files_;
    TConsoleView view_;
    TGameSession session_;

    bool Run(const std::string& line, bool tooLong);
    void Say(const std::string& text);
    void Move(int from, int to);
    void Board();
    void Legal();
    void Matta();
    void Kifu();
};

// Reads one line without its LF (and a CR before it). Returns false at the end of input. A line longer
// than kConsoleMaxLineBytes is read to its end but reported as too long.
bool ReadConsoleLine(std::istream& in, std::string& line, bool& tooLong);

// The command loop: a started session, then one command per line of in until quit or the end of
// input, each answer flushed; it stops early when out fails (the caller sees out's state). Throws
// only when the session cannot be created.
void RunConsole(std::istream& in, std::ostream& out, bool timing);
