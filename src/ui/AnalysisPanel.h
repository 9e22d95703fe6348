// The analysis of a game in the window: the 検討 menu, a dialog with the nodes searched per position, a
// progress bar and a cancel button, and the evaluation graph under the board. The engine runs as its own
// process (apart from the opponent's and the hint's), looked at from a timer: the window never waits.
// The graph shows the latest complete analysis of the game on the board (or the one running): a new
// game or another record clears it, and a cancelled or failed run leaves the earlier result in place.
#pragma once

#include "session/Analysis.h"
#include "session/GameSession.h"

#include <QObject>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QDialog;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTimer;

// The player's evaluation after each move as a line of points, 悪手 and 疑問手 in their colours, the
// position shown marked; a click on a point asks for that position. A position without a value has no
// point, and the line breaks there.
class TEvalGraph : public QWidget {
    Q_OBJECT
public:
    explicit TEvalGraph(QWidget* parent);
    // values[0] the start position, values[i] the position after move i.
    void SetPoints(std::vector<std::optional<int>> values, std::vector<MoveMark> marks);
    std::size_t Points() const { return values_.size(); }
    void SetShown(int n);
    int Shown() const { return shown_; }
    // The point nearest to x (0 .. values - 1); -1 without points.
    int PointAt(int x) const;
    QPoint PointPosition(int n) const;
    QSize sizeHint() const override { return {360, 120}; }

signals:
    void pointClicked(int n);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<std::optional<int>> values_;
    std::vector<MoveMark> marks_;
    int shown_ = -1;
    int scale_ = 500; // the value drawn at the top edge
    QRectF Plot() const;
};

class TAnalysisPanel : public QObject {
    Q_OBJECT
public:
    TAnalysisPanel(QMainWindow& window, QStatusBar& bar);
    ~TAnalysisPanel() override;

    void Attach(TGameSession& session) { session_ = &session; }
    // The 検討 menu, for the items that follow.
    QMenu* AddMenu();
    // Shows the dialog; its 開始 starts an analysis of the game so far.
    void OpenDialog();
    void Begin(std::uint64_t nodesPerPosition);
    void Cancel();
    bool Running() const { return Run().Running(); }
    // The latest run: running, complete, cancelled or failed.
    const TGameAnalysis& Analysis() const { return Run(); }
    // The analysis the graph shows: the run while it runs, else the latest complete one of this game;
    // null for none.
    const TGameAnalysis* Shown() const;
    TEvalGraph& Graph() { return *graph_; }
    QDialog& Dialog() { return *dialog_; }
    // The board shows another position, or another game: the graph marks the position, and forgets an
    // analysis of a game that is no longer the one on the board.
    void BoardChanged();
    // Shows the position after move n: in a replay the replay's, in a game a look back (as the move
    // list does).
    void ShowMove(int n);
    // The texts again in the language now installed.
    void Retranslate();

signals:
    // The verdicts found so far for the moves analysed: for each move, "悪手 ▲２六歩(27)" (the mark and
    // the better move) or empty.
    void verdictsChanged(const std::vector<TMove>& moves, const QStringList& verdicts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow& window_;
    QStatusBar& bar_;
    TGameSession* session_ = nullptr;
    TEngineSeat seat_;
    // Two analyses take turns: a new run goes into the one that does not hold the result shown, so that
    // the result stays when the run is cancelled or fails.
    std::array<TGameAnalysis, 2> analyses_{TGameAnalysis(seat_), TGameAnalysis(seat_)};
    std::size_t run_ = 0;
    std::optional<std::size_t> result_;
    QTimer* timer_ = nullptr;
    QDialog* dialog_ = nullptr;
    QSpinBox* nodes_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* state_ = nullptr;
    std::function<QString()> stateText_; // made again in another language
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QDockWidget* dock_ = nullptr;
    TEvalGraph* graph_ = nullptr;

    const TGameAnalysis& Run() const { return analyses_[run_]; }
    TGameAnalysis& Run() { return analyses_[run_]; }
    // Whether an analysis is of the game on the board (or of its beginning).
    bool OfThisGame(const TGameAnalysis& a) const;
    void Poll();
    void Progressed();
    void Finished();
    void Stopped(bool gameChanged);
    void SetState(std::function<QString()> text);
    void UpdateGraph();
};
