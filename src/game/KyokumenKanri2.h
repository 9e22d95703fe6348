// The game manager: one game, its position, COM's strategies, the search state and the result flags.
#pragma once

#include "board/Kyokumen.h"
#include "formation/Formation.h"
#include "formation/Senpou.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TKyokumenKanri2 {
public:
    TKyokumenKanri2();
    TKyokumenKanri2(const TKyokumenKanri2&) = delete;
    TKyokumenKanri2& operator=(const TKyokumenKanri2&) = delete;

    // COM's move chosen by the last think; empty when none was chosen.
    TMove ComMove;
    TFormation Formation;
    TComa_Keisan Keisan;
    // The fourteen strategies, indexed by SenpouId.
    std::array<std::unique_ptr<TSenpou_Base>, kSenpouCount> Senpou;
    std::string FormationName;

    // Search state.
    int SearchDepth = 0;
    int MaxDepth = 0;
    int BestRootScore = 0;
    int ThreatResult = 0;
    TMoveList LosingMoves;
    std::int64_t Deadline = 0;

    TKyokumen Kyokumen;

    bool ComMatesFlag = false;
    bool HumanBareKingFlag = false;
    bool HumanMatesFlag = false;
    bool ComBareKingFlag = false;
    std::uint8_t SideToMove = 0; // 0 the human, 1 COM
    bool InCheckFlag = false;

    // Formation.
    void SetFormation(std::string_view name);
    bool FormationInProgress() const;
    void AbandonFormations();
    TSenpou_Base& Strategy(SenpouId id) { return *Senpou[id]; }

    // Pass-throughs to the position.
    void ApplyMove(std::string_view moveText);
    void ApplyMove(const TMove& m);
    void SwitchSide();
    std::vector<std::string> BoardList() const { return Kyokumen.BoardList(); }
    // COM's last-move record while COM is to move, the human's otherwise.
    TMove LastMoveRecord() const;
    std::string LastMoveRecordText() const { return MoveText(LastMoveRecord()); }
    int MoveCount() const { return Kyokumen.MoveCount; }
    std::string ComMoveText() const { return MoveText(ComMove); }

    // Human move check, end of game after COM's move, take-back.
    THumanMoveTest CheckHumanMove(std::string_view from, std::string_view to);
    void JudgeAfterComMove();
    void TakeBack();

    // Moves played on the position since creation, for benchmarks. Probes that only count attacks
    // (AttackCountAfter) do not play their move and are not counted.
    std::uint64_t AppliedMoves() const { return Kyokumen.AppliedCount; }
};
