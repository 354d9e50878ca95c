#pragma once

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/contour_engine.h"
#include "engine/silent_roles.h"
#include "platform/core/pixel_buffer.h"
#include "tests/support/picture_rows.h"

namespace morvane::common {
inline std::ostream& operator<<(std::ostream& os, const ContourPoint& p) {
  return os << "{" << p.x << ", " << p.y << "}";
}
inline void PrintTo(const ContourPoint& p, std::ostream* os) { *os << p; }
}  // namespace morvane::common

namespace morvane::engine::testing {

using morvane::testing::PictureRows;

// The engine's window roles, recording what they are told: the run control's ticks,
// progress and stop flag, the status notices, the title selection and the cursor.
class FakeWindow : public SilentWindow {
 public:
  void ShowElapsedTime() override {
    ++ticks;
    if (onTick) onTick(ticks);
  }
  // Every tick is watched: bulk ticks come one by one.
  std::int64_t ShowElapsedTimes(std::int64_t n) override { return RunControl::ShowElapsedTimes(n); }
  void SetProgress(int index, int percent) override { progress.push_back({index, percent}); }
  void HideProgress(int index) override { hidden.push_back(index); }
  bool StopRequested() const override { return stop; }
  void SetStatusText(StatusField field, std::string_view text) override {
    if (field == StatusField::Progress2) progress2 = text;
  }
  void SelectTitle(std::int32_t index) override { selectedTitle = index; }
  void LocateCursor(double x, double y) override { cursor = {x, y}; }

  std::int64_t ticks = 0;
  std::function<void(std::int64_t)> onTick;
  bool stop = false;
  std::vector<std::pair<int, int>> progress;
  std::vector<int> hidden;
  std::string progress2 = "unset";
  std::int32_t selectedTitle = -1;
  std::pair<double, double> cursor{-1, -1};
};

// The reduction methods as the tables give them: 2.5 is method 3's second pass alone.
inline ReductionMethod MethodOf(float method) {
  return method == 2.5f ? ReductionMethod::LineOfSight
                        : static_cast<ReductionMethod>(static_cast<std::int32_t>(method));
}

// The titles list's entries of a contour set.
inline std::vector<std::string> Entries(const ContourSet& contours) {
  std::vector<std::string> entries;
  for (const ContourTitle& title : contours.titles) entries.push_back(TitleEntry(title));
  return entries;
}

// An image from ASCII art, given as rows or drawn in one raw string (PictureRows): '.'
// white, '#' black, 'g' silver (C0C0C0), 'n' near white (F4F4F4, which the 16-colour
// conversion takes for white), 'r' red.
inline core::RgbImage ImageFromArt(const std::vector<std::string>& rows) {
  const auto h = static_cast<std::int32_t>(rows.size());
  const auto w = h > 0 ? static_cast<std::int32_t>(rows[0].size()) : 0;
  core::RgbImage image(w, h);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      std::uint32_t rgb = 0xFFFFFF;
      switch (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
        case '#': rgb = 0x000000; break;
        case 'g': rgb = 0xC0C0C0; break;
        case 'n': rgb = 0xF4F4F4; break;
        case 'r': rgb = 0xFF0000; break;
        default: break;
      }
      image.at(x, y) = 0xFF000000u | rgb;
    }
  }
  return image;
}
inline core::RgbImage ImageFromArt(std::string_view picture) {
  return ImageFromArt(PictureRows(picture));
}

// The top left of an image, at most side x side pixels: runs stopped at every tick
// stay short on it.
inline core::RgbImage TopLeft(const core::RgbImage& image, std::int32_t side) {
  if (image.width <= side && image.height <= side) return image;
  core::RgbImage small(std::min(image.width, side), std::min(image.height, side));
  for (std::int32_t y = 0; y < small.height; ++y)
    for (std::int32_t x = 0; x < small.width; ++x) small.at(x, y) = image.at(x, y);
  return small;
}

// One engine over a fake window and an image, and the contours of a document.
struct EngineRig {
  explicit EngineRig(std::string_view picture, float method = 3)
      : EngineRig(PictureRows(picture), method) {}
  explicit EngineRig(const std::vector<std::string>& art, float method = 3)
      : image(ImageFromArt(art)), engine(window, window, window, window) {
    engine.SetImage(&image);
    engine.LetBackColor(0xFFFFFF);
    engine.ApproxMethod = MethodOf(method);
    engine.PrepareMask();
  }
  // The document's points from position 1 on.
  std::vector<ContourPoint> Points() const { return {doc.points.begin() + 1, doc.points.end()}; }
  // The trace buffer's points from position 1 on.
  std::vector<ContourPoint> Traced() { return {engine.Traced().begin() + 1, engine.Traced().end()}; }
  std::vector<std::string> Titles() const { return Entries(doc); }
  // File > Create: the run's result becomes the document.
  void Create() { doc = engine.CreateWholeImageContours(format); }

  core::RgbImage image;
  FakeWindow window;
  ContourEngine engine;
  ContourSet doc;
  std::string format = "0";
};

}  // namespace morvane::engine::testing
