// A move: from-square, to-square and a piece name. Its text form is "8384com歩".
#pragma once

#include "board/Coma.h"
#include "board/Square.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct TMove {
    std::uint8_t From = 0;
    std::uint8_t To = 0;
    PieceName Name = PieceName::Empty;

    // The empty move text.
    bool Empty() const { return Name == PieceName::Empty; }
    int FromFile() const { return FileOf(From); }
    int FromRank() const { return RankOf(From); }
    int ToFile() const { return FileOf(To); }
    int ToRank() const { return RankOf(To); }
    bool operator==(const TMove&) const = default;
};

// "FFTT" + name; the empty text for the empty move.
std::string MoveText(const TMove& m);

// Parses a move text. Throws std::invalid_argument with a message naming the fault for a text that is
// shorter than five characters, has non-digit or off-board squares, or names none of the 28 pieces.
// The empty text gives the empty move.
TMove ParseMoveText(std::string_view text);

// Two-digit square text ("76").
std::string SquareText(int sq);

// A move list of fixed capacity: generation, copying and the searches never allocate.
struct TMoveList {
    static constexpr int kCapacity = 320;
    std::array<TMove, kCapacity> Items{};
    int Count = 0;

    void Clear() { Count = 0; }
    void Add(const TMove& m) {
        if (Count < kCapacity) Items[Count++] = m;
    }
    bool Contains(const TMove& m) const {
        for (int i = 0; i < Count; ++i)
            if (Items[i] == m) return true;
        return false;
    }
    const TMove& operator[](int i) const { return Items[i]; }
    TMove& operator[](int i) { return Items[i]; }
    const TMove* begin() const { return Items.data(); }
    const TMove* end() const { return Items.data() + Count; }
    int Size() const { return Count; }
    bool IsEmpty() const { return Count == 0; }
};
