// The window's menu bar: the game, view and help menus, each item the command of a button or a
// setting of the view.
#include "ui/HelpText.h"
#include "ui/MainForm.h"
#include "ui/RecordFiles.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* AddItem(TForm1* form, QMenu* menu, const QString& text, void (TForm1::*handler)(),
                 const QKeySequence& keys = QKeySequence()) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, form, [form, handler] { (form->*handler)(); });
    return action;
}

} // namespace

void TForm1::CreateMenus() {
    QMenu* game = menuBar()->addMenu(QStringLiteral("ゲーム(&G)"));
    game->setObjectName(QStringLiteral("GameMenu"));
    AddItem(this, game, QStringLiteral("平手で初期化"), &TForm1::OnButton_StartClick);
    AddItem(this, game, QStringLiteral("飛車角落ちで初期化"), &TForm1::OnButton_HisyaKakuClick);
    game->addSeparator();
    AddItem(this, game, QStringLiteral("待った"), &TForm1::OnButton_MattaClick,
            QKeySequence(Qt::CTRL | Qt::Key_Z));
    resignAction_ = AddItem(this, game, QStringLiteral("投了"), &TForm1::OnResignClick);
    engine_->AddMenuItems(game);
    game->addSeparator();
    AddItem(this, game, QStringLiteral("棋譜をクリップボードにコピー"), &TForm1::OnButton_KifuClick,
            QKeySequence(Qt::CTRL | Qt::Key_C));
    records_->AddMenuItems(game);
    game->addSeparator();
    AddItem(this, game, QStringLiteral("終了"), &TForm1::OnButton_ExitClick,
            QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Resigning is offered only while there is a game to give up.
    connect(game, &QMenu::aboutToShow, this, [this] { resignAction_->setEnabled(session_->CanResign()); });

    CreateViewMenu();
    analysis_->AddMenu();

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    AddItem(this, help, QStringLiteral("遊び方"), &TForm1::OnHelpClick, QKeySequence(Qt::Key_F1));
    AddItem(this, help, QStringLiteral("バージョン情報"), &TForm1::OnVersionClick);
}

void TForm1::CreateViewMenu() {
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    const auto toggle = [this, view](const QString& text, bool on, void (TForm1::*handler)(bool)) {
        QAction* action = view->addAction(text);
        action->setCheckable(true);
        action->setChecked(on);
        connect(action, &QAction::toggled, this, handler);
        return action;
    };
    coordinatesAction_ = toggle(QStringLiteral("座標"), CoordinatesShown(), &TForm1::SetCoordinatesShown);
    destinationsAction_ =
        toggle(QStringLiteral("移動先を表示"), DestinationsShown(), &TForm1::SetDestinationsShown);
    comReasonAction_ = toggle(QStringLiteral("COMの狙いを表示"), comReasonShown_, &TForm1::SetComReasonShown);
    kifuListAction_ = toggle(QStringLiteral("棋譜"), kifuListShown_, &TForm1::SetKifuListShown);
    sound_->AddMenuItem(view);
    zoom_->AddMenu(view);
}

void TForm1::OnHelpClick() {
    dialogs_->Info(QStringLiteral("遊び方"), QString::fromUtf8(kRules));
}

void TForm1::OnVersionClick() {
    dialogs_->Info(QStringLiteral("バージョン情報"),
                   QString::fromUtf8(kGameTitle) + QStringLiteral("\r\nバージョン ") +
                       QStringLiteral(MIRUTOA_VERSION) + QStringLiteral("\r\n\r\nQt ") +
                       QString::fromLatin1(qVersion()));
}
