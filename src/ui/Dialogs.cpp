#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
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

// The suffix goes with the filter picked, so that a name typed without one still names a form.
QString TMessageBoxDialogs::SaveFileName(const QString& suggested) {
    const QStringList filters = {QStringLiteral("KIF（Shift_JIS） (*.kif)"),
                                 QStringLiteral("KIF（UTF-8） (*.kifu)"), QStringLiteral("テキスト (*.txt)")};
    const QStringList suffixes = {QStringLiteral("kif"), QStringLiteral("kifu"), QStringLiteral("txt")};
    QFileDialog dialog(owner_, QStringLiteral("棋譜を保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixes.first());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const qsizetype i = filters.indexOf(filter);
        if (i >= 0) dialog.setDefaultSuffix(suffixes[i]);
    });
    const QFileInfo file(suggested);
    dialog.setDirectory(file.absolutePath());
    dialog.selectFile(file.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString TMessageBoxDialogs::OpenFileName(const QString& folder) {
    return QFileDialog::getOpenFileName(owner_, QStringLiteral("棋譜を開く"), folder,
                                        QStringLiteral("KIF 棋譜 (*.kif *.kifu);;すべてのファイル (*)"));
}
