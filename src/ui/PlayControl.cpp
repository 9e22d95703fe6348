#include "ui/PlayControl.h"

#include "ui/BoardView.h"
#include "ui/Dialogs.h"
#include "ui/Language.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTimer>

namespace {

const char* const kSeatsKey = "game/seats";
const char* const kPaceKey = "game/pace";
const char* const kMoverAtBottomKey = "view/moverAtBottom";

// The watchdog's period: a tick that comes much later than this means the loop was busy.
constexpr int kWatchdogMs = 5;

} // namespace

TPlayControl::TPlayControl(TBoardView& board, IDialogs& dialogs, QObject* parent)
    : QObject(parent), board_(board), dialogs_(dialogs) {
    driver_ = new QTimer(this);
    driver_->setSingleShot(true);
    connect(driver_, &QTimer::timeout, this, &TPlayControl::Drive);
    watchdog_ = new QTimer(this);
    watchdog_->setInterval(kWatchdogMs);
    connect(watchdog_, &QTimer::timeout, this, [this] {
        if (sinceTick_.isValid()) longestStall_ = std::max(longestStall_, sinceTick_.elapsed() - kWatchdogMs);
        sinceTick_.restart();
    });
    const QSettings settings;
    moverAtBottom_ = settings.value(QString::fromLatin1(kMoverAtBottomKey), false).toBool();
    const int pace = settings.value(QString::fromLatin1(kPaceKey), setup_.PaceMs).toInt();
    for (int offered : kPacesMs)
        if (offered == pace) setup_.PaceMs = pace;
    if (const std::optional<TSeats> seats =
            ParseSeatsText(settings.value(QString::fromLatin1(kSeatsKey)).toString().toStdString()))
        setup_.Seats = *seats;
}

void TPlayControl::Attach(TGameSession& session, bool engineInstalled) {
    session_ = &session;
    engine_ = engineInstalled;
    // Seats kept with an engine that is no longer installed fall back to COM.
    for (TSeat& seat : setup_.Seats.Of)
        if (seat.Kind == SeatKind::Engine && !engine_) seat = TSeat::Com(seat.Formation);
    session.SetSeats(setup_.Seats);
}

void TPlayControl::StartKeptGame() {
    if (session_ == nullptr) return;
    // The start selected the list's first formation: the kept seats bring their own again.
    session_->SetSeats(setup_.Seats);
    if (session_->Seats() == setup_.Seats) return;
    session_->NewGame();
}

void TPlayControl::AddGameMenuItems(QMenu* game) {
    QAction* settings = game->addAction(QString());
    Language::SetText(settings, "TPlayControl", QT_TR_NOOP("対局の設定…"));
    settings->setObjectName(QStringLiteral("SeatsAction"));
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(settings, &QAction::triggered, this, &TPlayControl::OnSettingsClick);
    pauseAction_ = game->addAction(QString());
    Language::SetText(pauseAction_, "TPlayControl", QT_TR_NOOP("一時停止"));
    pauseAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(pauseAction_, &QAction::triggered, this, [this] { SetPaused(true); });
    resumeAction_ = game->addAction(QString());
    Language::SetText(resumeAction_, "TPlayControl", QT_TR_NOOP("再開"));
    resumeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    connect(resumeAction_, &QAction::triggered, this, [this] { SetPaused(false); });
    UpdateActions();
}

void TPlayControl::AddViewMenuItems(QMenu* view) {
    turnAction_ = view->addAction(QString());
    Language::SetText(turnAction_, "TPlayControl", QT_TR_NOOP("盤面反転"));
    turnAction_->setCheckable(true);
    turnAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(turnAction_, &QAction::toggled, this, &TPlayControl::SetTurned);
    moverAction_ = view->addAction(QString());
    Language::SetText(moverAction_, "TPlayControl", QT_TR_NOOP("手番側を手前に"));
    moverAction_->setCheckable(true);
    moverAction_->setChecked(moverAtBottom_);
    connect(moverAction_, &QAction::toggled, this, &TPlayControl::SetMoverAtBottom);
}

void TPlayControl::OnSettingsClick() {
    if (session_ == nullptr) return;
    TGameSetup setup = setup_;
    setup.Start = session_->HisyaKakuMode() ? KifStart::Handicap : KifStart::Even;
    if (session_->StartKind() == KifStart::Edited) {
        setup.Start = KifStart::Edited;
        setup.Edited = session_->EditedStart();
    }
    if (!dialogs_.GameSetup(setup, engine_)) return;
    StartGame(setup);
}

void TPlayControl::StartGame(const TGameSetup& setup) {
    if (session_ == nullptr) return;
    setup_ = setup;
    Keep();
    session_->SetSeats(setup.Seats);
    paused_ = false;
    if (setup.Start == KifStart::Edited)
        session_->NewGameFrom(setup.Edited); // the game on the board began there: it passed the checks
    else if (setup.Start == KifStart::Handicap)
        session_->NewHandicapGame();
    else
        session_->NewGame();
    Changed();
}

void TPlayControl::Keep() const {
    QSettings settings;
    settings.setValue(QString::fromLatin1(kSeatsKey), QString::fromStdString(SeatsText(setup_.Seats)));
    settings.setValue(QString::fromLatin1(kPaceKey), setup_.PaceMs);
}

void TPlayControl::SetPaused(bool on) {
    paused_ = on && Watching();
    UpdateActions();
    Changed();
}

void TPlayControl::SetTurned(bool on) {
    turned_ = on;
    if (turnAction_ != nullptr && turnAction_->isChecked() != on) turnAction_->setChecked(on);
    Orient();
}

void TPlayControl::SetMoverAtBottom(bool on) {
    moverAtBottom_ = on;
    if (moverAction_ != nullptr && moverAction_->isChecked() != on) moverAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kMoverAtBottomKey), on);
    Orient();
}

void TPlayControl::SeatsChanged(const TSeats& seats) {
    (void)seats;
    // Each game starts with the person's pieces at the bottom.
    if (turned_) SetTurned(false);
    paused_ = false;
    Orient();
    UpdateActions();
    Changed();
}

// The board faces the person who plays (the second player's pieces at the bottom for one who plays
// second); between two people, with 手番側を手前に, the side to move; 盤面反転 turns it the other way.
void TPlayControl::Orient() {
    if (session_ == nullptr) return;
    const TSeats& seats = session_->Seats();
    bool gote = seats.LoneHuman() == Side::Gote;
    if (seats.Humans() == 2 && moverAtBottom_) gote = session_->ShownPosition().ComToMove;
    board_.SetFlipped(gote != turned_);
}

void TPlayControl::UpdateActions() {
    const bool watching = Watching();
    if (pauseAction_ != nullptr) pauseAction_->setEnabled(watching && !paused_);
    if (resumeAction_ != nullptr) resumeAction_->setEnabled(watching && paused_);
}

void TPlayControl::Changed() {
    if (session_ == nullptr) return;
    // A formation picked in the list, or an opponent in the menu, is the seats' from then on.
    if (!(session_->NextSeats() == setup_.Seats)) {
        setup_.Seats = session_->NextSeats();
        Keep();
    }
    Orient();
    UpdateActions();
    const bool watching = Watching();
    if (watching && !watchdog_->isActive()) {
        sinceTick_.invalidate();
        watchdog_->start();
    } else if (!watching) {
        watchdog_->stop();
    }
    if (!session_->ComputerToMove() || (paused_ && watching)) {
        driver_->stop();
        return;
    }
    // A computer that answers a person's move does so at once; one that answers a computer, at the pace.
    if (!driver_->isActive()) driver_->start(watching && session_->MoveCount() > 0 ? setup_.PaceMs : 0);
}

void TPlayControl::Drive() {
    if (session_ == nullptr || !session_->ComputerToMove() || (paused_ && Watching())) return;
    session_->Go();
    Changed();
}
