// The small controls of the window that Qt has no exact match for: a picture shown unscaled from its
// top-left corner, the board square that starts a drag when pressed, the red frame, the labels and
// the list whose texts shrink until they fit, and the transparent label that answers clicks.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include <functional>

// The window's type face at a size in pixels: the usual Japanese UI gothic where it exists, else any
// Japanese font.
QFont JapaneseFont(int pixelSize);

// The smallest type size a text is shrunk to; every text of the game fits well above it.
inline constexpr int kSmallestFontPx = 7;

// font at the largest pixel size from basePx down to kSmallestFontPx at which fits holds (the
// smallest if none does).
QFont FittedFont(QFont font, int basePx, const std::function<bool(const QFont&)>& fits);

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

// One of the 81 board squares. Pressing it and moving the pointer starts a real drag; pressing and
// letting go without moving is a click. Every square accepts a drop from any square. It reports
// drags and clicks through its signals; the window does the rest.
class TSquareImage : public TPictureBox {
    Q_OBJECT
public:
    // What is drawn on the square besides its piece.
    enum Mark : unsigned {
        NoMark = 0,
        LastMove = 1,    // a square of the latest turn: a soft tint under the piece
        Selected = 2,    // the piece picked by a click: a stronger tint
        Destination = 4, // a legal destination of the dragged or selected piece: a dot (a ring round a
                         // piece that would be taken)
    };

    TSquareImage(int square, QWidget* parent);
    int Square() const { return square_; }
    void SetMarks(unsigned marks);
    unsigned Marks() const { return marks_; }
    // While its piece is dragged the square shows no piece, whatever picture it holds.
    void SetLifted(bool lifted);
    bool Lifted() const { return lifted_; }

signals:
    void dragStarted(int square); // the piece on this square is being dragged
    void dropped(int square);     // a piece dragged from a board square was dropped here
    void dragEnded(int square);   // the drag that began here is over, dropped or not
    void clicked(int square);     // pressed and let go without a drag

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int square_;
    unsigned marks_ = NoMark;
    bool lifted_ = false;
    bool pressed_ = false;
    QPoint pressPos_;

    void Drag();
};

// A square outline of a given colour and pen width, transparent inside and to the mouse.
class TFrameShape : public QWidget {
    Q_OBJECT
public:
    TFrameShape(QColor colour, int penWidth, QWidget* parent);
    void SetPenWidth(int penWidth);
    int PenWidth() const { return penWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
    int penWidth_;
};

// A word-wrapped label whose lines follow each other at one font height, as on the system the
// layout was made for. Lines break at line ends, spaces and punctuation only, never inside a word; a
// text too long for the room it has, or with a phrase wider than a line, is drawn smaller until it
// fits.
class TMessageLabel : public QLabel {
    Q_OBJECT
public:
    TMessageLabel(const QString& text, QWidget* parent);
    // The size texts are drawn at when they fit, and the height they may take from the top (a control
    // lying over the label's foot takes the rest).
    void SetTextRoom(int basePx, int height);
    // Sets the text at the largest size up to the base size at which it fits.
    void ShowText(const QString& text);
    // The height the text takes when laid out in this label's width in font.
    int TextHeight(const QString& text, const QFont& font) const;
    // The lines it is drawn in.
    QStringList Lines(const QString& text, const QFont& font) const;
    // True when every line is within the width and all of them within the room.
    bool Fits(const QString& text, const QFont& font) const;
    int RoomHeight() const { return room_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int basePx_ = 19;
    int room_ = 0;
};

// A one-line label whose text is drawn smaller until it fits its width and height.
class TFitLabel : public QLabel {
    Q_OBJECT
public:
    TFitLabel(const QString& text, int basePx, QWidget* parent);
    void ShowText(const QString& text);
    // A new size for texts that fit; the text is fitted again.
    void SetBasePx(int basePx);
    // True when text at font fits wholly inside the label.
    bool Fits(const QString& text, const QFont& font) const;

private:
    int basePx_;
};

// A command button whose caption is drawn smaller until it fits inside the button's frame.
void FitButtonText(QPushButton* button, int basePx);
// The room a button leaves for its caption.
QRect ButtonTextRoom(const QPushButton* button);

// The formation list: selection only. The closed box draws its entry smaller until it fits, and it
// takes wheel turns only while it has the keyboard focus, so a pointer passing over it on the way to
// the board changes nothing.
class TFormationList : public QComboBox {
    Q_OBJECT
public:
    TFormationList(int basePx, QWidget* parent);
    void SetBasePx(int basePx);
    // The font the closed box draws its current entry with, and the room it has for it.
    QFont ShownFont() const;
    QRect TextRoom() const;
    // The list opens wide enough for the longest name (plus margin) even though the box is narrow.
    void FitPopup(int margin);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int basePx_;
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
