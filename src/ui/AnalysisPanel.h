// The analysis of a game in the window: the 検討 menu, a dialog with the time per position, a progress
// bar and a cancel button, and the evaluation graph under the board. The engine runs as its own
// process (apart from the opponent's and the hint's), looked at from a timer: the window never waits.
#pragma once

#include "session/Analysis.h"
#include "session/GameSession.h"

#include <QObject>
#include <QWidget>

#include <vector>

class QDialog;
class QDockWidget;
class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTimer;

// The human's evaluation after each move as a line of points, 悪手 and 疑問手 in their colours, the
// position shown marked; a click on a point asks for that position.
class TEvalGraph : public QWidget {
    Q_OBJECT
public:
    explicit TEvalGraph(QWidget* parent);
    // values[0] the start position, values[i] the position after move i.
    void SetPoints(std::vector<int> values, std::vector<MoveMark> marks);
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
    std::vector<int> values_;
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
    void AddMenu();
    // Shows the dialog; its 開始 starts an analysis of the game so far.
    void OpenDialog();
    void Begin(int msPerPosition);
    void Cancel();
    bool Running() const { return analysis_.Running(); }
    const TGameAnalysis& Analysis() const { return analysis_; }
    TEvalGraph& Graph() { return *graph_; }
    QDialog& Dialog() { return *dialog_; }
    // The board shows another position: the graph marks it.
    void BoardChanged();
    // Shows the position after move n, when the game is replayed.
    void ShowMove(int n);

signals:
    // The verdicts found so far for the moves analysed: for each move, "悪手 ▲２六歩(27)" (the mark and
    // the better move) or empty.
    void verdictsChanged(const std::vector<TMove>& moves, const QStringList& verdicts);

private:
    QMainWindow& window_;
    QStatusBar& bar_;
    TGameSession* session_ = nullptr;
    TEngineSeat seat_;
    TGameAnalysis analysis_{seat_};
    QTimer* timer_ = nullptr;
    QDialog* dialog_ = nullptr;
    QSpinBox* time_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* state_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QDockWidget* dock_ = nullptr;
    TEvalGraph* graph_ = nullptr;

    void Progressed();
    void Finished();
    void UpdateGraph();
};
