#include "session/ComReasonText.h"

#include <iterator>
#include <string_view>

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
    {ComStage::FormationSteps, "の駒組み"}, // between the formation's name and the move's number
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

std::string ComReasonText(const TComReason& reason) {
    if (reason.Empty()) return {};
    std::string text(kStageReasons[int(reason.Stage)].Text);
    if (reason.Stage == ComStage::FormationSteps)
        text = std::string(FormationNameOf(reason.Formation)) + text + " " + std::to_string(reason.Step) +
               "手目";
    return text;
}
