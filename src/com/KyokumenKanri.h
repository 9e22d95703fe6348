// COM's move selection: a fixed cascade of searches and scoring passes.
#pragma once

#include "com/Random.h"
#include "game/KyokumenKanri2.h"

class TKyokumenKanri : public TKyokumenKanri2 {
public:
    // Chooses COM's reply: leaves it in ComMove, or sets a result flag. The position, both move lists
    // and both last-move records are as before afterwards.
    void ComThink();

    // The generator COM's random choices draw from: the program's own unless a caller brings another.
    TRandom* Rng = &TRandom::Program();

    // Which stage of the last think chose its move or ended it (for tests and benchmarks).
    int LastStage() const { return lastStage_; }

private:
    // Working values of one think.
    struct TThinkState {
        int B = 0;                      // best score of the current pass
        int r = 0;                      // result of the last search run
        bool LosingAfterDanger = false; // LosingMoves was non-empty after the danger scan
        bool RookInDanger = false;
        bool BishopInDanger = false;
        TMove KeptHumanLast;
        TMove KeptComLast;
    };
    TThinkState st_;
    int lastStage_ = -1;

    using Stage = bool (TKyokumenKanri::*)(); // true ends the think
    static const Stage kStages[34];

    // Stages, in cascade order.
    bool Prepare();                // 0
    bool DangerScan();             // 1
    bool BareKing();               // 2
    bool ThreatScan();             // 3
    bool EscapeByScan();           // 4
    bool CaptureNearKing();        // 5
    bool EscapeFromCheck();        // 6
    bool EscapeFromCheckAnyway();  // 7
    bool MatedInCheck();           // 8
    bool MateInOne();              // 9
    bool SafeForkingCheck();       // 10
    bool CaptureMajorPiece();      // 11
    bool RescueRook();             // 12
    bool RescueBishop();           // 13
    bool KingFlightTo71();         // 14
    bool KingFlightTo31();         // 15
    bool BestCapture();            // 16
    bool HumanKingCanBeTaken();    // 17
    bool ContactCheck();           // 18
    bool RescueHangingPiece();     // 19
    bool EscapeCheaperAttackers(); // 20
    bool RookTwoStep();            // 21
    bool DefendHangingPawns();     // 22
    bool DefendHangingPieces();    // 23
    bool AttackMajorPieces();      // 24
    bool FormationSteps();         // 25
    bool AdvanceAlongRookFile();   // 26
    bool CastleByZones();          // 27
    bool BalanceStage();           // 28
    bool ApproachHumanKing();      // 29
    bool AttackWithSmallBonus();   // 30
    bool KingZoneWithBonus();      // 31
    bool RandomLegalMove();        // 32
    bool NothingFound();           // 33

    // Rules shared by the scoring passes.
    // A candidate that loses the king scores the pass's exclusion value.
    void Exclude(const TMove& candidate, int& s, int exclusionValue) const {
        if (LosingMoves.Contains(candidate)) s = exclusionValue;
    }
    // Read while the candidate is applied: the human does not attack COM's king.
    bool KingSafeAfter() const;
    // Ties go to the later move.
    bool AcceptsLater(int s) const { return s > 0 && s >= st_.B; }
    // Ties go to the earlier move.
    bool AcceptsEarlier(int s) const { return s > 0 && s > st_.B; }
    void Accept(int s, const TMove& text) {
        st_.B = s;
        ComMove = text;
    }
    // Plays a candidate for COM and takes it back with the record the position made of it.
    void ApplyCandidate(const TMove& m);
    void TakeBackCandidate();
    // The candidate as the position recorded it (promoted name when it promoted); valid while applied.
    TMove RecordedCandidate() const { return Kyokumen.Gote.LastMove; }
    // Exposure tests: a move that leaves COM's bishop (rook) attacked scores -1000, unless that
    // piece was already in danger.
    void ExposureBishop(int& s) const;
    void ExposureRook(int& s) const;
    // After a search: both lists regenerated, COM to move, both last-move records put back, threats
    // recomputed.
    void RestoreAfterSearch();
    int ComKingSquare() const;
    int HumanKingSquare() const;

    // Helpers of the tactical passes (TacticalPasses.cpp).
    // Stages 6 and 7.
    bool EscapePass(bool excludeLosing);
    // Stages 12 and 13.
    bool RescueMajorPiece(int index, int attackerValue, bool& inDanger,
                          int (TKyokumenKanri2::*search)(int, int));
    // Stages 14 and 15.
    bool KingFlight(int target, bool runs);
    // Stages 22 and 23.
    void DefendPiecePass(int square, bool pawnRules);
    // One such pass for each of COM's pieces first..last, in index order, that the human attacks and
    // COM leaves undefended (read just before that piece's pass).
    void DefendHangingOnes(int first, int last, bool pawnRules);

    // Tests run single stages and read the working values through this probe.
    friend struct TThinkProbe;
};
