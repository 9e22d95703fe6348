#include "ui/ClientArea.h"

#include "ui/Layout.h"

#include <algorithm>
#include <cmath>

TClientArea::TClientArea(QWidget* parent) : QWidget(parent), layout_(Layout::kClient) {
    // Below the layout's own size the texts would no longer fit their controls.
    setMinimumSize(layout_);
}

void TClientArea::SetLayoutSize(QSize size) {
    layout_ = size;
    setMinimumSize(layout_);
    updateGeometry();
}

void TClientArea::SetZoom(double zoom) {
    zoom_ = zoom;
    updateGeometry();
}

QSize TClientArea::sizeHint() const {
    return Layout::Scaled(layout_, zoom_);
}

double TClientArea::FitScale() const {
    const double fit = std::min(double(width()) / layout_.width(), double(height()) / layout_.height());
    // The natural size is the zoom's layout rounded to whole pixels: within a pixel of it the zoom is
    // meant, and every control keeps the place the zoom gives it.
    if (std::abs(fit - zoom_) * std::max(layout_.width(), layout_.height()) < 1.0) return zoom_;
    return std::max(fit, 1.0);
}

QPoint TClientArea::Origin(double scale) const {
    const QSize drawn = Layout::Scaled(layout_, scale);
    return {std::max(0, (width() - drawn.width()) / 2), std::max(0, (height() - drawn.height()) / 2)};
}

void TClientArea::PlaceControls(double scale, QPoint origin) {
    for (const Layout::TPlace& place : Layout::kPlaces) {
        const QString name = QString::fromUtf8(place.Name.data(), qsizetype(place.Name.size()));
        if (auto* control = findChild<QWidget*>(name, Qt::FindDirectChildrenOnly))
            control->setGeometry(Layout::Scaled(place.Rect, scale).translated(origin));
    }
}

void TClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}
