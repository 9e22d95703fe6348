#include "formation/Formation.h"
#include "formation/Senpou.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

using testing_helpers::Play;

TEST(Senpou, PeekRaisesTheStampAndRepeatsTheOpenStep) {
    TSenpou_Kihon s;
    EXPECT_EQ(s.PeekStep().Text(), " 3,43");
    EXPECT_EQ(s.PeekStamp, 2);
    EXPECT_EQ(s.PeekStep().Text(), " 3,43");
    EXPECT_EQ(s.PeekStamp, 4);
    EXPECT_EQ(s.DoneStamp, -1);
    EXPECT_EQ(s.Steps[4].Text(), "18,84");
}

TEST(Senpou, MarkingTheLastStepFinishesAndUnmarkingItReopens) {
    TSenpou_Kihon s;
    s.UnmarkStep(); // nothing done yet: nothing changes
    EXPECT_EQ(s.StepDone, (std::array<int, TSenpou_Base::kSlots>{}));
    EXPECT_FALSE(s.Finished);

    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(s.Finished) << "before step " << i;
        s.PeekStep();
        s.MarkStepDone();
        EXPECT_EQ(s.DoneStamp, s.PeekStamp);
    }
    EXPECT_TRUE(s.Finished);
    EXPECT_EQ(s.PeekStep().Text(), "完了");

    const int peek = s.PeekStamp, done = s.DoneStamp;
    s.UnmarkStep();
    EXPECT_FALSE(s.Finished);
    EXPECT_EQ(s.StepDone[6], 0);
    EXPECT_EQ(s.StepDone[5], 1);
    EXPECT_EQ(s.PeekStamp, peek);
    EXPECT_EQ(s.DoneStamp, done);
    EXPECT_EQ(s.PeekStep().Text(), " 6,83");
}

TEST(Formation, ZonesRunFromTheHumansLeftCornerToComsRightCorner) {
    EXPECT_EQ(TFormation::ZoneOfSquare(9, 9), 1);
    EXPECT_EQ(TFormation::ZoneOfSquare(1, 9), 3);
    EXPECT_EQ(TFormation::ZoneOfSquare(6, 4), 5);
    EXPECT_EQ(TFormation::ZoneOfSquare(7, 3), 7);
    EXPECT_EQ(TFormation::ZoneOfSquare(1, 1), 9);
    EXPECT_EQ(TFormation::ZoneOfSquare(0, 5), 0);
    EXPECT_EQ(TFormation::ZoneOfSquare(5, 10), 0);
    EXPECT_EQ(TFormation::ZoneOfGroups(3, 1), 7);
    EXPECT_EQ(TFormation::ZoneOfGroups(4, 1), 0);
}

TEST(Formation, SurveyOfTheStartPosition) {
    TKyokumen k;
    TFormation f;
    f.HumanPieces = &k.Sente.Pieces;
    f.ComPieces = &k.Gote.Pieces;
    f.Survey();
    EXPECT_EQ(f.HumanZoneCount, (std::array<int, 10>{0, 6, 5, 7, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(f.ComZoneCount, (std::array<int, 10>{0, 0, 0, 0, 0, 1, 1, 7, 5, 6}));
    EXPECT_EQ(f.HumanKingZone, 2);
    EXPECT_EQ(f.ComKingZone, 8);
    EXPECT_EQ(f.HumanRookZone, 3);
    EXPECT_EQ(f.ComRookZone, 7);
    EXPECT_EQ(f.MajorityColumn, 4); // columns 4 and 6 tie at 7

    // COM's bishop takes the human rook: the rook no longer counts, COM's rook still does.
    Play(k, {"3328com角"});
    f.Survey();
    EXPECT_EQ(f.HumanZoneCount[3], 6);
    EXPECT_EQ(f.HumanRookZone, 0);
    EXPECT_EQ(f.ComZoneCount[3], 1);
    EXPECT_EQ(f.ComZoneCount[9], 5);
    EXPECT_EQ(f.ComRookZone, 7);
    EXPECT_EQ(f.MajorityColumn, 4);
}

TEST(Formation, MajorityColumnNeedsAStrictlyLargerSum) {
    TFormation f;
    EXPECT_EQ(f.ComputeMajorityColumn(), 4);
    f.HumanZoneCount = {0, 1, 2, 0, 1, 0, 3, 0, 0, 0}; // columns 2, 2, 3
    EXPECT_EQ(f.ComputeMajorityColumn(), 6);
    f.HumanZoneCount[5] = 1; // columns 2, 3, 3
    EXPECT_EQ(f.ComputeMajorityColumn(), 5);
}
