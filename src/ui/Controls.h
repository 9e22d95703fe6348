// The small controls of the window that Qt has no exact match for: a picture shown unscaled from its
// top-left corner, the board square that starts a drag when pressed, the red frame, and the
// transparent label that answers clicks.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>

// An image control: its picture unscaled from the top-left corner, or nothing (then the controls
// below show through). It draws the same whether enabled or not.
class TPictureBox : public QWidget {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent);
    void SetPicture(const QPixmap* picture); // nullptr: no picture
    bool HasPicture() const { return !picture_.isNull(); }
    const QPixmap& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

// One of the 81 board squares. Pressing it starts a real drag at once; every square accepts a drop
// from any square. It reports the drag through its signals; the window does the rest.
class TSquareImage : public TPictureBox {
    Q_OBJECT
public:
    TSquareImage(int square, QWidget* parent);
    int Square() const { return square_; }

signals:
    void dragStarted(int square); // the left button went down on this square; the drag begins
    void dropped(int square);     // a piece dragged from a board square was dropped here
    void dragEnded(int square);   // the drag that began here is over, dropped or not

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int square_;
};

// A square outline of a given colour and pen width, transparent inside and to the mouse.
class TFrameShape : public QWidget {
    Q_OBJECT
public:
    TFrameShape(QColor colour, int penWidth, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
    int penWidth_;
};

// A word-wrapped label whose lines follow each other at one font height, as on the system the
// layout was made for, so that a whole turn's report fits its box.
class TMessageLabel : public QLabel {
    Q_OBJECT
public:
    TMessageLabel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label without text that reports clicks (press and release inside it) while enabled.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};
