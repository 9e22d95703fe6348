#include "board/Sides.h"

#include <array>

namespace {

struct StartEntry {
    PieceName Name;
    PieceName PromotedName;
    int HumanFile, HumanRank;
    int ComFile, ComRank;
};

using P = PieceName;

// The human names and both start squares by piece index; COM's names are the same kinds.
constexpr std::array<StartEntry, 20> kStart{{
    {P::Kyo, P::KyoNari, 1, 9, 1, 1},   {P::Kei, P::KeiNari, 2, 9, 2, 1}, {P::Gin, P::GinNari, 3, 9, 3, 1},
    {P::Kin, P::Kin, 4, 9, 4, 1},       {P::Ou, P::Ou, 5, 9, 5, 1},       {P::Kin, P::Kin, 6, 9, 6, 1},
    {P::Gin, P::GinNari, 7, 9, 7, 1},   {P::Kei, P::KeiNari, 8, 9, 8, 1}, {P::Kyo, P::KyoNari, 9, 9, 9, 1},
    {P::Kaku, P::KakuNari, 7, 7, 3, 3}, {P::Hi, P::Ryu, 2, 8, 8, 2},      {P::Fu, P::To, 1, 7, 1, 3},
    {P::Fu, P::To, 2, 7, 2, 3},         {P::Fu, P::To, 3, 7, 3, 4},       {P::Fu, P::To, 4, 7, 4, 4},
    {P::Fu, P::To, 5, 7, 5, 3},         {P::Fu, P::To, 6, 6, 6, 3},       {P::Fu, P::To, 7, 6, 7, 3},
    {P::Fu, P::To, 8, 7, 8, 3},         {P::Fu, P::To, 9, 7, 9, 3},
}};

} // namespace

TComa TComa20mai::MakePiece(int index, PieceName name, PieceName promotedName, int file, int rank,
                            bool isCom) {
    TComa c;
    c.Index = index;
    c.Name = name;
    c.PromotedName = promotedName;
    c.File = file;
    c.Rank = rank;
    c.IsCom = isCom;
    c.Value = PieceValue(name);
    return c;
}

TSente_Coma20mai::TSente_Coma20mai() {
    for (int i = 0; i < 20; ++i) {
        const StartEntry& e = kStart[i];
        List[i] = MakePiece(i, e.Name, e.PromotedName, e.HumanFile, e.HumanRank, false);
    }
}

TGote_Coma20mai::TGote_Coma20mai() {
    for (int i = 0; i < 20; ++i) {
        const StartEntry& e = kStart[i];
        List[i] = MakePiece(i, OtherSide(e.Name), OtherSide(e.PromotedName), e.ComFile, e.ComRank, true);
    }
}
