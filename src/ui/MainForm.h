// The one window of the game: a menu bar over the client area, which holds the board with its 81
// square images, the messages, the command buttons, the formation list and the replay strip, and a
// status bar under it that says why COM moved. It wires the board view, whose moves it hands to the
// game session, and the record files to the session, and draws what the session reports.
#pragma once

#include "session/GameSession.h"
#include "ui/AnalysisPanel.h"
#include "ui/ClientArea.h"
#include "ui/Dialogs.h"
#include "ui/EnginePanel.h"
#include "ui/Language.h"
#include "ui/Layout.h"
#include "ui/Pictures.h"
#include "ui/PieceSound.h"
#include "ui/PlayControl.h"
#include "ui/PositionMenu.h"
#include "ui/StudyPanel.h"
#include "ui/WindowZoom.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <array>
#include <memory>
#include <string_view>
#include <vector>

class QAction;
class QLabel;
class TAboutText;
class QPushButton;
class QShortcut;
class TBoardView;
class TClickLabel;
class TColumnGrip;
class TFitLabel;
class TFormationList;
class TKifuList;
class TMessageLabel;
class TPictureBox;
class TRecordFiles;
class TVariationMoves;

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
    // The board with its squares, pieces, marks and frames; drags and clicks end there in a move.
    TBoardView& Board() const { return *board_; }
    // Saving, opening and keeping records.
    TRecordFiles& Records() const { return *records_; }
    // The knock of a landing piece and its 駒音 item.
    TPieceSound& Sound() const { return *sound_; }
    // The engine: the opponent choice, the hint.
    TEnginePanel& Engine() const { return *engine_; }
    TAnalysisPanel& Analysis() const { return *analysis_; }
    // Study mode and the review of one's mistakes.
    TStudyPanel& Study() const { return *study_; }
    // The seats, the computers' pace and the side the board is seen from.
    TPlayControl& Play() const { return *play_; }
    // The position editor, the position text copied and pasted, the board's picture.
    TPositionMenu& Positions() const { return *positions_; }

    // A whole human move from the board: the turn, then the note on keeping it.
    void OnMoveRequested(int from, int to);

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
    void OnReplayEnd();
    // F1: the rules in short and how the window is used.
    void OnHelpClick();
    // The version, the licence, the engine found and the fonts in use.
    void OnVersionClick();
    TAboutText& About() const { return *about_; }
    // The view settings of the 表示 menu, kept between runs.
    void SetCoordinatesShown(bool on);
    void SetDestinationsShown(bool on);
    bool CoordinatesShown() const;
    bool DestinationsShown() const;
    // The language of the 表示 menu: kept, installed and shown at once. Menus, controls, the move list
    // and the board's coordinates change now; what the session last said changes with its next text.
    void SetLanguage(TLanguageChoice choice);
    TLanguageChoice LanguageChoice() const { return languageChoice_; }
    // The status bar with COM's reason, shown or hidden; the window grows or shrinks by its height.
    void SetComReasonShown(bool on);
    bool ComReasonShown() const { return comReasonShown_; }
    // The move list beside the client area, shown or hidden; the window grows or shrinks by its room.
    void SetKifuListShown(bool on);
    bool KifuListShown() const { return kifuListShown_; }
    // The move list's width at 100 %, from its first width up to the widest that leaves the window on
    // its screen; the handle at its right edge sets it by a drag. Kept between runs.
    void SetKifuListWidth(int width);
    int KifuListWidth() const { return kifuListWidth_; }
    // The status bar's text: "COMの狙い: " and the reason, or empty.
    QString ComReasonText() const;

    // The zoom of the 表示 menu in per cent, one of Layout::kZoomPercents; the whole layout is drawn at
    // that size.
    int ZoomPercent() const { return zoom_->Percent(); }
    // Changes the zoom and keeps it for the next run; false, changing nothing, for a factor not offered.
    bool SetZoom(int percent) { return zoom_->Set(percent); }

    // The pictures and the board.
    const QPixmap* ComaPicture(PieceName name) const { return pictures_.ComaPicture(name); }
    // All 81 squares from the position the game manager holds.
    void RedrawBoard();
    void EnterReplayMode();
    void UpdateReplayCounter();
    void UpdateTitle();
    void LeaveReplayMode();

    TGameSession& Session() { return *session_; }
    // Texts of the game break lines with CR LF; labels show LF.
    static QString DisplayText(const std::string& text);

    // ISessionView.
    void SetMessage(const std::string& text) override;
    void SetStatus(const std::string& text) override;
    void ShowMessageBox(const std::string& text) override;
    void SetSquare(int square, PieceName piece) override;
    void PieceLanded(int) override { sound_->Landed(); }
    void MoveFrame(SessionFrame frame, int square) override;
    void RemoveFrame(SessionFrame frame) override;
    void ShowFrame(SessionFrame frame, bool visible) override;
    void SetReplayMode(bool on) override;
    void ProcessPendingEvents() override;
    void SetClipboardText(const std::string& text) override;
    void MarkMoves(const std::vector<TMove>& moves) override;
    void SetComReason(const std::string& text) override;
    void TurnFinished(const TTurnReport&) override;
    void SeatsChanged(const TSeats& seats) override;

    // Sets every text of the window at the largest size up to its own at which it fits its control.
    void FitTexts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<IDialogs> ownDialogs_;
    IDialogs* dialogs_;
    std::unique_ptr<TWindowZoom> zoom_;

    // Made before the board, which shows them, so that they outlive it.
    TPictures pictures_;
    TClientArea* client_ = nullptr;
    std::unique_ptr<TBoardView> board_;
    TMessageLabel* Label_Message = nullptr;
    TFitLabel* Label_mes2 = nullptr;
    TFitLabel* Label1 = nullptr;
    TPictureBox* Image2 = nullptr;
    TClickLabel* ReplayButton1 = nullptr;
    TClickLabel* ReplayButton2 = nullptr;
    TClickLabel* ReplayButton3 = nullptr;
    TClickLabel* replayBack_ = nullptr;
    TClickLabel* replayEnd_ = nullptr;
    TFitLabel* replayCounter_ = nullptr;
    QPushButton* Button_Start = nullptr;
    QPushButton* Button_Matta = nullptr;
    QPushButton* Button_Exit = nullptr;
    QPushButton* Button_StartHisyaKaku = nullptr;
    TFormationList* ComboBox1 = nullptr;
    QPushButton* Button_Kifu = nullptr;
    QPushButton* Button_Test = nullptr;
    TKifuList* KifuList = nullptr;
    TColumnGrip* kifuGrip_ = nullptr;

    QAction* resignAction_ = nullptr;
    QAction* coordinatesAction_ = nullptr;
    QAction* destinationsAction_ = nullptr;
    std::array<QShortcut*, 3> replayKeys_{};
    QAction* comReasonAction_ = nullptr;
    QAction* kifuListAction_ = nullptr;
    QLabel* comReason_ = nullptr;
    std::array<QAction*, 3> languageActions_{};
    TLanguageChoice languageChoice_ = TLanguageChoice::System;
    // The record file the title names, empty when none.
    QString openedFile_;

    std::unique_ptr<TAboutText> about_;
    // Made before the session, which reports landings to it from its first move on.
    std::unique_ptr<TPieceSound> sound_ = std::make_unique<TPieceSound>();
    // Made before the session, so that the session, which keeps through them and asks COM's seat
    // here, goes first.
    std::unique_ptr<TEnginePanel> engine_;
    std::unique_ptr<TAnalysisPanel> analysis_;
    std::unique_ptr<TStudyPanel> study_;
    std::unique_ptr<TPlayControl> play_;
    std::unique_ptr<TPositionMenu> positions_;
    std::unique_ptr<TRecordFiles> records_;
    std::unique_ptr<TVariationMoves> variations_;
    std::unique_ptr<TGameSession> session_;

    bool comReasonShown_ = true;
    // The scale and the top-left corner the layout is drawn at: the zoom and the client area's corner
    // until the window is given another size.
    double scale_ = 1.0;
    QPoint origin_;
    bool laidOut_ = false;
    bool kifuListShown_ = true;
    int kifuListWidth_ = Layout::kKifuRoom - Layout::kKifuMargin;
    int gripStartWidth_ = 0;
    bool screenWatched_ = false;

    void CreateControls();
    void CreateLabels(QWidget* area);
    void CreateReplayStrip(QWidget* area);
    void CreateButtons(QWidget* area);
    void ConnectCommands();
    void CreateStatusBar();
    void CreateMenus();
    void CreateViewMenu();
    void CreateLanguageMenu(QMenu* view);
    // Every text of the window again in the language now installed.
    void Retranslate();
    void OnCreate();
    double ZoomFactor() const { return zoom_->Factor(); }
    // A text size of the layout at the scale it is drawn at.
    int FontPx(std::string_view control) const;
    // Draws the window at the zoom and gives it the size of the layout at it.
    void ApplyZoom();
    // The window's size for a client area of client.
    void FitWindow(QSize client);
    // The layout's size now (the move list shown or not, at its width), given to the zoom and the
    // client area; the window is drawn again at it.
    void ApplyLayoutSize();
    // Puts every control at its place at scale from origin, with its texts and pictures.
    void LayOut(double scale, QPoint origin);
    // The window has been given another size: the layout at the scale that fits it, centred.
    void OnClientResized();
    // Draws the board, the strip and the pieces again when the scale or the screen's pixel ratio has
    // changed since they were drawn.
    void UpdatePictures();
    void OnScreenChanged();
};
