// COM's move selection: a fixed cascade of searches and scoring passes.
#pragma once

#include "com/Random.h"
#include "game/KyokumenKanri2.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

// The stages of COM's think, in cascade order.
enum class ComStage : std::uint8_t {
    Prepare,
    DangerScan,
    BareKing,
    ThreatScan,
    EscapeByScan,
    CaptureNearKing,
    EscapeFromCheck,
    EscapeFromCheckAnyway,
    MatedInCheck,
    MateInOne,
    SafeForkingCheck,
    CaptureMajorPiece,
    RescueRook,
    RescueBishop,
    KingFlightTo71,
    KingFlightTo31,
    BestCapture,
    HumanKingCanBeTaken,
    ContactCheck,
    RescueHangingPiece,
    EscapeCheaperAttackers,
    RookTwoStep,
    DefendHangingPawns,
    DefendHangingPieces,
    AttackMajorPieces,
    FormationSteps,
    AdvanceAlongRookFile,
    CastleByZones,
    BalanceStage,
    ApproachHumanKing,
    AttackWithSmallBonus,
    KingZoneWithBonus,
    RandomLegalMove,
    NothingFound,
    None, // no stage ended the think (none has run yet)
};
inline constexpr int kComStageCount = int(ComStage::None);

// The stage's name as it is spelled in ComStage ("EscapeFromCheck"), for test failures and traces.
std::string_view ComStageName(ComStage stage);

// Why a think chose its move or ended the game: the stage, and for a formation move the formation and
// which of COM's moves on it this is (counted from 1). Front-ends make the words.
struct TComReason {
    ComStage Stage = ComStage::None;
    SenpouId Formation = kSenpouCount;
    int Step = 0;
    bool Empty() const { return Stage == ComStage::None; }
    bool operator==(const TComReason&) const = default;
};

class TKyokumenKanri : public TKyokumenKanri2 {
public:
    // A game whose random choices draw from a generator of its own, at seed 0: enough for a single game
    // and for tests that pin no random draws.
    TKyokumenKanri() = default;
    // A game drawing from the caller's generator, which must outlive it. Games made one after another
    // on one generator go on with its sequence, as the games of one session do.
    explicit TKyokumenKanri(TRandom& rng) : rng_(&rng) {}

    // Chooses COM's reply: leaves it in ComMove, or sets a result flag. The position, both move lists
    // and both last-move records are as before afterwards.
    void ComThink();
    // The cheap ends of the cascade alone: the result checks, then a random move that keeps the king
    // out of attack; no searches, no scoring. The fuzz targets play whole games with it at speed; it is
    // never what COM plays.
    void QuickThink();

    // COM's evaluations and look-aheads (scores -5000..5000); their state (SearchDepth, LosingMoves, ...)
    // is the game manager's.
    int EvalBalance() const;
    int EvalComLoss() const;
    int KingDangerSearch(int A, int B);
    int BishopRescueSearch(int A, int B);
    int RookRescueSearch(int A, int B);
    int BalanceSearch(int A, int B);
    int ThreatSearch(int A, int B);
    int EscapeSearch(int A, int B);

    // The generator COM's random choices draw from.
    TRandom& Rng() { return *rng_; }
    // Draws from rng from now on (a game handed to another owner goes on with its generator).
    void UseRng(TRandom& rng) { rng_ = &rng; }

    // Which stage of the last think chose its move or ended it (for tests and benchmarks).
    ComStage LastStage() const { return lastStage_; }
    // Why the last think chose its move or ended the game; empty before the first think.
    TComReason LastReason() const;

private:
    TRandom ownRng_; // drawn from only when no generator was given
    TRandom* rng_ = &ownRng_;

    // Runs the given stages in order until one ends the think.
    void RunStages(const ComStage* stages, int count);
    // Working values of one think.
    struct TThinkState {
        int B = 0;                      // best score of the current pass
        int r = 0;                      // result of the last search run
        bool LosingAfterDanger = false; // LosingMoves was non-empty after the danger scan
        bool RookInDanger = false;
        bool BishopInDanger = false;
        TMove KeptHumanLast;
        TMove KeptComLast;
        // The formation whose step the formation stage played, and which of COM's moves on that
        // formation this is, counted from 1.
        SenpouId Formation = kSenpouCount;
        int FormationStep = 0;
    };
    TThinkState st_;
    ComStage lastStage_ = ComStage::None;
    // COM's formation moves in this game: the move number of each and the formation it built. A step
    // often takes its piece several moves, so the steps done do not say how many moves COM has spent.
    // A take-back, or a turn that failed after the think, leaves entries beyond the game's length,
    // which the next formation move drops.
    std::vector<std::pair<int, SenpouId>> formationMoves_;

    // A stage is called through a plain function, not a member-function pointer: GCC 12's bounds
    // sanitizer takes a call through a table of member-function pointers for a virtual call and
    // stops the program.
    using Stage = bool (*)(TKyokumenKanri&); // true ends the think
    template <bool (TKyokumenKanri::*S)()> static bool Call(TKyokumenKanri& k) { return (k.*S)(); }
    static const Stage kStages[kComStageCount];

    // Stages, in cascade order.
    bool Prepare();
    bool DangerScan();
    bool BareKing();
    bool ThreatScan();
    bool EscapeByScan();
    bool CaptureNearKing();
    bool EscapeFromCheck();
    bool EscapeFromCheckAnyway();
    bool MatedInCheck();
    bool MateInOne();
    bool SafeForkingCheck();
    bool CaptureMajorPiece();
    bool RescueRook();
    bool RescueBishop();
    bool KingFlightTo71();
    bool KingFlightTo31();
    bool BestCapture();
    bool HumanKingCanBeTaken();
    bool ContactCheck();
    bool RescueHangingPiece();
    bool EscapeCheaperAttackers();
    bool RookTwoStep();
    bool DefendHangingPawns();
    bool DefendHangingPieces();
    bool AttackMajorPieces();
    bool FormationSteps();
    bool AdvanceAlongRookFile();
    bool CastleByZones();
    bool BalanceStage();
    bool ApproachHumanKing();
    bool AttackWithSmallBonus();
    bool KingZoneWithBonus();
    bool RandomLegalMove();
    bool NothingFound();

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

    // Notes COM's move of this think as a move on formation id, numbers it and drops the moves that a
    // take-back or a failed turn removed from the game.
    void CountFormationMove(SenpouId id);

    // Helpers of the tactical passes (TacticalPasses.cpp).
    // The two escapes from check: with and without the moves the danger scan found losing.
    bool EscapePass(bool excludeLosing);
    // The rescues of the rook and of the bishop.
    bool RescueMajorPiece(int index, int attackerValue, bool& inDanger,
                          int (TKyokumenKanri::*search)(int, int));
    // The king's early flights toward 71 and toward 31.
    bool KingFlight(int target, bool runs);
    // The defence of hanging pawns and of hanging pieces.
    void DefendPiecePass(int square, bool pawnRules);
    // One such pass for each of COM's pieces first..last, in index order, that the human attacks and
    // COM leaves undefended (read just before that piece's pass).
    void DefendHangingOnes(int first, int last, bool pawnRules);

    // Tests run single stages and read the working values through this probe.
    friend struct TThinkProbe;
};
