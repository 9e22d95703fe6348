#include "ui/Dialogs.h"

#include "ui/Controls.h"
#include "ui/PositionEditor.h"
#include "ui/SeatsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// Texts of the game break lines with CR LF; a box shows LF.
QString BoxText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

int WidestLine(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

} // namespace

// A caption is given in full: the program sets no display name, which the platform would append to it.
void TMessageBoxDialogs::Ok(const QString& text) {
    Info(GameTitle(), text);
}

void TMessageBoxDialogs::Info(const QString& caption, const QString& text) {
    MakeBox(caption, text, false)->exec();
}

void TMessageBoxDialogs::InfoFollowing(const QString& caption, const TChangingText& text) {
    const auto box = MakeBox(caption, text.Text(), false);
    auto* label = box->findChild<QLabel*>(QStringLiteral("BoxText"));
    QObject::connect(&text, &TChangingText::changed, label, [label, &text] {
        label->setText(BoxText(text.Text()));
        label->adjustSize();
    });
    box->exec();
}

bool TMessageBoxDialogs::YesNo(const QString& text, bool yesByDefault) {
    auto box = MakeBox(QCoreApplication::translate("TMessageBoxDialogs", "確認"), text, true);
    if (yesByDefault)
        if (auto* buttons = box->findChild<QDialogButtonBox*>()) {
            QPushButton* yes = buttons->button(QDialogButtonBox::Yes);
            yes->setDefault(true);
            yes->setFocus();
        }
    return box->exec() == QDialog::Accepted;
}

int TMessageBoxDialogs::Choose(const QString& text, const QString& first, const QString& second,
                               const QString& keepText, bool& keep) {
    auto box = MakeBox(QCoreApplication::translate("TMessageBoxDialogs", "確認"), text, false);
    auto* buttons = box->findChild<QDialogButtonBox*>();
    buttons->setStandardButtons(QDialogButtonBox::Cancel);
    QPushButton* firstButton = buttons->addButton(first, QDialogButtonBox::AcceptRole);
    QPushButton* secondButton = buttons->addButton(second, QDialogButtonBox::AcceptRole);
    firstButton->setObjectName(QStringLiteral("ChoiceFirst"));
    secondButton->setObjectName(QStringLiteral("ChoiceSecond"));
    // The box above the buttons, where the answer it keeps is read before it is given.
    auto* keepBox = new QCheckBox(keepText, box.get());
    keepBox->setObjectName(QStringLiteral("ChoiceKeep"));
    auto* layout = static_cast<QVBoxLayout*>(box->layout());
    layout->insertWidget(layout->indexOf(buttons), keepBox);
    // Neither answer is the default: a stray Enter changes nothing.
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setFocus();
    QAbstractButton* clicked = nullptr;
    QObject::connect(buttons, &QDialogButtonBox::clicked, box.get(),
                     [&clicked](QAbstractButton* button) { clicked = button; });
    const bool accepted = box->exec() == QDialog::Accepted;
    keep = keepBox->isChecked();
    if (!accepted) return -1;
    return clicked == firstButton ? 0 : clicked == secondButton ? 1 : -1;
}

std::unique_ptr<QDialog> TMessageBoxDialogs::MakeBox(const QString& caption, const QString& text,
                                                     bool question) const {
    auto box = std::make_unique<QDialog>(owner_);
    box->setWindowTitle(caption);
    const QFont font = owner_ != nullptr ? owner_->font() : QApplication::font();
    box->setFont(font);
    auto* label = new QLabel(BoxText(text), box.get());
    label->setObjectName(QStringLiteral("BoxText"));
    label->setTextFormat(Qt::PlainText);
    // A line wrapped by the toolkit may break inside a word: the box grows to the longest line
    // instead, and only a line wider than the screen makes the type smaller.
    label->setWordWrap(false);
    const QScreen* screen = owner_ != nullptr ? owner_->screen() : QApplication::primaryScreen();
    const int room = screen != nullptr ? screen->availableGeometry().width() * 9 / 10 - 40 : 1 << 20;
    label->setFont(FittedFont(font, font.pixelSize() > 0 ? font.pixelSize() : 13,
                              [&](const QFont& f) { return WidestLine(label->text(), f) <= room; }));
    // A text taller than most of the screen (the help) scrolls within a box that leaves the screen's
    // foot free.
    QWidget* shown = label;
    const int tallest = screen != nullptr ? screen->availableGeometry().height() * 7 / 10 : 1 << 20;
    if (label->sizeHint().height() > tallest) {
        auto* scroll = new QScrollArea(box.get());
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setWidget(label);
        scroll->setFixedSize(label->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width(),
                             tallest);
        shown = scroll;
    }
    auto* buttons = new QDialogButtonBox(
        question ? QDialogButtonBox::Yes | QDialogButtonBox::No : QDialogButtonBox::Ok, box.get());
    QObject::connect(buttons, &QDialogButtonBox::accepted, box.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, box.get(), &QDialog::reject);
    auto* layout = new QVBoxLayout(box.get());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(shown);
    layout->addSpacing(font.pixelSize() > 0 ? font.pixelSize() / 2 : 6);
    layout->addWidget(buttons);
    QPushButton* initial = buttons->button(question ? QDialogButtonBox::No : QDialogButtonBox::Ok);
    initial->setDefault(true);
    initial->setFocus();
    return box;
}

// The suffix goes with the filter picked, so that a name typed without one still names a form; the
// filter at first is the one of the suggested name's extension.
QString TMessageBoxDialogs::SaveFileName(const QString& suggested) {
    const QStringList filters = {
        QCoreApplication::translate("TMessageBoxDialogs", "KIF（Shift_JIS） (*.kif)"),
        QCoreApplication::translate("TMessageBoxDialogs", "KIF（UTF-8） (*.kifu)"),
        QCoreApplication::translate("TMessageBoxDialogs", "テキスト (*.txt)")};
    const QStringList suffixes = {QStringLiteral("kif"), QStringLiteral("kifu"), QStringLiteral("txt")};
    QFileDialog dialog(owner_, QCoreApplication::translate("TMessageBoxDialogs", "棋譜を保存"));
    if (owner_ != nullptr) dialog.setFont(owner_->font());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const QFileInfo file(suggested);
    const qsizetype picked = std::max<qsizetype>(0, suffixes.indexOf(file.suffix().toLower()));
    dialog.selectNameFilter(filters[picked]);
    dialog.setDefaultSuffix(suffixes[picked]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const qsizetype i = filters.indexOf(filter);
        if (i >= 0) dialog.setDefaultSuffix(suffixes[i]);
    });
    dialog.setDirectory(file.absolutePath());
    dialog.selectFile(file.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString TMessageBoxDialogs::OpenFileName(const QString& folder) {
    QFileDialog dialog(
        owner_, QCoreApplication::translate("TMessageBoxDialogs", "棋譜を開く"), folder,
        QCoreApplication::translate("TMessageBoxDialogs",
                                    "KIF・KI2 棋譜 (*.kif *.kifu *.ki2 *.ki2u);;すべてのファイル (*)"));
    if (owner_ != nullptr) dialog.setFont(owner_->font());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool TMessageBoxDialogs::EditPosition(TEditedStart& start, const TPictures& pictures, double scale) {
    TPositionEditor editor(start, pictures, scale, owner_);
    editor.setFont(owner_->font());
    if (editor.exec() != QDialog::Accepted) return false;
    start = editor.Position();
    return true;
}

QString TMessageBoxDialogs::SavePictureName(const QString& suggested) {
    QFileDialog dialog(owner_, QCoreApplication::translate("TMessageBoxDialogs", "盤面を画像で保存"));
    if (owner_ != nullptr) dialog.setFont(owner_->font());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QCoreApplication::translate("TMessageBoxDialogs", "PNG 画像 (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    const QFileInfo file(suggested);
    dialog.setDirectory(file.absolutePath());
    dialog.selectFile(file.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool TMessageBoxDialogs::GameSetup(TGameSetup& setup, bool engine) {
    TSeatsDialog dialog(setup, engine, owner_);
    dialog.setFont(owner_->font());
    if (dialog.exec() != QDialog::Accepted) return false;
    setup = dialog.Setup();
    return true;
}
