// Random games: every sequence of moves taken back in reverse order restores the position exactly.
#include "support/Helpers.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using testing_helpers::PositionState;
using testing_helpers::StateDifference;
using testing_helpers::StateOf;

namespace {

// Plays one generated move for the side to move and hands the move over; false when that side has none.
bool PlayRandomMove(TKyokumen& k, std::mt19937& rng, TMove* record = nullptr) {
    k.GenerateMoves();
    const TMoveList& list = k.ComToMove ? k.Gote.Moves : k.Sente.Moves;
    if (list.IsEmpty()) return false;
    const TMove m = list[int(rng() % unsigned(list.Size()))];
    k.ApplyMove(m);
    if (record) *record = k.ComToMove ? k.Gote.LastMove : k.Sente.LastMove;
    k.ComToMove = !k.ComToMove;
    return true;
}

enum class SetUp { Start, Handicap, Test };

void RunSequences(SetUp setUp, unsigned seed) {
    std::mt19937 rng(seed);
    for (int game = 0; game < 300; ++game) {
        TKyokumen k;
        if (setUp == SetUp::Handicap) k.SetupHisyaKaku();
        if (setUp == SetUp::Test) k.SetupTestPosition();
        // Reach a position by play, so that the maps are built (kings may be taken: play goes on).
        const int opening = 1 + int(rng() % 40);
        bool alive = true;
        for (int i = 0; i < opening && alive; ++i) alive = PlayRandomMove(k, rng);
        if (!alive) continue;

        const PositionState before = StateOf(k);
        const int length = 1 + int(rng() % 12);
        std::vector<TMove> records;
        std::vector<bool> movers;
        for (int i = 0; i < length; ++i) {
            const bool com = k.ComToMove;
            TMove record;
            if (!PlayRandomMove(k, rng, &record)) break;
            records.push_back(record);
            movers.push_back(com);
        }
        for (int i = int(records.size()) - 1; i >= 0; --i) {
            k.ComToMove = movers[i];
            k.UndoMove(records[i]);
        }
        k.ComToMove = before.ComToMove;
        ASSERT_EQ(StateDifference(StateOf(k), before), "")
            << "game " << game << ", " << records.size() << " moves after " << opening;
        ASSERT_EQ(k.BoardList().size(), 100u);
    }
}

} // namespace

TEST(PositionProperty, UndoInReverseRestoresEverythingFromTheStart) {
    RunSequences(SetUp::Start, 20240611u);
}

TEST(PositionProperty, UndoInReverseRestoresEverythingFromTheHandicap) {
    RunSequences(SetUp::Handicap, 77u);
}

TEST(PositionProperty, UndoInReverseRestoresEverythingFromTheTestPosition) {
    RunSequences(SetUp::Test, 5u);
}

// The board, the index and value tables and the pieces agree after any sequence of moves.
TEST(PositionProperty, BoardAndPiecesAgree) {
    std::mt19937 rng(99u);
    for (int game = 0; game < 20; ++game) {
        TKyokumen k;
        for (int ply = 0; ply < 80; ++ply) {
            if (!PlayRandomMove(k, rng)) break;
            int occupied = 0;
            for (int sq = 0; sq < kMapSize; ++sq) {
                const TComa* p = k.PieceOn(sq);
                if (!p) {
                    ASSERT_EQ(k.PieceAt[sq], -1);
                    ASSERT_EQ(k.ValueAt[sq], -1);
                    continue;
                }
                ++occupied;
                ASSERT_FALSE(p->Captured);
                ASSERT_EQ(p->Square(), sq);
                ASSERT_EQ(p->CurrentName(), k.Board[sq]);
                ASSERT_EQ(p->Value, k.ValueAt[sq]);
            }
            int onBoard = 0;
            for (int i = 0; i < 20; ++i)
                onBoard += !k.Sente.Pieces.List[i].Captured + !k.Gote.Pieces.List[i].Captured;
            ASSERT_EQ(occupied, onBoard);
        }
    }
}
