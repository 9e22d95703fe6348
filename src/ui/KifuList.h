// The move list beside the board: a row for the start, one per move as the record file writes it
// (▲７六歩, △同　銀, 成) and one for the game's end. The row of the position on the board is selected
// and kept in view. Choosing a row (a click, ↑ or ↓) shows that position through the session, during a
// game too, where it is only looked at.
#pragma once

#include "board/Move.h"

#include <QListWidget>
#include <QStringList>

#include <vector>

class TGameSession;

class TKifuList : public QListWidget {
    Q_OBJECT
public:
    explicit TKifuList(QWidget* parent);
    void SetSession(TGameSession* session) { session_ = session; }
    // The rows read again from the session's record, the shown position's selected.
    void Refresh();
    // The game's latest position on the board again.
    void ShowLatest();
    // The analysis's verdicts beside the moves it analysed, while the game still begins with them.
    void SetVerdicts(const std::vector<TMove>& moves, const QStringList& verdicts);

private:
    TGameSession* session_ = nullptr;
    std::vector<TMove> analysed_;
    QStringList verdicts_;
    bool filling_ = false;

    void OnRowChosen(int row);
};
