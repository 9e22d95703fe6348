// The window's menu bar: the game, view and help menus, each item the command of a button or a
// setting of the view.
#include "ui/About.h"
#include "ui/Controls.h"
#include "ui/HelpText.h"
#include "ui/KifuList.h"
#include "ui/Language.h"
#include "ui/MainForm.h"
#include "ui/RecordFiles.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* AddItem(TForm1* form, QMenu* menu, const char* source, void (TForm1::*handler)(),
                 const QKeySequence& keys = QKeySequence()) {
    QAction* action = menu->addAction(QString());
    Language::SetText(action, "TForm1", source);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, form, [form, handler] { (form->*handler)(); });
    return action;
}

} // namespace

void TForm1::CreateMenus() {
    QMenu* game = menuBar()->addMenu(QString());
    Language::SetText(game, "TForm1", QT_TR_NOOP("ゲーム(&G)"));
    game->setObjectName(QStringLiteral("GameMenu"));
    play_->AddGameMenuItems(game);
    game->addSeparator();
    AddItem(this, game, QT_TR_NOOP("平手で初期化"), &TForm1::OnButton_StartClick);
    AddItem(this, game, QT_TR_NOOP("飛車角落ちで初期化"), &TForm1::OnButton_HisyaKakuClick);
    game->addSeparator();
    AddItem(this, game, QT_TR_NOOP("待った"), &TForm1::OnButton_MattaClick,
            QKeySequence(Qt::CTRL | Qt::Key_Z));
    resignAction_ = AddItem(this, game, QT_TR_NOOP("投了"), &TForm1::OnResignClick);
    engine_->AddMenuItems(game);
    game->addSeparator();
    AddItem(this, game, QT_TR_NOOP("棋譜をクリップボードにコピー"), &TForm1::OnButton_KifuClick,
            QKeySequence(Qt::CTRL | Qt::Key_C));
    records_->AddMenuItems(game);
    game->addSeparator();
    AddItem(this, game, QT_TR_NOOP("終了"), &TForm1::OnButton_ExitClick, QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Resigning is offered only while there is a game to give up.
    connect(game, &QMenu::aboutToShow, this, [this] { resignAction_->setEnabled(session_->CanResign()); });

    CreateViewMenu();
    QMenu* analysisMenu = analysis_->AddMenu();
    study_->AddMenuItems(analysisMenu);
    positions_->AddMenuItems(analysisMenu);

    QMenu* help = menuBar()->addMenu(QString());
    Language::SetText(help, "TForm1", QT_TR_NOOP("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    AddItem(this, help, QT_TR_NOOP("遊び方"), &TForm1::OnHelpClick, QKeySequence(Qt::Key_F1));
    AddItem(this, help, QT_TR_NOOP("バージョン情報"), &TForm1::OnVersionClick);
}

void TForm1::CreateViewMenu() {
    QMenu* view = menuBar()->addMenu(QString());
    Language::SetText(view, "TForm1", QT_TR_NOOP("表示(&V)"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    const auto toggle = [this, view](const char* source, bool on, void (TForm1::*handler)(bool)) {
        QAction* action = view->addAction(QString());
        Language::SetText(action, "TForm1", source);
        action->setCheckable(true);
        action->setChecked(on);
        connect(action, &QAction::toggled, this, handler);
        return action;
    };
    coordinatesAction_ = toggle(QT_TR_NOOP("座標"), CoordinatesShown(), &TForm1::SetCoordinatesShown);
    destinationsAction_ =
        toggle(QT_TR_NOOP("移動先を表示"), DestinationsShown(), &TForm1::SetDestinationsShown);
    comReasonAction_ = toggle(QT_TR_NOOP("COMの狙いを表示"), comReasonShown_, &TForm1::SetComReasonShown);
    kifuListAction_ = toggle(QT_TR_NOOP("棋譜"), kifuListShown_, &TForm1::SetKifuListShown);
    play_->AddViewMenuItems(view);
    sound_->AddMenuItem(view);
    zoom_->AddMenu(view);
    CreateLanguageMenu(view);
}

void TForm1::CreateLanguageMenu(QMenu* view) {
    QMenu* menu = view->addMenu(QString());
    menu->setObjectName(QStringLiteral("LanguageMenu"));
    Language::SetText(menu, "TForm1", QT_TR_NOOP("言語"));
    auto* group = new QActionGroup(menu);
    const std::array<std::pair<TLanguageChoice, const char*>, 3> choices = {{
        {TLanguageChoice::System, QT_TR_NOOP("システムの設定")},
        {TLanguageChoice::Japanese, "日本語"},
        {TLanguageChoice::English, "English"},
    }};
    languageChoice_ = Language::Kept();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const auto [choice, source] = choices[i];
        QAction* action = menu->addAction(QString());
        // Each language names itself, so that a player lost in the other one finds their own.
        if (choice == TLanguageChoice::System)
            Language::SetText(action, "TForm1", source);
        else
            action->setText(QString::fromUtf8(source));
        action->setCheckable(true);
        action->setChecked(choice == languageChoice_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, choice = choice] { SetLanguage(choice); });
        languageActions_[i] = action;
    }
}

void TForm1::SetLanguage(TLanguageChoice choice) {
    languageChoice_ = choice;
    Language::Keep(choice);
    const auto index = static_cast<std::size_t>(choice);
    if (languageActions_[index] != nullptr) languageActions_[index]->setChecked(true);
    const TTextLanguage language = Language::Resolve(choice, QLocale::system());
    if (language == Language::Current()) return;
    Language::Apply(language);
    Retranslate();
}

void TForm1::Retranslate() {
    Language::Retranslate(this);
    UpdateTitle();
    for (int i = 0; i < ComboBox1->count(); ++i)
        ComboBox1->setItemText(i, Language::FormationName(ComboBox1->itemData(i).toString()));
    engine_->Retranslate();
    analysis_->Retranslate();
    study_->Retranslate();
    session_->Retell();
    KifuList->Refresh();
    UpdateReplayCounter();
    FitTexts();
    client_->update();
}

void TForm1::OnHelpClick() {
    QStringList sections;
    for (const THelpSection& section : kHelp)
        sections << QStringLiteral("■ ") + tr(section.Heading) + QStringLiteral("\r\n") + tr(section.Body);
    dialogs_->Info(tr("遊び方"), sections.join(QStringLiteral("\r\n\r\n")));
}

void TForm1::OnVersionClick() {
    about_->Ask();
    dialogs_->InfoFollowing(tr("バージョン情報"), *about_);
}
