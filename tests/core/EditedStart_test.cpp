// Games from a position set up by hand: the record's diagram and side to move, written and read back,
// the refusal of a position the rules cannot reach, COM playing a position it did not build, and
// playing on and resuming from such a start.
#include "engine/EngineNotation.h"
#include "session/KifFile.h"
#include "session/PositionText.h"
#include "support/Invariants.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

TEditedStart Edited(std::string_view fen) {
    const TFenPosition p = ParseEngineFen(fen);
    return {p.Board, p.ToMove};
}

TSessionHooks FixedHooks() {
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2024/03/05 9:07:31"); };
    hooks.TickCount = [] { return std::int64_t(0); };
    return hooks;
}

// The person to move plays a random legal move; a computer to move is asked.
TTurnReport PlayOne(TGameSession& s, std::mt19937& rng) {
    if (s.ComputerToMove()) return s.Go();
    const std::vector<TMove> legal = s.LegalMoves();
    const TMove m = legal[rng() % legal.size()];
    return s.MoveComa_Screen(m.From, m.To);
}

std::filesystem::path TempFolder() {
    char name[] = "/tmp/mirutoa-edited-test-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
    return name;
}

// The even start's board with the second player to move; a middle game that lacks most of COM's pieces.
constexpr std::string_view kEvenGoteFirst = "lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL b";
constexpr std::string_view kThinMiddleGame =
    "ln2k2nl/4g4/p1p1p1bpp/3p5/9/2P1P4/PP1P1PPPP/1B2G2R1/LNS1K1SNL w";

} // namespace

TEST(EditedStart, TheRecordWritesItsDiagramAndTheSecondPlayerToMoveAndReadsThemBack) {
    QuietView view;
    TGameSession s(view, FixedHooks());
    s.Start();
    s.SetSeats({{TSeat::Human(), TSeat::Human()}});
    s.NewGameFrom(Edited(kEvenGoteFirst));
    EXPECT_EQ(s.StartKind(), KifStart::Edited);
    EXPECT_EQ(s.SideToMove(), Side::Gote);
    std::mt19937 rng(7);
    for (int i = 0; i < 6; ++i) ASSERT_EQ(PlayOne(s, rng).Result, Outcome::Continues);
    EXPECT_EQ(s.Turns().front().Mover, Side::Gote);
    EXPECT_EQ(invariants::RecordFault(s), "");

    const std::string text = s.KifText();
    EXPECT_NE(text.find("|v香v桂v銀v金v玉v金v銀v桂v香|一\n"), std::string::npos);
    EXPECT_NE(text.find("先手の持駒：なし\n後手番\n手数----"), std::string::npos) << text;
    const TKifRecord r = ReadKif(text);
    EXPECT_EQ(r.Start, KifStart::Edited);
    EXPECT_EQ(r.Edited, Edited(kEvenGoteFirst));
    EXPECT_EQ(r.Played, s.MoveHistory());
    EXPECT_EQ(WriteKif(r), text);

    // Saved and opened again: the same start, the same moves, the same board at every move.
    const std::filesystem::path folder = TempFolder();
    for (const char* name : {"game.kif", "game.kifu"}) {
        s.SaveRecord(folder / name);
        QuietView openedView;
        TGameSession opened(openedView, FixedHooks());
        opened.Start();
        ASSERT_EQ(opened.OpenRecord(folder / name), 6) << name;
        EXPECT_EQ(opened.StartKind(), KifStart::Edited);
        EXPECT_EQ(opened.EditedStart(), s.EditedStart());
        for (int n = 0; n <= 6; ++n) {
            opened.ReplayTo(n);
            s.ShowMove(n);
            EXPECT_EQ(opened.BoardPosition().Board, s.ShownPosition().Board) << name << " move " << n;
        }
        EXPECT_EQ(opened.KifText(), text) << name;
    }
    std::filesystem::remove_all(folder);
}

TEST(EditedStart, APositionTheRulesRefuseLeavesTheGameAsItWasAndAStartOfTheGameIsThatStart) {
    QuietView view;
    TGameSession s(view, FixedHooks());
    s.Start();
    ASSERT_EQ(s.MoveComa_Screen(27, 26).Result, Outcome::Continues);
    const invariants::SessionState before(s);
    try {
        s.NewGameFrom(Edited("4k4/9/9/9/9/9/9/4K4/4K4 w"));
        ADD_FAILURE() << "two kings accepted";
    } catch (const TPositionRefusal& e) {
        EXPECT_EQ(e.Check().Fault, PositionFault::KingCount);
        EXPECT_EQ(std::string(e.what()), "the first player has 2 kings, not one");
        EXPECT_EQ(e.Shown(), "先手の玉が2枚あります（玉は一枚ずつ置きます）");
    }
    EXPECT_EQ(before.DifferenceTo(s), "");

    // The even and handicap boards with the first player to move are those starts, and their records
    // are the ones a new game writes, byte for byte.
    s.NewGame();
    const std::string even = s.KifText();
    s.NewHandicapGame();
    const std::string handicap = s.KifText();
    s.NewGameFrom({KifStartPosition(KifStart::Even).Board, Side::Sente});
    EXPECT_EQ(s.StartKind(), KifStart::Even);
    EXPECT_EQ(s.KifText(), even);
    s.NewGameFrom({KifStartPosition(KifStart::Handicap).Board, Side::Sente});
    EXPECT_EQ(s.StartKind(), KifStart::Handicap);
    EXPECT_EQ(s.KifText(), handicap);
}

// COM's think plays positions it did not build, on either side and whichever side moves first; a
// formation step whose piece is not on the board makes COM give up its formation and play on with the
// rest of its think.
TEST(EditedStart, ComPlaysAPositionItDidNotBuildOnEitherSide) {
    struct Row {
        const char* What;
        std::string_view Fen;
        TSeats Seats;
    };
    const Row rows[] = {
        {"COM second, moving first", kEvenGoteFirst, {{TSeat::Human(), TSeat::Com()}}},
        {"COM first, moving second", kEvenGoteFirst, {{TSeat::Com(), TSeat::Human()}}},
        {"COM second in a thin middle game", kThinMiddleGame, {{TSeat::Human(), TSeat::Com("【矢倉囲い】")}}},
        {"COM first in a thin middle game", kThinMiddleGame, {{TSeat::Com("【穴熊】"), TSeat::Human()}}},
    };
    for (const Row& row : rows) {
        QuietView view;
        TGameSession s(view, FixedHooks());
        s.Start();
        s.SetSeats(row.Seats);
        s.NewGameFrom(Edited(row.Fen));
        std::mt19937 rng(11);
        while (!s.GameOver() && s.MoveCount() < 40) {
            const TTurnReport r = PlayOne(s, rng);
            ASSERT_TRUE(r.Result == Outcome::Continues || r.Result == Outcome::GameOver)
                << row.What << " move " << s.MoveCount() << ": " << (r.Boxes.empty() ? "" : r.Boxes.front());
            ASSERT_EQ(invariants::RecordFault(s), "") << row.What;
        }
        EXPECT_TRUE(view.Boxes.size() <= (s.GameOver() ? 1u : 0u)) << row.What;
    }
    // In the thin middle game COM has neither the golds nor the silvers its formation moves: it gives
    // the formation up at its first move.
    QuietView view;
    TGameSession s(view, FixedHooks());
    s.Start();
    s.SetSeats({{TSeat::Human(), TSeat::Com("【矢倉囲い】")}});
    s.NewGameFrom(Edited(kThinMiddleGame));
    ASSERT_EQ(s.MoveComa_Screen(67, 66).Result, Outcome::Continues);
    EXPECT_EQ(s.Status(), "");
    EXPECT_FALSE(s.ComKanri(Side::Gote)->FormationInProgress());
    std::printf("COM's first move in the thin middle game: %s (%s)\n",
                MoveText(s.Turns().back().Shown).c_str(), s.LatestComReason().c_str());
    s.NewGame();
    ASSERT_EQ(s.MoveComa_Screen(27, 26).Result, Outcome::Continues);
    EXPECT_EQ(s.Status(), "【矢倉囲い】の駒組み中");
    EXPECT_TRUE(s.ComKanri(Side::Gote)->FormationInProgress());
}

TEST(EditedStart, PlayingOnAndResumingStartFromTheEditedBoard) {
    const std::filesystem::path folder = TempFolder();
    QuietView view;
    TGameSession s(view, FixedHooks());
    s.Start();
    s.SetSeats({{TSeat::Com(), TSeat::Human()}});
    s.NewGameFrom(Edited(kEvenGoteFirst));
    std::mt19937 rng(5);
    while (s.MoveCount() < 12 && !s.GameOver()) ASSERT_EQ(PlayOne(s, rng).Result, Outcome::Continues);
    ASSERT_FALSE(s.GameOver());
    const std::vector<TMove> moves = s.MoveHistory();
    s.SaveRecord(folder / "kept.kifu");

    // Resumed: the same game, COM where it was, so that the next reply is the one the game would give.
    QuietView resumedView;
    TGameSession resumed(resumedView, FixedHooks());
    resumed.Start();
    ASSERT_EQ(resumed.ContinueKept(folder / "kept.kifu"), 12);
    EXPECT_EQ(resumed.StartKind(), KifStart::Edited);
    EXPECT_EQ(resumed.MoveHistory(), moves);
    const TMove person = resumed.LegalMoves().front();
    const TTurnReport a = resumed.MoveComa_Screen(person.From, person.To);
    const TTurnReport b = s.MoveComa_Screen(person.From, person.To);
    ASSERT_EQ(a.Moves.size(), 2u);
    ASSERT_EQ(b.Moves.size(), 2u);
    EXPECT_EQ(a.Moves[1].Shown, b.Moves[1].Shown);

    // Played on from an earlier position with the person to move: the start is the edited board.
    s.ShowMove(4);
    ASSERT_EQ(s.PlayOn(), 4);
    EXPECT_EQ(s.StartKind(), KifStart::Edited);
    EXPECT_EQ(s.EditedStart(), Edited(kEvenGoteFirst));
    EXPECT_EQ(s.MoveHistory(), std::vector<TMove>(moves.begin(), moves.begin() + 4));
    EXPECT_EQ(invariants::RecordFault(s), "");

    // A variation of it: the record that holds both lines keeps the edited board.
    ASSERT_EQ(PlayOne(s, rng).Result, Outcome::Continues);
    s.ShowMove(4);
    ASSERT_EQ(s.Branch(), 4);
    const TMove other = s.LegalMoves().back();
    ASSERT_EQ(s.MoveComa_Screen(other.From, other.To).Result, Outcome::Continues);
    const TKifRecord both = ReadKif(s.KifText());
    ASSERT_EQ(both.Variations.size(), 1u);
    EXPECT_EQ(both.Start, KifStart::Edited);
    EXPECT_EQ(both.Edited, Edited(kEvenGoteFirst));
    std::filesystem::remove_all(folder);
}
