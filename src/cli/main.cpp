// mirutoa-cli: the game on a terminal, one command per line, for playing and for scripting games.
// It drives the same game session as the window; only the texts at the edges are its own.
#include "cli/Console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

namespace {

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
  kif              the game as a KIF record (the text a .kifu file holds), then a line "end"
  save PATH        save the game: PATH.kif (KIF, CP932), .kifu (KIF, UTF-8), .txt (the record text)
  open PATH        open a .kif or .kifu record (KI2: .ki2 or .ki2u); the game is then replayed from its
                   start (answers ok N)
  sfen             the position shown as the engine's FEN ("... w - - 0 1": w you to move, b COM)
  position TEXT    a new game from a position given as the engine's FEN (or "sfen ..."), with the
                   seats of the game; ok, or error TEXT (the game unchanged)
  resign           resign: COM wins (answers end resigned, or ignored)
  why              why COM made its latest move (an empty line before its first)
  hint             the engine's best move for you: hint FFRR TEXT CP (CP in centipawns, or M+N / M-N
                   for a mate in N), or hint none; noted beside your next move in the record
  opponent com     the computer's seat to the standard COM (the default)
  opponent engine N  the computer's seat to the variant engine at level N (1 weakest .. 12 strongest)
  seats FIRST SECOND  who plays each side, each human, com or engine N (seats com human: COM moves
                   first); starts a new game, and new and handicap keep the seats
  go               the computer to move plays one move (it moves first, or two computers play);
                   answered as a move is, or ignored
  goto N           show the position after move N (0 the start); in a game going on it is only looked
                   at until goto to the last move (answers ok N)
  playon           a new game from the position shown, COM as it would be had the game reached it
                   (answers ok N, or error TEXT with the game unchanged)
  branch           start a variation at the position shown (after goto N, or open PATH and goto N):
                   the next move is its first (answers ok N, N the move shown, or error TEXT)
  variations N     the ways of playing move N on the line shown, its own move first: variation K
                   TEXT (K the line, 0 the main line; TEXT a move text, or the end line of a line
                   that ends there), then end
  variation K      show variation K at its first own move (answers ok N, N the move shown)
  mainline         back to the main line at the same move, or its last (answers ok N)
  analyse          the engine's evaluation of every position of the game from your side: eval N CP
                   (N 0 the start, N the position after move N; CP in centipawns, a mate as 30000 less
                   its moves), then end; the record then carries the analysis beside each move
  mistakes         the moves the latest analysis marked 悪手 or 疑問手 on your side: mistake N PLAYED
                   BEST LOSS (N the move, PLAYED and BEST as FFRR, LOSS in centipawns), then end
  study MS         the engine looks at the position shown for MS milliseconds (1 .. 60000): line K
                   CP DEPTH MOVES for its K = 1 .. 3 best lines (CP from your side as for hint; MOVES
                   as FFRR), then end
  quit             exit (so does the end of input)

Answers to move, in order (each stops the turn where the game stops):
  ignored | illegal | illegal-check
  human N TEXT     your move N as recorded (TEXT is a move text such as 7776歩)
  end human-mates | end com-bare-king | end com-no-move | end com-illegal-move
  end draw-repetition | end perpetual-check-loss
  error TEXT       COM could not answer
  com M TEXT       COM's move M as recorded
  check            COM's move gives check
  end com-mates | end human-bare-king | end human-no-move | end com-resigned
                   (sente-… and gote-… in place of human- and com- when two people or two computers
                   play)
  status TEXT      the status line after the turn

Options:
  --timing         write each COM think's duration in milliseconds to standard error
  --help           this text
)";

// True when everything written to standard output has reached it. A script that pipes the answers
// must be able to tell when they were lost (a closed output, a full disk, a reader that went away
// while SIGPIPE is ignored; with SIGPIPE at its default the signal ends the program first).
bool OutputDelivered() {
    std::cout.flush();
    return std::cout.good() && std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

int OutputLost(int error) {
    std::cerr << "mirutoa-cli: cannot write to standard output";
    if (error != 0) std::cerr << ": " << std::strerror(error);
    std::cerr << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // A save that reaches the file-size limit is then a failed write the program reports, not its end.
    std::signal(SIGXFSZ, SIG_IGN);
    bool timing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            std::cout << kHelp;
            return OutputDelivered() ? 0 : OutputLost(errno);
        }
        if (opt == "--timing") {
            timing = true;
            continue;
        }
        std::cerr << "mirutoa-cli: unknown option " << opt << " (see --help)\n";
        return 2;
    }

    try {
        RunConsole(std::cin, std::cout, timing);
    } catch (const std::exception& e) {
        std::cerr << "mirutoa-cli: " << e.what() << '\n';
        return 1;
    }
    return OutputDelivered() ? 0 : OutputLost(errno);
}
