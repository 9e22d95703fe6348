// The window's client area, the part between the menu bar and the status bar. It holds the layout of
// Layout.h drawn at one scale and centred in whatever room the window gives it: its natural size is
// the layout at the zoom picked in the menu, and a window dragged to another size or maximised draws
// the layout at the largest scale that fits, its aspect kept.
#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>

class TClientArea : public QWidget {
    Q_OBJECT
public:
    explicit TClientArea(QWidget* parent);

    // The zoom whose layout gives the natural size.
    void SetZoom(double zoom);
    // The layout's size at 100 %: the specified client area, wider by the move list while it is shown.
    void SetLayoutSize(QSize size);
    QSize sizeHint() const override;
    // The largest scale at which the layout fits the present size; the zoom itself when the size is
    // the zoom's to the pixel.
    double FitScale() const;
    // The layout's top-left corner at scale: the layout centred, or in the corner when it fills the area.
    QPoint Origin(double scale) const;
    // Puts every control the layout names, a direct child of this area, at its place at scale.
    void PlaceControls(double scale, QPoint origin);

signals:
    // The window has given the area another size.
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double zoom_ = 1.0;
    QSize layout_;
};
