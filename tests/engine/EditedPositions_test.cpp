// Positions set up by hand and the engine: it takes every position text the game writes, scripted games'
// positions and random set-ups alike, and lists the legal moves the game does; and it plays out games
// from set-ups against a scripted player on either side, whose records open again to the same board.
#include "EngineTest.h"
#include "engine/EngineClient.h"
#include "engine/EngineNotation.h"
#include "session/Analysis.h"
#include "session/EnginePlay.h"
#include "support/EditedPositions.h"
#include "support/ScriptedPlay.h"
#include "support/SelfPlay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace testing_helpers;
using scripted_play::QuietView;

using namespace engine_test;

namespace {

std::set<std::string> GameMoves(const TKyokumen& k, Side side) {
    TMoveList legal;
    LegalMoves(k, side, legal);
    std::set<std::string> moves;
    for (const TMove& m : legal) moves.insert(EngineMoveText(m));
    return moves;
}

} // namespace

TEST(EngineFen, TheEngineTakesEveryPositionTextAndListsTheGamesLegalMoves) {
    SKIP_WITHOUT_ENGINE();
    TEngineClient engine;
    ASSERT_TRUE(engine.Start(Settings()));
    ASSERT_TRUE(engine.SelectVariant("mirutoa"));
    std::mt19937 rng(20260116);
    int compared = 0, edited = 0;
    const auto compare = [&](const TKyokumen& k, Side side) {
        const std::string fen = EngineFen(k, side == Side::Gote);
        // The text goes to the engine as the game reads it back.
        const TFenPosition read = ParseEngineFen(fen);
        TKyokumen again;
        again.SetupFromBoard(read.Board, read.ToMove == Side::Gote);
        ASSERT_TRUE(engine.SetPosition(again, read.ToMove == Side::Gote)) << fen;
        std::vector<std::string> listed;
        ASSERT_TRUE(engine.LegalMoves(listed)) << fen;
        EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), GameMoves(k, side)) << fen;
        ++compared;
    };
    // Scripted games from the three starts, random moves on both sides.
    for (int game = 0; compared < 1000; ++game) {
        TKyokumen k;
        if (game % 3 == 1) k.SetupHisyaKaku();
        if (game % 3 == 2) k.SetupHisyaKaku(Side::Gote);
        for (int move = 0; move < 100; ++move) {
            const Side side = SideToMove(k);
            TMoveList legal;
            LegalMoves(k, side, legal);
            if (legal.IsEmpty() || PiecesLeft(k.Board, side) == 1) break;
            compare(k, side);
            if (::testing::Test::HasFailure()) return;
            k.ApplyMove(legal[int(UniformBelow(rng, std::uint32_t(legal.Size())))]);
            k.ComToMove = side == Side::Sente;
        }
    }
    // Positions set up at random.
    for (; edited < 400; ++edited) {
        const TEditedStart start = RandomEditedStart(rng);
        compare(KifStartPosition(KifStart::Edited, start), start.ToMove);
        if (::testing::Test::HasFailure()) return;
    }
    std::printf("%d positions: the engine listed the game's legal moves in each\n", compared);
}

TEST(EnginePlay, GamesFromPositionsSetUpByHandArePlayedOutAgainstTheEngine) {
    SKIP_WITHOUT_ENGINE();
    QuietView view;
    TEngineSeat seat(Settings());
    TSessionHooks hooks;
    hooks.Engine = &seat;
    TGameSession s(view, hooks);
    s.Start();
    std::mt19937 rng(20260117);
    int moves = 0, ended = 0;
    for (int game = 0; game < 8; ++game) {
        const TEditedStart start = RandomEditedStart(rng);
        const TSeats seats = game % 2 == 0 ? TSeats{{TSeat::Human(), TSeat::Engine(1)}}
                                           : TSeats{{TSeat::Engine(1), TSeat::Human()}};
        s.SetSeats(seats);
        s.NewGameFrom(start);
        view.Boxes.clear();
        while (!s.GameOver() && s.MoveCount() < 30) {
            TTurnReport r;
            if (s.ComputerToMove()) {
                r = s.Go();
            } else {
                const std::vector<TMove> legal = s.LegalMoves();
                ASSERT_FALSE(legal.empty());
                const TMove m = legal[rng() % legal.size()];
                r = s.MoveComa_Screen(m.From, m.To);
            }
            if (r.Result == TTurnReport::Outcome::Pending) seat.Wait();
            ASSERT_FALSE(s.ReplyPending());
            ASSERT_TRUE(view.Boxes.empty() || s.GameOver()) << "game " << game << ": " << view.Boxes.front();
            ASSERT_NE(r.Result, TTurnReport::Outcome::ComFailed) << "game " << game;
        }
        moves += s.MoveCount();
        ended += s.GameOver();
        // The record opens again to the same start and the same board.
        QuietView openedView;
        TGameSession opened(openedView);
        opened.Start();
        ASSERT_EQ(opened.OpenKifText(s.KifText()), s.MoveCount()) << "game " << game;
        EXPECT_EQ(opened.EditedStart(), s.EditedStart()) << "game " << game;
        opened.ReplayTo(opened.MoveCount());
        EXPECT_EQ(opened.BoardPosition().Board, s.Position().Board) << "game " << game;
        EXPECT_EQ(opened.Ending(), s.Ending()) << "game " << game;
    }
    std::printf("8 games from set-ups against the engine: %d moves, %d ended\n", moves, ended);
}

// The analysis of a game whose second player moved first: each position is searched for the side
// that is to move in it.
TEST(Analysis, AGameFromASetUpWithTheSecondPlayerFirstIsSearchedForTheSideToMove) {
    SKIP_WITHOUT_ENGINE();
    TEngineSeat seat(Settings());
    TGameAnalysis analysis(seat);
    TKifRecord record;
    record.Start = KifStart::Edited;
    const TFenPosition p = ParseEngineFen("lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL b");
    record.Edited = {p.Board, p.ToMove};
    TKyokumen k = KifStartPosition(record);
    for (Side side : {Side::Gote, Side::Sente}) {
        TMoveList legal;
        LegalMoves(k, side, legal);
        record.Played.push_back(legal[0]);
        k.ComToMove = side == Side::Gote;
        k.ApplyMove(legal[0]);
        k.ComToMove = side == Side::Sente;
    }
    record.Shown = record.Played;
    TAnalysisSettings quick;
    quick.Nodes = 10'000;
    analysis.Start(record, quick);
    analysis.Wait();
    ASSERT_TRUE(analysis.Complete()) << analysis.Error();
    ASSERT_EQ(analysis.Evals().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(analysis.Evals()[i].Best.rfind(i == 1 ? "▲" : "△", 0), 0u)
            << i << ": " << analysis.Evals()[i].Best;
}
