// The game manager: creation, the choice of COM's formation, the pass-throughs to the position, the
// judgement after COM's move and the take-back.
#include "game/KyokumenKanri2.h"

TKyokumenKanri2::TKyokumenKanri2() {
    // The position, the value table and the survey are members and exist by now; so do the cleared
    // side to move, result flags, texts and LosingMoves. The survey reads the position's two piece sets.
    Formation.HumanPieces = &Kyokumen.Sente.Pieces;
    Formation.ComPieces = &Kyokumen.Gote.Pieces;

    Senpou[Kihon] = std::make_unique<TSenpou_Kihon>();
    Senpou[Anaguma] = std::make_unique<TSenpou_Anaguma>();
    Senpou[IbisyaAnaguma] = std::make_unique<TSenpou_IbisyaAnaguma>();
    Senpou[NakaBisya] = std::make_unique<TSenpou_NakaBisya>();
    Senpou[YonkenBisya] = std::make_unique<TSenpou_YonkenBisya>();
    Senpou[SankenBisya] = std::make_unique<TSenpou_SankenBisya>();
    Senpou[FunaGakoi] = std::make_unique<TSenpou_FunaGakoi>();
    Senpou[YaguraGakoi] = std::make_unique<TSenpou_YaguraGakoi>();
    Senpou[NadareGakoi] = std::make_unique<TSenpou_NadareGakoi>();
    Senpou[Big4] = std::make_unique<TSenpou_Big4>();
    Senpou[MukaiBisya] = std::make_unique<TSenpou_MukaiBisya>();
    Senpou[MirutoaYagura] = std::make_unique<TSenpou_MirutoaYagura>();
    Senpou[JujiAnaguma] = std::make_unique<TSenpou_JujiAnaguma>();
    Senpou[Ougon] = std::make_unique<TSenpou_Ougon>();

    FormationName = "【基本形】";
    SetFormation("【基本形】");
}

void TKyokumenKanri2::SetFormation(std::string_view name) {
    FormationName = std::string(name);
    for (auto& s : Senpou) s->Finished = true;
    // An unknown name selects nothing: COM then plays the whole game without formation steps.
    for (const TFormationEntry& entry : kFormationTable)
        if (entry.Name == name) Senpou[entry.Senpou]->Finished = false;
}

bool TKyokumenKanri2::FormationInProgress() const {
    bool inProgress = true;
    for (const TFormationEntry& entry : kFormationTable)
        if (FormationName == entry.Name && Senpou[entry.Senpou]->Finished) inProgress = false;
    return inProgress;
}

void TKyokumenKanri2::AbandonFormations() {
    for (auto& s : Senpou) s->Finished = true;
}

void TKyokumenKanri2::ApplyMove(std::string_view moveText) {
    Kyokumen.ApplyMoveText(moveText);
}

void TKyokumenKanri2::ApplyMove(const TMove& m) {
    Kyokumen.ApplyMove(m);
}

void TKyokumenKanri2::SwitchSide() {
    SideToMove = std::uint8_t(1 - SideToMove);
    Kyokumen.ComToMove = SideToMove == 1;
}

TMove TKyokumenKanri2::LastMoveRecord() const {
    return SideToMove == 1 ? Kyokumen.Gote.LastMove : Kyokumen.Sente.LastMove;
}

THumanMoveTest TKyokumenKanri2::CheckHumanMove(std::string_view from, std::string_view to) {
    return Kyokumen.TestHumanMove(from, to);
}

void TKyokumenKanri2::JudgeAfterComMove() {
    if (ComMove.Empty()) return;
    // A move of COM's king is judged like any other: it can uncover an attack on the human king, and
    // it can capture the human's last piece but the king.

    int humanPieces = 0;
    for (const TComa& piece : Kyokumen.Sente.Pieces.List)
        if (!piece.Captured) ++humanPieces;
    if (humanPieces == 1) {
        HumanBareKingFlag = true;
        return;
    }

    const TMove keptHumanLast = Kyokumen.Sente.LastMove;
    const TMove keptComLast = Kyokumen.Gote.LastMove;

    const int kingSquare = Kyokumen.Sente.Pieces.List[kKingIndex].Square();
    if (Kyokumen.Gote.Attacks[kingSquare] == 0) return;

    InCheckFlag = true;
    Kyokumen.ComToMove = false;
    SideToMove = 0;
    Kyokumen.GenerateMoves();

    // A human with no move at all while in check is mated as well.
    bool mate = true;
    const TMoveList replies = Kyokumen.Sente.Moves;
    for (int i = 0; i < replies.Size() && mate; ++i) {
        const TMove& reply = replies[i];
        Kyokumen.ApplyMove(reply);
        // A king move is safe when its new square is not attacked; any other move must clear the attack
        // on the king's square.
        const int watched = reply.Name == PieceName::Ou ? reply.To : kingSquare;
        if (Kyokumen.Gote.Attacks[watched] == 0) mate = false;
        Kyokumen.UndoMove(LastMoveRecord());
    }
    if (mate) ComMatesFlag = true;

    Kyokumen.Sente.SetLastMove(keptHumanLast);
    Kyokumen.Gote.SetLastMove(keptComLast);
    Kyokumen.ComToMove = true;
    SideToMove = 1;
}

void TKyokumenKanri2::TakeBack() {
    // The position first: a take-back it refuses (COM has not moved yet) then leaves the formations as
    // they were.
    Kyokumen.TakeBackPair();
    // Only a strategy that marked a step since COM last asked it for one made progress during COM's
    // last move; a strategy that finished stays finished.
    for (SenpouId id : kSenpouTakeBackOrder) {
        TSenpou_Base& s = *Senpou[id];
        if (!s.Finished && s.DoneStamp == s.PeekStamp) s.UnmarkStep();
    }
}
