// The engine's output, one line at a time, as data. A pure function of the line: the client reads
// lines from the child process and the fuzz target feeds it anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TEngineLine {
    enum class Kind {
        Blank,      // nothing but white space
        Id,         // "id name ..." / "id author ...": Name is "name" or "author", Text the rest
        UciOk,      // "uciok"
        ReadyOk,    // "readyok"
        Option,     // "option name N type T default D min A max B var V ...": Name, Type, Default, Vars
        Info,       // "info ...": Depth, MultiPv, ScoreCp or ScoreMate, Nodes, Pv
        InfoString, // "info string ...": Text
        BestMove,   // "bestmove M [ponder P]": Move (empty for "(none)" and "resign"), Ponder, Resigns
        PerftMove,  // "c3d4: 1" under "go perft": Move, Count
        PerftTotal, // "Nodes searched: N": Count
        Other,      // anything else (the engine's banner, board drawings, unknown commands)
    };
    Kind Type = Kind::Other;

    std::string Name, Text;
    // Option.
    std::string OptionType, Default;
    std::optional<std::int64_t> Min, Max;
    std::vector<std::string> Vars;
    // Info. The score is the side to move's: centipawns, or moves to mate (negative: being mated).
    std::optional<int> Depth;
    // Which of the lines the engine reports at once (1 the best); absent when it reports one.
    std::optional<int> MultiPv;
    std::optional<int> ScoreCp, ScoreMate;
    std::optional<std::uint64_t> Nodes;
    // The principal variation, up to its first token that is not a move.
    std::vector<std::string> Pv;
    // Info: one of the numbers above is there but cannot be read ("multipv 99999999999", "cp 12x"): the
    // line cannot be placed among the others, nor its score trusted.
    bool Malformed = false;
    // BestMove and PerftMove.
    std::string Move, Ponder;
    // BestMove: "bestmove resign", the engine gives the game up.
    bool Resigns = false;
    // PerftMove and PerftTotal.
    std::uint64_t Count = 0;
};

TEngineLine ParseEngineLine(std::string_view line);

// Whether a token has the form of an engine move ("c3d4", "c6b8+").
bool IsEngineMoveToken(std::string_view token);
