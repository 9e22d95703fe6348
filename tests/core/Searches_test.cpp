// COM's look-aheads on positions reached by move texts. Pieces may jump in a set-up text: the position
// plays any text whose mover stands on its from-square, which lets a test place pieces directly.
#include "game/Clock.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using testing_helpers::Play;

namespace {

TMove M(std::string_view text) {
    return ParseMoveText(text);
}

std::string Text(const TMove& m) {
    return MoveText(m);
}

// The even start with COM's gold on 52 pinned against its king by a human rook on 54.
void PinnedGold(TKyokumenKanri& g) {
    Play(g, {"6152com金", "5354com歩", "2854飛"});
}

void PrepareDangerScan(TKyokumenKanri& g, std::int64_t deadline) {
    g.SearchDepth = 0;
    g.MaxDepth = 3;
    g.ThreatResult = 0;
    g.Deadline = deadline;
    g.LosingMoves.Clear();
}

void PrepareRootSearch(TKyokumenKanri& g, int maxDepth) {
    g.SearchDepth = 0;
    g.MaxDepth = maxDepth;
    g.ThreatResult = 0;
    g.BestRootScore = -5000;
    g.ComMove = TMove{};
    g.Deadline = DeadlineTickMs() + 8000;
}

// What a search must leave as it found it. The last-move records are not among them: every undo
// rewrites its side's record, and the think puts both back after each search.
struct Snapshot {
    std::array<PieceName, kMapSize> Board;
    int MoveCount;
    std::uint8_t Side;
    bool ComToMove;
    explicit Snapshot(const TKyokumenKanri& g)
        : Board(g.Kyokumen.Board), MoveCount(g.Kyokumen.MoveCount), Side(g.SideToMove),
          ComToMove(g.Kyokumen.ComToMove) {}
    bool operator==(const Snapshot&) const = default;
};

} // namespace

TEST(KingDangerSearch, ListsTheMovesThatUnpinTheKing) {
    TKyokumenKanri g;
    PinnedGold(g);
    const Snapshot before(g);
    PrepareDangerScan(g, DeadlineTickMs() + 8000);

    g.KingDangerSearch(-5000, 5000);

    // Every sideways or diagonal step of the pinned gold opens the file to the rook.
    EXPECT_TRUE(g.LosingMoves.Contains(M("5262com金")));
    EXPECT_TRUE(g.LosingMoves.Contains(M("5242com金")));
    EXPECT_TRUE(g.LosingMoves.Contains(M("5243com金")));
    // Staying on the file keeps the king covered.
    EXPECT_FALSE(g.LosingMoves.Contains(M("5253com金")));
    EXPECT_FALSE(g.LosingMoves.Contains(M("1112com香")));
    EXPECT_TRUE(Snapshot(g) == before);
}

TEST(KingDangerSearch, ListsAMoveAfterWhichTheHumanMatesAtOnce) {
    TKyokumenKanri g;
    // COM's king on 55 walled in by its own pawns; the human's knight on 79 mates from 67.
    Play(g, {"5155com王", "4445com歩", "5354com歩", "6364com歩", "3444com歩", "7978銀", "8979桂"});
    PrepareDangerScan(g, DeadlineTickMs() + 8000);

    g.KingDangerSearch(-5000, 5000);

    // A far pawn step leaves the king unattacked but lets the knight in; COM has no reply to it.
    EXPECT_TRUE(g.LosingMoves.Contains(M("9394com歩")));
    // Stepping the pawn from 64 opens a flight square for the king.
    EXPECT_FALSE(g.LosingMoves.Contains(M("6465com歩")));
}

TEST(KingDangerSearch, DeadlineAlreadyPastEndsTheRootLoopAfterItsFirstMove) {
    TKyokumenKanri g;
    PinnedGold(g);
    PrepareDangerScan(g, DeadlineTickMs() - 1);
    const std::uint64_t applied = g.AppliedMoves();

    g.KingDangerSearch(-5000, 5000);

    // The first root move, the lance's step, is probed and explored (played once: the exploration goes
    // on from the probe); the reply node stops after its first move too (a far lance move that needs no
    // probe). The gold is never reached.
    EXPECT_EQ(g.AppliedMoves() - applied, 1u);
    EXPECT_TRUE(g.LosingMoves.IsEmpty());
}

TEST(KingDangerSearch, TakenKingsEndTheSearchAtOnce) {
    TKyokumenKanri human;
    Play(human, {"5159com王"}); // COM's king takes the human's
    PrepareDangerScan(human, DeadlineTickMs() + 8000);
    EXPECT_EQ(human.KingDangerSearch(-5000, 5000), 5000);

    TKyokumenKanri com;
    Play(com, {"5951王"});
    PrepareDangerScan(com, DeadlineTickMs() + 8000);
    EXPECT_EQ(com.KingDangerSearch(-5000, 5000), -5000);
    EXPECT_EQ(com.ThreatResult, -5000);
}

namespace {

// COM's rook on 15 is attacked by a knight on 27 that nothing can take or block; its only move takes
// whatever stands on 16.
void BoxedRook(TKyokumenKanri& g) {
    Play(g, {"8215com飛", "1314com歩", "2325com歩", "2726歩", "2927桂"});
}

} // namespace

TEST(RescueSearch, RookTakesABishopEvenWhenItStaysAttacked) {
    TKyokumenKanri g;
    BoxedRook(g);
    Play(g, {"7716角"}); // defended by the pawn on 17
    const Snapshot before(g);
    PrepareRootSearch(g, 4);

    g.RookRescueSearch(-5000, 5000);

    EXPECT_EQ(Text(g.ComMove), "1516com飛");
    EXPECT_TRUE(Snapshot(g) == before);
}

TEST(RescueSearch, RookTakesASilverOnlyWhereItIsSafe) {
    TKyokumenKanri defended;
    BoxedRook(defended);
    Play(defended, {"3916銀"});
    PrepareRootSearch(defended, 4);
    defended.RookRescueSearch(-5000, 5000);
    EXPECT_TRUE(defended.ComMove.Empty());

    TKyokumenKanri undefended;
    BoxedRook(undefended);
    Play(undefended, {"1718歩", "3916銀"});
    PrepareRootSearch(undefended, 4);
    undefended.RookRescueSearch(-5000, 5000);
    EXPECT_EQ(Text(undefended.ComMove), "1516com飛");
}

namespace {

// COM's king on 15 behind its lance on 25, pinned by a human rook on 45; a promoted human lance on 22
// that COM's silver can take.
void PinnedLance(TKyokumenKanri& g) {
    Play(g, {"5115com王", "1125com香", "2845飛", "1922香"});
}

} // namespace

TEST(BalanceSearch, SkipsMovesThatLeaveTheKingAttacked) {
    TKyokumenKanri g;
    PinnedLance(g);
    const Snapshot before(g);
    PrepareRootSearch(g, 4);

    g.BalanceSearch(5000, -5000);

    // The lance's two moves come first and would end the root loop with their poor balance.
    EXPECT_EQ(Text(g.ComMove), "3122com銀");
    EXPECT_TRUE(Snapshot(g) == before);
}

TEST(BalanceSearch, NeverPlaysAMoveThatLosesTheKing) {
    TKyokumenKanri g;
    PinnedLance(g);
    PrepareRootSearch(g, 4);
    g.LosingMoves.Add(M("3122com銀"));

    g.BalanceSearch(5000, -5000);

    EXPECT_NE(Text(g.ComMove), "3122com銀");
    EXPECT_NE(Text(g.ComMove), "2526com香");
    EXPECT_NE(Text(g.ComMove), "2527com香");
}

TEST(BalanceSearch, StopsAtTheFirstRootMoveBelowTheRootsOwnBalance) {
    TKyokumenKanri g;
    Play(g, {"2726歩"});
    PrepareRootSearch(g, 4);
    g.ComMove = M("9394com歩");

    g.BalanceSearch(5000, -5000);

    EXPECT_EQ(Text(g.ComMove), "9394com歩");
    EXPECT_EQ(g.BestRootScore, -5000);
}

// The value the search returns is what COM's balance stage compares with zero, so it is pinned along
// with the best root score and the move: each row is the position after its moves, the side after the
// last mover to move.
TEST(BalanceSearch, ReturnsTheBalanceOfTheLineItStoppedOn) {
    struct Row {
        std::vector<std::string_view> Setup;
        int Depth;
        int Balance; // EvalBalance of the root
        int Value;   // what the search returns
        int BestRoot;
        std::string_view Move;
    };
    const Row rows[] = {
        {{"2726歩"}, 4, 0, -20, -5000, ""},
        {{"7675歩", "3324com角"}, 4, 10, 5, -5000, ""},
        {{"2824飛"}, 3, 410, 260, -5000, ""},
        {{"2824飛"}, 4, 410, 400, -5000, ""},
        {{"2826飛", "8285com飛"}, 4, -10, -135, -5000, ""},
        {{"5115com王", "1125com香", "2845飛", "1922香"}, 4, 510, 455, 610, "3122com銀"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.Setup.back()) + " at depth " + std::to_string(row.Depth));
        TKyokumenKanri g;
        for (std::string_view m : row.Setup) Play(g, {m});
        PrepareRootSearch(g, row.Depth);
        EXPECT_EQ(g.EvalBalance(), row.Balance);
        EXPECT_EQ(g.BalanceSearch(5000, -5000), row.Value);
        EXPECT_EQ(g.BestRootScore, row.BestRoot);
        EXPECT_EQ(Text(g.ComMove), row.Move);
    }
}

namespace {

// COM's king on 55 walled in by its own pawns on 64, 54, 44 and 45; the human's pawns and bishop hold
// 65, 56, 66 and 46.
void WalledKing(TKyokumenKanri& g) {
    Play(g, {"5155com王", "4445com歩", "5354com歩", "6364com歩", "3444com歩"});
}

} // namespace

TEST(ThreatSearch, NothingNearTheKingExploresNothing) {
    TKyokumenKanri g;
    Play(g, {"7675歩", "8384com歩"});
    PrepareRootSearch(g, 4);
    g.Kyokumen.GenerateMoves();
    const int humanMoves = g.Kyokumen.Sente.Moves.Size();
    const std::uint64_t applied = g.AppliedMoves();

    const int r = g.ThreatSearch(-5000, 5000);

    EXPECT_EQ(r, g.EvalComLoss());
    // One probe each, nothing explored: the root's probes count without playing, all but the last.
    EXPECT_GT(humanMoves, 1);
    EXPECT_EQ(g.AppliedMoves() - applied, 1u);
    EXPECT_EQ(g.ThreatResult, 5000); // the last move was not explored either, and the king is safe
}

TEST(ThreatSearch, SeesAMateInOne) {
    TKyokumenKanri g;
    WalledKing(g);
    Play(g, {"7978銀", "8979桂"}); // the knight mates from 67
    Play(g, {"9394com歩"});
    PrepareRootSearch(g, 4);

    EXPECT_EQ(g.ThreatSearch(-5000, 5000), -5000);
}

TEST(EscapeSearch, ChoosesTheOnlySafeKingMove) {
    TKyokumenKanri g;
    WalledKing(g);
    Play(g, {"4748歩", "8967桂"}); // 46 is open; the knight checks from 67
    const Snapshot before(g);
    PrepareRootSearch(g, 5);

    g.EscapeSearch(-5000, 5000);

    EXPECT_EQ(Text(g.ComMove), "5546com王");
    EXPECT_TRUE(Snapshot(g) == before);

    PrepareRootSearch(g, 5);
    g.LosingMoves.Add(M("5546com王"));
    g.EscapeSearch(-5000, 5000);
    EXPECT_TRUE(g.ComMove.Empty());
}

TEST(EscapeSearch, TakesTheFirstOfTwoEscapesNotKnownToLose) {
    TKyokumenKanri g;
    Play(g, {"5155com王", "4445com歩", "5354com歩", "8967桂"}); // 64 and 44 are both open
    PrepareRootSearch(g, 5);
    g.EscapeSearch(-5000, 5000);
    EXPECT_EQ(Text(g.ComMove), "5564com王");

    PrepareRootSearch(g, 5);
    g.LosingMoves.Add(M("5564com王"));
    g.EscapeSearch(-5000, 5000);
    EXPECT_EQ(Text(g.ComMove), "5544com王");
}
