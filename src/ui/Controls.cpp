#include "ui/Controls.h"

#include "ui/Layout.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

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

// The marks on the squares: soft enough that the pieces stay easy to read, and unlike the red frame
// that marks COM's destination.
const QColor kLastMoveTint(255, 236, 110, 130);
const QColor kSelectedTint(70, 150, 255, 120);
const QColor kDestinationDot(20, 120, 60, 210);

int DraggedSquare(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(kSquareMime)) return -1;
    return data->data(kSquareMime).toInt();
}

} // namespace

QFont JapaneseFont(int pixelSize) {
    QStringList families = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                            QStringLiteral("IPAPGothic")};
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese))
        if (!families.contains(family)) {
            families << family;
            break;
        }
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    return font;
}

QFont FittedFont(QFont font, int basePx, const std::function<bool(const QFont&)>& fits) {
    for (int px = basePx; px > kSmallestFontPx; --px) {
        font.setPixelSize(px);
        if (fits(font)) return font;
    }
    font.setPixelSize(kSmallestFontPx);
    return font;
}

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

void TSquareImage::SetMarks(unsigned marks) {
    if (marks == marks_) return;
    marks_ = marks;
    update();
}

void TSquareImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The square's inside, between the grid lines, at whatever size the square is drawn.
    const QRectF inside(0, 0, width() * double(Layout::kSquareInside) / Layout::kSquareSize,
                        height() * double(Layout::kSquareInside) / Layout::kSquareSize);
    if (marks_ & LastMove) p.fillRect(inside, kLastMoveTint);
    if (marks_ & Selected) p.fillRect(inside, kSelectedTint);
    if (HasPicture() && !lifted_) p.drawPixmap(0, 0, Picture());
    if (marks_ & Destination) {
        p.setRenderHint(QPainter::Antialiasing, true);
        const double d = inside.width();
        if (HasPicture()) {
            p.setPen(QPen(kDestinationDot, std::max(2.0, d / 13)));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(inside.center(), d * 0.4, d * 0.4);
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(kDestinationDot);
            p.drawEllipse(inside.center(), d * 0.14, d * 0.14);
        }
    }
}

void TSquareImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        TPictureBox::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    pressPos_ = event->position().toPoint();
}

void TSquareImage::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance())
        return;
    pressed_ = false;
    Drag();
}

void TSquareImage::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) return;
    pressed_ = false;
    emit clicked(square_);
}

void TSquareImage::Drag() {
    emit dragStarted(square_);

    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(kSquareMime, QByteArray::number(square_));
    drag->setMimeData(data);
    // No picture goes with the drag: without a compositor it would sit on a box of the window's
    // ground. The board draws the dragged piece itself.
    drag->setDragCursor(HandCursor(), Qt::MoveAction);
    drag->exec(Qt::MoveAction, Qt::MoveAction);

    emit dragEnded(square_);
}

void TSquareImage::SetLifted(bool lifted) {
    if (lifted == lifted_) return;
    lifted_ = lifted;
    update();
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

void TFrameShape::SetPenWidth(int penWidth) {
    penWidth_ = penWidth;
    update();
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

namespace {

bool IsHiragana(QChar c) {
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309F;
}

bool BeginsWord(QChar c) {
    return c.script() == QChar::Script_Han || c.script() == QChar::Script_Katakana;
}

// Where a line may end: at a space, after a closing mark, before an opening one, and where kana
// endings or particles give way to the kanji or katakana of the next word. Japanese writes no spaces
// between words, and a line broken between any two characters splits words ("不正で／す。",
// "【矢倉囲／い】"); a phrase too long for a line makes the type smaller instead.
bool MayBreakBefore(const QString& text, qsizetype i) {
    static const QString kAfter = QStringLiteral("。、，！？）」』】：");
    static const QString kBefore = QStringLiteral("（「『【");
    // A name in 【】 is one word, whatever it is made of.
    const qsizetype opened = text.lastIndexOf(QChar(0x3010), i - 1);
    if (opened >= 0 && text.lastIndexOf(QChar(0x3011), i - 1) < opened) return false;
    const QChar before = text[i - 1];
    const QChar after = text[i];
    return before.isSpace() || kAfter.contains(before) || kBefore.contains(after) ||
           (IsHiragana(before) && BeginsWord(after));
}

int LineWidth(const QString& line, const QFontMetrics& metrics) {
    qsizetype n = line.size();
    while (n > 0 && line[n - 1].isSpace()) --n;
    return metrics.horizontalAdvance(line.left(n));
}

// The lines of one paragraph in width; fits is cleared when a phrase is wider than a line.
void WrapParagraph(const QString& paragraph, const QFontMetrics& metrics, int width, QStringList& lines,
                   bool& fits) {
    QString line;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= paragraph.size(); ++i) {
        if (i < paragraph.size() && !MayBreakBefore(paragraph, i)) continue;
        const QString phrase = paragraph.mid(start, i - start);
        start = i;
        if (!line.isEmpty() && LineWidth(line + phrase, metrics) > width) {
            lines << line;
            line.clear();
        }
        line += phrase;
        if (LineWidth(line, metrics) > width) fits = false;
    }
    lines << line;
}

// Lays text out as the message label draws it: a paragraph per LF, broken into lines only where
// MayBreakBefore allows, one line every pixel size of the font. Draws on painter when there is one,
// stopping below stopAt; returns the bottom of the lowest glyphs.
int LayOutMessage(const QString& text, const QFont& font, int width, QPainter* painter, int stopAt,
                  bool* fits = nullptr, QStringList* shown = nullptr) {
    const QFontMetrics metrics(font);
    const int pitch = font.pixelSize() > 0 ? font.pixelSize() : metrics.height();
    QStringList lines;
    bool widthFits = true;
    for (const QString& paragraph : text.split(QLatin1Char('\n')))
        WrapParagraph(paragraph, metrics, width, lines, widthFits);
    int y = 0;
    int bottom = 0;
    for (const QString& line : lines) {
        if (painter != nullptr && y >= stopAt) break;
        if (!line.isEmpty()) bottom = y + metrics.height();
        if (painter != nullptr) painter->drawText(QPointF(0, y + metrics.ascent()), line);
        y += pitch;
    }
    if (fits != nullptr) *fits = widthFits;
    if (shown != nullptr) *shown = lines;
    return bottom;
}

} // namespace

TMessageLabel::TMessageLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TMessageLabel::SetTextRoom(int basePx, int height) {
    basePx_ = basePx;
    room_ = height;
    ShowText(text());
}

int TMessageLabel::TextHeight(const QString& text, const QFont& font) const {
    return LayOutMessage(text, font, width(), nullptr, 0);
}

QStringList TMessageLabel::Lines(const QString& text, const QFont& font) const {
    QStringList lines;
    LayOutMessage(text, font, width(), nullptr, 0, nullptr, &lines);
    return lines;
}

bool TMessageLabel::Fits(const QString& text, const QFont& font) const {
    bool fits = true;
    const int height = LayOutMessage(text, font, width(), nullptr, 0, &fits);
    return fits && height <= (room_ > 0 ? room_ : this->height());
}

void TMessageLabel::ShowText(const QString& text) {
    setFont(FittedFont(font(), basePx_, [&](const QFont& f) { return Fits(text, f); }));
    setText(text);
}

void TMessageLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    LayOutMessage(text(), font(), width(), &p, height());
}

TFitLabel::TFitLabel(const QString& text, int basePx, QWidget* parent) : QLabel(parent), basePx_(basePx) {
    setTextFormat(Qt::PlainText);
    ShowText(text);
}

bool TFitLabel::Fits(const QString& text, const QFont& font) const {
    const QFontMetrics fm(font);
    // A pixel of air at either end, so that a centred text never touches the edges.
    return fm.horizontalAdvance(text) <= width() - 2 && fm.height() <= height();
}

void TFitLabel::ShowText(const QString& text) {
    setFont(FittedFont(font(), basePx_, [&](const QFont& f) { return Fits(text, f); }));
    setText(text);
}

void TFitLabel::SetBasePx(int basePx) {
    basePx_ = basePx;
    ShowText(text());
}

QRect ButtonTextRoom(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return contents.adjusted(1, 0, -1, 0);
}

void FitButtonText(QPushButton* button, int basePx) {
    const QRect room = ButtonTextRoom(button);
    button->setFont(FittedFont(button->font(), basePx, [&](const QFont& f) {
        const QFontMetrics fm(f);
        return fm.horizontalAdvance(button->text()) <= room.width() && fm.height() <= room.height();
    }));
}

TFormationList::TFormationList(int basePx, QWidget* parent) : QComboBox(parent), basePx_(basePx) {
    setEditable(false);
    // The wheel does not hand the focus over: the list must have been clicked or tabbed to first.
    setFocusPolicy(Qt::StrongFocus);
}

void TFormationList::FitPopup(int margin) {
    int widest = 0;
    const QFontMetrics metrics(font());
    for (int i = 0; i < count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    view()->setMinimumWidth(widest + margin);
}

void TFormationList::SetBasePx(int basePx) {
    basePx_ = basePx;
    update();
}

QRect TFormationList::TextRoom() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The style draws the entry one pixel in from either side of its edit field.
    return style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
        .adjusted(1, 0, -1, 0);
}

QFont TFormationList::ShownFont() const {
    const QRect room = TextRoom();
    const QString text = currentText();
    return FittedFont(font(), basePx_, [&](const QFont& f) {
        const QFontMetrics fm(f);
        return fm.horizontalAdvance(text) <= room.width() && fm.height() <= room.height();
    });
}

void TFormationList::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.setFont(ShownFont());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TFormationList::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
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
