// Draws the game's artwork: the 28 piece bitmaps, the board, the replay strip and the window icon.
//
//   mirutoa-draw-pictures OUTPUT_FOLDER            the files of assets/, at scale 1
//   mirutoa-draw-pictures --scale S OUTPUT_FOLDER  the pieces, board and strip at scale S, as the window
//                                                  draws them when zoomed (NAME@Sx.png), for comparing
//
// Everything is drawn from code with a fixed pseudo-random sequence, so a run on the same machine
// writes the same bytes every time. Run it with QT_QPA_PLATFORM=offscreen when there is no display.
#include "ui/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

bool Save(const QImage& img, const QString& path, const char* format) {
    if (!img.save(path, format)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool DrawAssets(const QDir& out) {
    for (const QString& name : Artwork::PieceNames())
        if (!Save(Artwork::Piece(name, 1.0, true).convertToFormat(QImage::Format_RGB888),
                  out.filePath(name + ".bmp"), "BMP"))
            return false;
    return Save(Artwork::Board(1.0).convertToFormat(QImage::Format_RGB888), out.filePath("board.png"),
                "PNG") &&
           Save(Artwork::ReplayStrip(1.0).convertToFormat(QImage::Format_RGB888), out.filePath("replay.png"),
                "PNG") &&
           Save(Artwork::Icon(64), out.filePath("mirutoa-64.png"), "PNG") &&
           Save(Artwork::Icon(256), out.filePath("mirutoa-256.png"), "PNG");
}

bool DrawScaled(const QDir& out, double scale) {
    const QString suffix = QStringLiteral("@%1x.png").arg(scale);
    for (const QString& name : Artwork::PieceNames())
        if (!Save(Artwork::Piece(name, scale), out.filePath(name + suffix), "PNG")) return false;
    return Save(Artwork::Board(scale), out.filePath("board" + suffix), "PNG") &&
           Save(Artwork::ReplayStrip(scale), out.filePath("replay" + suffix), "PNG");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    double scale = 1.0;
    const char* folder = nullptr;
    if (argc == 2) {
        folder = argv[1];
    } else if (argc == 4 && std::strcmp(argv[1], "--scale") == 0) {
        bool ok = false;
        scale = QString::fromLatin1(argv[2]).toDouble(&ok);
        if (!ok || scale < 0.5 || scale > 8) {
            std::fprintf(stderr, "the scale must be a number from 0.5 to 8, not %s\n", argv[2]);
            return 2;
        }
        folder = argv[3];
    } else {
        std::fprintf(stderr, "usage: mirutoa-draw-pictures [--scale S] OUTPUT_FOLDER\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(folder));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", folder);
        return 1;
    }
    const bool ok = argc == 2 ? DrawAssets(out) : DrawScaled(out, scale);
    if (!ok) return 1;
    std::printf("pictures written to %s (font %s)\n", folder, qPrintable(Artwork::LetteringFamily()));
    return 0;
}
