#include "session/ComReasonText.h"

#include "session/FormationName.h"
#include "session/Tr.h"

#include <iterator>
#include <string_view>

namespace {

// What each stage tells the player when it chooses the move or ends the game; the scans that only
// prepare later stages say nothing.
struct TStageReason {
    ComStage Stage;
    const char* Text;
};
constexpr TStageReason kStageReasons[] = {
    {ComStage::Prepare, TrNoop("ComReason", "自玉を取られた")},
    {ComStage::DangerScan, ""},
    {ComStage::BareKing, TrNoop("ComReason", "王一枚のみになった")},
    {ComStage::ThreatScan, ""},
    {ComStage::EscapeByScan, TrNoop("ComReason", "読みで自玉の危険を回避")},
    {ComStage::CaptureNearKing, TrNoop("ComReason", "自玉の近くで駒を取る")},
    {ComStage::EscapeFromCheck, TrNoop("ComReason", "王手を回避")},
    {ComStage::EscapeFromCheckAnyway, TrNoop("ComReason", "王手を回避（読みでは苦しい）")},
    {ComStage::MatedInCheck, TrNoop("ComReason", "王手を逃れる手がない")},
    {ComStage::MateInOne, TrNoop("ComReason", "一手詰め")},
    {ComStage::SafeForkingCheck, TrNoop("ComReason", "王手で両取り")},
    {ComStage::CaptureMajorPiece, TrNoop("ComReason", "大駒を取る")},
    {ComStage::RescueRook, TrNoop("ComReason", "飛車を逃がす")},
    {ComStage::RescueBishop, TrNoop("ComReason", "角を逃がす")},
    {ComStage::KingFlightTo71, TrNoop("ComReason", "玉を７一方面へ早逃げ")},
    {ComStage::KingFlightTo31, TrNoop("ComReason", "玉を３一方面へ早逃げ")},
    {ComStage::BestCapture, TrNoop("ComReason", "駒を取る")},
    {ComStage::HumanKingCanBeTaken, TrNoop("ComReason", "相手玉を取れる")},
    {ComStage::ContactCheck, TrNoop("ComReason", "相手玉に接して王手")},
    {ComStage::RescueHangingPiece, TrNoop("ComReason", "狙われた浮き駒を逃がす")},
    {ComStage::EscapeCheaperAttackers, TrNoop("ComReason", "安い駒に狙われた駒を逃がす")},
    {ComStage::RookTwoStep, TrNoop("ComReason", "次に飛車で駒を取る狙い")},
    {ComStage::DefendHangingPawns, TrNoop("ComReason", "狙われた歩を守る")},
    {ComStage::DefendHangingPieces, TrNoop("ComReason", "狙われた駒を守る")},
    {ComStage::AttackMajorPieces, TrNoop("ComReason", "相手の大駒か玉を狙う")},
    {ComStage::FormationSteps, ""}, // worded with the formation's name and the step
    {ComStage::AdvanceAlongRookFile, TrNoop("ComReason", "飛車先に駒を進める")},
    {ComStage::CastleByZones, TrNoop("ComReason", "相手の攻めから離れて囲う")},
    {ComStage::BalanceStage, TrNoop("ComReason", "駒の損得を読んだ一手")},
    {ComStage::ApproachHumanKing, TrNoop("ComReason", "相手玉に迫る")},
    {ComStage::AttackWithSmallBonus, TrNoop("ComReason", "攻めの一手")},
    {ComStage::KingZoneWithBonus, TrNoop("ComReason", "自玉の守りを固める")},
    {ComStage::RandomLegalMove, TrNoop("ComReason", "ランダムな一手")},
    {ComStage::NothingFound, TrNoop("ComReason", "指せる手がない")},
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
    if (reason.Stage == ComStage::FormationSteps)
        return TrArg(Tr("ComReason", "%1の駒組み %2手目"),
                     {FormationDisplayName(FormationNameOf(reason.Formation)), std::to_string(reason.Step)});
    const char* text = kStageReasons[int(reason.Stage)].Text;
    return *text ? Tr("ComReason", text) : std::string();
}

std::string RecordedComReasonText(std::string_view recorded) {
    if (DisplayLanguage() == TTextLanguage::Japanese) return std::string(recorded);
    for (const TStageReason& r : kStageReasons)
        if (*r.Text && recorded == r.Text) return Tr("ComReason", r.Text);
    // "【矢倉囲い】の駒組み 3手目"
    constexpr std::string_view kSteps = "の駒組み ", kMove = "手目";
    const std::size_t at = recorded.find(kSteps);
    if (at != std::string_view::npos && recorded.ends_with(kMove)) {
        const std::string_view step =
            recorded.substr(at + kSteps.size(), recorded.size() - at - kSteps.size() - kMove.size());
        if (!step.empty() && step.find_first_not_of("0123456789") == std::string_view::npos)
            return TrArg(Tr("ComReason", "%1の駒組み %2手目"),
                         {FormationDisplayName(recorded.substr(0, at)), step});
    }
    return std::string(recorded);
}
