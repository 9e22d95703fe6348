// Square codes: file * 10 + rank (11..99), file 9 on the left, rank 1 at the top (COM's back rank).
// Codes with a 0 digit are never squares.
#pragma once

inline constexpr int kSquareCount = 100;
// Maps are padded past 99 so that a look one square beyond the last code reads a harmless zero.
inline constexpr int kMapSize = 112;

constexpr bool OnBoard(int file, int rank) { return file >= 1 && file <= 9 && rank >= 1 && rank <= 9; }
constexpr int MakeSquare(int file, int rank) { return file * 10 + rank; }
constexpr int FileOf(int sq) { return sq / 10; }
constexpr int RankOf(int sq) { return sq % 10; }

// The square that many files and ranks away (no edge test: callers check the files and ranks they
// step over, or read the padded maps).
constexpr int Step(int sq, int files, int ranks) { return sq + files * 10 + ranks; }

// The two sides of the board: Sente at the bottom (the human's pieces in the game COM was made for),
// moving towards rank 1, and Gote at the top (COM's), moving towards rank 9.
enum class Side { Sente, Gote };
constexpr int Forward(Side side, int sq) { return side == Side::Gote ? sq + 1 : sq - 1; }
constexpr int Backward(Side side, int sq) { return side == Side::Gote ? sq - 1 : sq + 1; }
