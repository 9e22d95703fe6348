// Variations played within a record: a line branched off an earlier position must get every COM reply
// of the game that took that line without a break, a variation branched off a variation nests, and the
// whole tree survives the record's text and a fresh session's opening of it. A take-back stops where
// the variation leaves its line.
#include "session/Kif.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

constexpr int kGames = 150;

TSessionHooks FixedHooks() {
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2026/12/08 10:00:00"); };
    hooks.TickCount = [] { return std::int64_t(0); };
    return hooks;
}

void Begin(TGameSession& s, int g) {
    s.PickFormation(kFormationList[std::size_t(g % 14)]);
    s.Rng().SetSeed(std::uint32_t(1000 + g));
    g % 3 == 2 ? s.NewHandicapGame() : s.NewGame();
}

// Random moves of the person until the game has `until` moves or ends; whether it goes on.
bool PlayRandomly(TGameSession& s, std::mt19937& rng, int until) {
    while (s.MoveCount() < until) {
        const std::vector<TMove> legal = s.LegalMoves();
        if (legal.empty()) return false;
        const TMove& m = legal[rng() % legal.size()];
        if (s.MoveComa_Screen(m.From, m.To).Result != Outcome::Continues) return false;
    }
    return true;
}

// The person's move of a line, with COM's reply as the line has it; whether both came out so.
bool Replay(TGameSession& s, const std::vector<TMove>& line, std::size_t i) {
    const TTurnReport r = s.MoveComa_Screen(line[i].From, line[i].To);
    if (i + 1 >= line.size()) return true;
    const TReportedMove* com = r.First(true);
    return com != nullptr && com->Shown == line[i + 1];
}

// Game g's tree: a main line stopped or ended somewhere, the unbroken game of another move at one of its
// positions played again as a variation of it (every COM reply checked), and now and then a variation of
// that variation. The tree's record, or Variations empty when the game gave no place to branch.
void GrowTree(int g, std::mt19937& rng, TKifRecord& record, int& nested) {
    record = {};
    QuietView treeView;
    TGameSession tree(treeView, FixedHooks());
    tree.Start();
    Begin(tree, g);
    PlayRandomly(tree, rng, 2 + 2 * int(rng() % 40));
    const int length = tree.MoveCount();
    if (length < 2) return;
    const int at = 2 * int(rng() % std::uint32_t(length / 2)); // the person is to move there
    const std::vector<TMove> main = tree.LineRecord().Shown;

    // The unbroken game: the main line's first `at` moves, then another move of the person's.
    QuietView wholeView;
    TGameSession whole(wholeView, FixedHooks());
    whole.Start();
    Begin(whole, g);
    for (int i = 0; i < at; i += 2) ASSERT_TRUE(Replay(whole, main, std::size_t(i))) << "game " << g;
    std::vector<TMove> legal = whole.LegalMoves();
    std::erase_if(legal, [&](const TMove& m) {
        return m.From == main[std::size_t(at)].From && m.To == main[std::size_t(at)].To;
    });
    if (legal.empty()) return;
    const TMove first = legal[rng() % legal.size()];
    if (whole.MoveComa_Screen(first.From, first.To).Result == Outcome::Continues)
        PlayRandomly(whole, rng, at + 2 + 2 * int(rng() % 20));
    const std::vector<TMove> line = whole.KifRecord().Shown;

    // The same line branched off the main line at that position.
    tree.ShowMove(at);
    ASSERT_EQ(tree.Branch(), at) << "game " << g;
    for (std::size_t i = std::size_t(at); i < line.size(); i += 2)
        ASSERT_TRUE(Replay(tree, line, i)) << "game " << g << ", move " << i + 1;
    ASSERT_EQ(tree.LineRecord().Shown, line) << "game " << g;
    ASSERT_EQ(tree.LineCount(), 2);
    ASSERT_EQ(tree.Alternatives(at + 1).size(), 2u);

    // A variation of the variation, when it is long enough.
    if (int(line.size()) >= at + 4) {
        tree.ShowMove(at + 2);
        ASSERT_EQ(tree.Branch(), at + 2) << "game " << g;
        const TMove& taken = line[std::size_t(at) + 2];
        std::vector<TMove> own = tree.LegalMoves();
        std::erase_if(own, [&](const TMove& m) { return m.From == taken.From && m.To == taken.To; });
        if (!own.empty()) {
            const TMove m = own[rng() % own.size()];
            tree.MoveComa_Screen(m.From, m.To);
            ++nested;
        }
    }
    record = tree.KifRecord();
}

} // namespace

TEST(Variations, ABranchPlaysAsTheUnbrokenGameAndTheTreeSurvivesTheRecord) {
    std::mt19937 rng(20261208u);
    int branched = 0, nested = 0;
    for (int g = 0; g < kGames; ++g) {
        TKifRecord record;
        ASSERT_NO_FATAL_FAILURE(GrowTree(g, rng, record, nested));
        if (record.Variations.empty()) continue;
        ++branched;

        // The record's text reads back as the same tree, and a fresh session shows every line of it.
        const std::string text = WriteKif(record);
        ASSERT_EQ(WriteKif(ReadKif(text)), text) << "game " << g;
        QuietView freshView;
        TGameSession fresh(freshView, FixedHooks());
        fresh.Start();
        fresh.OpenKifText(text);
        ASSERT_EQ(fresh.KifText(), text) << "game " << g;
        ASSERT_EQ(fresh.LineCount(), int(record.Variations.size()) + 1) << "game " << g;
        for (int k = 0; k < fresh.LineCount(); ++k) {
            ASSERT_TRUE(fresh.EnterLine(k, 0));
            ASSERT_EQ(fresh.LineRecord().Shown, record.PathShown(k - 1)) << "game " << g << ", line " << k;
        }
    }
    EXPECT_GT(branched, kGames * 3 / 4);
    EXPECT_GT(nested, kGames / 3);
}

// The records' lines of play as the public KIF reader gives them back: every line's moves from the start
// as USI squares (the reader checks promotions against its own rules of ordinary shogi).
TEST(Variations, ThePublicKifReaderReadsTheSameLines) {
    const char* script = std::getenv("MIRUTOA_KIF_READER");
    const char* modules = std::getenv("MIRUTOA_KIF_READER_MODULES");
    if (!script || !modules || !std::filesystem::exists(std::filesystem::path(modules) / "tsshogi"))
        GTEST_SKIP() << "the public KIF reader is not installed (tests/robust/install-kif-reader.sh)";
    char folderTemplate[] = "/tmp/mirutoa-variations-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;
    auto usi = [](int sq) { return std::to_string(sq / 10) + char('a' + sq % 10 - 1); };
    std::mt19937 rng(8);
    int written = 0, nested = 0;
    for (int g = 0; g < 40; ++g) {
        TKifRecord record;
        ASSERT_NO_FATAL_FAILURE(GrowTree(g, rng, record, nested));
        if (record.Variations.empty()) continue;
        const std::string name = "tree" + std::to_string(g);
        std::ofstream(folder / (name + ".kifu"), std::ios::binary) << WriteKif(record);
        std::ofstream lines(folder / (name + ".lines"), std::ios::binary);
        for (int k = -1; k < int(record.Variations.size()); ++k) {
            std::string moves;
            for (const TMove& m : record.PathShown(k))
                moves += (moves.empty() ? "" : " ") + usi(m.From) + usi(m.To);
            lines << moves << "\n";
        }
        ++written;
    }
    const std::string command =
        "node '" + std::string(script) + "' '" + folder.string() + "' '" + modules + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_GT(written, 30);
    std::filesystem::remove_all(folder);
}

// After a branch the take-back goes back to where the variation began and no further; the refusal
// leaves the game as it was.
TEST(Variations, ATakeBackStopsWhereTheVariationBegins) {
    QuietView view;
    TGameSession s(view, FixedHooks());
    s.Start();
    s.NewGame();
    std::mt19937 rng(5);
    ASSERT_TRUE(PlayRandomly(s, rng, 6));
    s.ShowMove(4);
    ASSERT_EQ(s.Branch(), 4);
    EXPECT_FALSE(s.Matta().Done);
    EXPECT_EQ(s.MoveCount(), 4);
    ASSERT_TRUE(PlayRandomly(s, rng, 6));
    EXPECT_TRUE(s.Matta().Done);
    EXPECT_EQ(s.MoveCount(), 4);
    EXPECT_EQ(s.LineCount(), 2);
}
