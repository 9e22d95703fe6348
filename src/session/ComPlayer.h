// The built-in COM as a player. It keeps a game manager of its own, in which it is always the side at
// the top, the side its think was written for: when COM moves first, its board is the game's turned
// by a half turn (the start positions are the same either way up), and the moves are turned as they
// pass. Its game manager sees the moves in the order and by the calls it always has: the other side's
// move checked and played, the side switched, COM's think, COM's move played and judged.
#pragma once

#include "com/KyokumenKanri.h"
#include "session/Player.h"

#include <array>
#include <functional>
#include <memory>

class TComPlayer : public IPlayer {
public:
    // rng is the session's generator (it must outlive the player); think replaces ComThink (tests make
    // a think fail through it).
    explicit TComPlayer(TRandom& rng, std::function<void(TKyokumenKanri&)> think = {})
        : rng_(rng), think_(std::move(think)) {}

    void NewGame(const TKyokumen& start, Side side, const TSeat& seat) override;
    void Moved(const TMove& played, Side mover) override;
    void TookBack(bool replyMissing) override;
    void Think(const TMoveRequest& request, ReplyFn reply) override;
    bool PickFormation(std::string_view name) override;
    std::string Building() const override;

    // COM's game manager, in COM's own frame.
    TKyokumenKanri& Kanri() { return *kanri_; }
    const TKyokumenKanri& Kanri() const { return *kanri_; }
    // Takes over a game manager played aside (a game played on), and its frame.
    void Adopt(TComPlayer& other);

private:
    TRandom& rng_;
    std::function<void(TKyokumenKanri&)> think_;
    std::unique_ptr<TKyokumenKanri> kanri_ = std::make_unique<TKyokumenKanri>(rng_);
    bool turned_ = false; // COM moves first: its board is the game's turned
    Side side_ = Side::Gote;

    // The game manager before the other side's latest move: a think that fails may already have counted
    // a formation step its move was to make, and the other side's move then goes back alone.
    struct TFormationProgress {
        std::array<int, TSenpou_Base::kSlots> StepDone{};
        int DoneStamp = -1;
        int PeekStamp = 0;
        bool Finished = false;
    };
    TKyokumen before_;
    std::array<TFormationProgress, kSenpouCount> progress_{};

    TMove Own(const TMove& m) const { return turned_ ? Rotated(m) : m; }
};
