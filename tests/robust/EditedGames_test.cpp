// Whole games from positions set up at random: COM on either side or on both, whichever side moves
// first. Every COM move is one of the rules' legal moves (or the foul its formation steps can make, which
// ends the game), nothing fails, and every record opens again to the same start, board and end. COM
// keeps building its formation only while the pieces its steps move are on the board.
#include "support/EditedPositions.h"
#include "support/Invariants.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

TEST(EditedGames, ComPlaysWholeGamesFromPositionsItDidNotBuild) {
    QuietView view;
    TSessionHooks hooks;
    hooks.TickCount = [] { return std::int64_t(0); };
    TGameSession s(view, hooks);
    s.Start();
    std::mt19937 rng(20260118u);
    std::map<std::string, int> ends;
    int building = 0, givenUp = 0;
    for (int g = 0; g < 150; ++g) {
        const TEditedStart start = testing_helpers::RandomEditedStart(rng);
        const TSeat com = TSeat::Com(std::string(kFormationList[std::size_t(g % 14)]));
        const TSeats seats = g % 3 == 0   ? TSeats{{TSeat::Human(), com}}
                             : g % 3 == 1 ? TSeats{{com, TSeat::Human()}}
                                          : TSeats{{com, TSeat::Com()}};
        s.SetSeats(seats);
        s.NewGameFrom(start);
        view.Boxes.clear();
        bool firstComMove = true;
        while (!s.GameOver() && s.MoveCount() < 150) {
            TTurnReport r;
            const bool computer = s.ComputerToMove();
            if (computer) {
                r = s.Go();
            } else {
                ASSERT_TRUE(s.HumanToMove()) << "game " << g;
                const std::vector<TMove> legal = s.LegalMoves();
                const TMove m = legal[rng() % legal.size()];
                r = s.MoveComa_Screen(m.From, m.To);
            }
            ASSERT_TRUE(r.Result == Outcome::Continues || r.Result == Outcome::GameOver)
                << "game " << g << " move " << s.MoveCount() << ": outcome " << int(r.Result)
                << (r.Boxes.empty() ? "" : ", box: " + r.Boxes.front());
            if (const TReportedMove* m = r.First(true); m && firstComMove && !s.GameOver()) {
                firstComMove = false;
                const TKyokumenKanri* kanri = s.ComKanri(m->Mover);
                (kanri->FormationInProgress() ? building : givenUp)++;
            }
        }
        ASSERT_EQ(invariants::RecordFault(s), "") << "game " << g;
        ASSERT_LE(view.Boxes.size(), s.GameOver() ? 1u : 0u) << "game " << g;
        QuietView openedView;
        TGameSession opened(openedView);
        opened.Start();
        ASSERT_EQ(opened.OpenKifText(s.KifText()), s.MoveCount()) << "game " << g;
        EXPECT_EQ(opened.EditedStart(), s.EditedStart()) << "game " << g;
        opened.ReplayTo(opened.MoveCount());
        EXPECT_EQ(opened.BoardPosition().Board, s.Position().Board) << "game " << g;
        EXPECT_EQ(opened.Ending(), s.Ending()) << "game " << g;
        static const char* const kinds[] = {"going on", "mate",       "bare king", "resign",
                                            "no move",  "repetition", "perpetual", "foul"};
        ++ends[kinds[int(s.Ending().Kind)]];
    }
    std::string line;
    for (const auto& [end, n] : ends) line += " " + end + ": " + std::to_string(n) + ";";
    std::printf("150 games from set-ups:%s COM still building its formation after its first move in %d, "
                "given up in %d\n",
                line.c_str(), building, givenUp);
    EXPECT_GT(givenUp, 0);
}
