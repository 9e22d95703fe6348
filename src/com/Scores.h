// COM's scores, on the scale of the piece values.
#pragma once

// The searches' terminal values.
inline constexpr int kWin = 5000;   // the human's king is taken
inline constexpr int kLoss = -5000; // COM's king is taken

inline constexpr int kKingValue = 1000;
// The most material a side can lose or have threatened without its king: any more includes the king
// (threatened: the side is in check; lost: the game is over).
inline constexpr int kMostWithoutKing = kKingValue - 1;

// What a scoring pass gives a candidate it rules out: a move that loses COM's king, leaves a major
// piece to be taken, or moves a piece the pass never moves. Below every score that a pass can accept,
// and the start of the best score in the passes that accept anything not ruled out.
inline constexpr int kExcluded = -1000;
