// The cascade: survival first, then mates and material, then the chosen formation, then general
// development, then chance. The first stage that leaves a move (or a result) ends the think.
#include "com/KyokumenKanri.h"
#include "com/Scores.h"

#include <array>
#include <iterator>
#include <string_view>

// In the order of ComStage.
const TKyokumenKanri::Stage TKyokumenKanri::kStages[kComStageCount] = {
    &Call<&TKyokumenKanri::Prepare>,
    &Call<&TKyokumenKanri::DangerScan>,
    &Call<&TKyokumenKanri::BareKing>,
    &Call<&TKyokumenKanri::ThreatScan>,
    &Call<&TKyokumenKanri::EscapeByScan>,
    &Call<&TKyokumenKanri::CaptureNearKing>,
    &Call<&TKyokumenKanri::EscapeFromCheck>,
    &Call<&TKyokumenKanri::EscapeFromCheckAnyway>,
    &Call<&TKyokumenKanri::MatedInCheck>,
    &Call<&TKyokumenKanri::MateInOne>,
    &Call<&TKyokumenKanri::SafeForkingCheck>,
    &Call<&TKyokumenKanri::CaptureMajorPiece>,
    &Call<&TKyokumenKanri::RescueRook>,
    &Call<&TKyokumenKanri::RescueBishop>,
    &Call<&TKyokumenKanri::KingFlightTo71>,
    &Call<&TKyokumenKanri::KingFlightTo31>,
    &Call<&TKyokumenKanri::BestCapture>,
    &Call<&TKyokumenKanri::HumanKingCanBeTaken>,
    &Call<&TKyokumenKanri::ContactCheck>,
    &Call<&TKyokumenKanri::RescueHangingPiece>,
    &Call<&TKyokumenKanri::EscapeCheaperAttackers>,
    &Call<&TKyokumenKanri::RookTwoStep>,
    &Call<&TKyokumenKanri::DefendHangingPawns>,
    &Call<&TKyokumenKanri::DefendHangingPieces>,
    &Call<&TKyokumenKanri::AttackMajorPieces>,
    &Call<&TKyokumenKanri::FormationSteps>,
    &Call<&TKyokumenKanri::AdvanceAlongRookFile>,
    &Call<&TKyokumenKanri::CastleByZones>,
    &Call<&TKyokumenKanri::BalanceStage>,
    &Call<&TKyokumenKanri::ApproachHumanKing>,
    &Call<&TKyokumenKanri::AttackWithSmallBonus>,
    &Call<&TKyokumenKanri::KingZoneWithBonus>,
    &Call<&TKyokumenKanri::RandomLegalMove>,
    &Call<&TKyokumenKanri::NothingFound>,
};

namespace {

// In the order of ComStage, None last.
constexpr std::string_view kStageNames[] = {
    "Prepare",
    "DangerScan",
    "BareKing",
    "ThreatScan",
    "EscapeByScan",
    "CaptureNearKing",
    "EscapeFromCheck",
    "EscapeFromCheckAnyway",
    "MatedInCheck",
    "MateInOne",
    "SafeForkingCheck",
    "CaptureMajorPiece",
    "RescueRook",
    "RescueBishop",
    "KingFlightTo71",
    "KingFlightTo31",
    "BestCapture",
    "HumanKingCanBeTaken",
    "ContactCheck",
    "RescueHangingPiece",
    "EscapeCheaperAttackers",
    "RookTwoStep",
    "DefendHangingPawns",
    "DefendHangingPieces",
    "AttackMajorPieces",
    "FormationSteps",
    "AdvanceAlongRookFile",
    "CastleByZones",
    "BalanceStage",
    "ApproachHumanKing",
    "AttackWithSmallBonus",
    "KingZoneWithBonus",
    "RandomLegalMove",
    "NothingFound",
    "None",
};
static_assert(std::size(kStageNames) == std::size_t(kComStageCount) + 1, "one name per stage, and None");

} // namespace

std::string_view ComStageName(ComStage stage) {
    const auto index = std::size_t(stage);
    return index < std::size(kStageNames) ? kStageNames[index] : "invalid stage";
}

namespace {

// Every stage in cascade order, and the few of a quick think: the result checks and the last resort.
constexpr auto kEveryStage = [] {
    std::array<ComStage, kComStageCount> stages{};
    for (int number = 0; number < kComStageCount; ++number) stages[std::size_t(number)] = ComStage(number);
    return stages;
}();
constexpr ComStage kQuickStages[] = {ComStage::Prepare, ComStage::BareKing, ComStage::RandomLegalMove,
                                     ComStage::NothingFound};

} // namespace

void TKyokumenKanri::ComThink() {
    RunStages(kEveryStage.data(), kComStageCount);
}

void TKyokumenKanri::QuickThink() {
    RunStages(kQuickStages, int(std::size(kQuickStages)));
}

void TKyokumenKanri::RunStages(const ComStage* stages, int count) {
    st_ = TThinkState{};
    lastStage_ = ComStage::None;
    for (int i = 0; i < count; ++i) {
        if (kStages[int(stages[i])](*this)) {
            lastStage_ = stages[i];
            break;
        }
    }
    // Every pass takes its candidates back with the position's undo, which leaves the last candidate
    // as COM's last-move record; the think hands back the records it found.
    Kyokumen.Sente.LastMove = st_.KeptHumanLast;
    Kyokumen.Gote.LastMove = st_.KeptComLast;
}

TComReason TKyokumenKanri::LastReason() const {
    if (lastStage_ != ComStage::FormationSteps) return {lastStage_};
    return {lastStage_, st_.Formation, st_.FormationStep};
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
