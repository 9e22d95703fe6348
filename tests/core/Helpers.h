// Positions for tests, built from move texts so that a test reads like a game.
#pragma once

#include "board/Kyokumen.h"
#include "com/KyokumenKanri.h"

#include <initializer_list>
#include <string_view>

namespace testing_helpers {

inline bool IsComText(std::string_view moveText) {
    return moveText.size() > 4 && moveText.substr(4, 3) == "com";
}

// Applies the moves in order, each for the side its piece name belongs to ("com..." is COM's).
// Afterwards the side to move is the one after the last mover (the human when no move was given).
inline void Play(TKyokumen& k, std::initializer_list<std::string_view> moves) {
    bool lastCom = true;
    for (std::string_view m : moves) {
        lastCom = IsComText(m);
        k.ComToMove = lastCom;
        k.ApplyMoveText(m);
    }
    k.ComToMove = !lastCom;
}

// The same on a game manager: SideToMove and the position's side to move follow the movers.
inline void Play(TKyokumenKanri2& g, std::initializer_list<std::string_view> moves) {
    bool lastCom = true;
    for (std::string_view m : moves) {
        lastCom = IsComText(m);
        g.SideToMove = lastCom ? 1 : 0;
        g.Kyokumen.ComToMove = lastCom;
        g.ApplyMove(m);
    }
    g.SideToMove = lastCom ? 0 : 1;
    g.Kyokumen.ComToMove = !lastCom;
}

} // namespace testing_helpers
