// The engine client's edges: the notation, the parser of the engine's lines, and starting an engine
// that is missing, wrong or silent.
#include "engine/EngineClient.h"
#include "engine/EngineNotation.h"
#include "engine/EngineProtocol.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using testing_helpers::Play;

namespace {

// The startFen lines of the variant file, in order.
std::vector<std::string> VariantStartFens() {
    std::ifstream in(MIRUTOA_VARIANT_FILE);
    std::vector<std::string> fens;
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("startFen = ")) fens.push_back(line.substr(11));
    return fens;
}

} // namespace

TEST(EngineNotation, TheVariantFileStartsFromThisGamesStartPositions) {
    TKyokumen even, handicap;
    handicap.SetupHisyaKaku();
    const std::vector<std::string> fens = VariantStartFens();
    ASSERT_EQ(fens.size(), 2u);
    EXPECT_EQ(fens[0], EngineFen(even, false));
    EXPECT_EQ(fens[1], EngineFen(handicap, false));
}

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

TEST(EngineProtocol, LinesParseIntoTheirFieldsAndJunkIntoNothing) {
    using K = TEngineLine::Kind;
    const TEngineLine info =
        ParseEngineLine("info depth 12 seldepth 15 score cp -34 nodes 9 pv c4c5 g7c3+ x9 e1d1");
    EXPECT_EQ(info.Type, K::Info);
    EXPECT_EQ(info.Depth, 12);
    EXPECT_EQ(info.ScoreCp, -34);
    EXPECT_FALSE(info.ScoreMate.has_value());
    EXPECT_EQ(info.Pv, (std::vector<std::string>{"c4c5", "g7c3+"}));

    const TEngineLine mate = ParseEngineLine("info depth 3 score mate -2 pv e1d1");
    EXPECT_EQ(mate.ScoreMate, -2);
    // Numbers past their type's range, or with trailing junk, are left out rather than wrapped.
    const TEngineLine huge = ParseEngineLine("info depth 99999999999 score cp 12x");
    EXPECT_FALSE(huge.Depth.has_value());
    EXPECT_FALSE(huge.ScoreCp.has_value());

    const TEngineLine best = ParseEngineLine("bestmove h6h7+ ponder e9e8\r");
    EXPECT_EQ(best.Type, K::BestMove);
    EXPECT_EQ(best.Move, "h6h7+");
    EXPECT_EQ(best.Ponder, "e9e8");
    const TEngineLine none = ParseEngineLine("bestmove (none)");
    EXPECT_EQ(none.Type, K::BestMove);
    EXPECT_EQ(none.Move, "");

    const TEngineLine option = ParseEngineLine("option name Debug Log File type string default <empty>");
    EXPECT_EQ(option.Type, K::Option);
    EXPECT_EQ(option.Name, "Debug Log File");
    EXPECT_EQ(option.OptionType, "string");
    EXPECT_EQ(option.Default, "");
    const TEngineLine combo =
        ParseEngineLine("option name UCI_Variant type combo default chess var mirutoa var shogi");
    EXPECT_EQ(combo.Vars, (std::vector<std::string>{"mirutoa", "shogi"}));
    const TEngineLine spin = ParseEngineLine("option name Hash type spin default 16 min 1 max 131072");
    EXPECT_EQ(spin.Min, 1);
    EXPECT_EQ(spin.Max, 131072);

    const TEngineLine perft = ParseEngineLine("c3b4: 1");
    EXPECT_EQ(perft.Type, K::PerftMove);
    EXPECT_EQ(perft.Move, "c3b4");
    EXPECT_EQ(ParseEngineLine("Nodes searched: 37").Count, 37u);

    const TEngineLine variant = ParseEngineLine("info string variant mirutoa files 9 ranks 9");
    EXPECT_EQ(variant.Type, K::InfoString);
    EXPECT_EQ(variant.Text, "variant mirutoa files 9 ranks 9");
    EXPECT_EQ(ParseEngineLine("id name Some Engine 1.0").Text, "Some Engine 1.0");
    EXPECT_EQ(ParseEngineLine("uciok").Type, K::UciOk);
    EXPECT_EQ(ParseEngineLine(" \t ").Type, K::Blank);
    for (const char* junk :
         {"bestmove", "bestmove z9z9", "c3b4: many", "Nodes searched: -1", "uciok now", "c3b4:"})
        EXPECT_EQ(ParseEngineLine(junk).Type, K::Other) << junk;
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
        settings.Timeout = std::chrono::milliseconds(300);
        TEngineClient client;
        const TEngineStatus s = client.Start(settings);
        EXPECT_EQ(s.Error, row.Expected) << row.Program << ": " << s.Message;
        EXPECT_TRUE(s.Message.starts_with(row.MessageStart)) << s.Message;
        EXPECT_FALSE(client.Running()) << row.Program;
    }
}
