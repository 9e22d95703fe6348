// Moves dragged on a position that is only looked at: an earlier position of the game going on, a
// finished game, an opened record in replay. A move the record already plays there is followed along
// its line; any other legal move either starts a variation within the record or a new game from that
// position, as the player answers. The answer may be kept, and is then no longer asked.
#pragma once

#include "board/Kyokumen.h"

#include <QObject>

#include <functional>
#include <vector>

class IDialogs;
class TGameSession;
class TRecordFiles;

// The legal move of a drag from -> to in the position the board shows, for the side to move there.
THumanMoveTest ShownMoveTest(const TGameSession& session, int from, int to);
// The squares a piece on the board shown may move to, when its side is to move there.
std::vector<int> ShownDestinations(const TGameSession& session, int from);

class TVariationMoves : public QObject {
    Q_OBJECT
public:
    // What a new move on a position looked at does.
    enum class Answer { Ask, Variation, NewGame };

    TVariationMoves(IDialogs& dialogs, TRecordFiles& records, QObject* parent = nullptr);
    void Attach(TGameSession& session) { session_ = &session; }

    // True when a drag on the board is made on a position that is only looked at, and so comes here.
    bool Concerns() const;
    // The drag from -> to on the position shown. play makes a move as a drag on the game's latest
    // position does (the person's move, then the computer's reply).
    void Take(int from, int to, const std::function<void(int, int)>& play);

    // The answer kept between runs (Ask until the player has ticked the box once).
    static Answer KeptAnswer();
    static void KeepAnswer(Answer answer);

signals:
    // The board shows another line of the record, or a line the record has just been given.
    void lineChanged();

private:
    IDialogs& dialogs_;
    TRecordFiles& records_;
    TGameSession* session_ = nullptr;

    // Follows the record where it plays move as move n; false when no line of it does.
    bool Follow(int n, const TMove& move);
    Answer Ask(int n);
};
