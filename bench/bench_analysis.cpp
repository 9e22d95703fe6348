// The analysis of a 100-move game at the default nodes per position: the engine at Lv1 plays the first
// side against the standard COM until a game reaches 100 moves, then those 100 moves are analysed (each
// position searched, and each of the first side's moves that is not the engine's best searched again
// against it). Prints the game's length, the wall time of the analysis and its marks.
//
// Usage: bench_analysis [nodes per position]   (the default when not given)
#include "session/Analysis.h"
#include "session/GameSession.h"
#include "support/ScriptedPlay.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t kMoves = 100;

// Plays one game of the engine at Lv1 against COM; true when it reached kMoves moves.
bool PlayLongGame(TEngineSeat& seat, TGameSession& s) {
    while (s.Turns().size() < kMoves) {
        bool found = false;
        TMove move;
        seat.Ask(s.BoardPosition(), false, s.LegalMoves(), kEngineLevels[0],
                 [&](const TEngineStatus& status, const TEngineProposal& p) {
                     found = status && p.Found;
                     move = p.Move;
                 });
        seat.Wait();
        if (!found) return false;
        if (s.MoveComa_Screen(move.From, move.To).Result != TTurnReport::Outcome::Continues)
            return s.Turns().size() >= kMoves;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const long long nodes = argc > 1 ? std::atoll(argv[1]) : (long long)kAnalysisDefaultNodes;
    if (nodes <= 0) {
        std::fprintf(stderr, "usage: bench_analysis [nodes per position]\n");
        return 2;
    }
    TEngineSeat seat;
    if (!seat.Installed()) {
        std::fprintf(stderr, "%s\n", TEngineSeat::MissingText().c_str());
        return 1;
    }
    scripted_play::QuietView view;
    TGameSession s(view);
    s.Start();
    for (int game = 0; !PlayLongGame(seat, s); ++game) {
        if (game == 20) {
            std::fprintf(stderr, "no game of %zu moves in 20\n", kMoves);
            return 1;
        }
        s.NewGame();
    }
    TKifRecord record = s.KifRecord();
    record.Played.resize(kMoves);
    record.Shown.resize(kMoves);
    record.Ending = {};
    record.Comments.clear();

    TGameAnalysis analysis(seat);
    const auto begin = std::chrono::steady_clock::now();
    TAnalysisSettings settings;
    settings.Nodes = std::uint64_t(nodes);
    analysis.Start(record, settings);
    analysis.Wait();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (!analysis.Complete()) {
        std::fprintf(stderr, "analysis failed: %s\n", analysis.Error().c_str());
        return 1;
    }
    int bad = 0, dubious = 0, searched = 0;
    for (std::size_t move = 1; move <= kMoves; ++move) {
        const MoveMark m = analysis.Verdict(move).Mark;
        bad += m == MoveMark::Bad;
        dubious += m == MoveMark::Dubious;
    }
    double engineSeconds = 0;
    for (std::size_t i = 0; i < analysis.Evals().size(); ++i) {
        const TPositionEval& e = analysis.Evals()[i];
        engineSeconds += e.Seconds;
        searched += e.Drop && i < kMoves && !(e.BestMove == record.Played[i]);
    }
    std::printf("%zu moves, %zu positions at %lld nodes (%d moves searched again): %.1f s (the positions' "
                "own searches %.1f s); the first side's 悪手 %d, 疑問手 %d\n",
                kMoves, analysis.Positions(), nodes, searched, seconds, engineSeconds, bad, dubious);
    return 0;
}
