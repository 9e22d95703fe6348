#include "ui/Artwork.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Artwork {

namespace {

const QColor kGold(183, 138, 15);
const QColor kInk(24, 18, 12);
const QColor kPromotedInk(200, 16, 16);

// A small generator of our own, so the grain does not depend on the C library.
struct Lcg {
    std::uint32_t s;
    explicit Lcg(std::uint32_t seed) : s(seed) {}
    double Next() { // 0 <= x < 1
        s = s * 1664525u + 1013904223u;
        return double(s >> 8) / double(1u << 24);
    }
};

// One piece kind as it is drawn: its file name stem, the glyph on its face, its size class.
struct PieceKind {
    const char* Name;  // the piece name, also the file name without ".bmp"
    const char* Glyph; // what is written on the face
    bool Promoted;     // red ink
    int Height;        // the piece's outline, at scale 1
    int Width;
};

// In the order of the picture table: the human's fourteen, COM's are the same turned over.
constexpr std::array<PieceKind, 14> kPieces = {{
    {"歩", "歩", false, 31, 27},
    {"と", "と", true, 31, 27},
    {"香", "香", false, 32, 28},
    {"香成", "杏", true, 32, 28},
    {"桂", "桂", false, 33, 29},
    {"桂成", "圭", true, 33, 29},
    {"銀", "銀", false, 34, 31},
    {"銀成", "全", true, 34, 31},
    {"金", "金", false, 34, 31},
    {"王", "王", false, 36, 33},
    {"角", "角", false, 35, 32},
    {"角成", "馬", true, 35, 32},
    {"飛", "飛", false, 35, 32},
    {"龍王", "龍", true, 35, 32},
}};

// The pentagon of a shogi piece standing on the bottom edge of a box of the given size, centred.
QPolygonF PieceOutline(double boxW, double boxH, double w, double h) {
    const double left = (boxW - w) / 2.0;
    const double right = left + w;
    const double bottom = boxH - (boxH - h) / 2.0;
    const double top = bottom - h;
    const double shoulderY = top + h * 0.24;
    const double inset = w * 0.12;
    return QPolygonF({QPointF((left + right) / 2.0, top), QPointF(right - inset, shoulderY),
                      QPointF(right, bottom), QPointF(left, bottom), QPointF(left + inset, shoulderY)});
}

// The pentagon turned half round inside its box, as COM's pieces stand.
QPolygonF TurnedOver(const QPolygonF& outline, double boxW, double boxH) {
    QPolygonF turned;
    for (const QPointF& pt : outline) turned << QPointF(boxW - pt.x(), boxH - pt.y());
    return turned;
}

// The piece itself (the human's way up) on a transparent box of boxSize.
QImage DrawPieceBody(const QString& family, const QString& glyph, bool promoted, const QPolygonF& outline,
                     int boxSize, std::uint32_t grainSeed) {
    const double scale = boxSize / double(kPieceBox);
    QImage img(boxSize, boxSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    const QRectF bounds = outline.boundingRect();

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Pale boxwood, lighter at the top, with a few faint grain lines.
    QLinearGradient wood(bounds.topLeft(), bounds.bottomRight());
    wood.setColorAt(0.0, QColor(253, 236, 188));
    wood.setColorAt(1.0, QColor(234, 200, 136));
    p.setBrush(wood);
    p.setPen(QPen(QColor(120, 82, 36), 1.0 * scale));
    p.drawPolygon(outline);

    QPainterPath clip;
    clip.addPolygon(outline);
    p.save();
    p.setClipPath(clip);
    Lcg rng(grainSeed);
    for (int i = 0; i < 5; ++i) {
        const double x = bounds.left() + bounds.width() * (0.1 + 0.8 * rng.Next());
        const double bend = (rng.Next() - 0.5) * 3.0 * scale;
        QPainterPath line;
        line.moveTo(x, bounds.top());
        line.cubicTo(x + bend, bounds.top() + bounds.height() / 3, x - bend,
                     bounds.top() + bounds.height() * 2 / 3, x + bend / 2, bounds.bottom());
        p.setPen(QPen(QColor(200, 160, 95, 70), 0.8 * scale));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    p.restore();

    // The name, as large as the face allows.
    QFont font(family);
    font.setPixelSize(int(std::lround((glyph.size() > 1 ? 13.0 : 20.0) * scale)));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    p.setFont(font);
    p.setPen(promoted ? kPromotedInk : kInk);
    const QRectF face(bounds.left(), bounds.top() + bounds.height() * 0.24, bounds.width(),
                      bounds.height() * 0.74);
    p.drawText(face, Qt::AlignCenter, glyph);
    p.end();
    return img;
}

constexpr double kShadowOffset = 0.9;

// The piece on its background with a soft shadow to the lower right, whichever way it faces.
QImage Compose(const QImage& body, const QPolygonF& outline, const QColor& background) {
    const double scale = body.width() / double(kPieceBox);
    QImage img(body.size(), QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 30, 90));
    p.drawPolygon(outline.translated(kShadowOffset * scale, kShadowOffset * scale));
    p.drawImage(0, 0, body);
    p.end();
    return img;
}

// The piece on a transparent ground with its shadow to the lower right, for drawing straight onto
// the board (and, with a darker shadow, the icon).
QImage OnClearGround(const QImage& body, const QPolygonF& outline, const QColor& shadow,
                     QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    const double scale = body.width() / double(kPieceBox);
    QImage img(body.size(), format);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawPolygon(outline.translated(kShadowOffset * scale, kShadowOffset * scale));
    p.drawImage(0, 0, body);
    p.end();
    return img;
}

// Every pixel that the outline does not touch gets exactly the key colour, and no pixel of the piece
// itself may carry it, so that the window can cut the piece out by that colour.
void KeyOutBackground(QImage& img, const QPolygonF& outline, const QColor& key, double scale) {
    QImage cover(img.size(), QImage::Format_RGB32);
    cover.fill(Qt::black);
    QPainter p(&cover);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 1.0 * scale));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    // The shadow belongs to the piece too.
    p.drawPolygon(outline.translated(kShadowOffset * scale, kShadowOffset * scale));
    p.end();
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* c = reinterpret_cast<const QRgb*>(cover.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qRed(c[x]) == 0)
                row[x] = keyRgb;
            else if ((row[x] & 0xffffff) == (keyRgb & 0xffffff))
                row[x] = qRgb(qRed(keyRgb), qGreen(keyRgb), qBlue(keyRgb) + 1);
        }
    }
}

// The board's grain at scale 1: a column offset made of a slow wave and fine random streaks, and a
// slight drift of each row so the grain is not ruler-straight.
struct Grain {
    std::array<double, kBoardSize + 8> Column{};
    std::array<int, kBoardSize> Drift{};
    Grain() {
        Lcg rng(0xb0a4d5u);
        double slow = 0.0;
        for (double& c : Column) {
            slow = slow * 0.9 + (rng.Next() - 0.5) * 3.0;
            const double streak = rng.Next() < 0.08 ? -(5.0 + 8.0 * rng.Next()) : 0.0;
            c = slow + streak + (rng.Next() - 0.5) * 2.5;
        }
        double d = 0.0;
        for (int& v : Drift) {
            d += (rng.Next() - 0.5) * 0.35;
            d = std::clamp(d, 0.0, 7.0);
            v = int(d);
        }
    }
    QRgb At(int x, int y) const {
        const double g = Column[std::size_t(x + Drift[std::size_t(y)])];
        const int delta = int(std::lround(g));
        return qRgb(std::clamp(kBoardWood.red() + delta, 0, 255),
                    std::clamp(kBoardWood.green() + delta, 0, 255),
                    std::clamp(kBoardWood.blue() + delta * 2 / 3, 0, 255));
    }
};

int Scaled(int size, double scale) {
    return int(std::lround(size * scale));
}

} // namespace

QString LetteringFamily() {
    // Asked once: the font list does not change while the program runs, and every piece asks.
    static const QString family = [] {
        const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
        for (const QString& wanted : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")})
            if (families.contains(wanted)) return wanted;
        if (!families.isEmpty()) return families.first();
        return QStringLiteral("IPAGothic");
    }();
    return family;
}

const QStringList& PieceNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const PieceKind& kind : kPieces) list << QString::fromUtf8(kind.Name);
        for (const PieceKind& kind : kPieces) list << QStringLiteral("com") + QString::fromUtf8(kind.Name);
        return list;
    }();
    return names;
}

QImage Piece(const QString& name, double scale, bool keyed) {
    const bool com = name.startsWith(QStringLiteral("com"));
    const QString stem = com ? name.mid(3) : name;
    for (std::size_t i = 0; i < kPieces.size(); ++i) {
        const PieceKind& kind = kPieces[i];
        if (stem != QString::fromUtf8(kind.Name)) continue;
        const int box = Scaled(kPieceBox, scale);
        const double s = box / double(kPieceBox);
        const QPolygonF upright = PieceOutline(box, box, kind.Width * s, kind.Height * s);
        const QImage body = DrawPieceBody(LetteringFamily(), QString::fromUtf8(kind.Glyph), kind.Promoted,
                                          upright, box, 0x5eed0000u + std::uint32_t(i));
        // COM's pieces face the human: the same piece turned half round, its shadow still falling to
        // the lower right.
        const QPolygonF outline = com ? TurnedOver(upright, box, box) : upright;
        const QImage face = com ? body.mirrored(true, true) : body;
        if (!keyed) return OnClearGround(face, outline, QColor(120, 80, 30, 90));
        QImage img = Compose(face, outline, kBoardWood);
        KeyOutBackground(img, outline, kBoardWood, s);
        return img;
    }
    return {};
}

QImage Board(double scale) {
    static const Grain grain;
    const int size = Scaled(kBoardSize, scale);
    QImage img(size, size, QImage::Format_RGB32);
    // Every device pixel takes the grain of the picture pixel it lies in. The window draws the board
    // while it starts, so each picture row is worked out once and device rows that fall in the same
    // picture row are copies.
    std::vector<int> sourceX(std::size_t(size), 0);
    for (int x = 0; x < size; ++x) sourceX[std::size_t(x)] = std::min(int(x / scale), kBoardSize - 1);
    std::array<QRgb, kBoardSize> source{};
    int sourceRow = -1;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const int gy = std::min(int(y / scale), kBoardSize - 1);
        if (gy == sourceRow) {
            std::memcpy(row, img.constScanLine(y - 1), std::size_t(size) * sizeof(QRgb));
            continue;
        }
        sourceRow = gy;
        for (int gx = 0; gx < kBoardSize; ++gx) source[std::size_t(gx)] = grain.At(gx, gy);
        for (int x = 0; x < size; ++x) row[x] = source[std::size_t(sourceX[std::size_t(x)])];
    }
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    // Whole device pixels, so the lines stay sharp at every scale.
    const int line = std::max(1, Scaled(2, scale));
    for (int i = 0; i <= 9; ++i) {
        const int at = Scaled(i * kPitch, scale);
        p.drawRect(at, 0, line, size);
        p.drawRect(0, at, size, line);
    }
    // The four star points that mark the camps.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int gx : {3, 6})
        for (int gy : {3, 6})
            p.drawEllipse(QPointF((gx * kPitch + 1.0) * scale, (gy * kPitch + 1.0) * scale), 3.2 * scale,
                          3.2 * scale);
    p.end();
    return img;
}

QImage ReplayStrip(double scale) {
    QImage img(Scaled(kStripWidth, scale), Scaled(kStripHeight, scale), QImage::Format_RGB32);
    img.fill(QColor(240, 240, 240));
    QPainter p(&img);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Left to right: one move back, to the start, one move on, two moves on, to the end; the counter
    // is a label of the window's over the strip's left end. The first button is the narrowest, so
    // that the counter has room for "999 / 999手".
    const int starts[5] = {72, 115, 170, 225, 281};
    const int widths[5] = {35, 47, 47, 47, 47};
    for (int b = 0; b < 5; ++b) {
        const QRectF r(starts[b] + 0.5, 3.5, widths[b], 17);
        QLinearGradient face(r.topLeft(), r.bottomLeft());
        face.setColorAt(0.0, kGold.lighter(125));
        face.setColorAt(0.5, kGold);
        face.setColorAt(1.0, kGold.darker(125));
        p.setPen(QPen(kGold.darker(160), 1.0));
        p.setBrush(face);
        p.drawRoundedRect(r, 3, 3);

        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const double cy = r.center().y();
        auto right = [&](double x) { p.drawPolygon(QPolygonF({{x, cy - 5}, {x + 8, cy}, {x, cy + 5}})); };
        auto left = [&](double x) { p.drawPolygon(QPolygonF({{x + 8, cy - 5}, {x, cy}, {x + 8, cy + 5}})); };
        const double cx = r.center().x();
        if (b == 0) {
            left(cx - 4);
        } else if (b == 1) {
            p.drawRect(QRectF(cx - 6, cy - 5, 2, 10));
            left(cx - 3);
        } else if (b == 2) {
            right(cx - 4);
        } else if (b == 3) {
            right(cx - 8);
            right(cx);
        } else {
            right(cx - 5);
            p.drawRect(QRectF(cx + 4, cy - 5, 2, 10));
        }
    }
    p.end();
    return img;
}

QImage Icon(int size) {
    const double scale = size / double(kPieceBox);
    const QPolygonF outline = PieceOutline(size, size, 33 * scale, 36 * scale);
    const QImage body =
        DrawPieceBody(LetteringFamily(), QString::fromUtf8("王"), false, outline, size, 0x1c0u);
    return OnClearGround(body, outline, QColor(80, 50, 20, 110), QImage::Format_ARGB32);
}

} // namespace Artwork
