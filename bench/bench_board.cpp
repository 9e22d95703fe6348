// Speed of the rules core: apply + undo with the full map rebuild, move generation, and a perft count.
#include "board/Kyokumen.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace {

// Three middle games after 36 plies, the human to move: a few captures, promoted pieces on the board.
const std::vector<std::vector<std::string_view>> kGames{
    {"6968金",   "8262com飛", "7988銀",   "7172com銀",   "5969王", "9192com香",   "4959金",   "3122com銀",
     "7675歩",   "6252com飛", "9998香",   "2231com銀",   "7574歩", "3315com角",   "3736歩",   "1559com角",
     "3938銀",   "5222com飛", "2937桂",   "6171com金",   "3745桂", "7161com金",   "4553桂",   "5915com角成",
     "5342桂成", "4445com歩", "4232桂成", "1542com角成", "6958王", "4215com角成", "3231桂成", "9394com歩",
     "6665歩",   "1112com香", "3121桂成", "6152com金"},
    {"7786角", "5162com王",   "6978金", "4142com金",   "8677角", "4445com歩",   "2818飛", "8292com飛",
     "5948王", "6152com金",   "1838飛", "9282com飛",   "3928銀", "3366com角",   "9998香", "6657com角",
     "1918香", "4233com金",   "7868金", "6272com王",   "7795角", "3142com銀",   "7675歩", "5766com角成",
     "9584角", "1314com歩",   "4859王", "6688com角成", "2839銀", "8877com角成", "5948王", "1112com香",
     "4958金", "7766com角成", "4849王", "3435com歩"},
    {"7788角", "1314com歩",   "8877角", "7374com歩",   "2858飛", "4445com歩", "5878飛", "3324com角",
     "7795角", "2113com桂",   "9586角", "8212com飛",   "7898飛", "7162com銀", "2726歩", "2457com角",
     "1918香", "1252com飛",   "3928銀", "3132com銀",   "7988銀", "5142com王", "6968金", "4251com王",
     "8977桂", "6273com銀",   "7765桂", "5756com角成", "5958王", "8384com歩", "9796歩", "1415com歩",
     "8653角", "5655com角成", "5867王", "7382com銀"},
};

TKyokumen MiddleGame(int i) {
    TKyokumen k;
    for (std::string_view m : kGames[i]) {
        k.ComToMove = m.substr(4, 3) == "com";
        k.ApplyMoveText(m);
    }
    k.ComToMove = false;
    return k;
}

// Every move of the side to move, applied and taken back; both sides in turn.
void BM_ApplyUndo(benchmark::State& state) {
    TKyokumen k = MiddleGame(int(state.range(0)));
    std::array<TMoveList, 2> lists;
    for (int side = 0; side < 2; ++side) {
        k.ComToMove = side == 1;
        k.GenerateMoves();
        lists[side] = side ? k.Gote.Moves : k.Sente.Moves;
    }
    std::int64_t moves = 0;
    for (auto _ : state) {
        for (int side = 0; side < 2; ++side) {
            k.ComToMove = side == 1;
            for (const TMove& m : lists[side]) {
                k.ApplyMove(m);
                k.UndoMove(side ? k.Gote.LastMove : k.Sente.LastMove);
            }
            moves += lists[side].Size();
        }
        benchmark::DoNotOptimize(k.Gote.OverCoverage);
    }
    state.SetItemsProcessed(moves);
}
BENCHMARK(BM_ApplyUndo)->DenseRange(0, 2);

void BM_GenerateMoves(benchmark::State& state) {
    TKyokumen k = MiddleGame(int(state.range(0)));
    std::int64_t lists = 0;
    for (auto _ : state) {
        k.ComToMove = false;
        k.GenerateMoves();
        k.ComToMove = true;
        k.GenerateMoves();
        benchmark::DoNotOptimize(k.Sente.Moves.Count + k.Gote.Moves.Count);
        lists += 2;
    }
    state.SetItemsProcessed(lists);
}
BENCHMARK(BM_GenerateMoves)->DenseRange(0, 2);

void BM_MapRebuild(benchmark::State& state) {
    TKyokumen k = MiddleGame(int(state.range(0)));
    for (auto _ : state) {
        k.ClearThreatSums();
        k.ComputeHumanMaps();
        k.ComputeComMaps();
        k.ComputeThreats();
        benchmark::DoNotOptimize(k.Gote.KingZoneGuard);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MapRebuild)->DenseRange(0, 2);

// Leaves of the tree of generated moves, sides alternating; moves that leave a king attacked count too.
std::uint64_t Perft(TKyokumen& k, int depth) {
    if (depth == 0) return 1;
    const bool com = k.ComToMove;
    k.GenerateMoves();
    const TMoveList moves = com ? k.Gote.Moves : k.Sente.Moves;
    std::uint64_t leaves = 0;
    for (const TMove& m : moves) {
        k.ComToMove = com;
        k.ApplyMove(m);
        const TMove record = com ? k.Gote.LastMove : k.Sente.LastMove;
        k.ComToMove = !com;
        leaves += Perft(k, depth - 1);
        k.ComToMove = com;
        k.UndoMove(record);
    }
    return leaves;
}

void BM_Perft4(benchmark::State& state) {
    std::uint64_t leaves = 0;
    for (auto _ : state) {
        TKyokumen k;
        leaves = Perft(k, 4);
        benchmark::DoNotOptimize(leaves);
    }
    state.counters["leaves"] = double(leaves);
    state.counters["leaves/s"] =
        benchmark::Counter(double(leaves), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Perft4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    {
        TKyokumen k;
        const auto start = std::chrono::steady_clock::now();
        const std::uint64_t leaves = Perft(k, 4);
        const auto ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("perft(4) from the start position: %llu leaves in %.1f ms (%llu moves applied)\n",
                    static_cast<unsigned long long>(leaves), ms,
                    static_cast<unsigned long long>(k.AppliedCount));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
