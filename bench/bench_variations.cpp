// Records that branch: reading, writing and opening a 1,000-move game with 200 variations of five moves
// each, branching off the main line every fifth move, a quarter of them off the variation before.
// The moves capture nothing and end nothing (tests/support/QuietMoves.h), from fixed seeds.
#include "session/GameSession.h"
#include "session/Kif.h"
#include "support/QuietMoves.h"
#include "support/ScriptedPlay.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kMoves = 1000;
constexpr int kVariations = 200;
constexpr int kVariationMoves = 5;

std::string TreeText() {
    TKifRecord r;
    TKyokumen k = KifStartPosition(KifStart::Even);
    TJudge judge;
    judge.Reset(k);
    std::uint32_t seed = 2026;
    // The positions along the main line, to branch from.
    std::vector<std::pair<TKyokumen, TJudge>> along{{k, judge}};
    for (int i = 0; i < kMoves; ++i) {
        quiet_moves::Play(k, judge, 1, seed, r.Played, r.Shown);
        along.emplace_back(k, judge);
    }
    for (int v = 0; v < kVariations; ++v) {
        // Where the only quiet move is the one played already, the variation starts a move later.
        for (int later = 0;; ++later) {
            TKifVariation line;
            try {
                if (v % 4 == 3) {
                    // Off the variation before, at its third move.
                    const TKifVariation& before = r.Variations.back();
                    line.Parent = int(r.Variations.size()) - 1;
                    line.At = before.At + 2 + later;
                    TKyokumen bk = along[std::size_t(before.At)].first;
                    TJudge bj = along[std::size_t(before.At)].second;
                    for (int i = 0; i < 2 + later; ++i)
                        quiet_moves::Apply(bk, bj, before.Played[std::size_t(i)]);
                    quiet_moves::Play(bk, bj, kVariationMoves, seed, line.Played, line.Shown,
                                      &before.Played[std::size_t(2 + later)]);
                } else {
                    line.At = 5 * v + 2 + later;
                    TKyokumen vk = along[std::size_t(line.At)].first;
                    TJudge vj = along[std::size_t(line.At)].second;
                    quiet_moves::Play(vk, vj, kVariationMoves, seed, line.Played, line.Shown,
                                      &r.Played[std::size_t(line.At)]);
                }
            } catch (const std::logic_error&) {
                continue;
            }
            r.Variations.push_back(std::move(line));
            break;
        }
    }
    SortKifVariations(r);
    return WriteKif(r);
}

const std::string& Tree() {
    static const std::string text = TreeText();
    return text;
}

void BM_ReadTree(benchmark::State& state) {
    const std::string& text = Tree();
    std::size_t variations = 0;
    for (auto _ : state) {
        const TKifRecord r = ReadKif(text);
        variations = r.Variations.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["variations"] = double(variations);
    state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_ReadTree)->Unit(benchmark::kMillisecond);

void BM_WriteTree(benchmark::State& state) {
    const TKifRecord r = ReadKif(Tree());
    for (auto _ : state) benchmark::DoNotOptimize(WriteKif(r));
}
BENCHMARK(BM_WriteTree)->Unit(benchmark::kMillisecond);

// Opening it in the game session: read, every line's turns built, replay at the start.
void BM_OpenTree(benchmark::State& state) {
    scripted_play::QuietView view;
    TGameSession s(view);
    s.Start();
    for (auto _ : state) benchmark::DoNotOptimize(s.OpenKifText(Tree()));
    state.counters["lines"] = double(s.LineCount());
}
BENCHMARK(BM_OpenTree)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
