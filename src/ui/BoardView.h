// The board on the window: the board picture, the 81 square images with their pieces and marks (the
// latest turn's tints, the selected piece, the legal destinations), the two red frames, and the rim
// and coordinates drawn round it. It turns drags and clicks into moves: a whole human move leaves it
// as moveRequested, and it never calls the window.
//
// It shows the board from either side. Everything it is told and everything it tells speaks the
// record's frame (先手 at the bottom, square 77 the first player's bishop); turned, square 77 is shown
// on the image that stands where 33 stands, each side's pieces upright at its own end, and the
// coordinates turn with them.
//
// Its controls are children of the window's client area, so they keep their places and names there
// ("Image1", "ban76", "Waku", "Waku2").
#pragma once

#include "board/Legality.h"
#include "board/Move.h"
#include "session/GameSession.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>

#include <array>
#include <functional>
#include <vector>

class QPainter;
class QWidget;
class TFrameShape;
class TPictureBox;
class TPictures;
class TSquareImage;

class TBoardView : public QObject {
    Q_OBJECT
public:
    // Makes the board picture and the 81 squares in area, then the frames above them.
    TBoardView(QWidget* area, TPictures& pictures);

    // The game whose turn and position decide which drags and clicks become moves; nullptr takes none.
    void SetSession(const TGameSession* session) { session_ = session; }

    // Drag handlers, shared by the 81 square images. A drag counts while a person is to move and on a
    // position only looked at; it ends in moveRequested whether or not it was dropped on a square.
    void OnStartComa(int square);
    void OnDragComa(int square);
    void OnEndComa(int square);
    // A click on a square: selects one of the human's pieces, plays the selected piece to a legal
    // destination, or cancels the selection.
    void OnClickComa(int square);
    // While set, a move dragged on the board goes to it instead of the game: an answer to a question
    // about the position shown. Empty gives the moves back to the game.
    void SetMoveTaker(std::function<void(int from, int to)> taker) { taker_ = std::move(taker); }
    // The square whose piece is selected, 0 for none.
    int SelectedSquare() const { return selected_; }
    void ClearSelection();

    // What the session shows on the board.
    void SetSquare(int square, PieceName piece);
    void RedrawBoard(const TKyokumen& position);
    void MoveFrame(SessionFrame frame, int square);
    void RemoveFrame(SessionFrame frame);
    void ShowFrame(SessionFrame frame, bool visible);
    void MarkMoves(const std::vector<TMove>& moves);
    // Where a square (11..99) lies in the client area; empty for a code that is no square.
    QRect SquareRect(int square) const;

    // The board seen from the second player's side (a half turn), or from the first's.
    void SetFlipped(bool on);
    bool Flipped() const { return flipped_; }
    // The image that shows a square of the record (and, the turn being its own inverse, the square of
    // the record an image shows).
    int ImageSquare(int square) const {
        return flipped_ && OnBoard(FileOf(square), RankOf(square)) ? RotatedSquare(square) : square;
    }

    // The dots on the legal destinations, shown or not.
    void SetDestinationsShown(bool on);
    bool DestinationsShown() const { return destinationsShown_; }
    // The rank numerals and file numbers round the board, shown or not.
    void SetCoordinatesShown(bool on);
    bool CoordinatesShown() const { return coordinatesShown_; }

    // Puts the board, the squares and the frames at their places at the zoom, the layout's top-left
    // corner at origin.
    void ApplyZoom(double zoom, QPoint origin);
    // Shows the pictures again after their scale has changed.
    void ShowPictures();
    // Puts up the pictures drawn while the window was built, once they are ready.
    void UseEarlyPictures();
    // The coordinates beside row r (1 the top) and under column c (1 the left) of the images: "一" and
    // "９" as the board first stands, "九" and "１" turned.
    QString RankLabel(int row) const;
    QString FileLabel(int column) const;
    // Draws the rim round the board and the coordinates; the file numbers go under strip when it is
    // not null (the replay strip lies under the board).
    void PaintSurround(QPainter& painter, const QRect& strip) const;
    // The board shown, seen from the side it is seen from, with its rim and coordinates (whether the
    // window shows them or not) and without the marks of the game, at the size the window draws it.
    QImage Picture() const;

protected:
    // Moves the dragged piece with the pointer.
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A whole human move, from one square code to another (0 for a drag dropped off the board).
    void moveRequested(int from, int to);

private:
    QWidget* area_;
    TPictures& pictures_;
    const TGameSession* session_ = nullptr;
    std::function<void(int, int)> taker_;
    TPictureBox* Image1 = nullptr;
    std::array<TSquareImage*, 100> ban_{}; // by square code
    TFrameShape* Waku = nullptr;
    TFrameShape* Waku2 = nullptr;
    // The piece being dragged, drawn where the pointer is, and the point of it the pointer holds.
    TPictureBox* floating_ = nullptr;
    QPoint hotSpot_;

    // The piece on each square of the record, so the pictures can be drawn again when the scale or the
    // side the board is seen from changes.
    std::array<PieceName, 100> shown_{};
    bool flipped_ = false;
    // The square each frame stands on, 0 while it is off the board.
    std::array<int, 2> frameSquare_{};
    // The move being made by a drag (or a click): where it began and where it was dropped.
    int dragFrom_ = 0;
    int dragTo_ = 0;
    // A move is being handed on: the turn runs inside it, and drags that reach the board meanwhile
    // are ignored.
    bool moving_ = false;
    // What the board marks: the latest turn's moves, the selected piece and the legal destinations
    // of the piece being dragged or selected.
    std::vector<TMove> lastMoves_;
    int selected_ = 0;
    std::vector<int> destinations_;
    bool coordinatesShown_ = true;
    bool destinationsShown_ = true;
    double zoom_ = 1.0; // the zoom the squares and frames are placed at
    QPoint origin_;     // and the layout's top-left corner

    TFrameShape* Frame(SessionFrame frame) const;
    QRectF Rim() const;
    void PaintCoordinates(QPainter& painter, const QRect& strip) const;
    bool AcceptsMove() const;
    // The board shows a position that is only looked at: an earlier one of the game, or a replay.
    bool LookedAt() const;
    bool BeginMove(int from);
    void Drop(int to);
    void FinishMove();
    void ShowDestinations(int from);
    void RefreshMarks();
};
