// The game's artwork drawn from code: the pieces, the board and the replay strip at any scale. The
// picture tool writes the files in assets/ with it at scale 1; the window draws with it whenever it
// shows the board larger than 100 % or on a screen with more than one device pixel per pixel, so the
// pictures stay sharp instead of being blown up from the 38-pixel bitmaps.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace Artwork {

// The board's wood; also the key colour of the piece bitmaps' background.
inline const QColor kBoardWood(242, 189, 123);

// Sizes at scale 1, in pixels.
inline constexpr int kPieceBox = 38;   // a piece picture
inline constexpr int kBoardSize = 362; // the board picture
inline constexpr int kPitch = 40;      // from one grid line to the next
inline constexpr int kStripWidth = 361;
inline constexpr int kStripHeight = 24;

// The Japanese font family the pictures are lettered in.
QString LetteringFamily();

// The piece named as in its bitmap's file name ("歩", "com龍王"), in a square box of
// round(kPieceBox * scale) pixels. keyed: on the key colour, every pixel outside the piece and its
// shadow exactly kBoardWood (the bitmap files); otherwise on a transparent ground. A null image for an
// unknown name.
QImage Piece(const QString& name, double scale, bool keyed = false);
// The piece file names' stems in the window's table order: the human's fourteen, then COM's.
const QStringList& PieceNames();

// The board: wood grain crossed by the ten grid lines, round(kBoardSize * scale) pixels square.
QImage Board(double scale);
// The replay strip: the words 『棋譜再現:』 and three gold buttons.
QImage ReplayStrip(double scale);
// The window and desktop icon: a king piece on a transparent ground, size pixels square.
QImage Icon(int size);

} // namespace Artwork
