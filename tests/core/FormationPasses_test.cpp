// COM's formation and positional passes, seen through whole thinks on positions built from moves.
#include "com/Random.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace testing_helpers;

namespace {

int FirstOpenSlot(const TSenpou_Base& s) {
    int k = 0;
    while (k < TSenpou_Base::kSlots && s.StepDone[k] != 0) ++k;
    return k;
}

std::uint32_t SeedAfterDraws(std::uint32_t seed, int draws) {
    for (int i = 0; i < draws; ++i) seed = seed * 134775813u + 1u;
    return seed;
}

} // namespace

TEST(FormationSteps, TheNextStepIsApproachedThenReachedAndMarked) {
    TKyokumenKanri g; // 【基本形】: first step gold 3 to 43
    const TSenpou_Base& kihon = g.Strategy(Kihon);

    TTurn first = PlayTurn(g, "59", "58");
    EXPECT_EQ(MoveText(first.ComMove), "4142com金");
    EXPECT_EQ(first.Stage, ComStage::FormationSteps);
    EXPECT_EQ(kihon.StepDone[0], 0);

    TTurn second = PlayTurn(g, "58", "59");
    EXPECT_EQ(MoveText(second.ComMove), "4243com金");
    EXPECT_EQ(second.Stage, ComStage::FormationSteps);
    EXPECT_EQ(kihon.StepDone[0], 1);
    EXPECT_EQ(kihon.StepDone[1], 0);
    EXPECT_FALSE(kihon.Finished);
}

TEST(FormationSteps, AStepOntoAnAttackedSquareIsMarkedAllTheSame) {
    // 【中飛車】 starts with the pawn 53 to 54, which the human pawn on 55 attacks. The pawn has no
    // other move, so the step is marked and the formation is given up.
    TKyokumenKanri naka;
    naka.SetFormation("【中飛車】");
    Play(naka, {"5756歩", "5655歩"});
    naka.ComThink();
    EXPECT_EQ(naka.Strategy(NakaBisya).StepDone[0], 1);
    EXPECT_TRUE(naka.Strategy(NakaBisya).Finished);
    EXPECT_NE(naka.LastStage(), ComStage::FormationSteps);
    EXPECT_NE(MoveText(naka.ComMove), "5354com歩");

    // The basic formation alone pushes its pawns onto attacked squares: its fifth step, pawn 83 to
    // 84, is played although the human pawn on 85 attacks 84.
    TKyokumenKanri kihon;
    for (int i = 0; i < 4; ++i) kihon.Strategy(Kihon).MarkStepDone();
    Play(kihon, {"8786歩", "8685歩"});
    kihon.ComThink();
    EXPECT_EQ(MoveText(kihon.ComMove), "8384com歩");
    EXPECT_EQ(kihon.LastStage(), ComStage::FormationSteps);
    EXPECT_EQ(kihon.Strategy(Kihon).StepDone[4], 1);
}

TEST(FormationSteps, NoStepOnceComHasLostMoreThanAPawn) {
    // The bishops are exchanged: COM has lost 150.
    TKyokumenKanri g;
    Play(g, {"6665歩", "4445com歩", "7733角成", "2133com桂", "5958王"});
    g.ComThink();
    ASSERT_FALSE(g.ComMove.Empty());
    EXPECT_NE(g.LastStage(), ComStage::FormationSteps);
    EXPECT_NE(MoveText(g.ComMove), "4142com金");
    EXPECT_EQ(g.Strategy(Kihon).StepDone[0], 0);
    for (const auto& s : g.Senpou) EXPECT_TRUE(s->Finished);
}

// One game per formation: the human only walks its king between 59 and 58, and COM builds the
// formation step by step, each move bringing the piece of the current step nearer to its target.
class FormationGame : public testing::TestWithParam<TFormationEntry> {};

TEST_P(FormationGame, ComFollowsTheStepsInOrderWhileNothingThreatensIt) {
    const TFormationEntry entry = GetParam();
    TKyokumenKanri g;
    g.SetFormation(entry.Name);
    const TSenpou_Base& s = g.Strategy(entry.Senpou);

    int turns = 0;
    for (; turns < 40 && !s.Finished; ++turns) {
        const int k = FirstOpenSlot(s);
        const TSenpouStep step = s.Steps[k];
        ASSERT_EQ(step.Type, TSenpouStep::Step);
        const TComa& piece = g.Kyokumen.Gote.Pieces.List[step.Piece];
        const int before =
            std::abs(piece.File - FileOf(step.Target)) + std::abs(piece.Rank - RankOf(step.Target));
        const bool targetAttacked = g.Kyokumen.Sente.Attacks[step.Target] > 0;

        const bool up = turns % 2 == 0;
        const TTurn turn = PlayTurn(g, up ? "59" : "58", up ? "58" : "59");
        ASSERT_EQ(turn.Human.Result, THumanMoveTest::Legal);
        SCOPED_TRACE("step " + step.Text() + ", COM played " + MoveText(turn.ComMove));

        EXPECT_LE(FirstOpenSlot(s), k + 1); // at most one step per move
        if (turn.Stage == ComStage::FormationSteps) {
            EXPECT_EQ(g.Kyokumen.PieceAt[turn.ComMove.To], step.Piece);
            const int after =
                std::abs(piece.File - FileOf(step.Target)) + std::abs(piece.Rank - RankOf(step.Target));
            EXPECT_LT(after, before);
            EXPECT_EQ(s.StepDone[k] == 1, turn.ComMove.To == step.Target);
        } else {
            // Only a step onto a square the human holds ends the formation without being played.
            EXPECT_TRUE(targetAttacked);
            EXPECT_EQ(s.StepDone[k], 1);
            EXPECT_TRUE(s.Finished);
        }
    }
    EXPECT_TRUE(s.Finished) << "after " << turns << " turns";
    for (int k = 0; k < TSenpou_Base::kSlots && s.Steps[k].Type == TSenpouStep::Step; ++k)
        EXPECT_EQ(s.StepDone[k], 1) << "step " << s.Steps[k].Text();
    EXPECT_FALSE(g.FormationInProgress());
}

// Names the formation in the test list instead of dumping the entry's bytes.
void PrintTo(const TFormationEntry& entry, std::ostream* os) {
    *os << entry.Name;
}

INSTANTIATE_TEST_SUITE_P(AllFourteen, FormationGame, testing::ValuesIn(kFormationTable),
                         [](const testing::TestParamInfo<TFormationEntry>& info) {
                             return "Formation" + std::to_string(info.index);
                         });

TEST(AdvanceAlongRookFile, ARookFilePawnThatComHoldsGoesFirst) {
    // Without a formation COM's first move is the rook's pawn (1500), not the pawn on 73, which
    // comes earlier in the list and also draws nearer to 86.
    TKyokumenKanri g;
    g.SetFormation("");
    Play(g, {"5958王"});
    g.ComThink();
    EXPECT_EQ(MoveText(g.ComMove), "8384com歩");
    EXPECT_EQ(g.LastStage(), ComStage::AdvanceAlongRookFile);

    // It goes on into 85, which the human pawn on 86 attacks once and the rook defends once.
    TKyokumenKanri h;
    h.SetFormation("");
    Play(h, {"8384com歩", "8786歩"});
    h.ComThink();
    EXPECT_EQ(MoveText(h.ComMove), "8485com歩");
    EXPECT_EQ(h.LastStage(), ComStage::AdvanceAlongRookFile);
}

TEST(AdvanceAlongRookFile, APieceTwoFilesAwayFromTheRookIsNotPlayed) {
    // The rook's pawn on 84 cannot go on (85 is held twice by the human). The silver 31 to 42 draws
    // nearer to 86 by file and rank but stays more than one file away, so it scores -2000 and the
    // silver 71 to 72 goes instead.
    TKyokumenKanri g;
    g.SetFormation("");
    Play(g, {"8384com歩", "8786歩", "7675歩", "7988銀", "8887銀", "8776銀"});
    g.ComThink();
    EXPECT_EQ(MoveText(g.ComMove), "7172com銀");
    EXPECT_EQ(g.LastStage(), ComStage::AdvanceAlongRookFile);
}

TEST(ApproachHumanKing, TheRookPawnPushScores1000WhileTheRookIsOn82) {
    // From move 41 the opening passes are over and the balance search finds nothing better.
    TKyokumenKanri home;
    home.SetFormation("");
    ShuffleKings(home, 10);
    Play(home, {"1716歩"});
    home.ComThink();
    EXPECT_EQ(MoveText(home.ComMove), "8384com歩");
    EXPECT_EQ(home.LastStage(), ComStage::ApproachHumanKing);

    TKyokumenKanri moved;
    moved.SetFormation("");
    ShuffleKings(moved, 10);
    Play(moved, {"1716歩", "8272com飛", "1615歩"});
    moved.ComThink();
    EXPECT_EQ(moved.LastStage(), ComStage::ApproachHumanKing);
    EXPECT_NE(MoveText(moved.ComMove), "8384com歩");
}

TEST(AttackWithSmallBonus, APromotionIsStoredAsRecordedAndEveryCandidateDrawsOnce) {
    // COM keeps only its king and bishop; the long diagonal 33-99 is open and 99 is not attacked.
    TRandom rng(12345);
    TKyokumenKanri g(rng);
    TakeComPiecesWithTheRook(g, ComPiecesBut({33}));
    Play(g, {"6665歩", "7768角", "9998香"});
    g.ComThink();
    ASSERT_EQ(g.LastStage(), ComStage::AttackWithSmallBonus);
    EXPECT_EQ(MoveText(g.ComMove), "3399com角成");
    EXPECT_EQ(rng.Seed(), SeedAfterDraws(12345, g.Kyokumen.Gote.Moves.Size()));
}

TEST(KingZoneWithBonus, TheRandomBonusDecidesBetweenCloseMoves) {
    // COM keeps its king on 12 and the lance on 11 behind it: only king moves are left, and none
    // scores in the earlier passes. Before the bonus 13 scores 15 and the others -15 to -30, all
    // within the bonus's reach.
    std::set<std::string> chosen;
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        TRandom rng(seed);
        TKyokumenKanri g(rng);
        TakeComPiecesWithTheRook(g, ComPiecesBut({11}));
        Play(g, {"5112com王", "5958王"});
        g.ComThink();
        ASSERT_EQ(g.LastStage(), ComStage::KingZoneWithBonus);
        const int candidates = g.Kyokumen.Gote.Moves.Size();
        EXPECT_EQ(candidates, 4);
        // One draw per candidate in AttackWithSmallBonus and one in KingZoneWithBonus.
        EXPECT_EQ(rng.Seed(), SeedAfterDraws(seed, 2 * candidates));
        chosen.insert(MoveText(g.ComMove));

        // The same draws give the same move.
        const TMove first = g.ComMove;
        rng.SetSeed(seed);
        g.ComThink();
        EXPECT_EQ(g.ComMove, first);
    }
    EXPECT_TRUE(chosen.contains("1213com王"));
    EXPECT_GE(chosen.size(), 2u);
}
