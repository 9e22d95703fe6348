// The position editor and the exchange with other programs in the window: pieces dragged from the
// stands and between squares, promoted and turned by a right click, the refusal with its reason; a game
// from the edited position; the position copied and pasted as text; a record pasted; the board saved as
// a picture at the window's size.
#include "WindowTest.h"
#include "engine/EngineNotation.h"
#include "ui/BoardView.h"
#include "ui/KifuList.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"
#include "ui/PositionEditor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using window_test::TScratch;

namespace {

class TScriptedDialogs : public IDialogs {
public:
    QStringList OkTexts;
    int Questions = 0;
    bool Answer = true;
    // What the editor gives back, given the position it opened on; null cancels.
    std::function<bool(TEditedStart&)> Editor;
    TEditedStart Opened;
    QString Picture;
    TGameSetup Setup;
    bool SetupShown = false;

    void Ok(const QString& text) override { OkTexts << text; }
    bool YesNo(const QString&, bool) override {
        ++Questions;
        return Answer;
    }
    bool EditPosition(TEditedStart& start, const TPictures&, double) override {
        Opened = start;
        return Editor && Editor(start);
    }
    QString SavePictureName(const QString&) override { return Picture; }
    bool GameSetup(TGameSetup& setup, bool) override {
        SetupShown = true;
        Setup = setup;
        setup.Seats = {{TSeat::Human(), TSeat::Human()}};
        return true;
    }
};

TEditedStart Fen(std::string_view text) {
    const TFenPosition p = ParseEngineFen(text);
    return {p.Board, p.ToMove};
}

void Trigger(TForm1& form, const char* action) {
    QAction* a = form.findChild<QAction*>(QString::fromLatin1(action));
    QVERIFY2(a != nullptr, action);
    a->trigger();
}

// A drag with the mouse from one point of the editor's board to another.
void MouseDrag(TEditorBoard& board, QPoint from, QPoint to) {
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&board, (from + to) / 2);
    QTest::mouseMove(&board, to);
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, to);
}

constexpr std::string_view kGoteFirst = "lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL b";

} // namespace

class PositionWindowTest : public QObject {
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

    // Pieces come from the stands and move between squares by the mouse; one dragged off the board
    // leaves it; a right click runs a piece through its forms; the reason is shown until the position
    // can be played from, and only then is play offered.
    void editorDragsPiecesAndSaysWhyAPositionCannotBePlayed() {
        TPictures pictures;
        pictures.LoadComaImages();
        pictures.SetScale(1.0, 1.0);
        TPositionEditor editor({KifStartPosition(KifStart::Even).Board, Side::Sente}, pictures, 1.0, nullptr);
        TEditorBoard& board = editor.Board();
        auto* play = editor.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QVERIFY(editor.Refusal().isEmpty());
        QVERIFY(play->isEnabled());

        editor.findChild<QPushButton*>(QStringLiteral("EmptyPreset"))->click();
        QCOMPARE(editor.Refusal(), QStringLiteral("先手の玉がありません"));
        QVERIFY(!play->isEnabled());
        QVERIFY(
            editor.findChild<QLabel*>(QStringLiteral("PositionReason"))->text().contains(editor.Refusal()));

        const auto centre = [&](int square) { return board.SquareRect(square).center(); };
        const auto stand = [&](PieceName p) { return board.StandRect(p).center(); };
        MouseDrag(board, stand(PieceName::Ou), centre(59));
        MouseDrag(board, stand(PieceName::ComOu), centre(51));
        QCOMPARE(board.Board()[59], PieceName::Ou);
        QCOMPARE(board.Board()[51], PieceName::ComOu);
        QCOMPARE(board.Left(PieceName::Ou), 0);
        QCOMPARE(editor.Refusal(), QStringLiteral("先手の駒が玉一枚だけです（対局はもう終わっています）"));
        // A king's stand is empty now: a drag from it brings nothing.
        MouseDrag(board, stand(PieceName::Ou), centre(55));
        QCOMPARE(board.Board()[55], PieceName::Empty);

        MouseDrag(board, stand(PieceName::ComKin), centre(41));
        MouseDrag(board, stand(PieceName::Fu), centre(57));
        QCOMPARE(board.Left(PieceName::Fu), 8);
        QVERIFY(editor.Refusal().isEmpty());
        QVERIFY(play->isEnabled());
        // Square to square, and off the board.
        MouseDrag(board, centre(57), centre(56));
        QCOMPARE(board.Board()[57], PieceName::Empty);
        QCOMPARE(board.Board()[56], PieceName::Fu);
        MouseDrag(board, centre(41), QPoint(board.width() - 1, 1));
        QCOMPARE(board.Board()[41], PieceName::Empty);
        QCOMPARE(editor.Refusal(), QStringLiteral("後手の駒が玉一枚だけです（対局はもう終わっています）"));
        MouseDrag(board, stand(PieceName::ComKin), centre(41));

        // Right clicks: the pawn promotes, then turns to the other side, promotes again, comes back.
        const PieceName forms[] = {PieceName::To, PieceName::ComFu, PieceName::ComTo, PieceName::Fu};
        for (PieceName form : forms) {
            QTest::mouseClick(&board, Qt::RightButton, Qt::NoModifier, centre(56));
            QCOMPARE(board.Board()[56], form);
        }
        QTest::mouseClick(&board, Qt::RightButton, Qt::NoModifier, centre(41));
        QCOMPARE(board.Board()[41], PieceName::Kin);
        QCOMPARE(editor.Refusal(), QStringLiteral("手番でない後手の玉に王手がかかっています"));
        QTest::mouseClick(&board, Qt::RightButton, Qt::NoModifier, centre(41));
        QCOMPARE(board.Board()[41], PieceName::ComKin);

        // A pawn on the far rank, and the side to move: each refusal names its reason.
        MouseDrag(board, centre(56), centre(53));
        QCOMPARE(editor.Refusal(),
                 QStringLiteral("５三の歩は成っていません（敵陣に入った駒は必ず成ります）"));
        QTest::mouseClick(&board, Qt::RightButton, Qt::NoModifier, centre(53));
        QVERIFY(editor.Refusal().isEmpty());
        MouseDrag(board, centre(53), centre(52)); // と on 52 checks the king on 51
        QCOMPARE(editor.Refusal(), QStringLiteral("手番でない後手の玉に王手がかかっています"));
        editor.findChild<QRadioButton*>(QStringLiteral("GoteToMove"))->setChecked(true);
        QVERIFY(editor.Refusal().isEmpty());
        QCOMPARE(editor.Position().ToMove, Side::Gote);
        editor.findChild<QRadioButton*>(QStringLiteral("SenteToMove"))->setChecked(true);
        QCOMPARE(editor.Refusal(), QStringLiteral("手番でない後手の玉に王手がかかっています"));

        editor.findChild<QPushButton*>(QStringLiteral("HandicapPreset"))->click();
        QCOMPARE(editor.Position(), (TEditedStart{KifStartPosition(KifStart::Handicap).Board, Side::Sente}));
        QVERIFY(play->isEnabled());
    }

    // 局面編集… opens on the position shown; what it gives is played from with the seats of the game,
    // asked first while a game goes on; the move list marks the second player's first move △; the
    // seats dialog offers the edited position again.
    void editedPositionIsPlayedFromAndOfferedInTheSeatsDialog() {
        TScriptedDialogs dialogs;
        TForm1 form(&dialogs);
        TGameSession& s = form.Session();
        s.MoveComa_Screen(27, 26);
        QCOMPARE(s.MoveCount(), 2);
        dialogs.Editor = [](TEditedStart& start) {
            start = Fen(kGoteFirst);
            return true;
        };
        dialogs.Answer = false;
        Trigger(form, "EditPositionAction");
        QCOMPARE(dialogs.Opened.Board, s.Position().Board);
        QCOMPARE(dialogs.Questions, 1);
        QCOMPARE(s.MoveCount(), 2); // the game going on was kept
        dialogs.Answer = true;
        form.Play().StartGame({{{TSeat::Human(), TSeat::Human()}}, KifStart::Even, 500, {}});
        Trigger(form, "EditPositionAction");
        QCOMPARE(s.StartKind(), KifStart::Edited);
        QCOMPARE(s.SideToMove(), Side::Gote);
        QVERIFY(s.HumanToMove());
        QVERIFY(QString::fromStdString(s.Message()).contains(QStringLiteral("編集した局面")));
        s.MoveComa_Screen(33, 24);
        auto* list = form.findChild<TKifuList*>(QStringLiteral("KifuList"));
        QVERIFY(list->item(1)->text().contains(QStringLiteral("△")));

        // The seats dialog opens on the edited start and plays it again with the seats it gives.
        dialogs.Editor = nullptr;
        form.Play().OnSettingsClick();
        QVERIFY(dialogs.SetupShown);
        QCOMPARE(dialogs.Setup.Start, KifStart::Edited);
        QCOMPARE(s.StartKind(), KifStart::Edited);
        QCOMPARE(s.EditedStart(), Fen(kGoteFirst));
        QCOMPARE(s.MoveCount(), 0);
        QVERIFY(dialogs.OkTexts.isEmpty());
    }

    // 局面をコピー puts the position shown on the clipboard as the engine's FEN; 局面を貼り付け opens the
    // editor on the clipboard's position, and refuses a text it cannot read with the reason.
    void positionTextIsCopiedAndPastedIntoTheEditor() {
        TScriptedDialogs dialogs;
        TForm1 form(&dialogs);
        TGameSession& s = form.Session();
        s.MoveComa_Screen(27, 26);
        s.ShowMove(0);
        Trigger(form, "CopyPositionAction");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("lnsgkgsnl/1r7/ppppp1bpp/5pp2/9/2PP5/PPB1PPPPP/7R1/LNSGKGSNL w - - 0 1"));

        QGuiApplication::clipboard()->setText(QStringLiteral("lnsgkgsnl/1r7/ppppp1bpp w"));
        Trigger(form, "PastePositionAction");
        QCOMPARE(dialogs.OkTexts.size(), 1);
        QVERIFY(dialogs.OkTexts[0].contains(QStringLiteral("盤面が9段でなく3段です")));

        QGuiApplication::clipboard()->setText(
            QString::fromUtf8(kGoteFirst.data(), qsizetype(kGoteFirst.size())));
        bool opened = false;
        dialogs.Editor = [&](TEditedStart&) { return opened = true; };
        Trigger(form, "PastePositionAction");
        QVERIFY(opened);
        QCOMPARE(dialogs.Opened, Fen(kGoteFirst));
        QCOMPARE(s.StartKind(), KifStart::Edited);
        QCOMPARE(dialogs.OkTexts.size(), 1);
    }

    // 棋譜を貼り付け (Ctrl+V) opens a KIF or KI2 record from the clipboard as the file would open; the
    // game's own clipboard copy is refused with the reason, and the game stays.
    void pastedRecordOpensAsItsFileWould() {
        TScriptedDialogs dialogs;
        TForm1 form(&dialogs);
        TGameSession& s = form.Session();
        for (auto [from, to] : {std::pair{27, 26}, {26, 25}}) s.MoveComa_Screen(from, to);
        const std::string kif = s.KifText();
        const std::vector<TMove> moves = s.MoveHistory();
        const QString copy = QString::fromStdString(s.KifuText());
        s.NewGame();
        QGuiApplication::clipboard()->setText(copy);
        Trigger(form, "PasteRecordAction");
        QCOMPARE(dialogs.OkTexts.size(), 1);
        QVERIFY(dialogs.OkTexts[0].contains(QStringLiteral("人が読むためのもの")));
        QCOMPARE(s.MoveCount(), 0);

        QGuiApplication::clipboard()->setText(QString::fromStdString(kif));
        QAction* paste = form.findChild<QAction*>(QStringLiteral("PasteRecordAction"));
        QCOMPARE(paste->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
        paste->trigger();
        QVERIFY(s.ReplayMode());
        QCOMPARE(s.MoveHistory(), moves);
        QCOMPARE(form.windowTitle(), GameTitle());
        QCOMPARE(dialogs.OkTexts.size(), 1);
    }

    // 盤面を画像で保存… writes the board shown, turned as it is seen, with its coordinates, at the
    // window's zoom.
    void boardPictureIsSavedAtTheWindowsZoom() {
        QTemporaryDir folder;
        TScriptedDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSize sizes[2];
        for (int i = 0; i < 2; ++i) {
            QVERIFY(form.SetZoom(i == 0 ? 100 : 200));
            dialogs.Picture = QDir(folder.path()).filePath(QStringLiteral("board%1").arg(i));
            Trigger(form, "SavePictureAction");
            QImage picture(dialogs.Picture + QStringLiteral(".png"));
            QVERIFY(!picture.isNull());
            sizes[i] = picture.size() / picture.devicePixelRatio();
        }
        QVERIFY(sizes[0].width() > 362 && sizes[0].height() > 362);
        QVERIFY(std::abs(sizes[1].width() - 2 * sizes[0].width()) <= 4);
        QVERIFY(std::abs(sizes[1].height() - 2 * sizes[0].height()) <= 4);
        // The picture holds the pieces: COM's king stands on 51, near the top middle, on the wood.
        QImage picture(dialogs.Picture + QStringLiteral(".png"));
        QVERIFY(picture.pixelColor(picture.width() / 2, picture.height() / 2) != QColor(Qt::white));
        QVERIFY(dialogs.OkTexts.isEmpty());
        // A folder that cannot be written is said so.
        dialogs.Picture = QDir(folder.path()).filePath(QStringLiteral("no-such-folder/board.png"));
        Trigger(form, "SavePictureAction");
        QCOMPARE(dialogs.OkTexts.size(), 1);
    }
};

QTEST_MAIN(PositionWindowTest)
#include "PositionWindow_test.moc"
