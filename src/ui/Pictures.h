// The pictures the window shows: the 28 piece bitmaps read at start-up, the board and the replay
// strip, each at the zoom and screen pixel ratio the window is drawn at.
//
// At 100 % on a screen of one device pixel per pixel they are the bitmap files and the built-in board
// and strip; at any other zoom or pixel ratio they are drawn from code at the device resolution, so
// nothing is ever blown up from the 38-pixel bitmaps.
#pragma once

#include "board/Coma.h"

#include <QImage>
#include <QPixmap>
#include <QStringList>

#include <array>
#include <future>
#include <vector>

class TPictures {
public:
    // The piece file names in table order ("歩.bmp" ... "com龍王.bmp").
    static QStringList ComaFileNames();

    // Loads the 28 piece bitmaps from the current directory in table order; throws
    // std::runtime_error naming the file at the first one that cannot be read or is damaged (cut
    // short, or its header's size not the file's), and later ones are not loaded.
    void LoadComaImages();

    // Starts drawing the board and the start position's pieces at scale on a second thread, for a
    // window that will open larger than the bitmaps. Nothing happens at scale 1.
    void DrawEarly(double scale);
    bool EarlyPending() const { return early_.valid(); }
    // Waits for the early drawing and takes its pictures when they suit the present scale; true
    // when it took them (the board picture has changed).
    bool UseEarlyPictures() const;

    // The zoom and device pixel ratio to draw for; false, changing nothing, when they are the ones
    // already drawn for.
    bool SetScale(double zoom, double ratio);

    // The picture of a piece, drawn when it is first asked for; nullptr for the empty square and for
    // a piece whose bitmap was not loaded.
    const QPixmap* ComaPicture(PieceName name) const;
    const QPixmap& Board() const { return boardPicture_; }
    // The replay strip, drawn when it is first shown rather than while the window starts.
    const QPixmap& Strip();

private:
    // The piece pictures in table order; shorter than 28 when loading stopped at a file.
    std::vector<QPixmap> ComaImages;
    // The pieces drawn at the scale below, each when it is first shown; only those whose bitmap was
    // loaded are drawn.
    mutable std::array<QPixmap, 28> drawnPieces_;
    struct TEarlyPictures {
        QImage Board;
        std::array<QImage, 28> Pieces;
    };
    mutable std::future<TEarlyPictures> early_;
    double earlyScale_ = 0;
    mutable QPixmap boardPicture_;
    QPixmap stripPicture_;
    // What the pictures are drawn for; 0 before the first drawing.
    double zoom_ = 0;
    double ratio_ = 0;

    bool Bitmaps() const { return zoom_ == 1 && ratio_ == 1; }
};
