// Move texts given to the position. The input first picks a reachable position by playing generated
// moves, then feeds texts to ApplyMoveText and UndoMoveText: raw bytes, texts built from two square
// codes and a piece name, generated moves and the last-move records. A refused text must leave the
// position exactly as it was; after every step the board, its list, PieceAt, ValueAt and the pieces
// must agree; and while no move has been taken back out of turn, taking back an applied move with the
// record it made restores the position.
#include "support/Helpers.h"
#include "support/Invariants.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

using testing_helpers::PositionState;
using testing_helpers::StateDifference;
using testing_helpers::StateOf;

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& text) {
    std::fprintf(stderr, "move-text fuzz: %s (text \"%s\")\n", what.c_str(), text.c_str());
    std::abort();
}

// Set MIRUTOA_FUZZ_TRACE=1 to see the steps of a reproduced input.
void Trace(const std::string& line) {
    static const bool on = std::getenv("MIRUTOA_FUZZ_TRACE") != nullptr;
    if (on) std::fprintf(stderr, "%s\n", line.c_str());
}

void Check(const TKyokumen& k, const std::string& text) {
    const std::string fault = invariants::PositionFault(k);
    if (!fault.empty()) Fail(fault, text);
}

// Everything a refused text must leave alone, the last-move records and the move counter included.
struct Snapshot {
    PositionState State;
    TMove HumanLast, ComLast;
    std::uint64_t Applied;
    explicit Snapshot(const TKyokumen& k)
        : State(StateOf(k)), HumanLast(k.Sente.LastMove), ComLast(k.Gote.LastMove), Applied(k.AppliedCount) {}
    std::string DifferenceTo(const TKyokumen& k) const {
        std::string d = StateDifference(StateOf(k), State);
        if (d.empty() && !(k.Sente.LastMove == HumanLast)) d = "the human's last-move record";
        if (d.empty() && !(k.Gote.LastMove == ComLast)) d = "COM's last-move record";
        if (d.empty() && k.AppliedCount != Applied) d = "the count of applied moves";
        return d;
    }
};

std::string SquareCode(FuzzedDataProvider& in) {
    return SquareText(in.ConsumeIntegralInRange<int>(0, 99));
}

const TMoveList& MovesOfSideToMove(TKyokumen& k) {
    k.GenerateMoves();
    return k.ComToMove ? k.Gote.Moves : k.Sente.Moves;
}

// COM's generator adds to its attack map, so the texts are taken from a copy: the position itself
// changes only through the texts given to it.
TMove GeneratedMove(FuzzedDataProvider& in, const TKyokumen& k) {
    TKyokumen probe = k;
    const TMoveList& moves = MovesOfSideToMove(probe);
    if (moves.IsEmpty()) return {};
    return moves[in.ConsumeIntegralInRange<int>(0, moves.Size() - 1)];
}

std::string NextText(FuzzedDataProvider& in, const TKyokumen& k) {
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
        return in.ConsumeRandomLengthString(24);
    case 1: {
        // Two square codes (digits 0-9, so some name no square) and one of the names or the blank.
        std::string text = SquareCode(in) + SquareCode(in);
        text += PieceText(PieceName(in.ConsumeIntegralInRange<int>(0, kPieceNameCount - 1)));
        return text;
    }
    case 2:
        return MoveText(GeneratedMove(in, k));
    case 3: {
        // A generated move with one character replaced.
        std::string text = MoveText(GeneratedMove(in, k));
        if (!text.empty())
            text[in.ConsumeIntegralInRange<std::size_t>(0, text.size() - 1)] =
                char(in.ConsumeIntegral<std::uint8_t>());
        return text;
    }
    default:
        return MoveText(k.ComToMove ? k.Gote.LastMove : k.Sente.LastMove);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TKyokumen k;
    const int setUp = in.ConsumeIntegralInRange<int>(0, 2);
    Trace("set-up " + std::to_string(setUp));
    switch (setUp) {
    case 1:
        k.SetupHisyaKaku();
        break;
    case 2:
        k.SetupTestPosition();
        break;
    default:
        break;
    }
    // The opening: generated moves, each side in turn (kings may be taken; play goes on).
    const int plies = in.ConsumeIntegralInRange<int>(0, 80);
    for (int i = 0; i < plies; ++i) {
        const TMoveList& moves = MovesOfSideToMove(k);
        if (moves.IsEmpty()) break;
        const TMove m = moves[in.ConsumeIntegralInRange<int>(0, moves.Size() - 1)];
        Trace("play " + MoveText(m));
        k.ApplyMove(m);
        k.ComToMove = !k.ComToMove;
    }
    Check(k, "");

    // Positions stay reachable by play until a text takes back a move out of turn; after that a piece
    // can stand unpromoted in its zone, and playing and undoing a move need not restore it.
    bool reachable = true;
    while (in.remaining_bytes() > 0) {
        k.ComToMove = in.ConsumeBool();
        const bool undo = in.ConsumeBool();
        const std::string text = NextText(in, k);
        const Snapshot before(k);
        Trace((undo ? "undo \"" : "apply \"") + text + (k.ComToMove ? "\" (COM)" : "\" (human)"));
        try {
            if (undo)
                k.UndoMoveText(text);
            else
                k.ApplyMoveText(text);
        } catch (const std::exception&) {
            const std::string d = before.DifferenceTo(k);
            if (!d.empty()) Fail("a refused text changed " + d, text);
            Check(k, text);
            continue;
        }
        Check(k, text);
        if (text.empty()) {
            const std::string d = before.DifferenceTo(k);
            if (!d.empty()) Fail("the empty text changed " + d, text);
            continue;
        }
        if (undo) {
            reachable = false;
            continue;
        }
        // A position that no move has reached yet still has its maps unbuilt (all zero) and cannot be
        // compared after a take-back, which builds them.
        if (!reachable || before.Applied == 0) continue;
        const PositionState after = StateOf(k);
        const TMove record = k.ComToMove ? k.Gote.LastMove : k.Sente.LastMove;
        try {
            k.UndoMove(record);
        } catch (const std::exception& e) {
            Fail(std::string("taking back an applied move failed: ") + e.what(), text);
        }
        std::string d = StateDifference(StateOf(k), before.State);
        if (!d.empty()) Fail("taking back an applied move left " + d + " changed", text);
        k.ApplyMove(ParseMoveText(text));
        d = StateDifference(StateOf(k), after);
        if (!d.empty()) Fail("playing a move again gave a different " + d, text);
    }
    return 0;
}
