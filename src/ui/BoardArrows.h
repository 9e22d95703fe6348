// Arrows over the board, each from a move's origin to its destination: a layer over the board's area
// that takes no clicks and follows the area's size, looking up the squares each time it is drawn, so
// that the arrows stay on their squares through zoom, resizing and a turned board.
#pragma once

#include "board/Kyokumen.h"

#include <QColor>
#include <QWidget>

#include <vector>

class TBoardView;

class TBoardArrows : public QWidget {
    Q_OBJECT
public:
    struct TArrow {
        TMove Move;
        QColor Colour;
        double Width = 0.125;  // the shaft's width, a share of a square's width
        double MinWidth = 3.0; // and at least this many pixels
    };

    TBoardArrows(const TBoardView& board, QWidget* area, const QString& name);
    // Shows these arrows, the first on top; none hides the layer.
    void SetArrows(std::vector<TArrow> arrows);
    // The arrows' moves, in order.
    std::vector<TMove> Moves() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TBoardView& board_;
    std::vector<TArrow> arrows_;
};
