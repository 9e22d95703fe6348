// The position reuses maps it built before (a take-back, the same move played again from the same
// board) and counts attacks after a move without playing it. Both must give exactly what a rebuild of
// the maps gives, whatever was done to the position in between.
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using testing_helpers::PositionState;
using testing_helpers::StateDifference;
using testing_helpers::StateOf;

namespace {

// The maps and sums a rebuild gives for the board k holds now.
PositionState Rebuilt(const TKyokumen& k) {
    TKyokumen copy = k;
    copy.ClearThreatSums();
    copy.ComputeHumanMaps();
    copy.ComputeComMaps();
    copy.ComputeThreats();
    return StateOf(copy);
}

const TMove& LastRecord(const TKyokumen& k) {
    return k.ComToMove ? k.Gote.LastMove : k.Sente.LastMove;
}

} // namespace

// Random walks that play, take back and replay moves, and in between generate moves (which adds to
// COM's map) and call the map functions on their own (which doubles the threat sums), as the searches
// do. After every move and take-back the position must hold what a rebuild gives.
TEST(MapReuse, MovesAndTakeBacksGiveTheRebuiltMaps) {
    std::mt19937 rng(31337u);
    for (int game = 0; game < 40; ++game) {
        TKyokumen k;
        if (game % 3 == 1) k.SetupHisyaKaku();
        if (game % 3 == 2) k.SetupTestPosition();
        for (int ply = 0; ply < 60; ++ply) {
            k.ComToMove = ply % 2 == 1;
            k.GenerateMoves();
            const TMoveList moves = k.ComToMove ? k.Gote.Moves : k.Sente.Moves;
            if (moves.IsEmpty()) break;
            for (int probe = 0; probe < 6; ++probe) {
                const TMove m = moves[int(rng() % unsigned(moves.Size()))];
                if (ply > 0 && rng() % 2) {
                    // After a move the maps are a rebuild's: generating and rebuilding without clearing the
                    // threat sums doubles them and leaves everything else as a rebuild makes it.
                    PositionState doubled = Rebuilt(k);
                    for (TComa& p : doubled.Human) p.ThreatSum *= 2;
                    for (TComa& p : doubled.Com) p.ThreatSum *= 2;
                    k.GenerateMoves();
                    k.ComputeHumanMaps();
                    k.ComputeComMaps();
                    k.ComputeThreats();
                    ASSERT_EQ(StateDifference(StateOf(k), doubled), "");
                }
                k.ApplyMove(m);
                ASSERT_EQ(StateDifference(StateOf(k), Rebuilt(k)), "") << "after " << MoveText(m);
                k.UndoMove(LastRecord(k));
                ASSERT_EQ(StateDifference(StateOf(k), Rebuilt(k)), "") << "after taking back " << MoveText(m);
            }
            k.ApplyMove(moves[int(rng() % unsigned(moves.Size()))]);
            if (k.Sente.Pieces.List[kKingIndex].Captured || k.Gote.Pieces.List[kKingIndex].Captured) break;
        }
    }
}

// A copy starts without the reused maps; taking back on the copy, or taking back a move that is not
// the last one played, must still rebuild correctly.
TEST(MapReuse, CopiesAndOutOfOrderTakeBacksRebuild) {
    TKyokumen k;
    testing_helpers::Play(k, {"7675歩", "8384com歩", "2726歩", "8485com歩"});
    TKyokumen copy = k;
    copy.ComToMove = true;
    copy.UndoMove(copy.Gote.LastMove);
    EXPECT_EQ(StateDifference(StateOf(copy), Rebuilt(copy)), "");

    // The human's 2726 was not the last move played, but it can be taken back on its own.
    k.ComToMove = false;
    k.UndoMove(ParseMoveText("2726歩"));
    EXPECT_EQ(StateDifference(StateOf(k), Rebuilt(k)), "");
    k.ApplyMove(ParseMoveText("2726歩"));
    EXPECT_EQ(StateDifference(StateOf(k), Rebuilt(k)), "");
}

// The count after a move without playing it agrees with playing it, on every square, for both sides.
TEST(MapReuse, AttackCountAfterAgreesWithPlayingTheMove) {
    std::mt19937 rng(2024u);
    for (int game = 0; game < 12; ++game) {
        TKyokumen k;
        if (game % 3 == 1) k.SetupHisyaKaku();
        if (game % 3 == 2) k.SetupTestPosition();
        for (int ply = 0; ply < 80; ++ply) {
            k.ComToMove = ply % 2 == 1;
            k.GenerateMoves();
            const TMoveList moves = k.ComToMove ? k.Gote.Moves : k.Sente.Moves;
            if (moves.IsEmpty()) break;
            for (const TMove& m : moves) {
                int counted[2][kSquareCount];
                for (int side = 0; side < 2; ++side)
                    for (int sq = 0; sq < kSquareCount; ++sq)
                        counted[side][sq] = k.AttackCountAfter(m, side == 1, sq);
                k.ApplyMove(m);
                for (int sq = 0; sq < kSquareCount; ++sq) {
                    ASSERT_EQ(counted[0][sq], k.Sente.Attacks[sq]) << MoveText(m) << " human, square " << sq;
                    ASSERT_EQ(counted[1][sq], k.Gote.Attacks[sq]) << MoveText(m) << " COM, square " << sq;
                }
                k.UndoMove(LastRecord(k));
            }
            k.ApplyMove(moves[int(rng() % unsigned(moves.Size()))]);
            if (k.Sente.Pieces.List[kKingIndex].Captured || k.Gote.Pieces.List[kKingIndex].Captured) break;
        }
    }
}

TEST(MapReuse, AttackCountAfterRefusesWhatApplyMoveRefuses) {
    TKyokumen k;
    EXPECT_THROW(k.AttackCountAfter(ParseMoveText("5554歩"), false, 55), std::invalid_argument);
    k.ComToMove = true;
    EXPECT_THROW(k.AttackCountAfter(ParseMoveText("7776歩"), false, 76), std::invalid_argument);
}
