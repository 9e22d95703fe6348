// The ladder of the engine's levels, measured: whole games between pairs of players, two at a time in
// worker processes of their own (each with its own engine), and each pair's score with its 95 % interval.
//
// Players:
//   greedy   takes the most valuable piece it can take safely, else moves at random. A capture is safe
//            when, after it, no piece of the other side attacks the square, or the piece taken is worth
//            more than the piece that took it (an exchange there still gains). Values: 歩 1, 香 3, 桂 4,
//            銀 5, 金 and every promoted minor piece 6, 角 8, 飛 and 馬 10, 龍 12.
//   com      the built-in COM, its formation changing every two games through the fourteen, and its
//            generator seeded by the game's number.
//   L<n>     the engine at level n of the levels offered to the player.
//   e<s>/<n> the engine at Skill Level s searching n nodes (e-20/500), for trying a level out.
//
// Pairs are written A:B. Without pairs, every level plays the greedy player, COM and the level below.
// The first player of a pair moves first in the even games, second in the odd ones; a game still going
// after 300 moves is a draw, as is a fourth repetition. The score counts a draw as half a win; the
// interval is Wilson's for that share.
//
// Usage: bench_ladder [--games N] [--jobs J] [--seed S] [PAIR...]   (50 games, 2 jobs, seed 1)
#include "session/ComPlayer.h"
#include "session/EnginePlay.h"
#include "session/GameSession.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kMoveLimit = 300;

// ---------------------------------------------------------------------------------------------
// The players

int CaptureValue(PieceName p) {
    constexpr int kValues[15] = {0, 1, 6, 3, 6, 4, 6, 5, 6, 6, 1000, 8, 10, 10, 12};
    if (p == PieceName::Empty) return 0;
    return kValues[std::size_t(IsCom(p) ? OtherSide(p) : p)];
}

class TGreedyPlayer : public IPlayer {
public:
    explicit TGreedyPlayer(std::mt19937& rng) : rng_(rng) {}

    void Think(const TMoveRequest& request, ReplyFn reply) override {
        std::vector<TMove> best;
        int bestGain = 0;
        for (const TMove& m : request.Legal) {
            const int gain = CaptureValue(request.Position.Board[std::size_t(m.To)]);
            if (gain == 0 || gain < bestGain) continue;
            TKyokumen after = request.Position;
            after.ComToMove = request.ToMove == Side::Gote;
            after.ApplyMove(m);
            const bool safe = !Attacked(after.Board, m.To, Other(request.ToMove)) ||
                              gain > CaptureValue(after.Board[std::size_t(m.To)]);
            if (!safe) continue;
            if (gain > bestGain) best.clear();
            bestGain = gain;
            best.push_back(m);
        }
        const std::vector<TMove>& from = best.empty() ? request.Legal : best;
        TOpponentReply r;
        r.Move = from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng_)];
        reply(r);
    }

private:
    std::mt19937& rng_;
};

// The engine at settings of its own, told the game as the levels offered are.
class TTrialEnginePlayer : public TEnginePlayer {
public:
    TTrialEnginePlayer(TEngineSeat& seat, TEngineLevel level) : TEnginePlayer(seat), level_(level) {}
    TEngineLevel Settings() const override { return level_; }

private:
    TEngineLevel level_;
};

struct TPlayerChoice {
    enum class Who { Greedy, Com, Level, Trial };
    Who Kind = Who::Greedy;
    int Level = 0;
    TEngineLevel Trial{};
    std::string Name;
};

std::optional<TPlayerChoice> ParsePlayer(const std::string& text) {
    TPlayerChoice p;
    p.Name = text;
    if (text == "greedy") return p;
    if (text == "com") {
        p.Kind = TPlayerChoice::Who::Com;
        return p;
    }
    char* end = nullptr;
    if (text.size() > 1 && text[0] == 'L') {
        p.Kind = TPlayerChoice::Who::Level;
        p.Level = int(std::strtol(text.c_str() + 1, &end, 10));
        if (*end != '\0' || p.Level < 1 || p.Level > int(kEngineLevels.size())) return std::nullopt;
        return p;
    }
    if (text.size() > 1 && text[0] == 'e') {
        p.Kind = TPlayerChoice::Who::Trial;
        p.Trial.Skill = int(std::strtol(text.c_str() + 1, &end, 10));
        if (*end != '/' || p.Trial.Skill < -20 || p.Trial.Skill > 20) return std::nullopt;
        const char* nodes = end + 1;
        p.Trial.Nodes = std::strtoull(nodes, &end, 10);
        if (*end != '\0' || end == nodes || p.Trial.Nodes == 0) return std::nullopt;
        return p;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// One game, refereed here: the game's own rules judge every position, as in play.

enum class Outcome { FirstWins, SecondWins, Draw, Failed };

struct TGameResult {
    Outcome Result = Outcome::Failed;
    int Moves = 0;
    std::string How;
};

struct TWorker {
    TEngineSeat Seat;
    TRandom ComRng;
    std::mt19937 GreedyRng;

    std::unique_ptr<IPlayer> Make(const TPlayerChoice& choice) {
        switch (choice.Kind) {
        case TPlayerChoice::Who::Greedy:
            return std::make_unique<TGreedyPlayer>(GreedyRng);
        case TPlayerChoice::Who::Com:
            return std::make_unique<TComPlayer>(ComRng);
        case TPlayerChoice::Who::Level: {
            auto p = std::make_unique<TEnginePlayer>(Seat);
            p->SetLevel(choice.Level);
            return p;
        }
        case TPlayerChoice::Who::Trial:
            return std::make_unique<TTrialEnginePlayer>(Seat, choice.Trial);
        }
        return nullptr;
    }

    TGameResult Play(const TPlayerChoice& a, const TPlayerChoice& b, int game, unsigned seed) {
        ComRng.SetSeed(seed * 100'003u + unsigned(game));
        GreedyRng.seed(seed * 7'919u + unsigned(game));
        const bool aFirst = game % 2 == 0;
        std::unique_ptr<IPlayer> players[2] = {Make(aFirst ? a : b), Make(aFirst ? b : a)};
        const std::string formation(kFormationList[std::size_t(game / 2) % kFormationList.size()]);
        TKyokumen k = KifStartPosition(KifStart::Even);
        TJudge judge;
        judge.Reset(k);
        for (Side side : {Side::Sente, Side::Gote})
            players[std::size_t(side)]->NewGame(k, side, TSeat::Com(formation));

        TGameResult result;
        const auto lost = [&](Side loser, std::string how) {
            result.Result = (loser == Side::Sente) == aFirst ? Outcome::SecondWins : Outcome::FirstWins;
            result.How = std::move(how);
            return result;
        };
        for (result.Moves = 0; result.Moves < kMoveLimit; ++result.Moves) {
            const Side side = SideToMove(k);
            TMoveList list;
            LegalMoves(k, side, list);
            const std::vector<TMove> legal(list.begin(), list.end());
            std::optional<TOpponentReply> reply;
            players[std::size_t(side)]->Think(TMoveRequest{k, side, legal, Side::Sente},
                                              [&reply](const TOpponentReply& r) { reply = r; });
            if (!reply) Seat.Wait();
            if (!reply || !reply->Error.empty()) {
                result.How = reply ? reply->Error : "no reply";
                return result;
            }
            if (reply->Resigns) return lost(side, "resigns");
            const auto m = std::find_if(legal.begin(), legal.end(), [&](const TMove& l) {
                return l.From == reply->Move.From && l.To == reply->Move.To;
            });
            if (m == legal.end()) {
                if (TestMove(k, side, reply->Move.From, reply->Move.To).Result ==
                    THumanMoveTest::KingLeftAttacked)
                    return lost(side, "foul");
                result.How = "illegal reply " + MoveText(reply->Move);
                return result;
            }
            const TMove played = *m;
            k.ApplyMove(played);
            k.ComToMove = side == Side::Sente;
            const TGameEnd end = judge.Moved(k);
            for (auto& p : players) p->Moved(played, side);
            if (!end.Over()) continue;
            ++result.Moves;
            switch (end.Kind) {
            case EndKind::Repetition:
                result.Result = Outcome::Draw;
                result.How = "repetition";
                return result;
            case EndKind::Mate:
                return lost(end.Loser, "mate");
            case EndKind::BareKing:
                return lost(end.Loser, "bare king");
            case EndKind::NoMove:
                return lost(end.Loser, "no move");
            case EndKind::PerpetualCheck:
                return lost(end.Loser, "perpetual check");
            default:
                return lost(end.Loser, "other");
            }
        }
        result.Result = Outcome::Draw;
        result.How = "move limit";
        return result;
    }
};

// ---------------------------------------------------------------------------------------------
// The schedule, the workers and the table

struct TPair {
    TPlayerChoice A, B;
    int Wins = 0, Draws = 0, Losses = 0, Failed = 0, Moves = 0, Done = 0;
    double Seconds = 0;
};

struct TInterval {
    double Score, Low, High;
};

TInterval Wilson(double wins, int n) {
    if (n == 0) return {0, 0, 1};
    constexpr double z = 1.96;
    const double p = wins / n;
    const double z2n = z * z / n;
    const double centre = (p + z2n / 2) / (1 + z2n);
    const double half = z * std::sqrt(p * (1 - p) / n + z2n / (4 * n)) / (1 + z2n);
    return {p, std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

void PrintRow(const TPair& p) {
    const int n = p.Wins + p.Draws + p.Losses;
    const TInterval w = Wilson(p.Wins + 0.5 * p.Draws, n);
    std::printf("| %s | %s | %d | %d | %d | %d | %.0f %% | %.0f–%.0f %% | %.0f | %.1f |%s\n",
                p.A.Name.c_str(), p.B.Name.c_str(), n, p.Wins, p.Draws, p.Losses, 100 * w.Score, 100 * w.Low,
                100 * w.High, n ? double(p.Moves) / n : 0.0, n ? p.Seconds / n : 0.0,
                p.Failed ? (" " + std::to_string(p.Failed) + " failed").c_str() : "");
    std::fflush(stdout);
}

void RunWorker(const std::vector<TPair>& pairs, int games, int jobs, int job, unsigned seed, int out) {
    TWorker w;
    if (!w.Seat.Installed()) {
        std::fprintf(stderr, "%s\n", TEngineSeat::MissingText().c_str());
        return;
    }
    int task = 0;
    for (std::size_t pair = 0; pair < pairs.size(); ++pair)
        for (int g = 0; g < games; ++g, ++task) {
            if (task % jobs != job) continue;
            const auto start = std::chrono::steady_clock::now();
            const TGameResult r = w.Play(pairs[pair].A, pairs[pair].B, g, seed);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::string how = r.How;
            std::replace(how.begin(), how.end(), ' ', '_');
            const std::string line = std::to_string(pair) + " " + std::to_string(g) + " " +
                                     std::to_string(int(r.Result)) + " " + std::to_string(r.Moves) + " " +
                                     std::to_string(s) + " " + (how.empty() ? "-" : how) + "\n";
            if (write(out, line.data(), line.size()) != ssize_t(line.size())) return;
        }
}

} // namespace

int main(int argc, char** argv) {
    int games = 50, jobs = 2;
    unsigned seed = 1;
    std::vector<TPair> pairs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--games" || arg == "--jobs" || arg == "--seed") && i + 1 < argc) {
            const int value = std::atoi(argv[++i]);
            if (arg == "--games")
                games = value;
            else if (arg == "--jobs")
                jobs = value;
            else
                seed = unsigned(value);
            continue;
        }
        const std::size_t colon = arg.find(':');
        const auto a = ParsePlayer(arg.substr(0, colon));
        const auto b = colon == std::string::npos ? std::nullopt : ParsePlayer(arg.substr(colon + 1));
        if (!a || !b) {
            std::fprintf(stderr, "not a pair: %s (players: greedy, com, L1..L%zu, e<skill>/<nodes>)\n",
                         arg.c_str(), kEngineLevels.size());
            return 2;
        }
        pairs.push_back({*a, *b});
    }
    if (games < 1 || jobs < 1) {
        std::fprintf(stderr, "usage: bench_ladder [--games N] [--jobs J] [--seed S] [A:B ...]\n");
        return 2;
    }
    if (pairs.empty())
        for (int n = 1; n <= int(kEngineLevels.size()); ++n) {
            const std::string level = "L" + std::to_string(n);
            pairs.push_back({*ParsePlayer(level), *ParsePlayer("greedy")});
            pairs.push_back({*ParsePlayer(level), *ParsePlayer("com")});
            if (n > 1) pairs.push_back({*ParsePlayer(level), *ParsePlayer("L" + std::to_string(n - 1))});
        }

    // Each worker is a process of its own, forked before any engine starts.
    std::vector<pollfd> channels;
    std::vector<pid_t> children;
    for (int job = 0; job < jobs; ++job) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) {
            close(fds[0]);
            for (const pollfd& c : channels) close(c.fd);
            RunWorker(pairs, games, jobs, job, seed, fds[1]);
            close(fds[1]);
            ReapStoppedEngines(std::chrono::seconds(2));
            _exit(0);
        }
        close(fds[1]);
        channels.push_back({fds[0], POLLIN, 0});
        children.push_back(child);
    }

    std::printf("| Player | Opponent | Games | Won | Drawn | Lost | Score | 95 %% interval | Moves a game | "
                "Seconds a game |\n|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::string> pending(channels.size());
    std::size_t open = channels.size();
    while (open > 0) {
        if (poll(channels.data(), channels.size(), -1) < 0) break;
        for (std::size_t c = 0; c < channels.size(); ++c) {
            if (channels[c].fd < 0 || channels[c].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = read(channels[c].fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(channels[c].fd);
                channels[c].fd = -1;
                --open;
                continue;
            }
            pending[c].append(buffer, std::size_t(n));
            for (std::size_t eol; (eol = pending[c].find('\n')) != std::string::npos;) {
                std::istringstream line(pending[c].substr(0, eol));
                pending[c].erase(0, eol + 1);
                std::size_t pair = 0;
                int game = 0, result = 0, moves = 0;
                double seconds = 0;
                std::string how;
                if (!(line >> pair >> game >> result >> moves >> seconds >> how) || pair >= pairs.size())
                    continue;
                TPair& p = pairs[pair];
                ++(result == 0 ? p.Wins : result == 1 ? p.Losses : result == 2 ? p.Draws : p.Failed);
                if (result != 3) p.Moves += moves;
                p.Seconds += seconds;
                std::fprintf(stderr, "%s:%s game %d: %s (%s) after %d moves, %.1f s\n", p.A.Name.c_str(),
                             p.B.Name.c_str(), game + 1,
                             result == 0   ? p.A.Name.c_str()
                             : result == 1 ? p.B.Name.c_str()
                             : result == 2 ? "draw"
                                           : "failed",
                             how.c_str(), moves, seconds);
                if (++p.Done == games) PrintRow(p);
            }
        }
    }
    for (pid_t child : children) waitpid(child, nullptr, 0);
    std::printf("\n%zu pairs, %d games each, %d jobs: %.0f s\n", pairs.size(), games, jobs,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return 0;
}
