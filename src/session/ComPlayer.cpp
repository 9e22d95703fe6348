#include "session/ComPlayer.h"

#include "session/Kif.h"

namespace {

// The start position turned by a half turn, set up as the game manager always sets its starts up where
// the turned board is one of them.
TKyokumen TurnedStart(const TKyokumen& start) {
    const TBoard board = Rotated(start.Board);
    TKyokumen k;
    if (board == k.Board) return k;
    k.SetupHisyaKaku(Side::Gote);
    if (board == k.Board) return k;
    k.SetupFromBoard(board, false);
    return k;
}

} // namespace

void TComPlayer::NewGame(const TKyokumen& start, Side side, const TSeat& seat) {
    side_ = side;
    turned_ = side == Side::Sente;
    kanri_ = std::make_unique<TKyokumenKanri>(rng_);
    TKyokumenKanri& k = *kanri_;
    k.Kyokumen = turned_ ? TurnedStart(start) : start;
    // A start set up by hand may have either side to move. When COM moves first it counts the game's
    // moves as if the other side had moved first, so that its n-th move sees move number 2n-1 whichever
    // side it plays: every threshold of its think (the formation's first moves, the rook's advance)
    // lasts as many of its own moves.
    const bool comFirst = SideToMove(start) == side;
    k.Kyokumen.MoveCount = comFirst ? 1 : 0;
    k.Kyokumen.ComToMove = comFirst;
    k.SideToMove = comFirst ? 1 : 0;
    k.SetFormation(seat.Formation);
}

void TComPlayer::Moved(const TMove& played, Side mover) {
    TKyokumenKanri& k = *kanri_;
    const TMove m = Own(played);
    if (mover == side_) {
        k.ApplyMove(m);
        k.ComMove = m;
        k.JudgeAfterComMove();
        k.SwitchSide();
        return;
    }
    before_ = k.Kyokumen;
    for (int id = 0; id < kSenpouCount; ++id) {
        const TSenpou_Base& st = k.Strategy(SenpouId(id));
        progress_[std::size_t(id)] = {st.StepDone, st.DoneStamp, st.PeekStamp, st.Finished};
    }
    // The check leaves in the game manager the traces it always left before the other side's move.
    (void)k.CheckHumanMove(SquareText(m.From), SquareText(m.To));
    k.ApplyMove(m);
    k.SwitchSide();
}

void TComPlayer::TookBack(bool replyMissing) {
    TKyokumenKanri& k = *kanri_;
    if (!replyMissing) {
        k.TakeBack();
    } else {
        k.Kyokumen = before_;
        for (int id = 0; id < kSenpouCount; ++id) {
            TSenpou_Base& st = k.Strategy(SenpouId(id));
            const TFormationProgress& p = progress_[std::size_t(id)];
            st.StepDone = p.StepDone;
            st.DoneStamp = p.DoneStamp;
            st.PeekStamp = p.PeekStamp;
            st.Finished = p.Finished;
        }
        k.Kyokumen.ComToMove = false;
        k.SideToMove = 0;
        k.ComMove = TMove{};
    }
    k.ComMatesFlag = false;
    k.HumanMatesFlag = false;
    k.InCheckFlag = false;
}

void TComPlayer::Think(const TMoveRequest&, ReplyFn reply) {
    TKyokumenKanri& k = *kanri_;
    TOpponentReply r;
    try {
        if (think_)
            think_(k);
        else
            k.ComThink();
        r.Reason = k.LastReason();
        // The referee found the game going on, with a legal move for COM: a COM that takes itself to be
        // mated or stripped to its king, or finds no move it takes for safe (its own maps can see a
        // mate the rules do not), gives the game up.
        if (k.HumanMatesFlag || k.ComBareKingFlag || k.ComMove.Empty())
            r.Resigns = true;
        else
            r.Move = Own(k.ComMove);
    } catch (const std::exception& e) {
        r.Error = e.what();
    }
    reply(r);
}

bool TComPlayer::PickFormation(std::string_view name) {
    kanri_->SetFormation(name);
    return true;
}

std::string TComPlayer::Building() const {
    return kanri_->FormationInProgress() ? kanri_->FormationName : std::string();
}

void TComPlayer::Adopt(TComPlayer& other) {
    kanri_ = std::move(other.kanri_);
    kanri_->UseRng(rng_);
    other.kanri_ = std::make_unique<TKyokumenKanri>(other.rng_);
    turned_ = other.turned_;
    side_ = other.side_;
    before_ = other.before_;
    progress_ = other.progress_;
}
