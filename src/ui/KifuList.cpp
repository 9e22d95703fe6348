#include "ui/KifuList.h"

#include "session/Analysis.h"
#include "session/GameSession.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <exception>

TKifuList::TKifuList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("KifuList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, &TKifuList::OnRowChosen);
}

void TKifuList::Refresh() {
    if (session_ == nullptr) return;
    const TKifRecord record = session_->LineRecord();
    const std::vector<std::string> moves = KifMoveTexts(record);
    // An analysis speaks of the moves it was given: a take-back or a new game leaves it behind.
    const std::vector<TMove> none;
    const std::vector<TMove>& analysed = analysis_ != nullptr ? analysis_->Record().Shown : none;
    const bool marked = !analysed.empty() && record.Shown.size() >= analysed.size() &&
                        std::equal(analysed.begin(), analysed.end(), record.Shown.begin());
    QStringList rows{tr("開始局面")};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        QString row = QStringLiteral("%1 %2%3")
                          .arg(i + 1, 3)
                          .arg(KifMover(record, i) == Side::Sente ? QStringLiteral("▲") : QStringLiteral("△"))
                          .arg(QString::fromStdString(moves[i]));
        // The better move goes on a second line, under the move, where the list has its whole width.
        if (const TMoveVerdict v = marked && i < analysed.size() ? analysis_->Verdict(i + 1) : TMoveVerdict{};
            v.Mark != MoveMark::None)
            row += QStringLiteral("　%1\n　　").arg(QString::fromStdString(MoveMarkText(v.Mark))) +
                   tr("最善 %1").arg(QString::fromStdString(v.Better));
        rows << row;
    }
    const std::string end = KifEndText(record);
    if (!end.empty()) rows << QString::fromStdString(end);

    filling_ = true;
    bool same = count() == rows.size();
    for (int i = 0; same && i < rows.size(); ++i) same = item(i)->text() == rows[i];
    if (!same) {
        clear();
        addItems(rows);
        // A marked move's better move can run past the list's edge: the row's tooltip holds it whole.
        for (int i = 0; i < count(); ++i) item(i)->setToolTip(item(i)->text());
    }
    setCurrentRow(session_->ShownMove());
    filling_ = false;
    if (currentItem()) scrollToItem(currentItem());
}

void TKifuList::OnRowChosen(int row) {
    if (filling_ || session_ == nullptr || row < 0) return;
    // The end's row stands for the last position.
    const int last = static_cast<int>(session_->Turns().size());
    try {
        session_->ShowMove(std::min(row, last));
    } catch (const std::exception&) {
        // A row of a record that has just changed: the refresh below puts the list right.
    }
    Refresh();
}

void TKifuList::ShowLatest() {
    if (session_) OnRowChosen(static_cast<int>(session_->Turns().size()));
}

TColumnGrip::TColumnGrip(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SplitHCursor);
}

void TColumnGrip::paintEvent(QPaintEvent*) {
    // Three short ridges half way down, where a hand looks for something to hold.
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Mid), std::max(1.0, width() / 8.0)));
    const double x = width() / 2.0;
    const double y = height() / 2.0;
    const double step = width() / 2.0;
    for (int i = -1; i <= 1; ++i)
        p.drawLine(QPointF(x, y + i * step - step / 3), QPointF(x, y + i * step + step / 3));
}

void TColumnGrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    pressed_ = true;
    startX_ = event->globalPosition().x();
    emit dragStarted();
}

void TColumnGrip::mouseMoveEvent(QMouseEvent* event) {
    // The window grows under the pointer as the list widens: the drag is measured on the screen.
    if (pressed_) emit dragged(int(std::lround(event->globalPosition().x() - startX_)));
}

void TColumnGrip::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_ || event->button() != Qt::LeftButton) return;
    pressed_ = false;
    emit dragEnded();
}
