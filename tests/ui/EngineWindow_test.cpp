// The engine in the window, against the fake engine of tests/engine (it answers at once, or hangs, as
// MIRUTOA_FAKE_ENGINE says): a hung engine never holds the window, the evaluation graph belongs to the
// game on the board, and the analysis dialog follows the language and the zoom.
#include "WindowTest.h"
#include "engine/EngineProcess.h"
#include "ui/AnalysisPanel.h"
#include "ui/BoardView.h"
#include "ui/Language.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QtTest>

#include <cmath>

using namespace window_test;

class EngineWindowTest : public QObject {
    Q_OBJECT

private:
    TScratch scratch_;

private slots:
    void initTestCase() {
        qputenv("MIRUTOA_ENGINE", MIRUTOA_FAKE_ENGINE);
        qputenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE);
        const QString failed = scratch_.SetUp();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
    void init() { scratch_.Enter(); }
    void cleanup() {
        scratch_.Leave();
        qunsetenv("MIRUTOA_FAKE_ENGINE");
    }

    // An engine that hangs in its search (and ignores stop and quit) is left at once when the game it
    // thinks for is replaced, and when the board changes under a hint; it is reaped later.
    void aHungEngineNeverHoldsTheWindow() {
        qputenv("MIRUTOA_FAKE_ENGINE", "silent");
        TAnsweringDialogs dialogs;
        {
            TForm1 form(&dialogs);
            TEnginePanel& engine = form.Engine();
            QVERIFY(engine.Installed());
            QVERIFY(engine.PickOpponent(3));
            RequestMove(form, 27, 26);
            QVERIFY(form.Session().ReplyPending());
            QTest::qWait(300); // the engine has the search by now, and hangs in it
            QElapsedTimer clock;
            clock.start();
            form.OnButton_StartClick();
            const qint64 newGame = clock.elapsed();
            QVERIFY2(newGame < 1000, qPrintable(QStringLiteral("a new game took %1 ms").arg(newGame)));
            QVERIFY(!form.Session().ReplyPending());
            QCOMPARE(form.Session().Turns().size(), std::size_t(0));

            QVERIFY(engine.PickOpponent(0));
            engine.AskHint();
            QTest::qWait(300);
            clock.restart();
            RequestMove(form, 27, 26); // the standard COM answers; the hint is dropped
            const qint64 move = clock.elapsed();
            QVERIFY2(move < 2000, qPrintable(QStringLiteral("a move under a hint took %1 ms").arg(move)));
            QCOMPARE(form.Session().Turns().size(), std::size_t(2));
            QVERIFY(!engine.HintShown());
            QVERIFY(dialogs.OkTexts.isEmpty());
        }
        QVERIFY(ReapStoppedEngines(std::chrono::seconds(3)));
    }

    // The graph shows the game on the board: a cancelled re-analysis keeps the earlier result, its
    // marker follows the position shown, and a new game clears it (and stops an analysis running).
    void theGraphBelongsToTheGameShown() {
        qputenv("MIRUTOA_FAKE_ENGINE", "good");
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        TAnalysisPanel& panel = form.Analysis();
        TEvalGraph& graph = panel.Graph();
        RequestMove(form, 27, 26);
        RequestMove(form, 26, 25);
        QCOMPARE(form.Session().Turns().size(), std::size_t(4));
        panel.Begin(1000);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.Running(), 10000);
        QVERIFY2(panel.Analysis().Error().empty(), panel.Analysis().Error().c_str());
        QCOMPARE(graph.Points(), std::size_t(5));
        QCOMPARE(graph.Shown(), 4);
        const TGameAnalysis* result = panel.Shown();
        QVERIFY(result != nullptr);

        panel.Begin(1000);
        panel.Cancel();
        QCOMPARE(panel.Shown(), result);
        QCOMPARE(graph.Points(), std::size_t(5));

        form.Session().ShowMove(1);
        QCOMPARE(graph.Shown(), 1);
        form.Session().ShowMove(4);
        QCOMPARE(graph.Shown(), 4);

        form.OnButton_StartClick();
        QVERIFY(panel.Shown() == nullptr);
        QCOMPARE(graph.Points(), std::size_t(0));
        QCOMPARE(graph.Shown(), 0);

        RequestMove(form, 27, 26);
        panel.Begin(1000);
        form.OnButton_StartClick();
        QVERIFY(!panel.Running());
        QCOMPARE(graph.Points(), std::size_t(0));
        QCOMPARE(panel.Dialog().findChild<QLabel*>(QStringLiteral("AnalysisState"))->text(),
                 QStringLiteral("対局が変わったので中止しました"));
    }

    // After a change of language every text of the analysis dialog is in the new one; the dialog writes
    // in the window's type at every zoom, as the message boxes do.
    void analysisDialogFollowsTheLanguageAndTheZoom() {
        qputenv("MIRUTOA_FAKE_ENGINE", "good");
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TAnalysisPanel& panel = form.Analysis();
        QDialog& dialog = panel.Dialog();
        panel.OpenDialog();
        RequestMove(form, 27, 26);
        panel.Begin(1000);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.Running(), 10000);
        auto* state = dialog.findChild<QLabel*>(QStringLiteral("AnalysisState"));
        QCOMPARE(state->text(), QStringLiteral("解析しました: 悪手 0・疑問手 0"));

        form.SetLanguage(TLanguageChoice::English);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Analyse the game"));
        QCOMPARE(state->text(), QStringLiteral("Analysed: 0 blunders, 0 dubious moves"));
        const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY2(!label->text().contains(japanese), qPrintable(label->text()));
        for (const QPushButton* button : dialog.findChildren<QPushButton*>())
            QVERIFY2(!button->text().contains(japanese), qPrintable(button->text()));
        form.SetLanguage(TLanguageChoice::Japanese);
        QCOMPARE(state->text(), QStringLiteral("解析しました: 悪手 0・疑問手 0"));

        QVERIFY2(ZoomsOffered(form).size() > 1, "the test screen offers no zoom but 100 %");
        for (int percent : ZoomsOffered(form)) {
            QVERIFY(form.SetZoom(percent));
            const int px = int(std::lround(13 * percent / 100.0));
            QCOMPARE(dialog.font().pixelSize(), px);
            QCOMPARE(state->font().pixelSize(), px);
            QCOMPARE(dialog.findChild<QSpinBox*>(QStringLiteral("AnalysisNodes"))->font().pixelSize(), px);
        }
    }
};

QTEST_MAIN(EngineWindowTest)
#include "EngineWindow_test.moc"
