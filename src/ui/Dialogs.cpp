#include "ui/Dialogs.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace {
// Texts of the game break lines with CR LF; a box shows LF.
QString BoxText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}
} // namespace

void TMessageBoxDialogs::Ok(const QString& text) {
    // Plain boxes carry the application's title as their caption.
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), BoxText(text),
                    QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool TMessageBoxDialogs::YesNo(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("確認"), BoxText(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
