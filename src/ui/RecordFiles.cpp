#include "ui/RecordFiles.h"

#include "session/GameSession.h"
#include "session/KifError.h"
#include "ui/Dialogs.h"
#include "ui/Language.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace {

const char* const kKeepingKey = "records/keep";
const char* const kRecordFolderKey = "records/folder";
const char* const kRecordTypeKey = "records/type";
const QStringList kRecordSuffixes = {QStringLiteral("kif"), QStringLiteral("kifu"), QStringLiteral("txt")};

std::filesystem::path FilePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString FileName(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// A kept game's menu entry: its start time as a player reads it ("2024/03/05 09:07:31"), from the
// file name the keeper gave it; any other name as it is.
// What a kept game was: 「平手　【基本形】　24手　COMの勝ち」; empty for a file that cannot be read.
QString RecentDetails(const std::filesystem::path& path) {
    try {
        const TKifRecord r = TGameSession::ReadRecord(path);
        QString formation;
        for (const TKifEvent& e : r.Continuation.Events)
            if (!e.Formation.empty())
                formation = Language::FormationName(QString::fromStdString(e.Formation));
        QString result = QCoreApplication::translate("TRecordFiles", "対局中");
        const std::optional<Side> person = r.Seats.LoneHuman();
        if (r.Interrupted) result = QCoreApplication::translate("TRecordFiles", "中断");
        if (r.Ending.Draw())
            result = QCoreApplication::translate("TRecordFiles", "引き分け");
        else if (r.Ending.Over() && person)
            result = r.Ending.Won(*person) ? QCoreApplication::translate("TRecordFiles", "あなたの勝ち")
                                           : QCoreApplication::translate("TRecordFiles", "COMの勝ち");
        else if (r.Ending.Over())
            result = r.Ending.Won(Side::Sente) ? QCoreApplication::translate("TRecordFiles", "先手の勝ち")
                                               : QCoreApplication::translate("TRecordFiles", "後手の勝ち");
        QStringList parts{
            r.Start == KifStart::Handicap ? QCoreApplication::translate("TRecordFiles", "飛車角落ち")
            : r.Start == KifStart::Edited ? QCoreApplication::translate("TRecordFiles", "編集局面")
                                          : QCoreApplication::translate("TRecordFiles", "平手")};
        if (!formation.isEmpty()) parts << formation;
        parts << QCoreApplication::translate("TRecordFiles", "%1手").arg(r.Shown.size()) << result;
        return parts.join(QCoreApplication::translate("TRecordFiles", "　"));
    } catch (const std::exception&) {
        return {};
    }
}

QString RecentTitle(const std::filesystem::path& path) {
    const QString stem = FileName(path.stem());
    const QDateTime began = QDateTime::fromString(stem.left(15), QStringLiteral("yyyyMMdd-HHmmss"));
    const QString details = RecentDetails(path);
    const QString more = stem.mid(15); // "-2" for the second game begun in the same second
    const QString date =
        !began.isValid()
            ? FileName(path.filename())
            : began.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                  (more.startsWith(QLatin1Char('-')) ? QStringLiteral(" (%1)").arg(more.mid(1)) : QString());
    return details.isEmpty() ? date : date + QCoreApplication::translate("TRecordFiles", "　") + details;
}

// How far back start-up looks for a game to continue past kept files that cannot be read.
constexpr std::size_t kResumeLook = 20;

// The lock of a kept file, taken; nullptr when it cannot be, and then elsewhere says whether another
// window holds it.
std::unique_ptr<QLockFile> LockOf(const std::filesystem::path& file, bool& elsewhere) {
    auto lock = std::make_unique<QLockFile>(FileName(file) + QStringLiteral(".lock"));
    // A lock goes stale only when the window that took it has gone, however long a game lasts.
    lock->setStaleLockTime(0);
    elsewhere = false;
    if (lock->tryLock(0)) return lock;
    elsewhere = lock->error() == QLockFile::LockFailedError;
    return nullptr;
}

QString ErrorText(const QString& step, const QString& file, const std::exception& e) {
    return QCoreApplication::translate("TRecordFiles", "%1\r\n\r\n%2\r\n\r\nエラー内容は %3")
        .arg(step, file, QString::fromUtf8(KifErrorText(e).c_str()));
}

} // namespace

TRecordFiles::TRecordFiles(IDialogs& dialogs, QStatusBar* bar, QObject* parent)
    : QObject(parent), dialogs_(dialogs), bar_(bar) {
    keeping_ = QSettings().value(QString::fromLatin1(kKeepingKey), true).toBool();
    keepingNote_ = new QLabel(bar);
    Language::SetText(keepingNote_, "TRecordFiles", QT_TR_NOOP("自動保存に失敗しました"));
    keepingNote_->setObjectName(QStringLiteral("KeepingNote"));
    keepingNote_->hide();
    bar->addPermanentWidget(keepingNote_);
}

TRecordFiles::~TRecordFiles() = default;

void TRecordFiles::AddMenuItems(QMenu* game) {
    game->addSeparator();
    QAction* save = game->addAction(QString());
    Language::SetText(save, "TRecordFiles", QT_TR_NOOP("棋譜を保存…"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, &TRecordFiles::OnSaveRecordClick);
    QAction* open = game->addAction(QString());
    Language::SetText(open, "TRecordFiles", QT_TR_NOOP("棋譜を開く…"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(open, &QAction::triggered, this, &TRecordFiles::OnOpenRecordClick);
    QAction* paste = game->addAction(QString());
    Language::SetText(paste, "TRecordFiles", QT_TR_NOOP("棋譜を貼り付け"));
    paste->setObjectName(QStringLiteral("PasteRecordAction"));
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(paste, &QAction::triggered, this, &TRecordFiles::OnPasteRecordClick);
    QAction* playOn = game->addAction(QString());
    Language::SetText(playOn, "TRecordFiles", QT_TR_NOOP("この局面から指し直す"));
    playOn->setObjectName(QStringLiteral("PlayOnAction"));
    connect(playOn, &QAction::triggered, this, &TRecordFiles::OnPlayOnClick);
    recentMenu_ = game->addMenu(QString());
    Language::SetText(recentMenu_, "TRecordFiles", QT_TR_NOOP("最近の棋譜"));
    recentMenu_->setObjectName(QStringLiteral("RecentMenu"));
    // The list is read when it opens: games kept since the last look are on it.
    connect(recentMenu_, &QMenu::aboutToShow, this, &TRecordFiles::FillRecentMenu);
    keepingAction_ = game->addAction(QString());
    Language::SetText(keepingAction_, "TRecordFiles", QT_TR_NOOP("対局を自動保存"));
    keepingAction_->setCheckable(true);
    keepingAction_->setChecked(keeping_);
    connect(keepingAction_, &QAction::toggled, this, &TRecordFiles::SetKeeping);
}

QString TRecordFiles::RecordsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/records");
}

// The keeper makes the folder with the first game it keeps: a run without a move leaves no trace.
void TRecordFiles::Attach(TGameSession& session) {
    session_ = &session;
    keeper_ = std::make_unique<TRecordKeeper>(FilePath(RecordsFolder()));
    keeper_->Claim = [this](const std::filesystem::path& file) { return Claim(file); };
    session_->SetRecordKeeper(keeping_ ? keeper_.get() : nullptr);
}

void TRecordFiles::SetKeeping(bool on) {
    keeping_ = on;
    keepingAction_->setChecked(on);
    QSettings().setValue(QString::fromLatin1(kKeepingKey), on);
    if (session_ != nullptr) session_->SetRecordKeeper(on ? keeper_.get() : nullptr);
    NoteKeeping();
}

// A failed keep never stops the game: the note stays in the status bar until a keep succeeds.
void TRecordFiles::NoteKeeping() {
    const bool failed = keeping_ && keeper_ && !keeper_->LastError().empty();
    keepingNote_->setVisible(failed);
    keepingNote_->setToolTip(failed ? QString::fromStdString(keeper_->LastError()) : QString());
}

void TRecordFiles::FillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::filesystem::path> files =
        keeper_ ? keeper_->Recent(10) : std::vector<std::filesystem::path>();
    if (files.empty()) recentMenu_->addAction(tr("（まだありません）"))->setEnabled(false);
    for (const std::filesystem::path& file : files) {
        const QString name = FileName(file);
        QAction* item = recentMenu_->addAction(RecentTitle(file));
        item->setData(name);
        connect(item, &QAction::triggered, this, [this, name] { OpenRecordFile(name); });
    }
}

bool TRecordFiles::GameGoingOn() const {
    const TGameSession& s = *session_;
    return !s.ReplayMode() && !s.GameOver() && s.MoveCount() > 0;
}

bool TRecordFiles::Claim(const std::filesystem::path& file) {
    bool elsewhere = false;
    std::unique_ptr<QLockFile> lock = LockOf(file, elsewhere);
    if (elsewhere) return false;
    lock_ = std::move(lock);
    return true;
}

template <class Command> void TRecordFiles::Leave(Command replace) {
    // Only a game the keeper has kept is written as left (TGameSession::LeaveGame asks the same).
    const bool leaving = keeping_ && GameGoingOn();
    session_->LeaveGame();
    try {
        replace();
    } catch (...) {
        if (leaving) keeper_->KeepAgain(session_->KifRecord());
        throw;
    }
    NoteKeeping();
}

// A dialog given a folder that is not there opens in the current one, which for an installed game is
// the read-only pictures folder: only folders that exist are offered.
QString TRecordFiles::FolderSetting() const {
    const QString kept = QSettings().value(QString::fromLatin1(kRecordFolderKey)).toString();
    if (!kept.isEmpty() && QDir(kept).exists()) return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents;
    return QDir::homePath();
}

QString TRecordFiles::TypeSetting() const {
    const QString kept = QSettings().value(QString::fromLatin1(kRecordTypeKey)).toString();
    return kRecordSuffixes.contains(kept) ? kept : kRecordSuffixes.first();
}

void TRecordFiles::OnSaveRecordClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    // The suggested name is the game's start time, as the kept games are named.
    const TKifDate began = session_->KifRecord().Began;
    QString stem =
        QDateTime(QDate(began.Year, began.Month, began.Day), QTime(began.Hour, began.Minute, began.Second))
            .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!began.Known() || stem.isEmpty()) stem = tr("棋譜");
    const QString path =
        dialogs_.SaveFileName(QDir(FolderSetting()).filePath(stem + QLatin1Char('.') + TypeSetting()));
    if (path.isEmpty()) return;
    try {
        session_->SaveRecord(FilePath(path));
    } catch (const std::exception& e) {
        dialogs_.Ok(ErrorText(tr("棋譜の保存でエラー発生"), path, e));
        return;
    }
    QSettings settings;
    settings.setValue(QString::fromLatin1(kRecordFolderKey), QFileInfo(path).absolutePath());
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (kRecordSuffixes.contains(suffix)) settings.setValue(QString::fromLatin1(kRecordTypeKey), suffix);
    bar_->showMessage(tr("棋譜を保存しました: %1").arg(QFileInfo(path).fileName()), 5000);
}

void TRecordFiles::OnOpenRecordClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    const QString path = dialogs_.OpenFileName(FolderSetting());
    if (path.isEmpty()) return;
    if (OpenRecordFile(path))
        QSettings().setValue(QString::fromLatin1(kRecordFolderKey), QFileInfo(path).absolutePath());
}

bool TRecordFiles::OfferResume() {
    if (session_ == nullptr || !keeping_ || !keeper_) return false;
    // The newest kept game that can be read decides; games other windows play are theirs.
    std::filesystem::path latest;
    std::unique_ptr<QLockFile> lock;
    QStringList unreadable;
    for (const std::filesystem::path& file : keeper_->Recent(kResumeLook)) {
        bool elsewhere = false;
        lock = LockOf(file, elsewhere);
        if (elsewhere) continue;
        try {
            const TKifRecord r = TGameSession::ReadRecord(file);
            if (!r.Interrupted && !r.Shown.empty() && r.Continuation.Known && session_->CanContinue(r))
                latest = file;
            break;
        } catch (const std::exception& e) {
            unreadable
                << tr("%1（%2）").arg(FileName(file.filename()), QString::fromUtf8(KifErrorText(e).c_str()));
        }
    }
    const bool continued = !latest.empty() && Continue(latest, std::move(lock));
    // Said once the board is set up, which clears the status bar.
    if (!unreadable.isEmpty())
        bar_->showMessage(tr("読めない棋譜を飛ばしました: %1").arg(unreadable.join(tr("、"))), 30000);
    return continued;
}

bool TRecordFiles::Continue(const std::filesystem::path& file, std::unique_ptr<QLockFile> lock) {
    if (!dialogs_.YesNo(tr("前回の対局を続けますか？"), true)) return false;
    // Locked before it is continued: from now on no other window offers or writes this game.
    lock_ = std::move(lock);
    try {
        session_->ContinueKept(file);
    } catch (const TPlayOnRefusal& e) {
        lock_.reset();
        dialogs_.Ok(tr("前回の対局を続けられません。\r\n\r\n%1").arg(QString::fromStdString(e.Shown())));
        return false;
    } catch (const std::exception& e) {
        lock_.reset();
        dialogs_.Ok(ErrorText(tr("棋譜の読込みでエラー発生"), FileName(file), e));
        return false;
    }
    NoteKeeping();
    return true;
}

void TRecordFiles::OnPlayOnClick() {
    emit commandStarted();
    PlayOn(true);
}

bool TRecordFiles::PlayOn(bool ask) {
    if (session_ == nullptr) return false;
    // Playing on from a position looked back at ends the game going on, as opening a record does;
    // while COM's reply is awaited the session refuses, and the game is not left.
    const bool leaving = GameGoingOn() && !session_->ReplyPending();
    if (ask && leaving && !dialogs_.YesNo(tr("対局中のゲームをやめてこの局面から指し直しますか？")))
        return false;
    try {
        if (leaving)
            Leave([this] { session_->PlayOn(); });
        else
            session_->PlayOn();
    } catch (const TPlayOnRefusal& e) {
        ShowRefusal(e);
        return false;
    }
    return true;
}

void TRecordFiles::ShowRefusal(const TPlayOnRefusal& refusal) {
    dialogs_.Ok(tr("この局面からは指し直せません。\r\n\r\n%1").arg(QString::fromStdString(refusal.Shown())));
}

void TRecordFiles::OnPasteRecordClick() {
    emit commandStarted();
    if (session_ == nullptr) return;
    const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    try {
        TKifRecord record = TGameSession::ReadPastedRecord(text.toStdString());
        if (GameGoingOn() && !dialogs_.YesNo(tr("対局中のゲームをやめて棋譜を開きますか？"))) return;
        session_->OpenKifRecord(std::move(record));
    } catch (const std::exception& e) {
        dialogs_.Ok(QCoreApplication::translate("TRecordFiles", "%1\r\n\r\nエラー内容は %2")
                        .arg(tr("棋譜の貼り付けでエラー発生"), QString::fromUtf8(KifErrorText(e).c_str())));
        return;
    }
    // A pasted record is no file: the title names none.
    emit recordOpened(QString());
}

bool TRecordFiles::OpenRecordFile(const QString& path) {
    emit commandStarted();
    if (session_ == nullptr) return false;
    // The record is read and checked before the question, which is asked only about one that opens.
    try {
        TKifRecord record = TGameSession::ReadRecord(FilePath(path));
        // An opened record can only be replayed: the game going on could not be played on afterwards.
        if (GameGoingOn() && !dialogs_.YesNo(tr("対局中のゲームをやめて棋譜を開きますか？"))) return false;
        Leave([&] { session_->OpenKifRecord(std::move(record)); });
    } catch (const std::exception& e) {
        dialogs_.Ok(ErrorText(tr("棋譜の読込みでエラー発生"), path, e));
        return false;
    }
    emit recordOpened(QFileInfo(path).fileName());
    return true;
}
