#include "ui/PositionMenu.h"

#include "engine/EngineNotation.h"
#include "session/GameSession.h"
#include "session/PositionText.h"
#include "ui/BoardView.h"
#include "ui/Dialogs.h"
#include "ui/Language.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMenu>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>

namespace {

const char* const kPictureFolderKey = "pictures/folder";

std::string PositionText(const TEditedStart& start) {
    TKyokumen k;
    k.SetupFromBoard(start.Board, start.ToMove == Side::Gote);
    return EngineFen(k, start.ToMove == Side::Gote);
}

} // namespace

TPositionMenu::TPositionMenu(TBoardView& board, const TPictures& pictures, IDialogs& dialogs, QStatusBar& bar,
                             std::function<double()> scale, QObject* parent)
    : QObject(parent), board_(board), pictures_(pictures), dialogs_(dialogs), bar_(bar),
      scale_(std::move(scale)) {}

void TPositionMenu::AddMenuItems(QMenu* menu) {
    menu->addSeparator();
    const auto item = [&](const char* source, const char* name, void (TPositionMenu::*handler)(),
                          const QKeySequence& keys) {
        QAction* action = menu->addAction(QString());
        Language::SetText(action, "TPositionMenu", source);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
    };
    item(QT_TR_NOOP("局面編集…"), "EditPositionAction", &TPositionMenu::OnEditClick,
         QKeySequence(Qt::CTRL | Qt::Key_E));
    item(QT_TR_NOOP("局面をコピー"), "CopyPositionAction", &TPositionMenu::OnCopyPositionClick,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    item(QT_TR_NOOP("局面を貼り付け"), "PastePositionAction", &TPositionMenu::OnPastePositionClick,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    item(QT_TR_NOOP("盤面を画像で保存…"), "SavePictureAction", &TPositionMenu::OnSavePictureClick,
         QKeySequence());
}

void TPositionMenu::OnEditClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    Edit(session_->ShownSetup());
}

void TPositionMenu::Edit(TEditedStart start) {
    if (session_ == nullptr || !dialogs_.EditPosition(start, pictures_, scale_())) return;
    const TGameSession& s = *session_;
    const bool going = !s.ReplayMode() && !s.GameOver() && s.MoveCount() > 0;
    if (going && !dialogs_.YesNo(tr("対局中のゲームをやめて、この局面から対局しますか？"))) return;
    try {
        session_->NewGameFrom(start);
    } catch (const TPositionRefusal& e) {
        // The editor offers only positions that can be played from; one that cannot is said so.
        dialogs_.Ok(tr("この局面からは指せません。\r\n\r\n%1").arg(QString::fromStdString(e.Shown())));
    }
}

void TPositionMenu::OnCopyPositionClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    const QString text = QString::fromStdString(PositionText(session_->ShownSetup()));
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
    bar_.showMessage(tr("局面をコピーしました: %1").arg(text), 5000);
}

void TPositionMenu::OnPastePositionClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    TFenPosition p;
    try {
        p = ParseEngineFen(text.toStdString());
    } catch (const TFenError& e) {
        dialogs_.Ok(tr("局面を貼り付けられません。\r\n\r\n%1").arg(QString::fromStdString(FenErrorText(e))));
        return;
    }
    Edit({p.Board, p.ToMove});
}

void TPositionMenu::OnSavePictureClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    QString folder = QSettings().value(QString::fromLatin1(kPictureFolderKey)).toString();
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(tr("盤面%1手目.png").arg(session_->ShownMove()));
    QString path = dialogs_.SavePictureName(suggested);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
    // Written beside the file and renamed over it: a failed save leaves an older picture as it was.
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    if (!file.open(QIODevice::WriteOnly) || !writer.write(board_.Picture()) || !file.commit()) {
        const QString reason =
            writer.error() != QImageWriter::UnknownError ? writer.errorString() : file.errorString();
        dialogs_.Ok(tr("盤面の画像を保存できません。\r\n\r\n%1\r\n\r\n%2").arg(path, reason));
        return;
    }
    QSettings().setValue(QString::fromLatin1(kPictureFolderKey), QFileInfo(path).absolutePath());
    bar_.showMessage(tr("盤面の画像を保存しました: %1").arg(QFileInfo(path).fileName()), 5000);
}
