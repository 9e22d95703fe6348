// The new game's settings: who plays each side (the person, the built-in COM with its formation, the
// engine at a level), the start, and the pace at which computers' moves come when two of them play.
#pragma once

#include "session/Kif.h"
#include "session/Seats.h"

#include <QDialog>

#include <array>

class QComboBox;

struct TGameSetup {
    TSeats Seats;
    KifStart Start = KifStart::Even;
    int PaceMs = 500;    // a computer's move after a computer's, when nobody plays
    TEditedStart Edited; // the position of an Edited start, which the dialog offers only then
    bool operator==(const TGameSetup&) const = default;
};

// The paces offered, in milliseconds.
inline constexpr std::array<int, 4> kPacesMs = {0, 500, 1000, 2000};

class TSeatsDialog : public QDialog {
    Q_OBJECT
public:
    // engine: whether the engine's levels can be picked.
    TSeatsDialog(const TGameSetup& setup, bool engine, QWidget* parent);
    TGameSetup Setup() const;

private:
    struct TRow {
        QComboBox* Player = nullptr;    // あなた, 標準COM, エンジン Lv1 .. Lv12
        QComboBox* Formation = nullptr; // COM's formation
    };
    std::array<TRow, 2> rows_{};
    QComboBox* start_ = nullptr;
    QComboBox* pace_ = nullptr;
    TEditedStart edited_;

    void Show(const TGameSetup& setup);
    void UpdateRows();
};
