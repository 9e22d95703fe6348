// Moves, squares and pieces in the words of the display language. In Japanese they are the record's
// own ("76", "歩", "７六歩"); in English the Western forms: a square is its file digit and rank letter
// ("7f", rank 一 = a), a piece its English name in running text ("Pawn") or its letter in a move
// ("P-7f", "Sx7f", "Bx2b+": the letter of the piece that moved, "-" or "x" for a capture, the square
// it went to, a trailing "+" when it promoted there).
#pragma once

#include "board/Move.h"

#include <array>
#include <string>
#include <string_view>

// The digits of a KIF square: the file full-width, the rank a kanji numeral ("７六").
inline constexpr std::array<std::string_view, 10> kFullWidthDigits = {"０", "１", "２", "３", "４",
                                                                      "５", "６", "７", "８", "９"};
inline constexpr std::array<std::string_view, 10> kKanjiNumerals = {"〇", "一", "二", "三", "四",
                                                                    "五", "六", "七", "八", "九"};

// A KIF square ("７六"), a kind's name in a KIF move line ("歩", "成香", "玉"; either side's piece the
// same), and a move as a KIF move line names it without its from-square ("２六歩", "２三歩成"), before
// being the moving piece as it stood before the move.
std::string KifSquare(int sq);
std::string_view KifPieceName(PieceName kind);
std::string KifMoveName(const TMove& m, PieceName before, bool promotes);

// "76" or "7f".
std::string DisplaySquare(int sq);
// The piece's name for running text: "歩" or "Pawn"; either side's piece gives the same name.
std::string DisplayPieceName(PieceName p);
// A move in Western notation; before is the moving piece as it stood before the move.
std::string WesternMove(PieceName before, int to, bool capture, bool promotes);
// A move in the display language without its from-square: "２六歩" / "P-2f".
std::string DisplayMoveName(const TMove& m, PieceName before, bool capture, bool promotes);
