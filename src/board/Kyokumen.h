// The position: board, the forty pieces, move counter and side to move.
#pragma once

#include "board/Coma.h"
#include "board/Move.h"
#include "board/Sides.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The outcome of testing a human drag: no such move, a move that leaves the human king attacked,
// or the legal move as the human's list holds it (the name before any promotion).
struct THumanMoveTest {
    enum Kind { NoMove, KingLeftAttacked, Legal };
    Kind Result = NoMove;
    TMove Move;

    // "" / "王手放置error" / the move text.
    std::string Text() const;
};

inline constexpr std::string_view kKingLeftAttackedText = "王手放置error";

class TKyokumen {
public:
    TKyokumen(); // the even-game start position

    // Board entries by square code; Empty for an empty square and for the codes that are no squares.
    std::array<PieceName, kMapSize> Board{};
    // Index (0..19) of the piece on a square, -1 when empty; the side follows from the board name.
    std::array<int, kMapSize> PieceAt{};
    // Value of the piece on a square, -1 when empty.
    std::array<int, kMapSize> ValueAt{};
    TSente Sente;
    TGote Gote;
    int MoveCount = 0;
    bool ComToMove = false;
    // Moves applied since construction, for benchmarks; not part of the position.
    std::uint64_t AppliedCount = 0;

    void SetupStartPosition();
    // The side plays without bishop and rook (the human, Sente, in the game's handicap start).
    void SetupHisyaKaku(Side side = Side::Sente);
    void SetupTestPosition(); // the fixed test position
    // Any position: the pieces on board (Empty elsewhere), each side's taking the places of its twenty
    // by kind (a promoted piece the place of its kind), the nearest start square first, the rest of
    // the twenty captured for good. Throws std::invalid_argument, changing nothing, when a side has
    // more pieces of a kind than its twenty hold.
    void SetupFromBoard(const std::array<PieceName, kMapSize>& board, bool comToMove);

    // Plays a move for the side given by ComToMove. The empty text does nothing. A malformed text, or
    // one whose mover is not on the from-square, throws std::invalid_argument and changes nothing.
    void ApplyMoveText(std::string_view m);
    void ApplyMove(const TMove& m);
    // Takes back the last move of the side given by ComToMove; m is that side's LastMove.
    // Throws std::invalid_argument (and changes nothing) for an empty or malformed text or a mover
    // that is not on the to-square.
    void UndoMoveText(std::string_view m);
    void UndoMove(const TMove& m);
    // Undoes COM's last move, then the human's; leaves the human to move.
    void TakeBackPair();

    // Move generation.
    void GenerateMoves();     // the list of the side given by ComToMove
    void GenerateRookMoves(); // Gote.RookMoves: COM's rook alone, every entry named "com飛"
    void GeneratePieceMoves(const TComa& piece, bool com, TMoveList& out);
    // The list GenerateMoves would make for one side, in its order, with nothing of the position or
    // its maps touched (for probes that only look).
    void ListMoves(bool com, TMoveList& out) const;
    // Tests the human move from -> to (two-digit square texts). The position, MoveCount and both
    // last-move records are as before afterwards.
    THumanMoveTest TestHumanMove(std::string_view from, std::string_view to);
    THumanMoveTest TestHumanMove(int from, int to);

    // Attack maps and sums.
    void ClearThreatSums();
    void ComputeHumanMaps();
    void ComputeComMaps();
    void ComputeThreats();
    void AddPieceAttacks(TComa& piece, bool com);

    // What the map of one side (COM's when com) would count on a square once m is played for the side
    // given by ComToMove, without playing it; throws std::invalid_argument where ApplyMove would.
    int AttackCountAfter(const TMove& m, bool com, int square) const;

    // The 100 board-list texts by square code (" " for empty squares).
    std::vector<std::string> BoardList() const;

    // The piece standing on a square (nullptr when empty).
    TComa* PieceOn(int sq);
    const TComa* PieceOn(int sq) const;

private:
    void Recompute();
    TComa* FindMover(bool com, int sq, PieceName name);
    // The mover of m for the side given by ComToMove; throws std::invalid_argument when m cannot be played.
    const TComa* CheckMove(const TMove& m) const;

    // Rebuilding the maps after every move and take-back is most of the work of COM's searches, which
    // play the same moves from the same positions again and again. The position therefore names each
    // board it reaches with a number, remembers the rebuilt maps of recent boards and which move led
    // from which board to which, and takes the maps from there instead of rebuilding them whenever
    // that is sure to give the same values (board/MapCache.h).
    struct TMapState;
    struct TMapCache;
    // Owns the cache. A copy of the position starts with an empty one: the numbers name boards of this
    // object only.
    class TMapCacheHolder {
    public:
        TMapCacheHolder() = default;
        TMapCacheHolder(const TMapCacheHolder&) {}
        TMapCacheHolder& operator=(const TMapCacheHolder&);
        ~TMapCacheHolder();
        TMapCache& Get();                        // allocated on first use
        TMapCache* Existing() { return cache_; } // nullptr before first use
        void Reset();                            // forgets everything

    private:
        TMapCache* cache_ = nullptr;
    };
    TMapCacheHolder mapCache_;
    // The number of the present board; 0 until the first set-up.
    std::uint64_t serial_ = 0;
    std::uint64_t lastSerial_ = 0;

    // How the maps stand against a rebuild of the present board. While tracked, every map and sum is
    // a rebuild's except that COM's map may hold what move generation added to it (a copy without it
    // is kept), the threat sums of each side may be a multiple of a rebuild's (the map functions add
    // to them), and the four material sums may be stale. The searches' own rebuild after generation
    // then only doubles the threat sums, which is done without rebuilding.
    bool tracked_ = false;
    bool generationCounts_ = false;
    bool sumsExact_ = false;
    std::uint8_t humanThreatScale_ = 0; // the human pieces' threat sums, from COM's attacks
    std::uint8_t comThreatScale_ = 0;   // COM's pieces' threat sums, from the human's attacks
    std::array<int, kMapSize> comAttacksBeforeGeneration_{};
    // The king square each zone map marks (-1: none; -2: not known).
    std::array<int, 2> zoneSquare_{-2, -2};

    bool MapsExact() const {
        return tracked_ && !generationCounts_ && sumsExact_ && humanThreatScale_ == 1 && comThreatScale_ == 1;
    }
    void MapsRebuilt();
    void MapsUntracked() { tracked_ = false; }
    void BeforeComGeneration();
    void BoardChanged();
    void LoadMaps(std::uint64_t serial);
    void SaveMaps(TMapState& s) const;
    void RestoreMaps(const TMapState& s);
};
