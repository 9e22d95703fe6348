#include "game/KyokumenKanri2.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using testing_helpers::Play;

namespace {

std::vector<SenpouId> Unfinished(const TKyokumenKanri2& g) {
    std::vector<SenpouId> ids;
    for (int i = 0; i < kSenpouCount; ++i)
        if (!g.Senpou[i]->Finished) ids.push_back(SenpouId(i));
    return ids;
}

// The position as the board, the maps, the move count and the side to move show it.
auto Position(const TKyokumenKanri2& g) {
    const TKyokumen& k = g.Kyokumen;
    return std::make_tuple(k.Board, k.PieceAt, k.ValueAt, k.MoveCount, k.Sente.Attacks, k.Gote.Attacks,
                           k.ComToMove, g.SideToMove);
}

// COM's reply as the turn flow plays it: applied while COM is to move, then judged.
void ComReplies(TKyokumenKanri2& g, std::string_view move) {
    g.ComMove = ParseMoveText(move);
    g.ApplyMove(g.ComMove);
    g.JudgeAfterComMove();
}

// Plays the set-up and COM's reply, judged; the judge must leave the position and both last-move
// records exactly as the same moves without a judge leave them.
void PlayAndJudge(TKyokumenKanri2& g, std::initializer_list<std::string_view> setup, std::string_view com) {
    TKyokumenKanri2 plain;
    Play(plain, setup);
    plain.ApplyMove(com);
    Play(g, setup);
    ComReplies(g, com);
    EXPECT_TRUE(Position(g) == Position(plain)) << "the judge changed the position";
    EXPECT_EQ(MoveText(g.Kyokumen.Sente.LastMove), MoveText(plain.Kyokumen.Sente.LastMove));
    EXPECT_EQ(MoveText(g.Kyokumen.Gote.LastMove), std::string(com));
}

// One full turn; COM's think is stood in for by asking the selected strategy for its step and marking
// it done when COM's move reaches it.
void Turn(TKyokumenKanri2& g, std::string_view human, std::string_view com, bool reachesStep) {
    g.ApplyMove(human);
    g.SwitchSide();
    for (SenpouId id : kSenpouChainOrder) {
        TSenpou_Base& s = g.Strategy(id);
        if (s.Finished) continue;
        s.PeekStep();
        if (reachesStep) s.MarkStepDone();
    }
    ComReplies(g, com);
    g.SwitchSide();
}

} // namespace

TEST(GameManager, FormationSelection) {
    TKyokumenKanri2 g;
    EXPECT_EQ(g.FormationName, "【基本形】");
    EXPECT_EQ(Unfinished(g), std::vector<SenpouId>{Kihon});
    EXPECT_TRUE(g.FormationInProgress());
    EXPECT_EQ(g.SideToMove, 0);
    EXPECT_TRUE(g.ComMove.Empty());

    g.SetFormation("【ミルトア式BIG4 改】");
    EXPECT_EQ(Unfinished(g), std::vector<SenpouId>{Big4});
    g.SetFormation("【ミルトア式雪崩囲い】");
    EXPECT_EQ(Unfinished(g), std::vector<SenpouId>{NadareGakoi});
    EXPECT_EQ(g.Strategy(NadareGakoi).Steps[13].Text(), "完了");

    // A name outside the list leaves COM without a formation, which counts as still being built.
    g.SetFormation("【ミルトア式BIG4改】");
    EXPECT_TRUE(Unfinished(g).empty());
    EXPECT_TRUE(g.FormationInProgress());

    g.SetFormation("【穴熊】");
    g.AbandonFormations();
    EXPECT_FALSE(g.FormationInProgress());
}

TEST(GameManager, SwitchSideMovesBothSideBytesAndTheLastMoveRecord) {
    TKyokumenKanri2 g;
    Play(g, {"7675歩", "8384com歩"});
    EXPECT_EQ(g.LastMoveRecordText(), "7675歩");
    g.SwitchSide();
    EXPECT_EQ(g.SideToMove, 1);
    EXPECT_TRUE(g.Kyokumen.ComToMove);
    EXPECT_EQ(g.LastMoveRecordText(), "8384com歩");
    g.SwitchSide();
    EXPECT_EQ(g.SideToMove, 0);
    EXPECT_FALSE(g.Kyokumen.ComToMove);
    EXPECT_EQ(g.CheckHumanMove("59", "58").Text(), "5958王");
    EXPECT_EQ(g.CheckHumanMove("55", "54").Text(), "");
}

// The human king stands in the corner on 18, hemmed in by its own lance, knight and pawn; COM's gold
// checks from 27, guarded by a pawn on 26.
TEST(GameEnd, CheckWithAnEscapeIsNoMate) {
    TKyokumenKanri2 g;
    PlayAndJudge(g, {"2326com歩", "5918王"}, "4127com金");
    EXPECT_TRUE(g.InCheckFlag);
    EXPECT_FALSE(g.ComMatesFlag); // the rook on 28 takes the gold
    EXPECT_FALSE(g.HumanBareKingFlag);
}

TEST(GameEnd, CheckWithoutAnEscapeIsMate) {
    TKyokumenKanri2 g;
    // The rook leaves 28 for the bishop, which cannot reach 27: the king can only take the guarded gold.
    PlayAndJudge(g, {"2858飛", "2326com歩", "7728角", "5918王"}, "4127com金");
    EXPECT_TRUE(g.InCheckFlag);
    EXPECT_TRUE(g.ComMatesFlag);
    EXPECT_EQ(MoveText(g.Kyokumen.Sente.LastMove), "5918王");
    EXPECT_EQ(g.SideToMove, 1);
    EXPECT_TRUE(g.Kyokumen.ComToMove);
}

TEST(GameEnd, NoCheckNoFlags) {
    TKyokumenKanri2 g;
    PlayAndJudge(g, {"7675歩"}, "8384com歩");
    EXPECT_FALSE(g.InCheckFlag || g.ComMatesFlag || g.HumanBareKingFlag);
}

TEST(GameEnd, ComKingMoveThatUncoversAnUnstoppableCheckMates) {
    TKyokumenKanri2 g;
    // COM's king on 36 stands between its bishop on 54 and the human king on 18; nothing of the human's
    // can reach 27, 36 or 45, nor take the bishop.
    PlayAndJudge(g, {"2726歩", "3354com角", "2858飛", "7728角", "3736歩", "5136com王", "5918王"},
                 "3635com王");
    EXPECT_TRUE(g.InCheckFlag);
    EXPECT_TRUE(g.ComMatesFlag);
}

TEST(GameEnd, TakingTheHumansLastPieceButTheKingEndsTheGame) {
    for (const bool byKing : {false, true}) {
        TKyokumenKanri2 g;
        // COM's rook sweeps up all the human's pieces but the king and the lance on 19, ending beside
        // the king: the last capture leaves a bare king in check, and no check is reported.
        std::string from = "82";
        for (const char* sq : {"17", "27", "37", "47", "57", "66", "76", "87", "97", "99", "89", "79", "77",
                               "28", "29", "39", "49", "69"}) {
            const std::string m = from + sq + "com飛";
            Play(g, {m});
            from = sq;
        }
        if (byKing) Play(g, {"5118com王"});
        Play(g, {"5958王"});
        ComReplies(g, byKing ? "1819com王" : "1119com香");
        EXPECT_TRUE(g.HumanBareKingFlag) << "by king " << byKing;
        EXPECT_FALSE(g.InCheckFlag) << "by king " << byKing;
    }
}

TEST(TakeBack, UnmarksOnlyTheStepOfComsLastMove) {
    TKyokumenKanri2 g;
    g.SetFormation("【四間飛車】");
    TSenpou_Base& s = g.Strategy(YonkenBisya);
    Turn(g, "9796歩", "8242com飛", true);
    const auto afterFirstTurn = Position(g);
    Turn(g, "1716歩", "4152com金", true);
    g.TakeBack();
    EXPECT_EQ(s.StepDone[0], 1);
    EXPECT_EQ(s.StepDone[1], 0);
    EXPECT_TRUE(Position(g) == afterFirstTurn);

    // A reply that reaches no step leaves the earlier step marked.
    Turn(g, "1716歩", "9394com歩", false);
    g.TakeBack();
    EXPECT_EQ(s.StepDone[0], 1);
    EXPECT_EQ(s.PeekStep().Text(), " 3,52");
}

TEST(TakeBack, KeepsAFormationThatIsComplete) {
    TKyokumenKanri2 g;
    g.SetFormation("【四間飛車】");
    TSenpou_Base& s = g.Strategy(YonkenBisya);
    Turn(g, "9796歩", "8242com飛", true);
    Turn(g, "1716歩", "4152com金", true);
    Turn(g, "9695歩", "4445com歩", true);
    const auto beforeLast = Position(g);
    Turn(g, "1615歩", "4546com歩", true);
    EXPECT_FALSE(g.FormationInProgress());
    g.TakeBack();
    EXPECT_TRUE(s.Finished);
    EXPECT_EQ(s.StepDone[3], 1);
    EXPECT_FALSE(g.FormationInProgress());
    EXPECT_TRUE(Position(g) == beforeLast);
}
