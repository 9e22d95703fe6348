// What a record of this game carries beside its moves so that the game can be continued exactly where
// it stood: COM's generator as the game began, and, in the order they happened, the formation picks and
// the take-backs. A taken-back COM think drew random numbers and may have counted formation steps, and
// a formation picked after a take-back to the start keeps the steps counted before, so replaying the
// surviving moves alone would not bring COM back to the state it was in. What the game itself wrote is
// checked as it is read (a formation COM knows, thinking times of at most a day), and the generator's
// state at the record's end lets playing on tell a seed changed by hand.
#pragma once

#include "board/Move.h"

#include <cstdint>
#include <optional>
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

// The longest thinking time a record may give for one COM move. COM's own look-ahead stops after
// 8 seconds and the engine answers within its move time, so a day is far beyond any think; a larger
// value (1e30, inf) was written by hand and would swamp COM's total time.
inline constexpr double kKifMaxComSeconds = 24 * 60 * 60;

struct TKifContinuation {
    bool Known = false;     // the record carries it (another program's record does not)
    int FaultLine = 0;      // the first of them that could not be read; the record still replays
    std::uint32_t Seed = 0; // COM's generator as the game began
    std::vector<TKifEvent> Events;
    std::vector<double> ComSeconds; // COM's thinking time for each of its moves in the record
    // COM's generator after the record's last move and any take-back after it. Playing the record
    // again from Seed must end there: a changed seed can leave every COM move as recorded and still
    // give other replies later. Records of earlier versions do not carry it.
    std::optional<std::uint32_t> EndSeed;
    // The lines that held Seed and EndSeed in the text read (0 when not read from a text), for a
    // refusal to name. Where a line stood is no part of what the record says, so it never makes two
    // continuations differ.
    struct TLines {
        int Seed = 0, EndSeed = 0;
        bool operator==(const TLines&) const { return true; }
    } Lines;
    bool operator==(const TKifContinuation&) const = default;
    // Read from a record's text, rather than kept by a game being played.
    bool ReadFromText() const { return Lines.Seed > 0; }
};

// The "#" lines of a KIF record; other programs pass over them.
std::vector<std::string> ContinuationLines(const TKifContinuation& c);
// True when line is one of them; it is then read into c (a fault is noted in c.FaultLine, never thrown):
// an unreadable line, a formation COM does not know, a thinking time that is not 0 to kKifMaxComSeconds.
bool ReadContinuationLine(std::string_view line, int lineNumber, TKifContinuation& c);
