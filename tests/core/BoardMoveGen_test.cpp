// Move lists and the human move test.
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_helpers::Play;
using testing_helpers::StateDifference;
using testing_helpers::StateOf;

namespace {

std::vector<std::string> Texts(const TMoveList& list) {
    std::vector<std::string> out;
    for (const TMove& m : list) out.push_back(MoveText(m));
    return out;
}

} // namespace

TEST(MoveGen, StartListsInGenerationOrder) {
    TKyokumen k;
    k.GenerateMoves();
    auto human = Texts(k.Sente.Moves);
    ASSERT_EQ(human.size(), 37u);
    EXPECT_EQ(human[0], "1918香");
    EXPECT_EQ(human[1], "3948銀");
    const std::vector<std::string> pawns{"1716歩", "2726歩", "3736歩", "4746歩", "5756歩",
                                         "6665歩", "7675歩", "8786歩", "9796歩"};
    EXPECT_EQ(std::vector<std::string>(human.end() - 9, human.end()), pawns);

    k.ComToMove = true;
    k.GenerateMoves();
    auto com = Texts(k.Gote.Moves);
    ASSERT_EQ(com.size(), 37u);
    EXPECT_EQ(com[0], "1112com香");
    const std::vector<std::string> king{"5152com王", "5162com王", "5142com王"};
    EXPECT_EQ(std::vector<std::string>(com.end() - 3, com.end()), king);
}

TEST(MoveGen, ComLanceAndDragonCountTheirOwnBlocker) {
    TKyokumen k;
    k.ClearThreatSums();
    k.ComputeHumanMaps();
    k.ComputeComMaps();
    k.ComputeThreats();
    const auto maps = k.Gote.Attacks;
    k.GenerateMoves(); // the human's list touches no map
    k.GenerateRookMoves();
    EXPECT_EQ(k.Gote.Attacks, maps);
    k.ComToMove = true;
    k.GenerateMoves();
    for (int sq = 0; sq < kMapSize; ++sq)
        EXPECT_EQ(k.Gote.Attacks[sq] - maps[sq], (sq == 13 || sq == 93) ? 1 : 0) << sq;

    // A dragon's forward ray stopping at a COM piece counts it as well; its other rays do not.
    Play(k, {"8384com歩", "8485com歩", "8586com歩", "8687com歩", "8788comと", "8287com飛", "7172com銀"});
    k.ComToMove = true;
    k.ComputeComMaps();
    const auto before = k.Gote.Attacks;
    k.GenerateMoves();
    // The dragon on 87: its forward ray stops at the promoted pawn on 88, its backward ray at the knight
    // on 81, which is not counted.
    for (int sq = 0; sq < kMapSize; ++sq)
        EXPECT_EQ(k.Gote.Attacks[sq] - before[sq], (sq == 88 || sq == 93 || sq == 13) ? 1 : 0) << sq;
}

TEST(MoveGen, PromotedComRookHasBothNames) {
    TKyokumen k;
    Play(k, {"8384com歩", "8485com歩", "8586com歩", "8687com歩", "8788comと", "8287com飛"});
    ASSERT_EQ(std::string(PieceText(k.Board[87])), "com龍王");
    k.ComToMove = true;
    k.GenerateMoves();
    const auto attacks = k.Gote.Attacks;
    k.GenerateRookMoves();
    EXPECT_TRUE(k.Gote.Moves.Contains(ParseMoveText("8786com龍王")));
    EXPECT_TRUE(k.Gote.Moves.Contains(ParseMoveText("8776com龍王"))); // a diagonal step
    auto rook = Texts(k.Gote.RookMoves);
    ASSERT_FALSE(rook.empty());
    EXPECT_EQ(rook[0], "8786com飛");
    EXPECT_NE(std::find(rook.begin(), rook.end(), "8776com飛"), rook.end());
    for (const TMove& m : k.Gote.RookMoves) EXPECT_EQ(m.Name, PieceName::ComHi);
    EXPECT_EQ(k.Gote.Attacks, attacks); // the rook's own list counts nothing

    // Either text moves the same dragon.
    k.ApplyMoveText("8786com飛");
    EXPECT_EQ(std::string(PieceText(k.Board[86])), "com龍王");
    EXPECT_EQ(MoveText(k.Gote.LastMove), "8786com龍王");
}

TEST(MoveGen, SilverAndGoldStepOrdersDifferBetweenTheSides) {
    TKyokumen k;
    Play(k, {"4955金", "7965銀", "4135com金", "3145com銀"}); // hand-made texts put them in the open
    auto listOf = [&](const TComa& piece, bool com) {
        TMoveList list;
        k.GeneratePieceMoves(piece, com, list);
        return Texts(list);
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(listOf(k.Sente.Pieces.List[3], false),
              (V{"5564金", "5554金", "5544金", "5545金", "5556金"})); // 65 holds the silver
    EXPECT_EQ(listOf(k.Sente.Pieces.List[6], false), (V{"6574銀", "6564銀", "6554銀", "6556銀"}));
    EXPECT_EQ(listOf(k.Gote.Pieces.List[3], true), (V{"3546com金", "3536com金", "3526com金", "3525com金"}));
    EXPECT_EQ(listOf(k.Gote.Pieces.List[2], true), (V{"4554com銀", "4536com銀", "4546com銀", "4556com銀"}));
}

TEST(MoveGen, EntriesNameThePieceAsItsRoutineDoes) {
    TKyokumen k;
    // The silver promotes on 33; the bishop promotes on 43 (hand-made texts).
    Play(k, {"3934銀", "3433銀", "7743角"});
    k.ComToMove = false;
    k.GenerateMoves();
    EXPECT_TRUE(k.Sente.Moves.Contains(ParseMoveText("3332銀成"))); // gold routine: the current name
    EXPECT_TRUE(k.Sente.Moves.Contains(ParseMoveText("4342角成"))); // horse step: the promoted name
    EXPECT_TRUE(k.Sente.Moves.Contains(ParseMoveText("4354角成"))); // horse ray
    EXPECT_FALSE(k.Sente.Moves.Contains(ParseMoveText("3332銀")));
    EXPECT_FALSE(k.Sente.Moves.Contains(ParseMoveText("4354角")));
}

TEST(MoveGen, KnightsOnTheFourthRankFromTheFarSideHaveNoMove) {
    TKyokumen k;
    Play(k, {"2924桂", "2126com桂"}); // hand-made texts put the knights there
    TMoveList list;
    k.GeneratePieceMoves(k.Sente.Pieces.List[1], false, list);
    EXPECT_TRUE(list.IsEmpty());
    k.GeneratePieceMoves(k.Gote.Pieces.List[1], true, list);
    EXPECT_TRUE(list.IsEmpty());
    // One rank further back they jump again.
    Play(k, {"2425桂", "2625com桂"});
    k.GeneratePieceMoves(k.Sente.Pieces.List[1], false, list);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"2533桂", "2513桂"}));
}

TEST(MoveGen, CapturedPiecesListNothingAndKingMayStepIntoAttack) {
    TKyokumen k;
    Play(k, {"4445com歩", "6665歩", "3377com角"}); // COM's bishop takes on 77 and checks from there
    k.ComToMove = false;
    k.GenerateMoves();
    for (const TMove& m : k.Sente.Moves) {
        EXPECT_NE(m.From, 77);
        EXPECT_FALSE(IsHuman(k.Board[m.To])) << MoveText(m);
    }
    // 68 lies on the horse's diagonal, yet the list holds the king's step there.
    EXPECT_TRUE(k.Sente.Moves.Contains(ParseMoveText("5968王")));
}

TEST(HumanMoveTest, StartPositionPairs) {
    TKyokumen k;
    const auto before = StateOf(k);
    EXPECT_EQ(k.TestHumanMove("77", "76").Text(), "");
    auto r = k.TestHumanMove("76", "75");
    EXPECT_EQ(r.Result, THumanMoveTest::Legal);
    EXPECT_EQ(r.Text(), "7675歩");
    EXPECT_EQ(std::string(PieceText(k.Board[76])), "歩");
    EXPECT_EQ(k.MoveCount, 0);
    EXPECT_TRUE(k.Sente.LastMove.Empty());
    // The test counts the attacks after the move without playing it: nothing of the position changed.
    EXPECT_EQ(k.Board, before.Board);
    EXPECT_EQ(k.PieceAt, before.PieceAt);
    EXPECT_EQ(StateDifference(StateOf(k), before), "");
    EXPECT_EQ(k.AppliedCount, 0u);
    // A move into the zone is reported with the name before promotion.
    k.SetupTestPosition();
    EXPECT_EQ(k.TestHumanMove(33, 22).Text(), "3322と");
}

TEST(HumanMoveTest, RefusesMovesThatLeaveTheKingAttackedAndKeepsTheRecord) {
    TKyokumen k;
    Play(k, {"4445com歩", "6665歩", "3377com角"}); // the horse on 77 checks the king on 59
    const TMove lastHuman = k.Sente.LastMove, lastCom = k.Gote.LastMove;
    const auto before = StateOf(k);
    struct Case {
        int From, To;
        THumanMoveTest::Kind Result;
    } cases[] = {
        {17, 16, THumanMoveTest::KingLeftAttacked}, // ignores the check
        {59, 68, THumanMoveTest::KingLeftAttacked}, // steps along the check line
        {59, 58, THumanMoveTest::Legal},            // steps out of it
        {89, 77, THumanMoveTest::Legal},            // takes the checker
        {59, 57, THumanMoveTest::NoMove},
    };
    for (const Case& c : cases) {
        const auto r = k.TestHumanMove(c.From, c.To);
        EXPECT_EQ(r.Result, c.Result) << c.From << "-" << c.To;
        EXPECT_EQ(k.Sente.LastMove, lastHuman);
        EXPECT_EQ(k.Gote.LastMove, lastCom);
        EXPECT_EQ(StateDifference(StateOf(k), before), "");
    }
    EXPECT_EQ(k.TestHumanMove(59, 68).Text(), "王手放置error");
    EXPECT_EQ(k.TestHumanMove(89, 77).Text(), "8977桂");
    EXPECT_THROW(k.TestHumanMove("7", "76"), std::invalid_argument);

    // A take-back after a refused test undoes the moves that were really played.
    k.TakeBackPair();
    EXPECT_EQ(std::string(PieceText(k.Board[33])), "com角");
    EXPECT_EQ(std::string(PieceText(k.Board[66])), "歩");
    EXPECT_EQ(std::string(PieceText(k.Board[77])), "角");
}
