#pragma once
// The roles through which the engine reaches the main window. Each is small, so that
// different parts of the window implement them and a fake of one role overrides only
// what it records (silent_roles.h has a base that does nothing for each).

#include <cstdint>
#include <string_view>

#include "platform/core/pixel_buffer.h"

namespace morvane::engine {

// The window's progress bars, as RunControl numbers them.
enum ProgressBar : int {
  kProgressBatch = 0,       // the batch run
  kProgressWholeImage = 1,  // the whole-image run
  kProgressStep = 2,        // reduction, pair search and pixel count
};

// What a long run needs of its host: a tick that lets pending events through, progress
// bars, and the stop flag that the Stop command sets during a tick.
class RunControl {
 public:
  virtual ~RunControl() = default;

  // Called after every step; the host handles pending events here (throttled as it
  // likes) and shows the elapsed time.
  virtual void ShowElapsedTime() = 0;
  // n ticks at once, for a stretch of steps the engine went through without ticking:
  // the same as n calls of ShowElapsedTime, but ending at the first tick after which
  // StopRequested is set. Returns that tick (1 to n), or 0 when no stop was seen. The
  // engine replays the stretch up to that tick, so a stop lands where it would have.
  // Hosts that do little per tick answer it without looping.
  virtual std::int64_t ShowElapsedTimes(std::int64_t n) {
    for (std::int64_t k = 1; k <= n; ++k) {
      ShowElapsedTime();
      if (StopRequested()) return k;
    }
    return 0;
  }
  // index is a ProgressBar. Percent 0 shows the bar.
  virtual void SetProgress(int index, int percent) = 0;
  virtual void HideProgress(int index) = 0;
  virtual bool StopRequested() const = 0;
};

// The status bar's text panels, by their keys.
enum class StatusField { Info, Progress1, Progress2 };

// The status bar's texts. Panel "Progress2" carries the engine's notices: "No figure
// found.", "Already added.", "The same contour.", "Different contours." or "".
class StatusLine {
 public:
  virtual ~StatusLine() = default;
  virtual void SetStatusText(StatusField field, std::string_view text) = 0;
};

// The work picture and the zoom view over it.
class PictureView {
 public:
  virtual ~PictureView() = default;
  // Puts the plain image back on the zoom view, clearing drawn contours: the image the
  // engine reads holds none after it.
  virtual void ShowImage() = 0;
  // Draws the document's contours over the image again.
  virtual void RedrawContours() = 0;
  // Moves the mouse pointer onto a position in twips of the image.
  virtual void LocateCursor(double x, double y) = 0;
  // Empties the work picture.
  virtual void ClearPicture() = 0;
  // Shows a newly loaded picture (which also enables the view); the view keeps it.
  virtual void ShowPicture(core::RgbImage image) = 0;
  // The work picture again, contours cleared, the scroll position kept.
  virtual void ReshowPicture() = 0;
  // The zoom factor by its index in the zoom menu (mViewZoom).
  virtual void SelectZoom(int index) = 0;
};

// The titles list's selection. Its entries follow the document model; which one is
// selected is the list's own, set here. A selection made here is no user's click.
class TitlesView {
 public:
  virtual ~TitlesView() = default;
  virtual void SelectTitle(std::int32_t index) = 0;
};

}  // namespace morvane::engine
