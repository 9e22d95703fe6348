// The zone survey: COM reads where the pieces stand, by zone, when it decides where its king goes.
#include "formation/Formation.h"

namespace {

// 1 for 1..3, 2 for 4..6, 3 for 7..9.
constexpr int GroupOf(int value) {
    return (value + 2) / 3;
}

// Adds one piece set to the counts; the king and rook zones come from pieces 4 and 10.
void Count(const TComa20mai* pieces, int i, std::array<int, 10>& zoneCount, int& kingZone, int& rookZone) {
    if (pieces == nullptr) return;
    const TComa& piece = pieces->List[i];
    if (piece.Captured) return;
    const int zone = TFormation::ZoneOfSquare(piece.File, piece.Rank);
    zoneCount[zone] += 1;
    if (i == kKingIndex) kingZone = zone;
    if (i == kRookIndex) rookZone = zone;
}

} // namespace

void TFormation::Survey() {
    HumanZoneCount.fill(0);
    ComZoneCount.fill(0);
    HumanKingZone = 0;
    ComKingZone = 0;
    HumanRookZone = 0;
    ComRookZone = 0;
    MajorityColumn = 0;
    for (int i = 0; i < 20; ++i) {
        Count(HumanPieces, i, HumanZoneCount, HumanKingZone, HumanRookZone);
        Count(ComPieces, i, ComZoneCount, ComKingZone, ComRookZone);
    }
    MajorityColumn = ComputeMajorityColumn();
}

int TFormation::ZoneOfSquare(int file, int rank) {
    if (!OnBoard(file, rank)) return 0;
    return ZoneOfGroups(GroupOf(file), GroupOf(rank));
}

int TFormation::ZoneOfGroups(int fileGroup, int rankGroup) {
    if (fileGroup < 1 || fileGroup > 3 || rankGroup < 1 || rankGroup > 3) return 0;
    // Zone 1 is the human's home on the left (files 7-9, ranks 7-9); zone 9 COM's home on the right.
    return (3 - rankGroup) * 3 + (4 - fileGroup);
}

int TFormation::ComputeMajorityColumn() const {
    // Column 4 is files 7-9, 5 files 4-6, 6 files 1-3; a later column must be strictly larger to win.
    const int sums[3] = {HumanZoneCount[4] + HumanZoneCount[1], HumanZoneCount[5] + HumanZoneCount[2],
                         HumanZoneCount[6] + HumanZoneCount[3]};
    int column = 4;
    int best = sums[0];
    for (int c = 1; c < 3; ++c) {
        if (sums[c] > best) {
            best = sums[c];
            column = 4 + c;
        }
    }
    return column;
}
