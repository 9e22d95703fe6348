// The engine client, the hint, the analysis and the engine opponent against an engine that misbehaves
// on request (fake-engine.sh): one row per failure, with what each of the three answers; the game is
// never changed and every engine process is reaped. Then what the analysis makes of the fake's values,
// the console's order of notices and answers, and the opponent's own judgement of a bare king.
#include "EngineTest.h"
#include "cli/Console.h"
#include "engine/EngineNotation.h"
#include "engine/EngineProcess.h"
#include "session/Analysis.h"
#include "session/EnginePlay.h"
#include "support/Helpers.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using testing_helpers::Play;
using testing_helpers::StateDifference;
using testing_helpers::StateOf;

using namespace engine_test;

namespace {

// The fake answers at once whatever it is asked: a small count keeps a hung search's allowance short.
constexpr TEngineLevel kQuickLevel{20, 0, 1000};

// The human's legal moves, as the human move check accepts them.
std::vector<TMove> HumanLegal(const TKyokumen& position) {
    TMoveList moves;
    position.ListMoves(false, moves);
    TKyokumen probe = position;
    probe.ComToMove = false;
    std::vector<TMove> legal;
    for (const TMove& m : moves)
        if (probe.TestHumanMove(m.From, m.To).Result == THumanMoveTest::Legal) legal.push_back(m);
    return legal;
}

// The processes whose parent is this one, as "pid state" words; empty once every engine is reaped.
std::string Children() {
    std::string found;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return "no /proc";
    while (const dirent* entry = ::readdir(proc)) {
        const std::string pid = entry->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // "pid (name) state ppid ...": the name may hold blanks, so read after its last ')'.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        std::string state;
        long parent = 0;
        rest >> state >> parent;
        if (parent == long(::getpid())) found += pid + " " + state + ";";
    }
    ::closedir(proc);
    return found;
}

// A record of the human's 87→86 (the fake's second choice), COM's 93→94 (its first), and the human's
// 97→96 (its first), from the even start.
TKifRecord FakeRecord(const char* comMove = "9394com歩") {
    TKifRecord record;
    TKyokumen k = KifStartPosition(KifStart::Even);
    for (const char* text : {"8786歩", comMove, "9796歩"}) {
        const TMove m = ParseMoveText(text);
        k.ComToMove = testing_helpers::IsComText(text);
        k.ApplyMove(m);
        record.Played.push_back(m);
    }
    record.Shown = record.Played;
    return record;
}

std::string Values(const TGameAnalysis& a) {
    if (!a.Error().empty()) return "error: " + a.Error();
    std::string text;
    for (const TPositionEval& e : a.Evals())
        text += (text.empty() ? "" : " ") + (e.Value ? std::to_string(*e.Value) : std::string("none"));
    return text;
}

struct TFakeEnv {
    explicit TFakeEnv(const char* mode) { ::setenv("MIRUTOA_FAKE_ENGINE", mode, 1); }
    ~TFakeEnv() {
        ::unsetenv("MIRUTOA_FAKE_ENGINE");
        ::unsetenv("MIRUTOA_FAKE_DROP");
    }
};

} // namespace

TEST(FakeEngine, EveryFailureIsAnsweredPlainlyAndLeavesNeitherGameNorProcessBehind) {
    struct Row {
        const char* Mode;
        const char* Hint;     // the hint's words, "none", or "error: " and the start of the reason
        const char* Lines;    // the first moves of the engine's lines after the hint, best first
        const char* Analysis; // each position's value from the player's side, or the error
        const char* Opponent; // "move FFRR" and the reason's words, "resigns", or "error: " and its start
        int Restarts;         // notices of an engine restarted, over the three requests
    };
    const Row rows[] = {
        {"good", "ヒント: ▲９六歩　評価値 +57", "a3a4 b3b4", "57 -57 57 -57",
         "move 9394 エンジン: 評価値 -57　読み筋 △９四歩", 0},
        {"exit", "error: the engine has exited", "", "error: the engine has exited",
         "error: エンジンが故障しました（the engine has exited", 3},
        {"crash", "error: the engine has exited", "", "error: the engine has exited",
         "error: エンジンが故障しました（the engine has exited", 3},
        {"silent", "error: the engine did not answer in time", "", "error: the engine did not answer in time",
         "error: エンジンが故障しました（the engine did not answer in time）", 3},
        {"garbage", "ヒント: ▲９六歩", "", "error: the engine gave no usable evaluation of any position",
         "move 9394 エンジン: 読み筋 △９四歩", 0},
        {"long", "error: the engine wrote a line longer than 1 MiB", "",
         "error: the engine wrote a line longer than 1 MiB",
         "error: エンジンが故障しました（the engine wrote a line longer than 1 MiB）", 3},
        {"illegal", "none", "a1a5", "error: the engine gave no usable evaluation of any position",
         "error: エンジンが故障しました（このゲームで指せる手を答えませんでした）", 0},
        {"wrong-side", "none", "a7a6", "error: the engine gave no usable evaluation of any position",
         "error: エンジンが故障しました（このゲームで指せる手を答えませんでした）", 0},
        {"none", "none", "", "error: the engine gave no usable evaluation of any position",
         "error: エンジンが故障しました（このゲームで指せる手を答えませんでした）", 0},
        {"resign", "none", "", "error: the engine gave no usable evaluation of any position", "resigns", 0},
        {"flood", "error: the engine did not answer in time", "", "error: the engine did not answer in time",
         "error: エンジンが故障しました（the engine did not answer in time）", 3},
        {"novariant", "error: the engine did not take the variant mirutoa from ", "",
         "error: the engine did not take the variant mirutoa from ",
         "error: エンジンが故障しました（the engine did not take the variant mirutoa from ", 0},
    };
    ASSERT_TRUE(ReapStoppedEngines(std::chrono::seconds(2)));
    ASSERT_EQ(Children(), "");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Mode);
        const TFakeEnv env(row.Mode);
        TKyokumenKanri game;
        TKyokumenKanri comToMove;
        Play(comToMove, {"8786歩"});
        const auto gameBefore = StateOf(game.Kyokumen);
        const auto comBefore = StateOf(comToMove.Kyokumen);
        int restarts = 0;
        {
            TEngineSeat seat(FakeSettings());
            seat.Restarted = [&restarts](const std::string&) { ++restarts; };

            std::string hint = "unanswered";
            seat.Ask(game.Kyokumen, false, HumanLegal(game.Kyokumen), kQuickLevel,
                     [&hint](const TEngineStatus& s, const TEngineProposal& p) {
                         hint = !s ? "error: " + s.Message : p.Found ? HintText(p) : "none";
                     });
            seat.Wait();
            EXPECT_TRUE(hint.starts_with(row.Hint)) << hint;
            std::string lines;
            for (const TEngineLine& l : seat.Client().Result().Lines)
                lines += (lines.empty() ? "" : " ") + (l.Pv.empty() ? std::string("-") : l.Pv.front());
            EXPECT_EQ(lines, row.Lines);

            TGameAnalysis analysis(seat);
            TAnalysisSettings settings;
            settings.Nodes = kQuickLevel.Nodes;
            analysis.Start(FakeRecord(), settings);
            analysis.Wait();
            EXPECT_TRUE(Values(analysis).starts_with(row.Analysis)) << Values(analysis);

            TEnginePlayer opponent(seat);
            opponent.SetLevel(1);
            std::string reply = "unanswered";
            TMoveList comLegal;
            LegalMoves(comToMove.Kyokumen, Side::Gote, comLegal);
            const std::vector<TMove> legal(comLegal.begin(), comLegal.end());
            opponent.Think({comToMove.Kyokumen, Side::Gote, legal}, [&reply](const TOpponentReply& r) {
                reply = !r.Error.empty() ? "error: " + r.Error
                        : r.Resigns      ? std::string("resigns")
                                         : "move " + MoveText(r.Move).substr(0, 4) + " " + r.ShownText;
            });
            seat.Wait();
            EXPECT_TRUE(reply.starts_with(row.Opponent)) << reply;
        }
        EXPECT_EQ(restarts, row.Restarts);
        EXPECT_EQ(StateDifference(StateOf(game.Kyokumen), gameBefore), "");
        EXPECT_EQ(StateDifference(StateOf(comToMove.Kyokumen), comBefore), "");
        EXPECT_FALSE(comToMove.HumanMatesFlag || comToMove.ComBareKingFlag);
        EXPECT_TRUE(ReapStoppedEngines(std::chrono::seconds(2)));
        EXPECT_EQ(Children(), "") << "an engine process is left";
    }
}

// The engine opponent tells the engine the game so far, so that the engine can see a repetition or a
// perpetual check coming: the start and every move since, as the game goes on and after a take-back;
// a position that its game does not lead to is told alone.
TEST(FakeEngine, TheOpponentTellsTheEngineTheGameSoFar) {
    const std::string log = ::testing::TempDir() + "mirutoa-fake-positions.log";
    std::remove(log.c_str());
    ::setenv("MIRUTOA_FAKE_LOG", log.c_str(), 1);
    const TKyokumen start = KifStartPosition(KifStart::Even);
    {
        TEngineSeat seat{FakeSettings()};
        scripted_play::QuietView view;
        TSessionHooks hooks;
        hooks.Engine = &seat;
        TGameSession s(view, hooks);
        s.Start();
        s.SetSeats({{TSeat::Human(), TSeat::Engine(1)}});
        s.NewGame();
        const auto move = [&](int from, int to) {
            const TTurnReport r = s.MoveComa_Screen(from, to);
            ASSERT_EQ(r.Result, TTurnReport::Outcome::Pending);
            seat.Wait();
            ASSERT_EQ(s.MoveCount() % 2, 0);
        };
        move(27, 26);
        move(17, 16);
        ASSERT_TRUE(s.Matta().Done);
        move(37, 36);

        // Its own game, and a position that game does not lead to.
        TEnginePlayer opponent(seat);
        opponent.NewGame(start, Side::Gote, TSeat::Engine(1));
        TKyokumen elsewhere = start;
        Play(elsewhere, {"2726歩"});
        TMoveList comLegal;
        LegalMoves(elsewhere, Side::Gote, comLegal);
        const std::vector<TMove> legal(comLegal.begin(), comLegal.end());
        opponent.Think({elsewhere, Side::Gote, legal}, [](const TOpponentReply&) {});
        seat.Wait();
        ::unsetenv("MIRUTOA_FAKE_LOG");
    }
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::string game = "position fen " + EngineFen(start, false) + " moves h3h4 a7a6";
    TKyokumen after = start;
    Play(after, {"2726歩"});
    const std::vector<std::string> expected = {
        "position fen " + EngineFen(start, false) + " moves h3h4",
        game + " i3i4",
        game + " g3g4",
        "position fen " + EngineFen(after, true),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(ReapStoppedEngines(std::chrono::seconds(2)));
}

// The fake values the best move at 57 and the other one searched with it at 57 less MIRUTOA_FAKE_DROP,
// for the side to move. The record's first move is the human's second choice, its second COM's (its
// first choice, or its second), its third the human's first choice: never marked.
TEST(FakeEngine, MovesAreMarkedAtTheThresholdsForTheSidesJudgedAndValuesTakeTheViewpoint) {
    struct Row {
        int Drop;
        bool JudgeHuman, JudgeCom;
        Side Viewpoint;
        const char* ComMove;
        const char* Values; // from the viewpoint's side
        const char* Marks;  // of moves 1 to 3: "-" none, "d" 疑問手, "B" 悪手
    };
    const Row rows[] = {
        {149, true, false, Side::Sente, "9394com歩", "57 -57 57 -57", "---"},
        {150, true, false, Side::Sente, "9394com歩", "57 -57 57 -57", "d--"},
        {299, true, false, Side::Sente, "9394com歩", "57 -57 57 -57", "d--"},
        {300, true, false, Side::Sente, "9394com歩", "57 -57 57 -57", "B--"},
        // COM's second choice is judged only when COM's moves are.
        {300, true, false, Side::Sente, "8384com歩", "57 -57 57 -57", "B--"},
        {300, false, true, Side::Sente, "8384com歩", "57 -57 57 -57", "-B-"},
        {150, true, true, Side::Gote, "8384com歩", "-57 57 -57 57", "dd-"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Drop) + " " + row.ComMove);
        const TFakeEnv env("good");
        ::setenv("MIRUTOA_FAKE_DROP", std::to_string(row.Drop).c_str(), 1);
        TEngineSeat seat(FakeSettings());
        TGameAnalysis analysis(seat);
        TAnalysisSettings settings;
        settings.Nodes = kQuickLevel.Nodes;
        settings.Judged = {row.JudgeHuman, row.JudgeCom};
        settings.Viewpoint = row.Viewpoint;
        analysis.Start(FakeRecord(row.ComMove), settings);
        analysis.Wait();
        ASSERT_TRUE(analysis.Complete()) << analysis.Error();
        EXPECT_EQ(Values(analysis), row.Values);
        std::string marks;
        for (std::size_t move = 1; move <= 3; ++move) {
            const MoveMark m = analysis.Verdict(move).Mark;
            marks += m == MoveMark::Bad ? 'B' : m == MoveMark::Dubious ? 'd' : '-';
        }
        EXPECT_EQ(marks, row.Marks);
        // The record's comments are 先手's values whatever the viewpoint, with the better move.
        const std::vector<std::string> comments = analysis.MoveComments();
        ASSERT_EQ(comments.size(), 3u);
        EXPECT_NE(comments[0].find(" 評価値 -57 "), std::string::npos) << comments[0];
        EXPECT_NE(comments[1].find(" 評価値 57 "), std::string::npos) << comments[1];
        if (row.Marks[0] != '-') {
            EXPECT_NE(comments[0].find("最善 ▲９六歩(97)"), std::string::npos) << comments[0];
        }
        if (row.Marks[1] != '-') {
            EXPECT_NE(comments[1].find("最善 △９四歩(93)"), std::string::npos) << comments[1];
        }
    }
}

// The console says a restarted engine's notice before the answer it restarted for, and a position the
// engine gave no value as "none".
TEST(FakeEngine, ConsoleNoticesComeFirstAndUnvaluedPositionsSayNone) {
    const std::string mark = ::testing::TempDir() + "mirutoa-fake-engine-crashed";
    ::setenv("MIRUTOA_ENGINE", MIRUTOA_FAKE_ENGINE, 1);
    ::setenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE, 1);
    ::setenv("MIRUTOA_FAKE_MARK", mark.c_str(), 1);
    const std::string notice = "notice エンジンが止まったので再起動しました（the engine has exited）\n";
    for (const char* command : {"hint", "analyse"}) {
        std::remove(mark.c_str());
        const TFakeEnv env("crash-once");
        std::ostringstream out;
        TConsole console(out, false);
        console.Command(command, false);
        EXPECT_EQ(out.str(),
                  notice + (command == std::string("hint") ? "hint 9796 ▲９六歩 57\n" : "eval 0 57\nend\n"));
    }
    {
        const TFakeEnv env("half");
        std::ostringstream out;
        TConsole console(out, false);
        console.Command("move 9796", false);
        const std::string played = out.str();
        out.str("");
        console.Command("analyse", false);
        EXPECT_EQ(out.str(), "eval 0 57\neval 1 none\neval 2 57\nend\n") << played;
    }
    std::remove(mark.c_str());
    ::unsetenv("MIRUTOA_ENGINE");
    ::unsetenv("MIRUTOA_VARIANT_FILE");
    ::unsetenv("MIRUTOA_FAKE_MARK");
}
