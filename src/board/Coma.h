// Piece names, piece values and the piece object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The 28 piece names plus the empty square. The order is that of the piece pictures: the human's
// fourteen names first, then COM's, so that (code - 1) is the picture index.
enum class PieceName : std::uint8_t {
    Empty = 0,
    Fu,       // 歩
    To,       // と
    Kyo,      // 香
    KyoNari,  // 香成
    Kei,      // 桂
    KeiNari,  // 桂成
    Gin,      // 銀
    GinNari,  // 銀成
    Kin,      // 金
    Ou,       // 王
    Kaku,     // 角
    KakuNari, // 角成
    Hi,       // 飛
    Ryu,      // 龍王
    ComFu,
    ComTo,
    ComKyo,
    ComKyoNari,
    ComKei,
    ComKeiNari,
    ComGin,
    ComGinNari,
    ComKin,
    ComOu,
    ComKaku,
    ComKakuNari,
    ComHi,
    ComRyu,
};

inline constexpr int kPieceNameCount = 29; // with Empty

constexpr bool IsCom(PieceName p) {
    return p >= PieceName::ComFu;
}
constexpr bool IsHuman(PieceName p) {
    return p != PieceName::Empty && p < PieceName::ComFu;
}
// The same kind on the other side ("歩" <-> "com歩"); Empty stays Empty.
constexpr PieceName OtherSide(PieceName p) {
    if (p == PieceName::Empty) return p;
    return IsCom(p) ? PieceName(std::uint8_t(p) - 14) : PieceName(std::uint8_t(p) + 14);
}
// The human name of the same kind ("com龍王" -> "龍王").
constexpr PieceName HumanKind(PieceName p) {
    return IsCom(p) ? OtherSide(p) : p;
}
// An unpromoted piece that promotes: 歩 香 桂 銀 角 飛, of either side.
constexpr bool CanPromote(PieceName p) {
    switch (HumanKind(p)) {
    case PieceName::Fu:
    case PieceName::Kyo:
    case PieceName::Kei:
    case PieceName::Gin:
    case PieceName::Kaku:
    case PieceName::Hi:
        return true;
    default:
        return false;
    }
}

// Value of a piece name: 歩 10 ... 王 1000; -1 for the empty square.
int PieceValue(PieceName p);

// The name as the system writes it ("歩", "com龍王"); " " for the empty square.
std::string_view PieceText(PieceName p);

// Parses one of the 28 names (or " " for Empty). Returns false for any other text.
bool ParsePieceName(std::string_view text, PieceName& out);

// The stateless value table of the game; PieceValue of a text is -1 for anything but the 28 names.
struct TComa_Keisan {
    static int PieceValue(std::string_view name);
    static int PieceValue(PieceName name) { return ::PieceValue(name); }
};

// One piece. Captured pieces stay in their set, marked, and never come back to the board.
struct TComa {
    int Index = -1;
    PieceName Name = PieceName::Empty;         // unpromoted name
    PieceName PromotedName = PieceName::Empty; // equal to Name for gold and king
    int File = 0;
    int Rank = 0;
    int CapturedAt = 0;
    bool Captured = false;
    int CaptureRecord = -1;
    bool IsCom = false;
    int Value = 0;
    int PromotedAt = 0;
    int ThreatSum = 0;
    bool NoFlight = false;

    PieceName CurrentName() const { return PromotedAt > 0 ? PromotedName : Name; }
    int Square() const { return File * 10 + Rank; }
};
