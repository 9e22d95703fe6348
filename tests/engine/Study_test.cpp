// Study lines and the review of one's mistakes against the fake engine (fake-engine.sh: its best line
// the side to move's first pawn push at +57, the next push +20; a move searched together with the best
// one 57 less MIRUTOA_FAKE_DROP): the session's study and review, and the console's study and mistakes.
#include "EngineTest.h"
#include "cli/Console.h"
#include "session/Review.h"
#include "session/Study.h"
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace engine_test;

namespace {

struct TFakeEnv {
    explicit TFakeEnv(int drop) {
        ::setenv("MIRUTOA_FAKE_ENGINE", "good", 1);
        ::setenv("MIRUTOA_FAKE_DROP", std::to_string(drop).c_str(), 1);
    }
    ~TFakeEnv() {
        ::unsetenv("MIRUTOA_FAKE_ENGINE");
        ::unsetenv("MIRUTOA_FAKE_DROP");
    }
};

// The human's three moves are never the fake's best (▲９六歩 stays its best throughout): each is a 悪手
// at a drop of 300 or more.
TKifRecord MistakeRecord() {
    TKifRecord record;
    TKyokumen k = KifStartPosition(KifStart::Even);
    for (const char* text : {"8786歩", "9394com歩", "5756歩", "8384com歩", "4746歩", "7374com歩"}) {
        const TMove m = ParseMoveText(text);
        k.ComToMove = testing_helpers::IsComText(text);
        k.ApplyMove(m);
        record.Played.push_back(m);
    }
    record.Shown = record.Played;
    return record;
}

std::string Values(const std::vector<TStudyLine>& lines) {
    std::string text;
    for (const TStudyLine& l : lines)
        text += (text.empty() ? "" : " ") + l.ValueText + "@" + SquareText(l.Moves.front().From) +
                SquareText(l.Moves.front().To);
    return text;
}

} // namespace

// Each position's lines from the viewer's side, every step searched; a position changed drops the old
// lines, the same one keeps them; a pause keeps them.
TEST(Study, LinesTakeTheViewersSideAndFollowThePosition) {
    const TFakeEnv env(0);
    TEngineSeat seat(FakeSettings());
    TStudy study(seat);
    int told = 0;
    study.Changed = [&told] { ++told; };
    TKyokumen start = KifStartPosition(KifStart::Even);
    TKyokumen after = start;
    after.ApplyMove(ParseMoveText("8786歩"));
    after.ComToMove = true;
    struct Row {
        const TKyokumen* Position;
        Side Viewer;
        const char* Lines;
    };
    const Row rows[] = {
        {&start, Side::Sente, "+57@9796 +20@8786"},
        {&after, Side::Sente, "-57@9394 -20@8384"},
        {&after, Side::Gote, "+57@9394 +20@8384"},
        {&start, Side::Gote, "-57@9796 -20@8786"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Lines);
        study.Start(*row.Position, row.Viewer);
        EXPECT_TRUE(study.Lines().empty());
        EXPECT_TRUE(study.Searching());
        study.Wait();
        EXPECT_EQ(Values(study.Lines()), row.Lines);
        EXPECT_EQ(study.Step(), kStudySteps.size() - 1);
        EXPECT_EQ(study.Depth(), 1);
        EXPECT_TRUE(study.Error().empty()) << study.Error();
    }
    ASSERT_GT(told, 0);
    EXPECT_EQ(study.Lines().front().Words, "▲９六歩");
    const std::string shown = Values(study.Lines());
    study.Start(start, Side::Gote);
    EXPECT_FALSE(study.Searching()); // the same position: nothing asked again
    EXPECT_EQ(Values(study.Lines()), shown);

    study.Start(after, Side::Sente);
    study.Pause();
    EXPECT_FALSE(study.Searching());
    EXPECT_TRUE(study.Active());
    study.Resume();
    EXPECT_TRUE(study.Searching());
    study.Wait();
    EXPECT_EQ(Values(study.Lines()), "-57@9394 -20@8384");

    study.Stop();
    EXPECT_FALSE(study.Active());
}

// A scripted player through the questions: a refused move costs no try, the sought move is found at
// once, a wrong move twice shows the engine's move and line, a skip moves on; the score counts every
// question. A move the engine values within 50 of its best is found whichever it is.
TEST(Review, ScriptedPlayerFindsOneMissesOneSkipsOne) {
    const TFakeEnv env(400);
    TEngineSeat seat(FakeSettings());
    TGameAnalysis analysis(seat);
    TAnalysisSettings settings;
    settings.Nodes = 1000;
    analysis.Start(MistakeRecord(), settings);
    analysis.Wait();
    ASSERT_TRUE(analysis.Complete()) << analysis.Error();

    using Stage = TMistakeReview::Stage;
    using Verdict = TMistakeReview::Verdict;
    TMistakeReview review(seat);
    ASSERT_EQ(review.Start(analysis), 3u);
    EXPECT_EQ(review.Question().Move, 1);
    EXPECT_EQ(review.Question().PlayedText, "▲８六歩");
    EXPECT_EQ(review.Question().BestText, "▲９六歩");
    EXPECT_EQ(review.Question().Loss, 400);
    EXPECT_EQ(review.HeadText(), "悪手 1/3: 1手目 ▲８六歩");
    EXPECT_EQ(review.StateText(), "もっと良い手を探してください");

    EXPECT_EQ(review.Try(97, 95), Verdict::Refused);
    EXPECT_EQ(review.TriesLeft(), kReviewTries);
    EXPECT_EQ(review.Try(97, 96), Verdict::Found);
    EXPECT_EQ(review.State(), Stage::Answered);
    EXPECT_NE(review.StateText().find("正解"), std::string::npos) << review.StateText();
    review.Next();

    EXPECT_EQ(review.Question().Move, 3);
    EXPECT_EQ(review.Try(37, 36), Verdict::None); // the engine is asked
    EXPECT_EQ(review.State(), Stage::Checking);
    review.Wait();
    EXPECT_EQ(review.LastVerdict(), Verdict::Wrong);
    EXPECT_EQ(review.LastLoss(), 400);
    EXPECT_EQ(review.State(), Stage::Asking);
    EXPECT_EQ(review.StateText().rfind("違います。", 0), 0u) << review.StateText();
    review.Try(27, 26);
    review.Wait();
    EXPECT_EQ(review.State(), Stage::Answered);
    EXPECT_FALSE(review.Solved());
    EXPECT_EQ(review.StateText(), "エンジンの手は ▲９六歩　読み筋 ▲９六歩(97)");
    review.Next();

    EXPECT_EQ(review.Question().Move, 5);
    review.Skip();
    EXPECT_EQ(review.State(), Stage::Over);
    EXPECT_EQ(review.FoundCount(), 1);
    EXPECT_EQ(review.ScoreText(), "3問中1問正解");

    struct Row {
        int Drop;
        Verdict Answer;
    };
    for (const Row row : {Row{30, Verdict::Found}, Row{50, Verdict::Found}, Row{51, Verdict::Close},
                          Row{149, Verdict::Close}, Row{150, Verdict::Wrong}}) {
        SCOPED_TRACE(row.Drop);
        ::setenv("MIRUTOA_FAKE_DROP", std::to_string(row.Drop).c_str(), 1);
        seat.Client().Stop(); // the next engine reads the drop
        ASSERT_EQ(review.Start(analysis), 3u);
        review.Try(87, 86);
        review.Wait();
        EXPECT_EQ(review.LastVerdict(), row.Answer);
        EXPECT_EQ(review.LastLoss(), row.Drop);
        review.Stop();
        EXPECT_EQ(review.ScoreText(), row.Answer == Verdict::Found ? "3問中1問正解" : "3問中0問正解");
    }
}

// The console's study of the position shown, from the player's side, and the analysis's marked moves.
TEST(Review, ConsoleStudiesTheShownPositionAndListsTheMistakes) {
    const TFakeEnv env(400);
    ::setenv("MIRUTOA_ENGINE", MIRUTOA_FAKE_ENGINE, 1);
    ::setenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE, 1);
    std::ostringstream out;
    TConsole console(out, false);
    const auto answer = [&](const std::string& command) {
        out.str("");
        console.Command(command, false);
        return out.str();
    };
    EXPECT_EQ(answer("study 50"), "line 1 57 1 9796\nline 2 20 1 8786\nend\n");
    EXPECT_EQ(answer("mistakes"), "error no analysis: analyse first\n");
    answer("move 8786");
    answer("move 5756");
    ASSERT_EQ(console.Session().MoveCount(), 4);
    EXPECT_EQ(answer("goto 1"), "ok 1\n");
    EXPECT_EQ(answer("study 50"), "line 1 -57 1 9394\nline 2 -20 1 8384\nend\n");
    for (const char* bad : {"study", "study 0", "study 60001", "study x"})
        EXPECT_EQ(answer(bad), "error study needs a time in milliseconds, 1 to 60000\n") << bad;
    answer("goto 4");

    ASSERT_EQ(answer("analyse").rfind("eval 0 57\n", 0), 0u);
    const std::string mistakes = answer("mistakes");
    EXPECT_EQ(mistakes, "mistake 1 8786 9796 400\nmistake 3 5756 9796 400\nend\n");
    answer("analyse");
    EXPECT_EQ(answer("mistakes"), mistakes);
    // Moves played on keep the analysis of the game's beginning; another game does not.
    answer("move 4746");
    EXPECT_EQ(answer("mistakes"), mistakes);
    answer("new");
    EXPECT_EQ(answer("mistakes"), "error the game has changed since the analysis: analyse again\n");
    ::unsetenv("MIRUTOA_ENGINE");
    ::unsetenv("MIRUTOA_VARIANT_FILE");
}
