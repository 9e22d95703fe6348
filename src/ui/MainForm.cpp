#include "ui/MainForm.h"

#include "ui/About.h"
#include "ui/BoardView.h"
#include "ui/Controls.h"
#include "ui/KifuList.h"
#include "ui/Language.h"
#include "ui/Layout.h"
#include "ui/RecordFiles.h"
#include "ui/VariationMoves.h"
#include "ui/WindowZoom.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

const QColor kSkyBlue(166, 202, 240);
// The classic desktop background behind the white status text.
const QColor kDesktop(58, 110, 165);

const char* const kCoordinatesKey = "view/coordinates";
const char* const kDestinationsKey = "view/destinations";
const char* const kComReasonKey = "view/comReason";
const char* const kKifuListKey = "view/kifuList";
const char* const kKifuListWidthKey = "view/kifuListWidth";

// Puts a control at its place in the client area under its name.
template <class Control> Control* Placed(Control* control, std::string_view name) {
    control->setObjectName(QString::fromUtf8(name.data(), qsizetype(name.size())));
    control->setGeometry(Layout::Place(name).Rect);
    return control;
}

QPushButton* MakeButton(QWidget* parent, std::string_view name, const char* source) {
    auto* button = Placed(new QPushButton(parent), name);
    Language::SetText(button, "TForm1", source);
    return button;
}

void Colour(QWidget* control, const QColor& ground, const QColor& text) {
    control->setAutoFillBackground(true);
    QPalette pal = control->palette();
    pal.setColor(QPalette::Window, ground);
    pal.setColor(QPalette::WindowText, text);
    control->setPalette(pal);
}

} // namespace

TForm1::TForm1(IDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), about_(std::make_unique<TAboutText>()) {
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<TMessageBoxDialogs>(this);
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;
    const QSettings settings;
    comReasonShown_ = settings.value(QString::fromLatin1(kComReasonKey), true).toBool();
    kifuListShown_ = settings.value(QString::fromLatin1(kKifuListKey), true).toBool();
    kifuListWidth_ =
        std::clamp(settings.value(QString::fromLatin1(kKifuListWidthKey), kifuListWidth_).toInt(),
                   kifuListWidth_, Layout::kKifuListMaxWidth);
    // The likely scale, before the window knows its screen: the kept zoom on the main screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        pictures_.DrawEarly(TWindowZoom::KeptPercent() / 100.0 * screen->devicePixelRatio());
    zoom_ = std::make_unique<TWindowZoom>(this);
    connect(zoom_.get(), &TWindowZoom::changed, this, &TForm1::ApplyZoom);
    CreateControls();
    CreateStatusBar();
    engine_ = std::make_unique<TEnginePanel>(*board_, client_, *statusBar(), *records_);
    analysis_ = std::make_unique<TAnalysisPanel>(*this, *statusBar());
    study_ = std::make_unique<TStudyPanel>(*this, *board_, client_, *statusBar(), *engine_, *analysis_);
    play_ = std::make_unique<TPlayControl>(*board_, *dialogs_, this);
    positions_ = std::make_unique<TPositionMenu>(*board_, pictures_, *dialogs_, *statusBar(),
                                                 [this] { return scale_; });
    connect(positions_.get(), &TPositionMenu::commandStarted, board_.get(), &TBoardView::ClearSelection);
    CreateMenus();
    zoom_->SetClientSize(Layout::ClientSize(kifuListShown_, kifuListWidth_));
    zoom_->UseKept();
    ApplyZoom();
    OnCreate();
    records_->Attach(*session_);
    variations_->Attach(*session_);
    analysis_->Attach(*session_);
    study_->Attach(*session_);
    positions_->Attach(*session_);
    KifuList->SetAnalysis(&analysis_->Analysis());
    connect(analysis_.get(), &TAnalysisPanel::verdictsChanged, KifuList, &TKifuList::Refresh);
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

QString TForm1::DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// ---------------------------------------------------------------------------------------------
// The controls and menus

void TForm1::CreateControls() {
    setObjectName(QStringLiteral("Form1"));
    UpdateTitle();
    setWindowIcon(QIcon(QPixmap(QStringLiteral(":/mirutoa/mirutoa-64.png"))));
    move(71, 123);

    // The client area has the layout's size whatever the menu bar takes above it, until the window is
    // given another size.
    client_ = new TClientArea(this);
    client_->setObjectName(QStringLiteral("Client"));
    client_->SetLayoutSize(Layout::ClientSize(kifuListShown_, kifuListWidth_));
    client_->setFont(JapaneseFont(Layout::kWindowFontPx));
    client_->installEventFilter(this);
    setCentralWidget(client_);
    connect(client_, &TClientArea::resized, this, &TForm1::OnClientResized);

    // Controls are made in table order: a later one lies above an earlier one.
    board_ = std::make_unique<TBoardView>(client_, pictures_);
    connect(board_.get(), &TBoardView::moveRequested, this, &TForm1::OnMoveRequested);
    const QSettings settings;
    board_->SetCoordinatesShown(settings.value(QString::fromLatin1(kCoordinatesKey), true).toBool());
    board_->SetDestinationsShown(settings.value(QString::fromLatin1(kDestinationsKey), true).toBool());
    CreateLabels(client_);
    CreateReplayStrip(client_);
    CreateButtons(client_);
    KifuList = Placed(new TKifuList(client_), "KifuList");
    KifuList->setVisible(kifuListShown_);
    kifuGrip_ = new TColumnGrip(client_);
    kifuGrip_->setObjectName(QStringLiteral("KifuGrip"));
    Language::SetToolTip(kifuGrip_, "TForm1", QT_TR_NOOP("ドラッグして棋譜の幅を変えます"));
    kifuGrip_->setVisible(kifuListShown_);
    connect(kifuGrip_, &TColumnGrip::dragStarted, this, [this] { gripStartWidth_ = kifuListWidth_; });
    connect(kifuGrip_, &TColumnGrip::dragged, this,
            [this](int dx) { SetKifuListWidth(gripStartWidth_ + int(std::lround(dx / scale_))); });
    // The frames lie among the controls as they always have: Waku under Label1, Waku2 under the
    // buttons.
    const auto frame = [this](const char* name) {
        return client_->findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    };
    frame("Waku")->stackUnder(Label1);
    frame("Waku2")->stackUnder(Button_Start);
    ConnectCommands();
    FitTexts();
}

void TForm1::CreateLabels(QWidget* area) {
    Label_Message = Placed(new TMessageLabel(tr("あなたの番です"), area), "Label_Message");
    Colour(Label_Message, Qt::white, Qt::black);
    Label_mes2 = Placed(new TFitLabel(QString(), Layout::Place("Label_mes2").FontPx, area), "Label_mes2");
    Label_mes2->setAlignment(Qt::AlignCenter);
    Colour(Label_mes2, kDesktop, Qt::white);
    Label1 = Placed(new TFitLabel(QString(), Layout::Place("Label1").FontPx, area), "Label1");
    Language::SetText(Label1, "TForm1", QT_TR_NOOP("COMの陣形"));
    Label1->setAlignment(Qt::AlignCenter);
    Colour(Label1, kSkyBlue, Qt::black);
}

void TForm1::CreateReplayStrip(QWidget* area) {
    Image2 = Placed(new TPictureBox(area), "Image2");
    Image2->hide();
    TClickLabel** replayButtons[3] = {&ReplayButton1, &ReplayButton2, &ReplayButton3};
    const std::string_view replayNames[3] = {"ReplayButton1", "ReplayButton2", "ReplayButton3"};
    for (int i = 0; i < 3; ++i) {
        auto* button = Placed(new TClickLabel(area), replayNames[i]);
        button->setCursor(Qt::PointingHandCursor);
        *replayButtons[i] = button;
    }
    replayBack_ = Placed(new TClickLabel(area), "ReplayBackButton");
    replayEnd_ = Placed(new TClickLabel(area), "ReplayEndButton");
    Language::SetToolTip(replayBack_, "TForm1", QT_TR_NOOP("一手戻る (←)"));
    Language::SetToolTip(replayEnd_, "TForm1", QT_TR_NOOP("最後の局面へ (End)"));
    for (TClickLabel* button : {replayBack_, replayEnd_}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setEnabled(false);
    }
    replayCounter_ =
        Placed(new TFitLabel(QString(), Layout::Place("ReplayCounter").FontPx, area), "ReplayCounter");
    replayCounter_->setAlignment(Qt::AlignCenter);
    replayCounter_->hide();
}

// The game's title, and the record file's name after a dash while an opened record is replayed.
void TForm1::UpdateTitle() {
    setWindowTitle(openedFile_.isEmpty() ? GameTitle() : GameTitle() + QStringLiteral(" — ") + openedFile_);
}

// "12 / 62手" on the strip: the move shown and the record's length.
void TForm1::UpdateReplayCounter() {
    if (!session_ || !session_->ReplayMode()) return;
    replayCounter_->ShowText(
        tr("%1 / %2手").arg(session_->ShownMove()).arg(static_cast<int>(session_->Turns().size())));
}

void TForm1::CreateButtons(QWidget* area) {
    Button_Start = MakeButton(area, "Button_Start", QT_TR_NOOP("平手で初期化"));
    Button_Matta = MakeButton(area, "Button_Matta", QT_TR_NOOP("待った"));
    Button_Exit = MakeButton(area, "Button_Exit", QT_TR_NOOP("終了"));
    Button_StartHisyaKaku = MakeButton(area, "Button_StartHisyaKaku", QT_TR_NOOP("飛車角落ちで初期化"));

    ComboBox1 = Placed(new TFormationList(Layout::Place("ComboBox1").FontPx, area), "ComboBox1");

    Button_Kifu = MakeButton(area, "Button_Kifu", QT_TR_NOOP("棋譜をクリップボードにコピー"));
    Button_Test = MakeButton(area, "Button_Test", "Test");
    Button_Test->hide();

    setTabOrder(Button_Start, Button_Matta);
    setTabOrder(Button_Matta, Button_Exit);
    setTabOrder(Button_Exit, Button_StartHisyaKaku);
    setTabOrder(Button_StartHisyaKaku, ComboBox1);
    setTabOrder(ComboBox1, Button_Kifu);
    setTabOrder(Button_Kifu, Button_Test);
}

void TForm1::ConnectCommands() {
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
    connect(replayBack_, &TClickLabel::clicked, this, &TForm1::OnReplayBack);
    connect(replayEnd_, &TClickLabel::clicked, this, &TForm1::OnReplayEnd);

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
    // Back to the game's latest position from an earlier one, in a game or a replay.
    connect(new QShortcut(QKeySequence(Qt::Key_End), this), &QShortcut::activated, KifuList,
            &TKifuList::ShowLatest);
}

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
    records_ = std::make_unique<TRecordFiles>(*dialogs_, bar);
    connect(records_.get(), &TRecordFiles::commandStarted, board_.get(), &TBoardView::ClearSelection);
    connect(records_.get(), &TRecordFiles::recordOpened, this, [this](const QString& file) {
        openedFile_ = file;
        UpdateTitle();
    });
    variations_ = std::make_unique<TVariationMoves>(*dialogs_, *records_);
    connect(variations_.get(), &TVariationMoves::lineChanged, this, [this] {
        KifuList->Refresh();
        UpdateReplayCounter();
    });
    bar->setVisible(comReasonShown_);
}

void TForm1::FitTexts() {
    // The status line lies over the message label's foot: the message must end above it.
    Label_Message->SetTextRoom(FontPx("Label_Message"),
                               std::min(Label_Message->height(), Label_mes2->y() - Label_Message->y()));
    Label_mes2->SetBasePx(FontPx("Label_mes2"));
    Label1->SetBasePx(FontPx("Label1"));
    replayCounter_->SetBasePx(FontPx("ReplayCounter"));
    for (QPushButton* button :
         {Button_Start, Button_Matta, Button_Exit, Button_StartHisyaKaku, Button_Kifu, Button_Test})
        FitButtonText(button, FontPx(button->objectName().toStdString()));
    ComboBox1->SetBasePx(FontPx("ComboBox1"));
    // The list opens wide enough for the longest name even though the box itself is narrow.
    int widest = 0;
    const QFontMetrics metrics(ComboBox1->font());
    for (int i = 0; i < ComboBox1->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(ComboBox1->itemText(i)));
    ComboBox1->view()->setMinimumWidth(widest + Layout::Scaled(24, scale_));
}

int TForm1::FontPx(std::string_view control) const {
    return Layout::Scaled(Layout::Place(control).FontPx, scale_);
}

void TForm1::ApplyZoom() {
    // The zoom picks the window's size: a maximised window is given back its own.
    if (isMaximized() || isFullScreen()) showNormal();
    const double zoom = ZoomFactor();
    // What lies outside the client area follows the zoom but not a window's other size, which it
    // would change again.
    const QFont barFont = JapaneseFont(Layout::Scaled(Layout::kWindowFontPx, zoom));
    statusBar()->setFont(barFont);
    // The bar would keep the height of its largest type so far: it is given the height of this one.
    statusBar()->setFixedHeight(QFontMetrics(barFont).height() + Layout::Scaled(4, zoom));
    setFont(JapaneseFont(Layout::Scaled(Layout::kBoxFontPx, zoom)));
    menuBar()->setFont(QApplication::font());
    client_->SetZoom(zoom);
    LayOut(zoom, QPoint());
    zoom_->UpdateMenu();
    FitWindow(client_->sizeHint());
    zoom_->KeepOnScreen();
}

void TForm1::FitWindow(QSize client) {
    // A window not yet shown places its parts only when asked, and the bars may learn their heights
    // at a new type size only then: the window is set to the difference once it is known.
    const auto place = [this] {
        layout()->invalidate();
        layout()->activate();
    };
    for (int pass = 0; pass < 2; ++pass) {
        place();
        if (client_->size() == client) break;
        resize(size() + client - client_->size());
    }
    place();
}

void TForm1::OnClientResized() {
    const double scale = client_->FitScale();
    LayOut(scale, client_->Origin(scale));
}

void TForm1::LayOut(double scale, QPoint origin) {
    if (scale == scale_ && origin == origin_ && laidOut_) return;
    laidOut_ = true;
    scale_ = scale;
    origin_ = origin;
    client_->setFont(JapaneseFont(Layout::Scaled(Layout::kWindowFontPx, scale)));
    client_->PlaceControls(scale, origin);
    // The move list at the width the player gave it, its handle in the margin right of it.
    const QRect list = Layout::Place("KifuList").Rect;
    KifuList->setGeometry(Layout::Scaled(QRect(list.left(), list.top(), kifuListWidth_, list.height()), scale)
                              .translated(origin));
    kifuGrip_->setGeometry(
        Layout::Scaled(QRect(list.left() + kifuListWidth_, list.top(), Layout::kKifuMargin, list.height()),
                       scale)
            .translated(origin));
    board_->ApplyZoom(scale, origin);
    FitTexts();
    UpdatePictures();
    client_->update();
}

void TForm1::UpdatePictures() {
    if (!pictures_.SetScale(scale_, devicePixelRatio())) return;
    board_->ShowPictures();
    // The strip is drawn when it is shown, not while the window starts.
    Image2->SetPicture(nullptr);
    if (!Image2->isHidden()) Image2->SetPicture(&pictures_.Strip());
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
    zoom_->KeepOnScreen();
}

void TForm1::OnScreenChanged() {
    if (zoom_->FitScreen()) {
        ApplyZoom();
    } else {
        UpdatePictures();
        zoom_->UpdateMenu();
    }
}

void TForm1::OnCreate() {
    // A new game manager, no take-back used, an empty record, replay mode off.
    session_ = engine_->NewSession(*this);
    board_->SetSession(session_.get());
    KifuList->SetSession(session_.get());
    try {
        pictures_.LoadComaImages();
    } catch (const std::exception& e) {
        board_->UseEarlyPictures();
        dialogs_->Ok(tr("駒画像の読込みでエラー発生\r\n\r\n"
                        "駒画像ファイルが正しく置かれているか確認してください。\r\n\r\n"
                        "エラー内容は %1")
                         .arg(QString::fromUtf8(e.what())));
        return;
    }
    for (std::string_view name : kFormationList) {
        const QString source = QString::fromUtf8(name.data(), qsizetype(name.size()));
        ComboBox1->addItem(Language::FormationName(source), source);
    }
    ComboBox1->setCurrentIndex(0);
    FitTexts();
    board_->UseEarlyPictures();
    play_->Attach(*session_, engine_->Installed());
    session_->Start();
    play_->StartKeptGame();
    KifuList->Refresh();
}

void TForm1::RedrawBoard() {
    board_->RedrawBoard(session_->BoardPosition());
}

void TForm1::EnterReplayMode() {
    Image2->SetPicture(&pictures_.Strip());
    Image2->show();
    ReplayButton1->setEnabled(true);
    ReplayButton2->setEnabled(true);
    ReplayButton3->setEnabled(true);
    replayBack_->setEnabled(true);
    replayEnd_->setEnabled(true);
    replayCounter_->show();
    UpdateReplayCounter();
}

void TForm1::LeaveReplayMode() {
    Image2->hide();
    ReplayButton1->setEnabled(false);
    ReplayButton2->setEnabled(false);
    ReplayButton3->setEnabled(false);
    replayBack_->setEnabled(false);
    replayEnd_->setEnabled(false);
    replayCounter_->hide();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Paint) {
        QPainter painter(client_);
        board_->PaintSurround(painter, Image2->isVisible() ? Image2->geometry() : QRect());
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Handlers

void TForm1::OnMoveRequested(int from, int to) {
    // A move on a position only looked at follows the record, or branches off it once asked.
    if (variations_->Concerns())
        variations_->Take(from, to, [this](int f, int t) { session_->MoveComa_Screen(f, t); });
    else
        session_->MoveComa_Screen(from, to);
    records_->NoteKeeping();
    play_->Changed();
}

void TForm1::TurnFinished(const TTurnReport&) {
    engine_->TurnFinished();
    play_->Changed();
}

void TForm1::SeatsChanged(const TSeats& seats) {
    if (play_) play_->SeatsChanged(seats);
    if (engine_) engine_->SeatsChanged();
}

// A game left for a new one is kept as interrupted: it is not offered to be continued.
void TForm1::OnButton_StartClick() {
    board_->ClearSelection();
    if (!dialogs_->YesNo(tr("初期化しますか？"))) return;
    session_->LeaveGame();
    session_->NewGame();
    records_->NoteKeeping();
}

void TForm1::OnButton_HisyaKakuClick() {
    board_->ClearSelection();
    if (!dialogs_->YesNo(tr("初期化しますか？"))) return;
    session_->LeaveGame();
    session_->NewHandicapGame();
    records_->NoteKeeping();
}

void TForm1::OnComboBoxClick(int index) {
    if (index < 0 || index >= static_cast<int>(kFormationList.size())) return;
    // COM goes on with the formation it is building; the player is told when the pick takes effect.
    if (!session_->PickFormation(kFormationList[static_cast<std::size_t>(index)]))
        statusBar()->showMessage(tr("%1は次の対局から").arg(ComboBox1->itemText(index)), 8000);
}

// A game ended by 終了 is left on purpose; a window closed otherwise leaves its game to be continued.
void TForm1::OnButton_ExitClick() {
    if (!dialogs_->YesNo(tr("終了しますか？"))) return;
    session_->LeaveGame();
    close();
}

void TForm1::OnButton_TestClick() {
    board_->ClearSelection();
    if (!dialogs_->YesNo(tr("初期化しますか？"))) return;
    session_->LeaveGame();
    session_->NewTestGame();
    records_->NoteKeeping();
}

void TForm1::OnButton_MattaClick() {
    board_->ClearSelection();
    session_->Matta();
    records_->NoteKeeping();
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
    board_->ClearSelection();
    if (dialogs_->YesNo(tr("投了しますか？"))) session_->Resign();
    records_->NoteKeeping();
}

void TForm1::OnReplayForward() {
    session_->ReplayOne();
}

void TForm1::OnReplayBack() {
    session_->ReplayBack();
}

void TForm1::OnReplayEnd() {
    session_->ReplayTo(static_cast<int>(session_->Turns().size()));
}

void TForm1::OnReplayStart() {
    session_->ReplayToStart();
}

bool TForm1::CoordinatesShown() const {
    return board_->CoordinatesShown();
}

bool TForm1::DestinationsShown() const {
    return board_->DestinationsShown();
}

void TForm1::SetCoordinatesShown(bool on) {
    board_->SetCoordinatesShown(on);
    coordinatesAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kCoordinatesKey), on);
}

void TForm1::SetDestinationsShown(bool on) {
    board_->SetDestinationsShown(on);
    destinationsAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kDestinationsKey), on);
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
    board_->SetSquare(square, piece);
}

void TForm1::MoveFrame(SessionFrame frame, int square) {
    board_->MoveFrame(frame, square);
}

void TForm1::RemoveFrame(SessionFrame frame) {
    board_->RemoveFrame(frame);
}

void TForm1::ShowFrame(SessionFrame frame, bool visible) {
    board_->ShowFrame(frame, visible);
}

void TForm1::MarkMoves(const std::vector<TMove>& moves) {
    board_->MarkMoves(moves);
    engine_->BoardChanged();
    // Every change of the game or of the position shown marks moves.
    KifuList->Refresh();
    if (analysis_) analysis_->BoardChanged();
    if (study_) study_->BoardChanged();
    if (!session_) return; // the session is being made
    UpdateReplayCounter();
    play_->Changed();
    // A game played on or resumed brings its own formation with it.
    const auto picked = std::find(kFormationList.begin(), kFormationList.end(), session_->Formation());
    if (picked != kFormationList.end()) ComboBox1->setCurrentIndex(int(picked - kFormationList.begin()));
}

void TForm1::SetReplayMode(bool on) {
    if (on)
        EnterReplayMode();
    else
        LeaveReplayMode();
    for (QShortcut* key : replayKeys_) key->setEnabled(on);
    // A game played again is no longer the file it was opened from.
    if (!on) {
        openedFile_.clear();
        UpdateTitle();
    }
    board_->ClearSelection();
    KifuList->Refresh();
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
    comReason_->setText(text.empty() || QString::fromStdString(text).startsWith(tr("エンジン: "))
                            ? QString::fromStdString(text)
                            : tr("COMの狙い: %1").arg(QString::fromStdString(text)));
}

// ---------------------------------------------------------------------------------------------
// COM's reason

QString TForm1::ComReasonText() const {
    return comReason_ != nullptr ? comReason_->text() : QString();
}

void TForm1::SetKifuListShown(bool on) {
    kifuListShown_ = on;
    kifuListAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kKifuListKey), on);
    KifuList->setVisible(on);
    kifuGrip_->setVisible(on);
    ApplyLayoutSize();
}

void TForm1::SetKifuListWidth(int width) {
    // No wider than the screen leaves room for at the zoom, the window's frame included.
    int widest = Layout::kKifuListMaxWidth;
    if (const QScreen* shown = screen()) {
        const int frame = frameGeometry().width() - geometry().width();
        const int room = int((shown->availableGeometry().width() - frame) / ZoomFactor());
        widest = std::min(widest, room - Layout::kClient.width() - Layout::kKifuMargin);
    }
    width = std::clamp(width, Layout::kKifuRoom - Layout::kKifuMargin,
                       std::max(widest, Layout::kKifuRoom - Layout::kKifuMargin));
    if (width == kifuListWidth_) return;
    kifuListWidth_ = width;
    QSettings().setValue(QString::fromLatin1(kKifuListWidthKey), width);
    ApplyLayoutSize();
}

void TForm1::ApplyLayoutSize() {
    const QSize layout = Layout::ClientSize(kifuListShown_, kifuListWidth_);
    zoom_->SetClientSize(layout);
    client_->SetLayoutSize(layout);
    // The scale may be the same and the controls are placed anew all the same.
    laidOut_ = false;
    // A window that fills the screen keeps its size and draws the layout at the scale that fits it.
    if (isMaximized() || isFullScreen())
        OnClientResized();
    else
        ApplyZoom();
}

void TForm1::SetComReasonShown(bool on) {
    comReasonShown_ = on;
    comReasonAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kComReasonKey), on);
    // The client area keeps its size; the window grows or shrinks by the bar, unless it fills the screen.
    const QSize client = client_->size();
    statusBar()->setVisible(on);
    if (!isMaximized() && !isFullScreen()) FitWindow(client);
}
