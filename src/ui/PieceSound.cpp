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

// The stream is closed this long after the last knock: a game goes on knocking within it, and a game
// left alone lets the sound device rest.
constexpr int kIdleMs = 2000;
// What the device holds ahead of what it plays: a knock is heard this much after its piece lands.
constexpr int kBufferMs = 60;
// Silence before the first knock of a stream just opened: a sound server fades a new stream in, and
// a knock at its very start would be heard faint.
constexpr int kLeadMs = 100;

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
        for (std::size_t i = 0; i < samples_.size(); ++i)
            samples_[i] = qFromLittleEndian<qint16>(samples.constData() + i * sizeof(qint16));
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    // A knock that begins after lead samples of silence.
    void Strike(std::ptrdiff_t lead) {
        const std::lock_guard lock(mutex_);
        voices_.push_back(-lead);
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
            const auto end = std::ptrdiff_t(samples_.size());
            for (std::ptrdiff_t& at : voices_)
                for (std::size_t i = 0; i < count && at < end; ++i, ++at)
                    if (at >= 0) mix[i] += samples_[std::size_t(at)];
            std::erase_if(voices_, [end](std::ptrdiff_t at) { return at >= end; });
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
    // Where each knock struck and not yet over has got to in the samples (below 0: still silent).
    // The device reads from a thread of its own.
    std::vector<std::ptrdiff_t> voices_;
    mutable std::mutex mutex_;
};

// The device's side: the sink that reads the knock stream, made and closed in a thread of its own.
// COM thinks on the window's thread; a sink read from there would run dry in the middle of a knock,
// whose rest would then sound together with the next.
class TKnockPlayer : public QObject {
public:
    TKnockPlayer(const QAudioFormat& format, TKnockStream& stream) : format_(format), stream_(stream) {}

    // In the player's thread, after a knock was struck: a stream opened when none is.
    void Play() {
        // A sink that ran dry once (the machine was busy) goes on by itself; one that failed is made
        // again.
        if (sink_ && sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError)
            sink_.reset();
        if (sink_) return;
        // The default device of the moment: one that went away is replaced at the next stream.
        sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format_);
        sink_->setBufferSize(format_.bytesForDuration(qint64(kBufferMs) * 1000));
        sink_->start(&stream_);
    }
    // In the player's thread: the stream closed. A new sink opens the next one; a sink stopped, or
    // paused, and started again stays silent with some sound servers.
    void Close() { sink_.reset(); }

private:
    QAudioFormat format_;
    TKnockStream& stream_;
    std::unique_ptr<QAudioSink> sink_;
};

TPieceSound::TPieceSound(QObject* parent)
    : QObject(parent), idle_(new QTimer(this)), spacer_(new QTimer(this)) {
    enabled_ = QSettings().value(QString::fromLatin1(kSoundKey), true).toBool();
    idle_->setSingleShot(true);
    connect(idle_, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(
            device_.get(), [player = device_.get()] { player->Close(); }, Qt::QueuedConnection);
        streamOpen_ = false;
    });
    spacer_->setSingleShot(true);
    connect(spacer_, &QTimer::timeout, this, [this] {
        --waiting_;
        Knock();
        if (waiting_ > 0) spacer_->start(kSpacingMs + knockLeadMs_);
    });
    // MIRUTOA_MUTE keeps test runs silent without touching the player's kept choice.
    if (qEnvironmentVariableIsSet("MIRUTOA_MUTE"))
        player_ = [] {};
    else
        player_ = [this] { PlayOnDevice(); };
}

// The sink goes in its own thread, then the thread, then the stream it read.
TPieceSound::~TPieceSound() {
    if (thread_.isRunning()) {
        QMetaObject::invokeMethod(
            device_.get(), [player = device_.get()] { player->Close(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    device_.reset();
    stream_.reset();
}

void TPieceSound::Landed() {
    if (!enabled_) return;
    const qint64 spacing = kSpacingMs + knockLeadMs_;
    if (waiting_ == 0 && (!sinceKnock_.isValid() || sinceKnock_.elapsed() >= spacing)) {
        Knock();
        return;
    }
    if (waiting_ >= kMostWaiting) return;
    ++waiting_;
    if (!spacer_->isActive()) spacer_->start(int(std::max<qint64>(0, spacing - sinceKnock_.elapsed())));
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
    knockLeadMs_ = 0;
    player_();
}

void TPieceSound::PlayOnDevice() {
    // No device, no sound and no word about it: the knock is a nicety, never a reason for a box.
    if (noDevice_) return;
    if (!stream_ && !OpenStream()) {
        noDevice_ = true;
        return;
    }
    // The first knock of a stream waits until the stream has faded in, and the next waits as much
    // longer. The stream's opening and closing are asked in order on the player's thread, so it is
    // new exactly when this side has closed it.
    const bool opening = !streamOpen_;
    streamOpen_ = true;
    knockLeadMs_ = opening ? kLeadMs : 0;
    stream_->Strike(opening ? leadSamples_ : 0);
    QMetaObject::invokeMethod(
        device_.get(), [player = device_.get()] { player->Play(); }, Qt::QueuedConnection);
    idle_->start(kIdleMs);
}

bool TPieceSound::OpenStream() {
    if (!HasSoundDevice()) return false;
    QFile file(QStringLiteral(":/mirutoa/knock.wav"));
    QAudioFormat format;
    QByteArray samples;
    if (!file.open(QIODevice::ReadOnly) || !ReadWave(file.readAll(), format, samples)) return false;
    if (!QMediaDevices::defaultAudioOutput().isFormatSupported(format)) return false;
    stream_ = std::make_unique<TKnockStream>(samples);
    leadSamples_ = std::ptrdiff_t(format.framesForDuration(qint64(kLeadMs) * 1000)) * format.channelCount();
    device_ = std::make_unique<TKnockPlayer>(format, *stream_);
    thread_.setObjectName(QStringLiteral("knock"));
    stream_->moveToThread(&thread_);
    device_->moveToThread(&thread_);
    thread_.start();
    return true;
}
