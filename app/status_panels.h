#pragma once

// The status bar, its three progress bars and the changed picture: the panels' texts,
// the run's progress and clock, and the changed mark. During a run the bars follow at
// the pump's rate; outside one they follow at once.

#include <QObject>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <string_view>

#include "app/run_controller.h"
#include "engine/window_roles.h"

class QProgressBar;
class QWidget;

namespace morvane::widgets {
class PanelStatusBar;
}

namespace morvane::app {

class StatusPanels : public QObject, public engine::RunControl, public engine::StatusLine {
  Q_OBJECT

 public:
  // The bar and the progress bars are made on the window's client area.
  StatusPanels(QWidget* client, RunController& run);

  widgets::PanelStatusBar* Bar() const { return status_; }
  const std::array<QProgressBar*, 3>& ProgressBars() const { return progress_; }

  // engine::RunControl
  void ShowElapsedTime() override;
  // A stretch of steps is one step for the pump, which runs at its own rate anyway.
  std::int64_t ShowElapsedTimes(std::int64_t n) override;
  void SetProgress(int index, int percent) override;
  void HideProgress(int index) override;
  bool StopRequested() const override { return run_.StopRequested(); }
  // The progress bars as the run left them; the run's pump calls it before painting.
  void ApplyProgress();
  // The elapsed time in panel "Time".
  void ShowClock();

  // engine::StatusLine
  void SetStatusText(engine::StatusField field, std::string_view text) override;

  // The statistics on the image part of panel "Progress1" that was written last.
  void ShowStatistics(std::int32_t points, std::int32_t contours);
  // The changed picture in panel "Changed", or none.
  void ShowChangedMark(bool changed);

 signals:
  // The panels moved: the progress bars over them follow.
  void PanelsMoved();

 private:
  RunController& run_;
  widgets::PanelStatusBar* status_ = nullptr;
  std::array<QProgressBar*, 3> progress_{};
  QPixmap changedPicture_;
  std::array<int, 3> progressValue_{};
  std::array<bool, 3> progressShown_{};
};

}  // namespace morvane::app
