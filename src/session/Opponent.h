// Who answers the human's moves. The session asks its opponent once per turn, with COM to move, and
// goes on with the turn when the reply comes: at once, within the same call (the built-in COM), or
// later, from the front-end's event loop (an opponent that thinks in another process), in which case
// the session shows the human's move and refuses moves and take-backs until it arrives.
#pragma once

#include "com/KyokumenKanri.h"

#include <functional>
#include <string>

struct TOpponentReply {
    // The think failed: the reason for the message box; the turn stops on COM's side.
    std::string Error;
    // COM's move; empty when the game ended before COM moved (the game manager's result flags say
    // how) or when no move was found.
    TMove Move;
    // Why the opponent chose its move, for the record and the status bar.
    TComReason Reason;
    // The same in words, from an opponent whose reasons are no stage of COM's think: Text as the record
    // keeps it (Japanese), ShownText as the window shows it (empty: the same as Text).
    std::string Text;
    std::string ShownText;
    bool Resigns = false; // the opponent resigns instead of moving: the human has won
};

class IOpponent {
public:
    using ReplyFn = std::function<void(const TOpponentReply&)>;
    virtual ~IOpponent() = default;
    // Thinks about COM's reply in game k and calls reply exactly once, before returning or later on the
    // front-end's thread. k stays the session's: an opponent that answers later must not touch it after
    // returning, and the session does not change it while the reply is pending.
    virtual void Think(TKyokumenKanri& k, ReplyFn reply) = 0;
    // The game the pending reply was for is gone (new game, opened record, window closed): a reply that
    // still comes is dropped by the session; the opponent may stop thinking.
    virtual void Cancel() {}
    // The second player's name in the record's header.
    virtual std::string Name() const { return "COM"; }
};

// The built-in COM: the game manager's own think, answered at once.
class TComOpponent : public IOpponent {
public:
    // think replaces the game manager's ComThink (tests make a think fail through it); empty for the
    // real one.
    explicit TComOpponent(std::function<void(TKyokumenKanri&)> think = {}) : think_(std::move(think)) {}

    void Think(TKyokumenKanri& k, ReplyFn reply) override {
        TOpponentReply r;
        try {
            if (think_)
                think_(k);
            else
                k.ComThink();
            r.Move = k.ComMove;
            r.Reason = k.LastReason();
        } catch (const std::exception& e) {
            r.Error = e.what();
        }
        reply(r);
    }

private:
    std::function<void(TKyokumenKanri&)> think_;
};
