// The position editor (検討 → 局面編集…): a board with a piece stand for each side, the side to move,
// three starting points (平手, 飛車角落ち, an empty board), and the reason a position cannot be played
// from, shown as the position changes. Pieces are dragged from a stand to a square and from square to
// square; a piece dragged off the board leaves it; a right click promotes a piece, or turns it to the
// other side. The board is the record's frame: 先手 at the bottom.
#pragma once

#include "session/Kif.h"

#include <QDialog>
#include <QPoint>
#include <QWidget>

class QLabel;
class QPushButton;
class QRadioButton;
class TPictures;

// The board and the two stands, drawn at a zoom. Everything it takes and tells speaks square codes of
// the record's frame and piece names.
class TEditorBoard : public QWidget {
    Q_OBJECT
public:
    TEditorBoard(const TPictures& pictures, double zoom, QWidget* parent);

    void SetBoard(const TBoard& board);
    const TBoard& Board() const { return board_; }

    // The gestures, as the mouse makes them: a piece from a stand put on a square (whatever stood there
    // goes), a piece moved from a square to another (to 0: off the board), a right click on a square.
    void Put(int square, PieceName piece);
    void Move(int from, int to);
    void Turn(int square);
    // How many more pieces of a kind a side's twenty hold (the kind's name, either side).
    int Left(PieceName piece) const;

    // Where a square and a stand's piece are drawn; the square or stand piece at a point (0 / Empty).
    QRect SquareRect(int square) const;
    QRect StandRect(PieceName piece) const;
    int SquareAt(QPoint p) const;
    PieceName StandAt(QPoint p) const;
    QSize sizeHint() const override;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const TPictures& pictures_;
    double zoom_;
    TBoard board_{};
    // The drag under way: from a square, or a piece from a stand; where the pointer is.
    int dragFrom_ = 0;
    PieceName dragPiece_ = PieceName::Empty;
    QPoint pointer_;

    QRect BoardRect() const;
    void PaintStand(QPainter& p, Side side) const;
};

class TPositionEditor : public QDialog {
    Q_OBJECT
public:
    // Opens on start; pictures and zoom are the window's.
    TPositionEditor(const TEditedStart& start, const TPictures& pictures, double zoom, QWidget* parent);

    TEditedStart Position() const;
    void SetPosition(const TEditedStart& start);
    TEditorBoard& Board() { return *board_; }
    // Why the position cannot be played from, in the display language; empty when it can.
    QString Refusal() const { return refusal_; }
    // The starting points.
    void UseEven();
    void UseHandicap();
    void Clear();

private:
    TEditorBoard* board_ = nullptr;
    QRadioButton* senteToMove_ = nullptr;
    QRadioButton* goteToMove_ = nullptr;
    QLabel* reason_ = nullptr;
    QPushButton* play_ = nullptr;
    QString refusal_;

    // The position judged again: its reason shown, and play offered only when there is none.
    void Judge();
};
