// The console's command reader alone, with no game behind it: the input is split into lines as
// mirutoa-cli reads standard input, and each line is parsed into the command it names; what the game
// would be asked to do is recorded instead of done, up to quit. Every line is either one command,
// written exactly as its table row says (name, one blank, its argument), or refused with one answer
// line; and the reader returns the input's lines, a CR before the LF dropped, the long ones cut and
// flagged.
#include "cli/Console.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Fail(const std::string& what, std::string_view line) {
    std::fprintf(stderr, "console parse fuzz: %s (line \"%.*s\")\n", what.c_str(), int(line.size()),
                 line.data());
    std::abort();
}

const TConsoleCommandRow* RowOf(ConsoleCommand c) {
    for (const TConsoleCommandRow& s : kConsoleCommands)
        if (s.Command == c) return &s;
    return nullptr;
}

// The one way to write a command the reader accepts.
std::string Written(const TParsedCommand& c) {
    const TConsoleCommandRow* row = RowOf(c.Command);
    if (row == nullptr) return {};
    std::string text(row->Name);
    switch (row->Argument) {
    case ConsoleArgument::None:
        break;
    case ConsoleArgument::Squares:
        text += ' ' + SquareText(c.From) + SquareText(c.To);
        break;
    case ConsoleArgument::Formation:
    case ConsoleArgument::Path:
    case ConsoleArgument::Number:
    case ConsoleArgument::Millis:
    case ConsoleArgument::Text:
        text += ' ' + c.Argument;
        break;
    case ConsoleArgument::Opponent:
        text += c.From == 0 ? std::string(" com") : " engine " + std::to_string(c.From);
        break;
    case ConsoleArgument::Seats:
        for (const TSeat& seat : c.Seats.Of)
            text += seat.Kind == SeatKind::Human ? std::string(" human")
                    : seat.Kind == SeatKind::Com ? std::string(" com")
                                                 : " engine " + std::to_string(seat.Level);
        break;
    }
    return text;
}

void CheckCommand(const TParsedCommand& c, const std::string& line, bool tooLong) {
    if (c.Command == ConsoleCommand::Refused) {
        const std::string_view r = c.Refusal;
        const bool known = r == "unknown-command" || r == "unknown-formation" || r.substr(0, 6) == "error ";
        if (!known || r.find('\n') != std::string_view::npos) Fail("a refusal \"" + c.Refusal + "\"", line);
        return;
    }
    if (tooLong) Fail("an overlong line was accepted", line);
    if (Written(c) != line) Fail("accepted as \"" + Written(c) + "\"", line);
    if ((c.Command == ConsoleCommand::Save || c.Command == ConsoleCommand::Open) && c.Argument.empty())
        Fail("a file command without a file name was accepted", line);
    if (c.Command == ConsoleCommand::Move &&
        !(OnBoard(FileOf(c.From), RankOf(c.From)) && OnBoard(FileOf(c.To), RankOf(c.To))))
        Fail("a move off the board was accepted", line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::vector<TParsedCommand> recorded;
    std::string line;
    bool tooLong = false;
    std::size_t at = 0; // where the next line starts in the input
    while (ReadConsoleLine(in, line, tooLong)) {
        // The line as the bytes up to the next LF say it should be read.
        const std::size_t lf = input.find('\n', at);
        const std::size_t length = (lf == std::string::npos ? size : lf) - at;
        // The CR of a CR LF end does not count against the limit.
        std::string expected = input.substr(at, std::min(length, kConsoleMaxLineBytes + 1));
        bool expectedTooLong = length > kConsoleMaxLineBytes + 1;
        if (!expected.empty() && expected.back() == '\r') expected.pop_back();
        if (expected.size() > kConsoleMaxLineBytes) {
            expected.resize(kConsoleMaxLineBytes);
            expectedTooLong = true;
        }
        if (at >= size || line != expected || tooLong != expectedTooLong)
            Fail("the reader split the input differently", line);
        at += length + 1;

        recorded.push_back(ParseConsoleCommand(line, tooLong));
        CheckCommand(recorded.back(), line, tooLong);
        if (recorded.back().Command == ConsoleCommand::Quit) return 0;
    }
    if (at < size) Fail("the reader stopped before the end of the input", line);
    return 0;
}
