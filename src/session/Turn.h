// One move of a game, as the record keeps it: the record lines, the KIF text, the clipboard text, the
// replay and the record keeper all read the game from one list of these.
#pragma once

#include "board/Legality.h"
#include "board/Move.h"
#include "com/KyokumenKanri.h"

#include <string>

struct TTurn {
    Side Mover = Side::Sente;
    bool Computer = false; // a computer's move (COM or the engine), with its reason and its time
    TMove Played;          // the move as the game applies it (the replay plays these)
    TMove Shown;           // the same move as the position recorded it (the name after a promotion)
    // Why COM chose the move; empty for other players' moves and for a record read from a file.
    TComReason Reason;
    // The comment a record read from a file carries after the move (another program's, or COM's reason
    // as this game wrote it); written back when the game is saved again.
    std::string Comment;
    double Seconds = 0; // the computer's thinking time, as its label showed it
    // The engine's analysis of the position after the move (comment lines), kept apart from the
    // comment so that COM's reason reads without it.
    std::string Analysis;
    // What the player said in words in the display language, when it differs from Comment (which the
    // record keeps in Japanese); empty otherwise.
    std::string ShownComment;
};
