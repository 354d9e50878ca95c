#include "app/status_panels.h"

#include <QPainter>
#include <QProgressBar>

#include <algorithm>

#include "app/edit_commands.h"
#include "common/value_helpers.h"
#include "platform/core/clock.h"
#include "platform/core/units.h"
#include "platform/widgets/panel_status_bar.h"

namespace morvane::app {

namespace {

constexpr int kTpp = core::kTwipsPerPixel;

QString PanelKey(engine::StatusField field) {
  switch (field) {
    case engine::StatusField::Info: return QStringLiteral("Info");
    case engine::StatusField::Progress1: return QStringLiteral("Progress1");
    case engine::StatusField::Progress2: return QStringLiteral("Progress2");
  }
  return {};
}

// The picture the "Changed" panel shows while the document has unsaved changes.
QPixmap MakeChangedPicture() {
  QPixmap picture(12, 12);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(200, 30, 30));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(1, 1, 10, 10);
  return picture;
}

}  // namespace

StatusPanels::StatusPanels(QWidget* client, RunController& run) : QObject(client), run_(run) {
  status_ = new widgets::PanelStatusBar(client);
  status_->setObjectName(QStringLiteral("pbStatus"));
  struct PanelDesign {
    const char* key;
    double width;
    widgets::PanelAutoSize size;
    int tag;
  };
  for (const PanelDesign& p : {PanelDesign{"Changed", 20 * kTpp, widgets::PanelAutoSize::None, 311},
                               PanelDesign{"Info", 110 * kTpp, widgets::PanelAutoSize::None, 312},
                               PanelDesign{"Progress1", 150 * kTpp, widgets::PanelAutoSize::Spring, 313},
                               PanelDesign{"Progress2", 150 * kTpp, widgets::PanelAutoSize::Spring, 314},
                               PanelDesign{"Time", 70 * kTpp, widgets::PanelAutoSize::None, 315}}) {
    status_->AddPanel(QString::fromLatin1(p.key), p.width, p.size)->SetTag(QString::number(p.tag));
  }
  connect(status_, &widgets::PanelStatusBar::PanelsMoved, this, &StatusPanels::PanelsMoved);
  for (std::size_t i = 0; i < progress_.size(); ++i) {
    auto* bar = new QProgressBar(client);
    bar->setObjectName(QStringLiteral("pbProgress"));
    bar->setProperty("Index", static_cast<int>(i));
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    bar->setVisible(false);
    progress_[i] = bar;
  }
  changedPicture_ = MakeChangedPicture();
}

void StatusPanels::ShowElapsedTime() {
  // Called after every step of a run: the clock is shown, and events let through, only
  // when the pump is due. Outside a run the panel keeps the last run's time.
  if (run_.Running()) {
    if (!run_.PumpDue()) return;
    ShowClock();
  }
  run_.Tick();
}

std::int64_t StatusPanels::ShowElapsedTimes(std::int64_t n) {
  if (n <= 0) return 0;
  ShowElapsedTime();
  return StopRequested() ? 1 : 0;
}

void StatusPanels::ShowClock() {
  const std::int64_t now = core::TickCount();
  const QString text = QString::fromStdString(common::FormatDuration(now, now - run_.ElapsedMs()));
  widgets::StatusBarPanel* panel = status_->Panel(QStringLiteral("Time"));
  if (panel != nullptr && panel->Text() != text) panel->SetText(text);
}

void StatusPanels::SetProgress(int index, int percent) {
  if (index < 0 || index >= static_cast<int>(progress_.size())) return;
  const auto i = static_cast<std::size_t>(index);
  if (percent == 0) progressShown_[i] = true;
  progressValue_[i] = std::clamp(percent, 0, 100);
  if (!run_.Running()) ApplyProgress();
}

void StatusPanels::HideProgress(int index) {
  if (index < 0 || index >= static_cast<int>(progress_.size())) return;
  progressShown_[static_cast<std::size_t>(index)] = false;
  if (!run_.Running()) ApplyProgress();
}

void StatusPanels::ApplyProgress() {
  // A bar paints itself at once when its value moves; during a run the pump brings the
  // bars up to date instead, so that their painting stays at the pump's rate.
  for (std::size_t i = 0; i < progress_.size(); ++i) {
    QProgressBar* bar = progress_[i];
    if (bar->isVisible() != progressShown_[i]) bar->setVisible(progressShown_[i]);
    if (bar->value() != progressValue_[i]) bar->setValue(progressValue_[i]);
  }
}

void StatusPanels::SetStatusText(engine::StatusField field, std::string_view text) {
  if (widgets::StatusBarPanel* p = status_->Panel(PanelKey(field))) {
    p->SetText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
}

void StatusPanels::ShowStatistics(std::int32_t points, std::int32_t contours) {
  widgets::StatusBarPanel* panel = status_->Panel(QStringLiteral("Progress1"));
  panel->SetText(QString::fromStdString(StatisticsText(panel->Text().toStdString(), points, contours)));
}

void StatusPanels::ShowChangedMark(bool changed) {
  if (widgets::StatusBarPanel* panel = status_->Panel(QStringLiteral("Changed"))) {
    panel->SetPicture(changed ? changedPicture_ : QPixmap());
  }
}

}  // namespace morvane::app
