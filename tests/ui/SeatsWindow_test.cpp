// The window with other seats than the person first against COM: playing second on a turned board, the
// board turned in a replay, two people at one board, and two computers watched, paused and resumed.
#include "WindowTest.h"
#include "ui/BoardView.h"

#include <QtTest>

#include <cstdio>

using namespace window_test;

namespace {

// Whether the image at code (where the board's layout puts it) shows the picture of piece.
bool Shows(TForm1& form, int code, PieceName piece) {
    const TSquareImage* square = Image(form, code);
    const QPixmap* picture = form.ComaPicture(piece);
    return square != nullptr && picture != nullptr && square->HasPicture() &&
           square->Picture().cacheKey() == picture->cacheKey();
}

} // namespace

class SeatsWindowTest : public QObject {
    Q_OBJECT

private:
    TScratch scratch_;

private slots:
    void initTestCase() {
        const QString failed = scratch_.SetUp();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
    void init() { scratch_.Enter(); }
    void cleanup() { scratch_.Leave(); }

    // COM first: it moves at once, the board shows the person's pieces at the bottom with the
    // coordinates turned, and a drag on the turned board plays the square the person sees.
    void playingSecondTurnsTheBoardAndADragLandsWhereItIsSeen() {
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        form.Play().StartGame({{{TSeat::Com(), TSeat::Human()}}, KifStart::Even, 500, {}});
        TGameSession& s = form.Session();
        QTRY_COMPARE(s.MoveCount(), 1);
        QVERIFY(s.HumanToMove());
        TBoardView& board = form.Board();
        QVERIFY(board.Flipped());
        QCOMPARE(board.RankLabel(1), QStringLiteral("九"));
        QCOMPARE(board.FileLabel(1), QStringLiteral("１"));
        // The person's bishop (the second player's, on 33) stands upright on the image where 77 is.
        QVERIFY(Shows(form, 77, PieceName::Kaku));
        // The pawn on 23 is seen on the image at 87; dragged one image up, it goes to 24.
        QVERIFY(Shows(form, 87, PieceName::Fu));
        DragImages(form, 87, 86);
        QTRY_COMPARE(s.MoveCount(), 3);
        QCOMPARE(SquareText(s.Turns()[1].Played.From) + SquareText(s.Turns()[1].Played.To),
                 std::string("2324"));
        QVERIFY(Shows(form, 86, PieceName::Fu));
        QVERIFY(!Image(form, 87)->HasPicture());
        QVERIFY(dialogs.OkTexts.isEmpty());
        // The kept seats come back at the next start.
        TForm1 again(&dialogs);
        QCOMPARE(again.Session().Seats(), (TSeats{{TSeat::Com(), TSeat::Human()}}));
    }

    // 盤面反転 turns a replay too: the test position's pieces stand on the turned images, and a step
    // forward lands where the turned board shows it.
    void turningTheBoardInAReplay() {
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        form.OnButton_TestClick();
        DragImages(form, 28, 22); // the rook mates at once
        TGameSession& s = form.Session();
        QVERIFY(s.GameOver());
        form.OnReplayButton1_Click();
        QVERIFY(!form.Board().Flipped());
        QVERIFY(Shows(form, 11, PieceName::ComOu));
        QAction* turn = MenuItem(form, QStringLiteral("盤面反転"));
        QVERIFY(turn != nullptr);
        turn->trigger();
        QVERIFY(form.Board().Flipped());
        // COM's king on 11, seen from the other side, stands upright in the bottom-left corner.
        QVERIFY(Shows(form, 99, PieceName::Ou));
        QVERIFY(!Image(form, 11)->HasPicture() || !Shows(form, 11, PieceName::ComOu));
        form.OnReplayButton2_Click();
        QCOMPARE(s.ShownMove(), 1);
        QVERIFY(Shows(form, RotatedSquare(22), PieceName::ComRyu)); // the human's dragon, turned
        turn->trigger();
        QVERIFY(Shows(form, 22, PieceName::Ryu));
    }

    // Two people: each side moves its own pieces, 待った takes back one move, 投了 resigns for the side
    // to move, and with 手番側を手前に the side to move is at the bottom.
    void twoPeopleAtOneBoard() {
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        form.Play().StartGame({{{TSeat::Human(), TSeat::Human()}}, KifStart::Even, 500, {}});
        TGameSession& s = form.Session();
        DragImages(form, 27, 26);
        QCOMPARE(s.MoveCount(), 1);
        QCOMPARE(Label(form, "Label_Message"), QStringLiteral("1手目 ▲先手の指し手:\n\n　27→26　歩"));
        DragImages(form, 83, 84);
        QCOMPARE(s.MoveCount(), 2);
        form.OnButton_MattaClick();
        QCOMPARE(s.MoveCount(), 1);
        QVERIFY(s.SideToMove() == Side::Gote);
        MenuItem(form, QStringLiteral("手番側を手前に"))->trigger();
        QVERIFY(form.Board().Flipped());
        // The second player's pawn on 83 is seen where 27 is.
        DragImages(form, 27, 26);
        QCOMPARE(s.MoveCount(), 2);
        QCOMPARE(SquareText(s.Turns()[1].Played.From), std::string("83"));
        QVERIFY(!form.Board().Flipped());
        QVERIFY(s.CanResign());
        form.OnResignClick();
        QCOMPARE(s.Ending(), (TGameEnd{EndKind::Resign, Side::Sente}));
        QCOMPARE(Label(form, "Label_mes2"), QStringLiteral("△後手の勝ちです。"));
        MenuItem(form, QStringLiteral("手番側を手前に"))->trigger();
        QVERIFY(dialogs.OkTexts.isEmpty());
    }

    // COM against COM at once: the moves come by themselves, pause stops them, resume goes on; the
    // window never waits long on either computer.
    void watchingComputersWithPauseAndResume() {
        TAnsweringDialogs dialogs;
        TForm1 form(&dialogs);
        TGameSession& s = form.Session();
        form.Play().StartGame(
            {{{TSeat::Com(std::string("【穴熊】")), TSeat::Com(std::string("【矢倉囲い】"))}},
             KifStart::Even,
             0,
             {}});
        QVERIFY(!form.Board().Flipped());
        const qint64 stall = LongestStall([&s] { return !s.GameOver() && s.MoveCount() < 40; }, 20000);
        std::printf("longest stall while COM played COM: %lld ms\n", static_cast<long long>(stall));
        QVERIFY2(stall < 250, qPrintable(QString::number(stall)));
        QVERIFY(s.MoveCount() >= 20);
        if (s.GameOver()) return;
        QAction* pause = MenuItem(form, QStringLiteral("一時停止"));
        QAction* resume = MenuItem(form, QStringLiteral("再開"));
        QVERIFY(pause->isEnabled() && !resume->isEnabled());
        pause->trigger();
        QVERIFY(form.Play().Paused());
        const int paused = s.MoveCount();
        QTest::qWait(300);
        QCOMPARE(s.MoveCount(), paused);
        QVERIFY(resume->isEnabled());
        resume->trigger();
        QTRY_VERIFY(s.MoveCount() > paused || s.GameOver());
        QVERIFY(dialogs.OkTexts.size() <= 1);
    }
};

QTEST_MAIN(SeatsWindowTest)
#include "SeatsWindow_test.moc"
