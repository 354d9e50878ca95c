#pragma once

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/contour_engine.h"
#include "platform/core/pixel_buffer.h"

namespace morvane::common {
inline std::ostream& operator<<(std::ostream& os, const ContourPoint& p) {
  return os << "{" << p.x << ", " << p.y << "}";
}
inline void PrintTo(const ContourPoint& p, std::ostream* os) { *os << p; }
}  // namespace morvane::common

namespace morvane::engine::testing {

// The main window as the engine sees it, recording what it is told.
class FakeWindow : public EngineHost, public RunControl, public TitlesList {
 public:
  // RunControl
  void ShowElapsedTime() override {
    ++ticks;
    if (onTick) onTick(ticks);
  }
  void SetProgress(int index, int percent) override {
    progress.push_back({index, percent});
  }
  void HideProgress(int index) override { hidden.push_back(index); }
  bool StopRequested() const override { return stop; }

  // TitlesList
  void Clear() override { titles.clear(); }
  void AddItem(const std::string& text) override { titles.push_back(text); }
  void RemoveItem(std::int32_t index) override { titles.erase(titles.begin() + index); }
  std::int32_t ListCount() const override { return static_cast<std::int32_t>(titles.size()); }
  std::string List(std::int32_t index) const override { return titles[static_cast<std::size_t>(index)]; }
  void SetListIndex(std::int32_t index) override { listIndex = index; }
  void SetTitlesText(const std::string& text) override { titlesText = text; }
  void EnableTitlesText(bool enabled) override { titlesTextEnabled = enabled; }

  // EngineHost
  void SetProgress2Text(std::string_view text) override { progress2 = text; }
  std::string OutputNumberFormat() const override { return format; }
  bool BatchRunning() const override { return batch; }
  void StartRunClock() override { calls.push_back("StartRunClock"); }
  void EnableUiDuringRun(bool enabled) override {
    calls.push_back(enabled ? "EnableUi" : "DisableUi");
  }
  void SetBusyPointer(int pointer) override { calls.push_back("Pointer" + std::to_string(pointer)); }
  void SetWindowEnabled(bool enabled) override {
    calls.push_back(enabled ? "WindowEnabled" : "WindowDisabled");
  }
  void EnableAddCommand(bool enabled) override { calls.push_back(enabled ? "AddOn" : "AddOff"); }
  void LoadImageFile(bool keepScroll) override {
    calls.push_back(keepScroll ? "LoadImageKeepScroll" : "LoadImage");
  }
  void ShowImage() override {}
  void RedrawContours() override { calls.push_back("RedrawContours"); }
  void FillContourTree(std::int32_t selected) override {
    calls.push_back("FillContourTree" + std::to_string(selected));
  }
  void MarkChanged() override { calls.push_back("MarkChanged"); }
  void ResetAfterRun() override {
    calls.push_back("ResetAfterRun");
    stop = false;
  }
  void LocateCursor(double x, double y) override { cursor = {x, y}; }
  void SetTitlesSelectionFlag(bool set) override { selectionFlag.push_back(set); }

  std::int64_t ticks = 0;
  std::function<void(std::int64_t)> onTick;
  bool stop = false;
  bool batch = false;
  std::string format = "0";
  std::vector<std::pair<int, int>> progress;
  std::vector<int> hidden;
  std::vector<std::string> titles;
  std::int32_t listIndex = -1;
  std::string titlesText = "unset";
  bool titlesTextEnabled = false;
  std::string progress2 = "unset";
  std::vector<std::string> calls;
  std::pair<double, double> cursor{-1, -1};
  std::vector<bool> selectionFlag;
};

// An image from ASCII art: '.' white, '#' black, 'g' silver (C0C0C0), 'n' near white
// (F4F4F4, which the 16-colour conversion takes for white), 'r' red.
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

// The top left of an image, at most side x side pixels: runs stopped at every tick
// stay short on it.
inline core::RgbImage TopLeft(const core::RgbImage& image, std::int32_t side) {
  if (image.width <= side && image.height <= side) return image;
  core::RgbImage small(std::min(image.width, side), std::min(image.height, side));
  for (std::int32_t y = 0; y < small.height; ++y)
    for (std::int32_t x = 0; x < small.width; ++x) small.at(x, y) = image.at(x, y);
  return small;
}

// One engine over a fake window and an image.
struct EngineRig {
  explicit EngineRig(const std::vector<std::string>& art, float method = 3)
      : image(ImageFromArt(art)), engine(state, window, window, window) {
    engine.SetImage(&image);
    engine.SetBackColor(0xFFFFFF);
    engine.ApproxMethod = method;
    engine.PrepareMask();
  }
  // The points of the array from position 1 on.
  std::vector<ContourPoint> Points() const {
    return {state.ContourPoints.begin() + 1, state.ContourPoints.end()};
  }

  core::RgbImage image;
  ContourState state;
  FakeWindow window;
  ContourEngine engine;
};


}  // namespace morvane::engine::testing
