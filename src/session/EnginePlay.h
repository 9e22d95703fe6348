// The variant engine at the game's side: as an opponent in COM's seat, and as the source of hints for
// the human. The engine does all the thinking; this layer only checks its choices by this game's own
// rules, turns them into the game's words, and keeps a failed engine from touching the game.
#pragma once

#include "engine/EngineClient.h"
#include "session/Player.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The engine's strength at each of the levels offered (Lv1 .. Lv5): its skill and its time per move.
struct TEngineLevel {
    int Skill;
    int MoveTimeMs;
};
inline constexpr std::array<TEngineLevel, 5> kEngineLevels = {{
    {-20, 50},
    {-10, 100},
    {0, 200},
    {10, 300},
    {20, 500},
}};
// A hint is the engine at full strength, answered well within a second.
inline constexpr TEngineLevel kHintLevel{20, 500};

// The engine's choice for the side to move, checked by this game's rules.
struct TEngineProposal {
    bool Found = false;          // a move legal here was among the engine's lines
    TMove Move;                  // as the side's move list names it
    std::optional<int> Cp, Mate; // the side to move's evaluation of the chosen line
    // The first move and the chosen line in the display language ("▲２六歩", "△４二金▲２六歩…"; in English
    // "▲P-2f", "△G-4b▲P-2f…"), and the same in the record's words.
    std::string MoveText;
    std::string Line;
    std::string RecordMoveText;
    std::string RecordLine;
    std::string Evaluation() const; // "+230", "-45", "+詰3" ("+M3"); "?" when unknown
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
    // Poll or Wait. A request still running is dropped.
    void Ask(const TKyokumen& k, bool com, std::vector<TMove> legal, TEngineLevel level, DoneFn done);
    // Takes what the engine has said without waiting (the window's timer).
    void Poll();
    // Waits for the running request to end (the console, tests, benchmarks).
    void Wait();
    // Drops the running request; its done is never called.
    void Cancel();
    bool Busy() const { return done_ != nullptr; }
    // Starts the engine ahead of the first request, so that it answers without loading first.
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
    void SetLevel(int level) { level_ = level; } // 1 .. 5
    int Level() const { return level_; }

    void Think(const TMoveRequest& request, ReplyFn reply) override;
    void Cancel() override { seat_.Cancel(); }

private:
    TEngineSeat& seat_;
    int level_ = 3;
};

// The proposal's evaluation from the other side's view (the engine gives it from the side to move's).
TEngineProposal FromOtherSide(TEngineProposal p);

// The status bar's words for a hint: "ヒント: ▲２六歩　評価値 +120".
std::string HintText(const TEngineProposal& p);
// The same in the record's words, for the comment of the human's next move (TGameSession::NoteHint).
std::string HintComment(const TEngineProposal& p);
