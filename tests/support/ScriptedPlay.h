// A quiet window and a scripted human for whole games through the game session.
#pragma once

#include "session/GameSession.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace scripted_play {

// Shows nothing; keeps the boxes and calls OnPending where the window would let input through (at the
// start and end of a drag and once just before COM thinks, when the human's move stands on the board).
struct QuietView : ISessionView {
    std::vector<std::string> Boxes;
    std::function<void()> OnPending;

    void SetMessage(const std::string&) override {}
    void SetStatus(const std::string&) override {}
    void ShowMessageBox(const std::string& text) override { Boxes.push_back(text); }
    void SetSquare(int, PieceName) override {}
    void MoveFrame(SessionFrame, int) override {}
    void RemoveFrame(SessionFrame) override {}
    void ShowFrame(SessionFrame, bool) override {}
    void SetReplayMode(bool) override {}
    void ProcessPendingEvents() override {
        if (OnPending) OnPending();
    }
    void SetClipboardText(const std::string&) override {}
};

inline TTurnReport Drag(TGameSession& s, int from, int to) {
    return s.MoveComa_Screen(from, to);
}

// The human's candidate drags: every from/to pair of the human's generated moves, once each, in list
// order. The game is not touched.
inline std::vector<std::pair<int, int>> CandidateDrags(const TGameSession& s) {
    TMoveList moves;
    s.BoardPosition().ListMoves(false, moves);
    std::vector<std::pair<int, int>> drags;
    drags.reserve(std::size_t(moves.Size()));
    std::bitset<kMapSize * kMapSize> seen;
    for (const TMove& m : moves) {
        const std::size_t pair = std::size_t(m.From) * kMapSize + m.To;
        if (!seen.test(pair)) drags.emplace_back(m.From, m.To);
        seen.set(pair);
    }
    return drags;
}

// The scripted human: a uniformly random legal move, from a generator of its own (COM's generator is
// never touched). Candidates are drawn without replacement and dragged until the session accepts one,
// which makes every legal move equally likely. Returns the report of the accepted turn, or a report
// with Result Illegal when no candidate was accepted.
inline TTurnReport PlayRandomTurn(TGameSession& s, std::mt19937& rng) {
    std::vector<std::pair<int, int>> drags = CandidateDrags(s);
    while (!drags.empty()) {
        std::uniform_int_distribution<std::size_t> pick(0, drags.size() - 1);
        const std::size_t i = pick(rng);
        const TTurnReport r = Drag(s, drags[i].first, drags[i].second);
        if (r.Result != TTurnReport::Outcome::Illegal && r.Result != TTurnReport::Outcome::IllegalCheck)
            return r;
        drags[i] = drags.back();
        drags.pop_back();
    }
    TTurnReport none;
    none.Result = TTurnReport::Outcome::Illegal;
    return none;
}

} // namespace scripted_play
