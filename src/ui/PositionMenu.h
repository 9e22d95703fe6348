// The 検討 menu's items about the position on the board: the position editor (局面編集…), the position
// copied to the clipboard as the engine's FEN and pasted from it into the editor, and the board saved
// as a picture.
#pragma once

#include "session/Kif.h"

#include <QObject>
#include <QString>

#include <functional>

class IDialogs;
class QMenu;
class QStatusBar;
class TBoardView;
class TGameSession;
class TPictures;

class TPositionMenu : public QObject {
    Q_OBJECT
public:
    // scale gives the scale the window draws its board and pieces at.
    TPositionMenu(TBoardView& board, const TPictures& pictures, IDialogs& dialogs, QStatusBar& bar,
                  std::function<double()> scale, QObject* parent = nullptr);
    void Attach(TGameSession& session) { session_ = &session; }
    void AddMenuItems(QMenu* menu);

    // The editor on the position shown; a new game from what it gives, with the seats of the next game
    // (asked first when it would end a game going on).
    void OnEditClick();
    void Edit(TEditedStart start);
    // The position shown as the engine's FEN, on the clipboard.
    void OnCopyPositionClick();
    // The clipboard's position text in the editor; a text that cannot be read is refused with the reason.
    void OnPastePositionClick();
    // The board as shown, with its coordinates, as a PNG file at the window's size.
    void OnSavePictureClick();

signals:
    // A command begins: whatever piece is selected on the board is let go.
    void commandStarted();

private:
    TBoardView& board_;
    const TPictures& pictures_;
    IDialogs& dialogs_;
    QStatusBar& bar_;
    std::function<double()> scale_;
    TGameSession* session_ = nullptr;
};
