// Attack maps, king zones and the material sums.
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <numeric>

using testing_helpers::Play;

namespace {

void Rebuild(TKyokumen& k) {
    k.ClearThreatSums();
    k.ComputeHumanMaps();
    k.ComputeComMaps();
    k.ComputeThreats();
}

int Sum(const std::array<int, kMapSize>& map) {
    return std::accumulate(map.begin(), map.end(), 0);
}

} // namespace

TEST(AttackMaps, StartPosition) {
    TKyokumen k;
    Rebuild(k);
    EXPECT_EQ(Sum(k.Sente.Attacks), 58);
    EXPECT_EQ(Sum(k.Gote.Attacks), 57);
    EXPECT_EQ(k.Gote.OverCoverage, 39);
    EXPECT_EQ(k.Gote.KingZoneGuard, 13);
    EXPECT_EQ(k.Gote.Attacks[42], 5);
    EXPECT_EQ(k.Gote.Attacks[52], 4);
    EXPECT_EQ(k.Gote.Attacks[62], 4);
    EXPECT_EQ(k.Gote.KingZonePressure, 0);
    EXPECT_EQ(k.Sente.Attacks[16], 2); // the pawn on 17 and, behind it, the lance on 19
    for (int s : {k.Sente.LostMaterial, k.Sente.ThreatenedMaterial, k.Sente.HangingMaterial,
                  k.Gote.LostMaterial, k.Gote.ThreatenedMaterial, k.Gote.HangingMaterial})
        EXPECT_EQ(s, 0);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(k.Sente.Pieces.List[i].ThreatSum, 0);
        EXPECT_EQ(k.Gote.Pieces.List[i].ThreatSum, 0);
    }
    EXPECT_TRUE(k.Gote.ComKingSafe);
    EXPECT_FALSE(k.Gote.Pieces.List[kKingIndex].NoFlight);
    int zone = 0;
    for (int sq : {41, 42, 52, 61, 62}) zone += k.Gote.KingZone[sq];
    EXPECT_EQ(zone, 5);
    EXPECT_EQ(Sum(k.Gote.KingZone), 5);
    EXPECT_EQ(Sum(k.Sente.KingZone), 5);
    // Padding past the last square is never written.
    for (int sq = kSquareCount; sq < kMapSize; ++sq) {
        EXPECT_EQ(k.Sente.Attacks[sq], 0);
        EXPECT_EQ(k.Gote.Attacks[sq], 0);
        EXPECT_EQ(k.Board[sq], PieceName::Empty);
    }
}

TEST(AttackMaps, RookCountsPastABackerOnly) {
    TKyokumen k;
    Play(k, {"2855飛", "4954金"}); // hand-made texts: a rook on 55 with a gold in front of it
    TComa& rook = k.Sente.Pieces.List[kRookIndex];
    k.Sente.Attacks.fill(0);
    k.AddPieceAttacks(rook, false);
    EXPECT_EQ(k.Sente.Attacks[54], 1);
    EXPECT_EQ(k.Sente.Attacks[53], 1); // through the gold
    EXPECT_EQ(k.Sente.Attacks[52], 0);

    Play(k, {"5449金", "2954桂"}); // a knight is no backer
    k.Sente.Attacks.fill(0);
    k.AddPieceAttacks(rook, false);
    EXPECT_EQ(k.Sente.Attacks[54], 1);
    EXPECT_EQ(k.Sente.Attacks[53], 0);
}

TEST(AttackMaps, OnlyTheHumansSlidersSeeThroughTheKing) {
    TKyokumen k;
    Play(k, {"5152com王", "7743角"}); // the bishop, promoted on arrival, checks from 43
    EXPECT_EQ(k.Gote.Pieces.List[kKingIndex].ThreatSum, 200);
    TComa& horse = k.Sente.Pieces.List[kBishopIndex];
    k.Sente.Attacks.fill(0);
    k.AddPieceAttacks(horse, false);
    EXPECT_EQ(k.Sente.Attacks[52], 1);
    EXPECT_EQ(k.Sente.Attacks[61], 1); // the square behind the king on the check line

    TKyokumen m;
    Play(m, {"4746歩", "5958王", "3336com角"}); // COM's bishop checks the king on 58 from 36
    EXPECT_EQ(m.Sente.Pieces.List[kKingIndex].ThreatSum, 150);
    EXPECT_EQ(m.Sente.ThreatenedMaterial, 1000 + 10); // the king and the pawn on 27
    TComa& bishop = m.Gote.Pieces.List[kBishopIndex];
    m.Gote.Attacks.fill(0);
    m.AddPieceAttacks(bishop, true);
    EXPECT_EQ(m.Gote.Attacks[58], 1);
    EXPECT_EQ(m.Gote.Attacks[69], 0);
    EXPECT_EQ(m.TestHumanMove(58, 69).Result, THumanMoveTest::NoMove); // the gold stands there
}

TEST(AttackMaps, ThreatenedAndHangingMaterial) {
    TKyokumen k;
    // The pawn on 54 is attacked by COM's pawn and silver, and defended by nothing.
    Play(k, {"5756歩", "5655歩", "3142com銀", "4243com銀", "5554歩"});
    EXPECT_EQ(k.Gote.Attacks[54], 2);
    EXPECT_EQ(k.Sente.Attacks[54], 0);
    EXPECT_EQ(k.Sente.ThreatenedMaterial, 20);
    EXPECT_EQ(k.Sente.HangingMaterial, 10);
    EXPECT_EQ(k.Sente.Pieces.List[15].ThreatSum, 70);
}

TEST(AttackMaps, KingZoneOutnumberedAndNoFlight) {
    TKyokumen k;
    // COM's king on 57: the golds, the king and the rook hold 58 four to one.
    Play(k, {"5157com王"});
    EXPECT_EQ(k.Sente.Attacks[58], 4);
    EXPECT_EQ(k.Gote.Attacks[58], 1);
    EXPECT_EQ(k.Gote.KingZoneGuard, -500);
    EXPECT_GT(k.Gote.KingZonePressure, 0);
    EXPECT_TRUE(k.Gote.ComKingSafe);                       // nothing attacks 57 itself
    EXPECT_FALSE(k.Gote.Pieces.List[kKingIndex].NoFlight); // 56 is free

    TKyokumen m;
    // COM's king boxed in by its own pieces on every neighbour.
    Play(m, {"3142com銀", "7162com銀"});
    EXPECT_FALSE(m.Gote.Pieces.List[kKingIndex].NoFlight);
    Play(m, {"3352com角"});
    EXPECT_TRUE(m.Gote.Pieces.List[kKingIndex].NoFlight);
    EXPECT_TRUE(m.Gote.ComKingSafe);
}

TEST(AttackMaps, CapturedKingIsNeverSafe) {
    TKyokumen k;
    Play(k, {"5951王"}); // a hand-made text takes the king
    EXPECT_TRUE(k.Gote.Pieces.List[kKingIndex].Captured);
    EXPECT_FALSE(k.Gote.ComKingSafe);
    EXPECT_EQ(k.Gote.LostMaterial, 1000);
}
