// Command lines given to the console front-end: the input is read as mirutoa-cli reads standard
// input, one command per line, from a fresh session with COM's generator at its start. Every command
// but quit must be answered; an answer that reports a refusal or only reads the game must leave the
// game as it was; after every command the position's tables agree and the record holds one line per
// move.
#include "FuzzThink.h"
#include "cli/Console.h"
#include "support/Helpers.h"
#include "support/Invariants.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& line) {
    std::fprintf(stderr, "console fuzz: %s (command \"%s\")\n", what.c_str(), line.c_str());
    std::abort();
}

bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// Answers after which the game must be as before: refusals, errors and the commands that only read.
bool LeavesTheGameAlone(std::string_view line, std::string_view answer) {
    for (std::string_view reader : {"board", "legal", "kifu", "kif"})
        if (line == reader) return true;
    if (StartsWith(line, "variations ")) return true;
    const std::string_view first = answer.substr(0, answer.find('\n'));
    for (std::string_view refusal :
         {"ignored", "illegal", "illegal-check", "unknown-command", "unknown-formation", "kept"})
        if (first == refusal) return true;
    return StartsWith(first, "error ") || StartsWith(first, "refused ");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    TConsole console(out, false, false, FuzzThink());
    const TGameSession& session = console.Session();
    std::string line;
    bool tooLong = false;
    while (ReadConsoleLine(in, line, tooLong)) {
        out.str("");
        const invariants::SessionState before(session);
        if (!console.Command(line, tooLong)) break;
        const std::string answer = out.str();
        if (answer.empty() || answer.back() != '\n') Fail("the answer is not a whole line", line);
        if (LeavesTheGameAlone(line, answer)) {
            const std::string d = before.DifferenceTo(session);
            if (!d.empty())
                Fail("the answer \"" + answer.substr(0, answer.find('\n')) + "\" came with a change of " + d,
                     line);
        }
        // The lines before the latest turn were checked as they came; all of them once at the end.
        const std::size_t shown = session.ShownMoveHistory().size();
        std::string fault = invariants::PositionFault(session.BoardPosition(), false);
        if (fault.empty()) fault = invariants::RecordFault(session, shown > 2 ? shown - 2 : 0);
        if (!fault.empty()) Fail(fault, line);
    }
    std::string fault = invariants::PositionFault(session.BoardPosition());
    if (fault.empty()) fault = invariants::RecordFault(session);
    if (!fault.empty()) Fail(fault, "the last command");
    return 0;
}
