// The engine client's edges: the notation, the parser of the engine's lines, and starting an engine
// that is missing, wrong or silent.
#include "engine/EngineClient.h"
#include "engine/EngineNotation.h"
#include "engine/EngineProtocol.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using testing_helpers::Play;

TEST(EngineNotation, MovesConvertBothWaysWithTheForcedPromotion) {
    TKyokumen k;
    Play(k, {"7675歩", "4445com歩", "7574歩", "4546com歩"});
    struct Row {
        const char* Move;   // a move of this game
        bool Com;           // the side that plays it
        const char* Engine; // the engine's text
    };
    // The pawns promote as they enter the last three ranks; the gold never does.
    const Row rows[] = {
        {"7473歩", false, "c6c7+"},  {"2726歩", false, "h3h4"},    {"6968金", false, "d1d2"},
        {"5958王", false, "e1e2"},   {"4647com歩", true, "f4f3+"}, {"5152com王", true, "e9e8"},
        {"3322com角", true, "g7h8"},
    };
    for (const Row& row : rows) {
        const TMove m = ParseMoveText(row.Move);
        EXPECT_EQ(EngineMoveText(m), row.Engine) << row.Move;
        const std::optional<TMove> back = MoveFromEngine(row.Engine, k, row.Com);
        ASSERT_TRUE(back.has_value()) << row.Engine;
        EXPECT_EQ(*back, m) << row.Engine;
    }
    // Refused: a promotion mark that the rule does not give (or leaves out), an empty square, the
    // other side's piece, texts that are no move.
    for (const char* text : {"c6c7", "h3h4+", "c4c5", "e9e8", "c4", "c4c0", "j4c5", "c6c7++", ""})
        EXPECT_FALSE(MoveFromEngine(text, k, false).has_value()) << text;
}

namespace {

// A parsed line as one text: its kind and the fields it set.
std::string Summary(const TEngineLine& p) {
    static constexpr const char* kKinds[] = {"blank",      "id",          "uciok",       "readyok",
                                             "option",     "info",        "info-string", "bestmove",
                                             "perft-move", "perft-total", "other"};
    std::string s = kKinds[int(p.Type)];
    auto add = [&s](const char* key, const std::string& value) {
        if (!value.empty()) s += std::string(" ") + key + "=" + value;
    };
    auto text = [](auto n) { return n ? std::to_string(*n) : std::string(); };
    for (const auto& [key, value] : {std::pair<const char*, std::string>{"name", p.Name},
                                     {"text", p.Text},
                                     {"type", p.OptionType},
                                     {"default", p.Default},
                                     {"min", text(p.Min)},
                                     {"max", text(p.Max)},
                                     {"depth", text(p.Depth)},
                                     {"cp", text(p.ScoreCp)},
                                     {"mate", text(p.ScoreMate)},
                                     {"nodes", text(p.Nodes)},
                                     {"move", p.Move},
                                     {"ponder", p.Ponder}})
        add(key, value);
    for (const std::string& v : p.Vars) add("var", v);
    for (const std::string& m : p.Pv) add("pv", m);
    if (p.Count > 0) add("count", std::to_string(p.Count));
    if (p.Resigns) s += " resigns";
    if (p.Malformed) s += " malformed";
    return s;
}

} // namespace

TEST(EngineProtocol, LinesParseIntoTheirFieldsAndJunkIntoNothing) {
    // A variation stops at its first token that is no move; numbers out of range or with junk after
    // them are left out, never wrapped.
    const std::pair<const char*, const char*> rows[] = {
        {"info depth 12 score cp -34 pv c4c5 g7c3+ x9 e1d1", "info depth=12 cp=-34 pv=c4c5 pv=g7c3+"},
        {"info depth 3 score mate -2 pv e1d1", "info depth=3 mate=-2 pv=e1d1"},
        {"info depth 7 seldepth 9 multipv 1 score cp 5 nodes 34000 nps 1 time 2 pv e1d1",
         "info depth=7 cp=5 nodes=34000 pv=e1d1"},
        {"info depth 99999999999 score cp 12x", "info malformed"},
        {"info multipv x score cp 5 pv e1d1", "info cp=5 pv=e1d1 malformed"},
        {"bestmove h6h7+ ponder e9e8\r", "bestmove move=h6h7+ ponder=e9e8"},
        {"bestmove (none)", "bestmove"},
        {"bestmove resign", "bestmove resigns"},
        {"option name Debug Log File type string default <empty>", "option name=Debug Log File type=string"},
        {"option name V type combo default a var b c var d",
         "option name=V type=combo default=a var=b c var=d"},
        {"option name H type spin default 16 min 1 max 131072",
         "option name=H type=spin default=16 min=1 max=131072"},
        {"c3b4: 1", "perft-move move=c3b4 count=1"},
        {"Nodes searched: 37", "perft-total count=37"},
        {"info string variant mirutoa files 9", "info-string text=variant mirutoa files 9"},
        {"id name Some Engine 1.0", "id name=name text=Some Engine 1.0"},
        {"uciok", "uciok"},
        {" \t ", "blank"},
    };
    for (const auto& [line, expected] : rows) EXPECT_EQ(Summary(ParseEngineLine(line)), expected) << line;
    for (const char* junk : {"bestmove", "bestmove z9z9", "c3b4: many", "Nodes searched: -1", "uciok now"})
        EXPECT_EQ(ParseEngineLine(junk).Type, TEngineLine::Kind::Other) << junk;
}

TEST(EngineClient, StartingAMissingOrWrongEngineGivesAClearErrorAndNoHang) {
    struct Row {
        const char* Program;
        const char* VariantFile;
        const char* Variant;
        EngineError Expected;
        const char* MessageStart;
    };
    const Row rows[] = {
        {"mirutoa-no-such-engine", MIRUTOA_VARIANT_FILE, "mirutoa", EngineError::NotFound,
         "engine not found"},
        {"fairy-stockfish", "no-such-variant-file.ini", "mirutoa", EngineError::VariantMissing,
         "variant file not found"},
        // A program that ends at once, and one that answers but never as an engine.
        {"true", MIRUTOA_VARIANT_FILE, "mirutoa", EngineError::Exited, "the engine has exited"},
        {"cat", MIRUTOA_VARIANT_FILE, "mirutoa", EngineError::NoAnswer, "the engine did not answer"},
        {"fairy-stockfish", MIRUTOA_VARIANT_FILE, "mirutoa\nquit", EngineError::Protocol,
         "the variant file or name holds a line break"},
        {"fairy-stockfish", MIRUTOA_VARIANT_FILE, "no-such-variant", EngineError::VariantMissing,
         "the engine did not take the variant no-such-variant"},
    };
    const bool haveEngine = !FindEngineProgram("fairy-stockfish").empty();
    for (const Row& row : rows) {
        if (std::string(row.Program) == "fairy-stockfish" && !haveEngine) continue;
        TEngineSettings settings;
        settings.Program = row.Program;
        settings.VariantFile = row.VariantFile;
        settings.Variant = row.Variant;
        // Short only where the wait is the point: a loaded machine may take seconds to start the engine.
        settings.Timeout = std::chrono::milliseconds(row.Expected == EngineError::NoAnswer ? 300 : 20'000);
        TEngineClient client;
        const TEngineStatus s = client.Start(settings);
        EXPECT_EQ(s.Error, row.Expected) << row.Program << ": " << s.Message;
        EXPECT_TRUE(s.Message.starts_with(row.MessageStart)) << s.Message;
        EXPECT_FALSE(client.Running()) << row.Program;
    }
}
