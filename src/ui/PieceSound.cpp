#include "ui/PieceSound.h"

#include "ui/Language.h"

#include <QAction>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QMenu>
#include <QSettings>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

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

// The stream is paused this long after the last knock has sounded: a game goes on knocking within it,
// and a game left alone lets the sound device rest. (Paused, not closed: a stream closed and opened
// again on the same sink stays silent with some sound servers.)
constexpr int kIdleMs = 2000;
// What the device holds ahead of what it plays: a knock is heard this much after its piece lands.
constexpr int kBufferMs = 60;

// The format and the samples of a WAVE file of 16-bit PCM; false for anything else.
bool ReadWave(const QByteArray& file, QAudioFormat& format, QByteArray& samples) {
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") return false;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(file.constData() + at + 4);
        const qsizetype body = at + 8;
        if (size > file.size() - body) return false;
        if (id == "fmt " && size >= 16) {
            const auto* f = reinterpret_cast<const uchar*>(file.constData() + body);
            const int encoding = qFromLittleEndian<quint16>(f);
            const int channels = qFromLittleEndian<quint16>(f + 2);
            const int rate = int(qFromLittleEndian<quint32>(f + 4));
            const int bits = qFromLittleEndian<quint16>(f + 14);
            if (encoding != 1 || bits != 16 || channels < 1 || rate <= 0) return false;
            format.setSampleRate(rate);
            format.setChannelCount(channels);
            format.setSampleFormat(QAudioFormat::Int16);
            haveFormat = true;
        } else if (id == "data") {
            samples = file.mid(body, size);
        }
        at = body + size + (size & 1);
    }
    return haveFormat && !samples.isEmpty() && samples.size() % (2 * format.channelCount()) == 0;
}

} // namespace

// The knock for the device: its samples from each moment a knock was struck, silence everywhere else,
// without end, so that the device never runs dry and plays a knock as soon as it has been struck.
class TKnockStream : public QIODevice {
public:
    explicit TKnockStream(const QByteArray& samples) {
        samples_.resize(std::size_t(samples.size()) / sizeof(qint16));
        std::memcpy(samples_.data(), samples.constData(), samples_.size() * sizeof(qint16));
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    void Strike() {
        const std::lock_guard lock(mutex_);
        voices_.push_back(0);
    }
    // No knock is sounding.
    bool Quiet() const {
        const std::lock_guard lock(mutex_);
        return voices_.empty();
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return std::numeric_limits<int>::max(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const std::size_t count = std::size_t(std::max<qint64>(0, maxSize)) / sizeof(qint16);
        std::vector<int> mix(count, 0);
        {
            const std::lock_guard lock(mutex_);
            for (std::size_t& at : voices_)
                for (std::size_t i = 0; i < count && at < samples_.size(); ++i) mix[i] += samples_[at++];
            std::erase_if(voices_, [this](std::size_t at) { return at >= samples_.size(); });
        }
        for (std::size_t i = 0; i < count; ++i) {
            const auto sample = qint16(std::clamp(mix[i], -32768, 32767));
            std::memcpy(data + i * sizeof(qint16), &sample, sizeof sample);
        }
        return qint64(count * sizeof(qint16));
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::vector<qint16> samples_;
    // Where each knock struck and not yet over has got to in the samples. The device may read from a
    // thread of its own.
    std::vector<std::size_t> voices_;
    mutable std::mutex mutex_;
};

TPieceSound::TPieceSound(QObject* parent)
    : QObject(parent), idle_(new QTimer(this)), spacer_(new QTimer(this)) {
    enabled_ = QSettings().value(QString::fromLatin1(kSoundKey), true).toBool();
    idle_->setSingleShot(true);
    connect(idle_, &QTimer::timeout, this, [this] {
        if (!stream_ || !stream_->Quiet()) return idle_->start(kIdleMs);
        if (sink_) sink_->suspend();
    });
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

// The sink goes before the stream it reads.
TPieceSound::~TPieceSound() {
    sink_.reset();
}

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
    // No device, no sound and no word about it: the knock is a nicety, never a reason for a box.
    if (noDevice_) return;
    if (!stream_ && !OpenStream()) {
        noDevice_ = true;
        return;
    }
    stream_->Strike();
    if (!sink_) {
        // The default device of the moment: one that went away is replaced at the next knock.
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format_);
        sink_->setBufferSize(format_.bytesForDuration(qint64(kBufferMs) * 1000));
    }
    if (sink_->state() == QAudio::StoppedState)
        sink_->start(stream_.get());
    else if (sink_->state() == QAudio::SuspendedState)
        sink_->resume();
    if (sink_->error() != QAudio::NoError) {
        sink_.reset();
        return;
    }
    idle_->start(kIdleMs);
}

bool TPieceSound::OpenStream() {
    if (!HasSoundDevice()) return false;
    QFile file(QStringLiteral(":/mirutoa/knock.wav"));
    QByteArray samples;
    if (!file.open(QIODevice::ReadOnly) || !ReadWave(file.readAll(), format_, samples)) return false;
    if (!QMediaDevices::defaultAudioOutput().isFormatSupported(format_)) return false;
    stream_ = std::make_unique<TKnockStream>(samples);
    return true;
}
