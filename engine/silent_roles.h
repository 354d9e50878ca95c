#pragma once
// One base per window role that does nothing: the command-line tool, the benchmarks
// and the tests derive from these and override only what they watch.

#include <cstdint>

#include "engine/window_roles.h"

namespace morvane::engine {

// Never stopped, never shown. Bulk ticks are answered at once; a role built on this
// that watches the ticks or the stop flag overrides ShowElapsedTimes as well, with
// RunControl's loop.
class SilentRunControl : public RunControl {
 public:
  void ShowElapsedTime() override {}
  std::int64_t ShowElapsedTimes(std::int64_t) override { return 0; }
  void SetProgress(int, int) override {}
  void HideProgress(int) override {}
  bool StopRequested() const override { return false; }
};

class SilentStatusLine : public StatusLine {
 public:
  void SetStatusText(StatusField, std::string_view) override {}
};

class SilentPictureView : public PictureView {
 public:
  void ShowImage() override {}
  void RedrawContours() override {}
  void LocateCursor(double, double) override {}
  void ClearPicture() override {}
  void ShowPicture(core::RgbImage) override {}
  void ReshowPicture() override {}
  void SelectZoom(int) override {}
};

class SilentTitlesView : public TitlesView {
 public:
  void SelectTitle(std::int32_t) override {}
};

// The engine's roles, all silent: a window that nobody watches.
struct SilentWindow : SilentRunControl, SilentStatusLine, SilentPictureView, SilentTitlesView {};

}  // namespace morvane::engine
