#include "ui/BoardView.h"

#include "ui/Controls.h"
#include "ui/Layout.h"
#include "ui/Pictures.h"
#include "ui/VariationMoves.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDragMoveEvent>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kFrameRed(255, 0, 0);

bool Contains(const std::vector<int>& squares, int square) {
    return std::find(squares.begin(), squares.end(), square) != squares.end();
}

bool OnBoard(int square) {
    return square >= 11 && square <= 99;
}

// Paints what has changed; input stays queued, so a drag cannot start a turn inside another.
void ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TBoardView::TBoardView(QWidget* area, TPictures& pictures) : area_(area), pictures_(pictures) {
    Image1 = new TPictureBox(area);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Layout::Place("Image1").Rect);
    Image1->setEnabled(false);

    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) {
            const int square = file * 10 + rank;
            auto* image = new TSquareImage(square, area);
            connect(image, &TSquareImage::dragStarted, this, &TBoardView::OnStartComa);
            connect(image, &TSquareImage::dropped, this, &TBoardView::OnDragComa);
            connect(image, &TSquareImage::dragEnded, this, &TBoardView::OnEndComa);
            connect(image, &TSquareImage::clicked, this, &TBoardView::OnClickComa);
            image->setObjectName(QStringLiteral("ban%1").arg(square));
            image->setGeometry(Layout::SquareRect(square));
            image->installEventFilter(this);
            ban_[std::size_t(square)] = image;
        }

    // A frame off the board waits hidden in the client area's top-left corner.
    Waku = new TFrameShape(kFrameRed, Layout::kFramePen, area);
    Waku->setObjectName(QStringLiteral("Waku"));
    Waku->setGeometry(QRect(QPoint(0, 0), Layout::kFrameSize));
    Waku->hide();
    Waku2 = new TFrameShape(kFrameRed, Layout::kFramePen, area);
    Waku2->setObjectName(QStringLiteral("Waku2"));
    Waku2->setGeometry(QRect(QPoint(0, Layout::kSquarePitch), Layout::kFrameSize));
    Waku2->hide();

    // The dragged piece, above everything and transparent to the drag, so that the squares under it
    // still take the drop. The area takes drags too, so that the piece follows the pointer over the
    // other controls, where it cannot be dropped.
    floating_ = new TPictureBox(area);
    floating_->setObjectName(QStringLiteral("FloatingPiece"));
    floating_->setAttribute(Qt::WA_TransparentForMouseEvents);
    floating_->hide();
    area->setAcceptDrops(true);
    area->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Drags and clicks

bool TBoardView::AcceptsMove() const {
    // A position only looked at (an earlier one of the game, a replay) takes the drag too: the window
    // follows the record there, or asks whether to branch off it.
    return taker_ || (session_ != nullptr && (session_->HumanToMove() || LookedAt()));
}

bool TBoardView::LookedAt() const {
    if (session_ == nullptr) return false;
    // The last position of a finished game or line: no move can be made there.
    if (session_->ReplayMode() && session_->GameOver() && session_->ShownMove() == session_->MoveCount())
        return false;
    return session_->Browsing() || session_->ReplayMode();
}

// True when the move from the square is taken; otherwise the last move's squares stay as they were.
bool TBoardView::BeginMove(int from) {
    if (moving_) return false;
    ProcessPendingEvents();
    if (!AcceptsMove()) return false;
    dragFrom_ = from;
    dragTo_ = 0;
    Waku->hide();
    return true;
}

void TBoardView::Drop(int to) {
    if (!moving_ && AcceptsMove()) dragTo_ = to;
}

void TBoardView::FinishMove() {
    if (moving_) return;
    ProcessPendingEvents();
    if (!AcceptsMove()) return;
    moving_ = true;
    if (taker_)
        taker_(dragFrom_, dragTo_);
    else
        emit moveRequested(dragFrom_, dragTo_);
    moving_ = false;
    ShowFrame(SessionFrame::Waku, true);
}

void TBoardView::OnStartComa(int image) {
    ClearSelection();
    const int square = ImageSquare(image);
    if (!BeginMove(square)) return;
    ShowDestinations(square);
    TSquareImage* from = ban_[std::size_t(image)];
    if (!from->HasPicture()) return;
    // The piece leaves its square and follows the pointer from where it was taken.
    floating_->SetPicture(&from->Picture());
    floating_->setGeometry(from->geometry());
    const QPoint taken = from->mapFromGlobal(QCursor::pos());
    hotSpot_ = from->rect().contains(taken) ? taken : from->rect().center();
    floating_->raise();
    floating_->show();
    from->SetLifted(true);
}

void TBoardView::OnDragComa(int image) {
    Drop(ImageSquare(image));
}

void TBoardView::OnEndComa(int image) {
    destinations_.clear();
    RefreshMarks();
    floating_->hide();
    floating_->SetPicture(nullptr);
    // The square stays empty while the move is played, and shows its piece again if it was refused.
    FinishMove();
    if (OnBoard(image) && ban_[std::size_t(image)] != nullptr) ban_[std::size_t(image)]->SetLifted(false);
}

bool TBoardView::eventFilter(QObject* watched, QEvent* event) {
    const bool drag = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
    if (!drag || !floating_->isVisible()) return QObject::eventFilter(watched, event);
    auto* move = static_cast<QDragMoveEvent*>(event);
    const QPoint at = static_cast<QWidget*>(watched)->mapTo(area_, move->position().toPoint());
    floating_->move(at - hotSpot_);
    if (watched != area_) return false;
    // Off the board the piece follows the pointer but cannot be dropped.
    if (event->type() == QEvent::DragEnter)
        move->acceptProposedAction();
    else
        move->ignore();
    return true;
}

void TBoardView::OnClickComa(int image) {
    const int square = ImageSquare(image);
    const int from = selected_;
    const bool destination = Contains(destinations_, square);
    ClearSelection();
    if (session_ == nullptr || !(session_->HumanToMove() || LookedAt())) return;
    if (from != 0 && destination) {
        // The same move a drag from -> square makes.
        BeginMove(from);
        Drop(square);
        FinishMove();
        return;
    }
    if (square == from) return;
    const PieceName piece = session_->Position().Board[std::size_t(square)];
    // On a position only looked at, the pieces of the side to move there that can move.
    const bool mine = session_->HumanToMove()
                          ? piece != PieceName::Empty && SideOf(piece) == session_->SideToMove()
                          : !ShownDestinations(*session_, square).empty();
    if (mine) {
        selected_ = square;
        ShowDestinations(square);
    }
}

void TBoardView::ShowDestinations(int from) {
    destinations_ = session_ == nullptr       ? std::vector<int>()
                    : session_->HumanToMove() ? session_->LegalDestinations(from)
                                              : ShownDestinations(*session_, from);
    RefreshMarks();
}

void TBoardView::ClearSelection() {
    selected_ = 0;
    destinations_.clear();
    RefreshMarks();
}

void TBoardView::RefreshMarks() {
    // By image: each square of the record marks the image that shows it.
    std::array<unsigned, 100> marks{};
    for (const TMove& m : lastMoves_)
        for (int square : {m.From, m.To})
            if (OnBoard(square)) marks[std::size_t(ImageSquare(square))] |= TSquareImage::LastMove;
    if (selected_ != 0) marks[std::size_t(ImageSquare(selected_))] |= TSquareImage::Selected;
    if (destinationsShown_)
        for (int square : destinations_) marks[std::size_t(ImageSquare(square))] |= TSquareImage::Destination;
    for (std::size_t square = 0; square < ban_.size(); ++square)
        if (ban_[square] != nullptr) ban_[square]->SetMarks(marks[square]);
}

void TBoardView::SetDestinationsShown(bool on) {
    destinationsShown_ = on;
    RefreshMarks();
}

void TBoardView::SetCoordinatesShown(bool on) {
    coordinatesShown_ = on;
    area_->update();
}

// ---------------------------------------------------------------------------------------------
// Pieces, frames and marks

void TBoardView::SetSquare(int square, PieceName piece) {
    if (!OnBoard(square) || ban_[std::size_t(square)] == nullptr) return;
    shown_[std::size_t(square)] = piece;
    if (piece != PieceName::Empty && pictures_.EarlyPending()) UseEarlyPictures();
    // Turned, each side's pieces stand upright at its own end: the other side's pictures show them.
    ban_[std::size_t(ImageSquare(square))]->SetPicture(
        pictures_.ComaPicture(flipped_ ? OtherSide(piece) : piece));
}

void TBoardView::SetFlipped(bool on) {
    if (on == flipped_) return;
    flipped_ = on;
    for (int square = 11; square <= 99; ++square)
        if (OnBoard(square)) SetSquare(square, shown_[std::size_t(square)]);
    for (SessionFrame which : {SessionFrame::Waku, SessionFrame::Waku2}) {
        const int square = frameSquare_[std::size_t(which)];
        if (square != 0) Frame(which)->move(ban_[std::size_t(ImageSquare(square))]->pos());
    }
    RefreshMarks();
    area_->update();
}

void TBoardView::RedrawBoard(const TKyokumen& position) {
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) SetSquare(file * 10 + rank, position.Board[file * 10 + rank]);
}

TFrameShape* TBoardView::Frame(SessionFrame frame) const {
    return frame == SessionFrame::Waku ? Waku : Waku2;
}

void TBoardView::MoveFrame(SessionFrame frame, int square) {
    if (!OnBoard(square) || ban_[std::size_t(square)] == nullptr) return;
    frameSquare_[std::size_t(frame)] = square;
    Frame(frame)->move(ban_[std::size_t(ImageSquare(square))]->pos());
}

// A frame off the board waits hidden in the layout's top-left corner, and stays hidden until it
// is put on a square again: a frame marks nothing anywhere else.
void TBoardView::RemoveFrame(SessionFrame frame) {
    frameSquare_[std::size_t(frame)] = 0;
    Frame(frame)->move(origin_);
    Frame(frame)->setVisible(false);
}

void TBoardView::ShowFrame(SessionFrame frame, bool visible) {
    Frame(frame)->setVisible(visible && frameSquare_[std::size_t(frame)] != 0);
}

void TBoardView::MarkMoves(const std::vector<TMove>& moves) {
    lastMoves_ = moves;
    RefreshMarks();
}

// ---------------------------------------------------------------------------------------------
// Zoom and pictures

void TBoardView::ApplyZoom(double zoom, QPoint origin) {
    Image1->setGeometry(Layout::Scaled(Layout::Place("Image1").Rect, zoom).translated(origin));
    for (TSquareImage* square : ban_)
        if (square != nullptr)
            square->setGeometry(
                Layout::Scaled(Layout::SquareRect(square->Square()), zoom).translated(origin));
    for (SessionFrame which : {SessionFrame::Waku, SessionFrame::Waku2}) {
        TFrameShape* frame = Frame(which);
        frame->resize(Layout::Scaled(Layout::kFrameSize, zoom));
        frame->SetPenWidth(Layout::Scaled(Layout::kFramePen, zoom));
        const int square = frameSquare_[std::size_t(which)];
        // A frame off the board keeps its resting place, hidden.
        const QPoint rest = frame->pos() - origin_;
        frame->move(square != 0 ? ban_[std::size_t(ImageSquare(square))]->pos()
                                : QPoint(Layout::Scaled(int(std::lround(rest.x() / zoom_)), zoom),
                                         Layout::Scaled(int(std::lround(rest.y() / zoom_)), zoom)) +
                                      origin);
    }
    zoom_ = zoom;
    origin_ = origin;
}

void TBoardView::ShowPictures() {
    Image1->SetPicture(&pictures_.Board());
    for (int square = 11; square <= 99; ++square)
        if (OnBoard(square)) SetSquare(square, shown_[std::size_t(square)]);
}

void TBoardView::UseEarlyPictures() {
    if (pictures_.UseEarlyPictures()) Image1->SetPicture(&pictures_.Board());
}

QRect TBoardView::SquareRect(int square) const {
    if (square < 0 || square >= int(ban_.size()) || ban_[std::size_t(square)] == nullptr) return {};
    return ban_[std::size_t(ImageSquare(square))]->geometry();
}

QString TBoardView::RankLabel(int row) const {
    // In English the ranks are the letters a–i of the Western notation the texts use.
    const QString ranks = tr("一二三四五六七八九");
    return ranks.mid((flipped_ ? 10 - row : row) - 1, 1);
}

QString TBoardView::FileLabel(int column) const {
    const QString files = tr("１２３４５６７８９");
    return files.mid((flipped_ ? column : 10 - column) - 1, 1);
}

QRectF TBoardView::Rim() const {
    const double rimWidth = Layout::kRimWidth * zoom_;
    return QRectF(Image1->geometry()).adjusted(-rimWidth, -rimWidth, rimWidth, rimWidth);
}

void TBoardView::PaintSurround(QPainter& p, const QRect& strip) const {
    // A darker wooden rim round the board, in the margin the layout leaves about it.
    p.setRenderHint(QPainter::Antialiasing, true);
    const double zoom = zoom_;
    const QRectF rim = Rim();
    QLinearGradient wood(rim.topLeft(), rim.bottomRight());
    wood.setColorAt(0.0, QColor(196, 140, 76));
    wood.setColorAt(1.0, QColor(150, 98, 44));
    p.setPen(QPen(QColor(96, 60, 24), zoom));
    p.setBrush(wood);
    p.drawRoundedRect(rim, 3 * zoom, 3 * zoom);
    if (coordinatesShown_) PaintCoordinates(p, strip);
}

void TBoardView::PaintCoordinates(QPainter& p, const QRect& strip) const {
    // Rank numerals left of the board, each beside its row; file numbers under the board (or under the
    // replay strip), each below its column, 9 on the left as the squares are; turned, 一 at the foot and
    // 1 on the left.
    const double zoom = zoom_;
    const QRectF rim = Rim();
    p.setFont(JapaneseFont(Layout::Scaled(Layout::kCoordinateFontPx, zoom)));
    p.setPen(QColor(40, 28, 16));
    const double gap = Layout::kCoordinateGap * zoom;
    const double fileTop = !strip.isNull() ? strip.bottom() + zoom : rim.bottom() + gap;
    const double rankRight = rim.left() - gap;
    const double insideScale = double(Layout::kSquareInside) / Layout::kSquareSize;
    for (int i = 1; i <= 9; ++i) {
        const QRect row = ban_[std::size_t(90 + i)]->geometry();
        p.drawText(QRectF(0, row.top(), rankRight, row.height() * insideScale),
                   Qt::AlignRight | Qt::AlignVCenter, RankLabel(i));
        const QRect column = ban_[std::size_t(i * 10 + 9)]->geometry();
        p.drawText(QRectF(column.left(), fileTop, column.width() * insideScale, area_->height() - fileTop),
                   Qt::AlignHCenter | Qt::AlignTop, FileLabel(10 - i));
    }
}

QImage TBoardView::Picture() const {
    const double zoom = zoom_;
    const QRectF rim = Rim();
    const int fontPx = Layout::Scaled(Layout::kCoordinateFontPx, zoom);
    const double gap = Layout::kCoordinateGap * zoom;
    // The rim, the rank numerals left of it and the file numbers under it, in a margin of three gaps.
    const double margin = 3 * gap;
    const QRect region = QRectF(QPointF(rim.left() - gap - fontPx * 1.2 - margin, rim.top() - margin),
                                QPointF(rim.right() + margin, rim.bottom() + gap + fontPx * 1.3 + margin))
                             .toAlignedRect();
    const qreal ratio = Image1->devicePixelRatioF();
    QImage picture(region.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.translate(-region.topLeft());
    // Drawn in the client area's frame, where the rank numerals reach from its left edge.
    p.setClipRect(region);
    PaintSurround(p, QRect());
    if (!coordinatesShown_) PaintCoordinates(p, QRect());
    p.drawPixmap(Image1->geometry().topLeft(), pictures_.Board());
    for (int square = 11; square <= 99; ++square) {
        const PieceName piece = OnBoard(square) ? shown_[std::size_t(square)] : PieceName::Empty;
        if (piece == PieceName::Empty) continue;
        if (const QPixmap* image = pictures_.ComaPicture(flipped_ ? OtherSide(piece) : piece))
            p.drawPixmap(ban_[std::size_t(ImageSquare(square))]->geometry().topLeft(), *image);
    }
    return picture;
}
