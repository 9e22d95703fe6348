// The analysis of a 100-move game at the default time per position: the engine at Lv1 plays the
// first side against the standard COM until a game reaches 100 moves, then those 100 moves are
// analysed. Prints the game's length, the wall time of the analysis and its marks.
//
// Usage: bench_analysis [ms per position]   (the default when not given)
#include "session/Analysis.h"
#include "session/GameSession.h"
#include "support/ScriptedPlay.h"

#include <chrono>
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
    const int ms = argc > 1 ? std::atoi(argv[1]) : int(kAnalysisDefaultTime.count());
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
    record.Ending = KifEnding::None;
    record.Comments.clear();

    TGameAnalysis analysis(seat);
    const auto begin = std::chrono::steady_clock::now();
    analysis.Start(record, std::chrono::milliseconds(ms));
    analysis.Wait();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (!analysis.Complete()) {
        std::fprintf(stderr, "analysis failed: %s\n", analysis.Error().c_str());
        return 1;
    }
    int bad = 0, dubious = 0;
    for (std::size_t move = 1; move <= kMoves; ++move) {
        const MoveMark m = analysis.Verdict(move).Mark;
        bad += m == MoveMark::Bad;
        dubious += m == MoveMark::Dubious;
    }
    std::printf("%zu moves, %zu positions at %d ms: %.1f s; the human's 悪手 %d, 疑問手 %d\n", kMoves,
                analysis.Positions(), ms, seconds, bad, dubious);
    return 0;
}
