// Study mode, the review of one's mistakes, the graph's clicks and the hint for any position shown, in
// the window. Study mode runs the real engine (skipped, saying so, without it): three lines and three
// arrows, a search started again for each position shown, a pause while the engine seat thinks, and the
// window's longest stall meanwhile, printed. The review runs the fake engine of tests/engine, which
// values every move but its own best 400 below it.
#include "WindowTest.h"
#include "engine/EngineProcess.h"
#include "ui/AnalysisPanel.h"
#include "ui/BoardView.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"
#include "ui/StudyPanel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cstdio>

using namespace window_test;

namespace {

// The longest time between two turns of the event loop while it runs.
class TStallMeter {
public:
    TStallMeter() {
        clock_.start();
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
        timer_.start();
    }
    qint64 Longest() const { return longest_; }
    void Reset() {
        longest_ = 0;
        last_ = clock_.elapsed();
    }

private:
    QElapsedTimer clock_;
    QTimer timer_;
    qint64 last_ = 0, longest_ = 0;
};

bool LegalIn(const TKyokumen& k, const TMove& m) {
    TMoveList legal;
    LegalMoves(k, SideToMove(k), legal);
    return std::any_of(legal.begin(), legal.end(),
                       [&m](const TMove& l) { return l.From == m.From && l.To == m.To; });
}

// Whether the study shows three lines, each beginning with a legal move of the position shown, and an
// arrow for each.
bool ShowsLinesOf(const TStudyPanel& study, const TKyokumen& shown) {
    const std::vector<TStudyLine>& lines = study.Study().Lines();
    if (lines.size() != 3 || study.Arrows().Moves().size() != 3) return false;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!LegalIn(shown, lines[i].Moves.front()) || !(study.Arrows().Moves()[i] == lines[i].Moves.front()))
            return false;
    return true;
}

} // namespace

class StudyWindowTest : public QObject {
    Q_OBJECT

private:
    TScratch scratch_;

    // A drag on the board from one square to another, as the pointer makes it.
    static void Drag(TForm1& form, int from, int to) {
        TBoardView& board = form.Board();
        board.OnStartComa(board.ImageSquare(from));
        board.OnDragComa(board.ImageSquare(to));
        board.OnEndComa(board.ImageSquare(from));
    }
    static bool HaveEngine() { return !FindEngineProgram("fairy-stockfish").empty(); }

private slots:
    void initTestCase() {
        qputenv("MIRUTOA_VARIANT_FILE", MIRUTOA_VARIANT_FILE);
        const QString failed = scratch_.SetUp();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
    void init() { scratch_.Enter(); }
    void cleanup() {
        scratch_.Leave();
        qunsetenv("MIRUTOA_ENGINE");
        qunsetenv("MIRUTOA_FAKE_ENGINE");
        qunsetenv("MIRUTOA_FAKE_DROP");
    }

    void studyModeShowsThreeLinesAndFollowsThePositionShown() {
        if (!HaveEngine()) QSKIP("the engine is not installed (Debian package fairy-stockfish)");
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TStudyPanel& study = form.Study();
        TGameSession& session = form.Session();
        TStallMeter stalls;
        QVERIFY(study.SetStudyMode(true));
        QTRY_VERIFY_WITH_TIMEOUT(ShowsLinesOf(study, session.ShownPosition()), 10000);
        QCOMPARE(study.LineTexts().size(), 3);
        QVERIFY(!study.Arrows().isHidden());
        QVERIFY(study.Bar().Value().has_value());
        QCOMPARE(study.Bar().Value(), study.Study().Lines().front().Value);
        const std::vector<TStudyLine> start = study.Study().Lines();

        // A move and COM's reply: the lines are the new position's within moments.
        RequestMove(form, 27, 26);
        QCOMPARE(session.MoveCount(), 2);
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(ShowsLinesOf(study, session.ShownPosition()), 10000);
        const qint64 afterMove = clock.elapsed();

        // Looking back, and back to the game: each position's own lines again.
        qint64 slowest = afterMove, longestStall = stalls.Longest(), quietestStall = longestStall;
        for (int n : {0, 1, 2}) {
            stalls.Reset();
            session.ShowMove(n);
            QVERIFY(study.Study().Lines().empty() || n == 2);
            clock.restart();
            QTRY_VERIFY_WITH_TIMEOUT(ShowsLinesOf(study, session.ShownPosition()), 10000);
            slowest = std::max(slowest, clock.elapsed());
            QTest::qWait(300);
            longestStall = std::max(longestStall, stalls.Longest());
            quietestStall = std::min(quietestStall, stalls.Longest());
        }
        // The same position searched again shows, at a depth it showed before, the same lines.
        session.ShowMove(0);
        QTRY_VERIFY_WITH_TIMEOUT(study.Study().Depth() >= start.front().Depth, 20000);
        if (study.Study().Depth() == start.front().Depth)
            QVERIFY(study.Study().Lines().front().Moves == start.front().Moves);
        std::printf("study: first lines of a new position after at most %lld ms; longest stall of the window "
                    "while studying %lld ms (%lld ms in the quietest of four positions)\n",
                    static_cast<long long>(slowest), static_cast<long long>(longestStall),
                    static_cast<long long>(quietestStall));
        // A loaded machine can hold the program back at any moment; a wait for the engine would show in
        // every position.
        QVERIFY2(quietestStall < 250,
                 qPrintable(QStringLiteral("the window stalled %1 ms").arg(quietestStall)));

        study.SetStudyMode(false);
        QVERIFY(study.Arrows().isHidden());
        QVERIFY(!study.Study().Active());
    }

    // While the engine seat thinks on its move, study mode waits, and goes on with the new position.
    void studyModePausesForTheEngineSeat() {
        if (!HaveEngine()) QSKIP("the engine is not installed (Debian package fairy-stockfish)");
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        TStudyPanel& study = form.Study();
        QVERIFY(form.Engine().PickOpponent(kEngineLevelCount)); // the longest search of the ladder
        QVERIFY(study.SetStudyMode(true));
        QTRY_VERIFY_WITH_TIMEOUT(study.Study().Lines().size() == 3, 10000);
        RequestMove(form, 27, 26);
        QVERIFY(form.Session().ReplyPending());
        QTRY_VERIFY_WITH_TIMEOUT(study.Study().Paused(), 400);
        QTRY_VERIFY_WITH_TIMEOUT(!form.Session().ReplyPending(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!study.Study().Paused(), 1000);
        QCOMPARE(form.Session().MoveCount(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(ShowsLinesOf(study, form.Session().ShownPosition()), 10000);
    }

    // A click on the graph during a game looks back at that position; the hint answers for it.
    void graphClicksAndHintsWorkOnALookBack() {
        if (!HaveEngine()) QSKIP("the engine is not installed (Debian package fairy-stockfish)");
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        TGameSession& session = form.Session();
        RequestMove(form, 27, 26);
        RequestMove(form, 26, 25);
        QCOMPARE(session.MoveCount(), 4);
        TAnalysisPanel& panel = form.Analysis();
        panel.Begin(10'000);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.Running(), 20000);
        emit panel.Graph().pointClicked(1);
        QVERIFY(session.Browsing());
        QCOMPARE(session.ShownMove(), 1);
        QCOMPARE(panel.Graph().Shown(), 1);

        form.Engine().AskHint();
        QTRY_VERIFY_WITH_TIMEOUT(form.Engine().HintShown(), 10000);
        QVERIFY(LegalIn(session.ShownPosition(), form.Engine().LastHint().Move));
        QVERIFY(form.Engine().LastHint().Com); // 後手 is to move after move 1
        session.ShowMove(session.MoveCount()); // End: back to the game
        QVERIFY(!session.Browsing());
        QVERIFY(!form.Engine().HintShown());
    }

    // The review: the position before each marked move, a move dragged on the board as the answer, the
    // engine's move with its arrow after two misses, and the score; the board's moves go back to the
    // game afterwards.
    void reviewAsksAboutEachMistakeOnTheBoard() {
        qputenv("MIRUTOA_ENGINE", MIRUTOA_FAKE_ENGINE);
        qputenv("MIRUTOA_FAKE_ENGINE", "good");
        qputenv("MIRUTOA_FAKE_DROP", "400");
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        TGameSession& session = form.Session();
        TStudyPanel& study = form.Study();
        QVERIFY(!study.StartReview()); // nothing analysed yet
        RequestMove(form, 87, 86);
        RequestMove(form, 57, 56);
        QCOMPARE(session.MoveCount(), 4);
        TAnalysisPanel& panel = form.Analysis();
        panel.Begin(1000);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.Running(), 10000);
        QVERIFY(panel.Shown() != nullptr);

        QVERIFY(study.StartReview());
        QCOMPARE(session.ShownMove(), 0);
        QVERIFY2(study.ReviewText().contains(QStringLiteral("もっと良い手を探してください")),
                 qPrintable(study.ReviewText()));
        Drag(form, 97, 96);
        QVERIFY2(study.ReviewText().contains(QStringLiteral("正解")), qPrintable(study.ReviewText()));
        QCOMPARE(session.MoveCount(), 4); // the game is not touched
        study.NextQuestion();
        QCOMPARE(session.ShownMove(), 2);

        Drag(form, 37, 36);
        QTRY_VERIFY_WITH_TIMEOUT(study.ReviewText().contains(QStringLiteral("違います")), 5000);
        Drag(form, 27, 26);
        QTRY_VERIFY_WITH_TIMEOUT(study.ReviewText().contains(QStringLiteral("エンジンの手は ▲９六歩")), 5000);
        QCOMPARE(study.Arrows().Moves().size(), std::size_t(1));
        QCOMPARE(int(study.Arrows().Moves().front().From), 97);
        QVERIFY(!study.Arrows().isHidden());
        study.NextQuestion();
        QVERIFY2(study.ReviewText().contains(QStringLiteral("2問中1問正解")), qPrintable(study.ReviewText()));
        QVERIFY(study.Arrows().isHidden());

        // The board's drags are the game's again: a new move on a look back is asked about (and, the
        // question cancelled, nothing changes).
        QVERIFY(dialogs.Choices.isEmpty());
        Drag(form, 37, 36);
        QCOMPARE(dialogs.Choices.size(), 1);
        QCOMPARE(session.MoveCount(), 4);
        QCOMPARE(session.LineCount(), 1);
    }
};

QTEST_MAIN(StudyWindowTest)
#include "StudyWindow_test.moc"
