// COM's think: the outcomes decided by its first stages and its last resort, and what it leaves
// behind. These hold whatever the scoring passes between them choose.
#include "com/Random.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using testing_helpers::Play;

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

TEST(Random, FirstValuesFromSeedZero) {
    // seed := seed * 134775813 + 1 (mod 2^32); a value below n is (n * seed) >> 32.
    //   seed 0 -> 1:                     100 * 1 / 2^32                 -> 0
    //   seed 1 -> 134775814:             13477581400 / 4294967296      = 3.14 -> 3
    //   seed 134775814 -> 3698175007:    369817500700 / 4294967296     = 86.1 -> 86
    //   seed 3698175007 -> 870078620:    87007862000 / 4294967296      = 20.3 -> 20
    const std::uint32_t kept = TRandom::Program().Seed();
    TRandom::Program().SetSeed(0);
    EXPECT_EQ(TRandom::Program().Below(100), 0u);
    EXPECT_EQ(TRandom::Program().Below(100), 3u);
    EXPECT_EQ(TRandom::Program().Below(100), 86u);
    EXPECT_EQ(TRandom::Program().Below(100), 20u);
    EXPECT_EQ(TRandom::Program().Seed(), 870078620u);
    TRandom::Program().SetSeed(kept);
}
