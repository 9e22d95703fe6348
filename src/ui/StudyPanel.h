// Study mode and the review of one's mistakes in the window: the 検討モード and 悪手を復習 items of the 検討
// menu, a panel beside the board with the engine's three lines and an evaluation bar, or the review's
// question, and the arrows the lines and the review's answers draw on the board. The engine runs as its
// own process, looked at from a timer: the window never waits. It gives way to the engine's other
// work: while an engine seat thinks on its move, a hint is sought or a game is analysed, study mode
// pauses and goes on by itself afterwards.
#pragma once

#include "session/Review.h"
#include "session/Study.h"
#include "ui/BoardArrows.h"

#include <QElapsedTimer>
#include <QObject>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QPushButton;
class QStatusBar;
class QTimer;
class TAnalysisPanel;
class TBoardView;
class TEnginePanel;
class TGameSession;

// The evaluation from the viewer's side as a bar: the viewer's share from the bottom, half for an even
// position, all of it for a mate.
class TEvalBar : public QWidget {
    Q_OBJECT
public:
    explicit TEvalBar(QWidget* parent);
    void SetValue(std::optional<int> value);
    std::optional<int> Value() const { return value_; }
    // The viewer's share, 0 .. 1.
    double Share() const;
    QSize sizeHint() const override { return {22, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<int> value_;
};

class TStudyPanel : public QObject {
    Q_OBJECT
public:
    TStudyPanel(QMainWindow& window, TBoardView& board, QWidget* area, QStatusBar& bar, TEnginePanel& engine,
                TAnalysisPanel& analysis);
    ~TStudyPanel() override;

    void Attach(TGameSession& session) { session_ = &session; }
    // 検討モード (F5) and 悪手を復習 at the end of the menu.
    void AddMenuItems(QMenu* menu);
    void Retranslate();

    // Study mode on or off; refused (false) without the engine.
    bool SetStudyMode(bool on);
    bool StudyMode() const { return studyMode_; }
    // The board shows another position, or another game.
    void BoardChanged();
    // Starts the review of the latest complete analysis of the game on the board; false, with a
    // message on the status bar, when there is none or it marked nothing.
    bool StartReview();
    void SkipQuestion();
    void StopReview();
    void NextQuestion();

    const TStudy& Study() const { return study_; }
    const TMistakeReview& Review() const { return review_; }
    const TBoardArrows& Arrows() const { return *arrows_; }
    const TEvalBar& Bar() const { return *evalBar_; }
    // The panel's line texts, best first.
    QStringList LineTexts() const;
    // The review's texts: the question, what the latest try earned, the score.
    QString ReviewText() const;

private:
    QMainWindow& window_;
    TBoardView& board_;
    QStatusBar& bar_;
    TEnginePanel& engine_;
    TAnalysisPanel& analysis_;
    TGameSession* session_ = nullptr;
    TEngineSeat seat_;
    TStudy study_{seat_};
    TMistakeReview review_{seat_};
    bool studyMode_ = false;
    QElapsedTimer studyClock_; // since the position's search began
    QElapsedTimer shownAt_;    // since the panel was last drawn
    bool taking_ = false;      // the board's moves are the review's answers
    bool reviewOpen_ = false;  // the review's part of the panel is shown (its score after the end)
    QTimer* timer_ = nullptr;
    QAction* studyAction_ = nullptr;
    QAction* reviewAction_ = nullptr;
    QDockWidget* dock_ = nullptr;
    QWidget* studyBox_ = nullptr;
    TEvalBar* evalBar_ = nullptr;
    QLabel* studyState_ = nullptr;
    std::array<QLabel*, kStudyLines> lineLabels_{};
    QWidget* reviewBox_ = nullptr;
    QLabel* reviewHead_ = nullptr;
    QLabel* reviewState_ = nullptr;
    QPushButton* skip_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* stop_ = nullptr;
    TBoardArrows* arrows_ = nullptr;

    void CreateDock();
    void Poll();
    // Whether the engine is wanted elsewhere: study mode waits meanwhile.
    bool Yielding() const;
    void StudyShown();
    void ShowStudy();
    void ShowReview();
    void ShowQuestion();
    void TakeTry(int from, int to);
    void EndReview();
    void UpdateDock();
    void RunTimer();
};
