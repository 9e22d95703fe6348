#include "ui/BoardArrows.h"

#include "ui/BoardView.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

TBoardArrows::TBoardArrows(const TBoardView& board, QWidget* area, const QString& name)
    : QWidget(area), board_(board) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    area->installEventFilter(this);
    hide();
}

void TBoardArrows::SetArrows(std::vector<TArrow> arrows) {
    arrows_ = std::move(arrows);
    if (arrows_.empty()) return hide();
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

std::vector<TMove> TBoardArrows::Moves() const {
    std::vector<TMove> moves;
    for (const TArrow& a : arrows_) moves.push_back(a.Move);
    return moves;
}

bool TBoardArrows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void TBoardArrows::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The last first, so that the first lies on top where two cross.
    for (auto a = arrows_.rbegin(); a != arrows_.rend(); ++a) {
        const QRect from = board_.SquareRect(a->Move.From);
        const QLineF line(QRectF(from).center(), QRectF(board_.SquareRect(a->Move.To)).center());
        if (line.length() < 1) continue;
        const double width = std::max(a->MinWidth, from.width() * a->Width);
        // The shaft stops where the head begins, so the two do not darken each other.
        const double head = width * 3;
        QLineF shaft = line;
        shaft.setLength(std::max(0.0, line.length() - head));
        p.setPen(QPen(a->Colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(shaft);
        const QPointF unit = (line.p2() - line.p1()) / line.length();
        const QPointF normal(-unit.y(), unit.x());
        const QPointF base = line.p2() - unit * head;
        p.setPen(Qt::NoPen);
        p.setBrush(a->Colour);
        p.drawPolygon(QPolygonF({line.p2(), base + normal * head * 0.6, base - normal * head * 0.6}));
    }
}
