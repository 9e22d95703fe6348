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

// What each stage tells the player when it chooses the move or ends the game; the scans that only
// prepare later stages say nothing.
struct TStageReason {
    ComStage Stage;
    std::string_view Text;
};
constexpr TStageReason kStageReasons[] = {
    {ComStage::Prepare, "自玉を取られた"},
    {ComStage::DangerScan, ""},
    {ComStage::BareKing, "王一枚のみになった"},
    {ComStage::ThreatScan, ""},
    {ComStage::EscapeByScan, "読みで自玉の危険を回避"},
    {ComStage::CaptureNearKing, "自玉の近くで駒を取る"},
    {ComStage::EscapeFromCheck, "王手を回避"},
    {ComStage::EscapeFromCheckAnyway, "王手を回避（読みでは苦しい）"},
    {ComStage::MatedInCheck, "王手を逃れる手がない"},
    {ComStage::MateInOne, "一手詰め"},
    {ComStage::SafeForkingCheck, "王手で両取り"},
    {ComStage::CaptureMajorPiece, "大駒を取る"},
    {ComStage::RescueRook, "飛車を逃がす"},
    {ComStage::RescueBishop, "角を逃がす"},
    {ComStage::KingFlightTo71, "玉を７一方面へ早逃げ"},
    {ComStage::KingFlightTo31, "玉を３一方面へ早逃げ"},
    {ComStage::BestCapture, "駒を取る"},
    {ComStage::HumanKingCanBeTaken, "相手玉を取れる"},
    {ComStage::ContactCheck, "相手玉に接して王手"},
    {ComStage::RescueHangingPiece, "狙われた浮き駒を逃がす"},
    {ComStage::EscapeCheaperAttackers, "安い駒に狙われた駒を逃がす"},
    {ComStage::RookTwoStep, "次に飛車で駒を取る狙い"},
    {ComStage::DefendHangingPawns, "狙われた歩を守る"},
    {ComStage::DefendHangingPieces, "狙われた駒を守る"},
    {ComStage::AttackMajorPieces, "相手の大駒か玉を狙う"},
    {ComStage::FormationSteps, "の駒組み"}, // between the formation's name and the step's number
    {ComStage::AdvanceAlongRookFile, "飛車先に駒を進める"},
    {ComStage::CastleByZones, "相手の攻めから離れて囲う"},
    {ComStage::BalanceStage, "駒の損得を読んだ一手"},
    {ComStage::ApproachHumanKing, "相手玉に迫る"},
    {ComStage::AttackWithSmallBonus, "攻めの一手"},
    {ComStage::KingZoneWithBonus, "自玉の守りを固める"},
    {ComStage::RandomLegalMove, "ランダムな一手"},
    {ComStage::NothingFound, "指せる手がない"},
};

constexpr bool InStageOrder() {
    for (int i = 0; i < int(std::size(kStageReasons)); ++i)
        if (int(kStageReasons[i].Stage) != i) return false;
    return true;
}
static_assert(int(std::size(kStageReasons)) == kComStageCount && InStageOrder(),
              "one reason per stage, in the order of ComStage");

std::string_view FormationNameOf(SenpouId id) {
    for (const TFormationEntry& entry : kFormationTable)
        if (entry.Senpou == id) return entry.Name;
    return {};
}

} // namespace

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

std::string TKyokumenKanri::LastReason() const {
    if (lastStage_ == ComStage::None) return {};
    std::string text(kStageReasons[int(lastStage_)].Text);
    if (lastStage_ == ComStage::FormationSteps)
        text = std::string(FormationNameOf(st_.Formation)) + text + " " + std::to_string(st_.FormationStep) +
               "手目";
    return text;
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
