// The zone survey: where the pieces of both sides stand, by nine 3 x 3 zones.
#pragma once

#include "board/Sides.h"

#include <array>

// Zones by file group (7-9, 4-6, 1-3 from the left) and rank group:
//   ranks 7-9: 1 2 3,  ranks 4-6: 4 5 6,  ranks 1-3 (COM's home): 7 8 9.
class TFormation {
public:
    const TComa20mai* HumanPieces = nullptr;
    const TComa20mai* ComPieces = nullptr;
    std::array<int, 10> HumanZoneCount{};
    std::array<int, 10> ComZoneCount{};
    int HumanKingZone = 0;
    int ComKingZone = 0;
    int HumanRookZone = 0;
    int ComRookZone = 0;
    int MajorityColumn = 0;

    // Recounts everything from the two piece sets.
    void Survey();
    // Zone 1..9 of a square; 0 for a file or rank outside 1..9.
    static int ZoneOfSquare(int file, int rank);
    // Zone of a file group and a rank group, each 1 (1-3), 2 (4-6) or 3 (7-9).
    static int ZoneOfGroups(int fileGroup, int rankGroup);
    // 4, 5 or 6: which column of zones holds most human pieces in ranks 4-9; ties keep the earlier.
    int ComputeMajorityColumn() const;
};
