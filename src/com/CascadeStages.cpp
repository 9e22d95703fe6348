// The ends of COM's think: the preparation and the searches that guard the king, which come first, and
// the last resort.
#include "com/KyokumenKanri.h"
#include "com/Scores.h"
#include "game/Clock.h"

namespace {
constexpr int kDangerScanMs = 8000; // the only time limit of a think
} // namespace

// The last-move records that every search stage puts back (generation and the maps leave
// them alone, so they are kept first), and fresh move lists and maps for both sides.
bool TKyokumenKanri::Prepare() {
    st_.KeptHumanLast = Kyokumen.Sente.LastMove;
    st_.KeptComLast = Kyokumen.Gote.LastMove;

    // COM can leave its king en prise (the formation steps are chosen without a safety test). Once the
    // human has taken it the game is the human's, and there is nothing left to choose.
    if (Kyokumen.Gote.Pieces.List[kKingIndex].Captured) {
        ComMove = TMove{};
        InCheckFlag = false;
        HumanMatesFlag = true;
        return true;
    }

    ComMove = TMove{};
    InCheckFlag = false;

    SideToMove = 0;
    Kyokumen.ComToMove = false;
    Kyokumen.GenerateMoves();
    SideToMove = 1;
    Kyokumen.ComToMove = true;
    Kyokumen.GenerateMoves();
    Kyokumen.ComputeHumanMaps();
    Kyokumen.ComputeComMaps();
    Kyokumen.ComputeThreats();

    // COM gives up its formation once it has lost material, so the steps never lead it into a lost
    // position.
    if (Kyokumen.Gote.LostMaterial > 10) AbandonFormations();
    return false;
}

// Which COM moves let the human take the king within three plies.
bool TKyokumenKanri::DangerScan() {
    SearchDepth = 0;
    MaxDepth = 3;
    ThreatResult = 0;
    Deadline = DeadlineTickMs() + kDangerScanMs;
    LosingMoves.Clear();
    st_.r = KingDangerSearch(kLoss, kWin);
    st_.LosingAfterDanger = !LosingMoves.IsEmpty();
    RestoreAfterSearch();
    return false;
}

// A COM left with its king alone has lost, whatever it could still capture.
bool TKyokumenKanri::BareKing() {
    int onBoard = 0;
    for (const TComa& piece : Kyokumen.Gote.Pieces.List)
        if (!piece.Captured) ++onBoard;
    if (onBoard != 1) return false;
    ComBareKingFlag = true;
    return true;
}

// Can the human force the capture of COM's king? Only the answer is used.
bool TKyokumenKanri::ThreatScan() {
    st_.r = 0;
    BestRootScore = kLoss;
    SearchDepth = 0;
    MaxDepth = 4;
    ThreatResult = 0;
    if (SideToMove == 1) SwitchSide();
    st_.r = ThreatSearch(kLoss, kWin);
    ComMove = TMove{};
    RestoreAfterSearch();
    return false;
}

// The king is threatened or attacked: play the move that keeps it safe, or that holds out
// longest.
bool TKyokumenKanri::EscapeByScan() {
    if (st_.r != kLoss && Kyokumen.Gote.ThreatenedMaterial <= kMostWithoutKing) return false;
    st_.r = 0;
    BestRootScore = kLoss;
    SearchDepth = 0;
    MaxDepth = 5;
    ThreatResult = 0;
    SideToMove = 1;
    Kyokumen.ComToMove = true;
    st_.r = EscapeSearch(kLoss, kWin);
    RestoreAfterSearch();
    return !ComMove.Empty();
}

// Any move that leaves the king unattacked, drawn at random; as many draws as there are
// moves, so a move may come up twice and another never.
bool TKyokumenKanri::RandomLegalMove() {
    const TMoveList& moves = Kyokumen.Gote.Moves;
    const int count = moves.Size();
    for (int draw = 0; draw < count; ++draw) {
        const TMove m = moves[int(rng_->Below(std::uint32_t(count)))];
        ApplyCandidate(m);
        const bool safe = KingSafeAfter();
        TakeBackCandidate();
        if (safe) {
            ComMove = m;
            return true;
        }
    }
    return false;
}

// No move keeps the king safe.
bool TKyokumenKanri::NothingFound() {
    if (ComMove.Empty()) HumanMatesFlag = true;
    return true;
}
