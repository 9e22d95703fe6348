// Variations in the window, on the offscreen platform: a record's branch marks in the move list, a line
// chosen from a mark's menu, and moves dragged on positions only looked at (a replay, an earlier
// position of the game going on) followed along the record or, once asked, added as variations.
#include "WindowTest.h"
#include "board/Legality.h"
#include "session/GameSession.h"
#include "ui/KifuList.h"
#include "ui/RecordFiles.h"
#include "ui/VariationMoves.h"

#include <QtTest>

#include <algorithm>
#include <vector>

using namespace window_test;

class VariationsTest : public QObject {
    Q_OBJECT

private:
    TScratch scratch_;

    // A legal move of the side to move on the board shown that no line of the record plays there.
    static TMove NewMove(const TGameSession& s) {
        const Side side = s.ShownSetup().ToMove;
        TMoveList legal;
        LegalMoves(s.ShownPosition(), side, legal);
        const std::vector<TGameSession::TAlternative> known = s.Alternatives(s.ShownMove() + 1);
        for (const TMove& m : legal) {
            const bool played =
                std::any_of(known.begin(), known.end(), [&](const TGameSession::TAlternative& a) {
                    return a.Shown.From == m.From && a.Shown.To == m.To;
                });
            if (!played && ShownMoveTest(s, m.From, m.To).Result == THumanMoveTest::Legal) return m;
        }
        return {};
    }

private slots:
    void initTestCase() {
        const QString failed = scratch_.SetUp();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        scratch_.Enter();
    }

    // A record of this game with one variation, opened: its branch row is marked, the variation is
    // chosen from the mark's menu, the main line's move dragged where the variation leaves it follows
    // the main line unasked, and a move no line plays is asked about once: added as a variation with
    // the answer kept, the next such move (during the game that goes on) is added unasked.
    void dragsFollowOrBranchTheRecord() {
        TAnsweringDialogs dialogs; // no to leaving a game; the new move added as a variation
        dialogs.Yes = false;
        dialogs.Choice = 0;
        std::string text;
        {
            // The record: the person's moves 1 and 3, COM's replies, then a variation from move 2.
            TForm1 form(&dialogs);
            TGameSession& s = form.Session();
            DragImages(form, 66, 65);
            DragImages(form, 27, 26);
            QCOMPARE(s.MoveCount(), 4);
            s.ShowMove(2);
            QCOMPARE(s.Branch(), 2);
            const TMove m = NewMove(s);
            QVERIFY(!m.Empty());
            s.MoveComa_Screen(m.From, m.To);
            QCOMPARE(s.LineCount(), 2);
            text = s.KifText();
        }
        TForm1 form(&dialogs);
        form.show();
        TGameSession& s = form.Session();
        QCOMPARE(s.OpenKifText(text), 4);
        QVERIFY(s.ReplayMode());
        auto* list = form.findChild<TKifuList*>(QStringLiteral("KifuList"));
        for (int row = 0; row < list->count(); ++row)
            QCOMPARE(list->item(row)->data(TKifuList::kBranchRole).toBool(), row == 3);
        QVERIFY(!list->LineHeader()->isVisible());

        // The variation, chosen from the menu of the mark on move 3.
        std::unique_ptr<QMenu> menu(list->AlternativesMenu(3, &form));
        QVERIFY(menu);
        const QList<QAction*> entries = menu->actions();
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0]->isChecked() && !entries[1]->isChecked());
        QVERIFY2(entries[0]->text().startsWith(QStringLiteral("▲")), qPrintable(entries[0]->text()));
        const TMove mainMove = s.Alternatives(3)[0].Shown;
        entries[1]->trigger();
        QCOMPARE(s.Line(), 1);
        QCOMPARE(s.ShownMove(), 3);
        QCOMPARE(list->currentRow(), 3);
        QVERIFY(list->LineHeader()->isVisible());
        QVERIFY2(list->LineHeader()->text().contains(QStringLiteral("変化 1")),
                 qPrintable(list->LineHeader()->text()));
        // Its own move is the one checked now, and choosing it keeps the line shown.
        menu.reset(list->AlternativesMenu(3, &form));
        QVERIFY(!menu->actions()[0]->isChecked() && menu->actions()[1]->isChecked());
        menu->actions()[1]->trigger();
        QCOMPARE(s.Line(), 1);

        // The main line's move 3, dragged on the variation's position before it, follows the main line.
        s.ReplayTo(2);
        DragImages(form, mainMove.From, mainMove.To);
        QVERIFY(dialogs.Choices.isEmpty());
        QCOMPARE(s.Line(), 0);
        QCOMPARE(s.ShownMove(), 3);
        QCOMPARE(s.LineCount(), 2);

        // A move no line plays there: asked, added as a variation, and the answer kept.
        s.ReplayTo(2);
        dialogs.Choice = 0;
        dialogs.Keep = true;
        TMove added = NewMove(s);
        QVERIFY(!added.Empty());
        DragImages(form, added.From, added.To);
        QCOMPARE(dialogs.Choices.size(), 1);
        QVERIFY2(dialogs.OkTexts.isEmpty(), qPrintable(dialogs.OkTexts.join(u'\n')));
        QCOMPARE(s.LineCount(), 3);
        QCOMPARE(s.Line(), 2);
        QVERIFY(!s.ReplayMode());
        QCOMPARE(s.MoveCount(), 4); // the move and COM's reply
        QVERIFY(SameMoves(s.Turns()[2].Shown, added));
        QCOMPARE(TVariationMoves::KeptAnswer(), TVariationMoves::Answer::Variation);
        QCOMPARE(list->item(3)->data(TKifuList::kBranchRole).toBool(), true);
        QVERIFY(list->LineHeader()->text().contains(QStringLiteral("変化 2")));

        // Looked back during the game that goes on: the next new move is added without a question.
        s.ShowMove(2);
        QVERIFY(s.Browsing());
        added = NewMove(s);
        DragImages(form, added.From, added.To);
        QCOMPARE(dialogs.Choices.size(), 1);
        QCOMPARE(s.LineCount(), 4);
        QCOMPARE(s.Line(), 3);
        QCOMPARE(s.Alternatives(3).size(), std::size_t(4));

        // Back to the main line at the last position it shares with the variation.
        s.ReplayTo(4);
        list->BackToMainLine();
        QCOMPARE(s.Line(), 0);
        QCOMPARE(s.ShownMove(), 2);
        QVERIFY(!list->LineHeader()->isVisible());

        // The line whose game was left goes on from its end, with no question, COM answering as before.
        TVariationMoves::KeepAnswer(TVariationMoves::Answer::Ask);
        QVERIFY(s.EnterLine(3, 99));
        QVERIFY(s.ReplayMode());
        const int end = s.MoveCount();
        added = NewMove(s);
        DragImages(form, added.From, added.To);
        QCOMPARE(dialogs.Choices.size(), 1);
        QCOMPARE(s.Line(), 3);
        QVERIFY(!s.ReplayMode());
        QCOMPARE(s.MoveCount(), end + 2);
    }

private:
    static bool SameMoves(const TMove& a, const TMove& b) { return a.From == b.From && a.To == b.To; }
};

QTEST_MAIN(VariationsTest)
#include "Variations_test.moc"
