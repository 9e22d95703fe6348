#include "ui/Controls.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

// The drag carries the square it started from.
const QString kSquareMime = QStringLiteral("application/x-mirutoa-square");

// The pointing hand shown while a piece is dragged. A drag cursor's hot spot is the middle of its
// picture, so the finger tip is drawn there.
QPixmap HandCursor() {
    static const QPixmap hand = [] {
        QPixmap pix(48, 48);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.translate(20.5, 23.5); // the finger tip at the centre
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, 6, 14), 3, 3);    // index finger
        path.addRoundedRect(QRectF(5, 8, 5, 9), 2.5, 2.5); // middle finger
        path.addRoundedRect(QRectF(9, 9, 5, 8), 2.5, 2.5); // ring finger
        path.addRoundedRect(QRectF(13, 10, 4.5, 8), 2.2, 2.2);
        path.addRoundedRect(QRectF(0, 12, 17.5, 11), 4, 4); // palm
        QPainterPath thumb;
        thumb.moveTo(1, 14);
        thumb.lineTo(-5, 10);
        thumb.quadTo(-7.5, 11, -6, 14);
        thumb.lineTo(0, 21);
        path.addPath(thumb);
        path = path.simplified();
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(Qt::white);
        p.drawPath(path);
        return pix;
    }();
    return hand;
}

int DraggedSquare(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(kSquareMime)) return -1;
    return data->data(kSquareMime).toInt();
}

} // namespace

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

void TPictureBox::SetPicture(const QPixmap* picture) {
    picture_ = picture != nullptr ? *picture : QPixmap();
    update();
}

void TPictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

TSquareImage::TSquareImage(int square, QWidget* parent) : TPictureBox(parent), square_(square) {
    setAcceptDrops(true);
}

void TSquareImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        TPictureBox::mousePressEvent(event);
        return;
    }
    emit dragStarted(square_);

    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(kSquareMime, QByteArray::number(square_));
    drag->setMimeData(data);
    if (HasPicture()) {
        // The piece follows the pointer from where it was taken.
        drag->setPixmap(Picture());
        drag->setHotSpot(event->position().toPoint());
    }
    drag->setDragCursor(HandCursor(), Qt::MoveAction);
    drag->exec(Qt::MoveAction, Qt::MoveAction);

    emit dragEnded(square_);
}

void TSquareImage::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedSquare(event->mimeData()) >= 0) event->acceptProposedAction();
}

void TSquareImage::dragMoveEvent(QDragMoveEvent* event) {
    if (DraggedSquare(event->mimeData()) >= 0) event->acceptProposedAction();
}

void TSquareImage::dropEvent(QDropEvent* event) {
    if (DraggedSquare(event->mimeData()) < 0) return;
    emit dropped(square_);
    event->acceptProposedAction();
}

TFrameShape::TFrameShape(QColor colour, int penWidth, QWidget* parent)
    : QWidget(parent), colour_(colour), penWidth_(penWidth) {
    // A frame lies over a square; drags and drops must still reach the square below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TFrameShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::NoPen);
    p.setBrush(colour_);
    const int w = width();
    const int h = height();
    const int t = penWidth_;
    p.drawRect(0, 0, w, t);
    p.drawRect(0, h - t, w, t);
    p.drawRect(0, t, t, h - 2 * t);
    p.drawRect(w - t, t, t, h - 2 * t);
}

TMessageLabel::TMessageLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TMessageLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const QFont& f = font();
    const int pitch = f.pixelSize() > 0 ? f.pixelSize() : QFontMetrics(f).height();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int y = 0;
    for (const QString& paragraph : text().split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, f);
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width());
            line.setPosition(QPointF(0, y));
            y += pitch;
            ++lines;
        }
        layout.endLayout();
        if (lines == 0) y += pitch; // an empty line
        layout.draw(&p, QPointF(0, 0));
        if (y >= height()) break;
    }
}

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent) {}

void TClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}
