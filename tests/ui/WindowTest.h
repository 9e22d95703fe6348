// What the window tests share: scratch folders for the settings, the kept games and the pieces'
// pictures, so that no test touches the user's; dialogs that answer as told and keep what they were
// asked; a drag between two squares of the board's images.
#pragma once

#include "ui/BoardView.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Language.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace window_test {

class TScratch {
public:
    // Once, before the first window (initTestCase): the settings and the kept games go to scratch
    // folders and the pieces' pictures are copied to a third. Empty, or what could not be done.
    QString SetUp() {
        if (!config_.isValid() || !data_.isValid() || !pictures_.isValid())
            return QStringLiteral("no scratch folder");
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
        TForm1::SetUpApplication();
        const QDir assets(QStringLiteral(MIRUTOA_ASSETS_DIR));
        for (const QString& file : TPictures::ComaFileNames())
            if (!QFile::copy(assets.filePath(file), QDir(pictures_.path()).filePath(file))) return file;
        startDir_ = QDir::currentPath();
        return {};
    }
    // Before each test (init): in the pictures' folder, no settings kept.
    void Enter() {
        QDir::setCurrent(pictures_.path());
        QSettings().clear();
    }
    // After each test (cleanup): back where the tests began, and in Japanese even after a failed test
    // that switched the language.
    void Leave() {
        QDir::setCurrent(startDir_);
        if (Language::Current() != TTextLanguage::Japanese) Language::Apply(TTextLanguage::Japanese);
    }
    QString Pictures() const { return pictures_.path(); }

private:
    QTemporaryDir config_, data_, pictures_;
    QString startDir_;
};

// Answers every question Yes (or as Yes says), every choice with Choice (-1: cancelled) and Keep, and
// keeps the texts.
class TAnsweringDialogs : public IDialogs {
public:
    QStringList OkTexts, Questions, Choices;
    bool Yes = true;
    int Choice = -1;
    bool Keep = false;

    void Ok(const QString& text) override { OkTexts << text; }
    bool YesNo(const QString& text, bool = false) override {
        Questions << text;
        return Yes;
    }
    int Choose(const QString& text, const QString&, const QString&, const QString&, bool& keep) override {
        Choices << text;
        keep = Keep;
        return Choice;
    }
};

// The square image at a code of the images (the board's own code where it is not turned).
inline TSquareImage* Image(TForm1& form, int code) {
    return form.findChild<TSquareImage*>(QStringLiteral("ban%1").arg(code));
}

// A drag from one square image to another, as the images report it.
inline void DragImages(TForm1& form, int from, int to) {
    emit Image(form, from)->dragStarted(from);
    emit Image(form, to)->dropped(to);
    emit Image(form, from)->dragEnded(from);
}

// A move asked of the window as its board asks for one.
inline void RequestMove(TForm1& form, int from, int to) {
    emit form.Board().moveRequested(from, to);
}

// The zoom factors the 表示 menu offers, in percent.
inline std::vector<int> ZoomsOffered(TForm1& form) {
    std::vector<int> percents;
    for (QAction* item : form.findChild<QMenu*>(QStringLiteral("ZoomMenu"))->actions())
        if (item->isCheckable() && item->isEnabled()) percents.push_back(item->text().chopped(2).toInt());
    return percents;
}

// The item of the window's menus with this text, or null.
inline QAction* MenuItem(TForm1& form, const QString& text) {
    for (QAction* menu : form.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->text() == text) return item;
    return nullptr;
}

// The text of the window's label with this name.
inline QString Label(TForm1& form, const char* name) {
    return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

// The longest gap between two ticks of a 1 ms timer while busy() holds (limitMs at most). The gap in
// which it stops holding is left out: it holds the end of the work (the board drawn, the game kept),
// which is no longer the waiting.
inline qint64 LongestStall(const std::function<bool()>& busy, int limitMs) {
    QElapsedTimer clock;
    QEventLoop loop;
    QTimer tick;
    qint64 last = 0, longest = 0;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!busy()) return loop.quit();
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    clock.start();
    tick.start();
    loop.exec();
    return longest;
}

} // namespace window_test
