// The variant engine against the standard COM, whole games through the game session: the engine
// plays the first side (the human's seat, the only one COM does not take) at one of the opponent
// levels' settings, COM answers as in play. Prints the engine's wins, COM's wins and the games left
// unfinished (the move limit, or a first side without a move that is not in check, which the game
// does not judge). The games cycle through the fourteen formations from the even start; COM's
// generator runs on from game to game as in the window.
//
// Also times the hint: the engine's answer at the hint's settings, request to answer, in the
// positions of a game.
//
// Usage: bench_engine_play LEVEL [games]   (LEVEL 1..5; 100 games when not given)
//        bench_engine_play hint [positions] (40 when not given)
#include "session/EnginePlay.h"
#include "session/GameSession.h"
#include "support/ScriptedPlay.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kMoveLimit = 300;

enum class Result { Engine, Com, Unfinished };

// The engine's move for the first side, or none.
bool EngineMove(TEngineSeat& seat, TGameSession& s, TEngineLevel level, TMove& move) {
    bool found = false;
    seat.Ask(s.BoardPosition(), false, s.LegalMoves(), level,
             [&](const TEngineStatus& status, const TEngineProposal& p) {
                 if (!status) std::fprintf(stderr, "engine: %s\n", status.Message.c_str());
                 found = status && p.Found;
                 move = p.Move;
             });
    seat.Wait();
    return found;
}

Result PlayGame(TEngineSeat& seat, TGameSession& s, TEngineLevel level) {
    using Outcome = TTurnReport::Outcome;
    while (s.ShownMove() < kMoveLimit) {
        TMove m;
        if (!EngineMove(seat, s, level, m)) return Result::Unfinished;
        const TTurnReport r = s.MoveComa_Screen(m.From, m.To);
        // The engine plays the first side, COM the second.
        if (r.Result == Outcome::GameOver && r.Ending.Won(Side::Sente)) return Result::Engine;
        if (r.Result == Outcome::GameOver && r.Ending.Won(Side::Gote)) return Result::Com;
        if (r.Result != Outcome::Continues) return Result::Unfinished;
    }
    return Result::Unfinished;
}

int Games(int level, int games) {
    scripted_play::QuietView view;
    TGameSession s(view);
    s.Start();
    TEngineSeat seat;
    if (!seat.Installed()) {
        std::fprintf(stderr, "%s\n", TEngineSeat::MissingText().c_str());
        return 1;
    }
    const TEngineLevel settings = kEngineLevels[std::size_t(level - 1)];
    int tally[3] = {};
    int plies = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int g = 0; g < games; ++g) {
        s.NewGame();
        s.PickFormation(kFormationList[std::size_t(g) % kFormationList.size()]);
        const Result r = PlayGame(seat, s, settings);
        ++tally[int(r)];
        plies += s.ShownMove();
        // Progress on standard error: a long run can be cut short and still read.
        std::fprintf(stderr, "game %d: %s after %d moves (engine %d, COM %d)\n", g + 1,
                     r == Result::Engine ? "engine"
                     : r == Result::Com  ? "COM"
                                         : "unfinished",
                     s.ShownMove(), tally[0], tally[1]);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Lv%d (skill %d, %d ms a move): %d games, engine won %d, COM won %d, unfinished %d: "
                "engine's win rate %.1f %%; %.1f moves a game, %.0f s\n",
                level, settings.Skill, settings.MoveTimeMs, games, tally[0], tally[1], tally[2],
                100.0 * tally[0] / games, double(plies) / games, seconds);
    return 0;
}

int HintTimes(int positions) {
    scripted_play::QuietView view;
    TGameSession s(view);
    s.Start();
    TEngineSeat seat;
    if (!seat.Installed()) {
        std::fprintf(stderr, "%s\n", TEngineSeat::MissingText().c_str());
        return 1;
    }
    seat.Warm();
    std::vector<double> ms;
    while (int(ms.size()) < positions) {
        if (s.GameOver() || s.ShownMove() >= kMoveLimit) s.NewGame();
        const auto start = std::chrono::steady_clock::now();
        TMove m;
        if (!EngineMove(seat, s, kHintLevel, m)) return 1;
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        s.MoveComa_Screen(m.From, m.To);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("hint (skill %d, %llu nodes): %d positions, median %.0f ms, slowest %.0f ms\n",
                kHintLevel.Skill, (unsigned long long)kHintLevel.Nodes, positions, ms[ms.size() / 2],
                ms.back());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::atoi(argv[2]) : 0;
    if (what == "hint") return HintTimes(count > 0 ? count : 40);
    const int level = std::atoi(what.c_str());
    if (level < 1 || level > int(kEngineLevels.size())) {
        std::fprintf(stderr, "usage: bench_engine_play LEVEL [games] | bench_engine_play hint [positions]\n");
        return 2;
    }
    return Games(level, count > 0 ? count : 100);
}
