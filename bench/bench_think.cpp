// COM's whole think on a few fixed positions, with the number of moves it applies (probes included).
#include "com/KyokumenKanri.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <string_view>

namespace {

// Applies the moves in order, each for the side its name belongs to; COM is to move afterwards.
void Play(TKyokumenKanri& g, std::initializer_list<std::string_view> moves) {
    for (std::string_view m : moves) {
        const bool com = m.size() > 4 && m.substr(4, 3) == "com";
        g.SideToMove = com ? 1 : 0;
        g.Kyokumen.ComToMove = com;
        g.ApplyMove(m);
    }
    g.SideToMove = 1;
    g.Kyokumen.ComToMove = true;
}

void Think(benchmark::State& state, std::initializer_list<std::string_view> moves) {
    std::uint64_t applied = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TKyokumenKanri g;
        Play(g, moves);
        const std::uint64_t before = g.AppliedMoves();
        state.ResumeTiming();

        g.ComThink();

        state.PauseTiming();
        applied += g.AppliedMoves() - before;
        benchmark::DoNotOptimize(g.ComMove);
        state.ResumeTiming();
    }
    state.counters["applied"] = benchmark::Counter(double(applied), benchmark::Counter::kAvgIterations);
}

// The human's first move.
void BM_ThinkOpening(benchmark::State& state) {
    Think(state, {"7675歩"});
}

// Pawns traded on the centre file; a promoted pawn checks COM's king from 52.
void BM_ThinkMiddleGameCheck(benchmark::State& state) {
    Think(state, {"7675歩", "8384com歩", "5756歩", "8485com歩", "5655歩", "5354com歩", "5554歩", "3435com歩",
                  "5453歩", "6152com金", "5352と"});
}

// COM's king in the open on 55 among its pawns, with a knight ready to mate from 67.
void BM_ThinkKingHuntThreat(benchmark::State& state) {
    Think(state, {"5155com王", "4445com歩", "5354com歩", "6364com歩", "3444com歩", "7978銀", "8979桂"});
}

// The same king checked by the knight, with several flights.
void BM_ThinkKingHuntInCheck(benchmark::State& state) {
    Think(state, {"5155com王", "4445com歩", "5354com歩", "4748歩", "8967桂"});
}

} // namespace

BENCHMARK(BM_ThinkOpening)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThinkMiddleGameCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThinkKingHuntThreat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThinkKingHuntInCheck)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
