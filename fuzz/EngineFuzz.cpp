// The engine's output lines as the client reads them: the input is split into lines, and each line is
// parsed as the engine's. Whatever a line holds, every move the parse keeps (best move, ponder move,
// variation, perft line) has the engine's move form and writes back to the same text, and as a move of
// this game's start position it converts back to that text when it converts at all. Fields come only
// from their kind of line. Each line is also read as a position text: one that reads and passes the
// position checks reads back the same from the FEN the game writes of it.
#include "board/PositionCheck.h"
#include "engine/EngineNotation.h"
#include "engine/EngineProtocol.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const std::string& what, std::string_view line) {
    std::fprintf(stderr, "engine fuzz: %s (line \"%.*s\")\n", what.c_str(), int(line.size()), line.data());
    std::abort();
}

void CheckMove(const std::string& text, std::string_view line, const TKyokumen& start) {
    const std::optional<TEngineMove> m = ParseEngineMove(text);
    if (!m) Fail("a kept move \"" + text + "\" is no move", line);
    if (EngineMoveText(*m) != text)
        Fail("the move \"" + text + "\" writes back as " + EngineMoveText(*m), line);
    for (const bool com : {false, true}) {
        const std::optional<TMove> ours = MoveFromEngine(text, start, com);
        if (ours && EngineMoveText(*ours) != text)
            Fail("the move \"" + text + "\" converts back as " + EngineMoveText(*ours), line);
    }
}

void CheckLine(std::string_view line, const TKyokumen& start) {
    using K = TEngineLine::Kind;
    const TEngineLine p = ParseEngineLine(line);
    if (p.Type != K::BestMove && p.Type != K::PerftMove && !p.Move.empty())
        Fail("a move outside its lines", line);
    if (p.Type != K::Info && (p.Depth || p.ScoreCp || p.ScoreMate || p.Nodes || !p.Pv.empty()))
        Fail("search figures outside an info line", line);
    if (p.Type != K::Option && (!p.OptionType.empty() || !p.Vars.empty() || p.Min || p.Max))
        Fail("option fields outside an option line", line);
    if (p.Type != K::Info && p.Malformed) Fail("a malformed mark outside an info line", line);
    if (p.Type != K::BestMove && p.Resigns) Fail("a resignation outside a bestmove line", line);
    if (p.Resigns && !p.Move.empty()) Fail("a resignation with a move", line);
    if (!p.Move.empty()) CheckMove(p.Move, line, start);
    if (!p.Ponder.empty()) CheckMove(p.Ponder, line, start);
    for (const std::string& pv : p.Pv) CheckMove(pv, line, start);
    if (p.Type == K::PerftMove && p.Move.empty()) Fail("a perft line without its move", line);
}

void CheckFen(std::string_view line) {
    TFenPosition p;
    try {
        p = ParseEngineFen(line);
    } catch (const TFenError&) {
        return;
    }
    if (!CheckPosition(p.Board, p.ToMove).Sound()) return;
    TKyokumen k;
    k.SetupFromBoard(p.Board, p.ToMove == Side::Gote);
    const std::string fen = EngineFen(k, p.ToMove == Side::Gote);
    if (!(ParseEngineFen(fen) == p)) Fail("a position reads back differently from its FEN " + fen, line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TKyokumen start;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t begin = 0;
    while (begin <= input.size()) {
        std::size_t end = input.find('\n', begin);
        if (end == std::string_view::npos) end = input.size();
        CheckLine(input.substr(begin, end - begin), start);
        CheckFen(input.substr(begin, end - begin));
        begin = end + 1;
    }
    return 0;
}
