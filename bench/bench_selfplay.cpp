// COM against a scripted opponent, whole turns played the way the window plays them: how long each of
// COM's thinks takes and how many moves it plays on its position.
//
// The opponent picks a uniformly random move among those the human move check accepts, from a
// generator of its own with a fixed seed; COM's generator starts at seed 0. The games cycle through
// the fourteen formations and both start positions (even and handicap), and each runs to its end or
// 300 moves (both sides' moves counted). The transcript hash at the end covers every move played, so
// two runs (or two builds) that print the same hash played the same games. Think times are given by the
// wall clock and by the thread's processor time, which a busy machine disturbs less.
//
// Usage: bench_selfplay [games]   (200 when not given)
#include "com/KyokumenKanri.h"
#include "com/Random.h"
#include "support/Helpers.h"
#include "support/SelfPlay.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace testing_helpers;

constexpr int kDefaultGames = 200;
constexpr int kMoveLimit = 300;

// The processor time of this thread: on a shared machine the wall clock also counts the time the
// thread waited for a core.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Think {
    double Ms = 0;
    double CpuMs = 0;
    std::uint64_t Applied = 0;
};

struct Slowest {
    double Ms = -1;
    int Game = -1;
    std::string_view Formation;
    bool Handicap = false;
    std::vector<std::string> Moves; // the moves before the think, the human's last
};

enum class Ending { HumanMates, ComMates, HumanBareKing, ComBareKing, NoComMove, NoHumanMove, MoveLimit };
constexpr const char* kEndingNames[] = {"human mates",   "COM mates",         "human bare king",
                                        "COM bare king", "COM found no move", "human has no move",
                                        "300-move limit"};

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const std::size_t i = std::min(sorted.size() - 1, std::size_t(p * double(sorted.size() - 1) + 0.5));
    return sorted[i];
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultGames;

    TRandom com;
    std::mt19937 opponent(kOpponentSeed);
    std::vector<Think> thinks;
    thinks.reserve(std::size_t(games) * kMoveLimit / 2);
    Slowest slowest;
    Fnv1a transcript;
    std::vector<int> endings(std::size(kEndingNames));
    std::uint64_t plies = 0;

    for (int game = 0; game < games; ++game) {
        const TFormationEntry& formation = GameFormation(game);
        const bool handicap = HandicapGame(game);
        TKyokumenKanri g(com);
        if (handicap) g.Kyokumen.SetupHisyaKaku();
        g.SetFormation(formation.Name);
        std::vector<std::string> moves;

        Ending ending = Ending::MoveLimit;
        while (g.MoveCount() < kMoveLimit) {
            const std::vector<TMove> legal = LegalHumanMoves(g);
            if (legal.empty()) {
                ending = Ending::NoHumanMove;
                break;
            }
            const TMove pick = legal[UniformBelow(opponent, std::uint32_t(legal.size()))];

            // One turn, as the window plays it.
            const THumanMoveTest test = g.CheckHumanMove(SquareText(pick.From), SquareText(pick.To));
            g.ApplyMove(test.Move);
            moves.push_back(MoveText(test.Move));
            transcript.Add(moves.back());
            g.SwitchSide();

            const std::uint64_t appliedBefore = g.AppliedMoves();
            const double cpuStart = ThreadCpuMs();
            const auto start = std::chrono::steady_clock::now();
            g.ComThink();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            const double cpuMs = ThreadCpuMs() - cpuStart;
            thinks.push_back({ms, cpuMs, g.AppliedMoves() - appliedBefore});
            if (cpuMs > slowest.Ms) slowest = {cpuMs, game, formation.Name, handicap, moves};

            if (g.HumanMatesFlag || g.ComBareKingFlag) {
                ending = g.HumanMatesFlag ? Ending::HumanMates : Ending::ComBareKing;
                break;
            }
            if (g.ComMove.Empty()) {
                ending = Ending::NoComMove;
                break;
            }
            g.ApplyMove(g.ComMove);
            moves.push_back(g.ComMoveText());
            transcript.Add(moves.back());
            g.JudgeAfterComMove();
            if (GameOver(g)) {
                ending = g.ComMatesFlag ? Ending::ComMates : Ending::HumanBareKing;
                break;
            }
            g.SwitchSide();
        }
        ++endings[std::size_t(ending)];
        plies += std::uint64_t(g.MoveCount());
        transcript.Add("end");
    }

    std::vector<double> times, cpuTimes;
    times.reserve(thinks.size());
    cpuTimes.reserve(thinks.size());
    double totalMs = 0, totalCpuMs = 0;
    std::uint64_t totalApplied = 0, maxApplied = 0;
    for (const Think& t : thinks) {
        times.push_back(t.Ms);
        cpuTimes.push_back(t.CpuMs);
        totalMs += t.Ms;
        totalCpuMs += t.CpuMs;
        totalApplied += t.Applied;
        maxApplied = std::max(maxApplied, t.Applied);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    const double n = thinks.empty() ? 1.0 : double(thinks.size());

    std::printf("self-play: %d games, %llu moves, %zu thinks\n", games,
                static_cast<unsigned long long>(plies), thinks.size());
    for (std::size_t i = 0; i < endings.size(); ++i)
        if (endings[i] > 0) std::printf("  %-18s %d\n", kEndingNames[i], endings[i]);
    auto print = [n](const char* what, const std::vector<double>& sorted, double total) {
        std::printf("%s (ms): p50 %.4f  p90 %.4f  p99 %.4f  max %.4f  mean %.4f\n", what,
                    Percentile(sorted, 0.5), Percentile(sorted, 0.9), Percentile(sorted, 0.99),
                    sorted.empty() ? 0.0 : sorted.back(), total / n);
    };
    print("think time, wall clock ", times, totalMs);
    print("think time, thread CPU ", cpuTimes, totalCpuMs);
    std::vector<double> applied;
    applied.reserve(thinks.size());
    for (const Think& t : thinks) applied.push_back(double(t.Applied));
    std::sort(applied.begin(), applied.end());
    // Moves played on the position during the think; the probes below a search's root count attacks
    // without playing their moves and are not among them.
    std::printf("applied moves per think: mean %.1f  p50 %.0f  p90 %.0f  p99 %.0f  max %llu\n",
                double(totalApplied) / n, Percentile(applied, 0.5), Percentile(applied, 0.9),
                Percentile(applied, 0.99), static_cast<unsigned long long>(maxApplied));
    std::printf("applied moves per second of thinking: %.0f (wall clock), %.0f (thread CPU)\n",
                totalMs > 0 ? double(totalApplied) / (totalMs / 1000.0) : 0.0,
                totalCpuMs > 0 ? double(totalApplied) / (totalCpuMs / 1000.0) : 0.0);
    std::printf("transcript hash: %016llx\n", static_cast<unsigned long long>(transcript.Hash));
    if (slowest.Game >= 0) {
        std::printf("slowest think (thread CPU): %.4f ms in game %d (%.*s, %s start), after %zu moves:\n",
                    slowest.Ms, slowest.Game, int(slowest.Formation.size()), slowest.Formation.data(),
                    slowest.Handicap ? "handicap" : "even", slowest.Moves.size());
        std::string line;
        for (std::size_t i = 0; i < slowest.Moves.size(); ++i) {
            line += (i % 10 == 0 ? "  " : " ") + slowest.Moves[i];
            if (i % 10 == 9 || i + 1 == slowest.Moves.size()) {
                std::printf("%s\n", line.c_str());
                line.clear();
            }
        }
    }
    return 0;
}
