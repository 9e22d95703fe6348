// The variant engine at the game's side: as an opponent in COM's seat, and as the source of hints for
// the human. The engine does all the thinking; this layer only checks its choices by this game's own
// rules, turns them into the game's words, and keeps a failed engine from touching the game.
#pragma once

#include "engine/EngineClient.h"
#include "session/Player.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The engine's strength at each of the levels offered (Lv1 .. Lv12): its skill and the nodes it searches
// a move (a search with no nodes takes MoveTimeMs instead; no level does). Below full skill the engine
// picks among its best lines at random, so a level still surprises; the nodes fix how deep it looks,
// the same on a quiet machine and a loaded one (levels timed in milliseconds played weaker whenever
// other programs shared the processor). Measured with bench/bench_ladder: a greedy beginner beats Lv1,
// each level beats the one below in about three games of four, COM stands between Lv4 and Lv5, and
// Lv12 beat COM in every game. The strength changes fastest between skills -5 and 7, where the levels
// stand closest.
struct TEngineLevel {
    int Skill;
    int MoveTimeMs;
    std::uint64_t Nodes = 0;
};
inline constexpr std::array<TEngineLevel, 12> kEngineLevels = {{
    {-20, 0, 1'000},
    {-10, 0, 1'000},
    {-5, 0, 1'000},
    {-4, 0, 1'000},
    {-3, 0, 1'000},
    {-1, 0, 1'000},
    {2, 0, 1'000},
    {3, 0, 1'500},
    {7, 0, 3'000},
    {12, 0, 5'000},
    {15, 0, 10'000},
    {19, 0, 20'000},
}};
static_assert(kEngineLevels.size() == kEngineLevelCount);
// The nodes of a search that judges a position: the hint, and each position of a game's analysis. The
// same count for both, so that a player who follows the hints plays the analysis's best moves. About
// 0.1 s on this machine: a 100-move game is analysed well within half a minute.
inline constexpr std::uint64_t kJudgeNodes = 50'000;
// A hint is the engine at full strength, the same move in the same position on any machine.
inline constexpr TEngineLevel kHintLevel{20, 0, kJudgeNodes};
// The search a level stands for, with three lines.
TEngineSearch SearchAt(TEngineLevel level);

// The engine's choice for the side to move, checked by this game's rules.
struct TEngineProposal {
    bool Found = false;          // a move legal here was among the engine's lines
    bool Resigns = false;        // the engine gave the game up instead
    bool Com = false;            // the side whose move it is
    TMove Move;                  // as the side's move list names it
    std::optional<int> Cp, Mate; // the side to move's evaluation of the chosen line; none when unknown
    // The first move and the chosen line in the display language ("▲２六歩", "△４二金▲２六歩…"; in English
    // "▲P-2f", "△G-4b▲P-2f…"), and the same in the record's words.
    std::string MoveText;
    std::string Line;
    std::string RecordMoveText;
    std::string RecordLine;
    // The evaluation from the viewpoint's side: "+230", "-45", "+詰3" ("+M3"); empty when unknown.
    std::string Evaluation(Side viewpoint = Side::Sente) const;
};

// One engine process, started when first needed, and one search at a time. A search that fails (the
// engine died, or said nothing within its time and the grace) restarts the engine once and searches
// again; a second failure is reported. Nothing of the game is held here: each request carries a copy.
class TEngineSeat {
public:
    using DoneFn = std::function<void(const TEngineStatus&, const TEngineProposal&)>;

    explicit TEngineSeat(TEngineSettings settings = DefaultSettings());
    static TEngineSettings DefaultSettings();

    // Whether the engine program is installed, and the message when it is not.
    bool Installed() const;
    static std::string MissingText() { return "engine not found: fairy-stockfish"; }

    // Asks for the best move of the side to move (com) in k, among legal (this game's legal moves of
    // that side). done is called once: within this call when the engine cannot be asked, else from
    // Poll or Wait. A request still running is dropped. Returns at once.
    void Ask(const TKyokumen& k, bool com, std::vector<TMove> legal, TEngineLevel level, DoneFn done);
    void Ask(const TKyokumen& k, bool com, std::vector<TMove> legal, TEngineSearch search, DoneFn done);
    // Takes what the engine has said without waiting (the window's timer).
    void Poll();
    // Waits for the running request to end (the console, tests, benchmarks).
    void Wait();
    // Drops the running request and returns at once; its done is never called.
    void Cancel();
    bool Busy() const { return done_ != nullptr; }
    // No request, and no dropped search whose end the engine still owes: the window's timer may stop.
    bool Quiet() const { return !Busy() && !client_.Stopping(); }
    // Starts the engine ahead of the first request, so that it answers without loading first; returns
    // at once.
    void Warm();

    // Told when the engine failed and was restarted, with a message for the player.
    std::function<void(const std::string&)> Restarted;
    TEngineClient& Client() { return client_; }

private:
    TEngineSettings settings_;
    TEngineClient client_;
    // The running request.
    TKyokumen position_;
    bool com_ = false;
    std::vector<TMove> legal_;
    TEngineSearch search_;
    DoneFn done_;
    bool retried_ = false;

    TEngineStatus StartSearch();
    void Failed(TEngineStatus s);
    void Finish(const TEngineStatus& s);
    TEngineProposal Choose() const;
};

// The engine as the player of a seat, at one of the levels. The referee has judged the position before
// it asks: the side to move has a legal move.
class TEnginePlayer : public IPlayer {
public:
    explicit TEnginePlayer(TEngineSeat& seat) : seat_(seat) {}
    void SetLevel(int level) { level_ = level; } // 1 .. kEngineLevelCount
    int Level() const { return level_; }
    // The engine's settings at the level; a benchmark that tries settings that are no level gives its own.
    virtual TEngineLevel Settings() const;

    void NewGame(const TKyokumen& start, Side side, const TSeat& seat) override;
    void Moved(const TMove& played, Side mover) override;
    void TookBack(bool replyMissing) override;
    void Think(const TMoveRequest& request, ReplyFn reply) override;
    void Cancel() override { seat_.Cancel(); }

private:
    TEngineSeat& seat_;
    int level_ = 3;
    // The game so far, told to the engine with every request so that it sees repetitions coming:
    // without them it shuffled into a drawn repetition, or lost by perpetual check, in games it was
    // winning. A game that does not lead to the position asked is not told.
    TKyokumen start_;
    std::vector<std::pair<TMove, Side>> played_;
    TKyokumen now_;
    std::vector<std::string> texts_;
    bool known_ = false;

    void Replay();
};

// The status bar's words for a hint: "ヒント: ▲２六歩　評価値 +120", the evaluation from the viewpoint's
// side and left out when unknown.
std::string HintText(const TEngineProposal& p, Side viewpoint = Side::Sente);
// The same in the record's words, for the comment of the human's next move (TGameSession::NoteHint).
std::string HintComment(const TEngineProposal& p, Side viewpoint = Side::Sente);
// The engine's line (its moves in the engine's notation) from the side to move in k, in the move list's
// words ("▲２六歩△３四歩", in English "▲P-2f △P-3d"), as far as this game's rules follow it and up to
// eight moves; the moves so followed go to moves when given.
std::string EngineLineWords(const TKyokumen& k, bool com, const std::vector<std::string>& line,
                            std::vector<TMove>* moves = nullptr);
// The words of an engine that has failed, with the reason and what the player can do.
std::string EngineFailureText(const std::string& reason);
