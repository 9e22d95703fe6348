// COM's tactical passes (CaptureNearKing to AttackMajorPieces), on positions built from move texts. Pieces
// are carried to their squares with single moves, so that a setup reads as a short list of placements.
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Runs single stages of the think and reads its working values.
struct TThinkProbe {
    // Preparation alone: both move lists, the maps and the kept last-move records.
    static void Prepare(TKyokumenKanri& g) {
        g.st_ = TKyokumenKanri::TThinkState{};
        g.Prepare();
    }
    static bool Run(TKyokumenKanri& g, ComStage stage) { return TKyokumenKanri::kStages[int(stage)](g); }
    static int Best(const TKyokumenKanri& g) { return g.st_.B; }
    static bool RookInDanger(const TKyokumenKanri& g) { return g.st_.RookInDanger; }
};

namespace {

using testing_helpers::Play;

void ThinkAfter(TKyokumenKanri& g, std::initializer_list<std::string_view> moves) {
    Play(g, moves);
    g.ComThink();
}

// Brings the game to the given move count with the human's lance on 99 stepping to 98 and back.
void PlayUntilMoveCount(TKyokumenKanri& g, int moveCount) {
    bool out = true;
    while (g.MoveCount() < moveCount) {
        Play(g, {out ? "9998香" : "9899香"});
        out = !out;
    }
}

// COM's king on 51 is checked along the diagonal 95-84-73-62-51 by the human bishop on 95 (COM's
// pawn from 73 has been put on 72). Escapes: pawns to 73 or 84, silver or gold to 62, king to 42/52.
void SetUpCheckByBishop(TKyokumenKanri& g) {
    Play(g, {"7372com歩", "7795角"});
}

} // namespace

TEST(EscapeFromCheck, PrefersACheapInterpositionToAKingMoveAndTiesGoToTheLaterMove) {
    TKyokumenKanri g;
    SetUpCheckByBishop(g);
    TThinkProbe::Prepare(g);
    g.LosingMoves.Clear();

    ASSERT_TRUE(TThinkProbe::Run(g, ComStage::EscapeFromCheck));
    // Both pawn interpositions score 2000 - 10; the later one in the list (the pawn of 83) wins.
    EXPECT_EQ(g.ComMoveText(), "8384com歩");
    EXPECT_EQ(TThinkProbe::Best(g), 1990);
}

TEST(EscapeFromCheck, TheSecondPassPlaysTheEscapeTheFirstExcluded) {
    TKyokumenKanri g;
    SetUpCheckByBishop(g);
    TThinkProbe::Prepare(g);
    g.LosingMoves.Clear();
    for (const TMove& m : g.Kyokumen.Gote.Moves) g.LosingMoves.Add(m);

    EXPECT_FALSE(TThinkProbe::Run(g, ComStage::EscapeFromCheck));
    EXPECT_TRUE(g.ComMove.Empty());
    ASSERT_TRUE(TThinkProbe::Run(g, ComStage::EscapeFromCheckAnyway));
    EXPECT_EQ(g.ComMoveText(), "8384com歩");
}

// COM's rook eats every human piece but the king, two knights and three pawns; the king on 15 is
// walled in by its own pieces, none of which can move.
static void SetUpWalledKing(TKyokumenKanri& g, std::initializer_list<std::string_view> comMoves) {
    Play(g, {"8219com飛", "1939com龍王", "3949com龍王", "4969com龍王", "6979com龍王", "7999com龍王",
             "9997com龍王", "9787com龍王", "8777com龍王", "7776com龍王", "7666com龍王", "6657com龍王",
             "5747com龍王", "4728com龍王"});
    Play(g, comMoves);
    Play(g, {"5915王", "2924桂", "8914桂", "1716歩", "2726歩", "3725歩"});
}

TEST(MateInOne, ACheckThatLeavesTheHumanWithoutAnyMoveIsMate) {
    TKyokumenKanri g;
    // COM's knight is brought to 31 with the way to 23 cleared: its check from 23 leaves the human no
    // move at all, and it comes before every other check in COM's list.
    SetUpWalledKing(g, {"2322com歩", "3132com銀", "2131com桂"});
    const std::vector<std::string> boardBefore = g.BoardList();
    g.ComThink();

    EXPECT_EQ(g.ComMoveText(), "3123com桂");
    EXPECT_EQ(g.LastStage(), ComStage::MateInOne);
    EXPECT_FALSE(g.ComMatesFlag);
    // The think takes back every move it tried and restores both move lists and last moves.
    EXPECT_EQ(g.BoardList(), boardBefore);
    EXPECT_EQ(g.Kyokumen.Sente.LastMove, ParseMoveText("3725歩"));
    EXPECT_EQ(g.Kyokumen.Gote.Moves[0], ParseMoveText("1112com香"));
    EXPECT_EQ(g.Kyokumen.Sente.Moves.Count, 0);
    EXPECT_EQ(g.SideToMove, 1);
}

TEST(MateInOne, SkipsChecksTheHumanCanAnswer) {
    TKyokumenKanri g;
    SetUpWalledKing(g, {});
    g.ComThink();
    // Bishop takes 24 (the pawn of 25 takes back) and the dragon takes 26 (the king takes back) come
    // first; the pawn taking 14 leaves only the king's capture of it, on a square COM's lance holds.
    EXPECT_EQ(g.ComMoveText(), "1314com歩");
    EXPECT_EQ(g.LastStage(), ComStage::MateInOne);
}

TEST(CaptureMajorPiece, TakesTheRookBeforeTheBishopAndTheFirstOfTwoEqualCaptures) {
    {
        TKyokumenKanri g;
        // Human bishop on 24 (taken by COM's bishop or the pawn of 23), rook on 84 (by the pawn of 83).
        ThinkAfter(g, {"7724角", "2884飛"});
        EXPECT_EQ(g.ComMoveText(), "8384com歩");
        EXPECT_EQ(g.LastStage(), ComStage::CaptureMajorPiece);
    }
    {
        TKyokumenKanri g;
        ThinkAfter(g, {"7724角"});
        // COM's bishop comes before the pawn in the list; both captures score 150.
        EXPECT_EQ(g.ComMoveText(), "3324com角");
        EXPECT_EQ(g.LastStage(), ComStage::CaptureMajorPiece);
    }
}

TEST(BestCapture, APawnTakingAGoldScoresItsValuePlusAThousand) {
    TKyokumenKanri g;
    // The human gold on 14 attacks COM's pawns on 13 and 23; the pawn of 13 takes it.
    ThinkAfter(g, {"4914金"});
    EXPECT_EQ(g.ComMoveText(), "1314com歩");
    EXPECT_EQ(g.LastStage(), ComStage::BestCapture);
    EXPECT_EQ(TThinkProbe::Best(g), 70 + 1000);
    EXPECT_FALSE(g.ComMatesFlag);
}

TEST(BestCapture, AGoldTakingAGoldScoresItsValuePlusFiveHundredFifty) {
    TKyokumenKanri g;
    ThinkAfter(g, {"4124com金", "4925金"});
    EXPECT_EQ(g.ComMoveText(), "2425com金");
    EXPECT_EQ(g.LastStage(), ComStage::BestCapture);
    EXPECT_EQ(TThinkProbe::Best(g), 70 + 550);
    EXPECT_FALSE(g.ComMatesFlag);
}

TEST(BestCapture, TakingTheHumanKingSetsComMatesFlagTogetherWithTheMove) {
    TKyokumenKanri g;
    // In a full think CaptureMajorPiece takes a capturable king first; the pass is run alone here.
    Play(g, {"5954王"});
    TThinkProbe::Prepare(g);
    g.LosingMoves.Clear();

    ASSERT_TRUE(TThinkProbe::Run(g, ComStage::BestCapture));
    EXPECT_EQ(g.ComMoveText(), "5354com歩");
    EXPECT_TRUE(g.ComMatesFlag);
    EXPECT_EQ(TThinkProbe::Best(g), 1000 + 1000);
}

TEST(ContactCheck, RefusesACheckOnASquareTheHumanHoldsMoreStrongly) {
    {
        TKyokumenKanri g;
        // Human king on 55; COM's gold on 43 and pawn on 53 can each check from 54, defended once.
        ThinkAfter(g, {"4143com金", "5955王"});
        EXPECT_EQ(g.ComMoveText(), "4354com金");
        EXPECT_EQ(g.LastStage(), ComStage::ContactCheck);
    }
    {
        TKyokumenKanri g;
        // The same with the human bishop on 76 also attacking 54: twice against once.
        ThinkAfter(g, {"4143com金", "5955王", "7675歩", "7776角"});
        EXPECT_NE(g.LastStage(), ComStage::ContactCheck);
        EXPECT_NE(g.ComMoveText(), "4354com金");
        EXPECT_NE(g.ComMoveText(), "5354com歩");
    }
}

TEST(DefendHangingPawns, RunsBeforeMoveFiftyOneOnly) {
    // With the human pawn of 27 stepped aside, the human rook attacks COM's undefended pawn on 23;
    // COM's rook covers it from 22.
    {
        TKyokumenKanri g;
        PlayUntilMoveCount(g, 49);
        ThinkAfter(g, {"2736歩"});
        ASSERT_EQ(g.MoveCount(), 50);
        EXPECT_EQ(g.ComMoveText(), "8222com飛");
        EXPECT_EQ(g.LastStage(), ComStage::DefendHangingPawns);
    }
    {
        TKyokumenKanri g;
        PlayUntilMoveCount(g, 50);
        ThinkAfter(g, {"2736歩"});
        ASSERT_EQ(g.MoveCount(), 51);
        EXPECT_GT(g.LastStage(), ComStage::DefendHangingPawns);
    }
}

// Each defend pass walks a range of COM's pieces (pawns 11-19; lances to rook 0-10). One piece is
// made the only hanging one, at each end of each range, and the pass must find its defender.
TEST(DefendHangingPieces, DefendsThePiecesAtBothEndsOfTheRange) {
    struct Row {
        ComStage Stage;
        int Hanging; // the index of the only COM piece the human attacks and COM leaves undefended
        std::vector<std::string_view> Setup;
        std::string_view Defence;
        int Score;
    };
    const Row rows[] = {
        {ComStage::DefendHangingPawns, 11, {"1326com歩"}, "3315com角", 150},
        {ComStage::DefendHangingPawns, 19, {"9346com歩"}, "3324com角", 150},
        {ComStage::DefendHangingPieces, 0, {"1146com香"}, "3324com角", 150},
        // The gold takes the rook's attacker and covers the rook from behind.
        {ComStage::DefendHangingPieces, kRookIndex, {"8256com飛", "4167com金"}, "6757com金", 70},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Setup.front());
        TKyokumenKanri g;
        for (std::string_view m : row.Setup) Play(g, {m});
        TThinkProbe::Prepare(g);
        std::vector<int> hanging;
        for (const TComa& p : g.Kyokumen.Gote.Pieces.List)
            if (!p.Captured && g.Kyokumen.Sente.Attacks[p.Square()] > 0 &&
                g.Kyokumen.Gote.Attacks[p.Square()] == 0)
                hanging.push_back(p.Index);
        ASSERT_EQ(hanging, std::vector<int>{row.Hanging});

        EXPECT_TRUE(TThinkProbe::Run(g, row.Stage));
        EXPECT_EQ(g.ComMoveText(), row.Defence);
        EXPECT_EQ(TThinkProbe::Best(g), row.Score);
    }
}

TEST(RescueRook, ARookAttackedByAPawnIsWithdrawnByTheRescueSearch) {
    TKyokumenKanri g;
    ThinkAfter(g, {"8285com飛", "8786歩"});
    EXPECT_EQ(g.LastStage(), ComStage::RescueRook);
    EXPECT_EQ(g.ComMoveText(), "8584com飛");
    EXPECT_TRUE(TThinkProbe::RookInDanger(g));
}

TEST(RookTwoStep, PlaysTheFirstRookMoveFromWhichAnUndefendedPieceCanBeTaken) {
    TKyokumenKanri g;
    // COM's pawn of 63 is out of the way and the human pawn on 65 is undefended: from 62 the rook
    // would take it next.
    ThinkAfter(g, {"6352com歩", "6665歩"});
    EXPECT_EQ(g.LastStage(), ComStage::RookTwoStep);
    EXPECT_EQ(g.ComMoveText(), "8262com飛");
    EXPECT_EQ(TThinkProbe::Best(g), 10);
}
