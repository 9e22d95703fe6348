#include "ui/AnalysisPanel.h"

#include "ui/Language.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDockWidget>
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

void TEvalGraph::SetPoints(std::vector<int> values, std::vector<MoveMark> marks) {
    values_ = std::move(values);
    marks_ = std::move(marks);
    scale_ = kGraphLeast;
    for (int v : values_) scale_ = std::max(scale_, std::min(std::abs(v), kGraphMost));
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
    const int value =
        n >= 0 && n < int(values_.size()) ? std::clamp(values_[std::size_t(n)], -scale_, scale_) : 0;
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
        p.drawLine(PointPosition(int(i - 1)), PointPosition(int(i)));
    for (std::size_t i = 0; i < values_.size(); ++i) {
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
    connect(timer_, &QTimer::timeout, this, [this] { analysis_.Poll(); });
    seat_.Restarted = [this](const std::string& message) {
        bar_.showMessage(QString::fromStdString(message), 8000);
    };
    analysis_.Progress = [this] { Progressed(); };

    dialog_ = new QDialog(&window);
    dialog_->setObjectName(QStringLiteral("AnalysisDialog"));
    Language::SetText(dialog_, "TAnalysisPanel", QT_TR_NOOP("棋譜を解析"));
    dialog_->setModal(false);
    auto* layout = new QVBoxLayout(dialog_);
    auto* row = new QHBoxLayout;
    auto* timeLabel = new QLabel(dialog_);
    Language::SetText(timeLabel, "TAnalysisPanel", QT_TR_NOOP("1局面あたりの時間"));
    row->addWidget(timeLabel);
    time_ = new QSpinBox(dialog_);
    time_->setRange(50, 10000);
    time_->setSingleStep(50);
    time_->setValue(int(kAnalysisDefaultTime.count()));
    time_->setSuffix(QStringLiteral(" ms"));
    row->addWidget(time_);
    layout->addLayout(row);
    progress_ = new QProgressBar(dialog_);
    layout->addWidget(progress_);
    state_ = new QLabel(dialog_);
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
    connect(start_, &QPushButton::clicked, this, [this] { Begin(time_->value()); });
    connect(cancel_, &QPushButton::clicked, this, &TAnalysisPanel::Cancel);

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
    analysis_.Progress = nullptr;
    analysis_.Cancel();
}

void TAnalysisPanel::AddMenu() {
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
}

void TAnalysisPanel::OpenDialog() {
    dialog_->show();
    dialog_->raise();
}

void TAnalysisPanel::Begin(int msPerPosition) {
    if (session_ == nullptr) return;
    const TKifRecord record = session_->KifRecord();
    progress_->setRange(0, int(record.Played.size()) + 1);
    progress_->setValue(0);
    state_->setText(tr("解析中…"));
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    time_->setEnabled(false);
    dock_->show();
    timer_->start();
    analysis_.Start(record, std::chrono::milliseconds(msPerPosition));
}

void TAnalysisPanel::Cancel() {
    analysis_.Cancel();
    Finished();
    state_->setText(
        tr("中止しました（%1 / %2 局面）").arg(analysis_.Evals().size()).arg(analysis_.Positions()));
}

void TAnalysisPanel::Progressed() {
    progress_->setValue(int(analysis_.Evals().size()));
    UpdateGraph();
    if (analysis_.Running()) return;
    Finished();
    if (!analysis_.Error().empty()) {
        state_->setText(
            tr("エンジンが答えませんでした（%1）").arg(QString::fromStdString(analysis_.Error())));
        return;
    }
    int bad = 0, dubious = 0;
    for (std::size_t move = 1; move < analysis_.Evals().size(); ++move) {
        const MoveMark m = analysis_.Verdict(move).Mark;
        bad += m == MoveMark::Bad;
        dubious += m == MoveMark::Dubious;
    }
    // The comments go with the game only while it is still the game analysed.
    const bool noted =
        session_ != nullptr && session_->NoteAnalysis(analysis_.Record().Played, analysis_.MoveComments());
    state_->setText(tr("解析しました: 悪手 %1・疑問手 %2%3")
                        .arg(bad)
                        .arg(dubious)
                        .arg(noted ? QString() : tr("（対局が変わったので棋譜には書きません）")));
}

void TAnalysisPanel::Finished() {
    timer_->stop();
    start_->setEnabled(true);
    cancel_->setEnabled(false);
    time_->setEnabled(true);
}

void TAnalysisPanel::UpdateGraph() {
    std::vector<int> values;
    std::vector<MoveMark> marks;
    for (std::size_t i = 0; i < analysis_.Evals().size(); ++i) {
        values.push_back(analysis_.Evals()[i].Value);
        marks.push_back(analysis_.Verdict(i).Mark);
    }
    graph_->SetPoints(std::move(values), std::move(marks));
    QStringList verdicts;
    for (std::size_t move = 1; move <= analysis_.Record().Shown.size(); ++move) {
        const TMoveVerdict v = analysis_.Verdict(move);
        verdicts << (v.Mark == MoveMark::None
                         ? QString()
                         : QString::fromStdString(MoveMarkText(v.Mark) + " " + v.Better));
    }
    emit verdictsChanged(analysis_.Record().Shown, verdicts);
    BoardChanged();
}

void TAnalysisPanel::BoardChanged() {
    if (session_ != nullptr) graph_->SetShown(session_->ShownMove());
}

void TAnalysisPanel::ShowMove(int n) {
    if (session_ == nullptr || n < 0 || n >= int(analysis_.Evals().size())) return;
    if (!session_->ReplayMode()) {
        bar_.showMessage(tr("局面を選べるのは棋譜再現の間だけです"), 5000);
        return;
    }
    session_->ReplayTo(n);
    BoardChanged();
    QString text = tr("%1手目　評価値 %2").arg(n).arg(ValueText(analysis_.Evals()[std::size_t(n)].Value));
    const TMoveVerdict v = analysis_.Verdict(std::size_t(n));
    if (v.Mark != MoveMark::None)
        text += tr("　%1（最善 %2）")
                    .arg(QString::fromStdString(MoveMarkText(v.Mark)), QString::fromStdString(v.Better));
    bar_.showMessage(text, 10000);
}
