// Internal to the rules engine: the rebuilt maps of recent boards and the moves between them.
//
// A board number names everything a rebuild of the maps reads: the board, the piece indices and
// values by square, and each piece's square, capture, value and promotion. ApplyMove hands out a fresh
// number unless it plays a move it has played before from the same board, which leads to the same
// board again; UndoMove gives back the number of the board before the move when it checked that the
// take-back restored that board. The maps of a board can then be taken from the cache. Boards on which
// COM's king has been taken are never cached: a rebuild there leaves the king's flight flag as the
// earlier boards had it.
#pragma once

#include "board/Kyokumen.h"

#include <array>
#include <cstdint>

// The rebuilt maps and sums of one board, in a compact form that keeps the cache small: counts fit a
// byte (at most one per piece and square), and the king zones follow from the kings' squares.
// SaveMaps writes every member, so a slot is left as raw memory until a board is saved in it.
struct TKyokumen::TMapState {
    std::array<std::uint8_t, kMapSize> SenteAttacks;
    std::array<std::uint8_t, kMapSize> GoteAttacks;
    std::array<int, 40> ThreatSums; // the human's pieces, then COM's
    int SenteLost, SenteThreatened, SenteHanging;
    int GoteLost, GoteThreatened, GoteHanging;
    int OverCoverage, KingZonePressure, KingZoneGuard;
    bool ComKingNoFlight;
    bool ComKingSafe;
};

struct TKyokumen::TMapCache {
    // A move played from one board that led to another.
    struct Transition {
        std::uint64_t Before = 0;
        std::uint64_t After = 0;
        TMove Move;
    };
    // What a take-back must find to give back the board before the move: the board after the move,
    // the same move record, and everything the move changed put back as it was.
    struct UndoRecord {
        std::uint64_t Before = 0;
        std::uint64_t After = 0;
        TMove Record;
        PieceName BoardFrom = PieceName::Empty, BoardTo = PieceName::Empty;
        int PieceAtFrom = -1, PieceAtTo = -1, ValueAtFrom = -1, ValueAtTo = -1;
        int MoverPromotedAt = 0, MoverValue = 0;
        bool VictimCaptured = false;
    };

    static constexpr std::size_t kStates = 256;       // direct-mapped by board number
    static constexpr std::size_t kTransitions = 1024; // direct-mapped by board number and move
    static constexpr int kUndoDepth = 64;             // a ring: the oldest records give way

    // The board number each state slot holds (0: none). The slots themselves are not cleared: every copy
    // of a position allocates a cache, and clearing a hundred kilobytes each time showed in every probe.
    std::array<std::uint64_t, kStates> StateSerials{};
    std::array<TMapState, kStates> States;
    std::array<Transition, kTransitions> Transitions{};
    std::array<UndoRecord, kUndoDepth> Undo{};
    int UndoCount = 0;

    TMapState* FindState(std::uint64_t serial) {
        const std::size_t i = serial % kStates;
        return StateSerials[i] == serial ? &States[i] : nullptr;
    }
    // The slot for board `serial`, from now on found under that number: the caller fills it at once.
    TMapState& StateSlot(std::uint64_t serial) {
        const std::size_t i = serial % kStates;
        StateSerials[i] = serial;
        return States[i];
    }

    static std::size_t TransitionSlot(std::uint64_t before, const TMove& m) {
        const std::uint64_t key =
            (before << 24 | std::uint64_t(m.From) << 16 | std::uint64_t(m.To) << 8 | std::uint64_t(m.Name)) *
            0x9E3779B97F4A7C15ull;
        static_assert(kTransitions == std::size_t(1) << 10);
        return std::size_t(key >> 54); // the top ten bits
    }
    const Transition* FindTransition(std::uint64_t before, const TMove& m) const {
        const Transition& t = Transitions[TransitionSlot(before, m)];
        return t.Before == before && t.Move == m ? &t : nullptr;
    }
    void AddTransition(std::uint64_t before, const TMove& m, std::uint64_t after) {
        Transitions[TransitionSlot(before, m)] = {before, after, m};
    }

    UndoRecord& PushUndo() { return Undo[std::size_t(UndoCount++ % kUndoDepth)]; }
    UndoRecord* TopUndo() {
        return UndoCount > 0 ? &Undo[std::size_t((UndoCount - 1) % kUndoDepth)] : nullptr;
    }
    void PopUndo() { --UndoCount; }
    void ClearUndo() { UndoCount = 0; }
};
