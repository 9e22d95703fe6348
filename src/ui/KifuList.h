// The move list beside the board: a row for the start, one per move as the record file writes it
// (▲７六歩, △同　銀, 成) and one for the game's end. The row of the position on the board is selected
// and kept in view. Choosing a row (a click, ↑ or ↓) shows that position through the session, during a
// game too, where it is only looked at. The handle at the list's right edge widens its column.
//
// A record with variations marks the moves that have other lines with a "+" at the row's left: a click
// on it (or 変化を選ぶ in the row's menu) lists the moves played there and shows the line chosen. While
// a variation is shown, a line above the rows names it and offers the way back to the main line.
#pragma once

#include <QListWidget>
#include <QWidget>

class QLabel;
class QMenu;
class TGameAnalysis;
class TGameSession;

class TKifuList : public QListWidget {
    Q_OBJECT
public:
    explicit TKifuList(QWidget* parent);
    void SetSession(TGameSession* session) { session_ = session; }
    // The analysis whose verdicts stand beside the moves it analysed, while the game still begins
    // with them: a marked move's row says 悪手 or 疑問手, and the better move on a line of its own.
    // The verdicts are asked for at every refresh, so that they speak the language now installed.
    void SetAnalysis(const TGameAnalysis* analysis) { analysis_ = analysis; }
    // The rows read again from the session's record and the analysis, the shown position's selected.
    void Refresh();
    // The game's latest position on the board again.
    void ShowLatest();

    // The item data that marks a row whose move has other lines.
    static constexpr int kBranchRole = Qt::UserRole + 1;
    // The moves played as move n where the shown line plays its own, each as the list writes it with
    // the line that plays it, the shown line's checked: choosing one shows that line at move n. The
    // caller owns the menu.
    QMenu* AlternativesMenu(int n, QWidget* parent);
    // The main line at the last position it shares with the line shown.
    void BackToMainLine();
    // The line above the rows that names the variation shown; hidden on the main line.
    QLabel* LineHeader() const { return header_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TGameSession* session_ = nullptr;
    const TGameAnalysis* analysis_ = nullptr;
    bool filling_ = false;
    QLabel* header_ = nullptr;

    void OnRowChosen(int row);
    void ChooseLine(int line, int n);
    // The header's text and room above the rows for the line shown.
    void UpdateHeader();
    // Whether a point of the list lies on a row's branch mark.
    bool OnMark(const QPoint& at, int row) const;
};

// The handle at the move list's right edge: dragged sideways, it widens or narrows the list's column.
class TColumnGrip : public QWidget {
    Q_OBJECT
public:
    explicit TColumnGrip(QWidget* parent);

signals:
    void dragStarted();
    // How far the pointer has gone sideways since the drag began, in pixels of the screen.
    void dragged(int dx);
    void dragEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    double startX_ = 0;
};
