// The knock of a piece landing on the board (駒音): one short click of wood per landed piece, the
// player's and COM's alike, and the 表示 → 駒音 item that turns it off and on (kept between runs).
// Without a sound device the game stays silent and says nothing about it.
#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSoundEffect;
class QTimer;

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
    std::unique_ptr<QSoundEffect> effect_;
    // Set once no sound device was found, so that the device list is not asked again on every move.
    bool noDevice_ = false;
    QTimer* spacer_ = nullptr;
    QElapsedTimer sinceKnock_;
    int waiting_ = 0;

    void Knock();
    void PlayOnDevice();
};
