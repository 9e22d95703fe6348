// The knock of a piece landing on the board (駒音): one short click of wood per landed piece, the
// player's and COM's alike, and the 表示 → 駒音 item that turns it off and on (kept between runs).
// The knock is read once and played into one stream of the sound device, from a thread of its own,
// which stays open while knocks come and closes a while after the last; a sound server that is handed a short
// sound on a stream of its own each time starts playing only once the stream's buffer has filled, and drops
// most of them. Without a sound device the game stays silent and says nothing about it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include <cstddef>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QTimer;
class TKnockPlayer;
class TKnockStream;

class TPieceSound : public QObject {
    Q_OBJECT
public:
    // What makes one knock heard; the default plays assets/knock.wav on the default sound device.
    using Player = std::function<void()>;

    explicit TPieceSound(QObject* parent = nullptr);
    ~TPieceSound() override;

    // A piece has landed. Knocks that come faster than one can be heard (COM's reply right after
    // the player's move, two moves of a replay) follow one another a moment apart.
    void Landed();

    bool Enabled() const { return enabled_; }
    // Turns the knock off or on and keeps the choice for the next run.
    void SetEnabled(bool on);
    // Adds the checkable 駒音 item to menu.
    void AddMenuItem(QMenu* menu);
    // Replaces what makes the knock heard (the tests count knocks instead of playing them).
    void SetPlayer(Player player) { player_ = std::move(player); }

private:
    bool enabled_ = true;
    Player player_;
    QAction* action_ = nullptr;
    // The knock's samples, mixed into silence for the device as it asks for them, and the sink that
    // asks, in a thread of its own; made at the first knock.
    std::unique_ptr<TKnockStream> stream_;
    std::unique_ptr<TKnockPlayer> device_;
    QThread thread_;
    // Closes the stream a while after the last knock, so that an idle game keeps no sound stream.
    QTimer* idle_ = nullptr;
    bool streamOpen_ = false;
    // The silence before the first knock of the stream, and how much later than usual the knock
    // after the one just played may come.
    std::ptrdiff_t leadSamples_ = 0;
    int knockLeadMs_ = 0;
    // Set once no sound device was found or the knock could not be read, so that neither is tried
    // again on every move.
    bool noDevice_ = false;
    QTimer* spacer_ = nullptr;
    QElapsedTimer sinceKnock_;
    int waiting_ = 0;

    void Knock();
    void PlayOnDevice();
    bool OpenStream();
};
