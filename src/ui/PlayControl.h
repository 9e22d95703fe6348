// Who plays, and how the board faces them: the new-game settings (ゲーム → 対局の設定…), the computers
// asked for their moves when nobody's move is to be answered (a computer that moves first, two that
// play each other) at the chosen pace, pausing and resuming them, and the side the board is seen from
// (表示 → 盤面反転, 手番側を手前に). The settings are kept between runs.
#pragma once

#include "session/GameSession.h"
#include "ui/SeatsDialog.h"

#include <QElapsedTimer>
#include <QObject>

class IDialogs;
class QAction;
class QMenu;
class QTimer;
class TBoardView;

class TPlayControl : public QObject {
    Q_OBJECT
public:
    TPlayControl(TBoardView& board, IDialogs& dialogs, QObject* parent);

    // The session the settings apply to; its seats are set from the kept ones (they take effect with
    // the next new game, which KeptGame starts when they differ from the session's).
    void Attach(TGameSession& session, bool engineInstalled);
    // Starts a game with the kept seats when they are not the game the session started with.
    void StartKeptGame();
    void AddGameMenuItems(QMenu* game);
    void AddViewMenuItems(QMenu* view);

    // The game's settings now, and a new game with others (what the dialog's OK does).
    TGameSetup Setup() const { return setup_; }
    void StartGame(const TGameSetup& setup);
    // Opens the dialog; a new game with what it gives, unless cancelled.
    void OnSettingsClick();

    // Computers moving on their own: paused or not (only while no person plays).
    void SetPaused(bool on);
    bool Paused() const { return paused_; }
    // The board seen from the other side than the seats would have it.
    void SetTurned(bool on);
    bool Turned() const { return turned_; }
    // Between two people, the side to move is turned to the bottom after each move.
    void SetMoverAtBottom(bool on);
    bool MoverAtBottom() const { return moverAtBottom_; }

    // The window's news: the seats are new (a new game, a record opened, a game taken up), or something
    // on the board has changed (a move, a take-back, a replay step).
    void SeatsChanged(const TSeats& seats);
    void Changed();

    // The longest time the event loop waited between two ticks while computers played (for the
    // window test's figure).
    qint64 LongestStallMs() const { return longestStall_; }

private:
    TBoardView& board_;
    IDialogs& dialogs_;
    TGameSession* session_ = nullptr;
    bool engine_ = false;
    TGameSetup setup_;
    QTimer* driver_ = nullptr;   // asks the computer to move, at the pace
    QTimer* watchdog_ = nullptr; // measures the event loop's stalls while computers play
    QElapsedTimer sinceTick_;
    qint64 longestStall_ = 0;
    bool paused_ = false;
    bool turned_ = false;
    bool moverAtBottom_ = false;
    QAction* pauseAction_ = nullptr;
    QAction* resumeAction_ = nullptr;
    QAction* turnAction_ = nullptr;
    QAction* moverAction_ = nullptr;

    bool Watching() const { return session_ != nullptr && session_->Seats().Humans() == 0; }
    void Drive();
    void Orient();
    void UpdateActions();
    void Keep() const;
};
