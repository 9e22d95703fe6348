// The engine's analysis of a whole game: through the console, as its answer and as the record's
// comments, and directly, cancelled half-way and started again. Skipped without the engine.
#include "EngineTest.h"
#include "cli/Console.h"
#include "engine/EngineProcess.h"
#include "session/Analysis.h"
#include "session/Study.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace engine_test;

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

} // namespace

TEST(Analysis, ConsoleAnalysisGivesEveryPositionAndCommentsThatReadBack) {
    SKIP_WITHOUT_ENGINE();
    ::setenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE, 1);
    std::ostringstream out;
    TConsole console(out, false);
    constexpr int kTurns = 4;
    for (int turn = 0; turn < kTurns; ++turn) {
        const std::vector<TMove> legal = console.Session().LegalMoves();
        ASSERT_FALSE(legal.empty());
        const TMove m = legal[std::size_t(turn * 7) % legal.size()];
        console.Command("move " + SquareText(m.From) + SquareText(m.To), false);
    }
    ASSERT_EQ(console.Session().Turns().size(), std::size_t(2 * kTurns)) << out.str();

    // Analysed twice: the second analysis replaces the first's comments.
    for (int round = 0; round < 2; ++round) {
        out.str("");
        console.Command("analyse", false);
        std::istringstream answer(out.str());
        std::string line;
        std::vector<int> values;
        while (std::getline(answer, line) && line != "end") {
            std::istringstream words(line);
            std::string head;
            int n = -1, value = 0;
            ASSERT_TRUE(words >> head >> n >> value) << line;
            ASSERT_EQ(head, "eval");
            ASSERT_EQ(n, int(values.size()));
            values.push_back(value);
        }
        ASSERT_EQ(line, "end") << out.str();
        ASSERT_EQ(values.size(), std::size_t(2 * kTurns + 1));

        out.str("");
        console.Command("kif", false);
        std::string kif = out.str();
        kif.resize(kif.size() - std::string("end\n").size());
        EXPECT_EQ(Count(kif, "\n**解析 候補1 時間 "), std::size_t(2 * kTurns)) << kif;
        const TKifRecord read = ReadKif(kif);
        ASSERT_EQ(read.Comments.size(), std::size_t(2 * kTurns));
        for (std::size_t i = 0; i < read.Comments.size(); ++i) {
            const std::string& c = read.Comments[i];
            EXPECT_NE(c.find(" 評価値 " + std::to_string(values[i + 1])), std::string::npos) << c;
            // COM's reason stays beside its move, and reads without the analysis.
            if (i % 2 == 1) {
                EXPECT_EQ(c.find(console.Session().ComReasonOfMove(int(i + 1))), 0u) << c;
            }
        }
        EXPECT_EQ(console.Session().ComReasonOfMove(2).find("解析"), std::string::npos);
    }
    ::unsetenv("MIRUTOA_VARIANT_FILE");
}

TEST(Analysis, CancelledAnalysisLeavesNothingBehindForTheNext) {
    SKIP_WITHOUT_ENGINE();
    TEngineSettings settings;
    settings.VariantFile = MIRUTOA_VARIANT_FILE;
    TEngineSeat seat(settings);
    TGameAnalysis analysis(seat);
    TKifRecord record;
    TKyokumen k = KifStartPosition(KifStart::Even);
    // The human's 27→26 and COM's first legal answer.
    TMoveList human;
    k.ListMoves(false, human);
    for (const TMove& m : human)
        if (m.From == 27 && m.To == 26) record.Played.push_back(m);
    ASSERT_EQ(record.Played.size(), 1u);
    k.ApplyMove(record.Played[0]);
    k.ComToMove = true;
    TMoveList com;
    LegalMoves(k, Side::Gote, com);
    record.Played.push_back(com[0]);
    record.Shown = record.Played;
    int told = 0;
    analysis.Progress = [&told] { ++told; };
    TAnalysisSettings slow;
    slow.Nodes = 2'000'000;
    analysis.Start(record, slow);
    analysis.Poll();
    analysis.Cancel();
    EXPECT_FALSE(analysis.Running());
    EXPECT_FALSE(analysis.Complete());

    told = 0;
    TAnalysisSettings quick;
    quick.Nodes = 10'000;
    analysis.Start(record, quick);
    analysis.Wait();
    ASSERT_TRUE(analysis.Complete()) << analysis.Error();
    EXPECT_EQ(told, 4); // three positions and the end
    ASSERT_EQ(analysis.Evals().size(), 3u);
    for (const TPositionEval& e : analysis.Evals()) {
        ASSERT_TRUE(e.Value.has_value());
        EXPECT_LT(std::abs(*e.Value), 2000); // an even opening, no mate in sight
        EXPECT_GT(e.Depth, 0);
        EXPECT_EQ(e.Best.rfind(&e == &analysis.Evals()[1] ? "△" : "▲", 0), 0u) << e.Best;
        EXPECT_EQ(e.Line.rfind(e.Best, 0), 0u) << e.Line;
    }
}

// Hints and the analysis count nodes from an empty table: a player who follows the hints plays the
// analysis's best moves and gets no mark, the same record gives the same answer twice, and the same
// position the same hint whatever the engine searched in between.
TEST(Analysis, VerdictsAndHintsRepeatThemselves) {
    SKIP_WITHOUT_ENGINE();
    ::setenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE, 1);
    std::ostringstream out;
    TConsole console(out, false);
    const auto answer = [&](const std::string& command) {
        out.str("");
        console.Command(command, false);
        return out.str();
    };
    for (int turn = 0; turn < 4; ++turn) {
        const std::string hint = answer("hint");
        ASSERT_TRUE(hint.starts_with("hint ")) << hint;
        ASSERT_NE(answer("move " + hint.substr(5, 4)).find("\ncom "), std::string::npos);
    }
    const std::string first = answer("analyse");
    ASSERT_EQ(Count(first, "eval "), 9u) << first;
    EXPECT_EQ(first.find(" none"), std::string::npos) << first;
    EXPECT_EQ(answer("analyse"), first);
    const std::string kif = answer("kif");
    EXPECT_EQ(kif.find("悪手"), std::string::npos) << kif;
    EXPECT_EQ(kif.find("疑問手"), std::string::npos) << kif;

    const std::string hint = answer("hint");
    EXPECT_TRUE(hint.starts_with("hint ")) << hint;
    answer("analyse");
    EXPECT_EQ(answer("hint"), hint);
    EXPECT_EQ(answer("hint"), hint);
    ::unsetenv("MIRUTOA_VARIANT_FILE");
}

// A game of careless moves analysed twice gives the same values and the same marked moves, and the
// console's study of it three lines, each beginning with a legal move of the side to move.
TEST(Analysis, MarksRepeatThemselvesAndStudyGivesThreeLines) {
    SKIP_WITHOUT_ENGINE();
    ::setenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE, 1);
    std::ostringstream out;
    TConsole console(out, false);
    const auto answer = [&](const std::string& command) {
        out.str("");
        console.Command(command, false);
        return out.str();
    };
    for (int turn = 0; turn < 6; ++turn) {
        const std::vector<TMove> legal = console.Session().LegalMoves();
        ASSERT_FALSE(legal.empty());
        const TMove m = legal[std::size_t(turn * 13 + 1) % legal.size()];
        answer("move " + SquareText(m.From) + SquareText(m.To));
    }
    const std::string values = answer("analyse");
    const std::string marks = answer("mistakes");
    ASSERT_EQ(Count(values, "eval "), 13u) << values;
    ASSERT_TRUE(marks.starts_with("mistake ") && marks.ends_with("end\n")) << marks;
    EXPECT_EQ(answer("analyse"), values);
    EXPECT_EQ(answer("mistakes"), marks);

    std::vector<std::string> legal;
    for (const TMove& m : console.Session().LegalMoves())
        legal.push_back(SquareText(m.From) + SquareText(m.To));
    std::istringstream lines(answer("study 300"));
    std::string line;
    int k = 0;
    while (std::getline(lines, line) && line != "end") {
        std::istringstream words(line);
        std::string head, value, first;
        int rank = 0, depth = 0;
        ASSERT_TRUE(words >> head >> rank >> value >> depth >> first) << line;
        EXPECT_EQ(head, "line");
        EXPECT_EQ(rank, ++k);
        EXPECT_GT(depth, 0);
        EXPECT_NE(std::find(legal.begin(), legal.end(), first), legal.end()) << line;
    }
    EXPECT_EQ(line, "end");
    EXPECT_EQ(k, 3);
    ::unsetenv("MIRUTOA_VARIANT_FILE");
}

// Study lines never change: a position's first step, searched again after another position, ends in
// the same three lines at the same depth.
TEST(Analysis, StudyLinesRepeatThemselves) {
    SKIP_WITHOUT_ENGINE();
    TEngineSettings settings;
    settings.VariantFile = MIRUTOA_VARIANT_FILE;
    TEngineSeat seat(settings);
    TStudy study(seat);
    const auto firstStep = [&study](const TKyokumen& k) {
        study.Stop();
        study.Start(k, Side::Sente);
        while (study.Searching() && study.Step() == 0) {
            study.Poll();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::string text;
        for (const TStudyLine& l : study.Lines())
            text += l.ValueText + " " + std::to_string(l.Depth) + " " + l.Words + "\n";
        return text;
    };
    const TKyokumen start = KifStartPosition(KifStart::Even);
    TKyokumen other = start;
    other.ApplyMove(ParseMoveText("2726歩"));
    other.ComToMove = true;
    const std::string first = firstStep(start);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3) << first;
    EXPECT_NE(firstStep(other), first);
    EXPECT_EQ(firstStep(start), first);
}
