// Draws the game's artwork: the 28 piece bitmaps, the board, the replay strip and the window icon.
//
//   mirutoa-draw-pictures OUTPUT_FOLDER
//
// Everything is drawn from code with a fixed pseudo-random sequence, so a run on the same machine
// writes the same bytes every time. Run it with QT_QPA_PLATFORM=offscreen when there is no display.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

// The board's wood; also the colour the window treats as transparent in a piece bitmap.
const QColor kBoardWood(242, 189, 123);
const QColor kGold(183, 138, 15);
const QColor kInk(24, 18, 12);
const QColor kPromotedInk(200, 16, 16);

constexpr int kSquareInside = 38;
constexpr int kBoardSize = 362;
constexpr int kPitch = 40;

// A small generator of our own, so the grain does not depend on the C library.
struct Lcg {
    std::uint32_t s;
    explicit Lcg(std::uint32_t seed) : s(seed) {}
    double Next() { // 0 <= x < 1
        s = s * 1664525u + 1013904223u;
        return double(s >> 8) / double(1u << 24);
    }
};

QString JapaneseFamily() {
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& wanted : {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")})
        if (families.contains(wanted)) return wanted;
    if (!families.isEmpty()) return families.first();
    return QStringLiteral("IPAGothic");
}

// One piece kind as it is drawn: its file name stem, the glyph on its face, its size class.
struct PieceArt {
    const char* Name;  // the piece name, also the file name without ".bmp"
    const char* Glyph; // what is written on the face
    bool Promoted;     // red ink
    int Height;        // the piece's outline, inside 38 x 38
    int Width;
};

// In the order of the picture table: the human's fourteen, COM's are the same turned over.
constexpr std::array<PieceArt, 14> kPieces = {{
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
    const double scale = boxSize / double(kSquareInside);
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
    const double scale = body.width() / double(kSquareInside);
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

// Every pixel that the outline does not touch gets exactly the key colour, and no pixel of the piece
// itself may carry it, so that the window can cut the piece out by that colour.
void KeyOutBackground(QImage& img, const QPolygonF& outline, const QColor& key) {
    QImage cover(img.size(), QImage::Format_RGB32);
    cover.fill(Qt::black);
    QPainter p(&cover);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    // The shadow belongs to the piece too.
    p.drawPolygon(outline.translated(kShadowOffset, kShadowOffset));
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

bool Save(const QImage& img, const QString& path, const char* format) {
    if (!img.save(path, format)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool DrawPieces(const QString& family, const QDir& out) {
    for (std::size_t i = 0; i < kPieces.size(); ++i) {
        const PieceArt& art = kPieces[i];
        const QPolygonF upright = PieceOutline(kSquareInside, kSquareInside, art.Width, art.Height);
        const QImage body = DrawPieceBody(family, QString::fromUtf8(art.Glyph), art.Promoted, upright,
                                          kSquareInside, 0x5eed0000u + std::uint32_t(i));
        // COM's pieces face the human: the same piece turned half round, its shadow still falling to
        // the lower right.
        const QPolygonF turned = TurnedOver(upright, kSquareInside, kSquareInside);
        QImage human = Compose(body, upright, kBoardWood);
        QImage com = Compose(body.mirrored(true, true), turned, kBoardWood);
        KeyOutBackground(human, upright, kBoardWood);
        KeyOutBackground(com, turned, kBoardWood);
        const QString name = QString::fromUtf8(art.Name);
        if (!Save(human.convertToFormat(QImage::Format_RGB888), out.filePath(name + ".bmp"), "BMP"))
            return false;
        if (!Save(com.convertToFormat(QImage::Format_RGB888), out.filePath("com" + name + ".bmp"), "BMP"))
            return false;
    }
    return true;
}

// Wood of the board colour with a fine vertical grain, crossed by the ten grid lines.
bool DrawBoard(const QDir& out) {
    QImage img(kBoardSize, kBoardSize, QImage::Format_RGB32);
    Lcg rng(0xb0a4d5u);
    // A column offset made of a slow wave and fine random streaks; rows drift slightly so the grain
    // is not ruler-straight.
    std::array<double, kBoardSize + 8> column{};
    double slow = 0.0;
    for (double& c : column) {
        slow = slow * 0.9 + (rng.Next() - 0.5) * 3.0;
        const double streak = rng.Next() < 0.08 ? -(5.0 + 8.0 * rng.Next()) : 0.0;
        c = slow + streak + (rng.Next() - 0.5) * 2.5;
    }
    std::array<int, kBoardSize> drift{};
    double d = 0.0;
    for (int& v : drift) {
        d += (rng.Next() - 0.5) * 0.35;
        d = std::clamp(d, 0.0, 7.0);
        v = int(d);
    }
    for (int y = 0; y < kBoardSize; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kBoardSize; ++x) {
            const double g = column[std::size_t(x + drift[std::size_t(y)])];
            const int delta = int(std::lround(g));
            row[x] = qRgb(std::clamp(kBoardWood.red() + delta, 0, 255),
                          std::clamp(kBoardWood.green() + delta, 0, 255),
                          std::clamp(kBoardWood.blue() + delta * 2 / 3, 0, 255));
        }
    }
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int i = 0; i <= 9; ++i) {
        p.drawRect(i * kPitch, 0, 2, kBoardSize);
        p.drawRect(0, i * kPitch, kBoardSize, 2);
    }
    // The four star points that mark the camps.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int gx : {3, 6})
        for (int gy : {3, 6}) p.drawEllipse(QPointF(gx * kPitch + 1.0, gy * kPitch + 1.0), 3.2, 3.2);
    p.end();
    return Save(img.convertToFormat(QImage::Format_RGB888), out.filePath("board.png"), "PNG");
}

// The replay strip: the words 『棋譜再現:』 and three gold buttons with white arrows.
bool DrawReplayStrip(const QString& family, const QDir& out) {
    QImage img(361, 24, QImage::Format_RGB32);
    img.fill(QColor(240, 240, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font(family);
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(4, 0, 108, 24), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8("棋譜再現:"));

    const int starts[3] = {115, 170, 225};
    for (int b = 0; b < 3; ++b) {
        const QRectF r(starts[b] + 0.5, 3.5, 47, 17);
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
        const double cx = r.center().x();
        if (b == 0) {
            p.drawRect(QRectF(cx - 6, cy - 5, 2, 10));
            p.drawPolygon(QPolygonF({{cx + 5, cy - 5}, {cx - 3, cy}, {cx + 5, cy + 5}}));
        } else if (b == 1) {
            right(cx - 4);
        } else {
            right(cx - 8);
            right(cx);
        }
    }
    p.end();
    return Save(img.convertToFormat(QImage::Format_RGB888), out.filePath("replay.png"), "PNG");
}

// The window and desktop icon: a king piece on transparent ground.
bool DrawIcon(const QString& family, const QDir& out, int size) {
    const double scale = size / double(kSquareInside);
    const QPolygonF outline = PieceOutline(size, size, 33 * scale, 36 * scale);
    const QImage body = DrawPieceBody(family, QString::fromUtf8("王"), false, outline, size, 0x1c0u);
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 50, 20, 110));
    p.drawPolygon(outline.translated(kShadowOffset * scale, kShadowOffset * scale));
    p.drawImage(0, 0, body);
    p.end();
    return Save(icon, out.filePath(QStringLiteral("mirutoa-%1.png").arg(size)), "PNG");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mirutoa-draw-pictures OUTPUT_FOLDER\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const QString family = JapaneseFamily();
    const bool ok = DrawPieces(family, out) && DrawBoard(out) && DrawReplayStrip(family, out) &&
                    DrawIcon(family, out, 64) && DrawIcon(family, out, 256);
    if (!ok) return 1;
    std::printf("pictures written to %s (font %s)\n", argv[1], qPrintable(family));
    return 0;
}
