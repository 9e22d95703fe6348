// The two twenty-piece sets and the two side records with their maps and sums.
#pragma once

#include "board/Coma.h"
#include "board/Move.h"

#include <array>

// Twenty pieces in index order: 0 and 8 lances, 1 and 7 knights, 2 and 6 silvers, 3 and 5 golds,
// 4 the king, 9 the bishop, 10 the rook, 11..19 the pawns.
struct TComa20mai {
    std::array<TComa, 20> List{};
    static TComa MakePiece(int index, PieceName name, PieceName promotedName, int file, int rank, bool isCom);
};

struct TSente_Coma20mai : TComa20mai {
    TSente_Coma20mai(); // the human's pieces on their start squares
};

struct TGote_Coma20mai : TComa20mai {
    TGote_Coma20mai(); // COM's pieces on their start squares
};

inline constexpr int kKingIndex = 4;
inline constexpr int kBishopIndex = 9;
inline constexpr int kRookIndex = 10;

// The human side (sente).
struct TSente {
    static constexpr std::string_view PlayerName = "あなた";
    TSente_Coma20mai Pieces;
    TMoveList Moves;
    std::array<int, kMapSize> Attacks{};
    int LostMaterial = 0;
    int ThreatenedMaterial = 0;
    int HangingMaterial = 0;
    std::array<int, kMapSize> KingZone{};
    TMove LastMove;

    void SetLastMove(const TMove& m) { LastMove = m; }
};

// COM's KingZoneGuard when the human attacks some square next to COM's king more often than COM
// defends it: the king's side has collapsed, whatever cover COM has elsewhere.
inline constexpr int kKingZoneCollapsed = -500;

// COM's side (gote).
struct TGote {
    static constexpr std::string_view PlayerName = "com";
    TGote_Coma20mai Pieces;
    TMoveList Moves;
    TMoveList RookMoves;
    std::array<int, kMapSize> Attacks{};
    TMove LastMove;
    int OverCoverage = 0;
    std::array<int, kMapSize> KingZone{};
    int KingZonePressure = 0;
    int KingZoneGuard = 0;
    int LostMaterial = 0;
    int ThreatenedMaterial = 0;
    int HangingMaterial = 0;
    bool ComKingSafe = true;

    void SetLastMove(const TMove& m) { LastMove = m; }
};
