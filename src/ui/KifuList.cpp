#include "ui/KifuList.h"

#include "session/Analysis.h"
#include "session/GameSession.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

namespace {

// The mark of a move with other lines: a "+" in a small box, as a tree shows a node it can open; the
// other rows get an empty one of the same size so that their moves stand in line.
QIcon MarkIcon(bool branch, const QPalette& palette) {
    constexpr int kSide = 32;
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    if (branch) {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = palette.color(QPalette::Text);
        p.setPen(QPen(ink, 3));
        p.setBrush(palette.color(QPalette::Base));
        p.drawRoundedRect(QRectF(2.5, 2.5, kSide - 5, kSide - 5), 5, 5);
        p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(8, kSide / 2.0), QPointF(kSide - 8, kSide / 2.0));
        p.drawLine(QPointF(kSide / 2.0, 8), QPointF(kSide / 2.0, kSide - 8));
    }
    QIcon icon;
    // The selected row shows the same mark, not the style's tinted one.
    icon.addPixmap(picture, QIcon::Normal);
    icon.addPixmap(picture, QIcon::Selected);
    return icon;
}

} // namespace

TKifuList::TKifuList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("KifuList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, &TKifuList::OnRowChosen);
    header_ = new QLabel(this);
    header_->setObjectName(QStringLiteral("KifuLineHeader"));
    header_->setTextFormat(Qt::RichText);
    header_->setAutoFillBackground(true);
    header_->setBackgroundRole(QPalette::AlternateBase);
    header_->setContentsMargins(4, 0, 4, 0);
    header_->hide();
    connect(header_, &QLabel::linkActivated, this, [this] { BackToMainLine(); });
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
    // Rows of moves with other lines carry the mark; a record of one line marks nothing.
    const std::vector<int> points = session_->BranchPoints();
    const bool lines = session_->LineCount() > 1;
    const auto branch = [&](int row) { return std::find(points.begin(), points.end(), row) != points.end(); };

    filling_ = true;
    bool same = count() == rows.size() && (count() == 0 || !item(0)->icon().isNull()) == lines;
    for (int i = 0; same && i < rows.size(); ++i)
        same = item(i)->text() == rows[i] && item(i)->data(kBranchRole).toBool() == branch(i);
    if (!same) {
        clear();
        addItems(rows);
        const QIcon plain = lines ? MarkIcon(false, palette()) : QIcon();
        const QIcon mark = lines ? MarkIcon(true, palette()) : QIcon();
        // A marked move's better move can run past the list's edge: the row's tooltip holds it whole.
        for (int i = 0; i < count(); ++i) {
            item(i)->setToolTip(item(i)->text());
            item(i)->setData(kBranchRole, branch(i));
            item(i)->setIcon(branch(i) ? mark : plain);
        }
    }
    const int side = std::max(10, fontMetrics().height() * 9 / 10);
    if (iconSize() != QSize(side, side)) setIconSize(QSize(side, side));
    UpdateHeader();
    setCurrentRow(session_->ShownMove());
    filling_ = false;
    if (currentItem()) scrollToItem(currentItem());
}

void TKifuList::UpdateHeader() {
    const int line = session_ != nullptr ? session_->Line() : 0;
    const int frame = frameWidth();
    const QString name = tr("変化 %1").arg(line), back = tr("本譜に戻る");
    // The link goes under the line's name where the list is too narrow for both (in English).
    const bool fits = header_->fontMetrics().horizontalAdvance(name + QStringLiteral("　") + back) <=
                      width() - 2 * frame - 2 * header_->margin() - 4;
    const int height = line > 0 ? (fits ? 1 : 2) * fontMetrics().height() + 6 : 0;
    if (line > 0)
        header_->setText(QStringLiteral("%1%2<a href=\"main\">%3</a>")
                             .arg(name.toHtmlEscaped(), fits ? QStringLiteral("　") : QStringLiteral("<br>"),
                                  back.toHtmlEscaped()));
    header_->setVisible(line > 0);
    header_->setGeometry(frame, frame, width() - 2 * frame, height);
    if (viewportMargins().top() != height) setViewportMargins(0, height, 0, 0);
}

void TKifuList::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    UpdateHeader();
}

bool TKifuList::OnMark(const QPoint& at, int row) const {
    const QListWidgetItem* it = item(row);
    if (it == nullptr || !it->data(kBranchRole).toBool()) return false;
    const QRect rect = visualRect(indexFromItem(it));
    // The icon and the room the style leaves on either side of it.
    return rect.contains(at) && at.x() < rect.left() + iconSize().width() + 8;
}

void TKifuList::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int row = indexAt(at).row();
    const bool mark = event->button() == Qt::LeftButton && OnMark(at, row);
    // The row is chosen first: the board shows the move whose other lines are listed.
    QListWidget::mousePressEvent(event);
    if (!mark) return;
    const std::unique_ptr<QMenu> menu(AlternativesMenu(row, this));
    if (menu) menu->exec(viewport()->mapToGlobal(visualRect(model()->index(row, 0)).bottomLeft()));
}

void TKifuList::contextMenuEvent(QContextMenuEvent* event) {
    if (session_ == nullptr) return;
    const int row = indexAt(viewport()->mapFrom(this, event->pos())).row();
    QMenu menu(this);
    if (QMenu* lines =
            row >= 0 && item(row)->data(kBranchRole).toBool() ? AlternativesMenu(row, &menu) : nullptr) {
        lines->setTitle(tr("変化を選ぶ"));
        menu.addMenu(lines);
    }
    if (session_->Line() > 0)
        connect(menu.addAction(tr("本譜に戻る")), &QAction::triggered, this, [this] { BackToMainLine(); });
    if (!menu.isEmpty()) menu.exec(event->globalPos());
}

QMenu* TKifuList::AlternativesMenu(int n, QWidget* parent) {
    if (session_ == nullptr) return nullptr;
    const std::vector<TGameSession::TAlternative> alternatives = session_->Alternatives(n);
    if (alternatives.size() < 2) return nullptr;
    // The moves are written as the list writes move n, after the moves before it.
    TKifRecord before = session_->LineRecord();
    const TMove own = before.Shown[std::size_t(n - 1)];
    before.Played.resize(std::size_t(n - 1));
    before.Shown.resize(std::size_t(n - 1));
    before.Ending = {};
    before.Variations.clear();
    const QString mover =
        KifMover(before, std::size_t(n - 1)) == Side::Sente ? QStringLiteral("▲") : QStringLiteral("△");
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("AlternativesMenu"));
    for (std::size_t i = 0; i < alternatives.size(); ++i) {
        const TGameSession::TAlternative& alt = alternatives[i];
        TKifRecord r = before;
        QString text;
        if (alt.Shown.Empty()) {
            r.Ending = alt.End;
            text = QString::fromStdString(KifEndText(r));
        } else {
            r.Played.push_back(alt.Shown);
            r.Shown.push_back(alt.Shown);
            text = mover + QString::fromStdString(KifMoveTexts(r).back());
        }
        text += QStringLiteral("　") + (alt.Line == 0 ? tr("本譜") : tr("変化 %1").arg(alt.Line));
        // The shown line's own move may be its parent's (it branches off later) or its own (it
        // branches off here): choosing it stays on the line shown.
        const bool shown = alt.Shown.From == own.From && alt.Shown.To == own.To && !alt.Shown.Empty();
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(shown);
        action->setData(alt.Line);
        const int line = shown ? session_->Line() : alt.Line;
        connect(action, &QAction::triggered, this, [this, line, n] { ChooseLine(line, n); });
    }
    return menu;
}

void TKifuList::ChooseLine(int line, int n) {
    if (session_ == nullptr) return;
    session_->EnterLine(line, n);
    Refresh();
}

void TKifuList::BackToMainLine() {
    if (session_ == nullptr || session_->Line() == 0) return;
    // Past the move where the shown line leaves the main line, the main line's position at the same
    // number is another one: the last position both share is shown.
    const std::vector<TMove> shown = session_->LineRecord().Shown;
    const std::vector<TMove> main = session_->KifRecord().Shown;
    const auto shared =
        std::mismatch(shown.begin(), shown.end(), main.begin(), main.end()).first - shown.begin();
    ChooseLine(0, std::min(session_->ShownMove(), int(shared)));
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
