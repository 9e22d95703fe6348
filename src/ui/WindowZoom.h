// The zoom of the window in per cent of the layout: the factors it offers (those at which the window
// fits its screen's available area; 100 % always), the 拡大率 menu that offers them, and the choice
// kept between runs. The window lays its controls out anew whenever the factor changes.
#pragma once

#include "ui/Layout.h"

#include <QObject>
#include <QSize>

#include <utility>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;

class TWindowZoom : public QObject {
    Q_OBJECT
public:
    // window's central widget is the client area, the part that grows with the zoom.
    explicit TWindowZoom(QMainWindow* window);

    // The factor kept from the last run, in per cent.
    static int KeptPercent();
    // The factor in use, one of Layout::kZoomPercents.
    int Percent() const { return percent_; }
    double Factor() const { return percent_ / 100.0; }
    // The client area at 100 % (the move list beside it or not), which the screen must have room for.
    void SetClientSize(QSize size) { client_ = size; }
    bool Fits(int percent) const;
    // Changes the zoom and keeps it for the next run; false, changing nothing, for a factor not offered.
    bool Set(int percent);
    void In();
    void Out();
    // The kept factor, or the largest smaller one that fits this screen; the kept choice itself stays,
    // for a larger screen.
    void UseKept();
    // After the screen or the window's frame has changed: the largest factor up to the present one
    // that fits. True when the factor changed.
    bool FitScreen();

    // Adds the 拡大率 submenu to menu.
    void AddMenu(QMenu* menu);
    // Which factors the menu offers, and which one is checked.
    void UpdateMenu();
    // Moves the window back inside its screen's available area where it reaches past it.
    void KeepOnScreen();

signals:
    // The factor has changed by Set: the window is to be laid out at it.
    void changed();

private:
    QMainWindow* window_;
    int percent_ = 100;
    QSize client_ = Layout::kClient;
    std::vector<std::pair<int, QAction*>> actions_;
};
