#include "ui/MainForm.h"

#include "ui/Artwork.h"
#include "ui/Controls.h"
#include "ui/Layout.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

const QColor kSkyBlue(166, 202, 240);
// The classic desktop background behind the white status text.
const QColor kDesktop(58, 110, 165);
const QColor kFrameRed(255, 0, 0);

const char* const kPieceFiles[28] = {
    "歩.bmp",      "と.bmp",    "香.bmp",    "香成.bmp",    "桂.bmp",      "桂成.bmp",    "銀.bmp",
    "銀成.bmp",    "金.bmp",    "王.bmp",    "角.bmp",      "角成.bmp",    "飛.bmp",      "龍王.bmp",
    "com歩.bmp",   "comと.bmp", "com香.bmp", "com香成.bmp", "com桂.bmp",   "com桂成.bmp", "com銀.bmp",
    "com銀成.bmp", "com金.bmp", "com王.bmp", "com角.bmp",   "com角成.bmp", "com飛.bmp",   "com龍王.bmp",
};

const char* const kCoordinatesKey = "view/coordinates";
const char* const kDestinationsKey = "view/destinations";
const char* const kComReasonKey = "view/comReason";
const char* const kKeepingKey = "records/keep";
const char* const kRecordFolderKey = "records/folder";
const char* const kZoomKey = "view/zoom";

const char* const kRules =
    "あなたは先手（▲、盤の下側）、COMは後手（△、上側）です。あなたから指します。\r\n\r\n"
    "駒はドラッグして動かします。駒をクリックして選び、移動先をクリックしても動かせます。\r\n\r\n"
    "持ち駒はありません。取った駒は盤から消え、打つことはできません。\r\n"
    "敵陣（奥の三段）で動きを終えた駒は必ず成ります。\r\n"
    "はじめの配置は平手と違い、両者とも角が一つ出ていて（あなたの角は77、COMの角は33）、\r\n"
    "その前の歩が二枚（あなたは76と66、COMは34と44）突いてあります。\r\n\r\n"
    "相手の王を詰ませるか、相手を王一枚にすれば勝ちです。\r\n\r\n"
    "最初の指し手の前に、COMが組む陣形を選べます。\r\n"
    "待ったはあなたの手とCOMの手を一組戻します。続けてはできません。\r\n"
    "終局後は棋譜再現で一手ずつ振り返れます（→ 次の手、← 前の手、Home 初期状態）。";

// Puts a control at its place in the client area under its name.
template <class Control> Control* Placed(Control* control, std::string_view name) {
    control->setObjectName(QString::fromUtf8(name.data(), qsizetype(name.size())));
    control->setGeometry(Layout::Place(name).Rect);
    return control;
}

QPushButton* MakeButton(QWidget* parent, std::string_view name, const QString& text) {
    return Placed(new QPushButton(text, parent), name);
}

std::uint32_t Le(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

// Why the bytes of a BMP file cannot be drawn as they are: empty when the file header's size is the
// file's size and the pixels the headers describe lie inside the file. The decoder fills what is
// missing from a short file with noise, so such a file must be refused before it is decoded.
QString BitmapFault(const QByteArray& bytes) {
    const qint64 size = bytes.size();
    if (size < 18 || bytes[0] != 'B' || bytes[1] != 'M') return QStringLiteral("BMP ファイルではありません");
    const qint64 declared = Le(bytes, 2, 4);
    if (declared != size)
        return QStringLiteral("ヘッダの示す大きさ %1 バイトがファイルの大きさ %2 バイトと違います")
            .arg(declared)
            .arg(size);
    const qint64 infoSize = Le(bytes, 14, 4);
    const bool core = infoSize == 12;
    if ((!core && infoSize < 40) || 14 + infoSize > size) return QStringLiteral("ヘッダが壊れています");
    const qint64 width = core ? qint64(Le(bytes, 18, 2)) : qint64(std::int32_t(Le(bytes, 18, 4)));
    const qint64 height =
        core ? qint64(Le(bytes, 20, 2)) : std::llabs(qint64(std::int32_t(Le(bytes, 22, 4))));
    const qint64 depth = Le(bytes, core ? 24 : 28, 2);
    const std::uint32_t compression = core ? 0 : Le(bytes, 30, 4);
    const qint64 offset = Le(bytes, 10, 4);
    if (width <= 0 || height <= 0 || depth == 0 || depth > 32 || offset < 14 + infoSize)
        return QStringLiteral("ヘッダが壊れています");
    // Uncompressed rows are padded to four bytes; compressed pixels are as long as the header says.
    const bool rows = compression == 0 || compression == 3 || compression == 6;
    const qint64 pixels = rows ? (width * depth + 31) / 32 * 4 * height : qint64(Le(bytes, 34, 4));
    if ((!rows && pixels == 0) || offset + pixels > size)
        return QStringLiteral("画素が途中で切れています（%1 バイトのはずが %2 バイト）")
            .arg(offset + pixels)
            .arg(size);
    return {};
}

QPixmap Resource(const QString& name) {
    QPixmap pix(QStringLiteral(":/mirutoa/") + name);
    return pix;
}

bool Contains(const std::vector<int>& squares, int square) {
    return std::find(squares.begin(), squares.end(), square) != squares.end();
}

// A picture drawn for a screen of ratio device pixels per pixel.
QPixmap ForScreen(const QImage& image, double ratio) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

TForm1::TForm1(IDialogs* dialogs, QWidget* parent) : QMainWindow(parent) {
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<TMessageBoxDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    const QSettings settings;
    coordinatesShown_ = settings.value(QString::fromLatin1(kCoordinatesKey), true).toBool();
    destinationsShown_ = settings.value(QString::fromLatin1(kDestinationsKey), true).toBool();
    comReasonShown_ = settings.value(QString::fromLatin1(kComReasonKey), true).toBool();
    keeping_ = settings.value(QString::fromLatin1(kKeepingKey), true).toBool();
    // The likely scale, before the window knows its screen: the kept zoom on the main screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        DrawEarly(settings.value(QString::fromLatin1(kZoomKey), 100).toInt() / 100.0 *
                  screen->devicePixelRatio());
    CreateControls();
    CreateStatusBar();
    CreateMenus();
    // The zoom kept from the last run, or the largest smaller one that fits this screen; the kept
    // choice itself stays, for a larger screen.
    const int kept = settings.value(QString::fromLatin1(kZoomKey), 100).toInt();
    for (int percent : Layout::kZoomPercents)
        if (percent <= kept && ZoomFits(percent)) zoomPercent_ = percent;
    ApplyZoom();
    OnCreate();
    StartKeeping();
}

// The session, the record, the pictures and the controls all go with their owners.
TForm1::~TForm1() = default;

void TForm1::SetUpApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("mirutoa"));
    QCoreApplication::setApplicationName(QStringLiteral("mirutoa"));
    QGuiApplication::setApplicationDisplayName(QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("mirutoa"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/mirutoa/mirutoa-64.png"));
    icon.addFile(QStringLiteral(":/mirutoa/mirutoa-256.png"));
    QApplication::setWindowIcon(icon);
    // The message boxes write Japanese too.
    QApplication::setFont(JapaneseFont(13));
}

QFont TForm1::JapaneseFont(int pixelSize) {
    QStringList families = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                            QStringLiteral("IPAPGothic")};
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese))
        if (!families.contains(family)) {
            families << family;
            break;
        }
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    return font;
}

QStringList TForm1::ComaFileNames() {
    QStringList names;
    for (const char* file : kPieceFiles) names << QString::fromUtf8(file);
    return names;
}

QString TForm1::DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

void TForm1::CreateControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kGameTitle));
    setWindowIcon(QIcon(Resource(QStringLiteral("mirutoa-64.png"))));
    move(71, 123);

    // The client area keeps its size whatever the menu bar takes above it; the window follows and
    // cannot be resized.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("Client"));
    client_->setFixedSize(Layout::kClient);
    client_->setFont(JapaneseFont(Layout::kWindowFontPx));
    client_->installEventFilter(this);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    QWidget* const area = client_;

    // Controls are made in table order: a later one lies above an earlier one.
    Image1 = Placed(new TPictureBox(area), "Image1");
    Image1->setEnabled(false);

    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) {
            const int square = file * 10 + rank;
            auto* image = new TSquareImage(square, area);
            connect(image, &TSquareImage::dragStarted, this, &TForm1::OnStartComa);
            connect(image, &TSquareImage::dropped, this, &TForm1::OnDragComa);
            connect(image, &TSquareImage::dragEnded, this, &TForm1::OnEndComa);
            connect(image, &TSquareImage::clicked, this, &TForm1::OnClickComa);
            image->setObjectName(QStringLiteral("ban%1").arg(square));
            image->setGeometry(Layout::SquareRect(square));
            ban_[std::size_t(square)] = image;
        }

    Label_Message = Placed(new TMessageLabel(QStringLiteral("あなたの番です"), area), "Label_Message");
    Label_Message->setAutoFillBackground(true);
    {
        QPalette pal = Label_Message->palette();
        pal.setColor(QPalette::Window, QColor(Qt::white));
        pal.setColor(QPalette::WindowText, QColor(Qt::black));
        Label_Message->setPalette(pal);
    }

    Label_mes2 = Placed(new TFitLabel(QString(), Layout::Place("Label_mes2").FontPx, area), "Label_mes2");
    Label_mes2->setAlignment(Qt::AlignCenter);
    Label_mes2->setAutoFillBackground(true);
    {
        QPalette pal = Label_mes2->palette();
        pal.setColor(QPalette::Window, kDesktop);
        pal.setColor(QPalette::WindowText, QColor(Qt::white));
        Label_mes2->setPalette(pal);
    }

    Waku = new TFrameShape(kFrameRed, Layout::kFramePen, area);
    Waku->setObjectName(QStringLiteral("Waku"));
    Waku->setGeometry(QRect(QPoint(0, 0), Layout::kFrameSize));
    Waku->hide();

    Label1 =
        Placed(new TFitLabel(QStringLiteral("COMの陣形"), Layout::Place("Label1").FontPx, area), "Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    {
        QPalette pal = Label1->palette();
        pal.setColor(QPalette::Window, kSkyBlue);
        pal.setColor(QPalette::WindowText, QColor(Qt::black));
        Label1->setPalette(pal);
    }

    Image2 = Placed(new TPictureBox(area), "Image2");
    Image2->hide();

    TClickLabel** replayButtons[3] = {&ReplayButton1, &ReplayButton2, &ReplayButton3};
    const std::string_view replayNames[3] = {"ReplayButton1", "ReplayButton2", "ReplayButton3"};
    for (int i = 0; i < 3; ++i) {
        auto* button = Placed(new TClickLabel(area), replayNames[i]);
        button->setCursor(Qt::PointingHandCursor);
        *replayButtons[i] = button;
    }

    Waku2 = new TFrameShape(kFrameRed, Layout::kFramePen, area);
    Waku2->setObjectName(QStringLiteral("Waku2"));
    Waku2->setGeometry(QRect(QPoint(0, Layout::kSquarePitch), Layout::kFrameSize));
    Waku2->hide();

    Button_Start = MakeButton(area, "Button_Start", QStringLiteral("平手で初期化"));
    Button_Matta = MakeButton(area, "Button_Matta", QStringLiteral("待った"));
    Button_Exit = MakeButton(area, "Button_Exit", QStringLiteral("終了"));
    Button_StartHisyaKaku = MakeButton(area, "Button_StartHisyaKaku", QStringLiteral("飛車角落ちで初期化"));

    ComboBox1 = Placed(new TFormationList(Layout::Place("ComboBox1").FontPx, area), "ComboBox1");

    Button_Kifu = MakeButton(area, "Button_Kifu", QStringLiteral("棋譜をクリップボードにコピー"));
    Button_Test = MakeButton(area, "Button_Test", QStringLiteral("Test"));
    Button_Test->hide();

    setTabOrder(Button_Start, Button_Matta);
    setTabOrder(Button_Matta, Button_Exit);
    setTabOrder(Button_Exit, Button_StartHisyaKaku);
    setTabOrder(Button_StartHisyaKaku, ComboBox1);
    setTabOrder(ComboBox1, Button_Kifu);
    setTabOrder(Button_Kifu, Button_Test);

    connect(Button_Start, &QPushButton::clicked, this, &TForm1::OnButton_StartClick);
    connect(Button_Matta, &QPushButton::clicked, this, &TForm1::OnButton_MattaClick);
    connect(Button_Exit, &QPushButton::clicked, this, &TForm1::OnButton_ExitClick);
    connect(Button_StartHisyaKaku, &QPushButton::clicked, this, &TForm1::OnButton_HisyaKakuClick);
    connect(ComboBox1, &QComboBox::activated, this, &TForm1::OnComboBoxClick);
    connect(Button_Kifu, &QPushButton::clicked, this, &TForm1::OnButton_KifuClick);
    connect(Button_Test, &QPushButton::clicked, this, &TForm1::OnButton_TestClick);
    connect(ReplayButton1, &TClickLabel::clicked, this, &TForm1::OnReplayButton1_Click);
    connect(ReplayButton2, &TClickLabel::clicked, this, &TForm1::OnReplayButton2_Click);
    connect(ReplayButton3, &TClickLabel::clicked, this, &TForm1::OnReplayButton3_Click);

    // Replay by keyboard, wherever the focus is; only in replay mode.
    const std::array<std::pair<Qt::Key, void (TForm1::*)()>, 3> keys = {{
        {Qt::Key_Right, &TForm1::OnReplayForward},
        {Qt::Key_Left, &TForm1::OnReplayBack},
        {Qt::Key_Home, &TForm1::OnReplayStart},
    }};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        replayKeys_[i] = new QShortcut(QKeySequence(keys[i].first), this);
        replayKeys_[i]->setEnabled(false);
        connect(replayKeys_[i], &QShortcut::activated, this, keys[i].second);
    }
    FitTexts();
}

void TForm1::CreateMenus() {
    auto add = [this](QMenu* menu, const QString& text, void (TForm1::*handler)(),
                      QKeySequence keys = QKeySequence()) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    QMenu* game = menuBar()->addMenu(QStringLiteral("ゲーム"));
    game->setObjectName(QStringLiteral("GameMenu"));
    add(game, QStringLiteral("平手で初期化"), &TForm1::OnButton_StartClick);
    add(game, QStringLiteral("飛車角落ちで初期化"), &TForm1::OnButton_HisyaKakuClick);
    game->addSeparator();
    add(game, QStringLiteral("待った"), &TForm1::OnButton_MattaClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
    resignAction_ = add(game, QStringLiteral("投了"), &TForm1::OnResignClick);
    game->addSeparator();
    add(game, QStringLiteral("棋譜をクリップボードにコピー"), &TForm1::OnButton_KifuClick,
        QKeySequence(Qt::CTRL | Qt::Key_C));
    AddRecordItems(game);
    game->addSeparator();
    add(game, QStringLiteral("終了"), &TForm1::OnButton_ExitClick, QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Resigning is offered only while there is a game to give up.
    connect(game, &QMenu::aboutToShow, this, [this] { resignAction_->setEnabled(session_->CanResign()); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("表示"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    coordinatesAction_ = view->addAction(QStringLiteral("座標"));
    coordinatesAction_->setCheckable(true);
    coordinatesAction_->setChecked(coordinatesShown_);
    connect(coordinatesAction_, &QAction::toggled, this, &TForm1::SetCoordinatesShown);
    destinationsAction_ = view->addAction(QStringLiteral("移動先を表示"));
    destinationsAction_->setCheckable(true);
    destinationsAction_->setChecked(destinationsShown_);
    connect(destinationsAction_, &QAction::toggled, this, &TForm1::SetDestinationsShown);
    comReasonAction_ = view->addAction(QStringLiteral("COMの狙いを表示"));
    comReasonAction_->setCheckable(true);
    comReasonAction_->setChecked(comReasonShown_);
    connect(comReasonAction_, &QAction::toggled, this, &TForm1::SetComReasonShown);
    QMenu* zoom = view->addMenu(QStringLiteral("拡大率"));
    zoom->setObjectName(QStringLiteral("ZoomMenu"));
    auto* factors = new QActionGroup(zoom);
    for (int percent : Layout::kZoomPercents) {
        QAction* action = zoom->addAction(QStringLiteral("%1 %").arg(percent));
        action->setCheckable(true);
        factors->addAction(action);
        connect(action, &QAction::triggered, this, [this, percent] { SetZoom(percent); });
        zoomActions_.emplace_back(percent, action);
    }
    zoomActions_.front().second->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    zoom->addSeparator();
    QAction* larger = add(zoom, QStringLiteral("拡大"), &TForm1::ZoomIn);
    larger->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    add(zoom, QStringLiteral("縮小"), &TForm1::ZoomOut, QKeySequence(Qt::CTRL | Qt::Key_Minus));
    // The screen may have changed since the factors were last offered.
    connect(zoom, &QMenu::aboutToShow, this, &TForm1::UpdateZoomMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    add(help, QStringLiteral("遊び方"), &TForm1::OnHelpClick);
    add(help, QStringLiteral("バージョン情報"), &TForm1::OnVersionClick);
    adjustSize();
}

void TForm1::FitTexts() {
    // The status line lies over the message label's foot: the message must end above it.
    Label_Message->SetTextRoom(FontPx("Label_Message"),
                               std::min(Label_Message->height(), Label_mes2->y() - Label_Message->y()));
    Label_mes2->SetBasePx(FontPx("Label_mes2"));
    Label1->SetBasePx(FontPx("Label1"));
    for (QPushButton* button :
         {Button_Start, Button_Matta, Button_Exit, Button_StartHisyaKaku, Button_Kifu, Button_Test})
        FitButtonText(button, FontPx(button->objectName().toStdString()));
    ComboBox1->SetBasePx(FontPx("ComboBox1"));
    // The list opens wide enough for the longest name even though the box itself is narrow.
    int widest = 0;
    const QFontMetrics metrics(ComboBox1->font());
    for (int i = 0; i < ComboBox1->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(ComboBox1->itemText(i)));
    ComboBox1->view()->setMinimumWidth(widest + Layout::Scaled(24, Zoom()));
}

int TForm1::FontPx(std::string_view control) const {
    return Layout::Scaled(Layout::Place(control).FontPx, Zoom());
}

bool TForm1::ZoomFits(int percent) const {
    if (percent == Layout::kZoomPercents.front()) return true;
    const QScreen* display = screen();
    if (display == nullptr) return false;
    // Whatever the window holds besides the client area (the menu bar) keeps its size, and so does the
    // frame the window manager puts round it, once it is known.
    QSize need = size() - client_->size() + Layout::Scaled(Layout::kClient, percent / 100.0);
    if (const QWindow* window = windowHandle()) {
        const QMargins frame = window->frameMargins();
        need += QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    const QSize room = display->availableGeometry().size();
    return need.width() <= room.width() && need.height() <= room.height();
}

bool TForm1::SetZoom(int percent) {
    const auto& all = Layout::kZoomPercents;
    if (std::find(all.begin(), all.end(), percent) == all.end() || !ZoomFits(percent)) {
        UpdateZoomMenu();
        return false;
    }
    zoomPercent_ = percent;
    QSettings().setValue(QString::fromLatin1(kZoomKey), percent);
    ApplyZoom();
    return true;
}

void TForm1::ZoomIn() {
    const auto& all = Layout::kZoomPercents;
    const auto next = std::upper_bound(all.begin(), all.end(), zoomPercent_);
    if (next != all.end()) SetZoom(*next);
}

void TForm1::ZoomOut() {
    const auto& all = Layout::kZoomPercents;
    const auto at = std::lower_bound(all.begin(), all.end(), zoomPercent_);
    if (at != all.begin()) SetZoom(*(at - 1));
}

void TForm1::UpdateZoomMenu() {
    for (const auto& [percent, action] : zoomActions_) {
        action->setEnabled(ZoomFits(percent));
        action->setChecked(percent == zoomPercent_);
    }
}

void TForm1::ApplyZoom() {
    const double zoom = Zoom();
    client_->setFixedSize(Layout::Scaled(Layout::kClient, zoom));
    client_->setFont(JapaneseFont(Layout::Scaled(Layout::kWindowFontPx, zoom)));
    for (const Layout::TPlace& place : Layout::kPlaces) {
        const QString name = QString::fromUtf8(place.Name.data(), qsizetype(place.Name.size()));
        if (auto* control = client_->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly))
            control->setGeometry(Layout::Scaled(place.Rect, zoom));
    }
    for (TSquareImage* square : ban_)
        if (square != nullptr)
            square->setGeometry(Layout::Scaled(Layout::SquareRect(square->Square()), zoom));
    for (SessionFrame which : {SessionFrame::Waku, SessionFrame::Waku2}) {
        TFrameShape* frame = Frame(which);
        frame->resize(Layout::Scaled(Layout::kFrameSize, zoom));
        frame->SetPenWidth(Layout::Scaled(Layout::kFramePen, zoom));
        const int square = frameSquare_[std::size_t(which)];
        // A frame off the board keeps its resting place, hidden.
        frame->move(square != 0 ? ban_[std::size_t(square)]->pos()
                                : QPoint(Layout::Scaled(int(std::lround(frame->x() / laidOutZoom_)), zoom),
                                         Layout::Scaled(int(std::lround(frame->y() / laidOutZoom_)), zoom)));
    }
    laidOutZoom_ = zoom;
    FitTexts();
    UpdatePictures();
    UpdateZoomMenu();
    client_->update();
    adjustSize();
    KeepOnScreen();
}

void TForm1::UpdatePictures() {
    const double ratio = devicePixelRatio();
    if (Zoom() == picturesZoom_ && ratio == picturesRatio_) return;
    picturesZoom_ = Zoom();
    picturesRatio_ = ratio;
    for (QPixmap& piece : drawnPieces_) piece = QPixmap();
    if (early_.valid() && earlyScale_ != picturesZoom_ * picturesRatio_) UseEarlyPictures(); // drawn in vain
    if (picturesZoom_ == 1 && picturesRatio_ == 1)
        boardPicture_ = Resource(QStringLiteral("board.png"));
    else if (!early_.valid())
        boardPicture_ = ForScreen(Artwork::Board(picturesZoom_ * picturesRatio_), ratio);
    Image1->SetPicture(&boardPicture_);
    // The strip is drawn when it is shown, not while the window starts.
    replayPicture_ = QPixmap();
    Image2->SetPicture(nullptr);
    if (!Image2->isHidden()) UpdateStrip();
    for (int square = 11; square <= 99; ++square) SetSquare(square, shown_[std::size_t(square)]);
}

void TForm1::UpdateStrip() {
    replayPicture_ = picturesZoom_ == 1 && picturesRatio_ == 1
                         ? Resource(QStringLiteral("replay.png"))
                         : ForScreen(Artwork::ReplayStrip(picturesZoom_ * picturesRatio_), picturesRatio_);
    Image2->SetPicture(&replayPicture_);
}

void TForm1::KeepOnScreen() {
    if (!isVisible() || screen() == nullptr) return;
    const QRect room = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint to = frame.topLeft();
    to.setX(std::max(room.left(), std::min(to.x(), room.right() + 1 - frame.width())));
    to.setY(std::max(room.top(), std::min(to.y(), room.bottom() + 1 - frame.height())));
    if (to != frame.topLeft()) move(to);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!screenWatched_ && windowHandle() != nullptr) {
        screenWatched_ = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &TForm1::OnScreenChanged);
    }
    // The frame is known now: a zoom that fitted without it may not, and a window larger than the
    // layout may reach past the screen's edge from its place.
    OnScreenChanged();
    KeepOnScreen();
}

void TForm1::OnScreenChanged() {
    int percent = zoomPercent_;
    while (percent != Layout::kZoomPercents.front() && !ZoomFits(percent)) {
        const auto& all = Layout::kZoomPercents;
        percent = *(std::lower_bound(all.begin(), all.end(), percent) - 1);
    }
    if (percent != zoomPercent_) {
        zoomPercent_ = percent;
        ApplyZoom();
    } else {
        UpdatePictures();
        UpdateZoomMenu();
    }
}

void TForm1::OnCreate() {
    // A new game manager, no take-back used, an empty record, replay mode off.
    session_ = std::make_unique<TGameSession>(*this);
    try {
        LoadComaImages();
    } catch (const std::exception& e) {
        UseEarlyPictures();
        dialogs_->Ok(QStringLiteral("駒画像の読込みでエラー発生\r\n\r\n"
                                    "駒画像ファイルが正しく置かれているか確認してください。\r\n\r\n"
                                    "エラー内容は ") +
                     QString::fromUtf8(e.what()));
        return;
    }
    for (std::string_view name : kFormationList)
        ComboBox1->addItem(QString::fromUtf8(name.data(), qsizetype(name.size())));
    ComboBox1->setCurrentIndex(0);
    FitTexts();
    UseEarlyPictures();
    session_->Start();
}

void TForm1::LoadComaImages() {
    ComaImages.clear();
    ComaImages.reserve(28);
    for (const QString& file : ComaFileNames()) {
        const auto refuse = [&file](const QString& why) {
            return std::runtime_error(QStringLiteral("%1 を読み込めません（%2、フォルダ %3）")
                                          .arg(file, why, QDir::currentPath())
                                          .toStdString());
        };
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly)) throw refuse(source.errorString());
        QByteArray bytes = source.readAll();
        if (const QString fault = BitmapFault(bytes); !fault.isEmpty()) throw refuse(fault);
        // The bytes checked are the bytes decoded.
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "bmp");
        const QImage image = reader.read();
        if (image.isNull()) throw refuse(reader.errorString());
        // A piece picture is cut out by the colour of its bottom-left pixel, so the board's grain
        // shows round the piece.
        QPixmap picture = QPixmap::fromImage(image);
        const QColor key = image.pixelColor(0, image.height() - 1);
        picture.setMask(picture.createMaskFromColor(key, Qt::MaskInColor));
        ComaImages.push_back(picture);
    }
}

void TForm1::DrawEarly(double scale) {
    if (scale == 1) return;
    earlyScale_ = scale;
    early_ = std::async(std::launch::async, [scale] {
        TEarlyPictures early;
        early.Board = Artwork::Board(scale);
        const TKyokumen start;
        for (int sq = 11; sq <= 99; ++sq) {
            const PieceName name = start.Board[std::size_t(sq)];
            const std::size_t index = std::size_t(name) - 1;
            if (name != PieceName::Empty && early.Pieces[index].isNull())
                early.Pieces[index] = Artwork::Piece(Artwork::PieceNames()[qsizetype(index)], scale);
        }
        return early;
    });
}

void TForm1::UseEarlyPictures() const {
    if (!early_.valid()) return;
    const TEarlyPictures early = early_.get();
    // The window opened at another scale after all: its pictures are drawn as they are needed.
    if (earlyScale_ != picturesZoom_ * picturesRatio_) return;
    boardPicture_ = ForScreen(early.Board, picturesRatio_);
    Image1->SetPicture(&boardPicture_);
    for (std::size_t i = 0; i < drawnPieces_.size(); ++i)
        if (!early.Pieces[i].isNull() && drawnPieces_[i].isNull())
            drawnPieces_[i] = ForScreen(early.Pieces[i], picturesRatio_);
}

const QPixmap* TForm1::ComaPicture(PieceName name) const {
    if (name == PieceName::Empty) return nullptr;
    const std::size_t index = std::size_t(name) - 1;
    if (index >= ComaImages.size()) return nullptr;
    if (picturesZoom_ == 1 && picturesRatio_ == 1) return &ComaImages[index];
    QPixmap& drawn = drawnPieces_[index];
    if (early_.valid()) UseEarlyPictures();
    if (drawn.isNull())
        drawn =
            ForScreen(Artwork::Piece(Artwork::PieceNames()[qsizetype(index)], picturesZoom_ * picturesRatio_),
                      picturesRatio_);
    return &drawn;
}

void TForm1::RedrawBoard() {
    const TKyokumen& position = session_->Kanri().Kyokumen;
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) SetSquare(file * 10 + rank, position.Board[file * 10 + rank]);
}

void TForm1::EnterReplayMode() {
    if (replayPicture_.isNull()) UpdateStrip();
    Image2->show();
    ReplayButton1->setEnabled(true);
    ReplayButton2->setEnabled(true);
    ReplayButton3->setEnabled(true);
}

void TForm1::LeaveReplayMode() {
    Image2->hide();
    ReplayButton1->setEnabled(false);
    ReplayButton2->setEnabled(false);
    ReplayButton3->setEnabled(false);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Paint) PaintClient();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::PaintClient() {
    // A darker wooden rim round the board, in the margin the layout leaves about it.
    QPainter p(client_);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double zoom = Zoom();
    const double rimWidth = Layout::kRimWidth * zoom;
    const QRectF rim = QRectF(Image1->geometry()).adjusted(-rimWidth, -rimWidth, rimWidth, rimWidth);
    QLinearGradient wood(rim.topLeft(), rim.bottomRight());
    wood.setColorAt(0.0, QColor(196, 140, 76));
    wood.setColorAt(1.0, QColor(150, 98, 44));
    p.setPen(QPen(QColor(96, 60, 24), zoom));
    p.setBrush(wood);
    p.drawRoundedRect(rim, 3 * zoom, 3 * zoom);
    if (!coordinatesShown_) return;

    // Rank numerals left of the board, each beside its row; file numbers under the board (or under the
    // replay strip), each below its column, 9 on the left as the squares are.
    static const QString kRanks = QStringLiteral("一二三四五六七八九");
    static const QString kFiles = QStringLiteral("１２３４５６７８９");
    p.setFont(JapaneseFont(Layout::Scaled(Layout::kCoordinateFontPx, zoom)));
    p.setPen(QColor(40, 28, 16));
    const double gap = Layout::kCoordinateGap * zoom;
    const double fileTop = Image2->isVisible() ? Image2->geometry().bottom() + zoom : rim.bottom() + gap;
    const double rankRight = rim.left() - gap;
    const double insideScale = double(Layout::kSquareInside) / Layout::kSquareSize;
    for (int i = 1; i <= 9; ++i) {
        const QRect row = ban_[std::size_t(90 + i)]->geometry();
        p.drawText(QRectF(0, row.top(), rankRight, row.height() * insideScale),
                   Qt::AlignRight | Qt::AlignVCenter, kRanks.mid(i - 1, 1));
        const QRect column = ban_[std::size_t(i * 10 + 9)]->geometry();
        p.drawText(QRectF(column.left(), fileTop, column.width() * insideScale, client_->height() - fileTop),
                   Qt::AlignHCenter | Qt::AlignTop, kFiles.mid(i - 1, 1));
    }
}

// ---------------------------------------------------------------------------------------------
// Handlers

void TForm1::OnStartComa(int square) {
    ClearSelection();
    ProcessPendingEvents();
    if (!session_->HumanToMove()) return;
    dragFrom_ = square;
    dragTo_ = 0;
    ShowFrame(SessionFrame::Waku, false);
    ShowDestinations(square);
}

void TForm1::OnDragComa(int square) {
    if (session_->HumanToMove()) dragTo_ = square;
}

void TForm1::OnEndComa(int) {
    destinations_.clear();
    RefreshMarks();
    ProcessPendingEvents();
    if (!session_->HumanToMove()) return;
    session_->MoveComa_Screen(dragFrom_, dragTo_);
    ShowFrame(SessionFrame::Waku, true);
    NoteKeeping();
}

void TForm1::OnClickComa(int square) {
    const int from = selected_;
    const bool destination = Contains(destinations_, square);
    ClearSelection();
    if (!session_->HumanToMove()) return;
    if (from != 0 && destination) {
        // Exactly the turn a drag from -> square makes.
        OnStartComa(from);
        OnDragComa(square);
        OnEndComa(from);
        return;
    }
    if (square == from) return;
    if (IsHuman(session_->Kanri().Kyokumen.Board[square])) {
        selected_ = square;
        ShowDestinations(square);
    }
}

void TForm1::ShowDestinations(int from) {
    destinations_ = session_->LegalDestinations(from);
    RefreshMarks();
}

void TForm1::ClearSelection() {
    selected_ = 0;
    destinations_.clear();
    RefreshMarks();
}

void TForm1::RefreshMarks() {
    std::array<unsigned, 100> marks{};
    for (const TMove& m : lastMoves_)
        for (int square : {m.From, m.To})
            if (square >= 11 && square <= 99) marks[std::size_t(square)] |= TSquareImage::LastMove;
    if (selected_ != 0) marks[std::size_t(selected_)] |= TSquareImage::Selected;
    if (destinationsShown_)
        for (int square : destinations_) marks[std::size_t(square)] |= TSquareImage::Destination;
    for (std::size_t square = 0; square < ban_.size(); ++square)
        if (ban_[square] != nullptr) ban_[square]->SetMarks(marks[square]);
}

void TForm1::OnButton_StartClick() {
    ClearSelection();
    if (dialogs_->YesNo(QStringLiteral("初期化しますか？"))) session_->NewGame();
}

void TForm1::OnButton_HisyaKakuClick() {
    ClearSelection();
    if (dialogs_->YesNo(QStringLiteral("初期化しますか？"))) session_->NewHandicapGame();
}

void TForm1::OnComboBoxClick(int index) {
    if (index < 0) return;
    session_->PickFormation(ComboBox1->itemText(index).toStdString());
}

void TForm1::OnButton_ExitClick() {
    if (dialogs_->YesNo(QStringLiteral("終了しますか？"))) close();
}

void TForm1::OnButton_TestClick() {
    ClearSelection();
    if (dialogs_->YesNo(QStringLiteral("初期化しますか？"))) session_->NewTestGame();
}

void TForm1::OnButton_MattaClick() {
    ClearSelection();
    session_->Matta();
    NoteKeeping();
}

void TForm1::OnReplayButton1_Click() {
    session_->ReplayToStart();
}

void TForm1::OnReplayButton2_Click() {
    session_->ReplayOne();
}

void TForm1::OnReplayButton3_Click() {
    session_->ReplayTwo();
}

void TForm1::OnButton_KifuClick() {
    session_->CopyKifu();
}

void TForm1::OnResignClick() {
    if (!session_->CanResign()) return;
    ClearSelection();
    if (dialogs_->YesNo(QStringLiteral("投了しますか？"))) session_->Resign();
    NoteKeeping();
}

void TForm1::OnReplayForward() {
    session_->ReplayOne();
}

void TForm1::OnReplayBack() {
    session_->ReplayBack();
}

void TForm1::OnReplayStart() {
    session_->ReplayToStart();
}

void TForm1::OnHelpClick() {
    dialogs_->Info(QStringLiteral("遊び方"), QString::fromUtf8(kRules));
}

void TForm1::OnVersionClick() {
    dialogs_->Info(QStringLiteral("バージョン情報"),
                   QString::fromUtf8(kGameTitle) + QStringLiteral("\r\nバージョン ") +
                       QStringLiteral(MIRUTOA_VERSION) + QStringLiteral("\r\n\r\nQt ") +
                       QString::fromLatin1(qVersion()));
}

void TForm1::SetCoordinatesShown(bool on) {
    coordinatesShown_ = on;
    coordinatesAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kCoordinatesKey), on);
    client_->update();
}

void TForm1::SetDestinationsShown(bool on) {
    destinationsShown_ = on;
    destinationsAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kDestinationsKey), on);
    RefreshMarks();
}

// ---------------------------------------------------------------------------------------------
// What the session shows

void TForm1::SetMessage(const std::string& text) {
    Label_Message->ShowText(DisplayText(text));
}

void TForm1::SetStatus(const std::string& text) {
    Label_mes2->ShowText(DisplayText(text));
}

void TForm1::ShowMessageBox(const std::string& text) {
    dialogs_->Ok(QString::fromStdString(text));
}

void TForm1::SetSquare(int square, PieceName piece) {
    if (square < 11 || square > 99 || ban_[std::size_t(square)] == nullptr) return;
    shown_[std::size_t(square)] = piece;
    ban_[std::size_t(square)]->SetPicture(ComaPicture(piece));
}

TFrameShape* TForm1::Frame(SessionFrame frame) const {
    return frame == SessionFrame::Waku ? Waku : Waku2;
}

void TForm1::MoveFrame(SessionFrame frame, int square) {
    if (square < 11 || square > 99 || ban_[std::size_t(square)] == nullptr) return;
    frameSquare_[std::size_t(frame)] = square;
    Frame(frame)->move(ban_[std::size_t(square)]->pos());
}

// A frame off the board waits hidden in the client area's top-left corner, and stays hidden until it
// is put on a square again: a frame marks nothing anywhere else.
void TForm1::RemoveFrame(SessionFrame frame) {
    frameSquare_[std::size_t(frame)] = 0;
    Frame(frame)->move(0, 0);
    Frame(frame)->setVisible(false);
}

void TForm1::ShowFrame(SessionFrame frame, bool visible) {
    Frame(frame)->setVisible(visible && frameSquare_[std::size_t(frame)] != 0);
}

void TForm1::MarkMoves(const std::vector<TMove>& moves) {
    lastMoves_ = moves;
    RefreshMarks();
}

void TForm1::SetReplayMode(bool on) {
    if (on)
        EnterReplayMode();
    else
        LeaveReplayMode();
    for (QShortcut* key : replayKeys_) key->setEnabled(on);
    ClearSelection();
    // The file numbers move under the strip and back.
    client_->update();
}

void TForm1::ProcessPendingEvents() {
    // Paint what has changed; input stays queued until the turn is over, so nothing can start a new
    // game under the running turn.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

void TForm1::SetComReason(const std::string& text) {
    // Only the status bar is touched: the session reports its first reason from its own constructor,
    // before session_ holds it.
    if (comReason_ == nullptr) return;
    comReason_->setText(text.empty() ? QString()
                                     : QStringLiteral("COMの狙い: ") + QString::fromStdString(text));
}

// ---------------------------------------------------------------------------------------------
// COM's reason, record files and kept games

namespace {

std::filesystem::path FilePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString FileName(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// A kept game's menu entry: its start time as a player reads it ("2024/03/05 09:07:31"), from the
// file name the keeper gave it; any other name as it is.
QString RecentTitle(const std::filesystem::path& path) {
    const QString stem = FileName(path.stem());
    const QDateTime began = QDateTime::fromString(stem.left(15), QStringLiteral("yyyyMMdd-HHmmss"));
    if (!began.isValid()) return FileName(path.filename());
    const QString more = stem.mid(15); // "-2" for the second game begun in the same second
    return began.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
           (more.startsWith(QLatin1Char('-')) ? QStringLiteral(" (%1)").arg(more.mid(1)) : QString());
}

QString ErrorText(const QString& step, const QString& file, const std::exception& e) {
    return step + QStringLiteral("\r\n\r\n") + file + QStringLiteral("\r\n\r\nエラー内容は ") +
           QString::fromUtf8(e.what());
}

} // namespace

void TForm1::CreateStatusBar() {
    // Below the client area, so every control keeps its place; the window grows by the bar's height.
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setFont(JapaneseFont(Layout::kWindowFontPx));
    comReason_ = new QLabel(bar);
    comReason_->setObjectName(QStringLiteral("ComReason"));
    // Clear of the window's left edge, as the board is.
    comReason_->setContentsMargins(6, 0, 0, 0);
    bar->addWidget(comReason_, 1);
    keepingNote_ = new QLabel(QStringLiteral("自動保存に失敗しました"), bar);
    keepingNote_->setObjectName(QStringLiteral("KeepingNote"));
    keepingNote_->hide();
    bar->addPermanentWidget(keepingNote_);
    bar->setVisible(comReasonShown_);
}

QString TForm1::ComReasonText() const {
    return comReason_ != nullptr ? comReason_->text() : QString();
}

void TForm1::SetComReasonShown(bool on) {
    comReasonShown_ = on;
    comReasonAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kComReasonKey), on);
    statusBar()->setVisible(on);
    adjustSize();
}

void TForm1::AddRecordItems(QMenu* game) {
    game->addSeparator();
    QAction* save = game->addAction(QStringLiteral("棋譜を保存…"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &TForm1::OnSaveRecordClick);
    QAction* open = game->addAction(QStringLiteral("棋譜を開く…"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, this, &TForm1::OnOpenRecordClick);
    recentMenu_ = game->addMenu(QStringLiteral("最近の棋譜"));
    recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
    // The list is read when it opens: games kept since the last look are on it.
    connect(recentMenu_, &QMenu::aboutToShow, this, &TForm1::FillRecentMenu);
    keepingAction_ = game->addAction(QStringLiteral("対局を自動保存"));
    keepingAction_->setCheckable(true);
    keepingAction_->setChecked(keeping_);
    connect(keepingAction_, &QAction::toggled, this, &TForm1::SetKeeping);
}

QString TForm1::RecordsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/records");
}

// The keeper makes the folder with the first game it keeps: a run without a move leaves no trace.
void TForm1::StartKeeping() {
    keeper_ = std::make_unique<TRecordKeeper>(FilePath(RecordsFolder()));
    session_->SetRecordKeeper(keeping_ ? keeper_.get() : nullptr);
}

void TForm1::SetKeeping(bool on) {
    keeping_ = on;
    keepingAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kKeepingKey), on);
    if (session_) session_->SetRecordKeeper(on ? keeper_.get() : nullptr);
    NoteKeeping();
}

// A failed keep never stops the game: the note stays in the status bar until a keep succeeds.
void TForm1::NoteKeeping() {
    const bool failed = keeping_ && keeper_ && !keeper_->LastError().empty();
    keepingNote_->setVisible(failed);
    keepingNote_->setToolTip(failed ? QString::fromStdString(keeper_->LastError()) : QString());
}

void TForm1::FillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::filesystem::path> files =
        keeper_ ? keeper_->Recent(10) : std::vector<std::filesystem::path>();
    if (files.empty()) recentMenu_->addAction(QStringLiteral("（まだありません）"))->setEnabled(false);
    for (const std::filesystem::path& file : files) {
        const QString name = FileName(file);
        QAction* item = recentMenu_->addAction(RecentTitle(file));
        item->setData(name);
        connect(item, &QAction::triggered, this, [this, name] { OpenRecordFile(name); });
    }
}

bool TForm1::GameGoingOn() const {
    const TGameSession& s = *session_;
    return !s.ReplayMode() && !s.GameOver() && s.Kanri().MoveCount() > 0;
}

QString TForm1::RecordFolderSetting() const {
    QString folder = QSettings().value(QString::fromLatin1(kRecordFolderKey)).toString();
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

void TForm1::OnSaveRecordClick() {
    ClearSelection();
    // The suggested name is the game's start time, as the kept games are named.
    const TKifDate began = session_->KifRecord().Began;
    QString stem =
        QDateTime(QDate(began.Year, began.Month, began.Day), QTime(began.Hour, began.Minute, began.Second))
            .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!began.Known() || stem.isEmpty()) stem = QStringLiteral("棋譜");
    const QString path =
        dialogs_->SaveFileName(QDir(RecordFolderSetting()).filePath(stem + QStringLiteral(".kif")));
    if (path.isEmpty()) return;
    try {
        session_->SaveRecord(FilePath(path));
    } catch (const std::exception& e) {
        dialogs_->Ok(ErrorText(QStringLiteral("棋譜の保存でエラー発生"), path, e));
        return;
    }
    QSettings().setValue(QString::fromLatin1(kRecordFolderKey), QFileInfo(path).absolutePath());
    statusBar()->showMessage(QStringLiteral("棋譜を保存しました: ") + QFileInfo(path).fileName(), 5000);
}

void TForm1::OnOpenRecordClick() {
    ClearSelection();
    const QString path = dialogs_->OpenFileName(RecordFolderSetting());
    if (path.isEmpty()) return;
    if (OpenRecordFile(path))
        QSettings().setValue(QString::fromLatin1(kRecordFolderKey), QFileInfo(path).absolutePath());
}

bool TForm1::OpenRecordFile(const QString& path) {
    ClearSelection();
    // An opened record can only be replayed: the game going on could not be played on afterwards.
    if (GameGoingOn() && !dialogs_->YesNo(QStringLiteral("対局中のゲームをやめて棋譜を開きますか？")))
        return false;
    try {
        session_->OpenRecord(FilePath(path));
    } catch (const std::exception& e) {
        dialogs_->Ok(ErrorText(QStringLiteral("棋譜の読込みでエラー発生"), path, e));
        return false;
    }
    return true;
}
