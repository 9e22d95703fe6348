// The cascade: survival first, then mates and material, then the chosen formation, then general
// development, then chance. The first stage that leaves a move (or a result) ends the think.
#include "com/KyokumenKanri.h"
#include "com/Scores.h"

// In the order of ComStage.
const TKyokumenKanri::Stage TKyokumenKanri::kStages[kComStageCount] = {
    &TKyokumenKanri::Prepare,
    &TKyokumenKanri::DangerScan,
    &TKyokumenKanri::BareKing,
    &TKyokumenKanri::ThreatScan,
    &TKyokumenKanri::EscapeByScan,
    &TKyokumenKanri::CaptureNearKing,
    &TKyokumenKanri::EscapeFromCheck,
    &TKyokumenKanri::EscapeFromCheckAnyway,
    &TKyokumenKanri::MatedInCheck,
    &TKyokumenKanri::MateInOne,
    &TKyokumenKanri::SafeForkingCheck,
    &TKyokumenKanri::CaptureMajorPiece,
    &TKyokumenKanri::RescueRook,
    &TKyokumenKanri::RescueBishop,
    &TKyokumenKanri::KingFlightTo71,
    &TKyokumenKanri::KingFlightTo31,
    &TKyokumenKanri::BestCapture,
    &TKyokumenKanri::HumanKingCanBeTaken,
    &TKyokumenKanri::ContactCheck,
    &TKyokumenKanri::RescueHangingPiece,
    &TKyokumenKanri::EscapeCheaperAttackers,
    &TKyokumenKanri::RookTwoStep,
    &TKyokumenKanri::DefendHangingPawns,
    &TKyokumenKanri::DefendHangingPieces,
    &TKyokumenKanri::AttackMajorPieces,
    &TKyokumenKanri::FormationSteps,
    &TKyokumenKanri::AdvanceAlongRookFile,
    &TKyokumenKanri::CastleByZones,
    &TKyokumenKanri::BalanceStage,
    &TKyokumenKanri::ApproachHumanKing,
    &TKyokumenKanri::AttackWithSmallBonus,
    &TKyokumenKanri::KingZoneWithBonus,
    &TKyokumenKanri::RandomLegalMove,
    &TKyokumenKanri::NothingFound,
};

void TKyokumenKanri::ComThink() {
    st_ = TThinkState{};
    lastStage_ = ComStage::None;
    for (int number = 0; number < kComStageCount; ++number) {
        // Taken out of the table first: GCC 12's bounds sanitizer misreads the index of a member
        // call made straight through the table and stops the sanitizer build.
        const Stage stage = kStages[number];
        if ((this->*stage)()) {
            lastStage_ = ComStage(number);
            break;
        }
    }
    // Every pass takes its candidates back with the position's undo, which leaves the last candidate
    // as COM's last-move record; the think hands back the records it found.
    Kyokumen.Sente.LastMove = st_.KeptHumanLast;
    Kyokumen.Gote.LastMove = st_.KeptComLast;
}

int TKyokumenKanri::ComKingSquare() const {
    return Kyokumen.Gote.Pieces.List[kKingIndex].Square();
}

int TKyokumenKanri::HumanKingSquare() const {
    return Kyokumen.Sente.Pieces.List[kKingIndex].Square();
}

bool TKyokumenKanri::KingSafeAfter() const {
    return Kyokumen.Sente.Attacks[ComKingSquare()] == 0;
}

void TKyokumenKanri::ApplyCandidate(const TMove& m) {
    Kyokumen.ApplyMove(m);
}

void TKyokumenKanri::TakeBackCandidate() {
    Kyokumen.UndoMove(LastMoveRecord());
}

void TKyokumenKanri::ExposureBishop(int& s) const {
    const TComa& bishop = Kyokumen.Gote.Pieces.List[kBishopIndex];
    if (!st_.BishopInDanger && !bishop.Captured && Kyokumen.Sente.Attacks[bishop.Square()] > 0) s = kExcluded;
}

void TKyokumenKanri::ExposureRook(int& s) const {
    const TComa& rook = Kyokumen.Gote.Pieces.List[kRookIndex];
    if (!st_.RookInDanger && !rook.Captured && Kyokumen.Sente.Attacks[rook.Square()] > 0) s = kExcluded;
}

void TKyokumenKanri::RestoreAfterSearch() {
    Kyokumen.GenerateMoves();
    SwitchSide();
    Kyokumen.GenerateMoves();
    SideToMove = 1;
    Kyokumen.ComToMove = true;
    Kyokumen.Sente.LastMove = st_.KeptHumanLast;
    Kyokumen.Gote.LastMove = st_.KeptComLast;
    Kyokumen.ComputeThreats();
}
