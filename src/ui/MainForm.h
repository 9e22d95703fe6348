// The one window of the game: a menu bar over the client area, which holds the board with its 81
// square images, the messages, the command buttons, the formation list and the replay strip, and a
// status bar under it that says why COM moved. It draws what the game session reports and hands every
// drag, click and pick to the session.
#pragma once

#include "session/GameSession.h"
#include "session/RecordKeeper.h"
#include "ui/Dialogs.h"

#include <QFont>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

#include <array>
#include <future>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QShortcut;
class TClickLabel;
class TFitLabel;
class TFormationList;
class TFrameShape;
class TMessageLabel;
class TPictureBox;
class TSquareImage;

class TForm1 : public QMainWindow, public ISessionView {
    Q_OBJECT
public:
    // dialogs answers the window's message boxes; nullptr means the real modal boxes.
    explicit TForm1(IDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // What the program sets up before it makes the window: its names (and no display name, which the
    // platform would append to every caption), its icon and the type face of the boxes.
    static void SetUpApplication();

    // The client area below the menu bar, where every control has its place.
    QWidget* Client() const { return client_; }

    // Drag handlers, shared by the 81 square images.
    void OnStartComa(int square);
    void OnDragComa(int square);
    void OnEndComa(int square);
    // A click on a square: selects one of the human's pieces, plays the selected piece to a legal
    // destination, or cancels the selection.
    void OnClickComa(int square);
    // The square whose piece is selected, 0 for none.
    int SelectedSquare() const { return selected_; }

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
    void OnResignClick();
    // The replay keys: Right, Left, Home.
    void OnReplayForward();
    void OnReplayBack();
    void OnReplayStart();
    void OnHelpClick();
    void OnVersionClick();
    // The view settings of the 表示 menu, kept between runs.
    void SetCoordinatesShown(bool on);
    void SetDestinationsShown(bool on);
    bool CoordinatesShown() const { return coordinatesShown_; }
    bool DestinationsShown() const { return destinationsShown_; }
    // The status bar with COM's reason, shown or hidden; the window grows or shrinks by its height.
    void SetComReasonShown(bool on);
    bool ComReasonShown() const { return comReasonShown_; }
    // The status bar's text: "COMの狙い: " and the reason, or empty.
    QString ComReasonText() const;

    // Record files. Saving asks for a file and writes the form its extension names; opening asks for a
    // file and shows the game in replay mode from its start. A failure is shown in a box naming the
    // fault, and the game stays as it was.
    void OnSaveRecordClick();
    void OnOpenRecordClick();
    // Opens one record file; asks first when it would end a game going on. True when it was opened.
    bool OpenRecordFile(const QString& path);
    // Every game kept in the records folder after each turn, or not; kept between runs.
    void SetKeeping(bool on);
    bool Keeping() const { return keeping_; }
    // The folder the games are kept in (the application's data folder's "records").
    static QString RecordsFolder();
    // The recent-records submenu as it is filled when it opens.
    QMenu* RecentMenu() const { return recentMenu_; }
    // The zoom of the 表示 menu in per cent, one of Layout::kZoomPercents; the whole layout is drawn at
    // that size. A factor is offered only while the window fits its screen's available area at it;
    // 100 % is always offered.
    int ZoomPercent() const { return zoomPercent_; }
    bool ZoomFits(int percent) const;
    // Changes the zoom and keeps it for the next run; false, changing nothing, for a factor not offered.
    bool SetZoom(int percent);
    void ZoomIn();
    void ZoomOut();

    // The pictures and the board.
    // At 100 % on a screen of one device pixel per pixel the window shows the bitmap files and the
    // built-in board and strip; at any other zoom or pixel ratio it draws them itself at the device
    // resolution, so nothing is ever blown up from the 38-pixel bitmaps.
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
    void MarkMoves(const std::vector<TMove>& moves) override;
    void SetComReason(const std::string& text) override;

    // Sets every text of the window at the largest size up to its own at which it fits its control.
    void FitTexts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<IDialogs> ownDialogs_;
    IDialogs* dialogs_;

    QWidget* client_ = nullptr;
    TPictureBox* Image1 = nullptr;
    std::array<TSquareImage*, 100> ban_{}; // by square code
    TMessageLabel* Label_Message = nullptr;
    TFitLabel* Label_mes2 = nullptr;
    TFrameShape* Waku = nullptr;
    TFitLabel* Label1 = nullptr;
    TPictureBox* Image2 = nullptr;
    TClickLabel* ReplayButton1 = nullptr;
    TClickLabel* ReplayButton2 = nullptr;
    TClickLabel* ReplayButton3 = nullptr;
    TFrameShape* Waku2 = nullptr;
    QPushButton* Button_Start = nullptr;
    QPushButton* Button_Matta = nullptr;
    QPushButton* Button_Exit = nullptr;
    QPushButton* Button_StartHisyaKaku = nullptr;
    TFormationList* ComboBox1 = nullptr;
    QPushButton* Button_Kifu = nullptr;
    QPushButton* Button_Test = nullptr;

    // The piece pictures in table order; shorter than 28 when loading stopped at a file.
    std::vector<QPixmap> ComaImages;
    // The pieces drawn at the zoom and pixel ratio below, each when it is first shown; only those whose
    // bitmap was loaded are drawn.
    mutable std::array<QPixmap, 28> drawnPieces_;
    // The board and the start position's pieces, drawn on a second thread while the window is built
    // when it will open larger than the bitmaps; put up (and the thread joined) just before the game
    // first draws its pieces.
    struct TEarlyPictures {
        QImage Board;
        std::array<QImage, 28> Pieces;
    };
    mutable std::future<TEarlyPictures> early_;
    double earlyScale_ = 0;
    void DrawEarly(double scale);
    void UseEarlyPictures() const;
    mutable QPixmap boardPicture_;
    QPixmap replayPicture_;
    // What the pictures are drawn for; 0 before the first drawing.
    double picturesZoom_ = 0;
    double picturesRatio_ = 0;
    // The piece each square shows, so the pictures can be swapped when the scale changes.
    std::array<PieceName, 100> shown_{};

    QAction* resignAction_ = nullptr;
    QAction* coordinatesAction_ = nullptr;
    QAction* destinationsAction_ = nullptr;
    std::vector<std::pair<int, QAction*>> zoomActions_;
    std::array<QShortcut*, 3> replayKeys_{};
    QAction* comReasonAction_ = nullptr;
    QAction* keepingAction_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* comReason_ = nullptr;
    QLabel* keepingNote_ = nullptr;

    // Made before the session, so that the session, which keeps through it, goes first.
    std::unique_ptr<TRecordKeeper> keeper_;
    std::unique_ptr<TGameSession> session_;

    // The square each frame stands on, 0 while it is off the board.
    std::array<int, 2> frameSquare_{};
    // What the board marks: the latest turn's moves, the selected piece and the legal destinations
    // of the piece being dragged or selected.
    std::vector<TMove> lastMoves_;
    int selected_ = 0;
    int dragFrom_ = 0;
    int dragTo_ = 0;
    std::vector<int> destinations_;
    bool coordinatesShown_ = true;
    bool destinationsShown_ = true;
    bool comReasonShown_ = true;
    bool keeping_ = true;
    int zoomPercent_ = 100;
    double laidOutZoom_ = 1.0; // the zoom the controls are placed at
    bool screenWatched_ = false;

    void CreateControls();
    void CreateStatusBar();
    void CreateMenus();
    void AddRecordItems(QMenu* game);
    void StartKeeping();
    void FillRecentMenu();
    void NoteKeeping();
    bool GameGoingOn() const;
    QString RecordFolderSetting() const;
    void OnCreate();
    TFrameShape* Frame(SessionFrame frame) const;
    void ShowDestinations(int from);
    void ClearSelection();
    void RefreshMarks();
    void PaintClient();
    double Zoom() const { return zoomPercent_ / 100.0; }
    // A text size of the layout at the zoom.
    int FontPx(std::string_view control) const;
    // Puts every control at its place at the zoom, with its texts and pictures.
    void ApplyZoom();
    // Draws the board, the strip and the pieces again when the zoom or the screen's pixel ratio has
    // changed since they were drawn.
    void UpdatePictures();
    void UpdateStrip();
    void UpdateZoomMenu();
    void KeepOnScreen();
    void OnScreenChanged();
};
