// mirutoa-cli: the game on a terminal, one command per line, for playing and for scripting games.
// It drives the same game session as the window; only the texts at the edges are its own.
#include "game/GameSession.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kMaxLineBytes = 4096;

constexpr std::string_view kHelp = R"(usage: mirutoa-cli [--timing] [--help]

Plays 創作将棋 ミルトア against COM on standard input and output (UTF-8, one command per line).
You play the first side (bottom, plain piece names); COM plays the second (top, "com" names).
The game starts as the window does: an even game, COM's formation 【基本形】.

Commands:
  move FFRR        move your piece from square FF to square RR (square = file digit, rank digit)
  new              new even game (COM's formation selection is kept)
  handicap         new game without your rook and bishop
  formation NAME   pick COM's formation (applied before the first move, kept for later games)
  matta            take back the last pair of moves (once between two turns)
  board            the board: ranks 1 to 9, files 9 to 1, ・ for an empty square
  legal            your legal moves as FFRR, in the order of your move list
  kifu             the game record as copied to the clipboard
  quit             exit (so does the end of input)

Answers to move, in order (each stops the turn where the game stops):
  ignored | illegal | illegal-check
  human N TEXT     your move N as recorded (TEXT is a move text such as 7776歩)
  end human-mates | end com-bare-king
  error TEXT       COM could not answer
  com M TEXT       COM's move M as recorded
  check            COM's move gives check
  end com-mates | end human-bare-king
  status TEXT      the status line after the turn

Options:
  --timing         write each COM think's duration in milliseconds to standard error
  --help           this text
)";

// The console shows no pictures and has no clipboard: the session's answers come back through the
// turn and take-back reports and the session's own state.
class TConsoleView : public ISessionView {
public:
    void SetMessage(const std::string&) override {}
    void SetStatus(const std::string&) override {}
    void ShowMessageBox(const std::string&) override {}
    void SetSquare(int, PieceName) override {}
    void MoveFrame(SessionFrame, int) override {}
    void ShowFrame(SessionFrame, bool) override {}
    void SetReplayMode(bool) override {}
    void ProcessPendingEvents() override {}
    void SetClipboardText(const std::string&) override {}
};

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find("\r\n"));
}

bool IsErrorBox(const std::string& text) {
    constexpr std::string_view tail = "エラー発生";
    const std::string first = FirstLine(text);
    return first.size() >= tail.size() && first.compare(first.size() - tail.size(), tail.size(), tail) == 0;
}

// Reads one line without its LF (and a CR before it). Returns false at the end of input. A line longer
// than kMaxLineBytes is read to its end but reported as too long.
bool ReadLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    bool any = false;
    char c;
    while (in.get(c)) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxLineBytes)
            line.push_back(c);
        else
            tooLong = true;
    }
    if (!any) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// "7776" -> 77 and 76. Returns an error text, empty when the argument is good.
std::string ParseSquarePair(std::string_view arg, int& from, int& to) {
    const bool digits = arg.size() == 4 && arg.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digits) return "move takes four digits, two squares such as 7776";
    from = (arg[0] - '0') * 10 + (arg[1] - '0');
    to = (arg[2] - '0') * 10 + (arg[3] - '0');
    for (int sq : {from, to})
        if (!OnBoard(SquareFile(sq), SquareRank(sq)))
            return "square " + SquareText(sq) + " is not on the board (files and ranks are 1 to 9)";
    return "";
}

class TConsole {
public:
    explicit TConsole(bool timing) : session_(view_, Hooks(timing)) { session_.Start(); }

    // Runs one command; returns false for quit.
    bool Run(const std::string& line, bool tooLong);

private:
    TConsoleView view_;
    TGameSession session_;

    static TSessionHooks Hooks(bool timing) {
        TSessionHooks hooks;
        if (timing) hooks.ThinkTimed = [](double ms) { std::fprintf(stderr, "%.3f\n", ms); };
        return hooks;
    }

    void Say(const std::string& text) { std::cout << text << '\n'; }
    void Move(int from, int to);
    void Board();
    void Legal();
    void Matta();
    void Kifu();
};

bool TConsole::Run(const std::string& line, bool tooLong) {
    if (tooLong) {
        Say("error line too long (at most " + std::to_string(kMaxLineBytes) + " bytes)");
        return true;
    }
    const std::size_t blank = line.find(' ');
    const std::string command = line.substr(0, blank);
    const bool hasArg = blank != std::string::npos;
    const std::string arg = hasArg ? line.substr(blank + 1) : "";

    if (command == "move") {
        int from = 0, to = 0;
        const std::string error =
            hasArg ? ParseSquarePair(arg, from, to) : "move needs two squares such as 7776";
        if (!error.empty())
            Say("error " + error);
        else
            Move(from, to);
        return true;
    }
    if (command == "formation") {
        if (!hasArg) {
            Say("error formation needs a name such as 【基本形】");
            return true;
        }
        for (std::string_view name : kFormationList)
            if (name == arg) {
                Say(session_.PickFormation(arg) ? "ok" : "kept");
                return true;
            }
        Say("unknown-formation");
        return true;
    }
    static constexpr std::string_view kPlain[] = {"new",   "handicap", "matta", "board",
                                                  "legal", "kifu",     "quit"};
    bool plain = false;
    for (std::string_view c : kPlain) plain = plain || command == c;
    if (!plain) {
        Say("unknown-command");
        return true;
    }
    if (hasArg) {
        Say("error " + command + " takes no argument");
        return true;
    }
    if (command == "quit") return false;
    if (command == "new") {
        session_.NewGame();
        Say("ok");
    } else if (command == "handicap") {
        session_.NewHandicapGame();
        Say("ok");
    } else if (command == "matta") {
        Matta();
    } else if (command == "board") {
        Board();
    } else if (command == "legal") {
        Legal();
    } else {
        Kifu();
    }
    return true;
}

void TConsole::Move(int from, int to) {
    using Outcome = TTurnReport::Outcome;
    using End = TTurnReport::End;
    session_.StartDrag(from);
    session_.Drop(to);
    const TTurnReport r = session_.EndDrag();

    auto sayErrors = [&] {
        for (const std::string& box : r.Boxes)
            if (IsErrorBox(box)) Say("error " + FirstLine(box));
    };
    switch (r.Result) {
    case Outcome::Ignored:
        Say("ignored");
        return;
    case Outcome::Illegal:
        sayErrors();
        Say("illegal");
        return;
    case Outcome::IllegalCheck:
        Say("illegal-check");
        return;
    case Outcome::HumanMoveFailed:
        sayErrors();
        return;
    default:
        break;
    }
    Say("human " + std::to_string(r.HumanCount) + " " + MoveText(r.HumanMove));
    if (r.Result == Outcome::HumanWins) {
        Say(r.Ending == End::HumanMates ? "end human-mates" : "end com-bare-king");
        return;
    }
    if (r.Result == Outcome::ComFailed) {
        sayErrors();
        return;
    }
    Say("com " + std::to_string(r.ComCount) + " " + MoveText(r.ComMove));
    sayErrors(); // a failed end test after COM's move is reported and the turn goes on
    if (r.Check) Say("check");
    if (r.Result == Outcome::ComWins) {
        Say(r.Ending == End::ComMates ? "end com-mates" : "end human-bare-king");
        return;
    }
    const std::string& status = session_.Status();
    Say(status.empty() ? "status" : "status " + status);
}

void TConsole::Board() {
    const std::vector<std::string> board = session_.Kanri().BoardList();
    for (int rank = 1; rank <= 9; ++rank) {
        std::string line;
        for (int file = 9; file >= 1; --file) {
            const std::string& entry = board[file * 10 + rank];
            if (file != 9) line += ' ';
            line += entry == " " ? "・" : entry;
        }
        Say(line);
    }
}

void TConsole::Legal() {
    const TKyokumenKanri& k = session_.Kanri();
    if (k.SideToMove != 0 || session_.GameOver() || session_.ReplayMode()) {
        Say("");
        return;
    }
    // The human move test applies and undoes each move, which rebuilds the maps and rewrites the
    // records: it runs on a copy so that the game itself is not touched.
    TKyokumen probe = k.Kyokumen;
    probe.ComToMove = false;
    probe.GenerateMoves();
    const TMoveList moves = probe.Sente.Moves;
    std::string line;
    for (const TMove& m : moves) {
        if (probe.TestHumanMove(m.From, m.To).Result != THumanMoveTest::Legal) continue;
        if (!line.empty()) line += ' ';
        line += SquareText(m.From) + SquareText(m.To);
    }
    Say(line);
}

void TConsole::Matta() {
    const TMattaReport r = session_.Matta();
    if (r.Done)
        Say("ok " + std::to_string(session_.Kanri().MoveCount()));
    else
        Say("refused " + FirstLine(r.Refusal));
}

void TConsole::Kifu() {
    const std::string text = session_.KifuText();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    std::cout << out;
}

} // namespace

int main(int argc, char** argv) {
    bool timing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (opt == "--timing") {
            timing = true;
            continue;
        }
        std::cerr << "mirutoa-cli: unknown option " << opt << " (see --help)\n";
        return 2;
    }

    try {
        TConsole console(timing);
        std::string line;
        bool tooLong = false;
        while (ReadLine(std::cin, line, tooLong)) {
            bool go = true;
            try {
                go = console.Run(line, tooLong);
            } catch (const std::exception& e) {
                std::cout << "error " << e.what() << '\n';
            }
            std::cout.flush();
            if (!go) break;
        }
    } catch (const std::exception& e) {
        std::cerr << "mirutoa-cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
