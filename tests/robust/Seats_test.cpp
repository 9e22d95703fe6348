// Whole games for each pairing of seats the window offers: COM moving first against a person, two
// people at one board, COM against COM. Every game reaches an end or the move cap with no error, and its
// record opens again to the same final board, the same seats and the same end.
#include "support/Invariants.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

constexpr int kMoveCap = 300;

// A person's move: a random legal one, or (greedy) the most valuable capture when there is one.
TMove PersonMove(const TGameSession& s, bool greedy, std::mt19937& rng) {
    const std::vector<TMove> legal = s.LegalMoves();
    TMove pick = legal[rng() % legal.size()];
    if (greedy)
        for (const TMove& m : legal)
            if (s.Position().ValueAt[m.To] > s.Position().ValueAt[pick.To]) pick = m;
    return pick;
}

std::string EndName(const TGameEnd& e) {
    static const char* const kinds[] = {"going on", "mate",       "bare king", "resign",
                                        "no move",  "repetition", "perpetual", "foul"};
    return std::string(kinds[int(e.Kind)]) +
           (e.Over() && !e.Draw() ? (e.Loser == Side::Sente ? " ▲" : " △") : "");
}

struct TPlan {
    TSeats Seats;
    bool Handicap = false;
    bool Greedy = false;
    bool TakeBacks = false;
};

// Plays one game to its end or the cap: people by the plan (now and then taking a move back), the
// computers when asked, as the window asks them. Returns how it ended.
std::string PlayGame(TGameSession& s, QuietView& view, const TPlan& plan, std::mt19937& rng, int game) {
    s.SetSeats(plan.Seats);
    plan.Handicap ? s.NewHandicapGame() : s.NewGame();
    EXPECT_EQ(s.Seats(), plan.Seats);
    view.Boxes.clear();
    while (!s.GameOver() && s.MoveCount() < kMoveCap) {
        TTurnReport r;
        if (s.ComputerToMove()) {
            r = s.Go();
        } else {
            EXPECT_TRUE(s.HumanToMove()) << "game " << game << ": nobody is asked at move " << s.MoveCount();
            if (!s.HumanToMove()) break;
            if (plan.TakeBacks && s.MoveCount() > 2 && !s.MattaUsed() && rng() % 9 == 0) {
                EXPECT_TRUE(s.Matta().Done) << "game " << game << " move " << s.MoveCount();
                continue;
            }
            const TMove m = PersonMove(s, plan.Greedy, rng);
            r = s.MoveComa_Screen(m.From, m.To);
        }
        EXPECT_TRUE(r.Result == Outcome::Continues || r.Result == Outcome::GameOver)
            << "game " << game << " move " << s.MoveCount() << ": outcome " << int(r.Result)
            << (r.Boxes.empty() ? "" : ", box: " + r.Boxes.front());
        if (r.Result != Outcome::Continues && r.Result != Outcome::GameOver) break;
    }
    // The only box a game shows is the one that ends it.
    EXPECT_LE(view.Boxes.size(), s.GameOver() ? 1u : 0u) << "game " << game << ": " << view.Boxes.front();
    EXPECT_EQ(invariants::RecordFault(s), "") << "game " << game;

    // The record opens again to the same board, seats and end.
    QuietView openedView;
    TGameSession opened(openedView);
    opened.Start();
    EXPECT_EQ(opened.OpenKifText(s.KifText()), s.MoveCount()) << "game " << game;
    opened.ReplayTo(opened.MoveCount());
    EXPECT_EQ(opened.BoardPosition().Board, s.Position().Board) << "game " << game;
    EXPECT_EQ(opened.Seats(), s.Seats()) << "game " << game;
    EXPECT_EQ(opened.Ending(), s.Ending()) << "game " << game;
    return s.GameOver() ? EndName(s.Ending()) : std::to_string(kMoveCap) + " moves";
}

void Summarise(const char* what, const std::map<std::string, int>& ends) {
    std::string line;
    for (const auto& [end, n] : ends) line += " " + end + ": " + std::to_string(n) + ";";
    std::printf("%s:%s\n", what, line.c_str());
}

} // namespace

// COM first against a person who plays second: the person moves at random or greedily, even and
// handicap starts (COM without its rook and bishop), the formations in turn, take-backs now and then.
TEST(Seats, ComFirstPlaysWholeGamesAgainstAPerson) {
    QuietView view;
    TGameSession s(view);
    s.Start();
    std::mt19937 rng(20261208u);
    std::map<std::string, int> ends;
    for (int g = 0; g < 200; ++g) {
        TPlan plan;
        plan.Seats = {{TSeat::Com(std::string(kFormationList[std::size_t(g % 14)])), TSeat::Human()}};
        plan.Handicap = g % 4 >= 2;
        plan.Greedy = g % 2 == 1;
        plan.TakeBacks = g % 3 == 0;
        ++ends[PlayGame(s, view, plan, rng, g)];
        if (::testing::Test::HasFailure()) return;
    }
    Summarise("COM first", ends);
}

TEST(Seats, TwoPeoplePlayWholeGamesAtOneBoard) {
    QuietView view;
    TGameSession s(view);
    s.Start();
    std::mt19937 rng(20261209u);
    std::map<std::string, int> ends;
    for (int g = 0; g < 100; ++g) {
        TPlan plan;
        plan.Seats = {{TSeat::Human(), TSeat::Human()}};
        plan.Handicap = g % 5 == 4;
        plan.Greedy = g % 2 == 1;
        plan.TakeBacks = g % 4 == 0;
        ++ends[PlayGame(s, view, plan, rng, g)];
        if (::testing::Test::HasFailure()) return;
    }
    Summarise("two people", ends);
}

TEST(Seats, ComAgainstComPlaysWholeGamesWithTwoFormations) {
    QuietView view;
    TGameSession s(view);
    s.Start();
    std::mt19937 rng(20261210u);
    std::map<std::string, int> ends;
    for (int g = 0; g < 50; ++g) {
        TPlan plan;
        plan.Seats = {{TSeat::Com(std::string(kFormationList[std::size_t(g % 14)])),
                       TSeat::Com(std::string(kFormationList[std::size_t((g * 5 + 3) % 14)]))}};
        plan.Handicap = g % 5 == 4;
        ++ends[PlayGame(s, view, plan, rng, g)];
        if (::testing::Test::HasFailure()) return;
    }
    Summarise("COM against COM", ends);
}
