#include "ui/MainForm.h"

#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr int kClientWidth = 673;
constexpr int kClientHeight = 413;

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

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
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

} // namespace

TForm1::TForm1(IDialogs* dialogs, QWidget* parent) : QWidget(parent) {
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<TMessageBoxDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    CreateControls();
    OnCreate();
}

// The session, the record, the pictures and the controls all go with their owners.
TForm1::~TForm1() = default;

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
    setWindowTitle(QStringLiteral("創作将棋 ミルトア"));
    setWindowIcon(QIcon(Resource(QStringLiteral("mirutoa-64.png"))));
    setFixedSize(kClientWidth, kClientHeight);
    move(71, 123);
    setFont(JapaneseFont(12));

    boardPicture_ = Resource(QStringLiteral("board.png"));
    replayPicture_ = Resource(QStringLiteral("replay.png"));

    // Controls are made in table order: a later one lies above an earlier one.
    Image1 = new TPictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(72, 8, 362, 362);
    Image1->SetPicture(&boardPicture_);
    Image1->setEnabled(false);

    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) {
            const int square = file * 10 + rank;
            auto* image = new TSquareImage(square, this);
            connect(image, &TSquareImage::dragStarted, this, &TForm1::OnStartComa);
            connect(image, &TSquareImage::dropped, this, &TForm1::OnDragComa);
            connect(image, &TSquareImage::dragEnded, this, &TForm1::OnEndComa);
            image->setObjectName(QStringLiteral("ban%1").arg(square));
            image->setGeometry(74 + (9 - file) * 40, 10 + (rank - 1) * 40, 41, 41);
            ban_[std::size_t(square)] = image;
        }

    Label_Message = new TMessageLabel(QStringLiteral("あなたの番です"), this);
    Label_Message->setObjectName(QStringLiteral("Label_Message"));
    Label_Message->setGeometry(448, 151, 209, 193);
    Label_Message->setFont(JapaneseFont(19));
    Label_Message->setAutoFillBackground(true);
    {
        QPalette pal = Label_Message->palette();
        pal.setColor(QPalette::Window, QColor(Qt::white));
        pal.setColor(QPalette::WindowText, QColor(Qt::black));
        Label_Message->setPalette(pal);
    }

    Label_mes2 = new QLabel(this);
    Label_mes2->setObjectName(QStringLiteral("Label_mes2"));
    Label_mes2->setGeometry(448, 343, 209, 25);
    Label_mes2->setTextFormat(Qt::PlainText);
    Label_mes2->setAlignment(Qt::AlignCenter);
    Label_mes2->setFont(JapaneseFont(15));
    Label_mes2->setAutoFillBackground(true);
    {
        QPalette pal = Label_mes2->palette();
        pal.setColor(QPalette::Window, kDesktop);
        pal.setColor(QPalette::WindowText, QColor(Qt::white));
        Label_mes2->setPalette(pal);
    }

    Waku = new TFrameShape(kFrameRed, 3, this);
    Waku->setObjectName(QStringLiteral("Waku"));
    Waku->setGeometry(0, 0, 38, 38);
    Waku->hide();

    Label1 = new QLabel(QStringLiteral("COMの陣形"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(448, 93, 73, 12);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    {
        QPalette pal = Label1->palette();
        pal.setColor(QPalette::Window, kSkyBlue);
        pal.setColor(QPalette::WindowText, QColor(Qt::black));
        Label1->setPalette(pal);
    }

    Image2 = new TPictureBox(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(72, 376, 361, 24);
    Image2->SetPicture(&replayPicture_);
    Image2->hide();

    TClickLabel** replayButtons[3] = {&ReplayButton1, &ReplayButton2, &ReplayButton3};
    const int replayLefts[3] = {186, 242, 297};
    for (int i = 0; i < 3; ++i) {
        auto* button = new TClickLabel(this);
        button->setObjectName(QStringLiteral("ReplayButton%1").arg(i + 1));
        button->setGeometry(replayLefts[i], 380, 49, 17);
        button->setCursor(Qt::PointingHandCursor);
        *replayButtons[i] = button;
    }

    Waku2 = new TFrameShape(kFrameRed, 3, this);
    Waku2->setObjectName(QStringLiteral("Waku2"));
    Waku2->setGeometry(0, 40, 38, 38);
    Waku2->hide();

    Button_Start = MakeButton(this, "Button_Start", QStringLiteral("平手で初期化"), {448, 56, 81, 20});
    Button_Matta = MakeButton(this, "Button_Matta", QStringLiteral("待った"), {448, 8, 57, 20});
    Button_Exit = MakeButton(this, "Button_Exit", QStringLiteral("終了"), {608, 8, 57, 20});
    Button_StartHisyaKaku =
        MakeButton(this, "Button_StartHisyaKaku", QStringLiteral("飛車角落ちで初期化"), {536, 56, 129, 20});

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(536, 89, 129, 20);
    ComboBox1->setEditable(false);

    Button_Kifu =
        MakeButton(this, "Button_Kifu", QStringLiteral("棋譜をクリップボードにコピー"), {448, 376, 185, 20});
    Button_Test = MakeButton(this, "Button_Test", QStringLiteral("Test"), {536, 128, 89, 17});
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
}

void TForm1::OnCreate() {
    // A new game manager, no take-back used, an empty record, replay mode off.
    session_ = std::make_unique<TGameSession>(*this);
    try {
        LoadComaImages();
    } catch (const std::exception& e) {
        dialogs_->Ok(QStringLiteral("駒画像の読込みでエラー発生\r\n\r\n"
                                    "駒画像ファイルが正しく置かれているか確認してください。\r\n\r\n"
                                    "エラー内容は ") +
                     QString::fromUtf8(e.what()));
        return;
    }
    int widest = 0;
    const QFontMetrics metrics(ComboBox1->font());
    for (std::string_view name : kFormationList) {
        const QString item = QString::fromUtf8(name.data(), qsizetype(name.size()));
        ComboBox1->addItem(item);
        widest = std::max(widest, metrics.horizontalAdvance(item));
    }
    ComboBox1->setCurrentIndex(0);
    // The list opens wide enough for the longest name even though the box itself is narrow.
    ComboBox1->view()->setMinimumWidth(widest + 24);
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

const QPixmap* TForm1::ComaPicture(PieceName name) const {
    if (name == PieceName::Empty) return nullptr;
    const std::size_t index = std::size_t(name) - 1;
    return index < ComaImages.size() ? &ComaImages[index] : nullptr;
}

void TForm1::RedrawBoard() {
    const TKyokumen& position = session_->Kanri().Kyokumen;
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) SetSquare(file * 10 + rank, position.Board[file * 10 + rank]);
}

void TForm1::EnterReplayMode() {
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

void TForm1::paintEvent(QPaintEvent*) {
    // A darker wooden rim round the board, in the margin the layout leaves about it.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF rim = QRectF(Image1->geometry()).adjusted(-4.5, -4.5, 4.5, 4.5);
    QLinearGradient wood(rim.topLeft(), rim.bottomRight());
    wood.setColorAt(0.0, QColor(196, 140, 76));
    wood.setColorAt(1.0, QColor(150, 98, 44));
    p.setPen(QPen(QColor(96, 60, 24), 1.0));
    p.setBrush(wood);
    p.drawRoundedRect(rim, 3, 3);
}

// ---------------------------------------------------------------------------------------------
// Handlers

void TForm1::OnStartComa(int square) {
    session_->StartDrag(square);
}

void TForm1::OnDragComa(int square) {
    session_->Drop(square);
}

void TForm1::OnEndComa(int) {
    session_->EndDrag();
}

void TForm1::OnButton_StartClick() {
    if (dialogs_->YesNo(QStringLiteral("初期化しますか？"))) session_->NewGame();
}

void TForm1::OnButton_HisyaKakuClick() {
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
    if (dialogs_->YesNo(QStringLiteral("初期化しますか？"))) session_->NewTestGame();
}

void TForm1::OnButton_MattaClick() {
    session_->Matta();
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

// ---------------------------------------------------------------------------------------------
// What the session shows

void TForm1::SetMessage(const std::string& text) {
    Label_Message->setText(DisplayText(text));
}

void TForm1::SetStatus(const std::string& text) {
    Label_mes2->setText(DisplayText(text));
}

void TForm1::ShowMessageBox(const std::string& text) {
    dialogs_->Ok(QString::fromStdString(text));
}

void TForm1::SetSquare(int square, PieceName piece) {
    if (square < 11 || square > 99 || ban_[std::size_t(square)] == nullptr) return;
    ban_[std::size_t(square)]->SetPicture(ComaPicture(piece));
}

TFrameShape* TForm1::Frame(SessionFrame frame) const {
    return frame == SessionFrame::Waku ? Waku : Waku2;
}

void TForm1::MoveFrame(SessionFrame frame, int square) {
    if (square >= 11 && square <= 99 && ban_[std::size_t(square)] != nullptr)
        Frame(frame)->move(ban_[std::size_t(square)]->pos());
}

// A frame off the board waits hidden in the window's top-left corner.
void TForm1::RemoveFrame(SessionFrame frame) {
    Frame(frame)->move(0, 0);
    Frame(frame)->setVisible(false);
}

void TForm1::ShowFrame(SessionFrame frame, bool visible) {
    Frame(frame)->setVisible(visible);
}

void TForm1::SetReplayMode(bool on) {
    if (on)
        EnterReplayMode();
    else
        LeaveReplayMode();
}

void TForm1::ProcessPendingEvents() {
    // Paint what has changed; input stays queued until the turn is over, so nothing can start a new
    // game under the running turn.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}
