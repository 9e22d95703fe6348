// What a player meets in the first hour, on the offscreen platform: the replay counter and the move
// list at every zoom and in English, the list's column widened by a drag, a game left on purpose and
// kept as interrupted, two windows on one records folder, and kept games that cannot be read.
#include "session/Kif.h"
#include "session/KifFile.h"
#include "ui/Controls.h"
#include "ui/Language.h"
#include "ui/Layout.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"
#include "ui/RecordFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

namespace {

// Answers the window's boxes and file dialogs and remembers what they said.
class TFakeDialogs : public IDialogs {
public:
    bool Answer = true;
    QStringList OkTexts;
    QStringList Questions;
    QStringList InfoTexts;
    QString OpenAnswer;

    void Ok(const QString& text) override { OkTexts << text; }
    bool YesNo(const QString& text, bool = false) override {
        Questions << text;
        return Answer;
    }
    void Info(const QString& caption, const QString& text) override { InfoTexts << caption + u'\n' + text; }
    QString OpenFileName(const QString&) override { return OpenAnswer; }
};

// A record of n moves in which both kings step aside and back: as long a game as wanted, every move
// legal.
std::string ShuffleRecord(int n) {
    TKifRecord r;
    const TMove human[2] = {{59, 58, PieceName::Ou}, {58, 59, PieceName::Ou}};
    const TMove com[2] = {{51, 52, PieceName::ComOu}, {52, 51, PieceName::ComOu}};
    for (int i = 0; i < n; ++i) {
        const TMove m = i % 2 == 0 ? human[i / 2 % 2] : com[i / 2 % 2];
        r.Played.push_back(m);
        r.Shown.push_back(m);
    }
    return WriteKif(r);
}

} // namespace

class WindowFixesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir pictures_;
    QTemporaryDir config_;
    QTemporaryDir data_;
    QString startDir_;

    static TSquareImage* Square(TForm1& form, int code) {
        return form.findChild<TSquareImage*>(QStringLiteral("ban%1").arg(code));
    }
    static void Drag(TForm1& form, int from, int to) {
        emit Square(form, from)->dragStarted(from);
        emit Square(form, to)->dropped(to);
        emit Square(form, from)->dragEnded(from);
    }
    // The zoom factors the 表示 menu offers.
    static std::vector<int> Offered(TForm1& form) {
        std::vector<int> percents;
        for (QAction* item : form.findChild<QMenu*>(QStringLiteral("ZoomMenu"))->actions())
            if (item->isCheckable() && item->isEnabled()) percents.push_back(item->text().chopped(2).toInt());
        return percents;
    }
    // The scale the layout is drawn at: the board's width against its width at 100 %.
    static double DrawnScale(TForm1& form) {
        return form.findChild<QWidget*>(QStringLiteral("Image1"))->width() /
               double(Layout::Place("Image1").Rect.width());
    }

private slots:
    void initTestCase() {
        // The settings and the kept games go to scratch folders, not to the user's.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        QVERIFY(data_.isValid());
        qputenv("XDG_DATA_HOME", data_.path().toLocal8Bit());
        TForm1::SetUpApplication();
        QVERIFY(pictures_.isValid());
        const QDir assets(QStringLiteral(MIRUTOA_ASSETS_DIR));
        for (const QString& file : TPictures::ComaFileNames())
            QVERIFY2(QFile::copy(assets.filePath(file), QDir(pictures_.path()).filePath(file)),
                     qPrintable(file));
        startDir_ = QDir::currentPath();
    }
    void init() {
        QDir::setCurrent(pictures_.path());
        QSettings().clear();
        QVERIFY(QDir(TRecordFiles::RecordsFolder()).removeRecursively());
    }
    void cleanup() {
        QDir::setCurrent(startDir_);
        if (Language::Current() != TTextLanguage::Japanese) Language::Apply(TTextLanguage::Japanese);
    }

    // At a game's 120th move the counter's text is whole in its label, at the size the zoom gives
    // it, at every zoom and in a window given more room; the label stays clear of the ◀ button, and
    // it has room for 999 moves.
    void replayCounterFitsAtEveryZoom() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QCOMPARE(form.Session().OpenKifText(ShuffleRecord(120)), 120);
        form.OnReplayEnd();
        auto* counter = form.findChild<TFitLabel*>(QStringLiteral("ReplayCounter"));
        const QWidget* back = form.findChild<QWidget*>(QStringLiteral("ReplayBackButton"));
        QCOMPARE(counter->text(), QStringLiteral("120 / 120手"));
        const auto check = [&](const QString& at) {
            const double scale = DrawnScale(form);
            QFont full = counter->font();
            full.setPixelSize(Layout::Scaled(Layout::Place("ReplayCounter").FontPx, scale));
            QCOMPARE(counter->font().pixelSize(), full.pixelSize());
            QVERIFY2(counter->Fits(counter->text(), counter->font()), qPrintable(at));
            QVERIFY2(counter->Fits(QStringLiteral("999 / 999手"), full), qPrintable(at));
            QVERIFY2(counter->geometry().right() < back->geometry().left(), qPrintable(at));
        };
        for (int percent : Offered(form)) {
            QVERIFY(form.SetZoom(percent));
            check(QStringLiteral("at %1 %").arg(percent));
        }
        QVERIFY(form.SetZoom(100));
        form.resize(form.size() * 2);
        QTRY_VERIFY(DrawnScale(form) > 1.5);
        check(QStringLiteral("in a window twice as large"));
    }
};

QTEST_MAIN(WindowFixesTest)
#include "WindowFixes_test.moc"
