// Pieces, the position, applying and taking back moves, and bad move texts.
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <stdexcept>

using testing_helpers::Play;
using testing_helpers::StateDifference;
using testing_helpers::StateOf;

namespace {

std::string At(const TKyokumen& k, int sq) {
    return std::string(PieceText(k.Board[sq]));
}

} // namespace

TEST(Pieces, ValuesFollowTheNameOnly) {
    EXPECT_EQ(TComa_Keisan::PieceValue("飛車"), -1);
    EXPECT_EQ(TComa_Keisan::PieceValue(" "), -1);
    EXPECT_EQ(TComa_Keisan::PieceValue(""), -1);
    EXPECT_EQ(TComa_Keisan::PieceValue("com銀成"), 30);
    EXPECT_EQ(TComa_Keisan::PieceValue("銀"), 60);
    EXPECT_EQ(TComa_Keisan::PieceValue("com龍王"), 400);
    EXPECT_EQ(TComa_Keisan::PieceValue("王"), 1000);
    for (int i = 1; i < kPieceNameCount; ++i) {
        PieceName p = PieceName(i), parsed;
        ASSERT_TRUE(ParsePieceName(PieceText(p), parsed));
        EXPECT_EQ(parsed, p);
        EXPECT_EQ(PieceValue(p), PieceValue(OtherSide(p)));
    }
}

TEST(Pieces, SetsStartOnTheirSquares) {
    TSente_Coma20mai human;
    TGote_Coma20mai com;
    EXPECT_EQ(human.List[9].Square(), 77);
    EXPECT_EQ(human.List[16].Square(), 66);
    EXPECT_EQ(human.List[10].PromotedName, PieceName::Ryu);
    EXPECT_EQ(human.List[3].PromotedName, PieceName::Kin);
    EXPECT_EQ(com.List[9].Square(), 33);
    EXPECT_EQ(com.List[13].Square(), 34);
    EXPECT_EQ(com.List[10].Square(), 82);
    EXPECT_EQ(com.List[10].PromotedName, PieceName::ComRyu);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(human.List[i].Index, i);
        EXPECT_FALSE(human.List[i].IsCom);
        EXPECT_TRUE(com.List[i].IsCom);
        EXPECT_EQ(com.List[i].CaptureRecord, -1);
        EXPECT_EQ(com.List[i].Value, PieceValue(com.List[i].Name));
    }
}

TEST(Position, StartPositionBoardAndUnbuiltMaps) {
    TKyokumen k;
    const auto list = k.BoardList();
    ASSERT_EQ(list.size(), 100u);
    EXPECT_EQ(list[51], "com王");
    EXPECT_EQ(list[33], "com角");
    EXPECT_EQ(list[77], "角");
    EXPECT_EQ(list[76], "歩");
    EXPECT_EQ(list[75], " ");
    EXPECT_EQ(list[10], " ");
    EXPECT_EQ(k.PieceAt[28], 10);
    EXPECT_EQ(k.ValueAt[55], -1);
    EXPECT_EQ(k.ValueAt[0], -1);
    EXPECT_TRUE(k.Gote.ComKingSafe);
    int sum = 0;
    for (int v : k.Sente.Attacks) sum += v;
    for (int v : k.Gote.Attacks) sum += v;
    EXPECT_EQ(sum, 0);
}

TEST(Position, ComPawnMoveUpdatesBoardAndRecord) {
    TKyokumen k;
    k.ComToMove = true;
    k.ApplyMoveText("8384com歩");
    EXPECT_EQ(At(k, 83), " ");
    EXPECT_EQ(At(k, 84), "com歩");
    EXPECT_EQ(k.PieceAt[83], -1);
    EXPECT_EQ(k.PieceAt[84], 18);
    EXPECT_EQ(k.ValueAt[84], 10);
    EXPECT_EQ(k.MoveCount, 1);
    EXPECT_EQ(MoveText(k.Gote.LastMove), "8384com歩");
    EXPECT_TRUE(k.ComToMove);
    EXPECT_EQ(k.AppliedCount, 1u);
}

TEST(Position, PromotionStampAndItsUndo) {
    TKyokumen k;
    // The silver walks 39-48-47-36-25-24 and then steps into the zone on 33, taking COM's bishop.
    Play(k, {"4746歩", "3948銀", "4847銀", "4736銀", "3625銀", "2524銀"});
    k.ComToMove = false;
    k.ApplyMoveText("2433銀");
    const TComa& silver = k.Sente.Pieces.List[2];
    EXPECT_EQ(At(k, 33), "銀成");
    EXPECT_EQ(silver.PromotedAt, k.MoveCount);
    EXPECT_EQ(silver.Value, 30);
    EXPECT_EQ(k.ValueAt[33], 30);
    EXPECT_EQ(MoveText(k.Sente.LastMove), "2433銀成");
    EXPECT_TRUE(k.Gote.Pieces.List[9].Captured);
    const std::string promoting = MoveText(k.Sente.LastMove);

    // Leaving the zone keeps the promotion, and taking that move back keeps it too.
    k.ApplyMoveText("3344銀成");
    EXPECT_EQ(At(k, 44), "銀成");
    k.UndoMoveText(MoveText(k.Sente.LastMove));
    EXPECT_EQ(At(k, 33), "銀成");
    EXPECT_EQ(silver.PromotedAt, k.MoveCount);

    k.UndoMoveText(promoting);
    EXPECT_EQ(At(k, 24), "銀");
    EXPECT_EQ(silver.PromotedAt, 0);
    EXPECT_EQ(silver.Value, 60);
    EXPECT_EQ(At(k, 33), "com角");
    EXPECT_FALSE(k.Gote.Pieces.List[9].Captured);
    EXPECT_EQ(MoveText(k.Sente.LastMove), "2433銀");
}

TEST(Position, GoldTakesTheStampWithoutChangingName) {
    TKyokumen k;
    Play(k, {"4142com金", "4243com金", "4354com金", "5455com金"});
    k.ComToMove = true;
    k.ApplyMoveText("5566com金"); // takes the pawn on 66, on rank 6: no stamp yet
    const TComa& gold = k.Gote.Pieces.List[3];
    EXPECT_EQ(gold.PromotedAt, 0);
    k.ApplyMoveText("6677com金"); // takes the bishop on rank 7
    EXPECT_EQ(At(k, 77), "com金");
    EXPECT_EQ(gold.PromotedAt, k.MoveCount);
    EXPECT_EQ(gold.Value, 70);
    EXPECT_EQ(MoveText(k.Gote.LastMove), "6677com金");
    EXPECT_EQ(k.Sente.LostMaterial, 160);
}

TEST(Position, UndoRestoresACapturedPromotedPiece) {
    TKyokumen k;
    Play(k, {"1314com歩", "1415com歩", "1516com歩", "1617com歩", "1918香"});
    ASSERT_EQ(At(k, 17), "comと");
    k.ComToMove = false;
    const auto before = StateOf(k);
    k.ApplyMoveText("1817香");
    const TComa& pawn = k.Gote.Pieces.List[11];
    EXPECT_TRUE(pawn.Captured);
    EXPECT_EQ(pawn.CapturedAt, k.MoveCount);
    EXPECT_EQ(pawn.CaptureRecord, 11);
    EXPECT_EQ(k.Gote.LostMaterial, 30);

    k.UndoMoveText(MoveText(k.Sente.LastMove));
    EXPECT_EQ(At(k, 17), "comと");
    EXPECT_EQ(At(k, 18), "香");
    EXPECT_EQ(k.PieceAt[17], 11);
    EXPECT_FALSE(pawn.Captured);
    EXPECT_EQ(pawn.CapturedAt, 0);
    EXPECT_EQ(pawn.CaptureRecord, -1);
    EXPECT_EQ(StateDifference(StateOf(k), before), "");
}

TEST(Position, TakeBackPairUndoesComThenHuman) {
    TKyokumen k;
    Play(k, {"7675歩", "8384com歩"});
    k.TakeBackPair();
    EXPECT_FALSE(k.ComToMove);
    EXPECT_EQ(k.MoveCount, 0);
    EXPECT_EQ(At(k, 76), "歩");
    EXPECT_EQ(At(k, 83), "com歩");
    // A second take-back has nothing to undo and changes nothing.
    const auto before = StateOf(k);
    EXPECT_THROW(k.TakeBackPair(), std::invalid_argument);
    EXPECT_EQ(StateDifference(StateOf(k), before), "");

    // COM moved but the human has no move to take back: COM's move stays played, with its record.
    TKyokumen c;
    Play(c, {"8384com歩", "8485com歩"});
    const auto played = StateOf(c);
    const TMove record = c.Gote.LastMove;
    EXPECT_THROW(c.TakeBackPair(), std::invalid_argument);
    EXPECT_EQ(StateDifference(StateOf(c), played), "");
    EXPECT_EQ(c.Gote.LastMove, record);
}

TEST(Position, HandicapPiecesNeverComeBack) {
    TKyokumen k;
    k.SetupHisyaKaku();
    EXPECT_EQ(At(k, 77), " ");
    EXPECT_EQ(At(k, 28), " ");
    EXPECT_EQ(k.PieceAt[28], -1);
    for (int index : {kBishopIndex, kRookIndex}) {
        EXPECT_EQ(k.Sente.Pieces.List[index].CapturedAt, -1);
        EXPECT_EQ(k.Sente.Pieces.List[index].CaptureRecord, 99);
    }
    Play(k, {"7677歩"}); // a hand-made text: the pawn steps back onto the bishop's old square
    k.ComToMove = false;
    k.UndoMoveText(MoveText(k.Sente.LastMove));
    EXPECT_TRUE(k.Sente.Pieces.List[kBishopIndex].Captured);
    EXPECT_EQ(At(k, 77), " ");
    EXPECT_EQ(k.Sente.LostMaterial, 450);
}

TEST(Position, TestPositionSetUp) {
    TKyokumen k;
    k.SetupTestPosition();
    EXPECT_EQ(At(k, 11), "com王");
    EXPECT_EQ(At(k, 52), "com銀");
    EXPECT_EQ(At(k, 92), "com角");
    EXPECT_EQ(At(k, 33), "と");
    EXPECT_EQ(k.PieceAt[33], 12);
    EXPECT_EQ(k.ValueAt[33], 30);
    for (int sq : {21, 13, 23, 31, 51, 27}) EXPECT_EQ(k.PieceAt[sq], -1) << sq;
    const auto& com = k.Gote.Pieces.List;
    for (int index : {0, 1, 11, 12}) {
        EXPECT_TRUE(com[index].Captured);
        EXPECT_EQ(com[index].CapturedAt, 99);
        EXPECT_EQ(com[index].CaptureRecord, 99);
    }
    EXPECT_EQ(com[2].Square(), 52);
    EXPECT_EQ(com[9].Square(), 92);
    EXPECT_EQ(com[kKingIndex].Square(), 11);
    EXPECT_EQ(k.Sente.Pieces.List[12].Square(), 33);
    EXPECT_EQ(k.Sente.Pieces.List[12].PromotedAt, 1);
    EXPECT_EQ(k.MoveCount, 0);
    EXPECT_FALSE(k.ComToMove);
    // The promoted pawn moves with the gold routine.
    k.GenerateMoves();
    EXPECT_TRUE(k.Sente.Moves.Contains(ParseMoveText("3343と")));
}

TEST(Position, TestPositionPawnStaysPromotedWhenItsFirstMoveIsTakenBack) {
    // The set-up stamps the pawn's promotion 1, the stamp of the first move; taking back that pawn's
    // first move must not demote it.
    TKyokumen k;
    k.SetupTestPosition();
    const TComa& pawn = k.Sente.Pieces.List[12];
    EXPECT_EQ(k.TestHumanMove(33, 34).Text(), "3334と");
    EXPECT_EQ(k.TestHumanMove(33, 22).Text(), "3322と");
    EXPECT_EQ(At(k, 33), "と");
    EXPECT_EQ(pawn.PromotedAt, 1);

    for (const char* first : {"3334と", "3332と"}) {
        k.ComToMove = false;
        k.ApplyMoveText(first);
        k.UndoMoveText(MoveText(k.Sente.LastMove));
        EXPECT_EQ(At(k, 33), "と") << first;
        EXPECT_EQ(k.ValueAt[33], 30) << first;
        EXPECT_EQ(pawn.PromotedAt, 1) << first;
    }
}

TEST(Position, MalformedMoveTextsChangeNothing) {
    TKyokumen k;
    Play(k, {"7675歩", "8384com歩"});
    const auto before = StateOf(k);
    const TMove lastHuman = k.Sente.LastMove, lastCom = k.Gote.LastMove;
    const char* bad[] = {
        "77",        // too short
        "7776",      // no name
        "7a76歩",    // not a digit
        "0776歩",    // off the board
        "7770歩",    // off the board
        "7574飛車",  // no such name
        "7574com歩", // a COM name while the human moves
        "5554歩",    // nothing on 55
        "7574銀",    // the piece on 75 is a pawn
        "8384com歩", // COM's pawn
        "2827飛",    // lands on the human's own pawn
        "7575歩",    // does not move
    };
    for (const char* text : bad) {
        k.ComToMove = false;
        EXPECT_THROW(k.ApplyMoveText(text), std::invalid_argument) << text;
        EXPECT_EQ(StateDifference(StateOf(k), before), "") << text;
        EXPECT_EQ(k.Sente.LastMove, lastHuman) << text;
        EXPECT_EQ(k.Gote.LastMove, lastCom) << text;
    }
    const char* badUndo[] = {"", "75", "7675歩兵", "7675銀", "7574歩", "8384com歩"};
    for (const char* text : badUndo) {
        k.ComToMove = false;
        EXPECT_THROW(k.UndoMoveText(text), std::invalid_argument) << text;
        EXPECT_EQ(StateDifference(StateOf(k), before), "") << text;
    }
    k.ApplyMoveText("");
    EXPECT_EQ(StateDifference(StateOf(k), before), "");

    try {
        k.ApplyMoveText("7a76歩");
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("7a76歩"), std::string::npos);
    }
}

TEST(Position, BoardCarriesTheMoversCurrentName) {
    TKyokumen k;
    k.ComToMove = false;
    k.ApplyMoveText("7675と"); // a hand-made text naming the pawn by its promoted name
    EXPECT_EQ(At(k, 75), "歩");
    EXPECT_EQ(k.ValueAt[75], 10);
    EXPECT_EQ(MoveText(k.Sente.LastMove), "7675歩");
}
