// The game records on disk: saving the game and opening a record through the file dialogs, the
// folder those dialogs start in, and the games kept after every turn with the menu of the recent
// ones. Its settings are kept between runs. The kept file of the game a window plays is locked (a
// lock file beside it), so that another window of the game neither offers that game nor writes it.
#pragma once

#include "session/RecordKeeper.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>

class IDialogs;
class QAction;
class QLabel;
class QLockFile;
class QMenu;
class QStatusBar;
class TGameSession;
class TPlayOnRefusal;

class TRecordFiles : public QObject {
    Q_OBJECT
public:
    // Its notes go to bar; its questions and faults to dialogs.
    TRecordFiles(IDialogs& dialogs, QStatusBar* bar, QObject* parent = nullptr);
    ~TRecordFiles() override;

    // Adds 棋譜を保存…, 棋譜を開く…, 最近の棋譜 and 対局を自動保存 to the game menu.
    void AddMenuItems(QMenu* game);
    // Starts keeping session's games (when keeping is on). The session must go before this object.
    void Attach(TGameSession& session);

    // Saving asks for a file and writes the form its extension names; opening asks for a file and
    // shows the game in replay mode from its start. A failure is shown in a box naming the fault, and
    // the game stays as it was.
    void OnSaveRecordClick();
    void OnOpenRecordClick();
    // Opens one record file; asks first when it would end a game going on, once the file has been
    // read and found sound, and keeps that game as interrupted. True when it was opened.
    bool OpenRecordFile(const QString& path);
    // ゲーム → 棋譜を貼り付け: the clipboard's KIF or KI2 record, checked as a file is, then opened as
    // OpenRecordFile opens one (asked first when it would end a game going on).
    void OnPasteRecordClick();

    // At start-up: when the latest kept game is unfinished, asks 「前回の対局を続けますか？」 and on はい
    // continues it exactly where it stopped, the same file kept on. Games another window plays are
    // passed over; kept files that cannot be read are passed over too, and the status bar says which
    // and why. A game that was finished or left on purpose is not offered, nor any older one. True
    // when a game was continued.
    bool OfferResume();
    // ゲーム → この局面から指し直す: a new game from the position shown, asked first when it would end a
    // game going on, which is then kept as interrupted; a refusal says why in a box and the game goes
    // on as it was.
    void OnPlayOnClick();
    // The same without the command's start; ask false when the player has already chosen to leave the
    // game going on. True when the new game began.
    bool PlayOn(bool ask);
    // Why a game cannot be played on from the position shown, in the box play on shows it in.
    void ShowRefusal(const TPlayOnRefusal& refusal);

    // Every game kept in the records folder after each turn, or not; kept between runs.
    void SetKeeping(bool on);
    bool Keeping() const { return keeping_; }
    // The folder the games are kept in (the application's data folder's "records").
    static QString RecordsFolder();
    // The recent-records submenu as it is filled when it opens.
    QMenu* RecentMenu() const { return recentMenu_; }
    // Shows in the status bar whether the latest keep failed.
    void NoteKeeping();

signals:
    // A record command begins: whatever piece is selected on the board is let go.
    void commandStarted();
    // A record file has been opened and replaces the game: the window's title names the file.
    void recordOpened(const QString& fileName);

private:
    IDialogs& dialogs_;
    QStatusBar* bar_;
    TGameSession* session_ = nullptr;
    std::unique_ptr<TRecordKeeper> keeper_;
    bool keeping_ = true;
    QAction* keepingAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* keepingNote_ = nullptr;
    // The lock on the kept file of the game this window plays; empty before its first keep.
    std::unique_ptr<QLockFile> lock_;

    void FillRecentMenu();
    bool GameGoingOn() const;
    // Replaces the game going on by replace() (a command that throws when it refuses): the game left
    // is kept as interrupted; a refusal leaves it kept as it was. Rethrows the refusal.
    template <class Command> void Leave(Command replace);
    // Takes the lock of a kept file for this window (dropping the one held); false when another window
    // holds it. A lock that cannot be made at all (a folder without write access) is no other
    // window's: the file goes unlocked.
    bool Claim(const std::filesystem::path& file);
    // Asks whether to continue the kept game in file and does, under its lock.
    bool Continue(const std::filesystem::path& file, std::unique_ptr<QLockFile> lock);
    // The folder the dialogs start in: the one used last, else the documents folder, else home.
    QString FolderSetting() const;
    // The extension of the form saved last ("kif" at first).
    QString TypeSetting() const;
};
