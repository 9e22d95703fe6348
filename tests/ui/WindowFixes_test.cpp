// What a player meets in the first hour, on the offscreen platform: the replay counter and the move
// list at every zoom and in English, the list's column widened by a drag, the help and version boxes,
// a game left on purpose and kept as interrupted, two windows on one records folder, and kept games
// that cannot be read.
#include "WindowTest.h"
#include "session/Judge.h"
#include "session/Kif.h"
#include "session/KifError.h"
#include "session/KifFile.h"
#include "support/QuietMoves.h"
#include "ui/About.h"
#include "ui/Artwork.h"
#include "ui/Controls.h"
#include "ui/Language.h"
#include "ui/Layout.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"
#include "ui/RecordFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Answers the window's boxes and file dialogs and remembers what they said.
class TFakeDialogs : public IDialogs {
public:
    bool Answer = true;
    QStringList OkTexts;
    QStringList Questions;
    QStringList InfoTexts;

    void Ok(const QString& text) override { OkTexts << text; }
    bool YesNo(const QString& text, bool = false) override {
        Questions << text;
        return Answer;
    }
    void Info(const QString& caption, const QString& text) override { InfoTexts << caption + u'\n' + text; }
};

// A record of n moves, every one legal and none ending the game (support/QuietMoves.h).
std::string ShuffleRecord(int n, TGameEnd ending = {}) {
    TKifRecord r;
    r.Ending = ending;
    TKyokumen k = KifStartPosition(KifStart::Even);
    TJudge judge;
    judge.Reset(k);
    std::uint32_t seed = 12345;
    quiet_moves::Play(k, judge, n, seed, r.Played, r.Shown);
    return WriteKif(r);
}

} // namespace

using namespace window_test;

class WindowFixesTest : public QObject {
    Q_OBJECT

private:
    TScratch scratch_;

    // The rows of the move list whose lines do not fit its width.
    static QStringList RowsPastTheEdge(const QListWidget& list) {
        QStringList past;
        const QFontMetrics metrics(list.font());
        // The view draws a row's text a few pixels in from either side.
        const int room = list.viewport()->width() - 8;
        for (int i = 0; i < list.count(); ++i)
            for (const QString& line : list.item(i)->text().split(u'\n'))
                if (metrics.horizontalAdvance(line) > room) past << line;
        return past;
    }
    // The kept games, newest first.
    static QStringList Kept() {
        const QDir records(TRecordFiles::RecordsFolder());
        QStringList paths;
        for (const QString& name : records.entryList({QStringLiteral("*.kifu")}, QDir::Files, QDir::Time))
            paths << records.filePath(name);
        return paths;
    }
    static TKifRecord Read(const QString& path) { return TGameSession::ReadRecord(path.toStdString()); }
    // The 最近の棋譜 row of a kept file.
    static QString RecentRow(TForm1& form, const QString& path) {
        emit form.Records().RecentMenu()->aboutToShow();
        for (QAction* item : form.Records().RecentMenu()->actions())
            if (item->data().toString() == path) return item->text();
        return {};
    }
    // The scale the layout is drawn at: the board's width against its width at 100 %.
    static double DrawnScale(TForm1& form) {
        return form.findChild<QWidget*>(QStringLiteral("Image1"))->width() /
               double(Layout::Place("Image1").Rect.width());
    }

private slots:
    void initTestCase() {
        const QString failed = scratch_.SetUp();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
    void init() {
        scratch_.Enter();
        QVERIFY(QDir(TRecordFiles::RecordsFolder()).removeRecursively());
    }
    void cleanup() { scratch_.Leave(); }

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
        for (int percent : ZoomsOffered(form)) {
            QVERIFY(form.SetZoom(percent));
            check(QStringLiteral("at %1 %").arg(percent));
        }
        QVERIFY(form.SetZoom(100));
        form.resize(form.size() * 2);
        QTRY_VERIFY(DrawnScale(form) > 1.5);
        check(QStringLiteral("in a window twice as large"));
    }

    // In English, "Take back" is drawn at the button's own size with air on either side at every
    // zoom, the button where it always was. An analysed game's marks follow a change of language, and
    // a mark's better move stands on a line of its own that fits the list.
    void englishButtonsAndMarksAfterASwitch() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        form.SetLanguage(TLanguageChoice::English);
        auto* matta = form.findChild<QPushButton*>(QStringLiteral("Button_Matta"));
        QCOMPARE(matta->text(), QStringLiteral("Take back"));
        for (int percent : ZoomsOffered(form)) {
            QVERIFY(form.SetZoom(percent));
            const double f = percent / 100.0;
            const QString at = QStringLiteral(" at %1 %").arg(percent);
            QCOMPARE(matta->pos(), QPoint(Layout::Scaled(448, f), Layout::Scaled(8, f)));
            QVERIFY2(matta->font().pixelSize() == Layout::Scaled(Layout::kWindowFontPx, f), qPrintable(at));
            const int air =
                ButtonTextRoom(matta).width() - QFontMetrics(matta->font()).horizontalAdvance(matta->text());
            QVERIFY2(air >= 2 * Layout::Scaled(4, f),
                     qPrintable(QStringLiteral("%1 pixels of air").arg(air) + at));
        }
        QVERIFY(form.SetZoom(100));

        if (!form.Engine().Installed()) QSKIP("the engine is not installed (Debian package fairy-stockfish)");
        form.SetLanguage(TLanguageChoice::Japanese);
        // The bishop taken on 44 for a pawn: a blunder whatever the engine's depth.
        DragImages(form, 66, 65);
        DragImages(form, 77, 44);
        DragImages(form, 27, 26);
        dialogs.Answer = true;
        form.OnResignClick();
        form.Analysis().Begin(kAnalysisDefaultNodes);
        QTRY_VERIFY_WITH_TIMEOUT(!form.Analysis().Running(), 20000);
        auto* list = form.findChild<QListWidget*>(QStringLiteral("KifuList"));
        const QStringList japanese = list->item(3)->text().split(u'\n');
        QCOMPARE(japanese.size(), 2);
        QVERIFY2(japanese[0].endsWith(QStringLiteral("　悪手")), qPrintable(japanese[0]));
        QVERIFY2(japanese[1].startsWith(QStringLiteral("　　最善 ▲")), qPrintable(japanese[1]));
        QVERIFY2(RowsPastTheEdge(*list).isEmpty(), qPrintable(RowsPastTheEdge(*list).join(u'|')));

        form.SetLanguage(TLanguageChoice::English);
        const QStringList english = list->item(3)->text().split(u'\n');
        QCOMPARE(english.size(), 2);
        QVERIFY2(english[0].endsWith(QStringLiteral("　Blunder")), qPrintable(english[0]));
        QVERIFY2(english[1].startsWith(QStringLiteral("　　best: ▲")), qPrintable(english[1]));
        QVERIFY2(!english[1].contains(QRegularExpression(QStringLiteral("[０-９一-九]"))),
                 qPrintable(english[1]));
        form.SetLanguage(TLanguageChoice::Japanese);
        QCOMPARE(list->item(3)->text().split(u'\n'), japanese);
    }

    // The end of a long game runs past the list at its first width; the handle at the list's right
    // edge widens it by a drag, the window growing with it, until every row fits. The width is kept
    // for the next window, and the handle measures a drag on the screen at any zoom.
    void moveListWidensByADragAndKeepsItsWidth() {
        const int first = Layout::kKifuRoom - Layout::kKifuMargin;
        TFakeDialogs dialogs;
        {
            TForm1 form(&dialogs);
            form.show();
            QCOMPARE(form.Session().OpenKifText(ShuffleRecord(120, TGameEnd{EndKind::Resign, Side::Sente})),
                     120);
            auto* list = form.findChild<QListWidget*>(QStringLiteral("KifuList"));
            auto* grip = form.findChild<QWidget*>(QStringLiteral("KifuGrip"));
            QCOMPARE(list->item(list->count() - 1)->text(), QStringLiteral("投了　まで120手で後手の勝ち"));
            QVERIFY(!RowsPastTheEdge(*list).isEmpty());
            QCOMPARE(grip->geometry().left(), list->geometry().right() + 1);

            const int windowWidth = form.width();
            const QPoint hold(grip->width() / 2, grip->height() / 2);
            QTest::mousePress(grip, Qt::LeftButton, {}, hold);
            QTest::mouseMove(grip, hold + QPoint(60, 0));
            QTest::mouseRelease(grip, Qt::LeftButton, {}, grip->rect().center());
            QCOMPARE(form.KifuListWidth(), first + 60);
            QCOMPARE(list->width(), first + 60);
            QCOMPARE(form.width(), windowWidth + 60);
            QCOMPARE(grip->geometry().left(), list->geometry().right() + 1);
            QVERIFY2(RowsPastTheEdge(*list).isEmpty(), qPrintable(RowsPastTheEdge(*list).join(u'|')));

            // At 150 % the same drag on the screen is two thirds as much of the layout.
            QVERIFY(form.SetZoom(150));
            QTest::mousePress(grip, Qt::LeftButton, {}, hold);
            QTest::mouseMove(grip, hold + QPoint(-60, 0));
            QTest::mouseRelease(grip, Qt::LeftButton, {}, grip->rect().center());
            QCOMPARE(form.KifuListWidth(), first + 20);
            QCOMPARE(list->width(), Layout::Scaled(673 + first + 20, 1.5) - Layout::Scaled(673, 1.5));
            // Never narrower than at first.
            QTest::mousePress(grip, Qt::LeftButton, {}, hold);
            QTest::mouseMove(grip, hold + QPoint(-300, 0));
            QTest::mouseRelease(grip, Qt::LeftButton, {}, grip->rect().center());
            QCOMPARE(form.KifuListWidth(), first);
            form.SetKifuListWidth(first + 90);
            QVERIFY(form.SetZoom(100));
        }
        TForm1 again(&dialogs);
        QCOMPARE(again.KifuListWidth(), first + 90);
        QCOMPARE(again.findChild<QListWidget*>(QStringLiteral("KifuList"))->width(), first + 90);
        QCOMPARE(again.Client()->size(), Layout::ClientSize(true, first + 90));
    }

    // F1 covers every subject, in English wholly; the version box names the version, the licence and
    // the fonts at once, and the engine: "…" while it is asked (the window does not wait for it),
    // then its own name, or its absence.
    void helpAndVersionSayWhatAPlayerNeeds() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.OnHelpClick();
        const QString help = dialogs.InfoTexts.last();
        for (const char* subject :
             {"ルール", "ドラッグ", "棋譜再現", "待った", "投了", "ヒント", "対戦相手", "解析",
              "この局面から指し直す", "続き", "言語", "Ctrl+Z", "Home", "End", "F1"})
            QVERIFY2(help.contains(QString::fromUtf8(subject)), subject);
        form.SetLanguage(TLanguageChoice::English);
        form.OnHelpClick();
        const QString english = dialogs.InfoTexts.last();
        QVERIFY2(
            !english.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"))),
            qPrintable(english));
        QCOMPARE(english.count(QStringLiteral("■ ")), help.count(QStringLiteral("■ ")));
        form.SetLanguage(TLanguageChoice::Japanese);

        form.OnVersionClick();
        const QString first = dialogs.InfoTexts.last();
        QVERIFY2(first.contains(QStringLiteral("MIT")) &&
                     first.contains(QStringLiteral(MIRUTOA_VERSION_TEXT)) &&
                     first.contains(Artwork::LetteringFamily()),
                 qPrintable(first));
        if (!form.Engine().Installed()) {
            QVERIFY2(first.contains(QStringLiteral("見つかりません")), qPrintable(first));
            return;
        }
        QVERIFY2(first.contains(QStringLiteral("fairy-stockfish …")), qPrintable(first));
        QTRY_VERIFY_WITH_TIMEOUT(form.About().EngineKnown(), 10000);
        form.OnVersionClick();
        const QString known = dialogs.InfoTexts.last();
        QVERIFY2(!known.contains(QStringLiteral("…")) &&
                     known.contains(QStringLiteral("stockfish"), Qt::CaseInsensitive),
                 qPrintable(known));
    }

    // この局面から指し直す from a position looked back at asks before it ends the game going on, and No
    // leaves the game and its kept record as they were.
    void playingOnInAGameAsksFirst() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        DragImages(form, 76, 75);
        DragImages(form, 27, 26);
        const QString kept = Kept().value(0);
        QVERIFY(!kept.isEmpty());
        form.Session().ShowMove(2);
        dialogs.Answer = false;
        form.Records().OnPlayOnClick();
        QCOMPARE(dialogs.Questions,
                 QStringList{QStringLiteral("対局中のゲームをやめてこの局面から指し直しますか？")});
        QCOMPARE(int(form.Session().Turns().size()), 4);
        QCOMPARE(form.Session().ShownMove(), 2);
        QVERIFY(!Read(kept).Interrupted);
        // A refused play-on (COM to move after move 1) leaves the game going on, and kept so.
        dialogs.Answer = true;
        form.Session().ShowMove(1);
        form.Records().OnPlayOnClick();
        QCOMPARE(dialogs.OkTexts.size(), 1);
        QCOMPARE(int(form.Session().Turns().size()), 4);
        QVERIFY(!Read(kept).Interrupted);
        form.Session().ShowMove(2);
        form.Records().OnPlayOnClick();
        QCOMPARE(int(form.Session().Turns().size()), 2);
        QVERIFY(!form.Session().ReplayMode());
        QVERIFY(Read(kept).Interrupted);
    }

    // A game the player leaves on purpose is kept as interrupted: the next window does not offer it,
    // and 最近の棋譜 says 中断. A window closed by its frame leaves its game to be continued.
    void aGameLeftOnPurposeIsKeptAsInterrupted() {
        QTemporaryDir dir;
        const QString record = dir.filePath(QStringLiteral("short.kifu"));
        {
            QFile file(record);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(ShuffleRecord(4)));
        }
        struct TWay {
            const char* Name;
            std::function<void(TForm1&)> Leave;
            int Continued; // the moves of the game the next window continues; 0 for none offered
        };
        const TWay ways[] = {
            {"平手で初期化", [](TForm1& form) { form.OnButton_StartClick(); }, 0},
            {"飛車角落ちで初期化", [](TForm1& form) { form.OnButton_HisyaKakuClick(); }, 0},
            {"棋譜を開く", [&](TForm1& form) { QVERIFY(form.Records().OpenRecordFile(record)); }, 0},
            // The game played on from move 2 is a game of its own, kept and offered.
            {"この局面から指し直す",
             [](TForm1& form) {
                 form.Session().ShowMove(2);
                 form.Records().OnPlayOnClick();
             },
             2},
            {"終了", [](TForm1& form) { form.OnButton_ExitClick(); }, 0},
            {"the window's frame", [](TForm1&) {}, 4},
        };
        for (const TWay& way : ways) {
            QVERIFY(QDir(TRecordFiles::RecordsFolder()).removeRecursively());
            TFakeDialogs dialogs;
            QString left;
            {
                TForm1 form(&dialogs);
                DragImages(form, 76, 75);
                DragImages(form, 27, 26);
                left = Kept().value(0);
                way.Leave(form);
            }
            const bool kept = way.Continued != 4;
            QVERIFY2(Read(left).Interrupted == kept, way.Name);
            QCOMPARE(int(Read(left).Shown.size()), 4);
            TForm1 next(&dialogs);
            QVERIFY2(RecentRow(next, left)
                         .endsWith(kept ? QStringLiteral("　4手　中断") : QStringLiteral("　4手　対局中")),
                     qPrintable(RecentRow(next, left)));
            dialogs.Questions.clear();
            QCOMPARE(next.Records().OfferResume(), way.Continued > 0);
            QCOMPARE(dialogs.Questions.size(), way.Continued > 0 ? 1 : 0);
            QCOMPARE(int(next.Session().Turns().size()), way.Continued);
        }
    }

    // While a window plays a kept game, a second window neither offers it nor writes it: its own game
    // gets a file of its own, and the first game goes on in its file. Once the first window has gone,
    // its game is offered again.
    void aSecondWindowLeavesTheFirstWindowsGameAlone() {
        TFakeDialogs dialogs;
        auto first = std::make_unique<TForm1>(&dialogs);
        DragImages(*first, 76, 75);
        const QString firstFile = Kept().value(0);
        QVERIFY(QFile::exists(firstFile + QStringLiteral(".lock")));
        {
            TForm1 second(&dialogs);
            QVERIFY(!second.Records().OfferResume());
            QVERIFY(dialogs.Questions.isEmpty());
            DragImages(second, 27, 26);
            QCOMPARE(Kept().size(), 2);
            const QString secondFile = Kept().value(0);
            QVERIFY(secondFile != firstFile);
            QCOMPARE(int(Read(firstFile).Shown.size()), 2);
            QCOMPARE(Read(firstFile).Shown, first->Session().ShownMoveHistory());
            DragImages(*first, 27, 26);
            QCOMPARE(Read(firstFile).Shown, first->Session().ShownMoveHistory());
            QCOMPARE(int(Read(secondFile).Shown.size()), 2);
        }
        first.reset();
        QVERIFY(!QFile::exists(firstFile + QStringLiteral(".lock")));
        TForm1 third(&dialogs);
        dialogs.Answer = true;
        QVERIFY(third.Records().OfferResume());
        QCOMPARE(int(third.Session().Turns().size()), 4);
        QVERIFY(QFile::exists(firstFile + QStringLiteral(".lock")));
    }

    // Kept files that cannot be read (truncated, junk, too large) are passed over at start-up: the
    // status bar names them and says why, and the newest game that can be continued is offered.
    void unreadableKeptGamesAreNamedAndPassedOver() {
        struct TBad {
            const char* Name;
            std::function<QByteArray(const QByteArray&)> Bytes; // from a sound kept game
        };
        const TBad bad[] = {
            {"truncated", [](const QByteArray& sound) { return sound.left(sound.indexOf("|一") + 4); }},
            {"junk", [](const QByteArray&) { return QByteArray("\x01\x02 not a record \xff\xfe"); }},
            {"too large", [](const QByteArray&) { return QByteArray(int(kKifMaxBytes) + 1, ' '); }},
        };
        for (const TBad& b : bad) {
            QVERIFY(QDir(TRecordFiles::RecordsFolder()).removeRecursively());
            TFakeDialogs dialogs;
            {
                TForm1 form(&dialogs);
                DragImages(form, 76, 75);
            }
            const QString sound = Kept().value(0);
            QFile file(sound);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString broken = QFileInfo(sound).dir().filePath(QStringLiteral("20990101-000000.kifu"));
            QFile out(broken);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(b.Bytes(file.readAll()));
            out.close();
            // The newest by its time, as a game kept after the sound one.
            QVERIFY(out.open(QIODevice::Append));
            QVERIFY(out.setFileTime(QFileInfo(sound).lastModified().addSecs(60),
                                    QFileDevice::FileModificationTime));
            out.close();
            QCOMPARE(Kept().value(0), broken);
            QString reason;
            try {
                Read(broken);
            } catch (const std::exception& e) {
                reason = QString::fromStdString(KifErrorText(e));
            }
            QVERIFY2(!reason.isEmpty(), b.Name);

            TForm1 next(&dialogs);
            dialogs.Answer = true;
            QVERIFY2(next.Records().OfferResume(), b.Name);
            QCOMPARE(dialogs.Questions, QStringList{QStringLiteral("前回の対局を続けますか？")});
            QCOMPARE(int(next.Session().Turns().size()), 2);
            const QString said = next.statusBar()->currentMessage();
            QVERIFY2(said.contains(QStringLiteral("20990101-000000.kifu")) && said.contains(reason),
                     qPrintable(said));
        }
    }
};

QTEST_MAIN(WindowFixesTest)
#include "WindowFixes_test.moc"
