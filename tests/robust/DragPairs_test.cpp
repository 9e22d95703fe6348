// Every drag on a sample of positions reached through the game session: from each of the 81 squares to
// each square, to no square at all (a drag that ends without a drop) and to codes that name no square.
// A refused drag changes the label alone; the record, the move lists, the position and both last-move
// records stay as they were.
#include "support/Helpers.h"
#include "support/Invariants.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using scripted_play::PlayRandomTurn;
using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

const std::string kIllegalLabel = "あなたの番です。\r\n\r\n駒の動かし方が不正です。";
const std::string kIllegalCheckLabel = "あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。";

// How a sample position is reached: a new game of the given kind, then random turns until the stop
// rule holds; optionally a take-back at the end.
struct Recipe {
    enum class Start { Even, Handicap, Test } Begin = Start::Even;
    int Turns = 0;              // stop after this many turns (or earlier when the game ends)
    bool UntilCheck = false;    // stop at the first turn in which COM gives check
    bool UntilOver = false;     // play to the end of the game
    bool TakeBackAtEnd = false; // then take the last pair back
    unsigned Seed = 1;
    const char* Name = "";
};

void Reach(TGameSession& s, const Recipe& r) {
    // COM's generator back to where the game began, so that COM answers the same moves the same way.
    s.Rng().SetSeed(0);
    switch (r.Begin) {
    case Recipe::Start::Even:
        s.NewGame();
        break;
    case Recipe::Start::Handicap:
        s.NewHandicapGame();
        break;
    case Recipe::Start::Test:
        s.NewTestGame();
        break;
    }
    std::mt19937 human(r.Seed);
    for (int t = 0; (r.UntilOver || r.UntilCheck || t < r.Turns) && !s.GameOver() && t < 400; ++t) {
        const TTurnReport report = PlayRandomTurn(s, human);
        ASSERT_NE(report.Result, Outcome::Illegal) << r.Name << ": no legal move";
        if (r.UntilCheck && report.Check && !s.GameOver()) break;
    }
    if (r.UntilCheck) {
        ASSERT_TRUE(InCheck(s.Position().Board, s.SideToMove()) && !s.GameOver()) << r.Name;
    }
    if (r.UntilOver) {
        ASSERT_TRUE(s.GameOver()) << r.Name;
    }
    if (r.TakeBackAtEnd) {
        ASSERT_TRUE(s.Matta().Done) << r.Name;
    }
}

// All the game a refused drag must leave alone: everything but the label and the drag squares.
struct GameState {
    std::vector<std::string> Kifu, Board;
    std::vector<TMove> Moves, Shown;
    testing_helpers::PositionState Position;
    TMove HumanLast, ComLast;
    Side ToMove;
    TGameEnd Ending;
    std::vector<std::string> ComBoard; // what COM's game manager holds
    bool MattaUsed, Replay;
    std::string Status;

    explicit GameState(const TGameSession& s)
        : Kifu(s.KifuLines()), Board(s.BoardPosition().BoardList()), Moves(s.MoveHistory()),
          Shown(s.ShownMoveHistory()), Position(testing_helpers::StateOf(s.BoardPosition())),
          HumanLast(s.BoardPosition().Sente.LastMove), ComLast(s.BoardPosition().Gote.LastMove),
          ToMove(s.SideToMove()), Ending(s.Ending()),
          ComBoard(s.ComKanri(Side::Gote) ? s.ComKanri(Side::Gote)->BoardList() : std::vector<std::string>{}),
          MattaUsed(s.MattaUsed()), Replay(s.ReplayMode()), Status(s.Status()) {}

    std::string DifferenceTo(const GameState& o) const {
        if (Kifu != o.Kifu) return "the record";
        if (Board != o.Board) return "the board list";
        if (Moves != o.Moves || Shown != o.Shown) return "the move lists";
        if (std::string d = testing_helpers::StateDifference(Position, o.Position); !d.empty()) return d;
        if (!(HumanLast == o.HumanLast)) return "the human's last-move record";
        if (!(ComLast == o.ComLast)) return "COM's last-move record";
        if (ToMove != o.ToMove) return "the side to move";
        if (!(Ending == o.Ending)) return "the game's end";
        if (ComBoard != o.ComBoard) return "COM's own board";
        if (MattaUsed != o.MattaUsed) return "the take-back flag";
        if (Replay != o.Replay) return "replay mode";
        if (Status != o.Status) return "the status line";
        return {};
    }
};

// A drop target: a square code, or kNoDrop for a drag that ends without a drop.
constexpr int kNoDrop = -1000;

std::vector<int> DropTargets() {
    std::vector<int> targets;
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) targets.push_back(file * 10 + rank);
    targets.push_back(kNoDrop);
    for (int code : {0, 1, 9, 10, 19, 50, 90, 100, 101, 111, 255, -1, -11}) targets.push_back(code);
    return targets;
}

struct DragCounts {
    int Refused = 0, Accepted = 0;
};

DragCounts CheckEveryDrag(const Recipe& recipe) {
    DragCounts counts;
    QuietView view;
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
    TGameSession s(view, hooks);
    s.Start();
    Reach(s, recipe);
    if (::testing::Test::HasFatalFailure()) return counts;

    const std::vector<int> targets = DropTargets();
    std::vector<int> sources(targets.begin(), targets.end());
    sources.erase(std::remove(sources.begin(), sources.end(), kNoDrop), sources.end());
    for (int from : sources)
        for (int to : targets) {
            // Drags from codes that name no square are tried against a few targets only.
            if (!OnBoard(FileOf(from), RankOf(from)) && to != 55 && to != kNoDrop && to != from + 1) continue;
            const GameState before(s);
            const std::string label = s.Message();
            view.Boxes.clear();
            // A drag let go outside the board names no destination.
            const TTurnReport r = s.MoveComa_Screen(from, to == kNoDrop ? 0 : to);
            const std::string where = std::string(recipe.Name) + ", drag " + std::to_string(from) + " -> " +
                                      (to == kNoDrop ? std::string("no drop") : std::to_string(to));
            if (r.Result == Outcome::Illegal || r.Result == Outcome::IllegalCheck ||
                r.Result == Outcome::Ignored) {
                ++counts.Refused;
                const std::string d = GameState(s).DifferenceTo(before);
                EXPECT_EQ(d, "") << where;
                EXPECT_TRUE(view.Boxes.empty()) << where << ": " << view.Boxes.front();
                const std::string& expected = r.Result == Outcome::Illegal        ? kIllegalLabel
                                              : r.Result == Outcome::IllegalCheck ? kIllegalCheckLabel
                                                                                  : label;
                EXPECT_EQ(s.Message(), expected) << where;
                if (!d.empty() || !view.Boxes.empty()) return counts;
                continue;
            }
            // A move was made: start again from the same position.
            ++counts.Accepted;
            EXPECT_TRUE(OnBoard(FileOf(from), RankOf(from)) && OnBoard(FileOf(to), RankOf(to))) << where;
            EXPECT_EQ(invariants::PositionFault(s.BoardPosition()), "") << where;
            Reach(s, recipe);
            if (::testing::Test::HasFatalFailure()) return counts;
            EXPECT_EQ(GameState(s).DifferenceTo(before), "")
                << where << ": the position was not reached again";
        }
    return counts;
}

} // namespace

TEST(DragPairs, RefusedDragsOnStartPositionsChangeOnlyTheLabel) {
    for (Recipe r : {Recipe{Recipe::Start::Even, 0, false, false, false, 1, "even start"},
                     Recipe{Recipe::Start::Handicap, 0, false, false, false, 1, "handicap start"},
                     Recipe{Recipe::Start::Test, 0, false, false, false, 1, "test position"}}) {
        const DragCounts c = CheckEveryDrag(r);
        ASSERT_FALSE(HasFailure());
        EXPECT_GT(c.Accepted, 0) << r.Name;
    }
}

TEST(DragPairs, RefusedDragsInPlayedGamesChangeOnlyTheLabel) {
    for (Recipe r :
         {Recipe{Recipe::Start::Even, 12, false, false, false, 7, "even game, 12 turns"},
          Recipe{Recipe::Start::Even, 30, false, false, false, 8, "even game, 30 turns"},
          Recipe{Recipe::Start::Handicap, 20, false, false, false, 9, "handicap game, 20 turns"},
          Recipe{Recipe::Start::Test, 2, false, false, false, 10, "test position, 2 turns"},
          Recipe{Recipe::Start::Even, 10, false, false, true, 11, "even game after a take-back"}}) {
        const DragCounts c = CheckEveryDrag(r);
        ASSERT_FALSE(HasFailure());
        EXPECT_GT(c.Accepted, 0) << r.Name;
    }
}

// In check, most drags are refused, many of them as leaving the king attacked.
TEST(DragPairs, RefusedDragsInCheckChangeOnlyTheLabel) {
    const Recipe r{Recipe::Start::Even, 0, true, false, false, 12, "in check"};
    const DragCounts c = CheckEveryDrag(r);
    ASSERT_FALSE(HasFailure());
    EXPECT_GT(c.Accepted, 0);
}

// A finished game takes no move at all.
TEST(DragPairs, EveryDragAfterTheEndIsRefused) {
    const Recipe r{Recipe::Start::Even, 0, false, true, false, 13, "finished game"};
    const DragCounts c = CheckEveryDrag(r);
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(c.Accepted, 0);
    EXPECT_GT(c.Refused, 81 * 81);
}
