#include "ui/PositionEditor.h"

#include "board/PositionCheck.h"
#include "session/PositionText.h"
#include "ui/Controls.h"
#include "ui/Layout.h"
#include "ui/Pictures.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

// The editor's layout at 100 %: the rank numerals left of the board, the second player's stand above
// it, the first player's below the file numbers. The board picture and its squares are the window's.
constexpr int kLeft = 24;
constexpr int kStandTop = 4;
constexpr int kBoardTop = 52;
constexpr int kBoardSize = 362;
constexpr int kSquareOffset = 2; // the first square's corner inside the board picture
constexpr int kFilesTop = kBoardTop + kBoardSize + 2;
constexpr int kLowerStandTop = kFilesTop + 20;
constexpr QSize kSize{kLeft + kBoardSize + 8, kLowerStandTop + Layout::kSquarePitch + 4};
constexpr int kStandLeft = kLeft + (kBoardSize - 8 * Layout::kSquarePitch) / 2;

// The kinds on a stand, from the king down.
constexpr std::array kStandKinds = {PieceName::Ou,  PieceName::Hi,  PieceName::Kaku, PieceName::Kin,
                                    PieceName::Gin, PieceName::Kei, PieceName::Kyo,  PieceName::Fu};

bool Promotable(PieceName p) {
    return HumanKind(p) == UnpromotedKind(p) && HumanKind(p) != PieceName::Kin &&
           HumanKind(p) != PieceName::Ou;
}

// A right click: an unpromoted piece promotes; a promoted piece, a gold or a king goes to the other side
// unpromoted, so that clicks run through every form of the piece.
PieceName Turned(PieceName p) {
    if (Promotable(p)) return PieceName(std::uint8_t(p) + 1);
    const PieceName plain = IsCom(p) ? OtherSide(UnpromotedKind(p)) : UnpromotedKind(p);
    return OtherSide(plain);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The board and the stands

TEditorBoard::TEditorBoard(const TPictures& pictures, double zoom, QWidget* parent)
    : QWidget(parent), pictures_(pictures), zoom_(zoom) {
    setObjectName(QStringLiteral("EditorBoard"));
    setFixedSize(sizeHint());
    setMouseTracking(true);
}

QSize TEditorBoard::sizeHint() const {
    return Layout::Scaled(kSize, zoom_);
}

void TEditorBoard::SetBoard(const TBoard& board) {
    board_ = {};
    for (int sq = 11; sq <= 99; ++sq)
        if (OnBoard(FileOf(sq), RankOf(sq))) board_[std::size_t(sq)] = board[std::size_t(sq)];
    update();
    emit changed();
}

void TEditorBoard::Put(int square, PieceName piece) {
    if (!OnBoard(FileOf(square), RankOf(square))) return;
    board_[std::size_t(square)] = piece;
    update();
    emit changed();
}

void TEditorBoard::Move(int from, int to) {
    if (from == to || !OnBoard(FileOf(from), RankOf(from))) return;
    const PieceName p = board_[std::size_t(from)];
    board_[std::size_t(from)] = PieceName::Empty;
    if (OnBoard(FileOf(to), RankOf(to))) board_[std::size_t(to)] = p;
    update();
    emit changed();
}

void TEditorBoard::Turn(int square) {
    if (!OnBoard(FileOf(square), RankOf(square)) || board_[std::size_t(square)] == PieceName::Empty) return;
    Put(square, Turned(board_[std::size_t(square)]));
}

int TEditorBoard::Left(PieceName piece) const {
    int placed = 0;
    for (int sq = 11; sq <= 99; ++sq) {
        const PieceName p = board_[std::size_t(sq)];
        placed +=
            p != PieceName::Empty && IsCom(p) == IsCom(piece) && UnpromotedKind(p) == UnpromotedKind(piece);
    }
    return PiecesOfKind(piece) - placed;
}

QRect TEditorBoard::BoardRect() const {
    return Layout::Scaled(QRect(kLeft, kBoardTop, kBoardSize, kBoardSize), zoom_);
}

QRect TEditorBoard::SquareRect(int square) const {
    if (!OnBoard(FileOf(square), RankOf(square))) return {};
    const int x = kLeft + kSquareOffset + (9 - FileOf(square)) * Layout::kSquarePitch;
    const int y = kBoardTop + kSquareOffset + (RankOf(square) - 1) * Layout::kSquarePitch;
    return Layout::Scaled(QRect(x, y, Layout::kSquareInside, Layout::kSquareInside), zoom_);
}

QRect TEditorBoard::StandRect(PieceName piece) const {
    for (std::size_t i = 0; i < kStandKinds.size(); ++i)
        if (kStandKinds[i] == HumanKind(piece)) {
            const int top = IsCom(piece) ? kStandTop : kLowerStandTop;
            return Layout::Scaled(QRect(kStandLeft + int(i) * Layout::kSquarePitch, top,
                                        Layout::kSquareInside, Layout::kSquareInside),
                                  zoom_);
        }
    return {};
}

int TEditorBoard::SquareAt(QPoint p) const {
    for (int sq = 11; sq <= 99; ++sq)
        if (OnBoard(FileOf(sq), RankOf(sq)) && SquareRect(sq).contains(p)) return sq;
    return 0;
}

PieceName TEditorBoard::StandAt(QPoint p) const {
    for (PieceName kind : kStandKinds)
        for (PieceName piece : {kind, OtherSide(kind)})
            if (StandRect(piece).contains(p)) return piece;
    return PieceName::Empty;
}

void TEditorBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawPixmap(BoardRect(), pictures_.Board());
    p.setFont(JapaneseFont(Layout::Scaled(Layout::kCoordinateFontPx, zoom_)));
    p.setPen(QColor(40, 28, 16));
    const QString ranks = QCoreApplication::translate("TBoardView", "一二三四五六七八九");
    const QString files = QCoreApplication::translate("TBoardView", "１２３４５６７８９");
    for (int i = 1; i <= 9; ++i) {
        const QRect row = SquareRect(90 + i);
        p.drawText(QRect(0, row.top(), BoardRect().left() - Layout::Scaled(3, zoom_), row.height()),
                   Qt::AlignRight | Qt::AlignVCenter, ranks.mid(i - 1, 1));
        const QRect column = SquareRect(i * 10 + 9);
        p.drawText(
            QRect(column.left(), Layout::Scaled(kFilesTop, zoom_), column.width(), Layout::Scaled(18, zoom_)),
            Qt::AlignHCenter | Qt::AlignTop, files.mid(i - 1, 1));
    }
    for (int sq = 11; sq <= 99; ++sq) {
        const PieceName piece = board_[std::size_t(sq)];
        if (piece == PieceName::Empty || (sq == dragFrom_ && dragPiece_ != PieceName::Empty)) continue;
        if (const QPixmap* picture = pictures_.ComaPicture(piece)) p.drawPixmap(SquareRect(sq), *picture);
    }
    PaintStand(p, Side::Gote);
    PaintStand(p, Side::Sente);
    if (dragPiece_ != PieceName::Empty)
        if (const QPixmap* picture = pictures_.ComaPicture(dragPiece_)) {
            QRect floating = SquareRect(11);
            floating.moveCenter(pointer_);
            p.drawPixmap(floating, *picture);
        }
}

// A stand: each kind's picture, greyed when the side's twenty hold no more of it, with how many more.
void TEditorBoard::PaintStand(QPainter& p, Side side) const {
    p.setFont(JapaneseFont(Layout::Scaled(11, zoom_)));
    for (PieceName kind : kStandKinds) {
        const PieceName piece = side == Side::Gote ? OtherSide(kind) : kind;
        const QRect cell = StandRect(piece);
        const int left = Left(piece);
        p.setOpacity(left > 0 ? 1.0 : 0.3);
        if (const QPixmap* picture = pictures_.ComaPicture(piece)) p.drawPixmap(cell, *picture);
        p.setOpacity(1.0);
        p.setPen(left < 0 ? QColor(200, 0, 0) : QColor(40, 28, 16));
        p.drawText(cell.adjusted(0, 0, Layout::Scaled(2, zoom_), Layout::Scaled(2, zoom_)),
                   Qt::AlignRight | Qt::AlignBottom, QString::number(left));
    }
}

void TEditorBoard::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int square = SquareAt(at);
    if (event->button() == Qt::RightButton) return Turn(square);
    if (event->button() != Qt::LeftButton) return;
    if (square != 0 && board_[std::size_t(square)] != PieceName::Empty) {
        dragFrom_ = square;
        dragPiece_ = board_[std::size_t(square)];
    } else if (const PieceName stand = StandAt(at); stand != PieceName::Empty && Left(stand) > 0) {
        dragFrom_ = 0;
        dragPiece_ = stand;
    }
    pointer_ = at;
    update();
}

void TEditorBoard::mouseMoveEvent(QMouseEvent* event) {
    if (dragPiece_ == PieceName::Empty) return;
    pointer_ = event->position().toPoint();
    update();
}

void TEditorBoard::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragPiece_ == PieceName::Empty) return;
    const int to = SquareAt(event->position().toPoint());
    const int from = dragFrom_;
    const PieceName piece = dragPiece_;
    dragFrom_ = 0;
    dragPiece_ = PieceName::Empty;
    // A piece from the board dropped off it leaves the board; one from a stand dropped off it goes back.
    if (from != 0)
        Move(from, to);
    else if (to != 0)
        Put(to, piece);
    update();
}

// ---------------------------------------------------------------------------------------------
// The dialog

TPositionEditor::TPositionEditor(const TEditedStart& start, const TPictures& pictures, double zoom,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PositionEditor"));
    setWindowTitle(tr("局面編集"));
    board_ = new TEditorBoard(pictures, zoom, this);
    connect(board_, &TEditorBoard::changed, this, &TPositionEditor::Judge);

    auto* side = new QVBoxLayout;
    auto* turn = new QLabel(tr("手番"), this);
    senteToMove_ = new QRadioButton(tr("▲先手番"), this);
    senteToMove_->setObjectName(QStringLiteral("SenteToMove"));
    goteToMove_ = new QRadioButton(tr("△後手番"), this);
    goteToMove_->setObjectName(QStringLiteral("GoteToMove"));
    auto* sides = new QButtonGroup(this);
    sides->addButton(senteToMove_);
    sides->addButton(goteToMove_);
    connect(sides, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) Judge();
    });
    side->addWidget(turn);
    side->addWidget(senteToMove_);
    side->addWidget(goteToMove_);
    side->addSpacing(12);
    const auto preset = [&](const QString& text, const char* name, void (TPositionEditor::*use)()) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, use);
        side->addWidget(button);
    };
    preset(tr("平手"), "EvenPreset", &TPositionEditor::UseEven);
    preset(tr("飛車角落ち"), "HandicapPreset", &TPositionEditor::UseHandicap);
    preset(tr("空の盤"), "EmptyPreset", &TPositionEditor::Clear);
    side->addSpacing(12);
    auto* help = new QLabel(tr("駒台から盤へ、盤のマスからマスへ駒をドラッグします。盤の外へ出した駒は"
                               "取り除かれます。右クリックで駒が成り、成った駒は相手の駒になります。"),
                            this);
    help->setWordWrap(true);
    side->addWidget(help);
    side->addStretch(1);
    reason_ = new QLabel(this);
    reason_->setObjectName(QStringLiteral("PositionReason"));
    reason_->setWordWrap(true);
    side->addWidget(reason_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    play_ = buttons->button(QDialogButtonBox::Ok);
    play_->setText(tr("この局面で対局"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(board_);
    top->addLayout(side, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    SetPosition(start);
}

TEditedStart TPositionEditor::Position() const {
    return {board_->Board(), goteToMove_->isChecked() ? Side::Gote : Side::Sente};
}

void TPositionEditor::SetPosition(const TEditedStart& start) {
    (start.ToMove == Side::Gote ? goteToMove_ : senteToMove_)->setChecked(true);
    board_->SetBoard(start.Board);
}

void TPositionEditor::UseEven() {
    SetPosition({KifStartPosition(KifStart::Even).Board, Side::Sente});
}

void TPositionEditor::UseHandicap() {
    SetPosition({KifStartPosition(KifStart::Handicap).Board, Side::Sente});
}

void TPositionEditor::Clear() {
    board_->SetBoard({});
}

void TPositionEditor::Judge() {
    const TEditedStart start = Position();
    const TPositionCheck check = CheckPosition(start.Board, start.ToMove);
    refusal_ = check.Sound() ? QString() : QString::fromStdString(PositionFaultText(check));
    reason_->setText(check.Sound() ? tr("この局面から対局できます。")
                                   : tr("この局面からは指せません: %1").arg(refusal_));
    QPalette palette = reason_->palette();
    palette.setColor(QPalette::WindowText, check.Sound() ? QColor(0, 100, 0) : QColor(190, 0, 0));
    reason_->setPalette(palette);
    play_->setEnabled(check.Sound());
}
