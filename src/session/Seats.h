// Who plays each side of a game: the person at the board, the built-in COM with its formation, or the
// variant engine at one of its levels. The game is judged the same whoever sits where; a seat only
// says who is asked for the side's moves.
#pragma once

#include "board/Legality.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

enum class SeatKind : std::uint8_t { Human, Com, Engine };

struct TSeat {
    SeatKind Kind = SeatKind::Human;
    std::string Formation = "【基本形】"; // COM's formation as the game begins
    int Level = 3;                        // the engine's level, 1 .. kEngineLevelCount
    bool Computer() const { return Kind != SeatKind::Human; }
    bool operator==(const TSeat&) const = default;

    static TSeat Human() { return {}; }
    static TSeat Com(std::string formation = "【基本形】") {
        return {SeatKind::Com, std::move(formation), 3};
    }
    static TSeat Engine(int level) { return {SeatKind::Engine, "【基本形】", level}; }
};

// The engine's levels offered, Lv1 (a beginner beats it) .. Lv12 (far beyond COM). Records of the
// time of five levels name Lv1 .. Lv5, which read as the same numbers of this ladder.
inline constexpr int kEngineLevelCount = 12;
// A level written in digits ("3", "8"); none for anything else or a level out of range.
std::optional<int> EngineLevelFromText(std::string_view text);

// The two seats, by side: [Sente] moves first.
struct TSeats {
    std::array<TSeat, 2> Of{TSeat::Human(), TSeat::Com()};

    TSeat& operator[](Side s) { return Of[std::size_t(s)]; }
    const TSeat& operator[](Side s) const { return Of[std::size_t(s)]; }
    int Humans() const { return !Of[0].Computer() + !Of[1].Computer(); }
    // The game the program was made for: the person first, COM second.
    bool Classic() const { return Of[0].Kind == SeatKind::Human && Of[1].Kind == SeatKind::Com; }
    // The side whose formation the window's list sets: the COM seat, the second one when both are COM;
    // none without a COM seat.
    std::optional<Side> ListedCom() const;
    // The side a lone person plays; none when both or neither seat is a person's.
    std::optional<Side> LoneHuman() const;
    bool operator==(const TSeats&) const = default;
};

// The player's name in a record's header: "あなた", "COM【基本形】" (plainly "COM" without the
// formation), "エンジン Lv3".
std::string SeatRecordName(const TSeat& seat, bool withFormation = true);
// The seat a header name gives, for this game's own names; none for anyone else's.
std::optional<TSeat> SeatFromRecordName(std::string_view name);

// The seats as the record's "#" line holds them ("human com:【基本形】", "engine:3 com:【穴熊】"), and back;
// none for a text that is not two seats.
std::string SeatsText(const TSeats& seats);
std::optional<TSeats> ParseSeatsText(std::string_view text);

// Whether a formation name is one of the fourteen.
bool KnownFormation(std::string_view name);
