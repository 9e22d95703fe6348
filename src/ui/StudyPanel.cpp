#include "ui/StudyPanel.h"

#include "session/GameSession.h"
#include "ui/AnalysisPanel.h"
#include "ui/BoardView.h"
#include "ui/EnginePanel.h"
#include "ui/Language.h"

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

// The engine's socket is looked at this often: its lines are shown well within a frame of their
// arrival, and each look only reads what has already arrived.
constexpr int kPollMs = 10;
// The panel says how long the engine has looked at least this often.
constexpr int kRefreshMs = 250;
// The bar's scale: at this value the viewer's share is about nine tenths.
constexpr double kBarScale = 600.0;

const char* const kMissing = QT_TRANSLATE_NOOP(
    "TEnginePanel", "エンジンが見つかりません（Debian のパッケージ fairy-stockfish を入れてください）");

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// The lines' first moves as arrows, the best the boldest and darkest.
std::vector<TBoardArrows::TArrow> RankedArrows(const std::vector<TMove>& moves) {
    constexpr std::array<int, 3> alpha = {210, 140, 80};
    std::vector<TBoardArrows::TArrow> arrows;
    for (std::size_t i = 0; i < moves.size(); ++i)
        arrows.push_back({moves[i], QColor(20, 100, 230, alpha[std::min(i, alpha.size() - 1)]),
                          i == 0 ? 1 / 7.0 : 1 / 10.0, 2.5});
    return arrows;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The bar

TEvalBar::TEvalBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvalBar"));
    setMinimumSize(14, 120);
}

void TEvalBar::SetValue(std::optional<int> value) {
    if (value == value_) return;
    value_ = value;
    update();
}

double TEvalBar::Share() const {
    if (!value_) return 0.5;
    if (std::abs(*value_) > kMateValue - 1000) return *value_ > 0 ? 1.0 : 0.0;
    return 0.5 + std::atan(*value_ / kBarScale * 2.3) / std::numbers::pi;
}

void TEvalBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.fillRect(r, QColor(60, 60, 60));
    const double own = r.height() * Share();
    p.fillRect(QRectF(r.left(), r.bottom() - own, r.width(), own), QColor(245, 240, 225));
    p.setPen(QPen(QColor(200, 40, 40), 1));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

// ---------------------------------------------------------------------------------------------
// The panel

TStudyPanel::TStudyPanel(QMainWindow& window, TBoardView& board, QWidget* area, QStatusBar& bar,
                         TEnginePanel& engine, TAnalysisPanel& analysis)
    : QObject(&window), window_(window), board_(board), bar_(bar), engine_(engine), analysis_(analysis) {
    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &TStudyPanel::Poll);
    seat_.Restarted = [this](const std::string& message) { bar_.showMessage(Text(message), 8000); };
    arrows_ = new TBoardArrows(board, area, QStringLiteral("StudyArrows"));
    study_.Changed = [this] { ShowStudy(); };
    review_.Changed = [this] { ShowReview(); };
    CreateDock();
}

TStudyPanel::~TStudyPanel() {
    study_.Changed = nullptr;
    review_.Changed = nullptr;
    board_.SetMoveTaker(nullptr);
}

void TStudyPanel::CreateDock() {
    dock_ = new QDockWidget(&window_);
    Language::SetText(dock_, "TStudyPanel", QT_TR_NOOP("検討"));
    dock_->setObjectName(QStringLiteral("StudyDock"));
    dock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock_->setAllowedAreas(Qt::RightDockWidgetArea);
    auto* content = new QWidget(dock_);
    auto* layout = new QVBoxLayout(content);

    studyBox_ = new QWidget(content);
    auto* studyRow = new QHBoxLayout(studyBox_);
    studyRow->setContentsMargins(0, 0, 0, 0);
    evalBar_ = new TEvalBar(studyBox_);
    studyRow->addWidget(evalBar_);
    auto* lines = new QVBoxLayout;
    studyState_ = new QLabel(studyBox_);
    studyState_->setObjectName(QStringLiteral("StudyState"));
    lines->addWidget(studyState_);
    for (std::size_t i = 0; i < lineLabels_.size(); ++i) {
        auto* label = new QLabel(studyBox_);
        label->setObjectName(QStringLiteral("StudyLine%1").arg(i + 1));
        label->setWordWrap(true);
        label->setMinimumWidth(260);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lines->addWidget(label);
        lineLabels_[i] = label;
    }
    lines->addStretch();
    studyRow->addLayout(lines, 1);
    layout->addWidget(studyBox_, 1);

    reviewBox_ = new QWidget(content);
    auto* review = new QVBoxLayout(reviewBox_);
    review->setContentsMargins(0, 0, 0, 0);
    reviewHead_ = new QLabel(reviewBox_);
    reviewHead_->setObjectName(QStringLiteral("ReviewHead"));
    reviewHead_->setWordWrap(true);
    reviewState_ = new QLabel(reviewBox_);
    reviewState_->setObjectName(QStringLiteral("ReviewState"));
    reviewState_->setWordWrap(true);
    reviewState_->setMinimumWidth(260);
    review->addWidget(reviewHead_);
    review->addWidget(reviewState_);
    auto* buttons = new QHBoxLayout;
    skip_ = new QPushButton(reviewBox_);
    skip_->setObjectName(QStringLiteral("ReviewSkip"));
    Language::SetText(skip_, "TStudyPanel", QT_TR_NOOP("スキップ"));
    next_ = new QPushButton(reviewBox_);
    next_->setObjectName(QStringLiteral("ReviewNext"));
    Language::SetText(next_, "TStudyPanel", QT_TR_NOOP("次へ"));
    stop_ = new QPushButton(reviewBox_);
    stop_->setObjectName(QStringLiteral("ReviewStop"));
    Language::SetText(stop_, "TStudyPanel", QT_TR_NOOP("中止"));
    buttons->addWidget(skip_);
    buttons->addWidget(next_);
    buttons->addWidget(stop_);
    review->addLayout(buttons);
    review->addStretch();
    layout->addWidget(reviewBox_, 1);
    connect(skip_, &QPushButton::clicked, this, &TStudyPanel::SkipQuestion);
    connect(next_, &QPushButton::clicked, this, &TStudyPanel::NextQuestion);
    connect(stop_, &QPushButton::clicked, this, &TStudyPanel::StopReview);

    dock_->setWidget(content);
    window_.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    reviewBox_->hide();
}

void TStudyPanel::AddMenuItems(QMenu* menu) {
    menu->addSeparator();
    studyAction_ = menu->addAction(QString());
    studyAction_->setObjectName(QStringLiteral("StudyModeAction"));
    Language::SetText(studyAction_, "TStudyPanel", QT_TR_NOOP("検討モード"));
    studyAction_->setCheckable(true);
    studyAction_->setShortcut(QKeySequence(Qt::Key_F5));
    connect(studyAction_, &QAction::triggered, this, [this](bool on) { SetStudyMode(on); });
    reviewAction_ = menu->addAction(QString());
    reviewAction_->setObjectName(QStringLiteral("ReviewAction"));
    Language::SetText(reviewAction_, "TStudyPanel", QT_TR_NOOP("悪手を復習"));
    connect(reviewAction_, &QAction::triggered, this, [this] { StartReview(); });
    if (!seat_.Installed())
        for (QAction* action : {studyAction_, reviewAction_}) {
            action->setEnabled(false);
            Language::SetToolTip(action, "TEnginePanel", kMissing);
        }
}

void TStudyPanel::Retranslate() {
    ShowStudy();
    ShowReview();
}

bool TStudyPanel::Yielding() const {
    // One engine for the seats and the hint, another for analyses: the machine's cores go to them. An
    // engine seat's reply is awaited from the move before it, even before its search is under way.
    const bool engineReply = session_ != nullptr && session_->ReplyPending() &&
                             session_->Seats()[session_->SideToMove()].Kind == SeatKind::Engine;
    return engine_.Seat().Busy() || analysis_.Running() || engineReply;
}

void TStudyPanel::RunTimer() {
    if (!timer_->isActive()) timer_->start();
}

bool TStudyPanel::SetStudyMode(bool on) {
    if (on && !seat_.Installed()) {
        bar_.showMessage(QCoreApplication::translate("TEnginePanel", kMissing), 8000);
        on = false;
    }
    if (studyAction_ != nullptr) studyAction_->setChecked(on);
    if (on == studyMode_) return on;
    studyMode_ = on;
    if (on) {
        StudyShown();
    } else {
        study_.Stop();
        if (!review_.Active()) arrows_->SetArrows({});
    }
    UpdateDock();
    return on;
}

void TStudyPanel::StudyShown() {
    if (!studyMode_ || session_ == nullptr || review_.Active()) return;
    if (Yielding()) study_.Pause();
    const bool wasActive = study_.Active();
    const TKyokumen before = study_.Position();
    study_.Start(session_->ShownPosition(), session_->Viewer());
    if (!wasActive || !(before.Board == study_.Position().Board)) studyClock_.restart();
    RunTimer();
}

void TStudyPanel::BoardChanged() {
    if (session_ == nullptr) return;
    if (review_.Active()) {
        // The analysis asked about belongs to the game on the board no longer.
        if (analysis_.Shown() == nullptr) StopReview();
        return;
    }
    StudyShown();
}

void TStudyPanel::Poll() {
    if (studyMode_ && !review_.Active()) {
        const bool yielding = Yielding();
        if (yielding && !study_.Paused()) study_.Pause();
        if (!yielding && study_.Paused()) {
            study_.Resume();
            studyClock_.restart();
        }
    }
    study_.Poll();
    review_.Poll();
    // The search's time goes on even while the engine has nothing new to say.
    if (study_.Searching() && shownAt_.elapsed() >= kRefreshMs) ShowStudy();
    const bool waiting = studyMode_ && study_.Paused(); // to go on once the engine is free
    if (!waiting && !study_.Searching() && review_.State() != TMistakeReview::Stage::Checking) {
        seat_.Poll(); // the end of a dropped search
        if (seat_.Quiet()) timer_->stop();
    }
}

QStringList TStudyPanel::LineTexts() const {
    QStringList texts;
    for (const QLabel* label : lineLabels_)
        if (!label->text().isEmpty()) texts << label->text();
    return texts;
}

void TStudyPanel::ShowStudy() {
    const std::vector<TStudyLine>& lines = study_.Lines();
    for (std::size_t i = 0; i < lineLabels_.size(); ++i) {
        if (i >= lines.size()) {
            lineLabels_[i]->clear();
            continue;
        }
        const TStudyLine& l = lines[i];
        lineLabels_[i]->setText(tr("%1. %2　深さ %3\n%4")
                                    .arg(i + 1)
                                    .arg(l.ValueText.empty() ? QStringLiteral("—") : Text(l.ValueText))
                                    .arg(l.Depth)
                                    .arg(Text(l.Words)));
    }
    QString state;
    if (!study_.Error().empty())
        state = tr("エンジンが故障しました（%1）").arg(Text(study_.Error()));
    else if (study_.Paused())
        state = tr("一時停止中（エンジンは対局・ヒント・解析の番です）");
    else if (study_.Active() && lines.empty() && !study_.Searching())
        state = tr("指せる手がありません");
    else if (study_.Searching())
        state =
            tr("考え中… 深さ %1（%2秒）").arg(study_.Depth()).arg(studyClock_.elapsed() / 1000.0, 0, 'f', 1);
    else if (study_.Active())
        state = tr("読み終わりました 深さ %1").arg(study_.Depth());
    studyState_->setText(state);
    shownAt_.restart();
    evalBar_->SetValue(lines.empty() ? std::nullopt : lines.front().Value);
    if (review_.Active()) return;
    std::vector<TMove> firsts;
    if (studyMode_)
        for (const TStudyLine& l : lines) firsts.push_back(l.Moves.front());
    arrows_->SetArrows(RankedArrows(firsts));
}

void TStudyPanel::UpdateDock() {
    const bool reviewing = review_.State() != TMistakeReview::Stage::Off && reviewOpen_;
    studyBox_->setVisible(studyMode_ && !review_.Active());
    reviewBox_->setVisible(reviewing);
    const bool shown = studyMode_ || reviewing;
    if (shown == dock_->isVisible()) return;
    // The window grows by the panel (and shrinks again), so that the board keeps its size beside it.
    QWidget* client = window_.centralWidget();
    const int clientWidth = client != nullptr ? client->width() : 0;
    dock_->setVisible(shown);
    if (client == nullptr || !window_.isVisible() || window_.isMaximized() || window_.isFullScreen()) return;
    window_.layout()->activate();
    window_.resize(window_.width() + clientWidth - client->width(), window_.height());
}

// ---------------------------------------------------------------------------------------------
// The review

bool TStudyPanel::StartReview() {
    if (session_ == nullptr) return false;
    if (!seat_.Installed()) {
        bar_.showMessage(QCoreApplication::translate("TEnginePanel", kMissing), 8000);
        return false;
    }
    const TGameAnalysis* analysis = analysis_.Shown();
    if (analysis == nullptr || analysis_.Running() || !analysis->Complete()) {
        bar_.showMessage(tr("先に「棋譜を解析」で対局を解析してください"), 8000);
        return false;
    }
    if (session_->ReplyPending()) {
        bar_.showMessage(tr("相手の手を待っている間は復習できません"), 8000);
        return false;
    }
    study_.Pause();
    if (review_.Start(*analysis) == 0) {
        bar_.showMessage(tr("復習する悪手・疑問手はありません"), 8000);
        return false;
    }
    board_.SetMoveTaker([this](int from, int to) { TakeTry(from, to); });
    taking_ = true;
    reviewOpen_ = true;
    ShowQuestion();
    ShowReview();
    UpdateDock();
    return true;
}

void TStudyPanel::ShowQuestion() {
    if (!review_.Active()) return;
    arrows_->SetArrows({});
    try {
        session_->ShowMove(review_.Question().Move - 1);
    } catch (const std::out_of_range&) {
        StopReview();
    }
}

void TStudyPanel::TakeTry(int from, int to) {
    if (!review_.Active() || session_ == nullptr) return;
    // The question is about its own position: a board that shows another is put back first.
    if (session_->ShownMove() != review_.Question().Move - 1) return ShowQuestion();
    review_.Try(from, to);
    RunTimer();
}

void TStudyPanel::SkipQuestion() {
    review_.Skip();
}

void TStudyPanel::NextQuestion() {
    review_.Next();
}

void TStudyPanel::StopReview() {
    if (review_.Active()) return review_.Stop();
    // The score has been read: the panel closes.
    reviewOpen_ = false;
    UpdateDock();
}

void TStudyPanel::EndReview() {
    board_.SetMoveTaker(nullptr);
    taking_ = false;
    arrows_->SetArrows({});
    bar_.showMessage(Text(review_.ScoreText()), 10000);
    StudyShown();
    ShowStudy();
}

QString TStudyPanel::ReviewText() const {
    return reviewHead_->text() + QLatin1Char('\n') + reviewState_->text();
}

void TStudyPanel::ShowReview() {
    using Stage = TMistakeReview::Stage;
    const Stage stage = review_.State();
    reviewHead_->setText(Text(review_.HeadText()));
    QString state = Text(review_.StateText());
    if (stage != Stage::Off && stage != Stage::Over) state += QLatin1Char('\n') + Text(review_.ScoreText());
    reviewState_->setText(state);
    skip_->setEnabled(stage == Stage::Asking || stage == Stage::Checking);
    next_->setEnabled(stage == Stage::Answered);
    stop_->setEnabled(true);
    Language::SetText(stop_, "TStudyPanel", review_.Active() ? QT_TR_NOOP("中止") : QT_TR_NOOP("閉じる"));
    if (stage == Stage::Answered) {
        arrows_->SetArrows(RankedArrows({review_.Question().Best}));
    } else if (review_.Active()) {
        arrows_->SetArrows({});
        if (session_ != nullptr && session_->ShownMove() != review_.Question().Move - 1) ShowQuestion();
    }
    if (stage == Stage::Over && taking_) EndReview();
    UpdateDock();
}
