// A player of one side of a game: anything that can answer "your move", now or later. The session is
// the referee: it tells each player the moves as they are made, asks the one whose turn it is, checks
// the answer by the rules and judges the position. A player judges nothing; one that cannot move says
// so, and the referee decides what that means. The person at the board is no player object: the
// window hands the referee the person's moves.
#pragma once

#include "board/Kyokumen.h"
#include "com/KyokumenKanri.h"
#include "session/Seats.h"

#include <functional>
#include <string>
#include <vector>

struct TOpponentReply {
    // The think failed: the reason for the message box; the game stops on this side's turn.
    std::string Error;
    // The move, as the side's legal list names it; empty when none was found.
    TMove Move;
    // The player gives the game up (it takes its side to be lost, or said so).
    bool Resigns = false;
    // Why COM chose its move, for the record and the status bar.
    TComReason Reason;
    // The same in words, from a player whose reasons are no stage of COM's think: Text as the record
    // keeps it (Japanese), ShownText as the window shows it (empty: the same as Text).
    std::string Text;
    std::string ShownText;
};

// What a player is asked to move in: the game's position (the record's frame, 先手 at the bottom), its
// side, that side's legal moves in list order, and the side from which evaluations are told (the
// person's, or 先手's when no person plays or both do).
struct TMoveRequest {
    const TKyokumen& Position;
    Side ToMove;
    const std::vector<TMove>& Legal;
    Side Viewer = Side::Sente;
};

class IPlayer {
public:
    using ReplyFn = std::function<void(const TOpponentReply&)>;
    virtual ~IPlayer() = default;

    // A game begins from start (its side to move in it) with this player on side.
    virtual void NewGame(const TKyokumen& start, Side side, const TSeat& seat) {
        (void)start, (void)side, (void)seat;
    }
    // A move has been played, by either side, as the mover's legal list names it.
    virtual void Moved(const TMove& played, Side mover) { (void)played, (void)mover; }
    // Moves went back: the person's move and this player's reply to it, or (replyMissing) the person's
    // move alone, after a think of this player's that failed.
    virtual void TookBack(bool replyMissing) { (void)replyMissing; }
    // Thinks about the move of the side to move and calls reply exactly once, before returning or later
    // on the front-end's thread. The request lives only during the call.
    virtual void Think(const TMoveRequest& request, ReplyFn reply) = 0;
    // The move asked for is no longer wanted: a reply that still comes is dropped by the referee.
    virtual void Cancel() {}
    // COM's formation, picked before its first move; false when the player has none to pick.
    virtual bool PickFormation(std::string_view name) {
        (void)name;
        return false;
    }
    // The formation the player is building now ("【基本形】"), empty when none.
    virtual std::string Building() const { return {}; }
};
