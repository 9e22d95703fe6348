// The variant engine in the window: the 対戦相手 choice and the hint in the ゲーム menu, the arrow the
// hint draws on the board, and the timer that takes the engine's answers. The engine runs as its own
// process; the window only looks at its socket between events and never waits for it.
#pragma once

#include "session/EnginePlay.h"
#include "session/GameSession.h"
#include "ui/BoardArrows.h"

#include <QObject>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QStatusBar;
class QTimer;
class TBoardView;
class TRecordFiles;

class TEnginePanel : public QObject {
    Q_OBJECT
public:
    // records is told of a turn left to the engine once it has ended, as of every other turn.
    TEnginePanel(TBoardView& board, QWidget* area, QStatusBar& bar, TRecordFiles& records);
    ~TEnginePanel() override;

    // The window's game session, with COM's seat taken by the choice made here; the panel must
    // outlive it.
    std::unique_ptr<TGameSession> NewSession(ISessionView& view);
    // The 対戦相手 submenu and the ヒント item.
    void AddMenuItems(QMenu* game);
    // The opponent items again in the language now installed.
    void Retranslate();

    // 0 the built-in COM, 1 .. kEngineLevelCount the engine's levels, for the computer's seat (the second one
    // when both are computers'); refused (false) while a reply is awaited, without the engine, or when only
    // people play.
    bool PickOpponent(int level);
    int Opponent() const;
    // The engine process the session's engine seats play through.
    TEngineSeat& Seat() { return seat_; }
    // Asks the engine for the best move in the position shown (the game's latest, a look back, a
    // replay's); the arrow and the status bar show it when it comes. Refused while a computer is to
    // move in the game's latest position or its reply is awaited.
    void AskHint();
    // Whether the arrow is on the board, and the hint it shows.
    bool HintShown() const;
    const TEngineProposal& LastHint() const { return hint_; }

    // The window's news: a turn has been left to the engine (after each move from the board), it has
    // ended, the board has changed.
    void TurnStarted();
    void TurnFinished();
    void BoardChanged();

    // Whether the engine program is installed.
    bool Installed() const { return seat_.Installed(); }

private:
    TBoardView& board_;
    QStatusBar& bar_;
    TGameSession* session_ = nullptr;
    TEngineSeat seat_;
    QTimer* timer_ = nullptr;
    TBoardArrows* arrow_ = nullptr;
    std::array<QAction*, 1 + kEngineLevelCount> opponentActions_{};
    QAction* hintAction_ = nullptr;
    TEngineProposal hint_;

    // The menu shows the opponent the session now has.
    void ShowOpponent();

public:
    // The seats have changed (a new game, an opened record): the menu follows.
    void SeatsChanged() { ShowOpponent(); }

private:
    TRecordFiles& records_;
    bool hintAsked_ = false;   // the running search is a hint's
    bool hintForGame_ = false; // and for the person to move in the game's latest position

    void Poll();
    void ShowHint(const TEngineStatus& status, const TEngineProposal& hint);
};
