// The soak: many whole games through the game session against COM, the human's moves drawn at random,
// with the position's tables checked after every move and the record after every turn.
#include "support/Invariants.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

using scripted_play::PlayRandomTurn;
using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

constexpr int kMaxMoves = 300;

// MIRUTOA_SOAK_GAMES overrides the number of games.
int SoakGames() {
    const char* text = std::getenv("MIRUTOA_SOAK_GAMES");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 1000;
}

std::string Ending(const TTurnReport& r) {
    const std::string who = r.Ending.Loser == Side::Sente ? "human" : "COM";
    switch (r.Ending.Kind) {
    case EndKind::Mate:
        return who + " mated";
    case EndKind::BareKing:
        return who + "'s king alone";
    case EndKind::NoMove:
        return who + " without a move";
    case EndKind::Repetition:
        return "repetition";
    case EndKind::PerpetualCheck:
        return who + " checked perpetually";
    case EndKind::Resign:
        return who + " resigned";
    case EndKind::IllegalMove:
        return who + "'s foul";
    default:
        return "?";
    }
}

} // namespace

// Game g: COM's formation g mod 14 (as picked in the list), the even start for the first fourteen of
// every twenty-eight games and the start without the human's rook and bishop for the others.
TEST(Soak, RandomGamesKeepThePositionAndTheRecordSound) {
    const int games = SoakGames();
    const auto t0 = std::chrono::steady_clock::now();
    std::mt19937 human(20240611u);
    QuietView view;
    TGameSession session(view);
    session.Start();
    std::string fault;
    view.OnPending = [&] {
        if (fault.empty()) fault = invariants::PositionFault(session.BoardPosition());
    };

    std::map<std::string, int> endings;
    long long moves = 0;
    for (int g = 0; g < games; ++g) {
        const std::string_view formation = kFormationList[std::size_t(g % 14)];
        session.PickFormation(formation);
        if ((g / 14) % 2 == 0)
            session.NewGame();
        else
            session.NewHandicapGame();
        ASSERT_EQ(session.ComKanri(Side::Gote)->FormationName, formation);
        ASSERT_EQ(invariants::RecordFault(session), "");

        std::string ending = "300 moves";
        while (session.ShownMove() < kMaxMoves) {
            view.Boxes.clear();
            const TTurnReport r = PlayRandomTurn(session, human);
            if (fault.empty()) fault = invariants::PositionFault(session.BoardPosition());
            ASSERT_EQ(fault, "") << "game " << g << " after move " << session.ShownMove();
            ASSERT_EQ(invariants::RecordFault(session), "") << "game " << g;
            // The referee judges a side without a move: the human always has one while the game goes on.
            ASSERT_NE(r.Result, Outcome::Illegal) << "game " << g << " move " << session.ShownMove();
            ASSERT_TRUE(r.Result == Outcome::Continues || r.Result == Outcome::GameOver)
                << "game " << g << " move " << session.ShownMove() << ": outcome " << int(r.Result)
                << (r.Boxes.empty() ? "" : ", box: " + r.Boxes.front());
            if (r.Result == Outcome::Continues) {
                ASSERT_FALSE(session.GameOver());
                continue;
            }
            ASSERT_TRUE(session.GameOver());
            ASSERT_TRUE(session.ReplayMode());
            ASSERT_EQ(view.Boxes.size(), 1u) << "game " << g << ": " << view.Boxes.back();
            ending = Ending(r);
            break;
        }
        ++endings[ending];
        moves += session.ShownMove();

        // A finished game replays to the position it ended in.
        if (session.GameOver()) {
            const std::vector<std::string> final = session.BoardPosition().BoardList();
            session.ReplayToStart();
            while (std::size_t(session.ShownMove()) < session.MoveHistory().size()) session.ReplayOne();
            ASSERT_EQ(session.BoardPosition().BoardList(), final) << "game " << g;
            ASSERT_EQ(invariants::PositionFault(session.BoardPosition()), "") << "game " << g;
        }
    }

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::string summary;
    for (const auto& [ending, n] : endings) summary += " " + ending + ": " + std::to_string(n) + ";";
    std::printf("soak: %d games, %lld moves in %.1f s;%s\n", games, moves, seconds, summary.c_str());
}
