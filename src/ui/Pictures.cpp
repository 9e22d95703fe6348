#include "ui/Pictures.h"

#include "board/Kyokumen.h"
#include "ui/Artwork.h"

#include <QBitmap>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

namespace {

const char* const kPieceFiles[28] = {
    "歩.bmp",      "と.bmp",    "香.bmp",    "香成.bmp",    "桂.bmp",      "桂成.bmp",    "銀.bmp",
    "銀成.bmp",    "金.bmp",    "王.bmp",    "角.bmp",      "角成.bmp",    "飛.bmp",      "龍王.bmp",
    "com歩.bmp",   "comと.bmp", "com香.bmp", "com香成.bmp", "com桂.bmp",   "com桂成.bmp", "com銀.bmp",
    "com銀成.bmp", "com金.bmp", "com王.bmp", "com角.bmp",   "com角成.bmp", "com飛.bmp",   "com龍王.bmp",
};

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
    if (size < 18 || bytes[0] != 'B' || bytes[1] != 'M')
        return QCoreApplication::translate("TPictures", "BMP ファイルではありません");
    const qint64 declared = Le(bytes, 2, 4);
    if (declared != size)
        return QCoreApplication::translate(
                   "TPictures", "ヘッダの示す大きさ %1 バイトがファイルの大きさ %2 バイトと違います")
            .arg(declared)
            .arg(size);
    const qint64 infoSize = Le(bytes, 14, 4);
    const bool core = infoSize == 12;
    if ((!core && infoSize < 40) || 14 + infoSize > size)
        return QCoreApplication::translate("TPictures", "ヘッダが壊れています");
    const qint64 width = core ? qint64(Le(bytes, 18, 2)) : qint64(std::int32_t(Le(bytes, 18, 4)));
    const qint64 height =
        core ? qint64(Le(bytes, 20, 2)) : std::llabs(qint64(std::int32_t(Le(bytes, 22, 4))));
    const qint64 depth = Le(bytes, core ? 24 : 28, 2);
    const std::uint32_t compression = core ? 0 : Le(bytes, 30, 4);
    const qint64 offset = Le(bytes, 10, 4);
    if (width <= 0 || height <= 0 || depth == 0 || depth > 32 || offset < 14 + infoSize)
        return QCoreApplication::translate("TPictures", "ヘッダが壊れています");
    // Uncompressed rows are padded to four bytes; compressed pixels are as long as the header says.
    const bool rows = compression == 0 || compression == 3 || compression == 6;
    const qint64 pixels = rows ? (width * depth + 31) / 32 * 4 * height : qint64(Le(bytes, 34, 4));
    if ((!rows && pixels == 0) || offset + pixels > size)
        return QCoreApplication::translate("TPictures",
                                           "画素が途中で切れています（%1 バイトのはずが %2 バイト）")
            .arg(offset + pixels)
            .arg(size);
    return {};
}

QPixmap Resource(const QString& name) {
    return QPixmap(QStringLiteral(":/mirutoa/") + name);
}

// A picture drawn for a screen of ratio device pixels per pixel.
QPixmap ForScreen(const QImage& image, double ratio) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QStringList TPictures::ComaFileNames() {
    QStringList names;
    for (const char* file : kPieceFiles) names << QString::fromUtf8(file);
    return names;
}

void TPictures::LoadComaImages() {
    ComaImages.clear();
    ComaImages.reserve(28);
    for (const QString& file : ComaFileNames()) {
        const auto refuse = [&file](const QString& why) {
            return std::runtime_error(
                QCoreApplication::translate("TPictures", "%1 を読み込めません（%2、フォルダ %3）")
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

void TPictures::DrawEarly(double scale) {
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

bool TPictures::UseEarlyPictures() const {
    if (!early_.valid()) return false;
    const TEarlyPictures early = early_.get();
    // The window opened at another scale after all: its pictures are drawn as they are needed.
    if (earlyScale_ != zoom_ * ratio_) return false;
    boardPicture_ = ForScreen(early.Board, ratio_);
    for (std::size_t i = 0; i < drawnPieces_.size(); ++i)
        if (!early.Pieces[i].isNull() && drawnPieces_[i].isNull())
            drawnPieces_[i] = ForScreen(early.Pieces[i], ratio_);
    return true;
}

bool TPictures::SetScale(double zoom, double ratio) {
    if (zoom == zoom_ && ratio == ratio_) return false;
    zoom_ = zoom;
    ratio_ = ratio;
    for (QPixmap& piece : drawnPieces_) piece = QPixmap();
    if (early_.valid() && earlyScale_ != zoom_ * ratio_) UseEarlyPictures(); // drawn in vain
    if (Bitmaps())
        boardPicture_ = Resource(QStringLiteral("board.png"));
    else if (!early_.valid())
        boardPicture_ = ForScreen(Artwork::Board(zoom_ * ratio_), ratio_);
    stripPicture_ = QPixmap();
    return true;
}

const QPixmap& TPictures::Strip() {
    if (stripPicture_.isNull())
        stripPicture_ = Bitmaps() ? Resource(QStringLiteral("replay.png"))
                                  : ForScreen(Artwork::ReplayStrip(zoom_ * ratio_), ratio_);
    return stripPicture_;
}

const QPixmap* TPictures::ComaPicture(PieceName name) const {
    if (name == PieceName::Empty) return nullptr;
    const std::size_t index = std::size_t(name) - 1;
    if (index >= ComaImages.size()) return nullptr;
    if (Bitmaps()) return &ComaImages[index];
    QPixmap& drawn = drawnPieces_[index];
    if (early_.valid()) UseEarlyPictures();
    if (drawn.isNull())
        drawn = ForScreen(Artwork::Piece(Artwork::PieceNames()[qsizetype(index)], zoom_ * ratio_), ratio_);
    return &drawn;
}
