#include "ui/KifuList.h"

#include "session/GameSession.h"

#include <algorithm>
#include <exception>

TKifuList::TKifuList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("KifuList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, &TKifuList::OnRowChosen);
}

void TKifuList::Refresh() {
    if (session_ == nullptr) return;
    const TKifRecord record = session_->KifRecord();
    const std::vector<std::string> moves = KifMoveTexts(record);
    // An analysis speaks of the moves it was given: a take-back or a new game leaves it behind.
    const bool analysed = !analysed_.empty() && record.Shown.size() >= analysed_.size() &&
                          std::equal(analysed_.begin(), analysed_.end(), record.Shown.begin());
    QStringList rows{tr("開始局面")};
    for (std::size_t i = 0; i < moves.size(); ++i) {
        QString row = QStringLiteral("%1 %2%3")
                          .arg(i + 1, 3)
                          .arg(KifMover(record, i) == Side::Sente ? QStringLiteral("▲") : QStringLiteral("△"))
                          .arg(QString::fromStdString(moves[i]));
        if (analysed && i < std::size_t(verdicts_.size()) && !verdicts_[qsizetype(i)].isEmpty())
            row += QStringLiteral("　") + verdicts_[qsizetype(i)];
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

void TKifuList::SetVerdicts(const std::vector<TMove>& moves, const QStringList& verdicts) {
    analysed_ = moves;
    verdicts_ = verdicts;
    Refresh();
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
