#include "ui/SeatsDialog.h"

#include "session/GameSession.h"
#include "ui/Language.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

// The player list's entries: 0 the person, 1 COM, then the engine's levels from Lv1.
int PlayerIndex(const TSeat& seat) {
    switch (seat.Kind) {
    case SeatKind::Human:
        return 0;
    case SeatKind::Com:
        return 1;
    case SeatKind::Engine:
        return 1 + seat.Level;
    }
    return 0;
}

} // namespace

TSeatsDialog::TSeatsDialog(const TGameSetup& setup, bool engine, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SeatsDialog"));
    setWindowTitle(tr("対局の設定"));
    auto* form = new QFormLayout;
    const char* sides[2] = {QT_TR_NOOP("先手"), QT_TR_NOOP("後手")};
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        TRow& row = rows_[i];
        row.Player = new QComboBox(this);
        row.Player->setObjectName(i == 0 ? QStringLiteral("SentePlayer") : QStringLiteral("GotePlayer"));
        row.Player->addItem(tr("あなた"));
        row.Player->addItem(tr("標準COM"));
        for (int level = 1; level <= kEngineLevelCount; ++level)
            row.Player->addItem(tr("エンジン Lv%1").arg(level));
        if (!engine) {
            // Without the engine its levels are shown but cannot be picked.
            auto* model = static_cast<QStandardItemModel*>(row.Player->model());
            for (int level = 1; level <= kEngineLevelCount; ++level)
                model->item(1 + level)->setEnabled(false);
        }
        row.Formation = new QComboBox(this);
        row.Formation->setObjectName(i == 0 ? QStringLiteral("SenteFormation")
                                            : QStringLiteral("GoteFormation"));
        for (std::string_view name : kFormationList) {
            const QString source = QString::fromUtf8(name.data(), qsizetype(name.size()));
            row.Formation->addItem(Language::FormationName(source), source);
        }
        auto* line = new QHBoxLayout;
        line->addWidget(row.Player, 1);
        line->addWidget(row.Formation, 1);
        form->addRow(tr(sides[i]), line);
        connect(row.Player, &QComboBox::currentIndexChanged, this, &TSeatsDialog::UpdateRows);
    }
    start_ = new QComboBox(this);
    start_->setObjectName(QStringLiteral("StartKind"));
    start_->addItem(tr("平手"));
    start_->addItem(tr("飛車角落ち（先手が飛車角なし）"));
    // The position the game on the board was set up from, to play it again with other seats.
    if (setup.Start == KifStart::Edited) start_->addItem(tr("編集した局面"));
    edited_ = setup.Edited;
    form->addRow(tr("開始局面"), start_);
    pace_ = new QComboBox(this);
    pace_->setObjectName(QStringLiteral("Pace"));
    pace_->addItem(tr("すぐに"));
    pace_->addItem(tr("0.5秒ごと"));
    pace_->addItem(tr("1秒ごと"));
    pace_->addItem(tr("2秒ごと"));
    form->addRow(tr("観戦の速さ"), pace_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("対局開始"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* note =
        new QLabel(tr("平手で初期化・飛車角落ちで初期化は、この対局者で新しい対局を始めます。"), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(buttons);
    Show(setup);
}

void TSeatsDialog::Show(const TGameSetup& setup) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const TSeat& seat = setup.Seats.Of[i];
        rows_[i].Player->setCurrentIndex(PlayerIndex(seat));
        const int formation = rows_[i].Formation->findData(QString::fromStdString(seat.Formation));
        rows_[i].Formation->setCurrentIndex(std::max(formation, 0));
    }
    start_->setCurrentIndex(setup.Start == KifStart::Handicap ? 1 : setup.Start == KifStart::Edited ? 2 : 0);
    int pace = 0;
    for (std::size_t i = 0; i < kPacesMs.size(); ++i)
        if (kPacesMs[i] == setup.PaceMs) pace = int(i);
    pace_->setCurrentIndex(pace);
    UpdateRows();
}

void TSeatsDialog::UpdateRows() {
    bool watching = true;
    for (const TRow& row : rows_) {
        row.Formation->setEnabled(row.Player->currentIndex() == 1);
        watching = watching && row.Player->currentIndex() != 0;
    }
    pace_->setEnabled(watching);
}

TGameSetup TSeatsDialog::Setup() const {
    TGameSetup setup;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int player = rows_[i].Player->currentIndex();
        const std::string formation = rows_[i].Formation->currentData().toString().toStdString();
        setup.Seats.Of[i] = player == 0   ? TSeat::Human()
                            : player == 1 ? TSeat::Com(formation)
                                          : TSeat::Engine(player - 1);
    }
    const int start = start_->currentIndex();
    setup.Start = start == 1 ? KifStart::Handicap : start == 2 ? KifStart::Edited : KifStart::Even;
    if (setup.Start == KifStart::Edited) setup.Edited = edited_;
    setup.PaceMs = kPacesMs[std::size_t(std::max(pace_->currentIndex(), 0))];
    return setup;
}
