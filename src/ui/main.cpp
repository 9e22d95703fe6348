// The program entry: the application title, the one window, the event loop.
#include "ui/MainForm.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mirutoa"));
    QApplication::setApplicationDisplayName(QStringLiteral("創作将棋 ミルトア"));
    QGuiApplication::setDesktopFileName(QStringLiteral("mirutoa"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/mirutoa/mirutoa-64.png"));
    icon.addFile(QStringLiteral(":/mirutoa/mirutoa-256.png"));
    QApplication::setWindowIcon(icon);
    // The message boxes write Japanese too.
    QFont boxFont = TForm1::JapaneseFont(13);
    QApplication::setFont(boxFont);

    // Every text of the game is Japanese, so the toolkit's own words (はい, いいえ) are too, where the
    // translation is installed.
    QTranslator toolkitWords;
    if (toolkitWords.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitWords);

    TForm1 form;
    form.show();
    return app.exec();
}
