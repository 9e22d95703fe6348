// The variant engine judges this game's positions as the game does. Over the positions of scripted
// games, with either side to move, the engine's legal moves equal the game's (the human's: the moves
// the human move check accepts; COM's: the generated moves after which the human attacks no square of
// COM's king, as COM's last-resort stage takes them), and both see the game end at the same moment.
// The kinds of difference that remain are pinned: a new kind fails the test, and so does a pinned kind
// that no longer shows.
#include "com/Random.h"
#include "engine/EngineClient.h"
#include "engine/EngineNotation.h"
#include "session/EnginePlay.h"
#include "session/Judge.h"
#include "support/Helpers.h"
#include "support/SelfPlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace testing_helpers;

namespace {

constexpr int kGames = 240;
constexpr int kMoveLimit = 200;
constexpr std::uint32_t kOpponent = 20261207;

struct TComparison {
    int Positions = 0;
    int Agreed = 0;
    int Ends = 0; // positions both find the game over in
    // Each kind of difference: in how many positions, and the first of them with one move.
    std::map<std::string, int> Kinds;
    std::map<std::string, std::string> Examples;
    std::string Failure; // the engine failed; the comparison stopped
};

// Whether some COM move could take the human king once the human has played m.
bool ComReachesHumanKingAfter(const TKyokumen& position, const TMove& m) {
    TKyokumen k = position;
    k.ComToMove = false;
    k.ApplyMove(m);
    const int king = k.Sente.Pieces.List[kKingIndex].Square();
    TMoveList com;
    k.ListMoves(true, com);
    return std::any_of(com.begin(), com.end(), [king](const TMove& c) { return c.To == king; });
}

std::string KindOfMove(const TKyokumen& k, bool com, const std::string& text, bool engineOnly) {
    const std::optional<TEngineMove> em = ParseEngineMove(text);
    const PieceName mover = em ? k.Board[std::size_t(em->From)] : PieceName::Empty;
    const std::string what = HumanKind(mover) == PieceName::Ou ? "king step" : "other move";
    const std::string side = com ? "COM: " : "human: ";
    if (!com && engineOnly) {
        // Named for its cause: the human move check refuses the move as leaving the king attacked,
        // yet no COM move could take the king afterwards.
        const std::optional<TMove> m = MoveFromEngine(text, k, false);
        TKyokumen probe = k;
        probe.ComToMove = false;
        if (m && probe.TestHumanMove(m->From, m->To).Result == THumanMoveTest::KingLeftAttacked &&
            !ComReachesHumanKingAfter(k, *m))
            return side + what + " refused as leaving the king attacked where no COM move reaches it";
    }
    return side + what + " that only the " + (engineOnly ? "engine" : "game") + " allows";
}

// Compares one position; `start` sets it as the variant's start position.
void Compare(TEngineClient& engine, const TKyokumen& k, bool com, bool start, bool gameOver,
             const std::vector<TMove>& gameMoves, TComparison& c) {
    const TEngineStatus set = start ? engine.SetStartPosition() : engine.SetPosition(k, com);
    std::vector<std::string> engineMoves;
    const TEngineStatus asked = set ? engine.LegalMoves(engineMoves) : set;
    if (!asked) {
        c.Failure = asked.Message + " (position " + EngineFen(k, com) + ")";
        return;
    }
    ++c.Positions;
    std::map<std::string, std::string> kinds; // kind -> move
    c.Ends += gameOver && engineMoves.empty();
    if (gameOver != engineMoves.empty()) {
        kinds[std::string(com ? "COM" : "human") + " to move: the game is over for the " +
              (gameOver ? "game" : "engine") + " alone"] = "";
    } else if (!gameOver) {
        std::set<std::string> ours, theirs(engineMoves.begin(), engineMoves.end());
        for (const TMove& m : gameMoves) ours.insert(EngineMoveText(m));
        for (const std::string& t : theirs)
            if (!ours.contains(t)) kinds.emplace(KindOfMove(k, com, t, true), t);
        for (const std::string& t : ours)
            if (!theirs.contains(t)) kinds.emplace(KindOfMove(k, com, t, false), t);
    }
    if (kinds.empty()) ++c.Agreed;
    for (const auto& [kind, move] : kinds) {
        if (c.Kinds[kind]++ == 0)
            c.Examples[kind] = EngineFen(k, com) + (move.empty() ? "" : ", move " + move);
    }
}

// The human's pick: a random legal move, or in a greedy game the most valuable capture when there is one.
TMove HumanPick(const TKyokumen& k, const std::vector<TMove>& moves, bool greedy, std::mt19937& rng) {
    const TMove random = moves[UniformBelow(rng, std::uint32_t(moves.size()))];
    if (!greedy) return random;
    const auto best = std::max_element(moves.begin(), moves.end(), [&k](const TMove& a, const TMove& b) {
        return k.ValueAt[a.To] < k.ValueAt[b.To];
    });
    return k.ValueAt[best->To] > 0 ? *best : random;
}

// Scripted games, the human's moves from a seeded generator of its own and COM thinking as in play:
// from the even start, the handicap start, and the test position, where a greedy human wins, so that
// COM's game ends are compared too. The formations take turns.
TComparison CompareScriptedGames(TEngineClient& engine) {
    TRandom com(0); // one generator through all the games
    std::mt19937 human(kOpponent);
    TComparison c;
    for (int game = 0; game < kGames && c.Failure.empty(); ++game) {
        TKyokumenKanri g(com);
        // Of every five games three start even, one with the handicap, one from the test position.
        const bool handicap = game % 5 == 1, testPosition = game % 5 == 4;
        if (handicap) g.Kyokumen.SetupHisyaKaku();
        if (testPosition) g.Kyokumen.SetupTestPosition();
        g.SetFormation(kFormationTable[std::size_t(game / 3 % kSenpouCount)].Name);
        if (TEngineStatus s = engine.SelectVariant(handicap ? "mirutoa-handicap" : "mirutoa"); !s) {
            c.Failure = s.Message;
            break;
        }
        bool start = !testPosition;
        TJudge judge;
        judge.Reset(g.Kyokumen);
        TGameEnd end;
        const auto legal = [](const TKyokumen& k, Side side) {
            TMoveList list;
            LegalMoves(k, side, list);
            return std::vector<TMove>(list.begin(), list.end());
        };
        // A repetition ends the game by a rule the engine's move list does not show: the game stops
        // there without a comparison.
        const auto repeated = [&end] {
            return end.Kind == EndKind::Repetition || end.Kind == EndKind::PerpetualCheck;
        };
        while (c.Failure.empty() && g.MoveCount() < kMoveLimit) {
            const std::vector<TMove> humanMoves =
                end.Over() ? std::vector<TMove>() : legal(g.Kyokumen, Side::Sente);
            Compare(engine, g.Kyokumen, false, start, end.Over(), humanMoves, c);
            start = false;
            if (end.Over()) break;

            const TMove pick = HumanPick(g.Kyokumen, humanMoves, testPosition, human);
            (void)g.CheckHumanMove(SquareText(pick.From), SquareText(pick.To));
            g.ApplyMove(pick);
            g.SwitchSide();
            end = judge.Moved(g.Kyokumen);
            if (repeated()) break;

            const std::vector<TMove> comMoves =
                end.Over() ? std::vector<TMove>() : legal(g.Kyokumen, Side::Gote);
            Compare(engine, g.Kyokumen, true, false, end.Over(), comMoves, c);
            if (end.Over()) break;
            g.ComThink();
            // COM may take itself to be lost where the rules see a move: it gives the game up.
            if (g.ComMove.Empty() || g.HumanMatesFlag || g.ComBareKingFlag) break;
            const auto same = [&g](const TMove& m) {
                return m.From == g.ComMove.From && m.To == g.ComMove.To;
            };
            if (std::none_of(comMoves.begin(), comMoves.end(), same)) {
                const std::string kind = "COM's think chose a move the rules refuse";
                if (c.Kinds[kind]++ == 0)
                    c.Examples[kind] = EngineFen(g.Kyokumen, true) + ", move " + MoveText(g.ComMove);
                break;
            }
            g.ApplyMove(g.ComMove);
            g.JudgeAfterComMove();
            g.SwitchSide();
            end = judge.Moved(g.Kyokumen);
            if (repeated()) break;
        }
    }
    return c;
}

} // namespace

TEST(EngineComparison, EngineAndGameAgreeOnLegalMovesAndGameEnds) {
    TEngineSettings settings;
    settings.VariantFile = MIRUTOA_VARIANT_FILE;
    TEngineClient engine;
    if (TEngineStatus s = engine.Start(settings); !s) {
        if (s.Error == EngineError::NotFound)
            GTEST_SKIP() << s.Message << " (Debian package fairy-stockfish)";
        FAIL() << s.Message;
    }
    const TComparison c = CompareScriptedGames(engine);
    ASSERT_EQ(c.Failure, "");
    std::cout << c.Positions << " positions compared, " << c.Agreed << " agreed, " << c.Ends
              << " game ends found by both\n";
    for (const auto& [kind, count] : c.Kinds)
        std::cout << "  " << kind << ": " << count << " (first: " << c.Examples.at(kind) << ")\n";
    EXPECT_GE(c.Positions, 10'000);
    EXPECT_GT(c.Ends, 0);
    std::set<std::string> kinds;
    for (const auto& entry : c.Kinds) kinds.insert(entry.first);
    // The rules the referee judges by are the engine's: no kind of difference is left.
    EXPECT_EQ(kinds, std::set<std::string>{});
}
