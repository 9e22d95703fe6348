#include "ui/AnalysisPanel.h"

#include "ui/Language.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDockWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kPollMs = 10;
// The nodes per position the dialog offers: from a glance to a long look (about 0.2 ms a thousand nodes
// on this machine).
constexpr std::uint64_t kMinNodes = 10'000;
constexpr std::uint64_t kMaxNodes = 5'000'000;
// The graph's scale follows the game's largest value within these: beyond the upper one the game is
// decided (a mate would flatten everything else), below the lower one small swings would look large.
constexpr int kGraphLeast = 500;
constexpr int kGraphMost = 2000;

QColor MarkColour(MoveMark m) {
    return m == MoveMark::Bad ? QColor(210, 30, 30) : QColor(230, 140, 0);
}

QString ValueText(int value) {
    if (std::abs(value) > kMateValue - 1000)
        return (value > 0 ? QCoreApplication::translate("TAnalysisPanel", "+詰")
                          : QCoreApplication::translate("TAnalysisPanel", "-詰")) +
               QString::number(kMateValue - std::abs(value));
    return (value > 0 ? QStringLiteral("+") : QString()) + QString::number(value);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The graph

TEvalGraph::TEvalGraph(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EvalGraph"));
    setMinimumSize(200, 90);
    setCursor(Qt::PointingHandCursor);
}

void TEvalGraph::SetPoints(std::vector<std::optional<int>> values, std::vector<MoveMark> marks) {
    values_ = std::move(values);
    marks_ = std::move(marks);
    scale_ = kGraphLeast;
    for (const std::optional<int>& v : values_)
        if (v) scale_ = std::max(scale_, std::min(std::abs(*v), kGraphMost));
    update();
}

void TEvalGraph::SetShown(int n) {
    if (n == shown_) return;
    shown_ = n;
    update();
}

QRectF TEvalGraph::Plot() const {
    return QRectF(rect()).adjusted(8, 8, -8, -8);
}

QPoint TEvalGraph::PointPosition(int n) const {
    const QRectF plot = Plot();
    const int count = std::max<int>(int(values_.size()) - 1, 1);
    const double x = plot.left() + plot.width() * n / count;
    const int value = n >= 0 && n < int(values_.size()) && values_[std::size_t(n)]
                          ? std::clamp(*values_[std::size_t(n)], -scale_, scale_)
                          : 0;
    const double y = plot.center().y() - plot.height() / 2 * value / scale_;
    return QPointF(x, y).toPoint();
}

int TEvalGraph::PointAt(int x) const {
    if (values_.empty()) return -1;
    const QRectF plot = Plot();
    const int count = std::max<int>(int(values_.size()) - 1, 1);
    const int n = int(std::lround((x - plot.left()) / plot.width() * count));
    return std::clamp(n, 0, int(values_.size()) - 1);
}

void TEvalGraph::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(rect(), QColor(252, 250, 244));
    const QRectF plot = Plot();
    // The human's side is above the middle line.
    p.fillRect(QRectF(plot.left(), plot.top(), plot.width(), plot.height() / 2), QColor(236, 243, 252));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawLine(QPointF(plot.left(), plot.center().y()), QPointF(plot.right(), plot.center().y()));
    if (values_.empty()) return;
    if (shown_ >= 0 && shown_ < int(values_.size())) {
        const int x = PointPosition(shown_).x();
        p.setPen(QPen(QColor(20, 100, 230), 2));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    for (std::size_t i = 1; i < values_.size(); ++i)
        if (values_[i - 1] && values_[i]) p.drawLine(PointPosition(int(i - 1)), PointPosition(int(i)));
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (!values_[i]) continue;
        const MoveMark mark = i < marks_.size() ? marks_[i] : MoveMark::None;
        const bool shown = int(i) == shown_;
        p.setPen(Qt::NoPen);
        p.setBrush(mark != MoveMark::None ? MarkColour(mark)
                   : shown                ? QColor(20, 100, 230)
                                          : QColor(40, 40, 40));
        const double r = mark != MoveMark::None || shown ? 4.5 : 2.5;
        p.drawEllipse(QPointF(PointPosition(int(i))), r, r);
    }
}

void TEvalGraph::mousePressEvent(QMouseEvent* event) {
    const int n = PointAt(int(event->position().x()));
    if (n >= 0) emit pointClicked(n);
}

// ---------------------------------------------------------------------------------------------
// The panel

TAnalysisPanel::TAnalysisPanel(QMainWindow& window, QStatusBar& bar)
    : QObject(&window), window_(window), bar_(bar) {
    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &TAnalysisPanel::Poll);
    seat_.Restarted = [this](const std::string& message) {
        bar_.showMessage(QString::fromStdString(message), 8000);
    };
    for (TGameAnalysis& a : analyses_) a.Progress = [this] { Progressed(); };

    dialog_ = new QDialog(&window);
    dialog_->setObjectName(QStringLiteral("AnalysisDialog"));
    Language::SetText(dialog_, "TAnalysisPanel", QT_TR_NOOP("棋譜を解析"));
    dialog_->setModal(false);
    auto* layout = new QVBoxLayout(dialog_);
    auto* row = new QHBoxLayout;
    auto* nodesLabel = new QLabel(dialog_);
    Language::SetText(nodesLabel, "TAnalysisPanel", QT_TR_NOOP("1局面あたりのノード数"));
    row->addWidget(nodesLabel);
    nodes_ = new QSpinBox(dialog_);
    nodes_->setObjectName(QStringLiteral("AnalysisNodes"));
    nodes_->setRange(int(kMinNodes), int(kMaxNodes));
    nodes_->setSingleStep(int(kMinNodes));
    nodes_->setValue(int(kAnalysisDefaultNodes));
    nodes_->setGroupSeparatorShown(true);
    row->addWidget(nodes_);
    layout->addLayout(row);
    progress_ = new QProgressBar(dialog_);
    layout->addWidget(progress_);
    state_ = new QLabel(dialog_);
    state_->setObjectName(QStringLiteral("AnalysisState"));
    layout->addWidget(state_);
    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(dialog_);
    Language::SetText(start_, "TAnalysisPanel", QT_TR_NOOP("開始"));
    cancel_ = new QPushButton(dialog_);
    Language::SetText(cancel_, "TAnalysisPanel", QT_TR_NOOP("中止"));
    cancel_->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, [this] { Begin(std::uint64_t(nodes_->value())); });
    connect(cancel_, &QPushButton::clicked, this, &TAnalysisPanel::Cancel);
    // The dialog writes in the window's type, as the message boxes do, and so follows its zoom.
    dialog_->setFont(window.font());
    window.installEventFilter(this);

    dock_ = new QDockWidget(&window);
    Language::SetText(dock_, "TAnalysisPanel", QT_TR_NOOP("評価値"));
    dock_->setObjectName(QStringLiteral("EvalGraphDock"));
    dock_->setFeatures(QDockWidget::DockWidgetClosable);
    dock_->setAllowedAreas(Qt::BottomDockWidgetArea);
    graph_ = new TEvalGraph(dock_);
    dock_->setWidget(graph_);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock_);
    dock_->hide();
    connect(graph_, &TEvalGraph::pointClicked, this, &TAnalysisPanel::ShowMove);
}

TAnalysisPanel::~TAnalysisPanel() {
    window_.removeEventFilter(this);
    for (TGameAnalysis& a : analyses_) {
        a.Progress = nullptr;
        a.Cancel();
    }
}

bool TAnalysisPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::FontChange) {
        dialog_->setFont(window_.font());
        dialog_->adjustSize();
    }
    return QObject::eventFilter(watched, event);
}

QMenu* TAnalysisPanel::AddMenu() {
    QMenu* menu = window_.menuBar()->addMenu(QString());
    Language::SetText(menu, "TAnalysisPanel", QT_TR_NOOP("検討(&A)"));
    menu->setObjectName(QStringLiteral("AnalysisMenu"));
    menu->setToolTipsVisible(true);
    QAction* action = menu->addAction(QString());
    Language::SetText(action, "TAnalysisPanel", QT_TR_NOOP("棋譜を解析…"));
    connect(action, &QAction::triggered, this, &TAnalysisPanel::OpenDialog);
    if (!seat_.Installed()) {
        action->setEnabled(false);
        Language::SetToolTip(
            action, "TEnginePanel",
            QT_TRANSLATE_NOOP(
                "TEnginePanel",
                "エンジンが見つかりません（Debian のパッケージ fairy-stockfish を入れてください）"));
    }
    return menu;
}

void TAnalysisPanel::OpenDialog() {
    dialog_->setFont(window_.font());
    dialog_->show();
    dialog_->raise();
}

const TGameAnalysis* TAnalysisPanel::Shown() const {
    if (Run().Running()) return &Run();
    return result_ ? &analyses_[*result_] : nullptr;
}

bool TAnalysisPanel::OfThisGame(const TGameAnalysis& a) const {
    if (session_ == nullptr) return false;
    const TKifRecord game = session_->LineRecord();
    const std::vector<TMove>& analysed = a.Record().Played;
    return a.Record().Start == game.Start && a.Record().Edited == game.Edited &&
           analysed.size() <= game.Played.size() &&
           std::equal(analysed.begin(), analysed.end(), game.Played.begin());
}

void TAnalysisPanel::SetState(std::function<QString()> text) {
    stateText_ = std::move(text);
    state_->setText(stateText_ ? stateText_() : QString());
}

void TAnalysisPanel::Begin(std::uint64_t nodesPerPosition) {
    if (session_ == nullptr) return;
    Run().Cancel();
    const TKifRecord record = session_->LineRecord();
    progress_->setRange(0, int(record.Played.size()) + 1);
    progress_->setValue(0);
    SetState([] { return tr("解析中…"); });
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    nodes_->setEnabled(false);
    dock_->show();
    timer_->start();
    run_ = result_ == std::size_t(0) ? 1 : 0;
    TAnalysisSettings settings;
    settings.Nodes = nodesPerPosition;
    Run().Start(record, settings);
}

void TAnalysisPanel::Cancel() {
    Stopped(false);
}

void TAnalysisPanel::Stopped(bool gameChanged) {
    if (!Run().Running()) return;
    Run().Cancel();
    Finished();
    const std::size_t done = Run().Evals().size(), all = Run().Positions();
    SetState([done, all, gameChanged] {
        return gameChanged ? tr("対局が変わったので中止しました")
                           : tr("中止しました（%1 / %2 局面）").arg(done).arg(all);
    });
    // The earlier result, when there is one, is shown again.
    UpdateGraph();
}

void TAnalysisPanel::Poll() {
    if (Run().Running())
        Run().Poll();
    else
        seat_.Poll(); // the end of a cancelled search, or an engine found hung on it
    if (!Run().Running() && seat_.Quiet()) timer_->stop();
}

void TAnalysisPanel::Progressed() {
    progress_->setValue(int(Run().Evals().size()));
    if (Run().Running()) return UpdateGraph();
    Finished();
    if (!Run().Error().empty()) {
        const QString error = QString::fromStdString(Run().Error());
        SetState([error] { return tr("エンジンが故障しました（%1）").arg(error); });
        return UpdateGraph();
    }
    result_ = run_;
    int bad = 0, dubious = 0;
    for (std::size_t move = 1; move < Run().Evals().size(); ++move) {
        const MoveMark m = Run().Verdict(move).Mark;
        bad += m == MoveMark::Bad;
        dubious += m == MoveMark::Dubious;
    }
    // The comments go with the game only while it is still the game analysed.
    const bool noted =
        session_ != nullptr && session_->NoteAnalysis(Run().Record().Played, Run().MoveComments());
    SetState([bad, dubious, noted] {
        return tr("解析しました: 悪手 %1・疑問手 %2%3")
            .arg(bad)
            .arg(dubious)
            .arg(noted ? QString() : tr("（対局が変わったので棋譜には書きません）"));
    });
    UpdateGraph();
}

void TAnalysisPanel::Finished() {
    start_->setEnabled(true);
    cancel_->setEnabled(false);
    nodes_->setEnabled(true);
}

void TAnalysisPanel::UpdateGraph() {
    if (result_ && !Run().Running() && !OfThisGame(analyses_[*result_])) result_.reset();
    const TGameAnalysis* shown = Shown();
    std::vector<std::optional<int>> values;
    std::vector<MoveMark> marks;
    QStringList verdicts;
    std::vector<TMove> moves;
    if (shown != nullptr) {
        for (std::size_t i = 0; i < shown->Evals().size(); ++i) {
            values.push_back(shown->Evals()[i].Value);
            marks.push_back(shown->Verdict(i).Mark);
        }
        moves = shown->Record().Shown;
        for (std::size_t move = 1; move <= moves.size(); ++move) {
            const TMoveVerdict v = shown->Verdict(move);
            verdicts << (v.Mark == MoveMark::None
                             ? QString()
                             : QString::fromStdString(MoveMarkText(v.Mark) + " " + v.Better));
        }
    }
    graph_->SetPoints(std::move(values), std::move(marks));
    emit verdictsChanged(moves, verdicts);
    if (session_ != nullptr) graph_->SetShown(session_->ShownMove());
}

void TAnalysisPanel::BoardChanged() {
    if (session_ == nullptr) return;
    // An analysis of a game that is no longer on the board is of no use to it: its comments could not
    // be written and its graph would describe other moves.
    if (Run().Running() && !OfThisGame(Run())) return Stopped(true);
    if (result_ && !Run().Running() && !OfThisGame(analyses_[*result_])) return UpdateGraph();
    graph_->SetShown(session_->ShownMove());
}

void TAnalysisPanel::Retranslate() {
    if (stateText_) state_->setText(stateText_());
    UpdateGraph();
}

void TAnalysisPanel::ShowMove(int n) {
    const TGameAnalysis* shown = Shown();
    if (session_ == nullptr || shown == nullptr || n < 0 || n >= int(shown->Evals().size())) return;
    // A reply awaited holds the board where it is.
    if (session_->ReplyPending()) return;
    session_->ShowMove(n);
    BoardChanged();
    const std::optional<int>& value = shown->Evals()[std::size_t(n)].Value;
    QString text = value ? tr("%1手目　評価値 %2").arg(n).arg(ValueText(*value)) : tr("%1手目").arg(n);
    const TMoveVerdict v = shown->Verdict(std::size_t(n));
    if (v.Mark != MoveMark::None)
        text += tr("　%1（最善 %2）")
                    .arg(QString::fromStdString(MoveMarkText(v.Mark)), QString::fromStdString(v.Better));
    bar_.showMessage(text, 10000);
}
