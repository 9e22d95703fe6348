// COM's think: the outcomes decided by its first stages and its last resort, and what it leaves
// behind. These hold whatever the scoring passes between them choose.
#include "com/Random.h"
#include "session/ComReasonText.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace testing_helpers;

namespace {

std::string Text(const TMove& m) {
    return MoveText(m);
}

// COM's king on 55 walled in by its own pawns on 64, 54, 44 and 45, checked by a knight on 67 that
// nothing can take or block; the human's pawns and bishop hold 65, 56 and 66.
void KnightCheck(TKyokumenKanri& g, bool flightTo46) {
    Play(g, {"5155com王", "4445com歩", "5354com歩", "6364com歩", "3444com歩"});
    if (flightTo46) Play(g, {"4748歩"});
    Play(g, {"8967桂"});
}

void GenerateBothLists(TKyokumenKanri& g) {
    g.Kyokumen.ComToMove = false;
    g.Kyokumen.GenerateMoves();
    g.Kyokumen.ComToMove = true;
    g.Kyokumen.GenerateMoves();
}

struct PieceState {
    int File, Rank, CapturedAt, CaptureRecord, PromotedAt, Value;
    bool Captured;
    bool operator==(const PieceState&) const = default;
};

// Everything the think must hand back as it found it.
struct Snapshot {
    std::array<PieceName, kMapSize> Board;
    std::array<int, kMapSize> PieceAt, ValueAt;
    std::vector<PieceState> Pieces;
    std::vector<TMove> HumanMoves, ComMoves;
    TMove HumanLast, ComLast;
    int MoveCount;
    std::uint8_t Side;
    bool ComToMove;

    explicit Snapshot(const TKyokumenKanri& g)
        : Board(g.Kyokumen.Board), PieceAt(g.Kyokumen.PieceAt), ValueAt(g.Kyokumen.ValueAt),
          HumanMoves(g.Kyokumen.Sente.Moves.begin(), g.Kyokumen.Sente.Moves.end()),
          ComMoves(g.Kyokumen.Gote.Moves.begin(), g.Kyokumen.Gote.Moves.end()),
          HumanLast(g.Kyokumen.Sente.LastMove), ComLast(g.Kyokumen.Gote.LastMove),
          MoveCount(g.Kyokumen.MoveCount), Side(g.SideToMove), ComToMove(g.Kyokumen.ComToMove) {
        for (const auto* set : {&g.Kyokumen.Sente.Pieces.List, &g.Kyokumen.Gote.Pieces.List})
            for (const TComa& p : *set)
                Pieces.push_back(
                    {p.File, p.Rank, p.CapturedAt, p.CaptureRecord, p.PromotedAt, p.Value, p.Captured});
    }
    bool operator==(const Snapshot&) const = default;
};

} // namespace

TEST(ComThink, CapturedKingEndsTheGameAsTheHumansWin) {
    TKyokumenKanri g;
    Play(g, {"7675歩", "3324com角", "5951王"}); // the human's king takes COM's
    g.ComMove = ParseMoveText("1112com香");
    const Snapshot before(g);

    g.ComThink();

    EXPECT_TRUE(g.HumanMatesFlag);
    EXPECT_TRUE(g.ComMove.Empty());
    EXPECT_EQ(g.LastStage(), ComStage::Prepare);
    EXPECT_TRUE(Snapshot(g) == before);
}

TEST(ComThink, BareKingEndsTheThinkBeforeAnyScoring) {
    TKyokumenKanri g;
    // The human's rook takes all nineteen of COM's other pieces and ends next to COM's king, where the
    // king could take it.
    Play(g, {"2811飛", "1121飛", "2131飛", "3141飛", "4161飛", "6171飛", "7181飛",
             "8191飛", "9182飛", "8233飛", "3313飛", "1323飛", "2334飛", "3444飛",
             "4453飛", "5363飛", "6373飛", "7383飛", "8393飛", "9352飛"});

    g.ComThink();

    EXPECT_TRUE(g.ComBareKingFlag);
    EXPECT_FALSE(g.HumanMatesFlag);
    EXPECT_TRUE(g.ComMove.Empty());
    EXPECT_EQ(g.LastStage(), ComStage::BareKing);
}

TEST(ComThink, NoMoveThatKeepsTheKingSafeIsTheHumansWin) {
    TKyokumenKanri g;
    KnightCheck(g, false);

    g.ComThink();

    EXPECT_TRUE(g.HumanMatesFlag);
    EXPECT_FALSE(g.ComMatesFlag);
    EXPECT_TRUE(g.ComMove.Empty());
}

TEST(ComThink, CheckIsAnsweredByTheEscapeSearch) {
    TKyokumenKanri g;
    KnightCheck(g, true);

    g.ComThink();

    EXPECT_EQ(g.LastStage(), ComStage::EscapeByScan);
    EXPECT_EQ(Text(g.ComMove), "5546com王");
    EXPECT_FALSE(g.HumanMatesFlag);
}

TEST(ComThink, LeavesPositionListsAndLastMovesAsFound) {
    TKyokumenKanri opening;
    Play(opening, {"7675歩"});
    TKyokumenKanri threatened;
    Play(threatened, {"5155com王", "4445com歩", "5354com歩", "6364com歩", "3444com歩", "7978銀", "8979桂"});
    TKyokumenKanri inCheck;
    KnightCheck(inCheck, true);
    TKyokumenKanri mated;
    KnightCheck(mated, false);

    for (TKyokumenKanri* g : {&opening, &threatened, &inCheck, &mated}) {
        GenerateBothLists(*g);
        const Snapshot before(*g);
        g->ComThink();
        EXPECT_TRUE(Snapshot(*g) == before) << "think ended at stage " << g->LastStage();
    }
}

// One position for each stage that can choose COM's move or end the game, and what COM says. The
// positions are those of the stage tests where they are short; the others come from scripted games.
TEST(ComThink, EachStageThatDecidesGivesItsReason) {
    struct Row {
        ComStage Stage;
        std::string_view Reason;
        std::string_view Formation;
        std::vector<std::string_view> Moves;
        void (*Before)(TKyokumenKanri&) = nullptr; // before the moves
    };
    const std::string_view kihon = "【基本形】";
    const Row rows[] = {
        {ComStage::Prepare, "自玉を取られた", kihon, {"7675歩", "3324com角", "5951王"}},
        {ComStage::BareKing,
         "王一枚のみになった",
         kihon,
         {},
         [](TKyokumenKanri& g) { TakeComPiecesWithTheRook(g, ComPiecesBut({})); }},
        {ComStage::EscapeByScan, "読みで自玉の危険を回避", kihon, {"7372com歩", "7795角"}},
        {ComStage::EscapeFromCheck,
         "王手を回避",
         "【ミルトア式十字穴熊】",
         {"8242com飛", "7374com歩", "5162com王", "6272com王", "7282com王", "9192com香", "8291com王",
          "7182com銀", "8384com歩", "8283com銀", "7755角"}},
        {ComStage::MatedInCheck,
         "王手を逃れる手がない",
         kihon,
         {"5155com王", "4445com歩", "5354com歩", "6364com歩", "3444com歩", "8967桂"}},
        {ComStage::MateInOne,
         "一手詰め",
         "【四間飛車】",
         {"5948王", "8242com飛", "4445com歩", "4838王", "4546com歩", "7968銀"}},
        {ComStage::SafeForkingCheck, "王手で両取り", kihon, {"3736歩", "3315com角", "2937桂"}},
        {ComStage::CaptureMajorPiece, "大駒を取る", kihon, {"7724角"}},
        {ComStage::RescueRook, "飛車を逃がす", kihon, {"8285com飛", "8786歩"}},
        {ComStage::RescueBishop, "角を逃がす", kihon, {"3315com角", "1548com角成", "5968王"}},
        {ComStage::KingFlightTo71,
         "玉を７一方面へ早逃げ",
         "【ミルトア式BIG4 改】",
         {"3132com銀", "3243com銀", "4445com歩", "4344com銀", "7786角", "4142com金", "4243com金", "8631角"}},
        {ComStage::KingFlightTo31,
         "玉を３一方面へ早逃げ",
         "【ミルトア式十字穴熊】",
         {"8242com飛", "7675歩", "9394com歩", "7574歩", "7473歩"}},
        {ComStage::BestCapture, "駒を取る", kihon, {"4914金"}},
        {ComStage::ContactCheck, "相手玉に接して王手", kihon, {"4143com金", "5955王"}},
        {ComStage::RescueHangingPiece,
         "狙われた浮き駒を逃がす",
         "【四間飛車】",
         {"4445com歩", "4546com歩", "4647comと", "6958金"}},
        {ComStage::EscapeCheaperAttackers,
         "安い駒に狙われた駒を逃がす",
         "【穴熊】",
         {"3324com角", "2468com角成", "7768角", "2133com桂", "3345com桂", "4746歩"}},
        {ComStage::RookTwoStep, "次に飛車で駒を取る狙い", kihon, {"6352com歩", "6665歩"}},
        {ComStage::DefendHangingPawns, "狙われた歩を守る", "【穴熊】", {"7786角"}},
        {ComStage::DefendHangingPieces,
         "狙われた駒を守る",
         "【ミルトア式十字穴熊】",
         {"3315com角", "1548com角成", "3948銀", "2133com桂", "4445com歩", "6665歩"}},
        {ComStage::AttackMajorPieces, "相手の大駒か玉を狙う", "【中飛車】", {"3736歩"}},
        // The number counts COM's moves on the formation, not the steps done: two steps marked
        // beforehand leave this its first.
        {ComStage::FormationSteps,
         "【矢倉囲い】の駒組み 1手目",
         "【矢倉囲い】",
         {"3132com銀", "3342com角", "5958王"},
         [](TKyokumenKanri& g) {
             g.Strategy(YaguraGakoi).MarkStepDone();
             g.Strategy(YaguraGakoi).MarkStepDone();
         }},
        {ComStage::AdvanceAlongRookFile, "飛車先に駒を進める", "", {"5958王"}},
        {ComStage::CastleByZones,
         "相手の攻めから離れて囲う",
         "",
         {"8384com歩", "8485com歩", "7374com歩", "7172com銀", "7283com銀", "8384com銀", "8173com桂",
          "1918香"}},
        {ComStage::BalanceStage,
         "駒の損得を読んだ一手",
         "【三間飛車】",
         {"5948王", "8232com飛", "3342com角", "2726歩",    "3122com銀", "7768角",    "5756歩",
          "6857角", "6968金",    "2133com桂", "3736歩",    "3345com桂", "5713角",    "1113com香",
          "1716歩", "1316com香", "1916香",    "2233com銀", "4746歩",    "2324com歩", "4858王"}},
        {ComStage::ApproachHumanKing,
         "相手玉に迫る",
         "",
         {"1716歩"},
         [](TKyokumenKanri& g) { ShuffleKings(g, 10); }},
        {ComStage::AttackWithSmallBonus,
         "攻めの一手",
         kihon,
         {"6665歩", "7768角", "9998香"},
         [](TKyokumenKanri& g) { TakeComPiecesWithTheRook(g, ComPiecesBut({33})); }},
        {ComStage::KingZoneWithBonus,
         "自玉の守りを固める",
         kihon,
         {"5112com王", "5958王"},
         [](TKyokumenKanri& g) { TakeComPiecesWithTheRook(g, ComPiecesBut({11})); }},
        // COM's king on 11 is not in check, its knight on 21 is pinned by the dragon on 91 and the
        // human's と on 13 holds both of the king's flight squares.
        {ComStage::NothingFound,
         "指せる手がない",
         kihon,
         {"2891龍王", "5111com王", "1713歩"},
         [](TKyokumenKanri& g) { TakeComPiecesWithTheRook(g, ComPiecesBut({21})); }},
    };

    for (const Row& row : rows) {
        TRandom rng(12345);
        TKyokumenKanri g(rng);
        g.SetFormation(row.Formation);
        if (row.Before) row.Before(g);
        for (std::string_view m : row.Moves) Play(g, {m});
        g.ComThink();
        EXPECT_EQ(g.LastStage(), row.Stage) << row.Reason;
        EXPECT_EQ(ComReasonText(g.LastReason()), row.Reason) << "at " << g.LastStage();
    }
}

TEST(Random, FirstValuesFromSeedZero) {
    // seed := seed * 134775813 + 1 (mod 2^32); a value below n is (n * seed) >> 32.
    //   seed 0 -> 1:                     100 * 1 / 2^32                 -> 0
    //   seed 1 -> 134775814:             13477581400 / 4294967296      = 3.14 -> 3
    //   seed 134775814 -> 3698175007:    369817500700 / 4294967296     = 86.1 -> 86
    //   seed 3698175007 -> 870078620:    87007862000 / 4294967296      = 20.3 -> 20
    TRandom rng;
    EXPECT_EQ(rng.Below(100), 0u);
    EXPECT_EQ(rng.Below(100), 3u);
    EXPECT_EQ(rng.Below(100), 86u);
    EXPECT_EQ(rng.Below(100), 20u);
    EXPECT_EQ(rng.Seed(), 870078620u);
}
