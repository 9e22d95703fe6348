// What a record of this game carries beside its moves so that the game can be continued exactly where
// it stood: COM's generator as the game began, and, in the order they happened, the formation picks and
// the take-backs. A taken-back COM think drew random numbers and may have counted formation steps, and
// a formation picked after a take-back to the start keeps the steps counted before, so replaying the
// surviving moves alone would not bring COM back to the state it was in.
#pragma once

#include "board/Move.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One take-back: the human's move and COM's reply that went back, from AtCount moves (the count
// afterwards). Com is empty when COM's think had failed and the human's move went back alone.
struct TKifTakeBack {
    int AtCount = 0;
    TMove Human;
    TMove Com;
    double Seconds = 0; // COM's thinking time for the reply, which COM's total time still counts
    bool operator==(const TKifTakeBack&) const = default;
};

// A formation picked (with no move on the board) or a take-back, in the order of the game.
struct TKifEvent {
    std::string Formation; // not empty: this formation was picked
    TKifTakeBack TakeBack;
    bool operator==(const TKifEvent&) const = default;
};

struct TKifContinuation {
    bool Known = false;     // the record carries it (another program's record does not)
    int FaultLine = 0;      // the first of them that could not be read; the record still replays
    std::uint32_t Seed = 0; // COM's generator as the game began
    std::vector<TKifEvent> Events;
    std::vector<double> ComSeconds; // COM's thinking time for each of its moves in the record
    bool operator==(const TKifContinuation&) const = default;
};

// The "#" lines of a KIF record; other programs pass over them.
std::vector<std::string> ContinuationLines(const TKifContinuation& c);
// True when line is one of them; it is then read into c (a fault is noted in c.FaultLine, never thrown).
bool ReadContinuationLine(std::string_view line, int lineNumber, TKifContinuation& c);
