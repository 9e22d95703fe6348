// Games stopped at a random move, saved, opened in a fresh session and played on with the same human
// moves and take-backs must get every COM reply and the whole record of the game that never stopped.
// A record whose lines for playing on were changed by hand, and a finished game's last position, are
// refused with the game left as it was.
#include "session/KifFile.h"
#include "session/RecordKeeper.h"
#include "support/ScriptedPlay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using scripted_play::QuietView;
using Outcome = TTurnReport::Outcome;

namespace {

constexpr int kGames = 200;
constexpr int kMaxMoves = 160;

// One thing the human does: a move, or a take-back (from == 0).
struct TAction {
    int From = 0, To = 0;
};

TSessionHooks FixedHooks() {
    TSessionHooks hooks;
    hooks.Now = [] { return std::string("2026/12/07 10:00:00"); };
    hooks.TickCount = [] { return std::int64_t(0); };
    return hooks;
}

// The human's next action: now and then a take-back, else a random legal move.
TAction ChooseAction(const TGameSession& s, std::mt19937& rng) {
    if (s.Kanri().MoveCount() > 0 && !s.MattaUsed() && rng() % 7 == 0) return {};
    const std::vector<TMove> legal = s.LegalMoves();
    if (legal.empty()) return {-1, -1};
    const TMove& m = legal[rng() % legal.size()];
    return {m.From, m.To};
}

// Does a; returns COM's reply (empty for a take-back) and whether the game goes on.
bool Act(TGameSession& s, const TAction& a, TMove& reply) {
    reply = TMove{};
    if (a.From == 0) return s.Matta().Done;
    const TTurnReport r = s.MoveComa_Screen(a.From, a.To);
    reply = r.ComMove;
    return r.Result == Outcome::Continues;
}

std::filesystem::path TempFolder() {
    char name[] = "/tmp/mirutoa-playon-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
    return name;
}

// Everything a refused play-on must leave as it was.
struct GameState {
    std::string Kif;
    std::vector<std::string> Board;
    int Shown;
    bool Replay;
    double ComTotal;
    std::uint32_t Seed;
    explicit GameState(TGameSession& s)
        : Kif(s.KifText()), Board(s.Kanri().BoardList()), Shown(s.ShownMove()), Replay(s.ReplayMode()),
          ComTotal(s.ComTotalTime()), Seed(s.Rng().Seed()) {}
    bool operator==(const GameState&) const = default;
};

// Ten random turns with a take-back after the fifth, COM's generator starting at seed. COM draws no
// random number in them: the generator ends where it began.
void PlayAGameWithATakeBack(TGameSession& s, std::uint32_t seed) {
    std::mt19937 rng(7);
    s.Start();
    s.Rng().SetSeed(seed);
    s.PickFormation("【穴熊】");
    s.NewGame();
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(scripted_play::PlayRandomTurn(s, rng).Result, Outcome::Continues);
        if (i == 4) {
            ASSERT_TRUE(s.Matta().Done);
        }
    }
}

// A game in which COM's late passes draw random numbers (rarely reached: the earlier stages nearly
// always find a move), with a take-back after the first turn that drew.
void PlayAGameInWhichComDraws(TGameSession& s) {
    std::mt19937 rng(54);
    s.Start();
    s.NewGame();
    while (s.Rng().Seed() == 0) ASSERT_EQ(scripted_play::PlayRandomTurn(s, rng).Result, Outcome::Continues);
    ASSERT_TRUE(s.Matta().Done);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(scripted_play::PlayRandomTurn(s, rng).Result, Outcome::Continues);
}

std::string ReplaceLine(const std::string& text, int line, const std::string& replacement) {
    std::size_t begin = 0;
    for (int n = 1; n < line; ++n) begin = text.find('\n', begin) + 1;
    return text.substr(0, begin) + replacement + text.substr(text.find('\n', begin));
}

// The line of text that begins with start.
int LineOf(const std::string& text, const std::string& start) {
    const std::size_t at = text.find("\n" + start);
    return at == std::string::npos ? 0 : KifLineOf(text, at + 1);
}

} // namespace

// Game g starts even or handicapped in turn, with the formations in turn; a few pick another formation
// after taking the first move back. Even games are played on from an opened record, odd ones resumed as
// the kept game.
TEST(PlayOn, AStoppedGamePlayedOnMatchesTheGameThatNeverStopped) {
    std::mt19937 rng(20261207u);
    QuietView view;
    TGameSession whole(view, FixedHooks());
    whole.Start();
    char folderTemplate[] = "/tmp/mirutoa-playon-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;
    TRecordKeeper keeper(folder);
    int takeBacks = 0, played = 0;
    for (int g = 0; g < kGames; ++g) {
        whole.PickFormation(kFormationList[std::size_t(g % 14)]);
        g % 2 == 0 ? whole.NewGame() : whole.NewHandicapGame();
        if (g % 10 == 3) {
            TMove reply;
            ASSERT_TRUE(Act(whole, ChooseAction(whole, rng), reply));
            ASSERT_TRUE(whole.Matta().Done);
            whole.PickFormation(kFormationList[std::size_t((g + 5) % 14)]);
        }
        const int stop = 2 * int(rng() % 60);
        bool goesOn = true;
        TMove reply;
        while (goesOn && whole.Kanri().MoveCount() < stop) {
            const TAction a = ChooseAction(whole, rng);
            takeBacks += a.From == 0;
            goesOn = a.From >= 0 && Act(whole, a, reply);
        }
        if (!goesOn) continue;
        const std::filesystem::path saved = folder / ("game" + std::to_string(g) + ".kifu");
        whole.SaveRecord(saved);
        const std::uint32_t seed = whole.Rng().Seed();
        const bool mattaUsed = whole.MattaUsed();

        std::vector<TAction> actions;
        std::vector<TMove> replies;
        while (goesOn && whole.Kanri().MoveCount() < kMaxMoves) {
            actions.push_back(ChooseAction(whole, rng));
            if (actions.back().From < 0) break;
            takeBacks += actions.back().From == 0;
            goesOn = Act(whole, actions.back(), reply);
            replies.push_back(reply);
        }

        QuietView freshView;
        TGameSession fresh(freshView, FixedHooks());
        fresh.Start();
        fresh.SetRecordKeeper(&keeper);
        if (g % 2 == 0) {
            const int moves = fresh.OpenRecord(saved);
            fresh.ShowMove(moves);
            ASSERT_EQ(fresh.PlayOn(), moves) << "game " << g;
        } else {
            fresh.ContinueKept(saved);
            EXPECT_EQ(keeper.CurrentFile(), saved) << "game " << g;
        }
        ASSERT_EQ(fresh.Rng().Seed(), seed) << "game " << g;
        ASSERT_EQ(fresh.MattaUsed(), mattaUsed) << "game " << g;
        ASSERT_TRUE(fresh.HumanToMove()) << "game " << g;
        for (std::size_t i = 0; i < actions.size() && actions[i].From >= 0; ++i) {
            Act(fresh, actions[i], reply);
            ASSERT_EQ(reply, replies[i]) << "game " << g << ", action " << i;
        }
        ASSERT_EQ(fresh.KifText(), whole.KifText()) << "game " << g;
        ++played;
    }
    std::filesystem::remove_all(folder);
    EXPECT_GT(played, kGames / 2);
    EXPECT_GT(takeBacks, kGames / 2);
}

// A line changed by hand is refused wherever the game is played on from, at its end (resuming the kept
// file too) and before it, naming the line; nothing changes.
TEST(PlayOn, ALineChangedByHandIsRefusedNamingItsLine) {
    QuietView view;
    TGameSession quiet(view, FixedHooks());
    ASSERT_NO_FATAL_FAILURE(PlayAGameWithATakeBack(quiet, 20261207u));
    TGameSession drawing(view, FixedHooks());
    ASSERT_NO_FATAL_FAILURE(PlayAGameInWhichComDraws(drawing));
    const std::string kif = quiet.KifText(), drawn = drawing.KifText();
    const int seedLine = LineOf(kif, "#ミルトア乱数：");
    const int formationLine = LineOf(kif, "#ミルトア陣形：");
    const int takeBackLine = LineOf(kif, "#ミルトア待った：");
    const int secondsLine = LineOf(kif, "#ミルトアCOM思考：");
    const int endLine = LineOf(kif, "#ミルトア最終乱数：");
    ASSERT_GT(seedLine, 0) << kif;
    ASSERT_GT(takeBackLine, 0) << kif;
    ASSERT_GT(endLine, 0) << kif;
    const std::string takeBack = kif.substr(kif.find("#ミルトア待った："));
    const std::string takeBackStart = takeBack.substr(0, takeBack.rfind(' ', takeBack.find('\n')) + 1);

    const struct {
        const char* What;
        const std::string& Game;
        int Line;
        std::string Text;
        int Named; // the line the refusal names
    } rows[] = {
        {"an unknown formation", kif, formationLine, "#ミルトア陣形：【無い陣形】", formationLine},
        {"a take-back of 1e30 seconds", kif, takeBackLine, takeBackStart + "1e30", takeBackLine},
        {"a take-back of inf seconds", kif, takeBackLine, takeBackStart + "inf", takeBackLine},
        {"a take-back of nan seconds", kif, takeBackLine, takeBackStart + "nan", takeBackLine},
        {"a take-back of negative seconds", kif, takeBackLine, takeBackStart + "-2", takeBackLine},
        {"thinks of 1e30 seconds", kif, secondsLine, "#ミルトアCOM思考：1e30", secondsLine},
        {"thinks of inf seconds", kif, secondsLine, "#ミルトアCOM思考：0.000 inf", secondsLine},
        {"thinks of nan seconds", kif, secondsLine, "#ミルトアCOM思考：nan", secondsLine},
        {"thinks of negative seconds", kif, secondsLine, "#ミルトアCOM思考：0.000 -0.001", secondsLine},
        {"a changed seed", kif, seedLine, "#ミルトア乱数：12345", seedLine},
        {"a changed final state", kif, endLine, "#ミルトア最終乱数：12345", endLine},
        // COM drew random numbers in this game, and every COM move still comes out from another seed.
        {"a changed seed where COM drew", drawn, LineOf(drawn, "#ミルトア乱数："), "#ミルトア乱数：12345",
         LineOf(drawn, "#ミルトア乱数：")},
    };
    const std::filesystem::path folder = TempFolder();
    QuietView freshView;
    TGameSession fresh(freshView, FixedHooks());
    fresh.Start();
    for (const auto& row : rows) {
        const std::string changed = ReplaceLine(row.Game, row.Line, row.Text);
        ASSERT_NE(changed, row.Game) << row.What;
        auto refused = [&](const std::string& where, auto playOn) {
            const GameState before(fresh);
            try {
                playOn();
                ADD_FAILURE() << row.What << ", " << where << ": played on";
            } catch (const TPlayOnRefusal& e) {
                if (row.Named > 0) {
                    EXPECT_NE(std::string(e.what()).find("line " + std::to_string(row.Named)),
                              std::string::npos)
                        << row.What << ", " << where << ": " << e.what();
                    EXPECT_NE(e.Shown().find(std::to_string(row.Named) + "行目"), std::string::npos)
                        << row.What << ", " << where << ": " << e.Shown();
                }
            }
            EXPECT_TRUE(GameState(fresh) == before) << row.What << ", " << where << ": the game changed";
        };
        const int end = fresh.OpenKifText(changed);
        for (const int n : {end, 2, 0}) {
            fresh.ShowMove(n);
            refused("at move " + std::to_string(n), [&] { fresh.PlayOn(); });
        }
        const std::filesystem::path kept = folder / "kept.kifu";
        WriteFileReplacing(kept, changed);
        refused("resumed", [&] { fresh.ContinueKept(kept); });
    }
    std::filesystem::remove_all(folder);
}

// A finished game's last position is where it ended, however it ended; the positions before it may be
// played on, in the game itself and from its record.
TEST(PlayOn, IsRefusedWhereAFinishedGameEndedAndAllowedBeforeIt) {
    QuietView view;
    TGameSession resigned(view, FixedHooks());
    ASSERT_NO_FATAL_FAILURE(PlayAGameWithATakeBack(resigned, 0));
    ASSERT_TRUE(resigned.Resign());
    TGameSession played(view, FixedHooks());
    played.Start();
    std::mt19937 rng(11);
    TTurnReport last;
    do last = scripted_play::PlayRandomTurn(played, rng);
    while (last.Result == Outcome::Continues);
    ASSERT_TRUE(played.GameOver()) << "the random game ended by " << int(last.Result);

    for (TGameSession* game : {&resigned, &played}) {
        const int end = static_cast<int>(game->Turns().size());
        const std::string kif = game->KifText();
        QuietView freshView;
        TGameSession fresh(freshView, FixedHooks());
        fresh.Start();
        ASSERT_EQ(fresh.OpenKifText(kif), end);
        for (TGameSession* s : {game, &fresh}) {
            const char* which = s == game ? "the game" : "its record";
            s->ShowMove(end);
            const GameState before(*s);
            try {
                s->PlayOn();
                ADD_FAILURE() << which << " played on after move " << end << " of " << kif;
            } catch (const TPlayOnRefusal& e) {
                EXPECT_EQ(std::string(e.what()), "the game is over after move " + std::to_string(end))
                    << which;
            }
            EXPECT_TRUE(GameState(*s) == before) << which;
        }
        fresh.ShowMove(4);
        EXPECT_EQ(fresh.PlayOn(), 4);
        EXPECT_TRUE(fresh.HumanToMove());
        game->ShowMove(2);
        EXPECT_EQ(game->PlayOn(), 2);
        EXPECT_TRUE(game->HumanToMove());
    }
}

// A record of an earlier version has no final state: it plays on as it always did, with COM exactly
// where the game left it.
TEST(PlayOn, ARecordWithoutTheFinalStatePlaysOnAsBefore) {
    QuietView view;
    TGameSession original(view, FixedHooks());
    ASSERT_NO_FATAL_FAILURE(PlayAGameInWhichComDraws(original));
    const std::string kif = original.KifText();
    const std::size_t endLine = kif.find("#ミルトア最終乱数：");
    ASSERT_NE(endLine, std::string::npos);
    const std::string old = kif.substr(0, endLine) + kif.substr(kif.find('\n', endLine) + 1);
    const int end = static_cast<int>(original.Turns().size());
    const std::uint32_t seedAtEnd = original.Rng().Seed();
    std::mt19937 human(3);
    const TMove reply = scripted_play::PlayRandomTurn(original, human).ComMove;

    const std::filesystem::path folder = TempFolder();
    WriteFileReplacing(folder / "old.kifu", old);
    const struct {
        const char* How;
        int Move;
    } ways[] = {{"opened, at its end", end}, {"opened, at move 2", 2}, {"resumed", end}};
    for (const auto& way : ways) {
        QuietView freshView;
        TGameSession fresh(freshView, FixedHooks());
        fresh.Start();
        if (way.How == ways[2].How) {
            EXPECT_EQ(fresh.ContinueKept(folder / "old.kifu"), end);
        } else {
            fresh.OpenKifText(old);
            fresh.ShowMove(way.Move);
            EXPECT_EQ(fresh.PlayOn(), way.Move) << way.How;
        }
        EXPECT_TRUE(fresh.HumanToMove()) << way.How;
        if (way.Move != end) continue;
        // COM goes on as in the game that never stopped, and the record gains the final state.
        EXPECT_EQ(fresh.Rng().Seed(), seedAtEnd) << way.How;
        std::mt19937 sameHuman(3);
        EXPECT_EQ(scripted_play::PlayRandomTurn(fresh, sameHuman).ComMove, reply) << way.How;
        EXPECT_NE(fresh.KifText().find("#ミルトア最終乱数："), std::string::npos) << way.How;
    }
    std::filesystem::remove_all(folder);
}
