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
    QStringList rows{QStringLiteral("開始局面")};
    for (std::size_t i = 0; i < moves.size(); ++i)
        rows << QStringLiteral("%1 %2%3")
                    .arg(i + 1, 3)
                    .arg(i % 2 == 0 ? QStringLiteral("▲") : QStringLiteral("△"))
                    .arg(QString::fromStdString(moves[i]));
    const std::string end = KifEndText(record);
    if (!end.empty()) rows << QString::fromStdString(end);

    filling_ = true;
    bool same = count() == rows.size();
    for (int i = 0; same && i < rows.size(); ++i) same = item(i)->text() == rows[i];
    if (!same) {
        clear();
        addItems(rows);
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
