// A fixed set of scripted games, every move of both sides folded into one number. Speed work on the
// rules core and on COM's searches must leave it unchanged: any difference in what a rule reads shows
// up as a different move somewhere in these games.
#include "support/Helpers.h"
#include "support/SelfPlay.h"
#include "com/Random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace testing_helpers;

namespace {

constexpr int kGames = 20;
constexpr int kMoveLimit = 160;

// Game i: formation i mod 14, the handicap start for the second ten. The opponent plays a random move
// among those the human move check accepts, from its own generator; COM's starts at seed 0.
std::uint64_t TranscriptHash(int& movesPlayed) {
    TRandom::Program().SetSeed(0);
    std::mt19937 opponent(7);
    Fnv1a hash;
    movesPlayed = 0;
    for (int game = 0; game < kGames; ++game) {
        TKyokumenKanri g;
        if (game >= kGames / 2) g.Kyokumen.SetupHisyaKaku();
        g.SetFormation(kFormationTable[std::size_t(game % kSenpouCount)].Name);
        while (!GameOver(g) && g.MoveCount() < kMoveLimit) {
            const std::vector<TMove> legal = LegalHumanMoves(g);
            if (legal.empty()) break;
            const TMove pick = legal[UniformBelow(opponent, std::uint32_t(legal.size()))];
            const TTurn turn = PlayTurn(g, SquareText(pick.From), SquareText(pick.To));
            hash.Add(turn.Human.Text());
            hash.Add(MoveText(turn.ComMove));
            if (turn.ComMove.Empty()) break;
        }
        movesPlayed += g.MoveCount();
        hash.Add("end");
    }
    return hash.Hash;
}

} // namespace

TEST(Transcript, ScriptedGamesPlayTheRecordedMoves) {
    int moves = 0;
    const std::uint64_t hash = TranscriptHash(moves);
    char text[32];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    EXPECT_EQ(moves, 1438);
    EXPECT_EQ(std::string(text), "21348598954962c3") << "after " << moves << " moves";
}
