// The console front-end's command handler: one command line in, its answer lines out. mirutoa-cli
// feeds it standard input; the fuzz target feeds it arbitrary lines.
#pragma once

#include "session/Analysis.h"
#include "session/EnginePlay.h"
#include "session/GameSession.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

inline constexpr std::size_t kConsoleMaxLineBytes = 4096;

// The console shows no pictures and has no clipboard: the session's answers come back through the
// turn and take-back reports and the session's own state.
class TConsoleView : public TQuietView {
public:
    void TurnFinished(const TTurnReport& report) override { Finished = report; }
    // The latest turn that an opponent answering later has finished.
    TTurnReport Finished;
};

// The commands in the order of the help text.
enum class ConsoleCommand {
    Refused,
    Move,
    New,
    Handicap,
    Formation,
    Matta,
    Board,
    Legal,
    Kifu,
    Kif,
    Save,
    Open,
    Sfen,
    Position,
    Resign,
    Why,
    Hint,
    Opponent,
    Goto,
    PlayOn,
    Branch,
    Variations,
    Variation,
    Mainline,
    Analyse,
    Mistakes,
    Study,
    Seats,
    Go,
    Quit,
};

// What a command takes after its name and one blank.
enum class ConsoleArgument {
    None,      // nothing: "new x" is refused
    Squares,   // four digits, two squares on the board: "7776"
    Formation, // one of kFormationList, byte for byte
    Path,      // the rest of the line, not empty: a file name
    Opponent,  // "com", or "engine N" with N 1 .. kEngineLevelCount
    Number,    // a move number, at most four digits: "12"
    Seats,     // two seats, each "human", "com" or "engine N": "com human", "engine 3 com"
    Millis,    // a time in milliseconds, 1 .. kConsoleMaxStudyMs: "1000"
    Text,      // the rest of the line, not empty: a position text
};

// The longest study the console runs at one command.
inline constexpr int kConsoleMaxStudyMs = 60'000;

struct TConsoleCommandRow {
    std::string_view Name;
    ConsoleCommand Command;
    ConsoleArgument Argument;
    std::string_view Missing; // the error text when the argument is left out
};

// A new command is one row here and one case in TConsole::Execute.
inline constexpr TConsoleCommandRow kConsoleCommands[] = {
    {"move", ConsoleCommand::Move, ConsoleArgument::Squares, "move needs two squares such as 7776"},
    {"new", ConsoleCommand::New, ConsoleArgument::None, {}},
    {"handicap", ConsoleCommand::Handicap, ConsoleArgument::None, {}},
    {"formation", ConsoleCommand::Formation, ConsoleArgument::Formation,
     "formation needs a name such as 【基本形】"},
    {"matta", ConsoleCommand::Matta, ConsoleArgument::None, {}},
    {"board", ConsoleCommand::Board, ConsoleArgument::None, {}},
    {"legal", ConsoleCommand::Legal, ConsoleArgument::None, {}},
    {"kifu", ConsoleCommand::Kifu, ConsoleArgument::None, {}},
    {"kif", ConsoleCommand::Kif, ConsoleArgument::None, {}},
    {"save", ConsoleCommand::Save, ConsoleArgument::Path, "save needs a file name such as game.kif"},
    {"open", ConsoleCommand::Open, ConsoleArgument::Path, "open needs a file name such as game.kif"},
    {"sfen", ConsoleCommand::Sfen, ConsoleArgument::None, {}},
    {"position", ConsoleCommand::Position, ConsoleArgument::Text,
     "position needs a position text such as the answer of sfen"},
    {"resign", ConsoleCommand::Resign, ConsoleArgument::None, {}},
    {"why", ConsoleCommand::Why, ConsoleArgument::None, {}},
    {"hint", ConsoleCommand::Hint, ConsoleArgument::None, {}},
    {"opponent", ConsoleCommand::Opponent, ConsoleArgument::Opponent, "opponent needs com or engine 1 to 12"},
    {"goto", ConsoleCommand::Goto, ConsoleArgument::Number, "goto needs a move number such as 12"},
    {"playon", ConsoleCommand::PlayOn, ConsoleArgument::None, {}},
    {"branch", ConsoleCommand::Branch, ConsoleArgument::None, {}},
    {"variations", ConsoleCommand::Variations, ConsoleArgument::Number,
     "variations needs a move number such as 12"},
    {"variation", ConsoleCommand::Variation, ConsoleArgument::Number,
     "variation needs a variation number such as 1"},
    {"mainline", ConsoleCommand::Mainline, ConsoleArgument::None, {}},
    {"analyse", ConsoleCommand::Analyse, ConsoleArgument::None, {}},
    {"mistakes", ConsoleCommand::Mistakes, ConsoleArgument::None, {}},
    {"study", ConsoleCommand::Study, ConsoleArgument::Millis,
     "study needs a time in milliseconds, 1 to 60000"},
    {"seats", ConsoleCommand::Seats, ConsoleArgument::Seats,
     "seats needs two seats, each human, com or engine 1 to 12, such as com human"},
    {"go", ConsoleCommand::Go, ConsoleArgument::None, {}},
    {"quit", ConsoleCommand::Quit, ConsoleArgument::None, {}},
};

// One command line as read, before anything is done with it: a command with its argument, or the
// whole answer that refuses the line ("unknown-command", "unknown-formation", "error TEXT").
struct TParsedCommand {
    ConsoleCommand Command = ConsoleCommand::Refused;
    int From = 0, To = 0; // Squares; Opponent: From is 0 for COM, else the engine's level
    int Number = 0;       // Number; Millis
    std::string Argument; // Formation: the name; Path: the file name; Number, Millis: the digits as
                          // written; Text: the text
    TSeats Seats;         // Seats
    std::string Refusal;  // Refused: the answer line
};

// Reads one command line (without its line end); a line longer than kConsoleMaxLineBytes is refused.
// Touches no game, so it can be run on any bytes.
TParsedCommand ParseConsoleCommand(const std::string& line, bool tooLong);

class TConsole {
public:
    // A started session, as the window has it after start-up. With timing, every COM think's duration
    // in milliseconds goes to standard error. Without files, save and open are refused (the fuzz target
    // must not write where its input says).
    // think stands in for COM's think when given (the fuzz target plays COM's quick think).
    TConsole(std::ostream& out, bool timing, bool files = true,
             std::function<void(TKyokumenKanri&)> think = {});

    // Runs one command line (without its line end) and writes its answer; a line that was longer than
    // kConsoleMaxLineBytes is answered as too long. An exception from the game is answered with
    // "error TEXT". Returns false for quit.
    bool Command(const std::string& line, bool tooLong);
    // Carries out one parsed command and writes its answer. Returns false for quit.
    bool Execute(const TParsedCommand& c);

    const TGameSession& Session() const { return session_; }

private:
    std::ostream& out_;
    bool files_;
    TConsoleView view_;
    // The engine process that engine seats, hints and analyses use.
    TEngineSeat seat_;
    TGameSession session_;
    // The latest analysis, which mistakes lists.
    std::unique_ptr<TGameAnalysis> analysis_;

    void Say(const std::string& text);
    void Move(int from, int to);
    void Go();
    // The answer lines of the moves a command made, up to the end of the game or the status line.
    void Report(TTurnReport r);
    void Seats(const TSeats& seats);
    void Position(const std::string& text);
    void Board();
    void Legal();
    void Matta();
    void Variations(int n);
    // Shows line k at move n; answers ok and the move shown, or why it cannot.
    void EnterLine(int k, int n);
    void Kifu();
    void Hint();
    void Opponent(int level);
    void Analyse();
    void Mistakes();
    void Study(int ms);
    // The refusal when the engine cannot be used here; empty when it can.
    std::string EngineRefusal() const;
};

// Reads one line without its LF (and a CR before it). Returns false at the end of input. A line longer
// than kConsoleMaxLineBytes is read to its end but reported as too long.
bool ReadConsoleLine(std::istream& in, std::string& line, bool& tooLong);

// The command loop: a started session, then one command per line of in until quit or the end of
// input, each answer flushed; it stops early when out fails (the caller sees out's state). Throws
// only when the session cannot be created.
void RunConsole(std::istream& in, std::ostream& out, bool timing);
