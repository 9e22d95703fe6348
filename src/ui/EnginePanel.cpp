#include "ui/EnginePanel.h"

#include "ui/BoardView.h"
#include "ui/Language.h"
#include "ui/RecordFiles.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPolygonF>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

// The engine's socket is looked at this often while it thinks: well within one frame, and each look
// only reads what has already arrived.
constexpr int kPollMs = 10;

const char* const kMissing = QT_TRANSLATE_NOOP(
    "TEnginePanel", "エンジンが見つかりません（Debian のパッケージ fairy-stockfish を入れてください）");

QString MissingText() {
    return QCoreApplication::translate("TEnginePanel", kMissing);
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The panel

TEnginePanel::TEnginePanel(TBoardView& board, QWidget* area, QStatusBar& bar, TRecordFiles& records)
    : QObject(area), board_(board), bar_(bar), records_(records) {
    // After the window's own handler of the move, which has asked the opponent by then.
    connect(&board, &TBoardView::moveRequested, this, &TEnginePanel::TurnStarted);
    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &TEnginePanel::Poll);
    arrow_ = new TBoardArrows(board, area, QStringLiteral("HintArrow"));
    seat_.Restarted = [this](const std::string& message) { bar_.showMessage(Text(message), 8000); };
}

// The session goes first (the window holds it after this), and with it any reply still awaited.
TEnginePanel::~TEnginePanel() = default;

std::unique_ptr<TGameSession> TEnginePanel::NewSession(ISessionView& view) {
    TSessionHooks hooks;
    hooks.Engine = &seat_;
    auto session = std::make_unique<TGameSession>(view, hooks);
    session_ = session.get();
    return session;
}

void TEnginePanel::AddMenuItems(QMenu* game) {
    QMenu* menu = game->addMenu(QString());
    Language::SetText(menu, "TEnginePanel", QT_TR_NOOP("対戦相手"));
    menu->setObjectName(QStringLiteral("OpponentMenu"));
    menu->setToolTipsVisible(true);
    auto* group = new QActionGroup(menu);
    for (int level = 0; level < int(opponentActions_.size()); ++level) {
        QAction* action = menu->addAction(QString());
        action->setCheckable(true);
        action->setChecked(level == 0);
        group->addAction(action);
        if (level > 0 && !Installed()) {
            action->setEnabled(false);
            Language::SetToolTip(action, "TEnginePanel", kMissing);
        }
        connect(action, &QAction::triggered, this, [this, level] { PickOpponent(level); });
        opponentActions_[std::size_t(level)] = action;
    }
    Retranslate();
    hintAction_ = game->addAction(QString());
    Language::SetText(hintAction_, "TEnginePanel", QT_TR_NOOP("ヒント"));
    hintAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    game->setToolTipsVisible(true);
    if (!Installed()) {
        hintAction_->setEnabled(false);
        Language::SetToolTip(hintAction_, "TEnginePanel", kMissing);
    }
    connect(hintAction_, &QAction::triggered, this, &TEnginePanel::AskHint);
}

void TEnginePanel::Retranslate() {
    for (std::size_t level = 0; level < opponentActions_.size(); ++level)
        if (opponentActions_[level] != nullptr)
            opponentActions_[level]->setText(level == 0 ? tr("標準COM") : tr("エンジン Lv%1").arg(level));
}

int TEnginePanel::Opponent() const {
    if (session_ == nullptr) return 0;
    const TSeats& seats = session_->NextSeats();
    const TSeat& seat = seats[seats[Side::Gote].Computer() ? Side::Gote : Side::Sente];
    return seat.Kind == SeatKind::Engine ? seat.Level : 0;
}

void TEnginePanel::ShowOpponent() {
    const int level = Opponent();
    if (opponentActions_[std::size_t(level)] != nullptr)
        opponentActions_[std::size_t(level)]->setChecked(true);
}

bool TEnginePanel::PickOpponent(int level) {
    bool allowed = (level == 0 || Installed()) && session_ != nullptr && !session_->ReplyPending();
    if (allowed) {
        const TSeats& seats = session_->NextSeats();
        const Side side = seats[Side::Gote].Computer() ? Side::Gote : Side::Sente;
        allowed =
            session_->ChangeSeat(side, level == 0 ? TSeat::Com(session_->Formation()) : TSeat::Engine(level));
        // Started now, so that the first reply does not wait for the engine to load.
        if (allowed && level > 0) seat_.Warm();
    }
    ShowOpponent();
    return allowed;
}

void TEnginePanel::AskHint() {
    if (!Installed()) {
        bar_.showMessage(MissingText(), 8000);
        return;
    }
    // The computer about to move, or thinking, has the engine's attention and the position.
    if (session_ == nullptr || session_->ComputerToMove() || session_->ReplyPending() || seat_.Busy()) return;
    // The position shown, wherever it is: the game's latest, a look back, a replay's.
    const TKyokumen shown = session_->ShownPosition();
    TMoveList legal;
    LegalMoves(shown, SideToMove(shown), legal);
    if (legal.IsEmpty()) {
        bar_.showMessage(tr("ヒント: なし"), 8000);
        return;
    }
    hintAsked_ = true;
    hintForGame_ = session_->HumanToMove();
    bar_.showMessage(tr("考え中…"));
    seat_.Ask(shown, shown.ComToMove, {legal.begin(), legal.end()}, kHintLevel,
              [this](const TEngineStatus& s, const TEngineProposal& p) { ShowHint(s, p); });
    if (seat_.Busy()) timer_->start();
}

void TEnginePanel::ShowHint(const TEngineStatus& status, const TEngineProposal& hint) {
    hintAsked_ = false;
    bar_.clearMessage();
    if (!status) {
        bar_.showMessage(tr("ヒント: エンジンが故障しました（%1）").arg(Text(status.Message)), 8000);
        return;
    }
    if (!hint.Found) {
        bar_.showMessage(tr("ヒント: なし"), 8000);
        return;
    }
    hint_ = hint;
    // Only a hint for the move about to be played goes beside it in the record.
    if (hintForGame_) session_->NoteHint(HintComment(hint));
    bar_.showMessage(Text(HintText(hint, session_->Viewer())));
    arrow_->SetArrows({{hint.Move, QColor(20, 100, 230, 180)}});
}

bool TEnginePanel::HintShown() const {
    return !arrow_->isHidden();
}

void TEnginePanel::TurnStarted() {
    if (!seat_.Busy()) return;
    bar_.showMessage(tr("考え中…"));
    timer_->start();
}

void TEnginePanel::TurnFinished() {
    bar_.clearMessage();
    records_.NoteKeeping();
}

void TEnginePanel::BoardChanged() {
    // A hint belongs to the position it was asked in.
    if (hintAsked_) {
        hintAsked_ = false;
        seat_.Cancel();
    }
    arrow_->hide();
    if (!seat_.Busy()) bar_.clearMessage();
    // A search dropped here or by the session (a new game, a record opened) still owes its last answer.
    if (!seat_.Quiet()) timer_->start();
}

void TEnginePanel::Poll() {
    seat_.Poll();
    if (seat_.Quiet()) timer_->stop();
}
