// The window on the offscreen platform: its controls after creation, the loading of the piece
// pictures, a turn through the drag handlers, the confirmations, replay mode and the redraw.
#include "ui/Controls.h"
#include "ui/MainForm.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>

namespace {

// Answers the window's boxes and remembers what they said.
class TFakeDialogs : public IDialogs {
public:
    bool Answer = true;
    QStringList OkTexts;
    QStringList Questions;

    void Ok(const QString& text) override { OkTexts << text; }
    bool YesNo(const QString& text) override {
        Questions << text;
        return Answer;
    }
};

QString Lf(const std::string& text) {
    return TForm1::DisplayText(text);
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir pictures_;
    QString startDir_;

    // Every square's picture, by square code (null cache key for none).
    static std::map<int, qint64> Snapshot(TForm1& form) {
        std::map<int, qint64> pictures;
        for (TSquareImage* square : form.findChildren<TSquareImage*>())
            pictures[square->Square()] = square->HasPicture() ? square->Picture().cacheKey() : 0;
        return pictures;
    }
    static int PiecesShown(TForm1& form) {
        int n = 0;
        for (TSquareImage* square : form.findChildren<TSquareImage*>()) n += square->HasPicture() ? 1 : 0;
        return n;
    }
    static TSquareImage* Square(TForm1& form, int code) {
        return form.findChild<TSquareImage*>(QStringLiteral("ban%1").arg(code));
    }
    static bool Shows(TForm1& form, int code, PieceName piece) {
        const TSquareImage* square = Square(form, code);
        const QPixmap* picture = form.ComaPicture(piece);
        return square != nullptr && picture != nullptr && square->HasPicture() &&
               square->Picture().cacheKey() == picture->cacheKey();
    }
    static QString Text(TForm1& form, const char* label) {
        return form.findChild<QLabel*>(QString::fromLatin1(label))->text();
    }
    static void Drag(TForm1& form, int from, int to) {
        emit Square(form, from)->dragStarted(from);
        emit Square(form, to)->dropped(to);
        emit Square(form, from)->dragEnded(from);
    }

private slots:
    void initTestCase() {
        QVERIFY(pictures_.isValid());
        const QDir assets(QStringLiteral(MIRUTOA_ASSETS_DIR));
        for (const QString& file : TForm1::ComaFileNames())
            QVERIFY2(QFile::copy(assets.filePath(file), QDir(pictures_.path()).filePath(file)),
                     qPrintable(file));
        startDir_ = QDir::currentPath();
    }
    void init() { QDir::setCurrent(pictures_.path()); }
    void cleanup() { QDir::setCurrent(startDir_); }

    void windowAfterCreationShowsTheStartPositionAndTheGreeting() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(dialogs.OkTexts.isEmpty());

        QCOMPARE(form.windowTitle(), QStringLiteral("創作将棋 ミルトア"));
        QCOMPARE(form.size(), QSize(673, 413));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!form.windowIcon().isNull());

        // The squares lie on the grid's insides: file 9 on the left, rank 1 at the top.
        QCOMPARE(Square(form, 91)->geometry(), QRect(74, 10, 41, 41));
        QCOMPARE(Square(form, 11)->geometry(), QRect(394, 10, 41, 41));
        QCOMPARE(Square(form, 99)->geometry(), QRect(74, 330, 41, 41));
        QCOMPARE(Square(form, 76)->geometry(), QRect(154, 210, 41, 41));
        QCOMPARE(form.findChildren<TSquareImage*>().size(), 81);

        QCOMPARE(PiecesShown(form), 40);
        QVERIFY(Shows(form, 51, PieceName::ComOu));
        QVERIFY(Shows(form, 33, PieceName::ComKaku));
        QVERIFY(Shows(form, 77, PieceName::Kaku));
        QVERIFY(Shows(form, 76, PieceName::Fu));
        QVERIFY(Shows(form, 28, PieceName::Hi));
        QVERIFY(!Square(form, 75)->HasPicture());

        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QCOMPARE(list->count(), int(kFormationList.size()));
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->itemText(i).toStdString(), std::string(kFormationList[std::size_t(i)]));
        QCOMPARE(list->currentText(), QStringLiteral("【基本形】"));
        QCOMPARE(Text(form, "Label_Message"),
                 QStringLiteral("あなたの番です\n\n\n（COMの陣形は【基本形】に設定されました）"));
        QCOMPARE(form.Session().Kanri().FormationName, std::string("【基本形】"));

        QVERIFY(!form.findChild<QWidget*>(QStringLiteral("Image2"))->isVisibleTo(&form));
        for (const char* name : {"ReplayButton1", "ReplayButton2", "ReplayButton3"})
            QVERIFY(!form.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled());
        QVERIFY(!form.findChild<QWidget*>(QStringLiteral("Waku"))->isVisibleTo(&form));
        QVERIFY(!form.findChild<QWidget*>(QStringLiteral("Button_Test"))->isVisibleTo(&form));

        // Tab order of the commands.
        const QStringList order = {"Button_Start", "Button_Matta", "Button_Exit", "Button_StartHisyaKaku",
                                   "ComboBox1",    "Button_Kifu",  "Button_Test"};
        QStringList seen;
        QWidget* w = form.findChild<QWidget*>(order.first());
        for (int steps = 0; steps < 300 && seen.size() < order.size(); ++steps, w = w->nextInFocusChain())
            if (order.contains(w->objectName()) && !seen.contains(w->objectName())) seen << w->objectName();
        QCOMPARE(seen, order);
    }

    void missingPictureShowsTheBoxAndLeavesTheBoardEmpty() {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        for (const QString& file : TForm1::ComaFileNames())
            if (file != QStringLiteral("と.bmp"))
                QVERIFY(
                    QFile::copy(QDir(pictures_.path()).filePath(file), QDir(scratch.path()).filePath(file)));
        QDir::setCurrent(scratch.path());

        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QCOMPARE(dialogs.OkTexts.size(), 1);
        const QString box = dialogs.OkTexts.first();
        QVERIFY2(
            box.startsWith(QStringLiteral("駒画像の読込みでエラー発生\r\n\r\n"
                                          "駒画像ファイルが正しく置かれているか確認してください。\r\n\r\n"
                                          "エラー内容は ")),
            qPrintable(box));
        QVERIFY2(box.contains(QStringLiteral("と.bmp")), qPrintable(box));

        QCOMPARE(PiecesShown(form), 0);
        QCOMPARE(form.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->count(), 0);
        QCOMPARE(Text(form, "Label_Message"), QStringLiteral("あなたの番です"));
        // Loading stopped at the missing file: the pictures after it were never read.
        QVERIFY(form.ComaPicture(PieceName::Fu) != nullptr);
        QVERIFY(form.ComaPicture(PieceName::To) == nullptr);
        QVERIFY(form.ComaPicture(PieceName::ComRyu) == nullptr);
    }

    // A damaged picture is refused like a missing one, never decoded into noise.
    void damagedPictureIsRefusedLikeAMissingOne_data() {
        QTest::addColumn<int>("keep");   // bytes kept from the start (-1: all)
        QTest::addColumn<int>("append"); // bytes added at the end
        QTest::addColumn<bool>("mendSize");
        QTest::newRow("first 200 bytes") << 200 << 0 << false;
        QTest::newRow("last row cut, size field mended") << 4462 - 40 << 0 << true;
        QTest::newRow("one byte more than the size field") << -1 << 1 << false;
        QTest::newRow("empty file") << 0 << 0 << false;
    }
    void damagedPictureIsRefusedLikeAMissingOne() {
        QFETCH(int, keep);
        QFETCH(int, append);
        QFETCH(bool, mendSize);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        for (const QString& file : TForm1::ComaFileNames())
            QVERIFY(QFile::copy(QDir(pictures_.path()).filePath(file), QDir(scratch.path()).filePath(file)));
        QFile silver(QDir(scratch.path()).filePath(QStringLiteral("銀.bmp")));
        QVERIFY(silver.open(QIODevice::ReadOnly));
        QByteArray bytes = silver.readAll();
        silver.close();
        QCOMPARE(bytes.size(), 4462);
        if (keep >= 0) bytes.truncate(keep);
        bytes.append(append, '\0');
        if (mendSize)
            for (int i = 0; i < 4; ++i) bytes[2 + i] = char(quint32(bytes.size()) >> (8 * i));
        QVERIFY(silver.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(silver.write(bytes), bytes.size());
        silver.close();
        QDir::setCurrent(scratch.path());

        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QCOMPARE(dialogs.OkTexts.size(), 1);
        const QString box = dialogs.OkTexts.first();
        QVERIFY2(
            box.startsWith(QStringLiteral("駒画像の読込みでエラー発生\r\n\r\n"
                                          "駒画像ファイルが正しく置かれているか確認してください。\r\n\r\n"
                                          "エラー内容は 銀.bmp を読み込めません")),
            qPrintable(box));
        QCOMPARE(PiecesShown(form), 0);
        QVERIFY(form.ComaPicture(PieceName::KeiNari) != nullptr);
        QVERIFY(form.ComaPicture(PieceName::Gin) == nullptr);
        QVERIFY(form.ComaPicture(PieceName::ComRyu) == nullptr);
    }

    void wholeTurnThroughTheDragHandlers() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);

        Drag(form, 76, 75);
        QVERIFY2(dialogs.OkTexts.isEmpty(), qPrintable(dialogs.OkTexts.join(QLatin1Char('|'))));
        const TGameSession& session = form.Session();
        QCOMPARE(int(session.MoveHistory().size()), 2);
        QCOMPARE(session.Kanri().SideToMove, std::uint8_t(0));

        QVERIFY(!Square(form, 76)->HasPicture());
        QVERIFY(Shows(form, 75, PieceName::Fu));
        const TMove reply = session.ShownMoveHistory()[1];
        QVERIFY(!Square(form, reply.From)->HasPicture());
        QVERIFY(Shows(form, reply.To, reply.Name));
        QCOMPARE(PiecesShown(form), 40);

        const QString label = Text(form, "Label_Message");
        QVERIFY2(label.startsWith(
                     QStringLiteral("1手目 あなたの指し手:\n\n　76→75　歩\n\n2手目 COMの指し手:\n\n") +
                     Lf(TGameSession::FormatMove(reply))),
                 qPrintable(label));
        QVERIFY(label.contains(QStringLiteral("COM消費時間： 0秒")));
        QCOMPARE(session.KifuLines()[16], std::string(" 1: ▲先手: 　76→75　歩"));

        // The frame marks COM's destination once the drag is over.
        auto* waku = form.findChild<QWidget*>(QStringLiteral("Waku"));
        QVERIFY(waku->isVisibleTo(&form));
        QCOMPARE(waku->pos(), Square(form, reply.To)->pos());
        const QString status = Text(form, "Label_mes2");
        QVERIFY2(status.isEmpty() || status == QStringLiteral("【基本形】の駒組み中") ||
                     status == QStringLiteral("COMが王手しました！"),
                 qPrintable(status));

        // A drag from an empty square is refused on the label and changes nothing else.
        const auto before = Snapshot(form);
        Drag(form, 55, 54);
        QCOMPARE(Text(form, "Label_Message"), QStringLiteral("あなたの番です。\n\n駒の動かし方が不正です。"));
        QCOMPARE(Snapshot(form), before);
        QCOMPARE(int(session.MoveHistory().size()), 2);

        // Dropping a piece back on its own square does nothing at all.
        Drag(form, 75, 75);
        QCOMPARE(Text(form, "Label_Message"), QStringLiteral("あなたの番です。\n\n駒の動かし方が不正です。"));
        QCOMPARE(Snapshot(form), before);
    }

    void commandsAskFirstAndNoChangesNothing() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        Drag(form, 76, 75);
        const auto board = Snapshot(form);
        const QString label = Text(form, "Label_Message");
        const QString status = Text(form, "Label_mes2");
        const auto kifu = form.Session().KifuLines();

        dialogs.Answer = false;
        for (const char* name : {"Button_Start", "Button_StartHisyaKaku", "Button_Exit"})
            form.findChild<QPushButton*>(QString::fromLatin1(name))->click();
        form.OnButton_TestClick();
        QCOMPARE(dialogs.Questions,
                 QStringList({"初期化しますか？", "初期化しますか？", "終了しますか？", "初期化しますか？"}));
        QCOMPARE(Snapshot(form), board);
        QCOMPARE(Text(form, "Label_Message"), label);
        QCOMPARE(Text(form, "Label_mes2"), status);
        QCOMPARE(form.Session().KifuLines(), kifu);
        QCOMPARE(form.Session().Kanri().MoveCount(), 2);

        // Yes: a handicap game without the human's rook and bishop.
        dialogs.Answer = true;
        form.findChild<QPushButton*>(QStringLiteral("Button_StartHisyaKaku"))->click();
        QCOMPARE(PiecesShown(form), 38);
        QVERIFY(!Square(form, 77)->HasPicture());
        QVERIFY(!Square(form, 28)->HasPicture());
        QVERIFY(Shows(form, 76, PieceName::Fu));
        QCOMPARE(form.Session().Kanri().MoveCount(), 0);
        QCOMPARE(int(form.Session().KifuLines().size()), 16);
        QCOMPARE(Text(form, "Label_mes2"), QString());
        QVERIFY(!form.findChild<QWidget*>(QStringLiteral("Waku"))->isVisibleTo(&form));

        // An even game again; a formation picked before the first move is set at once.
        form.findChild<QPushButton*>(QStringLiteral("Button_Start"))->click();
        QCOMPARE(PiecesShown(form), 40);
        QVERIFY(Shows(form, 77, PieceName::Kaku));
        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setCurrentIndex(4);
        emit list->activated(4);
        QCOMPARE(form.Session().Kanri().FormationName, std::string("【穴熊】"));
        QCOMPARE(Text(form, "Label_Message"),
                 QStringLiteral("あなたの番です\n\n\n（COMの陣形は【穴熊】に設定されました）"));

        form.show();
        form.findChild<QPushButton*>(QStringLiteral("Button_Exit"))->click();
        QVERIFY(!form.isVisible());
    }

    void takeBackAndRecordCopyThroughTheButtons() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        const auto start = Snapshot(form);
        Drag(form, 76, 75);

        auto* matta = form.findChild<QPushButton*>(QStringLiteral("Button_Matta"));
        matta->click();
        QVERIFY(dialogs.OkTexts.isEmpty());
        QCOMPARE(Text(form, "Label_Message"), QStringLiteral("待ったをしました\n初期状態に戻りました\n\n"));
        QCOMPARE(Snapshot(form), start);
        matta->click();
        QCOMPARE(dialogs.OkTexts, QStringList({"待ったは一度だけです。"}));

        form.findChild<QPushButton*>(QStringLiteral("Button_Kifu"))->click();
        const QString copied = QGuiApplication::clipboard()->text();
        QCOMPARE(copied, QString::fromStdString(form.Session().KifuText()));
        QVERIFY(
            copied.startsWith(QStringLiteral("--------------------------------\r\n　創作将棋 ミルトア\r\n")));
    }

    void replayModeShowsTheStripAndANewGameHidesIt() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        auto* strip = form.findChild<QWidget*>(QStringLiteral("Image2"));
        const QList<QWidget*> buttons = {form.findChild<QWidget*>(QStringLiteral("ReplayButton1")),
                                         form.findChild<QWidget*>(QStringLiteral("ReplayButton2")),
                                         form.findChild<QWidget*>(QStringLiteral("ReplayButton3"))};

        // From the test position the rook mates at once on 22, which ends the game.
        form.OnButton_TestClick();
        Drag(form, 28, 22);
        QVERIFY(form.Session().ReplayMode());
        QCOMPARE(dialogs.OkTexts, QStringList({"王の詰みです。あなたの勝ちです。"}));
        QCOMPARE(Text(form, "Label_mes2"), QStringLiteral("あなたの勝ちです。"));
        QVERIFY(strip->isVisibleTo(&form));
        for (QWidget* b : buttons) QVERIFY(b->isEnabled());

        // Back to the start and one move forward, through clicks on the drawn buttons.
        form.show();
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QVERIFY(Shows(form, 28, PieceName::Hi));
        QVERIFY(Text(form, "Label_Message").startsWith(QStringLiteral("棋譜再現モード")));
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QVERIFY(!Square(form, 28)->HasPicture());
        QVERIFY(Shows(form, 22, PieceName::Ryu));
        QCOMPARE(form.findChild<QWidget*>(QStringLiteral("Waku"))->pos(), Square(form, 22)->pos());

        form.findChild<QPushButton*>(QStringLiteral("Button_Start"))->click();
        QVERIFY(!strip->isVisibleTo(&form));
        for (QWidget* b : buttons) QVERIFY(!b->isEnabled());
        QVERIFY(!form.Session().ReplayMode());
    }

    void redrawBoardClearsASquare() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(Shows(form, 76, PieceName::Fu));
        // The position moves on without the window hearing of it; the redraw catches up.
        form.Session().Kanri().ApplyMove(std::string_view("7675歩"));
        QVERIFY(Square(form, 76)->HasPicture());
        form.RedrawBoard();
        QVERIFY(!Square(form, 76)->HasPicture());
        QVERIFY(Shows(form, 75, PieceName::Fu));
        QCOMPARE(PiecesShown(form), 40);
    }
};

QTEST_MAIN(MainFormTest)
#include "MainForm_test.moc"
