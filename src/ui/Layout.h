// Where everything sits in the window's client area (the part below the menu bar), in pixels, and at
// what size each control's text is meant to be drawn. Everything that places a control or draws a
// mark on the board reads this one table, so a change of scale touches nothing else.
#pragma once

#include <QRect>
#include <QSize>

#include <array>
#include <stdexcept>
#include <string_view>

namespace Layout {

inline constexpr QSize kClient{673, 413};
// The window's own type size; controls without a size of their own use it.
inline constexpr int kWindowFontPx = 12;
// The type size of the message boxes and the status bar at 100 %.
inline constexpr int kBoxFontPx = 13;

struct TPlace {
    std::string_view Name;
    QRect Rect;
    int FontPx; // the size a text is drawn at when it fits; 0 for controls without text
};

inline constexpr std::array kPlaces = {
    TPlace{"Image1", {72, 8, 362, 362}, 0},
    TPlace{"Label_Message", {448, 151, 209, 193}, 19},
    TPlace{"Label_mes2", {448, 343, 209, 25}, 15},
    TPlace{"Label1", {448, 93, 73, 12}, kWindowFontPx},
    TPlace{"Image2", {72, 376, 361, 24}, 0},
    TPlace{"ReplayButton1", {186, 380, 49, 17}, 0},
    TPlace{"ReplayButton2", {242, 380, 49, 17}, 0},
    TPlace{"ReplayButton3", {297, 380, 49, 17}, 0},
    // Beside the strip's three buttons: one move back, to the end, and where the replay stands.
    TPlace{"ReplayBackButton", {143, 380, 37, 17}, 0},
    TPlace{"ReplayEndButton", {352, 380, 49, 17}, 0},
    // From the strip's left end to its first button: room for "999 / 999手" at the text's own size.
    TPlace{"ReplayCounter", {73, 378, 69, 21}, 11},
    TPlace{"Button_Start", {448, 56, 81, 20}, kWindowFontPx},
    // As wide as 平手で初期化 below it, so that "Take back" has air on either side.
    TPlace{"Button_Matta", {448, 8, 81, 20}, kWindowFontPx},
    TPlace{"Button_Exit", {608, 8, 57, 20}, kWindowFontPx},
    TPlace{"Button_StartHisyaKaku", {536, 56, 129, 20}, kWindowFontPx},
    TPlace{"ComboBox1", {536, 89, 129, 20}, kWindowFontPx},
    TPlace{"Button_Kifu", {448, 376, 185, 20}, kWindowFontPx},
    TPlace{"Button_Test", {536, 128, 89, 17}, kWindowFontPx},
    // Beside the client area above, which keeps every place it has: the window grows by kKifuRoom.
    // The player may widen it (the width of its place is the one it has at first).
    TPlace{"KifuList", {673, 8, 160, 392}, kWindowFontPx},
};

// The move list's column: the list at its first width and the margin right of it, where the handle
// that widens it lies; and the widest the player may make it.
inline constexpr int kKifuMargin = 8;
inline constexpr int kKifuRoom = 160 + kKifuMargin;
inline constexpr int kKifuListMaxWidth = 480;

// The client area with the move list beside it, at a width of its own, or without.
constexpr QSize ClientSize(bool kifuListShown, int kifuListWidth = kKifuRoom - kKifuMargin) {
    return {kClient.width() + (kifuListShown ? kifuListWidth + kKifuMargin : 0), kClient.height()};
}

constexpr const TPlace& Place(std::string_view name) {
    for (const TPlace& p : kPlaces)
        if (p.Name == name) return p;
    throw std::invalid_argument("no control is named so in the layout");
}

// The board: square images of 41 pixels on a 40-pixel pitch from the top-left square (file 9, rank
// 1); the grid lines are 2 pixels wide, so each square's inside is 38 pixels from its top-left.
inline constexpr QPoint kFirstSquare{74, 10};
inline constexpr int kSquarePitch = 40;
inline constexpr int kSquareSize = 41;
inline constexpr int kSquareInside = 38;

// The square image of square code file * 10 + rank (file 9 on the left, rank 1 at the top).
constexpr QRect SquareRect(int square) {
    const int file = square / 10;
    const int rank = square % 10;
    return {kFirstSquare.x() + (9 - file) * kSquarePitch, kFirstSquare.y() + (rank - 1) * kSquarePitch,
            kSquareSize, kSquareSize};
}

// A frame covers a square's inside.
inline constexpr QSize kFrameSize{kSquareInside, kSquareInside};

// The wooden rim drawn round the board picture, and the coordinates outside it: rank numerals to the
// left of the board, file numbers under it (under the replay strip while that is shown).
inline constexpr double kRimWidth = 4.5;
inline constexpr int kCoordinateFontPx = 12;
inline constexpr int kCoordinateGap = 2;

// The red frames' outline.
inline constexpr int kFramePen = 3;

// The zoom factors the window offers, in per cent; the first is the layout above.
inline constexpr std::array kZoomPercents = {100, 125, 150, 175, 200};

// A length of the layout at a zoom factor, to the nearest pixel.
constexpr int Scaled(int length, double zoom) {
    return int(length * zoom + 0.5);
}

// A rectangle of the layout at a zoom factor. Its edges are scaled, not its size, so that controls
// that meet or overlap by a pixel at 100 % still do at every factor (the squares on their grid).
constexpr QRect Scaled(const QRect& rect, double zoom) {
    const int left = Scaled(rect.left(), zoom);
    const int top = Scaled(rect.top(), zoom);
    return {left, top, Scaled(rect.left() + rect.width(), zoom) - left,
            Scaled(rect.top() + rect.height(), zoom) - top};
}

constexpr QSize Scaled(const QSize& size, double zoom) {
    return {Scaled(size.width(), zoom), Scaled(size.height(), zoom)};
}

} // namespace Layout
