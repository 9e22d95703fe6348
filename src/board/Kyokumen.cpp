#include "board/Kyokumen.h"
#include "board/MapCache.h"

#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int kPromotedAtSetUp = 1 << 24;

const char* SideText(bool com) {
    return com ? "COM" : "the human";
}

[[noreturn]] void Refuse(const TMove& m, const std::string& why) {
    throw std::invalid_argument("move text \"" + MoveText(m) + "\" " + why);
}

// Promotion is forced and decided by the destination alone: ranks 1-3 for the human, 7-9 for COM.
bool InZone(bool com, int rank) {
    return com ? rank > 6 : rank < 4;
}

bool SquaresOnBoard(const TMove& m) {
    return OnBoard(m.FromFile(), m.FromRank()) && OnBoard(m.ToFile(), m.ToRank());
}

} // namespace

TKyokumen::TKyokumen() {
    SetupStartPosition();
}

void TKyokumen::SetupStartPosition() {
    // Fresh piece sets, lists and maps: the board is built from the pieces, so they must stand on their
    // start squares, and until the first move the maps are all zero and COM's king counts as safe.
    Sente = TSente{};
    Gote = TGote{};
    MoveCount = 0;
    ComToMove = false;
    Board.fill(PieceName::Empty);
    PieceAt.fill(-1);
    ValueAt.fill(-1);
    auto place = [this](const TComa& p) {
        const int sq = p.Square();
        Board[sq] = p.Name;
        PieceAt[sq] = p.Index;
        ValueAt[sq] = PieceValue(p.Name);
    };
    for (const TComa& p : Gote.Pieces.List) place(p);
    for (const TComa& p : Sente.Pieces.List) place(p);
    BoardChanged();
}

void TKyokumen::SetupHisyaKaku(Side side) {
    for (int index : {kBishopIndex, kRookIndex}) {
        TComa& p = (side == Side::Gote ? Gote.Pieces.List : Sente.Pieces.List)[index];
        if (!p.Captured) {
            const int sq = p.Square();
            Board[sq] = PieceName::Empty;
            PieceAt[sq] = -1;
            ValueAt[sq] = -1;
        }
        // CaptureRecord 99 keeps every undo from bringing the piece back.
        p.Captured = true;
        p.CapturedAt = -1;
        p.CaptureRecord = 99;
    }
    BoardChanged();
}

void TKyokumen::SetupFromBoard(const std::array<PieceName, kMapSize>& board, bool comToMove) {
    TSente sente;
    TGote gote;
    for (bool com : {false, true}) {
        auto& list = com ? gote.Pieces.List : sente.Pieces.List;
        std::array<bool, 20> taken{};
        std::array<int, 20> square{};
        for (int sq = 11; sq <= 99; ++sq) {
            const PieceName p = board[std::size_t(sq)];
            if (!OnBoard(FileOf(sq), RankOf(sq)) || p == PieceName::Empty || IsCom(p) != com) continue;
            int best = -1, bestDistance = 0;
            for (int i = 0; i < 20; ++i) {
                const TComa& c = list[std::size_t(i)];
                if (taken[std::size_t(i)] || (c.Name != p && c.PromotedName != p)) continue;
                const int distance = std::abs(c.File - FileOf(sq)) + std::abs(c.Rank - RankOf(sq));
                if (best < 0 || distance < bestDistance) best = i, bestDistance = distance;
            }
            if (best < 0)
                throw std::invalid_argument(std::string(com ? "the second player" : "the first player") +
                                            " has more \"" + std::string(PieceText(HumanKind(p))) +
                                            "\" pieces than its twenty hold");
            taken[std::size_t(best)] = true;
            square[std::size_t(best)] = sq;
        }
        for (int i = 0; i < 20; ++i) {
            TComa& c = list[std::size_t(i)];
            if (!taken[std::size_t(i)]) {
                // CaptureRecord 99 keeps every undo from bringing the piece back.
                c.Captured = true;
                c.CapturedAt = -1;
                c.CaptureRecord = 99;
                continue;
            }
            const PieceName p = board[std::size_t(square[std::size_t(i)])];
            c.File = FileOf(square[std::size_t(i)]);
            c.Rank = RankOf(square[std::size_t(i)]);
            // Promoted before the game began: a stamp no move of the game will ever have, so that no
            // take-back makes it a plain piece again.
            c.PromotedAt = p != c.Name ? kPromotedAtSetUp : 0;
            c.Value = PieceValue(p);
        }
    }
    Sente = std::move(sente);
    Gote = std::move(gote);
    MoveCount = 0;
    ComToMove = comToMove;
    Board.fill(PieceName::Empty);
    PieceAt.fill(-1);
    ValueAt.fill(-1);
    for (const auto* list : {&Sente.Pieces.List, &Gote.Pieces.List})
        for (const TComa& c : *list) {
            if (c.Captured) continue;
            Board[std::size_t(c.Square())] = c.CurrentName();
            PieceAt[std::size_t(c.Square())] = c.Index;
            ValueAt[std::size_t(c.Square())] = PieceValue(c.CurrentName());
        }
    BoardChanged();
}

void TKyokumen::SetupTestPosition() {
    auto& com = Gote.Pieces.List;
    for (int index : {0, 1, 11, 12}) {
        com[index].Captured = true;
        com[index].CapturedAt = 99;
        com[index].CaptureRecord = 99;
    }
    com[2].File = 5, com[2].Rank = 2;
    com[9].File = 9, com[9].Rank = 2;
    com[kKingIndex].File = 1, com[kKingIndex].Rank = 1;
    TComa& pawn = Sente.Pieces.List[12];
    pawn.File = 3, pawn.Rank = 3;
    pawn.PromotedAt = 1;
    pawn.Value = PieceValue(pawn.PromotedName);

    for (int sq : {21, 13, 23, 31, 51, 27}) {
        Board[sq] = PieceName::Empty;
        PieceAt[sq] = -1;
        ValueAt[sq] = -1;
    }
    auto put = [this](int sq, const TComa& p) {
        Board[sq] = p.CurrentName();
        PieceAt[sq] = p.Index;
        ValueAt[sq] = PieceValue(p.CurrentName());
    };
    put(11, com[kKingIndex]);
    put(52, com[2]);
    put(92, com[9]);
    put(33, pawn);
    BoardChanged();
}

TComa* TKyokumen::FindMover(bool com, int sq, PieceName name) {
    // Every piece on the board stands alone on its square, so the board's index names the only
    // candidate.
    const PieceName b = Board[sq];
    if (b == PieceName::Empty || IsCom(b) != com) return nullptr;
    TComa& p = (com ? Gote.Pieces.List : Sente.Pieces.List)[PieceAt[sq]];
    if (p.Captured || (p.Name != name && p.PromotedName != name)) return nullptr;
    return &p;
}

void TKyokumen::Recompute() {
    ClearThreatSums();
    ComputeHumanMaps();
    ComputeComMaps();
    ComputeThreats();
    MapsRebuilt();
}

void TKyokumen::BeforeComGeneration() {
    if (tracked_ && !generationCounts_) {
        comAttacksBeforeGeneration_ = Gote.Attacks;
        generationCounts_ = true;
    }
}

void TKyokumen::MapsRebuilt() {
    tracked_ = true;
    generationCounts_ = false;
    sumsExact_ = true;
    humanThreatScale_ = 1;
    comThreatScale_ = 1;
}

TKyokumen::TMapCacheHolder& TKyokumen::TMapCacheHolder::operator=(const TMapCacheHolder&) {
    Reset();
    return *this;
}

TKyokumen::TMapCacheHolder::~TMapCacheHolder() {
    delete cache_;
}

TKyokumen::TMapCache& TKyokumen::TMapCacheHolder::Get() {
    if (!cache_) cache_ = new TMapCache; // default-initialised: the state slots stay raw
    return *cache_;
}

void TKyokumen::TMapCacheHolder::Reset() {
    delete cache_;
    cache_ = nullptr;
}

void TKyokumen::BoardChanged() {
    // A set-up: the maps are no rebuild's until the first move, and no earlier move leads here.
    tracked_ = false;
    zoneSquare_ = {-2, -2};
    serial_ = ++lastSerial_;
    if (TMapCache* cache = mapCache_.Existing()) cache->ClearUndo();
}

// Puts the maps of board `serial` in place: from the cache when it holds them, by a rebuild (which
// the cache then keeps) otherwise.
void TKyokumen::LoadMaps(std::uint64_t serial) {
    TMapCache& cache = mapCache_.Get();
    const bool cacheable = !Gote.Pieces.List[kKingIndex].Captured;
    if (cacheable) {
        if (const TMapState* s = cache.FindState(serial)) {
            RestoreMaps(*s);
            MapsRebuilt();
            return;
        }
    }
    Recompute();
    if (cacheable) {
        TMapState& slot = cache.StateSlot(serial);
        SaveMaps(slot);
    }
}

void TKyokumen::ApplyMoveText(std::string_view m) {
    if (m.empty()) return;
    ApplyMove(ParseMoveText(m));
}

const TComa* TKyokumen::CheckMove(const TMove& m) const {
    const bool com = ComToMove;
    if (!SquaresOnBoard(m)) Refuse(m, "names a square that is not on the board");
    const TComa* mover = const_cast<TKyokumen*>(this)->FindMover(com, m.From, m.Name);
    if (!mover)
        Refuse(m, std::string("moves no piece: ") + SideText(com) + " has no \"" +
                      std::string(PieceText(m.Name)) + "\" on square " + SquareText(m.From));
    const PieceName target = Board[m.To];
    if (target != PieceName::Empty && IsCom(target) == com)
        Refuse(m, "lands on a piece of the side that moves, on square " + SquareText(m.To));
    return mover;
}

void TKyokumen::ApplyMove(const TMove& m) {
    if (m.Empty()) return;
    const bool com = ComToMove;
    TComa* mover = &(com ? Gote.Pieces.List : Sente.Pieces.List)[std::size_t(CheckMove(m)->Index)];
    const PieceName target = Board[m.To];

    // Keep the maps of the board before the move for the take-back, while they are a rebuild's.
    TMapCache& cache = mapCache_.Get();
    const std::uint64_t before = serial_;
    if (MapsExact() && !Gote.Pieces.List[kKingIndex].Captured && !cache.FindState(before)) {
        TMapState& slot = cache.StateSlot(before);
        SaveMaps(slot);
    }
    TMapCache::UndoRecord& undo = cache.PushUndo();
    undo.Before = before;
    undo.BoardFrom = Board[m.From];
    undo.BoardTo = target;
    undo.PieceAtFrom = PieceAt[m.From];
    undo.PieceAtTo = PieceAt[m.To];
    undo.ValueAtFrom = ValueAt[m.From];
    undo.ValueAtTo = ValueAt[m.To];
    undo.MoverPromotedAt = mover->PromotedAt;
    undo.MoverValue = mover->Value;
    undo.VictimCaptured =
        target != PieceName::Empty && (com ? Sente.Pieces.List : Gote.Pieces.List)[PieceAt[m.To]].Captured;

    MapsUntracked();
    MoveCount += 1;
    const bool inZone = InZone(com, m.ToRank());
    mover->File = m.ToFile();
    mover->Rank = m.ToRank();
    if (mover->PromotedAt == 0 && inZone) mover->PromotedAt = MoveCount;
    const PieceName name = mover->CurrentName();
    mover->Value = PieceValue(name);

    if (target != PieceName::Empty) {
        TComa& victim = (com ? Sente.Pieces.List : Gote.Pieces.List)[PieceAt[m.To]];
        victim.Captured = true;
        victim.CapturedAt = MoveCount;
        victim.CaptureRecord = victim.Index;
    }
    Board[m.From] = PieceName::Empty;
    Board[m.To] = name;
    PieceAt[m.From] = -1;
    PieceAt[m.To] = mover->Index;
    ValueAt[m.From] = -1;
    ValueAt[m.To] = PieceValue(name);

    // The same move from the same board leads to the same board.
    if (const TMapCache::Transition* t = cache.FindTransition(before, m)) {
        serial_ = t->After;
    } else {
        serial_ = ++lastSerial_;
        cache.AddTransition(before, m, serial_);
    }
    LoadMaps(serial_);
    const TMove record{m.From, m.To, name};
    if (com)
        Gote.SetLastMove(record);
    else
        Sente.SetLastMove(record);
    ++AppliedCount;
    undo.After = serial_;
    undo.Record = record;
}

void TKyokumen::UndoMoveText(std::string_view m) {
    if (m.empty())
        throw std::invalid_argument(std::string("there is no move of ") + SideText(ComToMove) +
                                    " to take back");
    UndoMove(ParseMoveText(m));
}

void TKyokumen::UndoMove(const TMove& m) {
    const bool com = ComToMove;
    if (m.Empty())
        throw std::invalid_argument(std::string("there is no move of ") + SideText(com) + " to take back");
    if (!SquaresOnBoard(m)) Refuse(m, "names a square that is not on the board");
    TComa* mover = FindMover(com, m.To, m.Name);
    if (!mover)
        Refuse(m, std::string("cannot be taken back: ") + SideText(com) + " has no \"" +
                      std::string(PieceText(m.Name)) + "\" on square " + SquareText(m.To));
    if (Board[m.From] != PieceName::Empty)
        Refuse(m, "cannot be taken back: its from-square " + SquareText(m.From) + " is occupied");

    // The record of the move being taken back, if it was the last one played to reach this board.
    TMapCache& cache = mapCache_.Get();
    TMapCache::UndoRecord* undo = cache.TopUndo();
    if (undo && !(undo->After == serial_ && undo->Record == m)) undo = nullptr;

    MapsUntracked();
    MoveCount -= 1;
    const int stamp = MoveCount + 1;
    PieceName restored = PieceName::Empty;
    int capturedIndex = -1;
    // Only a capture made by this very move comes back; pieces removed by a set-up (record 99) never do.
    for (TComa& p : (com ? Sente.Pieces.List : Gote.Pieces.List)) {
        if (p.Captured && p.File == m.ToFile() && p.Rank == m.ToRank() && p.CapturedAt == stamp &&
            p.CaptureRecord == p.Index) {
            p.Captured = false;
            p.CapturedAt = 0;
            p.CaptureRecord = -1;
            restored = p.CurrentName();
            capturedIndex = p.Index;
            break;
        }
    }
    // Only a move that entered the zone from outside it can have promoted the piece. The test position
    // hands its pawn a promotion stamped 1 while it already stands in the zone; without this check,
    // taking back that pawn's first move (a tested drag, a take-back) would demote it.
    if (mover->PromotedAt == stamp && InZone(com, m.ToRank()) && !InZone(com, m.FromRank()))
        mover->PromotedAt = 0;
    const PieceName name = mover->CurrentName();
    mover->File = m.FromFile();
    mover->Rank = m.FromRank();
    mover->Value = PieceValue(name);

    Board[m.To] = restored;
    Board[m.From] = name;
    PieceAt[m.To] = capturedIndex;
    PieceAt[m.From] = mover->Index;
    ValueAt[m.To] = PieceValue(restored);
    ValueAt[m.From] = PieceValue(name);

    // The board before the move is back only if the take-back put back everything the move changed.
    const bool restoredBoard = undo && Board[m.From] == undo->BoardFrom && Board[m.To] == undo->BoardTo &&
                               PieceAt[m.From] == undo->PieceAtFrom && PieceAt[m.To] == undo->PieceAtTo &&
                               ValueAt[m.From] == undo->ValueAtFrom && ValueAt[m.To] == undo->ValueAtTo &&
                               mover->PromotedAt == undo->MoverPromotedAt &&
                               mover->Value == undo->MoverValue &&
                               (capturedIndex < 0 || !undo->VictimCaptured);
    if (restoredBoard) {
        serial_ = undo->Before;
        cache.PopUndo();
    } else {
        serial_ = ++lastSerial_;
        cache.ClearUndo();
    }
    LoadMaps(serial_);
    const TMove record{m.From, m.To, name};
    if (com)
        Gote.SetLastMove(record);
    else
        Sente.SetLastMove(record);
}

void TKyokumen::TakeBackPair() {
    const bool savedSide = ComToMove;
    ComToMove = true;
    try {
        UndoMove(Gote.LastMove);
    } catch (...) {
        ComToMove = savedSide;
        throw;
    }
    ComToMove = false;
    try {
        UndoMove(Sente.LastMove);
    } catch (...) {
        // Nothing half-done: play COM's move again, which restores its record too.
        ComToMove = true;
        ApplyMove(Gote.LastMove);
        ComToMove = savedSide;
        throw;
    }
}

std::vector<std::string> TKyokumen::BoardList() const {
    std::vector<std::string> list;
    list.reserve(kSquareCount);
    for (int sq = 0; sq < kSquareCount; ++sq) list.emplace_back(PieceText(Board[sq]));
    return list;
}

TComa* TKyokumen::PieceOn(int sq) {
    if (sq < 0 || sq >= kMapSize || Board[sq] == PieceName::Empty) return nullptr;
    return &(IsCom(Board[sq]) ? Gote.Pieces.List : Sente.Pieces.List)[PieceAt[sq]];
}

const TComa* TKyokumen::PieceOn(int sq) const {
    return const_cast<TKyokumen*>(this)->PieceOn(sq);
}
