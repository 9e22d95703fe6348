#include "ui/WindowZoom.h"

#include "ui/Language.h"
#include "ui/Layout.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QWindow>

#include <algorithm>

namespace {

const char* const kZoomKey = "view/zoom";

} // namespace

TWindowZoom::TWindowZoom(QMainWindow* window) : window_(window) {}

int TWindowZoom::KeptPercent() {
    return QSettings().value(QString::fromLatin1(kZoomKey), 100).toInt();
}

bool TWindowZoom::Fits(int percent) const {
    if (percent == Layout::kZoomPercents.front()) return true;
    const QScreen* display = window_->screen();
    if (display == nullptr) return false;
    // Whatever the window holds besides the client area (the menu bar) keeps its size, and so does the
    // frame the window manager puts round it, once it is known.
    QSize need =
        window_->size() - window_->centralWidget()->size() + Layout::Scaled(client_, percent / 100.0);
    if (const QWindow* handle = window_->windowHandle()) {
        const QMargins frame = handle->frameMargins();
        need += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    const QSize room = display->availableGeometry().size();
    return need.width() <= room.width() && need.height() <= room.height();
}

bool TWindowZoom::Set(int percent) {
    const auto& all = Layout::kZoomPercents;
    if (std::find(all.begin(), all.end(), percent) == all.end() || !Fits(percent)) {
        UpdateMenu();
        return false;
    }
    percent_ = percent;
    QSettings().setValue(QString::fromLatin1(kZoomKey), percent);
    emit changed();
    return true;
}

void TWindowZoom::In() {
    const auto& all = Layout::kZoomPercents;
    const auto next = std::upper_bound(all.begin(), all.end(), percent_);
    if (next != all.end()) Set(*next);
}

void TWindowZoom::Out() {
    const auto& all = Layout::kZoomPercents;
    const auto at = std::lower_bound(all.begin(), all.end(), percent_);
    if (at != all.begin()) Set(*(at - 1));
}

void TWindowZoom::UseKept() {
    const int kept = KeptPercent();
    for (int percent : Layout::kZoomPercents)
        if (percent <= kept && Fits(percent)) percent_ = percent;
}

bool TWindowZoom::FitScreen() {
    int percent = percent_;
    while (percent != Layout::kZoomPercents.front() && !Fits(percent)) {
        const auto& all = Layout::kZoomPercents;
        percent = *(std::lower_bound(all.begin(), all.end(), percent) - 1);
    }
    if (percent == percent_) return false;
    percent_ = percent;
    return true;
}

void TWindowZoom::AddMenu(QMenu* menu) {
    QMenu* zoom = menu->addMenu(QString());
    Language::SetText(zoom, "TWindowZoom", QT_TR_NOOP("拡大率"));
    zoom->setObjectName(QStringLiteral("ZoomMenu"));
    auto* factors = new QActionGroup(zoom);
    for (int percent : Layout::kZoomPercents) {
        QAction* action = zoom->addAction(QStringLiteral("%1 %").arg(percent));
        action->setCheckable(true);
        factors->addAction(action);
        connect(action, &QAction::triggered, this, [this, percent] { Set(percent); });
        actions_.emplace_back(percent, action);
    }
    actions_.front().second->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    zoom->addSeparator();
    QAction* larger = zoom->addAction(QString());
    Language::SetText(larger, "TWindowZoom", QT_TR_NOOP("拡大"));
    larger->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QAction::triggered, this, &TWindowZoom::In);
    QAction* smaller = zoom->addAction(QString());
    Language::SetText(smaller, "TWindowZoom", QT_TR_NOOP("縮小"));
    smaller->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    connect(smaller, &QAction::triggered, this, &TWindowZoom::Out);
    // The screen may have changed since the factors were last offered.
    connect(zoom, &QMenu::aboutToShow, this, &TWindowZoom::UpdateMenu);
}

void TWindowZoom::UpdateMenu() {
    for (const auto& [percent, action] : actions_) {
        action->setEnabled(Fits(percent));
        action->setChecked(percent == percent_);
    }
}

void TWindowZoom::KeepOnScreen() {
    if (!window_->isVisible() || window_->screen() == nullptr) return;
    const QRect room = window_->screen()->availableGeometry();
    const QRect frame = window_->frameGeometry();
    QPoint to = frame.topLeft();
    to.setX(std::max(room.left(), std::min(to.x(), room.right() + 1 - frame.width())));
    to.setY(std::max(room.top(), std::min(to.y(), room.bottom() + 1 - frame.height())));
    if (to != frame.topLeft()) window_->move(to);
}
