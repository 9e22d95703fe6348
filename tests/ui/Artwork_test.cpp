// The artwork drawn from code is the artwork of the files: at scale 1 every piece, the board and the
// strip come out pixel for pixel as the committed pictures, so the window can draw them at any
// other scale and still show the same pieces.
#include "ui/Artwork.h"

#include <QDir>
#include <QImage>
#include <QtTest>

class ArtworkTest : public QObject {
    Q_OBJECT
private slots:
    void scaleOneRedrawsTheCommittedPictures() {
        const QDir assets(QStringLiteral(MIRUTOA_ASSETS_DIR));
        struct Picture {
            QString File;
            QImage Drawn;
        };
        std::vector<Picture> pictures;
        for (const QString& name : Artwork::PieceNames())
            pictures.push_back({name + ".bmp", Artwork::Piece(name, 1.0, true)});
        pictures.push_back({QStringLiteral("board.png"), Artwork::Board(1.0)});
        pictures.push_back({QStringLiteral("replay.png"), Artwork::ReplayStrip(1.0)});
        QCOMPARE(pictures.size(), std::size_t(30));
        for (const Picture& p : pictures) {
            const QImage file(assets.filePath(p.File));
            QVERIFY2(!file.isNull(), qPrintable(p.File));
            QVERIFY2(file.convertToFormat(QImage::Format_RGB32) ==
                         p.Drawn.convertToFormat(QImage::Format_RGB32),
                     qPrintable(p.File));
        }
    }

    void largerScalesDrawLargerPicturesWithATransparentGround() {
        for (double scale : {1.25, 1.5, 2.0, 3.0}) {
            const QImage piece = Artwork::Piece(QStringLiteral("com龍王"), scale);
            QCOMPARE(piece.width(), int(std::lround(38 * scale)));
            QVERIFY(piece.hasAlphaChannel());
            QCOMPARE(qAlpha(piece.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(piece.pixel(piece.width() / 2, piece.height() / 2)), 255);
            QCOMPARE(Artwork::Board(scale).width(), int(std::lround(362 * scale)));
        }
        QVERIFY(Artwork::Piece(QStringLiteral("王将"), 2.0).isNull());
    }
};

QTEST_MAIN(ArtworkTest)
#include "Artwork_test.moc"
