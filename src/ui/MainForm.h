// The one window of the game: the board with its 81 square images, the messages, the command
// buttons, the formation list and the replay strip. It draws what the game session reports and hands
// every drag, click and pick to the session.
#pragma once

#include "session/GameSession.h"
#include "ui/Dialogs.h"

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class TClickLabel;
class TFrameShape;
class TPictureBox;
class TSquareImage;

class TForm1 : public QWidget, public ISessionView {
    Q_OBJECT
public:
    // dialogs answers the window's message boxes; nullptr means the real modal boxes.
    explicit TForm1(IDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // Drag handlers, shared by the 81 square images.
    // The board squares' drag signals.
    void OnStartComa(int square);
    void OnDragComa(int square);
    void OnEndComa(int square);

    // Commands.
    void OnButton_StartClick();
    void OnButton_HisyaKakuClick();
    void OnComboBoxClick(int index);
    void OnButton_ExitClick();
    void OnButton_TestClick();
    void OnButton_MattaClick();
    void OnReplayButton1_Click();
    void OnReplayButton2_Click();
    void OnReplayButton3_Click();
    void OnButton_KifuClick();

    // The pictures and the board.
    // Loads the 28 piece bitmaps from the current directory in table order; throws
    // std::runtime_error naming the file at the first one that cannot be read or is damaged (cut
    // short, or its header's size not the file's), and later ones are not loaded.
    void LoadComaImages();
    const QPixmap* ComaPicture(PieceName name) const;
    // All 81 squares from the position the game manager holds.
    void RedrawBoard();
    void EnterReplayMode();
    void LeaveReplayMode();

    TGameSession& Session() { return *session_; }
    // The window's type face at a size in pixels: the usual Japanese UI gothic where it exists, else
    // any Japanese font.
    static QFont JapaneseFont(int pixelSize);
    // The piece file names in table order ("歩.bmp" ... "com龍王.bmp").
    static QStringList ComaFileNames();
    // Texts of the game break lines with CR LF; labels show LF.
    static QString DisplayText(const std::string& text);

    // ISessionView.
    void SetMessage(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowMessageBox(const std::string& text) override;
    void SetSquare(int square, PieceName piece) override;
    void MoveFrame(SessionFrame frame, int square) override;
    void RemoveFrame(SessionFrame frame) override;
    void ShowFrame(SessionFrame frame, bool visible) override;
    void SetReplayMode(bool on) override;
    void ProcessPendingEvents() override;
    void SetClipboardText(const std::string& text) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<IDialogs> ownDialogs_;
    IDialogs* dialogs_;

    TPictureBox* Image1 = nullptr;
    std::array<TSquareImage*, 100> ban_{}; // by square code
    QLabel* Label_Message = nullptr;
    QLabel* Label_mes2 = nullptr;
    TFrameShape* Waku = nullptr;
    QLabel* Label1 = nullptr;
    TPictureBox* Image2 = nullptr;
    TClickLabel* ReplayButton1 = nullptr;
    TClickLabel* ReplayButton2 = nullptr;
    TClickLabel* ReplayButton3 = nullptr;
    TFrameShape* Waku2 = nullptr;
    QPushButton* Button_Start = nullptr;
    QPushButton* Button_Matta = nullptr;
    QPushButton* Button_Exit = nullptr;
    QPushButton* Button_StartHisyaKaku = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* Button_Kifu = nullptr;
    QPushButton* Button_Test = nullptr;

    // The piece pictures in table order; shorter than 28 when loading stopped at a file.
    std::vector<QPixmap> ComaImages;
    QPixmap boardPicture_;
    QPixmap replayPicture_;

    std::unique_ptr<TGameSession> session_;

    void CreateControls();
    void OnCreate();
    TFrameShape* Frame(SessionFrame frame) const;
};
