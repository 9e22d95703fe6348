// The window on the offscreen platform: its controls after creation, the loading of the piece
// pictures, a turn through the drag handlers and by clicks, the confirmations, replay mode and the
// redraw, the menu, the marks on the board, the texts that must fit and the kept settings; record
// files saved and opened, kept games, and COM's reason in the status bar.
#include "WindowTest.h"
#include "session/Kif.h"
#include "session/KifFile.h"
#include "support/Helpers.h"
#include "ui/AnalysisPanel.h"
#include "ui/Artwork.h"
#include "ui/BoardView.h"
#include "ui/Controls.h"
#include "ui/Language.h"
#include "ui/Layout.h"
#include "ui/MainForm.h"
#include "ui/Pictures.h"
#include "ui/RecordFiles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

namespace {

// Answers the window's boxes and file dialogs and remembers what they said.
class TFakeDialogs : public IDialogs {
public:
    bool Answer = true;
    QStringList OkTexts;
    QStringList Questions;
    QList<bool> YesDefaults; // for each question, whether Yes was its default
    QStringList InfoCaptions;
    QString SaveAnswer, OpenAnswer; // the files the dialogs pick (empty: cancelled)
    QStringList Offered;            // what each file dialog was opened on

    QString SaveFileName(const QString& suggested) override {
        Offered << suggested;
        return SaveAnswer;
    }
    QString OpenFileName(const QString& folder) override {
        Offered << folder;
        return OpenAnswer;
    }

    void Ok(const QString& text) override { OkTexts << text; }
    bool YesNo(const QString& text, bool yesByDefault = false) override {
        Questions << text;
        YesDefaults << yesByDefault;
        return Answer;
    }
    void Info(const QString& caption, const QString&) override { InfoCaptions << caption; }
};

QString Lf(const std::string& text) {
    return TForm1::DisplayText(text);
}

} // namespace

using namespace window_test;

class MainFormTest : public QObject {
    Q_OBJECT

private:
    TScratch scratch_;

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
    static bool Shows(TForm1& form, int code, PieceName piece) {
        const TSquareImage* square = Image(form, code);
        const QPixmap* picture = form.ComaPicture(piece);
        return square != nullptr && picture != nullptr && square->HasPicture() &&
               square->Picture().cacheKey() == picture->cacheKey();
    }
    static void Click(TForm1& form, int square) { QTest::mouseClick(Image(form, square), Qt::LeftButton); }
    // The squares that carry a mark.
    static std::set<int> Marked(TForm1& form, unsigned mark) {
        std::set<int> squares;
        for (TSquareImage* square : form.findChildren<TSquareImage*>())
            if (square->Marks() & mark) squares.insert(square->Square());
        return squares;
    }
    // A rectangle of the layout at a zoom: each edge at the nearest pixel.
    static QRect Scaled(QRect r, double f) {
        const auto at = [f](int length) { return int(std::lround(length * f)); };
        return QRect(QPoint(at(r.left()), at(r.top())),
                     QPoint(at(r.left() + r.width()) - 1, at(r.top() + r.height()) - 1));
    }
    // The zoom factors the 表示 menu offers.
    static std::vector<int> Offered(TForm1& form) {
        std::vector<int> percents;
        for (QAction* item : form.findChild<QMenu*>(QStringLiteral("ZoomMenu"))->actions())
            if (item->isCheckable() && item->isEnabled()) percents.push_back(item->text().chopped(2).toInt());
        return percents;
    }
    static void ShowActive(TForm1& form) {
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    // Pixels of an image that differ strongly from their right or lower neighbour.
    static int Edges(const QImage& image) {
        const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
        int n = 0;
        for (int y = 0; y + 1 < gray.height(); ++y)
            for (int x = 0; x + 1 < gray.width(); ++x) {
                const int v = gray.pixelColor(x, y).value();
                n += std::abs(v - gray.pixelColor(x + 1, y).value()) > 64 ||
                     std::abs(v - gray.pixelColor(x, y + 1).value()) > 64;
            }
        return n;
    }
    // From the test position the rook mates at once on 22: a game over after one move.
    static void WinAtOnce(TForm1& form) {
        form.OnButton_TestClick();
        DragImages(form, 28, 22);
    }

private slots:
    void initTestCase() {
        const QString failed = scratch_.SetUp();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
    void init() { scratch_.Enter(); }
    void cleanup() { scratch_.Leave(); }

    void windowAfterCreationShowsTheStartPositionAndTheGreeting() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(dialogs.OkTexts.isEmpty());

        QCOMPARE(form.windowTitle(), QStringLiteral("創作将棋 ミルトア"));
        // The client area below the menu bar has the layout's size, the move list beside the board
        // included; the window may grow, not shrink.
        QCOMPARE(form.Client()->size(), QSize(673 + Layout::kKifuRoom, 413));
        QCOMPARE(form.Client()->y(), form.menuBar()->height());
        QCOMPARE(form.statusBar()->y(), form.Client()->geometry().bottom() + 1);
        QCOMPARE(form.size(),
                 QSize(673 + Layout::kKifuRoom, 413 + form.menuBar()->height() + form.statusBar()->height()));
        QCOMPARE(form.minimumSize(), form.size());
        QVERIFY(form.maximumSize().width() > 2 * form.width());
        QVERIFY(!form.windowIcon().isNull());

        // The squares lie on the grid's insides: file 9 on the left, rank 1 at the top.
        QCOMPARE(Image(form, 91)->geometry(), QRect(74, 10, 41, 41));
        QCOMPARE(Image(form, 11)->geometry(), QRect(394, 10, 41, 41));
        QCOMPARE(Image(form, 99)->geometry(), QRect(74, 330, 41, 41));
        QCOMPARE(Image(form, 76)->geometry(), QRect(154, 210, 41, 41));
        QCOMPARE(form.findChildren<TSquareImage*>().size(), 81);

        QCOMPARE(PiecesShown(form), 40);
        QVERIFY(Shows(form, 51, PieceName::ComOu));
        QVERIFY(Shows(form, 33, PieceName::ComKaku));
        QVERIFY(Shows(form, 77, PieceName::Kaku));
        QVERIFY(Shows(form, 76, PieceName::Fu));
        QVERIFY(Shows(form, 28, PieceName::Hi));
        QVERIFY(!Image(form, 75)->HasPicture());

        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QCOMPARE(list->count(), int(kFormationList.size()));
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->itemText(i).toStdString(), std::string(kFormationList[std::size_t(i)]));
        QCOMPARE(list->currentText(), QStringLiteral("【基本形】"));
        QCOMPARE(Label(form, "Label_Message"),
                 QStringLiteral("あなたの番です\n\n\n（COMの陣形は【基本形】に設定されました）"));
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【基本形】"));

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
        for (const QString& file : TPictures::ComaFileNames())
            if (file != QStringLiteral("と.bmp"))
                QVERIFY(QFile::copy(QDir(scratch_.Pictures()).filePath(file),
                                    QDir(scratch.path()).filePath(file)));
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
        QCOMPARE(Label(form, "Label_Message"), QStringLiteral("あなたの番です"));
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
        for (const QString& file : TPictures::ComaFileNames())
            QVERIFY(
                QFile::copy(QDir(scratch_.Pictures()).filePath(file), QDir(scratch.path()).filePath(file)));
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

        DragImages(form, 76, 75);
        QVERIFY2(dialogs.OkTexts.isEmpty(), qPrintable(dialogs.OkTexts.join(QLatin1Char('|'))));
        const TGameSession& session = form.Session();
        QCOMPARE(int(session.MoveHistory().size()), 2);
        QVERIFY(session.SideToMove() == Side::Sente);

        QVERIFY(!Image(form, 76)->HasPicture());
        QVERIFY(Shows(form, 75, PieceName::Fu));
        const TMove reply = session.ShownMoveHistory()[1];
        QVERIFY(!Image(form, reply.From)->HasPicture());
        QVERIFY(Shows(form, reply.To, reply.Name));
        QCOMPARE(PiecesShown(form), 40);

        const QString label = Label(form, "Label_Message");
        QVERIFY2(label.startsWith(
                     QStringLiteral("1手目 あなたの指し手:\n\n　76→75　歩\n\n2手目 COMの指し手:\n\n") +
                     Lf(TGameSession::FormatMove(reply))),
                 qPrintable(label));
        QVERIFY(label.contains(QStringLiteral("COM消費時間： 0秒")));
        QCOMPARE(session.KifuLines()[16], std::string(" 1: ▲先手: 　76→75　歩"));

        // The frame marks COM's destination once the drag is over.
        auto* waku = form.findChild<QWidget*>(QStringLiteral("Waku"));
        QVERIFY(waku->isVisibleTo(&form));
        QCOMPARE(waku->pos(), Image(form, reply.To)->pos());
        const QString status = Label(form, "Label_mes2");
        QVERIFY2(status.isEmpty() || status == QStringLiteral("【基本形】の駒組み中") ||
                     status == QStringLiteral("COMが王手しました！"),
                 qPrintable(status));

        // A drag from an empty square is refused on the label and changes nothing else.
        const auto before = Snapshot(form);
        DragImages(form, 55, 54);
        QCOMPARE(Label(form, "Label_Message"),
                 QStringLiteral("あなたの番です。\n\n駒の動かし方が不正です。"));
        QCOMPARE(Snapshot(form), before);
        QCOMPARE(int(session.MoveHistory().size()), 2);

        // Dropping a piece back on its own square does nothing at all.
        DragImages(form, 75, 75);
        QCOMPARE(Label(form, "Label_Message"),
                 QStringLiteral("あなたの番です。\n\n駒の動かし方が不正です。"));
        QCOMPARE(Snapshot(form), before);
    }

    void commandsAskFirstAndNoChangesNothing() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        DragImages(form, 76, 75);
        const auto board = Snapshot(form);
        const QString label = Label(form, "Label_Message");
        const QString status = Label(form, "Label_mes2");
        const auto kifu = form.Session().KifuLines();

        dialogs.Answer = false;
        for (const char* name : {"Button_Start", "Button_StartHisyaKaku", "Button_Exit"})
            form.findChild<QPushButton*>(QString::fromLatin1(name))->click();
        form.OnButton_TestClick();
        QCOMPARE(dialogs.Questions,
                 QStringList({"初期化しますか？", "初期化しますか？", "終了しますか？", "初期化しますか？"}));
        QCOMPARE(Snapshot(form), board);
        QCOMPARE(Label(form, "Label_Message"), label);
        QCOMPARE(Label(form, "Label_mes2"), status);
        QCOMPARE(form.Session().KifuLines(), kifu);
        QCOMPARE(form.Session().ShownMove(), 2);

        // Yes: a handicap game without the human's rook and bishop.
        dialogs.Answer = true;
        form.findChild<QPushButton*>(QStringLiteral("Button_StartHisyaKaku"))->click();
        QCOMPARE(PiecesShown(form), 38);
        QVERIFY(!Image(form, 77)->HasPicture());
        QVERIFY(!Image(form, 28)->HasPicture());
        QVERIFY(Shows(form, 76, PieceName::Fu));
        QCOMPARE(form.Session().ShownMove(), 0);
        QCOMPARE(int(form.Session().KifuLines().size()), 16);
        QCOMPARE(Label(form, "Label_mes2"), QString());
        QVERIFY(!form.findChild<QWidget*>(QStringLiteral("Waku"))->isVisibleTo(&form));

        // An even game again; a formation picked before the first move is set at once.
        form.findChild<QPushButton*>(QStringLiteral("Button_Start"))->click();
        QCOMPARE(PiecesShown(form), 40);
        QVERIFY(Shows(form, 77, PieceName::Kaku));
        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setCurrentIndex(4);
        emit list->activated(4);
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【穴熊】"));
        QCOMPARE(Label(form, "Label_Message"),
                 QStringLiteral("あなたの番です\n\n\n（COMの陣形は【穴熊】に設定されました）"));

        form.show();
        form.findChild<QPushButton*>(QStringLiteral("Button_Exit"))->click();
        QVERIFY(!form.isVisible());
    }

    void takeBackAndRecordCopyThroughTheButtons() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        const auto start = Snapshot(form);
        DragImages(form, 76, 75);

        auto* matta = form.findChild<QPushButton*>(QStringLiteral("Button_Matta"));
        matta->click();
        QVERIFY(dialogs.OkTexts.isEmpty());
        QCOMPARE(Label(form, "Label_Message"), QStringLiteral("待ったをしました\n初期状態に戻りました\n\n"));
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
        DragImages(form, 28, 22);
        QVERIFY(form.Session().ReplayMode());
        QCOMPARE(dialogs.OkTexts, QStringList({"王の詰みです。あなたの勝ちです。"}));
        QCOMPARE(Label(form, "Label_mes2"), QStringLiteral("あなたの勝ちです。"));
        QVERIFY(strip->isVisibleTo(&form));
        for (QWidget* b : buttons) QVERIFY(b->isEnabled());

        // Back to the start and one move forward, through clicks on the drawn buttons.
        form.show();
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QVERIFY(Shows(form, 28, PieceName::Hi));
        QVERIFY(Label(form, "Label_Message").startsWith(QStringLiteral("棋譜再現モード")));
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QVERIFY(!Image(form, 28)->HasPicture());
        QVERIFY(Shows(form, 22, PieceName::Ryu));
        QCOMPARE(form.findChild<QWidget*>(QStringLiteral("Waku"))->pos(), Image(form, 22)->pos());

        form.findChild<QPushButton*>(QStringLiteral("Button_Start"))->click();
        QVERIFY(!strip->isVisibleTo(&form));
        for (QWidget* b : buttons) QVERIFY(!b->isEnabled());
        QVERIFY(!form.Session().ReplayMode());
    }

    void redrawBoardClearsASquare() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(Shows(form, 76, PieceName::Fu));
        // The board shows something the game does not hold; the redraw catches up with the game.
        form.Board().SetSquare(76, PieceName::Empty);
        form.Board().SetSquare(75, PieceName::Fu);
        form.RedrawBoard();
        QVERIFY(Shows(form, 76, PieceName::Fu));
        QVERIFY(!Image(form, 75)->HasPicture());
        QCOMPARE(PiecesShown(form), 40);
    }

    // Every text the window can show is wholly inside its control at the control's own size: the
    // message label's lines end above the status line that lies over its foot, one-line texts fit
    // their widths. A text is drawn smaller only when it must be.
    void textsFitTheirControls() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        auto* message = form.findChild<TMessageLabel*>(QStringLiteral("Label_Message"));
        auto* status = form.findChild<TFitLabel*>(QStringLiteral("Label_mes2"));
        const int room = status->y() - message->y();

        auto move = [](int from, int to, PieceName p) {
            return TGameSession::FormatMove(TMove{std::uint8_t(from), std::uint8_t(to), p});
        };
        std::vector<std::string> messages = {
            "あなたの番です", "あなたの番です。\r\n\r\n駒の動かし方が不正です。",
            "あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。",
            "待ったをしました\r\n初期状態に戻りました\r\n\r\n",
            "棋譜再現モード\r\n\r\n\r\n初期状態まで棋譜を戻しました。このあと一手ずつ再生することができます"
            "。"};
        for (std::string_view name : kFormationList) messages.push_back(TGameSession::Greeting(name));
        const std::string total = "COM消費時間： 99999秒";
        for (int n = 1; n < 300; n += 2)
            for (auto [human, com] : {std::pair{PieceName::Ryu, PieceName::ComRyu},
                                      std::pair{PieceName::GinNari, PieceName::ComKyoNari}}) {
                const std::string h =
                    std::to_string(n) + "手目 あなたの指し手:\r\n\r\n" + move(99, 11, human);
                const std::string turn = h + "\r\n\r\n" + std::to_string(n + 1) +
                                         "手目 COMの指し手:\r\n\r\n" + move(11, 99, com) +
                                         "\r\n\r\nCOM思考： 123.456秒\r\n" + total;
                messages.push_back(turn);                      // a turn
                messages.push_back(turn + "\r\n\r\n" + total); // COM wins
                messages.push_back(h + "\r\n\r\n" + total);    // the human wins
                messages.push_back("待ったをしました\r\n\r\n戻した指し手:\r\n\r\n　" + std::to_string(n) +
                                   "手目\r\n" + move(99, 11, human));
                messages.push_back("棋譜再現モード\r\n\r\n" + std::to_string(n) + "手目\r\n\r\n" +
                                   move(99, 11, human) + "\r\n\r\n" + std::to_string(n + 1) + "手目\r\n\r\n" +
                                   move(11, 99, com));
            }
        for (const std::string& text : messages) {
            form.SetMessage(text);
            const QFont font = message->font();
            QVERIFY2(message->TextHeight(message->text(), font) <= room, text.c_str());
            QVERIFY2(font.pixelSize() >= 12, text.c_str());
        }
        // A text that fits keeps the label's own size.
        form.SetMessage(TGameSession::Greeting("【基本形】"));
        QCOMPARE(message->font().pixelSize(), 19);

        QStringList statuses = {"COM思考中。。。。", "COMが王手しました！", "あなたの勝ちです。",
                                "COMの勝ちです。"};
        for (std::string_view name : kFormationList)
            statuses << QString::fromUtf8(name.data(), qsizetype(name.size())) + QStringLiteral("の駒組み中");
        for (const QString& text : statuses) {
            form.SetStatus(text.toStdString());
            const QFontMetrics fm(status->font());
            QVERIFY2(fm.horizontalAdvance(text) <= status->width() && fm.height() <= status->height(),
                     qPrintable(text));
        }
        auto* caption = form.findChild<TFitLabel*>(QStringLiteral("Label1"));
        QVERIFY(QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <= caption->width());

        for (QPushButton* button : form.Client()->findChildren<QPushButton*>()) {
            const QFontMetrics fm(button->font());
            QVERIFY2(fm.horizontalAdvance(button->text()) <= ButtonTextRoom(button).width(),
                     qPrintable(button->text()));
        }

        // The closed list shows every name whole; the open list is wide enough for the longest.
        auto* list = form.findChild<TFormationList*>(QStringLiteral("ComboBox1"));
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentIndex(i);
            QVERIFY2(QFontMetrics(list->ShownFont()).horizontalAdvance(list->currentText()) <=
                         list->TextRoom().width(),
                     qPrintable(list->currentText()));
            QVERIFY(QFontMetrics(list->view()->font()).horizontalAdvance(list->itemText(i)) <
                    list->view()->minimumWidth());
        }
    }

    // The translations of one Linguist file, by context: (source, translation) with CR LF line ends.
    static std::multimap<QString, std::pair<QString, QString>> Translations(const QString& file) {
        std::multimap<QString, std::pair<QString, QString>> found;
        QFile ts(file);
        if (!ts.open(QIODevice::ReadOnly)) return found;
        QXmlStreamReader xml(&ts);
        QString context, source, *text = nullptr;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
                source.clear();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
                text = &source;
                text->clear();
            } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
                found.insert({context, {source, QString()}});
                text = &std::prev(found.end())->second.second;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("byte")) {
                if (text)
                    text->append(
                        QChar(xml.attributes().value(QLatin1String("value")).mid(1).toInt(nullptr, 16)));
            } else if (xml.isCharacters() && text) {
                text->append(xml.text());
            } else if (xml.isEndElement() && (xml.name() == QLatin1String("source") ||
                                              xml.name() == QLatin1String("translation"))) {
                text = nullptr;
            }
        }
        return found;
    }

    // Every text of the window's sized controls fits at every zoom in English as in Japanese: the
    // buttons, the caption, the closed and the open formation list, and every message of the game's
    // panel, its placeholders filled with long values. The language changes at once and is kept.
    void englishTextsFitAndTheLanguageSwitchesBack() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        ShowActive(form);
        auto* start = form.findChild<QPushButton*>(QStringLiteral("Button_Start"));
        auto* list = form.findChild<TFormationList*>(QStringLiteral("ComboBox1"));
        auto* message = form.findChild<TMessageLabel*>(QStringLiteral("Label_Message"));
        auto* status = form.findChild<TFitLabel*>(QStringLiteral("Label_mes2"));
        const auto menuTitles = [&form] {
            QStringList titles;
            for (QAction* menu : form.menuBar()->actions()) titles << menu->text();
            return titles;
        };
        const QStringList japanese = menuTitles();
        QCOMPARE(start->text(), QStringLiteral("平手で初期化"));

        form.SetLanguage(TLanguageChoice::English);
        QCOMPARE(QSettings().value(QStringLiteral("language")).toString(), QStringLiteral("en"));
        QCOMPARE(menuTitles(), (QStringList{QStringLiteral("&Game"), QStringLiteral("&View"),
                                            QStringLiteral("&Analysis"), QStringLiteral("&Help")}));
        QCOMPARE(start->text(), QStringLiteral("New game"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Mirutoa Shogi"));
        QCOMPARE(list->itemText(2), QStringLiteral("Yagura castle"));
        QCOMPARE(form.findChild<QListWidget*>(QStringLiteral("KifuList"))->item(0)->text(),
                 QStringLiteral("Start position"));
        QVERIFY2(message->text().startsWith(QStringLiteral("Your move")), qPrintable(message->text()));
        // The list shows English and still picks the formation by its own name.
        DragImages(form, 27, 26);
        list->setCurrentIndex(2);
        emit list->activated(2);
        QCOMPARE(form.statusBar()->currentMessage(), QStringLiteral("Yagura castle from the next game on"));
        form.OnButton_StartClick();
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【矢倉囲い】"));

        // The panel's messages: a long number, a long move and a long formation name in each place.
        QStringList panel;
        const auto game = Translations(QStringLiteral(MIRUTOA_TRANSLATIONS_DIR "/mirutoa_game_en.ts"));
        for (const auto& [context, texts] : game)
            if (context == QLatin1String("GameSession")) panel << texts.second;
        QStringList fills = {QStringLiteral("299"), QStringLiteral("▲+Bx2b+"),
                             QStringLiteral("Mirutoa Cross Anaguma"), QStringLiteral("99999")};
        for (int percent : Offered(form)) {
            QVERIFY(form.SetZoom(percent));
            const QString at = QStringLiteral(" at %1 %").arg(percent);
            for (QPushButton* button : form.Client()->findChildren<QPushButton*>())
                QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) <=
                             ButtonTextRoom(button).width(),
                         qPrintable(button->text() + at));
            auto* caption = form.findChild<TFitLabel*>(QStringLiteral("Label1"));
            QVERIFY2(QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <= caption->width(),
                     qPrintable(caption->text() + at));
            for (int i = 0; i < list->count(); ++i) {
                list->setCurrentIndex(i);
                QVERIFY2(QFontMetrics(list->ShownFont()).horizontalAdvance(list->currentText()) <=
                             list->TextRoom().width(),
                         qPrintable(list->currentText() + at));
                QVERIFY(QFontMetrics(list->view()->font()).horizontalAdvance(list->itemText(i)) <
                        list->view()->minimumWidth());
            }
            const int room = status->y() - message->y();
            for (QString text : panel) {
                for (int n = 1; n <= 9; ++n)
                    text.replace(QStringLiteral("%%1").arg(n), fills[(n - 1) % fills.size()]);
                form.SetMessage(text.toStdString());
                QVERIFY2(message->TextHeight(message->text(), message->font()) <= room,
                         qPrintable(text + at));
                QVERIFY2(message->font().pixelSize() >= Layout::Scaled(12, percent / 100.0),
                         qPrintable(text + at));
            }
        }

        form.SetLanguage(TLanguageChoice::Japanese);
        QCOMPARE(menuTitles(), japanese);
        QCOMPARE(start->text(), QStringLiteral("平手で初期化"));
        QCOMPARE(list->itemText(2), QStringLiteral("【矢倉囲い】"));
        QCOMPARE(form.windowTitle(), QStringLiteral("創作将棋 ミルトア"));
        TForm1 again(&dialogs);
        QVERIFY(again.findChild<QMenu*>(QStringLiteral("LanguageMenu"))->actions()[1]->isChecked());
    }

    // A frame marks a board square or is hidden: a drag that completes no turn leaves it hidden.
    void frameIsShownOnlyOnASquare() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        auto* waku = form.findChild<QWidget*>(QStringLiteral("Waku"));
        DragImages(form, 55, 54);
        QVERIFY(!waku->isVisibleTo(&form));
        DragImages(form, 76, 75);
        QVERIFY(waku->isVisibleTo(&form));
        QCOMPARE(waku->pos(), Image(form, form.Session().ShownMoveHistory()[1].To)->pos());
        // After a take-back the frame stands on COM's move that is now the latest, or nowhere.
        const int firstReply = form.Session().ShownMoveHistory()[1].To;
        DragImages(form, 27, 26);
        form.OnButton_MattaClick();
        DragImages(form, 55, 54);
        QVERIFY(waku->isVisibleTo(&form));
        QCOMPARE(waku->pos(), Image(form, firstReply)->pos());
        form.OnButton_StartClick();
        DragImages(form, 76, 75);
        form.OnButton_MattaClick();
        DragImages(form, 55, 54);
        QVERIFY(!waku->isVisibleTo(&form));
        form.OnButton_StartClick();
        DragImages(form, 76, 76);
        emit Image(form, 76)->dragStarted(76); // dropped off the board
        emit Image(form, 76)->dragEnded(76);
        QVERIFY(!waku->isVisibleTo(&form));
    }

    // A formation picked after the first move waits for the next game; the status line names the one
    // COM is building.
    void statusNamesTheFormationThisGameBuilds() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        // Before the first move a pick applies at once and needs no note.
        list->setCurrentIndex(2);
        emit list->activated(2);
        QCOMPARE(form.statusBar()->currentMessage(), QString());
        list->setCurrentIndex(0);
        emit list->activated(0);
        DragImages(form, 27, 26);
        list->setCurrentIndex(1);
        emit list->activated(1);
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【基本形】"));
        QCOMPARE(form.statusBar()->currentMessage(), QStringLiteral("【中飛車】は次の対局から"));
        for (int from : {26, 17}) {
            DragImages(form, from, from - 1);
            QVERIFY(form.Session().SideToMove() == Side::Sente);
            const TKyokumenKanri& k = *form.Session().ComKanri(Side::Gote);
            if (!InCheck(form.Session().Position().Board, Side::Sente) && k.FormationInProgress())
                QCOMPARE(Label(form, "Label_mes2"), QStringLiteral("【基本形】の駒組み中"));
        }
        form.OnButton_StartClick();
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【中飛車】"));
    }

    // The wheel turns the list only after it has been given the focus.
    void wheelTurnsTheListOnlyWithFocus() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        auto turn = [&] {
            const QPointF at(list->width() / 2.0, list->height() / 2.0);
            QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
        };
        form.findChild<QPushButton*>(QStringLiteral("Button_Kifu"))->setFocus();
        turn();
        QCOMPARE(list->currentIndex(), 0);
        QVERIFY(!list->hasFocus());
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【基本形】"));
        list->setFocus();
        turn();
        QCOMPARE(list->currentIndex(), 1);
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【中飛車】"));
    }

    // The real boxes read exactly their captions, and the program names no display name that the
    // platform would append to them.
    void boxesCarryExactlyTheirCaptions() {
        QVERIFY(QGuiApplication::applicationDisplayName().isEmpty());
        TMessageBoxDialogs boxes(nullptr);
        QStringList captions;
        auto closeNextBox = [&] {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                captions << box->windowTitle();
                box->reject();
            });
        };
        closeNextBox();
        boxes.Ok(QStringLiteral("待ったは一度だけです。"));
        closeNextBox();
        QVERIFY(!boxes.YesNo(QStringLiteral("初期化しますか？")));
        closeNextBox();
        boxes.Info(QStringLiteral("遊び方"), QStringLiteral("…"));
        QCOMPARE(captions, QStringList({"創作将棋 ミルトア", "確認", "遊び方"}));
    }

    // In replay mode a pick only changes the selection for the next game: the replay's label stays.
    void pickInReplayKeepsTheReplayLabel() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        WinAtOnce(form);
        form.OnReplayButton1_Click();
        QCOMPARE(form.Session().ShownMove(), 0);
        const QString label = Label(form, "Label_Message");
        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setCurrentIndex(4);
        emit list->activated(4);
        QCOMPARE(Label(form, "Label_Message"), label);
        QCOMPARE(form.statusBar()->currentMessage(), QStringLiteral("【穴熊】は次の対局から"));
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【基本形】"));
        form.OnButton_StartClick();
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【穴熊】"));
    }

    // The menu: its items and keys, each the command of its button, confirmations included.
    void menuCommandsAreTheButtonsCommands() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QStringList menus;
        for (QAction* menu : form.menuBar()->actions()) {
            QStringList items;
            for (QAction* item : menu->menu()->actions())
                if (!item->isSeparator())
                    items << item->text() + (item->shortcut().isEmpty()
                                                 ? QString()
                                                 : QLatin1Char(' ') + item->shortcut().toString());
            menus << menu->text() + QLatin1Char(':') + items.join(QLatin1Char(','));
        }
        QCOMPARE(menus, QStringList(
                            {"ゲーム(&G):対局の設定… Ctrl+N,一時停止 Ctrl+P,再開 Ctrl+Shift+P,"
                             "平手で初期化,飛車角落ちで初期化,待った "
                             "Ctrl+Z,投了,対戦相手,ヒント Ctrl+H,棋譜をクリップボードにコピー Ctrl+C,"
                             "棋譜を保存… Ctrl+S,棋譜を開く… Ctrl+O,棋譜を貼り付け "
                             "Ctrl+V,この局面から指し直す,最近の棋譜,"
                             "対局を自動保存,終了 Ctrl+Q",
                             "表示(&V):座標,移動先を表示,COMの狙いを表示,棋譜,盤面反転 Ctrl+R,手番側を手前に,"
                             "駒音,拡大率,言語",
                             "検討(&A):棋譜を解析…,検討モード F5,悪手を復習,局面編集… Ctrl+E,局面をコピー "
                             "Ctrl+Shift+C,局面を貼り付け Ctrl+Shift+V,盤面を画像で保存…",
                             "ヘルプ(&H):遊び方 F1,バージョン情報"}));

        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        dialogs.Answer = false;
        for (const char* item : {"平手で初期化", "飛車角落ちで初期化", "終了"})
            MenuItem(form, QString::fromUtf8(item))->trigger();
        QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(dialogs.Questions,
                 QStringList({"初期化しますか？", "初期化しますか？", "終了しますか？", "終了しますか？"}));
        QVERIFY(form.isVisible());

        DragImages(form, 76, 75);
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Label(form, "Label_Message"), QStringLiteral("待ったをしました\n初期状態に戻りました\n\n"));
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(dialogs.OkTexts, QStringList({"待ったは一度だけです。"}));
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(form.Session().KifuText()));

        QTest::keyClick(&form, Qt::Key_F1);
        MenuItem(form, QStringLiteral("バージョン情報"))->trigger();
        QCOMPARE(dialogs.InfoCaptions, QStringList({"遊び方", "バージョン情報"}));

        dialogs.Answer = true;
        MenuItem(form, QStringLiteral("飛車角落ちで初期化"))->trigger();
        QCOMPARE(PiecesShown(form), 38);
        MenuItem(form, QStringLiteral("終了"))->trigger();
        QVERIFY(!form.isVisible());
    }

    // File numbers under the board and rank numerals beside it, where nothing else is drawn; the
    // 表示 menu takes them away.
    void coordinatesAreDrawnBesideTheBoard() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(form.CoordinatesShown());
        // Dark pixels in a box of the client area.
        auto ink = [&](QRect box) {
            const QImage image = form.Client()->grab().toImage();
            int n = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x) n += qGray(image.pixel(x, y)) < 110 ? 1 : 0;
            return n;
        };
        const QRect board = Layout::Place("Image1").Rect;
        const QRect ranks(0, board.top(), board.left() - 6, board.height());
        const QRect files(board.left(), board.bottom() + 6, board.width(), 14);
        // One glyph per row and per column.
        for (int i = 0; i < 9; ++i) {
            QVERIFY(ink(QRect(ranks.left(), board.top() + 2 + 40 * i, ranks.width(), 38)) > 5);
            QVERIFY(ink(QRect(board.left() + 2 + 40 * i, files.top(), 38, files.height())) > 5);
        }
        MenuItem(form, QStringLiteral("座標"))->trigger();
        QVERIFY(!form.CoordinatesShown());
        QCOMPARE(ink(ranks), 0);
        QCOMPARE(ink(files), 0);
    }

    // The squares of the latest turn are tinted, four of them after a whole turn; replay tints the
    // moves it shows.
    void latestTurnAndReplayedMovesAreTinted() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(Marked(form, TSquareImage::LastMove).empty());
        DragImages(form, 76, 75);
        const TMove reply = form.Session().ShownMoveHistory()[1];
        QCOMPARE(Marked(form, TSquareImage::LastMove), std::set<int>({76, 75, reply.From, reply.To}));
        DragImages(form, 55, 54); // refused: the marks stay
        QCOMPARE(Marked(form, TSquareImage::LastMove), std::set<int>({76, 75, reply.From, reply.To}));
        form.OnButton_MattaClick();
        QVERIFY(Marked(form, TSquareImage::LastMove).empty());

        WinAtOnce(form);
        QCOMPARE(Marked(form, TSquareImage::LastMove), std::set<int>({28, 22}));
        form.OnReplayButton1_Click();
        QVERIFY(Marked(form, TSquareImage::LastMove).empty());
        form.OnReplayButton2_Click();
        QCOMPARE(Marked(form, TSquareImage::LastMove), std::set<int>({28, 22}));
        form.OnButton_StartClick();
        QVERIFY(Marked(form, TSquareImage::LastMove).empty());
    }

    // The dots mark the legal destinations of the dragged or selected piece only: squares the piece
    // could reach but where the human king would stand attacked are left out.
    void destinationsLeaveOutMovesIntoCheck() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        // The bishop from the start, while it is dragged.
        emit Image(form, 77)->dragStarted(77);
        QCOMPARE(Marked(form, TSquareImage::Destination), std::set<int>({86, 95, 88, 68}));
        emit Image(form, 77)->dragEnded(77);
        QVERIFY(Marked(form, TSquareImage::Destination).empty());

        // Two people: the second player's bishop checks from 15 once the pawn on 37 has moved; the king
        // may not step onto 48, which the bishop covers.
        form.Play().StartGame({{{TSeat::Human(), TSeat::Human()}}, KifStart::Even, 500, {}});
        DragImages(form, 37, 36);
        DragImages(form, 33, 15);
        QVERIFY(InCheck(form.Session().Position().Board, Side::Sente));
        Click(form, 59);
        QCOMPARE(form.Board().SelectedSquare(), 59);
        QCOMPARE(Marked(form, TSquareImage::Destination), std::set<int>({58, 68}));
        MenuItem(form, QStringLiteral("移動先を表示"))->trigger();
        QVERIFY(Marked(form, TSquareImage::Destination).empty());
        QCOMPARE(Marked(form, TSquareImage::Selected), std::set<int>({59}));
    }

    // A click selects one of the human's pieces, a click on a destination plays the turn a drag
    // would, a click on the piece again or elsewhere cancels; a drag back onto its own square still
    // does nothing at all.
    void clicksPlayTheTurnADragWould() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        const QString greeting = Label(form, "Label_Message");
        const auto start = Snapshot(form);
        Click(form, 27);
        QCOMPARE(Marked(form, TSquareImage::Selected), std::set<int>({27}));
        Click(form, 27); // the piece again
        QCOMPARE(form.Board().SelectedSquare(), 0);
        Click(form, 27);
        Click(form, 55); // elsewhere
        QCOMPARE(form.Board().SelectedSquare(), 0);
        Click(form, 33); // COM's piece is not selected
        QCOMPARE(form.Board().SelectedSquare(), 0);
        Click(form, 77);
        Click(form, 27); // another of the human's pieces
        QCOMPARE(form.Board().SelectedSquare(), 27);
        QVERIFY(Marked(form, TSquareImage::Destination) == std::set<int>({26}));
        DragImages(form, 27, 27);
        QCOMPARE(Label(form, "Label_Message"), greeting);
        QCOMPARE(Snapshot(form), start);
        QCOMPARE(form.Session().ShownMove(), 0);

        Click(form, 27);
        Click(form, 26);
        QCOMPARE(form.Board().SelectedSquare(), 0);
        QCOMPARE(form.Session().ShownMove(), 2);
        QCOMPARE(form.Session().KifuLines()[16], std::string(" 1: ▲先手: 　27→26　歩"));
        QVERIFY(Shows(form, 26, PieceName::Fu));
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("Waku"))->isVisibleTo(&form));
    }

    // The board hands on each whole move once, by a drag (dropped off the board too, then without a
    // destination) or by two clicks, and nothing while the game is replayed.
    void boardHandsOnWholeMoves() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QSignalSpy moves(&form.Board(), &TBoardView::moveRequested);
        const auto last = [&moves] { return std::pair(moves.last()[0].toInt(), moves.last()[1].toInt()); };
        DragImages(form, 76, 75);
        QCOMPARE(moves.size(), 1);
        QCOMPARE(last(), std::pair(76, 75));
        Click(form, 27);
        QCOMPARE(moves.size(), 1);
        Click(form, 26);
        QCOMPARE(moves.size(), 2);
        QCOMPARE(last(), std::pair(27, 26));
        emit Image(form, 77)->dragStarted(77);
        emit Image(form, 77)->dragEnded(77);
        QCOMPARE(moves.size(), 3);
        QCOMPARE(last(), std::pair(77, 0));
        QVERIFY(Label(form, "Label_Message").contains(QStringLiteral("駒の動かし方が不正です")));

        WinAtOnce(form);
        QVERIFY(form.Session().ReplayMode());
        const qsizetype played = moves.size();
        DragImages(form, 29, 37);
        Click(form, 29);
        Click(form, 37);
        QCOMPARE(moves.size(), played);
    }

    // Resigning asks first, is refused before the first move and after the game, and ends the game
    // as COM's win.
    void resignAsksThenEndsTheGameAsComsWin() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QAction* resign = MenuItem(form, QStringLiteral("投了"));
        resign->trigger();
        QVERIFY(dialogs.Questions.isEmpty());
        DragImages(form, 76, 75);
        const auto kifu = form.Session().KifuLines();
        dialogs.Answer = false;
        resign->trigger();
        QCOMPARE(dialogs.Questions, QStringList({"投了しますか？"}));
        QCOMPARE(form.Session().KifuLines(), kifu);
        QVERIFY(!form.Session().ReplayMode());

        dialogs.Answer = true;
        resign->trigger();
        QCOMPARE(Label(form, "Label_mes2"), QStringLiteral("COMの勝ちです。"));
        QVERIFY(form.Session().ReplayMode());
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("Image2"))->isVisibleTo(&form));
        const auto& lines = form.Session().KifuLines();
        QCOMPARE(std::vector<std::string>(lines.end() - 2, lines.end()),
                 std::vector<std::string>({" 3: ▲先手: 　投了", "まで、後手の勝ち"}));
        resign->trigger();
        QCOMPARE(dialogs.Questions.size(), 2);
    }

    // In replay, Right steps one move on, Left one move back, Home to the start.
    void replayKeysStepOnBackAndToTheStart() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        form.show();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const auto start = Snapshot(form);
        DragImages(form, 76, 75);
        DragImages(form, 27, 26);
        dialogs.Answer = true;
        form.OnResignClick();
        QVERIFY(form.Session().ReplayMode());

        QTest::keyClick(&form, Qt::Key_Home);
        QCOMPARE(Snapshot(form), start);
        QTest::keyClick(&form, Qt::Key_Right);
        QTest::keyClick(&form, Qt::Key_Right);
        const auto second = Snapshot(form);
        const QString secondLabel = Label(form, "Label_Message");
        QVERIFY(secondLabel.startsWith(QStringLiteral("棋譜再現モード\n\n\n2手目")));
        QTest::keyClick(&form, Qt::Key_Right);
        QCOMPARE(form.Session().ShownMove(), 3);
        QTest::keyClick(&form, Qt::Key_Left);
        QCOMPARE(form.Session().ShownMove(), 2);
        QCOMPARE(Snapshot(form), second);
        QCOMPARE(Label(form, "Label_Message"), secondLabel);
        QCOMPARE(Marked(form, TSquareImage::LastMove),
                 std::set<int>(
                     {form.Session().ShownMoveHistory()[1].From, form.Session().ShownMoveHistory()[1].To}));
        QTest::keyClick(&form, Qt::Key_Left);
        QTest::keyClick(&form, Qt::Key_Left);
        QCOMPARE(Snapshot(form), start);
        QCOMPARE(form.Session().ShownMove(), 0);
        QCOMPARE(Label(form, "ReplayCounter"), QStringLiteral("0 / 4手"));

        // The strip's own back and end buttons, and End; the end's label says how the game ended.
        const auto click = [&form](const char* name) {
            auto* button = form.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY(button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
        };
        click("ReplayEndButton");
        QCOMPARE(form.Session().ShownMove(), 4);
        QCOMPARE(Label(form, "ReplayCounter"), QStringLiteral("4 / 4手"));
        QVERIFY(Label(form, "Label_Message").contains(QStringLiteral("投了")));
        click("ReplayBackButton");
        click("ReplayBackButton");
        QCOMPARE(Snapshot(form), second);
        QCOMPARE(Label(form, "ReplayCounter"), QStringLiteral("2 / 4手"));
        QTest::keyClick(&form, Qt::Key_End);
        QCOMPARE(form.Session().ShownMove(), 4);

        // Outside replay the keys do nothing.
        form.OnButton_StartClick();
        const auto fresh = Snapshot(form);
        QTest::keyClick(&form, Qt::Key_Left);
        QTest::keyClick(&form, Qt::Key_Home);
        QCOMPARE(Snapshot(form), fresh);
        QCOMPARE(form.Session().ShownMove(), 0);
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("ReplayCounter"))->isHidden());
    }

    // The analysis runs beside the window: the event loop keeps ticking, the graph gets one point per
    // position, and a click on a point shows that position.
    void analysisRunsBesideTheWindow() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        if (!form.Engine().Installed()) QSKIP("the engine is not installed (Debian package fairy-stockfish)");
        form.show();
        DragImages(form, 76, 75);
        DragImages(form, 27, 26);
        DragImages(form, 26, 25);
        dialogs.Answer = true;
        form.OnResignClick();
        const int moves = int(form.Session().Turns().size());
        TAnalysisPanel& analysis = form.Analysis();
        analysis.Begin(kAnalysisDefaultNodes);
        QVERIFY(analysis.Running());
        const qint64 stall = LongestStall([&analysis] { return analysis.Running(); }, 10000);
        qInfo("longest stall while analysing: %lld ms", static_cast<long long>(stall));
        QTRY_VERIFY_WITH_TIMEOUT(!analysis.Running(), 10000);
        QCOMPARE(int(analysis.Analysis().Evals().size()), moves + 1);
        TEvalGraph& graph = analysis.Graph();
        QVERIFY(graph.isVisible());
        QTest::mouseClick(&graph, Qt::LeftButton, {}, graph.PointPosition(2));
        QCOMPARE(form.Session().ShownMove(), 2);
        QCOMPARE(graph.Shown(), 2);
    }

    // Played on from a finished game's earlier position, the game brings back COM's formation: the
    // list shows it, not a pick made for the next game.
    void playOnShowsTheGamesFormation() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        auto* list = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        list->setCurrentIndex(4);
        emit list->activated(4);
        DragImages(form, 76, 75);
        list->setCurrentIndex(1);
        emit list->activated(1);
        DragImages(form, 27, 26);
        dialogs.Answer = true;
        form.OnResignClick();
        form.OnReplayEnd();
        form.OnReplayBack();
        form.OnReplayBack();
        form.findChild<QAction*>(QStringLiteral("PlayOnAction"))->trigger();
        QVERIFY(!form.Session().ReplayMode());
        QCOMPARE(form.Session().Turns().size(), std::size_t(2));
        QCOMPARE(form.Session().ComKanri(Side::Gote)->FormationName, std::string("【穴熊】"));
        QCOMPARE(list->currentIndex(), 4);
    }

    // The 表示 settings outlive the window.
    void viewSettingsAreKeptBetweenRuns() {
        {
            TFakeDialogs dialogs;
            TForm1 form(&dialogs);
            MenuItem(form, QStringLiteral("座標"))->trigger();
            MenuItem(form, QStringLiteral("移動先を表示"))->trigger();
        }
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(!form.CoordinatesShown());
        QVERIFY(!form.DestinationsShown());
        QVERIFY(!MenuItem(form, QStringLiteral("座標"))->isChecked());
        QVERIFY(!MenuItem(form, QStringLiteral("移動先を表示"))->isChecked());
        MenuItem(form, QStringLiteral("座標"))->trigger();
        TForm1 again(&dialogs);
        QVERIFY(again.CoordinatesShown());
    }

    // Every piece that lands knocks once, COM's reply and replayed moves too; a step back knocks once
    // for the piece that goes back; a board drawn anew stays silent. 駒音 off silences it, for the next
    // run as well.
    void landingPiecesKnockOnceEachAndTheSwitchIsKept() {
        int knocks = 0;
        // The knocks heard once those that wait their turn have come and a while has passed.
        const auto heard = [&knocks](int expected) {
            if (QTest::qWaitFor([&] { return knocks >= expected; }, 3000)) QTest::qWait(400);
            return knocks;
        };
        {
            TFakeDialogs dialogs;
            TForm1 form(&dialogs);
            form.Sound().SetPlayer([&knocks] { ++knocks; });
            QVERIFY(MenuItem(form, QStringLiteral("駒音"))->isChecked());
            DragImages(form, 76, 75);
            QCOMPARE(heard(2), 2);
            form.OnButton_StartClick();
            QCOMPARE(heard(2), 2);
            DragImages(form, 76, 75);
            QCOMPARE(heard(4), 4);
            DragImages(form, 27, 26);
            QCOMPARE(heard(6), 6);
            form.OnResignClick();
            form.OnReplayStart();
            QCOMPARE(heard(6), 6);
            form.OnReplayButton3_Click();
            QCOMPARE(heard(8), 8);
            form.OnReplayForward();
            QCOMPARE(heard(9), 9);
            form.OnReplayBack();
            QCOMPARE(heard(10), 10);
            QCOMPARE(form.Session().ShownMove(), 2);
            MenuItem(form, QStringLiteral("駒音"))->trigger();
            form.OnReplayForward();
            QCOMPARE(heard(10), 10);
        }
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        QVERIFY(!form.Sound().Enabled());
        QVERIFY(!MenuItem(form, QStringLiteral("駒音"))->isChecked());
    }

    // Saved through the menu in each form and opened again: the same record, in replay from its start.
    // A record that cannot be replayed, or a file that cannot be written, says why in a box and
    // changes nothing.
    void recordsAreSavedAndOpenedThroughTheMenu() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto inDir = [&](const char* name) {
            return QDir(dir.path()).filePath(QString::fromUtf8(name));
        };
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        DragImages(form, 76, 75);
        DragImages(form, 27, 26);
        TGameSession& session = form.Session();
        const std::string kif = session.KifText();
        const std::vector<TMove> played = session.MoveHistory();

        // The first dialog opens in the home folder when there is no documents folder, on a name from
        // the game's start time; later ones where the last record went, in the form saved last.
        QTemporaryDir home;
        const QByteArray realHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        const auto saveTo = [&](const QString& path) {
            dialogs.SaveAnswer = path;
            MenuItem(form, QStringLiteral("棋譜を保存…"))->trigger();
        };
        for (const char* name : {"game.kif", "game.kifu", "game.txt"}) saveTo(inDir(name));
        saveTo(QString());
        QCOMPARE(QFileInfo(dialogs.Offered[0]).absolutePath(), QFileInfo(home.path()).absoluteFilePath());
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{8}-\\d{6}\\.kif$"))
                     .match(QFileInfo(dialogs.Offered[0]).fileName())
                     .hasMatch(),
                 qPrintable(dialogs.Offered[0]));
        QCOMPARE(QFileInfo(dialogs.Offered[2]).absolutePath(), QFileInfo(inDir("game.kif")).absolutePath());
        QCOMPARE(QFileInfo(dialogs.Offered[2]).suffix(), QStringLiteral("kifu"));
        QCOMPARE(QFileInfo(dialogs.Offered[3]).suffix(), QStringLiteral("txt"));
        // Once the folder used last has gone, the documents folder, where there is one.
        QSettings().setValue(QStringLiteral("records/folder"), inDir("gone"));
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Documents")));
        saveTo(QString());
        QCOMPARE(QFileInfo(dialogs.Offered[4]).absolutePath(), QDir(home.path()).filePath("Documents"));
        qputenv("HOME", realHome);
        QVERIFY2(dialogs.OkTexts.isEmpty(), qPrintable(dialogs.OkTexts.join(QLatin1Char('|'))));
        QVERIFY(QFile::exists(inDir("game.txt")));

        for (const char* name : {"game.kif", "game.kifu"}) {
            form.OnButton_StartClick();
            dialogs.OpenAnswer = inDir(name);
            MenuItem(form, QStringLiteral("棋譜を開く…"))->trigger();
            QVERIFY(session.ReplayMode());
            QCOMPARE(session.ShownMove(), 0);
            QCOMPARE(session.KifText(), kif);
            QVERIFY(session.MoveHistory() == played);
            QVERIFY(form.findChild<QWidget*>(QStringLiteral("Image2"))->isVisibleTo(&form));
            form.OnReplayForward();
            QCOMPARE(session.ShownMove(), 1);
        }
        QCOMPARE(dialogs.Offered.last(), QFileInfo(inDir("game.kif")).absolutePath());

        // Move 3 made illegal (the pawn two squares on), in a game going on.
        QString text = QString::fromStdString(kif);
        QStringList lines = text.split(QLatin1Char('\n'));
        const qsizetype third = lines.indexOf(QStringLiteral("   3 ２六歩(27)"));
        QVERIFY(third > 0);
        lines[third] = QStringLiteral("   3 ２五歩(27)");
        QFile broken(inDir("broken.kifu"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(lines.join(QLatin1Char('\n')).toUtf8());
        broken.close();
        form.OnButton_StartClick();
        DragImages(form, 76, 75);
        const auto board = Snapshot(form);
        const auto kifu = session.KifuLines();
        const QString label = Label(form, "Label_Message");
        dialogs.Questions.clear();
        dialogs.OpenAnswer = broken.fileName();
        MenuItem(form, QStringLiteral("棋譜を開く…"))->trigger();
        // A record that cannot be opened is refused before anything is asked.
        QCOMPARE(dialogs.Questions, QStringList());
        QCOMPARE(dialogs.OkTexts.size(), 1);
        QVERIFY2(dialogs.OkTexts[0].startsWith(QStringLiteral("棋譜の読込みでエラー発生")) &&
                     dialogs.OkTexts[0].contains(QStringLiteral("エラー内容は %1行目: ").arg(third + 1)),
                 qPrintable(dialogs.OkTexts[0]));
        // No to the question opens nothing either.
        dialogs.Answer = false;
        dialogs.OpenAnswer = inDir("game.kifu");
        MenuItem(form, QStringLiteral("棋譜を開く…"))->trigger();
        QCOMPARE(dialogs.Questions, QStringList({"対局中のゲームをやめて棋譜を開きますか？"}));
        QCOMPARE(dialogs.OkTexts.size(), 1);
        QCOMPARE(Snapshot(form), board);
        QCOMPARE(session.KifuLines(), kifu);
        QCOMPARE(Label(form, "Label_Message"), label);
        QVERIFY(!session.ReplayMode());
        QVERIFY(session.HumanToMove());

        // A folder that is not there and an extension that names no form.
        for (const char* name : {"missing/game.kif", "game.abc"}) {
            dialogs.SaveAnswer = inDir(name);
            MenuItem(form, QStringLiteral("棋譜を保存…"))->trigger();
            QVERIFY2(dialogs.OkTexts.last().startsWith(QStringLiteral("棋譜の保存でエラー発生")),
                     qPrintable(dialogs.OkTexts.last()));
            QVERIFY(!QFile::exists(inDir(name)));
        }
        QCOMPARE(dialogs.OkTexts.size(), 3);
    }

    // Every completed turn is kept in the records folder, where the recent list finds it; with the
    // keeping off nothing is written, and a keep that fails leaves play alone and only notes it.
    void everyTurnIsKeptAndListedAsRecent() {
        QDir records(TRecordFiles::RecordsFolder());
        QVERIFY(records.removeRecursively());
        const auto kept = [&] { return records.entryList({QStringLiteral("*.kifu")}, QDir::Files); };
        TFakeDialogs dialogs;
        {
            TForm1 form(&dialogs);
            QVERIFY(!records.exists());
            DragImages(form, 76, 75);
            const QStringList files = kept();
            QCOMPARE(files.size(), 1);
            const std::string path = records.filePath(files[0]).toStdString();
            QCOMPARE(ReadKif(ReadKifFile(path)).Shown, form.Session().ShownMoveHistory());

            MenuItem(form, QStringLiteral("対局を自動保存"))->trigger();
            QVERIFY(!form.Records().Keeping());
            const std::string before = ReadKifFile(path);
            DragImages(form, 27, 26);
            form.OnButton_StartClick();
            DragImages(form, 76, 75);
            QCOMPARE(kept(), files);
            QCOMPARE(ReadKifFile(path), before);

            emit form.Records().RecentMenu()->aboutToShow();
            const QList<QAction*> recent = form.Records().RecentMenu()->actions();
            QCOMPARE(recent.size(), 1);
            // The row says when the game began, how, against which formation, how far it went.
            QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d"
                                                       "　平手　【基本形】　2手　対局中$"))
                         .match(recent[0]->text())
                         .hasMatch(),
                     qPrintable(recent[0]->text()));
            recent[0]->trigger();
            QVERIFY(form.Session().ReplayMode());
            QCOMPARE(int(form.Session().MoveHistory().size()), 2);
            QCOMPARE(form.windowTitle(), QStringLiteral("創作将棋 ミルトア — ") +
                                             QFileInfo(QString::fromStdString(path)).fileName());
            dialogs.Answer = true;
            form.OnButton_StartClick();
            QCOMPARE(form.windowTitle(), QStringLiteral("創作将棋 ミルトア"));
        }
        TForm1 again(&dialogs);
        QVERIFY(!again.Records().Keeping());
        QVERIFY(!MenuItem(again, QStringLiteral("対局を自動保存"))->isChecked());

        // A file where the folder should be: the turn is played all the same, without a box.
        QVERIFY(records.removeRecursively());
        QFile blocker(records.path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        MenuItem(again, QStringLiteral("対局を自動保存"))->trigger();
        auto* note = again.findChild<QLabel*>(QStringLiteral("KeepingNote"));
        DragImages(again, 76, 75);
        QCOMPARE(again.Session().ShownMove(), 2);
        QVERIFY(dialogs.OkTexts.isEmpty());
        QVERIFY(note->isVisibleTo(&again));
        QVERIFY(blocker.remove());
        DragImages(again, 27, 26);
        QVERIFY(!note->isVisibleTo(&again));
        QCOMPARE(kept().size(), 1);
    }

    // The engine in COM's seat thinks in its own process: the event loop never stalls for longer than
    // a frame while it does, and its reply, its reason and the hint's arrow come through the timer. A
    // loaded machine can hold the process back at any moment, whereas a wait for the engine would show
    // in every reply: the quietest of three replies counts.
    void engineThinksWhileTheWindowStaysResponsive() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        TEnginePanel& engine = form.Engine();
        if (!engine.Installed()) QSKIP("the engine is not installed (Debian package fairy-stockfish)");
        const TGameSession& session = form.Session();
        QVERIFY(engine.PickOpponent(3));
        QCOMPARE(engine.Opponent(), 3);
        const auto longestStall = [&session] {
            return LongestStall([&session] { return session.ReplyPending(); }, 10000);
        };
        std::vector<qint64> stalls;
        DragImages(form, 27, 26);
        QVERIFY(session.ReplyPending());
        QCOMPARE(form.statusBar()->currentMessage(), QStringLiteral("考え中…"));
        stalls.push_back(longestStall());
        QVERIFY(!session.ReplyPending());
        QCOMPARE(session.Turns().size(), std::size_t(2));
        // Below full skill the engine may play outside the lines it reports: then no value is given.
        QVERIFY2(form.ComReasonText().startsWith(QStringLiteral("エンジン: ")) &&
                     !form.ComReasonText().contains(QLatin1Char('?')),
                 qPrintable(form.ComReasonText()));
        QVERIFY(form.statusBar()->currentMessage().isEmpty());

        for (int hints = 0; hints < 2; ++hints) {
            MenuItem(form, QStringLiteral("ヒント"))->trigger();
            QTRY_VERIFY_WITH_TIMEOUT(engine.HintShown(), 5000);
            const TMove hint = engine.LastHint().Move;
            const std::vector<TMove> legal = session.LegalMoves();
            QVERIFY(std::any_of(legal.begin(), legal.end(),
                                [&hint](const TMove& m) { return m.From == hint.From && m.To == hint.To; }));
            QVERIFY(form.statusBar()->currentMessage().startsWith(QStringLiteral("ヒント: ▲")));
            // The arrow goes with the board through a zoom (a hidden window's sizes wait for its show).
            form.show();
            auto* arrow = form.findChild<QWidget*>(QStringLiteral("HintArrow"));
            QVERIFY(form.SetZoom(Offered(form).back()));
            QCOMPARE(arrow->geometry(), arrow->parentWidget()->rect());
            QVERIFY(form.SetZoom(100));
            DragImages(form, hint.From, hint.To);
            QVERIFY(!engine.HintShown());
            if (!session.ReplyPending()) break; // the hint has won the game
            stalls.push_back(longestStall());
        }
        const qint64 quietest = *std::min_element(stalls.begin(), stalls.end());
        QStringList shown;
        for (qint64 ms : stalls) shown << QString::number(ms);
        qInfo("longest stall of each reply: %s ms", qPrintable(shown.join(QStringLiteral(", "))));
        QVERIFY2(quietest <= 16,
                 qPrintable(QStringLiteral("the event loop stalled for %1 ms at the least, over %2 "
                                           "replies")
                                .arg(quietest)
                                .arg(stalls.size())));
        const std::string kif = session.KifText();
        QVERIFY(kif.find("後手：エンジン Lv3\n") != std::string::npos);
        QVERIFY(kif.find("*ヒント: ▲") != std::string::npos);
        QVERIFY(dialogs.OkTexts.isEmpty());
    }

    // The status bar under the client area says why COM made the move last shown: after each reply,
    // and in replay for each of COM's moves; the 表示 menu hides it and the window shrinks by it.
    void statusBarSaysWhyComMoved() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        const TGameSession& session = form.Session();
        const auto why = [](const std::string& reason) {
            return QStringLiteral("COMの狙い: ") + QString::fromStdString(reason);
        };
        QVERIFY(form.statusBar()->isVisibleTo(&form));
        QCOMPARE(form.ComReasonText(), QString());
        DragImages(form, 76, 75);
        QVERIFY(!session.LatestComReason().empty());
        QCOMPARE(form.ComReasonText(), why(session.LatestComReason()));
        DragImages(form, 27, 26);
        const std::vector<std::string> reasons = session.ComReasons();
        QCOMPARE(int(reasons.size()), 2);
        QCOMPARE(form.ComReasonText(), why(reasons[1]));

        form.OnResignClick();
        form.OnReplayStart();
        QCOMPARE(form.ComReasonText(), QString());
        form.OnReplayForward(); // the human's move has no reason
        QCOMPARE(form.ComReasonText(), QString());
        form.OnReplayForward();
        QCOMPARE(form.ComReasonText(), why(reasons[0]));
        form.OnReplayButton3_Click(); // moves 3 and 4: COM's is 4
        QCOMPARE(form.ComReasonText(), why(reasons[1]));
        form.OnReplayBack();
        QCOMPARE(form.ComReasonText(), QString());
        form.OnReplayForward();
        form.OnButton_StartClick();
        QCOMPARE(form.ComReasonText(), QString());

        const QRect client = form.Client()->geometry();
        MenuItem(form, QStringLiteral("COMの狙いを表示"))->trigger();
        QVERIFY(!form.statusBar()->isVisibleTo(&form));
        QCOMPARE(form.Client()->geometry(), client);
        QCOMPARE(form.size(), QSize(673 + Layout::kKifuRoom, 413 + form.menuBar()->height()));
        TForm1 again(&dialogs);
        QVERIFY(!again.ComReasonShown());
        QVERIFY(!again.statusBar()->isVisibleTo(&again));
        QCOMPARE(again.size(), QSize(673 + Layout::kKifuRoom, 413 + again.menuBar()->height()));
    }

    // The move list: a row per move in the record's notation; a click on a row shows that position, where
    // the game's own next move steps on, and End (or the last row) returns to the game, which goes on.
    void moveListShowsEarlierPositionsAndEndReturns() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        ShowActive(form);
        auto* list = form.findChild<QListWidget*>(QStringLiteral("KifuList"));
        QVERIFY(list != nullptr && list->isVisible());
        QCOMPARE(list->count(), 1); // the start's row, before any move
        DragImages(form, 27, 26);
        DragImages(form, 26, 25);
        QCOMPARE(list->count(), 5);
        QCOMPARE(list->item(1)->text(), QStringLiteral("  1 ▲２六歩"));
        QCOMPARE(list->currentRow(), 4);

        const QRect row = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(form.Session().ShownMove(), 2);
        QVERIFY(Shows(form, 26, PieceName::Fu));
        QVERIFY(!Image(form, 25)->HasPicture());
        // The game's own next move, dragged there, steps on along the game; the game is unchanged.
        const std::string kifu = form.Session().KifuText();
        DragImages(form, 26, 25);
        QCOMPARE(form.Session().KifuText(), kifu);
        QCOMPARE(form.Session().ShownMove(), 3);
        QVERIFY(form.Session().Browsing());
        QVERIFY(Shows(form, 25, PieceName::Fu));

        QTest::keyClick(&form, Qt::Key_End);
        QCOMPARE(form.Session().ShownMove(), 4);
        QCOMPARE(list->currentRow(), 4);
        QVERIFY(Shows(form, 25, PieceName::Fu));
        DragImages(form, 25, 24);
        QCOMPARE(list->count(), 7);
        QCOMPARE(list->currentRow(), 6);
    }

    // At every factor the screen offers, every control, square and frame lies where the layout puts it
    // times the factor (edges rounded to the nearest pixel, so 100 % is the layout itself), the texts
    // grow with it and still fit, the strip's drawn buttons lie under their click areas and the
    // coordinates stand beside the rows and columns.
    void zoomPlacesEveryControlAtTheFactor() {
        // The screen's room is reckoned for the client area alone: the move list beside it is hidden.
        QSettings().setValue(QStringLiteral("view/kifuList"), false);
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        ShowActive(form);
        std::map<QString, int> fittedAt100;
        for (QPushButton* button : form.Client()->findChildren<QPushButton*>())
            fittedAt100[button->objectName()] = button->font().pixelSize();
        const int captionAt100 = form.findChild<QLabel*>(QStringLiteral("Label1"))->font().pixelSize();
        const std::vector<int> offered = Offered(form);
        QVERIFY(offered.size() >= 4);
        for (int percent : offered) {
            QVERIFY(form.SetZoom(percent));
            const double f = percent / 100.0;
            const auto at = [f](int length) { return int(std::lround(length * f)); };
            const auto scaled = [f](QRect r) { return Scaled(r, f); };
            const QString where = QStringLiteral("at %1 %").arg(percent);
            QCOMPARE(form.Client()->size(), QSize(at(673), at(413)));
            QCOMPARE(form.size(),
                     QSize(at(673), at(413) + form.menuBar()->height() + form.statusBar()->height()));
            for (const Layout::TPlace& place : Layout::kPlaces) {
                const QString name = QString::fromUtf8(place.Name.data(), qsizetype(place.Name.size()));
                QVERIFY2(form.Client()->findChild<QWidget*>(name)->geometry() == scaled(place.Rect),
                         qPrintable(name + where));
            }
            for (TSquareImage* square : form.findChildren<TSquareImage*>())
                QCOMPARE(square->geometry(), scaled(Layout::SquareRect(square->Square())));
            for (const char* name : {"Waku", "Waku2"}) {
                auto* frame = form.findChild<TFrameShape*>(QString::fromLatin1(name));
                QCOMPARE(frame->size(), QSize(at(38), at(38)));
                QCOMPARE(frame->PenWidth(), at(3));
            }

            form.SetMessage(TGameSession::Greeting("【基本形】"));
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label_Message"))->font().pixelSize(), at(19));
            const QLabel* caption = form.findChild<QLabel*>(QStringLiteral("Label1"));
            QVERIFY(caption->font().pixelSize() >= int(captionAt100 * f) - 1);
            QVERIFY(QFontMetrics(caption->font()).horizontalAdvance(caption->text()) <= caption->width());
            for (QPushButton* button : form.Client()->findChildren<QPushButton*>()) {
                const QFont font = button->font();
                QVERIFY2(QFontMetrics(font).horizontalAdvance(button->text()) <=
                             ButtonTextRoom(button).width(),
                         qPrintable(button->text() + where));
                QVERIFY2(font.pixelSize() >= int(fittedAt100[button->objectName()] * f) - 1,
                         qPrintable(button->text() + where));
            }

            const QImage client = form.Client()->grab().toImage();
            const double ratio = client.devicePixelRatio();
            const auto ink = [&](QRect box) {
                int n = 0;
                const QRect device(box.topLeft() * ratio, box.size() * ratio);
                for (int y = device.top(); y <= device.bottom(); ++y)
                    for (int x = device.left(); x <= device.right(); ++x)
                        n += qGray(client.pixel(x, y)) < 160 ? 1 : 0;
                return n;
            };
            const QRect board = scaled(Layout::Place("Image1").Rect);
            for (int i = 0; i < 9; ++i) {
                QVERIFY2(ink(QRect(0, board.top() + at(2 + 40 * i), board.left() - at(6), at(38))) > 5,
                         qPrintable(where));
                QVERIFY2(ink(QRect(board.left() + at(2 + 40 * i), board.bottom() + at(6), at(38), at(14))) >
                             5,
                         qPrintable(where));
            }
            // The numerals grow with the board: the file number 9 stands about three quarters of its type
            // size tall.
            int inkRows = 0;
            for (int y = board.bottom() + at(4); y < form.Client()->height(); ++y)
                inkRows += ink(QRect(board.left(), y, at(40), 1)) > 0 ? 1 : 0;
            QVERIFY2(inkRows >= at(9), qPrintable(where));
        }
        QVERIFY(form.SetZoom(100));
        QCOMPARE(Image(form, 76)->geometry(), QRect(154, 210, 41, 41));

        // The strip's drawn buttons lie under their click areas.
        WinAtOnce(form);
        QVERIFY(form.Session().ReplayMode());
        for (int percent : offered) {
            QVERIFY(form.SetZoom(percent));
            const double f = percent / 100.0;
            const auto scaled = [f](QRect r) { return Scaled(r, f); };
            const QString where = QStringLiteral("at %1 %").arg(percent);
            const QImage strip = form.findChild<TPictureBox*>(QStringLiteral("Image2"))->Picture().toImage();
            const QPoint stripAt = scaled(Layout::Place("Image2").Rect).topLeft();
            for (const char* name : {"ReplayButton1", "ReplayButton2", "ReplayButton3"}) {
                // A quarter of the way in, left of the glyph.
                const QRect area = scaled(Layout::Place(name).Rect);
                const QPoint inside = QPoint(area.left() + area.width() / 4, area.center().y()) - stripAt;
                const QColor under = strip.pixelColor(inside * strip.devicePixelRatio());
                QVERIFY2(under.red() > under.blue() + 80, qPrintable(name + where));
            }
        }
    }

    // Pieces, board and strip are pictures of the screen's device pixel ratio, drawn at the device
    // resolution: at 100 % on a ratio of 1 the bitmap files themselves, else never a bitmap blown up.
    // A zoom changed in the middle of a game keeps the position and the marks.
    void picturesHaveTheScreensPixelRatio() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        ShowActive(form);
        const double ratio = form.devicePixelRatio();
        QCOMPARE(ratio, form.screen()->devicePixelRatio());
        DragImages(form, 76, 75);
        const auto marks = Marked(form, TSquareImage::LastMove);
        const TKyokumen position = form.Session().BoardPosition();
        const QImage kingFile(QStringLiteral("com王.bmp"));
        for (int percent : Offered(form)) {
            QVERIFY(form.SetZoom(percent));
            const double scale = percent / 100.0 * ratio;
            const QString where = QStringLiteral("at %1 %").arg(percent);
            for (int file = 1; file <= 9; ++file)
                for (int rank = 1; rank <= 9; ++rank) {
                    const int code = file * 10 + rank;
                    const PieceName piece = position.Board[code];
                    const TSquareImage* square = Image(form, code);
                    if (piece == PieceName::Empty) {
                        QVERIFY(!square->HasPicture());
                        continue;
                    }
                    QVERIFY2(Shows(form, code, piece), qPrintable(QString::number(code) + where));
                    QCOMPARE(square->Picture().devicePixelRatio(), ratio);
                    QCOMPARE(square->Picture().width(), int(std::lround(38 * scale)));
                }
            const QPixmap board = form.findChild<TPictureBox*>(QStringLiteral("Image1"))->Picture();
            QCOMPARE(board.devicePixelRatio(), ratio);
            QCOMPARE(board.width(), int(std::lround(362 * scale)));
            const QImage king = Image(form, 51)->Picture().toImage();
            if (scale == 1) {
                // The file's picture, cut out by its key colour.
                QImage onKey(kingFile.size(), QImage::Format_RGB32);
                onKey.fill(Artwork::kBoardWood);
                QPainter(&onKey).drawImage(0, 0, king);
                QCOMPARE(onKey, kingFile.convertToFormat(QImage::Format_RGB32));
            } else {
                // As sharp as the picture drawn at that size, far sharper than the bitmap smoothly enlarged.
                const QImage drawn = Artwork::Piece(QStringLiteral("com王"), scale);
                const QImage enlarged =
                    kingFile.scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                QVERIFY2(Edges(king) * 10 >= Edges(drawn) * 9, qPrintable(where));
                if (scale >= 2) QVERIFY2(Edges(king) > Edges(enlarged) * 3 / 2, qPrintable(where));
            }
            QCOMPARE(Marked(form, TSquareImage::LastMove), marks);
        }
    }

    // Only the factors at which the window fits the screen's available area are offered, by the menu
    // and by the keys; the choice outlives the window, and a kept choice too large for this screen
    // starts at the largest that fits.
    void zoomIsKeptAndFitsTheScreen() {
        QSettings settings;
        settings.setValue(QStringLiteral("view/kifuList"), false);
        const double ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        // The test screen is 2560 x 1600 device pixels: at a ratio of 2, 200 % (1346 pixels wide) does
        // not fit its 1280.
        const std::vector<int> fitting =
            ratio < 2 ? std::vector<int>{100, 125, 150, 175, 200} : std::vector<int>{100, 125, 150, 175};
        {
            TFakeDialogs dialogs;
            TForm1 form(&dialogs);
            ShowActive(form);
            QCOMPARE(Offered(form), fitting);
            const QRect room = form.screen()->availableGeometry();
            for (int percent : Layout::kZoomPercents) {
                const bool fits = std::find(fitting.begin(), fitting.end(), percent) != fitting.end();
                const int before = form.ZoomPercent();
                QCOMPARE(form.SetZoom(percent), fits);
                QCOMPARE(form.ZoomPercent(), fits ? percent : before);
                QVERIFY(room.contains(form.frameGeometry()));
            }
            QVERIFY(!form.SetZoom(110));
            const auto key = [&](QKeyCombination keys) {
                QTest::keyClick(&form, keys.key(), keys.keyboardModifiers());
                return form.ZoomPercent();
            };
            QVERIFY(form.SetZoom(100));
            QCOMPARE(key(Qt::CTRL | Qt::Key_Minus), 100);
            QCOMPARE(key(Qt::CTRL | Qt::Key_Plus), 125);
            QCOMPARE(key(Qt::CTRL | Qt::Key_Equal), 150);
            QCOMPARE(key(Qt::CTRL | Qt::Key_Minus), 125);
            QCOMPARE(key(Qt::CTRL | Qt::Key_0), 100);
            QVERIFY(form.SetZoom(fitting.back()));
            QCOMPARE(key(Qt::CTRL | Qt::Key_Plus), fitting.back());
            QCOMPARE(settings.value(QStringLiteral("view/zoom")).toInt(), fitting.back());
        }
        TFakeDialogs dialogs;
        TForm1 again(&dialogs);
        QCOMPARE(again.ZoomPercent(), fitting.back());
        settings.setValue(QStringLiteral("view/zoom"), 200);
        TForm1 large(&dialogs);
        QCOMPARE(large.ZoomPercent(), fitting.back());
        QCOMPARE(settings.value(QStringLiteral("view/zoom")).toInt(), 200);
    }

    // At every zoom the message panel breaks its lines only between words: no line ends inside a
    // formation's name or inside a word the panel once split, and every line is within the panel.
    void messagesBreakOnlyBetweenWords() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        ShowActive(form);
        auto* message = form.findChild<TMessageLabel*>(QStringLiteral("Label_Message"));
        std::vector<std::string> texts = {"あなたの番です。\r\n\r\n駒の動かし方が不正です。王手の放置です。",
                                          "詰みです。COMの勝ちです。",
                                          "王一枚のみとなったので終了です。COMの勝ちです。",
                                          "王一枚のみになったので終了です。あなたの勝ちです。",
                                          "棋譜再現モード\r\n\r\n\r\n初期状態まで棋譜を戻しました。このあと一"
                                          "手ずつ再生することができます。"};
        QStringList words = {"です", "ます", "勝ち", "動かし方", "初期状態", "棋譜", "再生", "終了"};
        for (std::string_view name : kFormationList) {
            texts.push_back(TGameSession::Greeting(name));
            words << QString::fromUtf8(name.data(), qsizetype(name.size()));
        }
        for (int percent : Offered(form)) {
            QVERIFY(form.SetZoom(percent));
            for (const std::string& text : texts) {
                form.SetMessage(text);
                const QString shown = message->text();
                const QStringList lines = message->Lines(shown, message->font());
                const QString where = QStringLiteral("at %1 %: ").arg(percent) + lines.join(QLatin1Char('|'));
                const QString flat = lines.join(QString());
                QCOMPARE(flat, QString(shown).remove(QLatin1Char('\n')));
                std::vector<qsizetype> ends;
                for (const QString& line : lines) {
                    QVERIFY2(QFontMetrics(message->font()).horizontalAdvance(line.trimmed()) <=
                                 message->width(),
                             qPrintable(where));
                    ends.push_back((ends.empty() ? 0 : ends.back()) + line.size());
                }
                for (const QString& word : words)
                    for (qsizetype at = flat.indexOf(word); at >= 0; at = flat.indexOf(word, at + 1))
                        for (qsizetype end : ends)
                            QVERIFY2(end <= at || end >= at + word.size(),
                                     qPrintable(word + QLatin1Char(' ') + where));
            }
        }
    }

    // The boxes and the status bar grow with the zoom while the menu bar keeps the desktop's size; a
    // box's text breaks only at its own line ends, and a question's default is No, so that a stray
    // Enter answers No.
    void boxesAndStatusBarFollowTheZoom() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        ShowActive(form);
        const int menuPx = form.menuBar()->font().pixelSize();
        const TMessageBoxDialogs boxes(&form);
        const QString rules = QStringLiteral("駒はドラッグして動かします。駒をクリックして選び、移動先を"
                                             "クリックしても動かせます。\r\n\r\n持ち駒はありません。");
        for (int percent : Offered(form)) {
            QVERIFY(form.SetZoom(percent));
            const auto at = [percent](int length) { return int(std::lround(length * percent / 100.0)); };
            QCOMPARE(form.statusBar()->font().pixelSize(), at(12));
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("ComReason"))->font().pixelSize(), at(12));
            QCOMPARE(form.menuBar()->font().pixelSize(), menuPx);
            const auto box = boxes.MakeBox(QStringLiteral("遊び方"), rules, false);
            box->adjustSize();
            auto* label = box->findChild<QLabel*>(QStringLiteral("BoxText"));
            QCOMPARE(label->font().pixelSize(), at(13));
            QVERIFY(!label->wordWrap());
            const QFontMetrics metrics(label->font());
            QVERIFY(label->width() >= metrics.horizontalAdvance(rules.section(QStringLiteral("\r\n"), 0, 0)));
        }
        for (const char* question : {"投了しますか？", "初期化しますか？", "終了しますか？"}) {
            const auto box = boxes.MakeBox(QStringLiteral("確認"), QString::fromUtf8(question), true);
            auto* buttons = box->findChild<QDialogButtonBox*>();
            QVERIFY(buttons->button(QDialogButtonBox::No)->isDefault());
            QVERIFY(!buttons->button(QDialogButtonBox::Yes)->isDefault());
            QTimer::singleShot(0, box.get(), [&] {
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus != nullptr && box->isAncestorOf(focus) ? focus : box.get(),
                                Qt::Key_Return);
            });
            QCOMPARE(box->exec(), int(QDialog::Rejected));
        }
    }

    // A window given another size draws the layout at the largest scale that fits, centred, its
    // aspect kept, with the pieces drawn at that scale; given back its own size, every control is
    // where it was.
    void resizedWindowScalesTheLayout() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        // The specified client area alone; the move list beside it scales with it the same way.
        form.SetKifuListShown(false);
        ShowActive(form);
        DragImages(form, 76, 75);
        const auto marks = Marked(form, TSquareImage::LastMove);
        const QSize natural = form.size();
        const int bars = form.height() - form.Client()->height();
        const double ratio = form.devicePixelRatio();
        for (const QSize client : {QSize(1346, 600), QSize(800, 826), QSize(1000, 1000)}) {
            form.resize(client.width(), client.height() + bars);
            QTRY_COMPARE(form.Client()->size(), client);
            const double f = std::min(client.width() / 673.0, client.height() / 413.0);
            const QSize drawn = Scaled(QRect(0, 0, 673, 413), f).size();
            const QPoint origin((client.width() - drawn.width()) / 2, (client.height() - drawn.height()) / 2);
            const QString where = QStringLiteral("in %1 x %2").arg(client.width()).arg(client.height());
            for (const Layout::TPlace& place : Layout::kPlaces) {
                const QString name = QString::fromUtf8(place.Name.data(), qsizetype(place.Name.size()));
                QVERIFY2(form.Client()->findChild<QWidget*>(name)->geometry() ==
                             Scaled(place.Rect, f).translated(origin),
                         qPrintable(name + where));
            }
            for (TSquareImage* square : form.findChildren<TSquareImage*>())
                QCOMPARE(square->geometry(),
                         Scaled(Layout::SquareRect(square->Square()), f).translated(origin));
            QCOMPARE(Image(form, 51)->Picture().width(), int(std::lround(38 * f * ratio)));
            QCOMPARE(Marked(form, TSquareImage::LastMove), marks);
        }
        form.resize(natural);
        QTRY_COMPARE(form.Client()->size(), QSize(673, 413));
        for (const Layout::TPlace& place : Layout::kPlaces) {
            const QString name = QString::fromUtf8(place.Name.data(), qsizetype(place.Name.size()));
            QCOMPARE(form.Client()->findChild<QWidget*>(name)->geometry(), place.Rect);
        }
        QCOMPARE(Image(form, 76)->geometry(), QRect(154, 210, 41, 41));
    }

    // A dragged piece leaves its square for the picture that follows the pointer; a refused move
    // puts it back, a played one leaves the square empty.
    void draggedPieceLeavesItsSquare() {
        TFakeDialogs dialogs;
        TForm1 form(&dialogs);
        auto* floating = form.findChild<TPictureBox*>(QStringLiteral("FloatingPiece"));
        for (const auto& [to, played] : {std::pair{74, false}, std::pair{75, true}}) {
            emit Image(form, 76)->dragStarted(76);
            QVERIFY(Image(form, 76)->Lifted());
            QVERIFY(floating->isVisibleTo(&form));
            QCOMPARE(floating->Picture().cacheKey(), form.ComaPicture(PieceName::Fu)->cacheKey());
            emit Image(form, to)->dropped(to);
            emit Image(form, 76)->dragEnded(76);
            QVERIFY(!Image(form, 76)->Lifted());
            QVERIFY(!floating->isVisibleTo(&form));
            QCOMPARE(Shows(form, 76, PieceName::Fu), !played);
            QCOMPARE(Shows(form, to, PieceName::Fu), played);
        }
        // Nothing is lifted where no move can be made.
        WinAtOnce(form);
        emit Image(form, 59)->dragStarted(59);
        QVERIFY(!Image(form, 59)->Lifted());
        emit Image(form, 59)->dragEnded(59);
    }
};

QTEST_MAIN(MainFormTest)
#include "MainForm_test.moc"
