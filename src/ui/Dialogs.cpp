#include "ui/Dialogs.h"

#include <QMessageBox>

namespace {
// Texts of the game break lines with CR LF; a box shows LF.
QString BoxText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}
} // namespace

// A caption is given in full: the program sets no display name, which the platform would append to it.
void TMessageBoxDialogs::Ok(const QString& text) {
    Info(QString::fromUtf8(kGameTitle), text);
}

void TMessageBoxDialogs::Info(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, BoxText(text), QMessageBox::Ok, owner_);
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
