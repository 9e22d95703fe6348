// Record files: saving and opening a 300-move game in each form, resuming it, and keeping one turn of it.
//
// The game is played once at start-up through the game session: COM against a scripted human that
// takes the most valuable piece it can and otherwise plays at random, from fixed seeds, over games
// until one lasts 300 moves. Files go to a fresh folder under /tmp, removed at the end.
#include "session/GameSession.h"
#include "session/KifFile.h"
#include "session/RecordKeeper.h"
#include "support/ScriptedPlay.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

constexpr int kMoves = 300;

struct TLongGame {
    scripted_play::QuietView View;
    std::unique_ptr<TGameSession> Session;
    std::filesystem::path Folder;

    TLongGame() {
        char name[] = "/tmp/mirutoa-bench-kif-XXXXXX";
        if (!mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
        Folder = name;
        std::mt19937 human(1u);
        Session = std::make_unique<TGameSession>(View);
        Session->Start();
        for (int game = 0; game < 1000; ++game) {
            Session->NewGame();
            while (Session->ShownMove() < kMoves) {
                if (scripted_play::PlayRandomTurn(*Session, human).Result != TTurnReport::Outcome::Continues)
                    break;
            }
            if (Session->ShownMove() >= kMoves) return;
        }
        throw std::runtime_error("no game lasted 300 moves");
    }
    ~TLongGame() { std::filesystem::remove_all(Folder); }
};

TLongGame& LongGame() {
    static TLongGame game;
    return game;
}

void BM_Save(benchmark::State& state, const char* name) {
    TLongGame& g = LongGame();
    const std::filesystem::path path = g.Folder / name;
    for (auto _ : state) g.Session->SaveRecord(path);
    state.counters["moves"] = double(g.Session->MoveHistory().size());
}

void BM_Open(benchmark::State& state, const char* name) {
    TLongGame& g = LongGame();
    const std::filesystem::path path = g.Folder / name;
    g.Session->SaveRecord(path);
    scripted_play::QuietView view;
    TGameSession reader(view);
    int moves = 0;
    for (auto _ : state) moves = reader.OpenRecord(path);
    state.counters["moves"] = moves;
}

// What a turn adds when keeping is on: the whole record written again and renamed over the old one.
void BM_KeepTurn(benchmark::State& state) {
    TLongGame& g = LongGame();
    TRecordKeeper keeper(g.Folder / "records");
    const TKifRecord record = g.Session->KifRecord();
    for (auto _ : state) keeper.Keep(1, g.Session->KifRecord());
    if (!keeper.LastError().empty()) state.SkipWithError(keeper.LastError().c_str());
    state.counters["moves"] = double(record.Shown.size());
}

// Resuming the kept game at start-up: the record read, and the whole game played again with COM
// thinking every one of its moves, so that it stands exactly as it stopped.
void BM_Resume(benchmark::State& state) {
    TLongGame& g = LongGame();
    const std::filesystem::path path = g.Folder / "resume.kifu";
    g.Session->SaveRecord(path);
    scripted_play::QuietView view;
    TGameSession resumed(view);
    resumed.Start();
    int moves = 0;
    for (auto _ : state) moves = resumed.ContinueKept(path);
    state.counters["moves"] = moves;
}

} // namespace

BENCHMARK_CAPTURE(BM_Save, kif, "game.kif")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Save, kifu, "game.kifu")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Save, txt, "game.txt")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Open, kif, "game.kif")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Open, kifu, "game.kifu")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Resume)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_KeepTurn)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
