#include "ui/PieceSound.h"

#include "ui/Language.h"

#include <QAction>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMenu>
#include <QSettings>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

const char* const kSoundKey = "view/pieceSound";
// Between the starts of two knocks: the knock itself lasts 60 ms, and COM's reply, which lands a
// moment after the player's piece, is heard as a second knock rather than as one blurred click.
constexpr int kSpacingMs = 150;
// Knocks that wait for their turn; a replay key held down lands pieces faster than they can be
// heard, and the knocks beyond these would go on after the key was let go.
constexpr int kMostWaiting = 2;

QtMessageHandler gOuterHandler = nullptr;

// The sound library says on standard error that it found no sound server; to a player without one
// that is noise, so it is held back while the devices are listed. Every other message goes on.
void QuietAboutNoServer(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("PulseAudioService:"))) return;
    if (gOuterHandler != nullptr)
        gOuterHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

bool HasSoundDevice() {
    gOuterHandler = qInstallMessageHandler(QuietAboutNoServer);
    const bool any = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(gOuterHandler);
    return any;
}

} // namespace

TPieceSound::TPieceSound(QObject* parent) : QObject(parent), spacer_(new QTimer(this)) {
    enabled_ = QSettings().value(QString::fromLatin1(kSoundKey), true).toBool();
    spacer_->setSingleShot(true);
    connect(spacer_, &QTimer::timeout, this, [this] {
        --waiting_;
        Knock();
        if (waiting_ > 0) spacer_->start(kSpacingMs);
    });
    // MIRUTOA_MUTE keeps test runs silent without touching the player's kept choice.
    if (qEnvironmentVariableIsSet("MIRUTOA_MUTE"))
        player_ = [] {};
    else
        player_ = [this] { PlayOnDevice(); };
}

TPieceSound::~TPieceSound() = default;

void TPieceSound::Landed() {
    if (!enabled_) return;
    if (waiting_ == 0 && (!sinceKnock_.isValid() || sinceKnock_.elapsed() >= kSpacingMs)) {
        Knock();
        return;
    }
    if (waiting_ >= kMostWaiting) return;
    ++waiting_;
    if (!spacer_->isActive()) spacer_->start(int(std::max<qint64>(0, kSpacingMs - sinceKnock_.elapsed())));
}

void TPieceSound::SetEnabled(bool on) {
    enabled_ = on;
    if (!on) {
        spacer_->stop();
        waiting_ = 0;
    }
    if (action_ != nullptr) action_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kSoundKey), on);
}

void TPieceSound::AddMenuItem(QMenu* menu) {
    action_ = menu->addAction(QString());
    Language::SetText(action_, "TPieceSound", QT_TR_NOOP("駒音"));
    action_->setObjectName(QStringLiteral("PieceSoundItem"));
    action_->setCheckable(true);
    action_->setChecked(enabled_);
    connect(action_, &QAction::toggled, this, &TPieceSound::SetEnabled);
}

void TPieceSound::Knock() {
    sinceKnock_.start();
    player_();
}

void TPieceSound::PlayOnDevice() {
    if (!effect_) {
        // No device, no sound and no word about it: the knock is a nicety, never a reason for a box.
        if (noDevice_) return;
        if (!HasSoundDevice()) {
            noDevice_ = true;
            return;
        }
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl(QStringLiteral("qrc:/mirutoa/knock.wav")));
    }
    effect_->play();
}
