// Games stopped at a random move, saved, opened in a fresh session and played on with the same human
// moves and take-backs must get every COM reply and the whole record of the game that never stopped.
#include "session/RecordKeeper.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

constexpr int kGames = 200;
constexpr int kMaxMoves = 160;

// One thing the human does: a move, or a take-back (from == 0).
struct TAction {
    int From = 0, To = 0;
};

TSessionHooks FixedHooks() {
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2026/12/07 10:00:00"); };
    hooks.TickCount = [] { return std::int64_t(0); };
    return hooks;
}

// The human's next action: now and then a take-back, else a random legal move.
TAction ChooseAction(const TGameSession& s, std::mt19937& rng) {
    if (s.ShownMove() > 0 && !s.MattaUsed() && rng() % 7 == 0) return {};
    const std::vector<TMove> legal = s.LegalMoves();
    if (legal.empty()) return {-1, -1};
    const TMove& m = legal[rng() % legal.size()];
    return {m.From, m.To};
}

// Does a; returns COM's reply (empty for a take-back) and whether the game goes on.
bool Act(TGameSession& s, const TAction& a, TMove& reply) {
    reply = TMove{};
    if (a.From == 0) return s.Matta().Done;
    const TTurnReport r = s.MoveComa_Screen(a.From, a.To);
    if (const TReportedMove* com = r.First(true)) reply = com->Shown;
    return r.Result == Outcome::Continues;
}

} // namespace

// Game g starts even or handicapped in turn, with the formations in turn; a few pick another formation
// after taking the first move back. Even games are played on from an opened record, odd ones resumed as
// the kept game.
TEST(PlayOn, AStoppedGamePlayedOnMatchesTheGameThatNeverStopped) {
    std::mt19937 rng(20261207u);
    QuietView view;
    TGameSession whole(view, FixedHooks());
    whole.Start();
    char folderTemplate[] = "/tmp/mirutoa-playon-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;
    TRecordKeeper keeper(folder);
    int takeBacks = 0, played = 0;
    for (int g = 0; g < kGames; ++g) {
        whole.PickFormation(kFormationList[std::size_t(g % 14)]);
        g % 2 == 0 ? whole.NewGame() : whole.NewHandicapGame();
        if (g % 10 == 3) {
            TMove reply;
            ASSERT_TRUE(Act(whole, ChooseAction(whole, rng), reply));
            ASSERT_TRUE(whole.Matta().Done);
            whole.PickFormation(kFormationList[std::size_t((g + 5) % 14)]);
        }
        const int stop = 2 * int(rng() % 60);
        bool goesOn = true;
        TMove reply;
        while (goesOn && whole.ShownMove() < stop) {
            const TAction a = ChooseAction(whole, rng);
            takeBacks += a.From == 0;
            goesOn = a.From >= 0 && Act(whole, a, reply);
        }
        if (!goesOn) continue;
        const std::filesystem::path saved = folder / ("game" + std::to_string(g) + ".kifu");
        whole.SaveRecord(saved);
        const std::uint32_t seed = whole.Rng().Seed();
        const bool mattaUsed = whole.MattaUsed();

        std::vector<TAction> actions;
        std::vector<TMove> replies;
        while (goesOn && whole.ShownMove() < kMaxMoves) {
            actions.push_back(ChooseAction(whole, rng));
            if (actions.back().From < 0) break;
            takeBacks += actions.back().From == 0;
            goesOn = Act(whole, actions.back(), reply);
            replies.push_back(reply);
        }

        QuietView freshView;
        TGameSession fresh(freshView, FixedHooks());
        fresh.Start();
        fresh.SetRecordKeeper(&keeper);
        if (g % 2 == 0) {
            const int moves = fresh.OpenRecord(saved);
            fresh.ShowMove(moves);
            ASSERT_EQ(fresh.PlayOn(), moves) << "game " << g;
        } else {
            fresh.ContinueKept(saved);
            EXPECT_EQ(keeper.CurrentFile(), saved) << "game " << g;
        }
        ASSERT_EQ(fresh.Rng().Seed(), seed) << "game " << g;
        ASSERT_EQ(fresh.MattaUsed(), mattaUsed) << "game " << g;
        ASSERT_TRUE(fresh.HumanToMove()) << "game " << g;
        for (std::size_t i = 0; i < actions.size() && actions[i].From >= 0; ++i) {
            Act(fresh, actions[i], reply);
            ASSERT_EQ(reply, replies[i]) << "game " << g << ", action " << i;
        }
        ASSERT_EQ(fresh.KifText(), whole.KifText()) << "game " << g;
        ++played;
    }
    std::filesystem::remove_all(folder);
    EXPECT_GT(played, kGames / 2);
    EXPECT_GT(takeBacks, kGames / 2);
}
